#include "base/WindowsSystem.h"

#include "base/TextEncoding.h"

// windows.h first: the shell's headers build on it.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace kestrune::windows {

namespace {

constexpr const wchar_t* kUserClasses = L"Software\\Classes\\";

// Calls `fill(buffer, size)` with growing buffers until the answer fits; it returns the length
// needed (or written), 0 on failure, as the Win32 path functions do.
template <typename Fill>
std::wstring Grow(Fill fill) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int round = 0; round < 8; ++round) {
        const DWORD n = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            return std::wstring(buffer.data(), n);
        }
        buffer.resize(static_cast<std::size_t>(n) + 1);
    }
    return {};
}

// The name of a run's job object: what a later window knows of the run is its process id.
std::wstring RunJobName(int pid) {
    return L"Local\\KestruneRun-" + std::to_wstring(pid);
}

}  // namespace

std::wstring Wide(const std::string& text) {
    return WideFromUtf8(text);
}

std::string Narrow(const std::wstring& text) {
    return Utf8FromWide(text);
}

std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return arguments;
    }
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Narrow(words[i]));
    }
    LocalFree(words);
    return arguments;
}

ConsoleOutputAsUtf8::ConsoleOutputAsUtf8() {
    // GetConsoleOutputCP answers 0 without a console.
    previous_ = GetConsoleOutputCP();
    if (previous_ != 0 && previous_ != CP_UTF8) {
        SetConsoleOutputCP(CP_UTF8);
    }
}

ConsoleOutputAsUtf8::~ConsoleOutputAsUtf8() {
    if (previous_ != 0 && previous_ != CP_UTF8) {
        SetConsoleOutputCP(previous_);
    }
}

void PrintToStartingConsole() {
    const auto nowhere = [](DWORD which) {
        HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE ||
               GetFileType(handle) == FILE_TYPE_UNKNOWN;
    };
    const bool output = nowhere(STD_OUTPUT_HANDLE);
    const bool errors = nowhere(STD_ERROR_HANDLE);
    if ((!output && !errors) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    FILE* reopened = nullptr;
    if (output) {
        freopen_s(&reopened, "CONOUT$", "w", stdout);
    }
    if (errors) {
        freopen_s(&reopened, "CONOUT$", "w", stderr);
    }
}

std::string ExecutablePath() {
    // GetModuleFileName returns the buffer's size when the path is cut.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int round = 0; round < 8; ++round) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            return Narrow(std::wstring(buffer.data(), n));
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

std::string LongPathName(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    const std::wstring wide = Wide(path);
    const std::wstring full = Grow([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(wide.c_str(), size, buffer, nullptr);
    });
    if (full.empty()) {
        return {};
    }
    const std::wstring longer = Grow(
        [&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(full.c_str(), buffer, size); });
    return Narrow(longer.empty() ? full : longer);
}

ScreenRect WorkArea() {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return {area.left, area.top, area.right, area.bottom};
}

std::pair<int, int> OsVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"); ntdll != nullptr) {
        const auto get = reinterpret_cast<RtlGetVersionFunction>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (get != nullptr && get(&info) == 0) {
            return {static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion)};
        }
    }
    return {10, 0};
}

bool CreateUserClassKey(const std::string& key) {
    HKEY handle = nullptr;
    const std::wstring path = kUserClasses + Wide(key);
    const LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                        nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

bool SetUserClassKeyDefault(const std::string& key, const std::string& value) {
    HKEY handle = nullptr;
    const std::wstring path = kUserClasses + Wide(key);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &handle) !=
        ERROR_SUCCESS) {
        return false;
    }
    const std::wstring data = Wide(value);
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    const LONG status = RegSetValueExW(handle, nullptr, 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(data.c_str()), bytes);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

void NotifyAssociationChanged() {
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

bool ShellOpen(const std::string& target, const std::string& parameters,
               const std::string& folder) {
    const std::wstring file = Wide(target);
    const std::wstring arguments = Wide(parameters);
    const std::wstring directory = Wide(folder);
    const HINSTANCE result = ShellExecuteW(
        nullptr, L"open", file.c_str(), arguments.empty() ? nullptr : arguments.c_str(),
        directory.empty() ? nullptr : directory.c_str(), SW_SHOWNORMAL);
    // Values above 32 mean success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

int StartRunInJob(const std::string& wrapper) {
    std::wstring shell = Grow([](wchar_t* buffer, DWORD size) {
        return GetEnvironmentVariableW(L"ComSpec", buffer, size);
    });
    if (shell.empty()) {
        shell = L"cmd.exe";
    }
    // The wrapper runs in its own folder and is named without one: cmd.exe would expand a "%"
    // of the folder's name on its command line, and Wine's cmd.exe splits it at an "&" even
    // inside quotes.
    const std::filesystem::path path(Wide(wrapper));
    const std::wstring folder = path.parent_path().wstring();
    std::wstring line = L"cmd.exe /d /c " + path.filename().wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Suspended: the job's name holds the process id, and the process must be in the job
    // before it starts anything.
    if (!CreateProcessW(shell.c_str(), line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | CREATE_SUSPENDED, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return 0;
    }
    const int pid = static_cast<int>(process.dwProcessId);
    HANDLE job = CreateJobObjectW(nullptr, RunJobName(pid).c_str());
    if (job != nullptr) {
        AssignProcessToJobObject(job, process.hProcess);
        // cmd.exe holds the job too, and hands it on to what it starts: the job (and its name)
        // lives as long as the run, after this window has closed.
        HANDLE held = nullptr;
        DuplicateHandle(GetCurrentProcess(), job, process.hProcess, &held, 0, TRUE,
                        DUPLICATE_SAME_ACCESS);
        CloseHandle(job);
    }
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return pid;
}

bool RunGoing(int pid) {
    if (pid <= 0) {
        return false;
    }
    HANDLE job = OpenJobObjectW(JOB_OBJECT_QUERY, FALSE, RunJobName(pid).c_str());
    if (job == nullptr) {
        return false;
    }
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    const BOOL read = QueryInformationJobObject(job, JobObjectBasicAccountingInformation,
                                                &accounting, sizeof accounting, nullptr);
    CloseHandle(job);
    return read && accounting.ActiveProcesses > 0;
}

bool StopRun(int pid) {
    if (pid <= 0) {
        return false;
    }
    HANDLE job =
        OpenJobObjectW(JOB_OBJECT_TERMINATE | JOB_OBJECT_QUERY, FALSE, RunJobName(pid).c_str());
    if (job == nullptr) {
        return false;
    }
    // The exit status a console gives a program ended with Ctrl+C.
    const BOOL ended = TerminateJobObject(job, 0xC000013A);
    CloseHandle(job);
    return ended != FALSE;
}

}  // namespace kestrune::windows
