#include "Ansi.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "LineDecoder.h"
#include "ProblemIndex.h"
#include "TextFinder.h"

namespace reda {
namespace {

constexpr std::uint32_t red = kRgb | 0xcd0000;
constexpr std::uint32_t brightRed = kRgb | 0xff0000;

struct StyleCase {
    std::string name;
    std::string escape;
    TextStyle before;
    TextStyle after;
};

class Sgr : public ::testing::TestWithParam<StyleCase> {};

TEST_P(Sgr, AppliesToTheStyle) {
    TextStyle style = GetParam().before;
    ASSERT_EQ(escapeLength(GetParam().escape, 0), GetParam().escape.size());
    applyEscape(GetParam().escape, style);
    EXPECT_EQ(style, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Ansi, Sgr,
    ::testing::Values(
        StyleCase{"Reset", "\x1b[0m", {red, red, true}, {}},
        StyleCase{"EmptyIsReset", "\x1b[m", {red, 0, true}, {}},
        StyleCase{"BoldRed", "\x1b[01;31m", {}, {red, 0, true}},
        StyleCase{"BrightForeground", "\x1b[91m", {}, {brightRed, 0, false}},
        StyleCase{"Background", "\x1b[41m", {}, {0, red, false}},
        StyleCase{"BoldOff", "\x1b[22m", {red, 0, true}, {red, 0, false}},
        StyleCase{"DefaultColours", "\x1b[39;49m", {red, red, true}, {0, 0, true}},
        StyleCase{"Palette256", "\x1b[38;5;196m", {}, {kRgb | 0xff0000, 0, false}},
        StyleCase{"PaletteGrey", "\x1b[48;5;232m", {}, {0, kRgb | 0x080808, false}},
        StyleCase{"TrueColour", "\x1b[38;2;10;20;30m", {}, {kRgb | 0x0a141e, 0, false}},
        StyleCase{"TrueColourWithColons", "\x1b[38:2:10:20:30m", {}, {kRgb | 0x0a141e, 0, false}},
        StyleCase{"TrueColourCutShort", "\x1b[1;38;2;10m", {}, {0, 0, true}},
        StyleCase{"OutOfRangeIsClamped", "\x1b[38;2;999;0;0m", {}, {kRgb | 0xff0000, 0, false}},
        StyleCase{"NotSgr", "\x1b[K", {red, 0, false}, {red, 0, false}},
        StyleCase{"UnknownParametersSkipped", "\x1b[4;5;31m", {}, {red, 0, false}}),
    [](const ::testing::TestParamInfo<StyleCase>& test) { return test.param.name; });

struct LengthCase {
    std::string bytes;
    std::size_t length;
};

class EscapeLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(EscapeLength, MeasuresWholeCutAndBrokenSequences) {
    EXPECT_EQ(escapeLength(GetParam().bytes, 0), GetParam().length) << GetParam().bytes;
}

INSTANTIATE_TEST_SUITE_P(Ansi, EscapeLength,
                         ::testing::Values(LengthCase{"\x1b[31mx", 5}, LengthCase{"\x1b[Kx", 3},
                                           LengthCase{"\x1b[?25l", 6}, LengthCase{"\x1b(Bx", 3},
                                           LengthCase{"\x1b=", 2},
                                           LengthCase{"\x1b[31", 4},  // cut off by the end
                                           LengthCase{"\x1b", 1}, LengthCase{"\x1b[3\x01m", 0},
                                           LengthCase{"\x1b x", 0}, LengthCase{"x\x1b[m", 0},
                                           LengthCase{"\x1b[" + std::string(100, '1') + "m", 0}));

TEST(Ansi, StripsEveryEscape) {
    EXPECT_EQ(stripEscapes("\x1b[01;31m\x1b[Kerror:\x1b[m\x1b[K x"), "error: x");
    EXPECT_EQ(stripEscapes("a\x1b[3"), "a");
    EXPECT_EQ(stripEscapes("a\x1b b"), "a\x1b b");
    EXPECT_EQ(stripEscapes("plain"), "plain");
}

// gcc -fdiagnostics-color=always: the text without the escapes, each part in its colour.
TEST(Ansi, DecodedLineCarriesTheColours) {
    const std::string line =
        "\x1b[01m\x1b[Ka.c:3:5:\x1b[m\x1b[K \x1b[01;31m\x1b[Kerror: \x1b[m\x1b[Kx";
    const DisplayLine shown = decodeLine(line, 200);
    EXPECT_EQ(shown.text, u"a.c:3:5: error: x");
    const std::vector<std::pair<std::uint32_t, TextStyle>> styles{{0, TextStyle{0, 0, true}},
                                                                  {8, TextStyle{}},
                                                                  {9, TextStyle{red, 0, true}},
                                                                  {16, TextStyle{}}};
    EXPECT_EQ(shown.styles, styles);
    EXPECT_TRUE(shown.marks.empty());
}

// A word right after an escape sequence starts a word: coloured error lines are error lines.
TEST(Ansi, ColouredWordsAreWholeWords) {
    const std::string line = "\x1b[01;31m\x1b[Kerror: \x1b[m\x1b[Kbroken";
    EXPECT_EQ(ProblemIndex().classify(line), LineKind::Error);
    EXPECT_EQ(ProblemIndex().classify("\x1b[35m\x1b[Kwarning:\x1b[m"), LineKind::Warning);
    EXPECT_EQ(ProblemIndex().classify("\x1b[Kerrors"), LineKind::Plain);
    const TextFinder finder("error", FindOptions{false, true});
    EXPECT_EQ(finder.next(line), 11u);
    EXPECT_TRUE(escapeEndsAt(line, 11));
    EXPECT_TRUE(escapeEndsAt(line, 8));
    EXPECT_FALSE(escapeEndsAt(line, 12));
    EXPECT_FALSE(escapeEndsAt("Kerror", 1));
}

}  // namespace
}  // namespace reda
