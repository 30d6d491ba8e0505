#include "LanguageChoice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

namespace reda {
namespace {

struct ChoiceCase {
    const char* bytes;
    LanguageChoice expected;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) {
    *out << testing::PrintToString(std::string(c.bytes));
}

class ParseChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ParseChoice, ReadsTheLanguageKey) {
    EXPECT_EQ(parseLanguageChoice(GetParam().bytes), GetParam().expected) << GetParam().bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseChoice,
    testing::Values(
        ChoiceCase{"", LanguageChoice::System},
        ChoiceCase{"[Settings]\r\nOpacity = 255\r\n", LanguageChoice::System},
        ChoiceCase{"[Settings]\r\nLanguage = Chinese\r\n", LanguageChoice::Chinese},
        ChoiceCase{"[Settings]\nLanguage = English\n", LanguageChoice::English},
        ChoiceCase{"  LANGUAGE=cHiNeSe  \n", LanguageChoice::Chinese},
        ChoiceCase{"language = ENGLISH", LanguageChoice::English},
        ChoiceCase{"Language = Klingon\n", LanguageChoice::System},
        ChoiceCase{"Language =\n", LanguageChoice::System},
        // A later line wins, as in Kestrune.
        ChoiceCase{"Language = Chinese\nLanguage = English\n", LanguageChoice::English},
        ChoiceCase{"Languages = Chinese\nMyLanguage = Chinese\n", LanguageChoice::System},
        ChoiceCase{"Language = Chinese\x1aLanguage = English\n", LanguageChoice::Chinese}));

struct ResolveCase {
    LanguageChoice choice;
    std::vector<std::string> languages;
    WindowLanguage expected;
};

void PrintTo(const ResolveCase& c, std::ostream* out) {
    *out << static_cast<int>(c.choice) << " " << testing::PrintToString(c.languages);
}

class Resolve : public testing::TestWithParam<ResolveCase> {};

TEST_P(Resolve, ChoiceFirstThenTheDesktop) {
    EXPECT_EQ(resolveLanguage(GetParam().choice, GetParam().languages), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Resolve,
    testing::Values(
        ResolveCase{LanguageChoice::System, {"zh"}, WindowLanguage::Chinese},
        ResolveCase{LanguageChoice::System, {"zh-CN", "en-US"}, WindowLanguage::Chinese},
        ResolveCase{LanguageChoice::System, {"zh_TW"}, WindowLanguage::Chinese},
        ResolveCase{LanguageChoice::System, {"ZH-Hans-CN"}, WindowLanguage::Chinese},
        ResolveCase{LanguageChoice::System, {"en-GB", "zh-CN"}, WindowLanguage::English},
        ResolveCase{LanguageChoice::System, {"de-DE"}, WindowLanguage::English},
        ResolveCase{LanguageChoice::System, {"zhx"}, WindowLanguage::English},
        ResolveCase{LanguageChoice::System, {}, WindowLanguage::English},
        ResolveCase{LanguageChoice::Chinese, {"en-US"}, WindowLanguage::Chinese},
        ResolveCase{LanguageChoice::English, {"zh-CN"}, WindowLanguage::English}));

TEST(ReadLanguageChoice, AMissingFileIsSystem) {
    EXPECT_EQ(readLanguageChoice(std::filesystem::temp_directory_path() / "no-such-reda-dir" /
                                 "config.ini"),
              LanguageChoice::System);
}

TEST(ReadLanguageChoice, ReadsTheFile) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "reda-language-choice-test.ini";
    {
        std::ofstream out(file, std::ios::binary);
        out << "[Settings]\r\nRecentFiles = 4\r\nLanguage = Chinese\r\n";
    }
    EXPECT_EQ(readLanguageChoice(file), LanguageChoice::Chinese);
    std::filesystem::remove(file);
    // A folder where the file should be is no settings file.
    EXPECT_EQ(readLanguageChoice(std::filesystem::temp_directory_path()), LanguageChoice::System);
}

}  // namespace
}  // namespace reda
