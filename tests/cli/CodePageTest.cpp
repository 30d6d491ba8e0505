// Text read from the user's files meets the core's own characters in one message, and files go
// back to disk as they came. On Windows these run on a Chinese desktop (code page 936): the
// files on disk hold GBK, every message and every value of the core is UTF-8, and a name the
// code page cannot hold is a name like any other until it would have to go into compile.bat.
// Elsewhere files are bytes: the same cases with UTF-8 on disk.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "AppHarness.h"
#include "CliRun.h"
#include "app/RunRecord.h"
#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/TextEncoding.h"
#include "lint/Lint.h"
#include "presets/PresetFile.h"
#include "presets/PresetInput.h"
#include "specification/Catalogue.h"
#include "specification/SpecLoader.h"
#include "specification/ToolPathFile.h"

#ifdef _WIN32
#include <windows.h>

#include "base/WindowsSystem.h"
#endif

namespace kestrune {
namespace {

using testing::AppHarness;
using testing::TempDir;

// The Chinese words of the cases, as the core keeps them and as GBK.
struct Word {
    std::string utf8;
    std::string gbk;
};
const Word kSetting{"\xE8\xAE\xBE\xE7\xBD\xAE", "\xC9\xE8\xD6\xC3"};                       // 设置
const Word kCompiler{"\xE7\xBC\x96\xE8\xAF\x91\xE5\x99\xA8", "\xB1\xE0\xD2\xEB\xC6\xF7"};  // 编译器
const Word kTitle{"\xE6\xA0\x87\xE9\xA2\x98", "\xB1\xEA\xCC\xE2"};                         // 标题
const Word kPreset{"\xE9\xA2\x84\xE8\xAE\xBE", "\xD4\xA4\xC9\xE8"};                        // 预设
const Word kData{"\xE6\x95\xB0\xE6\x8D\xAE", "\xCA\xFD\xBE\xDD"};                          // 数据
// Devanagari KA: no code page of a Chinese desktop holds it.
const std::string kKa = "\xE0\xA4\x95";

// `text` with every word in the form a shared file holds on this system.
std::string OnDisk(std::string text) {
#ifdef _WIN32
    for (const Word* word : {&kSetting, &kCompiler, &kTitle, &kPreset, &kData}) {
        for (std::size_t at = text.find(word->utf8); at != std::string::npos;
             at = text.find(word->utf8, at + word->gbk.size())) {
            text.replace(at, word->utf8.size(), word->gbk);
        }
    }
#endif
    return text;
}

class CodePage : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef _WIN32
        ASSERT_EQ(GetACP(), 936u) << "the test needs LANG=zh_CN.UTF-8 under Wine";
#endif
    }
};

// A specification of one stage whose field and layout hold Chinese text.
const std::string kNotesSpec =
    "Setup = Notes\r\n{\r\nlayout:\r\n$ClassEXE=Writer $ClassParam=Writer $FilePath/$FileName\r\n"
    "echo $ClassParam=" +
    kCompiler.utf8 +
    "\r\n}\r\nGroup = Writer\r\n{\r\nrequireexe = true\r\neditbox = " + kTitle.utf8 +
    "\r\n{\r\nparam = -t\r\n}\r\n}\r\n";

struct NotesHarness : AppHarness {
    NotesHarness() {
        dir.Write("SpecFiles/Notes.zrs", OnDisk(kNotesSpec));
        dir.Write("Config/Notes.path", "Writer = " + compiler + "\r\n");
        main().Clock = [] { return std::int64_t{1765281840}; };
        Start();
    }
    // A preset of Notes.zrs as the program writes one, with `title` in the ticked field.
    std::string PresetText(const std::string& title) const {
        return "ZRP200\r\n\r\n[Header]\r\nSpecFile = Notes.zrs\r\nFile = " + input +
               "\r\n\r\n[Class = Writer]\r\nRun = True\r\n[Field = " + kTitle.utf8 +
               "]\r\nChecked = True\r\nValue = " + title + "\r\n\r\n";
    }
    void Run() { ASSERT_EQ(program.Click("cmdCompile"), EventResult::Done); }
};

