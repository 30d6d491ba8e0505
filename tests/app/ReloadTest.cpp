// Reading the loaded specification again when its file changes, and the lint's findings in the
// details pane.

#include <gtest/gtest.h>

#include <filesystem>

#include "AppHarness.h"
#include "presets/PresetFile.h"

namespace kestrune {
namespace {

using testing::AppHarness;

// Chain.zrs as an author changes it: Compiler gains "Debug" before its fields, Linker loses
// "Strip", Helper is gone and a new program "Packer" comes last.
constexpr const char* kEditedChain =
    "Setup = Chain\r\n{\r\nlayout:\r\n$ClassEXE=Compiler $ClassParam=Compiler\r\n"
    "$ClassEXE=Linker $ClassParam=Linker\r\n$ClassEXE=Packer\r\n}\r\n"
    "Group = Compiler\r\n{\r\nrequireexe = true\r\ncheckbox = Debug\r\n{\r\nparam = -g\r\n}\r\n"
    "checkbox = Verbose\r\n{\r\nparam = -v\r\n}\r\neditbox = Level\r\n{\r\nparam = -O\r\n"
    "type = int\r\ndefault = 3\r\n}\r\n}\r\n"
    "Group = Linker\r\n{\r\nrequireexe = true\r\ncombobox = Mode\r\n{\r\nparam = -m\r\n"
    "default = Fast\r\noptions = Fast,fast|Small,small\r\n}\r\n}\r\n"
    "Group = Packer\r\n{\r\nrequireexe = true\r\ncheckbox = Pack\r\n{\r\nparam = -p\r\n}\r\n}\r\n";

// The form's values as a preset keeps them.
std::string Values(AppHarness& h) {
    return PresetText(h.state().Specification, PresetInput{});
}

struct Opened : AppHarness {
    Opened() {
        Start();
        preset = ChainPreset("a.zrp", input);
        EXPECT_TRUE(main().OpenPreset(preset, PresetMode::Open));
        // Level ticked with 7, Linker's Mode set to Small and its stage ticked.
        EXPECT_EQ(program.Field({0, FieldKind::EditBoxes, 0, FieldAction::Tick, {}, 0}),
                  EventResult::Done);
        EXPECT_EQ(program.Field({0, FieldKind::EditBoxes, 0, FieldAction::Type, "7", 0}),
                  EventResult::Done);
        EXPECT_EQ(program.Field({1, FieldKind::ComboBoxes, 0, FieldAction::Tick, {}, 0}),
                  EventResult::Done);
        EXPECT_EQ(program.Field({1, FieldKind::ComboBoxes, 0, FieldAction::Type, "Small", 0}),
                  EventResult::Done);
        EXPECT_EQ(program.MarkStage(1, true), EventResult::Done);
    }
    std::string preset;
};

TEST(Reload, KeepsTheFormsValuesByProgramAndCaption) {
    Opened h;
    h.dir.Write("SpecFiles/Chain.zrs", kEditedChain);
    const bool changed = h.state().Fields.PresetChanged;
    ASSERT_EQ(h.program.Click("cmdReloadSpecification"), EventResult::Done);

    EXPECT_EQ(Values(h),
              "ZRP200\r\n\r\n[Header]\r\nSpecFile = Chain.zrs\r\nFile =\r\n\r\n"
              "[Class = Compiler]\r\nRun = True\r\n[Field = Debug]\r\nChecked = False\r\n"
              "[Field = Verbose]\r\nChecked = True\r\n[Field = Level]\r\nChecked = True\r\n"
              "Value = 7\r\n\r\n"
              "[Class = Linker]\r\nRun = True\r\n[Field = Mode]\r\nChecked = True\r\n"
              "Value = Small\r\n\r\n"
              "[Class = Packer]\r\nRun = False\r\n[Field = Pack]\r\nChecked = False\r\n\r\n");
    EXPECT_EQ(h.state().Fields.PresetChanged, changed);
    EXPECT_EQ(h.state().PresetFileName, h.preset);
    EXPECT_EQ(h.main().Caption, "a.zrp - Kestrune");
    EXPECT_EQ(h.state().Input.InputFile, h.input);
    EXPECT_TRUE(h.main().cmdSavePreset.enabled);
    EXPECT_TRUE(h.main().cmdCompile.enabled);
    const std::vector<StageItem> stages = h.state().Specification.Stages;
    ASSERT_EQ(stages.size(), 3u);
    EXPECT_TRUE(stages[0].checked && stages[1].checked && !stages[2].checked);
    EXPECT_TRUE(h.fake.messages.empty());
    EXPECT_TRUE(h.fake.confirmations.empty());
    EXPECT_EQ(h.state().Fields.DetailsText, "");
}

TEST(Reload, KeepsAnUnchangedPresetUnchanged) {
    AppHarness h;
    h.Start();
    ASSERT_TRUE(h.main().OpenPreset(h.ChainPreset("a.zrp", h.input), PresetMode::Open));
    ASSERT_FALSE(h.state().Fields.PresetChanged);
    const std::string before = Values(h);
    ASSERT_EQ(h.program.Click("cmdReloadSpecification"), EventResult::Done);
    EXPECT_EQ(Values(h), before);
    EXPECT_FALSE(h.state().Fields.PresetChanged);
}

TEST(Reload, CarriesValuesThroughAFileThatStopsAtAnError) {
    Opened h;
    const std::string before = Values(h);
    // Half-way through an edit: the file stops at an error before Linker.
    h.dir.Write("SpecFiles/Chain.zrs",
                "Setup = Chain\r\n{\r\n}\r\nGroup = Compiler\r\n{\r\nrequireexe = true\r\n"
                "checkbox Verbose\r\n}\r\n");
    ASSERT_EQ(h.program.Click("cmdReloadSpecification"), EventResult::Done);
    EXPECT_EQ(h.fake.messages.size(), 1u);  // the syntax error keeps its box
    EXPECT_FALSE(h.main().cmdSavePreset.enabled);
    EXPECT_EQ(h.state().Fields.DetailsText, "Chain.zrs:7: Expected: \"=\", got: checkbox Verbose");
    // Mended: every program gets its values back, Linker's included.
    h.dir.Write("SpecFiles/Chain.zrs", testing::kChainSpec);
    ASSERT_EQ(h.program.Click("cmdReloadSpecification"), EventResult::Done);
    EXPECT_EQ(Values(h), before);
    EXPECT_TRUE(h.main().cmdSavePreset.enabled);
}

TEST(Reload, NeedsALoadedSpecificationWhoseFileIsThere) {
    AppHarness h;
    h.Start();
    EXPECT_EQ(h.program.Click("cmdReloadSpecification"), EventResult::Disabled);
    ASSERT_EQ(h.ChooseSpecification("Chain"), EventResult::Done);
    std::filesystem::remove(h.dir / "SpecFiles/Chain.zrs");
    const int structure = h.state().Specification.StructureVersion;
    EXPECT_EQ(h.program.Click("cmdReloadSpecification"), EventResult::Done);
    EXPECT_EQ(h.state().Specification.StructureVersion, structure);
    EXPECT_EQ(h.state().Specification.Programs.size(), 3u);
}

TEST(SpecificationFindings, ShowInTheDetailsPaneWithoutABox) {
    AppHarness h;
    h.dir.Write("SpecFiles/Odd.zrs",
                "Setup = Odd\r\n{\r\nLayout:\r\n$ClassEXE=Tool\r\n}\r\nGroup = Tool\r\n{\r\n"
                "RequireExe = ture\r\nCheckBox = A\r\n{\r\nParm = -a\r\n}\r\n}\r\n");
    h.Start();
    ASSERT_EQ(h.ChooseSpecification("Odd"), EventResult::Done);
    EXPECT_EQ(h.state().Fields.DetailsText,
              "Odd.zrs:4: “$ClassEXE=Tool” names the program “Tool”, which has no \"RequireExe = "
              "true\": it has no tool path and the text stays in the script as written\r\n"
              "Odd.zrs:8: RequireExe “ture” is neither true nor false: the program is not a "
              "stage\r\n"
              "Odd.zrs:11: unknown key “Parm” in a CheckBox block: it is ignored (did you mean "
              "“Param”?)");
    EXPECT_TRUE(h.fake.messages.empty());
    // A clean specification empties the pane; so does opening a preset of one.
    ASSERT_EQ(h.ChooseSpecification("Chain"), EventResult::Done);
    EXPECT_EQ(h.state().Fields.DetailsText, "");
    ASSERT_EQ(h.ChooseSpecification("Odd"), EventResult::Done);
    ASSERT_TRUE(h.main().OpenPreset(h.ChainPreset("a.zrp"), PresetMode::Open));
    EXPECT_EQ(h.state().Fields.DetailsText, "");
}

TEST(SpecificationHelp, OpensTheReferenceBesideTheSpecifications) {
    AppHarness h;
    h.Start();
    ASSERT_EQ(h.program.Click("cmdSpecificationHelp"), EventResult::Done);
    EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{h.dir / "specification.md not found."});
    EXPECT_TRUE(h.fake.shellCalls.empty());
    const std::string reference = h.dir.Write("specification.md", "# Reference\n");
    ASSERT_EQ(h.program.Click("cmdSpecificationHelp"), EventResult::Done);
    ASSERT_EQ(h.fake.shellCalls.size(), 1u);
    EXPECT_EQ(h.fake.shellCalls[0].target, reference);
}

}  // namespace
}  // namespace kestrune
