#include "MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "AboutBox.h"
#include "FieldPage.h"
#include "OptionsDialog.h"
#include "QtPlatform.h"
#include "UiSetup.h"

namespace kestrune::ui {

namespace {

QKeySequence Ctrl(char letter) {
    return QKeySequence(Qt::CTRL | static_cast<Qt::Key>(letter));
}

// A caption such as "步骤:" as the name of the control it stands over.
QString WithoutColon(QString caption) {
    caption.remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char(':'))) {
        caption.chop(1);
    }
    return caption.trimmed();
}

}  // namespace

MainWindow::MainWindow(Kestrune& core, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      core_(core),
      main_(core.frmMain) {
    setObjectName(QStringLiteral("frmMain"));
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    BuildMenus();
    BuildToolBar();
    BuildControls();
    // F10 opens the first menu, the desktop's convention; the captions have no mnemonics.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, &MainWindow::OpenFirstMenu);

    tray_ = new QSystemTrayIcon(ApplicationIcon(), this);
    tray_->setToolTip(QStringLiteral("Kestrune"));
    // The tray menu opens on the core's request only (right button), so no context menu is
    // attached to the icon.
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                TrayMouse mouse = TrayMouse::LeftButtonDown;
                if (reason == QSystemTrayIcon::Context) {
                    mouse = TrayMouse::RightButtonDown;
                } else if (reason == QSystemTrayIcon::DoubleClick) {
                    mouse = TrayMouse::LeftDoubleClick;
                }
                Event([this, mouse] { main_.TrayCallback(mouse); });
            });

    const auto run = [this](const std::function<void()>& handler) { Event(handler); };
    options_ = new OptionsDialog(core_, run, this);
    about_ = new AboutBox(core_, run, this);
    Sync();
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::AddItem(QMenu* menu, ControlState& state, const char* name,
                             const QKeySequence& shortcut, bool checkable) {
    auto* action = new QAction(menu);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setCheckable(checkable);
    menu->addAction(action);
    const std::string control = name;
    connect(action, &QAction::triggered, this, [this, control] { ClickControl(control); });
    bindings_.Bind(action, state);
    return action;
}

