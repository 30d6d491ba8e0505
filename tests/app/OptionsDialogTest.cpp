// The options dialog as the user drives it: opening, the slider and up-down, the tool paths,
// the base and destination folders, the favourite presets, OK and Cancel.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "AppHarness.h"

namespace kestrune {
namespace {

using testing::AppHarness;
using testing::RecordedMessage;
using Strings = std::vector<std::string>;
using Rows = std::vector<std::pair<std::string, std::string>>;

struct OptionsDialog : ::testing::Test {
    void StartWithChain() {
        h.Start();
        ASSERT_EQ(h.ChooseSpecification("Chain"), EventResult::Done);
    }
    void Click(const char* name) { ASSERT_EQ(h.program.Click(name), EventResult::Done) << name; }
    TfrmOptions& options() { return h.program.frmOptions; }
    Rows ToolRows() {
        Rows rows;
        for (const ToolPathListRow& row : options().ToolRows) {
            rows.emplace_back(row.tool, row.path);
        }
        return rows;
    }
    std::string ToolPathFile() { return h.dir.Read("Config/Chain.path"); }
    // What OK may apply: opacity, recent length, Compiler's tool, base and destination paths,
    // the favourites and the tool path file.
    std::string Applied() {
        const AppState& s = h.state();
        const TZRGroup* compiler = s.Specification.FindProgram("Compiler");
        std::string text = std::to_string(s.Opacity) + " | " + std::to_string(s.RecentCount) +
                           " | " + (compiler != nullptr ? compiler->ToolPath : "-") + " | " +
                           s.Fields.Files.BasePath + " | " + s.Fields.Files.FileDest + " | ";
        for (const std::string& preset : s.PresetList) {
            text += preset + ";";
        }
        return text + " | " + ToolPathFile();
    }
    // Every change the dialog offers, on every page; the platform's queues give the choices.
    void EditEverything() {
        Click("cmdSetup");
        options().sldTrancparencyChange(100);
        options().numRecentFilesClick(2);
        Click("tabPaths");
        options().SelectToolRow(0);
        Click("lstToolPaths");
        if (options().cmdBrowseTool.enabled) {
            Click("cmdBrowseTool");
        }
        Click("cmdBrowseBase");
        Click("cmdBrowseFile");
        Click("tabPresets");
        Click("cmdAddPreset");
    }

