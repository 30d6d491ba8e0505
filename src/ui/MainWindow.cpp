#include "MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <algorithm>

#include "AboutBox.h"
#include "FieldPage.h"
#include "Language.h"
#include "OptionsDialog.h"
#include "QtPlatform.h"
#include "RunFollower.h"
#include "ScriptPreviewPane.h"
#include "SpecificationWatcher.h"
#include "UiSetup.h"

namespace kestrune::ui {

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
    controls_ =
        new WindowControls(core_, WindowId::Main, client_, this,
                           [this](const std::function<void()>& handler) { Event(handler); });
    BuildClient();
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
                Event([this, mouse] { core_.Tray(mouse); });
            });

    const auto run = [this](const std::function<void()>& handler) { Event(handler); };
    options_ = new OptionsDialog(core_, run, this);
    about_ = new AboutBox(core_, run, this);
    // A specification saved in an editor is read again through the same command as F5.
    specWatcher_ = new SpecificationWatcher(this);
    connect(specWatcher_, &SpecificationWatcher::Changed, this, [this] {
        if (busy_ || syncing_) {
            specWatcher_->Retry();
            return;
        }
        EventResult result = EventResult::Done;
        Event([this, &result] { result = core_.Click("cmdReloadSpecification"); });
        // Behind a dialog or in the tray, the window takes the change as soon as it can.
        if (result == EventResult::Blocked) {
            specWatcher_->Retry();
        }
    });
    follower_ = new RunFollower(
        main_, this, tray_, [this] { return !busy_ && !syncing_; }, [this] { Sync(); });
    preview_ = new ScriptPreviewPane(core_, run, this);
    // The Run drop-down shows the script of the stage under the mouse in the preview.
    if (QMenu* stages = controls_->MenuNamed("mnuRunStages"); stages != nullptr) {
        connect(stages, &QMenu::hovered, this, [this, stages](QAction* action) {
            const qsizetype entry = stages->actions().indexOf(action);
            preview_->ShowHovered(entry < 0 ? std::nullopt
                                            : std::optional<std::size_t>(std::size_t(entry)));
        });
        connect(stages, &QMenu::aboutToHide, this, [this] { preview_->ShowHovered(std::nullopt); });
    }
    Sync();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildClient() {
    tabMain_ = static_cast<QTabWidget*>(controls_->WidgetOf(ControlKind::ProgramTabs));
    connect(tabMain_, &QTabWidget::currentChanged, this, [this](int index) {
        if (!syncing_ && index >= 0) {
            Event([this, index] { core_.SelectTab(index); });
        }
    });
    tabMenu_ = controls_->PopupOver(ControlKind::ProgramTabs);
    trayMenu_ = controls_->MenuOf(ControlKind::TrayMenu);
    txtDetails_ = static_cast<QPlainTextEdit*>(controls_->WidgetOf(ControlKind::DetailsPane));

    lstStages_ = static_cast<QListWidget*>(controls_->WidgetOf(ControlKind::StageList));
    lstStages_->viewport()->installEventFilter(this);
    // A mark set with the keyboard; marks set with the mouse are read at the button's release.
    connect(lstStages_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (syncing_) {
            return;
        }
        const int row = lstStages_->row(item);
        const bool checked = item->checkState() == Qt::Checked;
        Event([this, row, checked] { core_.MarkStage(row, checked); });
    });
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
    const auto& programs = main_.State().Specification.Programs;
    for (std::size_t index = 0; index < programs.size(); ++index) {
        const auto& program = programs[index];
        auto* page = new FieldPage(core_, static_cast<int>(index), run, tabMain_);
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
    for (QWidget* widget : controls_->FocusOrder()) {
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
    ListRows captions;
    for (const StageItem& stage : stages) {
        captions.push_back({stage.caption});
    }
    if (shownStages_.Changed(captions)) {
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

void MainWindow::Placed(QPoint place) {
    appliedLeft_ = place.x();
    appliedTop_ = place.y();
    core_.MoveWindow(place.x(), place.y());
}

void MainWindow::SyncWindow(const std::vector<ViewRequest>& requests) {
    const QString caption = ToQt(main_.Caption);
    if (windowTitle() != caption) {
        setWindowTitle(caption);
    }
    if (const qreal opacity = OpacityOf(main_.State().Opacity); windowOpacity() != opacity) {
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
            Placed(place);
        }
    }
    if (main_.Closed) {
        tray_->hide();
        hide();
        if (!closedSignalled_) {
            closedSignalled_ = true;
            Q_EMIT Closed();
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
                Placed(place);
            }
        }
    } else if (!main_.Visible && isVisible()) {
        hide();
    }
    // The focus moves in Sync, once the pages hold their widgets.
    for (const ViewRequest& request : requests) {
        if (std::holds_alternative<MinimizeWindow>(request)) {
            showMinimized();
        } else if (std::holds_alternative<ActivateWindow>(request)) {
            if (isMinimized()) {
                showNormal();
            }
            raise();
            activateWindow();
        } else if (const auto* popup = std::get_if<PopupMenu>(&request)) {
            if (QMenu* menu = controls_->MenuNamed(popup->menu); menu != nullptr) {
                menu->popup(QCursor::pos());
            }
        }
    }
}

void MainWindow::Sync() {
    if (syncing_) {
        return;
    }
    syncing_ = true;
    const AppState& state = main_.State();
    // Before the controls: a new language shows in every caption of this sync.
    ApplyLanguage(ResolveLanguage(state.Language));
    if (LanguageGeneration() != shownLanguage_) {
        shownLanguage_ = LanguageGeneration();
        for (QWidget* root : {static_cast<QWidget*>(this), static_cast<QWidget*>(options_),
                              static_cast<QWidget*>(about_)}) {
            RetranslateQtParts(root);
        }
    }
    if (state.Specification.StructureVersion != builtStructure_) {
        RebuildTabs();
    }
    controls_->Sync();
    for (const QPointer<FieldPage>& page : pages_) {
        if (page) {
            page->Sync();
        }
    }
    SyncStages();
    if (main_.ActiveTab != tabMain_->currentIndex() && main_.ActiveTab < tabMain_->count()) {
        tabMain_->setCurrentIndex(main_.ActiveTab);
    }
    if (const QString details = ToQt(main_.DetailsPaneText());
        txtDetails_->toPlainText() != details) {
        txtDetails_->setPlainText(details);
    }
    options_->Sync();
    about_->Sync();
    const std::vector<ViewRequest> requests = core_.TakeViewRequests();
    SyncWindow(requests);
    if (specWatcher_ != nullptr) {
        specWatcher_->Follow(ToQt(main_.LoadedSpecificationPath()));
    }
    if (follower_ != nullptr) {
        follower_->Sync();
    }
    if (preview_ != nullptr) {
        preview_->Sync();
    }
    QWidget* focus = nullptr;
    if (const ControlState* request = FocusTarget(requests)) {
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
        // Through the gate, but also while a box of an earlier event is open: the window
        // manager moves a window whatever holds the input.
        core_.MoveWindow(x(), y());
        if (!busy_) {
            Sync();
        }
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstStages_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // After the list has handled the release, so a mark the click set is read too.
        QMetaObject::invokeMethod(
            this,
            [this] {
                std::vector<bool> marks;
                for (int i = 0; i < lstStages_->count(); ++i) {
                    marks.push_back(lstStages_->item(i)->checkState() == Qt::Checked);
                }
                Event([this, &marks] { core_.MarkStages(marks); });
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace kestrune::ui