// ---- Messages that join the core's characters with text from a file

TEST_F(CodePage, ALintFindingQuotesTheFilesLineInUtf8) {
    TempDir dir;
    const std::string path = dir.Write("Notes.zrs", OnDisk(kNotesSpec));
    const std::vector<LintFinding> findings = LintSpecificationFile(path);
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings[0].line, 5);
    EXPECT_EQ(findings[0].message, "\xE2\x80\x9C$ClassParam=" + kCompiler.utf8 +
                                       "\xE2\x80\x9D names no program: it stays in the script "
                                       "as written");
}

TEST_F(CodePage, TheTrustQuestionNamesTheChinesePresetValueInUtf8) {
    NotesHarness h;
    const std::string value = "a & " + kSetting.utf8;
    const std::string preset = h.dir.Write(kPreset.utf8 + ".zrp", OnDisk(h.PresetText(value)));
    ASSERT_TRUE(h.main().OpenPreset(preset, PresetMode::Open));
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel};
    h.Run();
    ASSERT_EQ(h.fake.boxes.size(), 1u);
    EXPECT_EQ(h.fake.boxes[0].text,
              "The preset " + preset +
                  " holds values that the shell runs as commands, not only as words for the "
                  "tool:\r\n\r\nWriter, " +
                  kTitle.utf8 + ": " + value + "\r\n    " + h.compiler + " -t " + value + " " +
                  h.dir.path() +
                  "work/level1\r\n\r\nRun the chain with them? \"Trust This Preset\" runs it and "
                  "does not ask again until the file changes.");
}

TEST_F(CodePage, TheRunStatusNamesTheChinesePresetInUtf8) {
    NotesHarness h;
    const std::string name = kPreset.utf8 + kKa;
    const std::string preset = h.dir.Write(name + ".zrp", OnDisk(h.PresetText("plain")));
    ASSERT_TRUE(h.main().OpenPreset(preset, PresetMode::Open));
    h.fake.runProcess = 4242;
    h.fake.runningProcesses = {{4242, 4242}};
    h.Run();
    EXPECT_TRUE(h.fake.boxes.empty());
#ifdef _WIN32
    // The window started the run itself and follows its process.
    EXPECT_EQ(h.main().RunStatus,
              "Running " + name + " since " + LocalClockText(1765281840) + "\xE2\x80\xA6");
#else
    EXPECT_EQ(h.main().RunStatus, "Starting " + name + "\xE2\x80\xA6");
#endif
}

// ---- What the user saved comes back as it was

TEST_F(CodePage, APresetReadAndSavedKeepsItsBytes) {
    NotesHarness h;
    const std::string bytes = OnDisk(h.PresetText(kSetting.utf8 + " " + kData.utf8));
    const std::string preset = h.dir.Write(kPreset.utf8 + ".zrp", bytes);
    ASSERT_TRUE(h.main().OpenPreset(preset, PresetMode::Open));
    // The core holds the value in UTF-8 ...
    EXPECT_EQ(h.state().Specification.Programs[0]->EditBoxes.begin()->Text(),
              kSetting.utf8 + " " + kData.utf8);
    // ... and writes the file's own bytes back.
    const std::string saved = h.dir / "saved.zrp";
    ASSERT_TRUE(WritePreset(h.state().Specification, h.state().Input, saved));
    EXPECT_EQ(h.dir.Read(saved), bytes);
}

