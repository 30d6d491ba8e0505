#include "draft/HelpCapture.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Paths.h"
#include "base/TextEncoding.h"

#ifdef _WIN32
#include <windows.h>

#include "base/WindowsSystem.h"
// The shell header's FindExecutable macro would rename this file's function of the same name.
#undef FindExecutable
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;
#endif

namespace kestrune {
namespace {

constexpr std::string_view kLocale = "LC_ALL=C";
constexpr std::string_view kColumns = "COLUMNS=200";

bool IsExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
#ifdef _WIN32
    return true;
#else
    return access(path.c_str(), X_OK) == 0;
#endif
}

}  // namespace

std::string FindExecutable(std::string_view tool, std::string_view searchPath) {
    if (tool.empty()) {
        return {};
    }
    const bool hasSeparator = std::any_of(tool.begin(), tool.end(), IsPathSeparator);
    if (hasSeparator) {
        const std::filesystem::path path = PathFromUtf8(tool);
        return IsExecutableFile(path) ? AbsoluteNormalPath(std::string(tool)) : std::string();
    }
#ifdef _WIN32
    constexpr char kListSeparator = ';';
    const std::vector<std::string> suffixes{"", ".exe", ".com", ".bat", ".cmd"};
#else
    constexpr char kListSeparator = ':';
    const std::vector<std::string> suffixes{""};
#endif
    std::size_t from = 0;
    while (from <= searchPath.size()) {
        std::size_t end = searchPath.find(kListSeparator, from);
        if (end == std::string_view::npos) {
            end = searchPath.size();
        }
        const std::string folder(searchPath.substr(from, end - from));
        from = end + 1;
        if (folder.empty()) {
            continue;  // an empty entry would mean the current folder, which we do not search
        }
        for (const std::string& suffix : suffixes) {
            const std::filesystem::path candidate =
                PathFromUtf8(folder) / PathFromUtf8(std::string(tool) + suffix);
            if (IsExecutableFile(candidate)) {
                return AbsoluteNormalPath(Utf8FromPath(candidate));
            }
        }
    }
    return {};
}

#ifndef _WIN32

namespace {

// The parent's environment with the locale and the width fixed, so the help reads the same on
// every machine.
std::vector<std::string> HelpEnvironment() {
    std::vector<std::string> variables;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        if (text.starts_with("LC_ALL=") || text.starts_with("COLUMNS=")) {
            continue;
        }
        variables.emplace_back(text);
    }
    variables.emplace_back(kLocale);
    variables.emplace_back(kColumns);
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

class Pipe {
  public:
    Pipe() {
        if (pipe(ends_) != 0) {
            ends_[0] = ends_[1] = -1;
        }
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    bool Valid() const { return ends_[0] >= 0; }
    int Read() const { return ends_[0]; }
    int Write() const { return ends_[1]; }
    void CloseRead() {
        if (ends_[0] >= 0) {
            close(ends_[0]);
            ends_[0] = -1;
        }
    }
    void CloseWrite() {
        if (ends_[1] >= 0) {
            close(ends_[1]);
            ends_[1] = -1;
        }
    }

  private:
    int ends_[2] = {-1, -1};
};

// Starts the tool in a group of its own with the pipe as its output; false (with the error
// in `result`) when it cannot be started.
bool Spawn(const std::string& executable, const std::vector<std::string>& arguments, Pipe& output,
           pid_t& pid, HelpCaptureResult& result) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Standard input reads as empty: a tool that waits for input ends at once.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output.Write(), 1);
    posix_spawn_file_actions_adddup2(&actions, output.Write(), 2);
    posix_spawn_file_actions_addclose(&actions, output.Read());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own, so that what the tool starts is killed with it.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);

    std::vector<std::string> argumentTexts{executable};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = Pointers(argumentTexts);
    std::vector<std::string> environment = HelpEnvironment();
    std::vector<char*> envp = Pointers(environment);

    const int spawned =
        posix_spawn(&pid, executable.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    output.CloseWrite();
    if (spawned != 0) {
        result.error = std::strerror(spawned);
        return false;
    }
    result.started = true;
    return true;
}

// Reads what the tool prints until it closes its output, the time is up or the bytes are.
void ReadOutput(int from, const HelpCaptureLimits& limits, HelpCaptureResult& result) {
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    char buffer[65536];
    bool stop = false;
    while (!stop) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            break;
        }
        pollfd wait{from, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            result.timedOut = ready == 0;
            break;
        }
        const ssize_t got = read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        const std::size_t room = limits.bytes - result.output.size();
        const auto size = static_cast<std::size_t>(got);
        result.output.append(buffer, std::min(size, room));
        stop = size >= room;
    }
}

}  // namespace

