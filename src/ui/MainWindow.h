#pragma once
// Kestrune's main window: every control, menu and tool button of the main window at its
// designed place, the program tabs built from the loaded specification, the tray icon, and
// the options dialog and about box. It decides nothing: each user event goes to the core, and
// afterwards every widget takes the core's state again.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Bindings.h"
#include "app/Kestrune.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QLineEdit;
class QPlainTextEdit;
class QSystemTrayIcon;
class QTabWidget;
class QToolBar;
class QToolButton;

namespace kestrune::ui {

class AboutBox;
class FieldPage;
class OptionsDialog;

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
    QMenu* StagesMenu() const { return stagesMenu_; }
    // The height of the client area below the menu bar.
    int ClientHeight() const;

  signals:
    // The core closed the main window: the program ends.
    void Closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct DynamicMenu {
        QMenu* menu;
        MenuState* state;
        std::string name;
        bool radio;
        std::vector<MenuItem> shown;
        bool built = false;
    };

    void BuildMenus();
    void BuildToolBar();
    void BuildControls();
    QAction* AddItem(QMenu* menu, ControlState& state, const char* name,
                     const QKeySequence& shortcut = {}, bool checkable = false);
    QMenu* AddSubMenu(QMenu* parent, MenuState& state, const char* name, bool radio = false);
    QToolButton* AddToolButton(ControlState& state, const char* name, const char* theme,
                               const char* picture, bool checkable = false);
    void RebuildTabs();
    // Tab goes through the controls in their order on the window.
    void OrderFocus();
    void OpenFirstMenu();
    QPoint OnScreen(int left, int top) const;
    void SyncStages();
    void SyncDynamicMenu(DynamicMenu& menu);
    void SyncWindow();

    Kestrune& core_;
    TfrmMain& main_;
    Bindings bindings_;
    std::vector<DynamicMenu> dynamicMenus_;

    QWidget* client_ = nullptr;
    QToolBar* barMain_ = nullptr;
    QTabWidget* tabMain_ = nullptr;
    QListWidget* lstStages_ = nullptr;
    QCheckBox* remember_ = nullptr;
    QLineEdit* txtFile_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* compile_ = nullptr;
    QPlainTextEdit* txtDetails_ = nullptr;
    QMenu* tabMenu_ = nullptr;
    QMenu* stagesMenu_ = nullptr;
    QMenu* runStagesMenu_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    OptionsDialog* options_ = nullptr;
    AboutBox* about_ = nullptr;
    std::vector<QPointer<FieldPage>> pages_;

    int builtStructure_ = -1;
    int activations_ = 0;
    int minimizations_ = 0;
    bool closedSignalled_ = false;
    int appliedLeft_ = -1;
    int appliedTop_ = -1;
    int appliedClientHeight_ = -1;
    bool framePlaced_ = false;
    bool busy_ = false;
    bool syncing_ = false;
};

}  // namespace kestrune::ui
