#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "draft/DraftWriter.h"
#include "lint/Lint.h"

namespace kestrune {
namespace {

const char* KindName(DraftKind kind) {
    switch (kind) {
        case DraftKind::Label:
            return "LabelBox";
        case DraftKind::CheckBox:
            return "CheckBox";
        case DraftKind::EditBox:
            return "EditBox";
        case DraftKind::ComboBox:
            return "ComboBox";
        case DraftKind::BrowseBox:
            return "BrowseBox";
    }
    return "?";
}

// A field as one line: kind, caption, then the keys that are set.
std::string Describe(const DraftField& field) {
    std::string text = std::string(KindName(field.kind)) + " " + field.caption;
    const auto add = [&](const char* key, const std::string& value) {
        if (!value.empty()) {
            text += std::string(" | ") + key + "=" + value;
        }
    };
    add("Param", field.param);
    add("Type", field.type);
    add("Options", field.options);
    add("Default", field.defaultValue);
    if (field.width > 1) {
        add("Width", std::to_string(field.width));
    }
    return text;
}

std::string FieldWithParam(const std::vector<DraftField>& fields, const std::string& param,
                           const std::string& caption) {
    for (const DraftField& field : fields) {
        if ((!param.empty() && field.param == param) ||
            (param.empty() && field.caption == caption)) {
            return Describe(field);
        }
    }
    return "(none)";
}

struct FieldCase {
    const char* file;
    const char* param;  // the field to look at: by its Param, or when empty by the caption below
    const char* caption;
    const char* expected;
};

// For each help style, options of every kind: the field drafted for each, key by key.
TEST(DraftWriter, DraftsTheRightFieldForOptionsOfRealHelpTexts) {
    const std::vector<FieldCase> cases{
        {"gzip.txt", "--stdout", "", "CheckBox stdout | Param=--stdout"},
        {"gzip.txt", "--suffix", "", "EditBox suffix | Param=--suffix"},
        {"gzip.txt", "--fast", "", "CheckBox fast | Param=--fast"},
        {"tar.txt", "--listed-incremental", "",
         "BrowseBox listed-incremental | Param=--listed-incremental | Type=file | Width=2"},
        {"tar.txt", "--directory", "",
         "BrowseBox directory | Param=--directory | Type=path | Width=2"},
        {"tar.txt", "--occurrence", "", "CheckBox occurrence | Param=--occurrence"},
        {"tar.txt", "--level", "", "EditBox level | Param=--level | Type=int"},
        {"tar.txt", "--sparse-version", "", "EditBox sparse-version | Param=--sparse-version"},
        {"curl.txt", "--connect-timeout", "",
         "EditBox connect-timeout | Param=--connect-timeout | Type=float | Width=2"},
        {"curl.txt", "--output", "", "BrowseBox output | Param=--output | Type=file | Width=2"},
        {"curl.txt", "--cookie", "", "EditBox cookie | Param=--cookie | Width=2"},
        {"curl.txt", "--proxy", "", "EditBox proxy | Param=--proxy | Width=2"},
        {"curl.txt", "--http1.0", "", "CheckBox http1.0 | Param=--http1.0"},
        {"curl.txt", "--max-time", "",
         "EditBox max-time | Param=--max-time | Type=float | Width=2"},
        {"pandoc.txt", "--wrap", "",
         "ComboBox wrap | Param=--wrap | Options=auto,auto|none,none|preserve,preserve | "
         "Default=auto"},
        {"pandoc.txt", "--toc-depth", "", "EditBox toc-depth | Param=--toc-depth | Type=int"},
        {"pandoc.txt", "--output", "", "BrowseBox output | Param=--output | Type=file | Width=2"},
        {"pandoc.txt", "--data-dir", "",
         "BrowseBox data-dir | Param=--data-dir | Type=path | Width=2"},
        {"pandoc.txt", "--toc", "", "CheckBox toc | Param=--toc"},
        {"ffmpeg.txt", "-loglevel", "", "EditBox loglevel | Param=-loglevel"},
        {"ffmpeg.txt", "-y", "", "CheckBox y | Param=-y"},
        {"ffmpeg.txt", "-frames", "", "EditBox frames | Param=-frames | Type=int"},
        {"ffmpeg.txt", "-filter_script", "",
         "BrowseBox filter_script | Param=-filter_script | Type=file | Width=2"},
        {"ffmpeg.txt", "-max_error_rate", "",
         "EditBox max_error_rate | Param=-max_error_rate | Width=2"},
        {"sox.txt", "--combine", "",
         "ComboBox combine | Param=--combine | "
         "Options=concatenate,concatenate|sequence,sequence|mix,mix|mix-power,mix-power|merge,"
         "merge|multiply,multiply | Default=concatenate"},
        {"sox.txt", "--buffer", "", "EditBox buffer | Param=--buffer | Type=int | Default=8192"},
        {"sox.txt", "--temp", "", "BrowseBox temp | Param=--temp | Type=path | Width=2"},
        {"sox.txt", "-V", "", "CheckBox V | Param=-V"},
        {"sox.txt", "--replay-gain", "",
         "ComboBox replay-gain | Param=--replay-gain | Options=track,track|album,album|off,off | "
         "Default=track"},
        {"ripgrep.txt", "--after-context", "",
         "EditBox after-context | Param=--after-context | Type=int"},
        {"ripgrep.txt", "--max-filesize", "", "EditBox max-filesize | Param=--max-filesize"},
        {"ripgrep.txt", "--ignore-file", "",
         "BrowseBox ignore-file | Param=--ignore-file | Type=file | Width=2"},
        {"ripgrep.txt", "--case-sensitive", "", "CheckBox case-sensitive | Param=--case-sensitive"},
        {"ripgrep.txt", "--engine", "", "EditBox engine | Param=--engine | Default=default"},
        {"python-calendar.txt", "--type", "",
         "ComboBox type | Param=--type | Options=text,text|html,html | Default=text"},
        {"python-calendar.txt", "--width", "",
         "EditBox width | Param=--width | Type=int | Default=2"},
        {"python-http-server.txt", "--bind", "", "EditBox bind | Param=--bind"},
        {"python-http-server.txt", "--protocol", "",
         "EditBox protocol | Param=--protocol | Default=HTTP/1.0"},
        {"python-http-server.txt", "--directory", "",
         "BrowseBox directory | Param=--directory | Type=path | Width=2"},
        {"python-json-tool.txt", "--indent", "", "EditBox indent | Param=--indent"},
        {"python-json-tool.txt", "--sort-keys", "", "CheckBox sort-keys | Param=--sort-keys"},
        {"duf.txt", "-avail-threshold", "",
         "EditBox avail-threshold | Param=-avail-threshold | Default=10G,1G | Width=2"},
        {"duf.txt", "-all", "", "CheckBox all | Param=-all"},
        {"duf.txt", "-sort", "", "EditBox sort | Param=-sort | Default=mountpoint | Width=2"},
        {"duf.txt", "-width", "", "EditBox width | Param=-width | Type=int"},
        {"duf.txt", "-hide", "", "EditBox hide | Param=-hide | Width=2"},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.param);
        const std::vector<DraftField> fields =
            PlanFields(ReadHelpText(testing::ReadFixture(std::string("help/") + c.file)));
        EXPECT_EQ(FieldWithParam(fields, c.param, c.caption), c.expected);
    }
}

// Every draft of the saved help texts reads without a message and lints without a finding.
TEST(DraftWriter, DraftsOfRealHelpTextsLintWithoutAFinding) {
    for (const char* file :
         {"gzip.txt", "xz.txt", "sed.txt", "tar.txt", "curl.txt", "pandoc.txt", "ffmpeg.txt",
          "sox.txt", "ripgrep.txt", "duf.txt", "python-json-tool.txt", "python-http-server.txt",
          "python-calendar.txt"}) {
        SCOPED_TRACE(file);
        const Draft draft =
            WriteDraft(ReadHelpText(testing::ReadFixture(std::string("help/") + file)),
                       DraftSource{file, "tool", "/usr/bin/tool"});
        EXPECT_GT(draft.fieldCount, 3u);
        std::vector<std::string> findings;
        for (const LintFinding& finding : LintSpecification(draft.specification)) {
            findings.push_back(FormatFinding(file, finding));
        }
        EXPECT_EQ(findings, std::vector<std::string>{});
    }
}

// The layout runs the tool the way its usage line shows: "-i" for ffmpeg's input, an output
// file where one is required, the input alone otherwise.
TEST(DraftWriter, RunsTheToolAsItsUsageShows) {
    const std::string in = "\"$FilePath/$FileName.$FileExt\"";
    const std::string out = " \"$FilePath/$FileName-out.$FileExt\"";
    const std::string log = " >> \"$FilePath/$FileName.log\" 2>&1";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"ffmpeg.txt", "-i " + in + out},
        {"sox.txt", in + out},
        {"gzip.txt", in},
        {"python-json-tool.txt", in},  // "[outfile]": optional
        {"ripgrep.txt", in},           // the usage is on the line after its heading
        {"duf.txt", in},
    };
    for (const auto& [file, arguments] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(RunLine(ReadHelpText(testing::ReadFixture("help/" + file)), "t"),
                  "\"$ClassEXE=t\" $ClassParam=t " + arguments + log);
    }
    EXPECT_EQ(ReadHelpText(testing::ReadFixture("help/ffmpeg.txt")).usage,
              "ffmpeg [options] [[infile options] -i infile]... {[outfile options] outfile}...");
}

