#pragma once
// What the suite asks of Windows itself, through its API (Windows builds only). Text goes in
// and out in UTF-8, like every other text of the core; the API is called with UTF-16.

#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// The program's arguments after its name, as the system holds them (UTF-16, read back as
// UTF-8): the C runtime's argv would hold them in the code page, and lose what it cannot hold.
std::vector<std::string> CommandLineArguments();

// While it lives, a console the program writes to shows its output as UTF-8, the encoding of
// everything the program prints; the console's own code page comes back after. Nothing when
// the output is no console (a pipe or a file gets the UTF-8 bytes as they are).
class ConsoleOutputAsUtf8 {
  public:
    ConsoleOutputAsUtf8();
    ~ConsoleOutputAsUtf8();
    ConsoleOutputAsUtf8(const ConsoleOutputAsUtf8&) = delete;
    ConsoleOutputAsUtf8& operator=(const ConsoleOutputAsUtf8&) = delete;

  private:
    unsigned previous_ = 0;
};

// A program of the Windows subsystem (the window, REDA) starts without a console, so what it
// prints (--help, --version, REDA's reports) would be lost when a command prompt started it:
// an output that goes nowhere is sent to that prompt's console instead. An output redirected
// to a file or a pipe stays where it is; without a starting console nothing changes.
void PrintToStartingConsole();

// UTF-8 text as UTF-16, and back.
std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

}  // namespace kestrune::windows
