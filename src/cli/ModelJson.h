#pragma once
// The loaded model as JSON, for inspecting what a specification file builds.

#include <nlohmann/json.hpp>

#include "specification/SpecificationModel.h"

namespace kestrune::cli {

nlohmann::json ModelToJson(const SpecificationModel& model);

// One program with its fields, their ticks and their current values.
nlohmann::json ProgramToJson(const TZRGroup& group);

// Serialises with invalid UTF-8 replaced, so any bytes of a file can be shown.
std::string DumpJson(const nlohmann::json& json);

}  // namespace kestrune::cli
