// The program group: column layout, joining of fragments, preset sections in and out.

#include "fields/Group.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FieldTestSupport.h"
#include "ScriptText.h"

namespace kestrune {
namespace {

using fieldtest::Desc;

class Group : public ::testing::Test, public fieldtest::Context {
  protected:
    TZRGroup group{ctx, "Compiler", true, kDefaultExeFilter, "Compiler:", TabSize{569, 300}};

    // Feeds a section written by GetPresetSection back the way the preset reader does.
    static void Apply(TZRGroup& target, const std::string& section) {
        std::vector<std::string> lines;
        std::size_t from = 0;
        for (;;) {
            const std::size_t end = section.find("\r\n", from);
            lines.push_back(section.substr(from, end - from));
            if (end == std::string::npos) {
                break;
            }
            from = end + 2;
        }
        target.BeginPresetLoad();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].rfind("[Field = ", 0) != 0) {
                continue;
            }
            const bool checked = lines.at(i + 1) == "Checked = True";
            std::string value;
            if (i + 2 < lines.size() && lines[i + 2].rfind("Value = ", 0) == 0) {
                value = lines[i + 2].substr(8);
            }
            target.ApplyPresetField(lines[i], checked, value);
        }
        target.EndPresetLoad();
    }
};

TEST_F(Group, CreatedWithItsCaptionsAndAnEmptyLayout) {
    EXPECT_EQ(group.TabSheet.text, "Compiler");
    EXPECT_EQ(group.GroupBox.text, "Compiler:");
    EXPECT_EQ(group.GroupBox.bounds, (Bounds{8, 8, 553, 284}));
    EXPECT_EQ(group.CursorLeft, 8);
    EXPECT_EQ(group.CursorTop, 16);
    EXPECT_FALSE(group.Run);
}

TEST_F(Group, RowsFillAColumnThenTheNextOne) {
    for (int i = 0; i < 23; ++i) {
        group.AddCheckBox(Desc("c" + std::to_string(i)), false);
    }
    // Ten rows of 25 pixels fit a client height of 300; the eleventh starts column two.
    const std::pair<int, Bounds> expected[] = {
        {0, {8, 16, 176, 21}},     {9, {8, 241, 176, 21}},   {10, {188, 16, 176, 21}},
        {19, {188, 241, 176, 21}}, {20, {368, 16, 176, 21}}, {22, {368, 66, 176, 21}},
    };
    for (const auto& [index, bounds] : expected) {
        EXPECT_EQ(group.CheckBoxes[static_cast<std::size_t>(index)].Core.CheckControl.bounds,
                  bounds)
            << "row " << index;
    }
}

TEST_F(Group, ARowThatJustFitsStaysInTheColumn) {
    // 303 - 16 equals the eleventh row's top (266) plus 21.
    TZRGroup exact(ctx, "Linker", false, kDefaultExeFilter, "Linker:", TabSize{569, 303});
    TZRGroup short1(ctx, "Linker", false, kDefaultExeFilter, "Linker:", TabSize{569, 302});
    for (int i = 0; i < 11; ++i) {
        exact.AddLabel("l");
        short1.AddLabel("l");
    }
    EXPECT_EQ(exact.Labels[10].LabelControl.bounds, (Bounds{8, 270, 176, 17}));
    EXPECT_EQ(short1.Labels[10].LabelControl.bounds, (Bounds{188, 20, 176, 17}));
}

TEST_F(Group, DefaultTabHoldsElevenRows) {
    TZRGroup tall(ctx, "Linker", false, kDefaultExeFilter, "Linker:");
    for (int i = 0; i < 12; ++i) {
        tall.AddLabel("l");
    }
    EXPECT_EQ(tall.Labels[10].LabelControl.bounds, (Bounds{8, 270, 176, 17}));
    EXPECT_EQ(tall.Labels[11].LabelControl.bounds, (Bounds{188, 20, 176, 17}));
}

TEST_F(Group, EveryKindTakesOneRowWhateverItsWidth) {
    group.AddLabel("Head");
    group.AddCheckBox(Desc("c", "", "", 3), false);
    group.AddEditBox(Desc("e"), TValue{});
    group.AddComboBox(Desc("o"), "");
    group.AddBrowseBox(Desc("b"), "file", kDefaultBrowseFilter);
    group.AddColorBox(Desc("k"), 0);
    EXPECT_EQ(group.Labels[0].LabelControl.bounds.top, 20);
    EXPECT_EQ(group.CheckBoxes[0].Core.CheckControl.bounds.top, 41);
    EXPECT_EQ(group.EditBoxes[0].EditControl.bounds, (Bounds{140, 66, 44, 21}));
    EXPECT_EQ(group.ComboBoxes[0].ComboControl.bounds.top, 91);
    EXPECT_EQ(group.BrowseBoxes[0].EditControl.bounds.top, 116);
    EXPECT_EQ(group.ColorBoxes[0].ColorButton.bounds.top, 141);
    EXPECT_EQ(group.CursorLeft, 8);
    EXPECT_EQ(group.CursorTop, 166);
}

