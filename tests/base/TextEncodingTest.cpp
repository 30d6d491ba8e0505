// The core's text is UTF-8; the text files shared with the user's tools are the system's code
// page on Windows and bytes elsewhere; names the code page cannot hold stay names. On Windows
// these run on a Chinese desktop (code page 936, from LANG): every case knows its GBK bytes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "base/FileIo.h"
#include "base/ProgramFolder.h"
#include "base/TextEncoding.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kestrune {
namespace {

// A text as the core keeps it and as a Chinese Windows keeps it on disk.
struct Stored {
    const char* name;
    std::string utf8;
    std::string gbk;
};

// The bytes a shared file holds on this system.
std::string OnDisk(const Stored& text) {
#ifdef _WIN32
    return text.gbk;
#else
    return text.utf8;
#endif
}

class SharedText : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef _WIN32
        // Without the Chinese code page every case below would check another one.
        ASSERT_EQ(GetACP(), 936u) << "the test needs LANG=zh_CN.UTF-8 under Wine";
#endif
    }
};

const std::vector<Stored> kStoredTexts = {
    {"Ascii", "Setup = Demo\r\n", "Setup = Demo\r\n"},
    {"Chinese", "\xE8\xAE\xBE\xE7\xBD\xAE", "\xC9\xE8\xD6\xC3"},  // 设置
    {"MixedLines", "Title = \xE6\xA0\x87\xE9\xA2\x98\r\nTool = \xE7\xBC\x96\xE8\xAF\x91\r\n",
     "Title = \xB1\xEA\xCC\xE2\r\nTool = \xB1\xE0\xD2\xEB\r\n"},  // 标题, 编译
    {"PinyinLetter", "p\xC3\xA9", "p\xA8\xA6"},                   // pé: GBK holds é
    {"Empty", "", ""},
};

TEST_F(SharedText, ReadsAsUtf8AndWritesBackTheSameBytes) {
    for (const Stored& text : kStoredTexts) {
        EXPECT_EQ(SharedTextToUtf8(OnDisk(text)), text.utf8) << text.name;
        const std::optional<std::string> bytes = SharedTextFromUtf8(text.utf8);
        ASSERT_TRUE(bytes.has_value()) << text.name;
        EXPECT_EQ(*bytes, OnDisk(text)) << text.name;
    }
}

TEST_F(SharedText, AFileMarkedAsUtf8StaysUtf8) {
    const std::string marked = "\xEF\xBB\xBFSetup = \xE8\xAE\xBE\xE7\xBD\xAE\r\n";
    EXPECT_EQ(SharedTextToUtf8(marked), marked);
}

struct Unstorable {
    const char* name;
    std::string text;
    std::size_t line;
    std::string character;
    std::string lineText;
};

TEST_F(SharedText, ACharacterTheCodePageCannotHoldIsNamedNotGuessed) {
    const std::vector<Unstorable> cases = {
        {"Devanagari", "a\r\nb \xE0\xA4\x95 c\r\nd", 2, "\xE0\xA4\x95", "b \xE0\xA4\x95 c"},
        {"NAfterApostrophe", "\xC5\x89", 1, "\xC5\x89", "\xC5\x89"},
        // Windows would best-fit it to "a" without WC_NO_BEST_FIT_CHARS.
        {"UmlautOnLastLine", "x\nM\xC3\xA4rz", 2, "\xC3\xA4", "M\xC3\xA4rz"},
        {"AfterChinese", "\xE8\xAE\xBE\xE0\xA4\x95\r\n", 1, "\xE0\xA4\x95",
         "\xE8\xAE\xBE\xE0\xA4\x95"},
    };
    for (const Unstorable& c : cases) {
        UnstorableCharacter found;
        const std::optional<std::string> bytes = SharedTextFromUtf8(c.text, &found);
#ifdef _WIN32
        ASSERT_FALSE(bytes.has_value()) << c.name;
        EXPECT_EQ(found.line, c.line) << c.name;
        EXPECT_EQ(found.character, c.character) << c.name;
        EXPECT_EQ(found.lineText, c.lineText) << c.name;
#else
        // Files are bytes here: everything can be stored as it is.
        ASSERT_TRUE(bytes.has_value()) << c.name;
        EXPECT_EQ(*bytes, c.text) << c.name;
#endif
    }
}

