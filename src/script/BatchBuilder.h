#pragma once
// Writes the batch script from the layout lines, the program fields and the stage ticks.

#include <string>

#include "script/Expansion.h"
#include "script/ScriptSettings.h"

namespace kestrune {

// Computes and stores the command line of the program at `index`. Throws ScriptTooLarge when
// it would be larger than a script may be.
void ComputeCommandLine(SpecificationModel& state, std::size_t index);

// The whole chain. False (nothing written) when a ticked stage has no existing executable, the
// script would be larger than `maxBytes`, or it could not be written; each is reported
// through the platform.
bool WriteBatch(SpecificationModel& state, const ScriptSettings& settings, const std::string& path,
                std::size_t maxBytes = kMaxScriptBytes);

// The single stage at `index`. False (nothing written) when its executable does not exist, the
// script would be too large, or it could not be written.
bool WriteStageBatch(SpecificationModel& state, const ScriptSettings& settings,
                     const std::string& path, std::size_t index,
                     std::size_t maxBytes = kMaxScriptBytes);

}  // namespace kestrune
