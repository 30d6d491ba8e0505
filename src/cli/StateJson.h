#pragma once
// The whole program's state as `replay`'s dump prints it: the main window, its menus and
// controls, the options dialog, the about box, the programs, and what the platform recorded.

#include <nlohmann/json.hpp>
#include <string>

#include "ReplayPlatform.h"
#include "app/Kestrune.h"

namespace kestrune::cli {

nlohmann::json StateToJson(Kestrune& app, const ReplayPlatform& platform);

// Serialises on one line with invalid UTF-8 replaced.
std::string DumpJsonLine(const nlohmann::json& json);

}  // namespace kestrune::cli
