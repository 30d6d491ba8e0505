#pragma once
// For the tests of the real program: with the environment variable KESTRUNE_QUIT_AFTER_SHOW
// set, the program ends right after its first show, and any message box that opens on the way
// is written to the error output and closed, so that the program ends with status 1 instead
// of waiting for a person. The menu bar's captions go to the output, for the language checks.

#include <QObject>
#include <QTimer>

class QWidget;

namespace kestrune::ui {

class StartupCheck : public QObject {
  public:
    StartupCheck();

    bool Active() const { return active_; }
    // Lets the window appear, then gives the program's exit status.
    int Finish(const QWidget& window);

  private:
    void CloseBoxes();

    bool active_;
    int boxes_ = 0;
    QTimer timer_;
};

}  // namespace kestrune::ui
