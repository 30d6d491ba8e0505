#pragma once
// The whole program without a window system: the three windows in their creation order, and
// every event a person can cause. A view and a script reach the handlers only through here,
// so both take the same path and meet the same rules: an event for a control that does not
// exist, is disabled or hidden, sits on another page, lies behind a modal dialog, or whose
// window is in the tray or closed, runs nothing and says why.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/About.h"
#include "app/Main.h"
#include "app/Options.h"
#include "base/ViewRequest.h"
#include "fields/FieldEvent.h"

namespace kestrune {

enum class EventResult {
    Done,
    UnknownControl,  // no control or menu of that name
    Disabled,        // the control, or a menu above it, is disabled
    Hidden,          // the control is not shown
    Blocked,         // a modal dialog is open, or the window is closed or in the tray
    OutOfRange,      // no menu entry at that index
    NoProgramTab,
    NoStage,
    NoProgram,
    NoField,
    NoOption,
    NoListRow,
    NotInTray,
    Ended,  // the program's window has closed
};

// A short text for a result other than Done, for messages.
const char* EventResultText(EventResult result);

// Whether a control takes events: it exists, is shown and is enabled.
EventResult Usable(const ControlState* control);

struct NamedControl {
    std::string key;  // the control's name; "frmOptions." or "frmAbout." before a repeated one
    std::string_view window;  // "frmMain", "frmOptions" or "frmAbout"
    ControlState* control;
};

// A row of a window's table with its state in this program.
struct PlacedRow {
    const ControlRow* row;
    ControlState* state;  // nullptr for rows without one
    MenuState* menu;      // built menus only
};

class Kestrune {
  public:
    Kestrune(Platform& platform, const std::string& programFolder, std::string executablePath = {});

    TfrmMain frmMain;
    TfrmOptions frmOptions;
    TfrmAbout frmAbout;

    // Program start: the main window's creation, the options dialog, the about box, and the
    // first show with the command line's arguments.
    void Start(std::vector<std::string> arguments);

    // A later start of the program for the same program folder handed over its command line:
    // the window comes to the front (out of the tray), and one argument is opened as a
    // preset as at the first show, after the save-changes prompt. While a dialog is open the
    // window only comes to the front, since the dialog holds the user's unfinished input.
    void SecondStart(const std::vector<std::string>& arguments);

    // ---- Every event a person can cause
    // The click of a control or menu item of any window.
    EventResult Click(std::string_view name);
    // Entry `index` of a built menu.
    EventResult ChooseMenuItem(std::string_view menu, std::size_t index);
    EventResult SelectTab(int index);
    // Sets one stage's mark, then the list's click.
    EventResult MarkStage(int index, bool on);
    // Sets every stage's mark as a click on the list left them, then the list's click.
    EventResult MarkStages(const std::vector<bool>& marks);
    EventResult Field(const FieldEvent& event);
    // The mouse over a program's group box, away from its fields.
    EventResult HoverGroup(int program);
    // A slider's or an up-down's new position; an up-down's arrow steps it by `delta`.
    EventResult SetValue(std::string_view name, int value);
    EventResult StepValue(std::string_view name, int delta);
    // A list's selected row; -1 selects none.
    EventResult SelectRow(std::string_view name, int row);
    EventResult Tray(TrayMouse mouse);
    // The user moved the main window: its outer top-left corner.
    EventResult MoveWindow(int left, int top);
    // The close box of the topmost window.
    EventResult CloseBox();

    // What the view is to do once (come to the front, minimise, a pop-up menu, the focus),
    // asked since the view last took them, oldest first.
    std::vector<ViewRequest> TakeViewRequests();

    // Every named control of the three windows, but for the view's own preferences.
    std::vector<NamedControl> Controls();
    // A window's table with its states, for a view to build and mirror it.
    std::vector<PlacedRow> Layout(WindowId window);
    static ControlTable Table(WindowId window);

    // Runs a handler at the boundary of a user's command: an escaping error becomes a message
    // instead of ending the program.
    void Guarded(const std::function<void()>& handler);

  private:
    bool DialogOpen() const { return frmOptions.IsOpen || frmAbout.IsOpen; }
    ControlWindow& Window(WindowId window);
    // Whether a row of `window` can take an event now: its window, every row it sits in,
    // then the row itself.
    EventResult Reach(WindowId window, const ControlRow& row);
    EventResult ReachMainWindow() const;
    // The row named `name` whose window can take events, and its window.
    struct Found {
        const ControlRow* row = nullptr;
        WindowId window = WindowId::Main;
        EventResult result = EventResult::UnknownControl;
    };
    Found FindReachable(std::string_view name, bool (*wanted)(const ControlRow&));
    // The first row of a kind with a behaviour of its own (the stages list, the program tabs).
    const ControlRow& RowOfKind(ControlKind kind) const;
};

}  // namespace kestrune
