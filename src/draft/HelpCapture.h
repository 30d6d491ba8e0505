#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// What running a tool for its help gave.
struct HelpCaptureResult {
    bool started = false;   // false: `error` says why
    bool timedOut = false;  // killed at the time limit
    bool crashed = false;   // ended by a signal (POSIX) or an exception code (Windows)
    int exitCode = 0;
    std::string output;  // standard output and standard error together, at most the byte limit
    std::string error;
};

struct HelpCaptureLimits {
    std::chrono::milliseconds time{5000};
    std::size_t bytes = std::size_t{1024} * 1024;
};

// Runs `executable` with `arguments`, no shell, standard input empty, LC_ALL=C and COLUMNS=200,
// and collects what it prints until it ends, the time limit passes or the byte limit is reached.
// A tool still running at either limit is killed with everything it started.
HelpCaptureResult CaptureHelp(const std::string& executable,
                              const std::vector<std::string>& arguments,
                              const HelpCaptureLimits& limits = {});

// The executable a tool name stands for: a name with a separator is a path; otherwise the first
// executable file of that name in the folders of `searchPath` (PATH's form). Empty when none.
std::string FindExecutable(std::string_view tool, std::string_view searchPath);

}  // namespace kestrune
