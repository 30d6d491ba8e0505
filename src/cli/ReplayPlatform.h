#pragma once
// The platform of `kestrune-cli replay`: message boxes are written to standard error as in the
// other commands, every answer and dialog result comes from a queue the script fills, and
// nothing is started, only recorded. A box or dialog that finds its queue empty is a fault of
// the script, never a guess: it is recorded for the runner to report, and the box is
// cancelled so the handler ends quietly.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "CliPlatform.h"

namespace kestrune::cli {

enum class ReplayAnswer { Yes, No, Cancel, Ok };

// "yes", "no", "cancel" or "ok".
const char* ReplayAnswerText(ReplayAnswer answer);

struct StartRequest {
    std::string file;
    std::string params;
};

struct ShownMessage {
    std::string title;
    std::string text;
    std::optional<ReplayAnswer> answer;  // none for an OK-only box that found no "ok" queued
};

class ReplayPlatform : public CliPlatform {
  public:
    explicit ReplayPlatform(std::ostream& err) : CliPlatform(err), err_(err) {}

    void ShowMessage(MessageKind kind, const std::string& text) override;
    ConfirmAnswer Confirm(const std::string& text) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    std::string ChooseFolder(const std::string& title) override;
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override;
    void ShellOpen(const std::string& target, const std::string& parameters) override;
    ScreenRect WorkArea() override { return {0, 0, 1920, 1040}; }
    std::pair<int, int> OsVersion() override { return {10, 0}; }
    bool HasNotificationArea() override { return true; }
    // $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
    std::string UserDataFolder() override;

    void QueueAnswer(ReplayAnswer answer) { answers_.push_back(answer); }
    // Nothing: the dialog is cancelled.
    void QueueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
    void QueueColor(std::optional<std::uint32_t> color) { colors_.push_back(color); }

    const std::vector<StartRequest>& Started() const { return started_; }
    const std::vector<ShownMessage>& Messages() const { return messages_; }

    // The first fault since the last call, if any; clears it.
    std::optional<std::string> TakeFault();

  private:
    void Fault(std::string what);
    // The next queued file; a fault naming `dialog` when there is none.
    std::optional<std::string> NextFile(const std::string& dialog);

    std::ostream& err_;
    std::deque<ReplayAnswer> answers_;
    std::deque<std::optional<std::string>> files_;
    std::deque<std::optional<std::uint32_t>> colors_;
    std::vector<StartRequest> started_;
    std::vector<ShownMessage> messages_;
    std::optional<std::string> fault_;
};

}  // namespace kestrune::cli
