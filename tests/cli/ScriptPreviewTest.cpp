// The preview of a script is what Run writes: for the shipped samples and for presets with
// random ticks and values, the preview's text equals the bytes written, line by line, and
// building it changes nothing.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "CliApp.h"
#include "FakePlatform.h"
#include "ScriptText.h"
#include "TempDir.h"
#include "app/Main.h"
#include "base/Text.h"
#include "script/BatchBuilder.h"

namespace kestrune::cli {
namespace {

namespace fs = std::filesystem;
using kestrune::testing::FakePlatform;
using kestrune::testing::ScriptLines;
using kestrune::testing::TempDir;

// A program folder holding the shipped samples, whose tool paths name stand-ins in the folder.
struct SampleHome {
    explicit SampleHome(const std::string& sample) {
        for (const char* folder : {"SpecFiles", "Presets", "Inputs"}) {
            fs::copy(fs::path(KESTRUNE_SAMPLES_DIR) / folder, fs::path(dir.path()) / folder,
                     fs::copy_options::recursive);
        }
        // The sample's tool path file, each stage pointing at a stand-in that lists its words.
        std::ifstream shipped(fs::path(KESTRUNE_SAMPLES_DIR) / "Config" / (sample + ".path"));
        std::string paths;
        for (std::string line; std::getline(shipped, line);) {
            const std::size_t equals = line.find('=');
            const std::string key =
                equals == std::string::npos ? "" : LowerAscii(Trim(line.substr(0, equals)));
            if (key.empty() || key == "basepath" || key == "filedest") {
                paths.append(Trim(line)).append("\r\n");
                continue;
            }
            const std::string tool =
                dir.Write("tools/" + key,
                          "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + dir.path() + key + ".args\"\n");
            fs::permissions(tool, fs::perms::owner_all);
            paths.append(key + " = " + tool + "\r\n");
        }
        dir.Write("Config/" + sample + ".path", paths);
        fake.dateTime = "09/12/26 13:00:00";
        window = std::make_unique<TfrmMain>(fake, dir.path());
    }

    AppState& State() { return window->State(); }

