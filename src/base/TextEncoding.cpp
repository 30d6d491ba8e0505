#include "base/TextEncoding.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>

#include <climits>
#include <vector>
#else
#include <cstdlib>
#endif

namespace kestrune {

namespace {

#ifdef _WIN32

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The length of the UTF-8 sequence that starts with `lead` (1 for a stray byte, so that a
// walk over the text always moves on).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead < 0xF0 ? 3 : 1;
    }
    return lead >= 0xC0 ? 2 : 1;
}

UnstorableCharacter Describe(std::string_view text, std::size_t at) {
    UnstorableCharacter found;
    const std::size_t length =
        std::min(SequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
    found.character = std::string(text.substr(at, length));
    const std::size_t previousEnd = text.rfind('\n', at);
    const std::size_t begin = previousEnd == std::string_view::npos ? 0 : previousEnd + 1;
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) {
        end = text.size();
    }
    if (end > begin && text[end - 1] == '\r') {
        --end;
    }
    found.lineText = std::string(text.substr(begin, end - begin));
    found.line = 1;
    for (std::size_t i = 0; i < begin; ++i) {
        found.line += text[i] == '\n' ? 1 : 0;
    }
    return found;
}

std::wstring WideOf(UINT codePage, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
    return wide;
}

std::string Utf8Of(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
    return text;
}

// `wide` in the ANSI code page, or nothing when a character of it has no exact counterpart
// there (no "best fit" that silently changes a name, no default character).
std::optional<std::string> CodePageOf(const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                      nullptr, &usedDefault);
    if (n <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), n, nullptr,
                        &usedDefault);
    // Converting back must give the same characters: some code pages map a character they lack
    // to a look-alike without saying so.
    if (usedDefault || WideOf(CP_ACP, bytes) != wide) {
        return std::nullopt;
    }
    return bytes;
}

#endif

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
        } else {
            return false;
        }
        if (text.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return false;
        }
        i += length;
    }
    return true;
}

#ifdef _WIN32

std::filesystem::path PathFromUtf8(std::string_view path) {
    // Text that is not UTF-8 can only be a path in the code page, from a caller that still
    // takes one from std::filesystem::path::string(): it names the same file that way.
    return std::filesystem::path(WideOf(IsValidUtf8(path) ? CP_UTF8 : CP_ACP, path));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return Utf8Of(path.wstring());
}

std::wstring WideFromUtf8(std::string_view text) {
    return WideOf(CP_UTF8, text);
}

std::string Utf8FromWide(std::wstring_view text) {
    return Utf8Of(text);
}

namespace {

// The path with one kind of separator and without final ones; a drive's root keeps its own.
std::wstring Comparable(std::string_view path) {
    std::wstring wide = PathFromUtf8(path).wstring();
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    while (wide.size() > 1 && wide.back() == L'\\' && wide[wide.size() - 2] != L':') {
        wide.pop_back();
    }
    return wide;
}

}  // namespace

bool SamePath(std::string_view a, std::string_view b) {
    const std::wstring left = Comparable(a);
    const std::wstring right = Comparable(b);
    if (left.size() > static_cast<std::size_t>(INT_MAX) ||
        right.size() > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    // Ordinal and case-blind: how the file system itself compares names.
    return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

std::string SharedTextToUtf8(std::string_view bytes) {
    // A file that begins with the UTF-8 mark was saved as UTF-8 (Notepad offers it), whatever
    // the code page; its readers see the mark as they do on every system.
    if (GetACP() == CP_UTF8 || (bytes.starts_with(kUtf8Mark) && IsValidUtf8(bytes))) {
        return std::string(bytes);
    }
    return Utf8Of(WideOf(CP_ACP, bytes));
}

std::string ToolOutputToUtf8(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : SharedTextToUtf8(bytes);
}

std::optional<std::string> SharedTextFromUtf8(std::string_view text,
                                              UnstorableCharacter* unstorable) {
    if (GetACP() == CP_UTF8) {
        return std::string(text);
    }
    if (std::optional<std::string> whole = CodePageOf(WideOf(CP_UTF8, text))) {
        return whole;
    }
    // Only on failure: character by character, to name the first one that cannot be stored.
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
        if (!CodePageOf(WideOf(CP_UTF8, text.substr(at, length)))) {
            if (unstorable != nullptr) {
                *unstorable = Describe(text, at);
            }
            return std::nullopt;
        }
        at += length;
    }
    // The whole failed, no piece did (it cannot, but an answer must be given): the first line.
    if (unstorable != nullptr) {
        *unstorable = Describe(text, 0);
    }
    return std::nullopt;
}

std::optional<std::string> EnvironmentText(const std::string& name) {
    const std::wstring wideName = WideOf(CP_UTF8, name);
    std::vector<wchar_t> buffer(256);
    for (int round = 0; round < 4; ++round) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableW(wideName.c_str(), buffer.data(),
                                                static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            // An empty value reads as 0 too, but without the error.
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
                return std::nullopt;
            }
            return std::string();
        }
        if (n < buffer.size()) {
            return Utf8Of(std::wstring(buffer.data(), n));
        }
        buffer.resize(n);
    }
    return std::nullopt;
}

#else

std::filesystem::path PathFromUtf8(std::string_view path) {
    return std::filesystem::path(std::string(path));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return path.string();
}

bool SamePath(std::string_view a, std::string_view b) {
    return a == b;
}

std::string SharedTextToUtf8(std::string_view bytes) {
    return std::string(bytes);
}

std::string ToolOutputToUtf8(std::string_view bytes) {
    return std::string(bytes);
}

std::optional<std::string> EnvironmentText(const std::string& name) {
    if (const char* value = std::getenv(name.c_str()); value != nullptr) {
        return std::string(value);
    }
    return std::nullopt;
}

std::optional<std::string> SharedTextFromUtf8(std::string_view text, UnstorableCharacter*) {
    // File names and files are bytes here: every text can be stored as it is.
    return std::string(text);
}

#endif

}  // namespace kestrune
