// File names go into the script as data: for every kind of place a layout line or a field's
// switch gives them, the shell must hand the tool exactly the name, and run nothing else.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "PosixWords.h"
#include "ReferenceExpansion.h"
#include "ScriptText.h"
#include "StateParts.h"
#include "TempDir.h"
#include "base/Text.h"
#include "fields/ShellQuoting.h"
#include "script/BatchBuilder.h"
#include "script/Expansion.h"

namespace kestrune {
namespace {

namespace fs = std::filesystem;
using testing::FakePlatform;
using testing::SplitPosixWords;
using testing::TempDir;

// Names from the hostile to the plain. Each would run, expand, split or end a quote if it went
// into a line as it is.
const std::vector<std::string> kNames = {
    "level1",
    "my-file_2.0+x@y%z=w:v,u",
    "a$(touch PWNED)b",
    "`touch PWNED`",
    "$HOME",
    "${HOME}x",
    "a\"b",
    "it's",
    "''",
    "back\\slash",
    "trail\\",
    "\\",
    "x;touch PWNED",
    "x&&touch PWNED&",
    "x|touch PWNED",
    "*",
    "?.c",
    "[ab]",
    "two\nlines",
    "\nleading line end",
    "%PATH%",
    "  lead and trail  ",
    "#hash",
    "~root",
    "-rf",
    "$",
    "\"$(touch PWNED)\"'$(touch PWNED)'",
};

// A place in a line: the layout line with "$FileName" where the name goes, and the words the
// shell must give, "{}" standing for the name.
struct Place {
    const char* name;
    const char* line;
    std::vector<std::string> words;
    bool substitution = false;  // inside $(…) or `…`, which drop trailing line ends
};

const std::vector<Place> kPlaces = {
    {"Unquoted", "$FileName", {"{}"}},
    {"DoubleQuoted", "\"$FileName\"", {"{}"}},
    {"SingleQuoted", "'$FileName'", {"{}"}},
    {"AfterBackslash", "\\$FileName", {"{}"}},
    {"HalfInsideDoubleQuotes", "-o\"$FileName/x\"", {"-o{}/x"}},
    {"BeforeExtension", "$FileName.log", {"{}.log"}},
    {"ThreeQuotingsInOneWord", "x\"$FileName\"'$FileName'$FileName", {"x{}{}{}"}},
    {"AmongWords", "a \"b $FileName c\" d", {"a", "b {} c", "d"}},
    {"AfterClosedQuotes", "\"a\"'b'\\\"$FileName", {"ab\"{}"}},
    {"InAComment", "x # it's \"$FileName\" $FileName", {"x"}},
    {"AfterSubstitutionNotAComment", "$(printf x)#$FileName", {"x#{}"}, true},
    {"InCommandSubstitution", "\"$(printf %s $FileName)\"", {"{}"}, true},
    {"QuotedInCommandSubstitution", "\"$(printf %s \"$FileName\")\"", {"{}"}, true},
    {"InBackticks", "\"`printf %s $FileName`\"", {"{}"}, true},
    {"QuotedInBackticks", "\"`printf %s \"$FileName\"`\"", {"{}"}, true},
    {"SingleQuotedInBackticks", "\"`printf %s '$FileName'`\"", {"{}"}, true},
};

std::string WithName(const std::string& pattern, const std::string& name) {
    return ReplaceAllNoCase(pattern, "{}", name);
}

// What /bin/sh prints for `printf '[%s]\n' <line>` run in `dir`, or the shell's complaint.
std::string RunShell(const TempDir& dir, const std::string& script) {
    const std::string file = dir.Write("t.sh", script);
    const std::string command = "cd '" + dir.path() + "' && /bin/sh ./t.sh 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "popen failed";
    }
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    ::pclose(pipe);
    return out;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class QuotedNames : public ::testing::Test {
  protected:
    QuotedNames() : state("/prog/") {
        state.Fields.platform = fake;
        state.Fields.Files.Shell = ScriptShell::Posix;
        state.Fields.Files.InputFolder = "/w";
        state.Fields.Files.InputExt = "c";
    }
    std::string Expand(const std::string& line) {
        return ExpandLine(state.Specification, state.Script, line, ExpandMode::WholeRun);
    }

    FakePlatform fake;
    testing::StateParts state;
};

TEST_F(QuotedNames, EveryPlaceGivesTheNameAsLiteralWords) {
    for (const std::string& name : kNames) {
        state.Fields.Files.InputName = name;
        for (const Place& place : kPlaces) {
            if (place.substitution) {
                continue;  // the word splitter does not run commands; the shell test does
            }
            const std::string line = Expand(place.line);
            const auto split = SplitPosixWords(line);
            std::vector<std::string> expected;
            for (const std::string& word : place.words) {
                expected.push_back(WithName(word, name));
            }
            EXPECT_EQ(split.problem, "") << place.name << ": " << line;
            EXPECT_EQ(split.words, expected) << place.name << ": " << line;
            // The plain way of expanding must agree.
            EXPECT_EQ(testing::ReferenceExpand(state, place.line, ExpandMode::WholeRun), line);
        }
    }
}

TEST_F(QuotedNames, ShellRunsNothingAndPrintsTheName) {
    for (const std::string& name : kNames) {
        state.Fields.Files.InputName = name;
        TempDir dir;
        std::string script;
        std::string expected;
        for (const Place& place : kPlaces) {
            script.append("printf '[%s]\\n' ").append(Expand(place.line)).append("\n");
            std::string printed = name;
            if (place.substitution) {
                printed.erase(printed.find_last_not_of('\n') + 1);
            }
            for (const std::string& word : place.words) {
                expected.append("[").append(WithName(word, printed)).append("]\n");
            }
        }
        EXPECT_EQ(RunShell(dir, script), expected) << script;
        EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"t.sh"}) << script;
    }
}

