#pragma once

namespace kestrune::cli {

// Runs kestrune-cli with the process's arguments; returns the exit code.
int Run(int argc, char** argv);

}  // namespace kestrune::cli
