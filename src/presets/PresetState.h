#pragma once
// What preset files read and write beyond the specification and its fields: the input file
// and whether presets remember it.

#include <string>

#include "script/ScriptState.h"

namespace kestrune {

struct PresetState : ScriptState {
    using ScriptState::ScriptState;

    std::string InputFile;  // full path, as shown in the input-file box
    // The "Remember File" tick: presets store the input file only while it is set.
    bool RememberFile = false;

    // Makes `path` the input file and splits it into the file variables; a remembered input
    // file is part of the preset, so changing it marks the preset changed. The window extends
    // this with its controls and the recent list.
    virtual void SetInputFile(const std::string& path);
    // A new specification clears the input file with the rest of the model.
    void SpecificationReset() override { InputFile.clear(); }
    // A preset being opened named the specification file `specFileName`.
    virtual void SpecificationNamed(const std::string& specFileName) { (void)specFileName; }
};

}  // namespace kestrune
