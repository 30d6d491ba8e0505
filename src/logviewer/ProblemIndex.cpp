#include "ProblemIndex.h"

#include <algorithm>

#include "LogFile.h"

namespace reda {

namespace {

constexpr FindOptions kWordOptions{false, true};

constexpr std::uint8_t kErrorTag = 0;
constexpr std::uint8_t kWarningTag = 1;

// Words of word bytes go to the one-pass scanner; anything else ("link error", "C2065:")
// gets a search of its own.
std::vector<TextFinder> findersFor(const std::vector<std::string>& words, WordScanner& scanner,
                                   std::uint8_t tag) {
    std::vector<TextFinder> finders;
    for (const std::string& word : words) {
        if (WordScanner::accepts(word)) {
            scanner.add(word, tag);
        } else if (!word.empty()) {
            finders.emplace_back(word, kWordOptions);
        }
    }
    return finders;
}

bool anyIn(const std::vector<TextFinder>& finders, std::string_view line) {
    return std::any_of(finders.begin(), finders.end(), [line](const TextFinder& finder) {
        return finder.next(line) != TextFinder::npos;
    });
}

// Lines of [first, last) that hold a match of any finder, sorted and without repeats.
std::vector<std::size_t> linesMatching(const std::vector<TextFinder>& finders, const LogFile& log,
                                       std::size_t first, std::size_t last) {
    std::vector<std::size_t> lines;
    if (first >= last) {
        return lines;
    }
    const LineIndex& index = log.index();
    const auto begin = static_cast<std::size_t>(index.lineStart(first));
    const auto end = static_cast<std::size_t>(index.lineLimit(last - 1));
    const std::string_view bytes = log.bytes().substr(0, end);
    for (const TextFinder& finder : finders) {
        const std::size_t before = lines.size();
        std::size_t from = begin;
        for (;;) {
            const std::size_t at = finder.next(bytes, from);
            if (at == TextFinder::npos) {
                break;
            }
            const std::size_t line = index.lineAt(at);
            lines.push_back(line);
            from = static_cast<std::size_t>(index.lineLimit(line));  // one hit per line is enough
        }
        std::inplace_merge(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(before),
                           lines.end());
    }
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

}  // namespace

ProblemIndex::ProblemIndex(const HighlightWords& words) {
    setWords(words);
}

void ProblemIndex::setWords(const HighlightWords& words) {
    words_ = words;
    scanner_ = WordScanner{};
    errorFinders_ = findersFor(words.errors, scanner_, kErrorTag);
    warningFinders_ = findersFor(words.warnings, scanner_, kWarningTag);
    reset();
}

void ProblemIndex::reset() {
    errors_.clear();
    warnings_.clear();
    classified_ = 0;
}

bool ProblemIndex::finished(const LogFile& log) const {
    return classified_ >= log.index().completeLineCount();
}

bool ProblemIndex::advance(const LogFile& log, std::size_t budgetBytes) {
    const LineIndex& index = log.index();
    const std::size_t complete = index.completeLineCount();
    if (classified_ > complete) {
        reset();  // the log shrank without a reset: start over rather than trust stale lines
    }
    if (classified_ >= complete) {
        return true;
    }
    const std::uint64_t from = index.lineStart(classified_);
    const std::uint64_t budget = std::max<std::uint64_t>(budgetBytes, 1);
    const std::uint64_t target = budget > UINT64_MAX - from ? UINT64_MAX : from + budget;
    std::size_t last = std::min(index.lineAt(target) + 1, complete);
    last = std::max(last, classified_ + 1);

    std::vector<std::size_t> errors = linesMatching(errorFinders_, log, classified_, last);
    std::vector<std::size_t> warnings = linesMatching(warningFinders_, log, classified_, last);
    if (!scanner_.empty()) {
        const auto begin = static_cast<std::size_t>(index.lineStart(classified_));
        const auto end = static_cast<std::size_t>(index.lineLimit(last - 1));
        const std::size_t phraseErrors = errors.size();
        const std::size_t phraseWarnings = warnings.size();
        // Hits come in order, so the line only needs looking up when a hit passes its end.
        std::size_t line = classified_;
        std::uint64_t lineEnd = index.lineLimit(line);
        scanner_.scan(log.bytes(), begin, end, [&](std::size_t at, std::uint8_t tag) {
            if (at >= lineEnd) {
                line = index.lineAt(at);
                lineEnd = index.lineLimit(line);
            }
            std::vector<std::size_t>& lines = tag == kErrorTag ? errors : warnings;
            if (lines.size() == (tag == kErrorTag ? phraseErrors : phraseWarnings) ||
                lines.back() != line) {
                lines.push_back(line);
            }
        });
        for (auto* lines : {&errors, &warnings}) {
            if (lines->size() > (lines == &errors ? phraseErrors : phraseWarnings)) {
                std::sort(lines->begin(), lines->end());
                lines->erase(std::unique(lines->begin(), lines->end()), lines->end());
            }
        }
    }
    std::vector<std::size_t> onlyWarnings;
    std::set_difference(warnings.begin(), warnings.end(), errors.begin(), errors.end(),
                        std::back_inserter(onlyWarnings));
    errors_.insert(errors_.end(), errors.begin(), errors.end());
    warnings_.insert(warnings_.end(), onlyWarnings.begin(), onlyWarnings.end());
    classified_ = last;
    return classified_ >= complete;
}

LineKind ProblemIndex::classify(std::string_view line) const {
    bool error = anyIn(errorFinders_, line);
    bool warning = false;
    if (!error) {
        scanner_.scan(line, 0, line.size(), [&](std::size_t, std::uint8_t tag) {
            (tag == kErrorTag ? error : warning) = true;
        });
    }
    if (error) {
        return LineKind::Error;
    }
    return warning || anyIn(warningFinders_, line) ? LineKind::Warning : LineKind::Plain;
}

LineKind ProblemIndex::growingLineKind(const LogFile& log) const {
    const LineIndex& index = log.index();
    if (index.lineCount() == index.completeLineCount()) {
        return LineKind::Plain;
    }
    return classify(log.line(index.lineCount() - 1));
}

LineKind ProblemIndex::kindOf(const LogFile& log, std::size_t line) const {
    if (line >= classified_) {
        return classify(log.line(line));
    }
    if (std::binary_search(errors_.begin(), errors_.end(), line)) {
        return LineKind::Error;
    }
    return std::binary_search(warnings_.begin(), warnings_.end(), line) ? LineKind::Warning
                                                                        : LineKind::Plain;
}

std::size_t ProblemIndex::errorCount(const LogFile& log) const {
    return errors_.size() + (growingLineKind(log) == LineKind::Error ? 1 : 0);
}

std::size_t ProblemIndex::warningCount(const LogFile& log) const {
    return warnings_.size() + (growingLineKind(log) == LineKind::Warning ? 1 : 0);
}

std::optional<std::size_t> ProblemIndex::findNext(const LogFile& log, std::size_t line) const {
    std::optional<std::size_t> best;
    for (const auto* lines : {&errors_, &warnings_}) {
        const auto it = std::upper_bound(lines->begin(), lines->end(), line);
        if (it != lines->end() && (!best || *it < *best)) {
            best = *it;
        }
    }
    const LineIndex& index = log.index();
    // The growing line comes after every complete line, so it only counts once all are known.
    if (!best && finished(log) && index.lineCount() > index.completeLineCount() &&
        index.lineCount() - 1 > line && growingLineKind(log) != LineKind::Plain) {
        best = index.lineCount() - 1;
    }
    return best;
}

std::optional<std::size_t> ProblemIndex::findPrevious(const LogFile& log, std::size_t line) const {
    std::optional<std::size_t> best;
    const LineIndex& index = log.index();
    if (index.lineCount() > index.completeLineCount() && index.lineCount() - 1 < line &&
        growingLineKind(log) != LineKind::Plain) {
        best = index.lineCount() - 1;
    }
    for (const auto* lines : {&errors_, &warnings_}) {
        const auto it = std::lower_bound(lines->begin(), lines->end(), line);
        if (it != lines->begin() && (!best || *(it - 1) > *best)) {
            best = *(it - 1);
        }
    }
    return best;
}

std::optional<std::size_t> ProblemIndex::nextProblem(const LogFile& log, std::size_t line) {
    std::optional<std::size_t> found = findNext(log, line);
    if (!found && !finished(log)) {
        advance(log, static_cast<std::size_t>(-1));
        found = findNext(log, line);
    }
    return found;
}

std::optional<std::size_t> ProblemIndex::previousProblem(const LogFile& log, std::size_t line) {
    // Lines before the classified end are all known; only a line beyond it needs the rest.
    std::optional<std::size_t> found = findPrevious(log, line);
    if (line > classified_ && !finished(log)) {
        advance(log, static_cast<std::size_t>(-1));
        found = findPrevious(log, line);
    }
    return found;
}

std::size_t ProblemIndex::memoryBytes() const {
    return (errors_.capacity() + warnings_.capacity()) * sizeof(std::size_t);
}

}  // namespace reda
