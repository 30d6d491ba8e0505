#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "CliApp.h"
#include "CliRun.h"
#include "TempDir.h"

namespace kestrune::cli {
namespace {

using kestrune::testing::TempDir;

using kestrune::testing::CliRun;

CliRun Lint(const TempDir& home, std::vector<std::string> args) {
    args.insert(args.begin(), "lint");
    return testing::RunCli(args, home.path());
}

const char* const kClean =
    "Setup = S\n{\nLayout:\n$ClassEXE=Tool\n}\nGroup = Tool\n{\nRequireExe = true\nLabelBox = "
    "x\n}\n";
const char* const kWarning = "Setup = S\n{\n  Autor = me\n}\n";
const char* const kError = "Setup = S\n{\nLayout:\n$ClassEXE=Nope\n}\n";
const char* const kNote =
    "Setup = S\n{\n}\nGroup = G\n{\nBrowseBox = In\n{\n}\nEditBox = Out\n{\n}\n}\n";

TEST(CliLint, PrintsFindingsSortedByFileAndExitsByTheWorst) {
    TempDir dir;
    const std::string clean = dir.Write("clean.zrs", kClean);
    const std::string warning = dir.Write("b.zrs", kWarning);
    const std::string error = dir.Write("a.zrs", kError);
    const std::string note = dir.Write("note.zrs", kNote);

    const CliRun quiet = Lint(dir, {clean});
    EXPECT_EQ(quiet.code, 0);
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err, "");

    const CliRun notes = Lint(dir, {note});
    EXPECT_EQ(notes.code, 0);  // a note fails nothing
    EXPECT_EQ(notes.out,
              note +
                  ":9:1: note: the value of “Out” comes before that of “In” (line 6) on the "
                  "command line: fields reach it check boxes first, then edit, combo, browse and "
                  "colour boxes, each kind in file order [field-order]\n");

    const CliRun both = Lint(dir, {warning, clean, error});
    EXPECT_EQ(both.code, 1);
    EXPECT_EQ(both.out, error +
                            ":4:1: error: “$ClassEXE=Nope” names no program: it stays in the "
                            "script as written [unknown-program]\n" +
                            warning +
                            ":3:3: warning: unknown key “Autor” in the Setup block: it is ignored "
                            "(did you mean “Author”?) [unknown-key]\n");
    EXPECT_EQ(Lint(dir, {warning}).code, 1);
    EXPECT_EQ(Lint(dir, {dir.path() + "missing.zrs"}).out,
              dir.path() + "missing.zrs:1:1: error: " + dir.path() +
                  "missing.zrs not found. [unreadable-file]\n");
}

TEST(CliLint, JsonHasTheKeysAndTheSuggestionOnlyWhereThereIsOne) {
    TempDir dir;
    const std::string spec =
        dir.Write("s.zrs", "Setup = S\n{\nAutor = me\nLink = example.org\n}\n");
    const CliRun result = Lint(dir, {"--json", spec});
    EXPECT_EQ(result.code, 1);
    const nlohmann::json expected = {
        {{"file", spec},
         {"line", 3},
         {"column", 1},
         {"severity", "warning"},
         {"rule", "unknown-key"},
         {"message",
          "unknown key “Autor” in the Setup block: it is ignored (did you mean “Author”?)"},
         {"suggestion", "Author"}},
        {{"file", spec},
         {"line", 4},
         {"column", 8},
         {"severity", "warning"},
         {"rule", "invalid-value"},
         {"message",
          "a Link needs an address, \"|\" and a caption: without \"|\" it adds no entry to the "
          "Links menu"}}};
    EXPECT_EQ(nlohmann::json::parse(result.out), expected);

    const CliRun clean = Lint(dir, {"--json", dir.Write("c.zrs", kClean)});
    EXPECT_EQ(clean.code, 0);
    EXPECT_EQ(clean.out, "[]\n");
}

TEST(CliLint, WrongCommandLinesExitTwo) {
    TempDir dir;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"--json"},
          std::vector<std::string>{"--fix", "a.zrs"}}) {
        const CliRun result = Lint(dir, args);
        EXPECT_EQ(result.code, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("kestrune-cli: "), std::string::npos);
    }
}

}  // namespace
}  // namespace kestrune::cli
