// The settings file as start-up reads it and closing writes it, the recent lists and the
// favourite presets with their sub-menus.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "AppHarness.h"
#include "base/Text.h"

namespace kestrune {
namespace {

using testing::AppHarness;
using testing::RecordedMessage;
using Strings = std::vector<std::string>;

// ---- Writing

struct WriteCase {
    const char* name;
    std::function<void(AppHarness&)> set;
    std::string bytes;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsWriter : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SettingsWriter, CloseWritesExactlyTheseBytes) {
    AppHarness h;
    h.Start();
    GetParam().set(h);
    ASSERT_EQ(h.program.Click("cmdExit"), EventResult::Done);
    EXPECT_TRUE(h.main().Closed);
    EXPECT_EQ(h.dir.Read("Config/config.ini"), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SettingsWriter,
    ::testing::Values(
        WriteCase{"EmptyListsAndDefaults", [](AppHarness&) {},
                  "[Kestrune]\r\nRecentFiles = 4\r\nOpacity = 255\r\nViewLogAfterCompile = False"
                  "\r\nCloseProgramOnRun = False\r\nShowDetails = True\r\n\r\n[Position]\r\n"
                  "Top = 90\r\nLeft = 282\r\n\r\n[Recent Presets]\r\n\r\n[Recent Files]\r\n\r\n"
                  "[Presets]\r\n"},
        WriteCase{"FullListsOldestFirst",
                  [](AppHarness& h) {
                      ASSERT_EQ(h.program.Click("cmdViewLogAfterCompile"), EventResult::Done);
                      ASSERT_EQ(h.program.Click("cmdCloseProgramOnRun"), EventResult::Done);
                      ASSERT_EQ(h.program.Click("cmdShowDetails"), EventResult::Done);
                      h.state().RecentCount = 12;
                      h.state().Opacity = 180;
                      h.main().Top = -20;
                      h.main().Left = 1300;
                      for (const char* p : {"/p/old.zrp", "/p/mid.zrp", "/p/new.zrp"}) {
                          h.main().AddRecentPreset(p);
                      }
                      h.main().AddRecentFile("/f/a b.map");
                      h.main().AddRecentFile("/f/c.map");
                      h.state().PresetList = {"/fav/z.zrp", "/fav/a.zrp"};
                  },
                  "[Kestrune]\r\nRecentFiles = 12\r\nOpacity = 180\r\nViewLogAfterCompile = True"
                  "\r\nCloseProgramOnRun = True\r\nShowDetails = False\r\n\r\n[Position]\r\n"
                  "Top = -20\r\nLeft = 1300\r\n\r\n[Recent Presets]\r\n"
                  "RecentPreset = /p/old.zrp\r\nRecentPreset = /p/mid.zrp\r\n"
                  "RecentPreset = /p/new.zrp\r\n\r\n[Recent Files]\r\nRecentFile = /f/a b.map\r\n"
                  "RecentFile = /f/c.map\r\n\r\n[Presets]\r\nPreset = /fav/z.zrp\r\n"
                  "Preset = /fav/a.zrp\r\n"}),
    [](const auto& test) { return std::string(test.param.name); });

// The settings in force, as one line: recent count, alpha, the three toggles, the height the
// details toggle set ("-" for none), and the window's left and top.
std::string Applied(TfrmMain& m) {
    const AppState& s = m.State();
    EXPECT_EQ(m.cmdViewLogAfterCompile.checked, s.Script.ViewLogAfterCompile);
    EXPECT_EQ(m.cmdCloseProgramOnRun.checked, s.CloseProgramOnRun);
    EXPECT_EQ(m.cmdShowDetails.checked, s.ShowDetails);
    EXPECT_EQ(m.cmdToolShowDetails.checked, s.ShowDetails);
    return "recent " + std::to_string(s.RecentCount) + " alpha " + std::to_string(s.Opacity) +
           " log " + BoolText(s.Script.ViewLogAfterCompile) + " close " +
           BoolText(s.CloseProgramOnRun) + " details " + BoolText(s.ShowDetails) + " " +
           (m.Height ? std::to_string(*m.Height) : "-") + " at " + std::to_string(m.Left) + "," +
           std::to_string(m.Top);
}

TEST(SettingsFile, WrittenAndReadBackGivesTheSameStateWithoutVanishedFiles) {
    AppHarness h;
    const std::string presetA = h.ChainPreset("p/a.zrp"), presetB = h.ChainPreset("p/b.zrp"),
                      presetC = h.ChainPreset("p/c.zrp");
    const std::string fileA = h.dir.Write("in/a.map", ""), fileB = h.dir.Write("in/b.map", ""),
                      fileC = h.dir.Write("in/c.map", "");
    const std::string fav1 = h.ChainPreset("fav/one.zrp"), fav2 = h.ChainPreset("fav/two.zrp"),
                      fav3 = h.ChainPreset("fav/three.zrp");
    h.Start();
    ASSERT_EQ(h.program.Click("cmdShowDetails"), EventResult::Done);
    ASSERT_EQ(h.program.Click("cmdViewLogAfterCompile"), EventResult::Done);
    h.state().RecentCount = 5;
    h.state().Opacity = 140;
    h.main().Top = 120;
    h.main().Left = 300;
    for (const std::string& p : {presetA, presetB, presetC}) {
        h.main().AddRecentPreset(p);
    }
    for (const std::string& f : {fileA, fileB, fileC}) {
        h.main().AddRecentFile(f);
    }
    h.state().PresetList = {fav3, fav1, fav2};
    const std::string applied = Applied(h.main());
    ASSERT_EQ(h.program.Click("cmdExit"), EventResult::Done);
    std::filesystem::remove(presetB);
    std::filesystem::remove(fileB);
    std::filesystem::remove(fav1);

    Kestrune again(h.fake, h.dir.path(), h.dir / "kestrune");
    again.Start({});
    const AppState& s = again.frmMain.State();
    EXPECT_EQ(s.RecentPresetList, (Strings{presetC, presetA}));
    EXPECT_EQ(s.RecentFileList, (Strings{fileC, fileA}));
    EXPECT_EQ(s.PresetList, (Strings{fav3, fav2}));
    EXPECT_EQ(AppHarness::Captions(again.frmMain.cmdPresetsMenu),
              (Strings{"three.zrp", "two.zrp"}));
    EXPECT_EQ(AppHarness::Captions(again.frmMain.cmdRecentFiles), (Strings{fileC, fileA}));
    EXPECT_EQ(Applied(again.frmMain), applied);
    EXPECT_EQ(h.fake.messages, std::vector<RecordedMessage>{});
}

// ---- Reading the scalar settings

struct ReadCase {
    const char* name;
    std::string ini;
    std::string applied;
    ScreenRect workArea{0, 0, 1920, 1040};
    std::pair<int, int> os{10, 0};
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsReader : public ::testing::TestWithParam<ReadCase> {};

TEST_P(SettingsReader, StartUpApplies) {
    const ReadCase& c = GetParam();
    AppHarness h;
    h.fake.workArea = c.workArea;
    h.fake.osVersion = c.os;
    h.dir.Write("Config/config.ini", c.ini);
    h.Start();
    EXPECT_EQ(Applied(h.main()), c.applied);
    EXPECT_EQ(h.fake.messages, std::vector<RecordedMessage>{});
}

constexpr ScreenRect kLowScreen{0, 0, 1920, 1000};

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsReader,
    ::testing::Values(
        ReadCase{"NoRecognisedLine", "[Kestrune]\r\nOpacity\r\nunknown = 1\r\n= 7\r\n",
                 "recent 4 alpha 255 log False close False details True - at 282,90"},
        ReadCase{"KeyCaseAndBlanks",
                 "  SHOWDETAILS=false\r\n\tclosePROGRAMonrun   =   TRUE \r\nRecentFILES = 7\n",
                 "recent 7 alpha 255 log False close True details False 460 at 282,90"},
        ReadCase{"HiddenDetailsOnOlderSystem",
                 "ShowDetails = 0\r\n",
                 "recent 4 alpha 255 log False close False details False 450 at 282,90",
                 {0, 0, 1920, 1040},
                 {5, 0}},
        ReadCase{"NoIsNeitherTrueNorFalse", "ShowDetails = no\r\nViewLogAfterCompile = yes\r\n",
                 "recent 4 alpha 255 log False close False details True 582 at 282,90"},
        ReadCase{"NumbersAsBooleans", "ViewLogAfterCompile = -1\r\nCloseProgramOnRun = 0\r\n",
                 "recent 4 alpha 255 log True close False details True - at 282,90"},
        ReadCase{"BadNumbersTakeDefaults", "RecentFiles = many\r\nTop = high\r\nLeft = 1.5\r\n",
                 "recent 4 alpha 255 log False close False details True - at 75,50"},
        ReadCase{"RecentCountIsNotRangeChecked", "RecentFiles = -3\r\n",
                 "recent -3 alpha 255 log False close False details True - at 282,90"},
        ReadCase{"Opacity90Gives105", "Opacity = 90\r\n",
                 "recent 4 alpha 105 log False close False details True - at 282,90"},
        ReadCase{"Opacity254", "Opacity = 254\r\n",
                 "recent 4 alpha 254 log False close False details True - at 282,90"},
        ReadCase{"Opacity300IsOpaque", "Opacity = 300\r\n",
                 "recent 4 alpha 255 log False close False details True - at 282,90"},
        ReadCase{"Opacity255IsOpaque", "Opacity = 255\r\n",
                 "recent 4 alpha 255 log False close False details True - at 282,90"},
        ReadCase{"OpacityTextIsOpaque", "Opacity = half\r\n",
                 "recent 4 alpha 255 log False close False details True - at 282,90"},
        ReadCase{"TopBelowWorkAreaUsesShownHeight", "ShowDetails = True\r\nTop = 5000\r\n",
                 "recent 4 alpha 255 log False close False details True 582 at 282,418",
                 kLowScreen},
        ReadCase{"TopBelowWorkAreaUsesHiddenHeight", "ShowDetails = False\r\nTop = 5000\r\n",
                 "recent 4 alpha 255 log False close False details False 460 at 282,540",
                 kLowScreen},
        ReadCase{"TopOnTinyWorkAreaStopsAtZero",
                 "Top = 400\r\n",
                 "recent 4 alpha 255 log False close False details True - at 282,0",
                 {0, 0, 800, 300}},
        ReadCase{"LeftRightOfWorkArea", "Left = 3000\r\n",
                 "recent 4 alpha 255 log False close False details True - at 1208,90"},
        ReadCase{"WindowOnTheRightEdgeMovesIn", "Left = 1920\r\nTop = 1040\r\n",
                 "recent 4 alpha 255 log False close False details True - at 1208,458"},
        ReadCase{"PartlyVisibleWindowStays", "Left = -100\r\nTop = -10\r\n",
                 "recent 4 alpha 255 log False close False details True - at -100,-10"},
        ReadCase{"WindowLeftOfWorkAreaMovesIn",
                 "Left = 100\r\nTop = 30\r\n",
                 "recent 4 alpha 255 log False close False details True - at 1920,30",
                 {1920, 0, 3840, 1040}},
        ReadCase{"WindowAboveWorkAreaMovesIn",
                 "Top = -600\r\nLeft = 10\r\n",
                 "recent 4 alpha 255 log False close False details True - at 10,200",
                 {0, 200, 1920, 1040}}),
    [](const auto& test) { return std::string(test.param.name); });

// ---- Reading the lists

struct SettingsLists : ::testing::Test {
    void Read(const std::string& ini) {
        h.dir.Write("Config/config.ini", ini);
        h.Start();
    }
    AppHarness h;
    std::string a = h.dir.Write("in/a.map", ""), b = h.dir.Write("in/b.map", ""),
                c = h.dir.Write("in/c.map", ""), d = h.dir.Write("in/d.map", ""),
                e = h.dir.Write("in/e.map", ""), gone = h.dir / "in/gone.map";
};

TEST_F(SettingsLists, RecentEntriesMoveToFrontAsReadAndVanishedOnesAreDropped) {
    Read("[Recent Files]\r\nRecentFile = " + a + "\r\nRecentFile = " + gone +
         "\r\nRecentFile = " + b + "\r\nRecentFile = " + a + "\r\n[Presets]\r\nPreset = " + e +
         "\r\nPreset = " + gone + "\r\nPreset = " + c + "\r\n");
    EXPECT_EQ(h.state().RecentFileList, (Strings{a, b}));
    EXPECT_EQ(AppHarness::Captions(h.main().cmdRecentFiles), (Strings{a, b}));
    EXPECT_TRUE(h.main().cmdRecentFiles.visible);
    EXPECT_FALSE(h.main().cmdRecentPresets.visible) << "no recent preset was read";
    EXPECT_EQ(h.state().PresetList, (Strings{e, c}));
    EXPECT_EQ(AppHarness::Captions(h.main().cmdPresetsMenu), (Strings{"e.map", "c.map"}));
    EXPECT_TRUE(h.main().cmdPresetsMenu.visible);
}

TEST_F(SettingsLists, CountZeroKeepsBothListsEmptyButTheirMenusShown) {
    Read("RecentFiles = 0\r\nRecentPreset = " + a + "\r\nRecentFile = " + b + "\r\n");
    EXPECT_EQ(h.state().RecentPresetList, Strings{});
    EXPECT_EQ(h.state().RecentFileList, Strings{});
    EXPECT_TRUE(h.main().cmdRecentPresets.visible);
    EXPECT_TRUE(h.main().cmdRecentFiles.visible);
}

TEST_F(SettingsLists, CountAfterTheListsAppliesOnlyToLaterAdditions) {
    std::string ini;
    for (const std::string& f : {a, b, c, d, e}) {
        ini += "RecentFile = " + f + "\r\n";
    }
    Read(ini + "RecentFiles = 2\r\n");
    EXPECT_EQ(h.state().RecentFileList, (Strings{e, d, c, b}));
    h.main().AddRecentFile(a);
    EXPECT_EQ(h.state().RecentFileList, (Strings{a, e}));
}

TEST(RecentListReading, GivesWhatAddingEachEntryInTurnGives) {
    AppHarness h;
    const Strings files = {h.input, h.compiler, h.linker, h.viewer};
    std::mt19937 random(2026);
    for (int round = 0; round < 100; ++round) {
        std::string ini;
        Strings model;
        std::int32_t count = 4;
        for (int line = 0; line < 12; ++line) {
            if (random() % 5 == 0) {
                count = static_cast<std::int32_t>(random() % 5);
                ini += "RecentFiles = " + std::to_string(count) + "\r\n";
            } else {
                const std::string& file = files[random() % files.size()];
                ini += "RecentFile = " + file + "\r\n";
                AddRecent(model, file, count);
            }
        }
        TfrmMain fresh(h.fake, h.dir.path());
        fresh.ReadSettings(h.dir.Write("Config/config.ini", ini));
        ASSERT_EQ(fresh.State().RecentFileList, model) << ini;
    }
}

// ---- Adding, cutting and choosing

struct AddCase {
    const char* name;
    Strings added;
    Strings expected;
};

void PrintTo(const AddCase& c, std::ostream* os) {
    *os << c.name;
}

class RecentLists : public ::testing::TestWithParam<AddCase> {};

TEST_P(RecentLists, AddMovesToFrontAndCutsAtCount) {
    AppHarness h;
    for (const std::string& path : GetParam().added) {
        h.main().AddRecentPreset(path);
        h.main().AddRecentFile(path);
    }
    EXPECT_EQ(h.state().RecentPresetList, GetParam().expected);
    EXPECT_EQ(h.state().RecentFileList, GetParam().expected);
    EXPECT_EQ(AppHarness::Captions(h.main().cmdRecentPresets), GetParam().expected);
    EXPECT_EQ(AppHarness::Captions(h.main().cmdRecentFiles), GetParam().expected);
    EXPECT_TRUE(h.main().cmdRecentPresets.visible);
    EXPECT_TRUE(h.main().cmdRecentFiles.visible);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RecentLists,
    ::testing::Values(
        AddCase{"NewGoesFirst", {"/a", "/b", "/c"}, {"/c", "/b", "/a"}},
        AddCase{"RepeatMovesWithoutGrowing", {"/a", "/b", "/c", "/a"}, {"/a", "/c", "/b"}},
        AddCase{"FirstAgainChangesNothing", {"/a", "/b", "/b"}, {"/b", "/a"}},
        AddCase{"LetterCaseMakesDifferentEntries", {"/x/a", "/X/A"}, {"/X/A", "/x/a"}},
        AddCase{"FifthDropsTheOldest", {"/1", "/2", "/3", "/4", "/5"}, {"/5", "/4", "/3", "/2"}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(RecentMenus, ChoosingARecentPresetOpensItAfterThePrompt) {
    AppHarness h;
    const std::string older = h.ChainPreset("p/older.zrp"), newer = h.ChainPreset("p/newer.zrp");
    h.dir.Write("Config/config.ini",
                "RecentPreset = " + older + "\r\nRecentPreset = " + newer + "\r\n");
    h.Start();
    ASSERT_EQ(h.state().PresetFileName, newer);
    h.state().Fields.PresetChanged = true;
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel, ConfirmAnswer::No};
    ASSERT_EQ(h.program.ChooseMenuItem("cmdRecentPresets", 1), EventResult::Done);
    EXPECT_EQ(h.state().PresetFileName, newer) << "cancelled";
    ASSERT_EQ(h.program.ChooseMenuItem("cmdRecentPresets", 1), EventResult::Done);
    EXPECT_EQ(h.state().PresetFileName, older);
    EXPECT_EQ(h.main().Caption, "older.zrp - Kestrune");
    EXPECT_EQ(h.state().RecentPresetList, (Strings{older, newer}));
    EXPECT_EQ(h.fake.confirmations, (Strings(2, "Save changes to newer.zrp?")));
}

// Captions are the paths themselves; stripping an "&" as an accelerator mark would open
// another file.
TEST(RecentMenus, ChoosingARecentFileTakesItsPathWithEveryAmpersand) {
    AppHarness h;
    h.Start();
    ASSERT_EQ(h.ChooseSpecification("Chain"), EventResult::Done);
    h.main().AddRecentFile("/in/R&D&Co.map");
    h.main().AddRecentFile(h.input);
    h.state().Fields.PresetChanged = true;
    ASSERT_EQ(h.program.ChooseMenuItem("cmdRecentFiles", 1), EventResult::Done);
    EXPECT_EQ(h.state().Input.InputFile, "/in/R&D&Co.map");
    EXPECT_EQ(h.main().txtFile.text, "/in/R&D&Co.map");
    EXPECT_EQ(h.state().RecentFileList.front(), "/in/R&D&Co.map");
    EXPECT_EQ(h.fake.confirmations, Strings{}) << "no save prompt";
    EXPECT_EQ(h.fake.messages, std::vector<RecordedMessage>{}) << "no existence test";
}

TEST(FavouritePresets, ChoiceMatchesTheLowerCasedFileName) {
    AppHarness h;
    const std::string night = h.ChainPreset("a/Night.zrp"), upper = h.ChainPreset("b/NIGHT.ZRP");
    h.dir.Write("Config/config.ini", "Preset = " + night + "\r\n");
    h.Start();
    ASSERT_EQ(AppHarness::Captions(h.main().cmdPresetsMenu), Strings{"Night.zrp"});
    ASSERT_EQ(h.program.ChooseMenuItem("cmdPresetsMenu", 0), EventResult::Done);
    EXPECT_EQ(h.state().PresetFileName, night);
    EXPECT_EQ(h.main().Caption, "Night.zrp - Kestrune");

    h.state().PresetList = {h.dir / "c/Day.zrp", upper};  // the menu keeps "Night.zrp"
    ASSERT_EQ(h.program.ChooseMenuItem("cmdPresetsMenu", 0), EventResult::Done);
    EXPECT_EQ(h.state().PresetFileName, upper);

    h.state().PresetList = {h.dir / "c/Day.zrp"};
    h.state().Fields.PresetChanged = true;
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel, ConfirmAnswer::No};
    ASSERT_EQ(h.program.ChooseMenuItem("cmdPresetsMenu", 0), EventResult::Done);
    EXPECT_EQ(h.fake.messages, std::vector<RecordedMessage>{}) << "cancelled before the search";
    ASSERT_EQ(h.program.ChooseMenuItem("cmdPresetsMenu", 0), EventResult::Done);
    EXPECT_EQ(h.fake.messages, (std::vector<RecordedMessage>{{"Error", "night.zrp not found."}}));
    EXPECT_EQ(h.state().PresetFileName, upper);
}

}  // namespace
}  // namespace kestrune