QMenu* MainWindow::AddSubMenu(QMenu* parent, MenuState& state, const char* name, bool radio) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    if (parent != nullptr) {
        parent->addMenu(menu);
    } else {
        menuBar()->addMenu(menu);
    }
    bindings_.Bind(menu, state);
    dynamicMenus_.push_back({menu, &state, name, radio, {}, false});
    return menu;
}

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mnuMainMenu"));
    bar->setNativeMenuBar(false);
    bar->setAccessibleName(QStringLiteral("Main Menu"));
    auto topMenu = [this, bar](ControlState& state, const char* name) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        bar->addMenu(menu);
        bindings_.Bind(menu, state);
        return menu;
    };
    TfrmMain& m = main_;

    QMenu* file = topMenu(m.cmdFileMenu, "cmdFileMenu");
    AddItem(file, m.cmdNewPreset, "cmdNewPreset", Ctrl('N'));
    file->addSeparator();
    AddItem(file, m.cmdOpenPreset, "cmdOpenPreset", Ctrl('O'));
    AddItem(file, m.cmdImportPreset, "cmdImportPreset", Ctrl('I'));
    file->addSeparator();
    AddSubMenu(file, m.cmdRecentPresets, "cmdRecentPresets");
    file->addSeparator();
    AddItem(file, m.cmdSavePreset, "cmdSavePreset", Ctrl('S'));
    AddItem(file, m.cmdSavePresetAs, "cmdSavePresetAs", Ctrl('A'));
    file->addSeparator();
    AddItem(file, m.cmdOpenFile, "cmdOpenFile", Ctrl('F'));
    file->addSeparator();
    AddSubMenu(file, m.cmdRecentFiles, "cmdRecentFiles");
    file->addSeparator();
    AddItem(file, m.cmdLaunchREDA, "cmdLaunchREDA");
    AddItem(file, m.cmdLaunchREDAWith, "cmdLaunchREDAWith", Ctrl('L'));
    file->addSeparator();
    AddItem(file, m.cmdSendToTray, "cmdSendToTray");
    file->addSeparator();
    AddItem(file, m.cmdExit, "cmdExit");

    QMenu* compile = topMenu(m.cmdCompileMenu, "cmdCompileMenu");
    AddItem(compile, m.cmdRunBatchFile, "cmdRunBatchFile", Ctrl('C'));
    compile->addSeparator();
    AddItem(compile, m.cmdSaveBatchAs, "cmdSaveBatchAs");

    AddSubMenu(nullptr, m.cmdPresetsMenu, "cmdPresetsMenu");
    AddSubMenu(nullptr, m.cmdSpecificationsMenu, "cmdSpecificationsMenu", true);

    QMenu* options = topMenu(m.cmdOptionsMenu, "cmdOptionsMenu");
    AddItem(options, m.cmdSetup, "cmdSetup");
    AddItem(options, m.cmdViewLogAfterCompile, "cmdViewLogAfterCompile", {}, true);
    AddItem(options, m.cmdCloseProgramOnRun, "cmdCloseProgramOnRun", {}, true);
    options->addSeparator();
    AddItem(options, m.cmdClearEmptyFields, "cmdClearEmptyFields");
    options->addSeparator();
    AddItem(options, m.cmdShowDetails, "cmdShowDetails", {}, true);

    AddSubMenu(nullptr, m.cmdLinks, "cmdLinks");

    QMenu* help = topMenu(m.cmdHelpMenu, "cmdHelpMenu");
    AddItem(help, m.cmdOnlineHelp, "cmdOnlineHelp");
    help->addSeparator();
    AddItem(help, m.cmdAboutKestrune, "cmdAboutKestrune");

    tabMenu_ = new QMenu(this);
    tabMenu_->setObjectName(QStringLiteral("mnuTab"));
    AddItem(tabMenu_, m.cmdTabReset, "cmdTabReset");
    tabMenu_->addSeparator();
    AddItem(tabMenu_, m.cmdTabClearEmptyFields, "cmdTabClearEmptyFields");

    stagesMenu_ = new QMenu(this);
    stagesMenu_->setObjectName(QStringLiteral("mnuStages"));
    AddItem(stagesMenu_, m.cmdStagesClear, "cmdStagesClear");

    runStagesMenu_ = new QMenu(this);
    runStagesMenu_->setObjectName(QStringLiteral("mnuRunStages"));
    dynamicMenus_.push_back({runStagesMenu_, &m.mnuRunStages, "mnuRunStages", false, {}, false});

    trayMenu_ = new QMenu(this);
    trayMenu_->setObjectName(QStringLiteral("mnuTray"));
    AddItem(trayMenu_, m.cmdTrayRestore, "cmdTrayRestore");
    trayMenu_->addSeparator();
    AddItem(trayMenu_, m.cmdTrayCompile, "cmdTrayCompile");
    AddSubMenu(trayMenu_, m.cmdTrayRun, "cmdTrayRun");
    trayMenu_->addSeparator();
    AddItem(trayMenu_, m.cmdTrayLaunchREDA, "cmdTrayLaunchREDA");
    AddItem(trayMenu_, m.cmdTrayLaunchREDAWith, "cmdTrayLaunchREDAWith");
    trayMenu_->addSeparator();
    AddItem(trayMenu_, m.cmdTrayExit, "cmdTrayExit");
}

QToolButton* MainWindow::AddToolButton(ControlState& state, const char* name, const char* theme,
                                       const char* picture, bool checkable) {
    auto* button = new QToolButton(barMain_);
    button->setObjectName(QString::fromLatin1(name));
    button->setCheckable(checkable);
    const QIcon own(QStringLiteral(":/kestrune/%1").arg(QLatin1String(picture)));
    button->setIcon(theme != nullptr ? QIcon::fromTheme(QLatin1String(theme), own) : own);
    button->setAutoRaise(true);
    // Tool buttons are for the mouse, as on every desktop: Space must not press New by accident.
    button->setFocusPolicy(Qt::NoFocus);
    barMain_->addWidget(button);
    const std::string control = name;
    connect(button, &QToolButton::clicked, this, [this, control] { ClickControl(control); });
    bindings_.Bind(button, state, Bindings::Kind::ToolButton);
    return button;
}

void MainWindow::BuildToolBar() {
    barMain_ = new QToolBar(client_);
    barMain_->setObjectName(QStringLiteral("barMain"));
    barMain_->setAccessibleName(QStringLiteral("Tool Bar"));
    barMain_->setGeometry(Scaled(0, 0, kClientWidth, 26));
    barMain_->setIconSize(QSize(Scaled(16), Scaled(16)));
    barMain_->setMovable(false);
    barMain_->setFloatable(false);
    TfrmMain& m = main_;
    barMain_->addSeparator();
    AddToolButton(m.cmdToolNewPreset, "cmdToolNewPreset", "document-new", "new.png");
    AddToolButton(m.cmdToolOpenPreset, "cmdToolOpenPreset", "document-open", "open.png");
    AddToolButton(m.cmdToolSavePreset, "cmdToolSavePreset", "document-save", "save.png");
    barMain_->addSeparator();
    QToolButton* run = AddToolButton(m.cmdToolRun, "cmdToolRun", "system-run", "run.png");
    run->setMenu(runStagesMenu_);
    run->setPopupMode(QToolButton::MenuButtonPopup);
    // The one tool button without a hint.
    run->setAccessibleName(QStringLiteral("Run"));
    barMain_->addSeparator();
    AddToolButton(m.cmdToolShowDetails, "cmdToolShowDetails", nullptr, "details.png", true);
}

