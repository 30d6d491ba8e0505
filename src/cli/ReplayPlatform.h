#pragma once
// The platform of `kestrune-cli replay`: a scripted desktop whose message boxes are also
// written to standard error as in the other commands, and whose open, save and folder dialogs
// share one queue of files. A box or dialog that finds its queue empty is a fault of the
// script, never a guess: the runner reports it, and the box is cancelled so the handler ends
// quietly.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "CliPlatform.h"
#include "base/ScriptedPlatform.h"

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

class ReplayPlatform : public ScriptedPlatform {
  public:
    explicit ReplayPlatform(std::ostream& err) : err_(err), cli_(err) {}

    void ShowMessage(MessageKind kind, const std::string& text) override;
    ConfirmAnswer Confirm(const std::string& text) override;
    // "yes" chooses the first button, "no" the second, "cancel" closes the box.
    int Ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override;
    std::string ChooseFolder(const std::string& title) override;
    // The real clock, in the user's formats.
    std::string LocalDateTimeText() override { return cli_.LocalDateTimeText(); }
    // $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share.
    std::string UserDataFolder() override;
    // No registry to write to.
    bool CreateClassKey(const std::string&) override { return false; }
    bool SetClassKeyDefault(const std::string&, const std::string&) override { return false; }

    void QueueAnswer(ReplayAnswer answer);
    // Nothing: the dialog is cancelled.
    void QueueFile(std::optional<std::string> path) { fileAnswers.push_back(std::move(path)); }
    void QueueColor(std::optional<std::uint32_t> color) { colorAnswers.push_back(color); }

    std::vector<StartRequest> Started() const;
    std::vector<ShownMessage> Messages() const;

    // The first fault since the last call, if any; clears it.
    std::optional<std::string> TakeFault();

  private:
    std::ostream& err_;
    CliPlatform cli_;              // writes the boxes as the other commands do
    std::size_t faultsTaken_ = 0;  // the shortfalls already reported or passed over
};

}  // namespace kestrune::cli
