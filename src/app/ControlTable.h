#pragma once
// How a window declares its controls: one row per control, menu, menu entry, separator and
// bar, in the order a person meets them. From the rows come each control's first state, the
// lookup by name, what a click, a choice or a new value runs, and the view's construction.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/ControlState.h"

namespace kestrune {

class Kestrune;

enum class WindowId { Main, Options, About };

// What every window with a control table is: the rows reach their states through this base,
// and a row asked for a window it was not written for answers nullptr instead of reading
// another window's memory.
class ControlWindow {
  public:
    explicit ControlWindow(WindowId id) : windowId_(id) {}
    WindowId Id() const { return windowId_; }

  protected:
    ~ControlWindow() = default;

  private:
    WindowId windowId_;
};

enum class ControlKind : std::uint8_t {
    MenuBar,        // the window's menu bar
    Menu,           // a menu of fixed entries, on the menu bar or inside its parent menu
    ListMenu,       // a menu whose entries the core builds
    ChoiceMenu,     // a built menu with one entry ticked
    LinkMenu,       // a built menu of web links
    PopupMenu,      // opened over the control named in `anchor`
    TrayMenu,       // the tray icon's menu
    MenuItem,       // an entry of its parent menu
    CheckMenuItem,  // an entry with a tick
    Separator,      // a line between entries or tool buttons
    ToolBar,
    ToolButton,       // a picture on the tool bar
    CheckToolButton,  // a picture that stays pressed while checked
    Button,
    DefaultButton,  // the button Return presses
    CheckBox,
    Label,
    Title,  // the large caption of a box
    Edit,   // a read-only line of text
    Tabs,   // pages, each a Page row
    Page,
    Group,
    Picture,  // the program's icon
    Slider,
    UpDown,
    ProgramTabs,   // one page of fields per program of the specification
    StageList,     // the stages with their marks
    InputFile,     // the input file's box
    DetailsPane,   // the details of the field under the mouse
    ToolPathList,  // rows of tool and path
    PresetList,    // rows of preset files
    DropDown,      // a list of fixed choices: `rows` names them, `value` and `set` the chosen
};

// A row's first state.
enum ControlFlag : std::uint8_t {
    kDisabled = 1,
    kHidden = 2,
    kChecked = 4,
    kBold = 8,
    // Reachable only while a specification has programs (the program tab's pop-up menu).
    kNeedsProgram = 16,
    // Enabled together: once there is an input file to run; once a specification is loaded.
    kRunGroup = 32,
    kSpecificationGroup = 64,
    // A preference of the view alone (the captions' language): no part of the window's logic,
    // so the state a replay dumps and the controls it drives leave it out.
    kViewPreference = 128,
};

using ListRows = std::vector<std::vector<std::string>>;

struct ControlRow {
    std::string_view name{};  // empty for a separator
    // The row's state inside its window, for rows that have one; written with
    // KESTRUNE_CONTROL or KESTRUNE_MENU so that the name and the member are one token.
    ControlState* (*state)(ControlWindow& window) = nullptr;
    MenuState* (*menu)(ControlWindow& window) = nullptr;
    ControlKind kind = ControlKind::Label;
    // The menu, bar, page or group the row sits in; empty for the window itself (a menu:
    // the menu bar).
    std::string_view parent{};
    std::string_view caption{};
    Bounds bounds{};  // designed place; a label without a size takes its caption's
    std::uint8_t flags = 0;
    std::string_view shortcut{};  // "Ctrl+N"
    std::string_view hint{};
    // What a screen reader names the control when its caption does not; "{}" stands for the
    // caption of the label named in `labelledBy`, without its colon.
    std::string_view accessibleName{};
    std::string_view labelledBy{};
    // A tool button's picture, "theme-name|file.png"; a pop-up menu's control it opens over.
    std::string_view picture{};
    std::string_view anchor{};
    int low = 0;  // a slider's range
    int high = 0;

    // What a click runs; what choosing entry N of a built menu runs; a slider's or an
    // up-down's new value and its current one; a list's rows, its selection and a new one.
    void (*click)(Kestrune&) = nullptr;
    void (*choose)(Kestrune&, std::size_t) = nullptr;
    void (*set)(Kestrune&, int) = nullptr;
    int (*value)(const Kestrune&) = nullptr;
    ListRows (*rows)(const Kestrune&) = nullptr;
    int (*selected)(const Kestrune&) = nullptr;
    void (*select)(Kestrune&, int) = nullptr;

    bool IsMenu() const {
        return kind == ControlKind::Menu || kind == ControlKind::ListMenu ||
               kind == ControlKind::ChoiceMenu || kind == ControlKind::LinkMenu ||
               kind == ControlKind::PopupMenu || kind == ControlKind::TrayMenu;
    }
    bool IsBuiltMenu() const {
        return kind == ControlKind::ListMenu || kind == ControlKind::ChoiceMenu ||
               kind == ControlKind::LinkMenu;
    }
};

using ControlTable = std::span<const ControlRow>;

inline bool ViewPreference(const ControlRow& row) {
    return (row.flags & kViewPreference) != 0;
}

// What kind of event a row takes.
inline bool Clickable(const ControlRow& row) {
    return row.click != nullptr;
}
inline bool Choosable(const ControlRow& row) {
    return row.choose != nullptr;
}
inline bool Settable(const ControlRow& row) {
    return row.set != nullptr;
}
inline bool Selectable(const ControlRow& row) {
    return row.select != nullptr;
}

// The row named `name` in `table`, or nullptr.
const ControlRow* FindRow(ControlTable table, std::string_view name);

// Where page row `page` stands among the pages of its tab control (0 for the first).
int PageIndex(ControlTable table, const ControlRow& page);
// The page at `index` of the tab control named `tabs`, or nullptr.
const ControlRow* PageAt(ControlTable table, std::string_view tabs, int index);

// Gives every row's state of `window` its designed caption, place and flags.
void ApplyDesign(ControlTable table, ControlWindow& window);

// The state accessors of a row: `&StateOf<&TfrmMain::cmdExit>`. A window class names its own
// id as `kWindowId`; any other window gets nullptr.
template <typename Window, typename Member>
Window WindowTypeOf(Member Window::*);

template <auto member>
ControlState* StateOf(ControlWindow& window) {
    using Window = decltype(WindowTypeOf(member));
    if (window.Id() != Window::kWindowId) {
        return nullptr;
    }
    return &(static_cast<Window&>(window).*member);
}

template <auto member>
MenuState* MenuOf(ControlWindow& window) {
    using Window = decltype(WindowTypeOf(member));
    if (window.Id() != Window::kWindowId) {
        return nullptr;
    }
    return &(static_cast<Window&>(window).*member);
}

}  // namespace kestrune

// A row's name and its state from the one member, so the two cannot drift apart. It stands
// where the name goes and fills the state as well: `{.name = KESTRUNE_CONTROL(TfrmMain,
// cmdExit), .kind = ...}`.
// clang-format off
#define KESTRUNE_CONTROL(Window, member) #member, .state = &::kestrune::StateOf<&Window::member>
// clang-format on
// The same for a menu the core fills: its name, its state and its entries.
#define KESTRUNE_MENU(Window, member) \
    KESTRUNE_CONTROL(Window, member), .menu = &::kestrune::MenuOf<&Window::member>
