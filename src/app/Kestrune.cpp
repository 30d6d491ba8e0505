#include "app/Kestrune.h"

#include <new>

namespace kestrune {

namespace {

constexpr WindowId kWindows[] = {WindowId::Main, WindowId::Options, WindowId::About};

std::string_view WindowName(WindowId window) {
    switch (window) {
        case WindowId::Main:
            return "frmMain";
        case WindowId::Options:
            return "frmOptions";
        case WindowId::About:
            return "frmAbout";
    }
    return "";
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
        case EventResult::NoProgramTab:
            return "there is no program tab at that index";
        case EventResult::NoStage:
            return "the stages list has no entry at that index";
        case EventResult::NoProgram:
            return "there is no program at that index";
        case EventResult::NoField:
            return "the program has no field of that kind at that index";
        case EventResult::NoOption:
            return "the combo box has no option at that index";
        case EventResult::NoListRow:
            return "the list has no row at that index";
        case EventResult::NotInTray:
            return "the window is not in the tray";
        case EventResult::Ended:
            return "the program has ended";
    }
    return "";
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

Kestrune::Kestrune(Platform& platform, const std::string& programFolder, std::string executablePath)
    : frmMain(platform, programFolder, std::move(executablePath)),
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
        frmMain.State().Fields.Requests.Add(ActivateWindow{});
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

ControlTable Kestrune::Table(WindowId window) {
    switch (window) {
        case WindowId::Main:
            return TfrmMain::Controls();
        case WindowId::Options:
            return TfrmOptions::Controls();
        case WindowId::About:
            return TfrmAbout::Controls();
    }
    return {};
}

ControlWindow& Kestrune::Window(WindowId window) {
    switch (window) {
        case WindowId::Options:
            return frmOptions;
        case WindowId::About:
            return frmAbout;
        case WindowId::Main:
            break;
    }
    return frmMain;
}

std::vector<ViewRequest> Kestrune::TakeViewRequests() {
    return frmMain.State().Fields.Requests.Take();
}

std::vector<PlacedRow> Kestrune::Layout(WindowId window) {
    ControlWindow& object = Window(window);
    std::vector<PlacedRow> placed;
    for (const ControlRow& row : Table(window)) {
        placed.push_back({&row, row.state != nullptr ? row.state(object) : nullptr,
                          row.menu != nullptr ? row.menu(object) : nullptr});
    }
    return placed;
}

std::vector<NamedControl> Kestrune::Controls() {
    std::vector<NamedControl> all;
    for (WindowId window : kWindows) {
        for (const PlacedRow& placed : Layout(window)) {
            if (placed.state == nullptr || ViewPreference(*placed.row)) {
                continue;
            }
            std::string key(placed.row->name);
            for (const NamedControl& existing : all) {
                if (existing.key == key) {
                    key.insert(0, 1, '.').insert(0, WindowName(window));
                    break;
                }
            }
            all.push_back({std::move(key), WindowName(window), placed.state});
        }
    }
    return all;
}

EventResult Kestrune::ReachMainWindow() const {
    return DialogOpen() || !frmMain.Visible || frmMain.Closed ? EventResult::Blocked
                                                              : EventResult::Done;
}

EventResult Kestrune::Reach(WindowId window, const ControlRow& row) {
    const ControlTable table = Table(window);
    ControlWindow& object = Window(window);
    // The rows it sits in, nearest first; the outermost decides between window and tray.
    std::vector<const ControlRow*> around;
    for (const ControlRow* parent = FindRow(table, row.parent); parent != nullptr;
         parent = FindRow(table, parent->parent)) {
        around.push_back(parent);
    }
    bool reachable = false;
    switch (window) {
        case WindowId::Main: {
            const bool tray = !around.empty() && around.back()->kind == ControlKind::TrayMenu;
            reachable =
                !DialogOpen() && !frmMain.Closed && (tray ? frmMain.InTray : frmMain.Visible);
            break;
        }
        case WindowId::Options:
            reachable = frmOptions.IsOpen;
            break;
        case WindowId::About:
            reachable = frmAbout.IsOpen;
            break;
    }
    if (!reachable) {
        return EventResult::Blocked;
    }
    for (const ControlRow* parent : around) {
        if (parent->kind == ControlKind::Page) {
            if (PageIndex(table, *parent) != frmOptions.Page) {
                return EventResult::Hidden;  // on another page of the dialog
            }
        }
        if ((parent->flags & kNeedsProgram) != 0 &&
            !frmMain.State().Specification.HasSpecification()) {
            return EventResult::Hidden;
        }
        if (parent->state != nullptr) {
            if (EventResult usable = Usable(parent->state(object)); usable != EventResult::Done) {
                return usable;
            }
        }
    }
    return Usable(row.state != nullptr ? row.state(object) : nullptr);
}

Kestrune::Found Kestrune::FindReachable(std::string_view name, bool (*wanted)(const ControlRow&)) {
    Found found;
    for (WindowId window : kWindows) {
        const ControlRow* row = FindRow(Table(window), name);
        if (row == nullptr || !wanted(*row)) {
            continue;
        }
        found = {row, window, Reach(window, *row)};
        if (found.result != EventResult::Blocked) {
            return found;  // a control of the same name in another window may be reachable
        }
    }
    return found;
}

EventResult Kestrune::Click(std::string_view name) {
    const Found found = FindReachable(name, &Clickable);
    if (found.result == EventResult::Done) {
        Guarded([this, &found] { found.row->click(*this); });
    }
    return found.result;
}

EventResult Kestrune::ChooseMenuItem(std::string_view menu, std::size_t index) {
    const Found found = FindReachable(menu, &Choosable);
    if (found.result != EventResult::Done) {
        return found.result;
    }
    if (index >= found.row->menu(Window(found.window))->items.size()) {
        return EventResult::OutOfRange;
    }
    Guarded([this, &found, index] { found.row->choose(*this, index); });
    return EventResult::Done;
}

}  // namespace kestrune
