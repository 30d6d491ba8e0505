#include "DesktopSession.h"

#include <QApplication>
#include <utility>

#include "QtPlatform.h"
#include "UiSetup.h"

namespace kestrune::ui {

namespace {

// The core pointed at the home's folders, for the window that is built over it.
Kestrune& AtHome(Kestrune& core, const ProgramHome& home) {
    ApplyProgramHome(core.frmMain.State(), home);
    return core;
}

}  // namespace

void SetUpDesktop(QApplication& app) {
    SetUpApplication(app);
    QApplication::setQuitOnLastWindowClosed(false);
}

DesktopSession::DesktopSession(QtPlatform& platform, const ProgramHome& home,
                               const std::string& executablePath)
    : DesktopSession(static_cast<Platform&>(platform), home, executablePath) {
    platform.SetOwner(&window_);
}

DesktopSession::DesktopSession(Platform& platform, const ProgramHome& home,
                               const std::string& executablePath)
    : core_(platform, home.programFolder, executablePath), window_(AtHome(core_, home)) {
    QObject::connect(&window_, &MainWindow::Closed, QCoreApplication::instance(),
                     &QCoreApplication::quit, Qt::QueuedConnection);
}

void DesktopSession::Start(std::vector<std::string> arguments) {
    core_.Start(std::move(arguments));
    window_.Sync();
}

void DesktopSession::SecondStart(const QStringList& arguments) {
    std::vector<std::string> later;
    for (const QString& argument : arguments) {
        later.push_back(FromQt(argument));
    }
    core_.SecondStart(later);
    window_.Sync();
}

}  // namespace kestrune::ui
