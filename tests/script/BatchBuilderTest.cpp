#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "FileSizeLimit.h"
#include "ScriptText.h"
#include "StateParts.h"
#include "TempDir.h"
#include "base/NullPlatform.h"
#include "base/Text.h"
#include "script/BatchBuilder.h"

namespace kestrune {
namespace {

using testing::kViewerName;
using testing::ScriptLines;

namespace fs = std::filesystem;
using testing::FakePlatform;
using testing::RecordedMessage;
using testing::TempDir;
using testing::WithFileSizeLimit;

TZRGroup& AddProgram(testing::StateParts& state, const std::string& name, bool requireExe) {
    return *state.Specification.Programs.emplace_back(std::make_unique<TZRGroup>(
        state.Fields, name, requireExe, kDefaultExeFilter, name + ":", state.Specification.Tab));
}

TZRCheckBox& AddCheck(TZRGroup& group, const std::string& param, bool checked,
                      const std::string& groups = "", bool batchCommand = false) {
    TZRCheckBox& box =
        group.AddCheckBox({"Check " + param, param, groups, "", false, 1}, batchCommand);
    box.SetChecked(checked);
    return box;
}

TZREditBox& AddEdit(TZRGroup& group, const std::string& param, const std::string& text,
                    bool checked, const std::string& defaultText = "",
                    const std::string& groups = "") {
    TValue value;
    value.DefaultText = defaultText;
    TZREditBox& box = group.AddEditBox({"Edit " + param, param, groups, "", false, 1}, value);
    box.SetChecked(checked);
    box.SetText(text);
    return box;
}

// The missing-path messages. On Linux each stage's line is followed by where it was looked
// for, and the message ends with where the paths are set.
std::string WholeRunMissing(const std::vector<std::pair<std::string, std::string>>& tools) {
    std::string text = "The path for the following groups could not be found:\r\n";
    for ([[maybe_unused]] const auto& [name, searched] : tools) {
        text += "Group = " + name + "\r\n";
#ifndef _WIN32
        text += "    " + searched + "\r\n";
#endif
    }
#ifdef _WIN32
    return text + "Please set these paths up.";
#else
    return text +
           "Please set these paths up on the Paths page of the options dialog (设置 ▸ 设置).";
#endif
}

std::string StageMissing(const std::string& name, [[maybe_unused]] const std::string& searched) {
#ifdef _WIN32
    return "The path for " + name + " could not be found.";
#else
    return "The path for " + name + " could not be found (" + searched +
           ").\r\nPlease set it up on the Paths page of the options dialog (设置 ▸ 设置).";
#endif
}

// Compiler and Light, both stages; Compiler ticked with a real executable, Light not ticked.
class WorkedExample : public ::testing::Test {
  protected:
    WorkedExample() : state(dir.path()) {
        state.Fields.platform = fake;
        state.Script.ViewLogAfterCompile = true;
        state.Fields.Files.FileDest = dir / "Game/maps";
        state.Specification.LayoutLines = {
            "echo Building $FileName",
            "$ClassEXE=Compiler $ClassParam=Compiler $FilePath/$FileName.map",
            "$ClassEXE=Light $ClassParam=Light $FilePath/$FileName.bsp",
            "copy $FilePath/$FileName.bsp $FileDest",
            "$REDA $FilePath/$FileName.log",
        };
        tool = dir.Write("Tools/compile.exe", "MZ");
        state.Fields.Files.InputFolder = dir / "Work";
        state.Fields.Files.InputName = "level1";
        state.Fields.Files.InputExt = "map";
        TZRGroup& compiler = AddProgram(state, "Compiler", true);
        compiler.Run = true;
        compiler.ToolPath = tool;
        AddCheck(compiler, "-v", true);
        AddEdit(compiler, "-o", "fast", true);
        AddCheck(compiler, "-q", false);
        TZRGroup& light = AddProgram(state, "Light", true);
        AddCheck(light, "-extra", true);
        script = dir / "compile.bat";
    }

    TZRGroup& Compiler() { return *state.Specification.Programs[0]; }
    TZRGroup& Light() { return *state.Specification.Programs[1]; }

