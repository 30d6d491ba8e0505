#pragma once
// The about box: the program's name and version and the loaded specification's name, program
// and author, shown while the core holds it open.

#include <QDialog>
#include <functional>

#include "Bindings.h"

namespace kestrune {
class Kestrune;
class TfrmAbout;
}  // namespace kestrune

namespace kestrune::ui {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    AboutBox(Kestrune& core, std::function<void(const std::function<void()>&)> run,
             QWidget* parent);

    void Sync();

  public slots:
    void reject() override;

  private:
    Kestrune& core_;
    TfrmAbout& about_;
    std::function<void(const std::function<void()>&)> run_;
    Bindings bindings_;
};

}  // namespace kestrune::ui
