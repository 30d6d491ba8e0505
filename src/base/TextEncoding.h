#pragma once
// The core keeps every text in UTF-8, on every system. Where the system speaks another
// encoding, the text is converted at the edge: paths handed to the file system, and the text
// files the user's tools and earlier versions share, which Windows keeps in its ANSI code page.
// Elsewhere file names and files are bytes, and every function here hands them on unchanged.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

// The file system's path for `path` in UTF-8, and the UTF-8 text of a path it gave. On Windows
// through UTF-16, so that a name outside the code page is still a name; a `path` that is not
// UTF-8 is taken as the code page's (what std::filesystem::path::string() gives there).
std::filesystem::path PathFromUtf8(std::string_view path);
std::string Utf8FromPath(const std::filesystem::path& path);

// Whether two paths in UTF-8 name the same file or folder as the file system compares names:
// on Windows whatever their letter case (beyond ASCII too), `/` or `\` and a final separator
// (a drive's root keeps its own); elsewhere a path is its bytes.
bool SamePath(std::string_view a, std::string_view b);

#ifdef _WIN32
// UTF-8 as the UTF-16 of the Windows API, and back.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
#endif

// An environment variable's value as UTF-8 (on Windows through the wide API: the C runtime's
// copy is in the code page and loses what it cannot hold); nothing when it is not set.
std::optional<std::string> EnvironmentText(const std::string& name);

// Bytes of a shared text file (the system's ANSI code page on Windows) as UTF-8. A file that
// begins with the UTF-8 mark is UTF-8 already and stays as it is, mark and all.
std::string SharedTextToUtf8(std::string_view bytes);

// What a tool printed, as UTF-8: on Windows output that is not UTF-8 already is taken as the
// system's code page, where programs print by default. Elsewhere the bytes as they are.
std::string ToolOutputToUtf8(std::string_view bytes);

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Where a text cannot be stored in the system's code page: the first character it cannot hold.
struct UnstorableCharacter {
    std::size_t line = 0;   // 1 for the first line
    std::string character;  // the character, in UTF-8
    std::string lineText;   // its whole line, without the line end
};

// `text` (UTF-8) as the bytes of a shared text file. Nothing is ever replaced by a guess: when
// the code page cannot hold a character, `unstorable` (when given) tells which and the result
// is empty.
std::optional<std::string> SharedTextFromUtf8(std::string_view text,
                                              UnstorableCharacter* unstorable = nullptr);

}  // namespace kestrune
