#pragma once
// The viewer's settings file, Config/REDA.ini of the program folder (SettingsFolder.h): window
// geometry, highlight words, search switches and recent logs. A missing or unreadable file, or one
// that does not start with the [REDA] header, gives the defaults.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "ProblemIndex.h"

namespace reda {

inline constexpr std::size_t kMaxRecentLogs = 9;
inline constexpr std::size_t kMaxSourceFolders = 64;
inline constexpr std::size_t kMaxPatterns = 64;

// The source folder the user chose for the logs of one folder. Paths in the settings are path
// text (NativePath.h): UTF-8 on Windows, bytes elsewhere.
struct SourceFolder {
    std::string logFolder;
    std::string root;
    bool operator==(const SourceFolder&) const = default;
};

struct RedaSettings {
    std::string geometry;  // opaque to the model; the window encodes it
    HighlightWords words;
    bool matchCase = false;
    bool wholeWord = false;
    bool regex = false;                       // the search bar reads regular expressions
    bool wrapLines = false;                   // long lines take several screen rows
    std::vector<std::string> recentLogs;      // most recent first
    std::vector<SourceFolder> sourceFolders;  // most recent first

    bool operator==(const RedaSettings&) const = default;
};

RedaSettings readSettings(const std::filesystem::path& file);
// Writes to a temporary file beside `file` and renames it over `file`, creating the folder
// when needed. Throws kestrune::IoError with the platform's reason.
void writeSettings(const std::filesystem::path& file, const RedaSettings& settings);

// Puts `path` first, drops an older entry of it (the same path, by samePath) and keeps at most
// kMaxRecentLogs.
void rememberLog(RedaSettings& settings, const std::string& path);

// The source folder set for logs in `logFolder` (matched by samePath, so on Windows
// "C:\Logs" finds the one set for "c:/logs/"); empty when none. Setting an empty root forgets it.
std::string sourceRootFor(const RedaSettings& settings, const std::string& logFolder);
void setSourceRoot(RedaSettings& settings, const std::string& logFolder, const std::string& root);

// "error, fatal" <-> {"error", "fatal"}: pieces trimmed, empty ones dropped.
std::vector<std::string> splitWords(std::string_view text);
std::string joinWords(const std::vector<std::string>& words);

}  // namespace reda
