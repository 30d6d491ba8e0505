// REDA's window on large logs and with the features of a build log viewer, driven offscreen
// through real input events.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>
#include <set>

#include "FilterBar.h"
#include "FindBar.h"
#include "LogView.h"
#include "MainWindow.h"
#include "SearchJob.h"
#include "WindowTestSupport.h"

using reda::MainWindow;
using namespace reda::testing;

class LogViewerFeaturesTest : public QObject {
    Q_OBJECT

  private:
    TestWindow fixture_;

    QString path(const QString& name) const { return fixture_.path(name); }
    MainWindow& open(const QString& log) { return fixture_.open(log); }

  private slots:
    void init() { fixture_.start(); }

    void cleanup() { fixture_.stop(); }

    // A log above the end-first size shows its end before its lines are counted; then the
    // lines get their numbers and the view stays at the end. Only a mapping is shared with the
    // counting worker: a copy in memory is counted at once (the next case).
    void showsTheEndOfALargeLogFirst() {
        const int count = 1000000;  // about 13 MB
        const QString log = path(QStringLiteral("large.log"));
        writeFile(log, numberedLines(1, count) + "ld: error: at the end\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QVERIFY(w.log().isMapped());
        QVERIFY(!w.windowIcon().isNull());
        const std::size_t rows = w.view()->visibleLineCount();
        QCOMPARE(shownLine(w, rows - 1), std::string("ld: error: at the end"));
        QCOMPARE(shownLine(w, rows - 2), "line " + std::to_string(count));
        // The worker's count is taken at a later poll, which has not come (no event was
        // handled since the log was opened), so it is still missing here however fast the
        // worker was.
        QVERIFY(!w.log().indexComplete());
        QCOMPARE(label(w, "linesLabel"), QStringLiteral("Lines: …"));
        QVERIFY(label(w, "progressLabel").startsWith(QStringLiteral("Counting lines… ")));
        QTest::keyClick(&w, Qt::Key_F8);
        QCOMPARE(w.statusBar()->currentMessage(),
                 QStringLiteral("Still counting the lines of the log; try again in a moment."));
        QTRY_VERIFY_WITH_TIMEOUT(w.log().indexComplete(), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "linesLabel"),
                                  QStringLiteral("Lines: %1").arg(count + 1), kWait);
        QVERIFY(!w.findChild<QLabel*>(QStringLiteral("progressLabel"))->isVisible());
        QCOMPARE(w.view()->firstVisibleLine(), std::size_t(count + 1) - rows);
        QCOMPARE(w.view()->currentLine(), std::size_t(count));
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Following"));
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "errorsLabel"), QStringLiteral("Errors: 1"), kWait);
        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(&w, Qt::Key_F8);
        QCOMPARE(w.view()->currentLine(), std::size_t(count));
    }

    // The same log held as a copy in memory (Windows, where a mapping would keep the tools
    // from cutting their log): read whole, it is counted at once and shown at its end with
    // its numbers, and jumps need not wait.
    void countsACopiedLargeLogAtOnce() {
        fixture_.stop();
        fixture_.start(reda::LogFile::Backing::Copied);
        const int count = 800000;  // about 10 MB, above the end-first size
        const QString log = path(QStringLiteral("large.log"));
        writeFile(log, numberedLines(1, count) + "ld: error: at the end\n", QIODevice::WriteOnly);
        QVERIFY(QFileInfo(log).size() >= static_cast<qint64>(reda::LogFile::kEndFirstBytes));
        MainWindow& w = open(log);
        QVERIFY(!w.log().isMapped());
        QVERIFY(w.log().indexComplete());
        QCOMPARE(w.log().lineCount(), std::size_t(count + 1));
        QCOMPARE(label(w, "linesLabel"), QStringLiteral("Lines: %1").arg(count + 1));
        QVERIFY(!w.findChild<QLabel*>(QStringLiteral("progressLabel"))->isVisible());
        const std::size_t rows = w.view()->visibleLineCount();
        QCOMPARE(w.view()->firstVisibleLine(), std::size_t(count + 1) - rows);
        QCOMPARE(shownLine(w, rows - 1), std::string("ld: error: at the end"));
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Following"));
        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(w.view()->currentLine(), std::size_t{0});
        QTest::keyClick(&w, Qt::Key_F8);
        QCOMPARE(w.view()->currentLine(), std::size_t(count));
        QCOMPARE(w.statusBar()->currentMessage(), QString());
    }

    // A search runs beside the window, from a mapping and from a copy alike: Esc in the bar
    // stops it and leaves the bar open; the next Esc closes it. The worker is held before its
    // first byte, so the search is met at work on any machine.
    void escapeStopsARunningSearch_data() {
        QTest::addColumn<bool>("copied");
        QTest::newRow("as this system holds a log") << false;
        QTest::newRow("copied into memory") << true;
    }

    void escapeStopsARunningSearch() {
        QFETCH(bool, copied);
        if (copied) {
            fixture_.stop();
            fixture_.start(reda::LogFile::Backing::Copied);
        }
        const QString log = path(QStringLiteral("search.log"));
        writeFile(log, numberedLines(1, 50000), QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QCOMPARE(w.log().isMapped(),
                 !copied && reda::LogFile::defaultBacking() == reda::LogFile::Backing::Mapped);
        QTRY_VERIFY_WITH_TIMEOUT(w.log().indexComplete(), kWait);
        auto hold = std::make_shared<reda::SearchHold>();
        w.setSearchHold(hold);
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        auto* edit = w.findBar()->findChild<QLineEdit*>(QStringLiteral("findEdit"));
        QTest::keyClicks(edit, QStringLiteral("nowhere"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(w.isSearching());
        QCOMPARE(w.findBar()->status(), QStringLiteral("Searching… 0%"));
        // The window answers while the search is held: the view scrolls.
        QTest::keyClick(w.view(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(w.view()->firstVisibleLine(), std::size_t{0});
        QVERIFY(w.isSearching());
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!w.isSearching());
        QCOMPARE(w.findBar()->status(), QStringLiteral("Search stopped"));
        QVERIFY(w.findBar()->isVisible());
        QVERIFY(!w.view()->hasSelection());

        // Let go, the same search runs to its end and says so.
        hold->release();
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSearching(), kWait);
        QCOMPARE(w.findBar()->status(), QStringLiteral("Not found"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!w.findBar()->isVisible());
    }

    // Typing a filter shows only the matching lines with their own numbers; a click there
    // shows the line in the whole log; stacking and hiding narrow it further; the view keeps
    // following the growing log.
    void filtersLinesAndGoesToThem() {
        QByteArray text = numberedLines(1, 300);
        text.replace("line 120\n", "line 120: error: broken\n");
        text.replace("line 150\n", "line 150: warning: odd\n");
        text.replace("line 250\n", "line 250: error: again\n");
        const QString log = path(QStringLiteral("build.log"));
        writeFile(log, text, QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        auto* edit = w.filterBar()->findChild<QLineEdit*>(QStringLiteral("filterEdit"));
        QVERIFY(edit && edit->isVisible());
        QTRY_VERIFY(edit->hasFocus());
        QTest::keyClicks(edit, QStringLiteral("line 2"));  // lines 2, 20-29, 200-299
        QTRY_COMPARE_WITH_TIMEOUT(w.filtered().rowCount(), std::size_t{111}, kWait);
        reda::LogView* filtered = w.filterView();
        QCOMPARE(filtered->lineOfRow(0), std::size_t{1});
        QCOMPARE(filtered->lineOfRow(1), std::size_t{19});
        QCOMPARE(w.filterBar()->status(), QStringLiteral("111 lines"));

        QTest::keyClick(edit, Qt::Key_Return);  // stack it, then hide the lines with "5"
        QCOMPARE(label(w, "filterStackLabel"), QStringLiteral("“line 2”"));
        QTest::mouseClick(w.filterBar()->findChild<QCheckBox*>(QStringLiteral("filterHide")),
                          Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("5"));
        QTRY_COMPARE_WITH_TIMEOUT(w.filtered().rowCount(), std::size_t{111 - 20}, kWait);

        // A click on the row of line 250 ("error: again") shows it in the log.
        w.filterBar()->findChild<QPushButton*>(QStringLiteral("filterClear"))->click();
        QTest::keyClicks(edit, QStringLiteral("error"));
        QTRY_COMPARE_WITH_TIMEOUT(w.filtered().rowCount(), std::size_t{2}, kWait);
        QCOMPARE(filtered->lineOfRow(1), std::size_t{249});
        const QRect cell = filtered->cellRect(249, 2);
        QVERIFY(filtered->viewport()->rect().contains(cell.center()));
        QTest::mouseClick(filtered->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(w.view()->currentLine(), std::size_t{249});
        const std::size_t first = w.view()->firstVisibleLine();
        QVERIFY(249 >= first && 249 < first + w.view()->visibleLineCount());

        // The filter keeps up with the log, also with a line still being written.
        writeFile(log, "line 301: error: late\nerror still writ", QIODevice::Append);
        QTRY_COMPARE_WITH_TIMEOUT(w.filtered().rowCount(), std::size_t{4}, kWait);
        QCOMPARE(filtered->lineOfRow(2), std::size_t{300});
        QCOMPARE(filtered->lineOfRow(3), std::size_t{301});
        QVERIFY(filtered->isAtEnd());

        // An expression that does not compile says why and filters nothing new.
        QTest::mouseClick(w.filterBar()->findChild<QCheckBox*>(QStringLiteral("filterRegex")),
                          Qt::LeftButton);
        edit->setText(QStringLiteral("error("));
        QCOMPARE(w.filterBar()->status(), QStringLiteral("Invalid expression: missing ): error("));
        edit->setText(QStringLiteral("^line [0-9]+: (error|warning)"));
        QTRY_COMPARE_WITH_TIMEOUT(w.filtered().rowCount(), std::size_t{4}, kWait);
    }

    void quickFiltersForErrorsAndWarnings() {
        QByteArray text = numberedLines(1, 100);
        text.replace("line 10\n", "q.c:10: error: one\n");
        text.replace("line 20\n", "q.c:20: warning: two\n");
        text.replace("line 30\n", "fatal: three\n");
        const QString log = path(QStringLiteral("quick.log"));
        writeFile(log, text, QIODevice::WriteOnly);
        MainWindow& w = open(log);
        auto rows = [&] {
            std::vector<std::size_t> out;
            for (std::size_t r = 0; r < w.filterView()->rowCount(); ++r) {
                out.push_back(w.filterView()->lineOfRow(r));
            }
            return out;
        };
        QTest::keyClick(&w, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE_WITH_TIMEOUT(rows(), (std::vector<std::size_t>{9, 29}), kWait);
        QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE_WITH_TIMEOUT(rows(), (std::vector<std::size_t>{19}), kWait);
        QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE_WITH_TIMEOUT(rows(), (std::vector<std::size_t>{9, 19, 29}), kWait);
        // Enter on a row of the filtered view shows it in the log.
        w.filterView()->setFocus();
        QTest::keyClick(w.filterView(), Qt::Key_Up);  // from the last row, which it follows
        QTest::keyClick(w.filterView(), Qt::Key_Return);
        QCOMPARE(w.view()->currentLine(), std::size_t{19});
        QTest::keyClick(w.filterBar()->findChild<QLineEdit*>(QStringLiteral("filterEdit")),
                        Qt::Key_Escape);
        QVERIFY(!w.filterView()->isVisible());
    }

    void regularExpressionSearchSaysWhyAPatternFails() {
        const QString log = path(QStringLiteral("regex.log"));
        writeFile(log, "src/a.c:12:5: error: x\nsrc/b.c:7: warning: y\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        auto* edit = w.findBar()->findChild<QLineEdit*>(QStringLiteral("findEdit"));
        QTest::keyClick(edit, Qt::Key_X, Qt::AltModifier);
        QTRY_VERIFY(w.findBar()->findChild<QCheckBox*>(QStringLiteral("regex"))->isChecked());
        QTest::keyClicks(edit, QStringLiteral("[0-9]+: warn"));
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSearching(), kWait);
        QCOMPARE(w.view()->selectionStart(), std::uint64_t{31});
        QCOMPARE(w.view()->selectionEnd(), std::uint64_t{38});
        edit->setText(QStringLiteral("a{2,1}"));
        QCOMPARE(w.findBar()->status(),
                 QStringLiteral("Invalid expression: invalid repetition size: {2,1}"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(!w.isSearching());
        QCOMPARE(w.findBar()->status(),
                 QStringLiteral("Invalid expression: invalid repetition size: {2,1}"));
    }
    // gcc's colours are drawn, their escape bytes are not shown, searched or filtered, and
    // copies leave them out unless asked.
    void drawsCompilerColours() {
        const QByteArray line =
            "\x1b[01m\x1b[Ksrc/a.c:3:5:\x1b[m\x1b[K \x1b[01;31m\x1b[Kerror: \x1b[m\x1b[Kbad\n";
        const QString log = path(QStringLiteral("colour.log"));
        writeFile(log, "plain\n" + line, QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "errorsLabel"), QStringLiteral("Errors: 1"), kWait);
        w.view()->resize(700, 200);
        // "error: " in gcc's red: strongly red pixels on that line, none on the plain one.
        auto redPixels = [&](std::size_t line) {
            const QImage image = w.view()->viewport()->grab().toImage();
            int count = 0;
            const int top = static_cast<int>(line) * w.view()->lineHeight();
            for (int y = top; y < top + w.view()->lineHeight(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c(image.pixel(x, y));
                    count += c.red() > 150 && c.green() < 90 && c.blue() < 90 ? 1 : 0;
                }
            }
            return count;
        };
        QVERIFY(redPixels(1) > 20);
        QCOMPARE(redPixels(0), 0);

        // The text as shown: a click at column 14 ("r" of "error") lands on its byte, past
        // the 11 bytes of colour before "error".
        const QRect cell = w.view()->cellRect(1, 14);
        QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {},
                          QPoint(cell.left() + 1, cell.center().y()));
        QCOMPARE(w.view()->selectionEnd(), std::uint64_t{6 + 39});

        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        auto* edit = w.filterBar()->findChild<QLineEdit*>(QStringLiteral("filterEdit"));
        QTest::mouseClick(w.filterBar()->findChild<QCheckBox*>(QStringLiteral("filterRegex")),
                          Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("^src/a\\.c:3:5: error"));
        QTRY_COMPARE_WITH_TIMEOUT(w.filtered().rowCount(), std::size_t{1}, kWait);
        edit->setText(QStringLiteral("31m"));
        QTRY_COMPARE_WITH_TIMEOUT(w.filtered().rowCount(), std::size_t{0}, kWait);

        w.view()->setSelection(6, 6 + line.size() - 1);
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("src/a.c:3:5: error: bad"));
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);  // keep codes
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text().toUtf8(), line.left(line.size() - 1));
    }
    // A click on a file location opens it in the editor at its line, the path taken from the
    // log's folder; Enter on a line does the same; without an editor the desktop opens it.
    void opensTheSourceLineFromALocation() {
        QVERIFY(QDir(fixture_.folder()).mkpath(QStringLiteral("src")));
        writeFile(path(QStringLiteral("src/a.c")), "int main() {}\n", QIODevice::WriteOnly);
        const QString log = path(QStringLiteral("build/make.log"));
        QVERIFY(QDir(fixture_.folder()).mkpath(QStringLiteral("build")));
        writeFile(log,
                  "cc -c ../src/a.c\n"
                  "../src/a.c:12:5: error: expected ';'\n"
                  "../src/missing.c:3: warning: gone\n"
                  "a.c(7): warning C4100\n",
                  QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QStringList calls;
        w.setOpener([&](const QString& program, const QStringList& arguments) {
            calls << program + QLatin1Char('|') + arguments.join(QLatin1Char('|'));
            return true;
        });
        // REDA shows and opens the file in the system's own form: with backslashes on Windows.
        const QString file =
            QDir::toNativeSeparators(QDir::cleanPath(path(QStringLiteral("src/a.c"))));
        qputenv("VISUAL", "vim");
        const QRect link = w.view()->cellRect(1, 3);
        QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {}, link.center());
        QCOMPARE(calls, QStringList{QStringLiteral("vim|+12|") + file});
        QCOMPARE(w.statusBar()->currentMessage(),
                 QStringLiteral("Opened %1 at line 12.").arg(file));
        // A click past the link on the same line only moves the caret.
        QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {},
                          w.view()->cellRect(1, 25).center());
        QCOMPARE(calls.size(), 1);

        qunsetenv("VISUAL");
        qputenv("EDITOR", "");
        w.view()->setFocus();
        QTest::keyClick(w.view(), Qt::Key_Return);  // still on line 2
        QCOMPARE(calls.last(), QStringLiteral("|") + file);

        QTest::keyClick(w.view(), Qt::Key_Down);
        QTest::keyClick(w.view(), Qt::Key_Return);
        QCOMPARE(calls.size(), 2);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("The file %1 is not there.")
                                                      .arg(QDir::toNativeSeparators(QDir::cleanPath(
                                                          path(QStringLiteral("src/missing.c"))))));
        QTest::keyClick(w.view(), Qt::Key_Up);
        QTest::keyClick(w.view(), Qt::Key_Up);
        QTest::keyClick(&w, Qt::Key_F4);
        QCOMPARE(w.statusBar()->currentMessage(),
                 QStringLiteral("This line names no file location."));

        // Next error passes over the warnings; F8 does not.
        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(&w, Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(w.view()->currentLine(), std::size_t{1});
        QTest::keyClick(&w, Qt::Key_F8, Qt::ControlModifier);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("No further errors."));
        QTest::keyClick(&w, Qt::Key_F8);
        QCOMPARE(w.view()->currentLine(), std::size_t{2});
    }
    void bookmarksLinesAndGoesRoundThem() {
        const QString log = path(QStringLiteral("marks.log"));
        writeFile(log, numberedLines(1, 200), QIODevice::WriteOnly);
        MainWindow& w = open(log);
        for (const std::size_t line : {150, 20, 90}) {
            w.goToLine(line + 1);
            QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier);
        }
        QCOMPARE(w.bookmarks(), (std::set<std::size_t>{20, 90, 150}));
        // The margin shows them: the highlight colour left of the numbers on line 91's row.
        const QImage image = w.view()->viewport()->grab().toImage();
        const int y = static_cast<int>(w.view()->rowOfLine(90) - w.view()->firstVisibleRow()) *
                          w.view()->lineHeight() +
                      w.view()->lineHeight() / 2;
        QCOMPARE(QColor(image.pixel(7, y)), w.view()->palette().color(QPalette::Highlight));
        QTest::keyClick(&w, Qt::Key_F2);
        QCOMPARE(w.view()->currentLine(), std::size_t{150});
        QTest::keyClick(&w, Qt::Key_F2);
        QCOMPARE(w.view()->currentLine(), std::size_t{20});  // round to the first
        QTest::keyClick(&w, Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(w.view()->currentLine(), std::size_t{150});
        QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier);  // off again
        QCOMPARE(w.bookmarks(), (std::set<std::size_t>{20, 90}));
        // A new run of the log starts without them.
        writeFile(log, "next run\n", QIODevice::WriteOnly | QIODevice::Truncate);
        QTRY_COMPARE_WITH_TIMEOUT(w.log().lineCount(), std::size_t{1}, kWait);
        QVERIFY(w.bookmarks().empty());
    }

    // A log dropped on the window from a file manager is opened.
    void opensADroppedLog() {
        const QString log = path(QStringLiteral("dropped.log"));
        writeFile(log, "dropped here\n", QIODevice::WriteOnly);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(log)});
        QWidget* target = fixture_.window().view()->viewport();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(fixture_.window().windowTitle(), QStringLiteral("dropped.log — REDA"));
        QCOMPARE(shownLine(fixture_.window(), 0), std::string("dropped here"));

        QMimeData text;
        text.setText(QStringLiteral("not a file"));
        QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &refused);
        QVERIFY(!refused.isAccepted());
    }
    // A log written in Windows-1252 reads right once that encoding is chosen; copies follow.
    void readsALogInWindows1252() {
        const QString log = path(QStringLiteral("cp1252.log"));
        writeFile(log, "caf\xe9 \x80 \x93ok\x94\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QCOMPARE(w.view()->codePage(), nullptr);
        QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(w.view()->codePage(), &reda::windows1252());
        QCOMPARE(w.filterView()->codePage(), &reda::windows1252());
        QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac \xe2\x80\x9cok\xe2\x80\x9d\n"));
        QTest::keyClick(&w, Qt::Key_U, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(w.view()->codePage(), nullptr);
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text().left(4), QString::fromUtf8("caf\xef\xbf\xbd"));
    }

    // The row a point of the view is on, from what the view reports for a line's column.
    static int rowAt(reda::LogView* view, std::size_t line, std::size_t column) {
        return view->cellRect(line, column).center().y() / view->lineHeight();
    }

    // Alt+Z wraps long lines: a line wider than the view takes several rows, a click on its
    // second row selects in that line, and the switch is remembered.
    void wrapsLongLinesAndSelectsInTheirRows() {
        const QString log = path(QStringLiteral("wide.log"));
        QByteArray wide;
        for (int i = 0; i < 40; ++i) {
            wide += QByteArray::number(i % 10).repeated(10);  // 400 columns, no blank
        }
        writeFile(log, "first\n" + wide + "\nthird\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        reda::LogView* view = w.view();
        QVERIFY(!view->wrapLines());
        QVERIFY(view->horizontalScrollBar()->maximum() > 0);
        QTest::keyClick(&w, Qt::Key_Z, Qt::AltModifier);
        QVERIFY(view->wrapLines());
        QVERIFY(w.findChild<QAction*>(QStringLiteral("wrapLines"))->isChecked());
        QCOMPARE(view->horizontalScrollBar()->maximum(), 0);

        // The rows of the wide line: the first ends where the view ends.
        std::size_t width = 1;
        while (rowAt(view, 1, width) == 1) {
            ++width;
        }
        const qreal left = view->cellRect(0, 0).left();
        QVERIFY(width * view->charWidth() <= view->viewport()->width() - left);
        QVERIFY((width + 1) * view->charWidth() >
                view->viewport()->width() - left - 2 * view->charWidth());
        QCOMPARE(rowAt(view, 1, width), 2);
        const std::size_t rows = (400 + width - 1) / width;
        QCOMPARE(rowAt(view, 2, 0), static_cast<int>(1 + rows));  // "third" after them

        // A click on the second row, column 3, and a shift-click two columns on.
        const int y = 2 * view->lineHeight() + view->lineHeight() / 2;
        const auto x = [&](std::size_t column) {
            return static_cast<int>(left + (static_cast<qreal>(column) + 0.1) * view->charWidth());
        };
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x(3), y));
        QCOMPARE(view->currentLine(), std::size_t{1});
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(x(5), y));
        const std::uint64_t start = w.log().index().lineStart(1);
        QCOMPARE(view->selectionStart(), start + width + 3);
        QCOMPARE(view->selectionEnd(), start + width + 5);
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString::fromLatin1(wide.mid(static_cast<int>(width + 3), 2)));
        // A click on "third" is on line 3.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(x(1), static_cast<int>(1 + rows) * view->lineHeight() + 2));
        QCOMPARE(view->currentLine(), std::size_t{2});

        // The filtered view wraps too.
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(w.filterView()->wrapLines());
        QCOMPARE(w.filterView()->horizontalScrollBar()->maximum(), 0);

        QVERIFY(w.saveSettings());
        QVERIFY(w.settings().wrapLines);
        MainWindow again(path(QStringLiteral("Config/REDA.ini")).toStdString());
        QVERIFY(again.view()->wrapLines());
        QTest::keyClick(&w, Qt::Key_Z, Qt::AltModifier);
        QVERIFY(!view->wrapLines());
        QVERIFY(view->horizontalScrollBar()->maximum() > 0);
    }

    // Wrapped, the end of a log whose last line is taller than the view is at the bottom,
    // follows appended lines, and paging up inside that line pauses.
    void wrappedViewFollowsTheEnd() {
        const QString log = path(QStringLiteral("tall.log"));
        const QByteArray tall = QByteArray("word ").repeated(2000) + "last";
        writeFile(log, numberedLines(1, 50) + tall, QIODevice::WriteOnly);
        MainWindow& w = open(log);
        reda::LogView* view = w.view();
        QTest::keyClick(&w, Qt::Key_Z, Qt::AltModifier);
        QVERIFY(view->isAtEnd());
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Following"));
        const std::size_t lastColumn = static_cast<std::size_t>(tall.size()) - 1;
        const int fullRows = view->viewport()->height() / view->lineHeight();
        QCOMPARE(rowAt(view, 50, lastColumn), fullRows - 1);  // the last row at the bottom

        QTest::keyClick(view, Qt::Key_PageUp);
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Paused"));
        QVERIFY(rowAt(view, 50, lastColumn) > fullRows);  // scrolled within the tall line
        QTest::keyClick(view, Qt::Key_PageDown);
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Following"));
        QTest::keyClick(view, Qt::Key_Down);  // on the tall last line already: stays
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Following"));
        QCOMPARE(rowAt(view, 50, lastColumn), fullRows - 1);

        writeFile(log, "\nappended\n", QIODevice::Append);
        QTRY_COMPARE_WITH_TIMEOUT(w.log().lineCount(), std::size_t{52}, kWait);
        QCOMPARE(rowAt(view, 51, 0), fullRows - 1);
        QCOMPARE(view->currentLine(), std::size_t{51});
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Following"));

        // Going to a line far up brings it on screen; the search finds the tall line's end.
        w.goToLine(3);
        const int row = rowAt(view, 2, 0);
        QVERIFY(row >= 0 && row < fullRows);
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(w.findBar()->findChild<QLineEdit*>(), QStringLiteral("last"));
        QTest::keyClick(w.findBar()->findChild<QLineEdit*>(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSearching(), kWait);
        QCOMPARE(view->currentLine(), std::size_t{50});
        const int hit = rowAt(view, 50, lastColumn);
        QVERIFY(hit >= 0 && hit < fullRows);
    }

    // A log of one line taller than the view: Ctrl+Home shows its start, Ctrl+End its end.
    void wrappedSingleTallLineGoesToItsStartAndEnd() {
        const QString log = path(QStringLiteral("one.log"));
        writeFile(log, "start " + QByteArray("x ").repeated(5000) + "end", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        reda::LogView* view = w.view();
        QTest::keyClick(&w, Qt::Key_Z, Qt::AltModifier);
        const int fullRows = view->viewport()->height() / view->lineHeight();
        QCOMPARE(rowAt(view, 0, 10005), fullRows - 1);
        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(rowAt(view, 0, 0), 0);
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Paused"));
        QTest::keyClick(&w, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(rowAt(view, 0, 10005), fullRows - 1);
        QCOMPARE(label(w, "followLabel"), QStringLiteral("Following"));
    }

    // A wrapped error line keeps its mark in the margin on every row; its bookmark and number
    // are on its first row only.
    void wrappedLineKeepsItsMarginMarks() {
        const QString log = path(QStringLiteral("marks.log"));
        writeFile(log, "a\nld: error: " + QByteArray(300, 'x') + "\nb\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        reda::LogView* view = w.view();
        QTest::keyClick(&w, Qt::Key_Z, Qt::AltModifier);
        QTest::keyClick(&w, Qt::Key_Home, Qt::ControlModifier);
        w.goToLine(2);
        QTest::keyClick(&w, Qt::Key_F2, Qt::ControlModifier);
        QTRY_COMPARE_WITH_TIMEOUT(label(w, "errorsLabel"), QStringLiteral("Errors: 1"), kWait);
        const int rows = rowAt(view, 2, 0) - 1;  // of the error line
        QVERIFY(rows >= 3);
        const QImage image = view->viewport()->grab().toImage();
        const QColor mark(0xd3, 0x2f, 0x2f);
        const int left = view->cellRect(0, 0).left();
        const auto marked = [&](int row) {
            const int y = row * view->lineHeight() + view->lineHeight() / 2;
            for (int x = 0; x < left; ++x) {
                if (QColor(image.pixel(x, y)) == mark) {
                    return true;
                }
            }
            return false;
        };
        const auto bookmarked = [&](int row) {
            const int y = row * view->lineHeight() + view->lineHeight() / 2;
            return QColor(image.pixel(7, y)) == view->palette().color(QPalette::Highlight);
        };
        QVERIFY(!marked(0));
        for (int row = 1; row <= rows; ++row) {
            QVERIFY2(marked(row), qPrintable(QString::number(row)));
        }
        QVERIFY(!marked(rows + 1));
        QVERIFY(bookmarked(1));
        QVERIFY(!bookmarked(2));
    }
};

QTEST_MAIN(LogViewerFeaturesTest)
#include "LogViewerFeaturesTest.moc"
