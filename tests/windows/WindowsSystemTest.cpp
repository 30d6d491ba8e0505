// The Windows side of the platform layer, run under Wine or on Windows: paths, the registry
// association read back by reg.exe, the shell starting a batch file, the screen and version.

#include <gtest/gtest.h>

#include <windows.h>
// windows.h renames it to its ANSI entry point, which the platform interface does not have.
#undef ChooseColor

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "TempDir.h"
#include "app/AppState.h"
#include "app/Association.h"
#include "base/FileIo.h"
#include "base/ScriptedPlatform.h"
#include "base/WindowsSystem.h"
#include "specification/Catalogue.h"

namespace kestrune {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// The registry calls of the real platform, the rest scripted.
class RegistryPlatform : public ScriptedPlatform {
  public:
    bool CreateClassKey(const std::string& key) override {
        return windows::CreateUserClassKey(key);
    }
    bool SetClassKeyDefault(const std::string& key, const std::string& value) override {
        return windows::SetUserClassKeyDefault(key, value);
    }
};

// What a command prints, read through a pipe.
std::string Output(const std::string& command) {
    std::string text;
    if (std::FILE* pipe = _popen(command.c_str(), "rb")) {
        char buffer[512];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            text.append(buffer, n);
        }
        _pclose(pipe);
    }
    return text;
}

// The folder without the final separator TempDir gives, in Windows' own form.
std::string Folder(const TempDir& dir) {
    return fs::path(dir.path()).parent_path().make_preferred().string();
}

TEST(WindowsPaths, TheProgramFolderIsTheExecutablesFolderWithAFinalBackslash) {
    const std::string exe = windows::ExecutablePath();
    ASSERT_GT(exe.size(), 17u);
    EXPECT_EQ(exe.substr(exe.size() - 17), "\\test_windows.exe");
    const std::string folder = ExecutableFolder("not the program");
    EXPECT_EQ(folder, exe.substr(0, exe.size() - 16));
}

TEST(WindowsPaths, AShortPathReadsLong) {
    TempDir dir;
    const std::string longFolder = Folder(dir) + "\\A Folder With A Long Name";
    fs::create_directory(longFolder);
    const std::string longFile = longFolder + "\\A preset with blanks.zrp";
    std::ofstream(longFile) << "x";
    wchar_t shortName[MAX_PATH];
    const DWORD n = GetShortPathNameW(windows::Wide(longFile).c_str(), shortName, MAX_PATH);
    ASSERT_GT(n, 0u);
    const std::string shortPath = windows::Narrow(std::wstring(shortName, n));
    ASSERT_NE(shortPath, longFile);
    EXPECT_EQ(windows::LongPathName(shortPath), longFile);
}

TEST(WindowsPaths, LongPathNamesOfRelativeMissingAndEmptyPaths) {
    TempDir dir;
    const std::string folder = Folder(dir);
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {"missing.zrp", folder + "\\missing.zrp"},
        {"sub/../other.zrp", folder + "\\other.zrp"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windows::LongPathName(c.path), c.expected) << c.path;
    }
    fs::current_path(previous);
}

TEST(WindowsPaths, SpecificationFilesAreFoundWhateverTheLetterCase) {
    TempDir dir;
    for (const char* name : {"Lower.zrs", "UPPER.ZRS", "Mixed.Zrs", "other.zrp", "zrs"}) {
        dir.Write(std::string("SpecFiles/") + name, "Setup = x\r\n");
    }
    EXPECT_EQ(ListSpecificationFiles(dir.path() + "SpecFiles"),
              (std::vector<std::string>{"Lower.zrs", "Mixed.Zrs", "UPPER.ZRS"}));
}

TEST(WindowsRegistry, ThePresetAssociationIsWrittenForTheUserAndReadBackByReg) {
    RegistryPlatform platform;
    const std::string exe = "C:\\Program Files\\Kestrune 2\\kestrune.exe";
    const Result<void> registered = RegisterPresetClassKeys(platform, exe);
    ASSERT_TRUE(registered.Ok()) << registered.Error();
    const struct {
        const char* key;
        std::string value;
    } cases[] = {
        {".zrp", "Kestrune_Preset_FileRef"},
        {"Kestrune_Preset_FileRef", "Kestrune Preset File"},
        {"Kestrune_Preset_FileRef\\DefaultIcon", exe},
        {"Kestrune_Preset_FileRef\\Shell\\Open\\Command", "\"" + exe + "\", \"%1\""},
    };
    for (const auto& c : cases) {
        const std::string key = std::string("HKEY_CURRENT_USER\\Software\\Classes\\") + c.key;
        EXPECT_EQ(Output("reg query \"" + key + "\" /ve"),
                  "\r\n" + key + "\r\n    (Default)    REG_SZ    " + c.value + "\r\n\r\n")
            << c.key;
    }
}

TEST(WindowsShell, ABatchFileStartedThroughTheShellRunsInCmd) {
    TempDir dir;
    const std::string folder = Folder(dir);
    const std::string script = folder + "\\compile.bat";
    std::ofstream(script, std::ios::binary)
        << "@echo off\r\necho ran %~nx0> \"" << folder << "\\out.txt\"\r\n";
    ASSERT_TRUE(windows::ShellOpen(script, "", folder));
    std::string text;
    for (int i = 0; i < 200 && text.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream in(folder + "\\out.txt", std::ios::binary);
        std::getline(in, text, '\0');
    }
    EXPECT_EQ(text, "ran compile.bat\r\n");
}

TEST(WindowsShell, AMissingProgramIsReportedAsNotStarted) {
    EXPECT_FALSE(windows::ShellOpen("C:\\no such folder\\REDA.exe", "\"x.log\"", ""));
}

TEST(WindowsScreen, TheWorkAreaAndTheVersionComeFromTheSystem) {
    const ScreenRect area = windows::WorkArea();
    EXPECT_GT(area.right, area.left);
    EXPECT_GT(area.bottom, area.top);
    EXPECT_GE(windows::OsVersion().first, 6);
}

}  // namespace
}  // namespace kestrune
