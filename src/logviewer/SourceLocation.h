#pragma once
// Where a compiler says a problem is: "path/file.c:12:5: error: …" (gcc, clang and most
// tools), "file.cpp(12): error …" and "file.cpp(12,5): warning …" (MSVC and its kin). The
// view shows the location as a link; following it opens the file at that line in the
// user's editor.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reda {

struct SourceLocation {
    // The file as written. Where the text before the line number holds blanks, `path` is its
    // last word and `widePath` all of it, since either may be the file (a path with blanks,
    // or "In file included from a.h").
    std::string path;
    std::string widePath;
    std::size_t line = 0;
    std::size_t column = 0;  // 0 when not given
    // The bytes of the raw line the location covers, escape sequences included.
    std::size_t begin = 0;
    std::size_t end = 0;

    bool operator==(const SourceLocation&) const = default;
};

// Bytes at the start of a line looked at for a location.
inline constexpr std::size_t kLocationReach = 4096;

// The first location in a line of the log, within its first kLocationReach bytes (colour
// sequences are looked through).
std::optional<SourceLocation> findLocation(std::string_view line);

// The file a location names: absolute as it is, else relative to the log's folder, with "."
// and ".." taken out. The wide path wins when that file exists.
std::filesystem::path resolveLocation(const SourceLocation& location,
                                      const std::filesystem::path& logFolder);

struct EditorCommand {
    std::string program;
    std::vector<std::string> arguments;
    bool operator==(const EditorCommand&) const = default;
};

// How to open `file` at a line: with $VISUAL, else $EDITOR (given here, empty when unset),
// passing +LINE to the editors known to take it (vi, Emacs, nano, …) and file:line:column
// to VS Code; nullopt when neither is set, for the desktop's opener.
std::optional<EditorCommand> editorCommand(const std::string& visual, const std::string& editor,
                                           const std::filesystem::path& file, std::size_t line,
                                           std::size_t column);

}  // namespace reda
