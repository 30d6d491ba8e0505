// The C sample chain run for real on input files whose folders and names hold shell syntax:
// kestrune-cli writes the script, /bin/sh runs it, gcc builds the program under the input's
// own name, the log beside the input holds the output, and nothing else is made or run.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"

extern char** environ;

namespace kestrune::cli {
namespace {

namespace fs = std::filesystem;
using kestrune::testing::TempDir;

const fs::path kSamples = KESTRUNE_SAMPLES_DIR;

// Runs `argv` with standard output and error going to `output`; returns the exit status, or -1.
int RunIn(const std::vector<std::string>& argv, const std::string& folder,
          const std::string& output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    // The shell starts in `folder`, so whatever a name would make it create lands there.
    const std::vector<std::string> withFolder = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"",
                                                 folder};
    std::vector<char*> args;
    for (const auto* list : {&withFolder, &argv}) {
        for (const std::string& arg : *list) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Every file below `root`, relative to it, sorted.
std::vector<std::string> FilesBelow(const fs::path& root) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory()) {
            files.push_back(fs::relative(entry.path(), root).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

struct Input {
    const char* folder;
    const char* name;  // without the ".c"
};

void PrintTo(const Input& input, std::ostream* os) {
    *os << input.folder << "/" << input.name << ".c";
}

class HostileInput : public ::testing::TestWithParam<Input> {};

TEST_P(HostileInput, BuildsRunsAndLogsUnderItsOwnName) {
    const Input& input = GetParam();
    TempDir dir;
    const fs::path root = dir.path();
    const fs::path home = root / "home";
    fs::create_directories(home / "SpecFiles");
    fs::create_directories(home / "Config");
    fs::copy_file(kSamples / "SpecFiles" / "HelloC.zrs", home / "SpecFiles" / "HelloC.zrs");
    fs::copy_file(kSamples / "Config" / "HelloC.path", home / "Config" / "HelloC.path");
    fs::copy_file(kSamples / "Presets" / "HelloC.zrp", home / "HelloC.zrp");
    const fs::path folder = root / "inputs" / input.folder;
    fs::create_directories(folder);
    const std::string name = input.name;
    fs::copy_file(kSamples / "Inputs" / "hello.c", folder / (name + ".c"));
    fs::create_directories(root / "run");

    const std::string script = (home / "compile.sh").string();
    ASSERT_EQ(
        RunIn({KESTRUNE_CLI_PATH, "--home", home.string(), "batch", (home / "HelloC.zrp").string(),
               "--input", (folder / (name + ".c")).string(), "--no-view-log", "-o", script},
              (root / "run").string(), (root / "cli.txt").string()),
        0)
        << dir.Read("cli.txt");
    fs::remove(root / "cli.txt");
    ASSERT_EQ(RunIn({"/bin/sh", script}, (root / "run").string(), (root / "out.txt").string()), 0)
        << dir.Read("out.txt") << "\n"
        << dir.Read(script);

    const std::string log = dir.Read((folder / (name + ".log")).string());
    EXPECT_EQ(log.rfind("Kestrune 2.0.3.1: ", 0), 0u) << log;
    EXPECT_NE(log.find("\nHello, world!\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("error"), std::string::npos) << log;
    EXPECT_EQ(fs::status(folder / name).permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec);
    fs::remove(root / "out.txt");
    const std::string inputs = (fs::path("inputs") / input.folder / name).string();
    std::vector<std::string> expected = {"home/Config/HelloC.path",
                                         "home/HelloC.zrp",
                                         "home/SpecFiles/HelloC.zrs",
                                         "home/compile.sh",
                                         inputs,
                                         inputs + ".c",
                                         inputs + ".log"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesBelow(root), expected) << dir.Read(script);
}

INSTANTIATE_TEST_SUITE_P(Names, HostileInput,
                         ::testing::Values(Input{"plain", "hello"},
                                           Input{"x$(touch PWNED)", "a$(touch PWNED)b"},
                                           Input{"it's \"quoted\"", "`touch PWNED`"},
                                           Input{"semi;touch PWNED;", "$HOME ${HOME}"},
                                           Input{"back\\slash", "trail\\"},
                                           Input{"%PATH% & more|x*", " lead end "},
                                           Input{"two\nlines", "a'\"\\$`|&;<>()*?[x]\t#~"}),
                         [](const ::testing::TestParamInfo<Input>& test) {
                             return "Input" + std::to_string(test.index);
                         });

}  // namespace
}  // namespace kestrune::cli