TEST_F(QuotedNames, PlainNamesGoInAsBefore) {
    // Letters, digits and _ @ % + = : , . / - are left alone wherever they go.
    state.Fields.Files.InputName = "my-file_2.0+x@y%z=w:v,u";
    state.Fields.Files.InputFolder = "/home/me/C-sources";
    for (const Place& place : kPlaces) {
        std::string plain = ReplaceAllNoCase(place.line, "$FileName", state.Fields.Files.InputName);
        EXPECT_EQ(Expand(place.line), plain) << place.name;
    }
    EXPECT_EQ(Expand("\"$FilePath/$FileName.$FileExt\""),
              "\"/home/me/C-sources/my-file_2.0+x@y%z=w:v,u.c\"");
}

TEST_F(QuotedNames, ExactBytesForEachQuoting) {
    state.Fields.Files.InputName = "a'b\"c$d`e\\f";
    const struct {
        const char* line;
        const char* expected;
    } cases[] = {
        {"$FileName", R"q('a'\''b"c$d`e\f')q"},
        {"\"$FileName\"", R"q("a'b\"c\$d\`e\\f")q"},
        {"'$FileName'", R"q('a'\''b"c$d`e\f')q"},
        {"\\$FileName", R"q(\a''\''b"c$d`e\f')q"},
        {"\"\\$FileName\"", R"q("\a'b\"c\$d\`e\\f")q"},
        {"$$FileName", R"q($'''a'\''b"c$d`e\f')q"},
        {"\"$(x $FileName)\"", R"q("$(x 'a'\''b"c$d`e\f')")q"},
        {"`x $FileName`", R"q(`x 'a'\\''b"c\$d\`e\\f'`)q"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Expand(c.line), c.expected) << c.line;
    }
    state.Fields.Files.InputName = "\nx";
    EXPECT_EQ(Expand("\\$FileName"), "\\\n'''\nx'");
    EXPECT_EQ(Expand("\"\\$FileName\""), "\"\\\n\"\"\nx\"");
}

TEST_F(QuotedNames, AfterADollarTheNameStaysLiteral) {
    // "$" written right before a variable: the name must not become a parameter or a
    // substitution.
    state.Fields.Files.InputName = "(touch PWNED)";
    TempDir dir;
    const std::string out = RunShell(
        dir, "printf '[%s]\\n' " + Expand("$$FileName") + " " + Expand("\"$$FileName\"") + "\n");
    EXPECT_TRUE(out == "[$(touch PWNED)]\n[$(touch PWNED)]\n" ||
                out == "[(touch PWNED)]\n[$(touch PWNED)]\n")
        << out;
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"t.sh"});
}

TEST_F(QuotedNames, ToolPathsAndTheViewerAreQuotedUserTextIsNot) {
    state.Script.ViewLogAfterCompile = true;
    state.Specification.ProgramFolder = "/opt/my tools/";
    auto& tool = *state.Specification.Programs.emplace_back(std::make_unique<TZRGroup>(
        state.Fields, "Tool", true, kDefaultExeFilter, "Tool:", state.Specification.Tab));
    tool.ToolPath = "/opt/my tools/c$c";
    tool.Run = true;
    tool.CommandLine = "-D\"A B\" $HOME";  // typed by the user: written as it stands
    state.Fields.Files.InputName = "x y";
    EXPECT_EQ(Expand("\"$ClassEXE=Tool\" $ClassParam=Tool $FileName"),
              "\"/opt/my tools/c\\$c\" -D\"A B\" $HOME 'x y'");
    EXPECT_EQ(Expand("$ClassEXE='Tool' $REDA"),
              "'/opt/my tools/c$c' '/opt/my tools/" + testing::kViewerName + "'");
}

TEST_F(QuotedNames, SwitchesLentAndBatchCommandsQuoteByTheirOwnText) {
    TempDir dir;
    state.Specification.ProgramFolder = dir.path();
    state.Fields.Files.InputFolder = dir.path() + "in $(touch PWNED)";
    auto add = [&](const std::string& name) -> TZRGroup& {
        return *state.Specification.Programs.emplace_back(std::make_unique<TZRGroup>(
            state.Fields, name, false, kDefaultExeFilter, name + ":", state.Specification.Tab));
    };
    TZRGroup& main = add("Main");
    TZRGroup& lender = add("Lender");
    TZRGroup& lines = add("Lines");
    main.AddCheckBox({"Own", "-o\"$FilePath/x\"", "", "", false, 1}, false).SetChecked(true);
    lender.AddCheckBox({"Lent", "-I$FilePath/inc", "Main", "", false, 1}, false).SetChecked(true);
    TZREditBox& typed = main.AddEditBox({"Typed", "-D", "", "", false, 1}, TValue{});
    typed.SetChecked(true);
    typed.SetText("N=\"a b\"");
    lines
        .AddCheckBox(
            {"Lines", "printf '[%s]\\n' \"$FileName\" '$FileName'\nprintf '[%s]\\n' $FileName.log",
             "", "", false, 1},
            true)
        .SetChecked(true);
    TZRBrowseBox& folder = main.AddBrowseBox({"Folder", "-L", "", "", false, 1}, "path", "");
    folder.SetChecked(true);
    state.Specification.LayoutLines = {"printf '[%s]\\n' $ClassParam=Main", "$ClassParam=Lines"};

    const std::string in = state.Fields.Files.InputFolder;
    for (const std::string& name : kNames) {
        state.Fields.Files.InputName = name;
        folder.SetText(dir.path() + "lib" + name);
        ASSERT_TRUE(WriteBatch(state.Specification, state.Script, dir / "t.sh"));
        const std::string script = dir.Read("t.sh");
        EXPECT_EQ(RunShell(dir, script), "[-o" + in + "/x]\n[-D]\n[N=a b]\n[-L]\n[" + dir.path() +
                                             "lib" + name + "]\n[-I" + in + "/inc]\n[" + name +
                                             "]\n[" + name + "]\n[" + name + ".log]\n")
            << script;
        EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"t.sh"}) << script;
    }
}

