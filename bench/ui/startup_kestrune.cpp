// Kestrune's start-up as main.cpp wires it, ending once the main window is shown:
//   kestrune_startup HOME
// HOME is the program folder (SpecFiles/, Config/ with the settings naming the recent preset).
#include <QApplication>
#include <QDir>

#include "DesktopSession.h"
#include "QtPlatform.h"
#include "ShownExit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    kestrune::ui::SetUpDesktop(app);
    kestrune::ProgramHome home;
    home.programFolder = kestrune::ui::FromQt(QDir(QString::fromLocal8Bit(argv[1])).absolutePath() +
                                              QLatin1Char('/'));
    kestrune::ui::QtPlatform platform;
    kestrune::ui::DesktopSession session(platform, home);
    session.Start({});
    if (session.Core().frmMain.State().Specification.Programs.empty()) {
        return 3;  // the preset did not load: nothing would be measured
    }
    ExitWhenShown(session.Window());
    return QApplication::exec();
}
