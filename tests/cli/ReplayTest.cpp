#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "CliApp.h"
#include "CliRun.h"
#include "ScriptText.h"
#include "TempDir.h"
#include "base/FileIo.h"
#include "base/Paths.h"

#ifdef _WIN32
// Windows has no setenv; _putenv_s sets a variable, and with an empty value removes it.
static int setenv(const char* name, const char* value, int) {
    return _putenv_s(name, value);
}
static int unsetenv(const char* name) {
    return _putenv_s(name, "");
}
#endif

namespace kestrune::cli {
namespace {

using kestrune::testing::ScriptLines;
using kestrune::testing::TempDir;
using nlohmann::json;

std::string Crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

const std::string kSpec = Crlf({
    "Setup = Chain",
    "{",
    "Author = Someone",
    "Program = Game",
    "Link = example.org|Home",
    "Layout:",
    "echo $FileName",
    "$ClassEXE=Compiler $ClassParam=Compiler $FilePath/$FileName.map",
    "$ClassEXE=Light $ClassParam=Light",
    "}",
    "Group = Compiler",
    "{",
    "RequireExe = true",
    "CheckBox = Verbose",
    "{",
    "Param = -v",
    "Hint = Says more.",
    "}",
    "EditBox = Level",
    "{",
    "Param = -l",
    "Type = int",
    "Default = 3",
    "}",
    "ComboBox = Quality",
    "{",
    "Param = -q",
    "Default = Normal",
    "Options = Fast,0|Normal,1",
    "}",
    "BrowseBox = Textures",
    "{",
    "Param = -t",
    "Type = path",
    "}",
    "ColorBox = Ambient",
    "{",
    "Param = -a",
    "Color = 0 0 255",
    "}",
    "}",
    "Group = Light",
    "{",
    "RequireExe = true",
    "CheckBox = Fast",
    "{",
    "Param = -fast",
    "}",
    "}",
});

// A program folder with one specification, its tools, an input file and a preset naming it.
struct Home {
    TempDir dir;
    std::string spec = dir.Write("SpecFiles/Chain.zrs", kSpec);
    std::string compiler = dir.Write("tools/compile.exe", "");
    std::string light = dir.Write("tools/light.exe", "");
    std::string input = dir.Write("work/level1.map", "");
    std::string toolPaths =
        dir.Write("Config/Chain.path", Crlf({"BasePath = /base", "FileDest = /dest",
                                             "Compiler = " + compiler, "Light = " + light}));
    std::string preset = dir.Write(
        "p.zrp", Crlf({"ZRP200", "", "[Header]", "SpecFile = Chain.zrs", "File = " + input, "",
                       "[Class = Compiler]", "Run = True", "[Field = Verbose]", "Checked = False",
                       "[Field = Level]", "Checked = True", "Value = 7", "", "[Class = Light]",
                       "Run = False", "[Field = Fast]", "Checked = False", ""}));
};

struct ReplayRun : testing::CliRun {
    // The dumps printed so far, one JSON value per line.
    std::vector<json> Dumps() const {
        std::vector<json> dumps;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);) {
            dumps.push_back(json::parse(line));
        }
        return dumps;
    }
    json Last() const {
        const std::vector<json> dumps = Dumps();
        return dumps.empty() ? json() : dumps.back();
    }
};

ReplayRun Replay(const TempDir& home, std::string_view script) {
    const std::string path = home.Write("script.txt", script);
    return {testing::RunCli({"replay", path}, home.path())};
}

// Opens the home's specification from the Specifications menu.
const std::string kLoad = "menu cmdSpecificationsMenu 0\n";

// ---- Reading the script

