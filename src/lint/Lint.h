#pragma once
// Lint of a specification file: every syntax error the reader reports, and the mistakes that
// read without an error yet make the form or the script other than the file says (a misspelt
// key, a "//" that cuts a line, a layout line naming no program, ...).

#include <string>
#include <string_view>
#include <vector>

#include "lint/LintFinding.h"

namespace kestrune {

// "error", "warning" or "note".
std::string_view SeverityText(LintSeverity severity);

// The findings for the bytes of one specification file, sorted by line, then column.
std::vector<LintFinding> LintSpecification(std::string_view bytes);

// The same for a file on disk; a file that cannot be read is one error finding.
std::vector<LintFinding> LintSpecificationFile(const std::string& path);

// "PATH:LINE:COLUMN: SEVERITY: MESSAGE [RULE]", the form compilers use.
std::string FormatFinding(std::string_view path, const LintFinding& finding);

// True when a finding is an error or a warning, the kinds that fail a lint run.
bool FailsLint(const std::vector<LintFinding>& findings);

}  // namespace kestrune
