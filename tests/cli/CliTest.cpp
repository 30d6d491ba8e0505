#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CliApp.h"
#include "CliRun.h"
#include "ScriptText.h"
#include "TempDir.h"
#include "fields/Group.h"

namespace kestrune::cli {
namespace {

using testing::kViewerName;
using testing::ScriptLines;

using kestrune::testing::TempDir;
using nlohmann::json;

using kestrune::testing::CliRun;

CliRun Cli(const TempDir& home, const std::vector<std::string>& args) {
    return testing::RunCli(args, home.path());
}

std::string Crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

const std::string kSpec = Crlf({
    "Setup = Chain",
    "{",
    "  Author = Someone",
    "  Program = Game",
    "  Filter = Maps|*.map",
    "  Link = example.org|Home",
    "  Layout:",
    "  echo $FileName",
    "  $ClassEXE=Compiler $ClassParam=Compiler $FilePath/$FileName.map",
    "  $ClassEXE=Light $ClassParam=Light",
    "  $REDA $FilePath/$FileName.log",
    "}",
    "Group = Compiler",
    "{",
    "  RequireExe = true",
    "  CheckBox = Verbose",
    "  {",
    "    Param = -v",
    "  }",
    "  EditBox = Level",
    "  {",
    "    Param = -l",
    "    Type = int",
    "    Default = 3",
    "  }",
    "}",
    "Group = Light",
    "{",
    "  RequireExe = true",
    "  CheckBox = Fast",
    "  {",
    "    Param = -fast",
    "  }",
    "}",
});

// A home folder with the specification, tool paths for both stages and an input file.
struct Home {
    TempDir dir;
    std::string spec = dir.Write("SpecFiles/Chain.zrs", kSpec);
    std::string compiler = dir.Write("tools/compile.exe", "");
    std::string light = dir.Write("tools/light.exe", "");
    std::string input = dir.Write("work/level1.map", "");
    std::string toolPaths =
        dir.Write("Config/Chain.path", Crlf({"BasePath = /base", "FileDest = /dest",
                                             "Compiler = " + compiler, "Light = " + light}));