struct ParseCase {
    std::string name;
    std::string script;
    std::string err;  // the whole of standard error
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplayParse : public ::testing::TestWithParam<ParseCase> {};

// A bad line stops the script before its first step runs: closing would write the settings.
TEST_P(ReplayParse, ABadLineStopsTheScriptBeforeAnythingRuns) {
    Home home;
    const ParseCase& c = GetParam();
    const ReplayRun r = Replay(home.dir, "close\n" + c.script);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(FileExists(home.dir / "Config/config.ini"));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReplayParse,
    ::testing::Values(
        ParseCase{"UnknownStep", "\n# note\nbogus 1\n",
                  "kestrune-cli: line 4: bogus 1: unknown step \"bogus\"\n"},
        ParseCase{"MissingArgument", "click\n", "kestrune-cli: line 2: click: usage: click NAME\n"},
        ParseCase{"ExtraArgument", "dump now\n", "kestrune-cli: line 2: dump now: usage: dump\n"},
        ParseCase{"LetterInNumber", "tab 1x\n",
                  "kestrune-cli: line 2: tab 1x: \"1x\" is not a whole number\n"},
        ParseCase{"FractionIsNoIndex", "menu cmdLinks 1.5\n",
                  "kestrune-cli: line 2: menu cmdLinks 1.5: \"1.5\" is not a whole number\n"},
        ParseCase{"PlusSign", "stage +1 on\n",
                  "kestrune-cli: line 2: stage +1 on: \"+1\" is not a whole number\n"},
        ParseCase{"HugeNumber", "tab 99999999999\n",
                  "kestrune-cli: line 2: tab 99999999999: \"99999999999\" is not a whole number\n"},
        ParseCase{"StartNotFirst", "start\n",
                  "kestrune-cli: line 2: start: start must be the first step\n"},
        ParseCase{"OpenQuote", "click \"cmdOK\n",
                  "kestrune-cli: line 2: click \"cmdOK: a double quote is not closed\n"},
        ParseCase{"QuoteInsideWord", "file a\"b\n",
                  "kestrune-cli: line 2: file a\"b: a double quote inside a word; quote the "
                  "whole word\n"},
        ParseCase{"TextAfterClosingQuote", "file \"a\"b\n",
                  "kestrune-cli: line 2: file \"a\"b: a closing double quote must end its word\n"},
        ParseCase{"UnknownAnswer", "answer maybe\n",
                  "kestrune-cli: line 2: answer maybe: usage: answer yes|no|cancel|ok\n"},
        ParseCase{"ColourComponentTooBig", "color 1 2 256\n",
                  "kestrune-cli: line 2: color 1 2 256: a colour component runs from 0 to 255\n"},
        ParseCase{"ColourWithTwoComponents", "color 1 2\n",
                  "kestrune-cli: line 2: color 1 2: usage: color R G B|-\n"},
        ParseCase{"StageMark", "stage 0 yes\n",
                  "kestrune-cli: line 2: stage 0 yes: usage: stage INDEX on|off\n"},
        ParseCase{"UnknownFieldKind", "field 0 boxes 0 tick\n",
                  "kestrune-cli: line 2: field 0 boxes 0 tick: unknown field kind \"boxes\" "
                  "(checkBoxes, editBoxes, comboBoxes, browseBoxes, colorBoxes)\n"},
        ParseCase{"UnknownFieldAction", "field 0 editBoxes 0 poke\n",
                  "kestrune-cli: line 2: field 0 editBoxes 0 poke: unknown field action "
                  "\"poke\" (tick, type, pick, leave, browse, hover)\n"},
        ParseCase{"TypeWithoutText", "field 0 editBoxes 0 type\n",
                  "kestrune-cli: line 2: field 0 editBoxes 0 type: usage: field P KIND I type "
                  "TEXT\n"},
        ParseCase{"CheckBoxHasNoValue", "field 0 checkBoxes 0 type x\n",
                  "kestrune-cli: line 2: field 0 checkBoxes 0 type x: checkBoxes fields have no "
                  "value control to type\n"},
        ParseCase{"PickNeedsACombo", "field 0 editBoxes 0 pick 1\n",
                  "kestrune-cli: line 2: field 0 editBoxes 0 pick 1: editBoxes fields have no "
                  "value control to pick\n"},
        ParseCase{"SetOtherControl", "set txtBase x\n",
                  "kestrune-cli: line 2: set txtBase x: usage: set sldTrancparency|numRecentFiles "
                  "VALUE\n"},
        ParseCase{"TrayEvent", "tray middle\n",
                  "kestrune-cli: line 2: tray middle: usage: tray right|left|double\n"},
        ParseCase{
            "NulByte", std::string("click cmd\0OK\n", 13),
            std::string("kestrune-cli: line 2: click cmd\0OK: the line holds a NUL byte\n", 62)},
        ParseCase{"BinaryBytes", "\x7f\x45LF\x02\x01\xff\n",
                  "kestrune-cli: line 2: \x7f\x45LF\x02\x01\xff: unknown step "
                  "\"\x7f\x45LF\x02\x01\xff\"\n"}),
    [](const ::testing::TestParamInfo<ParseCase>& test) { return test.param.name; });

TEST(ReplayScript, QuotesCommentsBlanksAndCrLfLineEnds) {
    Home home;
    const ReplayRun r = Replay(home.dir, "start\r\n\r\n   # a comment\r\n\t" + kLoad +
                                             "field 0 editBoxes 0 tick\r\n"
                                             "field  0\teditBoxes 0 type \"a \"\"b\"\"  c\" \r\n"
                                             "field 0 comboBoxes 0 tick\r\n"
                                             "field 0 comboBoxes 0 type \"\"\r\n"
                                             "dump\r\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const json state = r.Last();
    EXPECT_EQ(state["programs"][0]["editBoxes"][0]["text"], "a \"b\"  c");
    EXPECT_EQ(state["programs"][0]["comboBoxes"][0]["text"], "");
}

TEST(ReplayScript, WithoutAStartStepTheProgramStartsWithNoArguments) {
    Home home;
    const ReplayRun r = Replay(home.dir, "dump\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.Last()["caption"], "Kestrune");
    EXPECT_EQ(r.Last()["menus"]["cmdSpecificationsMenu"],
              json::parse(R"([{"caption":"Chain","checked":false}])"));
    EXPECT_EQ(Replay(home.dir, "").code, 0);
}

TEST(ReplayScript, AScriptThatCannotBeReadExitsOne) {
    TempDir dir;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunWith({"replay", dir / "none.txt"}, dir.path(), out, err), 1);
    EXPECT_EQ(err.str(), "kestrune-cli: script not found: " + (dir / "none.txt") + "\n");

    std::ostringstream folderErr;
    EXPECT_EQ(RunWith({"replay", dir.path()}, dir.path(), out, folderErr), 1);
    EXPECT_EQ(folderErr.str(), "kestrune-cli: script not found: " + dir.path() + "\n");
    EXPECT_EQ(out.str(), "");
}

TEST(ReplayScript, WrongCommandLinesExitTwo) {
    TempDir dir;
    const std::string script = dir.Write("s.txt", "dump\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"replay"},
                                                 {"replay", script, script},
                                                 {"replay", "--x", script}}) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunWith(args, dir.path(), out, err), 2) << args.size();
        EXPECT_NE(err.str().find("Usage:"), std::string::npos);
    }
}

