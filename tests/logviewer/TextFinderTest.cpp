#include "TextFinder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace reda {
namespace {

std::vector<std::size_t> allForward(const TextFinder& finder, std::string_view hay) {
    std::vector<std::size_t> out;
    for (std::size_t at = finder.next(hay); at != TextFinder::npos; at = finder.next(hay, at + 1)) {
        out.push_back(at);
    }
    return out;
}

std::vector<std::size_t> allBackward(const TextFinder& finder, std::string_view hay) {
    std::vector<std::size_t> out;
    for (std::size_t at = finder.previous(hay); at != TextFinder::npos;
         at = finder.previous(hay, at)) {
        out.insert(out.begin(), at);
    }
    return out;
}

// The obvious definition, to hold the fast scans against.
std::vector<std::size_t> naive(std::string_view hay, std::string_view needle, FindOptions options) {
    auto fold = [&](char c) {
        return !options.matchCase && c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    };
    std::vector<std::size_t> out;
    for (std::size_t i = 0; !needle.empty() && i + needle.size() <= hay.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; k < needle.size() && same; ++k) {
            same = fold(hay[i + k]) == fold(needle[k]);
        }
        if (same && options.wholeWord) {
            const std::size_t end = i + needle.size();
            // A boundary is only needed where the needle itself starts or ends with a word byte.
            const bool wordStart = isWordByte(static_cast<unsigned char>(needle.front()));
            const bool wordEnd = isWordByte(static_cast<unsigned char>(needle.back()));
            same = (!wordStart || i == 0 || !isWordByte(static_cast<unsigned char>(hay[i - 1]))) &&
                   (!wordEnd || end == hay.size() ||
                    !isWordByte(static_cast<unsigned char>(hay[end])));
        }
        if (same) {
            out.push_back(i);
        }
    }
    return out;
}

struct FindCase {
    std::string name;
    std::string hay;
    std::string needle;
    FindOptions options;
    std::vector<std::size_t> expected;
};

class Find : public ::testing::TestWithParam<FindCase> {};

TEST_P(Find, ForwardAndBackwardFindEveryMatch) {
    const FindCase& c = GetParam();
    const TextFinder finder(c.needle, c.options);
    EXPECT_EQ(allForward(finder, c.hay), c.expected);
    EXPECT_EQ(allBackward(finder, c.hay), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    TextFinder, Find,
    ::testing::Values(
        FindCase{"IgnoreCase", "Error error ERROR eRrOr", "error", {}, {0, 6, 12, 18}},
        FindCase{"MatchCase", "Error error ERROR", "Error", {true, false}, {0}},
        FindCase{"WholeWord",
                 "error errors my_error error: (error) suberror",
                 "error",
                 {false, true},
                 {0, 22, 30}},
        FindCase{"WholeWordAtEdges", "error", "error", {false, true}, {0}},
        FindCase{"DigitsMakeWords", "error1 1error error", "error", {false, true}, {14}},
        FindCase{"HighBytesSeparate", "\xC3\xA9rror error\xC3\xA9", "error", {false, true}, {7}},
        FindCase{"Overlapping", "aaaa", "aa", {}, {0, 1, 2}},
        FindCase{"OneLetterIgnoringCase", "xAyaz", "a", {}, {1, 3}},
        FindCase{"OneLetterMatchingCase", "xAyaz", "a", {true, false}, {3}},
        FindCase{"OneByteWholeWord", "a;;b;", ";", {false, true}, {1, 2, 4}},
        FindCase{"NulInNeedle", std::string("a\0b a\0b", 7), std::string("a\0b", 3), {}, {0, 4}},
        FindCase{"NeedleLongerThanHay", "ab", "abc", {}, {}},
        FindCase{"EmptyNeedle", "abc", "", {}, {}},
        FindCase{"Utf8Needle", "f\xC3\xA4hig F\xC3\xA4HIG", "f\xC3\xA4hig", {}, {0, 7}}),
    [](const ::testing::TestParamInfo<FindCase>& test) { return test.param.name; });

TEST(TextFinder, RandomTextAgreesWithTheObviousScan) {
    std::mt19937 random(7);
    const std::string alphabet = "aAbB_ \n\xC3";
    auto text = [&](std::size_t length) {
        std::string out;
        for (std::size_t i = 0; i < length; ++i) {
            out += alphabet[random() % alphabet.size()];
        }
        return out;
    };
    for (int round = 0; round < 400; ++round) {
        const std::string hay = text(random() % 80);
        const std::string needle = text(1 + random() % 4);
        for (const FindOptions options : {FindOptions{false, false}, FindOptions{true, false},
                                          FindOptions{false, true}, FindOptions{true, true}}) {
            const TextFinder finder(needle, options);
            const std::vector<std::size_t> expected = naive(hay, needle, options);
            ASSERT_EQ(allForward(finder, hay), expected)
                << '"' << hay << "\" / \"" << needle << '"';
            ASSERT_EQ(allBackward(finder, hay), expected)
                << '"' << hay << "\" / \"" << needle << '"';
        }
    }
}

TEST(TextFinder, StartPositionsOutsideTheText) {
    const TextFinder finder("ab", {});
    EXPECT_EQ(finder.next("xxab", 3), TextFinder::npos);
    EXPECT_EQ(finder.next("xxab", 2), 2u);
    EXPECT_EQ(finder.next("xxab", 99), TextFinder::npos);
    EXPECT_EQ(finder.previous("abxx", 0), TextFinder::npos);
    EXPECT_EQ(finder.previous("abxx", 1), 0u);
    EXPECT_EQ(finder.previous("abab", 2), 0u);
    EXPECT_EQ(finder.previous("abab", 3), 2u);
}

}  // namespace
}  // namespace reda
