#include "SettingsFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "FileSizeLimit.h"
#include "RedaSettings.h"
#include "TempDir.h"

namespace reda {
namespace {

namespace fs = std::filesystem;
using kestrune::testing::TempDir;

struct FolderCase {
    const char* name;
    bool specFiles;  // the executable's folder holds SpecFiles/
    bool marker;     // ... and kestrune.portable
    std::map<std::string, std::string> environment;
    const char* expected;  // relative to the test's folder
};

class ProgramFolderRule : public ::testing::TestWithParam<FolderCase> {};

TEST_P(ProgramFolderRule, FollowsKestrunesProgramFolder) {
    const FolderCase& c = GetParam();
    TempDir dir;
    fs::create_directories(dir / "bin");
    if (c.specFiles) {
        fs::create_directories(dir / "bin/SpecFiles");
    }
    if (c.marker) {
        dir.Write("bin/kestrune.portable", "");
    }
    const auto lookup = [&](const char* name) -> std::optional<std::string> {
        const auto it = c.environment.find(name);
        if (it == c.environment.end()) {
            return std::nullopt;
        }
        // "@" stands for the test's folder, so absolute values can be written in the table.
        std::string value = it->second;
        if (!value.empty() && value.front() == '@') {
            value = dir.path() + value.substr(1);
        }
        return value;
    };
    EXPECT_EQ(programFolder(dir / "bin", lookup), fs::path(dir / c.expected));
    const fs::path file = settingsFile(dir / "bin", lookup);
    EXPECT_EQ(file, fs::path(dir / c.expected) / "Config" / "REDA.ini");
    EXPECT_TRUE(fs::is_directory(file.parent_path())) << "Config/ is made when missing";
    EXPECT_FALSE(fs::exists(dir / "bin/Config") && std::string(c.expected) != "bin")
        << "nothing is written beside an executable that is not portable";
}

INSTANTIATE_TEST_SUITE_P(
    RedaSettings, ProgramFolderRule,
    ::testing::Values(
        FolderCase{"KestruneHomeWinsOverPortable",
                   true,
                   true,
                   {{"KESTRUNE_HOME", "@mine"}, {"HOME", "@user"}},
                   "mine"},
        FolderCase{"EmptyKestruneHomeIsUnset",
                   true,
                   false,
                   {{"KESTRUNE_HOME", ""}, {"HOME", "@user"}},
                   "bin"},
        FolderCase{"WritableWithSpecFiles", true, false, {{"HOME", "@user"}}, "bin"},
        FolderCase{"MarkerAlone", false, true, {{"HOME", "@user"}}, "bin"},
        FolderCase{"NeitherGoesToXdgDataHome",
                   false,
                   false,
                   {{"XDG_DATA_HOME", "@data"}, {"HOME", "@user"}},
                   "data/kestrune"},
        FolderCase{"EmptyXdgDataHomeIsUnset",
                   false,
                   false,
                   {{"XDG_DATA_HOME", ""}, {"HOME", "@user"}},
                   "user/.local/share/kestrune"},
        FolderCase{"RelativeXdgDataHomeIsUnset",
                   false,
                   false,
                   {{"XDG_DATA_HOME", "data"}, {"HOME", "@user"}},
                   "user/.local/share/kestrune"},
        FolderCase{
            "NoXdgDataHome", false, false, {{"HOME", "@user"}}, "user/.local/share/kestrune"},
        FolderCase{"NoHomeAtAll", false, false, {}, "bin"}),
    [](const ::testing::TestParamInfo<FolderCase>& test) { return test.param.name; });

// /usr/bin as an ordinary user sees it: root may write anywhere, so the check runs in a child
// that has given up root. The settings go to the user's folder and can be written there.
TEST(ProgramFolderRule, ReadOnlyExecutableFolderSendsTheSettingsToTheUsersFolder) {
    TempDir dir;
    fs::create_directories(dir / "usr/bin/SpecFiles");
    fs::create_directories(dir / "user");
    const auto readable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir.path(), readable);
    fs::permissions(dir / "usr", readable);
    fs::permissions(dir / "usr/bin", readable);
    fs::permissions(dir / "user", fs::perms::all);
    const std::string answer = kestrune::testing::RunInChild({10, 0, false}, [&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return std::string("cannot drop root");
        }
        const auto lookup = [&](const char* name) -> std::optional<std::string> {
            if (std::string(name) == "HOME") {
                return dir / "user";
            }
            return std::nullopt;
        };
        const fs::path file = settingsFile(dir / "usr/bin", lookup);
        RedaSettings settings;
        settings.regex = true;
        try {
            writeSettings(file, settings);
        } catch (const std::exception& e) {
            return std::string("not written: ") + e.what();
        }
        return file.string();
    });
    EXPECT_EQ(answer, (fs::path(dir / "user/.local/share/kestrune/Config/REDA.ini")).string());
    EXPECT_TRUE(readSettings(answer).regex);
    EXPECT_FALSE(fs::exists(dir / "usr/bin/Config"));
}

// The process's own environment is what the viewer reads by default.
TEST(ProgramFolderRule, ReadsTheProcessEnvironment) {
    TempDir dir;
    ASSERT_EQ(setenv("KESTRUNE_HOME", (dir / "chosen").c_str(), 1), 0);
    const fs::path folder = programFolder(dir / "bin");
    unsetenv("KESTRUNE_HOME");
    EXPECT_EQ(folder, fs::path(dir / "chosen"));
    EXPECT_EQ(processEnvironment("KESTRUNE_HOME"), std::nullopt);
}

}  // namespace
}  // namespace reda
