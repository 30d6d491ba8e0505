#pragma once
// The platform of the command-line tool: message boxes become blocks on standard error,
// dialogs are cancelled, and nothing is started.

#include <iosfwd>

#include "base/Platform.h"

namespace kestrune::cli {

class CliPlatform : public Platform {
  public:
    explicit CliPlatform(std::ostream& err) : err_(err) {}

    // Writes "<title>: <text>\n" with every CR LF of the text written as one line feed.
    void ShowMessage(MessageKind kind, const std::string& text) override;
    ConfirmAnswer Confirm(const std::string&) override { return ConfirmAnswer::No; }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    std::string ChooseFolder(const std::string&) override { return {}; }
    std::optional<std::uint32_t> ChooseColor(std::uint32_t) override { return {}; }
    void ShellOpen(const std::string&, const std::string&) override {}
    std::string LocalDateTimeText() override;
    ScreenRect WorkArea() override { return {0, 0, 1920, 1080}; }
    std::pair<int, int> OsVersion() override { return {10, 0}; }
    std::string LongPathName(const std::string& path) override { return path; }
    void SetFileAssociation(bool, const std::string&) override {}
    bool HasFileAssociation(const std::string&) override { return false; }

    int MessageCount() const { return messages_; }

  private:
    std::ostream& err_;
    int messages_ = 0;
};

}  // namespace kestrune::cli
