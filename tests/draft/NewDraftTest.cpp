#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

#include "TempDir.h"
#include "base/FileIo.h"
#include "draft/HelpReader.h"
#include "draft/NewDraft.h"

namespace kestrune {
namespace {

using namespace std::chrono_literals;

// A request that writes into `home`'s SpecFiles/ and Config/ and searches only `bin`.
NewDraftRequest RequestIn(const testing::TempDir& home, const std::string& tool) {
    NewDraftRequest request;
    request.tool = tool;
    request.specFolder = home / "SpecFiles";
    request.configFolder = home / "Config";
    request.searchPath = home / "bin";
    request.limits.time = 2000ms;
    return request;
}

std::string Script(const testing::TempDir& home, const std::string& name, const std::string& body) {
    const std::string path = home.Write("bin/" + name, "#!/bin/sh\n" + body);
    chmod(path.c_str(), 0755);
    return path;
}

TEST(NewDraft, HostileHelpTextsGiveAMessageAndWriteNothing) {
    testing::TempDir home;
    std::string random(64 * 1024, '\0');
    std::mt19937 generator(26);
    for (char& c : random) {
        c = static_cast<char>(generator() & 0xFF);
    }
    std::string printableNoise(1024 * 1024, 'x');
    for (std::size_t i = 0; i + 3 < printableNoise.size(); i += 7) {
        printableNoise[i + 3] = "- =[<{,|"[i % 8];
    }
    const std::string noOptions = "no options found in the help of ";
    const std::string binary = " is not a help text (it holds binary data).";
    const struct {
        const char* name;
        std::string bytes;
        bool isBinary;
    } cases[] = {
        {"empty.txt", "", false},
        {"binary.txt", std::string("ELF\x02\x01\x01\0\0\0--help  x\n", 18), true},
        {"random.txt", random, true},
        {"oneline.txt", std::string(1024 * 1024, 'a'), false},
        {"noise.txt", printableNoise, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NewDraftRequest request = RequestIn(home, "tool");
        request.helpTextFile = home.Write(c.name, c.bytes);
        const NewDraftResult result = MakeNewDraft(request);
        EXPECT_FALSE(result.written);
        const std::string path = request.helpTextFile;
        EXPECT_EQ(result.message,
                  c.isBinary ? path + binary : noOptions + path + "; nothing was written.");
        EXPECT_FALSE(FileExists(home / "SpecFiles/tool.zrs"));
    }
}

// Tools that misbehave when asked for their help: each gives its message, and no file.
TEST(NewDraft, ToolsThatFailGiveAClearMessage) {
    testing::TempDir home;
    const std::string hangs = Script(home, "hangs", "sleep 30\n");
    const std::string crashes = Script(home, "crashes", "kill -SEGV $$\n");
    const std::string silent = Script(home, "silent", "exit 0\n");
    home.Write("bin/plain", "not executable\n");
    const struct {
        std::string tool;
        std::string message;
    } cases[] = {
        {"hangs", hangs + " --help did not end within the time limit."},
        {"crashes", crashes + " --help crashed."},
        {"silent", "no options found in the help of " + silent + "; nothing was written."},
        {"nowhere", "nowhere not found on the search path (PATH)."},
        {"plain", "plain not found on the search path (PATH)."},
        {home / "bin/plain", home / "bin/plain" + " is not an executable file."},
        {home / "bin/none", home / "bin/none" + " not found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tool);
        NewDraftRequest request = RequestIn(home, c.tool);
        request.limits.time = 500ms;
        const auto started = std::chrono::steady_clock::now();
        const NewDraftResult result = MakeNewDraft(request);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);  // the hang was cut short
        EXPECT_FALSE(result.written);
        EXPECT_EQ(result.message, c.message);
    }
    EXPECT_FALSE(FileExists(home / "SpecFiles"));
}

// --help gives nothing useful, -h does: the fallback finds the options, and only the help is
// asked for (the arguments the tool saw are logged).
TEST(NewDraft, FallsBackToDashHAndWritesTheDraftAndItsToolPathFile) {
    testing::TempDir home;
    const std::string tool = Script(home, "frob",
                                    "echo \"$@ LC_ALL=$LC_ALL COLUMNS=$COLUMNS\" >> \"$0.log\"\n"
                                    "read line && echo \"stdin: $line\" >> \"$0.log\"\n"
                                    "[ \"$1\" = -h ] || { echo 'Usage: frob'; exit 1; }\n"
                                    "echo '  -q, --quiet    say less'\n"
                                    "echo '  -n, --count=N  how many (default: 3)'\n");
    NewDraftRequest request = RequestIn(home, "frob");
    const NewDraftResult result = MakeNewDraft(request);
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_EQ(home.Read("bin/frob.log"), "--help LC_ALL=C COLUMNS=200\n-h LC_ALL=C COLUMNS=200\n");
    EXPECT_EQ(result.specPath, home / "SpecFiles/frob.zrs");
    EXPECT_EQ(result.fieldCount, 2u);
    EXPECT_EQ(home.Read("Config/frob.path"),
              "BasePath = \r\nFileDest = \r\nfrob = " + tool + "\r\n");
    EXPECT_EQ(home.Read("SpecFiles/frob.zrs"),
              "// Drafted by kestrune-cli new from the help of " + tool +
                  ".\n"
                  "// Keep the options you use, give them better captions, and check each Param.\n"
                  "Setup = frob\n"
                  "{\n"
                  "    Program = frob\n"
                  "    Filter = All Files (*)|*\n"
                  "    Layout:\n"
                  "    echo \"Kestrune $Version: $FileName.$FileExt, $DateTime\" > "
                  "\"$FilePath/$FileName.log\"\n"
                  "    \"$ClassEXE=frob\" $ClassParam=frob \"$FilePath/$FileName.$FileExt\" >> "
                  "\"$FilePath/$FileName.log\" 2>&1\n"
                  "    cat \"$FilePath/$FileName.log\"\n"
                  "}\n"
                  "\n"
                  "Group = frob\n"
                  "{\n"
                  "    Name = frob\n"
                  "    RequireExe = true\n"
                  "    ExeFilter = All Files (*)|*\n"
                  "    CheckBox = quiet\n"
                  "    {\n"
                  "        Param = --quiet\n"
                  "        Hint = say less\n"
                  "    }\n"
                  "    EditBox = count\n"
                  "    {\n"
                  "        Param = --count\n"
                  "        Type = int\n"
                  "        Default = 3\n"
                  "        Hint = how many (default: 3)\n"
                  "    }\n"
                  "}\n");

    // A second draft does not replace the first, nor its tool path file, without --force.
    home.Write("SpecFiles/frob.zrs", "mine");
    EXPECT_FALSE(MakeNewDraft(request).written);
    EXPECT_EQ(MakeNewDraft(request).message,
              home / "SpecFiles/frob.zrs" + " exists already; give --force to replace it.");
    EXPECT_EQ(home.Read("SpecFiles/frob.zrs"), "mine");
    request.output = home / "other/frob2.zrs";
    home.Write("Config/frob2.path", "paths");
    EXPECT_EQ(MakeNewDraft(request).message,
              home / "Config/frob2.path" + " exists already; give --force to replace it.");
    EXPECT_FALSE(FileExists(home / "other/frob2.zrs"));
    request.force = true;
    request.name = "Frobnicator";
    ASSERT_TRUE(MakeNewDraft(request).written);
    EXPECT_NE(home.Read("other/frob2.zrs").find("Setup = Frobnicator\n"), std::string::npos);
    EXPECT_EQ(home.Read("Config/frob2.path"),
              "BasePath = \r\nFileDest = \r\nfrob = " + tool + "\r\n");
}

}  // namespace
}  // namespace kestrune
