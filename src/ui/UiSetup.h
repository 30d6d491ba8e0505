#pragma once
// The look every Kestrune window shares, set once per application: one style on every desktop
// so the designed pixel geometry holds, and a font that has the Chinese captions. The controls
// were placed for an 8-point font at 96 DPI; with a larger font every designed place and size
// grows by the ratio of the two fonts' measured sizes, so captions keep their room.

#include <QRect>

#include "base/ControlState.h"

class QApplication;
class QFont;
class QIcon;
class QWidget;

namespace kestrune::ui {

void SetUpApplication(QApplication& app);

// The font the windows were designed for (11 pixels, the Chinese-capable families first).
QFont DesignFont();
// The font Kestrune uses on a desktop whose font is `desktop`: the design font where the
// desktop names none (Qt's own default) or a smaller one, else the desktop's family and size
// with the Chinese-capable families behind it.
QFont ApplicationFont(const QFont& desktop);

// How much larger the application's font measures than the design font (never below 1).
double LayoutScale();
// A designed length, and designed bounds, at the application's font.
int Scaled(int designed);
QRect Scaled(const Bounds& designed);
QRect Scaled(int left, int top, int width, int height);

// The application's own icon.
QIcon ApplicationIcon();

// Shows a dialog centred on the screen when the core holds it open, and hides it otherwise.
void ShowCentred(QWidget* dialog, bool open);

}  // namespace kestrune::ui
