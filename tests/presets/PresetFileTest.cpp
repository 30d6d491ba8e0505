#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "FileSizeLimit.h"
#include "StateParts.h"
#include "TempDir.h"
#include "presets/PresetFile.h"

namespace kestrune {
namespace {

using testing::FakePlatform;
using testing::RecordedMessage;
using testing::TempDir;
using testing::WithFileSizeLimit;
using namespace std::string_literals;

FieldDescription Field(std::string caption, std::string param = "") {
    FieldDescription description;
    description.Caption = std::move(caption);
    description.Param = std::move(param);
    return description;
}

// Compiler and Linker are stages; Packer only lends fields. Every kind appears, Compiler has
// two check boxes of one caption, and Linker shares a caption with Compiler.
struct Chain {
    TempDir dir;
    FakePlatform fake;
    testing::StateParts state{dir.path()};

    Chain() {
        state.Fields.platform = fake;
        state.Specification.SpecFileName = "Chain.zrs";
        TZRGroup& compiler = Add("Compiler", true);
        compiler.AddCheckBox(Field("Verbose", "-v"), false);
        compiler.AddCheckBox(Field("Debug", "-g"), false);
        compiler.AddCheckBox(Field("Debug", "-g2"), false);
        TValue level;
        level.IsString = false;
        level.RoundTo = 0;
        level.DefaultText = "3";
        compiler.AddEditBox(Field("Level", "-O"), level);
        compiler.AddEditBox(Field("Output", "-o"), TValue{});
        compiler.AddComboBox(Field("Mode"), "Fast");
        compiler.AddComboOption("Fast", "-f");
        compiler.AddComboOption("Small", "-s");
        compiler.AddBrowseBox(Field("Include", "-I"), "path", kDefaultBrowseFilter);
        compiler.AddColorBox(Field("Background", "-bg"), 0);
        TZRGroup& linker = Add("Linker", true);
        linker.AddCheckBox(Field("Verbose", "-V"), false);
        linker.AddEditBox(Field("Map", "-m"), TValue{});
        TZRGroup& packer = Add("Packer", false);
        packer.AddCheckBox(Field("Strip", "-s"), false);
        packer.AddColorBox(Field("Tint", "-t"), 0);
    }

    TZRGroup& Add(const std::string& name, bool stage) {
        state.Specification.Programs.push_back(
            std::make_unique<TZRGroup>(state.Fields, name, stage, kDefaultExeFilter, name + ":"));
        if (stage) {
            state.Specification.Stages.push_back({name, false});
        }
        return *state.Specification.Programs.back();
    }
    TZRGroup& P(std::size_t i) { return *state.Specification.Programs[i]; }

    // Every value a user can change, set away from its default.
    void SetEverything() {
        TZRGroup& c = P(0);
        c.Run = true;
        c.CheckBoxes[0].SetChecked(true);
        c.CheckBoxes[2].SetChecked(true);
        c.EditBoxes[0].SetText("9");
        c.EditBoxes[1].SetChecked(true);
        c.EditBoxes[1].SetText("my out.txt");
        c.ComboBoxes[0].SetChecked(true);
        c.ComboBoxes[0].SetText("Small");
        c.BrowseBoxes[0].SetChecked(true);
        c.BrowseBoxes[0].SetText("/usr/include");
        c.ColorBoxes[0].SetColorFromPreset("1 0.2 0");
        P(1).EditBoxes[0].SetText("a=b.map");
        P(2).ColorBoxes[0].SetChecked(true);
        P(2).ColorBoxes[0].SetColorFromPreset("0 0 1");
        state.Specification.Stages[0].checked = true;
    }

