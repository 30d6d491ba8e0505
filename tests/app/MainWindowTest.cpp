// The main window's commands through the handlers a click reaches: which commands are
// available when, the preset's name and changed state, the save prompt, first show, Run,
// stages, tabs, tray, details and close.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <new>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "AppHarness.h"
#include "ScriptText.h"

namespace kestrune {
namespace {

using testing::AppHarness;

}  // namespace

void PrintTo(EventResult result, std::ostream* os) {
    *os << EventResultText(result);
}

namespace {

// ---- Availability of the commands

struct Availability {
    bool specificationGroup;
    bool runGroup;  // all six run controls
    bool toolRun;   // cmdToolRun alone, enabled at start before any specification
    bool rememberEnabled;
    bool rememberTicked;
    bool save;
    bool hasInput;
};

struct AvailabilityCase {
    const char* name;
    std::function<void(AppHarness&)> act;
    Availability expected;
};

void PrintTo(const AvailabilityCase& c, std::ostream* os) {
    *os << c.name;
}

Availability Observe(TfrmMain& m) {
    Availability a{};
    const std::vector<ControlState*> spec = {
        &m.cmdNewPreset,    &m.cmdToolNewPreset,  &m.cmdImportPreset,
        &m.cmdSavePresetAs, &m.cmdToolSavePreset, &m.cmdBrowse,
        &m.cmdOpenFile,     &m.cmdRecentFiles,    &m.cmdClearEmptyFields};
    const std::vector<ControlState*> run = {&m.cmdCompile, &m.cmdRunBatchFile, &m.cmdTrayCompile,
                                            &m.cmdTrayRun, &m.cmdSaveBatchAs};
    a.specificationGroup =
        std::all_of(spec.begin(), spec.end(), [](auto* c) { return c->enabled; });
    const bool anySpec = std::any_of(spec.begin(), spec.end(), [](auto* c) { return c->enabled; });
    EXPECT_EQ(anySpec, a.specificationGroup) << "the specification group switches together";
    a.runGroup = std::all_of(run.begin(), run.end(), [](auto* c) { return c->enabled; });
    const bool anyRun = std::any_of(run.begin(), run.end(), [](auto* c) { return c->enabled; });
    EXPECT_EQ(anyRun, a.runGroup) << "the run group switches together";
    a.toolRun = m.cmdToolRun.enabled;
    a.rememberEnabled = m.chkRememberFile.enabled;
    a.rememberTicked = m.chkRememberFile.checked;
    a.save = m.cmdSavePreset.enabled;
    a.hasInput = !m.State().Input.InputFile.empty();
    EXPECT_EQ(m.txtFile.text, m.State().Input.InputFile);
    EXPECT_EQ(m.cmdLaunchREDAWith.visible, a.hasInput);
    EXPECT_EQ(m.cmdTrayLaunchREDAWith.visible, a.hasInput);
    return a;
}

bool operator==(const Availability& a, const Availability& b) {
    return a.specificationGroup == b.specificationGroup && a.runGroup == b.runGroup &&
           a.toolRun == b.toolRun && a.rememberEnabled == b.rememberEnabled &&
           a.rememberTicked == b.rememberTicked && a.save == b.save && a.hasInput == b.hasInput;
}

void PrintTo(const Availability& a, std::ostream* os) {
    *os << "spec " << a.specificationGroup << ", run " << a.runGroup << ", toolRun " << a.toolRun
        << ", remember " << a.rememberEnabled << "/" << a.rememberTicked << ", save " << a.save
        << ", input " << a.hasInput;
}

void ChooseChain(AppHarness& h) {
    ASSERT_EQ(h.program.ChooseMenuItem("cmdSpecificationsMenu", 0), EventResult::Done);
}

class AvailabilityTable : public ::testing::TestWithParam<AvailabilityCase> {};

TEST_P(AvailabilityTable, FollowsTheEvent) {
    AppHarness h;
    h.Start();
    GetParam().act(h);
    EXPECT_EQ(Observe(h.main()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Events, AvailabilityTable,
    ::testing::Values(
        AvailabilityCase{
            "Start", [](AppHarness&) {}, {false, false, true, false, false, false, false}},
        AvailabilityCase{
            "SpecificationLoaded", ChooseChain, {true, false, false, false, false, false, false}},
        AvailabilityCase{"InputFileChosen",
                         [](AppHarness& h) {
                             ChooseChain(h);
                             h.fake.fileAnswers = {h.input};
                             ASSERT_EQ(h.program.Click("cmdBrowse"), EventResult::Done);
                         },
                         {true, true, true, true, false, false, true}},
        AvailabilityCase{"PresetOpenedWithInput",
                         [](AppHarness& h) {
                             h.main().OpenPreset(h.ChainPreset("a.zrp", h.input), PresetMode::Open);
                         },
                         {true, true, true, true, true, true, true}},
        AvailabilityCase{
            "PresetOpenedWithoutInput",
            [](AppHarness& h) { h.main().OpenPreset(h.ChainPreset("a.zrp"), PresetMode::Open); },
            {true, false, false, false, false, true, false}},
        AvailabilityCase{"PresetImported",
                         [](AppHarness& h) {
                             ChooseChain(h);
                             h.main().OpenPreset(h.ChainPreset("a.zrp", h.input),
                                                 PresetMode::Import);
                         },
                         {true, true, true, true, true, false, true}},
        AvailabilityCase{"SavedAs",
                         [](AppHarness& h) {
                             ChooseChain(h);
                             h.fake.fileAnswers = {h.dir / "saved.zrp"};
                             ASSERT_EQ(h.program.Click("cmdSavePresetAs"), EventResult::Done);
                         },
                         {true, false, false, false, false, true, false}},
        AvailabilityCase{"NewPreset",
                         [](AppHarness& h) {
                             h.main().OpenPreset(h.ChainPreset("a.zrp", h.input), PresetMode::Open);
                             ASSERT_EQ(h.program.Click("cmdNewPreset"), EventResult::Done);
                         },
                         {true, false, false, false, false, false, false}}),
    [](const auto& test) { return std::string(test.param.name); });

// ---- The preset's name, caption and changed state

struct PresetStateCase {
    const char* name;
    std::function<void(AppHarness&)> act;
    const char* caption;
    bool titled;
    bool changed;
};

void PrintTo(const PresetStateCase& c, std::ostream* os) {
    *os << c.name;
}

class PresetStateTable : public ::testing::TestWithParam<PresetStateCase> {};

TEST_P(PresetStateTable, FollowsTheEvent) {
    AppHarness h;
    h.Start();
    // Every case starts from an opened, then changed preset.
    ASSERT_TRUE(h.main().OpenPreset(h.ChainPreset("start.zrp", h.input), PresetMode::Open));
    ASSERT_EQ(h.program.Click("chkRememberFile"), EventResult::Done);
    h.fake.confirmAnswers = {ConfirmAnswer::No};
    GetParam().act(h);
    EXPECT_EQ(h.main().Caption, GetParam().caption);
    EXPECT_EQ(!h.state().PresetFileName.empty(), GetParam().titled);
    EXPECT_EQ(h.state().Fields.PresetChanged, GetParam().changed);
}

INSTANTIATE_TEST_SUITE_P(
    Events, PresetStateTable,
    ::testing::Values(
        PresetStateCase{"AnyChange", [](AppHarness&) {}, "start.zrp - Kestrune", true, true},
        PresetStateCase{"New", [](AppHarness& h) { h.program.Click("cmdNewPreset"); },
                        "untitled.zrp - Kestrune", false, false},
        PresetStateCase{"SpecificationChosen",
                        [](AppHarness& h) { h.program.ChooseMenuItem("cmdSpecificationsMenu", 1); },
                        "untitled.zrp - Kestrune", false, false},
        PresetStateCase{"Import",
                        [](AppHarness& h) {
                            h.fake.fileAnswers = {h.ChainPreset("imported.zrp")};
                            h.program.Click("cmdImportPreset");
                        },
                        "untitled.zrp - Kestrune", false, true},
        PresetStateCase{"Open",
                        [](AppHarness& h) {
                            h.fake.fileAnswers = {h.ChainPreset("other.zrp")};
                            h.program.Click("cmdToolOpenPreset");
                        },
                        "other.zrp - Kestrune", true, false},
        PresetStateCase{"SaveAs",
                        [](AppHarness& h) {
                            h.fake.fileAnswers = {h.dir / "night.zrp"};
                            h.program.Click("cmdSavePresetAs");
                        },
                        "night.zrp - Kestrune", true, false},
        PresetStateCase{"SaveNamed", [](AppHarness& h) { h.program.Click("cmdSavePreset"); },
                        "start.zrp - Kestrune", true, false}),
    [](const auto& test) { return std::string(test.param.name); });

// ---- The save prompt

struct PromptCase {
    const char* name;
    ConfirmAnswer answer;
    std::optional<std::string> saveAsChoice;  // for the untitled preset
    bool reset;                               // New went on
    bool saved;
};

void PrintTo(const PromptCase& c, std::ostream* os) {
    *os << c.name;
}

class SavePrompt : public ::testing::TestWithParam<PromptCase> {};

// A ticked stage on an untitled preset, then New.
TEST_P(SavePrompt, GuardsNew) {
    const PromptCase& c = GetParam();
    AppHarness h;
    h.Start();
    ChooseChain(h);
    h.main().SetStageMark(1, true);
    ASSERT_EQ(h.program.Click("lstStages"), EventResult::Done);
    h.fake.confirmAnswers = {c.answer};
    if (c.saveAsChoice) {
        h.fake.fileAnswers = {*c.saveAsChoice == "-"
                                  ? std::optional<std::string>()
                                  : std::optional<std::string>(h.dir / *c.saveAsChoice)};
    }
    ASSERT_EQ(h.program.Click("cmdNewPreset"), EventResult::Done);
    EXPECT_EQ(h.fake.confirmations,
              (std::vector<std::string>{"Save changes to untitled preset file?"}));
    EXPECT_EQ(!h.state().Specification.Stages[1].checked, c.reset);
    EXPECT_EQ(h.state().Fields.PresetChanged, !c.reset);
    EXPECT_EQ(std::filesystem::exists(h.dir / "kept.zrp"), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SavePrompt,
    ::testing::Values(PromptCase{"Cancel", ConfirmAnswer::Cancel, std::nullopt, false, false},
                      PromptCase{"No", ConfirmAnswer::No, std::nullopt, true, false},
                      PromptCase{"YesSaved", ConfirmAnswer::Yes, "kept.zrp", true, true},
                      // A Yes whose Save As was cancelled must not discard the changes.
                      PromptCase{"YesSaveAsCancelled", ConfirmAnswer::Yes, "-", false, false},
                      // Nor one whose write failed: the target is a folder.
                      PromptCase{"YesWriteFailed", ConfirmAnswer::Yes, "work", false, false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(PresetCommands, PromptNamesTheFileAndOpeningUnchangedAsksNothing) {
    AppHarness h;
    h.Start();
    const std::string first = h.ChainPreset("first.zrp", h.input);
    const std::string second = h.ChainPreset("second.zrp");
    ASSERT_TRUE(h.main().OpenPreset(first, PresetMode::Open));
    h.fake.fileAnswers = {second};
    ASSERT_EQ(h.program.Click("cmdOpenPreset"), EventResult::Done);
    EXPECT_TRUE(h.fake.confirmations.empty());
    // The dialog starts in the folder of the most recent preset.
    ASSERT_EQ(h.fake.fileDialogs.size(), 1u);
    EXPECT_EQ(h.fake.fileDialogs[0].title, "Open Preset File");
    EXPECT_EQ(h.fake.fileDialogs[0].filter, "Preset Files (*.zrp)|*.zrp");
    EXPECT_EQ(h.fake.fileDialogs[0].defaultExtension, ".zrp");
    EXPECT_EQ(h.fake.fileDialogs[0].initialFolder, h.dir.path());

    h.state().Specification.Programs[0]->CheckBoxes[0].CheckClick();
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel};
    ASSERT_EQ(h.program.Click("cmdNewPreset"), EventResult::Done);
    EXPECT_EQ(h.fake.confirmations, (std::vector<std::string>{"Save changes to second.zrp?"}));
    EXPECT_EQ(h.main().Caption, "second.zrp - Kestrune");
    EXPECT_EQ(h.state().RecentPresetList, (std::vector<std::string>{second, first}));
}

TEST(PresetCommands, SaveOnAnUntitledPresetIsSaveAsAndCancelKeepsItChanged) {
    AppHarness h;
    h.Start();
    ChooseChain(h);
    h.state().Specification.Programs[0]->CheckBoxes[0].CheckClick();
    ASSERT_EQ(h.program.Click("cmdToolSavePreset"), EventResult::Done);  // the dialog is cancelled
    ASSERT_EQ(h.fake.fileDialogs.size(), 1u);
    EXPECT_EQ(h.fake.fileDialogs[0].title, "Save Preset File As");
    EXPECT_TRUE(h.state().PresetFileName.empty());
    EXPECT_TRUE(h.state().Fields.PresetChanged);
    EXPECT_FALSE(h.main().cmdSavePreset.enabled);
}

TEST(PresetCommands, ImportedPresetAsksToSaveTheUntitledPresetAtClose) {
    AppHarness h;
    h.Start();
    ChooseChain(h);
    h.fake.fileAnswers = {h.ChainPreset("a.zrp")};
    ASSERT_EQ(h.program.Click("cmdImportPreset"), EventResult::Done);
    EXPECT_FALSE(h.main().cmdSavePreset.enabled);
    EXPECT_TRUE(h.state().RecentPresetList.empty());
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel};
    EXPECT_FALSE(h.main().FormClose());
    EXPECT_EQ(h.fake.confirmations,
              (std::vector<std::string>{"Save changes to untitled preset file?"}));
}

// A preset must not be overwritten with the programs of a specification read only in part.
TEST(PresetCommands, PresetOverAPartlyReadSpecificationOpensUntitled) {
    AppHarness h;
    h.dir.Write("SpecFiles/Chain.zrs", testing::ReadFixture("app/PartlyReadChain.zrs"));
    h.Start();
    const std::string preset = h.ChainPreset("a.zrp", h.input);
    ASSERT_TRUE(h.main().OpenPreset(preset, PresetMode::Open));
    EXPECT_EQ(h.main().Caption, "untitled.zrp - Kestrune");
    EXPECT_TRUE(h.state().PresetFileName.empty());
    EXPECT_FALSE(h.main().cmdSavePreset.enabled);
    ASSERT_EQ(h.fake.messages.size(), 2u);
    EXPECT_EQ(h.fake.messages[0].title, "Kestrune Error");
    EXPECT_EQ(h.fake.messages[1].title, "Information");
    EXPECT_EQ(h.fake.messages[1].text.rfind(preset + " was opened as an untitled preset", 0), 0u);
    ASSERT_EQ(h.program.Click("cmdToolSavePreset"), EventResult::Done);
    EXPECT_EQ(h.fake.fileDialogs.back().title, "Save Preset File As");
}

// ---- First show

TEST(FirstShow, OneArgumentOpensItsLongPathAndAMissingOneOpensNothing) {
    AppHarness h;
    const std::string recent = h.ChainPreset("recent.zrp", h.input);
    const std::string argument = h.ChainPreset("arg.zrp");
    h.dir.Write("Config/config.ini", "RecentPreset = " + recent + "\r\n");
    h.fake.longPaths[h.dir / "ARG~1.ZRP"] = argument;
    std::filesystem::copy_file(argument, h.dir / "ARG~1.ZRP");
    h.Start({h.dir / "ARG~1.ZRP"});
    EXPECT_EQ(h.state().PresetFileName, argument);
    EXPECT_EQ(h.state().RecentPresetList.front(), argument);
    EXPECT_FALSE(h.state().Fields.PresetChanged);

    AppHarness missing;
    missing.dir.Write("Config/config.ini",
                      "RecentPreset = " + missing.ChainPreset("r.zrp") + "\r\n");
    missing.Start({"/no/such.zrp"});
    EXPECT_EQ(missing.fake.messages,
              (std::vector<testing::RecordedMessage>{{"Error", "File not found: /no/such.zrp"}}));
    EXPECT_TRUE(missing.state().PresetFileName.empty());
    EXPECT_FALSE(missing.state().Specification.HasSpecification());

    // An argument of any length is quoted cut to a readable message.
    AppHarness longArgument;
    longArgument.Start({"/no/" + std::string(5000, 'y')});
    EXPECT_EQ(longArgument.MessageTexts(),
              (std::vector<std::string>{"File not found: /no/" + std::string(296, 'y') +
                                        "\xE2\x80\xA6"}));
}

TEST(FirstShow, SeveralArgumentsOpenTheRecentPresetAndTheRecentInputFile) {
    AppHarness h;
    const std::string recent = h.ChainPreset("recent.zrp");  // names no input file
    h.dir.Write("Config/config.ini",
                "RecentPreset = " + recent + "\r\nRecentFile = " + h.input + "\r\n");
    h.Start({"a", "b"});
    EXPECT_EQ(h.state().PresetFileName, recent);
    EXPECT_EQ(h.state().Input.InputFile, h.input);
    EXPECT_FALSE(h.state().Fields.PresetChanged);
    EXPECT_TRUE(h.main().FirstShowDone);
    // Later shows (a restore from the tray) repeat nothing.
    h.main().cmdNewPresetClick();
    h.main().FormShow();
    EXPECT_TRUE(h.state().PresetFileName.empty());
}

// ---- Input file, stages, tabs

TEST(InputFile, PartsCaptionsAndTheRememberTick) {
    struct Case {
        const char* path;
        const char* name;
        const char* ext;
        const char* compile;
        const char* view;
    };
    const Case cases[] = {
        {"/w/level1.map", "level1", "map", "&Compile level1.map", "View level1.log"},
        {"/w/a.b.c", "a.b", "c", "&Compile a.b.c", "View a.b.log"},
        {"/a.b/data", "data", "", "&Compile data", "View data.log"},
    };
    AppHarness h;
    h.Start();
    ChooseChain(h);
    EXPECT_FALSE(h.main().cmdLaunchREDAWith.visible);
    for (const Case& c : cases) {
        h.state().Fields.PresetChanged = false;
        h.main().SetInputFile(c.path);
        EXPECT_EQ(h.state().Fields.Files.InputName, c.name);
        EXPECT_EQ(h.state().Fields.Files.InputExt, c.ext);
        EXPECT_EQ(h.main().cmdTrayCompile.text, c.compile);
        EXPECT_EQ(h.main().cmdLaunchREDAWith.text, c.view);
        EXPECT_EQ(h.main().cmdTrayLaunchREDAWith.text, c.view);
        EXPECT_TRUE(h.main().cmdTrayLaunchREDAWith.visible);
        EXPECT_FALSE(h.state().Fields.PresetChanged) << "Remember File is clear";
    }
    ASSERT_EQ(h.program.Click("chkRememberFile"), EventResult::Done);
    h.state().Fields.PresetChanged = false;
    h.main().SetInputFile("/w/other.map");
    EXPECT_TRUE(h.state().Fields.PresetChanged);
    EXPECT_EQ(h.state().RecentFileList.front(), "/w/other.map");
}

TEST(InputFile, BrowseUsesTheSpecificationsFilterAndTheRecentFolder) {
    AppHarness h;
    h.Start();
    ChooseChain(h);
    h.main().SetInputFile(h.input);
    h.fake.fileAnswers = {std::nullopt};
    ASSERT_EQ(h.program.Click("cmdOpenFile"), EventResult::Done);
    ASSERT_EQ(h.fake.fileDialogs.size(), 1u);
    EXPECT_EQ(h.fake.fileDialogs[0].filter, "Maps (*.map)|*.map");
    EXPECT_EQ(h.fake.fileDialogs[0].initialFolder, h.dir / "work/");
    EXPECT_EQ(h.state().Input.InputFile, h.input);
}

TEST(Stages, ClickSyncsRunFlagsAndClearCountsOnlyRemovedMarks) {
    AppHarness h;
    h.Start();
    ChooseChain(h);
    ASSERT_EQ(h.program.Click("lstStages"), EventResult::Done);
    EXPECT_TRUE(h.state().Fields.PresetChanged)
        << "a click changes the preset even without a new mark";

    h.state().Fields.PresetChanged = false;
    ASSERT_EQ(h.program.Click("cmdStagesClear"), EventResult::Done);
    EXPECT_FALSE(h.state().Fields.PresetChanged);

    h.main().SetStageMark(0, true);
    h.main().lstStagesClick();
    EXPECT_TRUE(h.state().Specification.Programs[0]->Run);
    EXPECT_FALSE(h.state().Specification.Programs[1]->Run);
    h.state().Fields.PresetChanged = false;
    ASSERT_EQ(h.program.Click("cmdStagesClear"), EventResult::Done);
    EXPECT_TRUE(h.state().Fields.PresetChanged);
    EXPECT_FALSE(h.state().Specification.Programs[0]->Run);
    EXPECT_FALSE(h.state().Specification.Stages[0].checked);
}

TEST(Tabs, ResetAlwaysChangesAndClearEmptyFieldsOnlyWhenItClears) {
    AppHarness h;
    h.Start();
    ChooseChain(h);
    h.main().SetActiveTab(1);
    TZRComboBox& mode = h.state().Specification.Programs[1]->ComboBoxes[0];
    mode.CheckClick();
    h.state().Fields.PresetChanged = false;
    ASSERT_EQ(h.program.Click("cmdTabClearEmptyFields"), EventResult::Done);
    EXPECT_FALSE(h.state().Fields.PresetChanged);
    mode.EditChange("");
    h.state().Fields.PresetChanged = false;
    ASSERT_EQ(h.program.Click("cmdClearEmptyFields"), EventResult::Done);
    EXPECT_TRUE(h.state().Fields.PresetChanged);
    EXPECT_FALSE(mode.Checked());

    h.state().Specification.Programs[1]->CheckBoxes[0].CheckClick();
    h.state().Fields.PresetChanged = false;
    ASSERT_EQ(h.program.Click("cmdTabReset"), EventResult::Done);
    EXPECT_FALSE(h.state().Specification.Programs[1]->CheckBoxes[0].Checked());
    EXPECT_TRUE(h.state().Fields.PresetChanged);
    ASSERT_EQ(h.program.Click("cmdTabReset"), EventResult::Done);
    EXPECT_TRUE(h.state().Fields.PresetChanged);
}

// ---- Run and the log viewer

TEST(Run, WritesTheScriptStartsItAndNeedsAnExistingInputFile) {
    AppHarness h;
    h.Start();
    ASSERT_TRUE(h.main().OpenPreset(h.ChainPreset("a.zrp", h.input), PresetMode::Open));
    h.state().Specification.Programs[2]->CheckBoxes[0].CheckClick();  // Helper lends -h to Compiler
    ASSERT_EQ(h.program.Click("cmdToolRun"), EventResult::Done);
    const std::string script = h.dir / std::string(kScriptFileName);
    EXPECT_EQ(h.dir.Read(script), testing::ScriptLines("echo level1\r\n" + h.compiler + " -v -h " +
                                                       h.dir.path() + "work/level1.map\r\n"));
    ASSERT_EQ(h.fake.shellCalls.size(), 1u);
    EXPECT_EQ(h.fake.shellCalls[0].target, script);
    EXPECT_EQ(h.fake.shellCalls[0].parameters, "");

    std::filesystem::remove(h.input);
    ASSERT_EQ(h.program.Click("cmdCompile"), EventResult::Done);
    ASSERT_EQ(h.program.ChooseMenuItem("mnuRunStages", 0), EventResult::Done);
    EXPECT_EQ(h.fake.shellCalls.size(), 1u) << "no input file: nothing is run";
}

TEST(Run, SingleStageFromTheDropDownAndTheTray) {
    AppHarness h;
    h.Start();
    ASSERT_TRUE(h.main().OpenPreset(h.ChainPreset("a.zrp", h.input), PresetMode::Open));
    ASSERT_EQ(h.main().mnuRunStages.items.size(), 2u);
    EXPECT_EQ(h.main().cmdTrayRun.items[1].caption, "Linker");
    ASSERT_EQ(h.program.ChooseMenuItem("mnuRunStages", 1), EventResult::Done);
    EXPECT_EQ(h.dir.Read(std::string(kScriptFileName)),
              testing::ScriptLines("echo level1\r\n" + h.linker + " \r\n\r\n"));
    EXPECT_EQ(h.program.ChooseMenuItem("cmdTrayRun", 0), EventResult::Blocked)
        << "the tray menu exists only while the window is in the tray";
    ASSERT_EQ(h.program.Click("cmdSendToTray"), EventResult::Done);
    ASSERT_EQ(h.program.ChooseMenuItem("cmdTrayRun", 0), EventResult::Done);
    EXPECT_EQ(h.fake.shellCalls.size(), 2u);
}

struct CloseOnRunCase {
    const char* name;
    bool changed;
    std::vector<ConfirmAnswer> answers;
    std::size_t questions;
    bool closed;
};

void PrintTo(const CloseOnRunCase& c, std::ostream* os) {
    *os << c.name;
}

class CloseOnRun : public ::testing::TestWithParam<CloseOnRunCase> {};

TEST_P(CloseOnRun, ClosesAfterTheScriptStarted) {
    const CloseOnRunCase& c = GetParam();
    AppHarness h;
    h.Start();
    ASSERT_TRUE(h.main().OpenPreset(h.ChainPreset("a.zrp", h.input), PresetMode::Open));
    ASSERT_EQ(h.program.Click("cmdCloseProgramOnRun"), EventResult::Done);
    if (c.changed) {
        h.state().Specification.Programs[0]->CheckBoxes[0].CheckClick();
    }
    h.fake.confirmAnswers.assign(c.answers.begin(), c.answers.end());
    ASSERT_EQ(h.program.Click("cmdCompile"), EventResult::Done);
    EXPECT_EQ(h.fake.shellCalls.size(), 1u);
    EXPECT_EQ(h.fake.confirmations.size(), c.questions);
    EXPECT_EQ(h.main().Closed, c.closed);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CloseOnRun,
    ::testing::Values(
        CloseOnRunCase{"Unchanged", false, {}, 0, true},
        CloseOnRunCase{"Cancel", true, {ConfirmAnswer::Cancel}, 1, false},
        // No lets the close go on, whose own prompt asks again.
        CloseOnRunCase{"NoThenNo", true, {ConfirmAnswer::No, ConfirmAnswer::No}, 2, true},
        CloseOnRunCase{"NoThenCancel", true, {ConfirmAnswer::No, ConfirmAnswer::Cancel}, 2, false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(Run, MissingToolPathStopsAndTheWindowStays) {
    AppHarness h;
    h.Start();
    ASSERT_TRUE(h.main().OpenPreset(h.ChainPreset("a.zrp", h.input), PresetMode::Open));
    h.main().cmdCloseProgramOnRunClick();
    std::filesystem::remove(h.compiler);
    ASSERT_EQ(h.program.Click("cmdRunBatchFile"), EventResult::Done);
#ifdef _WIN32
    const std::string where = "";
    const std::string end = "Please set these paths up.";
#else
    // Linux: where the tool was looked for, and where the paths are set.
    const std::string where = "    tried " + h.compiler + "\r\n";
    const std::string end =
        "Please set these paths up on the Paths page of the options dialog (设置 ▸ 设置).";
#endif
    EXPECT_EQ(h.MessageTexts(),
              (std::vector<std::string>{"The path for the following groups could not be "
                                        "found:\r\nGroup = Compiler\r\n" +
                                        where + end}));
    EXPECT_TRUE(h.fake.shellCalls.empty());
    EXPECT_FALSE(h.main().Closed);
}

TEST(Run, SaveBatchAsOffersShellScriptsAndStartsNothing) {
    AppHarness h;
    h.Start();
    ASSERT_TRUE(h.main().OpenPreset(h.ChainPreset("a.zrp", h.input), PresetMode::Open));
    h.fake.fileAnswers = {h.dir / "copy.sh"};
    ASSERT_EQ(h.program.Click("cmdSaveBatchAs"), EventResult::Done);
    ASSERT_EQ(h.fake.fileDialogs.size(), 1u);
    EXPECT_EQ(h.fake.fileDialogs[0].title, "Save Batch File As");
#ifndef _WIN32
    EXPECT_EQ(h.fake.fileDialogs[0].filter, "Shell Scripts (*.sh)|*.sh");
    EXPECT_EQ(h.fake.fileDialogs[0].defaultExtension, ".sh");
#endif
    EXPECT_NE(h.dir.Read("copy.sh").find("echo level1"), std::string::npos);
    EXPECT_TRUE(h.fake.shellCalls.empty());
}

TEST(LogViewer, StartsBesideTheProgramWithTheQuotedLogPath) {
    AppHarness h;
    h.Start();
    ASSERT_TRUE(h.main().OpenPreset(h.ChainPreset("a.zrp", h.dir.Write("my work/l 1.map", "")),
                                    PresetMode::Open));
    ASSERT_EQ(h.program.Click("cmdLaunchREDA"), EventResult::Done);
    ASSERT_EQ(h.program.Click("cmdLaunchREDAWith"), EventResult::Done);
    ASSERT_EQ(h.fake.shellCalls.size(), 2u);
    EXPECT_EQ(h.fake.shellCalls[0].target, h.viewer);
    EXPECT_EQ(h.fake.shellCalls[0].parameters, "");
    EXPECT_EQ(h.fake.shellCalls[1].parameters, "\"" + h.dir.path() + "my work/l 1.log\"");

    std::filesystem::remove(h.viewer);
    ASSERT_EQ(h.program.Click("cmdLaunchREDAWith"), EventResult::Done);
    EXPECT_EQ(h.MessageTexts(), (std::vector<std::string>{h.viewer + " not found."}));
    EXPECT_EQ(h.fake.shellCalls.size(), 2u);
}

// ---- Tray and details

TEST(Tray, OnlyTheRightButtonOpensTheMenuAndRestoreBringsTheWindowBack) {
    AppHarness h;
    h.Start();
    ASSERT_EQ(h.program.Click("cmdSendToTray"), EventResult::Done);
    EXPECT_FALSE(h.main().Visible);
    EXPECT_TRUE(h.main().InTray);
    EXPECT_EQ(h.program.Click("cmdOpenPreset"), EventResult::Blocked);
    (void)h.program.TakeViewRequests();
    for (TrayMouse event : {TrayMouse::LeftButtonDown, TrayMouse::LeftDoubleClick}) {
        h.main().TrayCallback(event);
        EXPECT_EQ(h.program.TakeViewRequests(), std::vector<ViewRequest>{});
        EXPECT_FALSE(h.main().Visible);
    }
    h.main().TrayCallback(TrayMouse::RightButtonDown);
    EXPECT_EQ(h.program.TakeViewRequests(),
              (std::vector<ViewRequest>{ActivateWindow{}, PopupMenu{"mnuTray"}}));

    // Exit from the tray with a cancelled prompt: hidden, icon kept.
    h.state().Fields.PresetChanged = true;
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel};
    ASSERT_EQ(h.program.Click("cmdTrayExit"), EventResult::Done);
    EXPECT_TRUE(h.main().InTray);
    EXPECT_FALSE(h.main().Closed);

    ASSERT_EQ(h.program.Click("cmdTrayRestore"), EventResult::Done);
    EXPECT_TRUE(h.main().Visible);
    EXPECT_FALSE(h.main().InTray);
    EXPECT_EQ(h.program.Click("cmdTrayRestore"), EventResult::Blocked);
}

TEST(Tray, WithoutANotificationAreaTheWindowIsMinimisedInstead) {
    AppHarness h;
    h.fake.hasNotificationArea = false;
    h.Start();
    (void)h.program.TakeViewRequests();
    for (int click = 0; click < 2; ++click) {
        ASSERT_EQ(h.program.Click("cmdSendToTray"), EventResult::Done);
        EXPECT_EQ(h.program.TakeViewRequests(), std::vector<ViewRequest>{MinimizeWindow{}})
            << "each click minimises again";
    }
    EXPECT_TRUE(h.main().Visible);
    EXPECT_FALSE(h.main().InTray);
}

TEST(Details, ToggleHeightsFollowTheSystemVersion) {
    struct Case {
        std::pair<int, int> version;
        int toggled;
        int atStart;
    };
    for (const Case& c : {Case{{5, 0}, 452, 450}, Case{{5, 1}, 460, 460}, Case{{6, 1}, 460, 460},
                          Case{{10, 0}, 460, 460}}) {
        AppHarness h;
        h.fake.osVersion = c.version;
        h.Start();
        EXPECT_EQ(h.main().Height, std::nullopt) << "the designed size until something sets it";
        ASSERT_EQ(h.program.Click("cmdToolShowDetails"), EventResult::Done);
        EXPECT_EQ(h.main().Height, c.toggled);
        EXPECT_FALSE(h.main().cmdShowDetails.checked);
        EXPECT_FALSE(h.main().cmdToolShowDetails.checked);
        ASSERT_EQ(h.program.Click("cmdShowDetails"), EventResult::Done);
        EXPECT_EQ(h.main().Height, 582);
        EXPECT_TRUE(h.main().cmdToolShowDetails.checked);

        AppHarness start;
        start.fake.osVersion = c.version;
        start.dir.Write("Config/config.ini", "ShowDetails = False\r\n");
        start.Start();
        EXPECT_EQ(start.main().Height, c.atStart);
    }
}

// ---- Close and the event boundary

TEST(Close, CancelKeepsTheWindowAndTheSettingsAreWrittenEitherWay) {
    AppHarness h;
    h.Start();
    h.state().Fields.PresetChanged = true;
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel};
    h.program.CloseBox();
    EXPECT_FALSE(h.main().Closed);
    EXPECT_EQ(h.dir.Read("Config/config.ini").rfind("[Kestrune]\r\n", 0), 0u);

    std::filesystem::remove(h.dir / "Config/config.ini");
    std::filesystem::create_directories(h.dir / "Config/config.ini");  // cannot be written
    h.fake.confirmAnswers = {ConfirmAnswer::No};
    h.program.CloseBox();
    EXPECT_TRUE(h.main().Closed);
    ASSERT_EQ(h.fake.messages.size(), 1u);
    EXPECT_EQ(h.fake.messages[0].title, "Error");
    EXPECT_NE(h.fake.messages[0].text.find("The settings could not be saved"), std::string::npos);
}

TEST(Events, DisabledHiddenUnknownAndModalControlsCannotBeReached) {
    AppHarness h;
    h.Start();
    EXPECT_EQ(h.program.Click("cmdSavePreset"), EventResult::Disabled);
    EXPECT_EQ(h.program.Click("cmdLaunchREDAWith"), EventResult::Hidden);
    EXPECT_EQ(h.program.Click("cmdNoSuchThing"), EventResult::UnknownControl);
    EXPECT_EQ(h.program.ChooseMenuItem("cmdSpecificationsMenu", 2), EventResult::OutOfRange);
    EXPECT_EQ(h.program.ChooseMenuItem("cmdRecentFiles", 0), EventResult::Hidden);
    ASSERT_EQ(h.program.Click("cmdSetup"), EventResult::Done);
    EXPECT_EQ(h.program.Click("cmdOpenPreset"), EventResult::Blocked);
    EXPECT_EQ(h.program.Click("cmdAddPreset"), EventResult::Hidden) << "on another page";
    ASSERT_EQ(h.program.Click("cmdCancel"), EventResult::Done);
    EXPECT_EQ(h.program.Click("cmdCancel"), EventResult::Blocked);
    ASSERT_EQ(h.program.Click("cmdAboutKestrune"), EventResult::Done);
    ASSERT_EQ(h.program.Click("cmdOK"), EventResult::Done);
    EXPECT_FALSE(h.program.frmAbout.IsOpen);
    EXPECT_TRUE(h.fake.messages.empty());
}

TEST(Events, SpecificationsMenuLinksAndHelpStartTheirAddresses) {
    AppHarness h;
    h.Start();
    ASSERT_EQ(h.main().cmdSpecificationsMenu.items.size(), 2u);
    EXPECT_TRUE(h.main().cmdSpecificationsMenu.visible);
    EXPECT_FALSE(h.main().cmdLinks.visible);
    ChooseChain(h);
    EXPECT_TRUE(h.main().cmdSpecificationsMenu.items[0].checked);
    ASSERT_EQ(h.program.ChooseMenuItem("cmdLinks", 0), EventResult::Done);
    ASSERT_EQ(h.program.Click("cmdOnlineHelp"), EventResult::Done);
    ASSERT_EQ(h.fake.shellCalls.size(), 2u);
    EXPECT_EQ(h.fake.shellCalls[0].target, "http://example.org/chain");
    EXPECT_EQ(h.fake.shellCalls[1].target, kOnlineHelpAddress);
    // The other specification has no links: the menu goes.
    ASSERT_EQ(h.program.ChooseMenuItem("cmdSpecificationsMenu", 1), EventResult::Done);
    EXPECT_FALSE(h.main().cmdLinks.visible);
    EXPECT_FALSE(h.main().cmdSpecificationsMenu.items[0].checked);
}

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

// A platform whose shell runs out of memory, or fails otherwise, when asked to start a file.
class FailingShellPlatform : public testing::FakePlatform {
  public:
    void ShellOpen(const std::string&, const std::string&) override {
        if (outOfMemory) {
            throw std::bad_alloc();
        }
        throw std::runtime_error("the shell is gone");
    }
    bool outOfMemory = true;
};

TEST(Events, AnErrorEscapingAHandlerBecomesAMessageAndTheProgramGoesOn) {
    testing::TempDir dir;
    FailingShellPlatform platform;
    Kestrune program(platform, dir.path());
    program.Start({});
    ASSERT_EQ(program.Click("cmdOnlineHelp"), EventResult::Done);
    platform.outOfMemory = false;
    ASSERT_EQ(program.Click("cmdOnlineHelp"), EventResult::Done);
    EXPECT_EQ(platform.messages, (std::vector<testing::RecordedMessage>{
                                     {"Error", "Out of memory"}, {"Error", "the shell is gone"}}));
    EXPECT_TRUE(program.frmMain.Visible);
}

}  // namespace
}  // namespace kestrune
