// The about box's texts, and registering preset files with the desktop: the freedesktop files
// and the Windows class keys.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "AppHarness.h"
#include "app/Association.h"

namespace kestrune {
namespace {

using testing::AppHarness;
using testing::RecordedMessage;

TEST(AboutBox, ShowsTheVersionAndTheLoadedSpecification) {
    AppHarness h;
    h.Start();
    const TfrmAbout& about = h.program.frmAbout;
    EXPECT_EQ(about.lblVersion.text, "Version: 2.0.3.1");
    struct Expected {
        const char* menuEntry;
        const char* name;
        const char* program;
        const char* author;
    };
    for (const Expected& e : {Expected{"", "Name: ", "For: ", "By: "},
                              Expected{"Chain", "Name: Chain", "For: Engine", "By: Tests"},
                              Expected{"Other", "Name: Other", "For: Unknowen", "By: Unknowen"}}) {
        if (*e.menuEntry != '\0') {
            ASSERT_EQ(h.ChooseSpecification(e.menuEntry), EventResult::Done);
        }
        ASSERT_EQ(h.program.Click("cmdAboutKestrune"), EventResult::Done);
        EXPECT_TRUE(about.IsOpen);
        EXPECT_EQ(about.lblSpecName.text, e.name);
        EXPECT_EQ(about.lblSpecProgram.text, e.program);
        EXPECT_EQ(about.lblSpecAuthor.text, e.author);
        EXPECT_EQ(h.program.Click("cmdSetup"), EventResult::Blocked) << "the box is modal";
        ASSERT_EQ(h.program.Click("cmdOK"), EventResult::Done);
        EXPECT_FALSE(about.IsOpen);
    }
}

// ---- Freedesktop files

[[maybe_unused]] std::string MimeText() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"application/x-kestrune-preset\">\n"
           "    <comment>Kestrune Preset File</comment>\n"
           "    <glob pattern=\"*.zrp\"/>\n"
           "  </mime-type>\n"
           "</mime-info>\n";
}

std::string DesktopText(const std::string& exec, const std::string& icon) {
    return "[Desktop Entry]\nType=Application\nName=Kestrune\nComment=Kestrune Preset File\n"
           "Exec=" +
           exec + " %f\nIcon=" + icon +
           "\nMimeType=application/x-kestrune-preset;\nTerminal=false\n"
           "Categories=Development;\n";
}

#ifndef _WIN32
TEST(Association, ZrpFilesButtonWritesTheDesktopFilesEachTime) {
    AppHarness h;
    h.Start();
    ASSERT_EQ(h.program.Click("cmdSetup"), EventResult::Done);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(h.program.Click("cmdZRPFiles"), EventResult::Done);
        EXPECT_EQ(h.dir.Read("data/mime/packages/kestrune-preset.xml"), MimeText());
        EXPECT_EQ(h.dir.Read("data/applications/kestrune.desktop"),
                  DesktopText("\"" + h.dir.path() + "kestrune\"", h.dir / "kestrune.svg"));
    }
    EXPECT_EQ(h.fake.messages, (std::vector<RecordedMessage>(
                                   2, RecordedMessage{"Information", "Association complete."})));

    const std::string entry = h.dir / "data/applications/kestrune.desktop";
    std::filesystem::remove(entry);
    std::filesystem::create_directory(entry);
    ASSERT_EQ(h.program.Click("cmdZRPFiles"), EventResult::Done);
    ASSERT_EQ(h.fake.messages.size(), 3u) << "no confirmation after a failure";
    EXPECT_EQ(h.fake.messages[2].title, "Error");
    EXPECT_EQ(h.fake.messages[2].text.rfind("Failed to write " + entry + "\r\n", 0), 0u);
}
#endif

TEST(Association, ExecLineQuotesTheProgramForTheLauncher) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/kestrune", R"("/opt/kestrune")"},
        {"/home/a b/kestrune", R"("/home/a b/kestrune")"},
        {R"(/x/100%/$k"`\n)", R"("/x/100%%/\\$k\\"\\`\\\\n")"},
    };
    for (const auto& [exe, exec] : cases) {
        EXPECT_EQ(DesktopEntryText(exe, "/i.svg"), DesktopText(exec, "/i.svg")) << exe;
    }
}

