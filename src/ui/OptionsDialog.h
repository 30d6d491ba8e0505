#pragma once
// The options dialog: translucency, recent-list length and the association on "General", the
// tool, base and destination paths on "Paths", the favourite presets on "Presets". Shown while
// the core holds it open; every control forwards to the core's gate.

#include <QDialog>

#include "WindowControls.h"

namespace kestrune {
class Kestrune;
class TfrmOptions;
}  // namespace kestrune

namespace kestrune::ui {

class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    OptionsDialog(Kestrune& core, EventRunner run, QWidget* parent);

    void Sync();

  public Q_SLOTS:
    void reject() override;

  private:
    Kestrune& core_;
    TfrmOptions& options_;
    EventRunner run_;
    WindowControls* controls_ = nullptr;
};

}  // namespace kestrune::ui
