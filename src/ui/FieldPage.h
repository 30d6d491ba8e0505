#pragma once
// One program's tab: its group box and every field's widgets at the places the core computed,
// mirroring the fields' state and forwarding ticks, typing, choices, focus changes and mouse
// movement to the fields' handlers.

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "Bindings.h"

class QGroupBox;
class QPushButton;
class QScrollArea;

#include "app/Kestrune.h"

namespace kestrune::ui {

// The width a value control has for its text.
int TextRoom(const QWidget* value);

class FieldPage : public QWidget {
    Q_OBJECT
  public:
    // The page of program `program`; `run` carries a user's event to the core's gate and
    // syncs the window afterwards.
    FieldPage(Kestrune& core, int program, std::function<void(const std::function<void()>&)> run,
              QWidget* parent = nullptr);

    void Sync();
    // The widget that shows `state`, or nullptr: a field's focus request names its state.
    QWidget* WidgetOf(const ControlState* state) const { return widgets_.value(state); }
    // The scrolled area that holds the group box.
    QScrollArea* ScrollArea() const { return scroll_; }
    // The controls that take the keyboard focus, in their order on the page.
    std::vector<QWidget*> FocusOrder() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A field's caption box, then the controls its kind shows beside it.
    void AddField(const FieldCore& field, FieldKind kind, int index,
                  const std::vector<ShownControl>& controls);
    // A line to type in, or a list to pick from as well.
    void AddValue(const FieldCore& field, FieldKind kind, int index, const ShownControl& control);
    void AddButton(const FieldCore& field, FieldKind kind, int index, const ShownControl& control);
    // The caption check box every value field has: a click ticks it, the mouse shows its help.
    void AddCheck(const ControlState& state, FieldKind kind, int index, const std::string& help);
    // Carries a field's event to the core's gate.
    std::function<void()> Send(FieldKind kind, int index, FieldAction action);
    void SendText(FieldKind kind, int index, const QString& text);
    // Names a field's value control after the field and adds it to the field's controls.
    void Describe(const FieldCore& field, QWidget* value);
    void Track(QWidget* widget, const ControlState& state);

    struct ColorButton {
        QPointer<QPushButton> button;
        const std::uint32_t* color;
        std::uint32_t shown;
        QString help;
    };
    // A field's controls in their order, placed where its caption box is.
    struct PlacedField {
        QRect anchor;
        std::vector<QPointer<QWidget>> widgets;
    };
    struct ValueControl {
        QPointer<QWidget> widget;
        const ControlState* state;
    };

    Kestrune& core_;
    int program_;
    TZRGroup& group_;
    std::function<void(const std::function<void()>&)> run_;
    QScrollArea* scroll_ = nullptr;
    QGroupBox* box_ = nullptr;
    Bindings bindings_;
    std::vector<ColorButton> colors_;
    std::vector<PlacedField> fields_;
    std::vector<ValueControl> values_;
    QHash<const ControlState*, QWidget*> widgets_;
    QHash<QObject*, std::function<void()>> hover_;
    QHash<QObject*, std::function<void()>> leave_;
};

}  // namespace kestrune::ui
