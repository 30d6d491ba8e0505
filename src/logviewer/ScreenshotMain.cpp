// Renders REDA on a log into a PNG, for the README: reda_screenshot LOG OUT.png [FIND [FILTER]],
// where FILTER "problems" opens the filtered view on the error and warning lines. With
// REDA_SCREENSHOT_LANGUAGE=Chinese the window speaks Chinese.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

#include "FindBar.h"
#include "LogView.h"
#include "MainWindow.h"
#include "PathText.h"
#include "Translation.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: reda_screenshot LOG OUT.png [FIND [FILTER]]\n");
        return 2;
    }
    if (qEnvironmentVariable("REDA_SCREENSHOT_LANGUAGE")
            .compare(QStringLiteral("Chinese"), Qt::CaseInsensitive) == 0) {
        reda::installLanguage(reda::WindowLanguage::Chinese);
    }
    QTemporaryDir settings;
    reda::MainWindow window(
        reda::toPath(QDir(settings.path()).filePath(QStringLiteral("REDA.ini"))));
    window.resize(960, 600);
    window.openLog(arguments.at(1));
    window.show();
    QApplication::processEvents();
    // Following the end, with the last problem as the current line and a word marked.
    window.previousProblem();
    if (arguments.size() > 3 && !arguments.at(3).isEmpty()) {
        window.findBar()->activate(arguments.at(3));
    }
    if (arguments.size() > 4 && arguments.at(4) == QStringLiteral("problems")) {
        window.showQuickFilter(reda::KindFilter::Problems);
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
        }
        window.previousError();  // the last error is the current line
    }
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
    }
    if (!window.grab().save(arguments.at(2))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments.at(2)));
        return 1;
    }
    return 0;
}
