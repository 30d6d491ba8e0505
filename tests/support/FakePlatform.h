#pragma once
// A scripted platform: records every message with its title and exact text, and answers
// dialogs and questions from queues that the test fills.

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/Platform.h"

namespace kestrune::testing {

struct RecordedMessage {
    std::string title;
    std::string text;
    friend bool operator==(const RecordedMessage&, const RecordedMessage&) = default;
};

struct ShellCall {
    std::string target;
    std::string parameters;
};

class FakePlatform : public Platform {
  public:
    void ShowMessage(MessageKind kind, const std::string& text) override;
    ConfirmAnswer Confirm(const std::string& text) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    std::string ChooseFolder(const std::string& title) override;
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override;
    void ShellOpen(const std::string& target, const std::string& parameters) override;
    std::string LocalDateTimeText() override { return dateTime; }
    ScreenRect WorkArea() override { return workArea; }
    std::pair<int, int> OsVersion() override { return osVersion; }
    std::string LongPathName(const std::string& path) override;
    bool HasNotificationArea() override { return hasNotificationArea; }
    std::string UserDataFolder() override { return userDataFolder; }
    bool CreateClassKey(const std::string& key) override;
    bool SetClassKeyDefault(const std::string& key, const std::string& value) override;

    // Recorded calls.
    std::vector<RecordedMessage> messages;
    std::vector<std::string> confirmations;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<std::string> folderTitles;
    std::vector<std::uint32_t> colorDialogStarts;
    std::vector<ShellCall> shellCalls;

    // Scripted answers; an empty queue answers Cancel / nothing.
    std::deque<ConfirmAnswer> confirmAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::string> folderAnswers;
    std::deque<std::optional<std::uint32_t>> colorAnswers;

    std::string dateTime = "07.12.2026 20:48:16";
    ScreenRect workArea{0, 0, 1920, 1040};
    std::pair<int, int> osVersion{10, 0};
    bool hasNotificationArea = true;
    std::string userDataFolder;
    // Long forms of short paths; other paths come back absolute and normalised.
    std::map<std::string, std::string> longPaths;
    // The registry as keys and default values; a key named here cannot be created.
    std::map<std::string, std::string> registry;
    std::string failingKey;
};

}  // namespace kestrune::testing
