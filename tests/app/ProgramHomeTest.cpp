// Where the program folder is: a portable copy's own folder, a folder named on the command line
// or in KESTRUNE_HOME, or the user's data folder of an installed program, which is made and
// seeded at the start and lists the shipped specifications beside the user's own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "AppHarness.h"
#include "FileSizeLimit.h"
#include "app/CommandLine.h"
#include "app/ProgramHome.h"

namespace kestrune {
namespace {

using testing::RecordedMessage;
using testing::TempDir;
using Strings = std::vector<std::string>;

// ---- The rule

struct HomeCase {
    const char* name;
    HomeFacts facts;
    ProgramHome expected;
};

void PrintTo(const HomeCase& c, std::ostream* os) {
    *os << c.name;
}

class HomeRule : public ::testing::TestWithParam<HomeCase> {};

TEST_P(HomeRule, DecidesTheFolders) {
    EXPECT_EQ(DecideProgramHome(GetParam().facts), GetParam().expected);
}

HomeFacts Portable() {
    HomeFacts facts;
    facts.executableFolder = "/stick/kestrune/";
    facts.portable = true;
    facts.home = "/home/ann";
    facts.xdgDataHome = "/home/ann/data";
    return facts;
}

HomeFacts Installed() {
    HomeFacts facts;
    facts.executableFolder = "/opt/kestrune/bin/";
    facts.home = "/home/ann";
    return facts;
}

template <typename Change>
HomeFacts With(HomeFacts facts, Change change) {
    change(facts);
    return facts;
}

// An installed program's folders with the given program folder.
ProgramHome InstalledHome(const std::string& programFolder) {
    return {programFolder, "/opt/kestrune/share/kestrune/", "/opt/kestrune/bin/", true};
}

INSTANTIATE_TEST_SUITE_P(
    Table, HomeRule,
    ::testing::Values(
        HomeCase{"PortableKeepsEverythingBesideTheProgram",
                 Portable(),
                 {"/stick/kestrune/", "", "/stick/kestrune/", false}},
        HomeCase{"PortableWithHomeOption",
                 With(Portable(), [](HomeFacts& f) { f.homeOption = "/work/home"; }),
                 {"/work/home/", "", "/work/home/", false}},
        HomeCase{"PortableWithVariable",
                 With(Portable(), [](HomeFacts& f) { f.kestruneHome = "/work/env"; }),
                 {"/work/env/", "", "/work/env/", false}},
        HomeCase{"HomeOptionBeatsVariable",
                 With(Portable(),
                      [](HomeFacts& f) {
                          f.homeOption = "rel/home";
                          f.kestruneHome = "/work/env";
                      }),
                 {"rel/home/", "", "rel/home/", false}},
        HomeCase{"InstalledUsesXdgDataHome",
                 With(Installed(), [](HomeFacts& f) { f.xdgDataHome = "/home/ann/data/"; }),
                 InstalledHome("/home/ann/data/kestrune/")},
        HomeCase{"InstalledWithoutXdgDataHome", Installed(),
                 InstalledHome("/home/ann/.local/share/kestrune/")},
        HomeCase{"EmptyXdgDataHomeCountsAsUnset",
                 With(Installed(), [](HomeFacts& f) { f.xdgDataHome = ""; }),
                 InstalledHome("/home/ann/.local/share/kestrune/")},
        HomeCase{"RelativeXdgDataHomeIsIgnored",
                 With(Installed(), [](HomeFacts& f) { f.xdgDataHome = "data"; }),
                 InstalledHome("/home/ann/.local/share/kestrune/")},
        HomeCase{"InstalledWithHomeOptionStillFindsShippedFiles",
                 With(Installed(), [](HomeFacts& f) { f.homeOption = "/work/home/"; }),
                 InstalledHome("/work/home/")},
        HomeCase{"InstalledWithVariable",
                 With(Installed(), [](HomeFacts& f) { f.kestruneHome = "/work/env"; }),
                 InstalledHome("/work/env/")},
        HomeCase{"EmptyVariableCountsAsUnset",
                 With(Installed(), [](HomeFacts& f) { f.kestruneHome = ""; }),
                 InstalledHome("/home/ann/.local/share/kestrune/")},
        HomeCase{"WithoutAnyHomeTheProgramFolderStays",
                 With(Installed(), [](HomeFacts& f) { f.home.reset(); }),
                 InstalledHome("/opt/kestrune/bin/")},
        HomeCase{"UsrBinFindsUsrShare",
                 With(Installed(), [](HomeFacts& f) { f.executableFolder = "/usr/bin"; }),
                 {"/home/ann/.local/share/kestrune/", "/usr/share/kestrune/", "/usr/bin/", true}}),
    [](const auto& test) { return std::string(test.param.name); });

// ---- Which folders are portable

TEST(PortableFolder, NeedsSpecFilesAndWritingOrTheMarker) {
    struct Case {
        const char* name;
        Strings files;    // laid into the folder
        Strings folders;  // made in the folder
        bool portable;
    };
    const Case cases[] = {
        {"WritableWithSpecFiles", {}, {"SpecFiles"}, true},
        {"WritableWithoutSpecFiles", {"Config/HelloC.path"}, {"Config"}, false},
        {"SpecFilesIsAFile", {"SpecFiles"}, {}, false},
        {"MarkerAlone", {"kestrune.portable"}, {}, true},
        {"MarkerThatIsAFolder", {}, {"kestrune.portable"}, false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const std::string& folder : c.folders) {
            std::filesystem::create_directories(dir / folder);
        }
        for (const std::string& file : c.files) {
            dir.Write(file, "");
        }
        const auto entries = [&dir] {
            return std::distance(std::filesystem::directory_iterator(dir.path()), {});
        };
        const auto before = entries();
        EXPECT_EQ(IsPortableFolder(dir.path()), c.portable) << c.name;
        EXPECT_EQ(entries(), before) << c.name << ": the write probe leaves nothing behind";
    }
}

// A read-only folder, as an ordinary user sees /usr/bin or /opt: root may write anywhere, so
// the check runs in a child that has given up root.
TEST(PortableFolder, ReadOnlyFolderWithSpecFilesIsNotPortableButTheMarkerIs) {
    TempDir dir;
    std::filesystem::create_directories(dir / "plain/SpecFiles");
    std::filesystem::create_directories(dir / "marked/SpecFiles");
    dir.Write("marked/kestrune.portable", "");
    namespace fs = std::filesystem;
    for (const char* folder : {"", "plain", "marked"}) {
        fs::permissions(dir / folder, fs::perms::owner_all | fs::perms::group_read |
                                          fs::perms::group_exec | fs::perms::others_read |
                                          fs::perms::others_exec);
    }
    const std::string answer = testing::RunInChild({10, 0, false}, [&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return std::string("cannot drop root");
        }
        return std::string(IsPortableFolder(dir / "plain") ? "plain " : "") +
               (IsPortableFolder(dir / "marked") ? "marked" : "");
    });
    EXPECT_EQ(answer, "marked");
}

// ---- The installed program's first start

struct InstalledTree {
    InstalledTree() {
        dir.Write("opt/share/kestrune/SpecFiles/Chain.zrs", testing::kChainSpec);
        dir.Write("opt/share/kestrune/SpecFiles/Other.zrs", testing::kOtherSpec);
        dir.Write("opt/share/kestrune/Config/Chain.path", "BasePath = /shipped\r\n");
        dir.Write("opt/share/kestrune/Config/Other.path", "BasePath = /other\r\n");
        dir.Write("opt/share/kestrune/Config/README", "not a tool path file");
        std::filesystem::create_directories(dir / "opt/bin");
        home = {dir / "user/kestrune/", dir / "opt/share/kestrune/", dir / "opt/bin/", true};
    }
    TempDir dir;
    ProgramHome home;
};

TEST(InstalledStart, SeedsMissingToolPathFilesAndNeverReplacesTheUsers) {
    InstalledTree tree;
    EXPECT_EQ(PrepareProgramHome(tree.home), Strings{});
    EXPECT_TRUE(std::filesystem::is_directory(tree.dir / "user/kestrune/SpecFiles"));
    EXPECT_EQ(tree.dir.Read("user/kestrune/Config/Chain.path"), "BasePath = /shipped\r\n");
    EXPECT_FALSE(std::filesystem::exists(tree.dir / "user/kestrune/Config/README"));

    tree.dir.Write("user/kestrune/Config/Chain.path", "BasePath = /mine\r\n");
    std::filesystem::remove(tree.dir / "user/kestrune/Config/Other.path");
    EXPECT_EQ(PrepareProgramHome(tree.home), Strings{});
    EXPECT_EQ(tree.dir.Read("user/kestrune/Config/Chain.path"), "BasePath = /mine\r\n");
    EXPECT_EQ(tree.dir.Read("user/kestrune/Config/Other.path"), "BasePath = /other\r\n");
}

TEST(InstalledStart, PortableFolderIsLeftAlone) {
    TempDir dir;
    EXPECT_EQ(PrepareProgramHome({dir / "p/", "", dir / "p/", false}), Strings{});
    EXPECT_FALSE(std::filesystem::exists(dir / "p"));
}

TEST(InstalledStart, AFolderThatCannotBeMadeIsNamed) {
    InstalledTree tree;
    tree.dir.Write("user/kestrune", "a file where the folder should be");
    const Strings problems = PrepareProgramHome(tree.home);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].rfind("Cannot create folder " + tree.dir.path() + "user/kestrune/: ", 0),
              0u)
        << problems[0];
}

