#include "WindowControls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>

#include "Language.h"
#include "QtPlatform.h"
#include "UiSetup.h"

namespace kestrune::ui {

namespace {

using K = ControlKind;

// The translations' context of each window: the window's own name.
const char* ContextOf(WindowId window) {
    switch (window) {
        case WindowId::Options:
            return "frmOptions";
        case WindowId::About:
            return "frmAbout";
        case WindowId::Main:
            break;
    }
    return "frmMain";
}

int SelectedRowOf(QWidget* list) {
    if (auto* tree = qobject_cast<QTreeWidget*>(list)) {
        const QList<QTreeWidgetItem*> selected = tree->selectedItems();
        return selected.isEmpty() ? -1 : tree->indexOfTopLevelItem(selected.first());
    }
    auto* plain = static_cast<QListWidget*>(list);
    const QList<QListWidgetItem*> selected = plain->selectedItems();
    return selected.isEmpty() ? -1 : plain->row(selected.first());
}

}  // namespace

WindowControls::WindowControls(Kestrune& core, WindowId window, QWidget* client, QMainWindow* frame,
                               EventRunner run)
    : QObject(client),
      core_(core),
      window_(window),
      client_(client),
      frame_(frame),
      run_(std::move(run)),
      bindings_(ContextOf(window)),
      rows_(core.Layout(window)) {
    built_.reserve(rows_.size());
    for (const PlacedRow& placed : rows_) {
        Build(placed);
    }
    // Connected once every widget stands, so building the pages reports no page change.
    for (const Built& built : built_) {
        if (auto* widget = qobject_cast<QWidget*>(built.object); widget != nullptr) {
            Connect(built.placed, widget);
        }
    }
    // A pop-up opens over the control its row names, once that control exists.
    for (const PlacedRow& placed : rows_) {
        if (placed.row->kind != K::PopupMenu) {
            continue;
        }
        auto* menu = static_cast<QMenu*>(Find(placed.row->name));
        const Built* anchor = FindBuilt(placed.row->anchor);
        if (anchor == nullptr || anchor->placed.row->kind != K::StageList) {
            continue;  // the program tabs' pages are made by their window
        }
        auto* list = static_cast<QListWidget*>(anchor->object);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QListWidget::customContextMenuRequested, this,
                [menu, list](const QPoint& at) { menu->popup(list->viewport()->mapToGlobal(at)); });
    }
    SyncNames();
}

QObject* WindowControls::Find(std::string_view name) const {
    const Built* built = FindBuilt(name);
    return built != nullptr ? built->object : nullptr;
}

const WindowControls::Built* WindowControls::FindBuilt(std::string_view name) const {
    if (name.empty()) {
        return nullptr;
    }
    for (const Built& built : built_) {
        if (built.placed.row->name == name) {
            return &built;
        }
    }
    return nullptr;
}

void WindowControls::Click(std::string_view name) {
    run_([this, name = std::string(name)] { core_.Click(name); });
}

void WindowControls::Build(const PlacedRow& placed) {
    const ControlRow& row = *placed.row;
    QObject* parent = Find(row.parent);
    if (row.IsMenu() || row.kind == K::MenuItem || row.kind == K::CheckMenuItem ||
        row.kind == K::MenuBar ||
        (row.kind == K::Separator && qobject_cast<QMenu*>(parent) != nullptr)) {
        BuildMenuRow(placed, parent);
        return;
    }
    if (row.kind == K::Separator) {
        if (auto* bar = qobject_cast<QToolBar*>(parent)) {
            bar->addSeparator();
        }
        built_.push_back({placed, nullptr});
        return;
    }
    auto* parentWidget = qobject_cast<QWidget*>(parent);
    QWidget* widget = BuildWidget(placed, parentWidget != nullptr ? parentWidget : client_);
    widget->setObjectName(ViewToQt(row.name));
    if (!row.accessibleName.empty() && row.accessibleName.find("{}") == std::string_view::npos) {
        widget->setAccessibleName(ViewToQt(row.accessibleName));
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(parent); tabs != nullptr && row.kind == K::Page) {
        tabs->addTab(widget,
                     ShownCaption(bindings_.Context(), row.name, placed.state->text, row.caption));
        pages_.push_back({tabs, widget, row.name, row.caption, placed.state});
    } else if (auto* bar = qobject_cast<QToolBar*>(parent)) {
        bar->addWidget(widget);
    }
    built_.push_back({placed, widget});
}

