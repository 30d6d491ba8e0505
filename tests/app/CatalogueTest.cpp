// The Specifications menu built from SpecFiles/ at start, and choosing one of its entries.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "AppHarness.h"

namespace kestrune {
namespace {

using testing::AppHarness;
using testing::RecordedMessage;
using Strings = std::vector<std::string>;

struct CatalogueCase {
    const char* name;
    Strings files;
    Strings folders;
    Strings captions;
    bool folderExists = true;
};

void PrintTo(const CatalogueCase& c, std::ostream* os) {
    *os << c.name;
}

class Catalogue : public ::testing::TestWithParam<CatalogueCase> {};

TEST_P(Catalogue, StartListsSpecificationFilesInByteOrder) {
    const CatalogueCase& c = GetParam();
    testing::TempDir dir;
    testing::FakePlatform fake;
    if (c.folderExists) {
        std::filesystem::create_directories(dir / "SpecFiles");
    }
    for (const std::string& file : c.files) {
        dir.Write("SpecFiles/" + file, "");
    }
    for (const std::string& folder : c.folders) {
        std::filesystem::create_directories(dir / ("SpecFiles/" + folder));
        dir.Write("SpecFiles/" + folder + "/inner.zrs", "");
    }
    Kestrune program(fake, dir.path());
    program.Start({});
    const MenuState& menu = program.frmMain.cmdSpecificationsMenu;
    EXPECT_EQ(AppHarness::Captions(menu), c.captions);
    EXPECT_EQ(menu.visible, !c.captions.empty());
    for (const MenuItem& item : menu.items) {
        EXPECT_FALSE(item.checked) << item.caption;
    }
    EXPECT_EQ(fake.messages, std::vector<RecordedMessage>{});
}

INSTANTIATE_TEST_SUITE_P(
    Table, Catalogue,
    ::testing::Values(
        CatalogueCase{
            "CapitalsBeforeSmallLetters", {"b.zrs", "A.zrs", "a.zrs"}, {}, {"A", "a", "b"}},
        CatalogueCase{"ExtensionTakesPartInTheOrder", {"a.zrs", "a-b.zrs"}, {}, {"a-b", "a"}},
        CatalogueCase{
            "HighBytesSortAfterAscii", {"\xE9t\xE9.zrs", "z.zrs"}, {}, {"z", "\xE9t\xE9"}},
        CatalogueCase{"OnlyTheLastExtensionGoes", {"x.y.zrs"}, {}, {"x.y"}},
        CatalogueCase{"FolderNamedLikeAFileIsSkipped", {"n.zrs", "l.zrs"}, {"m.zrs"}, {"l", "n"}},
        CatalogueCase{"OtherExtensionsAreIgnored", {"c.txt", "d.zrs.bak", "e.zrs"}, {}, {"e"}},
        CatalogueCase{"HiddenFilesAreListed", {".h.zrs", "g.zrs"}, {}, {".h", "g"}},
        CatalogueCase{"EmptyFolderHidesTheMenu", {}, {}, {}},
        CatalogueCase{"MissingFolderHidesTheMenu", {}, {}, {}, false}),
    [](const auto& test) { return std::string(test.param.name); });

std::vector<bool> Marks(const TfrmMain& m) {
    std::vector<bool> marks;
    for (const MenuItem& item : m.cmdSpecificationsMenu.items) {
        marks.push_back(item.checked);
    }
    return marks;
}

TEST(SelectSpecification, LoadsIntoAnUntitledPresetAndMovesTheMark) {
    AppHarness h;
    const std::string preset = h.ChainPreset("p/level.zrp", h.input);
    h.Start({preset});
    ASSERT_EQ(h.main().Caption, "level.zrp - Kestrune");
    ASSERT_EQ(Marks(h.main()), (std::vector<bool>{true, false}));
    ASSERT_EQ(h.program.ChooseMenuItem("cmdLinks", 0), EventResult::Done);
    EXPECT_EQ(h.fake.shellCalls.at(0).target, "http://example.org/chain");

    ASSERT_EQ(h.ChooseSpecification("Other"), EventResult::Done);
    EXPECT_EQ(h.main().Caption, "untitled.zrp - Kestrune");
    EXPECT_EQ(h.state().Specification.SpecFileName, "Other.zrs");
    ASSERT_EQ(h.state().Specification.Programs.size(), 1u);
    EXPECT_EQ(h.state().Specification.Programs[0]->Name, "Packer");
    EXPECT_TRUE(h.main().tabMain.visible);
    EXPECT_EQ(h.state().Input.InputFile, "");
    EXPECT_EQ(h.main().txtFile.text, "");
    EXPECT_EQ(Marks(h.main()), (std::vector<bool>{false, true}));
    EXPECT_EQ(h.state().PresetFileName, "");
    EXPECT_FALSE(h.state().Fields.PresetChanged);
    EXPECT_FALSE(h.main().cmdLinks.visible);
    EXPECT_EQ(h.fake.confirmations, Strings{});
}

TEST(SelectSpecification, MissingFileIsReportedBeforeThePromptAndChangesNothing) {
    AppHarness h;
    h.Start();
    ASSERT_EQ(h.ChooseSpecification("Chain"), EventResult::Done);
    h.state().Specification.Programs[0]->CheckBoxes[0].CheckClick();
    std::filesystem::remove(h.dir / "SpecFiles/Other.zrs");
    ASSERT_EQ(h.ChooseSpecification("Other"), EventResult::Done);
    EXPECT_EQ(h.fake.messages, (std::vector<RecordedMessage>{{"Error", "Other.zrs not found."}}));
    EXPECT_EQ(h.fake.confirmations, Strings{});
    EXPECT_EQ(h.state().Specification.SpecFileName, "Chain.zrs");
    EXPECT_TRUE(h.state().Specification.Programs[0]->CheckBoxes[0].Checked());
    EXPECT_TRUE(h.state().Fields.PresetChanged);
    EXPECT_EQ(Marks(h.main()), (std::vector<bool>{true, false}));
}

TEST(SelectSpecification, CancelKeepsEverythingAndReloadingStartsFromScratch) {
    AppHarness h;
    h.Start();
    ASSERT_EQ(h.ChooseSpecification("Chain"), EventResult::Done);
    TZRGroup* compiler = h.state().Specification.Programs[0].get();
    compiler->CheckBoxes[0].CheckClick();
    compiler->EditBoxes[0].EditChange("9");
    h.main().SetInputFile(h.input);
    h.fake.confirmAnswers = {ConfirmAnswer::Cancel, ConfirmAnswer::No};

    ASSERT_EQ(h.ChooseSpecification("Other"), EventResult::Done);
    EXPECT_EQ(h.state().Specification.Programs[0].get(), compiler);
    EXPECT_TRUE(compiler->CheckBoxes[0].Checked());
    EXPECT_EQ(compiler->EditBoxes[0].Text(), "9");
    EXPECT_EQ(h.state().Input.InputFile, h.input);
    EXPECT_TRUE(h.state().Fields.PresetChanged);
    EXPECT_EQ(Marks(h.main()), (std::vector<bool>{true, false}));

    ASSERT_EQ(h.ChooseSpecification("Chain"), EventResult::Done);
    const TZRGroup& fresh = *h.state().Specification.Programs[0];
    EXPECT_FALSE(fresh.CheckBoxes[0].Checked());
    EXPECT_EQ(fresh.EditBoxes[0].Text(), "3");
    EXPECT_EQ(h.state().Input.InputFile, "");
    EXPECT_FALSE(h.state().Fields.PresetChanged);
    EXPECT_EQ(h.main().Caption, "untitled.zrp - Kestrune");
    EXPECT_EQ(h.fake.confirmations, Strings(2, "Save changes to untitled preset file?"));
}

TEST(SelectSpecification, SyntaxErrorKeepsWhatWasReadAndFinishesTheChoice) {
    AppHarness h;
    h.dir.Write("SpecFiles/Broken.zrs",
                "Setup = Broken\r\n{\r\nlink = |Empty\r\nlink = x.org|\r\nlink = no bar\r\n"
                "link = a.org | Same\r\nlink = b.org|Same\r\n}\r\nGroup = A\r\n{\r\n"
                "checkbox = V\r\n{\r\nparam = -v\r\n}\r\n}\r\nGroup B\r\n");
    h.Start();
    ASSERT_EQ(h.ChooseSpecification("Broken"), EventResult::Done);
    EXPECT_EQ(h.fake.messages,
              (std::vector<RecordedMessage>{
                  {"Kestrune Error", "Expected: \"=\", got: Group B\r\nLine: 16"}}));
    ASSERT_EQ(h.state().Specification.Programs.size(), 1u);
    EXPECT_EQ(h.state().Specification.Programs[0]->Name, "A");
    EXPECT_TRUE(h.main().tabMain.visible);
    EXPECT_EQ(h.main().Caption, "untitled.zrp - Kestrune");
    EXPECT_EQ(Marks(h.main()), (std::vector<bool>{true, false, false}));
    std::vector<std::pair<std::string, std::string>> links;
    for (const MenuItem& item : h.main().cmdLinks.items) {
        links.emplace_back(item.caption, item.address);
    }
    EXPECT_EQ(links, (std::vector<std::pair<std::string, std::string>>{{"Empty", "http://"},
                                                                       {"", "http://x.org"},
                                                                       {"Same", "http://a.org"},
                                                                       {"Same", "http://b.org"}}));
    EXPECT_TRUE(h.main().cmdLinks.visible);
}

}  // namespace
}  // namespace kestrune
