// The windows' declared controls hold together, and the event gate answers every kind of event
// with the same rules.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "AppHarness.h"

namespace kestrune {
namespace {

using K = ControlKind;
using testing::AppHarness;

bool IsContainer(const ControlRow& row) {
    return row.IsMenu() || row.kind == K::ToolBar || row.kind == K::Tabs || row.kind == K::Page ||
           row.kind == K::Group || row.kind == K::ToolButton;
}

class DeclaredControls : public ::testing::TestWithParam<WindowId> {};

TEST_P(DeclaredControls, EveryRowFitsItsWindow) {
    const ControlTable table = Kestrune::Table(GetParam());
    ASSERT_FALSE(table.empty());
    std::set<std::string_view> names;
    for (const ControlRow& row : table) {
        SCOPED_TRACE(std::string(row.name.empty() ? "(separator)" : row.name));
        if (!row.name.empty()) {
            EXPECT_TRUE(names.insert(row.name).second) << "declared twice";
        } else {
            EXPECT_EQ(row.kind, K::Separator) << "only separators go without a name";
        }
        if (!row.parent.empty()) {
            const ControlRow* parent = FindRow(table, row.parent);
            ASSERT_NE(parent, nullptr) << "parent " << row.parent << " is not declared";
            EXPECT_TRUE(IsContainer(*parent)) << row.parent << " cannot hold controls";
            EXPECT_LT(parent, &row) << "a parent is declared before what it holds";
        }
        // Only bars, separators and pop-up menus go without a state of their own.
        const bool stateless = row.kind == K::MenuBar || row.kind == K::ToolBar ||
                               row.kind == K::Separator || row.kind == K::PopupMenu ||
                               row.kind == K::TrayMenu;
        EXPECT_EQ(row.state == nullptr, stateless);
        if (row.kind == K::MenuItem || row.kind == K::CheckMenuItem) {
            ASSERT_FALSE(row.parent.empty());
            EXPECT_TRUE(FindRow(table, row.parent)->IsMenu()) << "an entry sits in a menu";
        }
        // What takes an event has a state the gate can look at.
        if (row.click != nullptr || row.choose != nullptr || row.set != nullptr ||
            row.select != nullptr) {
            EXPECT_NE(row.state, nullptr);
        }
        EXPECT_EQ(row.choose != nullptr, row.menu != nullptr) << "a built menu has its entries";
        EXPECT_EQ(row.IsBuiltMenu(), row.menu != nullptr);
        if (row.set != nullptr) {
            EXPECT_NE(row.value, nullptr) << "a position that is set can be read";
        }
        EXPECT_EQ(row.select != nullptr, row.rows != nullptr && row.selected != nullptr);
        if (row.accessibleName.find("{}") != std::string_view::npos) {
            const ControlRow* label = FindRow(table, row.labelledBy);
            ASSERT_NE(label, nullptr) << "named after a label that is not declared";
            EXPECT_EQ(label->kind, K::Label);
        }
        if (row.kind == K::PopupMenu) {
            EXPECT_NE(FindRow(table, row.anchor), nullptr) << "opens over a declared control";
        }
        if (row.kind == K::ToolButton || row.kind == K::CheckToolButton) {
            EXPECT_NE(row.picture.find('|'), std::string_view::npos) << "theme|file";
            EXPECT_FALSE(row.hint.empty() && row.accessibleName.empty())
                << "a picture needs a name for a screen reader";
        }
        if (row.kind == K::Slider) {
            EXPECT_LT(row.low, row.high);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, DeclaredControls,
                         ::testing::Values(WindowId::Main, WindowId::Options, WindowId::About),
                         [](const auto& test) {
                             switch (test.param) {
                                 case WindowId::Main:
                                     return std::string("Main");
                                 case WindowId::Options:
                                     return std::string("Options");
                                 case WindowId::About:
                                     return std::string("About");
                             }
                             return std::string();
                         });

ControlWindow& WindowOf(Kestrune& program, WindowId window) {
    switch (window) {
        case WindowId::Options:
            return program.frmOptions;
        case WindowId::About:
            return program.frmAbout;
        case WindowId::Main:
            break;
    }
    return program.frmMain;
}

std::size_t WindowSize(WindowId window) {
    switch (window) {
        case WindowId::Options:
            return sizeof(TfrmOptions);
        case WindowId::About:
            return sizeof(TfrmAbout);
        case WindowId::Main:
            break;
    }
    return sizeof(TfrmMain);
}

TEST_P(DeclaredControls, StatesLieInTheirOwnWindowAlone) {
    AppHarness h;
    ControlWindow& own = WindowOf(h.program, GetParam());
    const auto* first = reinterpret_cast<const unsigned char*>(&own);
    const auto* end = first + WindowSize(GetParam());
    std::set<const ControlState*> seen;
    for (const ControlRow& row : Kestrune::Table(GetParam())) {
        if (row.state == nullptr) {
            continue;
        }
        SCOPED_TRACE(std::string(row.name));
        const ControlState* state = row.state(own);
        ASSERT_NE(state, nullptr);
        const auto* at = reinterpret_cast<const unsigned char*>(state);
        EXPECT_TRUE(at >= first && at < end) << "outside its window";
        EXPECT_TRUE(seen.insert(state).second) << "two rows share one member";
        if (row.menu != nullptr) {
            EXPECT_EQ(static_cast<const ControlState*>(row.menu(own)), state);
        }
        for (WindowId other : {WindowId::Main, WindowId::Options, WindowId::About}) {
            if (other != GetParam()) {
                EXPECT_EQ(row.state(WindowOf(h.program, other)), nullptr) << "another window";
                if (row.menu != nullptr) {
                    EXPECT_EQ(row.menu(WindowOf(h.program, other)), nullptr);
                }
            }
        }
    }
}

TEST(DeclaredControls, NamesAreTheirMembers) {
    AppHarness h;
    Kestrune& k = h.program;
    const struct {
        WindowId window;
        const char* name;
        const ControlState* member;
    } cases[] = {
        {WindowId::Main, "cmdNewPreset", &k.frmMain.cmdNewPreset},
        {WindowId::Main, "cmdRecentPresets", &k.frmMain.cmdRecentPresets},
        {WindowId::Main, "cmdShowDetails", &k.frmMain.cmdShowDetails},
        {WindowId::Main, "cmdRecentFiles", &k.frmMain.cmdRecentFiles},
        {WindowId::Options, "sldTrancparency", &k.frmOptions.sldTrancparency},
        {WindowId::Options, "tabPaths", &k.frmOptions.tabPaths},
        {WindowId::Options, "lstPresets", &k.frmOptions.lstPresets},
        {WindowId::About, "lblProgram", &k.frmAbout.lblProgram},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ControlRow* row = FindRow(Kestrune::Table(c.window), c.name);
        ASSERT_NE(row, nullptr);
        ASSERT_NE(row->state, nullptr);
        EXPECT_EQ(row->state(WindowOf(k, c.window)), c.member);
    }
}

TEST(DeclaredControls, PagesCountWithinTheirTabs) {
    const ControlTable table = Kestrune::Table(WindowId::Options);
    const struct {
        const char* page;
        int index;
    } cases[] = {{"tabGeneral", 0}, {"tabPaths", 1}, {"tabPresets", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        const ControlRow* page = FindRow(table, c.page);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(PageIndex(table, *page), c.index);
        EXPECT_EQ(PageAt(table, "tabMain", c.index), page);
    }
    EXPECT_EQ(PageAt(table, "tabMain", 3), nullptr);
    EXPECT_EQ(PageAt(table, "tabMain", -1), nullptr);
    EXPECT_EQ(PageAt(table, "tabGeneral", 0), nullptr) << "a page holds no pages";
}

TEST(DeclaredControls, FirstStateComesFromTheRows) {
    AppHarness h;
    // Every state a row points at is this window's, with the row's caption, place and flags.
    for (const PlacedRow& placed : h.program.Layout(WindowId::Options)) {
        if (placed.state == nullptr) {
            continue;
        }
        SCOPED_TRACE(std::string(placed.row->name));
        EXPECT_EQ(placed.state->text, placed.row->caption);
        EXPECT_EQ(placed.state->bounds, placed.row->bounds);
        EXPECT_EQ(placed.state->enabled, (placed.row->flags & kDisabled) == 0);
    }
    EXPECT_EQ(h.main().cmdRecentFiles.visible, false);
    EXPECT_EQ(h.main().cmdRecentFiles.enabled, false);
    EXPECT_EQ(h.main().cmdShowDetails.checked, true);
    EXPECT_EQ(h.program.frmAbout.lblProgram.bold, true);
    EXPECT_EQ(h.program.frmOptions.sldTrancparency.hint, "Alpha = 255");
}

TEST(DeclaredControls, GroupsFollowTheSpecificationAndTheInputFile) {
    AppHarness h;
    h.Start();
    const auto enabledOf = [&h](std::uint8_t group) {
        std::vector<std::string> names;
        for (const PlacedRow& placed : h.program.Layout(WindowId::Main)) {
            if ((placed.row->flags & group) != 0 && placed.state->enabled) {
                names.emplace_back(placed.row->name);
            }
        }
        return names;
    };
    EXPECT_EQ(enabledOf(kSpecificationGroup), std::vector<std::string>{});
    EXPECT_EQ(enabledOf(kRunGroup), std::vector<std::string>{"cmdToolRun"});
    ASSERT_EQ(h.ChooseSpecification("Chain"), EventResult::Done);
    EXPECT_EQ(enabledOf(kSpecificationGroup),
              (std::vector<std::string>{"cmdNewPreset", "cmdImportPreset", "cmdReloadSpecification",
                                        "cmdSavePresetAs", "cmdOpenFile", "cmdRecentFiles",
                                        "cmdClearEmptyFields", "cmdToolNewPreset",
                                        "cmdToolSavePreset", "cmdBrowse"}));
    EXPECT_EQ(enabledOf(kRunGroup), std::vector<std::string>{});
    h.fake.fileAnswers.push_back(h.input);
    ASSERT_EQ(h.program.Click("cmdBrowse"), EventResult::Done);
    EXPECT_EQ(enabledOf(kRunGroup),
              (std::vector<std::string>{"cmdRunBatchFile", "cmdSaveBatchAs", "cmdTrayCompile",
                                        "cmdTrayRun", "cmdToolRun", "cmdCompile"}));
}

// ---- The gate

struct GateCase {
    const char* name;
    // Brings the program where the event happens; false when that setup failed.
    bool (*setup)(AppHarness&);
    EventResult (*event)(AppHarness&);
    EventResult expected;
    // What the event changed, or that it changed nothing; empty: not looked at.
    std::string (*effect)(AppHarness&);
    const char* expectedEffect;
};

bool Started(AppHarness& h) {
    h.Start();
    return true;
}

bool WithChain(AppHarness& h) {
    h.Start();
    return h.ChooseSpecification("Chain") == EventResult::Done;
}

bool OptionsOpen(AppHarness& h) {
    return WithChain(h) && h.program.Click("cmdSetup") == EventResult::Done;
}

bool InTray(AppHarness& h) {
    h.fake.hasNotificationArea = true;
    h.Start();
    return h.program.Click("cmdSendToTray") == EventResult::Done && h.main().InTray;
}

bool Closed(AppHarness& h) {
    h.Start();
    return h.program.CloseBox() == EventResult::Done && h.main().Closed;
}

std::string Place(AppHarness& h) {
    return std::to_string(h.main().Left) + "," + std::to_string(h.main().Top);
}

std::string Marks(AppHarness& h) {
    std::string marks;
    for (const StageItem& stage : h.state().Specification.Stages) {
        marks += stage.checked ? '1' : '0';
    }
    return marks + (h.state().Fields.PresetChanged ? " changed" : " unchanged");
}

std::string Recent(AppHarness& h) {
    return h.program.frmOptions.txtRecentFiles.text;
}

std::string Details(AppHarness& h) {
    const std::string& shown = h.state().Fields.DetailsText;
    return shown.empty() ? "nothing" : shown;
}

// The chain loaded and Verbose's help in the details pane.
bool VerboseHelpShown(AppHarness& h) {
    return WithChain(h) &&
           h.program.Field({0, FieldKind::CheckBoxes, 0, FieldAction::Hover, {}, 0}) ==
               EventResult::Done &&
           h.state().Fields.DetailsText == "    Talks a lot.";
}

const GateCase kGateCases[] = {
    {"MoveKeepsThePlace", Started, [](AppHarness& h) { return h.program.MoveWindow(10, 20); },
     EventResult::Done, Place, "10,20"},
    {"MoveInTheTray", InTray, [](AppHarness& h) { return h.program.MoveWindow(10, 20); },
     EventResult::Blocked, Place, "282,90"},
    {"MoveAfterTheEnd", Closed, [](AppHarness& h) { return h.program.MoveWindow(10, 20); },
     EventResult::Ended, Place, "282,90"},
    {"MoveBehindADialog", OptionsOpen, [](AppHarness& h) { return h.program.MoveWindow(10, 20); },
     EventResult::Done, Place, "10,20"},
    {"MarksFromTheList", WithChain,
     [](AppHarness& h) {
         return h.program.MarkStages({false, true});
     },
     EventResult::Done, Marks, "01 changed"},
    {"MarksBehindADialog", OptionsOpen,
     [](AppHarness& h) {
         return h.program.MarkStages({true, true});
     },
     EventResult::Blocked, Marks, "00 unchanged"},
    {"MarkOutOfRange", WithChain, [](AppHarness& h) { return h.program.MarkStage(2, true); },
     EventResult::NoStage, Marks, "00 unchanged"},
    {"StepUp", OptionsOpen, [](AppHarness& h) { return h.program.StepValue("numRecentFiles", 1); },
     EventResult::Done, Recent, "5"},
    {"StepDownStopsAtOne", OptionsOpen,
     [](AppHarness& h) { return h.program.StepValue("numRecentFiles", -9); }, EventResult::Done,
     Recent, "1"},
    {"StepOnAnotherPage",
     [](AppHarness& h) {
         return OptionsOpen(h) && h.program.Click("tabPaths") == EventResult::Done;
     },
     [](AppHarness& h) { return h.program.StepValue("numRecentFiles", 1); }, EventResult::Hidden,
     Recent, "4"},
    {"StepWithTheDialogClosed", Started,
     [](AppHarness& h) { return h.program.StepValue("numRecentFiles", 1); }, EventResult::Blocked,
     nullptr, ""},
    {"StepAControlWithoutAPosition", OptionsOpen,
     [](AppHarness& h) { return h.program.StepValue("cmdOK", 1); }, EventResult::UnknownControl,
     nullptr, ""},
    {"RowOutOfRange",
     [](AppHarness& h) {
         return OptionsOpen(h) && h.program.Click("tabPaths") == EventResult::Done;
     },
     [](AppHarness& h) { return h.program.SelectRow("lstToolPaths", 5); }, EventResult::NoListRow,
     nullptr, ""},
    // Level's box is not ticked, so its value is greyed out; its (empty) help shows all the
    // same.
    {"HoverAValue", VerboseHelpShown,
     [](AppHarness& h) {
         return h.program.Field({0, FieldKind::EditBoxes, 0, FieldAction::HoverValue, {}, 0});
     },
     EventResult::Done, Details, "nothing"},
    {"HoverAFieldWithoutValue", VerboseHelpShown,
     [](AppHarness& h) {
         return h.program.Field({0, FieldKind::CheckBoxes, 0, FieldAction::HoverValue, {}, 0});
     },
     EventResult::UnknownControl, Details, "    Talks a lot."},
    {"HoverTheGroup", VerboseHelpShown, [](AppHarness& h) { return h.program.HoverGroup(0); },
     EventResult::Done, Details, "nothing"},
    {"HoverNoGroup", WithChain, [](AppHarness& h) { return h.program.HoverGroup(7); },
     EventResult::NoProgram, nullptr, ""},
    {"TrayOfAShownWindow", Started,
     [](AppHarness& h) { return h.program.Tray(TrayMouse::RightButtonDown); },
     EventResult::NotInTray, nullptr, ""},
    {"CloseTwice", Closed, [](AppHarness& h) { return h.program.CloseBox(); }, EventResult::Ended,
     nullptr, ""},
    {"TabOfNoProgram", WithChain, [](AppHarness& h) { return h.program.SelectTab(5); },
     EventResult::NoProgramTab, nullptr, ""},
};

class Gate : public ::testing::TestWithParam<GateCase> {};

TEST_P(Gate, AnswersByTheSameRules) {
    const GateCase& c = GetParam();
    AppHarness h;
    ASSERT_TRUE(c.setup(h));
    const EventResult result = c.event(h);
    EXPECT_EQ(result, c.expected) << EventResultText(result);
    if (c.effect != nullptr) {
        EXPECT_EQ(c.effect(h), c.expectedEffect);
    }
}

INSTANTIATE_TEST_SUITE_P(Events, Gate, ::testing::ValuesIn(kGateCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace kestrune