// Lines naming programs whose tool paths must be quoted are still expanded in one pass where
// nothing inserted can change the quoting; either way they must come out as replacing program
// by program gives them.
TEST(QuotedToolPaths, OnePassGivesWhatProgramByProgramGives) {
    const std::vector<std::string> names = {"Tool", "tool", "Tool2", "T", "Light", "LIGHT2"};
    const std::vector<std::string> paths = {"/bin/t",   "/my tools/t", "/t/a'b", "/t/\"q\"",
                                            "/t/$x`y`", "/t/back\\",   "",       "/t/(x)"};
    const std::vector<std::string> commandLines = {"-o",  "x y",   "-v -w", "",
                                                   "a'b", "$HOME", "x #",   "x "};
    const std::vector<std::string> tokens = {"#",           "\n", "$ClassEXE=", "$ClassParam=",
                                             "$classexe='", "'",  " ",          "\"",
                                             "\\",          "$(", ")",          "`",
                                             "$",           "x",  "=",          "'$ClassEXE=Tool'"};
    std::mt19937 random(14);
    auto pick = [&random](const std::vector<std::string>& from) {
        return from[random() % from.size()];
    };
    int onePass = 0;
    for (int round = 0; round < 600; ++round) {
        testing::StateParts state("/prog/");
        state.Fields.Files.Shell = round % 4 == 3 ? ScriptShell::Cmd : ScriptShell::Posix;
        const bool neutralOnly = round % 2 == 0;
        for (int p = 1 + static_cast<int>(random() % 6); p > 0; --p) {
            const std::string name = pick(names);
            auto& program = *state.Specification.Programs.emplace_back(
                std::make_unique<TZRGroup>(state.Fields, name, random() % 4 != 0, kDefaultExeFilter,
                                           name + ":", state.Specification.Tab));
            program.Run = random() % 4 != 0;
            program.ToolPath = pick(paths);
            program.CommandLine = neutralOnly ? commandLines[random() % 3] : pick(commandLines);
        }
        for (int l = 0; l < 5; ++l) {
            std::string line;
            for (int t = 1 + static_cast<int>(random() % 14); t > 0; --t) {
                line += random() % 3 == 0 ? pick(names) : pick(tokens);
            }
            for (const ExpandMode mode : {ExpandMode::WholeRun, ExpandMode::SingleStage}) {
                const LineExpander expander(state.Specification, state.Script, mode);
                const std::string expected = *testing::ReferenceExpand(state, line, mode);
                EXPECT_EQ(expander.Expand(line), expected) << "round " << round << ": " << line;
                try {
                    // No work allowed: only the one-pass replacement gets through.
                    EXPECT_EQ(expander.Expand(line, kMaxScriptBytes, 0), expected) << line;
                    ++onePass;
                } catch (const ScriptTooComplex&) {
                }
            }
        }
    }
    EXPECT_GT(onePass, 2000) << onePass;
}

