#pragma once
// The two facts of the program folder rule that every program of the suite needs, the log
// viewer included: whether a folder is a portable program folder, and the user's own data
// folder an installed program falls back to.

#include <optional>
#include <string>

namespace kestrune {

// The file that makes the executable's folder the program folder whatever else it holds.
inline constexpr const char* kPortableMarker = "kestrune.portable";
// The environment variable that names the program folder, like --home.
inline constexpr const char* kHomeVariable = "KESTRUNE_HOME";

// True when `folder` is a portable program folder: it holds the marker file, or it holds
// SpecFiles/ and this user can create files in it.
bool IsPortableFolder(const std::string& folder);

// The user's data folder for the suite, without a final separator: $XDG_DATA_HOME/kestrune
// (a relative or empty value counts as unset) or ~/.local/share/kestrune; on Windows
// %APPDATA%\Kestrune. Empty when the environment names no home at all.
std::string UserDataFolder(const std::optional<std::string>& xdgDataHome,
                           const std::optional<std::string>& home,
                           const std::optional<std::string>& appData);

}  // namespace kestrune
