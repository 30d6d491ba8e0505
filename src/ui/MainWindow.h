#pragma once
// Kestrune's main window: the controls, menus and tool bar its core window declares, the
// program tabs built from the loaded specification, the tray icon, and the options dialog
// and about box. It decides nothing: each user event goes to the core's gate, and afterwards
// every widget takes the core's state again.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "WindowControls.h"
#include "app/Kestrune.h"

class QListWidget;
class QPlainTextEdit;
class QSystemTrayIcon;
class QTabWidget;

namespace kestrune::ui {

class AboutBox;
class FieldPage;
class OptionsDialog;
class SpecificationWatcher;
class RunFollower;
class ScriptPreviewPane;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(Kestrune& core, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Carries one user event to the core, then mirrors the new state. Ignored while an earlier
    // event is still running (a modal box of it is open) or the window is being synced.
    void Event(const std::function<void()>& handler);
    // The click of a named control or menu item, through the core's command table.
    void ClickControl(std::string_view name);
    void ChooseItem(std::string_view menu, std::size_t index);
    // Makes every widget match the core's state.
    void Sync();

    OptionsDialog* Options() const { return options_; }
    AboutBox* About() const { return about_; }
    QSystemTrayIcon* Tray() const { return tray_; }
    QMenu* TrayMenu() const { return trayMenu_; }
    QMenu* TabMenu() const { return tabMenu_; }
    RunFollower* Follower() const { return follower_; }
    ScriptPreviewPane* Preview() const { return preview_; }
    // The height of the client area below the menu bar.
    int ClientHeight() const;

  Q_SIGNALS:
    // The core closed the main window: the program ends.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildClient();
    void RebuildTabs();
    // Tab goes through the controls in their order on the window.
    void OrderFocus();
    void OpenFirstMenu();
    QPoint OnScreen(int left, int top) const;
    void SyncStages();
    // The window's own state, then what the core asked of it once.
    void SyncWindow(const std::vector<ViewRequest>& requests);
    // The window stands at `place` now: the core keeps it for the settings.
    void Placed(QPoint place);

    Kestrune& core_;
    TfrmMain& main_;
    WindowControls* controls_ = nullptr;

    QWidget* client_ = nullptr;
    QTabWidget* tabMain_ = nullptr;
    QListWidget* lstStages_ = nullptr;
    QPlainTextEdit* txtDetails_ = nullptr;
    QMenu* tabMenu_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    OptionsDialog* options_ = nullptr;
    AboutBox* about_ = nullptr;
    SpecificationWatcher* specWatcher_ = nullptr;
    RunFollower* follower_ = nullptr;
    ScriptPreviewPane* preview_ = nullptr;
    std::vector<QPointer<FieldPage>> pages_;
    ShownRows shownStages_;

    int builtStructure_ = -1;
    bool closedSignalled_ = false;
    int appliedLeft_ = -1;
    int appliedTop_ = -1;
    int appliedClientHeight_ = -1;
    bool framePlaced_ = false;
    int shownLanguage_ = -1;
    bool busy_ = false;
    bool syncing_ = false;
};

}  // namespace kestrune::ui
