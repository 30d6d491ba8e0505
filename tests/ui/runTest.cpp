// A run followed by the real window with a stand-in terminal: the chain really runs through
// the wrapper, the window shows how it stands, asks before a second run, notifies when it
// ends, and Stop (Esc, or the tray menu) ends its whole process group, also from a window
// opened after the one that started it. And the question box the desktop shows.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "FakePlatform.h"
#include "MainWindow.h"
#include "QtPlatform.h"
#include "RunFollower.h"
#include "RunProcesses.h"
#include "TempDir.h"
#include "UiSetup.h"
#include "app/Kestrune.h"
#include "app/RunRecord.h"

using namespace kestrune;

namespace {

// The scripted desktop, except that the script really starts in the stand-in terminal and
// processes really run and end.
class StandInPlatform : public kestrune::testing::FakePlatform {
  public:
    void ShellOpen(const std::string& target, const std::string& parameters) override {
        FakePlatform::ShellOpen(target, parameters);
        desktop.ShellOpen(target, parameters);
    }
    bool ProcessAlive(int pid) override { return ui::ProcessAlive(pid); }
    bool StopProcessGroup(int group) override { return ui::StopProcessGroup(group); }
    ui::QtPlatform desktop;
};

constexpr const char* kSpec =
    "Setup = Worker\r\n{\r\nlayout:\r\n$ClassEXE=Worker $ClassParam=Worker $FilePath/$FileName\r\n"
    "}\r\nGroup = Worker\r\n{\r\nrequireexe = true\r\neditbox = Mode\r\n{\r\n}\r\n}\r\n";

// The worker: "fail" ends with status 1, "sleep" waits on a sleep whose process it notes.
constexpr const char* kWorker =
    "#!/bin/sh\nhere=$(dirname \"$0\")\ncase \"$1\" in\nfail) exit 1 ;;\n"
    "sleep) sleep 30 & echo $! >\"$here/sleep.pid\"; wait ;;\nesac\nexit 0\n";

struct RunHarness {
    kestrune::testing::TempDir home;
    StandInPlatform platform;
    std::unique_ptr<Kestrune> core;
    std::unique_ptr<ui::MainWindow> window;
    QStringList notes;

    RunHarness() {
        home.Write("SpecFiles/Worker.zrs", kSpec);
        const std::string worker = home.Write("tools/worker", kWorker);
        std::filesystem::permissions(worker, std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
        home.Write("Config/Worker.path", "Worker = " + worker + "\r\n");
        home.Write("work/level1.map", "map");
        // The terminal found first: it runs its command in a session of its own, as a
        // terminal does, with no key to wait for.
        const std::string terminal = home.Write(
            "path/x-terminal-emulator", "#!/bin/sh\nshift\nexec setsid \"$@\" </dev/null >>\"" +
                                            home.path() + "terminal.out\" 2>&1\n");
        std::filesystem::permissions(terminal, std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
        qputenv("PATH", QByteArray::fromStdString(home / "path") + ":/usr/bin:/bin");
        qunsetenv("TERMINAL");
        Open();
    }
    ~RunHarness() {
        // A failed test leaves no sleep behind.
        if (core && core->frmMain.Run.group > 1) {
            ui::StopProcessGroup(core->frmMain.Run.group);
        }
    }
    void Open() {
        ui::SetUpApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
        core = std::make_unique<Kestrune>(platform, home.path(), home / "kestrune");
        window = std::make_unique<ui::MainWindow>(*core);
        window->Follower()->notify = [this](const QString& title, const QString& text) {
            notes << title + QStringLiteral(": ") + text;
        };
        core->Start({});
        window->Sync();
    }
    void Close() {
        window.reset();
        core.reset();
    }
    void OpenPreset(const char* mode) {
        const std::string preset =
            home.Write("p.zrp", "ZRP200\r\n\r\n[Header]\r\nSpecFile = Worker.zrs\r\nFile = " +
                                    (home / "work/level1.map") +
                                    "\r\n\r\n[Class = Worker]\r\nRun = True\r\n[Field = Mode]\r\n"
                                    "Checked = True\r\nValue = " +
                                    mode + "\r\n\r\n");
        window->Event([&] { core->frmMain.OpenPreset(preset, PresetMode::Open); });
    }
    QWidget* RunButton() const { return window->findChild<QWidget*>("cmdCompile"); }
    TfrmMain& main() const { return core->frmMain; }
    // Another window takes the focus, as when the user works elsewhere during the run.
    void LookAway() {
        elsewhere = std::make_unique<QWidget>();
        elsewhere->show();
        elsewhere->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(elsewhere.get()));
        QVERIFY(!window->isActiveWindow());
    }
    std::unique_ptr<QWidget> elsewhere;
    QString Details() const {
        return window->findChild<QPlainTextEdit*>("txtDetails")->toPlainText();
    }
    int SleepPid() const {
        try {
            return std::stoi(home.Read("tools/sleep.pid"));
        } catch (...) {
            return 0;
        }
    }
};

}  // namespace

class RunTest : public QObject {
    Q_OBJECT

