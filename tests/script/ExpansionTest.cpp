#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "FakePlatform.h"
#include "ScriptText.h"
#include "StateParts.h"
#include "fields/ShellQuoting.h"
#include "script/Expansion.h"

namespace kestrune {
namespace {

using testing::kViewerName;
using testing::ScriptLines;

using testing::FakePlatform;

TZRGroup& AddProgram(testing::StateParts& state, const std::string& name, bool requireExe,
                     std::string toolPath, std::string commandLine, bool run) {
    auto& program = state.Specification.Programs.emplace_back(std::make_unique<TZRGroup>(
        state.Fields, name, requireExe, kDefaultExeFilter, name + ":", state.Specification.Tab));
    program->ToolPath = std::move(toolPath);
    program->CommandLine = std::move(commandLine);
    program->Run = run;
    return *program;
}

// Tool and Tool2 share a name prefix; Light is an unticked stage whose command line names
// Helper, a later program without an executable whose own command line holds variables that
// earlier steps have already passed.
class ExpansionTest : public ::testing::Test {
  protected:
    ExpansionTest() : state("/prog") {
        state.Fields.platform = fake;
        state.Script.ViewLogAfterCompile = true;
        state.Fields.Files.BasePath = "/base";
        state.Fields.Files.FileDest = "/dest/$Version";
        state.Fields.Files.InputFolder = "/w";
        state.Fields.Files.InputName = "level1";
        state.Fields.Files.InputExt = "map";
        AddProgram(state, "Tool", true, "/t/tool.exe", "-t", true);
        AddProgram(state, "Tool2", true, "/t/tool2.exe", "-t2", true);
        AddProgram(state, "Light", true, "/t/light.exe", "-l $ClassParam='Helper'", false);
        AddProgram(state, "Helper", false, "/t/helper.exe", "-h $ClassEXE=Tool $DateTime", false);
    }

