// The run's record in the program folder: how each state reads, the second-run question, Stop,
// the wrapper run by the real shell, and a run that outlives the window that started it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "AppHarness.h"
#include "RunHarness.h"
#include "app/RunRecord.h"
#include "base/Paths.h"

namespace kestrune {
namespace {

using testing::AppHarness;
using testing::TempDir;

// Times of day in the texts are read in UTC.
struct Utc : ::testing::Environment {
    void SetUp() override {
#ifdef _WIN32
        _putenv_s("TZ", "UTC");
#else
        setenv("TZ", "UTC", 1);
#endif
        tzset();
    }
};
[[maybe_unused]] const auto* const kUtc = ::testing::AddGlobalTestEnvironment(new Utc);

constexpr std::int64_t kStart = testing::kRunStart;

struct RecordCase {
    const char* name;
    const char* process;  // compile.pid, or nullptr
    const char* exit;     // compile.exit, or nullptr
    bool alive;
    std::int64_t now;
    RunPhase phase;
    std::string status;
};

TEST(RunRecord, EachStateReadsAsOneLine) {
    const std::string start = "1765281840 1765281840 " + std::to_string(kStart);
    const RecordCase cases[] = {
        {"started, no process yet", nullptr, nullptr, false, kStart + 5, RunPhase::Starting,
         "Starting HelloC\xE2\x80\xA6"},
        {"never started", nullptr, nullptr, false, kStart + 31, RunPhase::Lost,
         "The chain did not start."},
        {"running", "4242 4240 1765281840", nullptr, true, kStart + 90, RunPhase::Running,
         "Running HelloC since 12:04\xE2\x80\xA6"},
        {"finished", "4242 4240 1765281840", "0 1765281852", false, kStart + 90, RunPhase::Finished,
         "Finished in 12 s"},
        {"failed", "4242 4240 1765281840", "1 1765281843\n", false, kStart + 90, RunPhase::Failed,
         "Failed with exit status 1 after 3 s \xE2\x80\x94 the log: /w/hello.log"},
        {"stopped", "4242 4240 1765281840", "stopped 1765281915", true, kStart + 90,
         RunPhase::Stopped, "Stopped after 1 min 15 s"},
        {"terminal closed", "4242 4240 1765281840", nullptr, false, kStart + 90, RunPhase::Lost,
         "Ended without an exit status (its terminal was closed)."},
        {"long run", "4242 4240 1765281840", "2 1765289100", false, kStart + 9000, RunPhase::Failed,
         "Failed with exit status 2 after 2 h 1 min \xE2\x80\x94 the log: /w/hello.log"},
        {"damaged process", "4242 x", nullptr, true, kStart + 5, RunPhase::Starting,
         "Starting HelloC\xE2\x80\xA6"},
        {"damaged exit", "4242 4240 1765281840", "done", true, kStart + 5, RunPhase::Running,
         "Running HelloC since 12:04\xE2\x80\xA6"},
        {"group zero", "4242 0 1765281840", nullptr, true, kStart + 40, RunPhase::Lost,
         "The chain did not start."},
    };
    for (const RecordCase& c : cases) {
        TempDir dir;
        dir.Write(kRunStartName, "HelloC\n/w/hello.log\n" + std::to_string(kStart) + "\n");
        if (c.process != nullptr) {
            dir.Write(kRunProcessName, c.process);
        }
        if (c.exit != nullptr) {
            dir.Write(kRunExitName, c.exit);
        }
        const RunRecord record = ReadRunRecord(
            dir.path(), [&](int pid) { return c.alive && pid == 4242; }, c.now);
        EXPECT_EQ(record.phase, c.phase) << c.name;
        EXPECT_EQ(RunStatusText(record), c.status) << c.name;
    }
}

TEST(RunRecord, NoRecordOrADamagedOneShowsNothing) {
    const char* starts[] = {nullptr, "", "HelloC\n/w/hello.log\n", "a\nb\nnot a time\n",
                            "a\nb\n12x\n"};
    for (const char* start : starts) {
        TempDir dir;
        if (start != nullptr) {
            dir.Write(kRunStartName, start);
        }
        const RunRecord record = ReadRunRecord(
            dir.path(), [](int) { return true; }, kStart);
        EXPECT_EQ(record.phase, RunPhase::None) << (start ? start : "none");
        EXPECT_EQ(RunStatusText(record), "");
    }
}

struct RunHarness : testing::RunHarness {
    // What the wrapper writes once the terminal runs it.
    void WrapperStarted(int pid, int group) {
        dir.Write(kRunProcessName, std::to_string(pid) + " " + std::to_string(group) + " " +
                                       std::to_string(now) + "\n");
        fake.runningProcesses[pid] = group;
    }
};

TEST(RunState, RunRecordsTheStartAndTheWindowFollowsTheRun) {
    RunHarness h;
    EXPECT_EQ(h.main().RunStatus, "");
    h.Run();
    ASSERT_EQ(h.fake.shellCalls.size(), 1u);
    EXPECT_EQ(h.fake.shellCalls[0].target, h.dir / "compile.sh");
    EXPECT_EQ(h.dir.Read(kRunStartName),
              "HelloC\n" + h.dir.path() + "work/level1.log\n" + std::to_string(kStart) + "\n");
    EXPECT_EQ(h.dir.Read(kRunWrapperName), RunWrapperText());
    EXPECT_TRUE((std::filesystem::status(h.dir / kRunWrapperName).permissions() &
                 std::filesystem::perms::owner_exec) != std::filesystem::perms::none);
    EXPECT_EQ(h.main().RunStatus, "Starting HelloC\xE2\x80\xA6");
    EXPECT_FALSE(h.main().cmdStopRun.enabled);

    h.now += 1;
    h.WrapperStarted(4242, 4242);
    h.main().WatchRun();
    EXPECT_EQ(h.main().RunStatus, "Running HelloC since 12:04\xE2\x80\xA6");
    EXPECT_EQ(h.main().DetailsPaneText(), "Running HelloC since 12:04\xE2\x80\xA6");
    EXPECT_TRUE(h.main().cmdStopRun.enabled);
    EXPECT_TRUE(h.main().cmdTrayStop.enabled);

    h.now += 12;
    h.fake.runningProcesses.clear();
    h.dir.Write(kRunExitName, "0 " + std::to_string(h.now) + "\n");
    h.main().WatchRun();
    EXPECT_EQ(h.main().RunStatus, "Finished in 12 s");
    EXPECT_EQ(h.main().RunEndings, 1);
    EXPECT_FALSE(h.main().cmdStopRun.enabled);
}

TEST(RunState, AnotherRunWhileOneIsGoingAsksFirst) {
    RunHarness h;
    h.Run();
    h.WrapperStarted(4242, 4242);
    h.fake.confirmAnswers = {ConfirmAnswer::No, ConfirmAnswer::Yes};
    h.Run();
    ASSERT_EQ(h.fake.boxes.size(), 1u);
    EXPECT_EQ(h.fake.boxes[0].title, "Kestrune");
    EXPECT_EQ(h.fake.boxes[0].text, "The chain is still running. Start another run?");
    EXPECT_EQ(h.fake.shellCalls.size(), 1u) << "No starts nothing";
    ASSERT_EQ(h.program.ChooseMenuItem("mnuRunStages", 0), EventResult::Done);
    EXPECT_EQ(h.fake.boxes.size(), 2u) << "a single stage asks too";
    EXPECT_EQ(h.fake.shellCalls.size(), 2u);
}

TEST(RunState, StopEndsTheProcessGroupAndRecordsIt) {
    RunHarness h;
    h.Run();
    h.WrapperStarted(4242, 4240);
    h.main().WatchRun();
    h.now += 5;
    ASSERT_EQ(h.program.Click("cmdStopRun"), EventResult::Done);
    EXPECT_EQ(h.fake.stoppedGroups, std::vector<int>{4240});
    EXPECT_EQ(h.dir.Read(kRunExitName), "stopped " + std::to_string(h.now) + "\n");
    EXPECT_EQ(h.main().RunStatus, "Stopped after 5 s");
    EXPECT_EQ(h.main().RunEndings, 1);
    EXPECT_FALSE(h.main().cmdStopRun.enabled);
    // Nothing running: Stop sends nothing more.
    h.main().cmdStopRunClick();
    EXPECT_EQ(h.fake.stoppedGroups.size(), 1u);
}

TEST(RunState, ARunOutlivesTheWindow) {
    RunHarness h;
    h.Run();
    h.WrapperStarted(4242, 4242);
    ASSERT_TRUE(h.main().FormClose());

    // The next window on the same program folder finds the run going.
    Kestrune again{h.fake, h.dir.path(), h.dir / "kestrune"};
    again.frmMain.Clock = [&h] { return h.now; };
    again.Start({});
    EXPECT_EQ(again.frmMain.RunStatus, "Running HelloC since 12:04\xE2\x80\xA6");
    EXPECT_TRUE(again.frmMain.cmdStopRun.enabled);
}

// The wrapper is a POSIX shell script; on Windows this case is listed as not run.
TEST(RunState, TheWrapperRecordsTheExitStatusOfTheRealScript) {
#ifndef _WIN32
    TempDir dir;
    dir.Write("compile.sh", "echo \"$0\" >ran.txt\nexit 3\n");
    BeginRunRecord(dir.path(), "HelloC", "/w/hello.log", kStart);
    const std::string command = "cd " + dir.path() + " && /bin/sh ./compile-run.sh";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3) << "the wrapper passes the script's status on";
    EXPECT_EQ(dir.Read("ran.txt"), "./compile.sh\n");
    const RunRecord record = ReadRunRecord(
        dir.path(), [](int) { return false; }, kStart);
    EXPECT_EQ(record.phase, RunPhase::Failed);
    EXPECT_EQ(record.status, 3);
    EXPECT_GT(record.pid, 1);
    EXPECT_GT(record.group, 1);
    EXPECT_LE(record.ended - record.started, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "compile.exit.part"));
#endif
}

}  // namespace
}  // namespace kestrune
