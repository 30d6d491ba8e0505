// kestrune-cli without --home: the home rule picks the program folder, and an installed
// kestrune-cli reads the shipped specifications and names the installed log viewer.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "CliApp.h"
#include "CliRun.h"
#include "TempDir.h"
#include "base/Paths.h"

namespace kestrune::cli {
namespace {

using kestrune::testing::CliRun;
using kestrune::testing::TempDir;

// The user's own folder of an installed copy under the data folder the test gives: Windows'
// %APPDATA%\Kestrune, the freedesktop $XDG_DATA_HOME/kestrune elsewhere.
#ifdef _WIN32
constexpr std::string_view kUserFolder = "data/Kestrune/";
constexpr const char* kUserToolPaths = "data/Kestrune/Config/Chain.path";
#else
constexpr std::string_view kUserFolder = "data/kestrune/";
constexpr const char* kUserToolPaths = "data/kestrune/Config/Chain.path";
#endif

std::string Script(std::string_view folder) {
    return std::string(folder) + std::string(kScriptFileName);
}

CliRun Cli(const HomeFacts& facts, const std::vector<std::string>& args) {
    return testing::RunCli(args, facts);
}

TEST(CliHome, VersionPrintsAndEndsWithoutACommand) {
    TempDir dir;
    HomeFacts facts;
    facts.executableFolder = dir.path();
    facts.portable = true;
    const CliRun result = Cli(facts, {"--version"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "kestrune-cli 2.0.3.1\n");
    EXPECT_EQ(result.err, "");
}

// An installed tree: the programs in bin/, the shipped samples in share/kestrune/.
struct Installed {
    Installed() {
        const std::string shipped = dir / "share/kestrune/";
        dir.Write("share/kestrune/SpecFiles/Chain.zrs",
                  "Setup = Chain\r\n{\r\nLayout:\r\necho $FileName\r\n$REDA $FileName.log\r\n}\r\n"
                  "Group = Cc\r\n{\r\nCheckBox = Fast\r\n{\r\nParam = -f\r\n}\r\n}\r\n");
        dir.Write("share/kestrune/Config/Chain.path", "BasePath = /base\r\n");
        preset = dir.Write("share/kestrune/Presets/Chain.zrp",
                           "ZRP200\r\n\r\n[Header]\r\nSpecFile = Chain.zrs\r\nFile =\r\n");
        input = dir.Write("work/in.c", "int main;\n");
        std::filesystem::create_directories(dir / "bin");
        facts.executableFolder = dir / "bin/";
        facts.xdgDataHome = dir / "data";
        facts.appData = dir / "data";
        facts.home = dir / "home";
    }
    TempDir dir;
    HomeFacts facts;
    std::string preset;
    std::string input;
};

TEST(CliHome, InstalledBatchWritesIntoTheUsersDataFolder) {
    Installed tree;
    const CliRun result =
        Cli(tree.facts, {"batch", tree.preset, "--input", tree.input, "--view-log"});
    ASSERT_EQ(result.code, 0) << result.err;
    // How the viewer's path is quoted is the script's business; which viewer it is, is ours.
    const std::string script = tree.dir.Read(Script(kUserFolder));
#ifdef _WIN32
    EXPECT_EQ(script.rfind("echo in\r\n", 0), 0u) << script;  // cmd.exe's line ends
#else
    EXPECT_EQ(script.rfind("echo in\n", 0), 0u) << script;
#endif
    EXPECT_NE(script.find(tree.dir / ("bin/" + std::string(kLogViewerFileName))), std::string::npos)
        << script;
    EXPECT_EQ(tree.dir.Read(kUserToolPaths), "BasePath = /base\r\n");
    EXPECT_FALSE(std::filesystem::exists(tree.dir / Script("bin/")));
}

TEST(CliHome, VariableAndOptionChooseTheFolder) {
    Installed tree;
    tree.facts.kestruneHome = tree.dir / "env";
    ASSERT_EQ(Cli(tree.facts, {"batch", tree.preset, "--input", tree.input}).code, 0);
    EXPECT_TRUE(std::filesystem::exists(tree.dir / Script("env/")));
    ASSERT_EQ(
        Cli(tree.facts, {"--home", tree.dir / "opt", "batch", tree.preset, "--input", tree.input})
            .code,
        0);
    EXPECT_TRUE(std::filesystem::exists(tree.dir / Script("opt/")));
    EXPECT_FALSE(std::filesystem::exists(tree.dir / Script(kUserFolder)));
}

}  // namespace
}  // namespace kestrune::cli
