#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/ProgramHome.h"

namespace kestrune::cli {

// Runs kestrune-cli with the process's arguments; returns the exit code.
int Run(int argc, char** argv);

// The same with explicit arguments (without the program name) and streams. `defaultHome` is
// the program folder used when --home is not given, a portable one.
int RunWith(const std::vector<std::string>& args, const std::string& defaultHome, std::ostream& out,
            std::ostream& err);
// The same with the facts the home rule decides from (--home is filled in from `args`).
int RunWith(const std::vector<std::string>& args, HomeFacts facts, std::ostream& out,
            std::ostream& err);

}  // namespace kestrune::cli
