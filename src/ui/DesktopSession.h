#pragma once
// Kestrune on the desktop: the core over its program home and the main window over the core,
// wired the one way that the program, the README's screenshots and the start-up benchmark
// share, so that what they show and measure is what a user starts.

#include <QStringList>
#include <string>
#include <vector>

#include "MainWindow.h"
#include "app/Kestrune.h"
#include "app/ProgramHome.h"

class QApplication;

namespace kestrune::ui {

class QtPlatform;

// Kestrune's look (SetUpApplication), and an application that ends when the main window says
// so, also while it is hidden in the tray, not when its last window closes. Before any window
// or message box opens.
void SetUpDesktop(QApplication& app);

class DesktopSession {
  public:
    // The Qt platform's dialogs and boxes open over the main window from now on.
    DesktopSession(QtPlatform& platform, const ProgramHome& home,
                   const std::string& executablePath = {});
    // Another platform (a scripted one) is used as it is.
    DesktopSession(Platform& platform, const ProgramHome& home,
                   const std::string& executablePath = {});
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    Kestrune& Core() { return core_; }
    MainWindow& Window() { return window_; }

    // Starts with the command line's arguments and shows the state they leave.
    void Start(std::vector<std::string> arguments);
    // Hands the arguments of a later start, passed on by a second instance, to this one.
    void SecondStart(const QStringList& arguments);

  private:
    Kestrune core_;
    MainWindow window_;
};

}  // namespace kestrune::ui
