#pragma once
// The processes of a run of the chain, seen from the desktop: whether one still runs, and
// ending a whole process group (the terminal's shell, the wrapper, the script and every tool
// it started). On Windows both go by the run's job object, named after its first process.

namespace kestrune::ui {

// False for a process that has ended, including one that awaits its parent.
bool ProcessAlive(int pid);
// Asks every process of `group` to end, and forces the ones left a moment later. False when
// the group does not exist or is this program's own (or the system's first) group.
bool StopProcessGroup(int group);

}  // namespace kestrune::ui