TEST(InstalledStart, ListsShippedAndOwnSpecificationsAndTheUsersFileWins) {
    InstalledTree tree;
    ASSERT_EQ(PrepareProgramHome(tree.home), Strings{});
    // The user's own Other.zrs replaces the shipped one; Mine.zrs is added.
    tree.dir.Write("user/kestrune/SpecFiles/Other.zrs",
                   "Setup = Mine\r\n{\r\nlayout:\r\necho mine\r\n}\r\n"
                   "Group = Own\r\n{\r\ncheckbox = Go\r\n{\r\nparam = -g\r\n}\r\n}\r\n");
    tree.dir.Write("user/kestrune/SpecFiles/Mine.zrs", testing::kOtherSpec);
    testing::FakePlatform fake;
    Kestrune program(fake, tree.home.programFolder);
    ApplyProgramHome(program.frmMain.State(), tree.home);
    program.Start({});
    EXPECT_EQ(testing::AppHarness::Captions(program.frmMain.cmdSpecificationsMenu),
              (Strings{"Chain", "Mine", "Other"}));

    ASSERT_EQ(program.ChooseMenuItem("cmdSpecificationsMenu", 2), EventResult::Done);
    AppState& state = program.frmMain.State();
    ASSERT_EQ(state.Specification.Programs.size(), 1u);
    EXPECT_EQ(state.Specification.Programs[0]->Name, "Own");

    ASSERT_EQ(program.ChooseMenuItem("cmdSpecificationsMenu", 0), EventResult::Done);
    EXPECT_EQ(state.Specification.SpecFileName, "Chain.zrs");
    EXPECT_EQ(state.Fields.Files.BasePath, "/shipped") << "the seeded tool path file is read";
    EXPECT_EQ(LogViewerPath(state.Specification, state.Script), tree.dir / "opt/bin/REDA");
    EXPECT_EQ(ScriptPath(state.Specification), tree.dir / "user/kestrune/compile.sh");
    EXPECT_EQ(fake.messages, std::vector<RecordedMessage>{});
}