// What an earlier program inserts before a tool path decides how the path is quoted.
TEST(QuotedToolPaths, FollowTheTextInsertedBeforeThem) {
    const struct {
        const char* name;         // of the program inserted first
        const char* commandLine;  // what it inserts
        const char* line;
        const char* expected;
    } cases[] = {
        {"A", "a'b", "$ClassParam=A $ClassEXE=Tool", "a'b /my tools/t"},
        {"A", "-o", "$ClassParam=A $ClassEXE=Tool", "-o '/my tools/t'"},
        {"A", "", "\\$ClassParam=A$ClassEXE=Tool", "\\/'my tools/t'"},
        {"A", "\"", "$ClassParam=A$ClassEXE=Tool\"", "\"/my tools/t\""},
        {"B'", "-o", "'$ClassParam=B'$ClassEXE=Tool'", "'-o/my tools/t'"},
        {"(", "-o", "$($ClassParam=( $ClassEXE=Tool)", "$(-o '/my tools/t')"},
        {"a\"b", "-o", "$ClassParam=a\"b $ClassEXE=Tool", "-o '/my tools/t'"},
        {"A", "-x #", "$ClassParam=A $ClassEXE=Tool", "-x # /my tools/t"},
        {"A", "x ", "$ClassParam=A#$ClassEXE=Tool", "x #/my tools/t"},
        {"A;", "-o", "$ClassParam=A;#$ClassEXE=Tool", "-o#'/my tools/t'"},
    };
    for (const auto& c : cases) {
        testing::StateParts state("/prog/");
        state.Fields.Files.Shell = ScriptShell::Posix;
        auto add = [&state](const std::string& name, bool requireExe) -> TZRGroup& {
            return *state.Specification.Programs.emplace_back(
                std::make_unique<TZRGroup>(state.Fields, name, requireExe, kDefaultExeFilter,
                                           name + ":", state.Specification.Tab));
        };
        add(c.name, false).CommandLine = c.commandLine;
        TZRGroup& tool = add("Tool", true);
        tool.ToolPath = "/my tools/t";
        tool.Run = true;
        EXPECT_EQ(ExpandLine(state.Specification, state.Script, c.line, ExpandMode::WholeRun),
                  c.expected)
            << c.line;
        EXPECT_EQ(*testing::ReferenceExpand(state, c.line, ExpandMode::WholeRun), c.expected);
    }
}

