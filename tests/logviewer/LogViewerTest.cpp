// REDA's window driven offscreen the way a user drives it: keys, the search bar, a log that
// appears late, grows, is cut short and holds any bytes.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <random>

#include "FindBar.h"
#include "LogView.h"
#include "MainWindow.h"
#include "WindowTestSupport.h"

using reda::MainWindow;

using namespace reda::testing;

class LogViewerTest : public QObject {
    Q_OBJECT

  private:
    TestWindow fixture_;
    QPalette palette_;

    QString path(const QString& name) const { return fixture_.path(name); }
    MainWindow& open(const QString& log) { return fixture_.open(log); }

  private slots:
    void initTestCase() { palette_ = QApplication::palette(); }

    void init() { fixture_.start(); }

    void cleanup() {
        fixture_.stop();
        QApplication::setPalette(palette_);
    }

    void waitsForAMissingLogThenFollowsItsEnd() {
        const QString log = path(QStringLiteral("with blank/run.log"));
        MainWindow& w = open(log);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Waiting for the log to appear…"));
        QCOMPARE(label(w, "linesLabel"), QStringLiteral("Lines: 0"));

        QVERIFY(QDir(fixture_.folder()).mkdir(QStringLiteral("with blank")));
        writeFile(log, numberedLines(1, 5), QIODevice::WriteOnly);
        QTRY_COMPARE_WITH_TIMEOUT(w.log().lineCount(), std::size_t{5}, kWait);
        QCOMPARE(w.statusBar()->currentMessage(), QString());
        QCOMPARE(w.view()->firstVisibleLine(), std::size_t{0});
        QCOMPARE(shownLine(w, 0), std::string("line 1"));

        const std::size_t rows = w.view()->visibleLineCount();
        QVERIFY(rows > 5 && rows < 60);
        for (int last = 50; last <= 200; last += 50) {
            writeFile(log, numberedLines(last - 49 + (last == 50 ? 5 : 0), last),
                      QIODevice::Append);
            QTRY_COMPARE_WITH_TIMEOUT(w.log().lineCount(), std::size_t(last), kWait);
            QCOMPARE(w.view()->firstVisibleLine(), std::size_t(last) - rows);
            QCOMPARE(shownLine(w, rows - 1), "line " + std::to_string(last));
            QCOMPARE(label(w, "followLabel"), QStringLiteral("Following"));
        }

        // Scrolled up, the view stays put while the log grows.
        w.view()->verticalScrollBar()->setValue(10);
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Paused"));
        writeFile(log, numberedLines(201, 260), QIODevice::Append);
        QTRY_COMPARE_WITH_TIMEOUT(w.log().lineCount(), std::size_t{260}, kWait);
        QCOMPARE(w.view()->firstVisibleLine(), std::size_t{10});
        QCOMPARE(shownLine(w, 0), std::string("line 11"));

        // Back at the end it follows again, also a line written in two pieces.
        QTest::keyClick(&w, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Following"));
        writeFile(log, "half", QIODevice::Append);
        QTRY_COMPARE_WITH_TIMEOUT(w.log().lineCount(), std::size_t{261}, kWait);
        writeFile(log, " and whole\n", QIODevice::Append);
        QTRY_COMPARE_WITH_TIMEOUT(shownLine(w, rows - 1), std::string("half and whole"), kWait);
        QCOMPARE(w.view()->firstVisibleLine(), std::size_t{261} - rows);
        QCOMPARE(label(w, "linesLabel"), QStringLiteral("Lines: 261"));
    }

    void waitsEvenWhenTheFolderIsMissing() {
        const QString log = path(QStringLiteral("later/deeper/run.log"));
        MainWindow& w = open(log);
        QVERIFY(QDir(fixture_.folder()).mkpath(QStringLiteral("later/deeper")));
        writeFile(log, "ready\n", QIODevice::WriteOnly);
        QTRY_COMPARE_WITH_TIMEOUT(w.log().lineCount(), std::size_t{1}, kWait);
        QCOMPARE(shownLine(w, 0), std::string("ready"));
    }

    void truncationReloadsFromTheStart() {
        const QString log = path(QStringLiteral("run.log"));
        writeFile(log, numberedLines(1, 100), QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QCOMPARE(w.log().lineCount(), std::size_t{100});
        w.view()->verticalScrollBar()->setValue(20);

        writeFile(log, "next run 1\nnext run 2\nnext run 3\n",
                  QIODevice::WriteOnly | QIODevice::Truncate);
        QTRY_COMPARE_WITH_TIMEOUT(w.log().lineCount(), std::size_t{3}, kWait);
        QCOMPARE(w.statusBar()->currentMessage(),
                 QStringLiteral("The log was truncated or replaced; reloaded from the start."));
        QCOMPARE(w.view()->firstVisibleLine(), std::size_t{0});
        QCOMPARE(shownLine(w, 0), std::string("next run 1"));
        QCOMPARE(label(w, "linesLabel"), QStringLiteral("Lines: 3"));
    }

    void countsAndJumpsBetweenErrorsAndWarnings() {
        QByteArray text = numberedLines(1, 300);
        text.replace("line 11\n", "src/a.c:11:2: error: broken\n");
        text.replace("line 41\n", "src/a.c:41:1: warning: odd\n");
        text.replace("line 42\n", "src/error.c: 0 errors, 0 warnings\n");
        text.replace("line 200\n", "FAILED: src/a.o\n");
        const QString log = path(QStringLiteral("problems.log"));
        writeFile(log, text, QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "errorsLabel"), QStringLiteral("Errors: 2"), kWait);
        QCOMPARE(label(w, "warningsLabel"), QStringLiteral("Warnings: 1"));

        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(w.view()->currentLine(), std::size_t{0});
        const std::vector<std::size_t> forward{10, 40, 199};
        for (const std::size_t line : forward) {
            QTest::keyClick(&w, Qt::Key_F8);
            QCOMPARE(w.view()->currentLine(), line);
            const std::size_t first = w.view()->firstVisibleLine();
            QVERIFY(line >= first && line < first + w.view()->visibleLineCount());
        }
        QTest::keyClick(&w, Qt::Key_F8);
        QCOMPARE(w.view()->currentLine(), std::size_t{199});
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("No further errors or warnings."));
        QTest::keyClick(&w, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(w.view()->currentLine(), std::size_t{40});
        QTest::keyClick(&w, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(w.view()->currentLine(), std::size_t{10});
        QTest::keyClick(&w, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("No earlier errors or warnings."));

        // Own words count again at once, on top of the table.
        w.setHighlightWords(reda::HighlightWords{{"line 3"}, {}, {}, {}});
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "errorsLabel"), QStringLiteral("Errors: 3"), kWait);
        QCOMPARE(label(w, "warningsLabel"), QStringLiteral("Warnings: 1"));
    }