HelpCaptureResult CaptureHelp(const std::string& executable,
                              const std::vector<std::string>& arguments,
                              const HelpCaptureLimits& limits) {
    HelpCaptureResult result;
    Pipe output;
    if (!output.Valid()) {
        result.error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return result;
    }
    pid_t pid = 0;
    if (!Spawn(executable, arguments, output, pid, result)) {
        return result;
    }
    ReadOutput(output.Read(), limits, result);
    output.CloseRead();
    // Whatever is still running (a hang, a tool past the byte limit, a child holding the pipe)
    // is ended; a tool that has ended is only reaped.
    kill(-pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // Our own SIGKILL ends only tools that were done printing or past a limit.
    result.crashed = !result.timedOut && WIFSIGNALED(status) && WTERMSIG(status) != SIGKILL;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

#else

namespace {

using windows::Wide;

// An argument quoted as the C runtime's command-line parser reads it back.
void AppendQuoted(std::wstring& line, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

// The parent's environment block with the locale and the width fixed.
std::wstring HelpEnvironment() {
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; entry != nullptr && *entry != L'\0';
         entry += wcslen(entry) + 1) {
        const std::wstring_view text(entry);
        if (text.starts_with(L"LC_ALL=") || text.starts_with(L"COLUMNS=")) {
            continue;
        }
        block.append(text).push_back(L'\0');
    }
    if (strings != nullptr) {
        FreeEnvironmentStringsW(strings);
    }
    block.append(L"LC_ALL=C").push_back(L'\0');
    block.append(L"COLUMNS=200").push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

// The tool's standard handles: output and error into one pipe, input from NUL.
struct ChildHandles {
    HANDLE readEnd = nullptr;   // ours
    HANDLE writeEnd = nullptr;  // the tool's, closed here once it has started
    HANDLE nul = INVALID_HANDLE_VALUE;

    bool Open() {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
            return false;
        }
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                          OPEN_EXISTING, 0, nullptr);
        return true;
    }
    // The tool holds its own copies now: the pipe ends when the tool (and what it started) does.
    void CloseChildEnds() {
        if (writeEnd != nullptr) {
            CloseHandle(writeEnd);
            writeEnd = nullptr;
        }
        if (nul != INVALID_HANDLE_VALUE) {
            CloseHandle(nul);
            nul = INVALID_HANDLE_VALUE;
        }
    }
};

// Starts the tool suspended, puts it into `job` and lets it run. False when it cannot start.
bool StartInJob(const std::string& executable, const std::vector<std::string>& arguments,
                const ChildHandles& handles, HANDLE job, PROCESS_INFORMATION& process) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = handles.nul;
    startup.hStdOutput = handles.writeEnd;
    startup.hStdError = handles.writeEnd;
    std::wstring line;
    AppendQuoted(line, Wide(executable));
    for (const std::string& argument : arguments) {
        line += L' ';
        AppendQuoted(line, Wide(argument));
    }
    std::wstring environment = HelpEnvironment();
    if (!CreateProcessW(Wide(executable).c_str(), line.data(), nullptr, nullptr, TRUE,
                        CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW | CREATE_SUSPENDED,
                        environment.data(), nullptr, &startup, &process)) {
        return false;
    }
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    return true;
}

// Reads what the tool prints until the pipe closes or a limit is reached.
void ReadOutput(HANDLE readEnd, HANDLE process, const HelpCaptureLimits& limits,
                HelpCaptureResult& result) {
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    char buffer[65536];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            return;
        }
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) {
            return;  // the pipe is closed: the tool has ended
        }
        if (available == 0) {
            if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0 &&
                !PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) {
                return;
            }
            continue;
        }
        DWORD got = 0;
        if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0) {
            return;
        }
        const std::size_t room = limits.bytes - result.output.size();
        result.output.append(buffer, std::min<std::size_t>(got, room));
        if (got >= room) {
            return;
        }
    }
}

}  // namespace

HelpCaptureResult CaptureHelp(const std::string& executable,
                              const std::vector<std::string>& arguments,
                              const HelpCaptureLimits& limits) {
    HelpCaptureResult result;
    ChildHandles handles;
    if (!handles.Open()) {
        result.error = "cannot make a pipe";
        return result;
    }
    // A job object ends the tool together with everything it starts.
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION jobLimits{};
    jobLimits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &jobLimits, sizeof jobLimits);
    PROCESS_INFORMATION process{};
    const bool started = StartInJob(executable, arguments, handles, job, process);
    const DWORD startError = GetLastError();
    handles.CloseChildEnds();
    if (!started) {
        result.error = "cannot start the program (error " + std::to_string(startError) + ")";
        CloseHandle(handles.readEnd);
        CloseHandle(job);
        return result;
    }
    result.started = true;
    ReadOutput(handles.readEnd, process.hProcess, limits, result);
    CloseHandle(handles.readEnd);
    TerminateJobObject(job, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(job);
    // A Windows tool prints in the system's code page; the core's text is UTF-8.
    result.output = ToolOutputToUtf8(result.output);
    result.exitCode = static_cast<int>(code);
    result.crashed = !result.timedOut && (code & 0xC0000000u) == 0xC0000000u;
    return result;
}

#endif

}  // namespace kestrune
