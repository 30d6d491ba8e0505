// Combo, browse and colour boxes: options, dialogs, quoting, colour components.

#include <gtest/gtest.h>

#include <functional>

#include <algorithm>
#include <cstdint>
#include <string>

#include "FieldTestSupport.h"
#include "TempDir.h"
#include "fields/BrowseBox.h"
#include "fields/CheckBox.h"
#include "fields/ColorBox.h"
#include "fields/ComboBox.h"
#include "fields/EditBox.h"

namespace kestrune {
namespace {

using fieldtest::Desc;

class ChoiceFields : public ::testing::Test, public fieldtest::Context {
  protected:
    TZRComboBox MakeOptimize(const std::string& param) {
        TZRComboBox combo(ctx, Desc("Optimize", param), "Fast", 8, 16);
        combo.AddOption("Fast", "-O2");
        combo.AddOption("Small", "-Os");
        return combo;
    }
};

// What a view builds beside each kind's caption box, and which of the value actions each
// control takes: the combo box has no help of its own under the mouse, a path box is not
// checked when the focus leaves it.
TEST_F(ChoiceFields, EachKindShowsItsOwnControls) {
    const TZRCheckBox check(ctx, Desc("V", "-v"), false, 8, 16);
    const TZREditBox edit(ctx, Desc("Out", "-o"), TValue{}, 8, 16);
    const TZRComboBox combo = MakeOptimize("-x");
    const TZRBrowseBox browse(ctx, Desc("Map", "-m"), "file", "", 8, 16);
    const TZRColorBox color(ctx, Desc("C", "-c"), 0x070809, 8, 16);
    const struct {
        const char* kind;
        std::vector<ShownControl> shown;
        std::vector<ShownControl> expected;
    } cases[] = {
        {"check", check.ShownControls(), {}},
        {"edit",
         edit.ShownControls(),
         {{.state = &edit.EditControl,
           .shape = ValueShape::Text,
           .hoverShowsHelp = true,
           .leaveChecks = true}}},
        {"combo",
         combo.ShownControls(),
         {{.state = &combo.ComboControl,
           .shape = ValueShape::Choice,
           .leaveChecks = true,
           .options = &combo.OptionNames}}},
        {"browse",
         browse.ShownControls(),
         {{.state = &browse.EditControl, .shape = ValueShape::Text, .hoverShowsHelp = true},
          {.state = &browse.BrowseButton, .shape = ValueShape::Button, .purpose = "Choose"}}},
        {"color",
         color.ShownControls(),
         {{.state = &color.ColorButton,
           .shape = ValueShape::Button,
           .purpose = "Select Color",
           .color = &color.Color}}},
    };
    const auto same = [](const ShownControl& a, const ShownControl& b) {
        return a.state == b.state && a.shape == b.shape && a.hoverShowsHelp == b.hoverShowsHelp &&
               a.leaveChecks == b.leaveChecks && a.purpose == b.purpose && a.options == b.options &&
               a.color == b.color;
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(
            std::equal(c.shown.begin(), c.shown.end(), c.expected.begin(), c.expected.end(), same))
            << c.kind;
    }
}

TEST_F(ChoiceFields, ComboFragmentTakesTheValueOfTheNamedOption) {
    struct Case {
        const char* param;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", "fast", "-O2"},     {"", "SMALL", "-Os"}, {"--opt", "Small", "--opt -Os"},
        {"--opt", "medium", ""}, {"", "", ""},         {"$FileName:", "Fast", "level1: -O2"},
    };
    for (const Case& c : cases) {
        TZRComboBox combo = MakeOptimize(c.param);
        combo.SetText(c.text);
        EXPECT_EQ(combo.GetParam(), c.expected) << c.param << " / " << c.text;
    }
}

TEST_F(ChoiceFields, ComboWithoutOptionsGivesItsParamAlone) {
    TZRComboBox combo(ctx, Desc("Mode", "-m $FileExt"), "x", 8, 16);
    combo.SetText("anything");
    EXPECT_EQ(combo.GetParam(), "-m map");
    combo.NormalizeChoice();
    EXPECT_EQ(combo.Text(), "anything");
}

TEST_F(ChoiceFields, OptionValuesAreExpanded) {
    TZRComboBox combo(ctx, Desc("Out"), "", 8, 16);
    combo.AddOption("Here", "-o $FilePath/$FileName.bin");
    combo.SetText("here");
    EXPECT_EQ(combo.GetParam(), "-o /work/level1.bin");
}

TEST_F(ChoiceFields, AddOptionIgnoresNamesDifferingOnlyInCase) {
    TZRComboBox combo = MakeOptimize("");
    combo.AddOption("FAST", "-O3");
    combo.AddOption(" Fast", "-O1");
    EXPECT_EQ(combo.OptionNames, (std::vector<std::string>{"Fast", "Small", " Fast"}));
    EXPECT_EQ(combo.OptionValues, (std::vector<std::string>{"-O2", "-Os", "-O1"}));
    combo.SetText("fast");
    EXPECT_EQ(combo.GetParam(), "-O2");
}

// Long option lists are checked through an index, short ones by a scan: both refuse a name that
// repeats an earlier one without regard to case, whichever side of the switch either falls on.
TEST_F(ChoiceFields, AddOptionRefusesRepeatsInShortAndLongLists) {
    for (const int count : {3, 15, 16, 17, 40}) {
        TZRComboBox combo(ctx, Desc("Level"), "", 8, 16);
        std::vector<std::string> expected;
        for (int i = 0; i < count; ++i) {
            const std::string name = "Opt" + std::to_string(i);
            combo.AddOption(name, "-" + std::to_string(i));
            expected.push_back(name);
            combo.AddOption("OPT" + std::to_string(i / 2), "repeat");
            combo.AddOption("opt0", "repeat");
        }
        EXPECT_EQ(combo.OptionNames, expected) << count;
        EXPECT_EQ(combo.OptionValues.size(), expected.size()) << count;
        combo.SetText("OPT" + std::to_string(count - 1));
        EXPECT_EQ(combo.GetParam(), "-" + std::to_string(count - 1)) << count;
    }
}

TEST_F(ChoiceFields, NormalizeChoiceTakesTheOptionSpellingOrTheDefault) {
    TZRComboBox combo = MakeOptimize("");
    combo.DefaultText = "Small";
    combo.SetText("fAST");
    combo.NormalizeChoice();
    EXPECT_EQ(combo.Text(), "Fast");
    combo.SetText("medium");
    combo.NormalizeChoice();
    EXPECT_EQ(combo.Text(), "Small");
    EXPECT_FALSE(ctx.PresetChanged);
}

TEST_F(ChoiceFields, ComboToggleResetAndPresetText) {
    TZRComboBox combo = MakeOptimize("-x");
    combo.Core.Assigned = true;
    combo.CheckClick();
    EXPECT_TRUE(combo.ComboControl.enabled);
    EXPECT_EQ(FocusTarget(ctx.Requests.Take()), &combo.ComboControl);
    combo.SetText("small");
    EXPECT_EQ(combo.GetPresetText(), "[Field = Optimize]\r\nChecked = True\r\nValue = small");
    combo.Reset();
    EXPECT_FALSE(combo.Checked());
    EXPECT_FALSE(combo.ComboControl.enabled);
    EXPECT_EQ(combo.Text(), "Fast");
}

TEST_F(ChoiceFields, BrowseFragmentQuotesPathsWithBlanks) {
    // The path is data for the script's shell: quoted for /bin/sh where it holds anything but
    // plain characters, and for cmd with "%" doubled and quotes where blanks or operators stand
    // unquoted. Within the quotes a space asks for, sh takes a backslash before \ $ ` ".
    struct Case {
        const char* param;
        const char* text;
        const char* posix;
        const char* cmd;
    };
    const Case cases[] = {
        {"-i", "C:\\My Maps\\a.map", "-i \"C:\\\\My Maps\\\\a.map\"", "-i \"C:\\My Maps\\a.map\""},
        {"-i", "C:\\maps\\a.map", "-i 'C:\\maps\\a.map'", "-i C:\\maps\\a.map"},
        {"-i", "/maps/a.map", "-i /maps/a.map", "-i /maps/a.map"},
        {"", "a.map", " a.map", " a.map"},
        {"", "my a.map", " \"my a.map\"", " \"my a.map\""},
        {"-i", "", "-i ", "-i "},
        {"-i", "a\tb", "-i 'a\tb'", "-i \"a\tb\""},
        {"$FileDest", "$FileName", "/dest '$FileName'", "/dest $FileName"},
        {"-i", "x$(touch PWNED).c", "-i \"x\\$(touch PWNED).c\"", "-i \"x$(touch PWNED).c\""},
        {"-i", "x$(id).c", "-i 'x$(id).c'", "-i \"x$(id).c\""},
        {"-i", "it's", "-i 'it'\\''s'", "-i it's"},
        {"-i", "my $x `y`\\", "-i \"my \\$x \\`y\\`\\\\\"", "-i \"my $x `y`\\\""},
        {"-i", "50%&b", "-i '50%&b'", "-i \"50%%&b\""},
    };
    for (const Case& c : cases) {
        for (const ScriptShell shell : {ScriptShell::Posix, ScriptShell::Cmd}) {
            ctx.Files.Shell = shell;
            TZRBrowseBox browse(ctx, Desc("In", c.param), "file", kDefaultBrowseFilter, 8, 16);
            browse.SetText(c.text);
            EXPECT_EQ(browse.GetParam(), shell == ScriptShell::Posix ? c.posix : c.cmd)
                << c.param << " / " << c.text;
        }
    }
}

TEST_F(ChoiceFields, BrowseForAFolder) {
    TZRBrowseBox browse(ctx, Desc("Dir", "-d"), "path", kDefaultBrowseFilter, 8, 16);
    browse.SetText("/old");
    fake.folderAnswers = {"/new folder", ""};
    browse.ChooseValue();
    EXPECT_EQ(browse.Text(), "/new folder");
    browse.ChooseValue();  // cancelled
    EXPECT_EQ(browse.Text(), "/new folder");
    EXPECT_EQ(fake.folderTitles,
              (std::vector<std::string>{"Select A Folder:", "Select A Folder:"}));
    EXPECT_TRUE(fake.fileDialogs.empty());
    EXPECT_TRUE(ctx.PresetChanged);  // a chosen folder is a new value
}

TEST_F(ChoiceFields, BrowseForAFileStartsInTheFolderOfTheCurrentFile) {
    kestrune::testing::TempDir dir;
    const std::string current = dir.Write("maps/old.map", "x");
    TZRBrowseBox browse(ctx, Desc("Map", "-m"), "file", "Maps (*.map)|*.map", 8, 16);
    browse.SetText(current);
    fake.fileAnswers = {std::string("/data/new.map"), std::nullopt};
    browse.ChooseValue();
    EXPECT_EQ(browse.Text(), "/data/new.map");
    ASSERT_EQ(fake.fileDialogs.size(), 1u);
    EXPECT_EQ(fake.fileDialogs[0].filter, "Maps (*.map)|*.map");
    EXPECT_EQ(fake.fileDialogs[0].initialFolder, dir / "maps/");

    browse.ChooseValue();  // cancelled, and the text names no existing file
    EXPECT_EQ(browse.Text(), "/data/new.map");
    ASSERT_EQ(fake.fileDialogs.size(), 2u);
    EXPECT_EQ(fake.fileDialogs[1].initialFolder, "");
    EXPECT_TRUE(fake.folderTitles.empty());

    browse.SetText(dir.path());  // a folder is not a file
    browse.ChooseValue();
    EXPECT_EQ(fake.fileDialogs[2].initialFolder, "");
}

TEST_F(ChoiceFields, BrowseForANameKeepsOnlyTheFileName) {
    TZRBrowseBox browse(ctx, Desc("Map"), "name", kDefaultBrowseFilter, 8, 16);
    fake.fileAnswers = {std::string("/maps/a.map")};
    browse.ChooseValue();
    EXPECT_EQ(browse.Text(), "a.map");
    EXPECT_EQ(fake.fileDialogs.at(0).filter, "All Files (*.*)|*.*");
}

TEST_F(ChoiceFields, BrowseToggleAndReset) {
    TZRBrowseBox browse(ctx, Desc("Map", "-m"), "file", kDefaultBrowseFilter, 8, 16);
    EXPECT_EQ(browse.BrowseButton.text, "...");
    EXPECT_EQ(browse.Text(), "");
    EXPECT_FALSE(browse.BrowseButton.enabled);
    browse.Core.Assigned = true;
    browse.CheckClick();
    EXPECT_TRUE(browse.EditControl.enabled);
    EXPECT_TRUE(browse.BrowseButton.enabled);
    EXPECT_EQ(FocusTarget(ctx.Requests.Take()), &browse.EditControl);
    browse.SetText("/a b/c");
    EXPECT_EQ(browse.GetPresetText(), "[Field = Map]\r\nChecked = True\r\nValue = /a b/c");
    browse.Reset();
    EXPECT_FALSE(browse.Checked());
    EXPECT_FALSE(browse.EditControl.enabled);
    EXPECT_FALSE(browse.BrowseButton.enabled);
    EXPECT_EQ(browse.Text(), "");
}

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

TEST_F(ChoiceFields, ColorComponentsAreRedGreenBlueFractions) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {Rgb(255, 0, 0), "1 0 0"},
        {Rgb(0, 0, 255), "0 0 1"},
        {Rgb(255, 51, 0), "1 0.2 0"},
        {Rgb(128, 0, 0), "0.501960784313725 0 0"},
        {0, "0 0 0"},
    };
    for (const auto& [color, text] : cases) {
        TZRColorBox box(ctx, Desc("Bg", "-bg"), color, 8, 16);
        EXPECT_EQ(box.GetParam(), std::string("-bg ") + text);
        EXPECT_EQ(box.GetPresetText(),
                  std::string("[Field = Bg]\r\nChecked = False\r\nValue = ") + text);
    }
    TZRColorBox bare(ctx, Desc("Bg"), Rgb(255, 0, 0), 8, 16);
    EXPECT_EQ(bare.GetParam(), " 1 0 0");
}

