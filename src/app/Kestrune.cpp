#include "app/Kestrune.h"

#include <new>

#include "base/FileIo.h"

namespace kestrune {

namespace {

enum class Window { Main, Tray, Options, About };

struct Command {
    std::string_view name;
    Window window;
    // The menu the item sits in, or the options page (0 to 2) as text, or empty.
    std::string_view parent;
    void (*handler)(Kestrune&);
};

// Every clickable control and menu item with the handler the tables give it.
constexpr Command kCommands[] = {
    {"cmdBrowse", Window::Main, "", [](Kestrune& k) { k.frmMain.cmdBrowseClick(); }},
    {"cmdCompile", Window::Main, "", [](Kestrune& k) { k.frmMain.cmdCompileClick(); }},
    {"chkRememberFile", Window::Main, "", [](Kestrune& k) { k.frmMain.chkRememberFileClick(); }},
    {"lstStages", Window::Main, "", [](Kestrune& k) { k.frmMain.lstStagesClick(); }},
    {"cmdToolNewPreset", Window::Main, "", [](Kestrune& k) { k.frmMain.cmdNewPresetClick(); }},
    {"cmdToolOpenPreset", Window::Main, "", [](Kestrune& k) { k.frmMain.cmdOpenPresetClick(); }},
    {"cmdToolSavePreset", Window::Main, "", [](Kestrune& k) { k.frmMain.cmdSavePresetClick(); }},
    {"cmdToolRun", Window::Main, "", [](Kestrune& k) { k.frmMain.cmdCompileClick(); }},
    {"cmdToolShowDetails", Window::Main, "", [](Kestrune& k) { k.frmMain.cmdShowDetailsClick(); }},
    {"cmdNewPreset", Window::Main, "cmdFileMenu",
     [](Kestrune& k) { k.frmMain.cmdNewPresetClick(); }},
    {"cmdOpenPreset", Window::Main, "cmdFileMenu",
     [](Kestrune& k) { k.frmMain.cmdOpenPresetClick(); }},
    {"cmdImportPreset", Window::Main, "cmdFileMenu",
     [](Kestrune& k) { k.frmMain.cmdImportPresetClick(); }},
    {"cmdSavePreset", Window::Main, "cmdFileMenu",
     [](Kestrune& k) { k.frmMain.cmdSavePresetClick(); }},
    {"cmdSavePresetAs", Window::Main, "cmdFileMenu",
     [](Kestrune& k) { k.frmMain.cmdSavePresetAsClick(); }},
    {"cmdOpenFile", Window::Main, "cmdFileMenu", [](Kestrune& k) { k.frmMain.cmdBrowseClick(); }},
    {"cmdLaunchREDA", Window::Main, "cmdFileMenu",
     [](Kestrune& k) { k.frmMain.cmdLaunchREDAClick(); }},
    {"cmdLaunchREDAWith", Window::Main, "cmdFileMenu",
     [](Kestrune& k) { k.frmMain.cmdLaunchREDAWithClick(); }},
    {"cmdSendToTray", Window::Main, "cmdFileMenu",
     [](Kestrune& k) { k.frmMain.cmdSendToTrayClick(); }},
    {"cmdExit", Window::Main, "cmdFileMenu", [](Kestrune& k) { k.frmMain.cmdExitClick(); }},
    {"cmdRunBatchFile", Window::Main, "cmdCompileMenu",
     [](Kestrune& k) { k.frmMain.cmdCompileClick(); }},
    {"cmdSaveBatchAs", Window::Main, "cmdCompileMenu",
     [](Kestrune& k) { k.frmMain.cmdSaveBatchAsClick(); }},
    {"cmdSetup", Window::Main, "cmdOptionsMenu", [](Kestrune& k) { k.frmMain.cmdSetupClick(); }},
    {"cmdViewLogAfterCompile", Window::Main, "cmdOptionsMenu",
     [](Kestrune& k) { k.frmMain.cmdViewLogAfterCompileClick(); }},
    {"cmdCloseProgramOnRun", Window::Main, "cmdOptionsMenu",
     [](Kestrune& k) { k.frmMain.cmdCloseProgramOnRunClick(); }},
    {"cmdClearEmptyFields", Window::Main, "cmdOptionsMenu",
     [](Kestrune& k) { k.frmMain.cmdClearEmptyFieldsClick(); }},
    {"cmdShowDetails", Window::Main, "cmdOptionsMenu",
     [](Kestrune& k) { k.frmMain.cmdShowDetailsClick(); }},
    {"cmdOnlineHelp", Window::Main, "cmdHelpMenu",
     [](Kestrune& k) { k.frmMain.cmdOnlineHelpClick(); }},
    {"cmdAboutKestrune", Window::Main, "cmdHelpMenu",
     [](Kestrune& k) { k.frmMain.cmdAboutKestruneClick(); }},
    {"cmdTabReset", Window::Main, "mnuTab", [](Kestrune& k) { k.frmMain.cmdTabResetClick(); }},
    {"cmdTabClearEmptyFields", Window::Main, "mnuTab",
     [](Kestrune& k) { k.frmMain.cmdTabClearEmptyFieldsClick(); }},
    {"cmdStagesClear", Window::Main, "", [](Kestrune& k) { k.frmMain.cmdStagesClearClick(); }},
    {"cmdTrayRestore", Window::Tray, "", [](Kestrune& k) { k.frmMain.cmdTrayRestoreClick(); }},
    {"cmdTrayCompile", Window::Tray, "", [](Kestrune& k) { k.frmMain.cmdCompileClick(); }},
    {"cmdTrayLaunchREDA", Window::Tray, "", [](Kestrune& k) { k.frmMain.cmdLaunchREDAClick(); }},
    {"cmdTrayLaunchREDAWith", Window::Tray, "",
     [](Kestrune& k) { k.frmMain.cmdLaunchREDAWithClick(); }},
    {"cmdTrayExit", Window::Tray, "", [](Kestrune& k) { k.frmMain.cmdExitClick(); }},
    {"tabGeneral", Window::Options, "", [](Kestrune& k) { k.frmOptions.SetPage(0); }},
    {"tabPaths", Window::Options, "", [](Kestrune& k) { k.frmOptions.SetPage(1); }},
    {"tabPresets", Window::Options, "", [](Kestrune& k) { k.frmOptions.SetPage(2); }},
    {"cmdZRPFiles", Window::Options, "0", [](Kestrune& k) { k.frmOptions.cmdZRPFilesClick(); }},
    {"lstToolPaths", Window::Options, "1", [](Kestrune& k) { k.frmOptions.lstToolPathsClick(); }},
    {"cmdBrowseTool", Window::Options, "1", [](Kestrune& k) { k.frmOptions.cmdBrowseToolClick(); }},
    {"cmdBrowseBase", Window::Options, "1", [](Kestrune& k) { k.frmOptions.cmdBrowseBaseClick(); }},
    {"cmdBrowseFile", Window::Options, "1", [](Kestrune& k) { k.frmOptions.cmdBrowseFileClick(); }},
    {"cmdAddPreset", Window::Options, "2", [](Kestrune& k) { k.frmOptions.cmdAddPresetClick(); }},
    {"cmdRemovePreset", Window::Options, "2",
     [](Kestrune& k) { k.frmOptions.cmdRemovePresetClick(); }},
    {"cmdOK", Window::Options, "", [](Kestrune& k) { k.frmOptions.cmdOKClick(); }},
    {"cmdCancel", Window::Options, "", [](Kestrune& k) { k.frmOptions.cmdCancelClick(); }},
    {"cmdOK", Window::About, "", [](Kestrune& k) { k.frmAbout.cmdOKClick(); }},
};

ControlState* Find(const std::vector<std::pair<std::string_view, ControlState*>>& controls,
                   std::string_view name) {
    for (const auto& [key, control] : controls) {
        if (key == name) {
            return control;
        }
    }
    return nullptr;
}

EventResult Usable(const ControlState* control) {
    if (control == nullptr) {
        return EventResult::UnknownControl;
    }
    if (!control->visible) {
        return EventResult::Hidden;
    }
    return control->enabled ? EventResult::Done : EventResult::Disabled;
}

}  // namespace

const char* EventResultText(EventResult result) {
    switch (result) {
        case EventResult::Done:
            return "done";
        case EventResult::UnknownControl:
            return "no control or menu of that name";
        case EventResult::Disabled:
            return "the control is disabled";
        case EventResult::Hidden:
            return "the control is not shown";
        case EventResult::Blocked:
            return "its window cannot be reached now";
        case EventResult::OutOfRange:
            return "the menu has no entry at that index";
    }
    return "";
}

Kestrune::Kestrune(Platform& platform, std::string programFolder, std::string executablePath)
    : frmMain(platform, std::move(programFolder), std::move(executablePath)),
      frmOptions(frmMain),
      frmAbout(frmMain) {
    frmMain.frmOptions = &frmOptions;
    frmMain.frmAbout = &frmAbout;
}

void Kestrune::Start(std::vector<std::string> arguments) {
    frmMain.CommandLine = std::move(arguments);
    Guarded([this] {
        frmMain.FormCreate();
        frmAbout.FormCreate();
        frmMain.FormShow();
    });
}

void Kestrune::SecondStart(const std::vector<std::string>& arguments) {
    if (frmMain.Closed) {
        return;
    }
    if (frmMain.InTray) {
        frmMain.cmdTrayRestoreClick();
    } else {
        frmMain.Visible = true;
        ++frmMain.ActivateRequests;
    }
    if (DialogOpen() || arguments.size() != 1) {
        return;
    }
    Guarded([this, &arguments] { frmMain.OpenCommandLinePreset(arguments.front(), true); });
}

void Kestrune::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::bad_alloc&) {
        frmMain.platform().ShowMessage(MessageKind::Error, "Out of memory");
    } catch (const std::exception& error) {
        frmMain.platform().ShowMessage(MessageKind::Error, error.what());
    }
}

