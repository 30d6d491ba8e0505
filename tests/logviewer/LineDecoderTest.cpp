#include "LineDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace reda {
namespace {

struct DecodeCase {
    std::string name;
    std::string bytes;
    std::u16string text;
    std::vector<std::uint32_t> columns;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> marks = {};
};

class Decode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, TextAndColumnOfEveryByte) {
    const DecodeCase& c = GetParam();
    const DisplayLine line = decodeLine(c.bytes, 1000);
    EXPECT_EQ(line.text, c.text);
    EXPECT_EQ(line.columns, c.columns);
    EXPECT_EQ(line.marks, c.marks);
    EXPECT_EQ(line.decodedBytes, c.bytes.size());
    EXPECT_FALSE(line.clipped);
}

INSTANTIATE_TEST_SUITE_P(
    LineDecoder, Decode,
    ::testing::Values(
        DecodeCase{"Ascii", "ab", u"ab", {0, 1, 2}}, DecodeCase{"Empty", "", u"", {0}},
        DecodeCase{"TabToNextStop", "a\tb", u"a       b", {0, 1, 8, 9}},
        DecodeCase{
            "TabOnStop", "12345678\tx", u"12345678        x", {0, 1, 2, 3, 4, 5, 6, 7, 8, 16, 17}},
        // An escape sequence cut off by the line end takes no column.
        DecodeCase{"NulAndCutEscape", std::string("\0\x1b[", 3), u"^@", {0, 2, 2, 2}, {{0, 2}}},
        // ESC followed by a byte that starts no sequence is a control byte like any other.
        DecodeCase{"LoneEscape", "\x1b x", u"^[ x", {0, 2, 3, 4}, {{0, 2}}},
        DecodeCase{"BrokenEscape", "\x1b[1\x01m", u"^[[1^Am", {0, 2, 3, 4, 6, 7}, {{0, 2}, {4, 6}}},
        DecodeCase{"ColourTakesNoColumn",
                   "\x1b[31mab\x1b[0m",
                   u"ab",
                   {0, 0, 0, 0, 0, 0, 1, 2, 2, 2, 2, 2}},
        DecodeCase{"Delete", "a\x7f", u"a^?", {0, 1, 3}, {{1, 3}}},
        DecodeCase{"TwoByteChar", "\xC3\xA9!", u"\u00e9!", {0, 0, 1, 2}},
        DecodeCase{"ThreeByteChar", "\xE4\xB8\xAD", u"\u4e2d", {0, 0, 0, 1}},
        DecodeCase{"FourByteCharIsASurrogatePair",
                   "\xF0\x9F\x98\x80x",
                   u"\U0001F600x",
                   {0, 0, 0, 0, 2, 3}},
        DecodeCase{"StrayByte", "a\xFFz", u"a\ufffdz", {0, 1, 2, 3}, {{1, 2}}},
        DecodeCase{"CutSequence", "\xC3", u"\ufffd", {0, 1}, {{0, 1}}},
        DecodeCase{
            "CutThreeByteSequence", "\xE4\xB8z", u"\ufffd\ufffdz", {0, 1, 2, 3}, {{0, 1}, {1, 2}}},
        DecodeCase{"Overlong",
                   "\xE0\x80\x80",
                   u"\ufffd\ufffd\ufffd",
                   {0, 1, 2, 3},
                   {{0, 1}, {1, 2}, {2, 3}}},
        DecodeCase{"OverlongTwoByte", "\xC0\xAF", u"\ufffd\ufffd", {0, 1, 2}, {{0, 1}, {1, 2}}},
        DecodeCase{"EncodedSurrogate",
                   "\xED\xA0\x80",
                   u"\ufffd\ufffd\ufffd",
                   {0, 1, 2, 3},
                   {{0, 1}, {1, 2}, {2, 3}}},
        DecodeCase{"BeyondUnicode",
                   "\xF4\x90\x80\x80",
                   u"\ufffd\ufffd\ufffd\ufffd",
                   {0, 1, 2, 3, 4},
                   {{0, 1}, {1, 2}, {2, 3}, {3, 4}}},
        DecodeCase{"C1Control", "\xC2\x85", u"\ufffd", {0, 0, 1}, {{0, 1}}},
        DecodeCase{
            "Latin1Text", "caf\xE9 ok", u"caf\ufffd ok", {0, 1, 2, 3, 4, 5, 6, 7}, {{3, 4}}}),
    [](const ::testing::TestParamInfo<DecodeCase>& test) { return test.param.name; });

TEST(LineDecoder, LongLinesAreClippedAtTheColumnLimit) {
    const std::string bytes(5u << 20, 'x');
    const DisplayLine line = decodeLine(bytes, 10);
    EXPECT_EQ(line.text, u"xxxxxxxxxx");
    EXPECT_TRUE(line.clipped);
    EXPECT_EQ(line.decodedBytes, 10u);
    EXPECT_EQ(line.columns.size(), 11u);
}

TEST(LineDecoder, ColumnsMapBackToBytes) {
    // "a", tab (columns 1..7), "b" at 8, "é" (two bytes) at 9, end at 10.
    const DisplayLine line = decodeLine("a\tb\xC3\xA9", 100);
    const std::vector<std::pair<std::size_t, std::size_t>> columnToByte{
        {0, 0}, {1, 1}, {3, 2}, {8, 2}, {9, 3}, {10, 5}, {50, 5}};
    for (const auto& [column, byte] : columnToByte) {
        EXPECT_EQ(line.byteAtColumn(column), byte) << "column " << column;
    }
    EXPECT_EQ(line.columnOfByte(4), 9u);  // inside "é"
    EXPECT_EQ(line.columnOfByte(99), 10u);
}

// Windows-1252: the same bytes, other characters; undefined bytes are marked.
TEST(LineDecoder, Windows1252) {
    const DisplayLine line = decodeLine("caf\xe9 \x80 \x93x\x94 \x81\t\xff", 100, &windows1252());
    EXPECT_EQ(line.text, u"caf\u00e9 \u20ac \u201cx\u201d \ufffd    \u00ff");
    EXPECT_EQ(line.marks, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{11, 12}}));
    EXPECT_EQ(line.columns.size(), 15u);
    EXPECT_EQ(line.columnOfByte(13), 16u);  // one column a byte, the tab to its stop
    // The same bytes read as UTF-8 are not valid.
    EXPECT_EQ(decodeLine("caf\xe9", 100).text, u"caf\ufffd");
}

}  // namespace
}  // namespace reda
