#include "FieldPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "QtPlatform.h"
#include "UiSetup.h"
#include "base/Color.h"
#include "fields/Group.h"

namespace kestrune::ui {

int TextRoom(const QWidget* value) {
    if (const auto* combo = qobject_cast<const QComboBox*>(value)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        return combo->style()
                   ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                    combo)
                   .width() -
               4;
    }
    // A line edit's frame and its margins on both sides.
    return value->width() - 8;
}

FieldPage::FieldPage(Kestrune& core, int program,
                     std::function<void(const std::function<void()>&)> run, QWidget* parent)
    : QWidget(parent),
      core_(core),
      program_(program),
      group_(*core.frmMain.State().Specification.Programs[static_cast<std::size_t>(program)]),
      run_(std::move(run)) {
    TZRGroup& group = group_;
    // The group box keeps its designed place, 8 pixels inside the page; when the fields reach
    // past the page (many columns, wide fields) the page scrolls instead of cutting them off.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("FieldScroll"));
    scroll_->setFrameShape(QFrame::NoFrame);
    // Tab goes from field to field; the area itself is no stop on the way.
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* content = new QWidget(scroll_);
    content->setObjectName(QStringLiteral("FieldContent"));
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(scroll_);
    const int margin = Scaled(8);
    box_ = new QGroupBox(content);
    box_->setObjectName(QStringLiteral("GroupBox"));
    box_->setMouseTracking(true);
    box_->installEventFilter(this);
    bindings_.Bind(box_, group.GroupBox, Bindings::Kind::Caption);
    hover_.insert(box_, [this] { run_([this] { core_.HoverGroup(program_); }); });

    for (auto& label : group.Labels) {
        auto* widget = new QLabel(box_);
        QFont font = widget->font();
        font.setUnderline(true);
        widget->setFont(font);
        bindings_.Bind(widget, label.LabelControl, Bindings::Kind::Caption);
    }
    // Each kind says which controls it shows beside its caption box; its index counts the
    // fields of its kind, as the gate finds them.
    std::array<int, kFieldKindCount> counts{};
    group.ForEachField([this, &counts](const auto& field) {
        const FieldKind kind = field.kKind;
        AddField(field.Core, kind, counts[static_cast<std::size_t>(kind)]++, field.ShownControls());
    });
    // The box reaches as far as its farthest field, with the designed 8-pixel margin that
    // fields keep from the box's left and top edges also on the right and below.
    QSize reach(0, 0);
    for (const PlacedField& field : fields_) {
        for (const QPointer<QWidget>& widget : field.widgets) {
            if (widget) {
                reach = reach.expandedTo(
                    QSize(widget->geometry().right() + 1, widget->geometry().bottom() + 1));
            }
        }
    }
    // Designed place and size, grown only where fields lie outside. The content asks for
    // room only for what must be seen: the fields, and the grown box around them; so a page
    // whose fields fit shows no scroll bar, and one that scrolls sideways gets no vertical bar
    // unless the horizontal one covers a field.
    const QRect designed = box_->geometry();
    const QSize grown(std::max(designed.width(), reach.width() + margin),
                      std::max(designed.height(), reach.height() + margin));
    box_->resize(grown);
    content->setMinimumSize(
        grown.width() > designed.width() ? designed.left() + grown.width() + margin : 0,
        designed.top() + reach.height() + (grown.height() > designed.height() ? margin : 2));
    scroll_->setWidget(content);
    // The tab page's own panel shows through, as before there was a scroll area: the area
    // makes its widget and viewport paint the window's colour.
    content->setAutoFillBackground(false);
    scroll_->viewport()->setAutoFillBackground(false);
    scroll_->viewport()->installEventFilter(this);
    // A field that takes the focus, by Tab, by a click or at the core's request, is scrolled
    // into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && box_->isAncestorOf(now)) {
            scroll_->ensureWidgetVisible(now, Scaled(8), Scaled(8));
        }
    });
    Sync();
}

std::function<void()> FieldPage::Send(FieldKind kind, int index, FieldAction action) {
    return [this, kind, index, action] {
        run_([this, kind, index, action] { core_.Field({program_, kind, index, action, {}, 0}); });
    };
}

void FieldPage::SendText(FieldKind kind, int index, const QString& text) {
    FieldEvent event{program_, kind, index, FieldAction::Type, FromQt(text), 0};
    run_([this, event] { core_.Field(event); });
}

void FieldPage::AddField(const FieldCore& field, FieldKind kind, int index,
                         const std::vector<ShownControl>& controls) {
    AddCheck(field.CheckControl, kind, index, field.Details.str());
    for (const ShownControl& control : controls) {
        if (control.shape == ValueShape::Button) {
            AddButton(field, kind, index, control);
        } else {
            AddValue(field, kind, index, control);
        }
    }
}

void FieldPage::AddValue(const FieldCore& field, FieldKind kind, int index,
                         const ShownControl& control) {
    QWidget* value = nullptr;
    QLineEdit* line = nullptr;
    if (control.shape == ValueShape::Choice) {
        auto* combo = new QComboBox(box_);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const std::string& name : *control.options) {
            combo->addItem(ToQt(name));
        }
        bindings_.Bind(combo, *control.state, Bindings::Kind::Combo);
        connect(combo, &QComboBox::activated, this, [this, kind, index](int option) {
            FieldEvent event{program_, kind, index, FieldAction::Pick, {}, option};
            run_([this, event] { core_.Field(event); });
        });
        value = combo;
        line = combo->lineEdit();
    } else {
        line = new QLineEdit(box_);
        bindings_.Bind(line, *control.state, Bindings::Kind::Edit);
        value = line;
    }
    Track(value, *control.state);
    Describe(field, value);
    if (line != value) {
        line->setAccessibleName(value->accessibleName());
    }
    values_.push_back({value, control.state});
    if (control.hoverShowsHelp) {
        hover_.insert(value, Send(kind, index, FieldAction::HoverValue));
    }
    if (control.leaveChecks) {
        leave_.insert(value, Send(kind, index, FieldAction::Leave));
    }
    connect(line, &QLineEdit::textEdited, this,
            [this, kind, index](const QString& text) { SendText(kind, index, text); });
}