    AppHarness h;
};

TEST_F(OptionsDialog, OpeningCopiesTheMainWindowsStateEveryTime) {
    StartWithChain();
    h.state().Opacity = 200;
    h.state().RecentCount = 7;
    h.state().PresetList = {"/fav/a.zrp"};
    Click("cmdSetup");
    EXPECT_TRUE(options().IsOpen);
    EXPECT_TRUE(options().Translucent);
    EXPECT_EQ(options().Alpha, 200);
    EXPECT_EQ(options().SliderPosition, 55);
    EXPECT_EQ(options().SliderTip, "Alpha = 200");
    EXPECT_EQ(options().txtRecentFiles.text, "7");
    EXPECT_EQ(options().RecentPosition, 7);
    EXPECT_EQ(options().txtBase.text, h.dir / "base");
    EXPECT_EQ(options().txtFile.text, h.dir / "dest");
    EXPECT_EQ(options().lblBrowseGame.text, "Engine Path:");
    EXPECT_EQ(ToolRows(), (Rows{{"Compiler", h.compiler}, {"Linker", h.linker}}));
    EXPECT_EQ(options().Presets, Strings{"/fav/a.zrp"});

    Click("tabPaths");
    options().SelectToolRow(1);
    Click("lstToolPaths");
    EXPECT_EQ(options().lblBrowseTool.text, "Linker Path:");
    EXPECT_EQ(options().txtToolPath.text, h.linker);
    EXPECT_TRUE(options().cmdBrowseTool.enabled);
    Click("cmdCancel");
    h.state().PresetList.clear();
    ASSERT_EQ(h.ChooseSpecification("Other"), EventResult::Done);
    Click("cmdSetup");
    EXPECT_EQ(ToolRows(), (Rows{{"Packer", ""}}));
    EXPECT_EQ(options().lblBrowseGame.text, "Engine Path:") << "no program entry: label kept";
    EXPECT_EQ(options().Page, 1) << "the page is kept";
    EXPECT_EQ(options().lblBrowseTool.text, "Tool Path:");
    EXPECT_EQ(options().txtToolPath.text, "");
    EXPECT_FALSE(options().cmdBrowseTool.enabled);
    EXPECT_EQ(options().Presets, Strings{});
}

struct SliderCase {
    const char* name;
    int startOpacity;
    int position;
    const char* tip;
    int opacity;
};

void PrintTo(const SliderCase& c, std::ostream* os) {
    *os << c.name;
}

class Translucency : public ::testing::TestWithParam<SliderCase> {};

TEST_P(Translucency, SliderMapsToAlphaOnOkForTheMainWindowAndTheAboutBox) {
    const SliderCase& c = GetParam();
    AppHarness h;
    h.Start();
    h.state().Opacity = static_cast<std::uint8_t>(c.startOpacity);
    ASSERT_EQ(h.program.Click("cmdSetup"), EventResult::Done);
    h.program.frmOptions.sldTrancparencyChange(c.position);
    EXPECT_EQ(h.program.frmOptions.SliderTip, c.tip);
    EXPECT_EQ(h.state().Opacity, c.startOpacity) << "nothing before OK";
    ASSERT_EQ(h.program.Click("cmdOK"), EventResult::Done);
    EXPECT_EQ(h.state().Opacity, c.opacity);
    ASSERT_EQ(h.program.Click("cmdAboutKestrune"), EventResult::Done);
    EXPECT_EQ(h.program.frmAbout.Alpha, c.opacity);
    EXPECT_EQ(h.program.frmAbout.Translucent, c.opacity != 255);
    ASSERT_EQ(h.program.Click("cmdOK"), EventResult::Done);
    ASSERT_EQ(h.program.Click("cmdSetup"), EventResult::Done);
    EXPECT_EQ(h.program.frmOptions.SliderPosition, c.position);
    EXPECT_EQ(h.program.frmOptions.Translucent, c.opacity != 255);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Translucency,
    ::testing::Values(SliderCase{"SolidTurnsItOff", 150, 0, "Alpha = 255", 255},
                      SliderCase{"Middle", 255, 55, "Alpha = 200", 200},
                      SliderCase{"FullGives105", 255, 150, "Alpha = 105", 105}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(OptionsDialog, UpDownSetsTheRecentLengthThatOkAppliesToBothLists) {
    h.Start();
    for (const char* p : {"/1", "/2", "/3", "/4"}) {
        h.main().AddRecentPreset(p);
        h.main().AddRecentFile(p);
    }
    Click("cmdSetup");
    const std::pair<int, const char*> steps[] = {{9, "9"}, {13, "12"}, {0, "1"}, {2, "2"}};
    for (const auto& [position, text] : steps) {
        options().numRecentFilesClick(position);
        EXPECT_EQ(options().txtRecentFiles.text, text) << position;
    }
    EXPECT_EQ(h.state().RecentCount, 4);
    Click("cmdOK");
    EXPECT_EQ(h.state().RecentCount, 2);
    EXPECT_EQ(h.state().RecentPresetList, (Strings{"/4", "/3"}));
    EXPECT_EQ(AppHarness::Captions(h.main().cmdRecentFiles), (Strings{"/4", "/3"}));
    EXPECT_TRUE(h.main().cmdRecentFiles.visible);
}

TEST_F(OptionsDialog, BrowsingForAToolOffersItsFilterAndFolder) {
    StartWithChain();
    h.state().Specification.FindProgram("Linker")->ExeFilter = "Linkers (ld*)|ld*";
    const std::string newer = h.dir.Write("other/ld2", "");
    h.fake.fileAnswers = {std::nullopt, newer, h.dir / "x/cc"};
    Click("cmdSetup");
    Click("tabPaths");
    options().SelectToolRow(1);
    Click("lstToolPaths");
    Click("cmdBrowseTool");  // cancelled
    EXPECT_EQ(options().txtToolPath.text, h.linker);
    Click("cmdBrowseTool");
    EXPECT_EQ(options().txtToolPath.text, newer);
    EXPECT_EQ(ToolRows()[1].second, newer);
    EXPECT_EQ(h.state().Specification.FindProgram("Linker")->ToolPath, h.linker)
        << "nothing before OK";

    std::filesystem::remove(h.compiler);
    options().SelectToolRow(0);
    Click("lstToolPaths");
    options().ToolRows[0].tool = "Gone";  // a row whose program no longer exists
    Click("cmdBrowseTool");
    ASSERT_EQ(h.fake.fileDialogs.size(), 3u);
    EXPECT_EQ(h.fake.fileDialogs[0].filter, "Linkers (ld*)|ld*");
    EXPECT_EQ(h.fake.fileDialogs[0].initialFolder, h.dir / "tools/");
    EXPECT_EQ(h.fake.fileDialogs[1].initialFolder, h.dir / "tools/");
    EXPECT_EQ(h.fake.fileDialogs[2].filter, "All Files (*.*)|*.*");
    EXPECT_EQ(h.fake.fileDialogs[2].initialFolder, "") << "the tool's file is gone";

    options().SelectToolRow(-1);
    Click("lstToolPaths");
    EXPECT_EQ(options().lblBrowseTool.text, "Compiler Path:") << "no row: nothing changes";
    Click("cmdBrowseTool");
    EXPECT_EQ(h.fake.fileDialogs.size(), 3u);
}

TEST_F(OptionsDialog, FolderChooserReplacesBaseAndDestinationUnlessCancelled) {
    StartWithChain();
    Click("cmdSetup");
    Click("tabPaths");
    h.fake.folderAnswers = {"/new/base", "", "/new/dest", ""};
    for (const auto& [button, box] : {std::pair{"cmdBrowseBase", &options().txtBase},
                                      std::pair{"cmdBrowseFile", &options().txtFile}}) {
        Click(button);
        Click(button);
        EXPECT_EQ(box->text, button == std::string("cmdBrowseBase") ? "/new/base" : "/new/dest");
    }
    EXPECT_EQ(h.fake.folderTitles, Strings(4, "Select A Folder:"));
}

TEST_F(OptionsDialog, FavouritesRefuseAnExistingFileNameSilentlyAndRemoveTheSelectedOne) {
    StartWithChain();
    h.state().PresetList = {"/a/Night.zrp", "/b/Day.zrp"};
    Click("cmdSetup");
    Click("tabPresets");
    h.fake.fileAnswers = {"/c/night.zrp", "/b/DAY.ZRP", "/c/Dawn.zrp", std::nullopt};
    for (int i = 0; i < 4; ++i) {
        Click("cmdAddPreset");
    }
    EXPECT_EQ(options().Presets, (Strings{"/a/Night.zrp", "/b/Day.zrp", "/c/Dawn.zrp"}));
    EXPECT_EQ(h.fake.messages, std::vector<RecordedMessage>{});
    ASSERT_EQ(h.fake.fileDialogs.size(), 4u);
    EXPECT_EQ(h.fake.fileDialogs[0].title, "Open Preset File");
    EXPECT_EQ(h.fake.fileDialogs[0].filter, "Preset Files (*.zrp)|*.zrp");
    EXPECT_EQ(h.fake.fileDialogs[0].defaultExtension, ".zrp");
    EXPECT_EQ(h.fake.fileDialogs[0].initialFolder, "/b/");
    EXPECT_EQ(h.fake.fileDialogs[3].initialFolder, "/c/");

    options().SelectPreset(-1);
    Click("cmdRemovePreset");
    options().SelectPreset(0);
    Click("cmdRemovePreset");
    EXPECT_EQ(options().Presets, (Strings{"/b/Day.zrp", "/c/Dawn.zrp"}));
    EXPECT_EQ(h.state().PresetList, (Strings{"/a/Night.zrp", "/b/Day.zrp"})) << "before OK";
    Click("cmdOK");
    EXPECT_EQ(h.state().PresetList, (Strings{"/b/Day.zrp", "/c/Dawn.zrp"}));
    EXPECT_EQ(AppHarness::Captions(h.main().cmdPresetsMenu), (Strings{"Day.zrp", "Dawn.zrp"}));
    EXPECT_TRUE(h.main().cmdPresetsMenu.visible);
}

TEST_F(OptionsDialog, CancelAppliesNothingAndOkAppliesEverythingWithTheToolPathFile) {
    StartWithChain();
    const std::string before = Applied(), cc2 = h.dir.Write("new/cc2", "");
    for (const std::string close : {"cmdCancel", "cmdOK"}) {
        h.fake.fileAnswers = {cc2, "/fav/b.zrp"};
        h.fake.folderAnswers = {"/b2", "/d2"};
        EditEverything();
        Click(close.c_str());
        EXPECT_FALSE(options().IsOpen);
        if (close == "cmdCancel") {
            EXPECT_EQ(Applied(), before);
        }
    }
    EXPECT_EQ(Applied(), "155 | 2 | " + cc2 + " | /b2 | /d2 | /fav/b.zrp; | BasePath = /b2\r\n" +
                             "FileDest = /d2\r\nCompiler = " + cc2 + "\r\nLinker = " + h.linker +
                             "\r\n");
    EXPECT_EQ(h.state().Specification.FindProgram("Linker")->ToolPath, h.linker);
    EXPECT_EQ(h.fake.messages, std::vector<RecordedMessage>{});
}

TEST_F(OptionsDialog, OkWithoutSpecificationAppliesOnlyTranslucencyAndRecentLength) {
    h.Start();
    h.state().PresetList = {"/fav/a.zrp"};
    const std::string before = ToolPathFile();
    h.fake.fileAnswers = {"/fav/b.zrp"};
    h.fake.folderAnswers = {"/b2", "/d2"};
    EditEverything();
    EXPECT_EQ(ToolRows(), Rows{});
    Click("cmdOK");
    EXPECT_EQ(Applied(), "155 | 2 | - |  |  | /fav/a.zrp; | " + before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(h.dir / "Config"), {}), 1);
}

TEST_F(OptionsDialog, UnwritableToolPathFileIsReportedAndTheDialogCloses) {
    StartWithChain();
    std::filesystem::remove(h.dir / "Config/Chain.path");
    std::filesystem::create_directory(h.dir / "Config/Chain.path");
    h.fake.folderAnswers = {"/b2"};
    Click("cmdSetup");
    Click("tabPaths");
    Click("cmdBrowseBase");
    Click("cmdOK");
    ASSERT_EQ(h.fake.messages.size(), 1u);
    EXPECT_EQ(h.fake.messages[0].title, "Error");
    EXPECT_NE(h.fake.messages[0].text.find(h.dir / "Config/Chain.path"), std::string::npos)
        << h.fake.messages[0].text;
    EXPECT_FALSE(options().IsOpen);
    EXPECT_TRUE(std::filesystem::is_directory(h.dir / "Config/Chain.path"));
}

}  // namespace
}  // namespace kestrune
