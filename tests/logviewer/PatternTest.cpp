#include "Pattern.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace reda {
namespace {

struct PatternCase {
    std::string name;
    std::string pattern;
    PatternMode mode;
    FindOptions options;
    std::string line;
    std::optional<Match> found;
};

class PatternFind : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternFind, FirstMatchInALine) {
    const PatternCase& c = GetParam();
    const Pattern pattern(c.pattern, c.mode, c.options);
    ASSERT_TRUE(pattern.valid()) << pattern.error();
    EXPECT_EQ(pattern.find(c.line), c.found);
    EXPECT_EQ(pattern.matches(c.line), c.found.has_value());
}

constexpr FindOptions kAnyCase{false, false};
constexpr FindOptions kCase{true, false};
constexpr FindOptions kWords{false, true};
constexpr auto kPlain = PatternMode::Plain;
constexpr auto kRegex = PatternMode::Regex;

INSTANTIATE_TEST_SUITE_P(
    Pattern, PatternFind,
    ::testing::Values(
        PatternCase{"PlainAnyCase", "Error", kPlain, kAnyCase, "an ERROR here", Match{3, 5}},
        PatternCase{"PlainCase", "Error", kPlain, kCase, "an ERROR here", std::nullopt},
        PatternCase{"PlainWords", "err", kPlain, kWords, "error err", Match{6, 3}},
        PatternCase{"PlainDotIsADot", "a.c", kPlain, kAnyCase, "abc a.c", Match{4, 3}},
        PatternCase{"RegexClass", "[0-9]+ errors?", kRegex, kAnyCase, "x 12 Errors", Match{2, 9}},
        PatternCase{"RegexCase", "^Warn", kRegex, kCase, "warn Warn", std::nullopt},
        PatternCase{"RegexLineStart", "^make", kRegex, kAnyCase, "make[1]: done", Match{0, 4}},
        PatternCase{"RegexLineEnd", "done$", kRegex, kAnyCase, "done or not done", Match{12, 4}},
        PatternCase{"RegexWordBound", "\\berror\\b", kRegex, kAnyCase,
                    "suberror error:", Match{9, 5}},
        PatternCase{"RegexLocation", "\\.c:[0-9]+:", kRegex, kAnyCase, "src/a.c:12:5: error",
                    Match{5, 6}},
        PatternCase{"RegexAlternatives", "fatal|failed", kRegex, kAnyCase, "link FAILED",
                    Match{5, 6}},
        PatternCase{"RegexUtf8", "caf\xc3\xa9", kRegex, kAnyCase, "un caf\xc3\xa9", Match{3, 5}},
        PatternCase{"RegexOnBadBytes", "b+", kRegex, kAnyCase, "\xff\xfe bb", Match{3, 2}},
        PatternCase{"EmptyFindsNothing", "", kRegex, kAnyCase, "text", std::nullopt}),
    [](const ::testing::TestParamInfo<PatternCase>& test) { return test.param.name; });

struct BadCase {
    std::string pattern;
    std::string error;
};

class PatternInvalid : public ::testing::TestWithParam<BadCase> {};

TEST_P(PatternInvalid, SaysWhyAndFindsNothing) {
    const Pattern pattern(GetParam().pattern, PatternMode::Regex, kAnyCase);
    EXPECT_FALSE(pattern.valid());
    EXPECT_EQ(pattern.error(), GetParam().error);
    EXPECT_FALSE(pattern.matches(GetParam().pattern));
    EXPECT_EQ(pattern.matcher(), nullptr);
    // The same text as plain text is fine.
    EXPECT_TRUE(Pattern(GetParam().pattern, PatternMode::Plain, kAnyCase).valid());
}

INSTANTIATE_TEST_SUITE_P(
    Pattern, PatternInvalid,
    ::testing::Values(BadCase{"error(", "missing ): error("}, BadCase{"[a-", "missing ]: [a-"},
                      BadCase{"*x", "no argument for repetition operator: *"},
                      BadCase{"a{2,1}", "invalid repetition size: {2,1}"},
                      BadCase{"(?P<name", "invalid named capture group: (?P<name"},
                      BadCase{"\\", "trailing \\"},
                      BadCase{"(a)\\1", "invalid escape sequence: \\1"}));

// A search over a whole log keeps a match inside one line, also when the pattern could
// reach over a line end, and takes ^ and $ at each line.
TEST(Pattern, LogSearchStaysWithinLines) {
    const std::string log = "alpha\nbeta error\r\nerror gamma\rdelta\n";
    auto search = [&](const std::string& text, bool forward, std::size_t from) {
        const Pattern pattern(text, PatternMode::Regex, kAnyCase);
        SearchJob job(SearchSource{nullptr, log}, pattern.matcher(), forward, from, 5);
        return job.state() == SearchJob::State::Found ? std::optional<Match>(job.match())
                                                      : std::nullopt;
    };
    EXPECT_EQ(search("^error", true, 0), (Match{18, 5}));
    EXPECT_EQ(search("error$", true, 0), (Match{11, 5}));
    EXPECT_EQ(search("a[^x]+b", true, 0), std::nullopt);   // "alpha\nbeta" spans a line end
    EXPECT_EQ(search("^delta", true, 0), (Match{30, 5}));  // after a lone CR
    EXPECT_EQ(search("error", false, log.size()), (Match{18, 5}));
    EXPECT_EQ(search("error", false, 18), (Match{11, 5}));
    EXPECT_EQ(search("e[a-z]+", true, 12), (Match{18, 5}));
}

// RE2 needs time linear in the text: a pattern that makes backtracking engines take
// exponential time still returns at once on a long line.
TEST(Pattern, HostilePatternsFinishOnLongLines) {
    const std::string line(1 << 20, 'a');
    for (const std::string text : {"(a+)+$b", "(a|aa)*c", "(a*)*b", "(.*a){20}x"}) {
        const Pattern pattern(text, PatternMode::Regex, kAnyCase);
        ASSERT_TRUE(pattern.valid()) << text << ": " << pattern.error();
        EXPECT_FALSE(pattern.matches(line)) << text;
    }
}

}  // namespace
}  // namespace reda
