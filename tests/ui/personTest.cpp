// The window as a person meets it: every flow driven by real mouse clicks at the places a
// person clicks and by real key presses, and checked by what a person sees and what a screen
// reader is told — the check boxes drawn, the focus order, the menus from the keyboard, the
// accessible names.

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionButton>
#include <QStyleOptionViewItem>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "AboutBox.h"
#include "OptionsDialog.h"
#include "UiHarness.h"

using kestrune::ConfirmAnswer;
using kestrune::testing::UiHarness;

namespace {

// Where a person clicks to tick a list item: the check indicator the style draws.
QPoint CheckIndicatorOf(QListWidget* list, int row) {
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualItemRect(list->item(row));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = list->item(row)->text();
    option.font = list->font();
    option.fontMetrics = list->fontMetrics();
    return list->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list)
        .center();
}

// Where a person clicks to tick a check box: its box.
QPoint CheckIndicatorOf(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
}

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(QAccessible::Name) : QString();
}

QString AccessibleDescription(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(QAccessible::Description) : QString();
}

QMenu* OpenPopup() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// The commands a menu offers: every shown, enabled item, and those of its sub-menus.
QStringList Commands(QMenu* menu) {
    QStringList names;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible() || !action->isEnabled()) {
            continue;
        }
        names << action->objectName();
        if (action->menu() != nullptr) {
            names << Commands(action->menu());
        }
    }
    return names;
}

// Walks an open menu with the arrow keys only, entering each sub-menu with Right and leaving
// it with Left, and gives the items the highlight reached.
QStringList WalkByKeys(QMenu* menu) {
    QStringList reached;
    const QList<QAction*> actions = menu->actions();
    const int items =
        static_cast<int>(std::count_if(actions.begin(), actions.end(), [](const QAction* action) {
            return !action->isSeparator() && action->isVisible() && action->isEnabled();
        }));
    // A menu opened from its neighbour has its first item highlighted already.
    if (menu->activeAction() == nullptr) {
        QTest::keyClick(menu, Qt::Key_Down);
    }
    for (int i = 0; i < items; ++i) {
        if (i > 0) {
            QTest::keyClick(menu, Qt::Key_Down);
        }
        QAction* active = menu->activeAction();
        if (active == nullptr) {
            break;
        }
        reached << active->objectName();
        if (QMenu* sub = active->menu()) {
            QTest::keyClick(menu, Qt::Key_Right);
            if (!QTest::qWaitFor([sub] { return sub->isVisible(); })) {
                break;
            }
            reached << WalkByKeys(sub);
            QTest::keyClick(sub, Qt::Key_Left);
        }
    }
    return reached;
}

}  // namespace

class PersonTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { harness_ = std::make_unique<UiHarness>(); }
    void cleanup() { harness_.reset(); }

    // A first start without any preset: the specification comes from its menu, and every
    // stage shows a check box that a click on it ticks.
    void chooseASpecificationAndTickItsStages() {
        Show();
        QCOMPARE(h().Tabs()->count(), 0);
        QMenu* specs = h().Find<QMenu>("cmdSpecificationsMenu");
        ClickMenu(specs, specs->actions().at(0));
        QCOMPARE(h().window->windowTitle(), QStringLiteral("untitled.zrp - Kestrune"));
        QCOMPARE(h().Tabs()->count(), 3);

        auto* stages = h().Find<QListWidget>("lstStages");
        QCOMPARE(stages->count(), 3);
        for (int row = 0; row < stages->count(); ++row) {
            // A check box is drawn only for an item with a check state of its own.
            QVERIFY2(stages->item(row)->data(Qt::CheckStateRole).isValid(),
                     qPrintable(stages->item(row)->text()));
            QCOMPARE(stages->item(row)->checkState(), Qt::Unchecked);
        }
        for (int row = 0; row < stages->count(); ++row) {
            QTest::mouseClick(stages->viewport(), Qt::LeftButton, {},
                              CheckIndicatorOf(stages, row));
            QTRY_VERIFY2(h().State().Specification.Programs[static_cast<std::size_t>(row)]->Run,
                         qPrintable(stages->item(row)->text()));
            QCOMPARE(stages->item(row)->checkState(), Qt::Checked);
        }
        QVERIFY(h().State().Fields.PresetChanged);
        // Space on the current item takes the mark off again.
        stages->setFocus(Qt::TabFocusReason);
        stages->setCurrentRow(1);
        QTest::keyClick(stages, Qt::Key_Space);
        QTRY_VERIFY(!h().State().Specification.Programs[1]->Run);
        QVERIFY(h().State().Specification.Programs[0]->Run);
    }

    void tickAFieldTypeAndLeave() {
        StartOn("ImageTools.zrp");
        QCheckBox* rotate = h().FieldCheck(0, "Rotate");
        QTest::mouseClick(rotate, Qt::LeftButton, {}, CheckIndicatorOf(rotate));
        QVERIFY(rotate->isChecked());
        auto* edit = qobject_cast<QLineEdit*>(h().window->focusWidget());
        QVERIFY(edit != nullptr);
        QTest::mouseDClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral("400"));
        QCOMPARE(h().State().Specification.Programs[0]->EditBoxes[1].Text(), std::string("400"));
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->text(), QStringLiteral("360"));
        QVERIFY(h().window->focusWidget() != edit);
        // Space ticks the box that has the focus.
        QCheckBox* resize = h().FieldCheck(0, "Resize");
        const bool before = resize->isChecked();
        resize->setFocus(Qt::TabFocusReason);
        QTest::keyClick(resize, Qt::Key_Space);
        QCOMPARE(resize->isChecked(), !before);
    }

    void chooseTheInputFileAndRun() {
        StartOn("HelloC.zrp");
        const std::string input = h().home / "Inputs/hello.c";
        h().platform.fileAnswers.push_back(input);
        auto* browse = h().Find<QPushButton>("cmdBrowse");
        QTest::mouseClick(browse, Qt::LeftButton, {}, browse->rect().center());
        QCOMPARE(h().Find<QLineEdit>("txtFile")->text(), QString::fromStdString(input));
        auto* run = h().Find<QPushButton>("cmdCompile");
        QVERIFY(run->isEnabled());
        // Run from the keyboard: Space on the focused button.
        run->setFocus(Qt::TabFocusReason);
        QTest::keyClick(run, Qt::Key_Space);
        QCOMPARE(h().platform.shellCalls.size(), std::size_t{1});
        QCOMPARE(h().platform.shellCalls[0].target,
                 h().home / std::string(kestrune::kScriptFileName));
        // And with the menu's shortcut.
        QTest::keyClick(h().window.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(h().platform.shellCalls.size(), std::size_t{2});
        // The input file by its shortcut too.
        h().platform.fileAnswers.push_back(h().home / "Inputs/other.c");
        QTest::keyClick(h().window.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(h().Find<QLineEdit>("txtFile")->text(),
                 QString::fromStdString(h().home / "Inputs/other.c"));
    }

    void saveAsAndNewWithThePrompt() {
        StartOn("HelloC.zrp");
        const std::string target = h().home / "Presets/mine.zrp";
        h().platform.fileAnswers.push_back(target);
        QTest::keyClick(h().window.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(h().window->windowTitle(), QStringLiteral("mine.zrp - Kestrune"));
        QVERIFY(std::filesystem::exists(target));

        QCheckBox* debug = h().FieldCheck(0, "Debug info");
        QTest::mouseClick(debug, Qt::LeftButton, {}, CheckIndicatorOf(debug));
        h().platform.confirmAnswers.push_back(ConfirmAnswer::Cancel);
        auto* newButton = h().Find<QToolButton>("cmdToolNewPreset");
        QTest::mouseClick(newButton, Qt::LeftButton, {}, newButton->rect().center());
        QCOMPARE(h().platform.confirmations, std::vector<std::string>{"Save changes to mine.zrp?"});
        QCOMPARE(h().window->windowTitle(), QStringLiteral("mine.zrp - Kestrune"));
        h().platform.confirmAnswers.push_back(ConfirmAnswer::No);
        QTest::keyClick(h().window.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(h().window->windowTitle(), QStringLiteral("untitled.zrp - Kestrune"));
        QVERIFY(!debug->isChecked());
    }

    void optionsOkAndCancelByMouseAndKeys() {
        StartOn("HelloC.zrp");
        QMenu* options = h().Find<QMenu>("cmdOptionsMenu");
        ClickMenu(options, h().Find<QAction>("cmdSetup"));
        auto* dialog = h().window->Options();
        QTRY_VERIFY(dialog->isVisible());
        auto* slider = dialog->findChild<QSlider*>("sldTrancparency");
        slider->setFocus(Qt::TabFocusReason);
        QTest::keyClick(slider, Qt::Key_PageUp);
        QCOMPARE(slider->value(), 10);
        QCOMPARE(slider->toolTip(), QStringLiteral("Alpha = 245"));
        auto* up = dialog->findChild<QToolButton*>("up");
        QTest::mouseClick(up, Qt::LeftButton, {}, up->rect().center());
        QCOMPARE(dialog->findChild<QLineEdit*>("txtRecentFiles")->text(), QStringLiteral("5"));
        auto* tabBar = dialog->findChild<QTabWidget*>("tabMain")->tabBar();
        QTest::mouseClick(tabBar, Qt::LeftButton, {}, tabBar->tabRect(1).center());
        auto* tools = dialog->findChild<QTreeWidget*>("lstToolPaths");
        QTest::mouseClick(tools->viewport(), Qt::LeftButton, {},
                          tools->visualItemRect(tools->topLevelItem(1)).center());
        QCOMPARE(dialog->findChild<QLineEdit*>("txtToolPath")->text(),
                 QStringLiteral("/usr/bin/strip"));
        auto* ok = dialog->findChild<QPushButton*>("cmdOK");
        QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(h().State().Opacity, 245);
        QCOMPARE(h().State().RecentCount, 5);

        // Cancel with Escape drops what was changed.
        ClickMenu(options, h().Find<QAction>("cmdSetup"));
        QTRY_VERIFY(dialog->isVisible());
        slider->setFocus(Qt::TabFocusReason);
        QTest::keyClick(slider, Qt::Key_PageUp);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(h().State().Opacity, 245);
    }

    void trayOutAndBackByTheMenus() {
        StartOn("HelloC.zrp");
        ChooseByKeys("cmdFileMenu", "cmdSendToTray");
        QTRY_VERIFY(!h().window->isVisible());
        QVERIFY(h().window->Tray()->isVisible());
        emit h().window->Tray()->activated(QSystemTrayIcon::Context);
        QMenu* tray = h().window->TrayMenu();
        QTRY_VERIFY(tray->isVisible());
        QAction* restore = h().Find<QAction>("cmdTrayRestore");
        QTest::mouseClick(tray, Qt::LeftButton, {}, tray->actionGeometry(restore).center());
        QTRY_VERIFY(h().window->isVisible());
        QVERIFY(!h().window->Tray()->isVisible());
    }

    void trayWithoutOneMinimizes() {
        StartOn("HelloC.zrp");
        h().platform.hasNotificationArea = false;
        ChooseByKeys("cmdFileMenu", "cmdSendToTray");
        QTRY_VERIFY(h().window->isMinimized());
        QVERIFY(!h().window->Tray()->isVisible());
    }

    void closeByTheExitItemAsks() {
        StartOn("HelloC.zrp");
        QCheckBox* debug = h().FieldCheck(0, "Debug info");
        QTest::mouseClick(debug, Qt::LeftButton, {}, CheckIndicatorOf(debug));
        QSignalSpy closed(h().window.get(), &kestrune::ui::MainWindow::Closed);
        h().platform.confirmAnswers.push_back(ConfirmAnswer::Cancel);
        ChooseByKeys("cmdFileMenu", "cmdExit");
        QCOMPARE(h().platform.confirmations.size(), std::size_t{1});
        QVERIFY(h().window->isVisible());
        h().platform.confirmAnswers.push_back(ConfirmAnswer::No);
        ChooseByKeys("cmdFileMenu", "cmdExit");
        QCOMPARE(closed.count(), 1);
        QVERIFY(!h().window->isVisible());
    }

    // F10 opens the first menu, Alt reaches the menu bar, and the arrow keys reach every
    // command of every menu.
    void theMenusFromTheKeyboard() {
        StartOn("HelloC.zrp");
        QTest::keyClick(h().window.get(), Qt::Key_F10);
        QTRY_COMPARE(OpenPopup(), h().Find<QMenu>("cmdFileMenu"));
        QTest::keyClick(OpenPopup(), Qt::Key_Escape);
        QTest::keyClick(
            OpenPopup() != nullptr ? static_cast<QWidget*>(OpenPopup()) : h().window->menuBar(),
            Qt::Key_Escape);
        QTRY_VERIFY(OpenPopup() == nullptr);

        QWidget* focus =
            h().window->focusWidget() != nullptr ? h().window->focusWidget() : h().window.get();
        QTest::keyClick(focus, Qt::Key_Alt);
        QTRY_VERIFY(h().window->menuBar()->activeAction() != nullptr);
        QCOMPARE(h().window->menuBar()->activeAction()->objectName(),
                 QStringLiteral("cmdFileMenu"));
        QTest::keyClick(h().window->menuBar(), Qt::Key_Down);
        QTRY_COMPARE(OpenPopup(), h().Find<QMenu>("cmdFileMenu"));
        CloseMenus();

        const QList<QAction*> tops = h().window->menuBar()->actions();
        int position = 0;
        for (QAction* top : tops) {
            if (!top->isVisible()) {
                continue;
            }
            QTest::keyClick(h().window.get(), Qt::Key_F10);
            QTRY_VERIFY(OpenPopup() != nullptr);
            for (int i = 0; i < position; ++i) {
                QTest::keyClick(OpenPopup(), Qt::Key_Right);
            }
            QTRY_COMPARE(OpenPopup(), top->menu());
            QStringList reached = WalkByKeys(top->menu());
            QStringList commands = Commands(top->menu());
            reached.sort();
            commands.sort();
            QCOMPARE(reached, commands);
            CloseMenus();
            ++position;
        }
        QCOMPARE(position, 6);
        // Return on a highlighted item runs it: the about box.
        ChooseByKeys("cmdHelpMenu", "cmdAboutKestrune");
        QTRY_VERIFY(h().window->About()->isVisible());
        QTest::keyClick(h().window->About(), Qt::Key_Escape);
        QVERIFY(!h().window->About()->isVisible());
    }

    // Tab goes through a program's fields in their order on the page, then the stages, the
    // input row and the details; tool buttons take no focus.
    void tabFollowsThePlaceOnThePage() {
        StartOn("HelloC.zrp");
        const std::string input = h().home / "Inputs/hello.c";
        h().platform.fileAnswers.push_back(input);
        h().Trigger("cmdOpenFile");
        QCheckBox* define = h().FieldCheck(0, "Define");
        QTest::mouseClick(define, Qt::LeftButton, {}, CheckIndicatorOf(define));
        QCheckBox* includes = h().FieldCheck(0, "Includes");
        QTest::mouseClick(includes, Qt::LeftButton, {}, CheckIndicatorOf(includes));
        QTabBar* tabs = h().Tabs()->tabBar();
        tabs->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 40 && visited.size() < 16; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus != nullptr);
            QVERIFY2(qobject_cast<QToolButton*>(focus) == nullptr, qPrintable(focus->objectName()));
            visited << AccessibleName(focus);
        }
        QCOMPARE(visited, QStringList({"Standard", "Standard", "Optimise", "Optimise", "Warnings",
                                       "Debug info", "Define", "Define", "Includes", "Includes",
                                       "Choose Includes", "步骤", "Remember File", "Input File",
                                       "Choose Input File", "Run"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtDetails"));
        // From the details pane round to the tabs again, past the tool bar.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(tabs));
        for (QToolButton* button : h().Find<QToolBar>("barMain")->findChildren<QToolButton*>()) {
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        }
    }

    // What a screen reader is told: every shown control of the three windows has a name; a
    // value is named after its field, a "..." button after what it chooses.
    void everyControlHasAName_data() {
        QTest::addColumn<QString>("preset");
        QTest::newRow("HelloC") << "HelloC.zrp";
        QTest::newRow("ImageTools") << "ImageTools.zrp";
    }
    void everyControlHasAName() {
        QFETCH(QString, preset);
        StartOn(preset.toLatin1().constData());
        h().platform.fileAnswers.push_back(h().home / "Inputs/hello.c");
        h().Trigger("cmdOpenFile");
        h().Trigger("cmdSetup");
        auto* options = h().window->Options();
        QStringList nameless;
        const auto walk = [&nameless](QWidget* root) {
            for (QWidget* widget : root->findChildren<QWidget*>()) {
                if (!widget->isVisibleTo(root) || !IsControl(widget)) {
                    continue;
                }
                const QString name = AccessibleName(widget);
                if (name.isEmpty() || name == QLatin1String("...")) {
                    nameless << QStringLiteral("%1 %2 '%3'")
                                    .arg(QString::fromLatin1(widget->metaObject()->className()),
                                         widget->objectName(), name);
                }
            }
        };
        walk(h().window.get());
        for (int page = 0; page < 3; ++page) {
            options->findChild<QTabWidget*>("tabMain")->setCurrentIndex(page);
            walk(options);
        }
        QTest::keyClick(options, Qt::Key_Escape);
        h().Trigger("cmdAboutKestrune");
        walk(h().window->About());
        QTest::keyClick(h().window->About(), Qt::Key_Escape);
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QLatin1Char('\n'))));
    }

    void namesAndDescriptionsSayWhatTheControlIs() {
        StartOn("HelloC.zrp");
        QCOMPARE(AccessibleName(h().Find<QToolButton>("cmdToolOpenPreset")),
                 QStringLiteral("Open Preset"));
        QCOMPARE(AccessibleName(h().Find<QToolButton>("cmdToolShowDetails")),
                 QStringLiteral("ShowDetails"));
        QCOMPARE(AccessibleName(h().Find<QPushButton>("cmdBrowse")),
                 QStringLiteral("Choose Input File"));
        QCOMPARE(AccessibleName(h().Find<QListWidget>("lstStages")), QStringLiteral("步骤"));
        auto* page = h().Tabs()->widget(0);
        QComboBox* standard = page->findChildren<QComboBox*>().at(0);
        // Named after its field, not after its value or the group's title.
        QCOMPARE(AccessibleName(standard), QStringLiteral("Standard"));
        QCOMPARE(AccessibleDescription(standard),
                 QStringLiteral("    The C standard the source is read as."));
        QCOMPARE(AccessibleDescription(h().FieldCheck(0, "Warnings")),
                 QStringLiteral("    Reports the usual mistakes as warnings in the log."));
        QCOMPARE(AccessibleName(page->findChild<QPushButton*>()),
                 QStringLiteral("Choose Includes"));

        h().platform.fileAnswers.push_back(h().Preset("ImageTools.zrp"));
        h().Trigger("cmdOpenPreset");
        auto* colour = h().Tabs()->widget(1)->findChild<QPushButton*>();
        QCOMPARE(AccessibleName(colour), QStringLiteral("Select Color Tint"));
        QVERIFY2(AccessibleDescription(colour).startsWith(
                     QStringLiteral("Colour #2882DC (red 40, green 130, blue 220)")),
                 qPrintable(AccessibleDescription(colour)));

        h().Trigger("cmdSetup");
        auto* options = h().window->Options();
        QCOMPARE(AccessibleName(options->findChild<QSlider*>("sldTrancparency")),
                 QStringLiteral("Transparency"));
        QCOMPARE(AccessibleDescription(options->findChild<QSlider*>("sldTrancparency")),
                 QStringLiteral("Alpha = 255"));
        // Named after its label, which the specification's program names.
        QCOMPARE(options->findChild<QLabel*>("lblBrowseGame")->text(),
                 QStringLiteral("ImageMagick Path:"));
        QCOMPARE(AccessibleName(options->findChild<QLineEdit*>("txtBase")),
                 QStringLiteral("ImageMagick Path"));
        QCOMPARE(AccessibleName(options->findChild<QPushButton*>("cmdBrowseFile")),
                 QStringLiteral("Choose File Destination Path"));
        QTest::keyClick(options, Qt::Key_Escape);
    }

    // A value wider than its box shows whole in the tooltip.
    void aNarrowValueShowsWholeInItsTooltip() {
        StartOn("HelloC.zrp");
        QCheckBox* define = h().FieldCheck(0, "Define");
        QTest::mouseClick(define, Qt::LeftButton, {}, CheckIndicatorOf(define));
        auto* edit = qobject_cast<QLineEdit*>(h().window->focusWidget());
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->toolTip(), QString());
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral("GREETING_IS_VERY_LOUD"));
        QCOMPARE(edit->toolTip(), QStringLiteral("GREETING_IS_VERY_LOUD"));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral("Q"));
        QCOMPARE(edit->toolTip(), QString());
    }

    // The designed first place moves into the work area.
    void theFirstPlaceIsOnTheScreen() {
        Show();
        const QRect area = h().window->screen()->availableGeometry();
        const QRect frame = h().window->frameGeometry();
        const QString where = QStringLiteral("%1,%2 %3x%4 in %5,%6 %7x%8")
                                  .arg(frame.left())
                                  .arg(frame.top())
                                  .arg(frame.width())
                                  .arg(frame.height())
                                  .arg(area.left())
                                  .arg(area.top())
                                  .arg(area.width())
                                  .arg(area.height());
        QVERIFY2(area.contains(frame.topLeft()), qPrintable(where));
        if (frame.width() <= area.width()) {
            QVERIFY2(frame.right() <= area.right(), qPrintable(where));
        } else {
            QCOMPARE(frame.left(), area.left());
        }
        if (frame.height() <= area.height()) {
            QVERIFY2(frame.bottom() <= area.bottom(), qPrintable(where));
        } else {
            QCOMPARE(frame.top(), area.top());
        }
    }

  private:
    static bool IsControl(QWidget* widget) {
        if (qobject_cast<QLabel*>(widget) != nullptr) {
            return !qobject_cast<QLabel*>(widget)->text().isEmpty() ||
                   widget->objectName() == QLatin1String("ProgramIcon");
        }
        return qobject_cast<QAbstractButton*>(widget) != nullptr ||
               qobject_cast<QLineEdit*>(widget) != nullptr ||
               qobject_cast<QComboBox*>(widget) != nullptr ||
               qobject_cast<QAbstractItemView*>(widget) != nullptr ||
               qobject_cast<QAbstractSlider*>(widget) != nullptr ||
               qobject_cast<QPlainTextEdit*>(widget) != nullptr ||
               qobject_cast<QTabWidget*>(widget) != nullptr ||
               qobject_cast<QToolBar*>(widget) != nullptr ||
               qobject_cast<QMenuBar*>(widget) != nullptr ||
               qobject_cast<kestrune::ui::UpDown*>(widget) != nullptr;
    }

    UiHarness& h() { return *harness_; }

    void Show(std::vector<std::string> arguments = {}) {
        h().Start(std::move(arguments));
        h().window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h().window.get()));
    }
    void StartOn(const char* preset) { Show({h().Preset(preset)}); }

    // A click on the menu's title in the menu bar, then on its item.
    void ClickMenu(QMenu* menu, QAction* item) {
        QMenuBar* bar = h().window->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        QTRY_VERIFY(!menu->isVisible());
    }

    // F10, Right to the menu, Down to the item, Return.
    void ChooseByKeys(const char* menuName, const char* itemName) {
        QTest::keyClick(h().window.get(), Qt::Key_F10);
        QTRY_VERIFY(OpenPopup() != nullptr);
        auto* menu = h().Find<QMenu>(menuName);
        for (int i = 0; i < 8 && OpenPopup() != menu; ++i) {
            QTest::keyClick(OpenPopup(), Qt::Key_Right);
        }
        QTRY_COMPARE(OpenPopup(), menu);
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(menu, Qt::Key_Down);
            if (menu->activeAction() != nullptr &&
                menu->activeAction()->objectName() == QLatin1String(itemName)) {
                break;
            }
        }
        QVERIFY(menu->activeAction() != nullptr);
        QCOMPARE(menu->activeAction()->objectName(), QString::fromLatin1(itemName));
        QTest::keyClick(menu, Qt::Key_Return);
    }

    void CloseMenus() {
        for (int i = 0; i < 4 && OpenPopup() != nullptr; ++i) {
            QTest::keyClick(OpenPopup(), Qt::Key_Escape);
        }
        QTRY_VERIFY(OpenPopup() == nullptr);
        if (h().window->menuBar()->activeAction() != nullptr) {
            QTest::keyClick(h().window->menuBar(), Qt::Key_Escape);
        }
    }

    std::unique_ptr<UiHarness> harness_;
};

QTEST_MAIN(PersonTest)
#include "personTest.moc"