    FakePlatform fake;
    testing::StateParts state;
};

struct ExpandCase {
    const char* name;
    const char* line;
    ExpandMode mode;
    bool viewLog;
    const char* expected;
};

void PrintTo(const ExpandCase& c, std::ostream* os) {
    *os << c.name;
}

constexpr ExpandMode kWhole = ExpandMode::WholeRun;
constexpr ExpandMode kSingle = ExpandMode::SingleStage;
constexpr bool kCmd = kScriptShell == ScriptShell::Cmd;

const ExpandCase kCases[] = {
    {"PlainTextUnchanged", "echo hello world", kWhole, true, "echo hello world"},
    {"FileVariablesAnyCase", "$BASEPATH|$filepath|$FileName|$FILEEXT", kWhole, true,
     "/base|/w|level1|map"},
    {"VariableInsideWord", "x$FileNamey", kWhole, true, "xlevel1y"},
    // The destination holds a "$", so for /bin/sh it goes in quoted, and the later step still
    // finds its variable inside the quotes; "$" means nothing to cmd.exe.
    {"InsertedFileDestMatchedByVersion", "copy a $FileDest", kWhole, true,
     kCmd ? "copy a /dest/2.0.3.1" : "copy a '/dest/2.0.3.1'"},
    {"DateTime", "at $datetime.", kWhole, true, "at 07.12.2026 20:48:16."},
    {"Version", "v$VERSION", kWhole, true, "v2.0.3.1"},
    // The viewer is the program folder's, joined with the system's separator.
    {"RedaWithLogOn", "$REDA $FilePath/$FileName.log", kWhole, true,
     kCmd ? "/prog\\{viewer} /w/level1.log" : "/prog/{viewer} /w/level1.log"},
    {"RedaInsideWordWithLogOn", "$redaX", kSingle, true,
     kCmd ? "/prog\\{viewer}X" : "/prog/{viewer}X"},
    {"RedaDroppedWholeRun", "$REDA $FilePath/$FileName.log", kWhole, false, ""},
    {"RedaDroppedSingleStage", "$REDA $FilePath/$FileName.log", kSingle, false, ""},
    {"RedaMixedCaseInWordDropped", "echo x$rEdAviewer", kWhole, false, ""},
    {"LogOffLeavesOtherLines", "echo $FileName", kWhole, false, "echo level1"},
    {"ExeUnquotedFollowedByQuote", "\"$ClassEXE=Tool\" -go", kWhole, true, "\"/t/tool.exe\" -go"},
    {"ExeLowerCaseName", "$classexe=tool", kWhole, true, "/t/tool.exe"},
    {"ExePrefixMatchesEarlierProgram", "$ClassEXE=Tool2", kWhole, true, "/t/tool.exe2"},
    {"ExeQuotedNamesLongerName", "$ClassEXE='Tool2'", kWhole, true, "/t/tool2.exe"},
    {"ExeBothFormsKeepQuoted", "$ClassEXE=Tool $ClassEXE='Tool'", kWhole, true,
     "/t/tool.exe $ClassEXE='Tool'"},
    {"ParamBothFormsKeepQuoted", "$ClassParam=Helper/$ClassParam='Helper'", kWhole, true,
     "-h $ClassEXE=Tool $DateTime/$ClassParam='Helper'"},
    {"ParamQuoted", "$ClassParam='Tool2'", kWhole, true, "-t2"},
    {"ParamTakenByShorterNameThenQuoted", "$ClassParam=Tool2 $ClassParam='Tool2'", kWhole, true,
     "-t2 -t2"},
    {"UntickedStageDropped", "$ClassEXE=Light $ClassParam=Light", kWhole, true, ""},
    {"UntickedStageQuotedDropped", "echo $ClassEXE='light'", kWhole, true, ""},
    {"UntickedStageDropsLineNamingTickedToo", "$ClassEXE=Tool & $ClassEXE=Light", kWhole, true, ""},
    {"UntickedStageExpandedInSingleStage", "$ClassEXE=Light $ClassParam=Light", kSingle, true,
     "/t/light.exe -l -h $ClassEXE=Tool $DateTime"},
    {"UntickedStageParamOnlyKept", "$ClassParam=Light", kWhole, true,
     "-l -h $ClassEXE=Tool $DateTime"},
    {"NonStageExeNeverReplaced", "$ClassEXE=Helper $ClassEXE='Helper'", kWhole, true,
     "$ClassEXE=Helper $ClassEXE='Helper'"},
    {"UnknownProgramUnchanged", "$ClassParam=Nobody $ClassEXE=Nobody", kWhole, true,
     "$ClassParam=Nobody $ClassEXE=Nobody"},
    {"UnknownDollarWordsUnchanged", "$Foo $FilePathX $", kSingle, true, "$Foo /wX $"},
};

class ExpandLineTable : public ExpansionTest, public ::testing::WithParamInterface<ExpandCase> {};

TEST_P(ExpandLineTable, Expands) {
    const ExpandCase& c = GetParam();
    state.Script.ViewLogAfterCompile = c.viewLog;
    std::string expected = c.expected;
    if (const std::size_t at = expected.find("{viewer}"); at != std::string::npos) {
        expected.replace(at, 8, kViewerName);
    }
    EXPECT_EQ(ExpandLine(state.Specification, state.Script, c.line, c.mode), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpandLineTable, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(ExpansionTest, CommandLineBreaksPassThrough) {
    state.Specification.Programs[0]->CommandLine = "-t\r\ndel tmp\r\necho done";
    EXPECT_EQ(
        ExpandLine(state.Specification, state.Script, "$ClassEXE=Tool $ClassParam=Tool", kWhole),
        "/t/tool.exe -t\r\ndel tmp\r\necho done");
}

TEST_F(ExpansionTest, LeavesStateAlone) {
    ExpandLine(state.Specification, state.Script, "$ClassEXE=Tool $ClassParam=Light $DateTime",
               kWhole);
    EXPECT_EQ(state.Specification.Programs[2]->CommandLine, "-l $ClassParam='Helper'");
    EXPECT_EQ(state.Fields.Files.FileDest, "/dest/$Version");
    EXPECT_FALSE(state.Fields.PresetChanged);
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(ExpansionTest, DateTimeWithoutPlatformIsEmpty) {
    state.Fields.platform = SilentPlatform();
    EXPECT_EQ(ExpandLine(state.Specification, state.Script, "[$DateTime] $Version", kWhole),
              "[] 2.0.3.1");
}

TEST_F(ExpansionTest, UnnamedProgramMatchesNoVariable) {
    AddProgram(state, "", true, "/t/anon.exe", "-anon", false);
    std::rotate(state.Specification.Programs.begin(), state.Specification.Programs.end() - 1,
                state.Specification.Programs.end());
    // An unticked unnamed stage drops nothing, and a ticked one takes over no other name.
    EXPECT_EQ(ExpandLine(state.Specification, state.Script, "$ClassEXE=Tool2 $ClassParam='Tool2'",
                         kWhole),
              "/t/tool.exe2 -t2");
    state.Specification.Programs.front()->Run = true;
    EXPECT_EQ(ExpandLine(state.Specification, state.Script, "$ClassEXE=Nobody $ClassParam=Nobody",
                         kWhole),
              "$ClassEXE=Nobody $ClassParam=Nobody");
}

// Inserted text that completes a variable with the text around it, or holds one, names the
// programs after the one inserting it.
TEST_F(ExpansionTest, VariablesFormedByInsertedTextNameLaterPrograms) {
    AddProgram(state, "Name", false, "", "Tool", true);
    AddProgram(state, "Rest", false, "", "ssParam=Tool2", true);
    std::rotate(state.Specification.Programs.begin(), state.Specification.Programs.end() - 2,
                state.Specification.Programs.end());
    const std::pair<const char*, const char*> cases[] = {
        {"$ClassParam=$ClassParam=Name", "-t"},
        {"$Cla$ClassParam=Rest", "-t2"},
        {"$ClassParam=Name $ClassParam=Name", "Tool Tool"},
        {"$ClassParam=Name$ClassParam=Rest", "ToolssParam=Tool2"},
        {"$ClassParam=Tool $ClassParam=Name", "-t Tool"},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(ExpandLine(state.Specification, state.Script, line, kWhole), expected) << line;
    }
}

}  // namespace
}  // namespace kestrune
