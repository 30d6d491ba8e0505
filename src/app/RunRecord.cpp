#include "app/RunRecord.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/FileIo.h"
#include "base/TextEncoding.h"

namespace kestrune {

namespace {

// No record file is larger; a bigger one is not ours.
constexpr std::size_t kMaxRecordBytes = std::size_t{64} * 1024;

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::string text;
    try {
        if (!FileExists(path)) {
            return lines;
        }
        text = ReadFileBytes(path);
    } catch (const IoError&) {
        return lines;
    }
    if (text.size() > kMaxRecordBytes) {
        return lines;
    }
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The blank-separated words of a line.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start < line.size();) {
        const std::size_t blank = line.find(' ', start);
        const std::size_t end = blank == std::string_view::npos ? line.size() : blank;
        if (end > start) {
            words.push_back(line.substr(start, end - start));
        }
        start = end + 1;
    }
    return words;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

// When the file was last written, in seconds since the epoch.
bool FileTime(const std::string& path, std::int64_t& seconds) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(PathFromUtf8(path), error);
    if (error) {
        return false;
    }
    const auto system = std::chrono::file_clock::to_sys(written);
    seconds = std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
    return true;
}

void RemoveQuietly(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(PathFromUtf8(path), ignored);
}

}  // namespace

std::string RunWrapperText() {
#ifdef _WIN32
    // Run from its own folder, and names no path: cmd.exe would read a "%" of a folder's name.
    // compile.bat runs in a cmd.exe of its own, so that its "cd" and "exit" leave the wrapper
    // where it was.
    return "@echo off\r\n"
           "rem Written by Kestrune: runs compile.bat beside it and records its exit status, so\r\n"
           "rem the window can tell how the run ended.\r\n"
           "cmd /d /c compile.bat\r\n"
           "set \"kestrune_status=%errorlevel%\"\r\n"
           ">compile.exit.part echo %kestrune_status%\r\n"
           "move /y compile.exit.part compile.exit >nul\r\n"
           "exit /b %kestrune_status%\r\n";
#endif
    return "#!/bin/sh\n"
           "# Written by Kestrune: runs compile.sh beside it and records the run's process, its\n"
           "# process group and its exit status, so the window can follow and stop the run.\n"
           "here=$(dirname -- \"$0\")\n"
           "group=\n"
           "read -r _ _ _ _ group _ 2>/dev/null </proc/$$/stat\n"
           "[ -n \"$group\" ] || group=$$\n"
           "echo \"$$ $group $(date +%s)\" >\"$here/compile.pid\"\n"
           "/bin/sh \"$here/compile.sh\"\n"
           "status=$?\n"
           "echo \"$status $(date +%s)\" >\"$here/compile.exit.part\" &&\n"
           "    mv -f \"$here/compile.exit.part\" \"$here/compile.exit\"\n"
           "exit $status\n";
}

RunRecord ReadRunRecord(const std::string& folder, const std::function<bool(int)>& alive,
                        std::int64_t now) {
    RunRecord record;
    const std::vector<std::string> start = Lines(folder + kRunStartName);
    if (start.size() < 3 || !ParseNumber(start[2], record.started)) {
        return record;
    }
    record.label = start[0];
    record.log = start[1];

    const auto readExit = [&] {
        const std::vector<std::string> exit = Lines(folder + kRunExitName);
        if (exit.empty()) {
            return false;
        }
        const auto words = Words(exit[0]);
        if (words.size() == 1) {
            if (!FileTime(folder + kRunExitName, record.ended)) {
                return false;
            }
        } else if (words.size() != 2 || !ParseNumber(words[1], record.ended)) {
            return false;
        }
        if (words[0] == "stopped") {
            record.phase = RunPhase::Stopped;
        } else if (ParseNumber(words[0], record.status)) {
            record.phase = record.status == 0 ? RunPhase::Finished : RunPhase::Failed;
        } else {
            return false;
        }
        return true;
    };

    const std::vector<std::string> process = Lines(folder + kRunProcessName);
    bool hasProcess = false;
    if (!process.empty()) {
        const auto words = Words(process[0]);
        std::int64_t processStart = 0;
        hasProcess = words.size() == 3 && ParseNumber(words[0], record.pid) &&
                     ParseNumber(words[1], record.group) && ParseNumber(words[2], processStart) &&
                     record.pid > 0 && record.group > 0;
        if (hasProcess) {
            record.started = processStart;
        } else {
            record.pid = record.group = 0;
        }
    }
    if (readExit()) {
        return record;
    }
    if (!hasProcess) {
        record.phase =
            now - record.started <= kRunStartGraceSeconds ? RunPhase::Starting : RunPhase::Lost;
        return record;
    }
    if (alive(record.pid)) {
        record.phase = RunPhase::Running;
        return record;
    }
    // It may have ended between the two reads.
    if (readExit()) {
        return record;
    }
    record.phase = RunPhase::Lost;
    return record;
}

