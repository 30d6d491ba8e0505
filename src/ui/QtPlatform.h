#pragma once
// The desktop's side of Platform: Qt message boxes and dialogs, the screen's work area, and
// starting scripts, the log viewer and links.

#include <QPointer>
#include <QWidget>

#include "base/Platform.h"

class QMessageBox;

namespace kestrune::ui {

class QtPlatform : public Platform {
  public:
    // The window that owns the message boxes and dialogs.
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowMessage(MessageKind kind, const std::string& text) override;
    ConfirmAnswer Confirm(const std::string& text) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    std::string ChooseFolder(const std::string& title) override;
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override;
    void ShellOpen(const std::string& target, const std::string& parameters) override;
    std::string LocalDateTimeText() override;
    ScreenRect WorkArea() override;
    std::pair<int, int> OsVersion() override;
    std::string LongPathName(const std::string& path) override;
    bool HasNotificationArea() override;
    std::string UserDataFolder() override;
    int RunTool(const std::string& program, const std::vector<std::string>& arguments) override;
    int Ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override;
    bool ProcessAlive(int pid) override;
    bool StopProcessGroup(int group) override;
#ifdef _WIN32
    // The run in a job object of its own (QtPlatformWindows.cpp).
    int StartRun(const std::string& wrapper) override;
    // The per-user classes in the registry (QtPlatformWindows.cpp).
    bool CreateClassKey(const std::string& key) override;
    bool SetClassKeyDefault(const std::string& key, const std::string& value) override;
#else
    // The registry exists on Windows only; elsewhere the association uses desktop files.
    bool CreateClassKey(const std::string&) override {
        return false;
    }
    bool SetClassKeyDefault(const std::string&, const std::string&) override {
        return false;
    }
#endif

  private:
    std::optional<std::string> FileDialog(const FileDialogRequest& request, bool save);
    // Runs the script in a terminal, or detached with its output in a file beside it.
    void StartScript(const QString& script);

    QPointer<QWidget> owner_;
};

// The width a message box needs for its title to show whole in its title bar.
int MessageTitleRoom(const QString& title);
// Widens `box` to that width where its text and buttons alone would leave it narrower.
void FitTitle(QMessageBox& box);

// Text of the core (UTF-8 on Windows, the locale's bytes elsewhere) for Qt, and back.
QString ToQt(const std::string& text);
// Text the core keeps as a view: names, captions and accessible names of declared rows.
QString ViewToQt(std::string_view text);
std::string FromQt(const QString& text);

}  // namespace kestrune::ui
