// REDA's window reading builds as a person does, driven offscreen through real input events:
// the user's patterns with the filtered pane open, links through make's directories and the
// source folder, and the same marks and links as the command line gives.

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

#include "LogView.h"
#include "MainWindow.h"
#include "PathText.h"
#include "Report.h"
#include "WindowTestSupport.h"

#ifndef REDA_CORPUS
#error "REDA_CORPUS names the folder of the logs"
#endif

using reda::MainWindow;
using namespace reda::testing;

class LogViewerBuildTest : public QObject {
    Q_OBJECT

  private:
    TestWindow fixture_;
    QString call_;  // the opener's last call; no editor is ever started

    QString path(const QString& name) const { return fixture_.path(name); }
    MainWindow& open(const QString& log) { return fixture_.open(log); }

    std::vector<std::size_t> filteredRows() {
        std::vector<std::size_t> out;
        MainWindow& w = fixture_.window();
        for (std::size_t r = 0; r < w.filterView()->rowCount(); ++r) {
            out.push_back(w.filterView()->lineOfRow(r));
        }
        return out;
    }

    // Clicks the link of `line` (0-based) and returns the opener's call.
    QString clickLink(MainWindow& w, std::size_t line, int column) {
        call_.clear();
        w.goToLine(line + 1);
        const QRect link = w.view()->cellRect(line, column);
        if (!w.view()->viewport()->rect().contains(link.center())) {
            return QStringLiteral("(line %1 not on screen)").arg(line + 1);
        }
        QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {}, link.center());
        return call_;
    }

    MainWindow& openLog(const QString& log) {
        MainWindow& w = open(log);
        w.setOpener([this](const QString& program, const QStringList& arguments) {
            call_ = program + QLatin1Char('|') + arguments.join(QLatin1Char('|'));
            return true;
        });
        return w;
    }

  private slots:
    void init() {
        fixture_.start();
        qputenv("VISUAL", "vim");
    }
    void cleanup() { fixture_.stop(); }

    // New patterns, typed into Highlight Words, change the open filtered pane at once; one
    // that does not compile keeps the dialog open and says why.
    void patternsChangeTheOpenFilteredPane() {
        QByteArray text = numberedLines(1, 60);
        text.replace("line 10\n", "src/a.c:10:3: error: one\n");
        text.replace("line 20\n", "BUILD BROKEN in step 20\n");
        text.replace("line 30\n", "src/error.c: In function 'x'\n");
        text.replace("line 40\n", "src/a.c:40:1: warning: two\n");
        const QString log = path(QStringLiteral("patterns.log"));
        writeFile(log, text, QIODevice::WriteOnly);
        MainWindow& w = openLog(log);
        QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE_WITH_TIMEOUT(filteredRows(), (std::vector<std::size_t>{9}), kWait);

        QString problem;
        QTimer::singleShot(0, [&] {
            auto* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == QStringLiteral("wordsDialog"));
            auto* errors = dialog->findChild<QPlainTextEdit*>(QStringLiteral("errorPatterns"));
            auto* warnings = dialog->findChild<QPlainTextEdit*>(QStringLiteral("warningPatterns"));
            QVERIFY(errors && warnings);
            auto* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            errors->setFocus();
            QTest::keyClicks(errors, QStringLiteral("^BUILD (BROKEN"));
            QTest::mouseClick(ok, Qt::LeftButton);
            auto* label = dialog->findChild<QLabel*>(QStringLiteral("patternProblem"));
            QVERIFY(dialog->isVisible() && label->isVisible());
            problem = label->text();
            QTest::keyClicks(errors, QStringLiteral("|FAILED)"));
            QTest::keyClick(errors, Qt::Key_Return);
            QTest::keyClicks(errors, QStringLiteral("In function"));
            warnings->setFocus();
            QTest::keyClicks(warnings, QStringLiteral("^line 5[0-9]$"));
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QTest::keyClick(&w, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(problem, QStringLiteral("The pattern “^BUILD (BROKEN” does not compile: missing "
                                         "): ^BUILD (BROKEN"));
        QCOMPARE(w.settings().words.errorPatterns,
                 (std::vector<std::string>{"^BUILD (BROKEN|FAILED)", "In function"}));
        // At once: no poll, no timer between the dialog and the pane.
        QCOMPARE(filteredRows(), (std::vector<std::size_t>{9, 19, 29}));
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "errorsLabel"), QStringLiteral("Errors: 3"), kWait);
        QCOMPARE(label(w, "warningsLabel"), QStringLiteral("Warnings: 11"));
        QApplication::setActiveWindow(&w);  // the dialog took it
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE_WITH_TIMEOUT(filteredRows().size(), std::size_t{11}, kWait);

        // Kept in REDA.ini, one key a pattern.
        QFile ini(path(QStringLiteral("Config/REDA.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray saved = ini.readAll();
        QVERIFY(
            saved.contains("ErrorPattern1 = ^BUILD (BROKEN|FAILED)\r\n"
                           "ErrorPattern2 = In function\r\n"
                           "WarningPattern1 = ^line 5[0-9]$\r\n"));
    }

    // A relative path after make's "Entering directory" opens the file in that folder, and
    // make's own Makefile of the sub-make is the sub-folder's; after Leaving, the top one.
    void clickOpensTheFileOfTheEnteredDirectory() {
        QDir top(fixture_.folder());
        QVERIFY(top.mkpath(QStringLiteral("proj/lib")));
        writeFile(path(QStringLiteral("proj/lib/strbuf.c")), "int x;\n", QIODevice::WriteOnly);
        writeFile(path(QStringLiteral("proj/lib/Makefile")), "all:\n", QIODevice::WriteOnly);
        writeFile(path(QStringLiteral("proj/Makefile")), "all:\n", QIODevice::WriteOnly);
        writeFile(path(QStringLiteral("proj/strbuf.c")), "decoy\n", QIODevice::WriteOnly);
        const QString lib = QDir::cleanPath(path(QStringLiteral("proj/lib")));
        const QString log = path(QStringLiteral("proj/build.log"));
        writeFile(log,
                  "make -C lib\n"
                  "make[1]: Entering directory '" +
                      lib.toUtf8() +
                      "'\n"
                      "strbuf.c:2:35: error: 'missing_offset' undeclared\n"
                      "make[1]: *** [Makefile:8: path.o] Error 1\n"
                      "make[1]: Leaving directory '" +
                      lib.toUtf8() +
                      "'\n"
                      "make: *** [Makefile:2: all] Error 2\n",
                  QIODevice::WriteOnly);
        MainWindow& w = openLog(log);
        QCOMPARE(clickLink(w, 2, 3),
                 QStringLiteral("vim|+2|") +
                     QDir::toNativeSeparators(lib + QStringLiteral("/strbuf.c")));
        QCOMPARE(clickLink(w, 3, 15),
                 QStringLiteral("vim|+8|") +
                     QDir::toNativeSeparators(lib + QStringLiteral("/Makefile")));
        QCOMPARE(clickLink(w, 5, 13),
                 QStringLiteral("vim|+2|") + QDir::toNativeSeparators(QDir::cleanPath(
                                                 path(QStringLiteral("proj/Makefile")))));
    }

    // A build log kept beside its source: its links find nothing until the user names the
    // source folder, which is kept for logs of that folder.
    void sourceFolderIsKeptPerLogFolder() {
        QDir top(fixture_.folder());
        QVERIFY(top.mkpath(QStringLiteral("pkg-1.0/src")));
        QVERIFY(top.mkpath(QStringLiteral("logs")));
        writeFile(path(QStringLiteral("pkg-1.0/src/main.c")), "int x;\n", QIODevice::WriteOnly);
        const QString log = path(QStringLiteral("logs/pkg_1.0_amd64.build"));
        writeFile(log, "src/main.c:5:12: error: 'missing_status' undeclared\n",
                  QIODevice::WriteOnly);
        MainWindow& w = openLog(log);
        QCOMPARE(clickLink(w, 0, 2), QString());
        QCOMPARE(w.statusBar()->currentMessage(),
                 QStringLiteral("The file %1 is not there.")
                     .arg(QDir::toNativeSeparators(
                         QDir::cleanPath(path(QStringLiteral("logs/src/main.c"))))));
        const QString source = QDir::cleanPath(path(QStringLiteral("pkg-1.0")));
        w.setSourceRoot(source);
        // Shown, opened and kept in REDA.ini in the system's own form: backslashes on Windows.
        const QString file = QDir::toNativeSeparators(source + QStringLiteral("/src/main.c"));
        QCOMPARE(clickLink(w, 0, 2), QStringLiteral("vim|+5|") + file);
        QCOMPARE(w.settings().sourceFolders,
                 (std::vector<reda::SourceFolder>{
                     {QDir::toNativeSeparators(QDir::cleanPath(path(QStringLiteral("logs"))))
                          .toStdString(),
                      QDir::toNativeSeparators(source).toStdString()}}));
        // The command line resolves it the same way, from the same REDA.ini entry.
        std::ostringstream out;
        std::ostringstream err;
        QCOMPARE(reda::writeLocations(reda::toPath(log), reda::toPath(source), out, err), 0);
        QCOMPARE(QString::fromStdString(out.str()), QStringLiteral("1\t%1\t5\t12\n").arg(file));
    }

    // Under a source folder named beyond ASCII the editor is handed the file's own path, and
    // the next window over the same REDA.ini opens the same file.
    void sourceFolderBeyondAsciiOpensTheSameFile() {
        const QString name = QStringLiteral("Quellen-für-Jürgen");
        QDir top(fixture_.folder());
        QVERIFY(top.mkpath(name + QStringLiteral("/src")));
        QVERIFY(top.mkpath(QStringLiteral("logs")));
        writeFile(path(name + QStringLiteral("/src/main.c")), "int x;\n", QIODevice::WriteOnly);
        const QString log = path(QStringLiteral("logs/app.log"));
        writeFile(log, "src/main.c:5:12: error: 'missing_status' undeclared\n",
                  QIODevice::WriteOnly);
        MainWindow& w = openLog(log);
        const QString source = QDir::cleanPath(path(name));
        w.setSourceRoot(source);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Links are also looked for in %1.")
                                                      .arg(QDir::toNativeSeparators(source)));
        const QString file = QDir::toNativeSeparators(source + QStringLiteral("/src/main.c"));
        QCOMPARE(clickLink(w, 0, 2), QStringLiteral("vim|+5|") + file);

        const std::filesystem::path ini = reda::toPath(path(QStringLiteral("Config/REDA.ini")));
        const reda::RedaSettings saved = reda::readSettings(ini);
        QCOMPARE(saved.sourceFolders.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(saved.sourceFolders[0].root),
                 QDir::toNativeSeparators(source));
        MainWindow again(ini);
        again.setOpener([this](const QString& program, const QStringList& arguments) {
            call_ = program + QLatin1Char('|') + arguments.join(QLatin1Char('|'));
            return true;
        });
        again.openLog(log);
        call_.clear();
        QVERIFY(again.openLocation(0));
        QCOMPARE(call_, QStringLiteral("vim|+5|") + file);
    }

    // The window marks the corpus's lines and resolves its links as the command line does.
    void windowAndCommandLineAgree() {
        for (const char* name : {"make-C", "deb-fail", "gxx-color", "pytest", "msvc-handwritten"}) {
            const std::filesystem::path log =
                std::filesystem::path(REDA_CORPUS) / (std::string(name) + ".log");
            std::ostringstream problems;
            std::ostringstream err;
            QCOMPARE(reda::writeProblems(log, reda::HighlightWords{}, problems, err), 0);
            MainWindow& w = openLog(reda::fromPath(log));
            QTRY_VERIFY_WITH_TIMEOUT(w.problems().finished(w.log()), kWait);
            std::ostringstream shown;
            for (std::size_t line = 0; line < w.log().lineCount(); ++line) {
                const reda::LineKind kind = w.problems().kindOf(w.log(), line);
                if (kind != reda::LineKind::Plain) {
                    shown << (line + 1) << '\t'
                          << (kind == reda::LineKind::Error ? "error" : "warning") << '\t'
                          << reda::stripEscapes(w.log().line(line)) << '\n';
                }
            }
            QCOMPARE(shown.str(), problems.str());

            std::ostringstream locations;
            QCOMPARE(reda::writeLocations(log, {}, locations, err), 0);
            std::istringstream lines(locations.str());
            int links = 0;
            for (std::string line; std::getline(lines, line); ++links) {
                const QStringList f = QString::fromStdString(line).split(QLatin1Char('\t'));
                const std::size_t at = f[0].toULongLong() - 1;
                call_.clear();
                if (w.openLocation(at)) {  // a file that happens to be on this machine
                    QCOMPARE(call_, QStringLiteral("vim|+%1|%2").arg(f[2], f[1]));
                } else {
                    QCOMPARE(w.statusBar()->currentMessage(),
                             QStringLiteral("The file %1 is not there.").arg(f[1]));
                }
            }
            QVERIFY2(links > 3, name);
        }
    }
};

QTEST_MAIN(LogViewerBuildTest)
#include "LogViewerBuildTest.moc"