TEST_F(ChoiceFields, EveryComponentSurvivesThePresetRoundTrip) {
    TZRColorBox writer(ctx, Desc("C"), 0, 8, 16);
    TZRColorBox reader(ctx, Desc("C"), 0, 8, 16);
    for (std::uint32_t v = 0; v < 256; ++v) {
        writer.Color = Rgb(v, 255 - v, (v * 7) & 0xFF);
        reader.Color = 0x00ABCDEF;
        reader.SetColorFromPreset(writer.ComponentsText());
        ASSERT_EQ(reader.Color, writer.Color) << writer.ComponentsText();
    }
}

TEST_F(ChoiceFields, ColorFromPresetText) {
    const std::uint32_t start = Rgb(1, 2, 3);
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"1 0 0", Rgb(255, 0, 0)},
        {"0 0.2 1", Rgb(0, 51, 255)},
        {"  1   0  0 ", Rgb(255, 0, 0)},
        // Out-of-range numbers are clamped to 0..1; halves of 1/255 round to even.
        {"2 -1 0.5", Rgb(255, 0, 128)},
        {"1e300 0 0", Rgb(255, 0, 0)},
        // Anything but three numbers keeps the colour.
        {"", start},
        {"1 0", start},
        {"1 0 0 0", start},
        {"a b c", start},
        {"1,0,0", start},
        {"1 0 x", start},
        {"inf 0 0", start},
    };
    for (const auto& [text, expected] : cases) {
        TZRColorBox box(ctx, Desc("C"), start, 8, 16);
        box.SetColorFromPreset(text);
        EXPECT_EQ(box.Color, expected) << "text: " << text;
    }
}

