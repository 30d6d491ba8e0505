// How the desktop side starts the script and shows dialog filters: the terminal chosen, the
// command it gets, the parameter of the log viewer, and the filters in Qt's form.

#include <QtTest>

#include "ShellCommands.h"

using kestrune::ui::Command;
using kestrune::ui::ProgramFinder;

class ShellTest : public QObject {
    Q_OBJECT

  private slots:
    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("pattern in the description")
            << "Preset Files (*.zrp)|*.zrp" << QStringList{"Preset Files (*.zrp)"};
        QTest::newRow("pattern added") << "Light tool|light*" << QStringList{"Light tool (light*)"};
        QTest::newRow("two filters") << "C Sources (*.c)|*.c|All Files (*)|*"
                                     << QStringList{"C Sources (*.c)", "All Files (*)"};
        QTest::newRow("windows pattern list")
            << "Images|*.png;*.jpg" << QStringList{"Images (*.png *.jpg)"};
        QTest::newRow("windows pattern list in the description")
            << "Images (*.png;*.jpg;*.gif)|*.png;*.jpg;*.gif|All Files (*)|*"
            << QStringList{"Images (*.png *.jpg *.gif)", "All Files (*)"};
        QTest::newRow("description without pattern ignored") << "Lonely" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void nameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(kestrune::ui::QtNameFilters(filter), expected);
    }

    void terminal_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("terminalVariable");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("commandSwitch");
        QTest::newRow("the system's choice first")
            << QStringList{"xterm", "x-terminal-emulator"} << "konsole"
            << "/usr/bin/x-terminal-emulator"
            << "-e";
        QTest::newRow("then $TERMINAL") << QStringList{"xterm", "foot"} << "foot"
                                        << "/usr/bin/foot"
                                        << "";
        QTest::newRow("$TERMINAL not installed") << QStringList{"xterm"} << "wezterm"
                                                 << "/usr/bin/xterm"
                                                 << "-e";
        QTest::newRow("gnome terminal takes --") << QStringList{"gnome-terminal", "xterm"} << ""
                                                 << "/usr/bin/gnome-terminal"
                                                 << "--";
        QTest::newRow("xfce terminal takes -x") << QStringList{"xfce4-terminal"} << ""
                                                << "/usr/bin/xfce4-terminal"
                                                << "-x";
    }
    void terminal() {
        QFETCH(QStringList, installed);
        QFETCH(QString, terminalVariable);
        QFETCH(QString, program);
        QFETCH(QString, commandSwitch);
        const ProgramFinder find = [&installed](const QString& name) {
            return installed.contains(name) ? "/usr/bin/" + name : QString();
        };
        const auto command =
            kestrune::ui::TerminalCommand("/opt/k/compile.sh", terminalVariable, find);
        QVERIFY(command.has_value());
        QStringList arguments;
        if (!commandSwitch.isEmpty()) {
            arguments << commandSwitch;
        }
        arguments << "/bin/sh"
                  << "-c" << kestrune::ui::HoldOpenShellLine() << "/opt/k/compile.sh";
        QCOMPARE(command->program, program);
        QCOMPARE(command->arguments, arguments);
    }

    void noTerminalRunsDetached() {
        const auto command = kestrune::ui::TerminalCommand(
            "/opt/k/compile.sh", "", [](const QString&) { return QString(); });
        QVERIFY(!command.has_value());
        QCOMPARE(kestrune::ui::DetachedOutputPath("/opt/k/compile.sh"),
                 QStringLiteral("/opt/k/compile.out"));
    }

    // The line the terminal runs really runs the script and then waits for one key.
    void holdOpenLineRunsTheScriptAndWaits() {
        QTemporaryDir dir;
        const QString script = dir.filePath("compile.sh");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("echo ran with $#\nexit 3\n");
        file.close();
        QProcess shell;
        shell.start("/bin/sh", {"-c", kestrune::ui::HoldOpenShellLine(), script});
        QVERIFY(shell.waitForStarted());
        shell.write("q");
        shell.closeWriteChannel();
        QVERIFY(shell.waitForFinished(10000));
        QCOMPARE(
            QString::fromLocal8Bit(shell.readAllStandardOutput()),
            QStringLiteral("ran with 0\n\n[exit status 3] Press any key to close this window.\n"));
    }

    void viewerParameter_data() {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("argument");
        QTest::newRow("quoted") << "\"/work/my maps/a.log\""
                                << "/work/my maps/a.log";
        QTest::newRow("unquoted") << "/work/a.log"
                                  << "/work/a.log";
        QTest::newRow("one quote") << "\""
                                   << "\"";
        QTest::newRow("empty quotes") << "\"\""
                                      << "";
    }
    void viewerParameter() {
        QFETCH(QString, parameter);
        QFETCH(QString, argument);
        QCOMPARE(kestrune::ui::StripSurroundingQuotes(parameter), argument);
    }
};

QTEST_GUILESS_MAIN(ShellTest)
#include "shellTest.moc"