// cmd reads "%" in a batch file as the start of a variable even inside quotes, and blanks or
// & | ^ < > ( ) left unquoted split or end the command.
TEST(CmdQuoting, DoublesPercentAndQuotesWhereTheLineDoesNot) {
    testing::StateParts state("C:\\Prog\\");
    FakePlatform fake;
    state.Fields.platform = fake;
    state.Fields.Files.Shell = ScriptShell::Cmd;
    state.Fields.Files.InputFolder = "C:\\Work";
    const struct {
        const char* name;
        const char* line;
        const char* expected;
    } cases[] = {
        {"level1", "$FilePath\\$FileName.map", "C:\\Work\\level1.map"},
        {"my level", "$FilePath\\$FileName.map", "C:\\Work\\\"my level\".map"},
        {"my level", "\"$FilePath\\$FileName.map\"", "\"C:\\Work\\my level.map\""},
        {"%PATH%", "$FileName", "%%PATH%%"},
        {"%PATH%", "\"$FileName\"", "\"%%PATH%%\""},
        {"a&b", "$FileName", "\"a&b\""},
        {"a&b", "\"$FileName\"", "\"a&b\""},
        {"(x)|y^z<w>", "-o$FileName", "-o\"(x)|y^z<w>\""},
        {"&x", "^$FileName", "^&x"},
        {"& x", "^$FileName", "^&\" x\""},
        {"it's $x `y`", "$FileName", "\"it's $x `y`\""},
        {"it's$x`y`", "$FileName", "it's$x`y`"},
        {"50% & more", "a\"b\"$FileName", "a\"b\"\"50%% & more\""},
    };
    for (const auto& c : cases) {
        state.Fields.Files.InputName = c.name;
        EXPECT_EQ(ExpandLine(state.Specification, state.Script, c.line, ExpandMode::WholeRun),
                  c.expected)
            << c.line;
    }
    auto& tool = *state.Specification.Programs.emplace_back(std::make_unique<TZRGroup>(
        state.Fields, "Tool", true, kDefaultExeFilter, "Tool:", state.Specification.Tab));
    tool.ToolPath = "C:\\Program Files (x86)\\100%\\t.exe";
    tool.Run = true;
    EXPECT_EQ(ExpandLine(state.Specification, state.Script, "$ClassEXE=Tool", ExpandMode::WholeRun),
              "\"C:\\Program Files (x86)\\100%%\\t.exe\"");
    EXPECT_EQ(
        ExpandLine(state.Specification, state.Script, "\"$ClassEXE=Tool\"", ExpandMode::WholeRun),
        "\"C:\\Program Files (x86)\\100%%\\t.exe\"");
}

// The shell reads the script as a whole: a quote, a substitution or a line continuation left
// open by one written line goes on in the next, and the names there are quoted for it. Lines
// that are not written change nothing.
struct AcrossLines {
    const char* name;
    std::vector<std::string> layout;
    std::string input;     // "$FileName"
    std::string expected;  // what the script prints
};

void PrintTo(const AcrossLines& c, std::ostream* os) {
    *os << c.name;
}

class QuotingAcrossLines : public ::testing::TestWithParam<AcrossLines> {
  protected:
    QuotingAcrossLines() : state(dir.path()) {
        state.Fields.platform = fake;
        state.Fields.Files.Shell = ScriptShell::Posix;
        state.Fields.Files.InputFolder = "/w";
        state.Fields.Files.InputExt = "x";
        tool = dir.Write("tool", "");
        // A stage that runs, and one that does not.
        auto& on = *state.Specification.Programs.emplace_back(std::make_unique<TZRGroup>(
            state.Fields, "On", true, kDefaultExeFilter, "On:", state.Specification.Tab));
        on.ToolPath = tool;
        on.Run = true;
        auto& off = *state.Specification.Programs.emplace_back(std::make_unique<TZRGroup>(
            state.Fields, "Off", true, kDefaultExeFilter, "Off:", state.Specification.Tab));
        off.ToolPath = tool;
    }

    TempDir dir;
    FakePlatform fake;
    testing::StateParts state;
    std::string tool;
};

