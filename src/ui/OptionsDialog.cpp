#include "OptionsDialog.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>

#include "QtPlatform.h"
#include "UiSetup.h"
#include "app/Kestrune.h"

namespace kestrune::ui {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    up_ = new QToolButton(this);
    up_->setObjectName(QStringLiteral("up"));
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setObjectName(QStringLiteral("down"));
    down_->setArrowType(Qt::DownArrow);
    up_->setAccessibleName(QStringLiteral("Up"));
    down_->setAccessibleName(QStringLiteral("Down"));
    connect(up_, &QToolButton::clicked, this, [this] { emit Stepped(1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
}

OptionsDialog::OptionsDialog(Kestrune& core, std::function<void(const std::function<void()>&)> run,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      core_(core),
      options_(core.frmOptions),
      run_(std::move(run)) {
    setObjectName(QStringLiteral("frmOptions"));
    setModal(true);
    setFixedSize(Scaled(304), Scaled(350));
    TfrmOptions& o = options_;

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabMain"));
    tabs_->setAccessibleName(QStringLiteral("Pages"));
    bindings_.Bind(tabs_, o.tabMain, Bindings::Kind::Geometry);
    const struct {
        ControlState* state;
        const char* name;
    } pages[] = {
        {&o.tabGeneral, "tabGeneral"}, {&o.tabPaths, "tabPaths"}, {&o.tabPresets, "tabPresets"}};
    for (const auto& page : pages) {
        auto* widget = new QWidget(tabs_);
        widget->setObjectName(QString::fromLatin1(page.name));
        tabs_->addTab(widget, ToQt(page.state->text));
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        static const char* const kNames[] = {"tabGeneral", "tabPaths", "tabPresets"};
        if (!syncing_ && index >= 0 && index < 3) {
            Click(kNames[index]);
        }
    });

    auto label = [this](QWidget* parent, ControlState& state, const char* name) {
        auto* widget = new QLabel(parent);
        widget->setObjectName(QString::fromLatin1(name));
        bindings_.Bind(widget, state, Bindings::Kind::Caption);
        if (state.bounds.width == 0) {
            // A label without a size takes the size of its caption, placed at its corner.
            widget->move(Scaled(state.bounds.left), Scaled(state.bounds.top));
            autoSized_.push_back(widget);
        }
        return widget;
    };
    auto edit = [this](QWidget* parent, ControlState& state, const char* name) {
        auto* widget = new QLineEdit(parent);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setReadOnly(true);
        bindings_.Bind(widget, state, Bindings::Kind::Edit);
        return widget;
    };
    auto button = [this](QWidget* parent, ControlState& state, const char* name) {
        auto* widget = new QPushButton(parent);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setAutoDefault(false);
        bindings_.Bind(widget, state, Bindings::Kind::Caption);
        connect(widget, &QPushButton::clicked, this, [this, name] { Click(name); });
        return widget;
    };

    QWidget* general = Page(0);
    label(general, o.lblTrancparency, "lblTrancparency");
    slider_ = new QSlider(Qt::Horizontal, general);
    slider_->setObjectName(QStringLiteral("sldTrancparency"));
    slider_->setAccessibleName(QStringLiteral("Transparency"));
    slider_->setRange(0, 150);
    slider_->setTickInterval(10);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setPageStep(10);
    bindings_.Bind(slider_, o.sldTrancparency, Bindings::Kind::Geometry);
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        if (syncing_) {
            return;
        }
        run_([this, position] { options_.sldTrancparencyChange(position); });
        // The tip follows the thumb while it moves.
        if (slider_->isSliderDown()) {
            QToolTip::showText(QCursor::pos(), slider_->toolTip(), slider_);
        }
    });
    label(general, o.lblSolid, "lblSolid");
    label(general, o.lblTransparent, "lblTransparent");
    label(general, o.lblRecentFiles, "lblRecentFiles");
    edit(general, o.txtRecentFiles, "txtRecentFiles")
        ->setAccessibleName(QStringLiteral("Recent Files"));
    auto* upDown = new UpDown(general);
    upDown->setObjectName(QStringLiteral("numRecentFiles"));
    upDown->setAccessibleName(QStringLiteral("Recent Files"));
    bindings_.Bind(upDown, o.numRecentFiles, Bindings::Kind::Geometry);
    const QSize half(upDown->width(), upDown->height() / 2);
    upDown->Up()->setGeometry(0, 0, half.width(), half.height());
    upDown->Down()->setGeometry(0, half.height(), half.width(), upDown->height() - half.height());
    connect(upDown, &UpDown::Stepped, this, [this](int step) {
        run_([this, step] { options_.numRecentFilesClick(options_.RecentPosition + step); });
    });
    label(general, o.lblAssociateWith, "lblAssociateWith");
    button(general, o.cmdZRPFiles, "cmdZRPFiles");

    QWidget* paths = Page(1);
    tools_ = new QTreeWidget(paths);
    tools_->setObjectName(QStringLiteral("lstToolPaths"));
    tools_->setAccessibleName(QStringLiteral("Tool Paths"));
    tools_->setColumnCount(2);
    tools_->setHeaderLabels({QStringLiteral("Tool"), QStringLiteral("Path")});
    tools_->setRootIsDecorated(false);
    tools_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tools_->setSelectionMode(QAbstractItemView::SingleSelection);
    tools_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tools_->header()->setSectionResizeMode(QHeaderView::Fixed);
    tools_->header()->setStretchLastSection(false);
    tools_->header()->setAccessibleName(QStringLiteral("Tool and Path"));
    tools_->setColumnWidth(0, Scaled(65));
    tools_->setColumnWidth(1, Scaled(196));
    bindings_.Bind(tools_, o.lstToolPaths, Bindings::Kind::Geometry);
    connect(tools_, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (syncing_) {
            return;
        }
        const QList<QTreeWidgetItem*> selected = tools_->selectedItems();
        const int row = selected.isEmpty() ? -1 : tools_->indexOfTopLevelItem(selected.first());
        run_([this, row] {
            options_.SelectToolRow(row);
            core_.Click("lstToolPaths");
        });
    });
    // Each path box is named after the label above it, and its "..." after what it chooses.
    const auto path = [&](ControlState& caption, const char* labelName, ControlState& box,
                          const char* boxName, ControlState& choose, const char* chooseName) {
        QLabel* over = label(paths, caption, labelName);
        QLineEdit* text = edit(paths, box, boxName);
        over->setBuddy(text);
        pathNames_.push_back({over, text, button(paths, choose, chooseName)});
    };
    path(o.lblBrowseTool, "lblBrowseTool", o.txtToolPath, "txtToolPath", o.cmdBrowseTool,
         "cmdBrowseTool");
    path(o.lblBrowseGame, "lblBrowseGame", o.txtBase, "txtBase", o.cmdBrowseBase, "cmdBrowseBase");
    path(o.lblBrowseMap, "lblBrowseMap", o.txtFile, "txtFile", o.cmdBrowseFile, "cmdBrowseFile");