TEST_F(ChoiceFields, ChoiceKindsLendTheirWholeFragment) {
    TZRComboBox combo(ctx, Desc("O", "-O", "Linker"), "Fast", 8, 16);
    combo.AddOption("Fast", "2");
    TZRBrowseBox browse(ctx, Desc("B", "-b", "packer, linker"), "file", "", 8, 16);
    browse.SetText("a b");
    TZRColorBox color(ctx, Desc("K", "-k", "linker"), Rgb(0, 255, 0), 8, 16);
    EXPECT_EQ(combo.GetParamFor("linker"), "-O 2");
    EXPECT_EQ(browse.GetParamFor("linker"), "-b \"a b\"");
    EXPECT_EQ(color.GetParamFor("linker"), "-k 0 1 0");
    EXPECT_EQ(combo.GetParamFor("packer"), "");
    EXPECT_EQ(color.GetParamFor("compiler"), "");
}

TEST_F(ChoiceFields, ColorDialogStartsAtTheCurrentColour) {
    TZRColorBox box(ctx, Desc("C", "-c"), Rgb(9, 8, 7), 8, 16);
    EXPECT_EQ(box.ColorButton.text, "Select Color");
    fake.colorAnswers = {Rgb(1, 2, 3), std::nullopt};
    box.ChooseValue();
    EXPECT_EQ(box.Color, Rgb(1, 2, 3));
    box.ChooseValue();
    EXPECT_EQ(box.Color, Rgb(1, 2, 3));
    EXPECT_EQ(fake.colorDialogStarts, (std::vector<std::uint32_t>{Rgb(9, 8, 7), Rgb(1, 2, 3)}));
    EXPECT_TRUE(ctx.PresetChanged);  // a chosen colour is a new value
}