TEST_P(QuotingAcrossLines, TheNameStaysDataInTheWholeRunAndInAStage) {
    const AcrossLines& c = GetParam();
    state.Specification.LayoutLines = c.layout;
    state.Fields.Files.InputName = c.input;
    for (const bool stage : {false, true}) {
        TempDir run;
        const std::string script = run / "t.sh";
        ASSERT_TRUE(stage ? WriteStageBatch(state.Specification, state.Script, script, 0)
                          : WriteBatch(state.Specification, state.Script, script));
        const std::string text = run.Read(script);
        EXPECT_EQ(RunShell(run, text), c.expected) << (stage ? "stage: " : "whole: ") << text;
        EXPECT_EQ(FilesIn(run.path()), std::vector<std::string>{"t.sh"}) << text;
        const ScriptPreview preview = stage
                                          ? PreviewStageBatch(state.Specification, state.Script, 0)
                                          : PreviewBatch(state.Specification, state.Script);
        EXPECT_EQ(preview.text, text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuotingAcrossLines,
    ::testing::Values(AcrossLines{"DoubleQuoteOpenAcrossTwoLines",
                                  {"printf '[%s]\\n' \"two lines:", "$FileName\""},
                                  "$(touch PWNED)",
                                  "[two lines:\n$(touch PWNED)]\n"},
                      AcrossLines{"SingleQuoteOpenAcrossTwoLines",
                                  {"printf '[%s]\\n' 'a", "$FileName'"},
                                  "it's $(touch PWNED)",
                                  "[a\nit's $(touch PWNED)]\n"},
                      AcrossLines{"LineContinuation",
                                  {"printf '[%s]\\n' x\\", "$FileName"},
                                  "a b;touch PWNED",
                                  "[xa b;touch PWNED]\n"},
                      AcrossLines{"SubstitutionOpenAcrossLines",
                                  {"printf '[%s]\\n' \"$(printf %s \"", "$FileName\")\""},
                                  "a \"b\" `touch PWNED`",
                                  "[\na \"b\" `touch PWNED`]\n"},
                      AcrossLines{"CommentEndsWithItsLine",
                                  {"# it's \"open", "printf '[%s]\\n' $FileName"},
                                  "a b'c",
                                  "[a b'c]\n"},
                      AcrossLines{"LineOfAnUntickedStageIsNotRead",
                                  {"printf '[%s]\\n' $FileName", "$ClassEXE=Off \"",
                                   "printf '[%s]\\n' $FileName"},
                                  "a\"b c",
                                  "[a\"b c]\n[a\"b c]\n"},
                      AcrossLines{"QuoteOpenedAndClosedInsideTheScript",
                                  {"printf '[%s]\\n' \"1", "$FileName", "2\" $FileName"},
                                  "x y",
                                  "[1\nx y\n2]\n[x y]\n"}));

// Three backslashes before a name inside backticks: the command gets one literal backslash
// and then the name, as it does for a plain name.
TEST(QuotingFaults, ThreeBackslashesInBackticks) {
    for (const std::string name :
         {"level", "it's", "a\"b", "x$(touch${IFS}PWNED)", "`touch${IFS}PWNED`"}) {
        testing::StateParts state("/prog/");
        state.Fields.Files.Shell = ScriptShell::Posix;
        state.Fields.Files.InputName = name;
        const std::string line =
            ExpandLine(state.Specification, state.Script,
                       "printf '[%s]\\n' `printf %s \\\\\\$FileName`", ExpandMode::WholeRun);
        TempDir dir;
        EXPECT_EQ(RunShell(dir, line + "\n"), "[\\" + name + "]\n") << line;
        EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"t.sh"}) << line;
    }
}

// A folder whose text names a later variable gets that variable's value, inside double quotes
// as outside them, and never a stray backslash.
TEST(QuotingFaults, BasePathNamingALaterVariable) {
    testing::StateParts state("/prog/");
    state.Fields.Files.Shell = ScriptShell::Posix;
    state.Fields.Files.InputName = "level";
    state.Fields.Files.InputExt = "map";
    const struct {
        const char* basePath;
        const char* line;
        const char* printed;
    } cases[] = {
        {"B$FileName", "\"$BasePath\" $BasePath '$BasePath'", "[Blevel]\n[Blevel]\n[Blevel]\n"},
        {"B $FileName.$FileExt", "\"$BasePath\" $BasePath", "[B level.map]\n[B level.map]\n"},
        {"$(touch PWNED)$FileName", "\"$BasePath\"", "[$(touch PWNED)level]\n"},
    };
    for (const auto& c : cases) {
        state.Fields.Files.BasePath = c.basePath;
        const std::string line =
            ExpandLine(state.Specification, state.Script, std::string("printf '[%s]\\n' ") + c.line,
                       ExpandMode::WholeRun);
        TempDir dir;
        EXPECT_EQ(RunShell(dir, line + "\n"), c.printed) << line;
        EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"t.sh"}) << line;
        EXPECT_EQ(testing::ReferenceExpand(state, std::string("printf '[%s]\\n' ") + c.line,
                                           ExpandMode::WholeRun),
                  line);
    }
    // A field's switch gets the same.
    EXPECT_EQ(ExpandFileVariables("-b \"$BasePath\"", state.Fields.Files),
              "-b \"\\$(touch PWNED)level\"");
}

