#include <gtest/gtest.h>

#include <sys/stat.h>

#include "AppHarness.h"
#include "base/FileIo.h"

namespace kestrune {
namespace {

using testing::AppHarness;
using Strings = std::vector<std::string>;

std::string Tool(AppHarness& h) {
    const std::string path =
        h.dir.Write("tools/frob", "#!/bin/sh\necho '  -q, --quiet    say less'\n");
    chmod(path.c_str(), 0755);
    return path;
}

std::vector<std::string> Captions(const MenuState& menu) {
    return AppHarness::Captions(menu);
}

TEST(NewFromProgram, DraftsIntoSpecFilesAndLoadsItUntitled) {
    AppHarness h;
    const std::string tool = Tool(h);
    h.Start({h.ChainPreset("p/level.zrp", h.input)});
    h.state().Fields.PresetChanged = true;
    h.fake.fileAnswers.push_back(tool);
    h.fake.confirmAnswers.push_back(ConfirmAnswer::No);  // do not save the changed preset
    ASSERT_EQ(h.program.Click("cmdNewFromProgram"), EventResult::Done);

    EXPECT_EQ(h.fake.fileDialogs.at(0).title, "New Specification from Program");
    EXPECT_EQ(h.fake.confirmations.size(), 1u);  // the save-changes question, nothing else
    EXPECT_EQ(h.MessageTexts(), Strings{});
    ASSERT_TRUE(FileExists(h.dir / "SpecFiles/frob.zrs"));
    EXPECT_EQ(h.dir.Read("Config/frob.path"),
              "BasePath = \r\nFileDest = \r\nfrob = " + tool + "\r\n");
    EXPECT_EQ(h.main().Caption, "untitled.zrp - Kestrune");
    EXPECT_EQ(h.state().Specification.SpecFileName, "frob.zrs");
    ASSERT_EQ(h.state().Specification.Programs.size(), 1u);
    EXPECT_EQ(h.state().Specification.Programs[0]->Name, "frob");
    EXPECT_EQ(h.state().Specification.Programs[0]->ToolPath, tool);
    EXPECT_EQ(Captions(h.main().cmdSpecificationsMenu), (Strings{"Chain", "Other", "frob"}));
    EXPECT_TRUE(h.main().cmdSpecificationsMenu.items.at(2).checked);
    EXPECT_FALSE(h.main().cmdSpecificationsMenu.items.at(0).checked);
    EXPECT_EQ(h.state().PresetFileName, "");
    EXPECT_FALSE(h.state().Fields.PresetChanged);
    EXPECT_EQ(h.state().Input.InputFile, "");
    EXPECT_EQ(
        h.state().Fields.DetailsText,
        "New specification " + (h.dir / "SpecFiles/frob.zrs") + ": 1 fields from the help of " +
            tool +
            ". Open the file in a text editor to trim it; each saved edit shows here at once.");
}

TEST(NewFromProgram, AsksBeforeReplacingAndStopsOnNoOrCancel) {
    AppHarness h;
    const std::string tool = Tool(h);
    h.dir.Write("SpecFiles/frob.zrs", "mine");
    h.Start();
    const std::string question = (h.dir / "SpecFiles/frob.zrs") +
                                 " exists already. Replace it (and " +
                                 (h.dir / "Config/frob.path") + ") with a new draft?";
    // Cancelled dialog: nothing asked, nothing written.
    h.fake.fileAnswers.push_back(std::nullopt);
    ASSERT_EQ(h.program.Click("cmdNewFromProgram"), EventResult::Done);
    EXPECT_EQ(h.fake.confirmations, Strings{});
    for (ConfirmAnswer answer : {ConfirmAnswer::No, ConfirmAnswer::Cancel}) {
        h.fake.fileAnswers.push_back(tool);
        h.fake.confirmAnswers.push_back(answer);
        ASSERT_EQ(h.program.Click("cmdNewFromProgram"), EventResult::Done);
        EXPECT_EQ(h.fake.confirmations.back(), question);
        EXPECT_EQ(h.dir.Read("SpecFiles/frob.zrs"), "mine");
        EXPECT_FALSE(FileExists(h.dir / "Config/frob.path"));
    }
    h.fake.fileAnswers.push_back(tool);
    h.fake.confirmAnswers.push_back(ConfirmAnswer::Yes);
    ASSERT_EQ(h.program.Click("cmdNewFromProgram"), EventResult::Done);
    EXPECT_NE(h.dir.Read("SpecFiles/frob.zrs").find("Param = --quiet\n"), std::string::npos);
    EXPECT_EQ(h.state().Specification.SpecFileName, "frob.zrs");
}

TEST(NewFromProgram, AProgramWithoutOptionsIsReportedAndNothingChanges) {
    AppHarness h;
    const std::string silent = h.dir.Write("tools/silent", "#!/bin/sh\nexit 0\n");
    chmod(silent.c_str(), 0755);
    h.Start({h.ChainPreset("p/level.zrp", h.input)});
    h.fake.fileAnswers.push_back(silent);
    ASSERT_EQ(h.program.Click("cmdNewFromProgram"), EventResult::Done);
    EXPECT_EQ(h.MessageTexts(),
              Strings{"no options found in the help of " + silent + "; nothing was written."});
    EXPECT_EQ(h.state().Specification.SpecFileName, "Chain.zrs");
    EXPECT_FALSE(FileExists(h.dir / "SpecFiles/silent.zrs"));
}

}  // namespace
}  // namespace kestrune