  private slots:
    void startAndFinish() {
        RunHarness h;
        h.OpenPreset("done");
        QTest::mouseClick(h.RunButton(), Qt::LeftButton);
        QCOMPARE(h.platform.shellCalls.size(), size_t{1});
        h.LookAway();
        QTRY_COMPARE_WITH_TIMEOUT(int(h.main().Run.phase), int(RunPhase::Finished), 10000);
        const QString status = ui::ToQt(h.main().RunStatus);
        QVERIFY2(
            QRegularExpression(QStringLiteral("^Finished in [0-2] s$")).match(status).hasMatch(),
            qPrintable(status));
        QCOMPARE(h.Details(), status);
        QCOMPARE(h.window->Tray()->toolTip(), QStringLiteral("Kestrune\n") + status);
        // The window was not the active one: the end is notified.
        QCOMPARE(h.notes, QStringList{QStringLiteral("Kestrune: ") + status});
    }

    void failureNamesTheLog() {
        RunHarness h;
        h.OpenPreset("fail");
        QTest::mouseClick(h.RunButton(), Qt::LeftButton);
        h.LookAway();
        QTRY_COMPARE_WITH_TIMEOUT(int(h.main().Run.phase), int(RunPhase::Failed), 10000);
        const QString status = ui::ToQt(h.main().RunStatus);
        const QString expected =
            QStringLiteral("^Failed with exit status 1 after [0-2] s \u2014 the log: ") +
            QRegularExpression::escape(QString::fromStdString(h.home / "work/level1.log")) + "$";
        QVERIFY2(QRegularExpression(expected).match(status).hasMatch(), qPrintable(status));
        QCOMPARE(h.notes.size(), 1);
    }

    void secondRunAsksAndEscapeStopsTheGroup() {
        RunHarness h;
        h.OpenPreset("sleep");
        QTest::mouseClick(h.RunButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(int(h.main().Run.phase), int(RunPhase::Running), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(h.SleepPid() > 0, 10000);
        const int sleep = h.SleepPid();
        QVERIFY(ui::ProcessAlive(sleep));
        QVERIFY(h.Details().startsWith(QStringLiteral("Running p since ")));

        h.platform.confirmAnswers = {ConfirmAnswer::No};
        QTest::mouseClick(h.RunButton(), Qt::LeftButton);
        QCOMPARE(h.platform.boxes.size(), size_t{1});
        QCOMPARE(QString::fromStdString(h.platform.boxes[0].text),
                 QStringLiteral("The chain is still running. Start another run?"));
        QCOMPARE(h.platform.shellCalls.size(), size_t{1});

        h.window->show();
        h.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
        QTest::keyClick(h.window.get(), Qt::Key_Escape);
        QCOMPARE(int(h.main().Run.phase), int(RunPhase::Stopped));
        QTRY_VERIFY_WITH_TIMEOUT(!ui::ProcessAlive(sleep), 5000);
        QVERIFY(h.Details().startsWith(QStringLiteral("Stopped after ")));
        QVERIFY(h.notes.isEmpty());  // the user stopped it in the active window
    }

    void aRunOutlivesTheWindow() {
        RunHarness h;
        h.OpenPreset("sleep");
        QTest::mouseClick(h.RunButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(h.SleepPid() > 0, 10000);
        const int sleep = h.SleepPid();
        h.Close();
        QVERIFY(ui::ProcessAlive(sleep));

        h.Open();
        QCOMPARE(int(h.main().Run.phase), int(RunPhase::Running));
        QVERIFY(h.Details().startsWith(QStringLiteral("Running p since ")));
        // From the tray, where the window went meanwhile.
        h.window->ClickControl("cmdSendToTray");
        QVERIFY(h.main().InTray);
        QAction* stop = h.window->findChild<QAction*>("cmdTrayStop");
        QVERIFY(stop != nullptr && stop->isEnabled());
        stop->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!ui::ProcessAlive(sleep), 5000);
        QCOMPARE(int(h.main().Run.phase), int(RunPhase::Stopped));
    }

    void stopRefusesThisProgramsOwnGroup() {
#ifndef _WIN32
        QVERIFY(!ui::StopProcessGroup(int(::getpgrp())));
#endif
        QVERIFY(!ui::StopProcessGroup(0));
        QVERIFY(!ui::StopProcessGroup(1));
        QVERIFY(ui::ProcessAlive(int(::getpid())));
        QVERIFY(!ui::ProcessAlive(0));
    }

    void questionBoxButtons_data() {
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("first button") << QStringLiteral("Run") << 0;
        QTest::newRow("second button") << QStringLiteral("Trust This Preset") << 1;
        QTest::newRow("Return takes the declining default") << QStringLiteral("Return") << 2;
        QTest::newRow("Escape declines") << QStringLiteral("Escape") << 2;
    }
    void questionBoxButtons() {
        QFETCH(QString, press);
        QFETCH(int, answer);
        QStringList captions;
        QString title;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            title = box->windowTitle();
            for (QAbstractButton* button : box->buttons()) {
                captions << button->text();
            }
            if (press == QLatin1String("Return")) {
                QTest::keyClick(box, Qt::Key_Return);
            } else if (press == QLatin1String("Escape")) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                for (QAbstractButton* button : box->buttons()) {
                    if (button->text().remove('&') == press) {
                        QTest::mouseClick(button, Qt::LeftButton);
                    }
                }
            }
        });
        ui::QtPlatform platform;
        QCOMPARE(platform.Ask("Run This Preset?", "text", {"&Run", "&Trust This Preset", "Cancel"}),
                 answer);
        QCOMPARE(title, QStringLiteral("Run This Preset?"));
        captions.sort();
        QCOMPARE(captions, (QStringList{"&Run", "&Trust This Preset", "Cancel"}));
    }
};

QTEST_MAIN(RunTest)
#include "runTest.moc"
