#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/LineReader.h"
#include "base/Paths.h"

namespace kestrune {
namespace {

#ifndef _WIN32
TEST(Paths, SlashIsTheOnlySeparator) {
    EXPECT_EQ(kPathSeparator, '/');
    EXPECT_EQ(FileNamePart("/home/u/a.map"), "a.map");
    EXPECT_EQ(FileNamePart("C:\\maps\\a.map"), "C:\\maps\\a.map");
    EXPECT_EQ(FolderPart("/home/u/a.map"), "/home/u/");
    EXPECT_EQ(FolderPart("a.map"), "");
    EXPECT_EQ(FolderWithoutSeparator("/home/u/a.map"), "/home/u");
    EXPECT_EQ(FolderWithoutSeparator("/a.map"), "");
    EXPECT_EQ(WithTrailingSeparator("/opt/k"), "/opt/k/");
    EXPECT_EQ(WithTrailingSeparator("/opt/k/"), "/opt/k/");
    EXPECT_EQ(WithTrailingSeparator(""), "/");
}
#endif

TEST(Paths, ExtensionAndBaseNameComeFromTheFileNameOnly) {
    struct Case {
        const char* path;
        const char* base;
        const char* ext;
    };
    const Case cases[] = {
        {"/w/level1.map", "level1", "map"}, {"/w/a.tar.gz", "a.tar", "gz"},
        {"/w/noext", "noext", ""},          {"/w/.cfg", "", "cfg"},
        {"/dir.d/file", "file", ""},        {"name.", "name", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BaseNamePart(c.path), c.base) << c.path;
        EXPECT_EQ(ExtensionWithoutDot(c.path), c.ext) << c.path;
    }
}

std::vector<std::string> Lines(std::string_view bytes) {
    LineReader reader(bytes);
    std::vector<std::string> lines;
    std::string line = "stale";
    while (reader.Next(line)) {
        lines.push_back(line);
    }
    EXPECT_TRUE(reader.AtEnd());
    return lines;
}

using L = std::vector<std::string>;

TEST(LineReader, PhysicalLines) {
    const std::pair<std::string, L> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\r\nc", {"a", "b", "c"}},
        {"a\rb\n", {"ab"}},
        {"a\r\r\nb", {"a", "b"}},
        {"\r", {""}},
        {"\n\n", {"", ""}},
        {"\r\n\r\n", {"", ""}},
        {"a\x1a"
         "b\nc\n",
         {"a"}},
        {"a\nb\x1a\nc", {"a", "b"}},
        {"\x1a"
         "a\n",
         {}},
        {std::string("a\0b\n\0", 5), {std::string("a\0b", 3), std::string(1, '\0')}},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(Lines(bytes), expected) << "bytes: " << ::testing::PrintToString(bytes);
    }
}

TEST(LineReader, HugeLineStaysWhole) {
    const std::string big(1 << 20, 'x');
    const L lines = Lines(big + "\r\nend");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], big);
    EXPECT_EQ(lines[1], "end");
}

}  // namespace
}  // namespace kestrune
