#include "app/CommandLine.h"

#include "app/ProgramHome.h"
#include "script/ScriptSettings.h"

namespace kestrune {

GuiCommandLine ParseGuiCommandLine(const std::vector<std::string>& words) {
    GuiCommandLine line;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--") {
            // Everything after it is an argument, even a word that looks like a switch.
            line.arguments.insert(line.arguments.end(),
                                  words.begin() + static_cast<std::ptrdiff_t>(i + 1), words.end());
            break;
        }
        if (word == "--help" || word == "-h") {
            line.help = true;
        } else if (word == "--version") {
            line.version = true;
        } else if (word == "--home") {
            if (i + 1 == words.size() || words[i + 1].empty()) {
                line.error = "--home needs a folder";
            } else {
                line.home = words[++i];
            }
        } else if (word.rfind("--home=", 0) == 0) {
            line.home = word.substr(7);
            if (line.home.empty()) {
                line.error = "--home needs a folder";
            }
        } else {
            line.arguments.push_back(word);
        }
    }
    return line;
}

std::string GuiHelpText() {
    return std::string(
               "Usage: kestrune [--home DIR] [PRESET]\n"
               "Kestrune, a front end for chains of command-line tools: it builds option\n"
               "controls from a specification file (.zrs) and writes and runs the script of\n"
               "the chain.\n"
               "\n"
               "  PRESET      a preset file (.zrp) to open; without one the most recent preset\n"
               "              opens. A Kestrune already running for the same program folder\n"
               "              opens it instead, and this start ends.\n"
               "  --home DIR  the program folder holding SpecFiles/, Config/ and the script;\n"
               "              default: $") +
           kHomeVariable +
           ", else the program's own folder when it is a\n"
           "              portable copy (it holds SpecFiles/ and can be written, or holds\n"
           "              kestrune.portable), else $XDG_DATA_HOME/kestrune\n"
           "  --help      show this help and exit\n"
           "  --version   show the version and exit\n";
}

std::string GuiVersionText() {
    return std::string("kestrune ") + kVersionText + "\n";
}

}  // namespace kestrune
