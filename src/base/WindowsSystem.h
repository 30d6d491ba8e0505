#pragma once
// What the suite asks of Windows itself, through its API (Windows builds only). Text goes in
// and out in the system's ANSI code page, like every other text of the core.

#include <optional>
#include <string>
#include <utility>

#include "base/Platform.h"

namespace kestrune::windows {

// The running program's full path (GetModuleFileName), whatever the command line said.
std::string ExecutablePath();
// The full long form of `path` (GetFullPathName, then GetLongPathName, so "C:\PROGRA~1\x.zrp"
// reads "C:\Program Files\x.zrp"); the full form alone when the file does not exist, and empty
// when even that cannot be formed.
std::string LongPathName(const std::string& path);
// The primary screen's work area: the desktop without the task bar (SPI_GETWORKAREA).
ScreenRect WorkArea();
// The true major and minor version (RtlGetVersion: GetVersionEx lies to programs without a
// manifest).
std::pair<int, int> OsVersion();

// The per-user file classes, HKEY_CURRENT_USER\Software\Classes, which Windows merges into
// HKEY_CLASSES_ROOT and which need no administrator. False when the key could not be created
// or the value not written.
bool CreateUserClassKey(const std::string& key);
bool SetUserClassKeyDefault(const std::string& key, const std::string& value);
// Tells the shell that file associations changed, so Explorer shows the new ones at once.
void NotifyAssociationChanged();

// ShellExecute's "open" of a file, program or web address with `parameters`, in `folder`
// (empty: the current one). False when the shell could not start it.
bool ShellOpen(const std::string& target, const std::string& parameters, const std::string& folder);

// A run of the chain the window follows. cmd.exe runs the batch file `wrapper` in a console of
// its own, from the wrapper's folder, inside a job object named after the process, so that a
// later window finds the run by that number alone. The process id, or 0 when it did not start.
int StartRunInJob(const std::string& wrapper);
// Whether the run started as process `pid` still has a process going. A process id the system
// has given to another program since does not count: it is not in the run's job.
bool RunGoing(int pid);
// Ends every process of the run started as process `pid`: the wrapper, compile.bat and every
// tool they started. False when no such run is going.
bool StopRun(int pid);

// Text of the ANSI code page as UTF-16, and back.
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

}  // namespace kestrune::windows
