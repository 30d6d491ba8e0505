#include "Arguments.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "LogFile.h"
#include "StdinCopy.h"
#include "TempDir.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace reda {
namespace {

using Action = Arguments::Action;

struct ArgumentCase {
    std::vector<std::string> arguments;
    Action action;
    std::string log;
    int exitCode;
};

class ParseArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ParseArguments, ActionLogAndExitCode) {
    const ArgumentCase& c = GetParam();
    const Arguments parsed = parseArguments(c.arguments, "2.0.3.1");
    EXPECT_EQ(parsed.action, c.action);
    EXPECT_EQ(parsed.log, c.log);
    EXPECT_EQ(parsed.exitCode, c.exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseArguments,
    ::testing::Values(ArgumentCase{{}, Action::Empty, "", 0},
                      ArgumentCase{{"run.log"}, Action::Open, "run.log", 0},
                      ArgumentCase{{"C:\\a b\\run.log"}, Action::Open, "C:\\a b\\run.log", 0},
                      ArgumentCase{{"--help"}, Action::Help, "", 0},
                      ArgumentCase{{"-h"}, Action::Help, "", 0},
                      ArgumentCase{{"run.log", "--version"}, Action::Version, "", 0},
                      ArgumentCase{{"-"}, Action::StandardInput, "", 0},
                      ArgumentCase{{"--", "-"}, Action::Open, "-", 0},
                      ArgumentCase{{"--", "--help"}, Action::Open, "--help", 0},
                      ArgumentCase{{"a", "b"}, Action::Refuse, "", 2},
                      ArgumentCase{{"my", "build", "log"}, Action::Refuse, "", 2},
                      ArgumentCase{{"--follow", "a.log"}, Action::Refuse, "", 2},
                      ArgumentCase{{"--problems", "a.log"}, Action::Problems, "a.log", 0},
                      ArgumentCase{{"a.log", "--locations"}, Action::Locations, "a.log", 0},
                      ArgumentCase{{"--problems", "--", "-x.log"}, Action::Problems, "-x.log", 0},
                      ArgumentCase{{"--problems"}, Action::Refuse, "", 2},
                      ArgumentCase{{"--problems", "a", "b"}, Action::Refuse, "", 2},
                      ArgumentCase{{"--problems", "--locations", "a"}, Action::Refuse, "", 2}));

TEST(Arguments, TextsSayWhatIsAccepted) {
    const Arguments help = parseArguments({"--help"}, "2.0.3.1");
    EXPECT_EQ(help.message, usageText());
    EXPECT_EQ(help.message.substr(0, 18), "Usage: REDA [LOG]\n");
    EXPECT_EQ(parseArguments({"--version"}, "2.0.3.1").message, "REDA 2.0.3.1\n");
    EXPECT_EQ(parseArguments({"--locations"}, "1").message,
              "REDA: --locations needs the log to read.\n" + usageText());
    EXPECT_NE(usageText().find("  --problems LOG   print LINE<TAB>error|warning<TAB>TEXT"),
              std::string::npos);

    const Arguments two = parseArguments({"my", "build.log"}, "1");
    EXPECT_EQ(two.message,
              "REDA: one log at a time, but 2 were given; quote a path that holds "
              "blanks.\n" +
                  usageText());
    EXPECT_EQ(parseArguments({"--tail"}, "1").message,
              "REDA: unknown option \"--tail\".\n" + usageText());
}

#ifndef _WIN32
// `REDA -`: what arrives on the pipe is followed like a log that grows, and the copy goes
// when the viewer does.
TEST(StdinCopy, FollowsWhatArrivesAndRemovesTheCopy) {
    kestrune::testing::TempDir dir;
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    std::string error;
    std::unique_ptr<StdinCopy> copy = StdinCopy::start(dir.path(), error, pipe[0]);
    ASSERT_NE(copy, nullptr) << error;
    const std::filesystem::path path = copy->path();
    EXPECT_EQ(path.extension(), ".log");
    LogFile log;
    log.setPath(path);
    auto waitForLines = [&](std::size_t lines) {
        for (int i = 0; i < 500 && log.lineCount() != lines; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            log.poll();
        }
        return log.lineCount();
    };
    ASSERT_EQ(::write(pipe[1], "one\ntwo ", 8), 8);
    EXPECT_EQ(waitForLines(2), 2u);
    ASSERT_EQ(::write(pipe[1], "error\nthree\n", 12), 12);
    EXPECT_EQ(waitForLines(3), 3u);
    EXPECT_EQ(log.line(1), "two error");
    ::close(pipe[1]);
    copy.reset();
    EXPECT_FALSE(std::filesystem::exists(path));
}
#endif

}  // namespace
}  // namespace reda
