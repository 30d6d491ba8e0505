#pragma once
// Writes the batch script from the layout lines, the program fields and the stage ticks.

#include <string>

#include "script/ScriptState.h"

namespace kestrune {

// Computes and stores the command line of the program at `index`.
void ComputeCommandLine(ScriptState& state, std::size_t index);

// The whole chain. False (nothing written) when a ticked stage has no existing executable or
// the script could not be written; each is reported through the platform.
bool WriteBatch(ScriptState& state, const std::string& path);

// The single stage at `index`. False (nothing written) when its executable does not exist or
// the script could not be written.
bool WriteStageBatch(ScriptState& state, const std::string& path, std::size_t index);

}  // namespace kestrune