TEST_F(SharedText, WritingAnUnstorableTextThrowsAndKeepsThePreviousFile) {
    testing::TempDir dir;
    const std::string path = dir.Write("Config/tools.path", "BasePath = C:\\old\r\n");
#ifdef _WIN32
    try {
        WriteSharedTextFile(path, "BasePath = C:\\\xE0\xA4\x95\r\n");
        FAIL() << "written";
    } catch (const IoError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot write file \"" + path +
                      "\". Line 1 holds \"\xE0\xA4\x95\", a character the system's code page "
                      "cannot hold: BasePath = C:\\\xE0\xA4\x95");
    }
    EXPECT_EQ(dir.Read(path), "BasePath = C:\\old\r\n");
#else
    WriteSharedTextFile(path, "BasePath = /\xE0\xA4\x95\n");
    EXPECT_EQ(dir.Read(path), "BasePath = /\xE0\xA4\x95\n");
#endif
}

TEST_F(SharedText, ReadAndWrittenThroughTheFilePair) {
    testing::TempDir dir;
    for (const Stored& text : kStoredTexts) {
        const std::string path = dir.Write(std::string(text.name) + ".zrs", OnDisk(text));
        EXPECT_EQ(ReadSharedTextFile(path), text.utf8) << text.name;
        WriteSharedTextFile(path, text.utf8);
        EXPECT_EQ(ReadFileBytes(path), OnDisk(text)) << text.name;
    }
}

TEST(Utf8, ValidityTable) {
    struct Case {
        const char* name;
        std::string text;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"Ascii", "abc", true},
        {"TwoBytes", "\xC3\xA9", true},
        {"ThreeBytes", "\xE8\xAE\xBE", true},
        {"FourBytes", "\xF0\x9F\x98\x80", true},
        {"LoneContinuation", "\x80", false},
        {"CutShort", "\xE8\xAE", false},
        {"OverlongSlash", "\xC0\xAF", false},
        {"OverlongThree", "\xE0\x80\xAF", false},
        {"Surrogate", "\xED\xA0\x80", false},
        {"PastTheLast", "\xF4\x90\x80\x80", false},
        {"GbkBytes", "\xC9\xE8\xD6\xC3", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.name;
    }
}

// Names the code page cannot hold, and names it can: each is a file like any other.
TEST_F(SharedText, FileNamesOutsideTheCodePageAreOpenedWrittenAndListed) {
    testing::TempDir dir;
    const std::vector<std::string> names = {
        "\xE0\xA4\x95",                       // क
        "\xC5\x89 \xE8\xAE\xBE\xE7\xBD\xAE",  // ŉ 设置
        "M\xC3\xA4rz",                        // März
    };
    for (const std::string& name : names) {
        const std::string folder = dir.path() + name;
        ASSERT_TRUE(EnsureFolder(folder)) << name;
        EXPECT_TRUE(FolderExists(folder)) << name;
        const std::string file = folder + "/" + name + ".txt";
        WriteFileReplacing(file, "bytes of " + name);
        EXPECT_TRUE(FileExists(file)) << name;
        EXPECT_EQ(ReadFileBytes(file), "bytes of " + name) << name;
        // What the file system lists reads back as the same UTF-8 name.
        std::vector<std::string> listed;
        for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(folder))) {
            listed.push_back(Utf8FromPath(entry.path().filename()));
        }
        EXPECT_EQ(listed, std::vector<std::string>{name + ".txt"}) << name;
        // A program folder of that name: its SpecFiles found, a file tried in it.
        EXPECT_FALSE(IsPortableFolder(folder)) << name;
        ASSERT_TRUE(EnsureFolder(folder + "/SpecFiles")) << name;
        EXPECT_TRUE(IsPortableFolder(folder)) << name;
    }
}

TEST_F(SharedText, APathInTheCodePageStillNamesItsFile) {
    // What std::filesystem::path::string() gives on Windows, from callers outside the core.
    testing::TempDir dir;
    const std::string file = dir.Write("\xE8\xAE\xBE\xE7\xBD\xAE.txt", "x");  // 设置.txt
    const std::string inCodePage = dir.path() + OnDisk(kStoredTexts[1]) + ".txt";
#ifdef _WIN32
    EXPECT_TRUE(FileExists(inCodePage));
    EXPECT_EQ(Utf8FromPath(PathFromUtf8(inCodePage)), file);
#else
    EXPECT_EQ(inCodePage, file);
    EXPECT_TRUE(FileExists(inCodePage));
#endif
}

TEST_F(SharedText, AToolsOutputIsReadAsUtf8OrElseInTheCodePage) {
    for (const Stored& text : kStoredTexts) {
        EXPECT_EQ(ToolOutputToUtf8(OnDisk(text)), text.utf8) << text.name;
        // Output that is UTF-8 already stays as it is.
        EXPECT_EQ(ToolOutputToUtf8(text.utf8), text.utf8) << text.name;
    }
}

}  // namespace
}  // namespace kestrune
