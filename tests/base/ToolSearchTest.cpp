// A tool path is found as the shell that runs the script finds it: a bare command name in the
// folders of PATH, any other path where it points.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "base/ToolSearch.h"

namespace kestrune {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

#ifndef _WIN32

class ToolSearchTest : public ::testing::Test {
  protected:
    ToolSearchTest() {
        Executable("one/pandoc");
        dir.Write("two/notes", "not executable");
        Executable("two/pandoc");
        Executable("three/sox");
        fs::create_directories(dir / "four/pandoc");  // a folder of that name
    }
    void Executable(const std::string& relative) {
        fs::permissions(dir.Write(relative, "#!/bin/sh\n"), fs::perms::owner_all);
    }

    TempDir dir;
};

TEST_F(ToolSearchTest, BareNamesAreLookedUpInPathInOrder) {
    const std::string one = dir / "one";
    const std::string two = dir / "two/";
    const std::string four = dir / "four";
    const struct {
        const char* name;
        std::string tool;
        std::optional<std::string> path;
        bool found;
        std::vector<std::string> tried;
    } cases[] = {
        {"FirstFolder", "pandoc", one + ":" + two, true, {one + "/pandoc"}},
        {"SkipsAFolderOfThatName",
         "pandoc",
         four + ":" + two,
         true,
         {four + "/pandoc", two + "pandoc"}},
        {"SkipsAFileThatDoesNotRun",
         "notes",
         two + ":" + one,
         false,
         {two + "notes", one + "/notes"}},
        {"NowhereInPath", "sox", one + ":" + two, false, {one + "/sox", two + "sox"}},
        {"EmptyEntryIsTheCurrentFolder",
         "sox",
         one + "::" + two,
         false,
         {one + "/sox", "./sox", two + "sox"}},
        {"EmptyPath", "sox", std::string(), false, {"./sox"}},
        {"NoPathTheStandardFolders",
         "kestrune-no-such-tool",
         std::nullopt,
         false,
         {"/usr/bin/kestrune-no-such-tool", "/bin/kestrune-no-such-tool"}},
        {"FullPathIsNotLookedUp", dir / "three/sox", one, true, {dir / "three/sox"}},
        {"FullPathMissing", dir / "one/sox", one, false, {dir / "one/sox"}},
        {"FullPathNeedsNoExecuteBit", dir / "two/notes", one, true, {dir / "two/notes"}},
        {"RelativeWithSlashIsNotLookedUp", "one/pandoc", one, false, {"one/pandoc"}},
        {"EmptyToolPath", "", one, false, {}},
    };
    for (const auto& c : cases) {
        const ToolSearch search = FindTool(c.tool, c.path);
        EXPECT_EQ(search.found, c.found) << c.name;
        EXPECT_EQ(search.tried, c.tried) << c.name;
    }
}

TEST_F(ToolSearchTest, DescriptionNamesEveryPathTried) {
    EXPECT_EQ(DescribeSearch("sox", FindTool("sox", dir / "one:" + dir / "two")),
              "tried " + dir / "one/sox, " + dir / "two/sox");
    EXPECT_EQ(DescribeSearch("", FindTool("", dir / "one")), "no path is set");
}

#else

TEST(ToolSearchTest, WindowsNeedsAnExistingFile) {
    TempDir dir;
    const std::string tool = dir.Write("tool.exe", "MZ");
    EXPECT_TRUE(FindTool(tool, std::string("C:\\Windows")).found);
    const ToolSearch bare = FindTool("tool.exe", dir.path());
    EXPECT_FALSE(bare.found);
    EXPECT_EQ(bare.tried, std::vector<std::string>{"tool.exe"});
}

#endif

}  // namespace
}  // namespace kestrune
