#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "StateParts.h"
#include "TempDir.h"
#include "base/Text.h"
#include "presets/PresetFile.h"
#include "specification/SpecLoader.h"

namespace kestrune {
namespace {

using testing::FakePlatform;
using testing::ReadFixture;
using testing::TempDir;

// Writes down what it is told, with the input file as it stands when a reset arrives.
struct RecordingListener : StateListener {
    explicit RecordingListener(const PresetInput& watched) : input(watched) {}
    void SpecificationReset() override {
        events.push_back("reset, input \"" + input.InputFile + "\"");
    }
    void InputFileSet(const std::string& path) override { events.push_back("input " + path); }
    void SpecificationNamed(const std::string& name) override { events.push_back("named " + name); }

    const PresetInput& input;
    std::vector<std::string> events;
};

// Chain.zrs is loaded with an input file; Other.zrs waits in SpecFiles/.
class Listening : public ::testing::Test {
  protected:
    void SetUp() override {
        state.Fields.platform = fake;
        dir.Write("SpecFiles/Chain.zrs", ReadFixture("presets/Chain.zrs"));
        dir.Write("SpecFiles/Other.zrs", ReadFixture("presets/Other.zrs"));
        LoadSpecification(state.Specification, state.Specification.SpecFolder() + "Chain.zrs");
        map = dir.Write("maps/a.map", "x");
        SetInputFile(state.Input, state.Fields, dir.Write("maps/old.map", "x"));
        state.Specification.Listener = &listener;
    }

    TempDir dir;
    FakePlatform fake;
    testing::StateParts state{dir.path()};
    RecordingListener listener{state.Input};
    std::string map;
};

struct ListenCase {
    const char* name;
    const char* preset;  // "$MAP" stands for the existing input file
    PresetMode mode;
    std::vector<std::string> events;
};

void PrintTo(const ListenCase& c, std::ostream* os) {
    *os << c.name;
}

class ListenTable : public Listening, public ::testing::WithParamInterface<ListenCase> {};

TEST_P(ListenTable, HearsWhatThePresetDoesInItsOrder) {
    const ListenCase& c = GetParam();
    std::string text = c.preset;
    text = ReplaceAllNoCase(text, "$MAP", map);
    ASSERT_TRUE(ReadPreset(state.Specification, state.Input, dir.Write("p.zrp", text), c.mode));
    std::vector<std::string> expected;
    for (const std::string& event : c.events) {
        expected.push_back(ReplaceAllNoCase(event, "$MAP", map));
    }
    EXPECT_EQ(listener.events, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, ListenTable,
    ::testing::Values(ListenCase{"OpenSwitching",
                                 "ZRP200\r\nSpecFile = Other.zrs\r\nFile = $MAP\r\n",
                                 PresetMode::Open,
                                 {"reset, input \"\"", "named Other.zrs", "input $MAP"}},
                      ListenCase{"OpenLoaded",
                                 "ZRP200\r\nSpecFile = chain.zrs\r\nFile = $MAP\r\n",
                                 PresetMode::Open,
                                 {"named chain.zrs", "input $MAP"}},
                      ListenCase{"ImportOther",
                                 "ZRP200\r\nSpecFile = Other.zrs\r\nFile = $MAP\r\n",
                                 PresetMode::Import,
                                 {"input $MAP"}},
                      ListenCase{"MissingInput",
                                 "ZRP200\r\nSpecFile = Chain.zrs\r\nFile = /no/such.map\r\n",
                                 PresetMode::Open,
                                 {"named Chain.zrs"}},
                      ListenCase{"NoHeader",
                                 "ZRP200\r\n[Class = Linker]\r\nRun = true\r\n",
                                 PresetMode::Open,
                                 {}}),
    [](const ::testing::TestParamInfo<ListenCase>& test) { return test.param.name; });

TEST_F(Listening, LoadingThroughThePresetsClearsTheInputFileBeforeTheListenerHears) {
    LoadSpecification(state.Specification, state.Input,
                      state.Specification.SpecFolder() + "Other.zrs");
    EXPECT_EQ(listener.events, (std::vector<std::string>{"reset, input \"\""}));
    EXPECT_EQ(state.Input.InputFile, "");
    EXPECT_EQ(state.Specification.SpecFileName, "Other.zrs");
}

TEST_F(Listening, LoadingWithoutAListenerStillClearsTheInputFile) {
    state.Specification.Listener = nullptr;
    LoadSpecification(state.Specification, state.Input,
                      state.Specification.SpecFolder() + "Other.zrs");
    EXPECT_TRUE(listener.events.empty());
    EXPECT_EQ(state.Input.InputFile, "");
    EXPECT_EQ(state.Specification.SpecFileName, "Other.zrs");
}

TEST_F(Listening, TheLoaderAloneLeavesTheInputFileToItsCaller) {
    const std::string before = state.Input.InputFile;
    LoadSpecification(state.Specification, state.Specification.SpecFolder() + "Other.zrs");
    EXPECT_EQ(listener.events, (std::vector<std::string>{"reset, input \"" + before + "\""}));
    EXPECT_EQ(state.Input.InputFile, before);
    EXPECT_EQ(state.Fields.Files.InputName, "");  // its split parts go with the model
}

}  // namespace
}  // namespace kestrune