TEST_F(CodePage, AToolPathFileAndTheSettingsReadAndWrittenKeepTheirBytes) {
    NotesHarness h;
    const std::string tool = h.dir.Write(kCompiler.utf8 + "/writer.exe", "tool");
    const std::string toolPaths =
        OnDisk("BasePath = " + h.dir.path() + kData.utf8 + "\r\nFileDest = " + h.dir.path() +
               kSetting.utf8 + "\r\nWriter = " + tool + "\r\n");
    const std::string pathFile = h.dir.Write("Config/Notes.path", toolPaths);
    LoadSpecification(h.state().Specification, h.state().Input, h.dir / "SpecFiles/Notes.zrs");
    const SpecificationModel& spec = h.state().Specification;
    ASSERT_EQ(spec.Programs.size(), 1u);
    EXPECT_EQ(spec.Programs[0]->ToolPath, tool);
    EXPECT_EQ(spec.Fields.Files.BasePath, h.dir.path() + kData.utf8);
    WriteToolPathFile(spec, spec.Fields.Files.BasePath, spec.Fields.Files.FileDest,
                      {{"Writer", spec.Programs[0]->ToolPath}});
    EXPECT_EQ(h.dir.Read(pathFile), toolPaths);

    // The settings remember a Chinese preset; written, read and written again, the same bytes.
    const std::string preset =
        h.dir.Write(kPreset.utf8 + ".zrp", OnDisk(h.PresetText(kSetting.utf8)));
    ASSERT_TRUE(h.main().OpenPreset(preset, PresetMode::Open));
    const std::string settings = h.dir / "Config/config.ini";
    h.main().WriteSettings(settings);
    const std::string first = h.dir.Read(settings);
    EXPECT_NE(first.find("= " + OnDisk(preset) + "\r\n"), std::string::npos) << first;
    NotesHarness again;
    again.main().ReadSettings(settings);
    again.main().WriteSettings(settings);
    EXPECT_EQ(h.dir.Read(settings), first);
}

TEST_F(CodePage, ARecentPresetTheCodePageCannotNameIsLeftOutOfTheSettingsAlone) {
    NotesHarness h;
    const std::string outside =
        h.dir.Write(kPreset.utf8 + kKa + ".zrp", OnDisk(h.PresetText(kSetting.utf8)));
    const std::string inside = h.dir.Write(kPreset.utf8 + ".zrp", OnDisk(h.PresetText("x")));
    ASSERT_TRUE(h.main().OpenPreset(outside, PresetMode::Open));
    ASSERT_TRUE(h.main().OpenPreset(inside, PresetMode::Open));
    const std::string settings = h.dir / "Config/config.ini";
    h.main().WriteSettings(settings);
    const std::string text = h.dir.Read(settings);
    const std::size_t begin = text.find("[Recent Presets]\r\n");
    ASSERT_NE(begin, std::string::npos) << text;
    const std::size_t end = text.find("\r\n\r\n", begin);
    const std::string recent = text.substr(begin, end - begin);
#ifdef _WIN32
    EXPECT_EQ(recent, "[Recent Presets]\r\nRecentPreset = " + OnDisk(inside));
#else
    EXPECT_EQ(recent,
              "[Recent Presets]\r\nRecentPreset = " + outside + "\r\nRecentPreset = " + inside);
#endif
    // Everything else is there.
    EXPECT_NE(text.find("[Position]\r\nTop = "), std::string::npos) << text;
    EXPECT_NE(text.find("[Presets]\r\n"), std::string::npos) << text;
}

TEST_F(CodePage, TheModelDumpIsUtf8) {
    TempDir dir;
    const std::string path = dir.Write("Notes.zrs", OnDisk(kNotesSpec));
    const testing::CliRun run = testing::RunCli({"dump", path}, dir.path());
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("\"caption\": \"" + kTitle.utf8 + "\""), std::string::npos) << run.out;
    EXPECT_TRUE(IsValidUtf8(run.out));
}

// ---- Names the code page cannot hold

