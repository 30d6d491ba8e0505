#pragma once
// Mirrors ControlState values onto widgets and actions. Each binding remembers what it applied
// last, so a sync after every event touches only what changed and never disturbs a control the
// user is typing into.

#include <QPointer>
#include <vector>

#include "base/ControlState.h"

class QAction;
class QMenu;
class QWidget;

namespace kestrune::ui {

class Bindings {
  public:
    // What of a control's state the widget shows.
    enum class Kind {
        Caption,     // label, check box, button, group box: caption, tick and bold
        ToolButton,  // a picture without caption: the tick only
        Edit,        // line edit: its text
        Combo,       // editable combo box: the text in its edit
        Geometry,    // nothing of its own
    };
    // Every kind also takes the tooltip, enabled and visible.

    // Binds `widget` to `state`; bounds with a size are applied once, at binding.
    void Bind(QWidget* widget, const ControlState& state, Kind kind);
    // A menu item: caption, enabled, visible and the tick.
    void Bind(QAction* action, const ControlState& state);
    // A sub-menu: its title, and enabled and visible on the entry that opens it.
    void Bind(QMenu* menu, const ControlState& state);

    void Sync();
    void Clear();

  private:
    struct Entry {
        const ControlState* state;
        QPointer<QObject> target;
        Kind kind;
        bool isAction;
        bool isMenu;
        ControlState last;
        bool fresh = true;
    };
    static void Apply(Entry& entry);

    std::vector<Entry> entries_;
};

bool SameState(const ControlState& a, const ControlState& b);

}  // namespace kestrune::ui