TEST(InstalledStart, PresetNamingAShippedSpecificationOpens) {
    InstalledTree tree;
    ASSERT_EQ(PrepareProgramHome(tree.home), Strings{});
    const std::string preset = tree.dir.Write(
        "work/a.zrp", "ZRP200\r\n\r\n[Header]\r\nSpecFile = Chain.zrs\r\nFile =\r\n\r\n");
    testing::FakePlatform fake;
    Kestrune program(fake, tree.home.programFolder);
    ApplyProgramHome(program.frmMain.State(), tree.home);
    program.Start({preset});
    EXPECT_EQ(program.frmMain.State().PresetFileName, preset);
    EXPECT_EQ(program.frmMain.State().Specification.Programs.size(), 3u);
    EXPECT_EQ(fake.messages, std::vector<RecordedMessage>{});
}

// ---- The window program's command line

TEST(GuiCommandLine, TakesItsSwitchesAndLeavesTheRest) {
    struct Case {
        Strings words;
        bool help;
        bool version;
        std::string home;
        Strings arguments;
        std::string error;
    };
    const Case cases[] = {
        {{}, false, false, "", {}, ""},
        {{"a.zrp"}, false, false, "", {"a.zrp"}, ""},
        {{"--help"}, true, false, "", {}, ""},
        {{"-h", "a.zrp"}, true, false, "", {"a.zrp"}, ""},
        {{"--version"}, false, true, "", {}, ""},
        {{"--home", "/h", "a.zrp"}, false, false, "/h", {"a.zrp"}, ""},
        {{"a.zrp", "--home=/h"}, false, false, "/h", {"a.zrp"}, ""},
        {{"--home"}, false, false, "", {}, "--home needs a folder"},
        {{"--home="}, false, false, "", {}, "--home needs a folder"},
        {{"--", "--help", "--home"}, false, false, "", {"--help", "--home"}, ""},
        {{"a.zrp", "--", "--", "-h"}, false, false, "", {"a.zrp", "--", "-h"}, ""},
        {{"--other", "b.zrp"}, false, false, "", {"--other", "b.zrp"}, ""},
    };
    for (const Case& c : cases) {
        const GuiCommandLine line = ParseGuiCommandLine(c.words);
        const std::string label = ::testing::PrintToString(c.words);
        EXPECT_EQ(line.help, c.help) << label;
        EXPECT_EQ(line.version, c.version) << label;
        EXPECT_EQ(line.home, c.home) << label;
        EXPECT_EQ(line.arguments, c.arguments) << label;
        EXPECT_EQ(line.error, c.error) << label;
    }
    EXPECT_EQ(GuiVersionText(), "kestrune 2.0.3.1\n");
    EXPECT_EQ(GuiHelpText().rfind("Usage: kestrune [--home DIR] [PRESET]\n", 0), 0u);
}

