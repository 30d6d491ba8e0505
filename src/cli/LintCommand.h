#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestrune::cli {

// `lint [--json] SPECFILE...`: the findings of every file, sorted by file and line, one a line
// in the compilers' form or as one JSON array. 0 without errors and warnings, 1 with any.
int RunLint(const std::vector<std::string>& files, bool json, std::ostream& out);

}  // namespace kestrune::cli