TEST_F(ChoiceFields, ColorToggleMovesNoFocusAndResetKeepsTheColour) {
    TZRColorBox box(ctx, Desc("C", "-c"), Rgb(9, 8, 7), 8, 16);
    box.Core.Assigned = true;
    box.CheckClick();
    EXPECT_TRUE(box.ColorButton.enabled);
    EXPECT_TRUE(ctx.PresetChanged);
    EXPECT_EQ(FocusTarget(ctx.Requests.Take()), nullptr);
    box.Reset();
    EXPECT_FALSE(box.Checked());
    EXPECT_FALSE(box.ColorButton.enabled);
    EXPECT_EQ(box.Color, Rgb(9, 8, 7));
}

// Every way a user gives a field a new value marks the preset changed, so New or Open asks
// before dropping it; giving the same value again, cancelling or choosing nothing does not.
TEST_F(ChoiceFields, NewValuesMarkThePresetChanged) {
    struct Case {
        const char* name;
        std::function<void()> act;
        bool changes;
    };
    TZREditBox edit(ctx, Desc("E", "-e"), TValue{}, 8, 16);
    TZRComboBox box(ctx, Desc("C", "-c"), "Fast", 8, 16);
    box.AddOption("Fast", "-f");
    box.AddOption("Small", "-s");
    TZRBrowseBox file(ctx, Desc("F", "-f"), "file", kDefaultBrowseFilter, 8, 16);
    TZRColorBox color(ctx, Desc("K", "-k"), Rgb(1, 2, 3), 8, 16);
    const Case cases[] = {
        {"typing into an edit", [&] { edit.EditChange("long value"); }, true},
        {"typing the same text", [&] { edit.EditChange("long value"); }, false},
        {"choosing a combo option", [&] { box.Select(1); }, true},
        {"choosing the shown option", [&] { box.Select(1); }, false},
        {"choosing past the options", [&] { box.Select(2); }, false},
        {"typing into a combo", [&] { box.EditChange("sm"); }, true},
        {"typing a path", [&] { file.EditChange("/a b/c"); }, true},
        {"cancelling the file dialog",
         [&] {
             fake.fileAnswers = {std::nullopt};
             file.ChooseValue();
         },
         false},
        {"choosing a file",
         [&] {
             fake.fileAnswers = {std::string("/maps/x.map")};
             file.ChooseValue();
         },
         true},
        {"choosing the shown colour",
         [&] {
             fake.colorAnswers = {Rgb(1, 2, 3)};
             color.ChooseValue();
         },
         false},
    };
    for (const Case& c : cases) {
        ctx.PresetChanged = false;
        c.act();
        EXPECT_EQ(ctx.PresetChanged, c.changes) << c.name;
    }
    EXPECT_EQ(edit.Text(), "long value");
    EXPECT_EQ(box.Text(), "sm");
    EXPECT_EQ(file.Text(), "/maps/x.map");
}