void FieldPage::AddButton(const FieldCore& field, FieldKind kind, int index,
                          const ShownControl& control) {
    auto* button = new QPushButton(box_);
    bindings_.Bind(button, *control.state, Bindings::Kind::Caption);
    Track(button, *control.state);
    button->setAccessibleName(
        QStringLiteral("%1 %2").arg(ViewToQt(control.purpose), ToQt(field.Caption())));
    const QString help = ToQt(field.Details.str());
    if (control.color != nullptr) {
        // Described in Sync, with the colour it shows.
        colors_.push_back({button, control.color, ~*control.color, help});
    } else {
        button->setAccessibleDescription(help);
    }
    fields_.back().widgets.push_back(button);
    connect(button, &QPushButton::clicked, this, Send(kind, index, FieldAction::Browse));
}

void FieldPage::AddCheck(const ControlState& state, FieldKind kind, int index,
                         const std::string& help) {
    auto* check = new QCheckBox(box_);
    bindings_.Bind(check, state, Bindings::Kind::Caption);
    Track(check, state);
    check->setAccessibleDescription(ToQt(help));
    fields_.push_back({Scaled(state.bounds), {check}});
    hover_.insert(check, Send(kind, index, FieldAction::Hover));
    connect(check, &QCheckBox::clicked, this, Send(kind, index, FieldAction::Tick));
}

void FieldPage::Describe(const FieldCore& field, QWidget* value) {
    // The value is announced with its field's caption, not with the group's title or its text.
    value->setAccessibleName(ToQt(field.Caption()));
    value->setAccessibleDescription(ToQt(field.Details.str()));
    fields_.back().widgets.push_back(value);
}

std::vector<QWidget*> FieldPage::FocusOrder() const {
    // Column by column, top to bottom, each field's caption box before its value controls.
    std::vector<const PlacedField*> placed;
    for (const PlacedField& field : fields_) {
        placed.push_back(&field);
    }
    std::stable_sort(placed.begin(), placed.end(), [](const PlacedField* a, const PlacedField* b) {
        return a->anchor.left() != b->anchor.left() ? a->anchor.left() < b->anchor.left()
                                                    : a->anchor.top() < b->anchor.top();
    });
    std::vector<QWidget*> order;
    for (const PlacedField* field : placed) {
        for (const QPointer<QWidget>& widget : field->widgets) {
            if (widget) {
                order.push_back(widget);
            }
        }
    }
    return order;
}

void FieldPage::Track(QWidget* widget, const ControlState& state) {
    widgets_.insert(&state, widget);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

void FieldPage::Sync() {
    bindings_.Sync();
    for (const ValueControl& value : values_) {
        if (value.widget.isNull()) {
            continue;
        }
        // A value wider than its control shows whole in the tooltip.
        const QString text = ToQt(value.state->text);
        const QString hint = ToQt(value.state->hint.str());
        const int room = TextRoom(value.widget);
        const bool fits = value.widget->fontMetrics().horizontalAdvance(text) <= room;
        QString tip = hint;
        if (!fits) {
            tip = hint.isEmpty() ? text : text + QLatin1Char('\n') + hint;
        }
        if (value.widget->toolTip() != tip) {
            value.widget->setToolTip(tip);
        }
    }
    for (ColorButton& entry : colors_) {
        if (entry.button.isNull() || entry.shown == *entry.color) {
            continue;
        }
        // The caption is drawn in the field's colour.
        const std::uint32_t c = *entry.color;
        const ColorComponents parts = UnpackColor(c);
        const QColor color(parts.red, parts.green, parts.blue);
        QPalette palette = entry.button->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, color);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, color);
        entry.button->setPalette(palette);
        // The colour as text, for whoever cannot see the caption's colour.
        QString description = QStringLiteral("Colour %1 (red %2, green %3, blue %4)")
                                  .arg(color.name(QColor::HexRgb).toUpper())
                                  .arg(color.red())
                                  .arg(color.green())
                                  .arg(color.blue());
        if (!entry.help.isEmpty()) {
            description += QStringLiteral(". ") + entry.help;
        }
        entry.button->setAccessibleDescription(description);
        entry.shown = c;
    }
}

bool FieldPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && watched == scroll_->viewport()) {
        // Fields mostly overflow to the right, in more columns: there the wheel scrolls
        // sideways, as in a file manager's column view.
        QScrollBar* across = scroll_->horizontalScrollBar();
        if (scroll_->verticalScrollBar()->maximum() == 0 && across->maximum() > 0) {
            QCoreApplication::sendEvent(across, event);
            return true;
        }
    }
    if (event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() == Qt::NoButton) {
            if (auto hover = hover_.find(watched); hover != hover_.end()) {
                const std::function<void()> handler = hover.value();
                handler();
            }
            // Movement over a field's control must not reach the group box, which empties the
            // details text.
            return watched != box_;
        }
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window or a pop-up taking the focus is not leaving the control.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (auto leave = leave_.find(watched); leave != leave_.end()) {
                const std::function<void()> handler = leave.value();
                handler();
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kestrune::ui
