#include "LineWrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace reda {
namespace {

using Columns = std::vector<std::size_t>;

struct WrapCase {
    const char* name;
    std::string bytes;
    std::size_t width;
    std::size_t maxColumns;  // the view's cap, small here
    std::size_t trailer;     // the marker's columns after a clipped line
    Columns rows;            // the columns the rows start at
    Columns bytesAt;         // the byte each row starts at
};

class WrapRows : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapRows, BreakAtTheWidth) {
    const WrapCase& c = GetParam();
    const DisplayLine line = decodeLine(c.bytes, c.maxColumns);
    const Columns rows = wrapLine(line, c.width, line.clipped ? c.trailer : 0);
    EXPECT_EQ(rows, c.rows);
    Columns bytes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        bytes.push_back(line.byteAtColumn(rows[i]));
        const std::size_t end = i + 1 < rows.size() ? rows[i + 1] : line.text.size();
        EXPECT_LE(end - rows[i], std::max<std::size_t>(c.width, 2)) << "row " << i;
    }
    EXPECT_EQ(bytes, c.bytesAt);
}

INSTANTIATE_TEST_SUITE_P(
    LineWrap, WrapRows,
    ::testing::Values(
        WrapCase{"Empty", "", 4, 100, 0, {0}, {0}},
        WrapCase{"FitsExactly", "abcd", 4, 100, 0, {0}, {0}},
        WrapCase{"Plain", "abcdefghij", 4, 100, 0, {0, 4, 8}, {0, 4, 8}},
        WrapCase{"BlankNearTheEdge", "aaaaaa bbbbbb", 8, 100, 0, {0, 7}, {0, 7}},
        WrapCase{"BlankTooFarBack", "aa bbbbbbbbbb", 8, 100, 0, {0, 8}, {0, 8}},
        WrapCase{"BlankRightAtTheEdge", "aaaaaaa bbbb", 8, 100, 0, {0, 8}, {0, 8}},
        // é takes two bytes and one column: the second row starts at its end, byte 5.
        WrapCase{"Utf8AtTheEdge",
                 "abc\xc3\xa9"
                 "fgh",
                 4,
                 100,
                 0,
                 {0, 4},
                 {0, 5}},
        // An emoji takes two columns (a surrogate pair) that stay on one row.
        WrapCase{"PairAtTheEdge",
                 "abc\xf0\x9f\x98\x80"
                 "de",
                 4,
                 100,
                 0,
                 {0, 3},
                 {0, 3}},
        WrapCase{
            "PairWiderThanTheRow", "\xf0\x9f\x98\x80\xf0\x9f\x98\x80", 1, 100, 0, {0, 2}, {0, 4}},
        WrapCase{"CaretNotationAtTheEdge",
                 "abc\x01"
                 "de",
                 4,
                 100,
                 0,
                 {0, 3},
                 {0, 3}},
        // The colour sequence takes no column and starts the second row with its text.
        WrapCase{"EscapeAtTheEdge", "abcd\x1b[31mefgh", 4, 100, 0, {0, 4}, {0, 4}},
        WrapCase{"EscapeInsideTheRow", "ab\x1b[1mcdefg", 4, 100, 0, {0, 4}, {0, 8}},
        // The tab expands to column 8; the row breaks inside its blanks.
        WrapCase{"TabExpanded", "a\tbcdefgh", 6, 100, 0, {0, 6, 12}, {0, 2, 6}},
        // A clipped line: its marker follows on the last row, or on a row of its own.
        WrapCase{"ColumnCapMarkerFits", std::string(30, 'x'), 8, 10, 5, {0, 8}, {0, 8}},
        WrapCase{
            "ColumnCapMarkerOwnRow", std::string(30, 'x'), 4, 10, 5, {0, 4, 8, 10}, {0, 4, 8, 10}},
        WrapCase{
            "UnclippedLineHasNoMarkerRow", std::string(10, 'x'), 4, 100, 5, {0, 4, 8}, {0, 4, 8}}),
    [](const ::testing::TestParamInfo<WrapCase>& test) { return test.param.name; });

// A row of width 0 (a view narrower than a column) still holds one column and ends.
TEST(LineWrap, ZeroWidthTakesOneColumnARow) {
    EXPECT_EQ(wrapLine(decodeLine("abc", 100), 0), (Columns{0, 1, 2}));
}

}  // namespace
}  // namespace reda
