// Kestrune's start-up as main.cpp wires it, ending once the main window is shown:
//   kestrune_startup HOME
// HOME is the program folder (SpecFiles/, Config/ with the settings naming the recent preset).
#include <QApplication>
#include <QDir>

#include "MainWindow.h"
#include "QtPlatform.h"
#include "ShownExit.h"
#include "UiSetup.h"
#include "app/Kestrune.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        return 2;
    }
    kestrune::ui::SetUpApplication(app);
    QApplication::setQuitOnLastWindowClosed(false);
    const QString home = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + '/';
    kestrune::ui::QtPlatform platform;
    kestrune::Kestrune core(platform, kestrune::ui::FromQt(home));
    kestrune::ui::MainWindow window(core);
    platform.SetOwner(&window);
    core.Start({});
    window.Sync();
    if (core.frmMain.State().Specification.Programs.empty()) {
        return 3;  // the preset did not load: nothing would be measured
    }
    ExitWhenShown(window);
    return QApplication::exec();
}