    QWidget* presetsPage = Page(2);
    presets_ = new QListWidget(presetsPage);
    presets_->setObjectName(QStringLiteral("lstPresets"));
    presets_->setAccessibleName(QStringLiteral("Presets"));
    bindings_.Bind(presets_, o.lstPresets, Bindings::Kind::Geometry);
    connect(presets_, &QListWidget::itemSelectionChanged, this, [this] {
        if (syncing_) {
            return;
        }
        const QList<QListWidgetItem*> selected = presets_->selectedItems();
        const int row = selected.isEmpty() ? -1 : presets_->row(selected.first());
        run_([this, row] { options_.SelectPreset(row); });
    });
    button(presetsPage, o.cmdAddPreset, "cmdAddPreset");
    button(presetsPage, o.cmdRemovePreset, "cmdRemovePreset");

    button(this, o.cmdOK, "cmdOK")->setDefault(true);
    button(this, o.cmdCancel, "cmdCancel");
}

QWidget* OptionsDialog::Page(int index) const {
    return tabs_->widget(index);
}

void OptionsDialog::Click(const char* name) {
    const std::string control = name;
    run_([this, control] { core_.Click(control); });
}

void OptionsDialog::reject() {
    // Escape and the close box close the dialog through the core, which applies nothing.
    run_([this] { core_.CloseBox(); });
}

void OptionsDialog::Sync() {
    syncing_ = true;
    TfrmOptions& o = options_;
    const QString caption = ToQt(o.Caption);
    if (windowTitle() != caption) {
        setWindowTitle(caption);
    }
    bindings_.Sync();
    for (QLabel* label : autoSized_) {
        label->adjustSize();
    }
    if (tabs_->currentIndex() != o.Page) {
        tabs_->setCurrentIndex(o.Page);
    }
    if (slider_->value() != o.SliderPosition) {
        slider_->setValue(o.SliderPosition);
    }
    if (const QString tip = ToQt(o.SliderTip); slider_->toolTip() != tip) {
        slider_->setToolTip(tip);
        slider_->setAccessibleDescription(tip);
    }
    for (const PathNames& entry : pathNames_) {
        QString name = entry.label->text();
        while (name.endsWith(QLatin1Char(':'))) {
            name.chop(1);
        }
        name = name.trimmed();
        if (entry.box->accessibleName() != name) {
            entry.box->setAccessibleName(name);
            entry.choose->setAccessibleName(QStringLiteral("Choose %1").arg(name));
        }
    }

    bool sameTools = tools_->topLevelItemCount() == static_cast<int>(o.ToolRows.size());
    for (int i = 0; sameTools && i < tools_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tools_->topLevelItem(i);
        sameTools =
            item->text(0) == ToQt(o.ToolRows[i].tool) && item->text(1) == ToQt(o.ToolRows[i].path);
    }
    if (!sameTools) {
        tools_->clear();
        for (const ToolPathListRow& row : o.ToolRows) {
            new QTreeWidgetItem(tools_, {ToQt(row.tool), ToQt(row.path)});
        }
    }
    for (int i = 0; i < tools_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tools_->topLevelItem(i);
        if (item->isSelected() != (i == o.SelectedToolRow)) {
            item->setSelected(i == o.SelectedToolRow);
        }
    }

    bool samePresets = presets_->count() == static_cast<int>(o.Presets.size());
    for (int i = 0; samePresets && i < presets_->count(); ++i) {
        samePresets = presets_->item(i)->text() == ToQt(o.Presets[i]);
    }
    if (!samePresets) {
        presets_->clear();
        for (const std::string& entry : o.Presets) {
            presets_->addItem(ToQt(entry));
        }
    }
    for (int i = 0; i < presets_->count(); ++i) {
        QListWidgetItem* item = presets_->item(i);
        if (item->isSelected() != (i == o.SelectedPreset)) {
            item->setSelected(i == o.SelectedPreset);
        }
    }

    if (const qreal opacity = o.Translucent ? o.Alpha / 255.0 : 1.0; windowOpacity() != opacity) {
        setWindowOpacity(opacity);
    }
    if (o.IsOpen && !isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        show();
    } else if (!o.IsOpen && isVisible()) {
        hide();
    }
    syncing_ = false;
}

}  // namespace kestrune::ui
