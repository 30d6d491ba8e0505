#include "ProblemIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "LogFile.h"
#include "TempDir.h"

namespace reda {
namespace {

using kestrune::testing::TempDir;

struct KindCase {
    std::string line;
    LineKind kind;
};

class Classify : public ::testing::TestWithParam<KindCase> {};

// The user's words come on top of the rule table: matched whole and without case anywhere,
// an error word winning over a warning word and over the table's warning.
TEST_P(Classify, TableAndOwnWords) {
    const ProblemIndex problems(HighlightWords{{"oops", "link error"}, {"hmm"}, {}, {}});
    EXPECT_EQ(problems.classify(GetParam().line), GetParam().kind) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(ProblemIndex, Classify,
                         ::testing::Values(KindCase{"main.c:3: error: x", LineKind::Error},
                                           KindCase{"main.c:3: warning: x", LineKind::Warning},
                                           KindCase{"OOPS", LineKind::Error},
                                           KindCase{"(oops)", LineKind::Error},
                                           KindCase{"a LINK ERROR here", LineKind::Error},
                                           KindCase{"hmm and oops", LineKind::Error},
                                           KindCase{"main.c:3: warning: oops", LineKind::Error},
                                           KindCase{"hmm, the build failed", LineKind::Warning},
                                           KindCase{"src/error.c: In function", LineKind::Plain},
                                           KindCase{"oopsy hmmm", LineKind::Plain},
                                           KindCase{"", LineKind::Plain}));

struct LogFixture {
    TempDir dir;
    std::string path;
    LogFile log;

    explicit LogFixture(const std::string& text) : path(dir.Write("a.log", text)) {
        log.setPath(path);
        log.poll();
    }
};

const std::string kLog =
    "start\n"                    // 0
    "a.c:1:2: warning: one\n"    // 1
    "ok\n"                       // 2
    "a.c:3:4: error: two\n"      // 3
    "make: *** [all] Error 2\n"  // 4
    "src/error.c: in main\n"     // 5
    "FAILED: b.o\n"              // 6
    "tail: warning: x";          // 7, still growing

TEST(ProblemIndex, CountsAndJumpsOverTheWholeLog) {
    LogFixture f(kLog);
    ProblemIndex problems;
    EXPECT_TRUE(problems.advance(f.log, 1 << 20));
    EXPECT_EQ(problems.errorCount(f.log), 3u);
    EXPECT_EQ(problems.warningCount(f.log), 2u);  // the growing last line counts

    std::vector<std::size_t> forward;
    for (std::optional<std::size_t> at = problems.nextProblem(f.log, 0); at;
         at = problems.nextProblem(f.log, *at)) {
        forward.push_back(*at);
    }
    EXPECT_EQ(forward, (std::vector<std::size_t>{1, 3, 4, 6, 7}));
    std::vector<std::size_t> backward;
    for (std::optional<std::size_t> at = problems.previousProblem(f.log, 8); at;
         at = problems.previousProblem(f.log, *at)) {
        backward.push_back(*at);
    }
    EXPECT_EQ(backward, (std::vector<std::size_t>{7, 6, 4, 3, 1}));
    // Errors only: the warning lines 1 and 7 are passed over.
    std::vector<std::size_t> errors;
    for (std::optional<std::size_t> at = problems.nextProblem(f.log, 0, true); at;
         at = problems.nextProblem(f.log, *at, true)) {
        errors.push_back(*at);
    }
    EXPECT_EQ(errors, (std::vector<std::size_t>{3, 4, 6}));
    EXPECT_EQ(problems.previousProblem(f.log, 8, true), std::optional<std::size_t>(6));
    EXPECT_EQ(problems.previousProblem(f.log, 3, true), std::nullopt);

    const std::vector<LineKind> kinds{LineKind::Plain, LineKind::Warning, LineKind::Plain,
                                      LineKind::Error, LineKind::Error,   LineKind::Plain,
                                      LineKind::Error, LineKind::Warning};
    for (std::size_t line = 0; line < kinds.size(); ++line) {
        EXPECT_EQ(problems.kindOf(f.log, line), kinds[line]) << line;
    }
}

TEST(ProblemIndex, SmallSlicesGiveTheSameCounts) {
    LogFixture f(kLog);
    ProblemIndex problems;
    int slices = 0;
    while (!problems.advance(f.log, 1)) {
        ++slices;
    }
    EXPECT_EQ(slices, 6);  // one complete line per slice, the last one finishes
    EXPECT_EQ(problems.errorCount(f.log), 3u);
    EXPECT_EQ(problems.warningCount(f.log), 2u);
}

TEST(ProblemIndex, JumpsClassifyTheRestWhenNeeded) {
    LogFixture f(kLog);
    ProblemIndex problems;
    problems.advance(f.log, 1);  // only line 0 known
    EXPECT_EQ(problems.nextProblem(f.log, 4), std::optional<std::size_t>(6));
    EXPECT_TRUE(problems.finished(f.log));
}

TEST(ProblemIndex, OwnWordsReplaceTheDefaults) {
    LogFixture f("Fehler: x\nerror\nAchtung!\nnote\n");
    ProblemIndex problems(HighlightWords{{"fehler"}, {"achtung", "note"}, {}, {}});
    problems.advance(f.log, 1 << 20);
    EXPECT_EQ(problems.errorCount(f.log), 1u);
    EXPECT_EQ(problems.warningCount(f.log), 2u);
    problems.setWords(HighlightWords{{}, {}, {}, {}});
    EXPECT_EQ(problems.errorCount(f.log), 0u);
    problems.advance(f.log, 1 << 20);
    EXPECT_EQ(problems.errorCount(f.log), 0u);
    EXPECT_EQ(problems.warningCount(f.log), 0u);
    EXPECT_EQ(problems.nextProblem(f.log, 0), std::nullopt);
}

TEST(ProblemIndex, WordsAndPhrasesAgreeWithASearchPerWord) {
    // Random lines from a small vocabulary; each line's kind must be what searching it for
    // every word on its own gives, however the log is sliced.
    const std::vector<std::string> vocabulary{
        "error",   "Error:",  "errors",   "fatal", "link error", "C2065:", "warn",
        "warning", "WARNING", "_warning", "x",     " ",          "\t",     "\xc3\xa9",
        "(",       ")",       "C2065",    "link",  "\r"};
    const HighlightWords words{
        {"error", "link error", "C2065:", "Fatal"}, {"warning", "x"}, {}, {}};
    std::mt19937 random(5);
    std::string text;
    for (int line = 0; line < 400; ++line) {
        for (unsigned n = static_cast<unsigned>(random() % 6); n-- > 0;) {
            text += vocabulary[random() % vocabulary.size()];
            text += random() % 3 == 0 ? "" : " ";
        }
        text += "\n";
    }
    LogFixture f(text);
    auto reference = [&](std::string_view line) {
        auto any = [&](const std::vector<std::string>& list) {
            return std::any_of(list.begin(), list.end(), [&](const std::string& word) {
                return TextFinder(word, FindOptions{false, true}).next(line) != TextFinder::npos;
            });
        };
        return any(words.errors) ? LineKind::Error
                                 : (any(words.warnings) ? LineKind::Warning : LineKind::Plain);
    };
    for (const std::size_t slice : {std::size_t{1}, std::size_t{97}, std::size_t{1} << 20}) {
        ProblemIndex problems(words);
        while (!problems.advance(f.log, slice)) {
        }
        std::size_t errors = 0;
        std::size_t warnings = 0;
        for (std::size_t line = 0; line < f.log.lineCount(); ++line) {
            const LineKind expected = reference(f.log.line(line));
            ASSERT_EQ(problems.kindOf(f.log, line), expected) << "line " << line;
            ASSERT_EQ(problems.classify(f.log.line(line)), expected) << "line " << line;
            errors += expected == LineKind::Error ? 1 : 0;
            warnings += expected == LineKind::Warning ? 1 : 0;
        }
        EXPECT_EQ(problems.errorCount(f.log), errors);
        EXPECT_EQ(problems.warningCount(f.log), warnings);
        EXPECT_GT(errors, 50u);
        EXPECT_GT(warnings, 50u);
    }
}

// A log large enough to be classified on two threads at once: every line's kind, and the
// counts, are those of the line on its own, the user's words and patterns included, wherever
// the halves meet.
TEST(ProblemIndex, LargePieceAgreesWithEachLineAlone) {
    const std::vector<KindCase> samples{
        {"src/a.c:3:5: error: expected ';'", LineKind::Error},
        {"src/error.c:7:9: warning: unused", LineKind::Warning},
        {"   12 |     printf(\"failed\");", LineKind::Plain},
        {"FAILED tests/t.py::test_x - boom", LineKind::Error},
        {"E       assert 1 == 2", LineKind::Error},
        {"[3/7] Building C object error.c.o", LineKind::Plain},
        {"the quux broke", LineKind::Error},       // the user's error word
        {"step 12 took long", LineKind::Warning},  // the user's warning pattern
        {"all fine here", LineKind::Plain}};
    const HighlightWords words{{"quux"}, {}, {}, {R"(^step \d+ took)"}};
    std::mt19937 random(11);
    std::string text;
    std::vector<LineKind> expected;
    for (int line = 0; line < 30011; ++line) {
        const KindCase& sample = samples[random() % samples.size()];
        text += sample.line + "\n";
        expected.push_back(sample.kind);
    }
    LogFixture f(text);
    ProblemIndex problems(words);
    EXPECT_TRUE(problems.advance(f.log, SIZE_MAX));
    std::size_t errors = 0;
    std::size_t warnings = 0;
    for (std::size_t line = 0; line < expected.size(); ++line) {
        ASSERT_EQ(problems.kindOf(f.log, line), expected[line]) << "line " << line;
        errors += expected[line] == LineKind::Error ? 1 : 0;
        warnings += expected[line] == LineKind::Warning ? 1 : 0;
    }
    EXPECT_EQ(problems.errorCount(f.log), errors);
    EXPECT_EQ(problems.warningCount(f.log), warnings);
}

// A line the tools are still writing: after every piece its kind is that of the whole line so
// far, although each poll looks only at the new bytes.
TEST(ProblemIndex, GrowingLineKeepsItsKindPieceByPiece) {
    const std::vector<std::string> vocabulary{"error", "err", "or", "s",     "link",    " error",
                                              "C2065", ":",   "x",  "warn",  "ing",     " ",
                                              "_",     "(",   "\t", "fatal", "\xc3\xa9"};
    const HighlightWords words{
        {"error", "link error", "C2065:", "Fatal"}, {"warning", "x"}, {}, {}};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        LogFixture f("done\n");
        ProblemIndex problems(words);
        problems.advance(f.log, 1 << 20);
        std::ofstream out(f.path, std::ios::binary | std::ios::app);
        std::string line;
        for (int piece = 0; piece < 30; ++piece) {
            const std::string bytes = vocabulary[random() % vocabulary.size()];
            line += bytes;
            out << bytes << std::flush;
            ASSERT_EQ(f.log.poll(), LogFile::Change::Appended);
            const LineKind expected = ProblemIndex(words).classify(line);
            ASSERT_EQ(problems.kindOf(f.log, 1), expected) << seed << ": " << line;
            ASSERT_EQ(problems.errorCount(f.log), expected == LineKind::Error ? 1u : 0u) << line;
            ASSERT_EQ(problems.warningCount(f.log), expected == LineKind::Warning ? 1u : 0u)
                << line;
        }
    }
}

TEST(ProblemIndex, GrowingLineScansOnlyTheNewBytes) {
    LogFixture f("start\n");
    ProblemIndex problems(HighlightWords{{"error"}, {}, {}, {}});
    problems.advance(f.log, 1 << 20);
    std::ofstream out(f.path, std::ios::binary | std::ios::app);
    const std::string piece = "compiling module_17.c with -O2, pass 3; ";  // 40 bytes
    constexpr int kPieces = 2000;
    for (int i = 0; i < kPieces; ++i) {
        out << piece << std::flush;
        ASSERT_EQ(f.log.poll(), LogFile::Change::Appended);
        // A poll counts, a paint asks the kind, a jump looks again: all from what is kept.
        EXPECT_EQ(problems.errorCount(f.log), 0u);
        EXPECT_EQ(problems.warningCount(f.log), 0u);
        EXPECT_EQ(problems.kindOf(f.log, 1), LineKind::Plain);
    }
    out << "error" << std::flush;
    f.log.poll();
    EXPECT_EQ(problems.errorCount(f.log), 1u);
    // Whole-line scans would look at about kPieces * kPieces * 40 / 2 bytes.
    const std::uint64_t written = kPieces * piece.size() + 5;
    EXPECT_LE(problems.growingBytesScanned(), 2 * written + kPieces * 40u);
    EXPECT_GE(problems.growingBytesScanned(), written);
}

}  // namespace
}  // namespace reda
