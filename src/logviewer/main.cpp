// REDA, the log viewer that Kestrune starts: with no argument it opens empty; with one
// argument it shows that log, waiting for it when it does not exist yet; "-" reads standard
// input. The command line is read before Qt so --help works without a desktop; --problems and
// --locations answer with no window at all.

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "Arguments.h"
#include "MainWindow.h"
#include "NativePath.h"
#include "PathText.h"
#include "RedaSettings.h"
#include "Report.h"
#include "SettingsFolder.h"
#include "StdinCopy.h"
#include "Translation.h"
#ifdef _WIN32
#include "base/WindowsSystem.h"
#endif

#ifndef REDA_VERSION
#define REDA_VERSION ""
#endif

namespace {

// The user's patterns and source folders count as in the window; a core application finds
// the program folder and needs no display.
int report(int argc, char** argv, const reda::Arguments& arguments) {
    QCoreApplication core(argc, argv);
    const reda::RedaSettings settings = reda::readSettings(
        reda::settingsFile(reda::toPath(QCoreApplication::applicationDirPath())));
    const std::filesystem::path log = reda::pathOfText(arguments.log);
    std::ios::sync_with_stdio(false);
    if (arguments.action == reda::Arguments::Action::Problems) {
        return reda::writeProblems(log, settings.words, std::cout, std::cerr);
    }
    std::error_code ec;
    const std::filesystem::path folder =
        std::filesystem::absolute(log, ec).lexically_normal().parent_path();
    return reda::writeLocations(
        log, reda::pathOfText(reda::sourceRootFor(settings, reda::textOfPath(folder))), std::cout,
        std::cerr);
}

// For the tests of the real program: with KESTRUNE_QUIT_AFTER_SHOW set, REDA writes its menus
// as shown (so a check sees which language it speaks), and the log it opened from the command
// line and its window title as UTF-8, and ends once the window is up.
int quitAfterShow(reda::MainWindow& window, const QString& log) {
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
    }
    QStringList menus;
    for (const QAction* menu : window.menuBar()->actions()) {
        menus << menu->text();
    }
    std::printf("REDA: menus: %s\n", qPrintable(menus.join(QStringLiteral(" | "))));
    // Qt's own texts follow the same language: the caption of a message box's OK button.
    std::printf("REDA: Qt's OK: %s\n",
                qPrintable(QCoreApplication::translate("QPlatformTheme", "OK")));
    if (!log.isEmpty()) {
        window.openLog(log);
        const QString shown = QStringLiteral("REDA: log: %1\nREDA: lines: %2\nREDA: title: %3\n")
                                  .arg(reda::fromPath(window.log().path()))
                                  .arg(window.log().lineCount())
                                  .arg(window.windowTitle());
        std::fputs(shown.toUtf8().constData(), stdout);
    }
    std::fflush(stdout);
    return window.isVisible() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const reda::Arguments arguments =
        reda::parseArguments(reda::commandLineWords(argc, argv), REDA_VERSION);
#ifdef _WIN32
    // What REDA prints without a window reaches the command prompt that started it.
    if (arguments.action != reda::Arguments::Action::Open &&
        arguments.action != reda::Arguments::Action::StandardInput &&
        arguments.action != reda::Arguments::Action::Empty) {
        kestrune::windows::PrintToStartingConsole();
    }
    const kestrune::windows::ConsoleOutputAsUtf8 console;
#endif
    switch (arguments.action) {
        case reda::Arguments::Action::Help:
        case reda::Arguments::Action::Version:
            std::fputs(arguments.message.c_str(), stdout);
            return 0;
        case reda::Arguments::Action::Refuse:
            std::fputs(arguments.message.c_str(), stderr);
            return arguments.exitCode;
        case reda::Arguments::Action::Problems:
        case reda::Arguments::Action::Locations:
            return report(argc, argv, arguments);
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
    // Before the window is made: its texts are translated as it builds them.
    reda::installLanguage(reda::startupLanguage(folder));
    reda::MainWindow window(reda::settingsFile(reda::toPath(folder)));
    // The window shows first; the log is read once it is on screen.
    window.show();
    if (qEnvironmentVariableIsSet("KESTRUNE_QUIT_AFTER_SHOW")) {
        return quitAfterShow(window, arguments.action == reda::Arguments::Action::Open
                                         ? reda::fromPathText(arguments.log)
                                         : QString());
    }
    std::unique_ptr<reda::StdinCopy> input;
    if (arguments.action == reda::Arguments::Action::StandardInput) {
        std::string error;
        input = reda::StdinCopy::start(reda::toPath(QDir::tempPath()), error);
        if (!input) {
            std::fprintf(stderr, "REDA: standard input cannot be kept: %s\n", error.c_str());
            return 1;
        }
        const QString path = reda::fromPath(input->path());
        QTimer::singleShot(0, &window, [&window, path] { window.openStandardInput(path); });
    } else if (arguments.action == reda::Arguments::Action::Open) {
        const QString path = reda::fromPathText(arguments.log);
        QTimer::singleShot(0, &window, [&window, path] { window.openLog(path); });
    }
    return QApplication::exec();
}