void MainWindow::BuildControls() {
    TfrmMain& m = main_;
    tabMain_ = new QTabWidget(client_);
    tabMain_->setObjectName(QStringLiteral("tabMain"));
    tabMain_->setAccessibleName(QStringLiteral("Programs"));
    bindings_.Bind(tabMain_, m.tabMain, Bindings::Kind::Geometry);
    connect(tabMain_, &QTabWidget::currentChanged, this, [this](int index) {
        if (!syncing_ && index >= 0) {
            Event([this, index] { main_.SetActiveTab(index); });
        }
    });

    auto* stagesLabel = new QLabel(client_);
    stagesLabel->setObjectName(QStringLiteral("lblStages"));
    bindings_.Bind(stagesLabel, m.lblStages, Bindings::Kind::Caption);

    lstStages_ = new QListWidget(client_);
    lstStages_->setObjectName(QStringLiteral("lstStages"));
    lstStages_->setAccessibleName(WithoutColon(ToQt(m.lblStages.text)));
    stagesLabel->setBuddy(lstStages_);
    lstStages_->setViewMode(QListView::ListMode);
    lstStages_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstStages_->setContextMenuPolicy(Qt::CustomContextMenu);
    lstStages_->viewport()->installEventFilter(this);
    bindings_.Bind(lstStages_, m.lstStages, Bindings::Kind::Geometry);
    connect(lstStages_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        stagesMenu_->popup(lstStages_->viewport()->mapToGlobal(at));
    });
    // A mark set with the keyboard; marks set with the mouse are read at the button's release.
    connect(lstStages_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (syncing_) {
            return;
        }
        const int row = lstStages_->row(item);
        const bool checked = item->checkState() == Qt::Checked;
        Event([this, row, checked] {
            main_.SetStageMark(static_cast<std::size_t>(row), checked);
            core_.Click("lstStages");
        });
    });

    remember_ = new QCheckBox(client_);
    remember_->setObjectName(QStringLiteral("chkRememberFile"));
    bindings_.Bind(remember_, m.chkRememberFile, Bindings::Kind::Caption);
    connect(remember_, &QCheckBox::clicked, this, [this] { ClickControl("chkRememberFile"); });

    txtFile_ = new QLineEdit(client_);
    txtFile_->setObjectName(QStringLiteral("txtFile"));
    txtFile_->setReadOnly(true);
    txtFile_->setAccessibleName(QStringLiteral("Input File"));
    bindings_.Bind(txtFile_, m.txtFile, Bindings::Kind::Edit);

    browse_ = new QPushButton(client_);
    browse_->setObjectName(QStringLiteral("cmdBrowse"));
    browse_->setAccessibleName(QStringLiteral("Choose Input File"));
    bindings_.Bind(browse_, m.cmdBrowse, Bindings::Kind::Caption);
    connect(browse_, &QPushButton::clicked, this, [this] { ClickControl("cmdBrowse"); });

    compile_ = new QPushButton(client_);
    compile_->setObjectName(QStringLiteral("cmdCompile"));
    bindings_.Bind(compile_, m.cmdCompile, Bindings::Kind::Caption);
    connect(compile_, &QPushButton::clicked, this, [this] { ClickControl("cmdCompile"); });

    txtDetails_ = new QPlainTextEdit(client_);
    txtDetails_->setObjectName(QStringLiteral("txtDetails"));
    txtDetails_->setReadOnly(true);
    txtDetails_->setAccessibleName(QStringLiteral("Details"));
    // Tab leaves the pane instead of staying in it.
    txtDetails_->setTabChangesFocus(true);
    bindings_.Bind(txtDetails_, m.txtDetails, Bindings::Kind::Geometry);
}

int MainWindow::ClientHeight() const {
    if (!main_.Height) {
        return kClientHeight;
    }
    // The core's heights are outer heights of the designed frame; the pane lies below the
    // client area exactly when it would lie below that frame's lower edge.
    return *main_.Height - (TfrmMain::DesignedOuterHeight() - kClientHeight);
}

