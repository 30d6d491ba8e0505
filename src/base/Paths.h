#pragma once
// Path pieces in the platform's own form. On Windows both separators are accepted; elsewhere
// only "/". The program folder always ends with a separator.

#include <string>
#include <string_view>

namespace kestrune {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparatorText = "\\";
// The script the Run commands write and start, its line end, and the log viewer beside it.
inline constexpr std::string_view kScriptFileName = "compile.bat";
inline constexpr std::string_view kScriptLineEnd = "\r\n";
inline constexpr std::string_view kLogViewerFileName = "REDA.exe";
inline bool IsPathSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparatorText = "/";
inline constexpr std::string_view kScriptFileName = "compile.sh";
inline constexpr std::string_view kScriptLineEnd = "\n";
inline constexpr std::string_view kLogViewerFileName = "REDA";
inline bool IsPathSeparator(char c) {
    return c == '/';
}
#endif

// Everything after the last separator.
std::string_view FileNamePart(std::string_view path);
// Everything up to and including the last separator ("" when there is none).
std::string_view FolderPart(std::string_view path);
// The folder without one trailing separator: "C:\Maps\a.map" gives "C:\Maps".
std::string FolderWithoutSeparator(std::string_view path);
// The extension of the file name without its point ("" when there is none).
std::string_view ExtensionWithoutDot(std::string_view path);
// The file name without folder and without its extension.
std::string_view BaseNamePart(std::string_view path);
// The absolute, lexically normalised form of `path` against the current folder; empty when
// it cannot be formed.
std::string AbsoluteNormalPath(const std::string& path);
// `folder` with a separator appended when it does not end in one.
std::string WithTrailingSeparator(std::string_view folder);

}  // namespace kestrune
