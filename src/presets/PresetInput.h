#pragma once
// What preset files read and write beyond the specification and its fields: the input file
// and whether presets remember it.

#include <string>

#include "specification/SpecificationModel.h"

namespace kestrune {

struct PresetInput {
    std::string InputFile;  // full path, as shown in the input-file box
    // The "Remember File" tick: presets store the input file only while it is set.
    bool RememberFile = false;
};

// Makes `path` the input file and splits it into the file variables; a remembered input file
// is part of the preset, so changing it marks the preset changed. Tells nobody: the caller
// that listens does its own part.
void SetInputFile(PresetInput& input, FieldContext& fields, const std::string& path);

// Loads a specification as the loader does; a new specification clears the input file with
// the rest of the model, before the model's listener hears of the reset.
void LoadSpecification(SpecificationModel& model, PresetInput& input, const std::string& path);

}  // namespace kestrune
