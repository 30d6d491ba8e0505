// Files that are not what a reader expects, and writes that fail half way: nothing may hang,
// fill the memory, kill the program, lose the previous file or widen who may read it.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "FileSizeLimit.h"
#include "TempDir.h"
#include "base/FileIo.h"

namespace kestrune {
namespace {

using kestrune::testing::TempDir;
namespace fs = std::filesystem;

// Runs `body` in a child process and returns what it returned. A child that hangs is stopped
// after a few seconds, and one that is killed reports how, so a fault shows as a failed
// expectation instead of a frozen or crashed test.
std::string InChild(const std::function<std::string()>& body, rlim_t fileSizeLimit = 0) {
    return testing::RunInChild({5, static_cast<std::size_t>(fileSizeLimit), false}, body);
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const IoError& error) {
        return error.what();
    }
    return "no IoError";
}

std::vector<std::string> EntriesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// ---- What counts as a file

struct ExistsCase {
    const char* name;
    std::function<std::string(const TempDir&)> make;  // returns the path to test
    bool exists;
};

void PrintTo(const ExistsCase& c, std::ostream* os) {
    *os << c.name;
}

class FileExistsTable : public ::testing::TestWithParam<ExistsCase> {};

TEST_P(FileExistsTable, OnlyRegularFilesCount) {
    TempDir dir;
    EXPECT_EQ(FileExists(GetParam().make(dir)), GetParam().exists);
}

const ExistsCase kExistsCases[] = {
    {"RegularFile", [](const TempDir& d) { return d.Write("a.zrs", "x"); }, true},
    {"EmptyFile", [](const TempDir& d) { return d.Write("e.zrs", ""); }, true},
    {"Folder", [](const TempDir& d) { return d.path(); }, false},
    {"Fifo",
     [](const TempDir& d) {
         mkfifo((d / "pipe.zrs").c_str(), 0600);
         return d / "pipe.zrs";
     },
     false},
    {"CharacterDevice", [](const TempDir&) { return std::string("/dev/zero"); }, false},
    {"LinkToFile",
     [](const TempDir& d) {
         d.Write("real.zrp", "x");
         fs::create_symlink("real.zrp", d / "link.zrp");
         return d / "link.zrp";
     },
     true},
    {"LinkToFolder",
     [](const TempDir& d) {
         fs::create_symlink(d.path(), d / "link");
         return d / "link";
     },
     false},
    {"DanglingLink",
     [](const TempDir& d) {
         fs::create_symlink(d / "gone", d / "link");
         return d / "link";
     },
     false},
    {"LinkToFifo",
     [](const TempDir& d) {
         mkfifo((d / "pipe").c_str(), 0600);
         fs::create_symlink("pipe", d / "link");
         return d / "link";
     },
     false},
};

INSTANTIATE_TEST_SUITE_P(Kinds, FileExistsTable, ::testing::ValuesIn(kExistsCases),
                         [](const auto& test) { return std::string(test.param.name); });

// ---- Reading

TEST(HostileRead, PipesAndDevicesAreRefusedAtOnce) {
    TempDir dir;
    const std::string pipe = dir / "preset.zrp";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Without a writer, opening a pipe for reading waits forever; /dev/zero never ends.
    EXPECT_EQ(InChild([&] { return ErrorOf([&] { ReadFileBytes(pipe); }); }),
              "Cannot read file \"" + pipe + "\". Not a regular file");
    EXPECT_EQ(InChild([] { return ErrorOf([] { ReadFileBytes("/dev/zero"); }); }),
              "Cannot read file \"/dev/zero\". Not a regular file");
    fs::create_symlink("preset.zrp", dir / "link.zrp");
    EXPECT_EQ(InChild([&] { return ErrorOf([&] { ReadFileBytes(dir / "link.zrp"); }); }),
              "Cannot read file \"" + dir / "link.zrp" + "\". Not a regular file");
}

TEST(HostileRead, FilesBeyondTheReadLimitAreRefusedBeforeReading) {
    TempDir dir;
    const std::string huge = dir / "huge.zrs";
    // Sparse: takes no disk space, but claims more than any reader may take in.
    fs::resize_file(dir.Write("huge.zrs", ""), kMaxReadBytes + 1);
    EXPECT_EQ(ErrorOf([&] { ReadFileBytes(huge); }),
              "Cannot read file \"" + huge + "\". File too large");

    const std::string mega = dir.Write("mega.zrs", "");
    fs::resize_file(mega, 1 << 20);
    EXPECT_EQ(ReadFileBytes(mega), std::string(1 << 20, '\0'));
}

// ---- Writing: failures leave the previous file and nothing else

TEST(HostileWrite, FileSizeLimitGivesAMessageInsteadOfKillingTheProgram) {
    TempDir dir;
    const std::string target = dir.Write("a.zrp", "previous");
    const std::string report = InChild(
        [&] { return ErrorOf([&] { WriteFileReplacing(target, std::string(100000, 'x')); }); },
        4096);
    EXPECT_EQ(report, "Cannot write file \"" + target + "\". File too large");
    EXPECT_EQ(dir.Read("a.zrp"), "previous");
    EXPECT_EQ(EntriesIn(dir.path()), (std::vector<std::string>{"a.zrp"}));

    // A piece at a time, as the preset writer does, fails the same way.
    const std::string pieces = InChild(
        [&] {
            return ErrorOf([&] {
                ReplacingFile file(target);
                for (int i = 0; i < 1000; ++i) {
                    file.Write(std::string(100, 'y'));
                }
                file.Commit();
            });
        },
        4096);
    EXPECT_EQ(pieces, "Cannot write file \"" + target + "\". File too large");
    EXPECT_EQ(dir.Read("a.zrp"), "previous");
    EXPECT_EQ(EntriesIn(dir.path()), (std::vector<std::string>{"a.zrp"}));
}

TEST(HostileWrite, EveryFailurePathRemovesTheTemporaryFile) {
    TempDir dir;
    const std::string target = dir.Write("a.zrp", "previous");

    // Given up without Commit (an error elsewhere in the command).
    {
        ReplacingFile file(target);
        file.Write("new");
    }
    EXPECT_EQ(EntriesIn(dir.path()), (std::vector<std::string>{"a.zrp"}));

    // The rename fails: the target became a folder with something in it meanwhile.
    const std::string folder = dir / "b.zrp";
    {
        ReplacingFile file(folder);
        file.Write("new");
        fs::create_directories(folder + "/inside");
        EXPECT_EQ(ErrorOf([&] { file.Commit(); }),
                  "Cannot create file \"" + folder + "\". Is a directory");
    }
    EXPECT_EQ(EntriesIn(dir.path()), (std::vector<std::string>{"a.zrp", "b.zrp"}));

    // Writing after a failed Commit is refused, not attempted.
    ReplacingFile file(target);
    fs::remove(target);
    fs::create_directories(target + "/inside");
    EXPECT_EQ(ErrorOf([&] { file.Commit(); }),
              "Cannot create file \"" + target + "\". Is a directory");
    EXPECT_EQ(ErrorOf([&] { file.Write("x"); }),
              "Cannot write file \"" + target + "\". Bad file descriptor");
    EXPECT_EQ(EntriesIn(dir.path()), (std::vector<std::string>{"a.zrp", "b.zrp"}));
}

// ---- Writing: what the file was stays what it is

struct ModeCase {
    mode_t mode;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << std::oct << c.mode;
}

class KeptMode : public ::testing::TestWithParam<ModeCase> {};

TEST_P(KeptMode, ReplacingKeepsThePermissionBits) {
    TempDir dir;
    const std::string target = dir.Write("private.zrp", "old");
    ASSERT_EQ(chmod(target.c_str(), GetParam().mode), 0);
    WriteFileReplacing(target, "new");
    EXPECT_EQ(dir.Read("private.zrp"), "new");
    EXPECT_EQ(ModeOf(target), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Modes, KeptMode,
                         ::testing::Values(ModeCase{0600}, ModeCase{0640}, ModeCase{0400},
                                           ModeCase{0755}, ModeCase{0666}),
                         [](const auto& test) {
                             char name[16];
                             std::snprintf(name, sizeof name, "Mode%04o", test.param.mode);
                             return std::string(name);
                         });

TEST(HostileWrite, ANewFileGetsTheRightsTheUmaskAllows) {
    TempDir dir;
    const mode_t previous = umask(027);
    WriteFileReplacing(dir / "fresh.ini", "x");
    umask(previous);
    EXPECT_EQ(ModeOf(dir / "fresh.ini"), 0640u);
}

TEST(HostileWrite, ReplacingKeepsTheOwnerWhereAllowed) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another owner";
    }
    TempDir dir;
    const std::string target = dir.Write("shared.zrp", "old");
    ASSERT_EQ(chown(target.c_str(), 4321, 8765), 0);
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    WriteFileReplacing(target, "new");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 8765u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(HostileWrite, SavingThroughALinkChangesTheFileItNames) {
    TempDir dir;
    dir.Write("real/preset.zrp", "old");
    fs::create_symlink("real/preset.zrp", dir / "link.zrp");     // relative
    fs::create_symlink(dir / "link.zrp", dir / "linklink.zrp");  // absolute, to a link

    WriteFileReplacing(dir / "linklink.zrp", "new");
    EXPECT_TRUE(fs::is_symlink(dir / "link.zrp"));
    EXPECT_TRUE(fs::is_symlink(dir / "linklink.zrp"));
    EXPECT_EQ(dir.Read("real/preset.zrp"), "new");
    // The temporary file was made beside the target, not beside the link.
    EXPECT_EQ(EntriesIn(dir / "real"), (std::vector<std::string>{"preset.zrp"}));

    // A link to a file not made yet gets the file made.
    fs::create_symlink("real/later.zrp", dir / "later.zrp");
    WriteFileReplacing(dir / "later.zrp", "made");
    EXPECT_TRUE(fs::is_symlink(dir / "later.zrp"));
    EXPECT_EQ(dir.Read("real/later.zrp"), "made");
}

TEST(HostileWrite, AHardLinkedFileIsReplacedAtItsNameOnly) {
    // Keeping a hard link's identity needs a write in place, which a failure half way would
    // leave torn. The name saved to gets the new content; other names keep the old one.
    TempDir dir;
    const std::string target = dir.Write("a.zrp", "old");
    fs::create_hard_link(target, dir / "b.zrp");
    WriteFileReplacing(target, "new");
    EXPECT_EQ(dir.Read("a.zrp"), "new");
    EXPECT_EQ(dir.Read("b.zrp"), "old");
}

}  // namespace
}  // namespace kestrune