    TempDir dir;
    FakePlatform fake;
    std::unique_ptr<TfrmMain> window;
};

// Names from the plain to the hostile, for input files and configured folders.
const std::vector<std::string> kNames = {
    "plain",       "with blank", "Tom's notes", "$(touch PWNED)", "a\"b",
    "back\\slash", "`id`",       "B$FileName",  "semi;colon",     "100%",
};
// Option values are the user's own shell text; they vary, but stay words.
const std::vector<std::string> kValues = {"", "50%", "7", "LOUD", "a b", "-x -y", "64x64"};

template <typename T>
const T& Pick(std::mt19937& random, const std::vector<T>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

bool Coin(std::mt19937& random) {
    return std::uniform_int_distribution<int>(0, 1)(random) == 1;
}

// Ticks, values, stages, the input file, the folders and the log viewer, at random.
void Randomise(SampleHome& home, std::mt19937& random) {
    AppState& state = home.State();
    for (const auto& program : state.Specification.Programs) {
        program->Run = Coin(random);
        program->ForEachField([&](auto& field) {
            field.SetChecked(Coin(random));
            if constexpr (requires { field.EditControl; }) {
                field.EditControl.text = Pick(random, kValues);
            } else if constexpr (requires { field.ComboControl; }) {
                field.ComboControl.text = Pick(random, kValues);
            }
        });
    }
    state.Fields.Files.BasePath = Coin(random) ? "" : "/base/" + Pick(random, kNames);
    state.Fields.Files.FileDest = Coin(random) ? "" : "/dest/" + Pick(random, kNames);
    const std::string input =
        home.dir.Write("work/" + Pick(random, kNames) + "/" + Pick(random, kNames) + ".in", "");
    home.window->SetInputFile(input);
    state.Script.ViewLogAfterCompile = Coin(random);
}

// The written lines of a preview joined with the script's line ends.
std::string JoinWritten(const ScriptPreview& preview) {
    std::string text;
    for (const ScriptLine& line : preview.lines) {
        if (line.fate == LineFate::Written) {
            text.append(line.text).append(kScriptLineEnd);
        }
    }
    return text;
}

// Compares a preview with what writing gives, and checks that building it changed nothing.
void ExpectPreviewIsWhatIsWritten(SampleHome& home, std::optional<std::size_t> stage,
                                  const std::string& label) {
    AppState& state = home.State();
    const std::string target = home.dir / "compile.sh";
    std::error_code ignored;
    fs::remove(target, ignored);
    state.Fields.PresetChanged = false;
    const ScriptPreview preview = stage
                                      ? PreviewStageBatch(state.Specification, state.Script, *stage)
                                      : PreviewBatch(state.Specification, state.Script);
    EXPECT_FALSE(state.Fields.PresetChanged) << label;
    EXPECT_EQ(preview.lines.size(), state.Specification.LayoutLines.size()) << label;
    EXPECT_EQ(JoinWritten(preview), preview.text) << label;

    const std::size_t messages = home.fake.messages.size();
    const bool written = stage ? WriteStageBatch(state.Specification, state.Script, target, *stage)
                               : WriteBatch(state.Specification, state.Script, target);
    EXPECT_EQ(written, preview.Writable()) << label;
    if (written) {
        EXPECT_EQ(home.dir.Read(target), preview.text) << label;
    } else {
        ASSERT_EQ(home.fake.messages.size(), messages + 1) << label;
        EXPECT_EQ(home.fake.messages.back().text, preview.missingMessage) << label;
        EXPECT_FALSE(fs::exists(target)) << label;
    }
}

class PreviewOfSample : public ::testing::TestWithParam<const char*> {};

TEST_P(PreviewOfSample, AsShippedAndWithRandomValuesEqualsTheWrittenBytes) {
    const std::string sample = GetParam();
    SampleHome home(sample);
    ASSERT_TRUE(
        home.window->OpenPreset(home.dir / ("Presets/" + sample + ".zrp"), PresetMode::Open));
    home.window->SetInputFile(home.dir / "Inputs/hello.c");
    ExpectPreviewIsWhatIsWritten(home, std::nullopt, sample + " as shipped");

    std::mt19937 random(20261209);
    for (int round = 0; round < 25; ++round) {
        Randomise(home, random);
        const std::string label = sample + " round " + std::to_string(round);
        ExpectPreviewIsWhatIsWritten(home, std::nullopt, label);
        for (const RunStageEntry& entry : home.State().Specification.RunStages) {
            ExpectPreviewIsWhatIsWritten(home, static_cast<std::size_t>(entry.index),
                                         label + " stage " + entry.caption);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, PreviewOfSample, ::testing::Values("HelloC", "ImageTools"));

// The lines a run leaves out are listed with the reason and the text they would have.
TEST(PreviewLines, LeftOutLinesSayWhyAndShowTheirText) {
    SampleHome home("HelloC");
    ASSERT_TRUE(home.window->OpenPreset(home.dir / "Presets/HelloC.zrp", PresetMode::Open));
    const std::string input = home.dir.Write("work/hi.c", "");
    home.window->SetInputFile(input);
    AppState& state = home.State();
    state.Script.ViewLogAfterCompile = false;
    state.Specification.Programs[1]->Run = false;  // Strip
    const std::string strip = state.Specification.Programs[1]->ToolPath;
    const std::string work = home.dir / "work";

    const ScriptPreview whole = PreviewBatch(state.Specification, state.Script);
    const std::string log = "\"" + work + "/hi.log\"";
    const std::pair<LineFate, std::string> expected[] = {
        {LineFate::Written, "echo \"Kestrune 2.0.3.1: hi.c, 09/12/26 13:00:00\" > " + log},
        {LineFate::Written, "\"" + home.dir.path() +
                                "tools/compile\" -Wall -Wextra -std=c17 -O2 -o \"" + work +
                                "/hi\" \"" + work + "/hi.c\" >> " + log +
                                " 2>&1 || echo \"error: hi.c did not compile\" >> " + log},
        {LineFate::UntickedStage,
         "\"" + strip + "\" --strip-all \"" + work + "/hi\" >> " + log + " 2>&1"},
        {LineFate::Written, "\"" + home.dir.path() + "tools/run\" GREETING=Hello \"" + work +
                                "/hi\" >> " + log + " 2>&1"},
        {LineFate::Written, "cat " + log},
        {LineFate::LogViewerOff, "\"" + home.dir.path() + "REDA\" " + log + " &"},
    };
    ASSERT_EQ(whole.lines.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(whole.lines[i].layoutIndex, i);
        EXPECT_EQ(whole.lines[i].fate, expected[i].first) << i;
        EXPECT_EQ(whole.lines[i].text, expected[i].second) << i;
    }

    // One stage: the other programs' lines are left out; the log viewer's line is written
    // empty, as a single stage writes every line it keeps.
    const ScriptPreview stage = PreviewStageBatch(state.Specification, state.Script, 1);
    const LineFate stageFates[] = {LineFate::Written, LineFate::OtherProgram,
                                   LineFate::Written, LineFate::OtherProgram,
                                   LineFate::Written, LineFate::Written};
    ASSERT_EQ(stage.lines.size(), std::size(stageFates));
    for (std::size_t i = 0; i < std::size(stageFates); ++i) {
        EXPECT_EQ(stage.lines[i].fate, stageFates[i]) << i;
    }
    EXPECT_EQ(stage.lines[5].text, "");
    EXPECT_TRUE(stage.Writable());
}

// The Convert stage alone keeps the tint that the option-only program Tint computes, and runs
// the tool with it.
TEST(CliBatchStage, ConvertAloneIsTintedAsTheWholeRun) {
    SampleHome home("ImageTools");
    const std::string input = home.dir / "Inputs/kestrel.png";
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunWith({"batch", home.dir / "Presets/ImageTools.zrp", "--input", input,
                              "--stage", "Convert", "-o", "-"},
                             home.dir.path(), out, err);
    ASSERT_EQ(code, 0) << err.str();
    EXPECT_EQ(err.str(), "");
    const std::string script = out.str();
    EXPECT_NE(script.find("tint=$(echo \"0.156862745098039 0.509803921568627 0.862745098039216\" "
                          "| awk 'NF == 3 {"),
              std::string::npos)
        << script;
    EXPECT_EQ(script.find("optipng"), std::string::npos);
    EXPECT_EQ(script.find("tools/Optimise"), std::string::npos);

    // The same bytes as the file the stage writes.
    std::ostringstream fileOut;
    ASSERT_EQ(RunWith({"batch", home.dir / "Presets/ImageTools.zrp", "--input", input, "--stage",
                       "Convert", "-o", home.dir / "stage.sh"},
                      home.dir.path(), fileOut, err),
              0);
    EXPECT_EQ(home.dir.Read("stage.sh"), script);
    EXPECT_EQ(fileOut.str(), "");

    const std::string command = "cd '" + home.dir.path() + "' && /bin/sh stage.sh >/dev/null 2>&1";
    ASSERT_EQ(WEXITSTATUS(std::system(command.c_str())), 0);
    EXPECT_EQ(home.dir.Read("convert.args"), input +
                                                 "\n-resize\n50%\n-fill\nrgb(15%,50%,86%)\n"
                                                 "-tint\n60\n" +
                                                 home.dir.path() + "Inputs/kestrel-out.png\n");
}

// "-o -" writes the whole script to standard output and nothing else; a stop is reported on
// standard error with nothing on standard output.
TEST(CliBatchStdout, WritesTheScriptOrNothing) {
    SampleHome home("HelloC");
    const std::string preset = home.dir / "Presets/HelloC.zrp";
    const std::string input = home.dir / "Inputs/hello.c";
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunWith({"batch", preset, "--input", input, "-o", "-"}, home.dir.path(), out, err), 0)
        << err.str();
    std::ostringstream fileOut;
    ASSERT_EQ(RunWith({"batch", preset, "--input", input}, home.dir.path(), fileOut, err), 0);
    EXPECT_EQ(out.str(), home.dir.Read("compile.sh"));
    EXPECT_EQ(out.str().substr(0, 30), "echo \"Kestrune 2.0.3.1: hello.");

    fs::remove(home.dir / "tools/compile");
    std::ostringstream missingOut;
    std::ostringstream missingErr;
    EXPECT_EQ(RunWith({"batch", preset, "--input", input, "-o", "-"}, home.dir.path(), missingOut,
                      missingErr),
              1);
    EXPECT_EQ(missingOut.str(), "");
    EXPECT_NE(missingErr.str().find("Group = Compile"), std::string::npos) << missingErr.str();
}

}  // namespace
}  // namespace kestrune::cli
