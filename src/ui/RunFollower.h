#pragma once
// Follows the chain's run for the main window: asks the core every second how the run stands,
// shows it in the tray icon's tooltip, and tells the user with a desktop notification when a
// run ends while the window is not the active one.

#include <QObject>
#include <QString>
#include <functional>

class QSystemTrayIcon;
class QTimer;
class QWidget;

namespace kestrune {
class TfrmMain;
}

namespace kestrune::ui {

class RunFollower : public QObject {
    Q_OBJECT
  public:
    // `window` is the one whose activity decides whether a notification is needed; `idle`
    // says that no event of the window is running (no modal box of one is open), and `sync`
    // makes the window match the core after the run's state changed.
    RunFollower(TfrmMain& main, QWidget* window, QSystemTrayIcon* tray, std::function<bool()> idle,
                std::function<void()> sync);

    // Mirrors the core's run state: the tray's tooltip, and a notification for a run that
    // ended since the last call.
    void Sync();
    // Reads the run's state now (the timer does it every second).
    void Poll();

    // What shows a notification; the desktop's by default (tests replace it).
    std::function<void(const QString& title, const QString& text)> notify;
    // The notifications shown, in order, as "title: text".
    QStringList shown;

  private:
    void DesktopNotification(const QString& title, const QString& text);

    TfrmMain& main_;
    QWidget* window_;
    QSystemTrayIcon* tray_;
    std::function<bool()> idle_;
    std::function<void()> sync_;
    QTimer* timer_;
    int seenEndings_ = 0;
};

// The tray icon's tooltip: the program's name, and the run's status below it.
QString TrayToolTip(const QString& status);

}  // namespace kestrune::ui
