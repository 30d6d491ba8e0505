// The run of the chain followed on Windows: the window starts the wrapper in a job object and
// records its process, cmd.exe really runs the wrapper and compile.bat, the wrapper records the
// exit status, and Stop ends every process of the run.

#include <gtest/gtest.h>

#include <windows.h>
// windows.h renames it to its ANSI entry point, which the platform interface does not have.
#undef ChooseColor

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "AppHarness.h"
#include "RunHarness.h"
#include "app/RunRecord.h"
#include "base/FileIo.h"
#include "base/WindowsSystem.h"

namespace kestrune {
namespace {

namespace fs = std::filesystem;
using testing::AppHarness;
using testing::TempDir;

constexpr std::int64_t kStart = testing::kRunStart;

// A folder whose name holds what cmd.exe would read as its own: blanks, "%", "&", "^", "(".
std::string HostileFolder(const TempDir& dir) {
    const fs::path folder = fs::path(dir.path()) / "run %OS% & x ^ (1)";
    fs::create_directories(folder);
    return folder.string() + "\\";
}

void WriteBatch(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Waits up to `seconds` for `done`; whether it came.
bool WaitFor(const std::function<bool()>& done, int seconds = 60) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

std::string ReadOrEmpty(const std::string& path) {
    return FileExists(path) ? ReadFileBytes(path) : std::string();
}

TEST(WindowsRun, TheWrapperRunsTheScriptAndRecordsItsExitStatus) {
    TempDir dir;
    const std::string folder = HostileFolder(dir);
    // compile.bat runs from its own folder; its "cd" does not move the wrapper.
    WriteBatch(folder + "compile.bat",
               "@echo off\r\n>ran.txt echo %~nx0\r\ncd ..\r\nexit /b 3\r\n");
    BeginRunRecord(folder, "HelloC", "C:\\w\\hello.log", kStart);
    EXPECT_EQ(ReadFileBytes(folder + kRunWrapperName), RunWrapperText());
    const int pid = windows::StartRunInJob(folder + kRunWrapperName);
    ASSERT_GT(pid, 0);
    RecordRunProcess(folder, pid, kStart);
    ASSERT_TRUE(WaitFor([&] { return FileExists(folder + kRunExitName); }))
        << "ran: " << ReadOrEmpty(folder + "ran.txt");
    EXPECT_EQ(ReadFileBytes(folder + kRunExitName), "3\r\n");
    EXPECT_EQ(ReadFileBytes(folder + "ran.txt"), "compile.bat\r\n");
    EXPECT_FALSE(FileExists(folder + "compile.exit.part"));
    ASSERT_TRUE(WaitFor([&] { return !windows::RunGoing(pid); }));
    const RunRecord record = ReadRunRecord(folder, windows::RunGoing, kStart);
    EXPECT_EQ(record.phase, RunPhase::Failed);
    EXPECT_EQ(record.status, 3);
    EXPECT_EQ(record.pid, pid);
    EXPECT_GE(record.ended, kStart);
}

TEST(WindowsRun, StopEndsEveryProcessOfTheRun) {
    TempDir dir;
    const std::string folder = HostileFolder(dir);
    // compile.bat starts a second cmd.exe that beats into a file; both wait forever.
    WriteBatch(folder + "beat.bat",
               "@echo off\r\n:again\r\n>>beat.txt echo x\r\n"
               "ping -n 2 127.0.0.1 >nul\r\ngoto again\r\n");
    WriteBatch(folder + "compile.bat",
               "@echo off\r\nstart \"\" /b cmd /d /c beat.bat\r\n:wait\r\n"
               "ping -n 2 127.0.0.1 >nul\r\ngoto wait\r\n");
    BeginRunRecord(folder, "HelloC", "C:\\w\\hello.log", kStart);
    const int pid = windows::StartRunInJob(folder + kRunWrapperName);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitFor([&] { return !ReadOrEmpty(folder + "beat.txt").empty(); }));
    // This test holds no handle of the run: the job lives on through the run's own processes.
    EXPECT_TRUE(windows::RunGoing(pid));
    EXPECT_FALSE(windows::RunGoing(pid + 4)) << "another process is no run";
    ASSERT_TRUE(windows::StopRun(pid));
    EXPECT_TRUE(WaitFor([&] { return !windows::RunGoing(pid); }, 10));
    // The beating grandchild has ended too.
    fs::remove(folder + "beat.txt");
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_FALSE(FileExists(folder + "beat.txt"));
    EXPECT_FALSE(FileExists(folder + kRunExitName)) << "a stopped run records no status itself";
    EXPECT_FALSE(windows::StopRun(pid)) << "nothing left to stop";
}

TEST(WindowsRun, NoRunIsGoingUnderANumberThatNeverStartedOne) {
    EXPECT_FALSE(windows::RunGoing(0));
    EXPECT_FALSE(windows::RunGoing(-5));
    EXPECT_FALSE(windows::StopRun(0));
    EXPECT_FALSE(windows::RunGoing(static_cast<int>(GetCurrentProcessId())));
}

using testing::RunHarness;

TEST(WindowsRunState, RunRecordsTheStartAndTheWindowFollowsTheRun) {
    RunHarness h;
    h.fake.runProcess = 4242;
    h.Run();
    EXPECT_EQ(h.fake.startedRuns, std::vector<std::string>{h.dir / "compile-run.bat"});
    EXPECT_TRUE(h.fake.shellCalls.empty()) << "the window starts the run itself";
    EXPECT_EQ(h.dir.Read(kRunWrapperName), RunWrapperText());
    EXPECT_EQ(h.dir.Read(kRunStartName),
              "HelloC\n" + (h.dir / "work/level1.log") + "\n" + std::to_string(kStart) + "\n");
    EXPECT_EQ(h.dir.Read(kRunProcessName), "4242 4242 " + std::to_string(kStart) + "\n");
    EXPECT_EQ(h.main().RunStatus, "Running HelloC since 12:04\xE2\x80\xA6");
    EXPECT_TRUE(h.main().cmdStopRun.enabled);
    EXPECT_TRUE(h.main().cmdTrayStop.enabled);

    h.now += 5;
    ASSERT_EQ(h.program.Click("cmdStopRun"), EventResult::Done);
    EXPECT_EQ(h.fake.stoppedGroups, std::vector<int>{4242});
    EXPECT_EQ(h.dir.Read(kRunExitName), "stopped " + std::to_string(h.now) + "\n");
    EXPECT_EQ(h.main().RunStatus, "Stopped after 5 s");
    EXPECT_FALSE(h.main().cmdStopRun.enabled);
}

TEST(WindowsRunState, TheWrappersOneWordStatusEndsTheRunAtTheFilesTime) {
    RunHarness h;
    h.fake.runProcess = 4242;
    h.Run();
    h.fake.runningProcesses.clear();
    h.dir.Write(kRunExitName, "0\r\n");
    const std::chrono::sys_seconds end{std::chrono::seconds(kStart + 12)};
    fs::last_write_time(h.dir / kRunExitName, std::chrono::file_clock::from_sys(end));
    h.now = kStart + 60;
    h.main().WatchRun();
    EXPECT_EQ(h.main().RunStatus, "Finished in 12 s");
    EXPECT_EQ(h.main().RunEndings, 1);
    EXPECT_FALSE(h.main().cmdStopRun.enabled);
}

TEST(WindowsRunState, ARunThatCannotStartIsLeftToTheShellAndShowsNothing) {
    RunHarness h;
    h.fake.runProcess = 0;
    h.Run();
    EXPECT_EQ(h.fake.startedRuns.size(), 1u);
    ASSERT_EQ(h.fake.shellCalls.size(), 1u);
    EXPECT_EQ(h.fake.shellCalls[0].target, h.dir / "compile.bat");
    EXPECT_FALSE(fs::exists(h.dir / kRunStartName));
    EXPECT_EQ(h.main().RunStatus, "");
    EXPECT_FALSE(h.main().cmdStopRun.enabled);
}

}  // namespace
}  // namespace kestrune
