#pragma once
// What the window knows of a run of the chain: the script runs through a small wrapper beside
// it, and the run's process, its process group (on Windows: the process that names the run's
// job object) and how it ended are recorded in the program folder, so the window (or a later
// one) can follow the run, tell how it ended and stop it.

#include <cstdint>
#include <functional>
#include <string>

namespace kestrune {

// Beside the script in the program folder.
#ifdef _WIN32
inline constexpr const char* kRunWrapperName = "compile-run.bat";
#else
inline constexpr const char* kRunWrapperName = "compile-run.sh";
#endif
inline constexpr const char* kRunStartName = "compile.run";  // the window: label, log, start
// The wrapper (on Windows the window, which starts it): process, group, start.
inline constexpr const char* kRunProcessName = "compile.pid";
// The wrapper or Stop: status and end. cmd.exe cannot tell the time in seconds, so the Windows
// wrapper writes the status alone and the file's own time is the end.
inline constexpr const char* kRunExitName = "compile.exit";
// How long a run may take to show its process before it counts as one that never started.
inline constexpr std::int64_t kRunStartGraceSeconds = 30;

// The wrapper's text: it runs the script beside it (compile.sh with /bin/sh; compile.bat with
// cmd.exe, lines ending in CR LF) and keeps its exit status.
std::string RunWrapperText();

enum class RunPhase {
    None,      // no run recorded
    Starting,  // started by the window; the wrapper has not written its process yet
    Running,
    Finished,  // exit status 0
    Failed,    // another exit status
    Stopped,   // ended by Stop
    Lost,      // ended without an exit status: its terminal was closed, or it never started
};

struct RunRecord {
    RunPhase phase = RunPhase::None;
    std::string label;  // the preset's (or specification's) name
    std::string log;    // the log file of the run's input
    int pid = 0;
    int group = 0;
    std::int64_t started = 0;  // seconds since the epoch
    std::int64_t ended = 0;
    int status = 0;

    bool Going() const { return phase == RunPhase::Starting || phase == RunPhase::Running; }
};

// Reads the record in `folder` (with a final separator); `alive` tells whether a process still
// runs, `now` is the time in seconds since the epoch. Damaged files count as missing.
RunRecord ReadRunRecord(const std::string& folder, const std::function<bool(int)>& alive,
                        std::int64_t now);

// Starts a new record: the window's part written, the wrapper's parts of an earlier run
// removed, the wrapper written. Throws IoError when a file cannot be written.
void BeginRunRecord(const std::string& folder, const std::string& label, const std::string& log,
                    std::int64_t now);
// Records the run's process where the window started it itself (Windows). Throws IoError when
// it cannot be written.
void RecordRunProcess(const std::string& folder, int pid, std::int64_t now);
// Removes the window's part of a run that could not be started, so no run shows.
void ForgetRunRecord(const std::string& folder);
// Records that Stop ended the run. Throws IoError when it cannot be written.
void RecordRunStopped(const std::string& folder, std::int64_t now);

// "12 s", "3 min 5 s", "2 h 4 min".
std::string DurationText(std::int64_t seconds);
// The one line that says how the run stands, its start in local time: "Running HelloC since
// 12:04…", "Finished in 12 s", "Failed with exit status 1 after 3 s — the log: …"; empty when no
// run is recorded.
std::string RunStatusText(const RunRecord& record);
// The local time of day "HH:MM" of a time in seconds since the epoch.
std::string LocalClockText(std::int64_t seconds);

}  // namespace kestrune
