// Kestrune: the desktop window over the headless core. Decides the program home, keeps to
// one instance per home, and runs the session that wires the core, the Qt platform and the
// widgets together.
#include <QApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

#include "DesktopSession.h"
#include "QtPlatform.h"
#include "SingleInstance.h"
#include "StartupCheck.h"
#include "app/CommandLine.h"
#include "app/ProgramHome.h"
#ifdef _WIN32
#include "base/WindowsSystem.h"
#endif

int main(int argc, char** argv) {
    // --help and --version answer before any window, and without a display.
#ifdef _WIN32
    // The command line as the system holds it: argv is in the code page.
    const kestrune::GuiCommandLine early =
        kestrune::ParseGuiCommandLine(kestrune::windows::CommandLineArguments());
    if (early.help || early.version || !early.error.empty()) {
        kestrune::windows::PrintToStartingConsole();
    }
    const kestrune::windows::ConsoleOutputAsUtf8 console;
#else
    const kestrune::GuiCommandLine early =
        kestrune::ParseGuiCommandLine(std::vector<std::string>(argv + 1, argv + argc));
#endif
    if (early.help || early.version) {
        std::fputs((early.help ? kestrune::GuiHelpText() : kestrune::GuiVersionText()).c_str(),
                   stdout);
        return 0;
    }
    if (!early.error.empty()) {
        std::fprintf(stderr, "kestrune: %s\n\n%s", early.error.c_str(),
                     kestrune::GuiHelpText().c_str());
        return 2;
    }

    QApplication app(argc, argv);
    kestrune::ui::SetUpDesktop(app);

    std::vector<std::string> words;
    const QStringList all = QCoreApplication::arguments();  // without Qt's own switches
    for (qsizetype i = 1; i < all.size(); ++i) {
        words.push_back(kestrune::ui::FromQt(all[i]));
    }
    kestrune::GuiCommandLine commandLine = kestrune::ParseGuiCommandLine(words);

    const QString folder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    const QString executable = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    kestrune::ui::QtPlatform platform;
    const kestrune::ProgramHome home =
        kestrune::FindProgramHome(platform, kestrune::ui::FromQt(folder), commandLine.home);

    kestrune::ui::SingleInstance instance(kestrune::ui::ToQt(home.programFolder));
    QStringList handed;
    for (const std::string& argument : commandLine.arguments) {
        handed << kestrune::ui::ToQt(argument);
    }
    switch (instance.Claim(handed)) {
        case kestrune::ui::SingleInstance::Role::HandedOver:
            return 0;
        case kestrune::ui::SingleInstance::Role::Alone:
            std::fprintf(stderr, "kestrune: %s\n", qPrintable(instance.ErrorText()));
            break;
        case kestrune::ui::SingleInstance::Role::First:
            break;
    }
    for (const std::string& problem : kestrune::PrepareProgramHome(home)) {
        platform.ShowMessage(kestrune::MessageKind::Error, problem);
    }

    kestrune::ui::DesktopSession session(platform, home, kestrune::ui::FromQt(executable));
    QObject::connect(&instance, &kestrune::ui::SingleInstance::Received, &session.Window(),
                     [&session](const QStringList& arguments) { session.SecondStart(arguments); });

    kestrune::ui::StartupCheck check;
    session.Start(std::move(commandLine.arguments));
    if (check.Active()) {
        return check.Finish(session.Window());
    }
    if (session.Core().frmMain.Closed) {
        return 0;
    }
    return QApplication::exec();
}
