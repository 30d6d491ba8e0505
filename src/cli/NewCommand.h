#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <string>

namespace kestrune::cli {

struct NewOptions {
    std::string tool;
    std::string helpText;
    std::string output;
    std::string name;
    bool force = false;
};

// Adds the `new` subcommand, filling `options`.
CLI::App* AddNewCommand(CLI::App& app, NewOptions& options);

// Writes the draft into the program folder `home` (its SpecFiles/ and Config/); exit 0 written,
// 1 not written (the reason on `err`).
int RunNew(const NewOptions& options, const std::string& home, std::ostream& out,
           std::ostream& err);

}  // namespace kestrune::cli
