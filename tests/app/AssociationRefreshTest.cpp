// After the preset association is written, the desktop takes it up: the user's MIME and
// desktop databases are refreshed and Kestrune becomes the preset type's default application;
// a missing tool is named with its package.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "AppHarness.h"
#include "app/Association.h"
#include "app/ProgramHome.h"

namespace kestrune {
namespace {

using testing::RecordedMessage;
using Strings = std::vector<std::string>;

// A platform whose tools answer from a table; a tool that is not in it is not found.
class ToolPlatform : public testing::FakePlatform {
  public:
    int RunTool(const std::string& program, const Strings& arguments) override {
        Strings call{program};
        call.insert(call.end(), arguments.begin(), arguments.end());
        calls.push_back(call);
        const auto found = status.find(program);
        return found == status.end() ? kToolNotFound : found->second;
    }
    std::optional<std::string> EnvironmentValue(const std::string& name) override {
        const auto found = environment.find(name);
        return found == environment.end() ? std::nullopt : std::optional(found->second);
    }

    std::vector<Strings> calls;
    std::map<std::string, int> status{
        {"update-mime-database", 0}, {"update-desktop-database", 0}, {"xdg-mime", 0}};
    std::map<std::string, std::string> environment;
};

TEST(AssociationRefresh, RefreshesBothDatabasesThenSetsTheDefault) {
    ToolPlatform tools;
    const Result<void> refreshed = RefreshDesktopDatabases(tools, "/d");
    EXPECT_TRUE(refreshed.Ok()) << refreshed.Error();
    EXPECT_EQ(tools.calls,
              (std::vector<Strings>{
                  {"update-mime-database", "/d/mime"},
                  {"update-desktop-database", "/d/applications"},
                  {"xdg-mime", "default", "kestrune.desktop", "application/x-kestrune-preset"},
              }));
}

TEST(AssociationRefresh, NamesEveryMissingToolWithItsPackage) {
    ToolPlatform tools;
    tools.status.erase("update-mime-database");
    tools.status.erase("xdg-mime");
    EXPECT_EQ(RefreshDesktopDatabases(tools, "/d/").Error(),
              "The preset file type is written, but the desktop cannot take it up: not found:\r\n"
              "update-mime-database (package shared-mime-info)\r\n"
              "xdg-mime (package xdg-utils)");
    EXPECT_EQ(tools.calls.size(), 3u) << "the tools that exist still run";
}

TEST(AssociationRefresh, StopsAtAToolThatFails) {
    ToolPlatform tools;
    tools.status["update-desktop-database"] = 3;
    EXPECT_EQ(RefreshDesktopDatabases(tools, "/d").Error(),
              "update-desktop-database failed with exit status 3");
    EXPECT_EQ(tools.calls.size(), 2u);
}

TEST(AssociationRefresh, APlatformThatRunsNoToolsIsDone) {
    testing::FakePlatform plain;
    const Result<void> refreshed = RefreshDesktopDatabases(plain, "/d");
    EXPECT_TRUE(refreshed.Ok()) << refreshed.Error();
}

#ifndef _WIN32
TEST(AssociationRefresh, ZrpFilesButtonRefreshesAndReportsMissingTools) {
    ToolPlatform tools;
    testing::TempDir dir;
    tools.userDataFolder = dir / "data";
    Kestrune program(tools, dir.path(), dir / "kestrune");
    program.Start({});
    ASSERT_EQ(program.Click("cmdSetup"), EventResult::Done);
    ASSERT_EQ(program.Click("cmdZRPFiles"), EventResult::Done);
    EXPECT_EQ(tools.messages,
              (std::vector<RecordedMessage>{{"Information", "Association complete."}}));
    EXPECT_EQ(tools.calls.size(), 3u);

    tools.status.erase("update-desktop-database");
    ASSERT_EQ(program.Click("cmdZRPFiles"), EventResult::Done);
    EXPECT_EQ(tools.messages.back(),
              (RecordedMessage{"Error",
                               "The preset file type is written, but the desktop cannot take it "
                               "up: not found:\r\nupdate-desktop-database (package "
                               "desktop-file-utils)"}));
}

// An installed Kestrune names its entry like the shipped one, so the menu does not show
// Kestrune twice, and names its icon from the icon theme.
TEST(AssociationRefresh, InstalledProgramWritesTheShippedEntryName) {
    ToolPlatform tools;
    testing::TempDir dir;
    tools.userDataFolder = dir / "data";
    Kestrune program(tools, dir / "home/", "/usr/bin/kestrune");
    ApplyProgramHome(program.frmMain.State(),
                     {dir / "home/", "/usr/share/kestrune/", "/usr/bin/", true});
    program.Start({});
    ASSERT_EQ(program.Click("cmdSetup"), EventResult::Done);
    ASSERT_EQ(program.Click("cmdZRPFiles"), EventResult::Done);
    EXPECT_EQ(tools.messages,
              (std::vector<RecordedMessage>{{"Information", "Association complete."}}));
    EXPECT_EQ(dir.Read("data/applications/org.kestrune.Kestrune.desktop"),
              DesktopEntryText("/usr/bin/kestrune", "kestrune"));
    EXPECT_NE(dir.Read("data/applications/org.kestrune.Kestrune.desktop").find("\nIcon=kestrune\n"),
              std::string::npos);
    EXPECT_EQ(tools.calls.back(), (Strings{"xdg-mime", "default", "org.kestrune.Kestrune.desktop",
                                           "application/x-kestrune-preset"}));
}
#endif

// The platform's environment decides the facts; the executable's folder is probed.
TEST(HomeFacts, ComeFromThePlatformsEnvironment) {
    ToolPlatform platform;
    testing::TempDir dir;
    platform.environment = {{"KESTRUNE_HOME", "/k"}, {"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}};
    const HomeFacts facts = GatherHomeFacts(platform, dir.path(), "/opt");
    EXPECT_EQ(facts.executableFolder, dir.path());
    EXPECT_FALSE(facts.portable);
    EXPECT_EQ(facts.homeOption, "/opt");
    EXPECT_EQ(facts.kestruneHome, std::optional<std::string>("/k"));
    EXPECT_EQ(facts.xdgDataHome, std::optional<std::string>("/x"));
    EXPECT_EQ(facts.home, std::optional<std::string>("/h"));

    std::filesystem::create_directories(dir / "SpecFiles");
    platform.environment.clear();
    const ProgramHome home = FindProgramHome(platform, dir.path(), {});
    EXPECT_EQ(home, (ProgramHome{dir.path(), "", dir.path(), false}));
}

}  // namespace
}  // namespace kestrune
