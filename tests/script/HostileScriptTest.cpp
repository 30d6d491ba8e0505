// Scripts whose expansion would grow without end are refused with a message and nothing
// written; the indexed lending and the name lookup of the expansion give exactly what asking
// every program in turn gives.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "ReferenceExpansion.h"
#include "StateParts.h"
#include "TempDir.h"
#include "base/Text.h"
#include "script/BatchBuilder.h"
#include "script/Expansion.h"

namespace kestrune {
namespace {

using testing::FakePlatform;
using testing::RecordedMessage;
using testing::TempDir;
namespace fs = std::filesystem;

TZRGroup& AddProgram(testing::StateParts& state, const std::string& name, bool requireExe) {
    return *state.Specification.Programs.emplace_back(std::make_unique<TZRGroup>(
        state.Fields, name, requireExe, kDefaultExeFilter, name + ":", state.Specification.Tab));
}

void AddCheck(TZRGroup& group, const std::string& param, bool checked,
              const std::string& groups = "") {
    group
        .AddCheckBox(
            {"Check " + std::to_string(group.CheckBoxes.size()), param, groups, "", false, 1},
            false)
        .SetChecked(checked);
}

// ---- Refused scripts

constexpr std::size_t kMegabyte = std::size_t{1} << 20;

struct TooLargeCase {
    const char* name;
    std::size_t limit;
    // Fills the state; returns true to build the single stage of program 0 instead of the
    // whole chain.
    bool (*setUp)(testing::StateParts& state, const std::string& tool);
};

void PrintTo(const TooLargeCase& c, std::ostream* os) {
    *os << c.name;
}

// Each program's command line names the next program twice, so every step of the expansion
// doubles the text: forty programs would need terabytes.
void DoublingChain(testing::StateParts& state, const std::string& tool) {
    for (int i = 0; i < 40; ++i) {
        TZRGroup& p = AddProgram(state, "P" + std::to_string(i), true);
        p.ToolPath = tool;
        p.Run = true;
        const std::string next = "$ClassParam='P" + std::to_string(i + 1) + "'";
        AddCheck(p, next + " " + next, true);
    }
    state.Specification.LayoutLines = {"echo start", "$ClassEXE=P0 $ClassParam=P0"};
}

std::string Repeated(std::string_view text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

const TooLargeCase kTooLarge[] = {
    // The limit that is in force: a line of 65 one-megabyte paths.
    {"FileVariablesInALayoutLine", kMaxScriptBytes,
     [](testing::StateParts& s, const std::string&) {
         s.Fields.Files.BasePath = std::string(kMegabyte, 'b');
         s.Specification.LayoutLines = {Repeated("$BasePath", 65)};
         return false;
     }},
    {"DoublingWholeRun", kMegabyte,
     [](testing::StateParts& s, const std::string& tool) {
         DoublingChain(s, tool);
         return false;
     }},
    {"DoublingSingleStage", kMegabyte,
     [](testing::StateParts& s, const std::string& tool) {
         DoublingChain(s, tool);
         // The other programs keep the command lines of an earlier build.
         for (std::size_t i = 1; i < s.Specification.Programs.size(); ++i) {
             s.Specification.Programs[i]->CommandLine = s.Specification.Programs[i]->GetParams();
         }
         return true;
     }},
    {"ManyLinesTogether", kMegabyte,
     [](testing::StateParts& s, const std::string&) {
         s.Fields.Files.BasePath = std::string(64 << 10, 'b');
         s.Specification.LayoutLines.assign(17, "$BasePath");
         return false;
     }},
    {"FileVariablesInAFieldParameter", kMegabyte,
     [](testing::StateParts& s, const std::string& tool) {
         s.Fields.Files.BasePath = std::string(64 << 10, 'b');
         TZRGroup& p = AddProgram(s, "P", true);
         p.ToolPath = tool;
         AddCheck(p, Repeated("$BasePath ", 17), true);
         s.Specification.LayoutLines = {"echo $ClassParam=P"};
         return true;
     }},
    {"LentTextForManyPrograms", kMegabyte,
     [](testing::StateParts& s, const std::string&) {
         AddCheck(AddProgram(s, "Lender", false), std::string(400 << 10, 'x'), true, "A,B,C");
         AddProgram(s, "A", false);
         AddProgram(s, "B", false);
         AddProgram(s, "C", false);
         s.Specification.LayoutLines = {"echo"};
         return false;
     }},
};

class TooLargeScript : public ::testing::TestWithParam<TooLargeCase> {};

TEST_P(TooLargeScript, IsRefusedWithAMessageAndNothingWritten) {
    TempDir dir;
    FakePlatform fake;
    testing::StateParts state(dir.path());
    state.Fields.platform = fake;
    const std::string tool = dir.Write("tool.exe", "");
    const std::string target = dir.Write("compile.sh", "previous script");
    const TooLargeCase& c = GetParam();
    const bool singleStage = c.setUp(state, tool);

    const bool written =
        singleStage ? WriteStageBatch(state.Specification, state.Script, target, 0, c.limit)
                    : WriteBatch(state.Specification, state.Script, target, c.limit);
    EXPECT_FALSE(written);
    const std::string limit = std::to_string(c.limit / kMegabyte) + " MB";
    EXPECT_EQ(fake.messages,
              (std::vector<RecordedMessage>{{"Error", "Cannot write file \"" + target +
                                                          "\". The script would be larger than " +
                                                          limit + "."}}));
    EXPECT_EQ(dir.Read("compile.sh"), "previous script");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);

    // The preview says why, holds no text and shows no message.
    const ScriptPreview preview =
        singleStage ? PreviewStageBatch(state.Specification, state.Script, 0, c.limit)
                    : PreviewBatch(state.Specification, state.Script, c.limit);
    EXPECT_EQ(preview.problem, "The script would be larger than " + limit + ".");
    EXPECT_EQ(preview.text, "");
    EXPECT_FALSE(preview.Writable());
    EXPECT_EQ(fake.messages.size(), 1u);
}

TEST(HostileScript, PreviewOfAPositionWithoutAProgramSaysSo) {
    testing::StateParts state("/prog/");
    state.Specification.LayoutLines = {"echo"};
    const ScriptPreview preview = PreviewStageBatch(state.Specification, state.Script, 3);
    EXPECT_EQ(preview.problem, "There is no program at position 3.");
    EXPECT_EQ(preview.text, "");
    EXPECT_TRUE(preview.lines.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, TooLargeScript, ::testing::ValuesIn(kTooLarge),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(HostileScript, AScriptOfExactlyTheLimitIsWritten) {
    TempDir dir;
    FakePlatform fake;
    testing::StateParts state(dir.path());
    state.Fields.platform = fake;
    state.Fields.Files.BasePath = std::string(kMegabyte - kScriptLineEnd.size(), 'b');
    state.Specification.LayoutLines = {"$BasePath"};
    ASSERT_TRUE(WriteBatch(state.Specification, state.Script, dir / "compile.sh", kMegabyte));
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fs::file_size(dir / "compile.sh"), kMegabyte);

    EXPECT_FALSE(WriteBatch(state.Specification, state.Script, dir / "compile.sh", kMegabyte - 1));
    EXPECT_EQ(fake.messages.at(0).text, "Cannot write file \"" + dir / "compile.sh" +
                                            "\". The script would be larger than 1048575 bytes.");
    EXPECT_EQ(fs::file_size(dir / "compile.sh"), kMegabyte);
}

TEST(HostileScript, ExpandingAloneStopsAtTheLimitAskedFor) {
    testing::StateParts state("/prog/");
    state.Fields.Files.BasePath = "0123456789";
    const LineExpander expander(state.Specification, state.Script, ExpandMode::WholeRun);
    EXPECT_EQ(expander.Expand("[$BasePath$BasePath]", 22), "[01234567890123456789]");
    try {
        expander.Expand("[$BasePath$BasePath]", 21);
        ADD_FAILURE() << "no ScriptTooLarge";
    } catch (const ScriptTooLarge& error) {
        EXPECT_STREQ(error.what(), "The script would be larger than 21 bytes.");
    }
    // A line that is already too long fails at its first replacement.
    EXPECT_THROW(ExpandLine(state.Specification, state.Script,
                            std::string(kMaxScriptBytes, 'y') + "$BasePath", ExpandMode::WholeRun),
                 ScriptTooLarge);
}

// ---- The same results as asking every program

// The command line as asking every other program in turn for what it lends gives it.
std::string ReferenceCommandLine(const testing::StateParts& state, std::size_t index) {
    const TZRGroup& program = *state.Specification.Programs[index];
    const std::string own = program.GetParams();
    std::string directed;
    for (std::size_t other = 0; other < state.Specification.Programs.size(); ++other) {
        if (other == index) {
            continue;
        }
        const std::string lent = state.Specification.Programs[other]->GetParamsFor(program.Name);
        if (directed.empty()) {
            directed = lent;
        } else {
            directed.append(" ").append(lent);
        }
    }
    std::string line = own;
    if (!own.empty() && !directed.empty()) {
        line.append(" ");
    }
    return Trim(line.append(directed));
}

// Names that are prefixes of one another, differ in case only, repeat, hold a quote or bytes
// above 127, or are empty.
const std::vector<std::string> kNames = {
    "Tool",  "tool", "Tool2", "T",     "x'y",   "\xC3\xA9t\xC3\xA9",
    "\xFFz", "Tool", "",      "Light", "LIGHT2"};

std::string Pick(std::mt19937& random, const std::vector<std::string>& from) {
    return from[random() % from.size()];
}

std::string RandomText(std::mt19937& random, int pieces) {
    static const std::vector<std::string> kTokens = {
        "$ClassEXE=", "$ClassParam=", "$classexe='", "$CLASSPARAM='", "'", " ",
        "x",          "$FileName",    "$REDA",       "$ClassParam",   "=", "\\"};
    std::string text;
    for (int i = 0; i < pieces; ++i) {
        text += random() % 2 == 0 ? Pick(random, kTokens) : Pick(random, kNames);
    }
    return text;
}

TEST(HostileScript, IndexedLendingGivesWhatAskingEveryProgramGives) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        testing::StateParts state("/prog/");
        const int programs = 1 + static_cast<int>(random() % 7);
        for (int p = 0; p < programs; ++p) {
            TZRGroup& group = AddProgram(state, Pick(random, kNames), random() % 2 == 0);
            const int fields = static_cast<int>(random() % 5);
            for (int f = 0; f < fields; ++f) {
                std::string groups;
                for (int g = static_cast<int>(random() % 4); g > 0; --g) {
                    groups += Pick(random, kNames) + (random() % 3 == 0 ? " , " : ",");
                }
                const std::string param = random() % 4 == 0 ? "" : "-f" + std::to_string(f);
                AddCheck(group, param, random() % 3 != 0, groups);
            }
        }
        for (std::size_t i = 0; i < state.Specification.Programs.size(); ++i) {
            ComputeCommandLine(state.Specification, i);
            EXPECT_EQ(state.Specification.Programs[i]->CommandLine, ReferenceCommandLine(state, i))
                << "round " << round << ", program " << i;
        }
    }
}

TEST(HostileScript, NameLookupExpandsLikeTryingEveryProgram) {
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        testing::StateParts state("/prog/");
        state.Script.ViewLogAfterCompile = random() % 4 != 0;
        state.Fields.Files.InputName = "level";
        const int programs = 1 + static_cast<int>(random() % 8);
        for (int p = 0; p < programs; ++p) {
            TZRGroup& group = AddProgram(state, Pick(random, kNames), random() % 2 == 0);
            group.Run = random() % 2 == 0;
            // Inserted text names other programs again, before and after this one.
            group.ToolPath = RandomText(random, static_cast<int>(random() % 4));
            group.CommandLine = RandomText(random, static_cast<int>(random() % 4));
        }
        for (int l = 0; l < 5; ++l) {
            const std::string line = RandomText(random, 1 + static_cast<int>(random() % 8));
            for (const ExpandMode mode : {ExpandMode::WholeRun, ExpandMode::SingleStage}) {
                EXPECT_EQ(ExpandLine(state.Specification, state.Script, line, mode),
                          *testing::ReferenceExpand(state, line, mode))
                    << "round " << round << ", line \"" << line << "\"";
            }
        }
    }
}

