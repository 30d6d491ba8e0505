// What a person does in the window, driven through the widgets and the real handlers, with the
// platform's dialogs and boxes answering from queues: start on the samples, open a preset, tick
// fields and stages, type and leave a numeric edit, run, save, new with the prompt, the options
// dialog, the tray, close. The sample chains go all the way: their scripts built here run
// with sh, and what they build is checked.

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <QTreeWidget>
#include <fstream>

#include "AboutBox.h"
#include "OptionsDialog.h"
#include "QtPlatform.h"
#include "UiHarness.h"

using kestrune::ConfirmAnswer;
using kestrune::testing::ActionNames;
using kestrune::testing::UiHarness;

Q_DECLARE_METATYPE(kestrune::ConfirmAnswer)

namespace {

// An editor's save: a new file written beside the old one and renamed over it.
void SaveLikeAnEditor(UiHarness& h, const std::string& from, const std::string& to) {
    const std::string path = h.home / "SpecFiles/HelloC.zrs";
    std::string text = h.home.Read(path);
    const std::size_t at = text.find(from);
    QVERIFY(at != std::string::npos);
    text.replace(at, from.size(), to);
    const std::string saved = h.home.Write("SpecFiles/.HelloC.zrs.swp", text);
    std::filesystem::rename(saved, path);
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

}  // namespace

class FlowsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        harness_ = std::make_unique<UiHarness>();
        h().Start({h().Preset("HelloC.zrp")});
        h().window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h().window.get()));
    }
    void cleanup() { harness_.reset(); }

    void startOpensThePresetOnTheSamples() {
        QCOMPARE(h().window->windowTitle(), QStringLiteral("HelloC.zrp - Kestrune"));
        QVERIFY(h().window->isVisible());
        QTabWidget* tabs = h().Tabs();
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0) + "|" + tabs->tabText(1) + "|" + tabs->tabText(2),
                 QStringLiteral("Compile|Strip|Run"));
        auto* group = tabs->widget(0)->findChild<QGroupBox*>();
        QCOMPARE(group->title(), QStringLiteral("Compile with gcc:"));
        QCOMPARE(group->geometry(), QRect(8, 8, 553, 301));
        // Fields at the places the layout gave them, with the preset's values.
        QCheckBox* warnings = h().FieldCheck(0, "Warnings");
        QCOMPARE(warnings->geometry(), QRect(8, 91, 176, 21));
        QVERIFY(warnings->isChecked());
        QVERIFY(warnings->font().bold());
        QCOMPARE(warnings->toolTip(), QStringLiteral("-Wall -Wextra"));
        QCheckBox* define = h().FieldCheck(0, "Define");
        QVERIFY(!define->isChecked());
        QCOMPARE(define->toolTip(), QStringLiteral("-D #"));
        auto* lstStages = h().Find<QListWidget>("lstStages");
        QCOMPARE(lstStages->count(), 3);
        QCOMPARE(lstStages->item(1)->text(), QStringLiteral("Strip"));
        QCOMPARE(lstStages->item(1)->checkState(), Qt::Checked);
        auto* specs = h().Find<QMenu>("cmdSpecificationsMenu");
        QVERIFY(specs->actions().at(0)->isChecked());
        QVERIFY(!specs->actions().at(1)->isChecked());
        QVERIFY(h().Find<QAction>("cmdSavePreset")->isEnabled());
        QVERIFY(!h().Find<QPushButton>("cmdCompile")->isEnabled());
        QCOMPARE(h().Find<QMenu>("cmdLinks")->actions().at(0)->text(),
                 QStringLiteral("GCC manuals"));
    }

    void fieldWidgetsFollowTheirKind() {
        const auto edits = h().Tabs()->widget(0)->findChildren<QLineEdit*>();
        // Define's edit and the Includes path edit, besides the two combo boxes' edits.
        QLineEdit* define = nullptr;
        for (QLineEdit* edit : edits) {
            if (edit->text() == "LOUD") {
                define = edit;
            }
        }
        QVERIFY(define != nullptr);
        QCOMPARE(define->geometry(), QRect(140, 141, 44, 21));
        QVERIFY(!define->isEnabled());
        auto* label = h().Tabs()->widget(0)->findChild<QLabel*>();
        QCOMPARE(label->text(), QStringLiteral("Code"));
        QCOMPARE(label->geometry(), QRect(8, 20, 176, 17));
        QVERIFY(label->font().underline());
        auto combos = h().Tabs()->widget(0)->findChildren<QComboBox*>();
        QCOMPARE(combos.size(), 2);
        QCOMPARE(combos[0]->currentText(), QStringLiteral("C17"));
        QCOMPARE(combos[0]->count(), 3);
        QCOMPARE(combos[0]->geometry(), QRect(96, 41, 88, 21));
        QVERIFY(combos[0]->isEnabled());
    }

    void openPresetSwitchesTheSpecification() {
        h().platform.fileAnswers.push_back(h().Preset("ImageTools.zrp"));
        h().Trigger("cmdOpenPreset");
        QCOMPARE(h().platform.fileDialogs.back().title, std::string("Open Preset File"));
        QCOMPARE(h().platform.fileDialogs.back().filter, std::string("Preset Files (*.zrp)|*.zrp"));
        QCOMPARE(h().window->windowTitle(), QStringLiteral("ImageTools.zrp - Kestrune"));
        QCOMPARE(h().Tabs()->count(), 3);
        QCOMPARE(h().Tabs()->tabText(1), QStringLiteral("Tint"));
        // The colour box's button shows its caption in the preset's colour.
        auto* colour = h().Tabs()->widget(1)->findChild<QPushButton*>();
        QCOMPARE(colour->text(), QStringLiteral("Select Color"));
        QVERIFY(colour->isEnabled());
        QCOMPARE(colour->palette().color(QPalette::Active, QPalette::ButtonText),
                 QColor(40, 130, 220));
        QCOMPARE(h().Find<QListWidget>("lstStages")->count(), 2);
        QVERIFY(h().Find<QMenu>("cmdSpecificationsMenu")->actions().at(1)->isChecked());
    }

    void tickingAFieldAndAStage() {
        QCheckBox* debug = h().FieldCheck(0, "Define");
        QTest::mouseClick(debug, Qt::LeftButton, {}, QPoint(6, 10));
        QVERIFY(debug->isChecked());
        const auto& field = h().State().Specification.Programs[0]->EditBoxes[0];
        QVERIFY(field.Checked());
        QVERIFY(h().State().Fields.PresetChanged);
        // Ticking after a preset was applied moves the focus into the value.
        QVERIFY(h().window->focusWidget() != nullptr);
        QCOMPARE(qobject_cast<QLineEdit*>(h().window->focusWidget())->text(),
                 QStringLiteral("LOUD"));

        auto* stages = h().Find<QListWidget>("lstStages");
        const QRect row = stages->visualItemRect(stages->item(1));
        QTest::mouseClick(stages->viewport(), Qt::LeftButton, {},
                          QPoint(row.left() + 8, row.center().y()));
        QTRY_VERIFY(!h().State().Specification.Programs[1]->Run);
        QCOMPARE(stages->item(1)->checkState(), Qt::Unchecked);
        QVERIFY(h().State().Specification.Programs[0]->Run);
    }

    void typingAndLeavingANumericEdit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("clamped to max") << "400"
                                        << "360";
        QTest::newRow("rounded to int") << "12.5"
                                        << "12";
        QTest::newRow("not a number") << "ten"
                                      << "0";
        QTest::newRow("negative kept") << "-90"
                                       << "-90";
    }
    void typingAndLeavingANumericEdit() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        h().platform.fileAnswers.push_back(h().Preset("ImageTools.zrp"));
        h().Trigger("cmdOpenPreset");
        QCheckBox* rotate = h().FieldCheck(0, "Rotate");
        QTest::mouseClick(rotate, Qt::LeftButton, {}, QPoint(6, 10));
        auto* edit = qobject_cast<QLineEdit*>(h().window->focusWidget());
        QVERIFY(edit != nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QCOMPARE(h().State().Specification.Programs[0]->EditBoxes[1].Text(),
                 kestrune::ui::FromQt(typed));
        // Leaving it by the keyboard runs the validation.
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(h().State().Specification.Programs[0]->EditBoxes[1].Text(),
                 kestrune::ui::FromQt(shown));
    }

    void leavingAComboTakesTheOptionsSpelling_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("other case") << "most"
                                    << "Most";
        QTest::newRow("no such option") << "fastest"
                                        << "Speed";
    }
    void leavingAComboTakesTheOptionsSpelling() {
        QComboBox* optimise = h().Tabs()->widget(0)->findChildren<QComboBox*>().at(1);
        optimise->setFocus(Qt::MouseFocusReason);
        optimise->lineEdit()->selectAll();
        QFETCH(QString, typed);
        QTest::keyClicks(optimise->lineEdit(), typed);
        QVERIFY(h().State().Fields.PresetChanged);
        QTest::keyClick(optimise, Qt::Key_Tab);
        QFETCH(QString, shown);
        QCOMPARE(optimise->currentText(), shown);
        QCOMPARE(h().State().Specification.Programs[0]->ComboBoxes[1].Text(),
                 kestrune::ui::FromQt(shown));
    }

    void valueButtonsAskThePlatform() {
        QTest::mouseClick(h().FieldCheck(0, "Includes"), Qt::LeftButton, {}, QPoint(6, 10));
        h().platform.folderAnswers.push_back("/usr/include");
        auto buttons = h().Tabs()->widget(0)->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 1);
        QTest::mouseClick(buttons[0], Qt::LeftButton);
        QCOMPARE(h().platform.folderTitles, std::vector<std::string>{"Select A Folder:"});
        QCOMPARE(h().State().Specification.Programs[0]->BrowseBoxes[0].Text(),
                 std::string("/usr/include"));
        bool shown = false;
        for (QLineEdit* edit : h().Tabs()->widget(0)->findChildren<QLineEdit*>()) {
            shown = shown || edit->text() == "/usr/include";
        }
        QVERIFY(shown);

        h().platform.fileAnswers.push_back(h().Preset("ImageTools.zrp"));
        h().platform.confirmAnswers.push_back(ConfirmAnswer::No);
        h().Trigger("cmdOpenPreset");
        h().Tabs()->setCurrentIndex(1);
        auto* colour = h().Tabs()->widget(1)->findChild<QPushButton*>();
        h().platform.colorAnswers.push_back(0x0000FF);
        QTest::mouseClick(colour, Qt::LeftButton);
        QCOMPARE(h().platform.colorDialogStarts, std::vector<std::uint32_t>{0xDC8228});
        QCOMPARE(colour->palette().color(QPalette::Active, QPalette::ButtonText),
                 QColor(255, 0, 0));
    }

    void menusReachTheirHandlers() {
        // The tab menu resets the fields of the shown program.
        h().Tabs()->widget(0)->customContextMenuRequested(QPoint(300, 280));
        QTRY_VERIFY(h().window->TabMenu()->isVisible());
        h().window->TabMenu()->hide();
        h().Trigger("cmdTabReset");
        QVERIFY(!h().FieldCheck(0, "Warnings")->isChecked());
        QVERIFY(h().FieldCheck(1, "All symbols")->isChecked());
        // The stages pop-up clears every mark.
        h().Trigger("cmdStagesClear");
        QCOMPARE(h().Find<QListWidget>("lstStages")->item(2)->checkState(), Qt::Unchecked);
        QVERIFY(!h().State().Specification.Programs[2]->Run);
        // Choosing a specification asks first, then loads it untitled.
        h().platform.confirmAnswers.push_back(ConfirmAnswer::No);
        h().Find<QMenu>("cmdSpecificationsMenu")->actions().at(1)->trigger();
        QCOMPARE(h().window->windowTitle(), QStringLiteral("untitled.zrp - Kestrune"));
        QCOMPARE(h().Tabs()->tabText(0), QStringLiteral("Convert"));
        QVERIFY(h().Find<QMenu>("cmdSpecificationsMenu")->actions().at(1)->isChecked());
        QVERIFY(!h().Find<QMenu>("cmdSpecificationsMenu")->actions().at(0)->isChecked());
        // The recent presets bring the first one back, importing keeps it untitled.
        h().Find<QMenu>("cmdRecentPresets")->actions().at(0)->trigger();
        QCOMPARE(h().window->windowTitle(), QStringLiteral("HelloC.zrp - Kestrune"));
        h().platform.fileAnswers.push_back(h().Preset("HelloC.zrp"));
        h().Trigger("cmdImportPreset");
        QCOMPARE(h().window->windowTitle(), QStringLiteral("untitled.zrp - Kestrune"));
        QVERIFY(!h().Find<QAction>("cmdSavePreset")->isEnabled());
        QVERIFY(h().FieldCheck(0, "Warnings")->isChecked());
    }

    void mouseOverAFieldShowsItsHelp() {
        QCheckBox* warnings = h().FieldCheck(0, "Warnings");
        QTest::mouseMove(warnings, QPoint(20, 10));
        auto* details = h().Find<QPlainTextEdit>("txtDetails");
        QTRY_COMPARE(details->toPlainText(),
                     QStringLiteral("    Reports the usual mistakes as warnings in the log."));
        QTest::mouseMove(h().Tabs()->widget(0)->findChild<QGroupBox*>(), QPoint(400, 250));
        QTRY_COMPARE(details->toPlainText(), QString());
    }

    void runWritesTheScriptAndStartsIt() {
        const std::string input = h().home / "Inputs/hello.c";
        h().platform.fileAnswers.push_back(input);
        QTest::mouseClick(h().Find<QPushButton>("cmdBrowse"), Qt::LeftButton);
        QCOMPARE(h().Find<QLineEdit>("txtFile")->text(), QString::fromStdString(input));
        QVERIFY(h().Find<QPushButton>("cmdCompile")->isEnabled());
        QVERIFY(h().Find<QAction>("cmdLaunchREDAWith")->isVisible());
        QCOMPARE(h().Find<QAction>("cmdLaunchREDAWith")->text(), QStringLiteral("View hello.log"));
        QCOMPARE(h().Find<QAction>("cmdTrayCompile")->text(), QStringLiteral("&Compile hello.c"));

        QTest::mouseClick(h().Find<QPushButton>("cmdCompile"), Qt::LeftButton);
        QCOMPARE(h().platform.shellCalls.size(), std::size_t{1});
        QCOMPARE(h().platform.shellCalls[0].target,
                 h().home / std::string(kestrune::kScriptFileName));
        QCOMPARE(h().platform.shellCalls[0].parameters, std::string());
        const std::string script = h().home.Read(kestrune::kScriptFileName);
        QVERIFY2(script.find("\"/usr/bin/gcc\" -Wall -Wextra -std=c17 -O2 -o") != std::string::npos,
                 script.c_str());

        // One stage from the Run button's drop-down.
        auto* runStages = h().Find<QMenu>("mnuRunStages");
        QCOMPARE(ActionNames(runStages->actions()).size(), 3);
        QCOMPARE(runStages->actions().at(2)->text(), QStringLiteral("Run"));
        runStages->actions().at(2)->trigger();
        QCOMPARE(h().platform.shellCalls.size(), std::size_t{2});
        const std::string stage = h().home.Read(kestrune::kScriptFileName);
        QVERIFY2(stage.find("/usr/bin/gcc") == std::string::npos, stage.c_str());
        QVERIFY2(stage.find("\"/usr/bin/env\" GREETING=Hello") != std::string::npos, stage.c_str());
    }

    // Links, the help page and the log viewer are handed to the platform to start.
    void startsGoToThePlatform() {
        h().home.Write(kestrune::kLogViewerFileName, "");
        h().platform.fileAnswers.push_back(h().home / "Inputs/hello.c");
        h().Trigger("cmdOpenFile");
        h().Find<QMenu>("cmdLinks")->actions().at(0)->trigger();
        h().Trigger("cmdOnlineHelp");
        h().Trigger("cmdLaunchREDA");
        h().Trigger("cmdLaunchREDAWith");
        QStringList started;
        for (const auto& call : h().platform.shellCalls) {
            started << QString::fromStdString(call.target + " " + call.parameters);
        }
        const QString home = QString::fromStdString(h().home.path());
        const QString reda =
            QString::fromUtf8(kestrune::kLogViewerFileName.data(),
                              static_cast<qsizetype>(kestrune::kLogViewerFileName.size()));
        QCOMPARE(started, QStringList({"http://gcc.gnu.org/onlinedocs/ ",
                                       "https://kestrune.org/help/ ", home + reda + " ",
                                       home + reda + " \"" + home + "Inputs/hello.log\""}));
    }

    void logViewerMissingIsReported() {
        h().Trigger("cmdLaunchREDA");
        QCOMPARE(h().platform.messages.size(), std::size_t{1});
        QCOMPARE(h().platform.messages[0].title, std::string("Error"));
        QCOMPARE(h().platform.messages[0].text,
                 h().home / (std::string(kestrune::kLogViewerFileName) + " not found."));
        QVERIFY(h().platform.shellCalls.empty());
    }

    void saveAsWritesAndRenames() {
        const std::string target = h().home / "Presets/mine.zrp";
        h().platform.fileAnswers.push_back(target);
        h().Trigger("cmdSavePresetAs");
        QCOMPARE(h().platform.fileDialogs.back().title, std::string("Save Preset File As"));
        QCOMPARE(h().platform.fileDialogs.back().defaultExtension, std::string(".zrp"));
        QVERIFY(Exists(target));
        QCOMPARE(h().home.Read(target), h().home.Read(h().Preset("HelloC.zrp")));
        QCOMPARE(h().window->windowTitle(), QStringLiteral("mine.zrp - Kestrune"));
        QCOMPARE(h().Find<QMenu>("cmdRecentPresets")->actions().size(), 2);
    }

    void fileNamesInMenusKeepTheirAmpersand() {
        const std::string target = h().home / "Presets/a & b.zrp";
        h().platform.fileAnswers.push_back(target);
        h().Trigger("cmdSavePresetAs");
        QCOMPARE(h().window->windowTitle(), QStringLiteral("a & b.zrp - Kestrune"));
        QString shown = kestrune::ui::ToQt(target);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* recent = h().Find<QMenu>("cmdRecentPresets")->actions().at(0);
        QCOMPARE(recent->text(), shown);
        // The entry still opens the preset it names.
        h().Trigger("cmdNewPreset");
        recent->trigger();
        QCOMPARE(h().window->windowTitle(), QStringLiteral("a & b.zrp - Kestrune"));
    }

    void newPresetAsksFirst_data() {
        QTest::addColumn<ConfirmAnswer>("answer");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("caption");
        QTest::newRow("yes saves, then resets")
            << ConfirmAnswer::Yes << true << true << "untitled.zrp - Kestrune";
        QTest::newRow("no resets without saving")
            << ConfirmAnswer::No << true << false << "untitled.zrp - Kestrune";
        QTest::newRow("cancel keeps everything")
            << ConfirmAnswer::Cancel << false << false << "HelloC.zrp - Kestrune";
    }
    void newPresetAsksFirst() {
        QFETCH(ConfirmAnswer, answer);
        QFETCH(bool, reset);
        QFETCH(bool, saved);
        QFETCH(QString, caption);
        const std::string before = h().home.Read(h().Preset("HelloC.zrp"));
        QTest::mouseClick(h().FieldCheck(0, "Debug info"), Qt::LeftButton, {}, QPoint(6, 10));
        h().platform.confirmAnswers.push_back(answer);
        QTest::keyClick(h().window.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(h().platform.confirmations.size(), std::size_t{1});
        QCOMPARE(h().platform.confirmations[0], std::string("Save changes to HelloC.zrp?"));
        QCOMPARE(h().window->windowTitle(), caption);
        QCOMPARE(h().FieldCheck(0, "Debug info")->isChecked(), !reset);
        QCOMPARE(h().FieldCheck(0, "Warnings")->isChecked(), !reset);
        QCOMPARE(h().Find<QListWidget>("lstStages")->item(0)->checkState(),
                 reset ? Qt::Unchecked : Qt::Checked);
        QCOMPARE(h().home.Read(h().Preset("HelloC.zrp")) != before, saved);
        QCOMPARE(h().Find<QAction>("cmdSavePreset")->isEnabled(), !reset);
    }

    void optionsOkAppliesAndCancelDrops() {
        h().Trigger("cmdSetup");
        auto* options = h().window->Options();
        QVERIFY(options->isVisible());
        QVERIFY(options->isModal());
        auto* slider = options->findChild<QSlider*>("sldTrancparency");
        slider->setValue(50);
        QCOMPARE(slider->toolTip(), QStringLiteral("Alpha = 205"));
        QTest::mouseClick(options->findChild<QToolButton*>("up"), Qt::LeftButton);
        QCOMPARE(options->findChild<QLineEdit*>("txtRecentFiles")->text(), QStringLiteral("5"));
        auto* tabs = options->findChild<QTabWidget*>("tabMain");
        tabs->setCurrentIndex(1);
        auto* tools = options->findChild<QTreeWidget*>("lstToolPaths");
        QCOMPARE(tools->topLevelItemCount(), 3);
        tools->setCurrentItem(tools->topLevelItem(1));
        QCOMPARE(options->findChild<QLabel*>("lblBrowseTool")->text(),
                 QStringLiteral("Strip Path:"));
        QCOMPARE(options->findChild<QLineEdit*>("txtToolPath")->text(),
                 QStringLiteral("/usr/bin/strip"));
        QVERIFY(options->findChild<QPushButton*>("cmdBrowseTool")->isEnabled());
        tabs->setCurrentIndex(2);
        h().platform.fileAnswers.push_back(h().Preset("ImageTools.zrp"));
        QTest::mouseClick(options->findChild<QPushButton*>("cmdAddPreset"), Qt::LeftButton);
        QCOMPARE(options->findChild<QListWidget*>("lstPresets")->item(0)->text(),
                 QString::fromStdString(h().Preset("ImageTools.zrp")));
        QTest::mouseClick(options->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QVERIFY(!options->isVisible());
        QCOMPARE(h().State().Opacity, 205);
        QCOMPARE(h().window->windowOpacity(), 205 / 255.0);
        QCOMPARE(h().State().RecentCount, 5);
        QVERIFY(Exists(h().home / "Config/HelloC.path"));
        // The favourite is in the Presets menu, which opens it.
        auto* favourites = h().Find<QMenu>("cmdPresetsMenu");
        QVERIFY(favourites->menuAction()->isVisible());
        QCOMPARE(favourites->actions().at(0)->text(), QStringLiteral("ImageTools.zrp"));
        favourites->actions().at(0)->trigger();
        QCOMPARE(h().window->windowTitle(), QStringLiteral("ImageTools.zrp - Kestrune"));

        h().Trigger("cmdSetup");
        QCOMPARE(slider->value(), 50);
        slider->setValue(0);
        QTest::keyClick(options, Qt::Key_Escape);
        QVERIFY(!options->isVisible());
        QCOMPARE(h().State().Opacity, 205);
    }

    void aboutShowsTheSpecification() {
        h().Trigger("cmdAboutKestrune");
        auto* about = h().window->About();
        QVERIFY(about->isVisible());
        QCOMPARE(about->findChild<QLabel*>("lblSpecName")->text(), QStringLiteral("Name: Hello C"));
        QCOMPARE(about->findChild<QLabel*>("lblSpecProgram")->text(), QStringLiteral("For: GCC"));
        QCOMPARE(about->findChild<QLabel*>("lblSpecAuthor")->text(),
                 QStringLiteral("By: Kestrune developers"));
        QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }

    void savingTheSpecificationReloadsTheWindowKeepingValues() {
        QCheckBox* define = h().FieldCheck(0, "Define");
        QTest::mouseClick(define, Qt::LeftButton, {}, QPoint(6, 10));
        QVERIFY(define->isChecked());
        SaveLikeAnEditor(h(), "Name = Strip the program", "Name = Strip it");
        auto title = [this] { return h().Tabs()->widget(1)->findChild<QGroupBox*>()->title(); };
        QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("Strip it:"), 1000);
        QVERIFY(h().FieldCheck(0, "Define")->isChecked());
        QCOMPARE(h().window->windowTitle(), QStringLiteral("HelloC.zrp - Kestrune"));
        QVERIFY(h().platform.messages.empty());
        QVERIFY(h().platform.confirmations.empty());
        // The watch goes on after the rename: a second save is taken up as well, and a
        // mistake in it shows in the details pane without a box.
        SaveLikeAnEditor(h(), "Param = -g", "Parm = -g");
        auto* details = h().Find<QPlainTextEdit>("txtDetails");
        QTRY_COMPARE_WITH_TIMEOUT(
            details->toPlainText(),
            QStringLiteral("HelloC.zrs:44: unknown key “Parm” in a CheckBox block: it is ignored "
                           "(did you mean “Param”?)"),
            1000);
        QVERIFY(h().platform.messages.empty());
    }

    void aSaveWhileADialogIsOpenIsTakenUpAfterIt() {
        h().Trigger("cmdSetup");
        auto* options = h().window->Options();
        QVERIFY(options->isVisible());
        SaveLikeAnEditor(h(), "Name = Strip the program", "Name = Strip it");
        auto title = [this] { return h().Tabs()->widget(1)->findChild<QGroupBox*>()->title(); };
        QTest::qWait(600);
        QCOMPARE(title(), QStringLiteral("Strip the program:"));
        QTest::mouseClick(options->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
        QVERIFY(!options->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("Strip it:"), 1000);
    }

    void f5ReloadsByHand() {
        const std::string path = h().home / "SpecFiles/HelloC.zrs";
        std::string text = h().home.Read(path);
        text.replace(text.find("Name = Run the program"), 22, "Name = Run it");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        QTest::keyClick(h().window.get(), Qt::Key_F5);
        QCOMPARE(h().Tabs()->widget(2)->findChild<QGroupBox*>()->title(),
                 QStringLiteral("Run it:"));
    }

    void detailsToggleResizesTheWindow() {
        const int menu = h().window->menuBar()->height();
        QTest::mouseClick(h().Find<QToolButton>("cmdToolShowDetails"), Qt::LeftButton);
        QCOMPARE(h().window->height(), menu + 406);
        QVERIFY(!h().Find<QToolButton>("cmdToolShowDetails")->isChecked());
        QVERIFY(!h().Find<QAction>("cmdShowDetails")->isChecked());
        // The pane lies wholly below the window's lower edge.
        QVERIFY(h().Find<QPlainTextEdit>("txtDetails")->y() >=
                h().window->centralWidget()->height());
        h().Trigger("cmdShowDetails");
        QCOMPARE(h().window->height(), menu + 528);
        QVERIFY(h().Find<QToolButton>("cmdToolShowDetails")->isChecked());
    }

    void trayOutAndBack() {
        h().Trigger("cmdSendToTray");
        QVERIFY(!h().window->isVisible());
        QVERIFY(h().window->Tray()->isVisible());
        // Only the right button opens the tray menu.
        emit h().window->Tray()->activated(QSystemTrayIcon::Trigger);
        emit h().window->Tray()->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(!h().window->TrayMenu()->isVisible());
        QVERIFY(!h().window->isVisible());
        emit h().window->Tray()->activated(QSystemTrayIcon::Context);
        QTRY_VERIFY(h().window->TrayMenu()->isVisible());
        h().window->TrayMenu()->hide();
        h().Trigger("cmdTrayRestore");
        QVERIFY(h().window->isVisible());
        QVERIFY(!h().window->Tray()->isVisible());
        QCOMPARE(h().window->windowTitle(), QStringLiteral("HelloC.zrp - Kestrune"));
    }

    void trayWithoutNotificationAreaMinimizes() {
        h().platform.hasNotificationArea = false;
        h().Trigger("cmdSendToTray");
        QVERIFY(!h().window->Tray()->isVisible());
        QVERIFY(h().window->isMinimized());
    }

    void closeAsksAndKeepsTheSettings_data() {
        QTest::addColumn<ConfirmAnswer>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("cancel stays open") << ConfirmAnswer::Cancel << false;
        QTest::newRow("no closes") << ConfirmAnswer::No << true;
    }
    void closeAsksAndKeepsTheSettings() {
        QFETCH(ConfirmAnswer, answer);
        QFETCH(bool, closed);
        QSignalSpy closedSpy(h().window.get(), &kestrune::ui::MainWindow::Closed);
        QTest::mouseClick(h().FieldCheck(0, "Debug info"), Qt::LeftButton, {}, QPoint(6, 10));
        h().platform.confirmAnswers.push_back(answer);
        h().window->close();
        QCOMPARE(h().platform.confirmations.size(), std::size_t{1});
        QCOMPARE(h().window->isVisible(), !closed);
        QCOMPARE(closedSpy.count(), closed ? 1 : 0);
        // The settings are written either way.
        const std::string settings = h().home.Read("Config/config.ini");
        QVERIFY2(settings.find("HelloC.zrp") != std::string::npos, settings.c_str());
    }

    // The stored settings shape the window before it is first shown.
    void settingsShapeTheWindowAtStart() {
        UiHarness other;
        other.home.Write("Config/config.ini",
                         "[Kestrune]\r\nOpacity = 180\r\nShowDetails = False\r\n\r\n"
                         "[Position]\r\nTop = 40\r\nLeft = 50\r\n\r\n[Recent Presets]\r\n"
                         "RecentPreset = " +
                             other.Preset("ImageTools.zrp") + "\r\n");
        other.Start();
        QCOMPARE(other.window->windowTitle(), QStringLiteral("ImageTools.zrp - Kestrune"));
        QCOMPARE(other.window->windowOpacity(), 180 / 255.0);
        QCOMPARE(other.window->height(), other.window->menuBar()->height() + 406);
        QCOMPARE(other.window->pos(), QPoint(50, 40));
        QVERIFY(!other.Find<QToolButton>("cmdToolShowDetails")->isChecked());
    }

    // The chains for real: the script the window writes runs with sh (no terminal), and the
    // program gcc built prints the sample's greeting, or the image comes out resized.
    void chainsRunForReal_data() {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("tools");
        QTest::addColumn<QString>("logLine");
        QTest::newRow("C chain") << "HelloC.zrp"
                                 << "Inputs/hello.c"
                                 << QStringList{"/usr/bin/gcc", "/usr/bin/strip", "/usr/bin/env"}
                                 << "Hello, world!";
        QTest::newRow("image chain")
            << "ImageTools.zrp"
            << "Inputs/kestrel.png" << QStringList{"/usr/bin/convert", "/usr/bin/optipng"}
            << "kestrel-out.png";
    }
    void chainsRunForReal() {
        QFETCH(QString, preset);
        QFETCH(QString, input);
        QFETCH(QStringList, tools);
        QFETCH(QString, logLine);
        for (const QString& tool : tools) {
            if (!QFileInfo(tool).isExecutable()) {
                QSKIP(qPrintable(tool + " is not installed"));
            }
        }
        h().platform.fileAnswers.push_back(h().Preset(preset.toLatin1().constData()));
        h().Trigger("cmdOpenPreset");
        h().platform.fileAnswers.push_back(h().home / input.toStdString());
        h().Trigger("cmdOpenFile");
        QTest::mouseClick(h().Find<QPushButton>("cmdCompile"), Qt::LeftButton);
        QCOMPARE(h().platform.messages.size(), std::size_t{0});
        QCOMPARE(h().platform.shellCalls.size(), std::size_t{1});
        QProcess shell;
        shell.setWorkingDirectory(QString::fromStdString(h().home.path()));
        shell.start("/bin/sh", {QString::fromStdString(h().platform.shellCalls[0].target)});
        QVERIFY(shell.waitForFinished(120000));
        QCOMPARE(shell.exitCode(), 0);
        const QString base = QFileInfo(input).completeBaseName();
        const std::string log = h().home.Read("Inputs/" + base.toStdString() + ".log");
        QVERIFY2(
            log.find("Kestrune 2.0.3.1: " + QFileInfo(input).fileName().toStdString() + ", ") == 0,
            log.c_str());
        QVERIFY2(log.find(logLine.toStdString()) != std::string::npos, log.c_str());
        QVERIFY2(log.find("error") == std::string::npos, log.c_str());
        if (input.endsWith(".c")) {
            QProcess program;
            program.start(QString::fromStdString(h().home / "Inputs/hello"), {});
            QVERIFY(program.waitForFinished(10000));
            QCOMPARE(program.readAllStandardOutput(), QByteArray("Hello, world!\n"));
        } else {
            const QImage result(QString::fromStdString(h().home / "Inputs/kestrel-out.png"));
            QCOMPARE(result.size(), QSize(128, 128));
        }
    }

  private:
    UiHarness& h() { return *harness_; }
    std::unique_ptr<UiHarness> harness_;
};

QTEST_MAIN(FlowsTest)
#include "flowsTest.moc"
