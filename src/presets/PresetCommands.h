#pragma once
// The preset commands' common tail: opening or importing a preset file.

#include <string>

#include "app/AppState.h"
#include "presets/PresetFile.h"

namespace kestrune {

// Reads the preset at `path` and updates the preset state around it. False when the file is
// missing (" not found." is shown) or the reader rejected it.
bool OpenPreset(AppState& state, const std::string& path, PresetMode mode);

// The window caption for the current preset: "untitled.zrp - Kestrune" or "<file> - Kestrune".
std::string PresetCaption(const AppState& state);

}  // namespace kestrune