// ---- Steps that cannot be carried out

struct StepCase {
    std::string name;
    std::string script;  // run after the specification was loaded
    std::string err;     // the whole of standard error
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplayFailingStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(ReplayFailingStep, NamesTheLineTheStepAndWhatWasWrong) {
    Home home;
    const StepCase& c = GetParam();
    const ReplayRun r = Replay(home.dir, kLoad + c.script + "dump\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out, "");  // the steps after the failing one do not run
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReplayFailingStep,
    ::testing::Values(
        StepCase{"UnknownControl", "click cmdFly\n",
                 "kestrune-cli: line 2: click cmdFly: no control or menu of that name\n"},
        StepCase{"DisabledControl", "click cmdSavePreset\n",
                 "kestrune-cli: line 2: click cmdSavePreset: the control is disabled\n"},
        StepCase{"HiddenControl", "click cmdLaunchREDAWith\n",
                 "kestrune-cli: line 2: click cmdLaunchREDAWith: the control is not shown\n"},
        StepCase{"BlockedByTheOptionsDialog", "click cmdSetup\nclick cmdNewPreset\n",
                 "kestrune-cli: line 3: click cmdNewPreset: its window cannot be reached now\n"},
        StepCase{"OptionsControlOnAnotherPage", "click cmdSetup\nclick cmdAddPreset\n",
                 "kestrune-cli: line 3: click cmdAddPreset: the control is not shown\n"},
        StepCase{"MenuIndexOutOfRange", "menu cmdLinks 1\n",
                 "kestrune-cli: line 2: menu cmdLinks 1: the menu has no entry at that index\n"},
        StepCase{"NegativeMenuIndex", "menu cmdLinks -1\n",
                 "kestrune-cli: line 2: menu cmdLinks -1: the menu has no entry at that index\n"},
        StepCase{"TabOutOfRange", "tab 2\n",
                 "kestrune-cli: line 2: tab 2: there is no program tab at that index\n"},
        StepCase{"StageOutOfRange", "stage 2 on\n",
                 "kestrune-cli: line 2: stage 2 on: the stages list has no entry at that index\n"},
        StepCase{"StageBehindTheAboutBox", "click cmdAboutKestrune\nstage 0 on\n",
                 "kestrune-cli: line 3: stage 0 on: its window cannot be reached now\n"},
        StepCase{"ProgramOutOfRange", "field 2 checkBoxes 0 tick\n",
                 "kestrune-cli: line 2: field 2 checkBoxes 0 tick: there is no program at that "
                 "index\n"},
        StepCase{"FieldOutOfRange", "field 1 editBoxes 0 tick\n",
                 "kestrune-cli: line 2: field 1 editBoxes 0 tick: the program has no field of "
                 "that kind at that index\n"},
        StepCase{"ValueOfAnUntickedField", "field 0 editBoxes 0 type 5\n",
                 "kestrune-cli: line 2: field 0 editBoxes 0 type 5: the control is disabled\n"},
        StepCase{"OptionOutOfRange", "field 0 comboBoxes 0 tick\nfield 0 comboBoxes 0 pick 2\n",
                 "kestrune-cli: line 3: field 0 comboBoxes 0 pick 2: the combo box has no option "
                 "at that index\n"},
        StepCase{"SliderWithoutTheDialog", "set sldTrancparency 10\n",
                 "kestrune-cli: line 2: set sldTrancparency 10: its window cannot be reached "
                 "now\n"},
        StepCase{"SliderOnThePathsPage", "click cmdSetup\nclick tabPaths\nset numRecentFiles 3\n",
                 "kestrune-cli: line 4: set numRecentFiles 3: the control is not shown\n"},
        StepCase{"ToolRowOutOfRange", "click cmdSetup\nclick tabPaths\nselect lstToolPaths 2\n",
                 "kestrune-cli: line 4: select lstToolPaths 2: the list has no row at that "
                 "index\n"},
        StepCase{"TrayWhileShown", "tray right\n",
                 "kestrune-cli: line 2: tray right: the window is not in the tray\n"},
        StepCase{"NoFileQueued", "click cmdOpenPreset\n",
                 "kestrune-cli: line 2: click cmdOpenPreset: no file queued for the open dialog "
                 "\"Open Preset File\"\n"},
        StepCase{"NoFolderQueued", "field 0 browseBoxes 0 tick\nfield 0 browseBoxes 0 browse\n",
                 "kestrune-cli: line 3: field 0 browseBoxes 0 browse: no file queued for the "
                 "folder dialog \"Select A Folder:\"\n"},
        StepCase{"NoColourQueued", "field 0 colorBoxes 0 tick\nfield 0 colorBoxes 0 browse\n",
                 "kestrune-cli: line 3: field 0 colorBoxes 0 browse: no colour queued for the "
                 "colour dialog\n"},
        StepCase{"NoAnswerQueued", "stage 0 on\nclick cmdNewPreset\n",
                 "Confirm: Save changes to untitled preset file?\n"
                 "kestrune-cli: line 3: click cmdNewPreset: no answer queued for the box \"Save "
                 "changes to untitled preset file?\"\n"},
        StepCase{"OkForAQuestion", "stage 0 on\nanswer ok\nclick cmdNewPreset\n",
                 "Confirm: Save changes to untitled preset file?\n"
                 "kestrune-cli: line 4: click cmdNewPreset: the queued answer \"ok\" does not "
                 "fit the Yes/No/Cancel box \"Save changes to untitled preset file?\"\n"},
        StepCase{"CloseAfterTheEnd", "close\nclose\n",
                 "kestrune-cli: line 3: close: the program has ended\n"},
        StepCase{"ClickAfterTheEnd", "close\nclick cmdSetup\n",
                 "kestrune-cli: line 3: click cmdSetup: its window cannot be reached now\n"}),
    [](const ::testing::TestParamInfo<StepCase>& test) { return test.param.name; });

// ---- What the steps do

struct EffectCase {
    std::string name;
    std::string script;  // run after the specification was loaded, before a dump
    std::string pointer;
    json expected;
};

void PrintTo(const EffectCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplayStepEffect : public ::testing::TestWithParam<EffectCase> {};

TEST_P(ReplayStepEffect, ReachesTheHandler) {
    Home home;
    const EffectCase& c = GetParam();
    const ReplayRun r = Replay(home.dir, kLoad + c.script + "dump\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.Last()[json::json_pointer(c.pointer)], c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ReplayStepEffect,
    ::testing::Values(
        EffectCase{"Tab", "tab 1\n", "/activeTab", 1},
        EffectCase{"ReloadKeepsTheFormsValues",
                   "field 0 editBoxes 0 tick\nfield 0 editBoxes 0 type 7\n"
                   "click cmdReloadSpecification\n",
                   "/programs/0/editBoxes/0/text", "7"},
        EffectCase{"StageOnThenOff", "stage 0 on\nstage 1 on\nstage 0 off\n", "/stages",
                   json::parse(R"([{"caption":"Compiler","checked":false},
                                   {"caption":"Light","checked":true}])")},
        EffectCase{"StageMarksTheRun", "stage 1 on\n", "/programs/1/run", true},
        EffectCase{"ChosenColour",
                   "field 0 colorBoxes 0 tick\ncolor 255 128 0\nfield 0 colorBoxes 0 browse\n",
                   "/programs/0/colorBoxes/0/color", 0x0080FF},
        EffectCase{"CancelledColour",
                   "field 0 colorBoxes 0 tick\ncolor -\nfield 0 colorBoxes 0 browse\n",
                   "/programs/0/colorBoxes/0/color", 255},
        EffectCase{"ChosenFolder",
                   "field 0 browseBoxes 0 tick\nfile \"/t x\"\nfield 0 browseBoxes 0 browse\n",
                   "/programs/0/browseBoxes/0/text", "/t x"},
        EffectCase{"CancelledFolder",
                   "field 0 browseBoxes 0 tick\nfield 0 browseBoxes 0 type /a\nfile -\n"
                   "field 0 browseBoxes 0 browse\n",
                   "/programs/0/browseBoxes/0/text", "/a"},
        EffectCase{"LeavingAComboTakesTheOptionsSpelling",
                   "field 0 comboBoxes 0 tick\nfield 0 comboBoxes 0 type fAST\n"
                   "field 0 comboBoxes 0 leave\n",
                   "/programs/0/comboBoxes/0/text", "Fast"},
        EffectCase{"LeavingANumberRoundsIt",
                   "field 0 editBoxes 0 tick\nfield 0 editBoxes 0 type 7.6\n"
                   "field 0 editBoxes 0 leave\n",
                   "/programs/0/editBoxes/0/text", "8"},
        EffectCase{"ToolRow", "click cmdSetup\nclick tabPaths\nselect lstToolPaths 1\n",
                   "/options/lblBrowseTool", "Light Path:"},
        EffectCase{"RecentCountStopsAtTwelve", "click cmdSetup\nset numRecentFiles 20\n",
                   "/options/recentText", "12"},
        EffectCase{"AboutBox", "click cmdAboutKestrune\n", "/about/lblSpecName", "Name: Chain"},
        EffectCase{"CloseBoxOfTheAboutBox", "click cmdAboutKestrune\nclose\n", "/about/open",
                   false},
        EffectCase{"Link", "menu cmdLinks 0\n", "/started/0/file", "http://example.org"}),
    [](const ::testing::TestParamInfo<EffectCase>& test) { return test.param.name; });

// ---- The dump

TEST(ReplayDump, HasExactlyTheDocumentedKeys) {
    Home home;
    const ReplayRun r = Replay(home.dir, "dump\n");
    ASSERT_EQ(r.code, 0) << r.err;
    const json state = r.Last();
    std::vector<std::string> keys;
    for (const auto& [key, value] : state.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"about", "activeTab", "caption", "closed", "controls",
                                              "details", "inTray", "inputFile", "menus", "messages",
                                              "options", "presetChanged", "presetFileName",
                                              "programs", "stages", "started", "window"}));
    EXPECT_EQ(state["window"], json::parse(R"({"left":282,"top":90,"height":null,"opacity":255})"));
    EXPECT_EQ(state["options"],
              json::parse(R"({"open":false,"page":0,"sliderTip":"Alpha = 255","recentText":"4",
                              "toolRows":[],"presets":[],"txtToolPath":"","txtBase":"",
                              "txtFile":"","lblBrowseTool":"Tool Path:",
                              "lblBrowseGame":"Base Path:"})"));
    EXPECT_EQ(state["about"]["open"], false);
    EXPECT_EQ(state["about"]["lblSpecName"], "Name:");
    EXPECT_EQ(state["controls"]["cmdSavePreset"],
              json::parse(R"({"caption":"保存设置","enabled":false,"visible":true,
                              "checked":false})"));
    EXPECT_EQ(state["controls"]["cmdOK"]["caption"], "&OK");
    EXPECT_EQ(state["controls"]["frmAbout.cmdOK"]["caption"], "OK");
    EXPECT_EQ(state["controls"]["frmOptions.txtFile"]["caption"], "");
    EXPECT_EQ(state["controls"].size(), 97u);
}

TEST(ReplayDump, MessagesRecordTheirAnswersAndInvalidUtf8IsReplaced) {
    Home home;
    const ReplayRun r = Replay(home.dir,
                               "start \"/no/\xff.zrp\"\n"
                               "answer ok\n"
                               "click cmdLaunchREDA\n"
                               "click cmdShowDetails\n"
                               "dump\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "Error: File not found: /no/\xff.zrp\nError: " + home.dir.path() +
                         std::string(kLogViewerFileName) + " not found.\n");
    const json state = r.Last();
    EXPECT_EQ(
        state["messages"],
        json::array({{{"title", "Error"},
                      {"text", "File not found: /no/\xEF\xBF\xBD.zrp"},
                      {"answer", nullptr}},
                     {{"title", "Error"},
                      {"text", home.dir.path() + std::string(kLogViewerFileName) + " not found."},
                      {"answer", "ok"}}}));
    EXPECT_EQ(state["window"]["height"], 460);
    EXPECT_EQ(state["controls"]["cmdShowDetails"]["checked"], false);
}

TEST(ReplayDump, TheAssociationIsWrittenForTheWindowBesideTheTool) {
    Home home;
    const char* previous = std::getenv("XDG_DATA_HOME");
    const std::string saved = previous != nullptr ? previous : "";
    ::setenv("XDG_DATA_HOME", (home.dir / "data").c_str(), 1);
    const ReplayRun r = Replay(home.dir, "click cmdSetup\nclick cmdZRPFiles\n");
    if (previous != nullptr) {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "Information: Association complete.\n");
    const std::string entry = home.dir.Read("data/applications/kestrune.desktop");
    EXPECT_NE(entry.find("Exec=\"" + home.dir.path() + "kestrune\" %f\n"), std::string::npos)
        << entry;
}

TEST(ReplayDump, TheTrustQuestionIsAnsweredLikeAnyOtherBox) {
    Home home;
    const std::string stranger = home.dir.Write(
        "stranger.zrp", Crlf({"ZRP200", "", "[Header]", "SpecFile = Chain.zrs",
                              "File = " + home.input, "", "[Class = Compiler]", "Run = True",
                              "[Field = Textures]", "Checked = True", "Value = /t;id", ""}));
    // Cancel runs nothing; "no" is the second button, Trust This Preset, and the third Run
    // no longer asks.
    const ReplayRun r = Replay(home.dir, "start " + stranger +
                                             "\nanswer cancel\nclick cmdCompile\nanswer no\n"
                                             "click cmdCompile\nclick cmdCompile\ndump\n");
    ASSERT_EQ(r.code, 0) << r.err;
    const json state = r.Last();
    ASSERT_EQ(state["messages"].size(), 2u) << r.err;
    EXPECT_EQ(state["messages"][0]["title"], "Run This Preset?");
    EXPECT_EQ(state["messages"][0]["answer"], "cancel");
    EXPECT_EQ(state["messages"][1]["answer"], "no");
    EXPECT_EQ(state["started"].size(), 2u);
#ifdef _WIN32
    // Shown and trusted as Windows writes the path.
    const std::string shown = std::filesystem::path(stranger).make_preferred().string();
#else
    const std::string shown = stranger;
#endif
    EXPECT_EQ(r.err.rfind("Run This Preset?: The preset " + shown, 0), 0u) << r.err;
    EXPECT_NE(home.dir.Read("Config/TrustedPresets.txt").find(" " + shown + "\r\n"),
              std::string::npos);
}

// ---- A whole session

TEST(ReplaySession, OpenEditSaveRunOptionsTrayAndClose) {
    Home home;
    const std::string saved = home.dir / "saved.zrp";
    const ReplayRun r = Replay(home.dir,
                               "start\n"
                               "file " +
                                   home.preset +
                                   "\n"
                                   "click cmdOpenPreset\n"
                                   "field 0 checkBoxes 0 tick\n"
                                   "field 0 checkBoxes 0 hover\n"
                                   "field 0 editBoxes 0 type 12\n"
                                   "field 0 comboBoxes 0 tick\n"
                                   "field 0 comboBoxes 0 pick 0\n"
                                   "dump\n"
                                   "answer cancel\n"
                                   "click cmdNewPreset\n"
                                   "file " +
                                   saved +
                                   "\n"
                                   "click cmdSavePresetAs\n"
                                   "dump\n"
                                   "click cmdCompile\n"
                                   "click cmdSetup\n"
                                   "set sldTrancparency 55\n"
                                   "click cmdOK\n"
                                   "click cmdSendToTray\n"
                                   "tray right\n"
                                   "dump\n"
                                   "click cmdTrayRestore\n"
                                   "field 1 checkBoxes 0 tick\n"
                                   "answer no\n"
                                   "click cmdNewPreset\n"
                                   "close\n"
                                   "dump\n");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "Confirm: Save changes to p.zrp?\nConfirm: Save changes to saved.zrp?\n");
    const std::vector<json> dumps = r.Dumps();
    ASSERT_EQ(dumps.size(), 4u);

    // Edited, not yet saved.
    const json& edited = dumps[0];
    EXPECT_EQ(edited["caption"], "p.zrp - Kestrune");
    EXPECT_EQ(edited["presetFileName"], home.preset);
    EXPECT_EQ(edited["presetChanged"], true);
    EXPECT_EQ(edited["inputFile"], home.input);
    EXPECT_EQ(edited["details"], "    Says more.");
    EXPECT_EQ(edited["stages"], json::parse(R"([{"caption":"Compiler","checked":true},
                                                {"caption":"Light","checked":false}])"));
    const json& compiler = edited["programs"][0];
    EXPECT_EQ(compiler["run"], true);
    EXPECT_EQ(compiler["checkBoxes"][0]["checked"], true);
    EXPECT_EQ(compiler["editBoxes"][0]["text"], "12");
    EXPECT_EQ(compiler["comboBoxes"][0]["text"], "Fast");
    EXPECT_EQ(edited["controls"]["cmdCompile"]["enabled"], true);
    EXPECT_EQ(edited["menus"]["cmdRecentPresets"], json::array({home.preset}));
    EXPECT_EQ(edited["menus"]["mnuRunStages"], json::parse(R"(["Compiler","Light"])"));
    EXPECT_EQ(edited["menus"]["cmdLinks"],
              json::parse(R"([{"caption":"Home","address":"http://example.org"}])"));

    // Cancel kept the edits; Save As wrote them under the new name.
    const json& savedState = dumps[1];
    EXPECT_EQ(savedState["caption"], "saved.zrp - Kestrune");
    EXPECT_EQ(savedState["presetFileName"], saved);
    EXPECT_EQ(savedState["presetChanged"], false);
    EXPECT_EQ(savedState["programs"][0]["editBoxes"][0]["text"], "12");
    EXPECT_EQ(home.dir.Read("saved.zrp"), Crlf({"ZRP200",
                                                "",
                                                "[Header]",
                                                "SpecFile = Chain.zrs",
                                                "File = " + home.input,
                                                "",
                                                "[Class = Compiler]",
                                                "Run = True",
                                                "[Field = Verbose]",
                                                "Checked = True",
                                                "[Field = Level]",
                                                "Checked = True",
                                                "Value = 12",
                                                "[Field = Quality]",
                                                "Checked = True",
                                                "Value = Fast",
                                                "[Field = Textures]",
                                                "Checked = False",
                                                "Value = ",
                                                "[Field = Ambient]",
                                                "Checked = False",
                                                "Value = 1 0 0",
                                                "",
                                                "[Class = Light]",
                                                "Run = False",
                                                "[Field = Fast]",
                                                "Checked = False",
                                                ""}));

    // Run wrote the script and asked for it to be started; OK applied the slider.
    const json& inTray = dumps[2];
    const std::string script = home.dir.path() + std::string(kScriptFileName);
    EXPECT_EQ(inTray["started"], json::array({{{"file", script}, {"params", ""}}}));
    EXPECT_EQ(home.dir.Read(std::string(kScriptFileName)),
              ScriptLines(Crlf({"echo level1", home.compiler + " -v -l 12 -q 0 " + home.dir.path() +
                                                   "work/level1.map"})));
    EXPECT_EQ(inTray["window"]["opacity"], 200);
    EXPECT_EQ(inTray["options"]["sliderTip"], "Alpha = 200");
    EXPECT_EQ(inTray["options"]["open"], false);
    EXPECT_EQ(inTray["inTray"], true);
    EXPECT_EQ(inTray["controls"]["cmdTrayCompile"]["caption"], "&Compile level1.map");

    // No discarded the tick; closing wrote the settings.
    const json& closed = dumps[3];
    EXPECT_EQ(closed["inTray"], false);
    EXPECT_EQ(closed["closed"], true);
    EXPECT_EQ(closed["caption"], "untitled.zrp - Kestrune");
    EXPECT_EQ(closed["programs"][1]["checkBoxes"][0]["checked"], false);
    EXPECT_EQ(closed["messages"],
              json::parse(R"([{"title":"Confirm","text":"Save changes to p.zrp?",
                               "answer":"cancel"},
                              {"title":"Confirm","text":"Save changes to saved.zrp?",
                               "answer":"no"}])"));
    EXPECT_EQ(home.dir.Read("Config/config.ini"),
              Crlf({"[Kestrune]", "RecentFiles = 4", "Opacity = 200", "ViewLogAfterCompile = False",
                    "CloseProgramOnRun = False", "ShowDetails = True", "", "[Position]", "Top = 90",
                    "Left = 282", "", "[Recent Presets]", "RecentPreset = " + home.preset,
                    "RecentPreset = " + saved, "", "[Recent Files]", "RecentFile = " + home.input,
                    "", "[Presets]"}));
}

}  // namespace
}  // namespace kestrune::cli
