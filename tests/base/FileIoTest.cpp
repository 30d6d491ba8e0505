#include "base/FileIo.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "TempDir.h"

namespace kestrune {
namespace {

using kestrune::testing::TempDir;
namespace fs = std::filesystem;

std::size_t EntriesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

std::string ErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const IoError& error) {
        return error.what();
    }
    return "no IoError";
}

TEST(FileIo, ExistenceChecks) {
    TempDir dir;
    const std::string file = dir.Write("a.txt", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(dir / "missing"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FolderExists(dir.path()));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_FALSE(FolderExists(""));
}

TEST(FileIo, EnsureFolder) {
    TempDir dir;
    EXPECT_TRUE(EnsureFolder(dir / "Config/deep"));
    EXPECT_TRUE(FolderExists(dir / "Config/deep"));
    EXPECT_TRUE(EnsureFolder(dir / "Config"));
    dir.Write("file", "x");
    EXPECT_FALSE(EnsureFolder(dir / "file"));
}

TEST(FileIo, ReadGivesBytesUnchanged) {
    TempDir dir;
    const std::string bytes("ZRP200\r\n\0\x1a\xff\r", 12);
    EXPECT_EQ(ReadFileBytes(dir.Write("p.zrp", bytes)), bytes);
    EXPECT_EQ(ReadFileBytes(dir.Write("empty", "")), "");
}

TEST(FileIo, ReadFailuresNameTheFileAndTheReason) {
    TempDir dir;
    const std::string missing = dir / "none.zrs";
    EXPECT_EQ(ErrorText([&] { ReadFileBytes(missing); }),
              "Cannot open file \"" + missing + "\". No such file or directory");
    const std::string folder = dir.path();
    EXPECT_EQ(ErrorText([&] { ReadFileBytes(folder); }),
              "Cannot read file \"" + folder + "\". Is a directory");
}

TEST(FileIo, WriteReplacesAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string target = dir.Write("compile.bat", "old contents that are longer");
    WriteFileReplacing(target, "new\r\n");
    EXPECT_EQ(dir.Read("compile.bat"), "new\r\n");
    WriteFileReplacing(dir / "fresh.ini", "");
    EXPECT_EQ(dir.Read("fresh.ini"), "");
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

TEST(FileIo, WriteOntoAFolderOrIntoAMissingFolderFails) {
    TempDir dir;
    dir.Write("Config/keep.txt", "kept");
    const std::string folder = dir / "Config";
    EXPECT_EQ(ErrorText([&] { WriteFileReplacing(folder, "x"); }),
              "Cannot create file \"" + folder + "\". Is a directory");
    EXPECT_EQ(dir.Read("Config/keep.txt"), "kept");

    const std::string orphan = dir / "nowhere/a.zrp";
    EXPECT_EQ(ErrorText([&] { WriteFileReplacing(orphan, "x"); }),
              "Cannot create file \"" + orphan + "\". No such file or directory");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(FileIo, FailedWriteKeepsThePreviousFile) {
    TempDir dir;
    const std::string target = dir.Write("a.zrp", "previous");
    // A file-size limit makes the write itself fail, whatever the user's rights.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error =
        ErrorText([&] { WriteFileReplacing(target, std::string(100000, 'x')); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(error, "Cannot write file \"" + target + "\". File too large");
    EXPECT_EQ(dir.Read("a.zrp"), "previous");
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace kestrune
