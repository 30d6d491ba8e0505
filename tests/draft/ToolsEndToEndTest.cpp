// From a real tool's --help to a script that runs it: `new`, `check`, `lint`, `batch` with a few
// fields ticked, then /bin/sh on a real input, and the tool's real output checked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "CliApp.h"
#include "CliRun.h"
#include "TempDir.h"
#include "base/FileIo.h"
#include "draft/HelpCapture.h"

namespace kestrune::cli {
namespace {

using kestrune::testing::TempDir;

using kestrune::testing::CliRun;

CliRun Cli(const TempDir& home, const std::vector<std::string>& args) {
    std::vector<std::string> all{"--home", home.path()};
    all.insert(all.end(), args.begin(), args.end());
    return testing::RunCli(all, home.path());
}

struct Tick {
    std::string caption;
    std::string value;  // empty for a check box
};

struct ToolCase {
    std::string tool;
    std::vector<Tick> ticks;
    // The shell command, run in the input's folder after the script, whose output is compared.
    std::string probe;
    std::string expected;
    // Makes the input file in the work folder when it is not the text below.
    std::string makeInput;
    std::string input = "input.txt";
};

const std::string kInput = "hello world\nzebra\napple\n";

TEST(DraftEndToEnd, DraftsOfRealToolsRunTheTools) {
    const std::vector<ToolCase> cases{
        {"gzip",
         {{"keep", ""}, {"best", ""}},
         "gzip -dc input.txt.gz && ls input.txt",
         kInput + "input.txt\n",
         "",
         "input.txt"},
        {"xz",
         {{"keep", ""}, {"threads", "1"}},
         "xz -dc input.txt.xz && head -c 6 input.txt.xz | od -An -c | tr -s ' '",
         kInput + " 375 7 z X Z \\0\n",
         "",
         "input.txt"},
        {"sed",
         {{"expression", "'s/(hel+)o/\\1O/'"}, {"regexp-extended", ""}},
         "tail -n +2 input.log",
         "hellO world\nzebra\napple\n",
         "",
         "input.txt"},
        {"nl",
         {{"number-width", "3"}, {"number-separator", ":"}},
         "tail -n +2 input.log",
         "  1:hello world\n  2:zebra\n  3:apple\n",
         "",
         "input.txt"},
        {"sort",
         {{"reverse", ""}},
         "tail -n +2 input.log",
         "zebra\nhello world\napple\n",
         "",
         "input.txt"},
        {"base64",
         {{"wrap", "0"}},
         "tail -n +2 input.log; echo",
         "aGVsbG8gd29ybGQKemVicmEKYXBwbGUK\n",
         "",
         "input.txt"},
    };
    for (const ToolCase& c : cases) {
        SCOPED_TRACE(c.tool);
        TempDir home;
        const CliRun made = Cli(home, {"new", c.tool});
        ASSERT_EQ(made.code, 0) << made.err;
        EXPECT_EQ(made.err, "");
        const std::string spec = home / ("SpecFiles/" + c.tool + ".zrs");
        const CliRun checked = Cli(home, {"check", spec});
        EXPECT_EQ(checked.code, 0) << checked.err;
        EXPECT_EQ(checked.err, "");
        const CliRun linted = Cli(home, {"lint", spec});
        EXPECT_EQ(linted.code, 0);
        EXPECT_EQ(linted.out, "");  // not even a note

        std::string input = home.Write("work/input.txt", kInput);
        if (!c.makeInput.empty()) {
            ASSERT_EQ(std::system(("cd '" + home.path() + "work' && " + c.makeInput).c_str()), 0);
            input = home / ("work/" + c.input);
        }
        std::string preset = "ZRP200\r\n\r\n[Header]\r\nSpecFile = " + c.tool +
                             ".zrs\r\nFile = " + input + "\r\n\r\n[Class = " + c.tool +
                             "]\r\nRun = True\r\n";
        for (const Tick& tick : c.ticks) {
            preset += "[Field = " + tick.caption + "]\r\nChecked = True\r\n";
            if (!tick.value.empty()) {
                preset += "Value = " + tick.value + "\r\n";
            }
            ASSERT_NE(home.Read(spec).find("Box = " + tick.caption + "\n"), std::string::npos)
                << tick.caption;
        }
        const std::string presetPath = home.Write("chosen.zrp", preset);
        const std::string script = home / "run.sh";
        const CliRun batch = Cli(home, {"batch", presetPath, "--no-view-log", "-o", script});
        ASSERT_EQ(batch.code, 0) << batch.err;
        ASSERT_EQ(std::system(("/bin/sh '" + script + "' > /dev/null 2>&1").c_str()), 0);
        const std::string probe = home / "probe.txt";
        std::system(("cd '" + home.path() + "work' && { " + c.probe + "; } > '" + probe + "' 2>&1")
                        .c_str());
        EXPECT_EQ(home.Read(probe), c.expected) << home.Read("work/input.log");
    }
}

// The command line of `new`: what it prints, its exit codes, and --force.
TEST(DraftEndToEnd, NewCommandReportsAndRefusesToReplace) {
    TempDir home;
    const std::string help = home.Write("saved-help.txt", "  -q, --quiet  say less\n");
    const std::string spec = home / "SpecFiles/Quiet.zrs";
    const std::string paths = home / "Config/Quiet.path";
    const std::string gzip = FindExecutable("gzip", std::getenv("PATH"));
    const struct {
        std::vector<std::string> args;
        int code;
        std::string out;
        std::string err;
    } cases[] = {
        {{"new", "gzip", "--help-text", help, "--name", "Quiet"},
         0,
         spec + ": 1 fields from 1 options of " + gzip + "\n" + paths + ": names " + gzip + "\n",
         ""},
        {{"new", "gzip", "--help-text", help, "--name", "Quiet"},
         1,
         "",
         "kestrune-cli: " + spec + " exists already; give --force to replace it.\n"},
        {{"new", "gzip", "--help-text", help, "--name", "Quiet", "--force"},
         0,
         spec + ": 1 fields from 1 options of " + gzip + "\n" + paths + ": names " + gzip + "\n",
         ""},
        {{"new", "no-such-tool-here"},
         1,
         "",
         "kestrune-cli: no-such-tool-here not found on the search path (PATH).\n"},
        {{"new", "gzip", "--help-text", home / "missing.txt"},
         1,
         "",
         "kestrune-cli: " + (home / "missing.txt") + " not found.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const CliRun result = Cli(home, c.args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
    const CliRun usage = Cli(home, {"new"});
    EXPECT_EQ(usage.code, 2);
    EXPECT_EQ(usage.err.substr(0, 42), "kestrune-cli: TOOL is required\n\nDraft a sp");
}

}  // namespace
}  // namespace kestrune::cli
