#pragma once
// Ends a start-up measurement: once `window` has been shown and painted, the process ends at
// once, so the time a runner measures is start-up only.

#include <unistd.h>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

inline void ExitWhenShown(QWidget& window) {
    // A zero timer fires after the events that show and paint the window.
    QTimer::singleShot(0, &window, [&window] {
        window.repaint();
        QApplication::processEvents();
        std::fflush(stdout);
        _exit(window.isVisible() ? 0 : 1);
    });
}
