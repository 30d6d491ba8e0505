#include "Arguments.h"

namespace reda {

std::string usageText() {
    return "Usage: REDA [LOG]\n"
           "       REDA --problems LOG | --locations LOG\n"
           "Shows a log while the tools write it, and finds its errors and warnings.\n"
           "\n"
           "  LOG              the log to show; one that does not exist yet is waited for;\n"
           "                   a .gz log is shown unpacked and not followed\n"
           "  -                read the log from standard input\n"
           "  --problems LOG   print LINE<TAB>error|warning<TAB>TEXT for each marked line,\n"
           "                   with no window; exit 1 when LOG cannot be read\n"
           "  --locations LOG  print LINE<TAB>PATH<TAB>SOURCE-LINE[<TAB>COLUMN] for each\n"
           "                   link, PATH resolved as a click resolves it\n"
           "  --help           show this text and exit\n"
           "  --version        show the version and exit\n"
           "\n"
           "Without LOG the viewer opens empty. A path with blanks must be quoted.\n";
}

Arguments parseArguments(const std::vector<std::string>& arguments, const std::string& version) {
    Arguments out;
    std::vector<std::string> logs;
    bool optionsEnded = false;
    Arguments::Action report = Arguments::Action::Empty;
    for (const std::string& argument : arguments) {
        if (!optionsEnded && (argument == "--problems" || argument == "--locations")) {
            const auto action = argument == "--problems" ? Arguments::Action::Problems
                                                         : Arguments::Action::Locations;
            if (report != Arguments::Action::Empty && report != action) {
                out.action = Arguments::Action::Refuse;
                out.message = "REDA: --problems and --locations go one at a time.\n" + usageText();
                out.exitCode = 2;
                return out;
            }
            report = action;
        } else if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            out.action = Arguments::Action::Help;
            out.message = usageText();
            return out;
        } else if (!optionsEnded && argument == "--version") {
            out.action = Arguments::Action::Version;
            out.message = "REDA " + version + "\n";
            return out;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            out.action = Arguments::Action::Refuse;
            out.message = "REDA: unknown option \"" + argument + "\".\n" + usageText();
            out.exitCode = 2;
            return out;
        } else {
            logs.push_back(argument);
        }
    }
    if (logs.size() > 1) {
        out.action = Arguments::Action::Refuse;
        out.message = "REDA: one log at a time, but " + std::to_string(logs.size()) +
                      " were given; quote a path that holds blanks.\n" + usageText();
        out.exitCode = 2;
        return out;
    }
    if (report != Arguments::Action::Empty) {
        if (logs.empty()) {
            out.action = Arguments::Action::Refuse;
            out.message = std::string("REDA: ") +
                          (report == Arguments::Action::Problems ? "--problems" : "--locations") +
                          " needs the log to read.\n" + usageText();
            out.exitCode = 2;
            return out;
        }
        out.action = report;
        out.log = logs.front();
        return out;
    }
    if (logs.empty()) {
        return out;
    }
    if (logs.front() == "-" && !optionsEnded) {
        out.action = Arguments::Action::StandardInput;
        return out;
    }
    out.action = Arguments::Action::Open;
    out.log = logs.front();
    return out;
}

}  // namespace reda