void MainWindow::Event(const std::function<void()>& handler) {
    if (busy_ || syncing_) {
        return;
    }
    busy_ = true;
    core_.Guarded(handler);
    busy_ = false;
    Sync();
}

void MainWindow::ClickControl(std::string_view name) {
    Event([this, name = std::string(name)] { core_.Click(name); });
}

void MainWindow::ChooseItem(std::string_view menu, std::size_t index) {
    Event([this, menu = std::string(menu), index] { core_.ChooseMenuItem(menu, index); });
}

void MainWindow::RebuildTabs() {
    for (const QPointer<FieldPage>& page : pages_) {
        delete page.data();
    }
    pages_.clear();
    tabMain_->clear();
    const auto run = [this](const std::function<void()>& handler) { Event(handler); };
    for (const auto& program : main_.State().Specification.Programs) {
        auto* page = new FieldPage(*program, run, tabMain_);
        page->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(page, &QWidget::customContextMenuRequested, this,
                [this, page](const QPoint& at) { tabMenu_->popup(page->mapToGlobal(at)); });
        tabMain_->addTab(page, ToQt(program->TabSheet.text));
        pages_.push_back(page);
    }
    builtStructure_ = main_.State().Specification.StructureVersion;
    OrderFocus();
}

void MainWindow::OrderFocus() {
    // The tabs, the fields of each page in their order on the page, then the controls below.
    QWidget* previous = tabMain_;
    const auto next = [&previous](QWidget* widget) {
        QWidget::setTabOrder(previous, widget);
        previous = widget;
    };
    for (const QPointer<FieldPage>& page : pages_) {
        for (QWidget* widget : page->FocusOrder()) {
            next(widget);
        }
    }
    for (QWidget* widget : std::initializer_list<QWidget*>{lstStages_, remember_, txtFile_, browse_,
                                                           compile_, txtDetails_}) {
        next(widget);
    }
}

void MainWindow::OpenFirstMenu() {
    for (QAction* action : menuBar()->actions()) {
        if (action->isVisible() && action->isEnabled()) {
            menuBar()->setActiveAction(action);
            return;
        }
    }
}

QPoint MainWindow::OnScreen(int left, int top) const {
    // A place that would put part of the window off the work area moves inside it; a window
    // larger than the work area starts at its top left corner.
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {left, top};
    }
    const QRect area = screen->availableGeometry();
    const QSize size = frameGeometry().size().expandedTo(this->size());
    const int x = std::max(area.left(), std::min(left, area.left() + area.width() - size.width()));
    const int y = std::max(area.top(), std::min(top, area.top() + area.height() - size.height()));
    return {x, y};
}

void MainWindow::SyncStages() {
    const auto& stages = main_.State().Specification.Stages;
    bool same = lstStages_->count() == static_cast<int>(stages.size());
    for (int i = 0; same && i < lstStages_->count(); ++i) {
        same = lstStages_->item(i)->text() == ToQt(stages[i].caption);
    }
    if (!same) {
        lstStages_->clear();
        for (const StageItem& stage : stages) {
            auto* item = new QListWidgetItem(ToQt(stage.caption), lstStages_);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            // An item draws its check box only once a state is stored, so it gets one now.
            item->setCheckState(stage.checked ? Qt::Checked : Qt::Unchecked);
        }
    }
    for (int i = 0; i < lstStages_->count(); ++i) {
        const Qt::CheckState state = stages[i].checked ? Qt::Checked : Qt::Unchecked;
        QListWidgetItem* item = lstStages_->item(i);
        if (!item->data(Qt::CheckStateRole).isValid() || item->checkState() != state) {
            item->setCheckState(state);
        }
    }
}

void MainWindow::SyncDynamicMenu(DynamicMenu& entry) {
    const auto& items = entry.state->items;
    bool same = entry.built && entry.shown.size() == items.size();
    for (std::size_t i = 0; same && i < items.size(); ++i) {
        same = entry.shown[i].caption == items[i].caption &&
               entry.shown[i].checked == items[i].checked;
    }
    if (same) {
        return;
    }
    // Deleted later: the entry that was chosen may be the one whose signal is still running.
    for (QAction* old : entry.menu->actions()) {
        entry.menu->removeAction(old);
        old->deleteLater();
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAction* action = entry.menu->addAction(ToQt(items[i].caption));
        action->setObjectName(
            QStringLiteral("%1_%2").arg(QString::fromStdString(entry.name)).arg(i));
        if (entry.radio) {
            action->setCheckable(true);
            action->setChecked(items[i].checked);
        }
        connect(action, &QAction::triggered, this,
                [this, name = entry.name, i] { ChooseItem(name, i); });
    }
    entry.shown = items;
    entry.built = true;
}

