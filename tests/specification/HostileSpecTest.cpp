// Huge lines quoted in messages, and specification files that are no regular files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "SpecTestSupport.h"
#include "base/Text.h"
#include "specification/SpecReader.h"
#include "specification/ToolPathFile.h"

namespace kestrune {
namespace {

using testing::CrLfLines;
using testing::SpecHarness;
namespace fs = std::filesystem;

const std::string kEllipsisText = "\xE2\x80\xA6";

struct QuoteCase {
    const char* name;
    std::string line;
    std::string quoted;
};

void PrintTo(const QuoteCase& c, std::ostream* os) {
    *os << c.name;
}

class QuotedLineTable : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuotedLineTable, LongLinesAreCutWithAnEllipsis) {
    EXPECT_EQ(QuotedLine(GetParam().line), GetParam().quoted);
}

const std::string k300(300, 'a');
const std::string kE9 = "\xC3\xA9";           // two bytes
const std::string kChinese = "\xE4\xB8\xAD";  // three bytes

const QuoteCase kQuoteCases[] = {
    {"Empty", "", ""},
    {"Short", "setup Tools", "setup Tools"},
    {"ExactlyTheLimit", k300, k300},
    {"OneByteOver", k300 + "b", k300 + kEllipsisText},
    {"Megabytes", k300 + std::string(8 << 20, 'z'), k300 + kEllipsisText},
    // A character that spans the cut is left out whole, never split.
    {"TwoByteCharacterAcrossTheCut", std::string(299, 'a') + kE9 + "tail",
     std::string(299, 'a') + kEllipsisText},
    {"ThreeByteCharacterAcrossTheCut", std::string(298, 'a') + kChinese + "tail",
     std::string(298, 'a') + kEllipsisText},
    {"CharacterEndingAtTheCut", std::string(297, 'a') + kChinese + "tail",
     std::string(297, 'a') + kChinese + kEllipsisText},
    // Continuation bytes without a lead are no UTF-8; cut where the limit falls.
    {"StrayContinuationBytes", std::string(310, '\x80'), std::string(300, '\x80') + kEllipsisText},
};

INSTANTIATE_TEST_SUITE_P(Lines, QuotedLineTable, ::testing::ValuesIn(kQuoteCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(HostileSpecification, EveryExpectedMessageQuotesAtMostTheLimit) {
    const std::string big(8 << 20, 'q');
    const std::string cut = std::string(300, 'q') + kEllipsisText;
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {big + "\r\n", "Expected: \"=\", got: " + cut + "\r\nLine: 1"},
        {"x = " + big + "\r\n",
         "Expected: \"Setup\", got: x = " + std::string(296, 'q') + kEllipsisText + "\r\nLine: 1"},
        {"setup = S\r\n" + big + "\r\n", "Expected: \"{\", got: " + cut + "\r\nLine: 2"},
        {"setup = S\r\n{\r\n}\r\nq" + big + " = G\r\n",
         "Expected: \"Group\", got: " + cut + "\r\nLine: 4"},
        {CrLfLines({"setup = S", "{", "}", "group = G", "{", "checkbox = C"}) + big,
         "Expected: \"{\", got: " + cut + "\r\nLine: 7"},
    };
    for (const Case& c : cases) {
        SpecHarness h;
        h.Load(c.text);
        EXPECT_EQ(h.SyntaxErrors(), std::vector<std::string>{c.message});
        EXPECT_FALSE(h.state.SpecificationComplete);
    }
}

TEST(HostileSpecification, PipesAndDevicesAreNotLoaded) {
    SpecHarness h;
    h.Load(CrLfLines({"setup = Before", "{", "}", "group = G", "{", "labelbox = L", "}"}));
    const std::string pipe = h.dir / "SpecFiles/pipe.zrs";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);

    // Reading a pipe without a writer would wait forever; the child reports instead.
    const pid_t child = fork();
    if (child == 0) {
        alarm(5);
        LoadSpecification(h.state, pipe);
        LoadSpecification(h.state, "/dev/zero");
        _exit(h.state.SpecName == "Before" && h.fake.messages.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST(HostileSpecification, APipeAsTheToolPathFileIsLikeNoFile) {
    SpecHarness h;
    h.dir.Write("tool", "");
    h.Load(CrLfLines(
               {"setup = S", "{", "}", "group = G", "{", "requireexe = true", "labelbox = L", "}"}),
           "S.zrs");
    h.state.Fields.Files.BasePath = "stale";
    const std::string pipe = h.dir / "Config/S.path";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const pid_t child = fork();
    if (child == 0) {
        alarm(5);
        ReadToolPathFile(h.state);
        _exit(h.state.Fields.Files.BasePath.empty() && h.fake.messages.empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

}  // namespace
}  // namespace kestrune
