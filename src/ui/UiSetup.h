#pragma once
// The look every Kestrune window shares, set once per application: one style on every desktop
// so the designed pixel geometry holds, and a font that has the Chinese captions and fits the
// designed control sizes.

class QApplication;
class QIcon;

namespace kestrune::ui {

void SetUpApplication(QApplication& app);

// The application's own icon.
QIcon ApplicationIcon();

}  // namespace kestrune::ui
