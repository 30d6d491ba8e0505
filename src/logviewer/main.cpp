// REDA, the log viewer that Kestrune starts: with no argument it opens empty; with one
// argument it shows that log, waiting for it when it does not exist yet; "-" reads standard
// input. The command line is read before Qt so --help works without a desktop.

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "Arguments.h"
#include "MainWindow.h"
#include "SettingsFolder.h"
#include "StdinCopy.h"

#ifndef REDA_VERSION
#define REDA_VERSION ""
#endif

int main(int argc, char** argv) {
    std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    const reda::Arguments arguments = reda::parseArguments(words, REDA_VERSION);
    switch (arguments.action) {
        case reda::Arguments::Action::Help:
        case reda::Arguments::Action::Version:
            std::fputs(arguments.message.c_str(), stdout);
            return 0;
        case reda::Arguments::Action::Refuse:
            std::fputs(arguments.message.c_str(), stderr);
            return arguments.exitCode;
        default:
            break;
    }
#ifdef _WIN32
    // Qt 6.4 follows a dark Windows desktop only when asked; later versions do by default.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "windows:darkmode=2");
    }
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("REDA"));
    const QString folder = QApplication::applicationDirPath();
    reda::MainWindow window(reda::settingsFile(
#ifdef _WIN32
        folder.toStdWString()
#else
        folder.toLocal8Bit().toStdString()
#endif
            ));
    // The window shows first; the log is read once it is on screen.
    window.show();
    std::unique_ptr<reda::StdinCopy> input;
    if (arguments.action == reda::Arguments::Action::StandardInput) {
        std::string error;
        input = reda::StdinCopy::start(QDir::tempPath().toStdString(), error);
        if (!input) {
            std::fprintf(stderr, "REDA: standard input cannot be kept: %s\n", error.c_str());
            return 1;
        }
        const QString path = QString::fromStdString(input->path().string());
        QTimer::singleShot(0, &window, [&window, path] { window.openStandardInput(path); });
    } else if (arguments.action == reda::Arguments::Action::Open) {
        const QString path = QString::fromLocal8Bit(arguments.log.c_str());
        QTimer::singleShot(0, &window, [&window, path] { window.openLog(path); });
    }
    return QApplication::exec();
}
