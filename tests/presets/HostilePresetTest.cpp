// Presets that are no regular files, and a private preset saved again.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "FakePlatform.h"
#include "StateParts.h"
#include "TempDir.h"
#include "presets/PresetFile.h"

namespace kestrune {
namespace {

using testing::FakePlatform;
using testing::TempDir;
namespace fs = std::filesystem;

struct Program {
    TempDir dir;
    FakePlatform fake;
    testing::StateParts state{dir.path()};
    Program() {
        state.Fields.platform = fake;
        state.Specification.SpecFileName = "Chain.zrs";
        TZRGroup& compiler = *state.Specification.Programs.emplace_back(
            std::make_unique<TZRGroup>(state.Fields, "Compiler", true, kDefaultExeFilter,
                                       "Compiler:", state.Specification.Tab));
        FieldDescription verbose;
        verbose.Caption = "Verbose";
        verbose.Param = "-v";
        compiler.AddCheckBox(verbose, false);
    }
};

TEST(HostilePreset, APipeOrADeviceIsRefusedAtOnce) {
    Program p;
    const std::string pipe = p.dir / "preset.zrp";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Reading a pipe without a writer would wait forever; the child reports what happened.
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = fork();
    if (child == 0) {
        alarm(5);
        const bool pipeRead =
            ReadPreset(p.state.Specification, p.state.Input, pipe, PresetMode::Open);
        const bool deviceRead =
            ReadPreset(p.state.Specification, p.state.Input, "/dev/zero", PresetMode::Import);
        std::string report = pipeRead || deviceRead ? "read" : "refused";
        for (const auto& message : p.fake.messages) {
            report += "|" + message.title + ": " + message.text;
        }
        const bool sent =
            write(channel[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    std::string report;
    char buffer[1024];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "the reader hung or crashed";
    EXPECT_EQ(report, "refused|Error: Cannot read file \"" + pipe +
                          "\". Not a regular file|Error: Cannot read file \"/dev/zero\". Not a "
                          "regular file");
}

TEST(HostilePreset, SavingAPrivatePresetKeepsItPrivateAndKeepsItsLink) {
    Program p;
    const std::string real = p.dir.Write("mine/private.zrp", "ZRP200\r\n");
    ASSERT_EQ(chmod(real.c_str(), 0600), 0);
    fs::create_symlink(real, p.dir / "shortcut.zrp");
    p.state.Specification.Programs[0]->CheckBoxes[0].SetChecked(true);

    ASSERT_TRUE(WritePreset(p.state.Specification, p.state.Input, p.dir / "shortcut.zrp"));
    EXPECT_TRUE(fs::is_symlink(p.dir / "shortcut.zrp"));
    EXPECT_EQ(p.dir.Read("mine/private.zrp"), PresetText(p.state.Specification, p.state.Input));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace kestrune
