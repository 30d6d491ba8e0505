#pragma once
// The about box: the program's name, version and platform, and the loaded specification's
// name, program and author. Shown while the core holds it open.

#include <QDialog>

#include "WindowControls.h"

namespace kestrune {
class Kestrune;
class TfrmAbout;
}  // namespace kestrune

namespace kestrune::ui {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    AboutBox(Kestrune& core, EventRunner run, QWidget* parent);

    void Sync();

  public Q_SLOTS:
    void reject() override;

  private:
    Kestrune& core_;
    TfrmAbout& about_;
    EventRunner run_;
    WindowControls* controls_ = nullptr;
};

}  // namespace kestrune::ui