void WindowControls::BuildMenuRow(const PlacedRow& placed, QObject* parent) {
    const ControlRow& row = *placed.row;
    auto* parentMenu = qobject_cast<QMenu*>(parent);
    if (row.kind == K::MenuBar) {
        QMenuBar* bar = frame_->menuBar();
        bar->setObjectName(ViewToQt(row.name));
        bar->setNativeMenuBar(false);
        bar->setAccessibleName(ViewToQt(row.accessibleName));
        built_.push_back({placed, bar});
        return;
    }
    if (row.kind == K::Separator) {
        parentMenu->addSeparator();
        built_.push_back({placed, nullptr});
        return;
    }
    if (row.kind == K::MenuItem || row.kind == K::CheckMenuItem) {
        auto* action = new QAction(parentMenu);
        action->setObjectName(ViewToQt(row.name));
        action->setShortcut(QKeySequence(ViewToQt(row.shortcut)));
        action->setCheckable(row.kind == K::CheckMenuItem);
        parentMenu->addAction(action);
        connect(action, &QAction::triggered, this, [this, name = row.name] { Click(name); });
        bindings_.Bind(action, *placed.state, row.name, row.caption);
        built_.push_back({placed, action});
        return;
    }
    auto* menu = new QMenu(client_->window());
    menu->setObjectName(ViewToQt(row.name));
    menu->menuAction()->setObjectName(ViewToQt(row.name));
    if (parentMenu != nullptr) {
        parentMenu->addMenu(menu);
    } else if (auto* button = qobject_cast<QToolButton*>(parent)) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    } else if (row.kind != K::PopupMenu && row.kind != K::TrayMenu && frame_ != nullptr) {
        frame_->menuBar()->addMenu(menu);
    }
    // A menu that drops from a tool button is the button's; it has no state of its own to show.
    if (placed.state != nullptr && qobject_cast<QToolButton*>(parent) == nullptr) {
        bindings_.Bind(menu, *placed.state, row.name, row.caption);
    }
    built_.push_back({placed, menu});
    if (placed.menu != nullptr) {
        menus_.push_back({menu, built_.size() - 1, {}});
    }
}

QWidget* WindowControls::BuildWidget(const PlacedRow& placed, QWidget* parent) {
    const ControlRow& row = *placed.row;
    switch (row.kind) {
        case K::ToolBar:
            return BuildToolBar(row, parent);
        case K::ToolButton:
        case K::CheckToolButton:
            return BuildToolButton(placed, parent);
        case K::Button:
        case K::DefaultButton:
            return BuildButton(placed, parent);
        case K::CheckBox: {
            auto* check = new QCheckBox(parent);
            bindings_.Bind(check, *placed.state, Bindings::Kind::Caption, row.name, row.caption);
            return check;
        }
        case K::Label:
        case K::Title:
            return BuildLabel(placed, parent);
        case K::Edit:
        case K::InputFile: {
            auto* edit = new QLineEdit(parent);
            edit->setReadOnly(true);
            bindings_.Bind(edit, *placed.state, Bindings::Kind::Edit);
            return edit;
        }
        case K::Group: {
            auto* group = new QGroupBox(parent);
            bindings_.Bind(group, *placed.state, Bindings::Kind::Caption, row.name, row.caption);
            return group;
        }
        case K::Picture:
            return BuildPicture(placed, parent);
        case K::Tabs:
        case K::ProgramTabs: {
            auto* tabs = new QTabWidget(parent);
            bindings_.Bind(tabs, *placed.state, Bindings::Kind::Geometry);
            return tabs;
        }
        case K::Page:
            return new QWidget(parent);
        case K::Slider:
            return BuildSlider(placed, parent);
        case K::UpDown:
            return BuildUpDown(placed, parent);
        case K::StageList:
            return BuildStageList(placed, parent);
        case K::DetailsPane:
            return BuildDetailsPane(placed, parent);
        case K::ToolPathList:
        case K::PresetList:
            return BuildList(placed, parent);
        case K::DropDown:
            return BuildDropDown(placed, parent);
        default:
            break;
    }
    return new QWidget(parent);
}

QWidget* WindowControls::BuildToolBar(const ControlRow& row, QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setGeometry(Scaled(row.bounds));
    bar->setIconSize(QSize(Scaled(16), Scaled(16)));
    bar->setMovable(false);
    bar->setFloatable(false);
    return bar;
}

