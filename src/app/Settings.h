#pragma once
// The settings file Config/config.ini: preferences and the recent and favourite lists.

#include <string>

#include "app/AppState.h"

namespace kestrune {

// The settings file's path in the program folder.
std::string SettingsPath(const AppState& state);

// Reads the preferences and lists; a missing file leaves every default. Window placement is
// left to the window. Throws IoError when the file exists but cannot be read.
void ReadSettingsFile(AppState& state, const std::string& path);

}  // namespace kestrune
