#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FileSizeLimit.h"
#include "SpecTestSupport.h"
#include "base/FileIo.h"
#include "base/Paths.h"
#include "specification/ToolPathFile.h"

namespace kestrune {
namespace {

using testing::RecordedMessage;
using testing::TempDir;
using testing::WithFileSizeLimit;

struct ToolPaths : ::testing::Test {
    ToolPaths() {
        state.Fields.platform = fake;
        state.SpecFileName = "Demo.zrs";
        exe = dir.Write("bin/tool.exe", "");
        other = dir.Write("bin/other.exe", "");
    }
    TZRGroup& Add(const std::string& name, bool stage) {
        return CreateProgramGroup(state, name, name + ":", stage, kDefaultExeFilter);
    }
    void WriteFile(const std::string& text) { dir.Write("Config/Demo.path", text); }

    TempDir dir;
    testing::FakePlatform fake;
    FieldContext fields;
    SpecificationModel state{fields, dir.path()};
    std::string exe;
    std::string other;
};

TEST_F(ToolPaths, FileNameReplacesTheFirstLowerCaseExtensionOnce) {
    const std::pair<const char*, const char*> cases[] = {
        {"demo.zrs", "demo.path"}, {"DEMO.ZRS", "DEMO.ZRS"}, {"a.zrs.zrs", "a.path.zrs"},
        {"a.zrsx", "a.pathx"},     {"plain", "plain"},       {"x.Zrs", "x.Zrs"},
    };
    for (const auto& [spec, file] : cases) {
        state.SpecFileName = spec;
        EXPECT_EQ(ToolPathFileName(state),
                  dir.path() + "Config" + std::string(kPathSeparatorText) + file)
            << spec;
    }
}

TEST_F(ToolPaths, ReadsPathsAndFirstMatchingStageInAnyOrderAndCase) {
    TZRGroup& plain = Add("Compiler", false);
    TZRGroup& first = Add("Compiler", true);
    TZRGroup& second = Add("compiler", true);
    TZRGroup& equals = Add("a=b", true);
    TZRGroup& missing = Add("Packer", true);
    WriteFile(
        "\xEF\xBB\xBFnot a key line\r\n"
        "  COMPILER   =   " +
        exe +
        "  \r\n"
        "a=b = " +
        exe +
        "\r\n"
        "a = b=" +
        exe +
        "\r\n"
        "packer = " +
        dir.path() +
        "bin/none.exe\r\n"
        "\r\n"
        "FILEDEST = //server/share\r\n"
        "basepath = first\n"
        "BasePath=C:\\Games\\Demo\r\n");
    ReadToolPathFile(state);
    EXPECT_EQ(state.Fields.Files.BasePath, "C:\\Games\\Demo");
    EXPECT_EQ(state.Fields.Files.FileDest, "//server/share");
    EXPECT_EQ(plain.ToolPath, "");
    EXPECT_EQ(first.ToolPath, exe);
    EXPECT_EQ(second.ToolPath, "");
    EXPECT_EQ(equals.ToolPath, "");
    EXPECT_EQ(missing.ToolPath, "");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(ToolPaths, LaterLinesOverrideAndMissingExecutablesAreDropped) {
    TZRGroup& tool = Add("Tool", true);
    WriteFile("Tool = " + exe + "\r\nTool = " + other + "\r\nTool = " + dir.path() +
              "gone.exe\r\nTool = " + dir.path() + "bin\r\n");
    ReadToolPathFile(state);
    EXPECT_EQ(tool.ToolPath, other);
}

TEST_F(ToolPaths, MissingFileClearsBothPathsAndCreatesTheConfigFolder) {
    state.Fields.Files.BasePath = "old";
    state.Fields.Files.FileDest = "old";
    ASSERT_FALSE(FolderExists(dir / "Config"));
    ReadToolPathFile(state);
    EXPECT_EQ(state.Fields.Files.BasePath, "");
    EXPECT_EQ(state.Fields.Files.FileDest, "");
    EXPECT_TRUE(FolderExists(dir / "Config"));
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(ToolPaths, ConfigThatIsAFileIsIgnoredOnReading) {
    dir.Write("Config", "not a folder");
    state.Fields.Files.BasePath = "old";
    EXPECT_NO_THROW(ReadToolPathFile(state));
    EXPECT_EQ(state.Fields.Files.BasePath, "");
}

TEST_F(ToolPaths, UnreadableFileThrowsIoError) {
    if (!FileExists("/proc/self/mem")) {
        GTEST_SKIP() << "needs /proc";
    }
    std::filesystem::create_directories(dir / "Config");
    std::filesystem::create_symlink("/proc/self/mem", dir / "Config/Demo.path");
    EXPECT_THROW(ReadToolPathFile(state), IoError);
}

TEST_F(ToolPaths, LoadSpecificationShowsAnUnreadableToolPathFile) {
    if (!FileExists("/proc/self/mem")) {
        GTEST_SKIP() << "needs /proc";
    }
    std::filesystem::create_directories(dir / "Config");
    std::filesystem::create_symlink("/proc/self/mem", dir / "Config/Demo.path");
    LoadSpecification(state, dir.Write("SpecFiles/Demo.zrs", "setup = S\r\n{\r\n}\r\n"));
    const std::vector<RecordedMessage> expected = {
        {"Error", "Cannot read file \"" + dir.path() + "Config/Demo.path\". Input/output error"}};
    EXPECT_EQ(fake.messages, expected);
    EXPECT_EQ(state.SpecName, "S");
}

TEST_F(ToolPaths, WritesExactBytesAndCreatesTheFolder) {
    WriteToolPathFile(state, "", "", {{"Compiler", ""}, {"Packer", ""}});
    EXPECT_EQ(dir.Read("Config/Demo.path"),
              "BasePath = \r\nFileDest = \r\nCompiler = \r\nPacker = \r\n");
    WriteToolPathFile(state, "C:\\Base", " D:\\Dest ", {{"a=b", "x // y"}});
    EXPECT_EQ(dir.Read("Config/Demo.path"),
              "BasePath = C:\\Base\r\nFileDest =  D:\\Dest \r\n"
              "a=b = x // y\r\n");
}

TEST_F(ToolPaths, WrittenFileReadsBack) {
    TZRGroup& tool = Add("Tool", true);
    state.SpecFileName = "Caps.ZRS";
    WriteToolPathFile(state, " base ", "dest//x", {{"Tool", exe}});
    EXPECT_TRUE(FileExists(dir / "Config/Caps.ZRS"));
    state.Fields.Files.BasePath.clear();
    ReadToolPathFile(state);
    EXPECT_EQ(state.Fields.Files.BasePath, "base");
    EXPECT_EQ(state.Fields.Files.FileDest, "dest//x");
    EXPECT_EQ(tool.ToolPath, exe);
}

TEST_F(ToolPaths, FullDiskKeepsThePreviousFile) {
    const std::string previous = "BasePath = old\r\nFileDest = old\r\n";
    const std::string path = dir.Write("Config/Demo.path", previous);
    const std::string report = WithFileSizeLimit(8, [&]() -> std::string {
        try {
            WriteToolPathFile(state, "new base", "new dest", {{"Compiler", "/x/compile.exe"}});
            return "written";
        } catch (const IoError& error) {
            return error.what();
        }
    });
    EXPECT_EQ(report, "Cannot write file \"" + path + "\". File too large");
    EXPECT_EQ(dir.Read("Config/Demo.path"), previous);
}

TEST_F(ToolPaths, FailedWriteThrowsIoError) {
    std::filesystem::create_directories(dir / "Config/Demo.path");  // a folder in the way
    EXPECT_THROW(WriteToolPathFile(state, "b", "d", {}), IoError);

    TempDir blockedDir;
    blockedDir.Write("Config", "a file where the folder belongs");
    FieldContext blockedFields;
    SpecificationModel blocked(blockedFields, blockedDir.path());
    blocked.SpecFileName = "Demo.zrs";
    EXPECT_THROW(WriteToolPathFile(blocked, "b", "d", {}), IoError);
    EXPECT_EQ(blockedDir.Read("Config"), "a file where the folder belongs");
}

}  // namespace
}  // namespace kestrune
