#include "base/Text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kestrune {
namespace {

TEST(Text, TrimStripsEveryByteUpToBlankButKeepsHighBytes) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Trim(std::string("\x01\x1f x\0 ", 6)), "x");
    EXPECT_EQ(Trim("\x7f"
                   "a"
                   "\xa0"),
              "\x7f"
              "a"
              "\xa0");
    EXPECT_EQ(Trim(" \t\r\n\x1a "), "");
    EXPECT_EQ(Trim(""), "");
}

TEST(Text, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_EQ(LowerAscii("ABC xyz @[`{ 09"), "abc xyz @[`{ 09");
    EXPECT_EQ(LowerAscii("\xC4\xD6\xDC"), "\xC4\xD6\xDC");
    EXPECT_TRUE(EqualsNoCase("SetUp", "setup"));
    EXPECT_FALSE(EqualsNoCase("\xC4", "\xE4"));
    EXPECT_FALSE(EqualsNoCase("setup", "setups"));
    EXPECT_TRUE(IsTrueFlag("tRUe"));
    EXPECT_FALSE(IsTrueFlag("1"));
    EXPECT_FALSE(IsTrueFlag("yes"));
    EXPECT_FALSE(IsTrueFlag(" true"));
}

TEST(Text, FindNoCase) {
    EXPECT_EQ(FindNoCase("Hello World", "WORLD"), 6u);
    EXPECT_EQ(FindNoCase("abcABC", "abc", 1), 3u);
    EXPECT_EQ(FindNoCase("abc", "abcd"), std::string_view::npos);
    EXPECT_EQ(FindNoCase("abc", "x"), std::string_view::npos);
    EXPECT_EQ(FindNoCase("abc", "c", 5), std::string_view::npos);
    EXPECT_EQ(FindNoCase("abc", "", 2), 2u);
    EXPECT_TRUE(ContainsNoCase("$REDA.exe", "$reda"));
}

struct FindCase {
    std::string_view haystack;
    std::string_view needle;
    std::size_t from;
    std::size_t expected;
};

// Needles that begin with a byte other than a letter ("$", a digit, a byte from 0x80 up) are
// looked for by that byte alone; each must still give the first match at or after `from`.
TEST(Text, FindNoCaseWithANeedleThatBeginsWithOtherThanALetter) {
    constexpr std::size_t npos = std::string_view::npos;
    const FindCase cases[] = {
        {"$FileName $filename", "$FILENAME", 0, 0},
        {"$FileName $filename", "$FILENAME", 1, 10},
        {"$File$FileName", "$FileName", 0, 5},
        {"$Fil", "$FileName", 0, npos},
        {"$$$x", "$x", 0, 2},
        {"a$b$B", "$b", 2, 3},
        {"x$", "$", 0, 1},
        {"x$", "$", 2, npos},
        {"x$", "$", 7, npos},
        {"12a 12A", "2A", 0, 1},
        {"12a 12A", "2A", 2, 5},
        {"\xC4\xE4 \xC4X", "\xC4x", 0, 3},
        {"\xC4\xE4", "\xE4", 0, 1},
        {"\xE4\xE4", "\xC4", 0, npos},
        {"[A]", "]", 0, 2},
        {std::string_view("@\0@\0b", 5), std::string_view("\0B", 2), 0, 3},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(FindNoCase(c.haystack, c.needle, c.from), c.expected)
            << "\"" << c.haystack << "\" for \"" << c.needle << "\" from " << c.from;
    }
}

TEST(Text, TrimBlanksTakesOnlyBlanksAndTabs) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"  a b \t", "a b"},
        {"\t\tclick Run\t ", "click Run"},
        {"\r\nkeep\r\n", "\r\nkeep\r\n"},
        {" \x01x\x01 ", "\x01x\x01"},
        {" \xA0x\xA0 ", "\xA0x\xA0"},
        {" \t \t", ""},
        {"", ""},
        {"x", "x"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(TrimBlanks(text), expected) << "\"" << text << "\"";
    }
}