    TempDir dir;
    FakePlatform fake;
    testing::StateParts state;
    std::string tool;
    std::string script;
};

struct WorkedCase {
    const char* name;
    bool singleStage;
    bool viewLog;
};

void PrintTo(const WorkedCase& c, std::ostream* os) {
    *os << c.name;
}

class WorkedExampleTable : public WorkedExample,
                           public ::testing::WithParamInterface<WorkedCase> {};

TEST_P(WorkedExampleTable, WritesScript) {
    const WorkedCase& c = GetParam();
    state.Script.ViewLogAfterCompile = c.viewLog;
    const std::string t = dir.path();
    std::string expected = "echo Building level1\r\n" + t + "Tools/compile.exe -v -o fast " + t +
                           "Work/level1.map\r\ncopy " + t + "Work/level1.bsp " + t +
                           "Game/maps\r\n";
    if (c.viewLog) {
        expected += t + kViewerName + " " + t + "Work/level1.log\r\n";
    } else if (c.singleStage) {
        expected += "\r\n";
    }
    const bool written = c.singleStage
                             ? WriteStageBatch(state.Specification, state.Script, script, 0)
                             : WriteBatch(state.Specification, state.Script, script);
    ASSERT_TRUE(written);
    EXPECT_EQ(dir.Read(script), ScriptLines(expected));
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(Compiler().CommandLine, "-v -o fast");
}

INSTANTIATE_TEST_SUITE_P(Modes, WorkedExampleTable,
                         ::testing::Values(WorkedCase{"WholeRunLogOn", false, true},
                                           WorkedCase{"WholeRunLogOff", false, false},
                                           WorkedCase{"SingleStageLogOn", true, true},
                                           WorkedCase{"SingleStageLogOff", true, false}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(WorkedExample, TickedLightWithoutPathBlocksOnlyWholeRun) {
    Light().Run = true;
    EXPECT_FALSE(WriteBatch(state.Specification, state.Script, script));
    EXPECT_FALSE(fs::exists(script));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0],
              (RecordedMessage{"Error", WholeRunMissing({{"Light", "no path is set"}})}));
    EXPECT_TRUE(WriteStageBatch(state.Specification, state.Script, script, 0));
    EXPECT_EQ(fake.messages.size(), 1u);
}

// A model no window or command line was given still refuses and still writes: its platform is
// the silent one, so a refusal is told to nobody rather than to a missing platform.
TEST_F(WorkedExample, WithoutAPlatformRefusesQuietlyAndWritesTheSameScript) {
    state.Fields.platform = SilentPlatform();
    Light().Run = true;
    EXPECT_FALSE(WriteBatch(state.Specification, state.Script, script));
    EXPECT_FALSE(fs::exists(script));
    EXPECT_FALSE(WriteStageBatch(state.Specification, state.Script, script, 1));
    EXPECT_FALSE(WriteStageBatch(state.Specification, state.Script, script, 2));
    ASSERT_TRUE(WriteStageBatch(state.Specification, state.Script, script, 0));
    const std::string t = dir.path();
    EXPECT_EQ(dir.Read(script),
              ScriptLines("echo Building level1\r\n" + t + "Tools/compile.exe -v -o fast " + t +
                          "Work/level1.map\r\ncopy " + t + "Work/level1.bsp " + t +
                          "Game/maps\r\n" + t + kViewerName + " " + t + "Work/level1.log\r\n"));
    EXPECT_TRUE(fake.messages.empty());
}

// A stage that does not exist writes nothing and tells nothing.
TEST_F(WorkedExample, StageOutOfRangeWritesNothingAndShowsNoMessage) {
    std::ostringstream out;
    EXPECT_FALSE(WriteStageBatchTo(state.Specification, state.Script, out, 2));
    EXPECT_FALSE(WriteStageBatch(state.Specification, state.Script, script, 7));
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(fs::exists(script));
    EXPECT_TRUE(fake.messages.empty());
}

#ifndef _WIN32
// A tool named without a folder is found in PATH, as the shell finds it, and written as given.
TEST_F(WorkedExample, BareToolNameIsFoundInPathAndWrittenAsGiven) {
    const std::string bin = dir / "bin";
    fs::permissions(dir.Write("bin/mycc", "#!/bin/sh\n"), fs::perms::owner_all);
    const char* saved = std::getenv("PATH");
    const std::string previous = saved != nullptr ? saved : "";
    Compiler().ToolPath = "mycc";
    state.Specification.LayoutLines = {"$ClassEXE=Compiler $ClassParam=Compiler"};

    ::setenv("PATH", (dir / "none:" + bin).c_str(), 1);
    const bool whole = WriteBatch(state.Specification, state.Script, script);
    const std::string written = whole ? dir.Read(script) : "";
    const bool stage = WriteStageBatch(state.Specification, state.Script, script, 0);
    ::setenv("PATH", (dir / "none").c_str(), 1);
    const bool missing = WriteBatch(state.Specification, state.Script, script);
    const bool stageMissing = WriteStageBatch(state.Specification, state.Script, script, 0);
    ::setenv("PATH", previous.c_str(), 1);

    EXPECT_TRUE(whole);
    EXPECT_TRUE(stage);
    EXPECT_EQ(written, "mycc -v -o fast\n");
    EXPECT_FALSE(missing);
    EXPECT_FALSE(stageMissing);
    EXPECT_EQ(fake.messages,
              (std::vector<RecordedMessage>{
                  {"Error", WholeRunMissing({{"Compiler", "tried " + dir.path() + "none/mycc"}})},
                  {"Error", StageMissing("Compiler", "tried " + dir.path() + "none/mycc")}}));
}
#endif

TEST_F(WorkedExample, SecondRunWritesSameBytes) {
    ASSERT_TRUE(WriteBatch(state.Specification, state.Script, script));
    const std::string first = dir.Read(script);
    ASSERT_TRUE(WriteBatch(state.Specification, state.Script, script));
    EXPECT_EQ(dir.Read(script), first);
}

TEST_F(WorkedExample, FailedPathCheckChangesNothing) {
    const std::string previous = "previous\r\nscript\r\n";
    dir.Write("compile.bat", previous);
    AddEdit(Compiler(), "-level", "", true, "3");
    Compiler().CommandLine = "old";
    state.Fields.PresetChanged = false;
    TZRGroup& packer = AddProgram(state, "Packer", true);
    packer.Run = true;
    packer.ToolPath = dir.path() + "Tools";  // a folder is no executable
    TZRGroup& zipper = AddProgram(state, "Zipper", true);
    zipper.Run = true;
    zipper.ToolPath = dir / "Tools/zip.exe";
    TZRGroup& helper = AddProgram(state, "Helper", false);  // never a stage
    helper.Run = true;
    Light().Run = true;

    EXPECT_FALSE(WriteBatch(state.Specification, state.Script, script));
    EXPECT_EQ(
        fake.messages,
        (std::vector<RecordedMessage>{
            {"Error", WholeRunMissing({{"Light", "no path is set"},
                                       {"Packer", "tried " + dir.path() + "Tools"},
                                       {"Zipper", "tried " + dir.path() + "Tools/zip.exe"}})}}));
    EXPECT_EQ(dir.Read(script), previous);
    EXPECT_EQ(Compiler().CommandLine, "old");
    EXPECT_TRUE(Compiler().EditBoxes.back().Checked());
    EXPECT_FALSE(state.Fields.PresetChanged);
}

TEST_F(WorkedExample, StagePathCheckLooksAtChosenProgramOnly) {
    Compiler().ToolPath = dir / "Tools/missing.exe";
    Compiler().Run = false;
    EXPECT_FALSE(WriteStageBatch(state.Specification, state.Script, script, 0));
    Light().Run = false;
    EXPECT_FALSE(WriteStageBatch(state.Specification, state.Script, script, 1));
    EXPECT_EQ(fake.messages,
              (std::vector<RecordedMessage>{
                  {"Error", StageMissing("Compiler", "tried " + dir.path() + "Tools/missing.exe")},
                  {"Error", StageMissing("Light", "no path is set")}}));
    EXPECT_FALSE(fs::exists(script));

    // Light alone is checked for its own run, although Compiler's path is still missing.
    Light().ToolPath = tool;
    EXPECT_TRUE(WriteStageBatch(state.Specification, state.Script, script, 1));
    const std::string t = dir.path();
    EXPECT_EQ(dir.Read(script),
              ScriptLines("echo Building level1\r\n" + t + "Tools/compile.exe -extra " + t +
                          "Work/level1.bsp\r\ncopy " + t + "Work/level1.bsp " + t +
                          "Game/maps\r\n" + t + kViewerName + " " + t + "Work/level1.log\r\n"));
}

TEST_F(WorkedExample, StageIndexOutOfRangeWritesNothing) {
    EXPECT_FALSE(WriteStageBatch(state.Specification, state.Script, script, 2));
    EXPECT_FALSE(
        WriteStageBatch(state.Specification, state.Script, script, static_cast<std::size_t>(-1)));
    EXPECT_FALSE(fs::exists(script));
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(WorkedExample, EmptyLayoutGivesEmptyFile) {
    dir.Write("compile.bat", "old contents\r\n");
    state.Specification.LayoutLines.clear();
    ASSERT_TRUE(WriteBatch(state.Specification, state.Script, script));
    EXPECT_EQ(dir.Read(script), "");
    ASSERT_TRUE(WriteStageBatch(state.Specification, state.Script, script, 0));
    EXPECT_EQ(dir.Read(script), "");
}

TEST_F(WorkedExample, BatchCommandLinesBecomeScriptLines) {
    AddCheck(Compiler(), "del tmp\r\necho done", true, "", true);
    state.Specification.LayoutLines = {"$ClassEXE=Compiler $ClassParam=Compiler", "echo end"};
    ASSERT_TRUE(WriteBatch(state.Specification, state.Script, script));
    // Check boxes come before edit boxes, so the edit's switch ends the batch command's line.
    // The batch lines join with the script's own line end; a break inside the parameter stays.
    EXPECT_EQ(Compiler().CommandLine, ScriptLines("-v\r\n") + "del tmp\r\necho done -o fast");
    EXPECT_EQ(dir.Read(script), ScriptLines(tool + " -v\r\n") + "del tmp\r\necho done -o fast" +
                                    ScriptLines("\r\necho end\r\n"));
}

TEST_F(WorkedExample, EmptyFieldsClearedBeforeCommandLines) {
    TZREditBox& level = AddEdit(Compiler(), "-level", "", true, "3");
    TZREditBox& lightLevel = AddEdit(Light(), "-bounce", "", true, "8", "Compiler");
    state.Fields.PresetChanged = false;

    ASSERT_TRUE(WriteStageBatch(state.Specification, state.Script, script, 0));
    EXPECT_FALSE(level.Checked());
    EXPECT_EQ(level.Text(), "3");
    EXPECT_TRUE(lightLevel.Checked());  // another program's fields are not cleared
    EXPECT_TRUE(state.Fields.PresetChanged);
    // Light's edit stays ticked, but the stage's line is what the whole run would give: an
    // empty field lends nothing.
    EXPECT_EQ(Compiler().CommandLine, "-v -o fast");

    state.Fields.PresetChanged = false;
    ASSERT_TRUE(WriteBatch(state.Specification, state.Script, script));
    EXPECT_FALSE(lightLevel.Checked());
    EXPECT_EQ(lightLevel.Text(), "8");
    EXPECT_TRUE(state.Fields.PresetChanged);
    EXPECT_EQ(Compiler().CommandLine, "-v -o fast");
}

// Main is lent to by three programs: one whose second ticked field lends nothing, one that
// lends only to another program, and one that names it in other letter case.
class Lending : public ::testing::Test {
  protected:
    Lending() : state(dir.path()) {
        state.Fields.platform = fake;
        exe = dir.Write("bin/tool.exe", "");
        TZRGroup& main = AddProgram(state, "Main", true);
        main.Run = true;
        main.ToolPath = exe;
        AddCheck(main, "-own", true, "Main,Other");
        TZRGroup& first = AddProgram(state, "First", false);
        AddCheck(first, "-x", true, "main");
        AddCheck(first, "-y", true, "");
        TZRGroup& second = AddProgram(state, "Second", false);
        AddCheck(second, "-z", true, "Other");
        TZRGroup& third = AddProgram(state, "Third", false);
        AddCheck(third, "-no", false, "Main");
        AddEdit(third, "-w", "9", true, "", "MAIN");
        TZRGroup& other = AddProgram(state, "Other", true);
        other.Run = true;
        other.ToolPath = exe;
        state.Specification.LayoutLines = {"$ClassEXE=Main $ClassParam=Main",
                                           "\"$ClassEXE='Other'\" [$ClassParam=Other]"};
    }

    TempDir dir;
    FakePlatform fake;
    testing::StateParts state;
    std::string exe;
};

TEST_F(Lending, DirectedFragmentsKeepTheirBlanks) {
    ASSERT_TRUE(WriteBatch(state.Specification, state.Script, dir / "run.bat"));
    EXPECT_EQ(state.Specification.Programs[0]->CommandLine, "-own -x   -w 9");
    EXPECT_EQ(state.Specification.Programs[1]->CommandLine, "-x -y");
    EXPECT_EQ(state.Specification.Programs[4]->CommandLine, "-own  -z");
    EXPECT_EQ(dir.Read("run.bat"),
              ScriptLines(exe + " -own -x   -w 9\r\n\"" + exe + "\" [-own  -z]\r\n"));
}

TEST_F(Lending, CommandLineTrimmedAtBothEnds) {
    TZRGroup& main = *state.Specification.Programs[0];
    main.CheckBoxes.front().SetChecked(false);
    AddEdit(main, "", " \t lead", true);
    AddEdit(*state.Specification.Programs[3], "", "\t  tail ", true, "", "Main");
    ComputeCommandLine(state.Specification, 0);
    EXPECT_EQ(main.CommandLine, "lead -x   -w 9 \t  tail");

    main.EditBoxes.front().SetChecked(false);
    ComputeCommandLine(state.Specification, 0);
    EXPECT_EQ(main.CommandLine, "-x   -w 9 \t  tail");
    ComputeCommandLine(state.Specification, 99);  // out of range: ignored
}

TEST_F(Lending, SingleStageSelectsLinesNamingTheStage) {
    state.Specification.Programs[4]->CommandLine = "stale";
    state.Specification.LayoutLines = {
        "echo start",
        "$ClassEXE=Main $ClassParam=Main",
        "$CLASSEXE='main' quoted",
        "$ClassEXE=Other",
        "$ClassParam=Main",
        "echo $ClassEXE=Other and $ClassEXE=Main $ClassParam=Other",
        "$ClassEXE=Mainframe",
        "$REDA",
    };
    ASSERT_TRUE(WriteStageBatch(state.Specification, state.Script, dir / "stage.bat", 0));
    // Every command line is today's, as in the whole run, never the last build's.
    EXPECT_EQ(state.Specification.Programs[4]->CommandLine, "-own  -z");
    EXPECT_EQ(dir.Read("stage.bat"), ScriptLines("echo start\r\n" + exe + " -own -x   -w 9\r\n" +
                                                 exe + " quoted\r\necho " + exe + " and " + exe +
                                                 " -own  -z\r\n" + exe + "frame\r\n\r\n"));
}

// A single stage keeps the lines that compute options of programs that are no stage, and
// every command line in it is today's, as in the whole run.
struct StageLineCase {
    const char* name;
    const char* line;
    const char* written;  // the stage's script, "{exe}" standing for the tool; null: left out
};

void PrintTo(const StageLineCase& c, std::ostream* os) {
    *os << c.name;
}

class SingleStageLines : public ::testing::TestWithParam<StageLineCase> {
  protected:
    SingleStageLines() : state(dir.path()) {
        state.Fields.platform = fake;
        exe = dir.Write("bin/convert", "");
        TZRGroup& convert = AddProgram(state, "Convert", true);
        convert.ToolPath = exe;
        AddEdit(convert, "-resize", "50%", true);
        TZRGroup& tint = AddProgram(state, "Tint", false);
        AddCheck(tint, "0.1 0.5 0.8", true);
        TZRGroup& helper = AddProgram(state, "Helper", false);
        AddCheck(helper, "-h", true, "Convert");
        AddEdit(helper, "-e", "", true);  // ticked and empty: counts as unticked
        TZRGroup& optimise = AddProgram(state, "Optimise", true);
        optimise.ToolPath = exe;
        optimise.Run = true;
        AddCheck(optimise, "-o2", true);
        // Left from an earlier build: never written into today's script.
        for (const auto& program : state.Specification.Programs) {
            program->CommandLine = "stale";
        }
    }

    TempDir dir;
    FakePlatform fake;
    testing::StateParts state;
    std::string exe;
};

TEST_P(SingleStageLines, WrittenOrLeftOut) {
    const StageLineCase& c = GetParam();
    state.Specification.LayoutLines = {c.line};
    const ScriptPreview preview = PreviewStageBatch(state.Specification, state.Script, 0);
    ASSERT_EQ(preview.lines.size(), 1u);
    ASSERT_TRUE(WriteStageBatch(state.Specification, state.Script, dir / "stage.sh", 0));
    const std::string written = dir.Read("stage.sh");
    if (c.written == nullptr) {
        EXPECT_EQ(preview.lines[0].fate, LineFate::OtherProgram);
        EXPECT_EQ(written, "");
    } else {
        EXPECT_EQ(preview.lines[0].fate, LineFate::Written);
        EXPECT_EQ(written, ReplaceAllNoCase(c.written, "{exe}", exe) + std::string(kScriptLineEnd));
    }
    EXPECT_EQ(preview.text, written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleStageLines,
    ::testing::Values(
        StageLineCase{"OptionProgram", "tint=$(echo \"$ClassParam=Tint\")",
                      "tint=$(echo \"0.1 0.5 0.8\")"},
        StageLineCase{"OptionProgramQuotedForm", "t=$classparam='tint'.", "t=0.1 0.5 0.8."},
        StageLineCase{"TwoOptionPrograms", "$ClassParam=Tint/$ClassParam=Helper", "0.1 0.5 0.8/-h"},
        StageLineCase{"TheStageWithLentOptions", "$ClassEXE=Convert $ClassParam=Convert",
                      "{exe} -resize 50% -h"},
        StageLineCase{"TheStageAndAnOptionProgram", "$ClassEXE='Convert' $ClassParam=Tint",
                      "{exe} 0.1 0.5 0.8"},
        StageLineCase{"AnotherStagesExecutable", "$ClassEXE=Optimise $ClassParam=Optimise",
                      nullptr},
        StageLineCase{"AnotherStagesOptions", "echo $ClassParam=Optimise", nullptr},
        StageLineCase{"OptionProgramBesideAStagesOptions", "$ClassParam=Tint $ClassParam=Optimise",
                      nullptr},
        StageLineCase{"TheStagesOptionsWithoutItsExecutable", "echo $ClassParam=Convert", nullptr},
        StageLineCase{"AnotherStagesExecutableBesideOptions", "$ClassEXE=Optimise $ClassParam=Tint",
                      nullptr},
        StageLineCase{"NoProgramOfThatName", "echo $ClassParam=Nobody", nullptr},
        StageLineCase{"NoProgramNamed", "echo plain", "echo plain"}));

// The stage's script uses the option programs' command lines of today even when the stage
// ran before with other values.
TEST_F(SingleStageLines, OptionsChangedAfterARunReachTheNextRun) {
    state.Specification.LayoutLines = {"tint=$ClassParam=Tint", "$ClassEXE=Convert"};
    ASSERT_TRUE(WriteStageBatch(state.Specification, state.Script, dir / "stage.sh", 0));
    EXPECT_EQ(dir.Read("stage.sh"), ScriptLines("tint=0.1 0.5 0.8\r\n" + exe + "\r\n"));
    state.Specification.Programs[1]->CheckBoxes.front().SetChecked(false);
    ASSERT_TRUE(WriteStageBatch(state.Specification, state.Script, dir / "stage.sh", 0));
    EXPECT_EQ(dir.Read("stage.sh"), ScriptLines("tint=\r\n" + exe + "\r\n"));
    // Only the stage's own empty fields are cleared.
    EXPECT_TRUE(state.Specification.Programs[2]->EditBoxes.front().Checked());
}

// A write that fails must report it and keep the previous script byte for byte.
class WriteFailure : public WorkedExample, public ::testing::WithParamInterface<bool> {
  protected:
    bool Write(const std::string& path) {
        return GetParam() ? WriteStageBatch(state.Specification, state.Script, path, 0)
                          : WriteBatch(state.Specification, state.Script, path);
    }
};

TEST_P(WriteFailure, MissingFolder) {
    const std::string path = dir / "missing/compile.bat";
    EXPECT_FALSE(Write(path));
    EXPECT_EQ(fake.messages,
              (std::vector<RecordedMessage>{
                  {"Error", "Cannot create file \"" + path + "\". No such file or directory"}}));
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST_P(WriteFailure, TargetIsFolder) {
    dir.Write("compile.bat/keep.txt", "kept");
    EXPECT_FALSE(Write(script));
    EXPECT_EQ(fake.messages,
              (std::vector<RecordedMessage>{
                  {"Error", "Cannot create file \"" + script + "\". Is a directory"}}));
    EXPECT_TRUE(fs::is_directory(script));
    EXPECT_EQ(dir.Read("compile.bat/keep.txt"), "kept");
}

TEST_P(WriteFailure, FullDisk) {
    const std::string previous = "previous script\r\n";
    dir.Write("compile.bat", previous);
    const std::string report = WithFileSizeLimit(8, [&] {
        std::string text = Write(script) ? "written" : "refused";
        for (const RecordedMessage& message : fake.messages) {
            text += "|" + message.title + "|" + message.text;
        }
        return text;
    });
    EXPECT_EQ(report, "refused|Error|Cannot write file \"" + script + "\". File too large");
    EXPECT_EQ(dir.Read(script), previous);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Tools", "compile.bat"}));
}

INSTANTIATE_TEST_SUITE_P(Variants, WriteFailure, ::testing::Values(false, true),
                         [](const auto& test) {
                             return std::string(test.param ? "StageBatch" : "WholeBatch");
                         });

}  // namespace
}  // namespace kestrune
