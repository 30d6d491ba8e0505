// The lint against the specification reader: the same syntax errors at the same lines, and the
// shipped samples clean.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SpecTestSupport.h"
#include "lint/Lint.h"

namespace kestrune {
namespace {

using testing::SpecHarness;

// The reader's messages as the lint words them: the text, CR LF and "Line: N".
std::vector<std::string> LintSyntaxErrors(std::string_view bytes) {
    std::vector<std::string> texts;
    for (const LintFinding& finding : LintSpecification(bytes)) {
        if (finding.rule == "syntax-error") {
            EXPECT_EQ(finding.severity, LintSeverity::Error);
            std::string text = finding.message;
            text.append("\r\nLine: ").append(std::to_string(finding.line));
            texts.push_back(text);
        }
    }
    return texts;
}

class LintAgreesWithTheReader : public ::testing::TestWithParam<const char*> {};

TEST_P(LintAgreesWithTheReader, OnEverySyntaxError) {
    SpecHarness h;
    h.Load(GetParam());
    EXPECT_EQ(LintSyntaxErrors(GetParam()), h.SyntaxErrors()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Files, LintAgreesWithTheReader,
    ::testing::Values("", "\n\n// only a comment\n", "\xEF\xBB\xBFSetup = S\n{\n}\n",
                      "setup S\n{\n}\n", "Name = S\n{\n}\n", "Setup = S\n\n{\n}\n",
                      "Setup = S\n{ x\n}\n", "Setup = S", "Setup = S\n{\nauthor me\n}\n",
                      "Setup = S\n{\nLayout:\necho {\n{\n}\n", "Setup = S\n{\n}\nGroup G\n{\n}\n",
                      "Setup = S\n{\n}\nName = G\n{\n}\n",
                      "Setup = S\n{\n}\nGroup = G\n{\nLabelBox = a\n{\n}\n",
                      "Setup = S\n{\n}\nGroup = G\n{\nCheckBox = a\n\n{\n}\n}\n",
                      "Setup = S\n{\n}\nGroup = G\n{\nCheckBox = a\n{\nParam -v\n}\n}\n",
                      "Setup = S\n{\n}\nGroup = G\n{\nCheckBox = a\n{\nHint = x\ny = z\n{\n}\n}\n",
                      "Setup = S\n{\n}\nGroup = G\n{\nCheckBox = a\n{\nCheckBox = b\n{\n}\n}\n",
                      "Setup = S\n{\n}\nGroup = G\n{\nGroup = H\n{\n}\n",
                      "Setup = S\r\n{\r\n}\r\nGroup = G\r\n{\r\nEditBx = a\r\n{\r\n}\r\n}\r\n",
                      "Setup = S\r{\n}\nGroup = G // x\n{ // y\n}\n}\n",
                      "Setup = S\n{\n}\nGroup = G\n{\n}\n}\n", "Setup = S\n{\n}\n\x1AGroup G\n",
                      "Setup = S\n{\n}\nGroup = G\n{\nComboBox = a\n{\n}\n}\nGroup = H\n{\nx\n"));

TEST(LintSamples, ShippedSpecificationsAreClean) {
    for (const char* name : {"HelloC.zrs", "ImageTools.zrs"}) {
        std::string path = KESTRUNE_SAMPLES_DIR;
        path.append("/SpecFiles/").append(name);
        EXPECT_TRUE(LintSpecificationFile(path).empty()) << name;
    }
}

// The reference's worked example is the three specification blocks of its example section;
// put together they must be a specification that lints clean.
TEST(LintSamples, TheReferencesWorkedExampleIsClean) {
    std::string path = KESTRUNE_DOCS_DIR;
    path.append("/specification.md");
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    const std::string reference = text.str();
    std::size_t at = reference.find("## 9. A worked example");
    ASSERT_NE(at, std::string::npos);
    std::string example;
    int blocks = 0;
    for (; blocks < 3; ++blocks) {
        at = reference.find("\n```\n", at);
        ASSERT_NE(at, std::string::npos);
        const std::size_t end = reference.find("\n```\n", at + 5);
        ASSERT_NE(end, std::string::npos);
        example.append(reference, at + 5, end - at - 4);
        at = end + 5;
    }
    EXPECT_NE(example.find("Group = Gzip"), std::string::npos);
    EXPECT_TRUE(LintSpecification(example).empty()) << example;
}

TEST(LintFile, UnreadableFilesAreOneError) {
    SpecHarness h;
    const std::string folder = h.dir.path() + "SpecFiles";
    h.dir.Write("SpecFiles/x.zrs", "Setup = S\n{\n}\n");
    const std::vector<LintFinding> missing = LintSpecificationFile(h.dir.path() + "none.zrs");
    ASSERT_EQ(missing.size(), 1u);
    std::string expected = "none.zrs:1:1: error: ";
    expected.append(h.dir.path()).append("none.zrs not found. [unreadable-file]");
    EXPECT_EQ(FormatFinding("none.zrs", missing[0]), expected);
    const std::vector<LintFinding> folderFindings = LintSpecificationFile(folder);
    ASSERT_EQ(folderFindings.size(), 1u);
    EXPECT_EQ(folderFindings[0].rule, "unreadable-file");
    EXPECT_TRUE(FailsLint(folderFindings));
}

}  // namespace
}  // namespace kestrune
