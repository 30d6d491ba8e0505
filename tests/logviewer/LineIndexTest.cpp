#include "LineIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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
    [](const ::testing::TestParamInfo<IndexCase>& test) { return test.param.name; });

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

namespace reda {
namespace {

// The end of a log is indexed first so its last screen shows at once; the start is indexed
// after and the two joined. That must give exactly the index made from the start, wherever
// the tail begins and whatever line ends the log holds.
TEST(LineIndex, EndFirstThenJoinedEqualsFromTheStart) {
    const std::vector<std::string> pieces{"a", "bc", " ", "\n", "\r\n", "\r", "\r\r", "\n\n", "x"};
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        std::string data;
        for (unsigned n = static_cast<unsigned>(random() % 60); n-- > 0;) {
            data += pieces[random() % pieces.size()];
        }
        LineIndex forward;
        forward.extend(data);
        for (const std::size_t lines : {std::size_t{1}, std::size_t{3}, std::size_t{1000}}) {
            for (const std::size_t reach : {std::size_t{4}, std::size_t{1} << 20}) {
                const std::uint64_t start = LineIndex::tailStart(data, lines, reach);
                ASSERT_LE(start, data.size());
                LineIndex tail;
                tail.startAt(start);
                tail.extend(data);
                LineIndex head;
                const std::uint64_t headEnd = LineIndex::headEnd(data, start);
                for (std::uint64_t cut = 1; cut <= headEnd; cut += 1 + random() % 7) {
                    head.extend(std::string_view(data).substr(0, cut));
                }
                head.extend(std::string_view(data).substr(0, headEnd));
                head.join(tail);
                const std::string where = "seed " + std::to_string(seed) + ", tail at " +
                                          std::to_string(start) + " of " +
                                          std::to_string(data.size());
                ASSERT_EQ(starts(head), starts(forward)) << where;
                ASSERT_EQ(limits(head), limits(forward)) << where;
                ASSERT_EQ(head.completeLineCount(), forward.completeLineCount()) << where;
                ASSERT_EQ(head.scannedEnd(), forward.scannedEnd()) << where;
                ASSERT_EQ(head.longestLine(), forward.longestLine()) << where;

                // The tail holds the lines asked for (all but the first when fewer), each
                // starting where the full
                // index has one.
                const std::vector<std::uint64_t> all = starts(forward);
                for (const std::uint64_t s : starts(tail)) {
                    ASSERT_TRUE(std::find(all.begin(), all.end(), s) != all.end()) << where;
                }
                if (start > 0 && reach > data.size()) {
                    ASSERT_GE(tail.lineCount(), std::min(lines, forward.lineCount() - 1)) << where;
                }
            }
        }
    }
}

TEST(LineIndex, TailStartTable) {
    EXPECT_EQ(LineIndex::tailStart("", 5, 100), 0u);
    EXPECT_EQ(LineIndex::tailStart("one line", 5, 100), 0u);
    EXPECT_EQ(LineIndex::tailStart("a\nb\nc\n", 1, 100), 4u);
    EXPECT_EQ(LineIndex::tailStart("a\nb\nc\n", 2, 100), 2u);
    EXPECT_EQ(LineIndex::tailStart("a\r\nb", 1, 100), 3u);  // not between CR and LF
    EXPECT_EQ(LineIndex::tailStart("a\rb\rc", 1, 100), 4u);
    EXPECT_EQ(LineIndex::tailStart("a\nbbbbbbbb", 1, 4), 0u);  // no break within reach
    EXPECT_EQ(LineIndex::headEnd("a\rb", 2), 3u);
    EXPECT_EQ(LineIndex::headEnd("a\nb", 2), 2u);
}

}  // namespace
}  // namespace reda
