#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptText.h"
#include "SpecTestSupport.h"
#include "specification/ElementBlocks.h"

namespace kestrune {
namespace {

using testing::kViewerName;
using testing::ScriptLines;

using testing::SpecHarness;

// Loads a specification with one group "G" whose body is `body`; the group is closed and the
// file ends after it.
const TZRGroup& LoadBody(SpecHarness& h, const std::vector<std::string>& body) {
    std::string text = "setup = S\r\n{\r\n}\r\ngroup = G\r\n{\r\n";
    for (const std::string& line : body) {
        text += line + "\r\n";
    }
    text += "}\r\n";
    h.Load(text);
    EXPECT_TRUE(h.fake.messages.empty()) << h.fake.messages.front().text;
    EXPECT_EQ(h.state.Programs.size(), 1u);
    return *h.state.Programs.at(0);
}

std::vector<std::string> Block(const std::string& header, std::vector<std::string> keys) {
    keys.insert(keys.begin(), {header, "{"});
    keys.push_back("}");
    return keys;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct CheckCase {
    std::vector<std::string> keys;
    std::string param;
    bool batchCommand;
};

TEST(CheckBoxBlock, ParamAndBatchCommandRules) {
    const CheckCase cases[] = {
        {{"param = -a", "param = -b"}, "-a", false},
        {{"param = -a", "batchcommand = true", "param = -b", "param = -c"}, "-a\r\n-b\r\n-c", true},
        {{"batchcommand = TRUE", "param = x"}, "x", true},
        {{"batchcommand = true", "batchcommand = no", "param = a", "param = b"}, "a\r\nb", true},
        {{"batchcommand = 1", "param = a", "param = b"}, "a", false},
        {{"param =", "param = b"}, "b", false},
        {{}, "", false},
    };
    for (const CheckCase& c : cases) {
        SpecHarness h;
        const TZRGroup& g = LoadBody(h, Block("checkbox = Caption", c.keys));
        ASSERT_EQ(g.CheckBoxes.size(), 1u);
        EXPECT_EQ(g.CheckBoxes[0].Core.Param, ScriptLines(c.param))
            << ::testing::PrintToString(c.keys);
        EXPECT_EQ(g.CheckBoxes[0].BatchCommand, c.batchCommand) << ::testing::PrintToString(c.keys);
        EXPECT_EQ(g.CheckBoxes[0].Caption(), "Caption");
    }
}

TEST(ElementBlock, CommonKeysForEveryKind) {
    for (const char* kind : {"checkbox", "editbox", "combobox", "browsebox", "colorbox"}) {
        SpecHarness h;
        const TZRGroup& g =
            LoadBody(h, Block(std::string(kind) + " = Cap",
                              {"param = -x", "groups = Linker, PACKER", "bold = True", "bold = no",
                               "width = 2", "unknown = ignored", "spaces = 3"}));
        int seen = 0;
        g.ForEachField([&](const auto& field) {
            ++seen;
            EXPECT_EQ(field.Caption(), "Cap") << kind;
            EXPECT_EQ(field.Core.Param, "-x") << kind;
            EXPECT_EQ(field.Core.Groups(), (std::vector<std::string>{"linker", "packer"})) << kind;
            EXPECT_TRUE(field.Core.CheckControl.bold) << kind;
            EXPECT_EQ(field.Core.Width, 2) << kind;
        });
        EXPECT_EQ(seen, 1) << kind;
        EXPECT_EQ(g.CursorTop, 16 + 25) << kind;  // the nested "spaces" added no rows
    }
}

TEST(ElementBlock, LaterParamReplacesEarlierOutsideCheckBoxes) {
    SpecHarness h;
    const TZRGroup& g = LoadBody(h, Block("editbox = E", {"param = -a", "param = -b"}));
    EXPECT_EQ(g.EditBoxes.at(0).Core.Param, "-b");
}

TEST(ElementBlock, WidthDefaultsAndLimits) {
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{}, 1},
        {{"width = 0"}, 1},
        {{"width = -3"}, 1},
        {{"width = 5", "width = wide"}, 1},
        {{"width = 3"}, 3},
        {{"width = $A"}, 10},
        {{"width = 99999999999"}, 1},
        {{"width = 2147483647"}, kMaxColumns},  // wider only overflows the pixel arithmetic
    };
    for (const auto& [keys, width] : cases) {
        SpecHarness h;
        const TZRGroup& g = LoadBody(h, Block("combobox = C", keys));
        EXPECT_EQ(g.ComboBoxes.at(0).Core.Width, width) << ::testing::PrintToString(keys);
    }
}

struct EditCase {
    std::vector<std::string> keys;
    double min;
    double max;
    int roundTo;
    bool isString;
};

TEST(EditBoxBlock, ValueRecordKeys) {
    const EditCase cases[] = {
        {{}, kDefaultMin, 1.7e308, -8, true},
        {{"type = Int"}, kDefaultMin, 1.7e308, 0, false},
        {{"type = float"}, kDefaultMin, 1.7e308, -8, false},
        {{"type = string"}, kDefaultMin, 1.7e308, -8, true},
        {{"type = int", "roundto = 2"}, kDefaultMin, 1.7e308, 2, false},
        {{"roundto = 2", "type = INT"}, kDefaultMin, 1.7e308, 0, false},
        {{"roundto = two"}, kDefaultMin, 1.7e308, 0, true},
        {{"roundto = -3"}, kDefaultMin, 1.7e308, -3, true},
        {{"min = -1.5", "max = 1e5"}, -1.5, 1e5, -8, true},
        {{"min = 5", "min = low"}, kDefaultMin, 1.7e308, -8, true},
        {{"max = high"}, kDefaultMin, 1.7e38, -8, true},
        {{"max = 1,5"}, kDefaultMin, 1.7e38, -8, true},
        {{"max = 1e999"}, kDefaultMin, 1.7e38, -8, true},
    };
    for (const EditCase& c : cases) {
        SpecHarness h;
        const TZRGroup& g = LoadBody(h, Block("editbox = E", c.keys));
        const TValue& v = g.EditBoxes.at(0).Value;
        const std::string keys = ::testing::PrintToString(c.keys);
        EXPECT_EQ(v.Min, c.min) << keys;
        EXPECT_EQ(v.Max, c.max) << keys;
        EXPECT_EQ(v.RoundTo, c.roundTo) << keys;
        EXPECT_EQ(v.IsString, c.isString) << keys;
    }
}

TEST(EditBoxBlock, DefaultTextKeepsItsCase) {
    SpecHarness h;
    const TZRGroup& g = LoadBody(h, Block("editbox = E", {"default = Hello World"}));
    EXPECT_EQ(g.EditBoxes.at(0).Value.DefaultText, "Hello World");
    EXPECT_EQ(g.EditBoxes.at(0).Text(), "Hello World");
}

TEST(ComboBoxBlock, DefaultAndLastOptionsLineWins) {
    SpecHarness h;
    const TZRGroup& g = LoadBody(h, Block("combobox = Mode", {"options = A, a", "default = Fast",
                                                              "options = Fast, -f | "
                                                              "Slow , -s|Odd"}));
    const TZRComboBox& box = g.ComboBoxes.at(0);
    EXPECT_EQ(box.DefaultText, "Fast");
    EXPECT_EQ(box.OptionNames, (std::vector<std::string>{"Fast", "Slow"}));
    EXPECT_EQ(box.OptionValues, (std::vector<std::string>{"-f", "-s"}));
}

TEST(BrowseBoxBlock, FilterAndFoldedType) {
    SpecHarness h;
    const TZRGroup& g =
        LoadBody(h, Block("browsebox = Plain", {}) +
                        Block("browsebox = Dir", {"type = PATH", "filter = T|*.t"}) +
                        Block("browsebox = Bare", {"filter ="}));
    ASSERT_EQ(g.BrowseBoxes.size(), 3u);
    EXPECT_EQ(g.BrowseBoxes[0].BrowseType, "file");
    EXPECT_EQ(g.BrowseBoxes[0].Filter(), "All Files (*.*)|*.*");
    EXPECT_EQ(g.BrowseBoxes[1].BrowseType, "path");
    EXPECT_EQ(g.BrowseBoxes[1].Filter(), "T|*.t");
    EXPECT_EQ(g.BrowseBoxes[2].Filter(), "");
}

TEST(ColorBoxBlock, ColourTextGivesTheInitialColour) {
    SpecHarness h;
    const TZRGroup& g =
        LoadBody(h, Block("colorbox = Plain", {}) + Block("colorbox = Set", {"color = 255 128 0"}));
    ASSERT_EQ(g.ColorBoxes.size(), 2u);
    EXPECT_EQ(g.ColorBoxes[0].Color, 0u);
    EXPECT_EQ(g.ColorBoxes[1].Color, 255u * 65536u + 128u * 256u);
}

TEST(ParseColorText, NumbersBlanksAndWrapping) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"", 0},
        {"0 0 0", 0},
        {"1 2 3", 0x010203},
        {"255 128", 0},
        {"255", 0},
        {"255  7 9", 255u * 65536u + 0 + 0},  // the second blank makes the rest unreadable
        {"x 1 2", 258},
        {"$FF 0 $10", 0xFF0010},
        {"65536 0 0", 0},  // 2^32 wraps to 0
        {"-1 0 0", 0xFFFF0000u},
        {"2147483647 2147483647 2147483647",
         2147483647u * 65536u + 2147483647u * 256u + 2147483647u},
        {"1 2 3 4", 0x0102 * 256},  // "3 4" is no number
    };
    for (const auto& [text, color] : cases) {
        EXPECT_EQ(ParseColorText(text), color) << text;
    }
}