// ---- A later start handing over its command line

TEST(SecondStart, OpensThePresetAfterTheSavePromptAndRaisesTheWindow) {
    testing::AppHarness h;
    const std::string first = h.ChainPreset("first.zrp");
    const std::string second = h.ChainPreset("second.zrp");
    h.Start({first});
    ASSERT_EQ(h.program.frmMain.State().PresetFileName, first);
    (void)h.program.TakeViewRequests();

    h.program.SecondStart({});
    EXPECT_EQ(h.program.TakeViewRequests(), std::vector<ViewRequest>{ActivateWindow{}});
    EXPECT_EQ(h.program.frmMain.State().PresetFileName, first);

    ASSERT_EQ(h.program.Click("cmdStagesClear"), EventResult::Done);  // a change to keep
    ASSERT_TRUE(h.program.frmMain.State().Fields.PresetChanged);
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel};
    h.program.SecondStart({second});
    EXPECT_EQ(h.fake.confirmations.size(), 1u);
    EXPECT_EQ(h.program.frmMain.State().PresetFileName, first) << "Cancel keeps the preset";

    h.fake.confirmAnswers = {ConfirmAnswer::No};
    h.program.SecondStart({second});
    EXPECT_EQ(h.program.frmMain.State().PresetFileName, second);

    h.program.SecondStart({h.dir / "gone.zrp"});
    EXPECT_EQ(h.fake.messages.back(),
              (RecordedMessage{"Error", "File not found: " + h.dir / "gone.zrp"}));

    ASSERT_EQ(h.program.Click("cmdSendToTray"), EventResult::Done);
    ASSERT_TRUE(h.program.frmMain.InTray);
    h.program.SecondStart({first});
    EXPECT_FALSE(h.program.frmMain.InTray);
    EXPECT_TRUE(h.program.frmMain.Visible);
    EXPECT_EQ(h.program.frmMain.State().PresetFileName, first);
}

TEST(SecondStart, WhileADialogIsOpenOnlyRaisesTheWindow) {
    testing::AppHarness h;
    const std::string first = h.ChainPreset("first.zrp");
    h.Start();
    ASSERT_EQ(h.program.Click("cmdSetup"), EventResult::Done);
    h.program.SecondStart({first});
    EXPECT_TRUE(h.program.frmMain.State().PresetFileName.empty());
    EXPECT_TRUE(h.program.frmOptions.IsOpen);
}

}  // namespace
}  // namespace kestrune
