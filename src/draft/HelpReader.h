#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

// One option as a tool's help text describes it.
struct HelpOption {
    std::vector<std::string> names;  // as written: "-c", "--stdout", "-loglevel"
    std::string argument;            // the value's name ("FILE", "<seconds>"); empty for a flag
    bool optionalArgument = false;   // "--color[=WHEN]": the value must be glued on
    bool glued = false;              // "--suffix=SUF": the help writes the value after "="
    std::vector<std::string> choices;
    std::string defaultValue;
    std::string description;
    std::size_t line = 0;  // 1-based line of the option in the help text
};

// A heading of the help and the options listed under it (the first one may have no heading).
struct HelpSection {
    std::string heading;
    std::vector<HelpOption> options;
};

struct HelpText {
    std::vector<HelpSection> sections;
    std::string usage;  // the first "Usage:" line, without its label
    std::size_t OptionCount() const;
};

// Reads the option lines of a help text in the common styles (GNU and getopt, argparse, clap,
// Go's flag package, one-dash long options). Any bytes are accepted; the time is linear in the
// text's length.
HelpText ReadHelpText(std::string_view text);

// True for the options that only print something and exit (--help, --version, --usage).
bool PrintsAndExits(const HelpOption& option);

// The name a command line should use: the first long name, else the first name.
const std::string& PreferredName(const HelpOption& option);

}  // namespace kestrune