using Options = std::vector<std::pair<std::string, std::string>>;

Options ParsedOptions(std::string_view text) {
    FieldContext context;
    TZRGroup group(context, "G", false, kDefaultExeFilter, "G:");
    FieldDescription description;
    description.Caption = "C";
    group.AddComboBox(description, "");
    ParseOptionList(group, text);
    Options options;
    const TZRComboBox& box = group.ComboBoxes.back();
    for (std::size_t i = 0; i < box.OptionNames.size(); ++i) {
        options.emplace_back(box.OptionNames[i], box.OptionValues[i]);
    }
    return options;
}

TEST(ParseOptionList, NamesValuesAndOddParts) {
    const std::pair<const char*, Options> cases[] = {
        {"", {}},
        {"no comma", {}},
        {"A,1|B,2|C,3|rest", {{"A", "1"}, {"B", "2"}, {"C", "3"}}},
        {" A , one two | B,2", {{"A", "one two"}, {"B", "2"}}},
        {"a|b,1", {{"a|b", "1"}, {"b", "1"}}},
        {"A,1,2|B,", {{"A", "1,2"}, {"B", ""}}},
        {",v|", {{"", "v"}}},
        {"A,1|a,2", {{"A", "1"}}},  // same name without regard to case
        {"|||x,1", {{"|||x", "1"}, {"||x", "1"}, {"|x", "1"}, {"x", "1"}}},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParsedOptions(text), expected) << text;
    }
}

