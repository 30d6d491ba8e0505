// Mirroring the core's state onto a window's widgets: captions and ticks through the bindings,
// built menus and lists rebuilt only when their rows changed, slider and page positions, and
// the names controls take from their labels.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "Language.h"
#include "QtPlatform.h"
#include "WindowControls.h"

namespace kestrune::ui {

namespace {

using K = ControlKind;

// A caption such as "步骤:" as the name of the control it stands over.
QString WithoutColon(QString caption) {
    caption.remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char(':'))) {
        caption.chop(1);
    }
    return caption.trimmed();
}

}  // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    up_ = new QToolButton(this);
    up_->setObjectName(QStringLiteral("up"));
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setObjectName(QStringLiteral("down"));
    down_->setArrowType(Qt::DownArrow);
    up_->setAccessibleName(QStringLiteral("Up"));
    down_->setAccessibleName(QStringLiteral("Down"));
    connect(up_, &QToolButton::clicked, this, [this] { Q_EMIT Stepped(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Q_EMIT Stepped(-1); });
}

bool ShownRows::Changed(const ListRows& rows) {
    if (built_ && rows == shown_) {
        return false;
    }
    shown_ = rows;
    built_ = true;
    return true;
}

void WindowControls::SyncMenu(BuiltMenu& entry) {
    const PlacedRow& placed = built_[entry.built].placed;
    const ControlRow& row = *placed.row;
    const auto& items = placed.menu->items;
    const bool radio = row.kind == K::ChoiceMenu;
    ListRows rows;
    for (const MenuItem& item : items) {
        rows.push_back({item.caption, item.checked ? "1" : "0"});
    }
    if (!entry.shown.Changed(rows)) {
        return;
    }
    // Deleted later: the entry that was chosen may be the one whose signal is still running.
    for (QAction* old : entry.menu->actions()) {
        entry.menu->removeAction(old);
        old->deleteLater();
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        QString caption = ToQt(items[i].caption);
        if (items[i].namesFile) {
            // An "&" of a name is shown, not taken for the entry's Alt letter.
            caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        }
        QAction* action = entry.menu->addAction(caption);
        action->setObjectName(QStringLiteral("%1_%2").arg(ViewToQt(row.name)).arg(i));
        if (radio) {
            action->setCheckable(true);
            action->setChecked(items[i].checked);
        }
        connect(action, &QAction::triggered, this, [this, name = row.name, i] {
            run_([this, name, i] { core_.ChooseMenuItem(name, i); });
        });
    }
}

void WindowControls::SyncList(const Built& built) {
    const ControlRow& row = *built.placed.row;
    const ListRows rows = row.rows(core_);
    const int selected = row.selected(core_);
    if (auto* tree = qobject_cast<QTreeWidget*>(built.object)) {
        if (lists_[tree].Changed(rows)) {
            tree->clear();
            for (const auto& cells : rows) {
                QStringList texts;
                for (const std::string& cell : cells) {
                    texts << ToQt(cell);
                }
                new QTreeWidgetItem(tree, texts);
            }
        }
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            if (QTreeWidgetItem* item = tree->topLevelItem(i);
                item->isSelected() != (i == selected)) {
                item->setSelected(i == selected);
            }
        }
        return;
    }
    auto* list = static_cast<QListWidget*>(built.object);
    if (lists_[list].Changed(rows)) {
        list->clear();
        for (const auto& cells : rows) {
            list->addItem(ToQt(cells.front()));
        }
    }
    for (int i = 0; i < list->count(); ++i) {
        if (QListWidgetItem* item = list->item(i); item->isSelected() != (i == selected)) {
            item->setSelected(i == selected);
        }
    }
}

void WindowControls::SyncNames() {
    // A control named after a label takes the label's caption as it is now.
    for (const Built& built : built_) {
        const ControlRow& row = *built.placed.row;
        const Built* label = FindBuilt(row.labelledBy);
        auto* widget = qobject_cast<QWidget*>(built.object);
        if (label == nullptr || widget == nullptr) {
            continue;
        }
        auto* caption = static_cast<QLabel*>(label->object);
        if (caption->buddy() == nullptr) {
            caption->setBuddy(widget);
        }
        QString name = ViewToQt(row.accessibleName);
        name.replace(QStringLiteral("{}"), WithoutColon(caption->text()));
        if (widget->accessibleName() != name) {
            widget->setAccessibleName(name);
        }
    }
}

void WindowControls::Sync() {
    bindings_.Sync();
    for (QLabel* label : autoSized_) {
        label->adjustSize();
    }
    for (BuiltMenu& menu : menus_) {
        SyncMenu(menu);
    }
    for (const Built& built : built_) {
        const ControlRow& row = *built.placed.row;
        if (row.kind == K::ToolPathList || row.kind == K::PresetList) {
            SyncList(built);
        } else if (row.kind == K::Slider) {
            auto* slider = static_cast<QSlider*>(built.object);
            if (const int position = row.value(core_); slider->value() != position) {
                slider->setValue(position);
            }
            if (const QString tip = ToQt(built.placed.state->hint.str());
                slider->accessibleDescription() != tip) {
                slider->setAccessibleDescription(tip);
            }
        } else if (row.kind == K::DropDown) {
            auto* choices = static_cast<QComboBox*>(built.object);
            if (const int choice = row.value(core_); choices->currentIndex() != choice) {
                choices->setCurrentIndex(choice);
            }
        } else if (row.kind == K::Tabs && row.value != nullptr) {
            auto* tabs = static_cast<QTabWidget*>(built.object);
            if (const int page = row.value(core_); tabs->currentIndex() != page) {
                tabs->setCurrentIndex(page);
            }
        }
    }
    for (const BuiltPage& page : pages_) {
        if (page.tabs.isNull() || page.page.isNull()) {
            continue;
        }
        const int index = page.tabs->indexOf(page.page);
        if (const QString text =
                ShownCaption(bindings_.Context(), page.name, page.state->text, page.designed);
            index >= 0 && page.tabs->tabText(index) != text) {
            page.tabs->setTabText(index, text);
        }
    }
    SyncNames();
}

}  // namespace kestrune::ui