TEST_F(Group, SpacesSkipRowsAndMayOpenAColumn) {
    group.AddCheckBox(Desc("a"), false);
    group.AddSpaces(2);
    group.AddCheckBox(Desc("b"), false);
    EXPECT_EQ(group.CheckBoxes[1].Core.CheckControl.bounds.top, 91);
    group.AddSpaces(0);
    group.AddSpaces(-4);
    EXPECT_EQ(group.CursorTop, 116);

    // Rows at 116..216 take fields; the second space of two no longer fits.
    for (int i = 0; i < 5; ++i) {
        group.AddCheckBox(Desc("f"), false);
    }
    group.AddSpaces(2);
    group.AddCheckBox(Desc("next"), false);
    EXPECT_EQ(group.CheckBoxes.back().Core.CheckControl.bounds, (Bounds{188, 41, 176, 21}));
}

TEST_F(Group, HugeSpacesCountEndsQuicklyWithoutOverflow) {
    group.AddSpaces(2147483647);
    group.AddCheckBox(Desc("after"), false);
    const Bounds& b = group.CheckBoxes.back().Core.CheckControl.bounds;
    EXPECT_GT(b.left, 8);
    EXPECT_GE(b.top, 16);
}

TEST_F(Group, ComboOptionsGoToTheLastComboBox) {
    group.AddComboOption("Lost", "-l");
    group.AddComboBox(Desc("First"), "");
    group.AddComboBox(Desc("Second"), "");
    group.AddComboOption("Fast", "-O2");
    EXPECT_TRUE(group.ComboBoxes[0].OptionNames.empty());
    EXPECT_EQ(group.ComboBoxes[1].OptionNames, (std::vector<std::string>{"Fast"}));
}

TEST_F(Group, GetParamsJoinsInKindOrderWithBatchLinesOnTheirOwn) {
    group.AddCheckBox(Desc("A", "-a"), false).SetChecked(true);
    group.AddEditBox(Desc("Unticked", "-u"), TValue{});
    TZREditBox& out = group.AddEditBox(Desc("Out", "-o"), TValue{});
    out.SetChecked(true);
    out.SetText("x");
    group.AddCheckBox(Desc("Clean", "del tmp"), true).SetChecked(true);
    EXPECT_EQ(group.GetParams(), testing::ScriptLines("-a\r\ndel tmp -o x"));
}

TEST_F(Group, GetParamsFollowsTheKindOrderNotTheAddingOrder) {
    group.AddColorBox(Desc("k", "-k"), 0x0000FF).SetChecked(true);
    TZRBrowseBox& browse = group.AddBrowseBox(Desc("b", "-b"), "file", kDefaultBrowseFilter);
    browse.SetChecked(true);
    browse.SetText("in.map");
    TZRComboBox& combo = group.AddComboBox(Desc("o", "-o"), "Fast");
    group.AddComboOption("Fast", "2");
    combo.SetChecked(true);
    TZREditBox& edit = group.AddEditBox(Desc("e", "-e"), TValue{});
    edit.SetChecked(true);
    edit.SetText("5");
    group.AddLabel("ignored");
    group.AddCheckBox(Desc("c", "-c"), false).SetChecked(true);
    EXPECT_EQ(group.GetParams(), "-c -e 5 -o 2 -b in.map -k 1 0 0");
}

