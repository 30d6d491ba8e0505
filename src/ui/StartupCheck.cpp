#include "StartupCheck.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>

namespace kestrune::ui {

StartupCheck::StartupCheck() : active_(qEnvironmentVariableIsSet("KESTRUNE_QUIT_AFTER_SHOW")) {
    if (!active_) {
        return;
    }
    // A box runs its own event loop, in which this timer still fires.
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, &StartupCheck::CloseBoxes);
    timer_.start();
}

void StartupCheck::CloseBoxes() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box == nullptr || !box->isVisible()) {
            continue;
        }
        ++boxes_;
        std::fprintf(stderr, "kestrune: message box at start: %s: %s\n",
                     qPrintable(box->windowTitle()), qPrintable(box->text()));
        box->done(QMessageBox::Cancel);
    }
}

int StartupCheck::Finish(const QWidget& window) {
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
    }
    CloseBoxes();
    // The menus as shown, so a check can see which language the window speaks.
    QStringList menus;
    for (const QMenuBar* bar : window.findChildren<QMenuBar*>()) {
        for (const QAction* menu : bar->actions()) {
            menus << menu->text();
        }
    }
    std::printf("kestrune: menus: %s\n", qPrintable(menus.join(QStringLiteral(" | "))));
    std::fflush(stdout);
    if (!window.isVisible()) {
        std::fprintf(stderr, "kestrune: the window was not shown\n");
        return 1;
    }
    return boxes_ == 0 ? 0 : 1;
}

}  // namespace kestrune::ui
