#pragma once
// kestrune-cli run inside the test's process: its exit code and what it wrote to standard
// output and standard error. For the tests that link the command line's library.

#include <sstream>
#include <string>
#include <vector>

#include "CliApp.h"

namespace kestrune::testing {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// `args` without the program's name; `home` is the program folder without --home (a portable
// one), or the facts the home rule decides from.
template <typename Home>
CliRun RunCli(const std::vector<std::string>& args, const Home& home) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.code = cli::RunWith(args, home, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace kestrune::testing
