#include "LineIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace reda {
namespace {

std::vector<std::uint64_t> starts(const LineIndex& index) {
    std::vector<std::uint64_t> out;
    for (std::size_t i = 0; i < index.lineCount(); ++i) {
        out.push_back(index.lineStart(i));
    }
    return out;
}

std::vector<std::uint64_t> limits(const LineIndex& index) {
    std::vector<std::uint64_t> out;
    for (std::size_t i = 0; i < index.lineCount(); ++i) {
        out.push_back(index.lineLimit(i));
    }
    return out;
}

struct IndexCase {
    std::string name;
    std::string data;
    std::vector<std::uint64_t> starts;
    std::vector<std::uint64_t> limits;
    std::size_t complete;
    std::uint64_t scanned;
};

class LineEnds : public ::testing::TestWithParam<IndexCase> {};

TEST_P(LineEnds, StartsLimitsAndCounts) {
    const IndexCase& c = GetParam();
    LineIndex index;
    index.extend(c.data);
    EXPECT_EQ(starts(index), c.starts);
    EXPECT_EQ(limits(index), c.limits);
    EXPECT_EQ(index.completeLineCount(), c.complete);
    EXPECT_EQ(index.scannedEnd(), c.scanned);
}

TEST_P(LineEnds, SameResultWhateverTheChunksArrive) {
    const IndexCase& c = GetParam();
    for (std::size_t cut = 0; cut <= c.data.size(); ++cut) {
        LineIndex index;
        index.extend(c.data.substr(0, cut));
        index.extend(c.data);
        EXPECT_EQ(starts(index), c.starts) << "cut at " << cut;
        EXPECT_EQ(index.completeLineCount(), c.complete) << "cut at " << cut;
    }
    LineIndex byteByByte;
    for (std::size_t n = 0; n <= c.data.size(); ++n) {
        byteByByte.extend(c.data.substr(0, n));
    }
    EXPECT_EQ(starts(byteByByte), c.starts);
    EXPECT_EQ(limits(byteByByte), c.limits);
}

INSTANTIATE_TEST_SUITE_P(
    LineIndex, LineEnds,
    ::testing::Values(IndexCase{"Empty", "", {}, {}, 0, 0},
                      IndexCase{"NoTerminator", "abc", {0}, {3}, 0, 3},
                      IndexCase{"Lf", "a\nbc\n", {0, 2}, {2, 5}, 2, 5},
                      IndexCase{"LfThenPartial", "a\nbc", {0, 2}, {2, 4}, 1, 4},
                      IndexCase{"CrLf", "a\r\nb\r\n", {0, 3}, {3, 6}, 2, 6},
                      // The last CR may be half of a CR LF: scanning stops before it.
                      IndexCase{"CrOnly", "a\rb\r", {0, 2}, {2, 4}, 1, 3},
                      IndexCase{"LoneCrAtEnd", "\r", {0}, {1}, 0, 0},
                      IndexCase{"EmptyLines", "\n\n\n", {0, 1, 2}, {1, 2, 3}, 3, 3},
                      IndexCase{"LfThenCrLf", "a\n\r\nb", {0, 2, 4}, {2, 4, 5}, 2, 5},
                      IndexCase{"CrThenCrLf", "x\r\r\ny", {0, 2, 4}, {2, 4, 5}, 2, 5},
                      IndexCase{"Mixed", "a\rb\nc\r\nd", {0, 2, 4, 7}, {2, 4, 7, 8}, 3, 8},
                      IndexCase{"NulBytes", std::string("\0a\0\nb", 5), {0, 4}, {4, 5}, 1, 5}),
    [](const ::testing::TestParamInfo<IndexCase>& info) { return info.param.name; });

TEST(LineIndex, HighPartStepsKeepEveryOffset) {
    // With 4 low bits the high part steps every 16 bytes, as it would every 4 GiB.
    std::string data;
    for (int i = 0; i < 200; ++i) {
        data += std::string(static_cast<std::size_t>(i % 37), 'x') + "\n";
    }
    LineIndex narrow(4);
    LineIndex wide;
    for (std::size_t n = 0; n <= data.size(); n += 13) {
        narrow.extend(data.substr(0, n));
    }
    narrow.extend(data);
    wide.extend(data);
    ASSERT_EQ(narrow.lineCount(), 200u);
    EXPECT_EQ(starts(narrow), starts(wide));
    for (std::uint64_t offset = 0; offset < data.size(); ++offset) {
        ASSERT_EQ(narrow.lineAt(offset), wide.lineAt(offset)) << offset;
    }
}

TEST(LineIndex, LineAtAndLongestLine) {
    LineIndex index;
    index.extend("ab\ncdefg\n\nh");
    EXPECT_EQ(index.lineAt(0), 0u);
    EXPECT_EQ(index.lineAt(2), 0u);  // the terminator belongs to its line
    EXPECT_EQ(index.lineAt(3), 1u);
    EXPECT_EQ(index.lineAt(9), 2u);
    EXPECT_EQ(index.lineAt(10), 3u);
    EXPECT_EQ(index.lineAt(999), 3u);
    EXPECT_EQ(index.longestLine(), 6u);
    EXPECT_EQ(index.lineStart(4), 11u);  // beyond the last line: the end
    EXPECT_EQ(index.lineLimit(4), 11u);
    index.clear();
    EXPECT_EQ(index.lineStart(0), 0u);
    EXPECT_EQ(index.lineCount(), 0u);
    EXPECT_EQ(index.lineAt(5), 0u);
    EXPECT_EQ(index.longestLine(), 0u);
}

TEST(LineIndex, AtMostEightBytesPerLine) {
    std::string data;
    for (int i = 0; i < 100000; ++i) {
        data += "line\n";
    }
    LineIndex index;
    for (std::size_t n = 0; n < data.size(); n += 4096) {
        index.extend(data.substr(0, n));
    }
    index.extend(data);
    ASSERT_EQ(index.lineCount(), 100000u);
    EXPECT_LE(index.memoryBytes(), 8u * index.lineCount());
}

}  // namespace
}  // namespace reda
