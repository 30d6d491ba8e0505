#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "StateParts.h"
#include "TempDir.h"
#include "presets/PresetFile.h"
#include "specification/SpecLoader.h"

namespace kestrune {
namespace {

using testing::FakePlatform;
using testing::ReadFixture;
using testing::RecordedMessage;
using testing::TempDir;

// Chain.zrs (Compiler, Linker) is loaded; Other.zrs (Compiler, Packer) waits in SpecFiles/.
class PresetSpecification : public ::testing::Test {
  protected:
    void SetUp() override {
        state.Fields.platform = fake;
        dir.Write("SpecFiles/Chain.zrs", ReadFixture("presets/Chain.zrs"));
        dir.Write("SpecFiles/Other.zrs", ReadFixture("presets/Other.zrs"));
        LoadSpecification(state.Specification, state.Input,
                          state.Specification.SpecFolder() + "Chain.zrs");
        ASSERT_EQ(Names(), (std::vector<std::string>{"Compiler", "Linker"}));
        input = dir.Write("maps/a.map", "x");
        SetInputFile(state.Input, state.Fields, input);
        state.Specification.Programs[1]->CheckBoxes[0].SetChecked(true);
        state.Specification.Stages[1].checked = true;
        state.Fields.PresetChanged = true;
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& program : state.Specification.Programs) {
            names.push_back(program->Name);
        }
        return names;
    }
    std::vector<bool> Stages() const {
        std::vector<bool> ticks;
        for (const StageItem& stage : state.Specification.Stages) {
            ticks.push_back(stage.checked);
        }
        return ticks;
    }
    bool Read(const std::string& text, PresetMode mode) {
        return ReadPreset(state.Specification, state.Input, dir.Write("p.zrp", text), mode);
    }

    TempDir dir;
    FakePlatform fake;
    // Records the specification names that opened presets report to the window.
    struct NamingState : testing::StateParts, StateListener {
        explicit NamingState(std::string folder) : StateParts(std::move(folder)) {
            Specification.Listener = this;
        }
        void SpecificationNamed(const std::string& name) override { named.push_back(name); }
        std::vector<std::string> named;
    };
    NamingState state{dir.path()};
    std::string input;
};

TEST_F(PresetSpecification, OpenSwitchesToThePresetsSpecification) {
    ASSERT_TRUE(ReadPreset(state.Specification, state.Input,
                           testing::FixturePath("presets/other.zrp"), PresetMode::Open));
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(state.Specification.SpecFileName, "Other.zrs");
    ASSERT_EQ(Names(), (std::vector<std::string>{"Compiler", "Packer"}));
    const TZRGroup& compiler = *state.Specification.Programs[0];
    EXPECT_TRUE(compiler.CheckBoxes[0].Checked());
    EXPECT_TRUE(compiler.EditBoxes[0].Checked());
    EXPECT_EQ(compiler.EditBoxes[0].Text(), "7");
    EXPECT_EQ(state.Specification.Programs[1]->ComboBoxes[0].Text(), "Small");
    EXPECT_EQ(Stages(), (std::vector<bool>{true, true}));
    EXPECT_EQ(state.named, (std::vector<std::string>{"Other.zrs"}));
    EXPECT_EQ(state.Input.InputFile, "");  // "File =" after a switch leaves the input file cleared
    EXPECT_FALSE(state.Fields.PresetChanged);
}

TEST_F(PresetSpecification, ImportKeepsTheLoadedSpecification) {
    ASSERT_TRUE(ReadPreset(state.Specification, state.Input,
                           testing::FixturePath("presets/other.zrp"), PresetMode::Import));
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(state.Specification.SpecFileName, "Chain.zrs");
    ASSERT_EQ(Names(), (std::vector<std::string>{"Compiler", "Linker"}));
    EXPECT_TRUE(state.Specification.Programs[0]->CheckBoxes[0].Checked());
    EXPECT_EQ(state.Specification.Programs[0]->EditBoxes[0].Text(), "7");
    EXPECT_FALSE(state.Specification.Programs[1]
                     ->CheckBoxes[0]
                     .Checked());  // reset, Packer's section skipped
    EXPECT_EQ(Stages(), (std::vector<bool>{true, false}));
    // The check mark stays with the specification that is loaded.
    EXPECT_TRUE(state.named.empty());
    EXPECT_EQ(state.Input.InputFile, input);
}

TEST_F(PresetSpecification, OpenNamingTheLoadedSpecificationKeepsItsPrograms) {
    const TZRGroup* compiler = state.Specification.Programs[0].get();
    ASSERT_TRUE(Read("ZRP200\r\nSpecFile = CHAIN.zrs\r\nFile = " + input +
                         "\r\n"
                         "[Class = Linker]\r\nRun = true\r\n",
                     PresetMode::Open));
    EXPECT_EQ(state.Specification.Programs[0].get(), compiler);
    EXPECT_FALSE(state.Specification.Programs[1]->CheckBoxes[0].Checked());
    EXPECT_EQ(Stages(), (std::vector<bool>{false, true}));
    EXPECT_EQ(state.named, (std::vector<std::string>{"CHAIN.zrs"}));
    EXPECT_EQ(state.Input.InputFile, input);
}

// Reading on would pass the loaded specification off as the preset's, and the next save would
// overwrite the preset with it.
TEST_F(PresetSpecification, OpenWithMissingSpecificationChangesNothing) {
    dir.Write("Chain.zrs", ReadFixture("presets/Chain.zrs"));
    for (const std::string name : {"Gone.zrs", "../Chain.zrs", ""}) {
        fake.messages.clear();
        EXPECT_FALSE(Read(
            "ZRP200\r\n[Header]\r\nSpecFile = " + name + "\r\n[Class = Linker]\r\nRun = True\r\n",
            PresetMode::Open));
        EXPECT_EQ(fake.messages,
                  (std::vector<RecordedMessage>{
                      {"Error", state.Specification.SpecFolder() + name + " not found."}}));
        EXPECT_EQ(state.Specification.SpecFileName, "Chain.zrs");
        EXPECT_TRUE(state.Specification.Programs[1]->CheckBoxes[0].Checked());
        EXPECT_FALSE(state.Specification.Programs[1]->Run);
        EXPECT_TRUE(state.named.empty());
        EXPECT_TRUE(state.Fields.PresetChanged);
    }
}

// A name of a megabyte is quoted cut, so the message box stays readable.
TEST_F(PresetSpecification, AHugeSpecificationNameIsQuotedCut) {
    const std::string folder = state.Specification.SpecFolder();
    ASSERT_LT(folder.size(), 300u);
    EXPECT_FALSE(
        Read("ZRP200\r\nSpecFile = " + std::string(1 << 20, 'x') + "\r\n", PresetMode::Open));
    EXPECT_EQ(
        fake.messages,
        (std::vector<RecordedMessage>{{"Error", folder + std::string(300 - folder.size(), 'x') +
                                                    "\xE2\x80\xA6 not found."}}));
}

// The specification loaded on the way counts its own lines; the preset's messages must name
// the preset's line, not the sum of both files' lines.
TEST_F(PresetSpecification, MessagesAfterASwitchNameThePresetsOwnLine) {
    ASSERT_TRUE(Read("ZRP200\r\n[Header]\r\nSpecFile = Other.zrs\r\n\r\nno equals sign here\r\n",
                     PresetMode::Open));
    EXPECT_EQ(fake.messages,
              (std::vector<RecordedMessage>{
                  {"Kestrune Error", "Expected: \"=\", got: no equals sign here\r\nLine: 5"}}));
}

}  // namespace
}  // namespace kestrune