TEST_F(CodePage, ASpecificationNamedOutsideTheCodePageIsListedAndOpened) {
    TempDir dir;
    const std::string folder = dir.path() + kKa + "/SpecFiles/";
    const std::string name = kKa + kSetting.utf8 + ".zrs";
    const std::string path = dir.Write(kKa + "/SpecFiles/" + name, OnDisk(kNotesSpec));
    dir.Write(kKa + "/SpecFiles/other.txt", "");
    EXPECT_EQ(ListSpecificationFiles(folder), std::vector<std::string>{name});

    AppHarness h;
    LoadSpecification(h.state().Specification, h.state().Input, path);
    const SpecificationModel& spec = h.state().Specification;
    EXPECT_TRUE(spec.SpecificationComplete);
    ASSERT_EQ(spec.Programs.size(), 1u);
    EXPECT_EQ(spec.Programs[0]->EditBoxes.begin()->Caption(), kTitle.utf8);
}

// The input of a spec without stages, whose script writes the input's name into a log and
// copies the input after it.
const std::string kEchoSpec =
    "Setup = Echo\r\n{\r\nLayout:\r\n@echo off\r\necho $FileName.$FileExt> \"$FilePath"
#ifdef _WIN32
    "\\"
#else
    "/"
#endif
    "$FileName.log\"\r\n}\r\n";

struct EchoHome {
    TempDir dir;
    std::string preset =
        dir.Write("echo.zrp", "ZRP200\r\n\r\n[Header]\r\nSpecFile = Echo.zrs\r\nFile = \r\n\r\n");
    EchoHome() { dir.Write("SpecFiles/Echo.zrs", kEchoSpec); }
    std::string Script() const { return dir / std::string(kScriptFileName); }
    testing::CliRun Batch(const std::string& input) const {
        return testing::RunCli({"batch", preset, "--input", input}, dir.path());
    }
};

TEST_F(CodePage, AScriptNamingAnInputOutsideTheCodePageIsRefusedAndThePreviousOneKept) {
    EchoHome home;
    const std::string input = home.dir.Write("in/" + kKa + ".txt", "abc");
    home.dir.Write(std::string(kScriptFileName), "previous");
    const testing::CliRun run = home.Batch(input);
#ifdef _WIN32
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, "Error: Cannot write file \"" + home.Script() +
                           "\". Line 2 of the script holds \"" + kKa +
                           "\", a character the system's code page cannot hold, and the shell "
                           "would run another text in its place. Rename the file or folder whose "
                           "name holds it (or change the value that does), then run again. "
                           "Nothing was run.\n\necho " +
                           kKa + ".txt> \"" + home.dir.path() + "in\\" + kKa + ".log\"\n");
    EXPECT_EQ(home.dir.Read(home.Script()), "previous");
#else
    EXPECT_EQ(run.code, 0) << run.err;
    // The shell's quoting takes the name as it is.
    EXPECT_EQ(home.dir.Read(home.Script()),
              "@echo off\necho '" + kKa + "'.txt> \"" + home.dir.path() + "in/" + kKa + ".log\"\n");
#endif
}

TEST_F(CodePage, TheWindowRefusesToRunAScriptItCannotWriteTruly) {
    NotesHarness h;
    const std::string preset = h.dir.Write("plain.zrp", h.PresetText("plain"));
    ASSERT_TRUE(h.main().OpenPreset(preset, PresetMode::Open));
    const std::string input = h.dir.Write(kKa + "/level1.map", "map");
    h.main().SetInputFile(input);
    h.Run();
#ifdef _WIN32
    ASSERT_EQ(h.fake.boxes.size(), 1u);
    EXPECT_EQ(h.fake.boxes[0].text.substr(0, h.fake.boxes[0].text.find(". Line")),
              "Cannot write file \"" + h.dir.path() + std::string(kScriptFileName) + "\"");
    EXPECT_NE(h.fake.boxes[0].text.find("holds \"" + kKa + "\""), std::string::npos);
    EXPECT_TRUE(h.fake.shellCalls.empty());
    EXPECT_FALSE(FileExists(h.dir.path() + std::string(kScriptFileName)));
#else
    EXPECT_TRUE(h.fake.boxes.empty());
#endif
}

