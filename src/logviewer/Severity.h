#pragma once
// Whether a line of a build log is an error, a warning or neither, by the shape of what real
// tools write ("file.c:3:5: error:", "make: ***", "FAILED:", "CMake Error at", a traceback's
// last line, …) rather than by a word anywhere in it: a file named error.c, a compile command
// with -Werror or an echoed source line are no problems. The rules live in one table; the
// user's own regular expressions per severity come on top of it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace reda {

enum class LineKind : std::uint8_t { Plain, Warning, Error };

struct SeverityRule {
    const char* name;
    // Plain: a line of this shape is never a problem by the table, whatever else matches.
    LineKind kind;
    const char* pattern;  // RE2, matched against the line without colour codes
};

// The built-in rules, in the order the tests list them.
std::span<const SeverityRule> severityRules();

// Bytes at the start of a line the table looks at: diagnostics open their line, and a longer
// line is data whose scan would cost every paint.
inline constexpr std::size_t kSeverityReach = 4096;

class SeverityRules {
  public:
    SeverityRules();
    ~SeverityRules();
    SeverityRules(const SeverityRules&) = delete;
    SeverityRules& operator=(const SeverityRules&) = delete;

    // The user's own patterns; returns one message per pattern that does not compile
    // ("“(x”: missing ): (x"), and leaves those out.
    std::vector<std::string> setUserPatterns(const std::vector<std::string>& errors,
                                             const std::vector<std::string>& warnings);

    // The kind of a line as the log holds it: colour codes are looked through, and only its
    // first kSeverityReach bytes count. A user pattern wins over the table's exclusions.
    LineKind classify(std::string_view line) const;
    // The same for text already without colour codes.
    LineKind classifyText(std::string_view text) const;

  private:
    struct Compiled;
    std::unique_ptr<Compiled> compiled_;
};

// Whether the rule's own pattern matches the text (colour codes already out), for checking
// the table rule by rule.
bool ruleMatches(const SeverityRule& rule, std::string_view text);

// Why a pattern does not compile, in RE2's words; empty when it does.
std::string patternError(const std::string& pattern);

}  // namespace reda
