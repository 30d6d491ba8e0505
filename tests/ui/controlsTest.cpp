// Every control, menu item and tool button of the three windows, checked row by row against
// the expected rows below: object name, designed caption, shortcut, geometry at 96 DPI,
// separators, and the state at start.

#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "AboutBox.h"
#include "OptionsDialog.h"
#include "UiHarness.h"

using kestrune::testing::ActionNames;
using kestrune::testing::UiHarness;

namespace {

QString Caption(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->title();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text();
    }
    return {};
}

// Adds the columns of a widget table and one row per control.
struct WidgetRow {
    const char* name;
    const char* className;
    const char* caption;
    QRect geometry;  // a width of -1: sized to its caption
    bool enabled;
};

void WidgetColumns() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
}

void AddRows(std::initializer_list<WidgetRow> rows) {
    for (const WidgetRow& row : rows) {
        QTest::newRow(row.name) << QString::fromLatin1(row.name)
                                << QString::fromLatin1(row.className)
                                << QString::fromUtf8(row.caption) << row.geometry << row.enabled;
    }
}

void CheckWidget(QWidget* root) {
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    QWidget* widget = root->findChild<QWidget*>(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    QVERIFY2(widget->inherits(className.toLatin1()), widget->metaObject()->className());
    QCOMPARE(Caption(widget), caption);
    if (geometry.width() < 0) {
        QCOMPARE(widget->pos(), geometry.topLeft());
        QVERIFY2(widget->width() >= widget->sizeHint().width(), "caption clipped");
    } else {
        QCOMPARE(widget->geometry(), geometry);
    }
    QCOMPARE(widget->isEnabled(), enabled);
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        harness_ = std::make_unique<UiHarness>();
        harness_->Start();
    }
    void cleanup() { harness_.reset(); }

    // Whatever a window declares is built: a row added to a window's table shows up without
    // the view knowing its name, under that name, with the name a screen reader says.
    void everyDeclaredRowIsBuilt() {
        using kestrune::Kestrune;
        using kestrune::WindowId;
        const std::pair<WindowId, QWidget*> windows[] = {
            {WindowId::Main, harness_->window.get()},
            {WindowId::Options, harness_->window->Options()},
            {WindowId::About, harness_->window->About()}};
        int checked = 0;
        for (const auto& [id, root] : windows) {
            for (const kestrune::ControlRow& row : Kestrune::Table(id)) {
                if (row.name.empty()) {
                    continue;
                }
                const QString name = QString::fromLatin1(row.name.data(), row.name.size());
                QObject* built = row.kind == kestrune::ControlKind::MenuBar
                                     ? root->findChild<QMenuBar*>(name)
                                     : root->findChild<QObject*>(name);
                QVERIFY2(built != nullptr, qPrintable(name));
                const std::string_view spoken = row.accessibleName;
                if (!spoken.empty() && spoken.find("{}") == std::string_view::npos) {
                    auto* widget = qobject_cast<QWidget*>(built);
                    QVERIFY2(widget != nullptr, qPrintable(name));
                    QCOMPARE(widget->accessibleName(),
                             QString::fromUtf8(spoken.data(), static_cast<int>(spoken.size())));
                }
                ++checked;
            }
        }
        QVERIFY(checked > 90);
    }

    void windowIsFixedWithoutMaximize() {
        QMainWindow* window = harness_->window.get();
        QCOMPARE(window->windowTitle(), QStringLiteral("Kestrune"));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->width(), 704);
        QCOMPARE(window->centralWidget()->height(), 528);
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    }

    void mainControls_data() {
        WidgetColumns();
        AddRows({
            {"barMain", "QToolBar", "", {0, 0, 704, 26}, true},
            {"tabMain", "QTabWidget", "", {8, 26, 577, 345}, true},
            {"lblStages", "QLabel", "步骤:", {592, 24, 36, 13}, true},
            {"lstStages", "QListWidget", "", {592, 40, 105, 329}, true},
            {"chkRememberFile", "QCheckBox", "Remember File", {8, 376, 89, 21}, false},
            {"txtFile", "QLineEdit", "", {104, 376, 479, 21}, true},
            {"cmdBrowse", "QPushButton", "...", {591, 375, 25, 25}, false},
            {"cmdCompile", "QPushButton", "&Run", {623, 375, 75, 25}, false},
            {"txtDetails", "QPlainTextEdit", "", {8, 408, 689, 113}, true},
        });
    }
    void mainControls() { CheckWidget(harness_->window->centralWidget()); }

    void toolBar_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("checked");
        QTest::newRow("new") << "cmdToolNewPreset"
                             << "New Preset" << false << false;
        QTest::newRow("open") << "cmdToolOpenPreset"
                              << "Open Preset" << true << false;
        QTest::newRow("save") << "cmdToolSavePreset"
                              << "Save Preset" << false << false;
        QTest::newRow("run") << "cmdToolRun"
                             << "" << true << false;
        QTest::newRow("details") << "cmdToolShowDetails"
                                 << "ShowDetails" << true << true;
    }
    void toolBar() {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        QFETCH(bool, enabled);
        QFETCH(bool, checked);
        auto* button = harness_->window->findChild<QToolButton*>(name);
        QVERIFY(button != nullptr);
        QCOMPARE(button->toolTip(), hint);
        QCOMPARE(button->isEnabled(), enabled);
        QCOMPARE(button->isChecked(), checked);
        QVERIFY(!button->icon().isNull());
        QCOMPARE(button->iconSize(), QSize(16, 16));
    }

    void toolBarOrder() {
        QStringList order;
        for (QAction* action : harness_->Find<QToolBar>("barMain")->actions()) {
            QWidget* widget = harness_->Find<QToolBar>("barMain")->widgetForAction(action);
            order << (action->isSeparator() ? QStringLiteral("-") : widget->objectName());
        }
        QCOMPARE(order.join('|'), QStringLiteral("-|cmdToolNewPreset|cmdToolOpenPreset|"
                                                 "cmdToolSavePreset|-|cmdToolRun|-|"
                                                 "cmdToolShowDetails"));
        auto* run = harness_->Find<QToolButton>("cmdToolRun");
        QCOMPARE(run->popupMode(), QToolButton::MenuButtonPopup);
        QCOMPARE(run->menu()->objectName(), QStringLiteral("mnuRunStages"));
    }

    void menuItems_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("checked");
        struct Row {
            const char* name;
            const char* caption;
            const char* shortcut;
            bool enabled;
            bool visible;
            bool checked;
        };
        const Row rows[] = {
            {"cmdFileMenu", "文件", "", true, true, false},
            {"cmdNewPreset", "新设置", "Ctrl+N", false, true, false},
            {"cmdNewFromProgram", "New Specification from Program...", "", true, true, false},
            {"cmdOpenPreset", "打开设置", "Ctrl+O", true, true, false},
            {"cmdImportPreset", "导入设置", "Ctrl+I", false, true, false},
            {"cmdRecentPresets", "使用过的设置", "", true, false, false},
            {"cmdSavePreset", "保存设置", "Ctrl+S", false, true, false},
            {"cmdSavePresetAs", "保存设置为...", "Ctrl+A", false, true, false},
            {"cmdOpenFile", "打开文件", "Ctrl+F", false, true, false},
            {"cmdRecentFiles", "使用过的文件", "", false, false, false},
            {"cmdLaunchREDA", "载入阅读器", "", true, true, false},
            {"cmdLaunchREDAWith", "View Untitled.log", "Ctrl+L", true, false, false},
            {"cmdSendToTray", "最小化至托盘", "", true, true, false},
            {"cmdExit", "退出", "", true, true, false},
            {"cmdCompileMenu", "编译", "", true, true, false},
            {"cmdRunBatchFile", "编译地图", "Ctrl+C", false, true, false},
            {"cmdStopRun", "&Stop", "Esc", false, true, false},
            {"cmdSaveBatchAs", "储存为.bat文件", "", false, true, false},
            {"cmdPresetsMenu", "&Presets", "", true, false, false},
            {"cmdSpecificationsMenu", "编译项目", "", true, true, false},
            {"cmdOptionsMenu", "设置", "", true, true, false},
            {"cmdSetup", "设置", "", true, true, false},
            {"cmdViewLogAfterCompile", "编译后载入.log文件", "", true, true, false},
            {"cmdCloseProgramOnRun", "编译时关闭程序", "", true, true, false},
            {"cmdClearEmptyFields", "清除空内容", "", false, true, false},
            {"cmdShowDetails", "显示细节", "", true, true, true},
            {"cmdShowScriptPreview", "Script &Preview", "F8", true, true, false},
            {"cmdLinks", "&Links", "", true, false, false},
            {"cmdHelpMenu", "帮助", "", true, true, false},
            {"cmdOnlineHelp", "在线帮助", "", true, true, false},
            {"cmdAboutKestrune", "关于", "", true, true, false},
            {"cmdTabReset", "&Reset", "", true, true, false},
            {"cmdTabClearEmptyFields", "&Clear Empty Fields", "", true, true, false},
            {"cmdStagesClear", "&Clear", "", true, true, false},
            {"cmdTrayRestore", "&Restore", "", true, true, false},
            {"cmdTrayCompile", "&Compile", "", false, true, false},
            {"cmdTrayRun", "&Run", "", false, true, false},
            {"cmdTrayStop", "&Stop", "", false, true, false},
            {"cmdTrayLaunchREDA", "Launch &REDA", "", true, true, false},
            {"cmdTrayLaunchREDAWith", "&View Untitled.log", "", true, false, false},
            {"cmdTrayExit", "E&xit", "", true, true, false},
        };
        for (const Row& row : rows) {
            QTest::newRow(row.name)
                << QString::fromLatin1(row.name) << QString::fromUtf8(row.caption)
                << QKeySequence(QString::fromLatin1(row.shortcut)) << row.enabled << row.visible
                << row.checked;
        }
    }
    void menuItems() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        QFETCH(bool, enabled);
        QFETCH(bool, visible);
        QFETCH(bool, checked);
        QAction* action = nullptr;
        if (auto* menu = harness_->window->findChild<QMenu*>(name)) {
            action = menu->menuAction();
            QCOMPARE(menu->title(), caption);
        } else {
            action = harness_->window->findChild<QAction*>(name);
            QVERIFY2(action != nullptr, qPrintable(name));
            QCOMPARE(action->text(), caption);
        }
        QCOMPARE(action->shortcut(), shortcut);
        QCOMPARE(action->isVisible(), visible);
        if (visible) {  // a hidden action always counts as disabled
            QCOMPARE(action->isEnabled(), enabled);
        }
        QCOMPARE(action->isChecked(), checked);
    }

    void menuOrder_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("items");
        QTest::newRow("menu bar")
            << "mnuMainMenu"
            << "cmdFileMenu|cmdCompileMenu|cmdPresetsMenu|cmdSpecificationsMenu|"
               "cmdOptionsMenu|cmdLinks|cmdHelpMenu";
        QTest::newRow("file") << "cmdFileMenu"
                              << "cmdNewPreset|cmdNewFromProgram|-|cmdOpenPreset|cmdImportPreset|"
                                 "cmdReloadSpecification|-|"
                                 "cmdRecentPresets|-|"
                                 "cmdSavePreset|cmdSavePresetAs|-|cmdOpenFile|-|cmdRecentFiles|-|"
                                 "cmdLaunchREDA|cmdLaunchREDAWith|-|cmdSendToTray|-|cmdExit";
        QTest::newRow("compile") << "cmdCompileMenu"
                                 << "cmdRunBatchFile|cmdStopRun|-|cmdSaveBatchAs";
        QTest::newRow("options") << "cmdOptionsMenu"
                                 << "cmdSetup|cmdViewLogAfterCompile|cmdCloseProgramOnRun|-|"
                                    "cmdClearEmptyFields|-|cmdShowDetails|cmdShowScriptPreview";
        QTest::newRow("help") << "cmdHelpMenu"
                              << "cmdOnlineHelp|cmdSpecificationHelp|-|cmdAboutKestrune";
        QTest::newRow("tab") << "mnuTab"
                             << "cmdTabReset|-|cmdTabClearEmptyFields";
        QTest::newRow("stages") << "mnuStages"
                                << "cmdStagesClear";
        QTest::newRow("tray")
            << "mnuTray"
            << "cmdTrayRestore|-|cmdTrayCompile|cmdTrayRun|cmdTrayStop|-|cmdTrayLaunchREDA|"
               "cmdTrayLaunchREDAWith|-|cmdTrayExit";
    }
    void menuOrder() {
        QFETCH(QString, menu);
        QFETCH(QString, items);
        QWidget* widget = harness_->window->findChild<QWidget*>(menu);
        QVERIFY2(widget != nullptr, qPrintable(menu));
        QCOMPARE(ActionNames(widget->actions()).join('|'), items);
    }

    void specificationsMenuListsTheSamples() {
        auto* menu = harness_->Find<QMenu>("cmdSpecificationsMenu");
        QStringList captions;
        for (QAction* action : menu->actions()) {
            captions << action->text() + (action->isCheckable() ? "(radio)" : "");
        }
        QCOMPARE(captions.join('|'), QStringLiteral("HelloC(radio)|ImageTools(radio)"));
    }

    void optionsControls_data() {
        WidgetColumns();
        AddRows({
            {"tabMain", "QTabWidget", "", {8, 8, 289, 305}, true},
            {"lblTrancparency", "QLabel", "Transparency:", {8, 8, -1, 0}, true},
            {"sldTrancparency", "QSlider", "", {8, 24, 265, 25}, true},
            {"lblSolid", "QLabel", "Solid", {16, 48, -1, 0}, true},
            {"lblTransparent", "QLabel", "Transparent", {208, 48, -1, 0}, true},
            {"lblRecentFiles", "QLabel", "Recent Files:", {8, 72, -1, 0}, true},
            {"txtRecentFiles", "QLineEdit", "4", {16, 88, 57, 21}, true},
            {"numRecentFiles", "QWidget", "", {72, 86, 17, 25}, true},
            {"lblAssociateWith", "QLabel", "Associate With:", {8, 120, -1, 0}, true},
            {"cmdZRPFiles", "QPushButton", ".ZRP Files", {16, 136, 75, 25}, true},
            {"lstToolPaths", "QTreeWidget", "", {8, 8, 265, 137}, true},
            {"lblBrowseTool", "QLabel", "Tool Path:", {8, 152, -1, 0}, true},
            {"txtToolPath", "QLineEdit", "", {8, 168, 241, 21}, true},
            {"cmdBrowseTool", "QPushButton", "...", {256, 168, 21, 21}, true},
            {"lblBrowseGame", "QLabel", "Base Path:", {8, 192, -1, 0}, true},
            {"txtBase", "QLineEdit", "", {8, 208, 241, 21}, true},
            {"cmdBrowseBase", "QPushButton", "...", {256, 208, 21, 21}, true},
            {"lblBrowseMap", "QLabel", "File Destination Path:", {8, 232, -1, 0}, true},
            {"txtFile", "QLineEdit", "", {8, 248, 241, 21}, true},
            {"cmdBrowseFile", "QPushButton", "...", {256, 248, 21, 21}, true},
            {"lstPresets", "QListWidget", "", {8, 8, 265, 225}, true},
            {"cmdAddPreset", "QPushButton", "&Add", {120, 244, 75, 25}, true},
            {"cmdRemovePreset", "QPushButton", "&Remove", {200, 244, 75, 25}, true},
            {"cmdOK", "QPushButton", "&OK", {144, 320, 75, 25}, true},
            {"cmdCancel", "QPushButton", "&Cancel", {224, 320, 75, 25}, true},
        });
    }
    void optionsControls() {
        QDialog* options = harness_->window->Options();
        QCOMPARE(options->windowTitle(), QStringLiteral("Kestrune Options"));
        QCOMPARE(options->size(), QSize(304, 350));
        CheckWidget(options);
    }

    void optionsPages() {
        auto* tabs = harness_->window->Options()->findChild<QTabWidget*>("tabMain");
        QCOMPARE(tabs->count(), 3);
        QStringList pages;
        for (int i = 0; i < tabs->count(); ++i) {
            pages << tabs->widget(i)->objectName() + "=" + tabs->tabText(i);
        }
        QCOMPARE(pages.join('|'),
                 QStringLiteral("tabGeneral=General|tabPaths=Paths|tabPresets=Presets"));
        auto* slider = tabs->findChild<QSlider*>("sldTrancparency");
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 150);
        QCOMPARE(slider->tickInterval(), 10);
        QCOMPARE(slider->toolTip(), QStringLiteral("Alpha = 255"));
        auto* tools = tabs->findChild<QTreeWidget*>("lstToolPaths");
        QCOMPARE(tools->headerItem()->text(0), QStringLiteral("Tool"));
        QCOMPARE(tools->headerItem()->text(1), QStringLiteral("Path"));
        QCOMPARE(tools->columnWidth(0), 65);
        QCOMPARE(tools->columnWidth(1), 196);
    }

    void aboutControls_data() {
        WidgetColumns();
        AddRows({
            {"grpAbout", "QGroupBox", "", {8, 8, 265, 217}, true},
            {"ProgramIcon", "QLabel", "", {8, 17, 32, 32}, true},
            {"lblProgram", "QLabel", "Kestrune", {40, 24, 185, 21}, true},
            {"lblVersion", "QLabel", "Version: 2.0.3.1", {40, 56, 185, 13}, true},
#ifdef Q_OS_WIN
            {"lblPlatform", "QLabel", "For Windows", {40, 72, 185, 13}, true},
#else
            {"lblPlatform", "QLabel", "For Linux", {40, 72, 185, 13}, true},
#endif
            {"lblLanguage", "QLabel", "Written in C++ with Qt", {40, 88, 185, 13}, true},
            {"lblAuthor", "QLabel", "By the Kestrune developers", {40, 104, 185, 13}, true},
            {"grpSpecificationFile", "QGroupBox", "Specification File:", {8, 136, 249, 73}, true},
            {"lblSpecName", "QLabel", "Name:", {8, 20, 233, 13}, true},
            {"lblSpecProgram", "QLabel", "For:", {8, 36, 233, 13}, true},
            {"lblSpecAuthor", "QLabel", "By:", {8, 52, 233, 13}, true},
            {"cmdOK", "QPushButton", "OK", {104, 232, 75, 25}, true},
        });
    }
    void aboutControls() {
        QDialog* about = harness_->window->About();
        QCOMPARE(about->windowTitle(), QStringLiteral("About Kestrune"));
        QCOMPARE(about->size(), QSize(281, 264));
        CheckWidget(about);
        QVERIFY(about->findChild<QLabel*>("lblProgram")->font().bold());
    }

    // Every caption of the three windows fits its control in the chosen font.
    void noCaptionIsClipped() {
        QList<QWidget*> roots = {harness_->window.get(), harness_->window->Options(),
                                 harness_->window->About()};
        for (QWidget* root : roots) {
            for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
                if (button->text().isEmpty() || qobject_cast<QToolButton*>(button)) {
                    continue;
                }
                // A check box's caption starts after its 13-pixel box and 2-pixel gap.
                const int room = qobject_cast<QCheckBox*>(button) ? 15 : 4;
                const QString text = button->text().remove('&');
                QVERIFY2(button->width() >= button->fontMetrics().horizontalAdvance(text) + room,
                         qPrintable(button->objectName()));
            }
            for (QLabel* label : root->findChildren<QLabel*>()) {
                QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                         qPrintable(label->objectName()));
            }
        }
    }

  private:
    std::unique_ptr<UiHarness> harness_;
};

QTEST_MAIN(ControlsTest)
#include "controlsTest.moc"
