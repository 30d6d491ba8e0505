#pragma once
// The filtered view's model: which lines of a log pass a stack of filters, each showing only
// the lines that match its pattern or hiding them, and optionally only error or warning
// lines. Lines keep their numbers in the log; the list grows with the log.

#include <cstddef>
#include <optional>
#include <vector>

#include "Pattern.h"
#include "ProblemIndex.h"

namespace reda {

class LogFile;

struct FilterRule {
    Pattern pattern;
    bool hide = false;  // leave out the lines that match instead of keeping them
};

enum class KindFilter : std::uint8_t { All, Errors, Warnings, Problems };

class LineFilter {
  public:
    LineFilter() = default;
    LineFilter(std::vector<FilterRule> rules, KindFilter kinds);

    // Nothing to filter: every line passes.
    bool passesAll() const;
    // A line passes every rule; invalid and empty patterns are left out of the stack.
    bool accepts(std::string_view line, LineKind kind) const;
    const std::vector<FilterRule>& rules() const { return rules_; }
    KindFilter kinds() const { return kinds_; }

  private:
    std::vector<FilterRule> rules_;
    KindFilter kinds_ = KindFilter::All;
};

class FilteredLines {
  public:
    void setFilter(LineFilter filter);
    const LineFilter& filter() const { return filter_; }
    // Forgets every line, for a log that was reloaded.
    void reset();

    // Looks at further complete lines, about `budgetBytes` of them, and at the growing last
    // line; true when every complete line has been looked at.
    bool advance(const LogFile& log, const ProblemIndex& problems, std::size_t budgetBytes);
    bool finished(const LogFile& log) const;

    // Rows shown: the passing complete lines, then the growing last line when it passes.
    std::size_t rowCount() const { return lines_.size() + (growing_ ? 1 : 0); }
    std::size_t lineOfRow(std::size_t row) const;
    // The row of `line`, or of the first line shown after it (the last row when none is).
    std::size_t rowOfLine(std::size_t line) const;

  private:
    LineFilter filter_;
    std::vector<std::size_t> lines_;
    std::optional<std::size_t> growing_;
    std::size_t looked_ = 0;  // complete lines done
};

}  // namespace reda
