#pragma once
// A platform without a desktop: messages go nowhere, every dialog is cancelled, nothing is
// started. The base of headless platforms that override only what they need.

#include "base/Paths.h"
#include "base/Platform.h"

namespace kestrune {

class NullPlatform : public Platform {
  public:
    void ShowMessage(MessageKind, const std::string&) override {}
    ConfirmAnswer Confirm(const std::string&) override { return ConfirmAnswer::Cancel; }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    std::string ChooseFolder(const std::string&) override { return {}; }
    std::optional<std::uint32_t> ChooseColor(std::uint32_t) override { return {}; }
    void ShellOpen(const std::string&, const std::string&) override {}
    std::string LocalDateTimeText() override { return {}; }
    ScreenRect WorkArea() override { return {0, 0, 1920, 1080}; }
    std::pair<int, int> OsVersion() override { return {10, 0}; }
    std::string LongPathName(const std::string& path) override { return AbsoluteNormalPath(path); }
    bool HasNotificationArea() override { return false; }
    std::string UserDataFolder() override { return {}; }
    bool CreateClassKey(const std::string&) override { return false; }
    bool SetClassKeyDefault(const std::string&, const std::string&) override { return false; }
};

// The one platform of the places that have no desktop to talk to (a core used without a window
// or a command line): it holds no state, so all of them share it.
inline NullPlatform& SilentPlatform() {
    static NullPlatform platform;
    return platform;
}

}  // namespace kestrune