EventResult Kestrune::Click(std::string_view name) {
    bool known = false;
    for (const Command& command : kCommands) {
        if (command.name != name) {
            continue;
        }
        known = true;
        ControlState* control = nullptr;
        bool reachable = false;
        switch (command.window) {
            case Window::Main:
                reachable = !DialogOpen() && frmMain.Visible && !frmMain.Closed;
                control = Find(frmMain.NamedControls(), name);
                break;
            case Window::Tray:
                reachable = !DialogOpen() && frmMain.InTray && !frmMain.Closed;
                control = Find(frmMain.NamedControls(), name);
                break;
            case Window::Options:
                reachable = frmOptions.IsOpen;
                control = Find(frmOptions.NamedControls(), name);
                break;
            case Window::About:
                reachable = frmAbout.IsOpen;
                control = Find(frmAbout.NamedControls(), name);
                break;
        }
        if (!reachable) {
            continue;  // a control of the same name in another window may be reachable
        }
        if (command.window == Window::Options && !command.parent.empty() &&
            command.parent[0] - '0' != frmOptions.Page) {
            return EventResult::Hidden;  // on another page of the dialog
        }
        if (command.parent == "mnuTab" && !frmMain.State().Specification.HasSpecification()) {
            return EventResult::Hidden;  // the tab menu needs a program tab
        }
        if (command.window == Window::Main && command.parent.size() > 1) {
            if (const ControlState* menu = Find(frmMain.NamedControls(), command.parent)) {
                if (EventResult parent = Usable(menu); parent != EventResult::Done) {
                    return parent;
                }
            }
        }
        if (EventResult usable = Usable(control); usable != EventResult::Done) {
            return usable;
        }
        Guarded([this, &command] { command.handler(*this); });
        return EventResult::Done;
    }
    return known ? EventResult::Blocked : EventResult::UnknownControl;
}

