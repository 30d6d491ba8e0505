#include "ProblemIndex.h"

#include <algorithm>
#include <bit>
#include <thread>

#include "LogFile.h"

namespace reda {

namespace {

constexpr FindOptions kWordOptions{false, true};

constexpr std::uint8_t kErrorTag = 0;
constexpr std::uint64_t kGrowingPiece = 16u << 20;
constexpr std::uint64_t kClassifyPiece = 8u << 20;
// Fewer lines than this are classified on the calling thread alone: a thread costs more.
constexpr std::size_t kParallelLines = 8192;

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

ProblemIndex::ProblemIndex(const HighlightWords& words)
    : parallel_(std::thread::hardware_concurrency() >= 2),
      helperRules_(parallel_ ? std::make_unique<SeverityRules>() : nullptr) {
    setWords(words);
}

std::vector<std::string> ProblemIndex::setWords(const HighlightWords& words) {
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
    std::vector<std::string> problems =
        rules_.setUserPatterns(words.errorPatterns, words.warningPatterns);
    if (parallel_) {
        helperRules_->setUserPatterns(words.errorPatterns, words.warningPatterns);
    }
    reset();
    return problems;
}

void ProblemIndex::reset() {
    errorBits_.clear();
    warningBits_.clear();
    errorCount_ = 0;
    warningCount_ = 0;
    classified_ = 0;
    growing_ = GrowingLine{};
}

bool ProblemIndex::finished(const LogFile& log) const {
    return log.indexComplete() && classified_ >= log.index().completeLineCount();
}

void ProblemIndex::classifyLines(const LogFile& log, std::size_t first, std::size_t last) {
    const std::size_t words = (last + 63) / 64;
    if (errorBits_.size() < words) {
        errorBits_.resize(words);
        warningBits_.resize(words);
    }
    const LineIndex& index = log.index();
    // The user's words first, over the whole piece at once; their hits are few per piece.
    std::vector<std::size_t> errors = linesMatching(errorFinders_, log, first, last);
    std::vector<std::size_t> warnings = linesMatching(warningFinders_, log, first, last);
    if (!scanner_.empty()) {
        const auto begin = static_cast<std::size_t>(index.lineStart(first));
        const auto end = static_cast<std::size_t>(index.lineLimit(last - 1));
        const std::size_t phraseErrors = errors.size();
        const std::size_t phraseWarnings = warnings.size();
        // Hits come in order, so the line only needs looking up when a hit passes its end.
        std::size_t line = first;
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
    // Two halves at once when the machine has a second core: classifying is nearly all the
    // time a log of problems takes to count. The halves meet at a multiple of 64 lines so no
    // word of bits is written by both, and each half has rules of its own, so the two
    // threads share no automaton cache and its lock.
    std::size_t middle = first + (last - first) / 2;
    middle -= middle % 64;
    if (!parallel_ || last - first < kParallelLines || middle <= first) {
        const Tally tally = classifyRange(rules_, log, first, last, errors, warnings);
        errorCount_ += tally.errors;
        warningCount_ += tally.warnings;
        return;
    }
    Tally second;
    std::thread helper(
        [&] { second = classifyRange(*helperRules_, log, middle, last, errors, warnings); });
    const Tally firstTally = classifyRange(rules_, log, first, middle, errors, warnings);
    helper.join();
    errorCount_ += firstTally.errors + second.errors;
    warningCount_ += firstTally.warnings + second.warnings;
}

ProblemIndex::Tally ProblemIndex::classifyRange(const SeverityRules& rules, const LogFile& log,
                                                std::size_t first, std::size_t last,
                                                const std::vector<std::size_t>& errors,
                                                const std::vector<std::size_t>& warnings) {
    Tally tally;
    auto nextError = std::lower_bound(errors.begin(), errors.end(), first);
    auto nextWarning = std::lower_bound(warnings.begin(), warnings.end(), first);
    for (std::size_t line = first; line < last; ++line) {
        LineKind kind = rules.classify(log.line(line));
        if (nextWarning != warnings.end() && *nextWarning == line) {
            ++nextWarning;
            kind = std::max(kind, LineKind::Warning);
        }
        if (nextError != errors.end() && *nextError == line) {
            ++nextError;
            kind = LineKind::Error;
        }
        if (kind != LineKind::Plain) {
            std::vector<std::uint64_t>& bits = kind == LineKind::Error ? errorBits_ : warningBits_;
            bits[line / 64] |= std::uint64_t{1} << (line % 64);
            ++(kind == LineKind::Error ? tally.errors : tally.warnings);
        }
    }
    return tally;
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
    auto lineAfter = [&](std::size_t first, std::uint64_t bytes) {
        const std::uint64_t from = index.lineStart(first);
        const std::uint64_t target = bytes > UINT64_MAX - from ? UINT64_MAX : from + bytes;
        return std::max(std::min(index.lineAt(target) + 1, complete), first + 1);
    };
    const std::size_t last = lineAfter(classified_, std::max<std::uint64_t>(budgetBytes, 1));
    // In pieces, so the word hits held at once stay few however many lines have them.
    while (classified_ < last) {
        const std::size_t to = std::min(lineAfter(classified_, kClassifyPiece), last);
        classifyLines(log, classified_, to);
        classified_ = to;
    }
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
    return std::max(rules_.classify(line), kindFrom(line, 0));
}

LineKind ProblemIndex::growingLineKind(const LogFile& log) const {
    const LineIndex& index = log.index();
    if (index.lineCount() == index.completeLineCount()) {
        return LineKind::Plain;
    }
    const LineKind words = growingWordKind(log);  // brings growing_ up to the line
    const std::string_view line = log.line(index.lineCount() - 1);
    // The table looks at the first bytes only, so a line that keeps growing is looked at
    // again only until it has that many.
    const std::uint64_t head = std::min<std::uint64_t>(line.size(), kSeverityReach);
    if (growing_.tableEnd != head) {
        growing_.tableKind = rules_.classify(line.substr(0, head));
        growing_.tableEnd = head;
    }
    return std::max(words, growing_.tableKind);
}

LineKind ProblemIndex::growingWordKind(const LogFile& log) const {
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
    const std::uint64_t bit = std::uint64_t{1} << (line % 64);
    if ((errorBits_[line / 64] & bit) != 0) {
        return LineKind::Error;
    }
    return (warningBits_[line / 64] & bit) != 0 ? LineKind::Warning : LineKind::Plain;
}

std::size_t ProblemIndex::errorCount(const LogFile& log) const {
    return errorCount_ + (growingLineKind(log) == LineKind::Error ? 1 : 0);
}

std::size_t ProblemIndex::warningCount(const LogFile& log) const {
    return warningCount_ + (growingLineKind(log) == LineKind::Warning ? 1 : 0);
}

std::optional<std::size_t> ProblemIndex::findNext(const LogFile& log, std::size_t line,
                                                  bool errorsOnly) const {
    std::optional<std::size_t> best;
    // Word by word through the classified lines after `line`.
    if (line + 1 < classified_) {
        const std::size_t first = line + 1;
        for (std::size_t word = first / 64; word * 64 < classified_; ++word) {
            std::uint64_t bits = errorBits_[word] | (errorsOnly ? 0 : warningBits_[word]);
            if (word == first / 64) {
                bits &= ~std::uint64_t{0} << (first % 64);
            }
            if (bits != 0) {
                const std::size_t found =
                    word * 64 + static_cast<std::size_t>(std::countr_zero(bits));
                if (found < classified_) {
                    best = found;
                }
                break;
            }
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
    const LineIndex& index = log.index();
    if (index.lineCount() > index.completeLineCount() && index.lineCount() - 1 < line &&
        counts(growingLineKind(log), errorsOnly)) {
        return index.lineCount() - 1;
    }
    // Lines before `line` that are classified, word by word backwards.
    const std::size_t end = std::min(line, classified_);
    if (end == 0) {
        return std::nullopt;
    }
    const std::size_t lastLine = end - 1;
    for (std::size_t word = lastLine / 64 + 1; word-- > 0;) {
        std::uint64_t bits = errorBits_[word] | (errorsOnly ? 0 : warningBits_[word]);
        if (word == lastLine / 64 && lastLine % 64 != 63) {
            bits &= (std::uint64_t{1} << (lastLine % 64 + 1)) - 1;
        }
        if (bits != 0) {
            return word * 64 + 63 - static_cast<std::size_t>(std::countl_zero(bits));
        }
    }
    return std::nullopt;
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
    return (errorBits_.capacity() + warningBits_.capacity()) * sizeof(std::uint64_t);
}

}  // namespace reda
