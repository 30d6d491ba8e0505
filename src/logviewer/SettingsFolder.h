#pragma once
// Where REDA keeps Config/REDA.ini. It follows Kestrune's program folder, so a portable copy
// keeps its settings beside the executable and an installed one (in /usr/bin, say, which the
// user cannot write) in the user's data folder. REDA has no --home, so only KESTRUNE_HOME
// chooses the folder explicitly.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace reda {

// The value of an environment variable as path text (NativePath.h), nothing when unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process's own environment.
std::optional<std::string> processEnvironment(const char* name);

// KESTRUNE_HOME when set; else the executable's folder when it holds kestrune.portable, or
// holds SpecFiles/ and this user can create files in it; else $XDG_DATA_HOME/kestrune/ (an
// empty or relative value counts as unset) or ~/.local/share/kestrune/. With none of these
// (no HOME) the executable's folder, where writing then says why it failed.
std::filesystem::path programFolder(const std::filesystem::path& executableFolder,
                                    const EnvironmentLookup& environment = processEnvironment);

// Config/REDA.ini in that folder. Config/ is created when missing (a failure is left to the
// writing of the settings, which reports it).
std::filesystem::path settingsFile(const std::filesystem::path& executableFolder,
                                   const EnvironmentLookup& environment = processEnvironment);

}  // namespace reda
