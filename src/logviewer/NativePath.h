#pragma once
// Paths as REDA's text holds them: the command line, its settings, the --locations output, the
// environment and the core's calls. On Windows that text is UTF-8 and a path is UTF-16, so each
// crossing converts here, explicitly, the core's way (MinGW's narrow std::filesystem
// conversions take the ANSI code page one way and give UTF-8 the other, lose what the code page
// cannot hold, and throw on what they cannot convert). Elsewhere a path is its bytes.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reda {

// Text (UTF-8 on Windows; text that is not UTF-8 is taken as the code page's there) as a path.
std::filesystem::path pathOfText(std::string_view text);
// A path as text; on Windows a lone surrogate becomes U+FFFD rather than an exception.
std::string textOfPath(const std::filesystem::path& path);

// A path a tool wrote into a log. On Windows a log is UTF-8 when its bytes are valid UTF-8,
// else text of the ANSI code page, as the tools of a Windows console write it.
std::filesystem::path pathOfLogText(std::string_view text);

// Whether two paths given as text name the same file or folder. On Windows a path is the same
// whatever its letter case, `/` or `\` and a final separator; elsewhere a path is its bytes.
bool samePath(std::string_view a, std::string_view b);

// The program's arguments without its name, as text: on Windows from the UTF-16 command line
// (MinGW's `argv` is in the ANSI code page, with "?" for what it cannot hold), elsewhere `argv`.
std::vector<std::string> commandLineWords(int argc, char** argv);

// An environment variable as text; nothing when unset.
std::optional<std::string> environmentText(const char* name);

}  // namespace reda