QWidget* WindowControls::BuildToolButton(const PlacedRow& placed, QWidget* parent) {
    const ControlRow& row = *placed.row;
    auto* button = new QToolButton(parent);
    button->setCheckable(row.kind == K::CheckToolButton);
    const std::string_view picture = row.picture;
    const std::size_t bar = picture.find('|');
    const QIcon own(QStringLiteral(":/kestrune/") + ViewToQt(picture.substr(bar + 1)));
    const std::string_view theme = picture.substr(0, bar);
    button->setIcon(theme.empty() ? own : QIcon::fromTheme(ViewToQt(theme), own));
    button->setAutoRaise(true);
    // Tool buttons are for the mouse, as on every desktop: Space must not press New by
    // accident.
    button->setFocusPolicy(Qt::NoFocus);
    bindings_.Bind(button, *placed.state, Bindings::Kind::ToolButton);
    return button;
}

QWidget* WindowControls::BuildButton(const PlacedRow& placed, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    button->setDefault(placed.row->kind == K::DefaultButton);
    bindings_.Bind(button, *placed.state, Bindings::Kind::Caption, placed.row->name,
                   placed.row->caption);
    return button;
}

QWidget* WindowControls::BuildLabel(const PlacedRow& placed, QWidget* parent) {
    const ControlRow& row = *placed.row;
    auto* label = new QLabel(parent);
    bindings_.Bind(label, *placed.state, Bindings::Kind::Caption, row.name, row.caption);
    if (row.kind == K::Title) {
        QFont big = label->font();
        big.setPixelSize(Scaled(16));
        big.setBold(true);
        // Some families set their lines far apart: the title must keep its descenders.
        while (big.pixelSize() > 11 && QFontMetrics(big).height() > Scaled(row.bounds.height)) {
            big.setPixelSize(big.pixelSize() - 1);
        }
        label->setFont(big);
    }
    if (row.bounds.width == 0) {
        // A label without a size takes the size of its caption, placed at its corner.
        label->move(Scaled(row.bounds.left), Scaled(row.bounds.top));
        autoSized_.push_back(label);
    }
    return label;
}

QWidget* WindowControls::BuildPicture(const PlacedRow& placed, QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setScaledContents(true);
    picture->setPixmap(ApplicationIcon().pixmap(QSize(Scaled(32), Scaled(32))));
    bindings_.Bind(picture, *placed.state, Bindings::Kind::Geometry);
    return picture;
}

QWidget* WindowControls::BuildSlider(const PlacedRow& placed, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(placed.row->low, placed.row->high);
    slider->setTickInterval(10);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setPageStep(10);
    bindings_.Bind(slider, *placed.state, Bindings::Kind::Geometry);
    return slider;
}

QWidget* WindowControls::BuildUpDown(const PlacedRow& placed, QWidget* parent) {
    auto* upDown = new UpDown(parent);
    bindings_.Bind(upDown, *placed.state, Bindings::Kind::Geometry);
    const QSize half(upDown->width(), upDown->height() / 2);
    upDown->Up()->setGeometry(0, 0, half.width(), half.height());
    upDown->Down()->setGeometry(0, half.height(), half.width(), upDown->height() - half.height());
    return upDown;
}

QWidget* WindowControls::BuildStageList(const PlacedRow& placed, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setViewMode(QListView::ListMode);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    bindings_.Bind(list, *placed.state, Bindings::Kind::Geometry);
    return list;
}

QWidget* WindowControls::BuildDetailsPane(const PlacedRow& placed, QWidget* parent) {
    auto* pane = new QPlainTextEdit(parent);
    pane->setReadOnly(true);
    // Tab leaves the pane instead of staying in it.
    pane->setTabChangesFocus(true);
    bindings_.Bind(pane, *placed.state, Bindings::Kind::Geometry);
    return pane;
}

QWidget* WindowControls::BuildDropDown(const PlacedRow& placed, QWidget* parent) {
    auto* choices = new QComboBox(parent);
    // A drop-down's choices are fixed ones the core declares: its own text, in UTF-8.
    for (const auto& cells : placed.row->rows(core_)) {
        choices->addItem(ViewToQt(cells.front()));
    }
    bindings_.Bind(choices, *placed.state, Bindings::Kind::Geometry);
    return choices;
}

