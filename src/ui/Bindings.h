#pragma once
// Mirrors ControlState values onto widgets and actions. Each binding remembers what it applied
// last, so a sync after every event touches only what changed and never disturbs a control the
// user is typing into.

#include <QPointer>
#include <string_view>
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

    // Captions of controls bound with a name are shown in the chosen language, looked up in
    // the window `context` ("frmMain"...); without a context they are shown as they are.
    explicit Bindings(const char* context = nullptr) : context_(context) {}

    // Binds `widget` to `state`; bounds with a size are applied once, at binding. `name` is
    // the control's declared name, by which its caption is translated, and `designed` its
    // declared caption (see ShownCaption).
    void Bind(QWidget* widget, const ControlState& state, Kind kind, std::string_view name = {},
              std::string_view designed = {});
    // A menu item: caption, enabled, visible and the tick.
    void Bind(QAction* action, const ControlState& state, std::string_view name = {},
              std::string_view designed = {});
    // A sub-menu: its title, and enabled and visible on the entry that opens it.
    void Bind(QMenu* menu, const ControlState& state, std::string_view name = {},
              std::string_view designed = {});

    void Sync();
    void Clear();
    const char* Context() const { return context_; }

  private:
    struct Entry {
        std::string_view name;
        std::string_view designed;
        const ControlState* state;
        QPointer<QObject> target;
        Kind kind;
        bool isAction;
        bool isMenu;
        ControlState last;
        bool fresh = true;
    };
    void Apply(Entry& entry) const;

    const char* context_;
    std::vector<Entry> entries_;
    int language_ = -1;
};

bool SameState(const ControlState& a, const ControlState& b);

}  // namespace kestrune::ui