    bool Read(const std::string& text, PresetMode mode = PresetMode::Open) {
        return ReadPreset(state.Specification, state.Input, dir.Write("in.zrp", text), mode);
    }
};

TEST(PresetWriter, WritesExactBytes) {
    Chain chain;
    chain.SetEverything();
    chain.state.Input.RememberFile = true;
    chain.state.Input.InputFile = "/maps/a b.map";
    chain.state.Fields.PresetChanged = true;
    const std::string path = chain.dir / "out.zrp";
    ASSERT_TRUE(WritePreset(chain.state.Specification, chain.state.Input, path));
    EXPECT_EQ(chain.dir.Read(path),
              "ZRP200\r\n\r\n[Header]\r\nSpecFile = Chain.zrs\r\nFile = /maps/a b.map\r\n\r\n"
              "[Class = Compiler]\r\nRun = True\r\n"
              "[Field = Verbose]\r\nChecked = True\r\n[Field = Debug]\r\nChecked = False\r\n"
              "[Field = Debug]\r\nChecked = True\r\n"
              "[Field = Level]\r\nChecked = False\r\nValue = 9\r\n"
              "[Field = Output]\r\nChecked = True\r\nValue = my out.txt\r\n"
              "[Field = Mode]\r\nChecked = True\r\nValue = Small\r\n"
              "[Field = Include]\r\nChecked = True\r\nValue = /usr/include\r\n"
              "[Field = Background]\r\nChecked = False\r\nValue = 1 0.2 0\r\n\r\n"
              "[Class = Linker]\r\nRun = False\r\n[Field = Verbose]\r\nChecked = False\r\n"
              "[Field = Map]\r\nChecked = False\r\nValue = a=b.map\r\n\r\n"
              "[Class = Packer]\r\n[Field = Strip]\r\nChecked = False\r\n"
              "[Field = Tint]\r\nChecked = True\r\nValue = 0 0 1\r\n\r\n");
    EXPECT_FALSE(chain.state.Fields.PresetChanged);
    EXPECT_TRUE(chain.fake.messages.empty());
}

TEST(PresetWriter, WithoutSpecificationOrRememberedFile) {
    testing::StateParts state;
    state.Input.InputFile = "/maps/a.map";
    EXPECT_EQ(PresetText(state.Specification, state.Input),
              "ZRP200\r\n\r\n[Header]\r\nSpecFile = \r\nFile =\r\n\r\n");
}

TEST(PresetFile, WriteThenReadRestoresEveryTickAndValue) {
    Chain written;
    written.SetEverything();
    written.P(1).EditBoxes[0].SetText("  padded  ");
    const std::string path = written.dir / "all.zrp";
    ASSERT_TRUE(WritePreset(written.state.Specification, written.state.Input, path));

    Chain read;
    read.state.Fields.PresetChanged = true;
    ASSERT_TRUE(ReadPreset(read.state.Specification, read.state.Input, path, PresetMode::Open));
    EXPECT_TRUE(read.fake.messages.empty());
    EXPECT_FALSE(read.state.Fields.PresetChanged);
    written.P(1).EditBoxes[0].SetText("padded");  // values lose their outer blanks
    EXPECT_EQ(PresetText(read.state.Specification, read.state.Input),
              PresetText(written.state.Specification, written.state.Input));
    // Same-caption fields each get their own section back.
    EXPECT_FALSE(read.P(0).CheckBoxes[1].Checked());
    EXPECT_TRUE(read.P(0).CheckBoxes[2].Checked());
    // The last field of the last program, and the value controls follow the ticks.
    EXPECT_TRUE(read.P(2).ColorBoxes[0].Checked());
    EXPECT_EQ(read.P(2).ColorBoxes[0].Color, 0xFF0000u);
    EXPECT_TRUE(read.P(2).ColorBoxes[0].ColorButton.enabled);
    EXPECT_TRUE(read.P(0).BrowseBoxes[0].EditControl.enabled);
    EXPECT_FALSE(read.P(0).EditBoxes[0].EditControl.enabled);
    EXPECT_TRUE(read.state.Specification.Stages[0].checked);
    EXPECT_FALSE(read.state.Specification.Stages[1].checked);
}

// The target keeps its bytes whatever goes wrong; no temporary file is left behind.
class PresetWriteFailure : public ::testing::Test {
  protected:
    void SetUp() override {
        chain.SetEverything();
        chain.state.Fields.PresetChanged = true;
        previous = chain.dir.Write("keep.zrp", "ZRP200\r\nprevious bytes\r\n");
    }
    void ExpectUntouched() {
        EXPECT_EQ(chain.dir.Read(previous), "ZRP200\r\nprevious bytes\r\n");
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(chain.dir.path())) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(names, std::vector<std::string>{"keep.zrp"});
    }
    Chain chain;
    std::string previous;
};

TEST_F(PresetWriteFailure, MissingFolder) {
    const std::string path = chain.dir / "gone/p.zrp";
    EXPECT_FALSE(WritePreset(chain.state.Specification, chain.state.Input, path));
    EXPECT_EQ(chain.fake.messages,
              (std::vector<RecordedMessage>{
                  {"Error", "Cannot create file \"" + path + "\". No such file or directory"}}));
    EXPECT_TRUE(chain.state.Fields.PresetChanged);
    ExpectUntouched();
}

TEST_F(PresetWriteFailure, TargetIsAFolder) {
    std::filesystem::create_directory(chain.dir / "folder.zrp");
    EXPECT_FALSE(
        WritePreset(chain.state.Specification, chain.state.Input, chain.dir / "folder.zrp"));
    EXPECT_EQ(chain.fake.messages,
              (std::vector<RecordedMessage>{
                  {"Error",
                   "Cannot create file \"" + (chain.dir / "folder.zrp") + "\". Is a directory"}}));
    EXPECT_TRUE(chain.state.Fields.PresetChanged);
    std::filesystem::remove(chain.dir / "folder.zrp");
    ExpectUntouched();
}

TEST_F(PresetWriteFailure, FullDiskKeepsThePreviousPreset) {
    const std::string report = WithFileSizeLimit(16, [&] {
        const bool written = WritePreset(chain.state.Specification, chain.state.Input, previous);
        std::string text = written ? "written" : "refused";
        for (const RecordedMessage& message : chain.fake.messages) {
            text += "|" + message.title + "|" + message.text;
        }
        return text + (chain.state.Fields.PresetChanged ? "|changed" : "|unchanged");
    });
    EXPECT_EQ(report,
              "refused|Error|Cannot write file \"" + previous + "\". File too large|changed");
    ExpectUntouched();
}

struct FirstLineCase {
    const char* bytes;
    bool accepted;
};

void PrintTo(const FirstLineCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::string(c.bytes))
        << (c.accepted ? " accepted" : " refused");
}

