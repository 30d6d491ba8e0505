#pragma once
// Everything the core needs from the desktop that is not plain file I/O. The GUI implements it
// with Qt, the command-line tool prints messages to standard error, and the tests script it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrune {

enum class MessageKind {
    SyntaxError,  // "Kestrune Error": no icon, one OK button
    Error,        // error icon, one OK button
    Information,  // information icon, one OK button
};

// The caption of a message box of the given kind.
const char* MessageTitle(MessageKind kind);
// The caption of the save-changes question.
inline constexpr const char* kConfirmationTitle = "Confirm";

enum class ConfirmAnswer { Yes, No, Cancel };

struct FileDialogRequest {
    std::string title;
    std::string filter;  // "description|pattern|description|pattern"
    std::string initialFolder;
    std::string fileName;
    std::string defaultExtension;
};

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // A modal message box; `text` uses CR LF between its lines.
    virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;
    // The save-changes question with Yes, No and Cancel.
    virtual ConfirmAnswer Confirm(const std::string& text) = 0;

    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;
    // The chosen folder's full path, or the empty text when the user cancels.
    virtual std::string ChooseFolder(const std::string& title) = 0;
    // Colours hold red in the lowest byte, green in the next and blue in the third.
    virtual std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) = 0;

    // Hands a file (or a web address) to the shell with its default action.
    virtual void ShellOpen(const std::string& target, const std::string& parameters) = 0;

    // The current local date and time in the user's short date and long time formats,
    // separated by one blank.
    virtual std::string LocalDateTimeText() = 0;
    // The work area of the primary screen (the desktop without the task bar).
    virtual ScreenRect WorkArea() = 0;
    // The operating system's major and minor version numbers.
    virtual std::pair<int, int> OsVersion() = 0;
    // The long form of a path given on the command line: absolute and normalised; empty
    // when it cannot be resolved.
    virtual std::string LongPathName(const std::string& path) = 0;
    // Whether the desktop has a notification area that can hold the tray icon.
    virtual bool HasNotificationArea() = 0;
    // The user's data folder for desktop entries and MIME types (freedesktop systems).
    virtual std::string UserDataFolder() = 0;
    // The registry under HKEY_CLASSES_ROOT (Windows): false when the key could not be
    // created, or its default value not written.
    virtual bool CreateClassKey(const std::string& key) = 0;
    virtual bool SetClassKeyDefault(const std::string& key, const std::string& value) = 0;

    // The value of an environment variable; nothing when it is not set.
    virtual std::optional<std::string> EnvironmentValue(const std::string& name);
    // Runs a desktop tool found on the search path with `arguments` and waits for it (a short
    // one: the association's database refreshes). Its exit status, kToolNotFound when it
    // cannot be started, or kToolsNotRun on a platform that runs no tools (the default).
    virtual int RunTool(const std::string& program, const std::vector<std::string>& arguments);

    // A question with its own buttons (captions as shown, "&" marks the access key): the
    // index of the chosen button, or kQuestionClosed when the box was closed without one (the
    // default: a platform that cannot ask never says yes).
    virtual int Ask(const std::string& title, const std::string& text,
                    const std::vector<std::string>& buttons);
    // Starts the run's wrapper script (a batch file, Windows) so that the run can be followed
    // and stopped: its process id, or 0 when it was not started (the default: a platform that
    // starts no runs itself).
    virtual int StartRun(const std::string& wrapper);
    // Whether the process `pid` still runs (false for a finished one that awaits its parent).
    virtual bool ProcessAlive(int pid);
    // Ends every process of the group `group`; false when nothing could be sent (never this
    // program's own group).
    virtual bool StopProcessGroup(int group);
};

inline constexpr int kQuestionClosed = -1;

inline constexpr int kToolNotFound = -1;
inline constexpr int kToolsNotRun = -2;

}  // namespace kestrune
