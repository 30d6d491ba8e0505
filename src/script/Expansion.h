#pragma once
// Expansion of a layout line into script text.

#include <string>
#include <string_view>

#include "script/ScriptState.h"

namespace kestrune {

enum class ExpandMode { WholeRun, SingleStage };

// Expands one layout line completely. The empty result tells the caller to drop the line.
std::string ExpandLine(const ScriptState& state, std::string_view line, ExpandMode mode);

}  // namespace kestrune
