#include "Bindings.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QVariant>
#include <algorithm>

#include "Language.h"
#include "QtPlatform.h"
#include "UiSetup.h"

namespace kestrune::ui {

bool SameState(const ControlState& a, const ControlState& b) {
    return a.text == b.text && a.hint == b.hint && a.enabled == b.enabled &&
           a.visible == b.visible && a.checked == b.checked && a.bold == b.bold;
}

void Bindings::Bind(QWidget* widget, const ControlState& state, Kind kind, std::string_view name,
                    std::string_view designed) {
    const Bounds& b = state.bounds;
    if (b.width > 0 && b.height > 0) {
        widget->setGeometry(Scaled(b));
        if (qobject_cast<QLabel*>(widget) != nullptr) {
            widget->setProperty("designedWidth", widget->width());
        }
    }
    entries_.push_back({name, designed, &state, widget, kind, false, false, {}, true});
    Apply(entries_.back());
}

void Bindings::Bind(QAction* action, const ControlState& state, std::string_view name,
                    std::string_view designed) {
    entries_.push_back({name, designed, &state, action, Kind::Caption, true, false, {}, true});
    Apply(entries_.back());
}

void Bindings::Bind(QMenu* menu, const ControlState& state, std::string_view name,
                    std::string_view designed) {
    entries_.push_back({name, designed, &state, menu, Kind::Caption, false, true, {}, true});
    Apply(entries_.back());
}

void Bindings::Sync() {
    // Another language shows every caption again.
    const bool relabel = language_ != LanguageGeneration();
    language_ = LanguageGeneration();
    for (Entry& entry : entries_) {
        if (relabel || entry.fresh || !SameState(entry.last, *entry.state)) {
            Apply(entry);
        }
    }
}

void Bindings::Clear() {
    entries_.clear();
}

namespace {

// A label of designed size whose caption is wider than its designed width (a translated
// caption, a larger font) grows to the right to show it; it never becomes narrower than
// designed, so the designed captions keep their exact places.
void WidenToCaption(QLabel* label) {
    const QVariant designed = label->property("designedWidth");
    if (!designed.isValid()) {
        return;
    }
    const int width = std::max(designed.toInt(), label->sizeHint().width());
    if (label->width() != width) {
        label->resize(width, label->height());
    }
}

void ApplyBold(QWidget* widget, bool bold) {
    if (widget->font().bold() != bold) {
        QFont font = widget->font();
        font.setBold(bold);
        widget->setFont(font);
    }
}

void ApplyWidget(QWidget* widget, const ControlState& s, Bindings::Kind kind,
                 const QString& caption) {
    const QString text = kind == Bindings::Kind::Caption ? caption : ToQt(s.text);
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
                    WidenToCaption(label);
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

void Bindings::Apply(Entry& entry) const {
    if (entry.target.isNull()) {
        return;
    }
    const ControlState& s = *entry.state;
    const QString text = entry.name.empty() || context_ == nullptr
                             ? ToQt(s.text)
                             : ShownCaption(context_, entry.name, s.text, entry.designed);
    if (entry.isAction) {
        auto* action = static_cast<QAction*>(entry.target.data());
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
        if (menu->title() != text) {
            menu->setTitle(text);
        }
        menu->menuAction()->setEnabled(s.enabled);
        menu->menuAction()->setVisible(s.visible);
    } else {
        ApplyWidget(static_cast<QWidget*>(entry.target.data()), s, entry.kind, text);
    }
    entry.last = s;
    entry.fresh = false;
}

}  // namespace kestrune::ui
