// The recent lists as the settings reader rebuilds them: every entry moves to the front, the
// list is cut to the count in force at that line, repeats keep one place, and a huge count with
// a huge file still gives the list that adding the entries one by one gives.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "TempDir.h"
#include "app/Main.h"

namespace kestrune {
namespace {

using testing::FakePlatform;
using testing::TempDir;
using Strings = std::vector<std::string>;

// Settings text with "{a}" … standing for files that exist and "{gone}" for one that does not.
struct RecentCase {
    const char* name;
    std::string settings;
    Strings files;    // RecentFileList, by letter
    Strings presets;  // RecentPresetList, by letter
};

void PrintTo(const RecentCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Expand(std::string text, const TempDir& dir) {
    for (std::size_t at = text.find('{'); at != std::string::npos; at = text.find('{', at)) {
        const std::size_t end = text.find('}', at);
        const std::string path = dir / text.substr(at + 1, end - at - 1);
        text.replace(at, end - at + 1, path);
        at += path.size();
    }
    return text;
}

class RecentListRules : public ::testing::TestWithParam<RecentCase> {};

TEST_P(RecentListRules, HoldWhileReading) {
    const RecentCase& c = GetParam();
    TempDir dir;
    for (const char* name : {"a", "b", "c", "d", "e", "A"}) {
        dir.Write(name, "x");
    }
    FakePlatform fake;
    TfrmMain window(fake, dir.path());
    window.ReadSettings(dir.Write("Config/config.ini", Expand(c.settings, dir)));

    auto paths = [&dir](const Strings& letters) {
        Strings full;
        for (const std::string& letter : letters) {
            full.push_back(dir / letter);
        }
        return full;
    };
    EXPECT_EQ(window.State().RecentFileList, paths(c.files));
    EXPECT_EQ(window.State().RecentPresetList, paths(c.presets));
    EXPECT_TRUE(fake.messages.empty());
}

const RecentCase kRecentCases[] = {
    {"MoveToFront",
     "RecentFile = {a}\r\nRecentFile = {b}\r\nRecentFile = {c}\r\nRecentFile = {a}\r\n",
     {"a", "c", "b"},
     {}},
    {"CutToTheDefaultCount",
     "RecentFile = {a}\r\nRecentFile = {b}\r\nRecentFile = {c}\r\nRecentFile = {d}\r\n"
     "RecentFile = {e}\r\n",
     {"e", "d", "c", "b"},
     {}},
    {"RepeatsKeepOnePlace",
     "RecentPreset = {a}\r\nRecentPreset = {a}\r\nRecentPreset = {a}\r\n",
     {},
     {"a"}},
    {"LetterCaseMakesAnotherEntry",
     "RecentFile = {a}\r\nRecentFile = {A}\r\nRecentFile = {a}\r\n",
     {"a", "A"},
     {}},
    {"MissingFilesAreDropped",
     "RecentFile = {a}\r\nRecentFile = {gone}\r\nRecentFile = {b}\r\nRecentPreset = {gone}\r\n",
     {"b", "a"},
     {}},
    {"CountChangedMidFile",
     "RecentFiles = 4\r\nRecentFile = {a}\r\nRecentFile = {b}\r\nRecentFile = {c}\r\n"
     "RecentFiles = 2\r\nRecentFile = {d}\r\nRecentFiles = 5\r\nRecentFile = {e}\r\n"
     "RecentFile = {a}\r\n",
     {"a", "e", "d", "c"},
     {}},
    {"ARepeatAfterTheCutComesBackAsNew",
     "RecentFiles = 2\r\nRecentFile = {a}\r\nRecentFile = {b}\r\nRecentFile = {c}\r\n"
     "RecentFile = {a}\r\n",
     {"a", "c"},
     {}},
    {"CountZeroKeepsNothing",
     "RecentFiles = 0\r\nRecentFile = {a}\r\nRecentPreset = {b}\r\n",
     {},
     {}},
    {"NegativeCountKeepsNothing",
     "RecentFiles = -3\r\nRecentFile = {a}\r\nRecentPreset = {b}\r\n",
     {},
     {}},
    {"ListsAreIndependent",
     "RecentFiles = 2\r\nRecentFile = {a}\r\nRecentPreset = {a}\r\nRecentFile = {b}\r\n"
     "RecentPreset = {c}\r\nRecentFile = {c}\r\n",
     {"c", "b"},
     {"c", "a"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RecentListRules, ::testing::ValuesIn(kRecentCases),
                         [](const auto& test) { return std::string(test.param.name); });

// The list a plain move-to-front list with a cut after each addition gives.
Strings AddedOneByOne(const std::vector<std::pair<std::string, int>>& additions) {
    Strings list;
    for (const auto& [path, count] : additions) {
        list.erase(std::remove(list.begin(), list.end(), path), list.end());
        list.insert(list.begin(), path);
        list.resize(
            std::min<std::size_t>(list.size(), static_cast<std::size_t>(std::max(count, 0))));
    }
    return list;
}

TEST(HostileSettings, ThousandsOfLinesGiveTheListOfAddingOneByOne) {
    TempDir dir;
    Strings files;
    for (int i = 0; i < 300; ++i) {
        files.push_back(dir.Write("f" + std::to_string(i), "x"));
    }
    std::string text;
    std::vector<std::pair<std::string, int>> additions;
    int count = 2147483647;
    unsigned seed = 12345;
    for (int line = 0; line < 5000; ++line) {
        seed = seed * 1103515245u + 12345u;
        if (line % 997 == 500) {
            count = static_cast<int>(seed % 400);
            text += "RecentFiles = " + std::to_string(count) + "\r\n";
        }
        const std::string& path = files[(seed >> 8) % files.size()];
        text += "RecentFile = " + path + "\r\n";
        additions.emplace_back(path, count);
    }
    FakePlatform fake;
    TfrmMain window(fake, dir.path());
    window.ReadSettings(dir.Write("Config/config.ini", text));
    EXPECT_EQ(window.State().RecentFileList, AddedOneByOne(additions));
    EXPECT_FALSE(window.State().RecentFileList.empty());
}

TEST(HostileSettings, APipeAsTheSettingsFileIsLikeNoFile) {
    TempDir dir;
    FakePlatform fake;
    TfrmMain window(fake, dir.path());
    dir.Write("Config/keep", "");
    const std::string pipe = dir / "Config/config.ini";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Opening a pipe without a writer would wait forever; the child is stopped if it does.
    const pid_t child = fork();
    if (child == 0) {
        alarm(5);
        window.ReadSettings(pipe);
        _exit(window.State().RecentCount == 4 && fake.messages.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

}  // namespace
}  // namespace kestrune
