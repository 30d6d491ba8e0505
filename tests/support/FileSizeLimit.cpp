#include "FileSizeLimit.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace kestrune::testing {

std::string RunInChild(const ChildLimits& limits, const std::function<std::string()>& body) {
    int channel[2];
    if (pipe(channel) != 0) {
        return "child failed: no pipe";
    }
    const pid_t child = fork();
    if (child < 0) {
        return "child failed: no fork";
    }
    if (child == 0) {
        close(channel[0]);
        if (limits.alarmSeconds != 0) {
            alarm(limits.alarmSeconds);
        }
        if (limits.ignoreFileSizeSignal) {
            std::signal(SIGXFSZ, SIG_IGN);
        }
        if (limits.fileSizeLimit != 0) {
            const rlimit limit{limits.fileSizeLimit, limits.fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        const std::string report = body();
        // The report itself goes through a pipe, which the limit does not touch.
        const bool sent =
            write(channel[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    close(channel[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return "child failed: " + report;
    }
    if (WIFSIGNALED(status)) {
        return "killed by signal " + std::to_string(WTERMSIG(status));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "child failed: " + report;
    }
    return report;
}

std::string WithFileSizeLimit(std::size_t limitBytes, const std::function<std::string()>& body) {
    const std::string report = RunInChild({0, limitBytes, true}, body);
    return report.rfind("killed by signal", 0) == 0 ? "child failed: " + report : report;
}

}  // namespace kestrune::testing