void BeginRunRecord(const std::string& folder, const std::string& label, const std::string& log,
                    std::int64_t now) {
    RemoveQuietly(folder + kRunProcessName);
    RemoveQuietly(folder + kRunExitName);
    // A line break would shift the record's lines.
    const auto oneLine = [](std::string text) {
        for (char& c : text) {
            if (c == '\r' || c == '\n') {
                c = ' ';
            }
        }
        return text;
    };
    WriteFileReplacing(folder + kRunStartName,
                       oneLine(label) + "\n" + oneLine(log) + "\n" + std::to_string(now) + "\n");
    const std::string wrapper = folder + kRunWrapperName;
    WriteFileReplacing(wrapper, RunWrapperText());
    MakeExecutableByOwner(wrapper);
}

void RecordRunProcess(const std::string& folder, int pid, std::int64_t now) {
    const std::string number = std::to_string(pid);
    WriteFileReplacing(folder + kRunProcessName,
                       number + " " + number + " " + std::to_string(now) + "\n");
}

void ForgetRunRecord(const std::string& folder) {
    RemoveQuietly(folder + kRunStartName);
}

void RecordRunStopped(const std::string& folder, std::int64_t now) {
    WriteFileReplacing(folder + kRunExitName, "stopped " + std::to_string(now) + "\n");
}

std::string DurationText(std::int64_t seconds) {
    if (seconds < 0) {
        seconds = 0;
    }
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    if (seconds < 3600) {
        return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
    }
    return std::to_string(seconds / 3600) + " h " + std::to_string(seconds % 3600 / 60) + " min";
}

std::string LocalClockText(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    // The thread-safe forms; the window's poll and a command may read times at once.
#ifdef _WIN32
    if (localtime_s(&local, &time) != 0) {
        return "?";
    }
#else
    if (localtime_r(&time, &local) == nullptr) {
        return "?";
    }
#endif
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", local.tm_hour, local.tm_min);
    return text;
}

std::string RunStatusText(const RunRecord& record) {
    const std::string took = DurationText(record.ended - record.started);
    switch (record.phase) {
        case RunPhase::None:
            return {};
        case RunPhase::Starting:
            return "Starting " + record.label + "\xE2\x80\xA6";
        case RunPhase::Running:
            return "Running " + record.label + " since " + LocalClockText(record.started) +
                   "\xE2\x80\xA6";
        case RunPhase::Finished:
            return "Finished in " + took;
        case RunPhase::Failed:
            return "Failed with exit status " + std::to_string(record.status) + " after " + took +
                   " \xE2\x80\x94 the log: " + record.log;
        case RunPhase::Stopped:
            return "Stopped after " + took;
        case RunPhase::Lost:
            return record.pid == 0 ? "The chain did not start."
                                   : "Ended without an exit status (its terminal was closed).";
    }
    return {};
}

}  // namespace kestrune