TEST_F(ChoiceFields, EachKindNamesTheControlAnActionWorksOn) {
    TZRCheckBox check(ctx, Desc("Verbose", "-v"), false, 8, 16);
    TZREditBox edit(ctx, Desc("Name", "-n"), TValue{}, 8, 16);
    TZRComboBox combo = MakeOptimize("-x");
    TZRBrowseBox browse(ctx, Desc("Map", "-m"), "file", kDefaultBrowseFilter, 8, 16);
    TZRColorBox color(ctx, Desc("Tint", "-c"), 0x102030, 8, 16);
    const struct {
        FieldAction action;
        ControlState* check;
        ControlState* edit;
        ControlState* combo;
        ControlState* browse;
        ControlState* color;
    } cases[] = {
        {FieldAction::Type, nullptr, &edit.EditControl, &combo.ComboControl, &browse.EditControl,
         &color.ColorButton},
        {FieldAction::Browse, nullptr, &edit.EditControl, &combo.ComboControl, &browse.BrowseButton,
         &color.ColorButton},
        {FieldAction::Leave, nullptr, &edit.EditControl, &combo.ComboControl, &browse.EditControl,
         &color.ColorButton},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.action));
        EXPECT_EQ(check.ValueControl(c.action), c.check);
        EXPECT_EQ(edit.ValueControl(c.action), c.edit);
        EXPECT_EQ(combo.ValueControl(c.action), c.combo);
        EXPECT_EQ(browse.ValueControl(c.action), c.browse);
        EXPECT_EQ(color.ValueControl(c.action), c.color);
    }
}