// Names without "$" or quotes and inserted texts that mostly cannot form a variable, so that
// most lines are replaced in one pass; the rest must come out the same all the same.
TEST(HostileScript, OnePassExpansionGivesWhatProgramByProgramGives) {
    const std::vector<std::string> names = {"Tool", "tool",  "Tool2",  "T",
                                            "To",   "Light", "LIGHT2", "\xC3\xA9t\xC3\xA9"};
    const std::vector<std::string> tokens = {
        "$ClassEXE=", "$ClassParam=", "$classexe='", "$CLASSPARAM='", "'", " ",   "x",
        "$Class",     "$ClassPar",    "=",           "$HOME",         "$", "Tool"};
    const std::vector<std::string> plain = {" ", "x", "-o", "'", "$HOME", "=", "/bin/t", "$"};
    auto text = [&](std::mt19937& random, const std::vector<std::string>& from, int pieces) {
        std::string result;
        for (int i = 0; i < pieces; ++i) {
            result += random() % 3 == 0 ? Pick(random, names) : Pick(random, from);
        }
        return result;
    };
    std::mt19937 random(12);
    for (int round = 0; round < 600; ++round) {
        testing::StateParts state("/prog/");
        state.Fields.Files.InputName = "level";
        const int programs = 1 + static_cast<int>(random() % 10);
        for (int p = 0; p < programs; ++p) {
            TZRGroup& group = AddProgram(state, Pick(random, names), random() % 2 == 0);
            group.Run = random() % 3 != 0;
            const std::vector<std::string>& from = random() % 5 == 0 ? tokens : plain;
            group.ToolPath = text(random, from, static_cast<int>(random() % 4));
            group.CommandLine = text(random, from, static_cast<int>(random() % 4));
        }
        for (int l = 0; l < 5; ++l) {
            const std::string line = text(random, tokens, 1 + static_cast<int>(random() % 20));
            for (const ExpandMode mode : {ExpandMode::WholeRun, ExpandMode::SingleStage}) {
                EXPECT_EQ(ExpandLine(state.Specification, state.Script, line, mode),
                          *testing::ReferenceExpand(state, line, mode))
                    << "round " << round << ", line \"" << line << "\"";
            }
        }
    }
}

// Every command line names the next program, so each replacement forms a new variable and the
// line is looked at again: the work grows with programs times line length, and has a limit.
TEST(HostileScript, ProgramsNamingOneAnotherStopAtTheWorkLimit) {
    testing::StateParts state("/prog/");
    std::string line;
    for (int i = 0; i < 300; ++i) {
        TZRGroup& group = AddProgram(state, "P" + std::to_string(i) + "x", false);
        group.CommandLine =
            "-" + std::to_string(i) + " $ClassParam=P" + std::to_string(i + 1) + "x";
        line += "$ClassParam=P" + std::to_string(i) + "x ";
    }
    const LineExpander expander(state.Specification, state.Script, ExpandMode::WholeRun);
    EXPECT_EQ(expander.Expand(line), *testing::ReferenceExpand(state, line, ExpandMode::WholeRun));
    try {
        expander.Expand(line, kMaxScriptBytes, 100000);
        ADD_FAILURE() << "no ScriptTooComplex";
    } catch (const ScriptTooComplex& error) {
        EXPECT_STREQ(error.what(),
                     "The layout is too complex to expand: its command lines name one another's "
                     "programs too often.");
    }
}

}  // namespace
}  // namespace kestrune
