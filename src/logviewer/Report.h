#pragma once
// The marks and links of a log as text, for scripts and CI: "REDA --problems LOG" and
// "REDA --locations LOG". They read the log as the window does, so they give the same marks
// and resolve a link as a click would, with no window and no display.

#include <cstddef>
#include <filesystem>
#include <ostream>

#include "ProblemIndex.h"
#include "SourceLocation.h"

namespace reda {

class LogFile;

// One line per error or warning line: LINE<TAB>error|warning<TAB>TEXT, with 1-based line
// numbers and TEXT without colour codes. Returns 0, or 1 with a message on `err` when the log
// cannot be read.
int writeProblems(const std::filesystem::path& log, const HighlightWords& words, std::ostream& out,
                  std::ostream& err);

// One line per link: LINE<TAB>PATH<TAB>SOURCE-LINE[<TAB>COLUMN], PATH resolved as a click
// resolves it.
int writeLocations(const std::filesystem::path& log, const std::filesystem::path& sourceRoot,
                   std::ostream& out, std::ostream& err, const FileExists& exists = isRegularFile);

// What a link on `line` is resolved with: the folders make and ninja said they were in above
// it. Reads only the lines that mention a directory.
LinkContext linkContextAt(const LogFile& log, std::size_t line,
                          const std::filesystem::path& sourceRoot);

}  // namespace reda
