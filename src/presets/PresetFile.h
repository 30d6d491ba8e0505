#pragma once
// Preset files: the specification they belong to, the input file, and every program's stage
// tick and field values.

#include <string>
#include <string_view>

#include "presets/PresetInput.h"

namespace kestrune {

enum class PresetMode { Open, Import };

// The whole text that WritePreset writes.
std::string PresetText(const SpecificationModel& model, const PresetInput& input);

// Writes the preset and clears PresetChanged. False when it could not be written (the
// platform's error text was shown and the previous file is untouched).
bool WritePreset(SpecificationModel& model, const PresetInput& input, const std::string& path);

// Reads a preset. False when its first line is not "ZRP200" (in any case), the file could
// not be read, or, when opening, the specification it names is not in SpecFiles/; each is
// reported through the platform. The input file and the named specification are told to the
// model's listener.
bool ReadPreset(SpecificationModel& model, PresetInput& input, const std::string& path,
                PresetMode mode);
// The same for a preset's bytes; `path` names it in messages.
bool ReadPresetText(SpecificationModel& model, PresetInput& input, std::string_view bytes,
                    const std::string& path, PresetMode mode);

}  // namespace kestrune