QWidget* WindowControls::BuildList(const PlacedRow& placed, QWidget* parent) {
    if (placed.row->kind == K::PresetList) {
        auto* list = new QListWidget(parent);
        bindings_.Bind(list, *placed.state, Bindings::Kind::Geometry);
        return list;
    }
    auto* tree = new QTreeWidget(parent);
    tree->setColumnCount(2);
    tree->setHeaderLabels({QStringLiteral("Tool"), QStringLiteral("Path")});
    tree->setRootIsDecorated(false);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->header()->setSectionResizeMode(QHeaderView::Fixed);
    tree->header()->setStretchLastSection(false);
    tree->header()->setAccessibleName(QStringLiteral("Tool and Path"));
    tree->setColumnWidth(0, Scaled(65));
    tree->setColumnWidth(1, Scaled(196));
    bindings_.Bind(tree, *placed.state, Bindings::Kind::Geometry);
    return tree;
}

void WindowControls::Connect(const PlacedRow& placed, QWidget* widget) {
    const std::string_view name = placed.row->name;
    switch (placed.row->kind) {
        case K::ToolButton:
        case K::CheckToolButton:
        case K::Button:
        case K::DefaultButton:
        case K::CheckBox:
            connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                    [this, name] { Click(name); });
            break;
        case K::Tabs:
            connect(
                static_cast<QTabWidget*>(widget), &QTabWidget::currentChanged, this,
                [this, name](int index) {
                    // The page's own row says what choosing it runs.
                    if (const ControlRow* page = PageAt(Kestrune::Table(window_), name, index)) {
                        Click(page->name);
                    }
                });
            break;
        case K::Slider:
            ConnectSlider(static_cast<QSlider*>(widget), name);
            break;
        case K::UpDown:
            connect(static_cast<UpDown*>(widget), &UpDown::Stepped, this, [this, name](int step) {
                run_([this, name, step] { core_.StepValue(name, step); });
            });
            break;
        case K::DropDown:
            connect(static_cast<QComboBox*>(widget), &QComboBox::activated, this,
                    [this, name](int choice) {
                        run_([this, name, choice] { core_.SetValue(name, choice); });
                    });
            break;
        case K::ToolPathList:
        case K::PresetList:
            ConnectList(widget, name);
            break;
        default:
            break;
    }
}

void WindowControls::ConnectSlider(QSlider* slider, std::string_view name) {
    connect(slider, &QSlider::valueChanged, this, [this, slider, name](int position) {
        run_([this, name, position] { core_.SetValue(name, position); });
        // The tip follows the thumb while it moves.
        if (slider->isSliderDown()) {
            QToolTip::showText(QCursor::pos(), slider->toolTip(), slider);
        }
    });
}

void WindowControls::ConnectList(QWidget* widget, std::string_view name) {
    const auto selected = [this, widget, name] {
        const int row = SelectedRowOf(widget);
        run_([this, name, row] { core_.SelectRow(name, row); });
    };
    if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
        connect(tree, &QTreeWidget::itemSelectionChanged, this, selected);
    } else {
        connect(static_cast<QListWidget*>(widget), &QListWidget::itemSelectionChanged, this,
                selected);
    }
}

QWidget* WindowControls::WidgetOf(ControlKind kind) const {
    for (const Built& built : built_) {
        if (built.placed.row->kind == kind) {
            return qobject_cast<QWidget*>(built.object);
        }
    }
    return nullptr;
}

QMenu* WindowControls::MenuOf(ControlKind kind) const {
    return qobject_cast<QMenu*>(WidgetOf(kind));
}

QMenu* WindowControls::PopupOver(ControlKind kind) const {
    for (const Built& built : built_) {
        const ControlRow& row = *built.placed.row;
        if (row.kind == K::PopupMenu) {
            if (const Built* anchor = FindBuilt(row.anchor);
                anchor != nullptr && anchor->placed.row->kind == kind) {
                return qobject_cast<QMenu*>(built.object);
            }
        }
    }
    return nullptr;
}

QMenu* WindowControls::MenuNamed(const std::string& name) const {
    return qobject_cast<QMenu*>(Find(name));
}

std::vector<QWidget*> WindowControls::FocusOrder() const {
    std::vector<QWidget*> order;
    for (const Built& built : built_) {
        auto* widget = qobject_cast<QWidget*>(built.object);
        const K kind = built.placed.row->kind;
        const bool takesFocus = kind == K::StageList || kind == K::CheckBox ||
                                kind == K::DropDown || kind == K::InputFile || kind == K::Button ||
                                kind == K::DefaultButton || kind == K::DetailsPane;
        if (widget != nullptr && takesFocus) {
            order.push_back(widget);
        }
    }
    return order;
}

}  // namespace kestrune::ui
