#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "base/NullPlatform.h"
#include "specification/SpecReader.h"

namespace kestrune {
namespace {

using testing::FakePlatform;
using testing::RecordedMessage;

struct LinesCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << c.name;
}

class SpecLineReaderLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(SpecLineReaderLines, CutsCommentsTrimsAndCountsEveryPhysicalLine) {
    const LinesCase& c = GetParam();
    std::int32_t counter = 0;
    SpecLineReader reader(c.bytes, counter);
    std::vector<std::string> lines;
    std::string line = "stale";
    while (reader.ReadSpecLine(line)) {
        lines.push_back(line);
        EXPECT_EQ(counter, static_cast<std::int32_t>(lines.size()));
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(counter, static_cast<std::int32_t>(c.lines.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, SpecLineReaderLines,
    ::testing::Values(
        LinesCase{"Empty", "", {}},
        LinesCase{"TrailingComment", "param = -v   // verbose\r\n", {"param = -v"}},
        LinesCase{"CommentOnlyAndBlanks", "// note\r\n \t \r\nx=1\r\n", {"", "", "x=1"}},
        LinesCase{"FirstDoubleSlashCuts", "link = www.a.org//x // y\n", {"link = www.a.org"}},
        LinesCase{"SingleSlashStays", "a = b/c\n", {"a = b/c"}},
        LinesCase{"LfAndCrLfAgree", "a\nb\r\nc", {"a", "b", "c"}},
        LinesCase{"LoneCrIsDropped", "a\rb\rc\n", {"abc"}},
        LinesCase{
            "ControlCharsTrimmed", "\x01\tx = 1\x1f\n\x7f x \x7f\n", {"x = 1", "\x7f x \x7f"}},
        LinesCase{"CtrlZEndsFile", "a\r\nb\x1a\r\nc\r\n", {"a", "b"}},
        LinesCase{"NulIsOrdinaryByte", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
        LinesCase{"FinalBlankLineCounts", "a\n\n", {"a", ""}}),
    [](const auto& test) { return test.param.name; });

TEST(SpecLineReader, ReadNonEmptyLineSkipsButStillCounts) {
    std::int32_t counter = 5;  // the reader does not reset the shared counter itself
    SpecLineReader reader("\n  // c\n\nkey = v\n\n", counter);
    std::string line;
    ASSERT_TRUE(reader.ReadNonEmptyLine(line));
    EXPECT_EQ(line, "key = v");
    EXPECT_EQ(counter, 9);
    EXPECT_FALSE(reader.ReadNonEmptyLine(line));
    EXPECT_EQ(counter, 10);
}

struct SplitCase {
    const char* line;
    const char* key;
    const char* value;
};

TEST(SplitKeyValue, SplitsAtFirstEqualsFoldsKeyKeepsValueCase) {
    const SplitCase cases[] = {
        {"Author = John Smith", "author", "John Smith"},
        {"\tPARAM\t=\t-DNAME=1 ", "param", "-DNAME=1"},
        {"=value", "", "value"},
        {"key=", "key", ""},
        {"ÄKey = x", "Äkey", "x"},  // only ASCII letters fold
    };
    FakePlatform fake;
    for (const SplitCase& c : cases) {
        std::string key;
        std::string value;
        EXPECT_TRUE(SplitKeyValue(fake, c.line, 1, key, value)) << c.line;
        EXPECT_EQ(key, c.key) << c.line;
        EXPECT_EQ(value, c.value) << c.line;
    }
    EXPECT_TRUE(fake.messages.empty());
}

TEST(SplitKeyValue, LineWithoutEqualsShowsMessageAndKeepsKeyAndValue) {
    FakePlatform fake;
    std::string key = "old";
    std::string value = "kept";
    EXPECT_FALSE(SplitKeyValue(fake, "setup Demo", 3, key, value));
    EXPECT_EQ(key, "old");
    EXPECT_EQ(value, "kept");
    const std::vector<RecordedMessage> expected = {
        {"Kestrune Error", "Expected: \"=\", got: setup Demo\r\nLine: 3"}};
    EXPECT_EQ(fake.messages, expected);
}

TEST(SplitKeyValue, NoPlatformMeansNoMessageAndNoCrash) {
    std::string key;
    std::string value;
    EXPECT_FALSE(SplitKeyValue(SilentPlatform(), "{", 1, key, value));
}

TEST(IsElementKind, ExactlyTheSevenFoldedKeywords) {
    for (const char* kind :
         {"labelbox", "checkbox", "editbox", "combobox", "browsebox", "colorbox", "spaces"}) {
        EXPECT_TRUE(IsElementKind(kind)) << kind;
    }
    for (const char* other : {"", "label", "CheckBox", "checkbox ", "space", "group", "hint"}) {
        EXPECT_FALSE(IsElementKind(other)) << other;
    }
}

}  // namespace
}  // namespace kestrune
