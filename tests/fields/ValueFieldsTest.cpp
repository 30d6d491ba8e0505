// Label, check box and edit box: geometry, hints, toggling, fragments, preset lines, numbers.

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "FieldTestSupport.h"
#include "fields/BrowseBox.h"
#include "fields/CheckBox.h"
#include "fields/ColorBox.h"
#include "fields/ComboBox.h"
#include "fields/EditBox.h"
#include "fields/LabelBox.h"

namespace kestrune {
namespace {

using fieldtest::Desc;

class Fields : public ::testing::Test, public fieldtest::Context {};

TEST_F(Fields, LabelIsOneColumnAndSitsFourPixelsLower) {
    TZRLabelBox label("Output", 188, 41);
    EXPECT_EQ(label.Caption(), "Output");
    EXPECT_EQ(label.LabelControl.bounds, (Bounds{188, 45, 176, 17}));
    EXPECT_EQ(label.LabelControl.hint, "");
}

// Every control of every kind, for widths 1 to 3, placed at left 188, top 41.
class Geometry : public Fields, public ::testing::WithParamInterface<int> {};

TEST_P(Geometry, ControlsFillTheFieldWidth) {
    const int n = GetParam();
    const int full = n * 180 - 4;
    const FieldDescription d = Desc("Caption", "-x", "", n);

    TZRCheckBox check(ctx, d, false, 188, 41);
    EXPECT_EQ(check.Core.CheckControl.bounds, (Bounds{188, 41, full, 21}));

    TZREditBox edit(ctx, d, TValue{}, 188, 41);
    EXPECT_EQ(edit.Core.CheckControl.bounds, (Bounds{188, 41, 132, 21}));
    EXPECT_EQ(edit.EditControl.bounds, (Bounds{320, 41, full - 132, 21}));

    TZRComboBox combo(ctx, d, "", 188, 41);
    EXPECT_EQ(combo.Core.CheckControl.bounds, (Bounds{188, 41, 88, 21}));
    EXPECT_EQ(combo.ComboControl.bounds, (Bounds{276, 41, full - 88, 21}));

    TZRBrowseBox browse(ctx, d, "file", kDefaultBrowseFilter, 188, 41);
    EXPECT_EQ(browse.Core.CheckControl.bounds, (Bounds{188, 41, 88, 21}));
    EXPECT_EQ(browse.EditControl.bounds, (Bounds{276, 41, n * 180 - 117, 21}));
    EXPECT_EQ(browse.BrowseButton.bounds, (Bounds{276 + n * 180 - 117 + 4, 41, 21, 21}));
    // Edit, gap and button end exactly at the field's right edge.
    EXPECT_EQ(browse.BrowseButton.bounds.left + 21, 188 + full);

    TZRColorBox color(ctx, d, 0, 188, 41);
    const int half = full / 2;
    EXPECT_EQ(color.Core.CheckControl.bounds, (Bounds{188, 41, half, 21}));
    EXPECT_EQ(color.ColorButton.bounds, (Bounds{188 + half, 41, full - half, 21}));
}

INSTANTIATE_TEST_SUITE_P(Widths, Geometry, ::testing::Values(1, 2, 3));

TEST_F(Fields, UnusableWidthsFallBackToSaneSizes) {
    for (int width : {0, -3}) {
        TZRCheckBox check(ctx, Desc("c", "", "", width), false, 8, 16);
        EXPECT_EQ(check.Core.Width, 1);
        EXPECT_EQ(check.Core.CheckControl.bounds.width, 176);
        TZRColorBox color(ctx, Desc("c", "", "", width), 0, 8, 16);
        EXPECT_EQ(color.Core.CheckControl.bounds.width, 88);
    }
    // A width read from a file may be any 32-bit number; pixel sizes must not overflow.
    TZRCheckBox wide(ctx, Desc("c", "", "", 2147483647), false, 8, 16);
    EXPECT_EQ(wide.Core.CheckControl.bounds.width, kMaxColumns * 180 - 4);
    TZRBrowseBox browse(ctx, Desc("c", "", "", 2147483647), "file", "", 8, 16);
    EXPECT_GT(browse.BrowseButton.bounds.left, browse.EditControl.bounds.left);
}

TEST_F(Fields, HintsDependOnKindAndParam) {
    const FieldDescription p = Desc("c", "-i");
    EXPECT_EQ(TZRCheckBox(ctx, p, false, 8, 16).Core.CheckControl.hint, "-i");
    EXPECT_EQ(TZREditBox(ctx, p, TValue{}, 8, 16).Core.CheckControl.hint, "-i #");
    EXPECT_EQ(TZRComboBox(ctx, p, "", 8, 16).Core.CheckControl.hint, "-i #");
    EXPECT_EQ(TZRBrowseBox(ctx, p, "path", "", 8, 16).Core.CheckControl.hint, "-i path");
    EXPECT_EQ(TZRBrowseBox(ctx, p, "Path", "", 8, 16).Core.CheckControl.hint, "-i path");
    EXPECT_EQ(TZRBrowseBox(ctx, p, "file", "", 8, 16).Core.CheckControl.hint, "-i file");
    EXPECT_EQ(TZRBrowseBox(ctx, p, "name", "", 8, 16).Core.CheckControl.hint, "-i file");
    EXPECT_EQ(TZRColorBox(ctx, p, 0, 8, 16).Core.CheckControl.hint, "-i color");

    const FieldDescription none = Desc("c");
    EXPECT_EQ(TZRCheckBox(ctx, none, false, 8, 16).Core.CheckControl.hint, "");
    EXPECT_EQ(TZREditBox(ctx, none, TValue{}, 8, 16).Core.CheckControl.hint, "");
    EXPECT_EQ(TZRBrowseBox(ctx, none, "path", "", 8, 16).Core.CheckControl.hint, "");
    EXPECT_EQ(TZRColorBox(ctx, none, 0, 8, 16).Core.CheckControl.hint, "");
}

TEST_F(Fields, CreatedUntickedWithValueControlDisabled) {
    FieldDescription d = Desc("Level", "-l");
    d.Bold = true;
    TValue value;
    value.DefaultText = "3";
    TZREditBox edit(ctx, d, value, 8, 16);
    EXPECT_FALSE(edit.Checked());
    EXPECT_TRUE(edit.Core.CheckControl.bold);
    EXPECT_EQ(edit.Core.CheckControl.text, "Level");
    EXPECT_FALSE(edit.EditControl.enabled);
    EXPECT_EQ(edit.Text(), "3");
    EXPECT_FALSE(edit.Core.Assigned);
    EXPECT_FALSE(ctx.PresetChanged);
}

TEST_F(Fields, TogglingAnEditBoxEnablesItAndMovesFocusOnlyOnceAssigned) {
    TZREditBox edit(ctx, Desc("Out", "-o"), TValue{}, 8, 16);
    edit.CheckClick();
    EXPECT_TRUE(edit.Checked());
    EXPECT_TRUE(edit.EditControl.enabled);
    EXPECT_TRUE(ctx.PresetChanged);
    EXPECT_EQ(FocusTarget(ctx.Requests.Take()), nullptr);

    edit.CheckClick();
    EXPECT_FALSE(edit.EditControl.enabled);
    edit.Core.Assigned = true;
    edit.CheckClick();
    EXPECT_EQ(FocusTarget(ctx.Requests.Take()), &edit.EditControl);

    edit.CheckClick();
    EXPECT_EQ(FocusTarget(ctx.Requests.Take()), nullptr);
}

TEST_F(Fields, SettingTheSameTickRunsNoToggle) {
    TZRCheckBox check(ctx, Desc("V", "-v"), false, 8, 16);
    check.SetChecked(false);
    EXPECT_FALSE(ctx.PresetChanged);
    check.SetChecked(true);
    EXPECT_TRUE(ctx.PresetChanged);
    ctx.PresetChanged = false;
    check.SetChecked(true);
    EXPECT_FALSE(ctx.PresetChanged);
}

TEST_F(Fields, MouseOverShowsDetails) {
    FieldDescription d = Desc("V");
    d.Details = "    Verbose output";
    TZRCheckBox check(ctx, d, false, 8, 16);
    check.MouseMove();
    EXPECT_EQ(ctx.DetailsText, "    Verbose output");
}

TEST_F(Fields, CheckBoxFragmentIsItsExpandedParam) {
    EXPECT_EQ(TZRCheckBox(ctx, Desc("V", "-v"), false, 8, 16).GetParam(), "-v");
    EXPECT_EQ(TZRCheckBox(ctx, Desc("V"), false, 8, 16).GetParam(), "");
    EXPECT_EQ(TZRCheckBox(ctx, Desc("V", "-o $FilePath/$FileName.obj"), false, 8, 16).GetParam(),
              "-o /work/level1.obj");
    EXPECT_EQ(TZRCheckBox(ctx, Desc("V", "del a\r\ndel b"), true, 8, 16).GetParam(),
              "del a\r\ndel b");
}

TEST_F(Fields, EditBoxFragmentIsNeverQuotedNorExpanded) {
    struct Case {
        const char* param;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"-o", "out.txt", "-o out.txt"},
        {"-o", "my file.txt", "-o my file.txt"},
        {"", "out.txt", "out.txt"},
        {"-o", "", "-o "},
        {"--dest=$FileDest", "$FileName", "--dest=/dest $FileName"},
    };
    for (const Case& c : cases) {
        TZREditBox edit(ctx, Desc("Out", c.param), TValue{}, 8, 16);
        edit.SetText(c.text);
        EXPECT_EQ(edit.GetParam(), c.expected) << c.param << " / " << c.text;
    }
}

TEST_F(Fields, GroupsAreTrimmedLowerCasedNames) {
    using V = std::vector<std::string>;
    const std::pair<const char*, V> cases[] = {
        {"Linker, Packer", {"linker", "packer"}},
        {"a,,b", {"a", "", "b"}},
        {"a, ,b", {"a", "", "b"}},
        {",a", {"", "a"}},
        {"a,", {"a"}},
        {",", {""}},
        {" , ,", {"", ""}},
        {"a,  ", {"a"}},
        {"", {}},
        {"  \t", {}},
        {" My Tool ; X ", {"my tool ; x"}},
    };
    for (const auto& [text, expected] : cases) {
        const TZRCheckBox check(ctx, Desc("Lend", "-l", text), false, 8, 16);
        EXPECT_EQ(check.Core.Groups(), expected) << text;
    }
}

TEST_F(Fields, GetParamForLendsOnlyToListedPrograms) {
    TZREditBox edit(ctx, Desc("Map", "-m", "Linker, Packer"), TValue{}, 8, 16);
    edit.SetText("a.map");
    EXPECT_EQ(edit.GetParamFor("linker"), "-m a.map");
    EXPECT_EQ(edit.GetParamFor("packer"), "-m a.map");
    EXPECT_EQ(edit.GetParamFor("compiler"), "");
    EXPECT_EQ(edit.GetParamFor(""), "");
    TZRCheckBox check(ctx, Desc("V", "-v", "a,,b"), false, 8, 16);
    EXPECT_EQ(check.GetParamFor(""), "-v");
    EXPECT_EQ(check.GetParamFor("b"), "-v");
    TZRCheckBox trailing(ctx, Desc("T", "-t", "A,"), false, 8, 16);
    EXPECT_EQ(trailing.GetParamFor("a"), "-t");
    EXPECT_EQ(trailing.GetParamFor(""), "");
    EXPECT_EQ(trailing.GetParamFor("a,"), "");
}

TEST_F(Fields, PresetTextOfCheckAndEditBoxes) {
    TZREditBox edit(ctx, Desc("Output", "-o"), TValue{}, 8, 16);
    edit.SetChecked(true);
    edit.SetText("a.txt");
    EXPECT_EQ(edit.GetPresetText(), "[Field = Output]\r\nChecked = True\r\nValue = a.txt");
    TZRCheckBox check(ctx, Desc("Verbose", "-v"), false, 8, 16);
    EXPECT_EQ(check.GetPresetText(), "[Field = Verbose]\r\nChecked = False");
    TZRCheckBox odd(ctx, Desc("A [b] = c"), false, 8, 16);
    EXPECT_EQ(odd.GetPresetText(), "[Field = A [b] = c]\r\nChecked = False");
}

TEST_F(Fields, ResetReturnsToTheSpecificationState) {
    TValue value;
    value.DefaultText = "def";
    TZREditBox edit(ctx, Desc("Out", "-o"), value, 8, 16);
    edit.SetChecked(true);
    edit.SetText("x");
    ctx.PresetChanged = false;
    edit.Reset();
    EXPECT_FALSE(edit.Checked());
    EXPECT_FALSE(edit.EditControl.enabled);
    EXPECT_EQ(edit.Text(), "def");
    EXPECT_TRUE(ctx.PresetChanged);

    TZRCheckBox check(ctx, Desc("V", "-v"), false, 8, 16);
    check.SetChecked(true);
    check.Reset();
    EXPECT_FALSE(check.Checked());
}

struct NumberCase {
    double min;
    double max;
    int roundTo;
    const char* input;
    const char* expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.min << ".." << c.max << " round " << c.roundTo << " \"" << c.input << "\"";
}

class ValidateNumber : public Fields, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(ValidateNumber, ClampsRoundsAndFormats) {
    const NumberCase& c = GetParam();
    TValue value;
    value.Min = c.min;
    value.Max = c.max;
    value.RoundTo = c.roundTo;
    value.IsString = false;
    value.DefaultText = "dflt";
    TZREditBox edit(ctx, Desc("N", "-n"), value, 8, 16);
    edit.SetText(c.input);
    edit.EditExit();
    EXPECT_EQ(edit.Text(), c.expected);
    EXPECT_TRUE(ctx.PresetChanged);
}

constexpr double kLow = kDefaultMin;
constexpr double kHigh = kDefaultMax;

INSTANTIATE_TEST_SUITE_P(
    Table, ValidateNumber,
    ::testing::Values(
        // Bounds 0..10, one decimal.
        NumberCase{0, 10, -1, "12.34", "10"}, NumberCase{0, 10, -1, "3.14159", "3.1"},
        NumberCase{0, 10, -1, "ten", "dflt"}, NumberCase{0, 10, -1, "", "dflt"},
        NumberCase{0, 10, -1, "-4", "0"}, NumberCase{0, 10, -1, "  7 ", "7"},
        NumberCase{0, 10, -1, "1,5", "dflt"}, NumberCase{0, 10, -1, "+4", "4"},
        NumberCase{0, 10, -1, "2.5e0", "2.5"}, NumberCase{0, 10, -1, "1e400", "dflt"},
        // Integers: halves go to the even neighbour.
        NumberCase{-10, 10, 0, "2.5", "2"}, NumberCase{-10, 10, 0, "3.5", "4"},
        NumberCase{-10, 10, 0, "0.5", "0"}, NumberCase{-10, 10, 0, "-2.5", "-2"},
        NumberCase{-10, 10, 0, "-3.5", "-4"}, NumberCase{-10, 10, 0, "2.51", "3"},
        // Halves that binary fractions hold exactly, two decimals.
        NumberCase{0, 10, -2, "0.125", "0.12"}, NumberCase{0, 10, -2, "0.375", "0.38"},
        // Multiples of a hundred.
        NumberCase{0, 1e6, 2, "1234", "1200"}, NumberCase{0, 1e6, 2, "1250", "1200"},
        NumberCase{0, 1e6, 2, "1350", "1400"}, NumberCase{0, 1e6, 2, "49", "0"},
        // Defaults of a "float" edit.
        NumberCase{kLow, kHigh, -8, "0.123456789012", "0.12345679"},
        NumberCase{kLow, kHigh, -8, "2.50", "2.5"}, NumberCase{kLow, kHigh, -8, "3.0", "3"},
        NumberCase{kLow, kHigh, -8, "-5", "0"}, NumberCase{kLow, kHigh, -8, "0", "0"},
        NumberCase{kLow, kHigh, -8, "1e20", "1e+20"},
        NumberCase{kLow, kHigh, -8, "1.7e308", "1.7e+308"},
        NumberCase{kLow, kUnreadableMax, -8, "1e39", "1.7e+38"},
        // Min is applied before Max.
        NumberCase{5, 3, 0, "1", "3"}, NumberCase{5, 3, 0, "10", "3"}));

TEST_F(Fields, StringEditBoxIsTakenAsTyped) {
    TValue value;
    value.DefaultText = "d";
    TZREditBox edit(ctx, Desc("S", "-s"), value, 8, 16);
    edit.SetText(" 2.50 ");
    edit.EditExit();
    EXPECT_EQ(edit.Text(), " 2.50 ");
    EXPECT_FALSE(ctx.PresetChanged);
}

TEST(RoundToPowerOfTen, OutOfRangeExponentsLeaveValuesUsable) {
    EXPECT_EQ(RoundToPowerOfTen(1234.5678, -2), 1234.57);
    EXPECT_EQ(RoundToPowerOfTen(5.0, 37), 0.0);
    EXPECT_EQ(RoundToPowerOfTen(7.25, 400), 7.25);
    EXPECT_EQ(RoundToPowerOfTen(7.25, -400), 7.25);
    EXPECT_EQ(RoundToPowerOfTen(1.7e308, -8), 1.7e308);
}

}  // namespace
}  // namespace kestrune
