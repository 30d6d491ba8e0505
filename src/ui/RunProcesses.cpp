#include "RunProcesses.h"

#include <QFile>
#include <QTimer>

#ifdef _WIN32
#include "base/WindowsSystem.h"
#else
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace kestrune::ui {

namespace {

// How long the group's processes get to end on their own before they are forced.
constexpr int kStopGraceMs = 2000;

}  // namespace

bool ProcessAlive(int pid) {
#ifdef _WIN32
    // The run's job still holds a process.
    return windows::RunGoing(pid);
#else
    if (pid <= 0) {
        return false;
    }
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        // The state follows the command's name in parentheses, which may itself hold them.
        const QByteArray text = stat.read(4096);
        const qsizetype close = text.lastIndexOf(')');
        if (close < 0 || close + 2 >= text.size()) {
            return true;
        }
        const char state = text.at(close + 2);
        return state != 'Z' && state != 'X';
    }
    return ::kill(pid, 0) == 0 || errno == EPERM;
#endif
}

bool StopProcessGroup(int group) {
#ifdef _WIN32
    // The run's job object, named after the process that heads it: every process of the run.
    return windows::StopRun(group);
#else
    if (group <= 1 || group == ::getpgrp()) {
        return false;
    }
    if (::kill(-group, SIGTERM) != 0) {
        return false;
    }
    // A stopped process acts on the request only once it runs again.
    ::kill(-group, SIGCONT);
    QTimer::singleShot(kStopGraceMs, [group] {
        if (::kill(-group, 0) == 0) {
            ::kill(-group, SIGKILL);
        }
    });
    return true;
#endif
}

}  // namespace kestrune::ui