TEST(DraftWriter, LeavesOutWhatOnlyPrintsAndKeepsCaptionsUnique) {
    const HelpText help = ReadHelpText(
        "Options:\n"
        "  -h, --help       show this help\n"
        "  -V, --version    print the version\n"
        "      --usage      give a short usage message\n"
        "  -H, --long-help  the long help\n"
        "      --help-all   all the help\n"
        "  -l, --level=N    how hard\n"
        "  -L, --Level      louder\n"
        "      --level-2    the other level\n"
        "      --LEVEL-2    yet another\n");
    std::vector<std::string> described;
    for (const DraftField& field : PlanFields(help)) {
        described.push_back(Describe(field));
    }
    EXPECT_EQ(described, (std::vector<std::string>{
                             "LabelBox Options",
                             "EditBox level | Param=--level | Type=int",
                             "CheckBox Level 2 | Param=--Level",
                             "CheckBox level-2 | Param=--level-2",
                             "CheckBox LEVEL-2 2 | Param=--LEVEL-2",
                         }));
}

TEST(DraftWriter, SpecificationTextHasNoCommentAndNoLineBreak) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"see https://curl.se/docs for more", "see curl.se/docs for more"},
        {"a // b", "a / / b"},
        {"x:///y", "/y"},
        {"://z", ":/ /z"},
        {"one\ttwo\rthree\x01", "one two three"},
        {"  trimmed  ", "trimmed"},
        {"////", "/ / / /"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(SpecificationText(text), expected);
        EXPECT_EQ(SpecificationText(text).find("//"), std::string::npos);
    }
}

}  // namespace
}  // namespace kestrune