void MainWindow::SyncWindow() {
    const QString caption = ToQt(main_.Caption);
    if (windowTitle() != caption) {
        setWindowTitle(caption);
    }
    if (const qreal opacity = main_.State().Opacity / 255.0; windowOpacity() != opacity) {
        setWindowOpacity(opacity);
    }
    if (const int client = ClientHeight(); client != appliedClientHeight_) {
        appliedClientHeight_ = client;
        setFixedSize(Scaled(kClientWidth), menuBar()->sizeHint().height() + Scaled(client));
    }
    if (main_.Left != appliedLeft_ || main_.Top != appliedTop_) {
        appliedLeft_ = main_.Left;
        appliedTop_ = main_.Top;
        const QPoint place = OnScreen(main_.Left, main_.Top);
        move(place);
        if (place != QPoint(main_.Left, main_.Top)) {
            // The settings keep where the window really is.
            main_.FormMove(place.x(), place.y());
            appliedLeft_ = place.x();
            appliedTop_ = place.y();
        }
    }
    if (main_.Closed) {
        tray_->hide();
        hide();
        if (!closedSignalled_) {
            closedSignalled_ = true;
            emit Closed();
        }
        return;
    }
    if (tray_->isVisible() != main_.InTray) {
        tray_->setVisible(main_.InTray);
    }
    if (main_.Visible && !isVisible()) {
        show();
        if (!framePlaced_) {
            // The frame's size is known once shown: the whole frame must be on the screen.
            framePlaced_ = true;
            if (const QPoint place = OnScreen(x(), y()); place != pos()) {
                move(place);
                main_.FormMove(place.x(), place.y());
                appliedLeft_ = place.x();
                appliedTop_ = place.y();
            }
        }
    } else if (!main_.Visible && isVisible()) {
        hide();
    }
    if (main_.MinimizeRequests != minimizations_) {
        minimizations_ = main_.MinimizeRequests;
        showMinimized();
    }
    if (main_.ActivateRequests != activations_) {
        activations_ = main_.ActivateRequests;
        if (isMinimized()) {
            showNormal();
        }
        raise();
        activateWindow();
    }
    if (main_.PopupRequest == "mnuTray") {
        main_.PopupRequest.clear();
        trayMenu_->popup(QCursor::pos());
    }
}

void MainWindow::Sync() {
    if (syncing_) {
        return;
    }
    syncing_ = true;
    AppState& state = main_.State();
    if (state.Specification.StructureVersion != builtStructure_) {
        RebuildTabs();
    }
    bindings_.Sync();
    for (DynamicMenu& menu : dynamicMenus_) {
        SyncDynamicMenu(menu);
    }
    for (const QPointer<FieldPage>& page : pages_) {
        if (page) {
            page->Sync();
        }
    }
    SyncStages();
    if (main_.ActiveTab != tabMain_->currentIndex() && main_.ActiveTab < tabMain_->count()) {
        tabMain_->setCurrentIndex(main_.ActiveTab);
    }
    if (const QString details = ToQt(state.Fields.DetailsText);
        txtDetails_->toPlainText() != details) {
        txtDetails_->setPlainText(details);
    }
    options_->Sync();
    about_->Sync();
    SyncWindow();
    QWidget* focus = nullptr;
    if (const ControlState* request = state.Fields.FocusRequest) {
        state.Fields.FocusRequest = nullptr;
        for (const QPointer<FieldPage>& page : pages_) {
            if (page && (focus = page->WidgetOf(request)) != nullptr) {
                break;
            }
        }
    }
    syncing_ = false;
    // Moved last: the control that loses the focus runs its own leave handler.
    if (focus != nullptr) {
        focus->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (main_.Closed) {
        event->accept();
        return;
    }
    event->ignore();
    Event([this] { core_.CloseBox(); });
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The settings keep where the user left the window.
    if (!syncing_ && isVisible()) {
        appliedLeft_ = x();
        appliedTop_ = y();
        main_.FormMove(x(), y());
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstStages_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // After the list has handled the release, so a mark the click set is read too.
        QMetaObject::invokeMethod(
            this,
            [this] {
                Event([this] {
                    for (int i = 0; i < lstStages_->count(); ++i) {
                        main_.SetStageMark(static_cast<std::size_t>(i),
                                           lstStages_->item(i)->checkState() == Qt::Checked);
                    }
                    core_.Click("lstStages");
                });
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace kestrune::ui
