#pragma once
// A desktop played from a script: every message box, question, dialog and started program is
// recorded, and every answer comes from a queue filled beforehand. A box or dialog whose queue
// is empty is cancelled, and what it missed is noted in `shortfalls`; whoever runs the script
// decides whether that is a fault. The tests drive the core through it, and so does replay.

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/Platform.h"

namespace kestrune {

struct RecordedMessage {
    std::string title;
    std::string text;
    friend bool operator==(const RecordedMessage&, const RecordedMessage&) = default;
};

struct ShellCall {
    std::string target;
    std::string parameters;
};

// One queued answer to a box: a button of the save-changes question, or the OK of a box that
// has only that button.
class BoxAnswer {
  public:
    // Implicit, so that a queue of the question's answers is written with ConfirmAnswer alone.
    constexpr BoxAnswer(ConfirmAnswer answer) : answer_(answer) {}
    static constexpr BoxAnswer Ok() { return BoxAnswer(); }

    constexpr bool IsOk() const { return !answer_.has_value(); }
    // The question's button; nothing for OK.
    constexpr std::optional<ConfirmAnswer> Button() const { return answer_; }

    friend bool operator==(const BoxAnswer&, const BoxAnswer&) = default;

  private:
    constexpr BoxAnswer() = default;
    std::optional<ConfirmAnswer> answer_;
};

// A box in the order the boxes came, with the answer it took: nothing for a box with only OK
// that found no OK at the front of the queue; the question always has one (Cancel when the
// queue had none for it).
struct ShownBox {
    std::string title;
    std::string text;
    std::optional<BoxAnswer> answer;
};

class ScriptedPlatform : public Platform {
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
    // Takes the next queued answer: Yes chooses the first button, No the second, Cancel (or
    // an empty queue) closes the box.
    int Ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override;
    // Records the start; answers runProcess, which then runs (in a group of its own).
    int StartRun(const std::string& wrapper) override;
    bool ProcessAlive(int pid) override;
    bool StopProcessGroup(int group) override;

    // Recorded calls.
    std::vector<std::string> startedRuns;
    std::vector<RecordedMessage> messages;  // the boxes with only OK
    std::vector<std::string> confirmations;
    std::vector<ShownBox> boxes;  // both kinds in turn
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<std::string> folderTitles;
    std::vector<std::uint32_t> colorDialogStarts;
    std::vector<ShellCall> shellCalls;
    std::vector<int> stoppedGroups;
    // What each box or dialog missed in its queue, in turn ("no file queued for the open
    // dialog \"Open\"").
    std::vector<std::string> shortfalls;

    // Scripted answers. The question takes the next answer (an OK does not fit it: Cancel); a
    // box with only OK takes an OK at the front and leaves any other answer for a question.
    std::deque<BoxAnswer> confirmAnswers;
    std::deque<std::optional<std::string>> fileAnswers;  // nothing: the dialog is cancelled
    std::deque<std::string> folderAnswers;               // empty: the dialog is cancelled
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
    // The processes that run; a stopped group's members end.
    std::map<int, int> runningProcesses;  // process id to its group
    int runProcess = 0;                   // what StartRun answers (0: the run did not start)

  protected:
    // "the open dialog \"Title\"", without the title when it is empty.
    static std::string DialogName(const char* kind, const std::string& title);
    // The next queued file for the dialog called `dialog`; nothing when it is cancelled or
    // the queue is empty.
    std::optional<std::string> NextFile(const std::string& dialog);
};

}  // namespace kestrune
