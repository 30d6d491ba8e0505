#pragma once
// The widgets of one window, built by walking the rows its core window declares: menus,
// menu entries, the tool bar, buttons, labels, boxes, pages, lists, sliders. Every widget
// forwards its events to the core's gate by the row's name, and a sync mirrors the core's
// state onto all of them. Kinds with a behaviour of their own (the program tabs, the stages
// list, the details pane) are built here too, and their windows find them by kind.

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "Bindings.h"
#include "app/Kestrune.h"

class QLabel;
class QMainWindow;
class QMenu;
class QSlider;
class QTabWidget;
class QToolButton;

namespace kestrune::ui {

using EventRunner = std::function<void(const std::function<void()>&)>;

// Up and down arrows without a text of their own; the core holds the position.
class UpDown : public QWidget {
    Q_OBJECT
  public:
    explicit UpDown(QWidget* parent = nullptr);
    QToolButton* Up() const { return up_; }
    QToolButton* Down() const { return down_; }

  Q_SIGNALS:
    void Stepped(int step);

  private:
    QToolButton* up_;
    QToolButton* down_;
};

// Remembers the rows a list or menu shows, so it is rebuilt only when they differ.
class ShownRows {
  public:
    // True when `rows` differ from what was shown; they are then taken as shown.
    bool Changed(const ListRows& rows);

  private:
    ListRows shown_;
    bool built_ = false;
};

class WindowControls : public QObject {
    Q_OBJECT
  public:
    // Builds the widgets of `window` into `client` (and the menu bar of `frame` when it has
    // one); `run` carries each event to the core and mirrors the state afterwards.
    WindowControls(Kestrune& core, WindowId window, QWidget* client, QMainWindow* frame,
                   EventRunner run);

    // The widget, menu or menu entry of the first row of `kind`.
    QWidget* WidgetOf(ControlKind kind) const;
    QMenu* MenuOf(ControlKind kind) const;
    // The pop-up menu that opens over the control of the first row of `kind`.
    QMenu* PopupOver(ControlKind kind) const;
    // The menu named `name`, as the core names a pop-up it asks for.
    QMenu* MenuNamed(const std::string& name) const;
    // The widgets that take the focus, in the order the window declares them.
    std::vector<QWidget*> FocusOrder() const;

    void Sync();

  private:
    struct Built {
        PlacedRow placed;
        QObject* object = nullptr;  // widget, action or menu; nullptr for a separator
    };
    struct BuiltMenu {
        QMenu* menu;
        std::size_t built;  // its entry in built_
        ShownRows shown;
    };

    void Build(const PlacedRow& placed);
    void BuildMenuRow(const PlacedRow& placed, QObject* parent);
    QWidget* BuildWidget(const PlacedRow& placed, QWidget* parent);
    // One builder for each kind of control that needs more than a line.
    QWidget* BuildToolBar(const ControlRow& row, QWidget* parent);
    QWidget* BuildToolButton(const PlacedRow& placed, QWidget* parent);
    QWidget* BuildButton(const PlacedRow& placed, QWidget* parent);
    QWidget* BuildLabel(const PlacedRow& placed, QWidget* parent);
    QWidget* BuildPicture(const PlacedRow& placed, QWidget* parent);
    QWidget* BuildSlider(const PlacedRow& placed, QWidget* parent);
    QWidget* BuildUpDown(const PlacedRow& placed, QWidget* parent);
    QWidget* BuildStageList(const PlacedRow& placed, QWidget* parent);
    QWidget* BuildDetailsPane(const PlacedRow& placed, QWidget* parent);
    QWidget* BuildList(const PlacedRow& placed, QWidget* parent);
    QWidget* BuildDropDown(const PlacedRow& placed, QWidget* parent);
    void Connect(const PlacedRow& placed, QWidget* widget);
    void ConnectSlider(QSlider* slider, std::string_view name);
    void ConnectList(QWidget* widget, std::string_view name);
    QObject* Find(std::string_view name) const;
    const Built* FindBuilt(std::string_view name) const;
    void Click(std::string_view name);
    void SyncMenu(BuiltMenu& menu);
    void SyncList(const Built& built);
    void SyncNames();

    Kestrune& core_;
    WindowId window_;
    QWidget* client_;
    QMainWindow* frame_;
    EventRunner run_;
    Bindings bindings_;
    std::vector<PlacedRow> rows_;
    std::vector<Built> built_;
    std::vector<BuiltMenu> menus_;
    QHash<QObject*, ShownRows> lists_;
    std::vector<QLabel*> autoSized_;
    // The pages of tab controls, whose captions the tab bar shows.
    struct BuiltPage {
        QPointer<QTabWidget> tabs;
        QPointer<QWidget> page;
        std::string_view name;
        std::string_view designed;  // the page's declared caption
        const ControlState* state;
    };
    std::vector<BuiltPage> pages_;
};

}  // namespace kestrune::ui
