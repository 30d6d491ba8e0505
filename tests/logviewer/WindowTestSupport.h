#pragma once
// What REDA's window tests share: files written the way tools write them, and looks at what
// the window shows.

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <string>

#include "LogView.h"
#include "MainWindow.h"
#include "PathText.h"

namespace reda::testing {

constexpr int kWait = 3000;  // generous: a slow machine must not fail, the benchmark measures

inline void writeFile(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode) {
    QFile file(path);
    QVERIFY2(file.open(mode), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray numberedLines(int first, int last) {
    QByteArray out;
    for (int i = first; i <= last; ++i) {
        out += "line " + QByteArray::number(i) + "\n";
    }
    return out;
}

inline QString label(const MainWindow& window, const char* name) {
    const auto* found = window.findChild<QLabel*>(QLatin1String(name));
    return found ? found->text() : QStringLiteral("(no label %1)").arg(QLatin1String(name));
}

inline std::string shownLine(const MainWindow& window, std::size_t row) {
    return std::string(window.log().line(window.view()->firstVisibleLine() + row));
}

// Pixels of one colour in the row of a shown line.
inline int pixelsOfColour(MainWindow& window, std::size_t line, const QColor& colour) {
    reda::LogView* view = window.view();
    const QImage image = view->viewport()->grab().toImage();
    const int y = static_cast<int>(line - view->firstVisibleLine()) * view->lineHeight() +
                  view->lineHeight() / 2;
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        count += QColor(image.pixel(x, y)) == colour ? 1 : 0;
    }
    return count;
}

// A fresh window over an empty temporary folder for each test, with its settings in that
// folder's Config/REDA.ini: shown, active and 800 by 400. It holds a log as this system does
// unless told otherwise.
class TestWindow {
  public:
    void start(LogFile::Backing backing = LogFile::defaultBacking()) {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        window_ = std::make_unique<MainWindow>(toPath(path(QStringLiteral("Config/REDA.ini"))),
                                               nullptr, backing);
        window_->resize(800, 400);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void stop() {
        window_.reset();
        dir_.reset();
    }

    QString folder() const { return dir_->path(); }
    QString path(const QString& name) const { return QDir(dir_->path()).filePath(name); }
    MainWindow& window() { return *window_; }

    MainWindow& open(const QString& log) {
        window_->openLog(log);
        return *window_;
    }

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace reda::testing
