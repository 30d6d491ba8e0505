#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempDir.h"
#include "draft/HelpReader.h"

namespace kestrune {
namespace {

// Lines whose first visible character is a dash followed by a name: what a person counts as the
// help's option lines (a few are continuations; the table says which are expected to be lost).
std::vector<std::size_t> DashLines(const std::string& text) {
    std::vector<std::size_t> lines;
    std::size_t number = 0;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) {
            end = text.size();
        }
        ++number;
        const std::size_t first = text.find_first_not_of(" \t", from);
        if (first < end && first + 1 < end && text[first] == '-') {
            const char next = text[first + 1];
            if (std::isalnum(static_cast<unsigned char>(next)) || next == '-' || next == '?') {
                lines.push_back(number);
            }
        }
        from = end + 1;
    }
    return lines;
}

std::vector<std::size_t> OptionLines(const HelpText& help) {
    std::vector<std::size_t> lines;
    for (const HelpSection& section : help.sections) {
        for (const HelpOption& option : section.options) {
            lines.push_back(option.line);
        }
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

struct CountCase {
    const char* file;
    std::size_t options;  // options read
    // Dash lines that list an option again (sox's "--combine VALUE", ffmpeg's second listing):
    // folded into the option's first line.
    std::vector<std::size_t> repeats;
    // Dash lines that are no options: continued descriptions, a remark.
    std::vector<std::size_t> notOptions;
};

TEST(HelpReader, ReadsTheOptionLinesOfRealHelpTexts) {
    const std::vector<CountCase> cases{
        {"gzip.txt", 19, {}, {}},
        {"xz.txt", 15, {}, {}},
        {"sed.txt", 15, {}, {}},
        {"tar.txt", 159, {}, {37, 42, 74}},
        {"curl.txt", 248, {}, {}},
        {"pandoc.txt", 96, {}, {}},
        {"ffmpeg.txt", 86, {6, 7, 8, 98, 102}, {}},
        {"sox.txt", 44, {19, 30, 31, 32, 44}, {67}},
        {"ripgrep.txt", 99, {}, {}},
        {"python-json-tool.txt", 8, {}, {}},
        {"python-http-server.txt", 5, {}, {}},
        {"python-calendar.txt", 9, {}, {}},
        {"duf.txt", 18, {}, {}},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string text = testing::ReadFixture(std::string("help/") + c.file);
        const HelpText help = ReadHelpText(text);
        EXPECT_EQ(help.OptionCount(), c.options);
        std::vector<std::size_t> missed;
        const std::vector<std::size_t> read = OptionLines(help);
        for (std::size_t line : DashLines(text)) {
            if (!std::binary_search(read.begin(), read.end(), line)) {
                missed.push_back(line);
            }
        }
        std::vector<std::size_t> expected = c.repeats;
        expected.insert(expected.end(), c.notOptions.begin(), c.notOptions.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(missed, expected);
        // At least nine in ten of the lines a person sees as options are read as options.
        EXPECT_GE((help.OptionCount() + c.repeats.size()) * 10, DashLines(text).size() * 9);
    }
}

}  // namespace
}  // namespace kestrune