    void coloursFollowTheDesktopPalette() {
        const QString log = path(QStringLiteral("colours.log"));
        writeFile(log, "fine\nerror: bad\nfine too\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "errorsLabel"), QStringLiteral("Errors: 1"), kWait);
        const QColor lightError(0xfb, 0xe3, 0xe4);
        const QColor darkError(0x4a, 0x1f, 0x22);
        QVERIFY(pixelsOfColour(w, 1, lightError) > 100);

        QPalette dark = palette_;
        dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
        dark.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
        dark.setColor(QPalette::Window, QColor(0x2a, 0x2a, 0x2a));
        QApplication::setPalette(dark);
        QTRY_VERIFY(pixelsOfColour(w, 1, darkError) > 100);
        QCOMPARE(pixelsOfColour(w, 1, lightError), 0);
        QVERIFY(pixelsOfColour(w, 2, QColor(0x1e, 0x1e, 0x1e)) > 100);
        QApplication::setPalette(palette_);
        QTRY_VERIFY(pixelsOfColour(w, 1, lightError) > 100);
    }

    void searchesWithTheSwitches() {
        const QString log = path(QStringLiteral("search.log"));
        writeFile(log, "Alpha beta\nalphabet soup\nALPHA\nbeta alpha\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        auto* edit = w.findBar()->findChild<QLineEdit*>(QStringLiteral("findEdit"));
        QVERIFY(edit && w.findBar()->isVisible());
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, QStringLiteral("alpha"));

        auto expectStarts = [&](const std::vector<std::uint64_t>& starts,
                                Qt::KeyboardModifiers keys) {
            for (const std::uint64_t start : starts) {
                QTest::keyClick(edit, Qt::Key_Return, keys);
                QTRY_VERIFY_WITH_TIMEOUT(!w.isSearching(), kWait);
                QCOMPARE(w.view()->selectionStart(), start);
                QCOMPARE(w.view()->selectionEnd(), start + 5);
            }
        };
        expectStarts({0, 11, 25, 36, 0}, Qt::NoModifier);
        QCOMPARE(w.findBar()->status(), QStringLiteral("Continued from the top"));
        expectStarts({36}, Qt::ShiftModifier);
        QCOMPARE(w.findBar()->status(), QStringLiteral("Continued from the bottom"));
        expectStarts({25}, Qt::ShiftModifier);
        QCOMPARE(w.findBar()->status(), QString());

        QTest::keyClick(edit, Qt::Key_W, Qt::AltModifier);  // whole words
        QTRY_VERIFY(w.findBar()->findChild<QCheckBox*>(QStringLiteral("wholeWord"))->isChecked());
        expectStarts({36, 0, 25}, Qt::NoModifier);
        w.findBar()->findChild<QCheckBox*>(QStringLiteral("matchCase"))->setChecked(true);
        expectStarts({36, 36}, Qt::NoModifier);

        // Every match on screen is marked, not only the selected one.
        w.findBar()->findChild<QCheckBox*>(QStringLiteral("matchCase"))->setChecked(false);
        w.view()->clearSelection();
        const QColor match(0xff, 0xd5, 0x4f);
        QVERIFY(pixelsOfColour(w, 0, match) > 0);
        QCOMPARE(pixelsOfColour(w, 1, match), 0);  // "alphabet" is no whole word
        QVERIFY(pixelsOfColour(w, 2, match) > 0);

        edit->setText(QStringLiteral("gamma"));
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSearching(), kWait);
        QCOMPARE(w.findBar()->status(), QStringLiteral("Not found"));

        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!w.findBar()->isVisible());
    }

    void anEmptyLogTakesEveryCommand() {
        const QString log = path(QStringLiteral("empty.log"));
        writeFile(log, QByteArray(), QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QCOMPARE(w.log().lineCount(), std::size_t{0});
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(w.findBar()->findChild<QLineEdit*>(QStringLiteral("findEdit")),
                         QStringLiteral("x"));
        QTest::keyClick(&w, Qt::Key_F3);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSearching(), kWait);
        QCOMPARE(w.findBar()->status(), QStringLiteral("Not found"));
        QTest::keyClick(&w, Qt::Key_F3, Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSearching(), kWait);
        QCOMPARE(w.findBar()->status(), QStringLiteral("Not found"));
        QTest::keyClick(&w, Qt::Key_F8);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("No further errors or warnings."));
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);  // nothing to go to: no dialog
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        w.view()->setFocus();
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_End}) {
            QTest::keyClick(w.view(), key);
        }
        QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(!w.view()->hasSelection());
        QVERIFY(!w.view()->viewport()->grab().isNull());
    }

    void goesToALine() {
        const QString log = path(QStringLiteral("lines.log"));
        writeFile(log, numberedLines(1, 500), QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->setIntValue(42);
            dialog->accept();
        });
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(w.view()->currentLine(), std::size_t{41});
        const std::size_t first = w.view()->firstVisibleLine();
        QVERIFY(41 >= first && 41 < first + w.view()->visibleLineCount());
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Paused"));
    }

    void anyBytesNeitherCrashNorHang() {
        std::mt19937 random(3);
        QByteArray noise;
        for (int i = 0; i < 256 * 1024; ++i) {
            noise += static_cast<char>(random() & 0xFF);
        }
        const QString binary = path(QStringLiteral("binary.log"));
        writeFile(binary, noise, QIODevice::WriteOnly);
        MainWindow& w = open(binary);
        QVERIFY(w.log().lineCount() > 1000);
        QVERIFY(!w.view()->viewport()->grab().isNull());
        QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().size() > 200 * 1024);
        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(w.view(), Qt::Key_End);
        QVERIFY(!w.view()->viewport()->grab().isNull());

        // One line of 5 MB with the word at its very end.
        const QString huge = path(QStringLiteral("huge.log"));
        writeFile(huge, QByteArray(5 << 20, 'x') + " error", QIODevice::WriteOnly);
        w.setHighlightWords(reda::HighlightWords{{"error"}, {}, {}, {}});
        open(huge);
        QCOMPARE(w.log().lineCount(), std::size_t{1});
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "errorsLabel"), QStringLiteral("Errors: 1"), kWait);
        QVERIFY(!w.view()->viewport()->grab().isNull());
        // The drawn width stops at the column limit, whatever the line's length.
        QVERIFY(w.view()->horizontalScrollBar()->maximum() <
                (reda::LogView::kMaxColumns + 100) * w.view()->charWidth());
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(w.findBar()->findChild<QLineEdit*>(QStringLiteral("findEdit")),
                         QStringLiteral("error"));
        QVERIFY(w.findNext());
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSearching(), kWait);
        QCOMPARE(w.view()->selectionStart(), std::uint64_t{(5 << 20) + 1});
        QVERIFY(!w.view()->viewport()->grab().isNull());
    }

    void selectsWithTheMouse() {
        const QString log = path(QStringLiteral("mouse.log"));
        writeFile(log, "alpha beta\ngamma_delta epsilon\n\tx\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        reda::LogView* view = w.view();
        QWidget* viewport = view->viewport();
        // A press on the left half of a cell puts the caret before it.
        auto at = [&](std::size_t line, std::size_t column) {
            const QRect cell = view->cellRect(line, column);
            return QPoint(cell.left() + 1, cell.center().y());
        };
        QTest::mousePress(viewport, Qt::LeftButton, {}, at(0, 6));
        // A drag: a move with the button held, which QTest::mouseMove cannot express.
        QMouseEvent move(QEvent::MouseMove, at(1, 5), viewport->mapToGlobal(at(1, 5)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at(1, 5));
        QCOMPARE(view->selectionStart(), std::uint64_t{6});
        QCOMPARE(view->selectionEnd(), std::uint64_t{16});
        QCOMPARE(view->currentLine(), std::size_t{0});

        QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, at(0, 2));
        QCOMPARE(view->selectionStart(), std::uint64_t{2});
        QCOMPARE(view->selectionEnd(), std::uint64_t{6});

        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at(1, 3));
        QCOMPARE(view->selectionStart(), std::uint64_t{11});  // "gamma_delta" is one word
        QCOMPARE(view->selectionEnd(), std::uint64_t{22});

        // Past the end of a line, and inside a tab's columns, land on a character boundary.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at(0, 40));
        QCOMPARE(view->selectionEnd(), std::uint64_t{10});
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at(2, 3));
        QCOMPARE(view->selectionEnd(), std::uint64_t{32});  // the "x" after the tab
        QVERIFY(!view->hasSelection());
    }

    void copiesAndSavesTheSelectionAsBytes() {
        const QByteArray text("first\r\nsecond \xff\x00 end\rthird\n", 27);
        const QString log = path(QStringLiteral("bytes.log"));
        writeFile(log, text, QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QCOMPARE(w.log().lineCount(), std::size_t{3});
        w.view()->setSelection(2, 23);
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString::fromUtf8("rst\r\nsecond \xef\xbf\xbd") + QChar(0) +
                     QStringLiteral(" end\rth"));

        const QString saved = path(QStringLiteral("part.log"));
        QVERIFY(w.saveSelection(saved));
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), text.mid(2, 21));

        QVERIFY(!w.saveSelection(path(QStringLiteral("no such folder/part.log"))));
        QVERIFY(!w.lastError().isEmpty());
    }

    void remembersItsSettings() {
        const QString log = path(QStringLiteral("kept.log"));
        writeFile(log, "x\n", QIODevice::WriteOnly);
        open(log);
        fixture_.window().setHighlightWords(reda::HighlightWords{{"oops"}, {"hmm", "odd"}, {}, {}});
        fixture_.window().findBar()->setOptions(reda::FindOptions{true, false});
        fixture_.window().resize(700, 500);
        fixture_.window().close();

        QFile ini(path(QStringLiteral("Config/REDA.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        QVERIFY(text.startsWith("[REDA]\r\nGeometry = "));
        QVERIFY(text.contains(
            "\r\nErrorWords = oops\r\nWarningWords = hmm, odd\r\nMatchCase = True\r\n"));
        QVERIFY(text.contains("\r\nRecent1 = " + log.toUtf8() + "\r\n"));

        MainWindow again(path(QStringLiteral("Config/REDA.ini")).toStdString());
        QCOMPARE(again.settings().words, (reda::HighlightWords{{"oops"}, {"hmm", "odd"}, {}, {}}));
        QCOMPARE(again.settings().recentLogs, std::vector<std::string>{log.toStdString()});
        QCOMPARE(again.findBar()->options().matchCase, true);
        QCOMPARE(again.size(), QSize(700, 500));

        writeFile(path(QStringLiteral("Config/REDA.ini")), QByteArray("\x00\x01garbage", 9),
                  QIODevice::WriteOnly | QIODevice::Truncate);
        MainWindow broken(path(QStringLiteral("Config/REDA.ini")).toStdString());
        QCOMPARE(broken.settings(), reda::RedaSettings{});
    }

    void recentMenuShowsThePathAsTheSystemWritesIt() {
        const QString log = path(QStringLiteral("a & b (1).log"));
        writeFile(log, "one\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QStringList texts;
        for (const QAction* action : w.findChildren<QAction*>()) {
            if (action->text().startsWith(QStringLiteral("&1  "))) {
                texts << action->text();
            }
        }
        QString expected = QDir::toNativeSeparators(log);
        expected.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QCOMPARE(texts, QStringList{QStringLiteral("&1  ") + expected});
    }

    void recentLogsWordsAndCloseFromTheKeyboard() {
        const QString first = path(QStringLiteral("first.log"));
        const QString second = path(QStringLiteral("second.log"));
        writeFile(first, "one\nOops here\n", QIODevice::WriteOnly);
        writeFile(second, "two\n", QIODevice::WriteOnly);
        MainWindow& w = open(first);
        open(second);
        QCOMPARE(w.windowTitle(), QStringLiteral("second.log — REDA"));
        QTest::keyClick(&w, Qt::Key_2, Qt::AltModifier);  // the older one, now second
        QCOMPARE(w.windowTitle(), QStringLiteral("first.log — REDA"));
        QCOMPARE(w.settings().recentLogs,
                 (std::vector<std::string>{first.toStdString(), second.toStdString()}));

        QTimer::singleShot(0, [] {
            auto* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == QStringLiteral("wordsDialog"));
            auto* errors = dialog->findChild<QLineEdit*>(QStringLiteral("errorWords"));
            QCOMPARE(errors->text(), QString());  // the rule table needs no words
            errors->setText(QStringLiteral(" oops ,, bad "));
            dialog->findChild<QLineEdit*>(QStringLiteral("warningWords"))->clear();
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QTest::keyClick(&w, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(w.settings().words, (reda::HighlightWords{{"oops", "bad"}, {}, {}, {}}));
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "errorsLabel"), QStringLiteral("Errors: 1"), kWait);

        QApplication::setActiveWindow(&w);  // the dialog took it
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(w.windowTitle(), QStringLiteral("REDA"));
        QCOMPARE(label(w, "linesLabel"), QStringLiteral("Lines: 0"));
        QCOMPARE(label(w, "errorsLabel"), QStringLiteral("Errors: 0"));
    }

    void everyMenuActionHasAShortcut() {
        const QString log = path(QStringLiteral("recent.log"));
        writeFile(log, "x\n", QIODevice::WriteOnly);
        open(log);  // fills the recent list
        int checked = 0;
        std::function<void(QMenu*)> visit = [&](QMenu* menu) {
            for (QAction* action : menu->actions()) {
                if (action->menu()) {
                    visit(action->menu());
                } else if (!action->isSeparator()) {
                    QVERIFY2(!action->shortcut().isEmpty(), qPrintable(action->text()));
                    ++checked;
                }
            }
        };
        for (QAction* top : fixture_.window().menuBar()->actions()) {
            visit(top->menu());
        }
        QCOMPARE(checked, 34);
    }
};

QTEST_MAIN(LogViewerTest)
#include "LogViewerTest.moc"
