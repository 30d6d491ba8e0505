#include "ProblemIndex.h"

#include <algorithm>

#include "LogFile.h"

namespace reda {

namespace {

constexpr FindOptions kWordOptions{false, true};

constexpr std::uint8_t kErrorTag = 0;
constexpr std::uint64_t kGrowingPiece = 16u << 20;

bool counts(LineKind kind, bool errorsOnly) {
    return errorsOnly ? kind == LineKind::Error : kind != LineKind::Plain;
}
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
    longestWord_ = 0;
    for (const auto* list : {&words.errors, &words.warnings}) {
        for (const std::string& word : *list) {
            longestWord_ = std::max(longestWord_, word.size());
        }
    }
    reset();
}

void ProblemIndex::reset() {
    errors_.clear();
    warnings_.clear();
    classified_ = 0;
    growing_ = GrowingLine{};
}

bool ProblemIndex::finished(const LogFile& log) const {
    return log.indexComplete() && classified_ >= log.index().completeLineCount();
}

bool ProblemIndex::advance(const LogFile& log, std::size_t budgetBytes) {
    if (!log.indexComplete()) {
        return false;  // line numbers are not known yet
    }
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

LineKind ProblemIndex::kindFrom(std::string_view hay, std::size_t from) const {
    auto anyFrom = [&](const std::vector<TextFinder>& finders) {
        return std::any_of(finders.begin(), finders.end(), [&](const TextFinder& finder) {
            return finder.next(hay, from) != TextFinder::npos;
        });
    };
    // The scanner must not start inside a word: step past the one `from` cuts.
    std::size_t wordFrom = from;
    while (wordFrom > 0 && wordFrom < hay.size() &&
           isWordByte(static_cast<unsigned char>(hay[wordFrom - 1]))) {
        ++wordFrom;
    }
    bool error = anyFrom(errorFinders_);
    bool warning = false;
    if (!error) {
        scanner_.scan(hay, wordFrom, hay.size(), [&](std::size_t, std::uint8_t tag) {
            (tag == kErrorTag ? error : warning) = true;
        });
    }
    if (error) {
        return LineKind::Error;
    }
    return warning || anyFrom(warningFinders_) ? LineKind::Warning : LineKind::Plain;
}

LineKind ProblemIndex::classify(std::string_view line) const {
    return kindFrom(line, 0);
}

LineKind ProblemIndex::growingLineKind(const LogFile& log) const {
    const LineIndex& index = log.index();
    if (index.lineCount() == index.completeLineCount()) {
        return LineKind::Plain;
    }
    const std::size_t last = index.lineCount() - 1;
    const std::uint64_t start = index.lineStart(last);
    const std::string_view line = log.line(last);
    const std::uint64_t end = start + line.size();
    GrowingLine& g = growing_;
    if (g.start != start || g.end > end) {
        g = GrowingLine{start, start, start, LineKind::Plain, LineKind::Plain, g.scanned};
    }
    if (g.end == end && g.end > start) {
        return g.kind;
    }
    auto worse = [](LineKind a, LineKind b) { return a > b ? a : b; };
    // A match that ends before a separator byte stays whatever follows; only the bytes after
    // the last separator can still change their meaning. So the settled part moves on to the
    // last separator among the new bytes, and only a word's length before the old one is
    // looked at again.
    std::uint64_t separator = end;
    while (separator > g.end &&
           isWordByte(static_cast<unsigned char>(line[separator - 1 - start]))) {
        --separator;
    }
    if (separator == g.end && (separator == start || isWordByte(static_cast<unsigned char>(
                                                         line[separator - 1 - start])))) {
        separator = g.settled;  // no separator among the new bytes
    }
    const std::uint64_t reach = longestWord_ + 1;
    // In pieces that end at a separator, each piece's pages given back once looked at, so a
    // line of hundreds of megabytes does not stay resident.
    while (g.settled < separator) {
        std::uint64_t pieceEnd = separator;
        if (separator - g.settled > kGrowingPiece) {
            pieceEnd = g.settled + kGrowingPiece;
            while (pieceEnd > g.settled &&
                   isWordByte(static_cast<unsigned char>(line[pieceEnd - 1 - start]))) {
                --pieceEnd;
            }
            if (pieceEnd == g.settled) {
                pieceEnd = separator;  // a word longer than a piece: look at it whole
            }
        }
        const std::uint64_t from = std::max(start, g.settled > reach ? g.settled - reach : 0);
        if (g.settledKind != LineKind::Error) {
            const std::string_view hay = line.substr(0, static_cast<std::size_t>(pieceEnd - start));
            g.settledKind =
                worse(g.settledKind, kindFrom(hay, static_cast<std::size_t>(from - start)));
            g.scanned += pieceEnd - from;
        }
        if (pieceEnd - from >= kGrowingPiece / 2) {
            log.release(from, pieceEnd);
        }
        g.settled = pieceEnd;
    }
    g.end = end;
    // After the last separator comes one run of word bytes; longer than any word, nothing in
    // it or reaching into it can match.
    LineKind open = LineKind::Plain;
    if (g.settledKind != LineKind::Error && end - g.settled <= reach) {
        const std::uint64_t from = std::max(start, g.settled > reach ? g.settled - reach : 0);
        open = kindFrom(line, static_cast<std::size_t>(from - start));
        g.scanned += end - from;
    }
    g.kind = worse(g.settledKind, open);
    return g.kind;
}

LineKind ProblemIndex::kindOf(const LogFile& log, std::size_t line) const {
    if (line >= classified_) {
        const LineIndex& index = log.index();
        if (line + 1 == index.lineCount() && index.lineCount() > index.completeLineCount()) {
            return growingLineKind(log);
        }
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

std::optional<std::size_t> ProblemIndex::findNext(const LogFile& log, std::size_t line,
                                                  bool errorsOnly) const {
    std::optional<std::size_t> best;
    for (const auto* lines : {&errors_, &warnings_}) {
        if (errorsOnly && lines == &warnings_) {
            continue;
        }
        const auto it = std::upper_bound(lines->begin(), lines->end(), line);
        if (it != lines->end() && (!best || *it < *best)) {
            best = *it;
        }
    }
    const LineIndex& index = log.index();
    // The growing line comes after every complete line, so it only counts once all are known.
    if (!best && finished(log) && index.lineCount() > index.completeLineCount() &&
        index.lineCount() - 1 > line && counts(growingLineKind(log), errorsOnly)) {
        best = index.lineCount() - 1;
    }
    return best;
}

std::optional<std::size_t> ProblemIndex::findPrevious(const LogFile& log, std::size_t line,
                                                      bool errorsOnly) const {
    std::optional<std::size_t> best;
    const LineIndex& index = log.index();
    if (index.lineCount() > index.completeLineCount() && index.lineCount() - 1 < line &&
        counts(growingLineKind(log), errorsOnly)) {
        best = index.lineCount() - 1;
    }
    for (const auto* lines : {&errors_, &warnings_}) {
        if (errorsOnly && lines == &warnings_) {
            continue;
        }
        const auto it = std::lower_bound(lines->begin(), lines->end(), line);
        if (it != lines->begin() && (!best || *(it - 1) > *best)) {
            best = *(it - 1);
        }
    }
    return best;
}

std::optional<std::size_t> ProblemIndex::nextProblem(const LogFile& log, std::size_t line,
                                                     bool errorsOnly) {
    std::optional<std::size_t> found = findNext(log, line, errorsOnly);
    if (!found && !finished(log)) {
        advance(log, static_cast<std::size_t>(-1));
        found = findNext(log, line, errorsOnly);
    }
    return found;
}

std::optional<std::size_t> ProblemIndex::previousProblem(const LogFile& log, std::size_t line,
                                                         bool errorsOnly) {
    // Lines before the classified end are all known; only a line beyond it needs the rest.
    std::optional<std::size_t> found = findPrevious(log, line, errorsOnly);
    if (line > classified_ && !finished(log)) {
        advance(log, static_cast<std::size_t>(-1));
        found = findPrevious(log, line, errorsOnly);
    }
    return found;
}

std::size_t ProblemIndex::memoryBytes() const {
    return (errors_.capacity() + warnings_.capacity()) * sizeof(std::size_t);
}

}  // namespace reda
