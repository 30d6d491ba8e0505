#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fields/ShellQuoting.h"
#include "lint/Lint.h"

namespace kestrune {
namespace {

constexpr bool kCmd = kScriptShell == ScriptShell::Cmd;

// "LINE:COLUMN: SEVERITY: MESSAGE [RULE]" per finding, and the suggestion after " => ".
std::vector<std::string> Render(const std::vector<LintFinding>& findings) {
    std::vector<std::string> lines;
    for (const LintFinding& finding : findings) {
        std::string line = FormatFinding("", finding).substr(1);
        if (!finding.suggestion.empty()) {
            line += " => " + finding.suggestion;
        }
        lines.push_back(line);
    }
    return lines;
}

// A specification of one stage "Tool" run by the layout, with `body` inside its Group block and
// `layout` after the line that runs it.
std::string WithTool(const std::string& body, const std::string& layout = "") {
    return "Setup = S\n{\nLayout:\n$ClassEXE=Tool $ClassParam=Tool\n" + layout +
           "}\nGroup = Tool\n{\nRequireExe = true\n" + body + "}\n";
}

struct Case {
    const char* name;
    std::string spec;
    std::vector<std::string> findings;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class LintRule : public ::testing::TestWithParam<Case> {};

TEST_P(LintRule, ReportsExactlyTheseFindings) {
    EXPECT_EQ(Render(LintSpecification(GetParam().spec)), GetParam().findings) << GetParam().spec;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

const Case kSyntaxAndKeys[] = {
    {"LineWithoutEquals",
     "Setup = S\n{\nAuthor\n}\n",
     {"3:1: error: Expected: \"=\", got: Author [syntax-error]"}},
    {"MisspeltElementKindThenItsBrace",
     WithTool("EditBx = Level\n{\n}\n"),
     {"9:1: warning: unknown key “EditBx” in a Group block: it is ignored (did you mean "
      "“EditBox”?) [unknown-key] => EditBox",
      "10:1: error: Expected: \"=\", got: { [syntax-error]"}},
    {"MisspeltElementKeys",
     WithTool("CheckBox = TOC\n{\n  Parm = --toc\n  Hnit = x\n}\n"),
     {"11:3: warning: unknown key “Parm” in a CheckBox block: it is ignored (did you mean "
      "“Param”?) [unknown-key] => Param",
      "12:3: warning: unknown key “Hnit” in a CheckBox block: it is ignored (did you mean "
      "“Hint”?) [unknown-key] => Hint"}},
    {"KeyOfAnotherKind",
     WithTool("EditBox = Level\n{\nOptions = a,1\nColour = 1\n}\n"),
     {"11:1: warning: unknown key “Options” in a EditBox block: it is ignored [unknown-key]",
      "12:1: warning: unknown key “Colour” in a EditBox block: it is ignored [unknown-key]"}},
    {"MisspeltSetupKey",
     "Setup = S\n{\n  Autor = me\n}\n",
     {"3:3: warning: unknown key “Autor” in the Setup block: it is ignored (did you mean "
      "“Author”?) [unknown-key] => Author"}},
    {"GroupLineInsideAGroup",
     WithTool("LabelBox = x\nGroup = Next\n{\n}\n"),
     {"10:1: warning: a Group line inside the Group block “Tool” is ignored: the \"}\" that ends "
      "that block is missing above it [unknown-key] => }",
      "11:1: error: Expected: \"=\", got: { [syntax-error]"}},
    {"ElementLineInsideAnElement",
     WithTool("CheckBox = A\n{\nCheckBox = B\n{\n}\n"),
     {"11:1: warning: an element line inside the CheckBox block “A” is ignored: the \"}\" that "
      "ends that block is missing above it [unknown-key] => }",
      "12:1: error: Expected: \"=\", got: { [syntax-error]"}},
    {"HintUnexpectedBrace",
     WithTool("CheckBox = A\n{\nHint = x\n{\n}\n"),
     {"12:1: error: Unexpected start of new object. (Did you miss a \"{\"?) [syntax-error]"}},
    {"LateGroupKeys",
     "Setup = S\n{\n}\nGroup = G\n{\nLabelBox = x\nName = Later\nExeFilter = "
     "x|*\n}\n",
     {"7:1: warning: “Name” after the block's first field line has no effect; move it above the "
      "field lines [late-group-key]",
      "8:1: warning: “ExeFilter” after the block's first field line has no effect; move it "
      "above the field lines [late-group-key]"}},
    {"KeyLinesAfterLayout",
     "Setup = S\n{\nLayout:\necho\nAuthor = me\nGroup = G\nName=x\n}\n",
     {"5:1: warning: “Author = me” after Layout: is a layout line, not a key; move it above "
      "Layout: [key-in-layout]",
      "6:1: warning: “Group = G” is read as a layout line: the \"}\" that ends the Setup block is "
      "missing above it [key-in-layout]",
      "7:1: warning: “Name=x” after Layout: is a layout line, not a key; move it above Layout: "
      "[key-in-layout]"}},
    {"KeyLineAfterHint",
     WithTool("CheckBox = A\n{\nHint = x\n  Param = -v\n}\n"),
     {"12:3: warning: “Param = -v” after Hint is a line of the help text, not a key; put Hint "
      "last in the block [key-after-hint]"}},
    {"SecondParamWithoutBatchCommand",
     WithTool("CheckBox = A\n{\nParam = -a\nParam = -b\n}\n"),
     {"12:1: warning: a second Param of a CheckBox is ignored unless \"BatchCommand = true\" "
      "comes before it [param-ignored]"}},
};
INSTANTIATE_TEST_SUITE_P(SyntaxAndKeys, LintRule, ::testing::ValuesIn(kSyntaxAndKeys), CaseName);

const Case kUnclosedBlocks[] = {
    {"ElementAtTheEnd",
     "Setup = S\n{\n}\nGroup = G\n{\nComboBox = Level\n{\nOptions = a,1\n",
     {"6:1: error: the ComboBox block “Level” is never closed: the file ends before its \"}\", "
      "so the field does not exist [unclosed-block] => }"}},
    {"ElementWithoutItsBraceLine",
     "Setup = S\n{\n}\nGroup = G\n{\nCheckBox = A",
     {"6:1: error: the CheckBox block “A” is never closed: the file ends before its \"}\", so "
      "the field does not exist [unclosed-block] => }"}},
    {"ElementInItsHint",
     "Setup = S\n{\n}\nGroup = G\n{\nCheckBox = A\n{\nHint = a\nb\n",
     {"6:1: error: the CheckBox block “A” is never closed: the file ends before its \"}\", so "
      "the field does not exist [unclosed-block] => }"}},
    {"Group",
     "Setup = S\n{\n}\nGroup = G\n{\nLabelBox = x\n",
     {"4:1: error: the Group block “G” is never closed: the file ends before its \"}\" "
      "[unclosed-block] => }"}},
    {"SetupInItsLayout",
     "Setup = S\n{\nLayout:\necho\n",
     {"1:1: error: the Setup block is never closed: the file ends before its \"}\", so every "
      "line after Layout: is a layout line [unclosed-block] => }"}},
};
INSTANTIATE_TEST_SUITE_P(UnclosedBlocks, LintRule, ::testing::ValuesIn(kUnclosedBlocks), CaseName);

const Case kValues[] = {
    {"FlagsNeitherTrueNorFalse",
     "Setup = S\n{\n}\nGroup = G\n{\nRequireExe = ture\nCheckBox = A\n{\nBold = yes\n"
     "BatchCommand = 1\n}\n}\n",
     {"6:14: warning: RequireExe “ture” is neither true nor false: the program is not a stage "
      "[invalid-value] => true",
      "9:8: warning: Bold “yes” is neither true nor false: the caption is not bold "
      "[invalid-value]",
      "10:16: warning: BatchCommand “1” is neither true nor false: the switch is not a line of "
      "its own [invalid-value]"}},
    {"Numbers",
     WithTool("Spaces = two\nEditBox = E\n{\nWidth = wide\nRoundTo = 0.5\nMin = low\nMax = "
              "high\n}\nCheckBox = C\n{\nWidth = 0\n}\n"),
     {"9:10: warning: Spaces “two” is not a whole number: it adds no rows [invalid-value]",
      "12:9: warning: Width “wide” is not a whole number: the field is 1 column wide "
      "[invalid-value]",
      "13:11: warning: RoundTo “0.5” is not a whole number: numbers are rounded to whole numbers "
      "(RoundTo = 0) [invalid-value]",
      "14:7: warning: Min “low” is not a number: the lowest value is the smallest positive "
      "number, so negative entries become 0 [invalid-value]",
      "15:7: warning: Max “high” is not a number: the highest value is 1.7e38 [invalid-value]",
      "19:9: warning: Width “0” is below 1: the field is 1 column wide [invalid-value]"}},
    {"Types",
     WithTool("EditBox = E\n{\nType = integer\n}\nBrowseBox = B\n{\nType = folder\n}\n"),
     {"11:8: warning: unknown Type “integer” of an EditBox: it takes free text (Type = string); "
      "the types are string, int and float [invalid-value] => int",
      "15:8: warning: unknown Type “folder” of a BrowseBox: it chooses a file (Type = file); the "
      "types are file, path and name [invalid-value] => path"}},
    {"Colours",
     WithTool("ColorBox = A\n{\nColor = 255 0\n}\nColorBox = B\n{\nColor = 1  2 3\n}\n"),
     {"11:9: warning: Color “255 0” is not three numbers from 0 to 255 with one blank between "
      "them (blue, green, red): the colour becomes red 0, green 0, blue 0 [invalid-value]",
      "15:9: warning: Color “1  2 3” is not three numbers from 0 to 255 with one blank between "
      "them (blue, green, red): the colour becomes red 0, green 0, blue 1 [invalid-value]"}},
    {"LinkWithoutBar",
     "Setup = S\n{\nLink = example.org\n}\n",
     {"3:8: warning: a Link needs an address, \"|\" and a caption: without \"|\" it adds no entry "
      "to the Links menu [invalid-value]"}},
    {"ComboDefaultAndOptions",
     WithTool("ComboBox = A\n{\nOptions = Fast -1|Best,-9\nDefault = Medium\n}\nComboBox = "
              "B\n{\nOptions = Fast,-1|Best -9\nDefault = fst\n}\n"),
     {"11:11: warning: the option “Fast -1” has no comma between its name and its value: it "
      "becomes part of the option named “Fast -1|Best” [option-without-comma]",
      "12:11: warning: Default “Medium” is none of the options' names: the box starts with a "
      "text that puts nothing on the command line [default-not-option]",
      "16:19: warning: the option “Best -9” has no comma between its name and its value: it "
      "adds no option [option-without-comma]",
      "17:11: warning: Default “fst” is none of the options' names: the box starts with a text "
      "that puts nothing on the command line (did you mean “Fast”?) [default-not-option] => "
      "Fast"}},
    {"MinAboveMax",
     WithTool("EditBox = A\n{\nMin = 5\nMax = 2\n}\nEditBox = B\n{\nType = int\nMax = -5\n}\n"),
     {"11:7: warning: Min 5 is above Max 2: every number typed becomes 2 [min-above-max]",
      "17:7: warning: Max -5 is below the lowest value without Min, the smallest positive "
      "number: give a Min [min-above-max]"}},
};
INSTANTIATE_TEST_SUITE_P(Values, LintRule, ::testing::ValuesIn(kValues), CaseName);

const Case kComments[] = {
    {"LayoutLeftInsideAQuote",
     "Setup = S\n{\nLayout:\necho \"Manual: https://pandoc.org\" >> log\n}\n",
     {kCmd ? "4:21: warning: \"//\" starts a comment: the layout line loses “//pandoc.org\" >> "
             "log”; write the slashes as /\"^/\"/, which cmd.exe reads as \"//\" "
             "[comment-cuts-line] => echo \"Manual: https:/\"^/\"/pandoc.org\" >> log"
           : "4:21: error: \"//\" starts a comment: the layout line loses “//pandoc.org\" >> log” "
             "and ends inside a quote, so the shell fails on it; write the slashes as /\"\"/, "
             "which the shell reads as \"//\" [comment-cuts-line] => echo \"Manual: "
             "https:/\"\"/pandoc.org\" >> log"}},
    // cmd.exe has no single quotes, ends its quotes with the line, and drops a caret outside
    // quotes: its own advice.
    {"LayoutWordCut", "Setup = S\n{\nLayout:\necho 'see http://x.org'\necho see http://x.org\n}\n",
     kCmd ? std::vector<std::string>{"4:16: warning: \"//\" starts a comment: the layout line "
                                     "loses “//x.org'”; write the slashes as /^/, which cmd.exe "
                                     "reads as \"//\" [comment-cuts-line] => echo 'see "
                                     "http:/^/x.org'",
                                     "5:15: warning: \"//\" starts a comment: the layout line "
                                     "loses “//x.org”; write the slashes as /^/, which cmd.exe "
                                     "reads as \"//\" [comment-cuts-line] => echo see "
                                     "http:/^/x.org"}
          : std::vector<std::string>{"4:16: error: \"//\" starts a comment: the layout line loses "
                                     "“//x.org'” and ends "
                                     "inside a quote, so the shell fails on it; write the slashes "
                                     "as /''/, which the "
                                     "shell reads as \"//\" [comment-cuts-line] => echo 'see "
                                     "http:/''/x.org'",
                                     "5:15: warning: \"//\" starts a comment: the layout line "
                                     "loses “//x.org”; write "
                                     "the slashes as /\"\"/, which the shell reads as \"//\" "
                                     "[comment-cuts-line] => "
                                     "echo see http:/\"\"/x.org"}},
    {"LayoutWordCutInDoubleQuotes",
     "Setup = S\n{\nLayout:\necho \"see http://x.org\"\n}\n",
     {kCmd ? "4:16: warning: \"//\" starts a comment: the layout line loses “//x.org\"”; write "
             "the slashes as /\"^/\"/, which cmd.exe reads as \"//\" [comment-cuts-line] => echo "
             "\"see http:/\"^/\"/x.org\""
           : "4:16: error: \"//\" starts a comment: the layout line loses “//x.org\"” and ends "
             "inside a quote, so the shell fails on it; write the slashes as /\"\"/, which the "
             "shell reads as \"//\" [comment-cuts-line] => echo \"see http:/\"\"/x.org\""}},
    {"Values",
     WithTool("EditBox = A\n{\nParam = -o a//b\nDefault = see http://x.org\nHint = at "
              "ftp://y.org now\n}\n"),
     {kCmd ? "11:13: warning: \"//\" starts a comment: the value loses “//b”; write the slashes "
             "as /^/, which cmd.exe reads as \"//\" [comment-cuts-value] => -o a/^/b"
           : "11:13: warning: \"//\" starts a comment: the value loses “//b”; write the slashes "
             "as /\"\"/, which the shell reads as \"//\" [comment-cuts-value] => -o a/\"\"/b",
      "12:20: warning: \"//\" starts a comment: the value loses “//x.org”; write the address "
      "without its scheme [comment-cuts-value] => see x.org",
      "13:15: warning: \"//\" starts a comment: the hint loses “//y.org now”; write the address "
      "without its scheme [comment-cuts-value] => at y.org now"}},
    {"LinkWithScheme",
     "Setup = S\n{\nLink = https://pandoc.org|Pandoc\n}\n",
     {"3:8: warning: write the Link without its scheme “https://”: \"//\" starts a comment, and "
      "\"http://\" is put before the address [link-scheme] => pandoc.org|Pandoc"}},
};
INSTANTIATE_TEST_SUITE_P(Comments, LintRule, ::testing::ValuesIn(kComments), CaseName);

const std::string kTwoTools =
    "Setup = S\n{\nLayout:\n$ClassEXE=Tool $ClassParam=Tool\n$ClassEXE=Tool2\n}\n"
    "Group = Tool\n{\nRequireExe = true\nLabelBox = x\n}\n"
    "Group = Tool2\n{\nRequireExe = true\nLabelBox = x\n}\n";

const Case kReferences[] = {
    {"VariableTypos",
     WithTool("EditBox = A\n{\nParam = -o $Filename.$FileEx\n}\n",
              "cp $FilePth/x $BasPath $ClassEXE:Tool\n"),
     {"5:4: warning: “$FilePth” is no variable and stays in the text as written (did you mean "
      "“$FilePath”?) [variable-typo] => $FilePath",
      "5:15: warning: “$BasPath” is no variable and stays in the text as written (did you mean "
      "“$BasePath”?) [variable-typo] => $BasePath",
      "5:24: warning: “$ClassEXE” is no variable and stays in the text as written (did you mean "
      "“$ClassEXE=”?) [variable-typo] => $ClassEXE=",
      "12:22: warning: “$FileEx” is no variable and stays in the text as written (did you mean "
      "“$FileExt”?) [variable-typo] => $FileExt"}},
    {"NamesNoProgram",
     WithTool("LabelBox = x\n", "$ClassEXE=Nope\n$ClassParam=Tol\n"),
     {"5:1: error: “$ClassEXE=Nope” names no program: it stays in the script as written "
      "[unknown-program]",
      "6:1: error: “$ClassParam=Tol” names no program: it stays in the script as written (did "
      "you mean “Tool”?) [unknown-program] => $ClassParam=Tool"}},
    {"ExeOfAProgramThatIsNoStage",
     "Setup = S\n{\nLayout:\n\"$ClassEXE=Opts\"\n}\nGroup = Opts\n{\nLabelBox = x\n}\n",
     {"4:2: warning: “$ClassEXE=Opts” names the program “Opts”, which has no \"RequireExe = "
      "true\": it has no tool path and the text stays in the script as written [exe-not-stage] "
      "=> RequireExe = true"}},
    {"NameThatBeginsWithAnother",
     kTwoTools,
     {"5:1: warning: “$ClassEXE=Tool2” is read as the program “Tool” followed by “2”; write "
      "“$ClassEXE='Tool2'” to name “Tool2” [name-prefix] => $ClassEXE='Tool2'",
      "12:1: warning: the stage “Tool2” can be ticked but never runs: no layout line holds "
      "“$ClassEXE=Tool2” [stage-not-run] => $ClassEXE=Tool2"}},
    {"CommandLineInsideQuotes",
     WithTool("BrowseBox = In\n{\nParam = -i\n}\n", "echo \"$ClassParam=Tool\"\n"),
     {"5:7: warning: “$ClassParam=Tool” stands inside quotes, but the names in the command line "
      "are quoted for a place outside quotes; put it outside the quotes [param-in-quotes]"}},
    {"LentNamesInsideQuotes",
     // Single quotes are no quotes to cmd.exe; double ones are to both shells.
     WithTool("LabelBox = x\n",
              kCmd ? "echo \"$ClassParam=Tool\"\n" : "echo '$ClassParam=Tool'\n") +
         "Group = Other\n{\nCheckBox = Out\n{\nParam = -o $FilePath/$FileName.out\nGroups = "
         "Tool\n}\n}\n",
     {"5:7: warning: “$ClassParam=Tool” stands inside quotes, but the names in the command line "
      "are quoted for a place outside quotes; put it outside the quotes [param-in-quotes]"}},
    {"StageNoLineRuns",
     "Setup = S\n{\nLayout:\n$ClassParam=Pack\n}\nGroup = Pack\n{\nRequireExe = true\nLabelBox "
     "= x\n}\n",
     {"6:1: warning: the stage “Pack” can be ticked but never runs: no layout line holds "
      "“$ClassEXE=Pack” [stage-not-run] => $ClassEXE=Pack"}},
    {"GroupWithoutFields",
     WithTool("LabelBox = x\n") + "Group = Result\n{\nRequireExe = true\n}\n",
     {"11:1: warning: the Group block “Result” has no field lines: it makes no program, no tab "
      "and no stage; add a field line (a LabelBox will do) [empty-group] => LabelBox = Result"}},
    {"GroupWithoutFieldsThatTheLayoutNames",
     WithTool("LabelBox = x\n", "\"$ClassEXE=Result\"\n") +
         "Group = Result\n{\nName = Result\nRequireExe = true\n}\n",
     {"12:1: error: the Group block “Result” has no field lines, so it makes no program, yet "
      "layout line 5 names it and keeps the variable as written; add a field line (a LabelBox "
      "will do) [empty-group] => LabelBox = Result"}},
    {"DuplicateNames",
     WithTool("CheckBox = Debug\n{\n}\nEditBox = Debug\n{\n}\n") +
         "Group = tool\n{\nLabelBox = y\n}\n",
     {"12:1: warning: a second field of “Tool” captioned “Debug” (the first is on line 9): "
      "presets and reloads tell the two apart only by their order [duplicate-caption]",
      "16:1: warning: a second program named “tool” (the first is on line 6): the layout's "
      "variables, the tool path and presets all reach the first only [duplicate-program]"}},
    {"GroupsNamingNoProgram",
     WithTool("CheckBox = A\n{\nGroups = Tol, nobody\n}\n"),
     {"11:10: warning: Groups names “tol”, which is no program: the field lends nothing to it "
      "(did you mean “tool”?) [unknown-group] => tool",
      "11:10: warning: Groups names “nobody”, which is no program: the field lends nothing to "
      "it [unknown-group]"}},
    {"ValuesSwappedByKind",
     WithTool("BrowseBox = Source\n{\n}\nEditBox = Target\n{\n}\n"),
     {"12:1: note: the value of “Target” comes before that of “Source” (line 9) on the command "
      "line: fields reach it check boxes first, then edit, combo, browse and colour boxes, each "
      "kind in file order [field-order]"}},
};
INSTANTIATE_TEST_SUITE_P(References, LintRule, ::testing::ValuesIn(kReferences), CaseName);

// Near misses of every rule, which must pass in silence.
const Case kClean[] = {
    {"TrailingComments",
     WithTool("CheckBox = A // the first\n{\nParam = -v  // verbose\nHint = x // y\n}\n",
              "echo \"a\" // says a\n// a comment line\n"),
     {}},
    {"LinkWithoutScheme", "Setup = S\n{\nLink = pandoc.org|Pandoc\n}\n", {}},
    {"ShellAssignmentsInTheLayout",
     "Setup = S\n{\nLayout:\nname=$FileName\nFILTER=x\nlink=y\n}\n",
     {}},
    {"VariablesAndShellWords",
     WithTool("LabelBox = x\n",
              "cp $FileNames $filepath/$FILEEXT $HOME $1 ${tint:+x} $DateTime $Version $REDA\n"),
     {}},
    {"QuotedNameOfALongerProgram",
     "Setup = S\n{\nLayout:\n$ClassEXE=Tool $ClassParam=Tool\n$ClassEXE='Tool2'\n}\n"
     "Group = Tool\n{\nRequireExe = true\nLabelBox = x\n}\n"
     "Group = Tool2\n{\nRequireExe = true\nLabelBox = x\n}\n",
     {}},
    {"CommandLineWithoutNamesInQuotes",
     WithTool("ColorBox = Tint\n{\nColor = 220 130 40\n}\nCheckBox = V\n{\nParam = -v\n}\n",
              "tint=$(echo \"$ClassParam=Tool\" | awk '{ print $1 }')\n"),
     {}},
    {"ValuesTheReaderTakes",
     WithTool(
         "EditBox = A\n{\nType = INT\nMin = -360\nMax = 360\nRoundTo = -2\nWidth = 2\n}\n"
         "ComboBox = B\n{\nOptions = Fast,-1|Best,-9|\nDefault = fast\n}\nColorBox = "
         "C\n{\nColor = 0 128 255\nBold = False\nParam = -c\n}\nBrowseBox = D\n{\nType = Path\n}\n"
         "CheckBox = E\n{\nBatchCommand = TRUE\nParam = a\nParam = b\nGroups = tool,\n}\n"
         "Spaces = 2\n"),
     {}},
    {"GroupKeysBeforeFields",
     "Setup = S\n{\nAuthor = a\nProgram = p\nFilter = x|*\n}\nGroup = G\n{\nName = "
     "Gee\nRequireExe = false\nExeFilter = x|*\nLabelBox = x\n}\n",
     {}},
    {"PositionalValuesInKindOrder",
     WithTool("EditBox = Source\n{\n}\nBrowseBox = Target\n{\n}\nCheckBox = V\n{\nParam = "
              "-v\n}\n"),
     {}},
    {"Empty", "", {}},
};
INSTANTIATE_TEST_SUITE_P(Clean, LintRule, ::testing::ValuesIn(kClean), CaseName);

}  // namespace
}  // namespace kestrune

namespace kestrune {
namespace {

// Names a megabyte long named over and over would take quadratic time to follow; the lint
// stops following them, says so, and claims nothing about the stages.
TEST(LintLimits, StopsFollowingNamesThatWouldTakeTooLong) {
    std::string layout;
    for (int i = 0; i < 200; ++i) {
        layout += "$ClassEXE=y ";
    }
    layout += std::string(700000, 'z');
    const std::string spec = "Setup = S\n{\nLayout:\n" + layout +
                             "\n}\nGroup = " + std::string(600000, 'y') +
                             "\n{\nRequireExe = true\nLabelBox = x\n}\n";
    std::vector<std::string> rules;
    for (const LintFinding& finding : LintSpecification(spec)) {
        if (rules.empty() || rules.back() != finding.rule) {
            rules.push_back(finding.rule);
        }
    }
    EXPECT_EQ(rules,
              (std::vector<std::string>{"unknown-program", "too-complex", "unknown-program"}));
}

}  // namespace
}  // namespace kestrune
