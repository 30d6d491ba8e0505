// Kestrune: the desktop window over the headless core. The one place where the core, the Qt
// platform and the widgets are wired together.
#include <QApplication>
#include <QDir>
#include <QStringList>
#include <string>
#include <vector>

#include "MainWindow.h"
#include "QtPlatform.h"
#include "StartupCheck.h"
#include "UiSetup.h"
#include "app/Kestrune.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kestrune::ui::SetUpApplication(app);
    // The window decides when the program ends, also while it is hidden in the tray.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + '/');
    const QString executable = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    kestrune::ui::QtPlatform platform;
    kestrune::Kestrune core(platform, kestrune::ui::FromQt(folder),
                            kestrune::ui::FromQt(executable));
    kestrune::ui::MainWindow window(core);
    platform.SetOwner(&window);
    QObject::connect(&window, &kestrune::ui::MainWindow::Closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);

    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) {
        arguments.push_back(kestrune::ui::FromQt(all[i]));
    }
    kestrune::ui::StartupCheck check;
    core.Start(std::move(arguments));
    window.Sync();
    if (check.Active()) {
        return check.Finish(window);
    }
    if (core.frmMain.Closed) {
        return 0;
    }
    return QApplication::exec();
}
