// The captions' language the user chose: kept in the settings file only when it is not
// "System", read back in any letter case, and chosen in the options dialog, where Cancel takes
// the choice back.

#include <gtest/gtest.h>

#include <string>

#include "AppHarness.h"

namespace kestrune {
namespace {

using testing::AppHarness;
using testing::RecordedMessage;

constexpr const char* kHead =
    "[Kestrune]\r\nRecentFiles = 4\r\nOpacity = 255\r\nViewLogAfterCompile = False"
    "\r\nCloseProgramOnRun = False\r\nShowDetails = True\r\n";
constexpr const char* kTail =
    "\r\n[Position]\r\nTop = 90\r\nLeft = 282\r\n\r\n[Recent Presets]\r\n\r\n[Recent Files]"
    "\r\n\r\n[Presets]\r\n";

struct WriteCase {
    const char* name;
    LanguageChoice choice;
    std::string line;
};

TEST(LanguageSetting, WrittenOnlyWhenChosen) {
    const WriteCase cases[] = {
        {"System", LanguageChoice::System, ""},
        {"Chinese", LanguageChoice::Chinese, "Language = Chinese\r\n"},
        {"English", LanguageChoice::English, "Language = English\r\n"},
    };
    for (const WriteCase& c : cases) {
        AppHarness h;
        h.Start();
        h.state().Language = c.choice;
        ASSERT_EQ(h.program.Click("cmdExit"), EventResult::Done);
        std::string expected = kHead;
        expected.append(c.line).append(kTail);
        EXPECT_EQ(h.dir.Read("Config/config.ini"), expected) << c.name;
    }
}

struct ReadCase {
    const char* ini;
    LanguageChoice choice;
};

TEST(LanguageSetting, ReadInAnyCaseAndUnknownValuesMeanSystem) {
    const ReadCase cases[] = {
        {"Language = Chinese\r\n", LanguageChoice::Chinese},
        {"Language = English\r\n", LanguageChoice::English},
        {"  LANGUAGE=english  \r\n", LanguageChoice::English},
        {"language = chinese\n", LanguageChoice::Chinese},
        {"Language = Klingon\r\n", LanguageChoice::System},
        {"Language = \r\n", LanguageChoice::System},
        {"Language = English\r\nLanguage = System\r\n", LanguageChoice::System},
        {"[Kestrune]\r\nOpacity = 200\r\n", LanguageChoice::System},
    };
    for (const ReadCase& c : cases) {
        AppHarness h;
        h.dir.Write("Config/config.ini", c.ini);
        h.Start();
        EXPECT_EQ(h.state().Language, c.choice) << c.ini;
        EXPECT_EQ(h.fake.messages, std::vector<RecordedMessage>{}) << c.ini;
    }
}

TEST(LanguageSetting, AFileWithoutTheKeyIsWrittenBackByteForByte) {
    AppHarness h;
    std::string file = kHead;
    file.append(kTail);
    h.dir.Write("Config/config.ini", file);
    h.Start();
    ASSERT_EQ(h.program.Click("cmdExit"), EventResult::Done);
    EXPECT_EQ(h.dir.Read("Config/config.ini"), file);
}

TEST(LanguageSetting, OptionsChoiceAppliesAtOnceAndCancelTakesItBack) {
    AppHarness h;
    h.Start();
    ASSERT_EQ(h.program.Click("cmdSetup"), EventResult::Done);
    ASSERT_EQ(h.program.SetValue("cboDisplayLanguage", 2), EventResult::Done);
    EXPECT_EQ(h.state().Language, LanguageChoice::English);
    // Out of the list: nothing changes.
    ASSERT_EQ(h.program.SetValue("cboDisplayLanguage", 3), EventResult::Done);
    ASSERT_EQ(h.program.SetValue("cboDisplayLanguage", -1), EventResult::Done);
    EXPECT_EQ(h.state().Language, LanguageChoice::English);
    ASSERT_EQ(h.program.Click("cmdCancel"), EventResult::Done);
    EXPECT_EQ(h.state().Language, LanguageChoice::System);

    ASSERT_EQ(h.program.Click("cmdSetup"), EventResult::Done);
    ASSERT_EQ(h.program.SetValue("cboDisplayLanguage", 1), EventResult::Done);
    ASSERT_EQ(h.program.Click("cmdOK"), EventResult::Done);
    EXPECT_EQ(h.state().Language, LanguageChoice::Chinese);
    // The close box is a Cancel too.
    ASSERT_EQ(h.program.Click("cmdSetup"), EventResult::Done);
    ASSERT_EQ(h.program.SetValue("cboDisplayLanguage", 0), EventResult::Done);
    ASSERT_EQ(h.program.CloseBox(), EventResult::Done);
    EXPECT_EQ(h.state().Language, LanguageChoice::Chinese);
    // Closed, the dialog's list takes no choice.
    EXPECT_NE(h.program.SetValue("cboDisplayLanguage", 2), EventResult::Done);
    EXPECT_EQ(h.state().Language, LanguageChoice::Chinese);
}

}  // namespace
}  // namespace kestrune