class PresetFirstLine : public ::testing::TestWithParam<FirstLineCase> {};

TEST_P(PresetFirstLine, DecidesWhetherTheFileIsRead) {
    Chain chain;
    chain.P(0).CheckBoxes[0].SetChecked(true);
    chain.state.Fields.PresetChanged = true;
    const std::string text = std::string(GetParam().bytes) + "\r\nSpecFile = Chain.zrs\r\n";
    const std::string path = chain.dir.Write("first.zrp", text);
    EXPECT_EQ(ReadPreset(chain.state.Specification, chain.state.Input, path, PresetMode::Open),
              GetParam().accepted);
    if (GetParam().accepted) {
        EXPECT_TRUE(chain.fake.messages.empty());
        EXPECT_FALSE(chain.P(0).CheckBoxes[0].Checked());
        EXPECT_FALSE(chain.state.Fields.PresetChanged);
    } else {
        EXPECT_EQ(
            chain.fake.messages,
            (std::vector<RecordedMessage>{{"Error", path + " is not a valid .zrp v200 file."}}));
        EXPECT_TRUE(chain.P(0).CheckBoxes[0].Checked());
        EXPECT_TRUE(chain.state.Fields.PresetChanged);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PresetFirstLine,
    ::testing::Values(FirstLineCase{"ZRP200", true}, FirstLineCase{"zrp200", true},
                      FirstLineCase{"Zrp200", true}, FirstLineCase{"ZRP200\r", true},
                      FirstLineCase{" ZRP200", false}, FirstLineCase{"ZRP200 ", false},
                      FirstLineCase{"ZRP200\t", false}, FirstLineCase{"", false},
                      FirstLineCase{"\r\nZRP200", false}, FirstLineCase{"ZRP2000", false},
                      FirstLineCase{"ZRP100", false}, FirstLineCase{"\xEF\xBB\xBFZRP200", false},
                      FirstLineCase{"\x1aZRP200", false}));

TEST(PresetFirstLine, EmptyFileIsRejected) {
    Chain chain;
    const std::string path = chain.dir.Write("empty.zrp", "");
    EXPECT_FALSE(ReadPreset(chain.state.Specification, chain.state.Input, path, PresetMode::Open));
    EXPECT_EQ(chain.fake.messages,
              (std::vector<RecordedMessage>{{"Error", path + " is not a valid .zrp v200 file."}}));
}

TEST(PresetReader, MissingFileReportsTheReadError) {
    Chain chain;
    const std::string path = chain.dir / "none.zrp";
    EXPECT_FALSE(ReadPreset(chain.state.Specification, chain.state.Input, path, PresetMode::Open));
    EXPECT_EQ(chain.fake.messages,
              (std::vector<RecordedMessage>{
                  {"Error", "Cannot open file \"" + path + "\". No such file or directory"}}));
}

TEST(PresetReader, LinesWithoutEqualsAreReportedAndReadingGoesOn) {
    Chain chain;
    chain.P(0).CheckBoxes[0].SetChecked(true);
    // LF-only ends, a blank line and stray CRs; "[header]" is no header line.
    ASSERT_TRUE(
        chain.Read("ZRP200\n\n[header]\nSpecFile = chain.ZRS\n  stray text \r\r\n"
                   "[Class = Compiler]\n[Field = Debug]\nChecked = 1"));
    EXPECT_EQ(chain.fake.messages,
              (std::vector<RecordedMessage>{
                  {"Kestrune Error", "Expected: \"=\", got: [header]\r\nLine: 3"},
                  {"Kestrune Error", "Expected: \"=\", got: stray text\r\nLine: 5"}}));
    EXPECT_FALSE(chain.P(0).CheckBoxes[0].Checked());  // same specification: reset first
    EXPECT_TRUE(chain.P(0).CheckBoxes[1].Checked());
}

// A damaged preset of many lines shows ten of them, then one message for the rest, and the
// good lines among them are still read.
TEST(PresetReader, BadLinesBeyondTheTenthShareOneMessage) {
    for (const int bad : {10, 11, 5000}) {
        Chain chain;
        std::string text = "ZRP200\r\n[Class = Compiler]\r\n";
        for (int i = 0; i < bad; ++i) {
            text += "bad " + std::to_string(i) + "\r\n";
        }
        ASSERT_TRUE(chain.Read(text + "[Field = Verbose]\r\nChecked = True\r\n"));
        EXPECT_TRUE(chain.P(0).CheckBoxes[0].Checked()) << bad;
        std::vector<RecordedMessage> expected;
        for (int i = 0; i < 10; ++i) {
            expected.push_back({"Kestrune Error", "Expected: \"=\", got: bad " + std::to_string(i) +
                                                      "\r\nLine: " + std::to_string(i + 3)});
        }
        if (bad > 10) {
            expected.push_back({"Kestrune Error", std::to_string(bad - 10) +
                                                      " more lines without \"=\" were skipped."});
        }
        EXPECT_EQ(chain.fake.messages, expected) << bad;
    }
}

TEST(PresetReader, ClassHeadersMatchWithoutCaseButNeedTheirBlanks) {
    Chain chain;
    ASSERT_TRUE(
        chain.Read("ZRP200\r\n[Header]\r\nSpecFile = Chain.zrs\r\n"
                   "[CLASS = linker]\r\n[Field = Verbose]\r\nChecked = True\r\n"
                   "[Class=Compiler]\r\n[Field = Debug]\r\nChecked = True\r\n"
                   "[Field = Map]\r\nChecked = True\r\nValue = x\r\n"
                   "[class = COMPILER]\r\n[Field = Output]\r\nValue = o\r\n"));
    EXPECT_TRUE(chain.P(1).CheckBoxes[0].Checked());
    // Neither the compact header's own program nor the one before it gets its sections.
    EXPECT_FALSE(chain.P(0).CheckBoxes[1].Checked());
    EXPECT_FALSE(chain.P(1).EditBoxes[0].Checked());
    EXPECT_EQ(chain.P(1).EditBoxes[0].Text(), "");
    EXPECT_EQ(chain.P(0).EditBoxes[1].Text(), "o");
    EXPECT_TRUE(chain.fake.messages.empty());
}

TEST(PresetReader, SectionsOfUnknownProgramsAreSkipped) {
    Chain chain;
    ASSERT_TRUE(
        chain.Read("ZRP200\r\nSpecFile = Other.zrs\r\n"
                   "[Class = Linker]\r\n[Field = Map]\r\nValue = linker.map\r\n"
                   "[Class = Ghost]\r\nRun = True\r\n[Field = Verbose]\r\nChecked = True\r\n"
                   "[Class = Compiler]\r\n[Field = Verbose]\r\nChecked = True\r\n",
                   PresetMode::Import));
    EXPECT_EQ(chain.P(1).EditBoxes[0].Text(), "linker.map");
    EXPECT_FALSE(chain.P(1).Run);
    EXPECT_FALSE(chain.P(1).CheckBoxes[0].Checked());
    EXPECT_TRUE(chain.P(0).CheckBoxes[0].Checked());
}

TEST(PresetReader, FieldHeadersMatchExactly) {
    for (const char* header : {"[Field = verbose]", "[field = Verbose]", "[Field=Verbose]",
                               "[Field =  Verbose]", "[FIELD = VERBOSE]"}) {
        Chain chain;
        ASSERT_TRUE(chain.Read(std::string("ZRP200\r\n[Class = Linker]\r\n") + header +
                               "\r\nChecked = True\r\n"));
        EXPECT_FALSE(chain.P(1).CheckBoxes[0].Checked()) << header;
    }
}

TEST(PresetReader, ValuesAreTrimmedAndBooleansRead) {
    struct Case {
        const char* text;
        bool checked;
    };
    for (const Case& c :
         {Case{"True", true}, Case{"tRUE", true}, Case{"1", true}, Case{"-2", true},
          Case{"2.5", true}, Case{"0", false}, Case{"0.0", false}, Case{"FALSE", false},
          Case{"yes", false}, Case{"", false}, Case{"$1", false}}) {
        Chain chain;
        ASSERT_TRUE(chain.Read(std::string("ZRP200\r\n[Class = Compiler]\r\n[Field = Output]\r\n"
                                           "Checked = ") +
                               c.text + "\r\nValue = \t  my  file.txt \t\r\n"));
        EXPECT_EQ(chain.P(0).EditBoxes[1].Checked(), c.checked) << c.text;
        EXPECT_EQ(chain.P(0).EditBoxes[1].Text(), "my  file.txt");
    }
}

TEST(PresetReader, RunFalseNeverUnticksAStage) {
    Chain chain;
    chain.P(0).Run = true;
    chain.P(1).Run = true;
    chain.state.Specification.Stages = {{"compiler", true}, {"LINKER", false}, {"Elsewhere", true}};
    ASSERT_TRUE(
        chain.Read("ZRP200\r\n[Class = Compiler]\r\nRun = False\r\n"
                   "[Class = Linker]\r\nRun = 0\r\n"));
    EXPECT_TRUE(chain.P(0).Run);
    EXPECT_TRUE(chain.P(1).Run);
    // Ticks follow the run flags by lower-cased name; an entry without a program stays.
    EXPECT_EQ(chain.state.Specification.Stages[0].checked, true);
    EXPECT_EQ(chain.state.Specification.Stages[1].checked, true);
    EXPECT_EQ(chain.state.Specification.Stages[2].checked, true);
}

TEST(PresetReader, PresetWithoutSpecFileAppliesNothingAfterAnotherPreset) {
    const std::string bare =
        "ZRP200\r\n[Class = Compiler]\r\n[Field = Verbose]\r\nChecked = True\r\n";
    Chain fresh;  // right after the programs were built
    ASSERT_TRUE(fresh.Read(bare));
    EXPECT_TRUE(fresh.P(0).CheckBoxes[0].Checked());

    Chain later;
    ASSERT_TRUE(later.Read("ZRP200\r\nSpecFile = Chain.zrs\r\n"));
    ASSERT_TRUE(later.Read(bare));
    EXPECT_FALSE(later.P(0).CheckBoxes[0].Checked());
}

TEST(PresetReader, HeaderAfterSectionsEndsThePendingField) {
    Chain chain;
    ASSERT_TRUE(
        chain.Read("ZRP200\r\n[Class = Compiler]\r\n[Field = Verbose]\r\nChecked = True\r\n"
                   "[Header]\r\nChecked = False\r\n[Class = Linker]\r\n"));
    EXPECT_TRUE(chain.P(0).CheckBoxes[0].Checked());
    EXPECT_FALSE(chain.P(1).CheckBoxes[0].Checked());
}

TEST(PresetReader, DuplicateNamesGoToTheFirstProgram) {
    Chain chain;
    chain.Add("compiler", true).AddCheckBox(Field("Verbose"), false);
    chain.state.Specification.Stages = {{"Compiler", false}, {"compiler", false}};
    ASSERT_TRUE(
        chain.Read("ZRP200\r\n[Class = compiler]\r\nRun = True\r\n"
                   "[Field = Verbose]\r\nChecked = True\r\n"));
    EXPECT_TRUE(chain.P(0).Run);
    EXPECT_TRUE(chain.P(0).CheckBoxes[0].Checked());
    EXPECT_FALSE(chain.P(3).CheckBoxes[0].Checked());
    // The last program of a name decides its stage entries.
    EXPECT_FALSE(chain.state.Specification.Stages[0].checked);
    EXPECT_FALSE(chain.state.Specification.Stages[1].checked);
}

TEST(PresetReader, FileLineNamingAMissingFileIsIgnored) {
    Chain chain;
    SetInputFile(chain.state.Input, chain.state.Fields, "/before/a.map");
    const std::string input = chain.dir.Write("maps/b.txt", "x");
    ASSERT_TRUE(chain.Read("ZRP200\r\nFile = " + chain.dir.path() + "maps/none.txt\r\n"));
    EXPECT_EQ(chain.state.Input.InputFile, "/before/a.map");
    ASSERT_TRUE(chain.Read("ZRP200\r\nFile = " + chain.dir.path() + "maps\r\n"));
    EXPECT_EQ(chain.state.Input.InputFile, "/before/a.map");
    ASSERT_TRUE(chain.Read("ZRP200\r\nFile =   " + input + "  \r\n"));
    EXPECT_EQ(chain.state.Input.InputFile, input);
    EXPECT_EQ(chain.state.Fields.Files.InputName, "b");
}

// Damaged files are read to their end (or rejected) without crashing.
TEST(PresetReader, MalformedAndBinaryPresetsAreSurvived) {
    Chain chain;
    ASSERT_TRUE(chain.Read("ZRP200\r\n[Class = Compiler]\r\n[Field = " + std::string(1 << 20, 'x') +
                           "]\r\n" + std::string(1 << 20, '[') +
                           "\r\n[Field = Verbose]\r\nChecked = True\x1a\r\n[Field = Debug]"));
    EXPECT_TRUE(chain.P(0).CheckBoxes[0].Checked());
    EXPECT_FALSE(chain.P(0).CheckBoxes[1].Checked());
    EXPECT_EQ(chain.fake.messages,
              (std::vector<RecordedMessage>{
                  {"Kestrune Error",
                   "Expected: \"=\", got: " + std::string(300, '[') + "\xE2\x80\xA6\r\nLine: 4"}}));

    EXPECT_TRUE(chain.Read(
        "ZRP200\r\nSpecFile = Chain.zrs\r\n[Class = Linker]\r\n[Field = Map]\r\nValue = a\0b"s));
    EXPECT_EQ(chain.P(1).EditBoxes[0].Text(), "a\0b"s);

    // CR-only line ends make one long first line.
    EXPECT_FALSE(chain.Read("ZRP200\r[Header]\rSpecFile = Chain.zrs\r"));

    const std::vector<std::string> pieces = {"[Class = Compiler]",
                                             "[Class = Linker]",
                                             "[Class = Packer]",
                                             "[Class = Ghost]",
                                             "[Header]",
                                             "SpecFile = Chain.zrs",
                                             "SpecFile = Other.zrs",
                                             "File = /",
                                             "[Field = Debug]",
                                             "[Field = Tint]",
                                             "[Field = Mode]",
                                             "Checked = True",
                                             "Value = 1 0.5",
                                             "Value = nan nan nan",
                                             "Run = 1",
                                             "=",
                                             "[",
                                             "]",
                                             "\r\n",
                                             "\n",
                                             "\r",
                                             "\x1a",
                                             std::string(1, '\0'),
                                             "\xff\xfe"};
    std::mt19937 random(20260707);
    for (int round = 0; round < 300; ++round) {
        std::string text = "ZRP200\r\n";
        for (int i = 0; i < 200; ++i) {
            if (random() % 4 == 0) {
                text += static_cast<char>(random() % 256);
            } else {
                text += pieces[random() % pieces.size()];
                text += "\r\n";
            }
        }
        chain.fake.messages.clear();
        if (!chain.Read(text, round % 2 == 0 ? PresetMode::Open : PresetMode::Import)) {
            ASSERT_FALSE(chain.fake.messages.empty());
            EXPECT_EQ(chain.fake.messages.back().text,
                      chain.state.Specification.SpecFolder() + "Other.zrs not found.");
        }
    }
}

}  // namespace
}  // namespace kestrune
