#pragma once
// The window program's command line: its own switches, taken before any window exists, and
// the rest, which keeps the rule of one optional preset.

#include <string>
#include <vector>

namespace kestrune {

struct GuiCommandLine {
    bool help = false;
    bool version = false;
    std::string home;                    // --home DIR; empty when not given
    std::vector<std::string> arguments;  // everything else, in order
    std::string error;                   // a switch without its value; empty when none
};

// "--help" (or "-h"), "--version", "--home DIR" and "--home=DIR" are taken wherever they stand,
// up to a "--", after which every word is an argument.
GuiCommandLine ParseGuiCommandLine(const std::vector<std::string>& words);

// The texts printed for --help and --version, each ending in a line feed.
std::string GuiHelpText();
std::string GuiVersionText();

}  // namespace kestrune
