// The Windows sample chain run from the real window, as a person runs it: the window opens the
// sample preset, the input is chosen in the file dialog, Run is clicked, and the real platform
// starts compile.bat in a job, where cmd.exe runs xcopy and find. The input's folder and
// name hold blanks, "%", "&", "^" and "(": the script is CR LF in the ANSI code page, the log is
// exactly what the chain prints, and nothing else runs. The tray is then asked through Qt.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QtTest>
#include <optional>
#include <string>

#include "DesktopSession.h"
#include "MainWindow.h"
#include "QtPlatform.h"
#include "UiSetup.h"
#include "app/Kestrune.h"
#include "app/ProgramHome.h"
#include "app/RunTrust.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool CopyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) {
        return false;
    }
    for (const QString& name : QDir(from).entryList(QDir::Files)) {
        if (!QFile::copy(from + '/' + name, to + '/' + name)) {
            return false;
        }
    }
    return true;
}

// Answers the first modal window of kind T that shows, once, from the event loop.
template <typename T>
void WhenOpen(const std::function<void(T*)>& act) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(window);
        }
    });
    timer->start(20);
}

}  // namespace

class WindowRunTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(work_.isValid());
        kestrune::ui::SetUpApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void runFromTheWindowRunsTheChainUnderCmd() {
        const QString home = work_.filePath(QStringLiteral("home"));
        for (const char* folder : {"SpecFiles", "Config", "Presets"}) {
            QVERIFY(CopyFolder(QStringLiteral(KESTRUNE_SAMPLES_DIR "/windows/") + folder,
                               home + '/' + folder));
        }
        const QString folder = work_.filePath(QStringLiteral("in put (1) & %OS%"));
        const QString name = QStringLiteral("a b %OS% & ver ^ (1)");
        QVERIFY(QDir().mkpath(folder));
        const QString input = QDir::toNativeSeparators(folder + '/' + name + ".txt");
        QVERIFY(
            QFile::copy(QStringLiteral(KESTRUNE_SAMPLES_DIR "/windows/Inputs/lines.txt"), input));

        kestrune::ui::QtPlatform platform;
        const std::string homeFolder = kestrune::ui::FromQt(QDir::toNativeSeparators(home + '/'));
        const kestrune::ProgramHome programHome =
            kestrune::FindProgramHome(platform, homeFolder, homeFolder);
        kestrune::ui::DesktopSession session(platform, programHome, homeFolder + "kestrune.exe");
        session.Start({homeFolder + "Presets\\FindText.zrp"});
        kestrune::ui::MainWindow& window = session.Window();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("FindText.zrp - Kestrune"));

        // The input through the file dialog the Browse button opens: the dialog moved to the
        // input's folder, the name typed into its name box, then Enter. (Selecting the file
        // through the dialog's interface leaves the box empty while the box has the focus, and
        // a whole path typed in can leave the dialog in another folder, depending on what its
        // file list, read by a thread, has shown by then.)
        WhenOpen<QFileDialog>([&input](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name == nullptr) {
                dialog->reject();
                return;
            }
            const QFileInfo file(input);
            dialog->setDirectory(file.absolutePath());
            // Without the box's completion list, filled by that thread: when it shows in time
            // it takes the Enter for itself.
            name->setCompleter(nullptr);
            name->clear();
            QTest::keyClicks(name, file.fileName());
            QTest::keyClick(name, Qt::Key_Return);
            // A dialog that did not take the name fails the check below rather than hold the
            // test to its time limit.
            QTimer::singleShot(10000, dialog, [dialog] { dialog->reject(); });
        });
        auto* browse = window.findChild<QPushButton*>(QStringLiteral("cmdBrowse"));
        QVERIFY(browse != nullptr);
        QTest::mouseClick(browse, Qt::LeftButton);
        auto* file = window.findChild<QLineEdit*>(QStringLiteral("txtFile"));
        QVERIFY(file != nullptr);
        QTRY_COMPARE(file->text(), input);

        // A value with quotes in it asks once before the preset's first run: run it once.
        QString asked;
        WhenOpen<QMessageBox>([&asked](QMessageBox* box) {
            asked = box->windowTitle();
            box->buttons().constFirst()->click();
        });
        auto* run = window.findChild<QPushButton*>(QStringLiteral("cmdCompile"));
        QVERIFY(run != nullptr && run->isEnabled());
        QTest::mouseClick(run, Qt::LeftButton);

        // The script as written: CR LF after every line, bytes of the ANSI code page.
        const QByteArray script = ReadAll(home + QStringLiteral("/compile.bat"));
        QVERIFY(!script.isEmpty());
        QCOMPARE(script.count("\r\n"), script.count('\n'));
        QVERIFY2(script.startsWith("@echo off\r\n"), script.constData());

        // What cmd.exe leaves: the log, exactly what the chain prints, and the copy.
        const QString log = folder + '/' + name + ".log";
        const QString upper = QDir::toNativeSeparators(folder + '/' + name).toUpper();
        const QByteArray expected =
            (QStringLiteral("Kestrune %1: \"%2\".txt\r\n")
                 .arg(QStringLiteral(KESTRUNE_VERSION), name) +
             input + QStringLiteral("\r\n1 file(s) copied\r\n\r\n") +
             QStringLiteral("---------- %1-COPY\\%2.TXT\r\n").arg(upper, name.toUpper()) +
             QStringLiteral("reads this file line by line:\r\n"
                            "every line with the word in it\r\n"))
                .toLocal8Bit();
        QTRY_COMPARE_WITH_TIMEOUT(ReadAll(log), expected, 60000);
        QVERIFY(QFile::exists(folder + '/' + name + "-copy/" + name + ".txt"));
        // Nothing else ran: the input's folder holds the input, its copy's folder and the log.
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
                 QStringList({name + "-copy", name + ".log", name + ".txt"}));
        // The run was started in a job and followed to its end: the wrapper recorded the chain's
        // exit status (a run handed to the shell instead shows no state at all).
        QTRY_VERIFY_WITH_TIMEOUT(
            window.Tray()->toolTip().startsWith(QStringLiteral("Kestrune\nFinished in ")), 30000);
        // The question, when there was one, was the preset's first-run question.
        QVERIFY2(asked.isEmpty() || asked == QLatin1String(kestrune::kTrustQuestionTitle),
                 qPrintable(asked));

        // To the tray through Qt's own tray icon: where Qt answers that there is a
        // notification area the window goes there, else it is minimized; no crash either way.
        auto* toTray = window.findChild<QAction*>(QStringLiteral("cmdSendToTray"));
        QVERIFY(toTray != nullptr && toTray->isEnabled());
        toTray->trigger();
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            QVERIFY(window.Tray()->isVisible());
            QVERIFY(!window.isVisible());
        } else {
            QVERIFY(!window.Tray()->isVisible());
            QVERIFY(window.isMinimized());
        }
    }

  private:
    QTemporaryDir work_;
};

QTEST_MAIN(WindowRunTest)
#include "windowRunTest.moc"