TEST_F(ChoiceFields, EachKindAppliesItsOwnActions) {
    TZRComboBox combo = MakeOptimize("-x");
    FieldEvent event;
    event.action = FieldAction::Pick;
    const struct {
        int option;
        FieldApplied applied;
        const char* text;
    } picks[] = {{1, FieldApplied::Done, "Small"},
                 {2, FieldApplied::NoOption, "Small"},
                 {-1, FieldApplied::NoOption, "Small"},
                 {0, FieldApplied::Done, "Fast"}};
    for (const auto& c : picks) {
        SCOPED_TRACE(c.option);
        event.option = c.option;
        EXPECT_EQ(combo.Apply(event), c.applied);
        EXPECT_EQ(combo.Text(), c.text);
    }
    event.action = FieldAction::Type;
    event.text = "sMALL";
    EXPECT_EQ(combo.Apply(event), FieldApplied::Done);
    EXPECT_EQ(combo.Text(), "sMALL");
    event.action = FieldAction::Leave;
    EXPECT_EQ(combo.Apply(event), FieldApplied::Done);
    EXPECT_EQ(combo.Text(), "Small") << "leaving takes the option's own spelling";

    TZRBrowseBox browse(ctx, Desc("Map", "-m"), "file", kDefaultBrowseFilter, 8, 16);
    event.action = FieldAction::Type;
    event.text = "/maps/a.map";
    ctx.PresetChanged = false;
    EXPECT_EQ(browse.Apply(event), FieldApplied::Done);
    EXPECT_EQ(browse.Text(), "/maps/a.map");
    EXPECT_TRUE(ctx.PresetChanged);

    TZRCheckBox check(ctx, Desc("Verbose", "-v"), false, 8, 16);
    ctx.PresetChanged = false;
    EXPECT_EQ(check.Apply(event), FieldApplied::Done);
    EXPECT_FALSE(check.Checked()) << "typing into a check box does nothing";
    EXPECT_FALSE(ctx.PresetChanged);
}

}  // namespace
}  // namespace kestrune
