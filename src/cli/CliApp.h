#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestrune::cli {

// Runs kestrune-cli with the process's arguments; returns the exit code.
int Run(int argc, char** argv);

// The same with explicit arguments (without the program name) and streams. `defaultHome` is
// the program folder used when --home is not given.
int RunWith(const std::vector<std::string>& args, const std::string& defaultHome, std::ostream& out,
            std::ostream& err);

}  // namespace kestrune::cli
