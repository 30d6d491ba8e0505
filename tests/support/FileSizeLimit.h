#pragma once
// Runs code in a child process, so a hang, a crash or a signal shows as a failed expectation
// instead of a frozen or killed test run; optionally with files that may not grow past a limit,
// the way a full disk stops a write.

#include <cstddef>
#include <functional>
#include <string>

namespace kestrune::testing {

struct ChildLimits {
    unsigned alarmSeconds = 0;      // the child is stopped after this long; 0: never
    std::size_t fileSizeLimit = 0;  // bytes a file may grow to; 0: no limit
    // Ignore SIGXFSZ in the child, so a write past the limit fails with EFBIG. Leave it off to
    // check that the code under test survives the signal by itself.
    bool ignoreFileSizeSignal = false;
};

// The text `body` returned in the child; "killed by signal N" when a signal ended the child,
// and a text starting with "child failed" when it ended otherwise than normally.
std::string RunInChild(const ChildLimits& limits, const std::function<std::string()>& body);

// `body` with the file size limit and SIGXFSZ ignored; any abnormal end gives a text starting
// with "child failed".
std::string WithFileSizeLimit(std::size_t limitBytes, const std::function<std::string()>& body);

}  // namespace kestrune::testing
