#pragma once
// Preset files: the specification they belong to, the input file, and every program's stage
// tick and field values.

#include <string>

#include "presets/PresetState.h"

namespace kestrune {

enum class PresetMode { Open, Import };

// The whole text that WritePreset writes.
std::string PresetText(const PresetState& state);

// Writes the preset and clears PresetChanged. False when it could not be written (the
// platform's error text was shown and the previous file is untouched).
bool WritePreset(PresetState& state, const std::string& path);

// Reads a preset. False when its first line is not "ZRP200" (in any case), the file could
// not be read, or, when opening, the specification it names is not in SpecFiles/; each is
// reported through the platform.
bool ReadPreset(PresetState& state, const std::string& path, PresetMode mode);

}  // namespace kestrune
