#pragma once
// One finding of the lint: where, how bad, which rule, what, and what to write instead.

#include <string>

namespace kestrune {

enum class LintSeverity { Error, Warning, Note };

struct LintFinding {
    int line = 1;    // 1-based: where the author must edit
    int column = 1;  // 1-based byte column in that line
    LintSeverity severity = LintSeverity::Warning;
    std::string rule;        // kebab-case, e.g. "unknown-key"
    std::string message;     // one line
    std::string suggestion;  // what to write instead; empty when there is none
};

}  // namespace kestrune
