// REDA's window on large logs and with the features of a build log viewer, driven offscreen
// through real input events.

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "FindBar.h"
#include "LogView.h"
#include "MainWindow.h"
#include "WindowTestSupport.h"

using reda::MainWindow;
using namespace reda::testing;

class LogViewerFeaturesTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<MainWindow> window_;

    QString path(const QString& name) const { return QDir(dir_->path()).filePath(name); }

    MainWindow& open(const QString& log) {
        window_->openLog(log);
        return *window_;
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        window_ =
            std::make_unique<MainWindow>(path(QStringLiteral("Config/REDA.ini")).toStdString());
        window_->resize(800, 400);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup() {
        window_.reset();
        dir_.reset();
    }

    // A log above the end-first size shows its end before its lines are counted; then the
    // lines get their numbers and the view stays at the end.
    void showsTheEndOfALargeLogFirst() {
        const int count = 1000000;  // about 13 MB
        const QString log = path(QStringLiteral("large.log"));
        writeFile(log, numberedLines(1, count) + "error at the end\n", QIODevice::WriteOnly);
        MainWindow& w = open(log);
        QVERIFY(!w.windowIcon().isNull());
        const std::size_t rows = w.view()->visibleLineCount();
        QCOMPARE(shownLine(w, rows - 1), std::string("error at the end"));
        QCOMPARE(shownLine(w, rows - 2), "line " + std::to_string(count));
        // The worker's count is taken at a later poll, so it is still missing here.
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

    // A search runs beside the window: Esc in the bar stops it and leaves the bar open; the
    // next Esc closes it.
    void escapeStopsARunningSearch() {
        const QString log = path(QStringLiteral("search-big.log"));
        writeFile(log, numberedLines(1, 800000), QIODevice::WriteOnly);  // about 12 MB
        MainWindow& w = open(log);
        QTRY_VERIFY_WITH_TIMEOUT(w.log().indexComplete(), kWait);
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        auto* edit = w.findBar()->findChild<QLineEdit*>(QStringLiteral("findEdit"));
        QTest::keyClicks(edit, QStringLiteral("nowhere"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(w.isSearching());
        QVERIFY(w.findBar()->status().startsWith(QStringLiteral("Searching… ")));
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!w.isSearching());
        QCOMPARE(w.findBar()->status(), QStringLiteral("Search stopped"));
        QVERIFY(w.findBar()->isVisible());
        QVERIFY(!w.view()->hasSelection());

        // Run to its end, the same search says so.
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSearching(), kWait);
        QCOMPARE(w.findBar()->status(), QStringLiteral("Not found"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!w.findBar()->isVisible());
    }
};

QTEST_MAIN(LogViewerFeaturesTest)
#include "LogViewerFeaturesTest.moc"