TEST(Text, ReplaceAllNoCaseDoesNotRescanInsertedText) {
    EXPECT_EQ(ReplaceAllNoCase("aAa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAllNoCase("ab", "a", "ba"), "bab");
    EXPECT_EQ(ReplaceAllNoCase("$filepath/$FILEPATH.x", "$FilePath", "/d"), "/d//d.x");
    EXPECT_EQ(ReplaceAllNoCase("$File$FileName", "$FileName", "n"), "$Filen");
    EXPECT_EQ(ReplaceAllNoCase("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAllNoCase("abc", "B", ""), "ac");
}

struct IntegerCase {
    const char* text;
    std::optional<std::int32_t> expected;
};

TEST(Text, ParseInteger) {
    const IntegerCase cases[] = {
        {"0", 0},
        {"-17", -17},
        {"+5", 5},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"$ff", 255},
        {"$7FFFFFFF", 2147483647},
        {"$FFFFFFFF", -1},
        {"-$10", -16},
        {"$100000000", std::nullopt},
        {"$", std::nullopt},
        {"$g", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"12a", std::nullopt},
        {"0x10", std::nullopt},
        {"--1", std::nullopt},
        {"+-1", std::nullopt},
        {"1.0", std::nullopt},
        {"1e3", std::nullopt},
    };
    for (const IntegerCase& c : cases) {
        EXPECT_EQ(ParseInteger(c.text), c.expected) << "text: " << c.text;
    }
    EXPECT_EQ(IntegerOr("word", 1), 1);
    EXPECT_EQ(IntegerOr("-3", 1), -3);
}

struct RealCase {
    const char* text;
    std::optional<double> expected;
};

TEST(Text, ParseRealAcceptsPlainDecimalsOnly) {
    const RealCase cases[] = {
        {"2.5", 2.5},
        {"-0.5", -0.5},
        {"+3", 3.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e3", 1000.0},
        {"1E-3", 0.001},
        {"1e+20", 1e20},
        {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {"1.7e308", 1.7e308},
        {"inf", std::nullopt},
        {"-INF", std::nullopt},
        {"nan", std::nullopt},
        {"Infinity", std::nullopt},
        {"0x1p3", std::nullopt},
        {"0x10", std::nullopt},
        {"1e400", std::nullopt},
        {"1,5", std::nullopt},
        {"1.5x", std::nullopt},
        {"1.2.3", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"e5", std::nullopt},
        {"1e", std::nullopt},
        {"+-1", std::nullopt},
        {"-+1", std::nullopt},
        {"$10", std::nullopt},
    };
    for (const RealCase& c : cases) {
        EXPECT_EQ(ParseReal(c.text), c.expected) << "text: " << c.text;
    }
}

TEST(Text, FormatRealUsesFifteenSignificantDigits) {
    const std::pair<double, const char*> cases[] = {
        {2.5, "2.5"},
        {3.0, "3"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"},
        {128.0 / 255.0, "0.501960784313725"},
        {51.0 / 255.0, "0.2"},
        {0.0001, "0.0001"},
        {1e-5, "1e-05"},
        {1e20, "1e+20"},
        {123456789012345678.0, "1.23456789012346e+17"},
        {-1234.5, "-1234.5"},
        {1.7e308, "1.7e+308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247e-324"},
    };
    for (const auto& [value, expected] : cases) {
        const std::string text = FormatReal(value);
        EXPECT_EQ(text, expected);
        // Whatever the notation, the number must read back.
        EXPECT_TRUE(ParseReal(text).has_value()) << text;
    }
}

TEST(Text, FormatRealIgnoresTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"};
    bool switched = false;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            switched = true;
            break;
        }
    }
    if (!switched) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const std::string text = FormatReal(2.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "2.5");
}

TEST(Text, ParseBoolean) {
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {"True", true},        {"FALSE", false},   {"1", true},
        {"0", false},          {"-1", true},       {"0.0", false},
        {"yes", std::nullopt}, {"", std::nullopt}, {"$1", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseBoolean(text), expected) << "text: " << text;
    }
}

TEST(Text, SplitAtEqualsSplitsAtTheFirstEquals) {
    std::string key = "old";
    std::string value = "old";
    ASSERT_TRUE(SplitAtEquals("  PaRaM \t=  -D X=1 ", key, value));
    EXPECT_EQ(key, "param");
    EXPECT_EQ(value, "-D X=1");
    ASSERT_TRUE(SplitAtEquals("=x", key, value));
    EXPECT_EQ(key, "");
    EXPECT_EQ(value, "x");
    ASSERT_TRUE(SplitAtEquals("Name=", key, value));
    EXPECT_EQ(key, "name");
    EXPECT_EQ(value, "");
    key = "kept";
    value = "kept";
    EXPECT_FALSE(SplitAtEquals("setup Demo", key, value));
    EXPECT_EQ(key, "kept");
    EXPECT_EQ(value, "kept");
}

}  // namespace
}  // namespace kestrune