EventResult Kestrune::ChooseMenuItem(std::string_view menu, std::size_t index) {
    struct MenuCommand {
        std::string_view name;
        std::string_view parent;
        bool tray;
        void (TfrmMain::*handler)(std::size_t);
    };
    static constexpr MenuCommand kMenus[] = {
        {"cmdSpecificationsMenu", "", false, &TfrmMain::SelectSpecification},
        {"cmdRecentPresets", "cmdFileMenu", false, &TfrmMain::RecentPresetClick},
        {"cmdRecentFiles", "cmdFileMenu", false, &TfrmMain::RecentFileClick},
        {"cmdPresetsMenu", "", false, &TfrmMain::PresetsMenuClick},
        {"cmdLinks", "", false, &TfrmMain::LinkClick},
        {"mnuRunStages", "cmdToolRun", false, &TfrmMain::RunStageClick},
        {"cmdTrayRun", "", true, &TfrmMain::RunStageClick},
    };
    for (const MenuCommand& command : kMenus) {
        if (command.name != menu) {
            continue;
        }
        const bool reachable =
            !DialogOpen() && !frmMain.Closed && (command.tray ? frmMain.InTray : frmMain.Visible);
        if (!reachable) {
            return EventResult::Blocked;
        }
        const auto controls = frmMain.NamedControls();
        if (!command.parent.empty()) {
            if (EventResult parent = Usable(Find(controls, command.parent));
                parent != EventResult::Done) {
                return parent;
            }
        }
        auto* state = static_cast<MenuState*>(Find(controls, command.name));
        if (EventResult usable = Usable(state); usable != EventResult::Done) {
            return usable;
        }
        if (index >= state->items.size()) {
            return EventResult::OutOfRange;
        }
        Guarded([this, &command, index] { (frmMain.*command.handler)(index); });
        return EventResult::Done;
    }
    return EventResult::UnknownControl;
}

void Kestrune::CloseBox() {
    Guarded([this] {
        if (frmOptions.IsOpen) {
            frmOptions.cmdCancelClick();
        } else if (frmAbout.IsOpen) {
            frmAbout.cmdOKClick();
        } else if (!frmMain.Closed) {
            frmMain.FormClose();
        }
    });
}

std::vector<NamedControl> Kestrune::Controls() {
    std::vector<NamedControl> all;
    auto add = [&all](std::string_view window,
                      const std::vector<std::pair<std::string_view, ControlState*>>& controls) {
        for (const auto& [name, control] : controls) {
            std::string key(name);
            for (const NamedControl& existing : all) {
                if (existing.key == key) {
                    key = std::string(window) + "." + key;
                    break;
                }
            }
            all.push_back({std::move(key), window, control});
        }
    };
    add("frmMain", frmMain.NamedControls());
    add("frmOptions", frmOptions.NamedControls());
    add("frmAbout", frmAbout.NamedControls());
    return all;
}

}  // namespace kestrune
