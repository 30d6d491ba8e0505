#include "SourceLocation.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "TempDir.h"

namespace reda {
namespace {

struct LocationCase {
    std::string name;
    std::string line;
    std::optional<SourceLocation> found;
};

class FindLocation : public ::testing::TestWithParam<LocationCase> {};

TEST_P(FindLocation, PathLineColumnAndLinkBytes) {
    EXPECT_EQ(findLocation(GetParam().line), GetParam().found) << GetParam().line;
}

SourceLocation at(std::string path, std::string wide, std::size_t line, std::size_t column,
                  std::size_t begin, std::size_t end) {
    return SourceLocation{std::move(path), std::move(wide), line, column, begin, end};
}

INSTANTIATE_TEST_SUITE_P(
    SourceLocation, FindLocation,
    ::testing::Values(
        LocationCase{"Gcc", "src/a.c:12:5: error: x", at("src/a.c", "src/a.c", 12, 5, 0, 12)},
        LocationCase{"GccNoColumn", "a.c:7: warning: y", at("a.c", "a.c", 7, 0, 0, 5)},
        LocationCase{"Indented", "   ../lib/b.h:3:1: note",
                     at("../lib/b.h", "../lib/b.h", 3, 1, 3, 17)},
        LocationCase{"AbsoluteWindows", "C:\\src\\a.c:9:2: error",
                     at("C:\\src\\a.c", "C:\\src\\a.c", 9, 2, 0, 14)},
        LocationCase{"Blanks", "/home/a b/x.c:3:4: error",
                     at("b/x.c", "/home/a b/x.c", 3, 4, 8, 17)},
        LocationCase{"IncludedFrom", "In file included from src/m.h:2:",
                     at("src/m.h", "In file included from src/m.h", 2, 0, 22, 31)},
        LocationCase{"Msvc", "C:\\w\\a.cpp(12): error C2065: 'x'",
                     at("C:\\w\\a.cpp", "C:\\w\\a.cpp", 12, 0, 0, 13)},
        LocationCase{"MsvcColumn", "a.cpp(12,5) : warning C4100",
                     at("a.cpp", "a.cpp", 12, 5, 0, 10)},
        LocationCase{"MsvcBlanks", "C:\\My Files\\a.cpp(4): error",
                     at("Files\\a.cpp", "C:\\My Files\\a.cpp", 4, 0, 6, 19)},
        LocationCase{"MakeBracket", "make: *** [Makefile:12: all] Error 2",
                     at("Makefile", "make: *** [Makefile", 12, 0, 11, 22)},
        LocationCase{"Coloured", "\x1b[01m\x1b[Ksrc/a.c:3:5:\x1b[m\x1b[K \x1b[01;31merror",
                     at("src/a.c", "src/a.c", 3, 5, 8, 19)},
        LocationCase{"IncludedFromComma", "In file included from /usr/include/c++/12/map:61,",
                     at("/usr/include/c++/12/map", "In file included from /usr/include/c++/12/map",
                        61, 0, 22, 48)},
        LocationCase{"FromComma", "                 from tmpl.cpp:1,",
                     at("tmpl.cpp", "from tmpl.cpp", 1, 0, 22, 32)},
        LocationCase{"CMake", "CMake Error at CMakeLists.txt:26 (message):",
                     at("CMakeLists.txt", "CMakeLists.txt", 26, 0, 15, 32)},
        LocationCase{"CMakeDev", "CMake Warning (dev) at cmake/x.cmake:3 (include):",
                     at("cmake/x.cmake", "cmake/x.cmake", 3, 0, 23, 38)},
        LocationCase{"Python", "  File \"/w/my tools/gen_tables.py\", line 34, in build",
                     at("/w/my tools/gen_tables.py", "/w/my tools/gen_tables.py", 34, 0, 8, 43)},
        LocationCase{"PythonLineZero", "  File \"x.py\", line 0", std::nullopt},
        LocationCase{"Rust", " --> src/main.rs:3:21",
                     at("src/main.rs", "src/main.rs", 3, 21, 5, 21)},
        LocationCase{"Underscores", "pkg/__init__.py:4: error: x",
                     at("pkg/__init__.py", "pkg/__init__.py", 4, 0, 0, 17)},
        LocationCase{"Url", "see http://host:8080 for more", std::nullopt},
        LocationCase{"NoNumber", "note: see src/a.c for more", std::nullopt},
        LocationCase{"LineZero", "a.c:0: error", std::nullopt},
        LocationCase{"TimeIsNoLocation", "12:30:45 build started", std::nullopt},
        LocationCase{"Empty", "", std::nullopt}),
    [](const ::testing::TestParamInfo<LocationCase>& test) { return test.param.name; });

// A huge line is looked at only where a location can be: at its start.
TEST(SourceLocation, OnlyTheStartOfALongLineIsLookedAt) {
    const std::string filler(1 << 20, 'x');
    EXPECT_EQ(findLocation("a.c:3: error " + filler), at("a.c", "a.c", 3, 0, 0, 5));
    EXPECT_EQ(findLocation(filler + " a.c:3: error"), std::nullopt);
}

TEST(SourceLocation, ResolvesFromTheLogsFolder) {
    kestrune::testing::TempDir dir;
    dir.Write("build/sub/x.c", "int x;\n");
    dir.Write("with blank/y.c", "int y;\n");
    const std::filesystem::path folder = std::filesystem::path(dir.path()) / "build";
    const SourceLocation up = *findLocation("../build/sub/./x.c:3: error");
    const LinkContext context{folder, {}, {}, {}};
    EXPECT_EQ(resolveLocation(up, context), (folder / "sub/x.c").lexically_normal());
    const SourceLocation absolute = *findLocation("/usr/include/stdio.h:10:1: note");
    // On Windows a path rooted without a drive is on the log's drive.
    EXPECT_EQ(resolveLocation(absolute, context),
              std::filesystem::path(folder.root_name().string() + "/usr/include/stdio.h")
                  .make_preferred());
    // With blanks: the whole text when that file exists, else its last word.
    const SourceLocation wide = *findLocation("../with blank/y.c:2: error");
    EXPECT_EQ(resolveLocation(wide, context),
              (std::filesystem::path(dir.path()) / "with blank/y.c").lexically_normal());
    const SourceLocation included = *findLocation("In file included from sub/x.c:2:");
    EXPECT_EQ(resolveLocation(included, context), (folder / "sub/x.c").lexically_normal());
}

struct EditorCase {
    std::string visual;
    std::string editor;
    std::optional<EditorCommand> command;
};

class Editor : public ::testing::TestWithParam<EditorCase> {};

TEST_P(Editor, CommandForTheLine) {
    EXPECT_EQ(editorCommand(GetParam().visual, GetParam().editor, "/w/a.c", 12, 5),
              GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(
    SourceLocation, Editor,
    ::testing::Values(EditorCase{"", "", std::nullopt}, EditorCase{"  ", "", std::nullopt},
                      EditorCase{"", "vim", EditorCommand{"vim", {"+12", "/w/a.c"}}},
                      EditorCase{"gvim -f", "nano", EditorCommand{"gvim", {"-f", "+12", "/w/a.c"}}},
                      EditorCase{"/usr/bin/emacsclient -c", "",
                                 EditorCommand{"/usr/bin/emacsclient", {"-c", "+12", "/w/a.c"}}},
                      EditorCase{"code --wait", "",
                                 EditorCommand{"code", {"--wait", "-g", "/w/a.c:12:5"}}},
                      EditorCase{"kate", "", EditorCommand{"kate", {"-l", "12", "/w/a.c"}}},
                      EditorCase{"", "mousepad", EditorCommand{"mousepad", {"/w/a.c"}}}));

}  // namespace
}  // namespace reda
