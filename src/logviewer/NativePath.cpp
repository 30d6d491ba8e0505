#include "NativePath.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <climits>
#include <cstdlib>
#else
#include <cstdlib>
#endif

namespace reda {

#ifdef _WIN32

namespace {

// Text of `page` as UTF-16; bytes invalid there become U+FFFD. With `strict`, nothing when a
// byte is invalid.
std::optional<std::wstring> wide(std::string_view text, UINT page, bool strict) {
    if (text.empty()) {
        return std::wstring();
    }
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int needed = MultiByteToWideChar(page, flags, text.data(), length, nullptr, 0);
    if (needed <= 0) {
        return std::nullopt;
    }
    std::wstring out(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(page, flags, text.data(), length, out.data(), needed);
    return out;
}

std::string utf8(std::wstring_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), needed, nullptr, nullptr);
    return out;
}

// The path with one kind of separator and without final ones; a drive's root keeps its own.
std::wstring comparable(std::string_view text) {
    std::wstring path = wide(text, CP_UTF8, false).value_or(std::wstring());
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    while (path.size() > 1 && path.back() == L'\\' && path[path.size() - 2] != L':') {
        path.pop_back();
    }
    return path;
}

}  // namespace

std::filesystem::path pathOfText(std::string_view text) {
    return std::filesystem::path(wide(text, CP_UTF8, false).value_or(std::wstring()));
}

std::string textOfPath(const std::filesystem::path& path) {
    return utf8(path.native());
}

std::filesystem::path pathOfLogText(std::string_view text) {
    if (std::optional<std::wstring> unicode = wide(text, CP_UTF8, true)) {
        return std::filesystem::path(std::move(*unicode));
    }
    return std::filesystem::path(wide(text, CP_ACP, false).value_or(std::wstring()));
}

bool samePath(std::string_view a, std::string_view b) {
    const std::wstring left = comparable(a);
    const std::wstring right = comparable(b);
    if (left.size() > static_cast<std::size_t>(INT_MAX) ||
        right.size() > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    // Ordinal and case-blind: how the file system itself compares names.
    return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

std::vector<std::string> commandLineWords(int argc, char** argv) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) {
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    }
    std::vector<std::string> out;
    for (int i = 1; i < count; ++i) {
        out.push_back(utf8(words[i]));
    }
    LocalFree(words);
    return out;
}

std::optional<std::string> environmentText(const char* name) {
    const std::optional<std::wstring> key = wide(name, CP_UTF8, false);
    const wchar_t* value = key ? _wgetenv(key->c_str()) : nullptr;
    return value != nullptr ? std::optional<std::string>(utf8(value)) : std::nullopt;
}

#else

std::filesystem::path pathOfText(std::string_view text) {
    return std::filesystem::path(std::string(text));
}

std::string textOfPath(const std::filesystem::path& path) {
    return path.native();
}

std::filesystem::path pathOfLogText(std::string_view text) {
    return std::filesystem::path(std::string(text));
}

bool samePath(std::string_view a, std::string_view b) {
    return a == b;
}

std::vector<std::string> commandLineWords(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::optional<std::string> environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

#endif

}  // namespace reda
