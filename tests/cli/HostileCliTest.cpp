// The CLI against specifications that stop early, files that are no regular files and running
// out of memory: exit 1 with a message, and nothing written.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "CliApp.h"
#include "CliRun.h"
#include "FileSizeLimit.h"
#include "TempDir.h"

namespace kestrune::cli {
namespace {

using kestrune::testing::TempDir;
namespace fs = std::filesystem;

using kestrune::testing::CliRun;

CliRun Cli(const TempDir& home, const std::vector<std::string>& args) {
    return testing::RunCli(args, home.path());
}

// Runs the command in a child that is stopped after a few seconds; "killed by signal N" when
// it did not end by itself.
std::string InChild(const std::function<std::string()>& body) {
    return testing::RunInChild({10, 0, false}, body);
}

std::string Report(const CliRun& r) {
    return std::to_string(r.code) + "|" + r.err;
}

// Two stages; the second one's block is broken after the first program was read.
const std::string kBroken =
    "Setup = Chain\r\n{\r\nLayout:\r\n$ClassEXE=Compiler $ClassParam=Compiler\r\n}\r\n"
    "Group = Compiler\r\n{\r\nRequireExe = true\r\nCheckBox = Verbose\r\n{\r\nParam = -v\r\n}\r\n"
    "}\r\n"
    "Group = Light\r\n{\r\nRequireExe = true\r\nCheckBox = Fast\r\noops\r\n}\r\n";

const std::string kSyntaxError = "Kestrune Error: Expected: \"{\", got: oops\nLine: 18\n";
const std::string kNothingWritten =
    "kestrune-cli: the specification was read only up to its error; nothing was written\n";

struct Home {
    TempDir dir;
    std::string spec = dir.Write("SpecFiles/Chain.zrs", kBroken);
    std::string tool = dir.Write("tools/tool.exe", "");
    std::string input = dir.Write("work/level1.map", "");
    std::string paths =
        dir.Write("Config/Chain.path", "Compiler = " + tool + "\r\nLight = " + tool + "\r\n");
    // The values of both programs; the second one's would be lost by a save.
    std::string presetText = "ZRP200\r\nSpecFile = Chain.zrs\r\nFile = " + input +
                             "\r\n[Class = Compiler]\r\nRun = True\r\n[Field = Verbose]\r\n"
                             "Checked = True\r\n[Class = Light]\r\nRun = True\r\n"
                             "[Field = Fast]\r\nChecked = True\r\n";
    std::string preset = dir.Write("p.zrp", presetText);
};

struct StoppedCase {
    const char* name;
    std::vector<std::string> (*args)(const Home& home);
    const char* written;  // the file that must not appear
    bool opened;          // the preset was opened (not imported) over the stopped specification
};

void PrintTo(const StoppedCase& c, std::ostream* os) {
    *os << c.name;
}

class SpecificationStoppedEarly : public ::testing::TestWithParam<StoppedCase> {};

TEST_P(SpecificationStoppedEarly, ExitsOneAndWritesNothing) {
    Home home;
    const CliRun r = Cli(home.dir, GetParam().args(home));
    const std::string untitled =
        "Information: " + home.preset +
        " was opened as an untitled preset, because its specification could not be read to the "
        "end.\nSave it under another name to keep the original file whole.\n";
    EXPECT_EQ(Report(r),
              "1|" + kSyntaxError + (GetParam().opened ? untitled : "") + kNothingWritten);
    EXPECT_FALSE(fs::exists(home.dir / GetParam().written));
    EXPECT_EQ(home.dir.Read("p.zrp"), home.presetText);
}

const StoppedCase kStoppedCases[] = {
    {"SaveToANewFile",
     [](const Home& h) {
         return std::vector<std::string>{"save", h.preset, "-o", h.dir / "out.zrp"};
     },
     "out.zrp", true},
    {"SaveOverItself",
     [](const Home& h) {
         return std::vector<std::string>{"save", h.preset, "-o", h.preset};
     },
     "out.zrp", true},
    {"SaveImportingIntoIt",
     [](const Home& h) {
         return std::vector<std::string>{"save", h.preset, "--import",
                                         h.spec, "-o",     h.dir / "out.zrp"};
     },
     "out.zrp", false},
    {"WholeChainScript",
     [](const Home& h) {
         return std::vector<std::string>{"batch", h.preset, "-o", h.dir / "run.sh"};
     },
     "run.sh", true},
    {"SingleStageScript",
     [](const Home& h) {
         return std::vector<std::string>{"batch",    h.preset, "--stage",
                                         "Compiler", "-o",     h.dir / "run.sh"};
     },
     "run.sh", true},
};

INSTANTIATE_TEST_SUITE_P(Commands, SpecificationStoppedEarly, ::testing::ValuesIn(kStoppedCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(HostileCli, PipesAndDevicesAreReportedAsMissingAtOnce) {
    TempDir dir;
    const std::string pipe = dir / "SpecFiles/pipe.zrs";
    fs::create_directories(dir / "SpecFiles");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(InChild([&] {
                  return Report(Cli(dir, {"check", pipe}));
              }),
              "1|Error: " + pipe + " not found.\n");
    EXPECT_EQ(InChild([&] {
                  return Report(Cli(dir, {"check", "/dev/zero"}));
              }),
              "1|Error: /dev/zero not found.\n");
    EXPECT_EQ(InChild([&] {
                  return Report(Cli(dir, {"save", pipe, "-o", dir / "out.zrp"}));
              }),
              "1|Error: " + pipe + " not found.\n");
    EXPECT_FALSE(fs::exists(dir / "out.zrp"));
}

TEST(HostileCli, RunningOutOfMemoryIsAMessageNotAnAbort) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#else
    TempDir dir;
    // Thousands of programs from a file a few megabytes long: far more memory than the limit.
    std::string text = "Setup = S\r\n{\r\n}\r\n";
    while (text.size() < (8u << 20)) {
        text += "Group = P\r\n{\r\nLabelBox = L\r\n}\r\n";
    }
    const std::string spec = dir.Write("SpecFiles/big.zrs", text);
    text.clear();
    text.shrink_to_fit();
    const std::string report = InChild([&] {
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        std::ifstream status("/proc/self/statm");
        std::size_t pages = 0;
        status >> pages;
        limit.rlim_cur = pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + (48u << 20);
        setrlimit(RLIMIT_AS, &limit);
        return Report(Cli(dir, {"check", spec}));
    });
    EXPECT_EQ(report, "1|Error: Out of memory\n");
#endif
}

}  // namespace
}  // namespace kestrune::cli
