// REDA, the log viewer that Kestrune starts: with no argument it opens empty; with one
// argument it shows that log, waiting for it when it does not exist yet.

#include <QApplication>
#include <QDir>
#include <QStringList>

#include "MainWindow.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // Qt 6.4 follows a dark Windows desktop only when asked; later versions do by default.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "windows:darkmode=2");
    }
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("REDA"));
    const QString settings =
        QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("Config/REDA.ini"));
    reda::MainWindow window(
#ifdef _WIN32
        settings.toStdWString()
#else
        settings.toLocal8Bit().toStdString()
#endif
    );
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!arguments.isEmpty()) {
        // A caller that forgot the quotes split a path with blanks; it is still one path.
        window.openLog(arguments.join(QLatin1Char(' ')));
    }
    window.show();
    return QApplication::exec();
}
