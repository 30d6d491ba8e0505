#pragma once
// REDA's command line, read before any window exists so --help and --version work without a
// desktop and a mistaken call says what is accepted instead of opening a strange path.

#include <string>
#include <vector>

namespace reda {

struct Arguments {
    enum class Action { Empty, Open, StandardInput, Help, Version, Refuse, Problems, Locations };
    Action action = Action::Empty;
    std::string log;      // for Open, Problems and Locations
    std::string message;  // for Help, Version (to standard output) and Refuse (to standard error)
    int exitCode = 0;     // for Help, Version and Refuse
};

std::string usageText();

// `arguments` excludes the program name.
Arguments parseArguments(const std::vector<std::string>& arguments, const std::string& version);

}  // namespace reda
