// Paths between REDA's text and the file system: names beyond ASCII and beyond the ANSI code
// page, one comparison of paths per platform, and --locations over such folders.

#include "NativePath.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "RedaSettings.h"
#include "Report.h"
#include "TempDir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace reda {
namespace {

namespace fs = std::filesystem;
using kestrune::testing::TempDir;

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// "Quellen-für-Jürgen" and Devanagari "क" in UTF-8, spelled out so the test reads the same
// whatever the compiler takes the source for.
const std::string kJuergen = "Quellen-f\xC3\xBCr-J\xC3\xBCrgen";
const std::string kKa = "\xE0\xA4\x95";

struct SameCase {
    const char* name;
    std::string a;
    std::string b;
    bool onWindows;
    bool elsewhere;
};

TEST(NativePath, SamePathIsTheFileSystemsOwnComparison) {
    const SameCase cases[] = {
        {"identical", "C:\\Logs", "C:\\Logs", true, true},
        {"letter case and separators", "C:\\Logs", "c:/logs/", true, false},
        {"a final separator", "C:\\Logs\\", "C:\\Logs", true, false},
        {"final separators", "C:/Logs//", "C:\\LOGS", true, false},
        {"a drive's root", "C:\\", "c:/", true, false},
        {"a root is not the drive's current folder", "C:\\", "C:", false, false},
        {"another folder", "C:\\Logs", "C:\\Logs2", false, false},
        {"a longer path", "C:\\Logs", "C:\\Logs\\a", false, false},
        {"POSIX paths", "/w/logs", "/w/logs", true, true},
        {"POSIX letter case", "/w/Logs", "/w/logs", true, false},
        {"POSIX final slash", "/w/logs/", "/w/logs", true, false},
        {"letters beyond ASCII", "D:\\" + kJuergen, "d:\\QUELLEN-F\xC3\x9CR-J\xC3\x9CRGEN\\", true,
         false},
        {"beyond the code page", "D:\\" + kKa, "d:/" + kKa + "/", true, false},
        {"other letters beyond ASCII", "D:\\" + kJuergen, "D:\\Quellen-fur-Jurgen", false, false},
        {"empty", "", "", true, true},
        {"empty and a root", "", "/", false, false},
    };
    for (const SameCase& c : cases) {
        const bool expected = kWindows ? c.onWindows : c.elsewhere;
        EXPECT_EQ(samePath(c.a, c.b), expected) << c.name;
        EXPECT_EQ(samePath(c.b, c.a), expected) << c.name << " (the other way round)";
    }
}

struct TextCase {
    const char* name;
    std::string text;
    std::wstring onWindows;  // the UTF-16 path; elsewhere the path is the text's bytes
    std::string back;        // the path as text again
};

TEST(NativePath, TextAndPathConvertWithoutTheCodePage) {
    const TextCase cases[] = {
        {"ASCII", "C:\\Logs\\build.log", L"C:\\Logs\\build.log", "C:\\Logs\\build.log"},
        {"in the code page", kJuergen + "/a.c", L"Quellen-f\u00fcr-J\u00fcrgen/a.c",
         kJuergen + "/a.c"},
        {"beyond the code page", "Logs-" + kKa, L"Logs-\u0915", "Logs-" + kKa},
        {"four bytes", "\xF0\x9F\x93\x9C.log", L"\U0001F4DC.log", "\xF0\x9F\x93\x9C.log"},
        // Not UTF-8: on Windows text of the code page (1252 where these tests run), as a caller
        // holding a path of the C runtime gives it.
        {"a byte of the code page", "a\xFF.log", L"a\u00FF.log",
         kWindows ? "a\xC3\xBF.log" : "a\xFF.log"},
        {"empty", "", L"", ""},
    };
    for (const TextCase& c : cases) {
        const fs::path path = pathOfText(c.text);
#ifdef _WIN32
        EXPECT_EQ(path.native(), c.onWindows) << c.name;
#else
        EXPECT_EQ(path.native(), c.text) << c.name;
#endif
        EXPECT_EQ(textOfPath(path), c.back) << c.name;
    }
#ifdef _WIN32
    // A lone surrogate, which a Windows name may hold, gives U+FFFD instead of an exception.
    EXPECT_EQ(textOfPath(fs::path(std::wstring(L"a\xD800z"))), "a\xEF\xBF\xBDz");
#endif
}

struct LogTextCase {
    const char* name;
    std::string text;
    std::wstring onWindows;
};

TEST(NativePath, ALogIsUtf8ElseTheCodePage) {
#ifdef _WIN32
    // The table's bytes of the code page are Windows-1252's, the Western desktop the tests
    // run on.
    ASSERT_EQ(GetACP(), 1252u);
#endif
    const LogTextCase cases[] = {
        {"UTF-8", kJuergen + ".c", L"Quellen-f\u00fcr-J\u00fcrgen.c"},
        {"UTF-8 beyond the code page", kKa + ".c", L"\u0915.c"},
        {"the code page", "K\xF6ln\\\x80.c", L"K\u00f6ln\\\u20ac.c"},
        {"ASCII", "src/main.c", L"src/main.c"},
    };
    for (const LogTextCase& c : cases) {
#ifdef _WIN32
        EXPECT_EQ(pathOfLogText(c.text).native(), c.onWindows) << c.name;
#else
        EXPECT_EQ(pathOfLogText(c.text).native(), c.text) << c.name;
#endif
    }
}

TEST(NativePath, TheEnvironmentIsText) {
    // Set through the same kind of call a shell makes, then read as REDA reads it.
#ifdef _WIN32
    ASSERT_EQ(_wputenv_s(L"REDA_TEST_FOLDER", L"C:\\Quellen-f\u00fcr-J\u00fcrgen\\\u0915"), 0);
#else
    ASSERT_EQ(setenv("REDA_TEST_FOLDER", ("/" + kJuergen + "/" + kKa).c_str(), 1), 0);
#endif
    EXPECT_EQ(environmentText("REDA_TEST_FOLDER"),
              kWindows ? "C:\\" + kJuergen + "\\" + kKa : "/" + kJuergen + "/" + kKa);
    EXPECT_EQ(environmentText("REDA_TEST_NOT_SET_ANYWHERE"), std::nullopt);
}

// The source folder and the recent logs by that comparison: one entry per folder.
TEST(NativePath, SettingsKeepOneEntryPerPath) {
    RedaSettings settings;
    setSourceRoot(settings, "C:\\Logs", "D:\\Src");
    setSourceRoot(settings, "c:/logs/", "D:\\" + kJuergen);
    EXPECT_EQ(sourceRootFor(settings, "C:\\LOGS"), kWindows ? "D:\\" + kJuergen : "");
    EXPECT_EQ(sourceRootFor(settings, "c:/logs/"), "D:\\" + kJuergen);
    EXPECT_EQ(settings.sourceFolders.size(), kWindows ? 1u : 2u);

    rememberLog(settings, "C:\\Logs\\build.log");
    rememberLog(settings, "c:/logs/BUILD.LOG");
    using Logs = std::vector<std::string>;
    const Logs recent =
        kWindows ? Logs{"c:/logs/BUILD.LOG"} : Logs{"c:/logs/BUILD.LOG", "C:\\Logs\\build.log"};
    EXPECT_EQ(settings.recentLogs, recent);

    // Read back, the file's duplicates are dropped the same way: the first one stays.
    TempDir dir;
    const RedaSettings read =
        readSettings(dir.Write("REDA.ini",
                               "[REDA]\r\nRecent1 = C:\\Logs\\a.log\r\nRecent2 = c:/LOGS/A.log\r\n"
                               "SourceFor1 = C:\\Logs\r\nSourceRoot1 = D:\\One\r\n"
                               "SourceFor2 = c:/logs/\r\nSourceRoot2 = D:\\Two\r\n"));
    EXPECT_EQ(read.recentLogs.size(), kWindows ? 1u : 2u);
    EXPECT_EQ(read.sourceFolders.size(), kWindows ? 1u : 2u);
    EXPECT_EQ(sourceRootFor(read, "C:\\Logs"), "D:\\One");
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good());
}

