#include "LineFilter.h"

#include <algorithm>

#include "Ansi.h"
#include "LogFile.h"

namespace reda {

LineFilter::LineFilter(std::vector<FilterRule> rules, KindFilter kinds) : kinds_(kinds) {
    for (FilterRule& rule : rules) {
        if (!rule.pattern.empty() && rule.pattern.valid()) {
            rules_.push_back(std::move(rule));
        }
    }
}

bool LineFilter::passesAll() const {
    return rules_.empty() && kinds_ == KindFilter::All;
}

bool LineFilter::accepts(std::string_view raw, LineKind kind) const {
    switch (kinds_) {
        case KindFilter::All:
            break;
        case KindFilter::Errors:
            if (kind != LineKind::Error) {
                return false;
            }
            break;
        case KindFilter::Warnings:
            if (kind != LineKind::Warning) {
                return false;
            }
            break;
        case KindFilter::Problems:
            if (kind == LineKind::Plain) {
                return false;
            }
            break;
    }
    // Colour sequences are no part of the text a filter looks at.
    std::string stripped;
    std::string_view line = raw;
    if (!rules_.empty() && raw.find('\x1b') != std::string_view::npos) {
        stripped = stripEscapes(raw);
        line = stripped;
    }
    return std::all_of(rules_.begin(), rules_.end(), [line](const FilterRule& rule) {
        return rule.pattern.matches(line) != rule.hide;
    });
}

void FilteredLines::setFilter(LineFilter filter) {
    filter_ = std::move(filter);
    reset();
}

void FilteredLines::reset() {
    lines_.clear();
    lines_.shrink_to_fit();
    growing_.reset();
    looked_ = 0;
}

bool FilteredLines::finished(const LogFile& log) const {
    return log.indexComplete() && looked_ >= log.index().completeLineCount();
}

bool FilteredLines::advance(const LogFile& log, const ProblemIndex& problems,
                            std::size_t budgetBytes) {
    if (!log.indexComplete()) {
        return false;  // line numbers are not known yet
    }
    const LineIndex& index = log.index();
    const std::size_t complete = index.completeLineCount();
    if (looked_ > complete) {
        reset();
    }
    std::uint64_t spent = 0;
    while (looked_ < complete && spent < std::max<std::size_t>(budgetBytes, 1)) {
        const std::string_view line = log.line(looked_);
        if (filter_.accepts(line, problems.kindOf(log, looked_))) {
            lines_.push_back(looked_);
        }
        spent += line.size() + 1;
        ++looked_;
    }
    growing_.reset();
    if (looked_ >= complete && index.lineCount() > complete) {
        const std::size_t last = index.lineCount() - 1;
        if (filter_.accepts(log.line(last), problems.kindOf(log, last))) {
            growing_ = last;
        }
    }
    return looked_ >= complete;
}

std::size_t FilteredLines::lineOfRow(std::size_t row) const {
    if (row < lines_.size()) {
        return lines_[row];
    }
    return growing_ ? *growing_ : (lines_.empty() ? 0 : lines_.back());
}

std::size_t FilteredLines::rowOfLine(std::size_t line) const {
    const auto it = std::lower_bound(lines_.begin(), lines_.end(), line);
    const auto row = static_cast<std::size_t>(it - lines_.begin());
    if (row < lines_.size() || growing_) {
        return row;
    }
    return rowCount() > 0 ? rowCount() - 1 : 0;
}

}  // namespace reda