TEST(ParseOptionList, NamesFullOfBarsStayWithinABudget) {
    // Every "|" before the comma would repeat the rest of the name as another option; without
    // a limit this text alone asks for about 12 GB.
    const std::string text = std::string(150000, '|') + "x," + std::string(10, 'v');
    const Options options = ParsedOptions(text);
    std::size_t total = 0;
    for (const auto& [name, value] : options) {
        total += name.size() + value.size();
    }
    EXPECT_GT(options.size(), 1u);
    EXPECT_LE(total, text.size() * 4);
    EXPECT_EQ(options.front().first, text.substr(0, 150001));
}

TEST(HintContinuation, EveryLineUpToTheBraceIsAParagraph) {
    SpecHarness h;
    const TZRGroup& g = LoadBody(h, Block("checkbox = C", {"param = -c", "hint = First line.", "",
                                                           "param = -d  // cut", "Third"}));
    const TZRCheckBox& box = g.CheckBoxes.at(0);
    EXPECT_EQ(box.Core.Details, "    First line.\r\n\r\n    param = -d\r\n\r\n    Third");
    EXPECT_EQ(box.Core.Param, "-c");
}

TEST(HintContinuation, EmptyHintValueStillIndents) {
    SpecHarness h;
    const TZRGroup& g = LoadBody(h, Block("editbox = E", {"hint ="}));
    EXPECT_EQ(g.EditBoxes.at(0).Core.Details, "    ");
}