struct FailureCase {
    const char* name;
    // A path under the data folder taken by a file, or by a folder when it ends in "/", so the
    // association cannot write there; none leaves the data folder unknown.
    const char* blocker;
    const char* message;  // the start of the message, "@" standing for the data folder
    bool mimeWritten;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class AssociationFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(AssociationFailure, NamesWhatCouldNotBeWrittenAndStops) {
    const FailureCase& c = GetParam();
    testing::TempDir dir;
    testing::FakePlatform fake;
    const std::string data = dir / "data";
    if (c.blocker != nullptr) {
        const std::string blocker = data + "/" + c.blocker;
        if (blocker.back() == '/') {
            std::filesystem::create_directories(blocker);
        } else {
            dir.Write(blocker.substr(dir.path().size()), "");
        }
        fake.userDataFolder = data;
    }
    std::string expected = c.message;
    if (const std::size_t at = expected.find('@'); at != std::string::npos) {
        expected.replace(at, 1, data);
    }
    const Result<void> registered = RegisterPresetDesktopEntry(fake, "/k", "/k.svg");
    ASSERT_FALSE(registered.Ok());
    const std::string& failure = registered.Error();
    EXPECT_EQ(failure.substr(0, expected.size()), expected) << failure;
    EXPECT_EQ(std::filesystem::is_regular_file(data + "/mime/packages/kestrune-preset.xml"),
              c.mimeWritten);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AssociationFailure,
    ::testing::Values(
        FailureCase{"NoDataFolder", nullptr, "Failed to find the user's data folder", false},
        FailureCase{"FolderTakenByAFile", "applications", "Failed to create folder @/applications",
                    true},
        FailureCase{"FileTakenByAFolder", "mime/packages/kestrune-preset.xml/",
                    "Failed to write @/mime/packages/kestrune-preset.xml\r\n", false}),
    [](const auto& test) { return std::string(test.param.name); });

// ---- Windows class keys

constexpr const char* kClass = "Kestrune_Preset_FileRef";

TEST(ClassKeys, CreatesSixKeysThenWritesFourDefaultValues) {
    testing::FakePlatform fake;
    const std::string cls = kClass;
    const std::map<std::string, std::string> expected = {
        {".zrp", cls},
        {cls, "Kestrune Preset File"},
        {cls + "\\DefaultIcon", "C:\\K\\kestrune.exe"},
        {cls + "\\Shell", ""},
        {cls + "\\Shell\\Open", ""},
        {cls + "\\Shell\\Open\\Command", "\"C:\\K\\kestrune.exe\", \"%1\""}};
    for (int i = 0; i < 2; ++i) {
        const Result<void> registered = RegisterPresetClassKeys(fake, "C:\\K\\kestrune.exe");
        EXPECT_TRUE(registered.Ok()) << registered.Error();
        EXPECT_EQ(fake.registry, expected);
    }
}

TEST(ClassKeys, KeyThatCannotBeCreatedStopsAfterTheKeysBeforeIt) {
    const std::string cls = kClass;
    const std::vector<std::string> order = {".zrp",
                                            cls,
                                            cls + "\\DefaultIcon",
                                            cls + "\\Shell",
                                            cls + "\\Shell\\Open",
                                            cls + "\\Shell\\Open\\Command"};
    for (std::size_t failing = 0; failing < order.size(); ++failing) {
        testing::FakePlatform fake;
        fake.failingKey = order[failing];
        EXPECT_EQ(RegisterPresetClassKeys(fake, "C:\\k.exe").Error(),
                  "Failed to create key " + order[failing]);
        std::map<std::string, std::string> created;
        for (std::size_t i = 0; i < failing; ++i) {
            created[order[i]] = "";  // no value is written before every key exists
        }
        EXPECT_EQ(fake.registry, created) << order[failing];
    }
}

}  // namespace
}  // namespace kestrune
