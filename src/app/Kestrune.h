#pragma once
// The whole program without a window system: the three windows in their creation order, and
// every event a person can cause, addressed by control name. A view and a script reach the
// handlers through here, so both take the same path.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/About.h"
#include "app/Main.h"
#include "app/Options.h"

namespace kestrune {

enum class EventResult {
    Done,
    UnknownControl,  // no control or menu of that name
    Disabled,        // the control, or a menu above it, is disabled
    Hidden,          // the control is not shown
    Blocked,         // a modal dialog is open, or the window is closed or in the tray
    OutOfRange,      // no menu entry at that index
};

// A short text for a result other than Done, for messages.
const char* EventResultText(EventResult result);

struct NamedControl {
    std::string key;  // the control's name; "frmOptions." or "frmAbout." before a repeated one
    std::string_view window;  // "frmMain", "frmOptions" or "frmAbout"
    ControlState* control;
};

class Kestrune {
  public:
    Kestrune(Platform& platform, std::string programFolder, std::string executablePath = {});

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

    // The click of a control or menu item of any window.
    EventResult Click(std::string_view name);
    // Entry `index` of a built menu.
    EventResult ChooseMenuItem(std::string_view menu, std::size_t index);
    // The close box of the topmost window.
    void CloseBox();

    // Every named control of the three windows.
    std::vector<NamedControl> Controls();

    // Runs a handler at the boundary of a user's command: an escaping error becomes a message
    // instead of ending the program.
    void Guarded(const std::function<void()>& handler);

  private:
    bool DialogOpen() const { return frmOptions.IsOpen || frmAbout.IsOpen; }
};

}  // namespace kestrune