// cmd ends a quote with the line, so a name on the next line is quoted afresh.
TEST(CmdQuoting, AQuoteEndsWithItsLine) {
    TempDir dir;
    testing::StateParts state(dir.path());
    FakePlatform fake;
    state.Fields.platform = fake;
    state.Fields.Files.Shell = ScriptShell::Cmd;
    state.Fields.Files.InputName = "a&b";
    state.Specification.LayoutLines = {"echo \"open", "echo $FileName", "echo \"$FileName"};
    const ScriptPreview preview = PreviewBatch(state.Specification, state.Script);
    ASSERT_EQ(preview.lines.size(), 3u);
    EXPECT_EQ(preview.lines[0].text, "echo \"open");
    EXPECT_EQ(preview.lines[1].text, "echo \"a&b\"");
    EXPECT_EQ(preview.lines[2].text, "echo \"a&b");

    ShellReader reader(ScriptShell::Cmd);
    reader.Read("echo \"abc\r\n");
    EXPECT_EQ(reader.Here().quote, ShellContext::Quote::None);
    reader.Read("echo \"abc ^\r\n");
    EXPECT_EQ(reader.Here().quote, ShellContext::Quote::None);
    reader.Read("echo ^\r\n\"");
    EXPECT_EQ(reader.Here().quote, ShellContext::Quote::Double);  // the caret took the line end
}

// The reader follows quotes, escapes and substitutions as the shell does.
TEST(ShellReader, FollowsTheLine) {
    using Quote = ShellContext::Quote;
    const struct {
        const char* text;
        Quote quote;
        bool escaped;
        bool inBackticks;
    } cases[] = {
        {"", Quote::None, false, false},
        {"a 'b", Quote::Single, false, false},
        {"a 'b\\'", Quote::None, false, false},
        {"\"a\\\"", Quote::Double, false, false},
        {"\"a\\\\\"", Quote::None, false, false},
        {"\\", Quote::None, true, false},
        {"\\\\", Quote::None, false, false},
        {"\\'", Quote::None, false, false},
        {"\"$(", Quote::None, false, false},
        {"\"$( ( a ) '", Quote::Single, false, false},
        {"\"$( ( a ) ) ", Quote::Double, false, false},
        {"\"$( \") \"", Quote::None, false, false},
        {"'$('", Quote::None, false, false},
        {"\"`", Quote::None, false, true},
        {"\"` \\` \"", Quote::Double, false, true},
        {"\"` '`", Quote::Double, false, false},
        {"`$( \"", Quote::Double, false, true},
        {"`$( \"`", Quote::None, false, false},
        {"a #'", Quote::None, false, false},
        {"a#'", Quote::Single, false, false},
        {"a # x\n'", Quote::Single, false, false},
        {"$(x)#'", Quote::Single, false, false},
        {"`# x` '", Quote::Single, false, false},
    };
    for (const auto& c : cases) {
        ShellReader reader(ScriptShell::Posix);
        reader.Read(c.text);
        const ShellContext here = reader.Here();
        EXPECT_EQ(here.quote, c.quote) << c.text;
        EXPECT_EQ(here.escaped, c.escaped) << c.text;
        EXPECT_EQ(here.inBackticks, c.inBackticks) << c.text;
    }
    // Nesting beyond what the reader keeps counts as unquoted from then on.
    ShellReader deep(ScriptShell::Posix);
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "\"$(";
    }
    deep.Read(text + "'");
    EXPECT_EQ(deep.Here(), ShellContext{ScriptShell::Posix});
}

}  // namespace
}  // namespace kestrune
