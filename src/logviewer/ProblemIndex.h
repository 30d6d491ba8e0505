#pragma once
// Which lines of a log are errors or warnings, by the shape of the diagnostic (Severity.h) and
// by the user's own words and patterns, counted in slices so a huge log shows its first
// screen before the whole file is classified. A bit per line and kind keeps a log whose every
// line is a problem as small as one with none.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Severity.h"
#include "TextFinder.h"
#include "WordScanner.h"

namespace reda {

class LogFile;

// The user's additions to the rule table: words matched whole and without case anywhere in
// a line, and regular expressions (RE2) per severity.
struct HighlightWords {
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    std::vector<std::string> errorPatterns;
    std::vector<std::string> warningPatterns;

    bool operator==(const HighlightWords&) const = default;
};

class ProblemIndex {
  public:
    explicit ProblemIndex(const HighlightWords& words = {});

    ProblemIndex(const ProblemIndex&) = delete;
    ProblemIndex& operator=(const ProblemIndex&) = delete;

    // New words classify the whole log again. Returns a message per pattern that does not
    // compile; those are left out.
    std::vector<std::string> setWords(const HighlightWords& words);
    const HighlightWords& words() const { return words_; }
    // Forgets every line, for a log that was reloaded.
    void reset();

    // Classifies further complete lines, about `budgetBytes` of them; true when every
    // complete line is done.
    bool advance(const LogFile& log, std::size_t budgetBytes);
    bool finished(const LogFile& log) const;
    std::size_t classifiedLines() const { return classified_; }

    // The worse of the rule table's kind and the words' (matched whole and without case; an
    // error word wins over a warning word).
    LineKind classify(std::string_view line) const;
    LineKind kindOf(const LogFile& log, std::size_t line) const;

    // The counts cover the classified lines and the last line while it is still growing.
    std::size_t errorCount(const LogFile& log) const;
    std::size_t warningCount(const LogFile& log) const;

    // Nearest line after / before `line` with an error or a warning (only an error with
    // `errorsOnly`); classifies the rest of the log first when the classified part has none.
    std::optional<std::size_t> nextProblem(const LogFile& log, std::size_t line,
                                           bool errorsOnly = false);
    std::optional<std::size_t> previousProblem(const LogFile& log, std::size_t line,
                                               bool errorsOnly = false);

    std::size_t memoryBytes() const;
    // Bytes of the growing last line looked at so far, to show that a line that keeps
    // growing is scanned once and not again at every poll and paint.
    std::uint64_t growingBytesScanned() const { return growing_.scanned; }

  private:
    // What is known of the growing last line: the kind of the matches already bounded by a
    // separator (final, whatever follows), and where the unbounded rest begins.
    struct GrowingLine {
        std::uint64_t start = UINT64_MAX;  // line start; UINT64_MAX when nothing is known
        std::uint64_t end = 0;             // bytes looked at
        std::uint64_t settled = 0;         // offset just past the last separator byte
        LineKind settledKind = LineKind::Plain;
        LineKind kind = LineKind::Plain;
        std::uint64_t scanned = 0;
        // The rule table's kind of the line's first bytes, and how many it looked at.
        std::uint64_t tableEnd = UINT64_MAX;
        LineKind tableKind = LineKind::Plain;
    };

    LineKind growingLineKind(const LogFile& log) const;
    LineKind growingWordKind(const LogFile& log) const;
    void classifyLines(const LogFile& log, std::size_t first, std::size_t last);
    struct Tally {
        std::size_t errors = 0;
        std::size_t warnings = 0;
    };
    // Classifies [first, last) with `rules` and sets their bits; `errors` and `warnings` are
    // the sorted lines the user's words mark.
    Tally classifyRange(const SeverityRules& rules, const LogFile& log, std::size_t first,
                        std::size_t last, const std::vector<std::size_t>& errors,
                        const std::vector<std::size_t>& warnings);
    // The kind of the word matches in `hay` that start at or after `from`.
    LineKind kindFrom(std::string_view hay, std::size_t from) const;
    std::optional<std::size_t> findNext(const LogFile& log, std::size_t line,
                                        bool errorsOnly) const;
    std::optional<std::size_t> findPrevious(const LogFile& log, std::size_t line,
                                            bool errorsOnly) const;

    HighlightWords words_;
    WordScanner scanner_;
    std::vector<TextFinder> errorFinders_;
    std::vector<TextFinder> warningFinders_;
    bool parallel_ = false;
    SeverityRules rules_;
    // The same rules for the second thread, or null on a single core.
    std::unique_ptr<SeverityRules> helperRules_;
    std::vector<std::uint64_t> errorBits_;
    std::vector<std::uint64_t> warningBits_;
    std::size_t errorCount_ = 0;
    std::size_t warningCount_ = 0;
    std::size_t classified_ = 0;  // complete lines done
    std::size_t longestWord_ = 0;
    mutable GrowingLine growing_;
};

}  // namespace reda
