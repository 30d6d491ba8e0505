// How a relative path in a log finds its file: make's and ninja's directories, the log's
// folder, the folders above it up to the source folder, and backslashes off Windows.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "LogFile.h"
#include "Report.h"
#include "SourceLocation.h"
#include "TempDir.h"

namespace reda {
namespace {

namespace fs = std::filesystem;

// A path of the table as REDA shows and opens it: with the system's separator, and on Windows a
// path rooted without a drive on the drive of `onDrive` (the log's).
std::string Shown(const std::string& path, const fs::path& onDrive = {}) {
    if (path.empty()) {
        return path;
    }
    fs::path shown(path);
    if (!shown.has_root_name() && shown.has_root_directory()) {
        shown = fs::path(onDrive.root_name().string() + path);
    }
    return shown.make_preferred().string();
}

struct ChangeCase {
    std::string line;
    std::optional<DirectoryChange> change;
};

TEST(Directory, ChangesMakeAndNinjaAnnounce) {
    const ChangeCase cases[] = {
        {"make[1]: Entering directory '/w/p/lib'", DirectoryChange{true, "/w/p/lib"}},
        {"make[12]: Leaving directory '/w/p/lib'", DirectoryChange{false, "/w/p/lib"}},
        {"make: Entering directory `/old/make'", DirectoryChange{true, "/old/make"}},
        {"gmake[2]: Entering directory '/w/with blank'", DirectoryChange{true, "/w/with blank"}},
        {"/usr/bin/make[1]: Entering directory '/w'", DirectoryChange{true, "/w"}},
        {"ninja: Entering directory `out'", DirectoryChange{true, "out"}},
        {"make[1]: Entering directory ''", std::nullopt},
        {"+ echo make[1]: Entering directory '/x'", std::nullopt},
        {"Entering directory /x", std::nullopt},
        {"", std::nullopt},
    };
    for (const ChangeCase& c : cases) {
        EXPECT_EQ(directoryChange(c.line), c.change) << c.line;
    }
}

TEST(Directory, TrailFollowsEnteringAndLeaving) {
    DirectoryTrail trail("/logs");
    struct Step {
        std::string line;
        std::string current;
        std::string last;
    };
    const Step steps[] = {
        {"cc -c a.c", "", ""},
        {"make[1]: Entering directory '/w/p/lib'", "/w/p/lib", "/w/p/lib"},
        {"make[2]: Entering directory '/w/p/lib/sub'", "/w/p/lib/sub", "/w/p/lib/sub"},
        {"make[2]: Leaving directory '/w/p/lib/sub'", "/w/p/lib", "/w/p/lib/sub"},
        {"make[1]: Leaving directory '/w/p/lib'", "", "/w/p/lib/sub"},
        {"ninja: Entering directory `out'", "/logs/out", "/logs/out"},
        {"ninja: Entering directory `../x/./y'", "/logs/x/y", "/logs/x/y"},
        {"make[1]: Leaving directory '/never/entered'", "/logs/out", "/logs/x/y"},
    };
    for (const Step& step : steps) {
        trail.observe(step.line);
        EXPECT_EQ(trail.current(), fs::path(step.current)) << step.line;
        EXPECT_EQ(trail.lastEntered(), fs::path(step.last)) << step.line;
    }
}

struct ResolveCase {
    std::string name;
    std::string line;
    LinkContext context;
    std::set<std::string> files;  // what exists
    std::string resolved;
};

TEST(Directory, ResolvesAsTheBuildDid) {
    const ResolveCase cases[] = {
        {"EnteredFolderFirst",
         "strbuf.c:2:35: error: x",
         {"/w/logs", "/w/p/lib", "/w/p/lib", {}},
         {"/w/p/lib/strbuf.c", "/w/logs/strbuf.c"},
         "/w/p/lib/strbuf.c"},
        {"MakefileOfTheSubMake",
         "make[1]: *** [Makefile:8: path.o] Error 1",
         {"/w/p", "/w/p/lib", "/w/p/lib", {}},
         {"/w/p/Makefile", "/w/p/lib/Makefile"},
         "/w/p/lib/Makefile"},
        {"LogFolderWhenNoneEntered",
         "make: *** [Makefile:3: all] Error 2",
         {"/w/p", "", "/w/p/lib", {}},
         {"/w/p/Makefile", "/w/p/lib/Makefile"},
         "/w/p/Makefile"},
        {"LastEnteredForALogBesideTheSource",
         "make: *** [debian/rules:3: build] Error 25",
         {"/w", "", "/w/pkg-1.0", {}},
         {"/w/pkg-1.0/debian/rules"},
         "/w/pkg-1.0/debian/rules"},
        {"ParentsUpToTheSourceFolder",
         "src/a.c:1:1: error: x",
         {"/w/p/build/debug", "", "", "/w/p"},
         {"/w/p/src/a.c"},
         "/w/p/src/a.c"},
        {"NoParentsWithoutASourceFolder",
         "CMakeLists.txt:3:1: error: x",
         {"/w/p/build", "", "", {}},
         {"/w/p/CMakeLists.txt"},
         "/w/p/build/CMakeLists.txt"},
        {"SourceFolderBesideTheLog",
         "src/a.c:1:1: error: x",
         {"/w/logs", "", "", "/w/p-1.0"},
         {"/w/p-1.0/src/a.c"},
         "/w/p-1.0/src/a.c"},
        {"NothingThereGivesTheFirstPlace",
         "src/a.c:1:1: error: x",
         {"/w/logs", "/w/p", "/w/p", "/w/src"},
         {},
         "/w/p/src/a.c"},
        {"Absolute",
         "/usr/include/stdio.h:3:1: note: x",
         {"/w", "/w/p", "/w/p", {}},
         {},
         "/usr/include/stdio.h"},
#ifndef _WIN32
        {"BackslashesAreSlashes",
         "src\\util\\a.cpp(7): warning C4101: x",
         {"/w", "", "", {}},
         {"/w/src/util/a.cpp"},
         "/w/src/util/a.cpp"},
        {"DriveIsNotJoined",
         "C:\\src\\demo\\main.cpp(12): error C2065: x",
         {"/w", "", "", {}},
         {},
         "C:/src/demo/main.cpp"},
#endif
        {"DotsTakenOut",
         "../helper.c:1:27: error: x",
         {"/w/p", "/w/p/out", "/w/p/out", {}},
         {"/w/p/helper.c"},
         "/w/p/helper.c"},
    };
    for (const ResolveCase& c : cases) {
        const std::optional<SourceLocation> location = findLocation(c.line);
        ASSERT_TRUE(location) << c.name;
        const fs::path resolved = resolveLocation(*location, c.context, [&](const fs::path& path) {
            // The table names files the POSIX way; on Windows the lookup gets "\\".
            return c.files.count(path.generic_string()) > 0;
        });
        EXPECT_EQ(resolved.string(), Shown(c.resolved)) << c.name;
    }
}

// The window's context: the directories above the clicked line, read from the log itself.
TEST(Directory, ContextAtALineOfTheLog) {
    kestrune::testing::TempDir dir;
    const std::string path = dir.Write("build.log",
                                       "make -C lib\n"                             // 0
                                       "make[1]: Entering directory '/w/p/lib'\n"  // 1
                                       "strbuf.c:2:35: error: x\n"                 // 2
                                       "make[1]: Leaving directory '/w/p/lib'\n"   // 3
                                       "make: *** [Makefile:2: all] Error 2\n");   // 4
    LogFile log;
    log.setPath(path);
    log.poll();
    const fs::path folder = fs::path(path).parent_path();
    struct At {
        std::size_t line;
        std::string current;
        std::string last;
    };
    for (const At& at :
         {At{0, "", ""}, At{1, "", ""}, At{2, "/w/p/lib", "/w/p/lib"}, At{4, "", "/w/p/lib"}}) {
        const LinkContext context = linkContextAt(log, at.line, "/w");
        EXPECT_EQ(context.logFolder, folder);
        EXPECT_EQ(context.sourceRoot, fs::path("/w"));
        EXPECT_EQ(context.current, fs::path(Shown(at.current, folder))) << at.line;
        EXPECT_EQ(context.lastEntered, fs::path(Shown(at.last, folder))) << at.line;
    }
}

// The command line's answers for scripts, byte for byte.
TEST(Directory, ReportsForScripts) {
    kestrune::testing::TempDir dir;
    const std::string path = dir.Write(
        "build.log",
        "make[1]: Entering directory '/w/p/lib'\n"
        "\x1b[01m\x1b[Kstrbuf.c:2:35:\x1b[m\x1b[K \x1b[01;31m\x1b[Kerror: \x1b[m\x1b[Kx\r\n"
        "make[1]: Leaving directory '/w/p/lib'\n"
        "In file included from /usr/include/stdio.h:27,\n"
        "a.py:3: UserWarning: old");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(writeProblems(path, HighlightWords{}, out, err), 0);
    EXPECT_EQ(out.str(),
              "2\terror\tstrbuf.c:2:35: error: x\n5\twarning\ta.py:3: UserWarning: old\n");
    out.str("");
    EXPECT_EQ(writeLocations(path, {}, out, err, [](const fs::path&) { return false; }), 0);
    const fs::path folder = fs::path(path).parent_path();
    EXPECT_EQ(out.str(), "2\t" + Shown("/w/p/lib/strbuf.c", folder) + "\t2\t35\n4\t" +
                             Shown("/usr/include/stdio.h", folder) + "\t27\n5\t" +
                             (folder / "a.py").string() + "\t3\n");
    EXPECT_EQ(err.str(), "");
    out.str("");
    const std::string missing = (fs::path(dir.path()) / "nothing.log").string();
    EXPECT_EQ(writeProblems(missing, HighlightWords{}, out, err), 1);
    EXPECT_EQ(writeLocations(missing, {}, out, err), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "REDA: " + missing + ": no such file\nREDA: " + missing + ": no such file\n");
}

}  // namespace
}  // namespace reda