// --locations over a log folder and a source folder named beyond the code page: the links
// resolve into them and print as UTF-8, byte for byte.
TEST(NativePath, LocationsResolveIntoFoldersBeyondTheCodePage) {
    TempDir dir;
    const fs::path base = pathOfText(dir.path()).lexically_normal();
    const fs::path logs = base / pathOfText("Logs-" + kKa);
    const fs::path sources = base / pathOfText(kJuergen);
    writeBytes(logs / "build.log", "src/main.c:3:7: error: missing\n" + kKa +
                                       ".c:2: warning: odd\nK\xF6ln.c:4: error: old\n");
    writeBytes(sources / "src" / "main.c", "");
    writeBytes(logs / pathOfText(kKa + ".c"), "");
    writeBytes(logs / pathOfText("K\xC3\xB6ln.c"), "");

    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(writeLocations(logs / "build.log", sources, out, err), 0) << err.str();
    const std::string sep = kWindows ? "\\" : "/";
    const std::string logsText = textOfPath(logs);
    // A log line in the code page names the file its UTF-16 name holds on Windows; elsewhere
    // the name is the line's bytes.
    const std::string koeln = kWindows ? "K\xC3\xB6ln.c" : "K\xF6ln.c";
    EXPECT_EQ(out.str(), "1\t" + textOfPath(sources) + sep + "src" + sep + "main.c\t3\t7\n" +
                             "2\t" + logsText + sep + kKa + ".c\t2\n" + "3\t" + logsText + sep +
                             koeln + "\t4\n");
    EXPECT_EQ(err.str(), "");

    std::ostringstream none;
    EXPECT_EQ(writeProblems(logs / pathOfText("nichts-" + kKa + ".log"), {}, out, none), 1);
    EXPECT_EQ(none.str(), "REDA: " + logsText + sep + "nichts-" + kKa + ".log: no such file\n");
}

}  // namespace
}  // namespace reda
