#include "Bindings.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "QtPlatform.h"
#include "UiSetup.h"

namespace kestrune::ui {

bool SameState(const ControlState& a, const ControlState& b) {
    return a.text == b.text && a.hint == b.hint && a.enabled == b.enabled &&
           a.visible == b.visible && a.checked == b.checked && a.bold == b.bold;
}

void Bindings::Bind(QWidget* widget, const ControlState& state, Kind kind) {
    const Bounds& b = state.bounds;
    if (b.width > 0 && b.height > 0) {
        widget->setGeometry(Scaled(b));
    }
    entries_.push_back({&state, widget, kind, false, false, {}, true});
    Apply(entries_.back());
}

void Bindings::Bind(QAction* action, const ControlState& state) {
    entries_.push_back({&state, action, Kind::Caption, true, false, {}, true});
    Apply(entries_.back());
}

void Bindings::Bind(QMenu* menu, const ControlState& state) {
    entries_.push_back({&state, menu, Kind::Caption, false, true, {}, true});
    Apply(entries_.back());
}

void Bindings::Sync() {
    for (Entry& entry : entries_) {
        if (entry.fresh || !SameState(entry.last, *entry.state)) {
            Apply(entry);
        }
    }
}

void Bindings::Clear() {
    entries_.clear();
}

namespace {

void ApplyBold(QWidget* widget, bool bold) {
    if (widget->font().bold() != bold) {
        QFont font = widget->font();
        font.setBold(bold);
        widget->setFont(font);
    }
}

void ApplyWidget(QWidget* widget, const ControlState& s, Bindings::Kind kind) {
    const QString text = ToQt(s.text);
    switch (kind) {
        case Bindings::Kind::Caption:
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                if (button->text() != text) {
                    button->setText(text);
                }
                if (button->isCheckable() && button->isChecked() != s.checked) {
                    button->setChecked(s.checked);
                }
            } else if (auto* label = qobject_cast<QLabel*>(widget)) {
                if (label->text() != text) {
                    label->setText(text);
                }
            } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
                if (group->title() != text) {
                    group->setTitle(text);
                }
            }
            ApplyBold(widget, s.bold);
            break;
        case Bindings::Kind::ToolButton:
            if (auto* button = qobject_cast<QAbstractButton*>(widget);
                button != nullptr && button->isCheckable() && button->isChecked() != s.checked) {
                button->setChecked(s.checked);
            }
            // A picture alone says nothing to a screen reader; its hint names it.
            if (const QString name = ToQt(s.hint.str());
                !name.isEmpty() && widget->accessibleName() != name) {
                widget->setAccessibleName(name);
            }
            break;
        case Bindings::Kind::Edit:
            if (auto* edit = qobject_cast<QLineEdit*>(widget);
                edit != nullptr && edit->text() != text) {
                edit->setText(text);
            }
            break;
        case Bindings::Kind::Combo:
            if (auto* combo = qobject_cast<QComboBox*>(widget);
                combo != nullptr && combo->currentText() != text) {
                combo->setEditText(text);
            }
            break;
        case Bindings::Kind::Geometry:
            break;
    }
    const QString hint = ToQt(s.hint.str());
    if (widget->toolTip() != hint) {
        widget->setToolTip(hint);
    }
    if (widget->isEnabled() != s.enabled) {
        widget->setEnabled(s.enabled);
    }
    // Only hidden explicitly: a child of a window not yet shown is not visible either.
    if (widget->isHidden() == s.visible) {
        widget->setVisible(s.visible);
    }
}

}  // namespace

void Bindings::Apply(Entry& entry) {
    if (entry.target.isNull()) {
        return;
    }
    const ControlState& s = *entry.state;
    if (entry.isAction) {
        auto* action = static_cast<QAction*>(entry.target.data());
        const QString text = ToQt(s.text);
        if (action->text() != text) {
            action->setText(text);
        }
        action->setEnabled(s.enabled);
        action->setVisible(s.visible);
        if (action->isCheckable()) {
            action->setChecked(s.checked);
        }
    } else if (entry.isMenu) {
        auto* menu = static_cast<QMenu*>(entry.target.data());
        const QString text = ToQt(s.text);
        if (menu->title() != text) {
            menu->setTitle(text);
        }
        menu->menuAction()->setEnabled(s.enabled);
        menu->menuAction()->setVisible(s.visible);
    } else {
        ApplyWidget(static_cast<QWidget*>(entry.target.data()), s, entry.kind);
    }
    entry.last = s;
    entry.fresh = false;
}

}  // namespace kestrune::ui
