#pragma once
// Where a tool says a problem is: "path/file.c:12:5: error: …" (gcc, clang and most tools),
// "In file included from x.h:3," and "from x.h:3,", rustc's " --> src/main.rs:3:21",
// "file.cpp(12): error …" and
// "file.cpp(12,5): warning …" (MSVC and its kin), "CMake Error at CMakeLists.txt:26 (message):"
// and Python's 'File "x.py", line 34'. The view shows the location as a link; following it
// opens the file at that line in the user's editor. A relative path is taken the way the build
// took it: from the folder make or ninja said it entered, else from the log's folder and the
// folders above it.

#include <cstddef>
#include <filesystem>
#include <functional>
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

// "make[1]: Entering directory '/x/lib'", "make[1]: Leaving directory '/x/lib'" and
// "ninja: Entering directory `out'".
struct DirectoryChange {
    bool entering = true;
    std::string directory;
    bool operator==(const DirectoryChange&) const = default;
};
std::optional<DirectoryChange> directoryChange(std::string_view line);

// The folders make and ninja were in, followed line by line. A relative folder is taken from
// the one make was in before, else from the log's folder.
class DirectoryTrail {
  public:
    explicit DirectoryTrail(std::filesystem::path logFolder);
    void observe(std::string_view line);
    // The folder of the innermost Entering directory not left yet; empty when none.
    std::filesystem::path current() const;
    // The folder entered last, even when it was left since: a Debian build log kept beside
    // the source folder names it once and goes on in it after make's Leaving directory.
    const std::filesystem::path& lastEntered() const { return lastEntered_; }

  private:
    std::filesystem::path logFolder_;
    std::vector<std::filesystem::path> open_;
    std::filesystem::path lastEntered_;
};

struct LinkContext {
    std::filesystem::path logFolder;
    std::filesystem::path current;      // DirectoryTrail::current() at the line
    std::filesystem::path lastEntered;  // DirectoryTrail::lastEntered() at the line
    std::filesystem::path sourceRoot;   // the user's source folder; empty when not set
};

using FileExists = std::function<bool(const std::filesystem::path&)>;
bool isRegularFile(const std::filesystem::path& path);

// The file a location names, with "." and ".." taken out and, off Windows, backslashes read
// as slashes. An absolute path (a drive letter's too) is taken as it is. A relative one is
// looked for in the folder make or ninja was in, the log's folder, the folders above it up to
// the source folder when that is above it (else the source folder), and the folder entered last;
// the first that holds the file wins, else the first of them. The wide path wins when its
// file exists.
std::filesystem::path resolveLocation(const SourceLocation& location, const LinkContext& context,
                                      const FileExists& exists = isRegularFile);

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