TEST(ElementBlock, EndOfFileInsideABlockAddsNoFieldAndKeepsEarlierOnes) {
    for (const char* tail : {"checkbox = Open\r\n", "checkbox = Open\r\n{\r\nparam = -o\r\n",
                             "checkbox = Open\r\n{\r\nhint = h\r\nmore\r\n"}) {
        SpecHarness h;
        h.dir.Write("Config/test.path", "FileDest = read\r\n");
        h.Load(
            "setup = S\r\n{\r\n}\r\ngroup = G\r\n{\r\nlabelbox = Head\r\ncheckbox = Done\r\n"
            "{\r\n}\r\n" +
            std::string(tail));
        EXPECT_TRUE(h.fake.messages.empty()) << tail;
        ASSERT_EQ(h.state.Programs.size(), 1u) << tail;
        EXPECT_EQ(h.state.Programs[0]->Labels.size(), 1u) << tail;
        EXPECT_EQ(h.state.Programs[0]->CheckBoxes.size(), 1u) << tail;
        EXPECT_EQ(h.state.Fields.Files.FileDest, "read") << tail;  // the read ended normally
    }
}

TEST(ElementBlock, ErrorsAddNoFieldButKeepTheGroup) {
    SpecHarness h;
    h.Load("setup = S\r\n{\r\n}\r\ngroup = G\r\n{\r\nbrowsebox = B\r\n{\r\nhint = h\r\n{\r\n}\r\n");
    ASSERT_EQ(h.state.Programs.size(), 1u);
    EXPECT_TRUE(h.state.Programs[0]->BrowseBoxes.empty());
    EXPECT_EQ(h.SyntaxErrors().size(), 1u);
}

TEST(LabelAndSpaces, LinesWithoutBlocks) {
    SpecHarness h;
    const TZRGroup& g = LoadBody(h, {"labelbox = Heading  // note", "spaces = 2", "spaces = -4",
                                     "spaces = lots", "labelbox ="});
    ASSERT_EQ(g.Labels.size(), 2u);
    EXPECT_EQ(g.Labels[0].Caption(), "Heading");
    EXPECT_EQ(g.Labels[1].Caption(), "");
    // Two rows of spaces lie between the label rows.
    EXPECT_EQ(g.Labels[1].LabelControl.bounds.top - g.Labels[0].LabelControl.bounds.top, 25 * 3);
}

TEST(LabelAndSpaces, HugeSpaceCountsNeitherHangNorOverflowTheLayout) {
    SpecHarness h;
    std::vector<std::string> body(20000, "spaces = 2147483647");
    body.push_back("labelbox = after");
    const TZRGroup& g = LoadBody(h, body);
    ASSERT_EQ(g.Labels.size(), 1u);
    EXPECT_GT(g.Labels[0].LabelControl.bounds.left, 1000);
    EXPECT_LT(g.Labels[0].LabelControl.bounds.left, 1 << 25);
}

}  // namespace
}  // namespace kestrune