    std::string Preset(bool compilerRun, bool lightRun, const std::string& file) const {
        return dir.Write("p.zrp", Crlf({"ZRP200", "", "[Header]", "SpecFile = Chain.zrs",
                                        "File = " + file, "", "[Class = Compiler]",
                                        std::string("Run = ") + (compilerRun ? "True" : "False"),
                                        "[Field = Verbose]", "Checked = True", "[Field = Level]",
                                        "Checked = True", "Value = 7", "", "[Class = Light]",
                                        std::string("Run = ") + (lightRun ? "True" : "False"),
                                        "[Field = Fast]", "Checked = False", ""}));
    }
};

TEST(CliCheck, ValidSpecificationExitsZeroQuietly) {
    Home home;
    const CliRun r = Cli(home.dir, {"check", home.spec});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
}

TEST(CliCheck, MessagesGoToStandardErrorWithTitleAndLineFeeds) {
    TempDir dir;
    struct Case {
        std::string spec;
        std::string expected;
    };
    const Case cases[] = {
        {"\r\n\r\nsetup Chain\r\n", "Kestrune Error: Expected: \"=\", got: setup Chain\nLine: 3\n"},
        {"Setup = a\r\n\r\n{\r\n", "Kestrune Error: Expected: \"{\", got: \nLine: 2\n"},
        {"Group = a\r\n", "Kestrune Error: Expected: \"Setup\", got: Group = a\nLine: 1\n"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.Write("bad.zrs", c.spec);
        const CliRun r = Cli(dir, {"check", path});
        EXPECT_EQ(r.code, 1) << c.spec;
        EXPECT_EQ(r.err, c.expected);
    }
}

TEST(CliCheck, MissingSpecificationIsReportedNotIgnored) {
    TempDir dir;
    const CliRun r = Cli(dir, {"check", dir / "none.zrs"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Error: " + (dir / "none.zrs") + " not found.\n");
}

TEST(CliDump, PrintsTheWholeModel) {
    Home home;
    const CliRun r = Cli(home.dir, {"dump", home.spec});
    ASSERT_EQ(r.code, 0) << r.err;
    const json model = json::parse(r.out);
    EXPECT_EQ(model["specFileName"], "Chain.zrs");
    EXPECT_EQ(model["specName"], "Chain");
    EXPECT_EQ(model["specAuthor"], "Someone");
    EXPECT_EQ(model["specProgram"], "Game");
    EXPECT_EQ(model["inputFilter"], "Maps|*.map");
    EXPECT_EQ(model["baseLabel"], "Game Path:");
    EXPECT_EQ(model["links"],
              json::parse(R"([{"caption":"Home","address":"http://example.org"}])"));
    EXPECT_EQ(model["layout"].size(), 4u);
    EXPECT_EQ(model["layout"][0], "echo $FileName");
    EXPECT_EQ(model["basePath"], "/base");
    EXPECT_EQ(model["destPath"], "/dest");
    EXPECT_EQ(model["stages"], json::parse(R"([{"caption":"Compiler","checked":false},
                                                {"caption":"Light","checked":false}])"));
    EXPECT_EQ(model["runStages"], json::parse(R"([{"caption":"Compiler","index":0},
                                                   {"caption":"Light","index":1}])"));
    const json& compiler = model["programs"][0];
    EXPECT_EQ(compiler["name"], "Compiler");
    EXPECT_EQ(compiler["caption"], "Compiler:");
    EXPECT_EQ(compiler["requireExe"], true);
    EXPECT_EQ(compiler["exeFilter"], kDefaultExeFilter);
    EXPECT_EQ(compiler["toolPath"], home.compiler);
    EXPECT_EQ(compiler["run"], false);
    EXPECT_EQ(compiler["checkBoxes"][0],
              json::parse(R"({"caption":"Verbose","param":"-v","details":"","groups":[],
                              "bold":false,"width":1,"checked":false,"left":8,"top":16,
                              "batchCommand":false})"));
    const json& level = compiler["editBoxes"][0];
    EXPECT_EQ(level["top"], 41);
    EXPECT_EQ(level["roundTo"], 0);
    EXPECT_EQ(level["isString"], false);
    EXPECT_EQ(level["defaultText"], "3");
    EXPECT_EQ(level["text"], "3");
    EXPECT_EQ(level["max"], 1.7e308);
    EXPECT_EQ(level["min"].get<double>(), std::numeric_limits<double>::denorm_min());
    for (const char* key : {"labels", "comboBoxes", "browseBoxes", "colorBoxes"}) {
        EXPECT_EQ(compiler[key], json::array()) << key;
    }
}

TEST(CliDump, ShowsThePartModelAfterASyntaxErrorAndReplacesInvalidUtf8) {
    TempDir dir;
    const std::string path =
        dir.Write("bad.zrs", Crlf({"Setup = \xff\xfe", "{", "}", "Group = A", "{", "CheckBox = One",
                                   "{", "}", "CheckBox = Two", "oops"}));
    const CliRun r = Cli(dir, {"dump", path});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Kestrune Error: Expected: \"{\", got: oops\nLine: 10\n");
    const json model = json::parse(r.out);
    EXPECT_EQ(model["specName"], "\xEF\xBF\xBD\xEF\xBF\xBD");
    ASSERT_EQ(model["programs"].size(), 1u);
    ASSERT_EQ(model["programs"][0]["checkBoxes"].size(), 1u);
    EXPECT_EQ(model["programs"][0]["checkBoxes"][0]["caption"], "One");
    EXPECT_EQ(model["inputFilter"], nullptr);
    EXPECT_EQ(model["baseLabel"], nullptr);
}

TEST(CliDump, TabHeightDecidesWhereColumnsBreak) {
    TempDir dir;
    std::string spec = Crlf({"Setup = S", "{", "}", "Group = G", "{"});
    for (int i = 0; i < 3; ++i) {
        spec += Crlf({"LabelBox = L" + std::to_string(i)});
    }
    const std::string path = dir.Write("s.zrs", spec + "}\r\n");
    const CliRun r = Cli(dir, {"dump", "--tab-height", "80", path});
    ASSERT_EQ(r.code, 0) << r.err;
    const json labels = json::parse(r.out)["programs"][0]["labels"];
    // 80 - 16 leaves room for rows at 16 and 41 only.
    EXPECT_EQ(labels, json::parse(R"([{"caption":"L0","left":8,"top":20},
                                      {"caption":"L1","left":8,"top":45},
                                      {"caption":"L2","left":188,"top":20}])"));
}

TEST(CliUsage, WrongCommandLinesExitTwo) {
    TempDir dir;
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"check"},
        {"dump", "--tab-height", "0", "x.zrs"},
        {"batch", "p.zrp", "--view-log", "--no-view-log"},
        {"save", "p.zrp"},
        {"check", "a.zrs", "--bogus"},
    };
    for (const auto& args : cases) {
        const CliRun r = Cli(dir, args);
        EXPECT_EQ(r.code, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_NE(r.err.find("Usage:"), std::string::npos);
    }
}

TEST(CliBatch, WritesTheScriptBesideTheProgramByDefault) {
    Home home;
    const std::string preset = home.Preset(true, false, home.input);
    const CliRun r = Cli(home.dir, {"batch", preset, "--no-view-log"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(home.dir.Read(std::string(kScriptFileName)),
              ScriptLines(Crlf({"echo level1", home.compiler + " -v -l 7 " + home.dir.path() +
                                                   "work/level1.map"})));
}

TEST(CliBatch, ViewLogComesFromTheSettingsFileUnlessOverridden) {
    Home home;
    const std::string preset = home.Preset(true, false, home.input);
    home.dir.Write("Config/config.ini", Crlf({"[Kestrune]", "ViewLogAfterCompile = True"}));
    const std::string redaLine = home.dir.path() + kViewerName + " " + home.dir.path() +
                                 "work/level1.log" + std::string(kScriptLineEnd);

    ASSERT_EQ(Cli(home.dir, {"batch", preset, "-o", home.dir / "a.bat"}).code, 0);
    EXPECT_NE(home.dir.Read("a.bat").find(redaLine), std::string::npos);

    ASSERT_EQ(Cli(home.dir, {"batch", preset, "--no-view-log", "-o", home.dir / "b.bat"}).code, 0);
    EXPECT_EQ(home.dir.Read("b.bat").find(kViewerName), std::string::npos);

    home.dir.Write("Config/config.ini", "");
    ASSERT_EQ(Cli(home.dir, {"batch", preset, "--view-log", "-o", home.dir / "c.bat"}).code, 0);
    EXPECT_NE(home.dir.Read("c.bat").find(redaLine), std::string::npos);
}

TEST(CliBatch, SingleStageAndUnknownStage) {
    Home home;
    const std::string preset = home.Preset(false, false, home.input);
    const CliRun r = Cli(home.dir, {"batch", preset, "--stage", "Light", "-o", home.dir / "s.bat"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(home.dir.Read("s.bat"), ScriptLines(Crlf({"echo level1", home.light + " ", ""})));

    const CliRun unknown = Cli(home.dir, {"batch", preset, "--stage", "light"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.err.rfind("kestrune-cli: no program is named \"light\"\n\n", 0), 0u);
    EXPECT_NE(unknown.err.find("Usage:"), std::string::npos);
}

TEST(CliBatch, MissingToolPathStopsWithTheMessage) {
    Home home;
    home.dir.Write("Config/Chain.path", Crlf({"Compiler = " + home.compiler}));
    const std::string preset = home.Preset(true, true, home.input);
    const CliRun r = Cli(home.dir, {"batch", preset, "-o", home.dir / "x.bat"});
    EXPECT_EQ(r.code, 1);
#ifdef _WIN32
    EXPECT_EQ(r.err,
              "Error: The path for the following groups could not be found:\nGroup = Light\n"
              "Please set these paths up.\n");
#else
    EXPECT_EQ(r.err,
              "Error: The path for the following groups could not be found:\nGroup = Light\n"
              "    no path is set\n"
              "Please set these paths up on the Paths page of the options dialog (设置 ▸ 设置).\n");
#endif
    EXPECT_FALSE(std::ifstream(home.dir / "x.bat").good());
}

TEST(CliBatch, InputFileProblemsWriteNothing) {
    Home home;
    const std::string noFile = home.Preset(true, false, "");
    CliRun r = Cli(home.dir, {"batch", noFile});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "kestrune-cli: the preset names no input file; give one with --input\n");

    r = Cli(home.dir, {"batch", noFile, "--input", home.dir / "gone.map"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "kestrune-cli: input file not found: " + (home.dir / "gone.map") + "\n");

    r = Cli(home.dir, {"batch", noFile, "--input", home.input, "-o", home.dir / "ok.bat"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_FALSE(std::ifstream(home.dir / std::string(kScriptFileName)).good());
}

TEST(CliBatch, PresetProblemsExitOne) {
    Home home;
    CliRun r = Cli(home.dir, {"batch", home.dir / "none.zrp"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Error: " + (home.dir / "none.zrp") + " not found.\n");

    const std::string bad = home.dir.Write("bad.zrp", " ZRP200\r\n");
    r = Cli(home.dir, {"batch", bad});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Error: " + bad + " is not a valid .zrp v200 file.\n");
}

TEST(CliSave, WritesTheOpenedPresetBack) {
    Home home;
    const std::string preset = home.Preset(true, false, home.input);
    const CliRun r = Cli(home.dir, {"save", preset, "-o", home.dir / "copy.zrp"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(home.dir.Read("copy.zrp"),
              Crlf({"ZRP200", "", "[Header]", "SpecFile = Chain.zrs", "File = " + home.input, "",
                    "[Class = Compiler]", "Run = True", "[Field = Verbose]", "Checked = True",
                    "[Field = Level]", "Checked = True", "Value = 7", "", "[Class = Light]",
                    "Run = False", "[Field = Fast]", "Checked = False", ""}));
}

TEST(CliSave, ImportCarriesValuesOverToANewSpecification) {
    Home home;
    const std::string preset = home.Preset(true, true, home.input);
    const std::string v2 = home.dir.Write(
        "Chain2.zrs",
        Crlf({"Setup = Chain 2", "{", "}", "Group = Compiler", "{", "RequireExe = true",
              "EditBox = Level", "{", "Default = 1", "}", "CheckBox = Quiet", "{", "}", "}"}));
    const CliRun r = Cli(home.dir, {"save", preset, "--import", v2, "-o", home.dir / "v2.zrp"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(home.dir.Read("v2.zrp"),
              Crlf({"ZRP200", "", "[Header]", "SpecFile = Chain2.zrs", "File = " + home.input, "",
                    "[Class = Compiler]", "Run = True", "[Field = Quiet]", "Checked = False",
                    "[Field = Level]", "Checked = True", "Value = 7", ""}));
}

TEST(CliSave, UnwritableTargetKeepsThePreviousFile) {
    Home home;
    const std::string preset = home.Preset(true, false, home.input);
    const CliRun folder = Cli(home.dir, {"save", preset, "-o", home.dir.path() + "SpecFiles"});
    EXPECT_EQ(folder.code, 1);
    EXPECT_EQ(folder.err.rfind("Error: Cannot create file \"", 0), 0u) << folder.err;

    const CliRun missing = Cli(home.dir, {"save", preset, "-o", home.dir / "no/such/x.zrp"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err.rfind("Error: ", 0), 0u);
}

struct ShellResult {
    int exitCode = -1;
    std::string output;
};

// Runs a shell command and collects its standard output.
ShellResult Shell(const std::string& command) {
    ShellResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        result.output.append(buffer, n);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The real executable, to check the process-level contract.
TEST(CliProcess, ExitCodesAndStreamsOfTheExecutable) {
    Home home;
    const std::string bad = home.dir.Write("bad.zrs", "Setup = x\r\nnope\r\n");
    const std::string command = std::string(KESTRUNE_CLI_PATH) + " --home " + home.dir.path() +
                                " check " + bad + " 2>" + (home.dir / "err.txt");
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(home.dir.Read("err.txt"), "Kestrune Error: Expected: \"{\", got: nope\nLine: 2\n");

    // A full disk, simulated by a file-size limit with SIGXFSZ ignored: both writers report it,
    // exit 1 and leave the previous file as it was. Standard error goes through a pipe, which
    // the limit does not touch.
    const std::string preset = home.Preset(true, false, home.input);
    const std::string oldScript = home.dir.Write("old.bat", "old script\r\n");
    const std::string oldPreset = home.dir.Write("old.zrp", "ZRP200\r\nold\r\n");
    const std::string limited = "(ulimit -f 0; trap '' XFSZ; exec " +
                                std::string(KESTRUNE_CLI_PATH) + " --home " + home.dir.path();
    const ShellResult batchRun =
        Shell(limited + " batch " + preset + " -o " + oldScript + " 2>&1 >/dev/null)");
    EXPECT_EQ(batchRun.exitCode, 1);
    EXPECT_EQ(batchRun.output, "Error: Cannot write file \"" + oldScript + "\". File too large\n");
    EXPECT_EQ(home.dir.Read("old.bat"), "old script\r\n");
    const ShellResult saveRun =
        Shell(limited + " save " + preset + " -o " + oldPreset + " 2>&1 >/dev/null)");
    EXPECT_EQ(saveRun.exitCode, 1);
    EXPECT_EQ(saveRun.output, "Error: Cannot write file \"" + oldPreset + "\". File too large\n");
    EXPECT_EQ(home.dir.Read("old.zrp"), "ZRP200\r\nold\r\n");

    const int usage = std::system((std::string(KESTRUNE_CLI_PATH) + " 2>/dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(usage));
    EXPECT_EQ(WEXITSTATUS(usage), 2);
}

}  // namespace
}  // namespace kestrune::cli
