#include "RedaSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileSizeLimit.h"
#include "TempDir.h"
#include "base/FileIo.h"

namespace reda {
namespace {

using kestrune::testing::TempDir;
using Words = std::vector<std::string>;
using namespace std::string_literals;

struct BrokenCase {
    std::string name;
    std::string bytes;
};

class BrokenSettings : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenSettings, GiveTheDefaults) {
    TempDir dir;
    const RedaSettings read = readSettings(dir.Write("REDA.ini", GetParam().bytes));
    EXPECT_EQ(read, RedaSettings{});
    // The rule table decides; the user's own words and patterns start empty.
    EXPECT_EQ(read.words, HighlightWords{});
    EXPECT_TRUE(read.sourceFolders.empty());
}

INSTANTIATE_TEST_SUITE_P(
    RedaSettings, BrokenSettings,
    ::testing::Values(BrokenCase{"Empty", ""}, BrokenCase{"NoHeader", "ErrorWords = x\r\n"},
                      BrokenCase{"OtherHeader", "[Kestrune]\r\nErrorWords = x\r\n"},
                      BrokenCase{"Binary",
                                 "\x7f"
                                 "ELF\0\0\x01\xff\n[REDA]\nErrorWords=x"s},
                      BrokenCase{"HeaderOnly", "[REDA]\r\n"},
                      BrokenCase{
                          "BadValues",
                          "[REDA]\nMatchCase = maybe\nRecent0 = a\nRecent10 = b\nRecentX = c\n"}),
    [](const ::testing::TestParamInfo<BrokenCase>& test) { return test.param.name; });

TEST(RedaSettings, MissingFileGivesTheDefaults) {
    TempDir dir;
    EXPECT_EQ(readSettings(dir / "Config/REDA.ini"), RedaSettings{});
    EXPECT_EQ(readSettings(dir.path()), RedaSettings{});  // a folder
}

TEST(RedaSettings, ReadsKeysInAnyCaseWithLfOrCrLf) {
    TempDir dir;
    const RedaSettings read = readSettings(dir.Write("REDA.ini",
                                                     "\n[reda]\r\n"
                                                     "  errorwords =  Fehler ,, fatal,Fehler \r\n"
                                                     "WARNINGWORDS=\n"
                                                     "MatchCase = True\r\n"
                                                     "wholeword = 1\n"
                                                     "Geometry = AAEC==\n"
                                                     "Recent3 = /logs/c.log\n"
                                                     "Recent1 = /logs/a b.log\n"
                                                     "Recent2 = /logs/a b.log\n"
                                                     "Unknown = ignored\n"
                                                     "no equals sign\n"));
    EXPECT_EQ(read.words.errors, (Words{"Fehler", "fatal"}));
    EXPECT_EQ(read.words.warnings, Words{});
    EXPECT_TRUE(read.matchCase);
    EXPECT_TRUE(read.wholeWord);
    EXPECT_EQ(read.geometry, "AAEC==");
    EXPECT_EQ(read.recentLogs, (Words{"/logs/a b.log", "/logs/c.log"}));
}

TEST(RedaSettings, WritesCrLfKeyLinesAndReadsThemBack) {
    TempDir dir;
    RedaSettings settings;
    settings.geometry = "AdnQywAD";
    settings.words = HighlightWords{
        {"error", "Fehler"}, {}, {"^BUILD (BROKEN|FAILED)", "x=1, y"}, {"\\bslow\\b"}};
    settings.sourceFolders = {{"/w/logs", "/w/src/p-1.0"}, {"C:\\Logs", "D:\\Src"}};
    settings.wholeWord = true;
    settings.regex = true;
    settings.wrapLines = true;
    settings.recentLogs = {"/w/level1.log", "C:\\Work\\a b.log"};
    const std::string file = dir / "Config/REDA.ini";
    writeSettings(file, settings);
    EXPECT_EQ(dir.Read(file),
              "[REDA]\r\n"
              "Geometry = AdnQywAD\r\n"
              "ErrorWords = error, Fehler\r\n"
              "WarningWords = \r\n"
              "MatchCase = False\r\n"
              "WholeWord = True\r\n"
              "Regex = True\r\n"
              "WrapLines = True\r\n"
              "Recent1 = /w/level1.log\r\n"
              "Recent2 = C:\\Work\\a b.log\r\n"
              "ErrorPattern1 = ^BUILD (BROKEN|FAILED)\r\n"
              "ErrorPattern2 = x=1, y\r\n"
              "WarningPattern1 = \\bslow\\b\r\n"
              "SourceFor1 = /w/logs\r\n"
              "SourceRoot1 = /w/src/p-1.0\r\n"
              "SourceFor2 = C:\\Logs\r\n"
              "SourceRoot2 = D:\\Src\r\n");
    EXPECT_EQ(readSettings(file), settings);
}

// A file written when "error, fatal, failed" and "warning" were the defaults would mark every
// line naming error.c: those lists give way to the rule table. Other lists stay.
TEST(RedaSettings, TheOldDefaultWordsGiveWayToTheRules) {
    TempDir dir;
    const struct {
        std::string errors;
        std::string warnings;
        Words readErrors;
        Words readWarnings;
    } cases[] = {
        {"error, fatal, failed", "warning", {}, {}},
        {"error, fatal", "warning", {"error", "fatal"}, {"warning"}},
        {"error, fatal, failed", "warning, hmm", {"error", "fatal", "failed"}, {"warning", "hmm"}},
    };
    for (const auto& c : cases) {
        const RedaSettings read =
            readSettings(dir.Write("REDA.ini", "[REDA]\nErrorWords = " + c.errors +
                                                   "\nWarningWords = " + c.warnings + "\n"));
        EXPECT_EQ(read.words.errors, c.readErrors) << c.errors;
        EXPECT_EQ(read.words.warnings, c.readWarnings) << c.warnings;
    }
}

TEST(RedaSettings, SourceFoldersPerLogFolder) {
    RedaSettings settings;
    setSourceRoot(settings, "/w/logs", "/w/src");
    setSourceRoot(settings, "/w/other", "/w/o");
    setSourceRoot(settings, "/w/logs", "/w/src2");
    EXPECT_EQ(sourceRootFor(settings, "/w/logs"), "/w/src2");
    EXPECT_EQ(sourceRootFor(settings, "/w/other"), "/w/o");
    EXPECT_EQ(sourceRootFor(settings, "/w"), "");
    EXPECT_EQ(settings.sourceFolders,
              (std::vector<SourceFolder>{{"/w/logs", "/w/src2"}, {"/w/other", "/w/o"}}));
    setSourceRoot(settings, "/w/logs", "");
    EXPECT_EQ(sourceRootFor(settings, "/w/logs"), "");
    for (int i = 0; i < 100; ++i) {
        setSourceRoot(settings, "/l/" + std::to_string(i), "/s");
    }
    EXPECT_EQ(settings.sourceFolders.size(), kMaxSourceFolders);
    EXPECT_EQ(settings.sourceFolders.front().logFolder, "/l/99");
    // A half pair or a number out of range is left out when read.
    TempDir dir;
    const RedaSettings read =
        readSettings(dir.Write("REDA.ini",
                               "[REDA]\nSourceFor1 = /a\nSourceFor2 = /b\nSourceRoot2 = /bs\n"
                               "SourceFor65 = /c\nSourceRoot65 = /cs\nErrorPattern0 = x\n"));
    EXPECT_EQ(read.sourceFolders, (std::vector<SourceFolder>{{"/b", "/bs"}}));
    EXPECT_TRUE(read.words.errorPatterns.empty());
}

TEST(RedaSettings, AFailedWriteKeepsThePreviousFile) {
    TempDir dir;
    const std::string file = dir.Write("REDA.ini", "[REDA]\r\nErrorWords = kept\r\n");
    RedaSettings settings;
    settings.recentLogs.assign(9, std::string(200, 'p'));
    const std::string result = kestrune::testing::WithFileSizeLimit(512, [&] {
        try {
            writeSettings(file, settings);
        } catch (const kestrune::IoError& error) {
            return std::string("IoError: ") + error.what();
        }
        return std::string("written");
    });
    EXPECT_EQ(result.rfind("IoError: ", 0), 0u) << result;
    EXPECT_EQ(dir.Read(file), "[REDA]\r\nErrorWords = kept\r\n");
    EXPECT_EQ(readSettings(file).words.errors, Words{"kept"});
}

TEST(RedaSettings, AFileInPlaceOfTheFolderIsAnIoError) {
    TempDir dir;
    dir.Write("Config", "not a folder");
    EXPECT_THROW(writeSettings(dir / "Config/REDA.ini", RedaSettings{}), kestrune::IoError);
}

TEST(RedaSettings, RecentLogsMoveToTheFrontAndStayFew) {
    RedaSettings settings;
    for (int i = 1; i <= 11; ++i) {
        rememberLog(settings, "/l/" + std::to_string(i) + ".log");
    }
    rememberLog(settings, "/l/5.log");
    EXPECT_EQ(settings.recentLogs,
              (Words{"/l/5.log", "/l/11.log", "/l/10.log", "/l/9.log", "/l/8.log", "/l/7.log",
                     "/l/6.log", "/l/4.log", "/l/3.log"}));
}

TEST(RedaSettings, WordListsSplitAndJoin) {
    const std::vector<std::pair<std::string, Words>> cases{
        {"", {}},
        {" , ,", {}},
        {"error", {"error"}},
        {" a ,b,, c ", {"a", "b", "c"}},
        {"a,a,A", {"a", "A"}},
    };
    for (const auto& [text, words] : cases) {
        EXPECT_EQ(splitWords(text), words) << text;
    }
    EXPECT_EQ(joinWords({"error", "fatal"}), "error, fatal");
    EXPECT_EQ(joinWords({}), "");
}

}  // namespace
}  // namespace reda
