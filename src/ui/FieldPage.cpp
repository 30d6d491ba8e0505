#include "FieldPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "QtPlatform.h"
#include "fields/Group.h"

namespace kestrune::ui {

FieldPage::FieldPage(TZRGroup& group, std::function<void(const std::function<void()>&)> run,
                     QWidget* parent)
    : QWidget(parent), group_(group), run_(std::move(run)) {
    box_ = new QGroupBox(this);
    box_->setObjectName(QStringLiteral("GroupBox"));
    box_->setMouseTracking(true);
    box_->installEventFilter(this);
    bindings_.Bind(box_, group.GroupBox, Bindings::Kind::Caption);
    hover_.insert(box_, [&group] { group.GroupBoxMouseMove(); });

    for (auto& label : group.Labels) {
        auto* widget = new QLabel(box_);
        QFont font = widget->font();
        font.setUnderline(true);
        widget->setFont(font);
        bindings_.Bind(widget, label.LabelControl, Bindings::Kind::Caption);
    }
    for (auto& field : group.CheckBoxes) {
        AddFieldCheck(field);
    }
    for (auto& field : group.EditBoxes) {
        AddFieldCheck(field);
        auto* edit = new QLineEdit(box_);
        bindings_.Bind(edit, field.EditControl, Bindings::Kind::Edit);
        Track(edit, field.EditControl);
        hover_.insert(edit, [&field] { field.MouseMove(); });
        leave_.insert(edit, [&field] { field.EditExit(); });
        connect(edit, &QLineEdit::textEdited, this, [this, &field](const QString& text) {
            run_([&field, text] { field.EditChange(FromQt(text)); });
        });
    }
    for (auto& field : group.ComboBoxes) {
        AddFieldCheck(field);
        auto* combo = new QComboBox(box_);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (const std::string& name : field.OptionNames) {
            combo->addItem(ToQt(name));
        }
        bindings_.Bind(combo, field.ComboControl, Bindings::Kind::Combo);
        Track(combo, field.ComboControl);
        leave_.insert(combo, [&field] { field.NormalizeChoice(); });
        connect(combo, &QComboBox::activated, this, [this, &field](int index) {
            run_([&field, index] { field.Select(static_cast<std::size_t>(index)); });
        });
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                [this, &field](const QString& text) {
                    run_([&field, text] { field.EditChange(FromQt(text)); });
                });
    }
    for (auto& field : group.BrowseBoxes) {
        AddFieldCheck(field);
        auto* edit = new QLineEdit(box_);
        bindings_.Bind(edit, field.EditControl, Bindings::Kind::Edit);
        Track(edit, field.EditControl);
        hover_.insert(edit, [&field] { field.MouseMove(); });
        connect(edit, &QLineEdit::textEdited, this, [this, &field](const QString& text) {
            run_([&field, text] { field.EditChange(FromQt(text)); });
        });
        auto* button = new QPushButton(box_);
        bindings_.Bind(button, field.BrowseButton, Bindings::Kind::Caption);
        Track(button, field.BrowseButton);
        connect(button, &QPushButton::clicked, this,
                [this, &field] { run_([&field] { field.ChooseValue(); }); });
    }
    for (auto& field : group.ColorBoxes) {
        AddFieldCheck(field);
        auto* button = new QPushButton(box_);
        bindings_.Bind(button, field.ColorButton, Bindings::Kind::Caption);
        Track(button, field.ColorButton);
        colors_.push_back({button, &field.Color, ~field.Color});
        connect(button, &QPushButton::clicked, this,
                [this, &field] { run_([&field] { field.ChooseValue(); }); });
    }
    Sync();
}

void FieldPage::AddCheck(const ControlState& state, const std::function<void()>& click,
                         const std::function<void()>& hover) {
    auto* check = new QCheckBox(box_);
    bindings_.Bind(check, state, Bindings::Kind::Caption);
    Track(check, state);
    hover_.insert(check, hover);
    connect(check, &QCheckBox::clicked, this, [this, click] { run_(click); });
}

void FieldPage::Track(QWidget* widget, const ControlState& state) {
    widgets_.insert(&state, widget);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

void FieldPage::Sync() {
    bindings_.Sync();
    for (ColorButton& entry : colors_) {
        if (entry.button.isNull() || entry.shown == *entry.color) {
            continue;
        }
        // The caption is drawn in the field's colour: red in the lowest byte.
        const std::uint32_t c = *entry.color;
        const QColor color(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                           static_cast<int>((c >> 16) & 0xFF));
        QPalette palette = entry.button->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, color);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, color);
        entry.button->setPalette(palette);
        entry.shown = c;
    }
}

bool FieldPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() == Qt::NoButton) {
            if (auto hover = hover_.find(watched); hover != hover_.end()) {
                const std::function<void()> handler = hover.value();
                run_(handler);
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
                run_(handler);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kestrune::ui