TEST_F(Group, EmptyFragmentsLeaveTheirBlanks) {
    struct Case {
        std::vector<std::pair<std::string, bool>> boxes;  // param, batch command
        const char* expected;
    };
    const Case cases[] = {
        {{{"-a", false}, {"", false}, {"-b", false}}, "-a  -b"},
        {{{"", false}, {"-b", false}}, "-b"},
        {{{"-a", false}, {"", false}}, "-a "},
        {{{"del x", true}}, "del x"},
        {{{"", false}, {"del x", true}, {"-b", false}}, "del x -b"},
        {{{"-a", false}, {"", true}}, "-a\r\n"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        TZRGroup g(ctx, "P", false, kDefaultExeFilter, "P:");
        for (const auto& [param, batch] : c.boxes) {
            g.AddCheckBox(Desc("c", param), batch).SetChecked(true);
        }
        EXPECT_EQ(g.GetParams(), testing::ScriptLines(c.expected));
    }
}

TEST_F(Group, GetParamsForKeepsTheBlanksOfNonLendingFields) {
    struct Case {
        int lender;  // which of three ticked boxes names the program
        const char* expected;
    };
    const Case cases[] = {{2, "-z"}, {0, "-x  "}, {1, "-y "}, {-1, ""}};
    for (const Case& c : cases) {
        TZRGroup g(ctx, "P", false, kDefaultExeFilter, "P:");
        const char* params[] = {"-x", "-y", "-z"};
        for (int i = 0; i < 3; ++i) {
            g.AddCheckBox(Desc("c", params[i], i == c.lender ? "Other, Linker" : "other"), i == 2)
                .SetChecked(true);
        }
        g.AddCheckBox(Desc("unticked", "-u", "linker"), false);
        EXPECT_EQ(g.GetParamsFor("LINKER"), c.expected) << "lender " << c.lender;
    }
}

TEST_F(Group, ClearEmptyFieldsResetsTickedFieldsWithoutValue) {
    TZRCheckBox& check = group.AddCheckBox(Desc("c", "-c"), false);
    check.SetChecked(true);
    TValue value;
    value.DefaultText = "7";
    TZREditBox& erased = group.AddEditBox(Desc("e", "-e"), value);
    erased.SetChecked(true);
    erased.SetText("");
    TZREditBox& untickedEmpty = group.AddEditBox(Desc("u", "-u"), TValue{});
    TZREditBox& filled = group.AddEditBox(Desc("f", "-f"), TValue{});
    filled.SetChecked(true);
    filled.SetText("1");
    TZRComboBox& combo = group.AddComboBox(Desc("o", "-o"), "");
    combo.SetChecked(true);
    TZRBrowseBox& browse = group.AddBrowseBox(Desc("b", "-b"), "file", kDefaultBrowseFilter);
    browse.SetChecked(true);
    TZRColorBox& color = group.AddColorBox(Desc("k", "-k"), 0);
    color.SetChecked(true);
    ctx.PresetChanged = false;

    group.ClearEmptyFields();
    EXPECT_TRUE(check.Checked());
    EXPECT_FALSE(erased.Checked());
    EXPECT_FALSE(erased.EditControl.enabled);
    EXPECT_EQ(erased.Text(), "7");
    EXPECT_FALSE(untickedEmpty.Checked());
    EXPECT_TRUE(filled.Checked());
    EXPECT_FALSE(combo.Checked());
    EXPECT_FALSE(browse.Checked());
    EXPECT_FALSE(browse.BrowseButton.enabled);
    EXPECT_TRUE(color.Checked());
    EXPECT_TRUE(ctx.PresetChanged);

    ctx.PresetChanged = false;
    group.ClearEmptyFields();
    EXPECT_FALSE(ctx.PresetChanged);
}

TEST_F(Group, ResetFieldsClearsRunAndEveryTick) {
    group.Run = true;
    group.AddCheckBox(Desc("c"), false).SetChecked(true);
    TValue value;
    value.DefaultText = "d";
    TZREditBox& edit = group.AddEditBox(Desc("e"), value);
    edit.SetChecked(true);
    edit.SetText("typed");
    TZRColorBox& color = group.AddColorBox(Desc("k"), 0x123456);
    color.SetChecked(true);
    group.ResetFields();
    EXPECT_FALSE(group.Run);
    EXPECT_FALSE(group.CheckBoxes[0].Checked());
    EXPECT_FALSE(edit.Checked());
    EXPECT_EQ(edit.Text(), "d");
    EXPECT_FALSE(color.Checked());
    EXPECT_EQ(color.Color, 0x123456u);
}

TEST_F(Group, PresetSectionBytes) {
    group.Run = true;
    group.AddCheckBox(Desc("Verbose", "-v"), false).SetChecked(true);
    TZREditBox& level = group.AddEditBox(Desc("Level", "-l"), TValue{});
    level.SetText("3");
    EXPECT_EQ(group.GetPresetSection(),
              "[Class = Compiler]\r\nRun = True\r\n[Field = Verbose]\r\nChecked = True\r\n"
              "[Field = Level]\r\nChecked = False\r\nValue = 3");

    TZRGroup noExe(ctx, "Packer", false, kDefaultExeFilter, "Packer:");
    EXPECT_EQ(noExe.GetPresetSection(), "[Class = Packer]");
    TZRGroup empty(ctx, "Linker", true, kDefaultExeFilter, "Linker:");
    EXPECT_EQ(empty.GetPresetSection(), "[Class = Linker]\r\nRun = False");
}

TEST_F(Group, PresetSectionSurvivesSaveAndLoad) {
    group.Run = true;
    group.AddColorBox(Desc("Back", "-bg"), 0x00FF3300).SetChecked(true);
    group.AddCheckBox(Desc("Debug", "-g"), false).SetChecked(true);
    group.AddCheckBox(Desc("Debug", "-g2"), false);
    TValue number;
    number.IsString = false;
    TZREditBox& edit = group.AddEditBox(Desc("Debug", "-n"), number);
    edit.SetChecked(true);
    edit.SetText("not a number");
    TZRComboBox& combo = group.AddComboBox(Desc("Opt", "-O"), "Fast");
    group.AddComboOption("Fast", "2");
    combo.SetText("medium");
    TZRBrowseBox& browse = group.AddBrowseBox(Desc("In", "-i"), "file", kDefaultBrowseFilter);
    browse.SetChecked(true);
    browse.SetText("/my maps/a.map");
    const std::string saved = group.GetPresetSection();

    group.ResetFields();
    group.ColorBoxes[0].Color = 0;
    Apply(group, saved);
    group.Run = true;  // the stage tick travels outside the field sections
    EXPECT_EQ(group.GetPresetSection(), saved);
    // Values come back unvalidated and un-normalised.
    EXPECT_EQ(edit.Text(), "not a number");
    EXPECT_EQ(combo.Text(), "medium");
    EXPECT_TRUE(group.CheckBoxes[0].Checked());
    EXPECT_FALSE(group.CheckBoxes[1].Checked());
    EXPECT_TRUE(browse.EditControl.enabled);
}

TEST_F(Group, ApplyPresetFieldMatchesHeadersExactly) {
    TZRCheckBox& check = group.AddCheckBox(Desc("Debug", "-g"), false);
    group.BeginPresetLoad();
    group.ApplyPresetField("[Field = debug]", true, "");
    group.ApplyPresetField("[field = Debug]", true, "");
    group.ApplyPresetField("[Field =  Debug]", true, "");
    group.ApplyPresetField("[Field = Debug", true, "");
    EXPECT_FALSE(check.Checked());
    EXPECT_FALSE(check.Core.Assigned);
    group.ApplyPresetField("[Field = Debug]", true, "");
    EXPECT_TRUE(check.Checked());
    EXPECT_TRUE(check.Core.Assigned);
}

TEST_F(Group, SameCaptionsTakeSectionsInTurnAcrossKinds) {
    TZRCheckBox& check = group.AddCheckBox(Desc("Same", "-s"), false);
    TZREditBox& edit = group.AddEditBox(Desc("Same", "-e"), TValue{});
    TZRColorBox& color = group.AddColorBox(Desc("Same", "-c"), 0);
    group.BeginPresetLoad();
    group.ApplyPresetField("[Field = Same]", true, "ignored");
    group.ApplyPresetField("[Field = Same]", false, "for edit");
    group.ApplyPresetField("[Field = Same]", true, "0 0 1");
    group.ApplyPresetField("[Field = Same]", true, "1 1 1");  // nobody left
    EXPECT_TRUE(check.Checked());
    EXPECT_FALSE(edit.Checked());
    EXPECT_EQ(edit.Text(), "for edit");
    EXPECT_TRUE(color.Checked());
    EXPECT_EQ(color.Color, 0x00FF0000u);
}

TEST_F(Group, ApplyingTogglesWithoutMovingFocusUntilTheLoadEnds) {
    TZREditBox& edit = group.AddEditBox(Desc("Out", "-o"), TValue{});
    group.BeginPresetLoad();
    group.ApplyPresetField("[Field = Out]", true, "a.txt");
    EXPECT_TRUE(edit.EditControl.enabled);
    EXPECT_TRUE(ctx.PresetChanged);
    EXPECT_EQ(FocusTarget(ctx.Requests.Take()), nullptr);
    group.EndPresetLoad();

    // After the load every field is assigned: no section matches, and ticking moves focus.
    group.ApplyPresetField("[Field = Out]", false, "b.txt");
    EXPECT_EQ(edit.Text(), "a.txt");
    edit.CheckClick();
    edit.CheckClick();
    EXPECT_EQ(FocusTarget(ctx.Requests.Take()), &edit.EditControl);
}

TEST_F(Group, GroupBoxClearsTheDetails) {
    FieldDescription d = Desc("c");
    d.Details = "help";
    group.AddCheckBox(d, false).MouseMove();
    EXPECT_EQ(ctx.DetailsText, "help");
    group.GroupBoxMouseMove();
    EXPECT_EQ(ctx.DetailsText, "");
}

}  // namespace
}  // namespace kestrune