#ifdef _WIN32

// The exit status of a started process, or -1 when it did not end within a minute (then it is
// ended); its handles are closed.
int ExitStatusOf(const PROCESS_INFORMATION& process) {
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// Runs `script` with cmd.exe in `folder`; its exit status, or -1 when it did not end in time.
int RunWithCmd(const std::string& folder, const std::string& script) {
    std::wstring line = L"cmd.exe /d /c " + windows::Wide(script);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        windows::Wide(folder).c_str(), &startup, &process)) {
        return -1;
    }
    return ExitStatusOf(process);
}

TEST_F(CodePage, TheScriptOfAChineseInputIsCodePageTextThatCmdRuns) {
    EchoHome home;
    const std::string name = kSetting.utf8 + kData.utf8;
    const std::string input = home.dir.Write("in/" + name + ".txt", "abc");
    const testing::CliRun run = home.Batch(input);
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string line =
        "echo " + name + ".txt> \"" + home.dir.path() + "in\\" + name + ".log\"";
    EXPECT_EQ(home.dir.Read(home.Script()), OnDisk("@echo off\r\n" + line + "\r\n"));
    ASSERT_EQ(RunWithCmd(home.dir.path(), std::string(kScriptFileName)), 0);
    EXPECT_EQ(home.dir.Read("in/" + name + ".log"), OnDisk(name + ".txt\r\n"));
}

// kestrune-cli started as a person starts it, its output into `output`; its exit status.
int RunCliProgram(const std::vector<std::string>& arguments, const std::string& output) {
    // The build's path is a Linux one; Wine shows the Linux root as drive Z:.
    std::string program = std::string("Z:") + KESTRUNE_CLI_PATH;
    std::replace(program.begin(), program.end(), '/', '\\');
    std::wstring line = L"\"" + windows::Wide(program) + L"\"";
    for (const std::string& argument : arguments) {
        line += L" \"" + windows::Wide(argument) + L"\"";
    }
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE file = CreateFileW(windows::Wide(output).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(file);
    if (!started) {
        return -1;
    }
    return ExitStatusOf(process);
}

TEST_F(CodePage, KestruneCliTakesANameOutsideTheCodePageAndPrintsUtf8) {
    TempDir dir;
    const std::string path = dir.Write(kKa + "/" + kSetting.utf8 + ".zrs", OnDisk(kNotesSpec));
    const std::string output = dir / "out.txt";
    ASSERT_EQ(RunCliProgram({"lint", path}, output), 1);
    // The argument arrived whole, and the line names it in UTF-8 (text mode: CR LF).
    EXPECT_EQ(dir.Read(output), path + ":5:6: error: \xE2\x80\x9C$ClassParam=" + kCompiler.utf8 +
                                    "\xE2\x80\x9D names no program: it stays in the script as "
                                    "written [unknown-program]\r\n");
}

TEST(Environment, VariablesComeAsUtf8WhateverTheCodePage) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"KESTRUNE_TEST_WORD", L"\u0915\u8bbe"));
    EXPECT_EQ(EnvironmentText("KESTRUNE_TEST_WORD"), kKa + "\xE8\xAE\xBE");
    ASSERT_TRUE(SetEnvironmentVariableW(L"KESTRUNE_TEST_WORD", L""));
    EXPECT_EQ(EnvironmentText("KESTRUNE_TEST_WORD"), std::string());
    ASSERT_TRUE(SetEnvironmentVariableW(L"KESTRUNE_TEST_WORD", nullptr));
    EXPECT_EQ(EnvironmentText("KESTRUNE_TEST_WORD"), std::nullopt);
}

#endif

}  // namespace
}  // namespace kestrune
