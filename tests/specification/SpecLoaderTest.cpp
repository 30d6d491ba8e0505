#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <string>
#include <vector>

#include "SpecTestSupport.h"
#include "base/FileIo.h"

namespace kestrune {
namespace {

using testing::CrLfLines;
using testing::FixturePath;
using testing::ReadFixture;
using testing::RecordedMessage;
using testing::SpecHarness;

const std::string kSetup = CrLfLines({"setup = Demo", "{", "}"});  // lines 1 to 3

struct SyntaxCase {
    const char* name;
    std::string text;
    std::string message;
};

void PrintTo(const SyntaxCase& c, std::ostream* os) {
    *os << c.name;
}

class SpecSyntaxErrors : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(SpecSyntaxErrors, ShowsTheMessageWithTheLineNumberAndStops) {
    SpecHarness h;
    h.state.Fields.Files.BasePath = "before";
    h.dir.Write("Config/test.path", "BasePath = from file\r\n");
    h.Load(GetParam().text);
    const std::vector<RecordedMessage> expected = {{"Kestrune Error", GetParam().message}};
    EXPECT_EQ(h.fake.messages, expected);
    EXPECT_EQ(h.state.Fields.Files.BasePath,
              "before");  // the tool path file is not read after an error
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpecSyntaxErrors,
    ::testing::Values(
        SyntaxCase{"HeaderWithoutEquals", CrLfLines({"", "// note", "setup Demo", "{"}),
                   "Expected: \"=\", got: setup Demo\r\nLine: 3"},
        SyntaxCase{"FirstKeyNotSetup", CrLfLines({"name = Demo", "{", "}"}),
                   "Expected: \"Setup\", got: name = Demo\r\nLine: 1"},
        SyntaxCase{"BlankLineAfterSetupHeader", CrLfLines({"Setup = Demo", "", "{", "}"}),
                   "Expected: \"{\", got: \r\nLine: 2"},
        SyntaxCase{"SetupBraceWithText", CrLfLines({"setup = Demo", "{ author = x", "}"}),
                   "Expected: \"{\", got: { author = x\r\nLine: 2"},
        SyntaxCase{"SetupBodyWithoutEquals", CrLfLines({"setup = Demo", "{", "author Me", "}"}),
                   "Expected: \"=\", got: author Me\r\nLine: 3"},
        SyntaxCase{"BraceInsideSetupBody", CrLfLines({"setup = Demo", "{", "{", "}"}),
                   "Expected: \"=\", got: {\r\nLine: 3"},
        SyntaxCase{"KeyAfterSetupNotGroup", kSetup + CrLfLines({"", "author = Me // late"}),
                   "Expected: \"Group\", got: author = Me\r\nLine: 5"},
        SyntaxCase{"GroupHeaderWithoutEquals", kSetup + CrLfLines({"Group Tools", "{", "}"}),
                   "Expected: \"=\", got: Group Tools\r\nLine: 4"},
        SyntaxCase{"StrayClosingBrace", kSetup + CrLfLines({"}"}),
                   "Expected: \"=\", got: }\r\nLine: 4"},
        SyntaxCase{"BlankLineAfterGroupHeader", kSetup + CrLfLines({"group = A", "  // x", "{"}),
                   "Expected: \"{\", got: \r\nLine: 5"},
        SyntaxCase{"GroupKeyInsideGroup",
                   kSetup + CrLfLines({"group = A", "{", "group = B", "{", "}", "}"}),
                   "Expected: \"=\", got: {\r\nLine: 7"},
        SyntaxCase{"ElementWithoutBrace",
                   kSetup + CrLfLines({"group = A", "{", "checkbox = V", "param = -v", "}"}),
                   "Expected: \"{\", got: param = -v\r\nLine: 7"},
        SyntaxCase{"ElementBlockLineWithoutEquals",
                   kSetup + CrLfLines({"group = A", "{", "editbox = E", "{", "", "param", "}"}),
                   "Expected: \"=\", got: param\r\nLine: 9"},
        SyntaxCase{"BraceAfterLabelBox",
                   kSetup + CrLfLines({"group = A", "{", "labelbox = L", "{", "}"}),
                   "Expected: \"=\", got: {\r\nLine: 7"},
        SyntaxCase{"NestedElementKeyword",
                   kSetup + CrLfLines({"group = A", "{", "checkbox = V", "{", "checkbox = W", "{",
                                       "}", "}"}),
                   "Expected: \"=\", got: {\r\nLine: 9"},
        SyntaxCase{"BraceInsideHint",
                   kSetup + CrLfLines({"group = A", "{", "colorbox = C", "{", "hint = h", "more",
                                       "{", "}"}),
                   "Unexpected start of new object. (Did you miss a \"{\"?)\r\nLine: 10"}),
    [](const auto& test) { return test.param.name; });

TEST(LoadSpecification, ByteOrderMarkStaysPartOfTheFirstKey) {
    SpecHarness h;
    LoadSpecification(h.state, FixturePath("specification/bom.zrs"));
    const std::vector<std::string> expected = {
        "Expected: \"Setup\", got: \xEF\xBB\xBFSetup = Demo\r\nLine: 1"};
    EXPECT_EQ(h.SyntaxErrors(), expected);
}

TEST(LoadSpecification, BuildsTheWholeModel) {
    SpecHarness h;
    h.dir.Write("cc.exe", "");
    h.dir.Write(
        "Config/sample_crlf.path",
        "BasePath = C:\\Game\r\nFileDest = D:\\Out\r\nCompiler = " + h.dir.path() + "cc.exe\r\n");
    LoadSpecification(h.state, FixturePath("specification/sample_crlf.zrs"));
    const SpecificationModel& s = h.state;
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_EQ(s.SpecFileName, "sample_crlf.zrs");
    EXPECT_EQ(s.SpecName, "Demo Chain");
    EXPECT_EQ(s.SpecAuthor, "Jane Roe");
    EXPECT_EQ(s.SpecProgram, "Demo Engine");
    EXPECT_EQ(s.BaseLabel, "Demo Engine Path:");
    EXPECT_EQ(s.InputFilter, "Maps (*.map)|*.map");
    ASSERT_EQ(s.Links.size(), 1u);
    EXPECT_EQ(s.Links[0].caption, "Home page");
    EXPECT_EQ(s.Links[0].address, "http://www.example.org/demo");
    const std::vector<std::string> layout = {"@echo off",
                                             "$ClassEXE=Compiler \"$FilePath\\$FileName.map\""};
    EXPECT_EQ(s.LayoutLines, layout);

    EXPECT_EQ(h.ProgramNames(), (std::vector<std::string>{"Compiler", "Shared"}));
    const TZRGroup& compiler = *s.Programs[0];
    EXPECT_EQ(compiler.GroupCaption, "Compile:");
    EXPECT_TRUE(compiler.RequireExe);
    EXPECT_EQ(compiler.ExeFilter, "Compiler (cc.exe)|cc.exe");
    EXPECT_EQ(compiler.ToolPath, h.dir.path() + "cc.exe");
    ASSERT_EQ(compiler.CheckBoxes.size(), 1u);
    EXPECT_EQ(compiler.CheckBoxes[0].Core.Details, "    Talks a lot.");
    ASSERT_EQ(compiler.EditBoxes.size(), 1u);
    EXPECT_EQ(compiler.EditBoxes[0].Value.RoundTo, 0);
    EXPECT_EQ(compiler.EditBoxes[0].Value.DefaultText, "2");
    const TZRGroup& shared = *s.Programs[1];
    EXPECT_EQ(shared.GroupCaption, "Shared:");
    EXPECT_FALSE(shared.RequireExe);
    EXPECT_EQ(shared.ExeFilter, kDefaultExeFilter);
    ASSERT_EQ(shared.ComboBoxes.size(), 1u);
    EXPECT_EQ(shared.ComboBoxes[0].OptionNames, (std::vector<std::string>{"Fast", "Slow"}));

    ASSERT_EQ(s.Stages.size(), 1u);
    EXPECT_EQ(s.Stages[0].caption, "Compiler");
    EXPECT_FALSE(s.Stages[0].checked);
    ASSERT_EQ(s.RunStages.size(), 1u);
    EXPECT_EQ(s.RunStages[0].caption, "Compiler");
    EXPECT_EQ(s.RunStages[0].index, 0);
    EXPECT_EQ(s.Fields.Files.BasePath, "C:\\Game");
    EXPECT_EQ(s.Fields.Files.FileDest, "D:\\Out");
}

// Everything the model holds that line ends could disturb.
std::string Describe(const SpecificationModel& s) {
    std::string text = s.SpecName + "|" + s.SpecAuthor + "|" + s.SpecProgram + "|";
    for (const auto& line : s.LayoutLines) {
        text += line + ";";
    }
    for (const auto& program : s.Programs) {
        text += program->Name + ":" + std::to_string(program->CheckBoxes.size()) +
                std::to_string(program->EditBoxes.size()) +
                std::to_string(program->ComboBoxes.size()) + std::to_string(program->Labels.size());
    }
    return text;
}

TEST(LoadSpecification, LfOnlyWithoutFinalLineEndReadsLikeCrLf) {
    SpecHarness crlf;
    LoadSpecification(crlf.state, FixturePath("specification/sample_crlf.zrs"));
    SpecHarness lf;
    LoadSpecification(lf.state, FixturePath("specification/sample_lf.zrs"));
    EXPECT_EQ(Describe(lf.state), Describe(crlf.state));
    EXPECT_EQ(lf.state.LineCounter, crlf.state.LineCounter);
    EXPECT_EQ(lf.state.LineCounter, 41);
}

TEST(LoadSpecification, CrOnlyFileIsOneCommentLine) {
    SpecHarness h;
    LoadSpecification(h.state, FixturePath("specification/sample_cr.zrs"));
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_TRUE(h.state.Programs.empty());
    EXPECT_EQ(h.state.LineCounter, 1);
}

TEST(LoadSpecification, CtrlZEndsTheFileInsideABlockWithoutError) {
    SpecHarness h;
    h.dir.Write("Config/ctrlz.path", "FileDest = out\r\n");
    LoadSpecification(h.state, FixturePath("specification/ctrlz.zrs"));
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_EQ(h.ProgramNames(), (std::vector<std::string>{"Compiler", "Shared"}));
    EXPECT_EQ(h.state.Programs[1]->Labels.size(), 1u);
    EXPECT_TRUE(h.state.Programs[1]->ComboBoxes.empty());  // its block never opened
    EXPECT_EQ(h.state.Fields.Files.FileDest, "out");
}

TEST(LoadSpecification, KeepsWhatWasBuiltBeforeASyntaxError) {
    SpecHarness h;
    h.state.Fields.Files.BasePath = "old base";
    h.state.Fields.Files.FileDest = "old dest";
    h.dir.Write("cc.exe", "");
    h.dir.Write("Config/test.path", "BasePath = new\r\nA = " + h.dir.path() + "cc.exe\r\n");
    h.Load(CrLfLines({"setup = S",
                      "{",
                      "link = a.org|A",
                      "layout:",
                      "echo",
                      "}",
                      "group = A",
                      "{",
                      "requireexe = true",
                      "checkbox = One",
                      "{",
                      "}",
                      "}",
                      "group = B",
                      "{",
                      "labelbox = L",
                      "checkbox = Two",
                      "{",
                      "}",
                      "editbox = Broken",
                      "oops",
                      "group = C",
                      "{",
                      "labelbox = never",
                      "}"}));
    EXPECT_EQ(h.SyntaxErrors(),
              (std::vector<std::string>{"Expected: \"{\", got: oops\r\nLine: 21"}));
    EXPECT_EQ(h.ProgramNames(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(h.state.Programs[1]->CheckBoxes.size(), 1u);
    EXPECT_TRUE(h.state.Programs[1]->EditBoxes.empty());
    EXPECT_EQ(h.state.Stages.size(), 1u);
    EXPECT_EQ(h.state.Links.size(), 1u);
    EXPECT_EQ(h.state.LayoutLines, (std::vector<std::string>{"echo"}));
    EXPECT_EQ(h.state.Fields.Files.BasePath, "old base");
    EXPECT_EQ(h.state.Fields.Files.FileDest, "old dest");
    EXPECT_EQ(h.state.Programs[0]->ToolPath, "");
}

TEST(LoadSpecification, MissingFileChangesNothing) {
    SpecHarness h;
    h.Load(CrLfLines({"setup = S", "{", "}", "group = A", "{", "labelbox = L", "}"}));
    h.state.Fields.Files.InputName = "in";
    const int version = h.state.StructureVersion;
    LoadSpecification(h.state, h.dir / "SpecFiles/missing.zrs");
    LoadSpecification(h.state, h.dir / "SpecFiles");  // a folder is no file
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_EQ(h.state.SpecFileName, "test.zrs");
    EXPECT_EQ(h.state.SpecName, "S");
    EXPECT_EQ(h.state.Programs.size(), 1u);
    EXPECT_EQ(h.state.Fields.Files.InputName, "in");
    EXPECT_EQ(h.state.StructureVersion, version);
}

TEST(LoadSpecification, EmptyFileResetsTheModelAndReadsToolPaths) {
    SpecHarness h;
    h.Load(
        CrLfLines({"setup = S", "{", "author = A", "program = P", "filter = F|*.f", "link = a|b",
                   "layout:", "x", "}", "group = G", "{", "requireexe = true", "spaces = 1", "}"}),
        "first.zrs");
    h.state.Fields.Files.InputFolder = "/maps";
    h.state.Fields.Files.InputName = "in";
    h.state.Fields.Files.InputExt = "map";
    const ControlState focused;
    h.state.Fields.Requests.Add(FocusControl{&focused});
    h.state.Fields.Requests.Add(ActivateWindow{});
    h.dir.Write("Config/Empty.ZRS.path", "should not be read");
    h.dir.Write("Config/Empty.ZRS", "BasePath = b\r\nFileDest = d\r\n");
    const int version = h.state.StructureVersion;

    h.Load("// only a comment\r\n\r\n", "Empty.ZRS");
    const SpecificationModel& s = h.state;
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_EQ(s.SpecFileName, "Empty.ZRS");
    EXPECT_EQ(s.SpecName, "Unknowen");
    EXPECT_EQ(s.SpecAuthor, "Unknowen");
    EXPECT_EQ(s.SpecProgram, "Unknowen");
    EXPECT_TRUE(s.Programs.empty());
    EXPECT_TRUE(s.Stages.empty());
    EXPECT_TRUE(s.RunStages.empty());
    EXPECT_TRUE(s.Links.empty());
    EXPECT_TRUE(s.LayoutLines.empty());
    EXPECT_EQ(s.Fields.Files.InputFolder + s.Fields.Files.InputName + s.Fields.Files.InputExt, "");
    EXPECT_EQ(h.state.Fields.Requests.Take(), std::vector<ViewRequest>{ActivateWindow{}})
        << "only the focus into the fields that went is withdrawn";
    EXPECT_GT(s.StructureVersion, version);
    // The previous specification's dialog filter and base-path label stay.
    EXPECT_EQ(s.InputFilter, "F|*.f");
    EXPECT_EQ(s.BaseLabel, "P Path:");
    // The name holds no ".zrs" in that case, so the file is looked up unchanged.
    EXPECT_EQ(s.Fields.Files.BasePath, "b");
    EXPECT_EQ(s.Fields.Files.FileDest, "d");
}

TEST(LoadSpecification, LayoutSwallowsKeyLinesUntilTheSetupEnds) {
    SpecHarness h;
    h.Load(CrLfLines({"setup = S", "{", "author = First", "LAYOUT:", "", "author = Second",
                      "  call  x.bat  // comment", "layout:", "}", "group = G", "{", "}"}));
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_EQ(h.state.SpecAuthor, "First");
    EXPECT_EQ(h.state.LayoutLines,
              (std::vector<std::string>{"author = Second", "call  x.bat", "layout:"}));
}

TEST(LoadSpecification, SetupWithoutLayoutHasNoLayoutLines) {
    SpecHarness h;
    h.Load(CrLfLines({"setup = S", "{", "author = A", "layout = not a list", "}"}));
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_TRUE(h.state.LayoutLines.empty());
}

TEST(LoadSpecification, GroupSettingsCountOnlyBeforeTheFirstElement) {
    SpecHarness h;
    h.Load(kSetup + CrLfLines({"group = Late", "{", "checkbox = C", "{", "}", "requireexe = true",
                               "name = Other", "exefilter = x|x", "}"}));
    ASSERT_EQ(h.state.Programs.size(), 1u);
    const TZRGroup& g = *h.state.Programs[0];
    EXPECT_FALSE(g.RequireExe);
    EXPECT_EQ(g.GroupCaption, "Late:");
    EXPECT_EQ(g.ExeFilter, kDefaultExeFilter);
    EXPECT_TRUE(h.state.Stages.empty());
    EXPECT_TRUE(h.state.RunStages.empty());
}

TEST(LoadSpecification, RunStageIndexesArePositionsInTheProgramList) {
    SpecHarness h;
    h.Load(kSetup + CrLfLines({"group = Empty",
                               "{",
                               "name = Nothing",
                               "requireexe = true",
                               "}",
                               "group = Tool",
                               "{",
                               "requireexe = yes",
                               "requireexe = TRUE",
                               "spaces = 0",
                               "}",
                               "group = Plain",
                               "{",
                               "labelbox = x",
                               "}",
                               "group = Tool",
                               "{",
                               "RequireExe = True",
                               "spaces = x",
                               "}"}));
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_EQ(h.ProgramNames(), (std::vector<std::string>{"Tool", "Plain", "Tool"}));
    ASSERT_EQ(h.state.RunStages.size(), 2u);
    EXPECT_EQ(h.state.RunStages[0].caption, "Tool");
    EXPECT_EQ(h.state.RunStages[0].index, 0);
    EXPECT_EQ(h.state.RunStages[1].caption, "Tool");
    EXPECT_EQ(h.state.RunStages[1].index, 2);
    ASSERT_EQ(h.state.Stages.size(), 2u);
    EXPECT_EQ(h.state.Stages[1].caption, "Tool");
}

TEST(LoadSpecification, RequireExeFalseValueClearsTheFlag) {
    SpecHarness h;
    h.Load(kSetup + CrLfLines({"group = G", "{", "requireexe = true", "requireexe = 1",
                               "labelbox = l", "}"}));
    ASSERT_EQ(h.state.Programs.size(), 1u);
    EXPECT_FALSE(h.state.Programs[0]->RequireExe);
}

TEST(LoadSpecification, KeywordsAndFlagsInCapitals) {
    SpecHarness h;
    h.Load(CrLfLines({"  SETUP=Caps", "{", "AUTHOR = Me", "}", "", "GROUP = G", "{", "NAME = Nice",
                      "REQUIREEXE = TRUE", "CHECKBOX = C", "{", "PARAM = -c", "BOLD = TRUE", "}",
                      "}"}));
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_EQ(h.state.SpecName, "Caps");
    EXPECT_EQ(h.state.SpecAuthor, "Me");
    ASSERT_EQ(h.state.Programs.size(), 1u);
    const TZRGroup& g = *h.state.Programs[0];
    EXPECT_EQ(g.GroupCaption, "Nice:");
    EXPECT_TRUE(g.RequireExe);
    ASSERT_EQ(g.CheckBoxes.size(), 1u);
    EXPECT_EQ(g.CheckBoxes[0].Core.Param, "-c");
    EXPECT_TRUE(g.CheckBoxes[0].Core.CheckControl.bold);
}

TEST(LoadSpecification, ReloadReplacesThePrograms) {
    SpecHarness h;
    const std::string text =
        kSetup + CrLfLines({"group = A", "{", "requireexe = true", "labelbox = l", "}"});
    h.Load(text);
    h.Load(text);
    EXPECT_EQ(h.ProgramNames(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(h.state.Stages.size(), 1u);
    EXPECT_EQ(h.state.RunStages.size(), 1u);
}

TEST(LoadSpecification, UnreadableFileShowsTheErrorAfterTheReset) {
    const std::string path = "/proc/self/mem";  // exists, but reading it from 0 fails
    if (!FileExists(path)) {
        GTEST_SKIP() << "needs /proc";
    }
    SpecHarness h;
    h.Load(kSetup + CrLfLines({"group = A", "{", "labelbox = l", "}"}));
    LoadSpecification(h.state, path);
    const std::vector<RecordedMessage> expected = {
        {"Error", "Cannot read file \"/proc/self/mem\". Input/output error"}};
    EXPECT_EQ(h.fake.messages, expected);
    EXPECT_TRUE(h.state.Programs.empty());
    EXPECT_EQ(h.state.SpecFileName, "mem");
    EXPECT_EQ(h.state.SpecName, "Unknowen");
}

TEST(AddLink, AddressAndCaptionFromTheValue) {
    struct Case {
        const char* value;
        const char* caption;
        const char* address;
    };
    const Case cases[] = {
        {" www.a.org/x | Home ", "Home", "http://www.a.org/x"},
        {"|Nothing before", "Nothing before", "http://"},
        {"b.org|", "", "http://b.org"},
        {"c.org|Cap|tion", "Cap|tion", "http://c.org"},
        {"c.org|Home", "Home", "http://c.org"},  // same caption again: its own entry
    };
    FieldContext fields;
    SpecificationModel state(fields);
    AddLink(state, "no bar here");
    for (const Case& c : cases) {
        AddLink(state, c.value);
    }
    ASSERT_EQ(state.Links.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(state.Links[i].caption, cases[i].caption) << i;
        EXPECT_EQ(state.Links[i].address, cases[i].address) << i;
    }
    ClearLinks(state);
    EXPECT_TRUE(state.Links.empty());
}

}  // namespace
}  // namespace kestrune
