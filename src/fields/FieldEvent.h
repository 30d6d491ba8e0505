#pragma once
// What a person does to a field, as the event gate hands it to the field's kind. Each kind
// answers three questions itself: which controls it shows beside its caption box, which
// control an action works on, and what the action does.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ControlState.h"

namespace kestrune {

// The kinds of a program's fields and what a person does to one.
enum class FieldKind { CheckBoxes, EditBoxes, ComboBoxes, BrowseBoxes, ColorBoxes };
inline constexpr std::size_t kFieldKindCount = 5;
enum class FieldAction {
    Tick,        // its caption box
    Hover,       // the mouse over its caption box
    HoverValue,  // the mouse over its value control
    Type,
    Pick,
    Leave,  // the focus leaves its value control
    Browse,
};

struct FieldEvent {
    int program = 0;
    FieldKind kind = FieldKind::CheckBoxes;
    int index = 0;  // among the program's fields of that kind
    FieldAction action = FieldAction::Tick;
    std::string text;  // typed
    int option = 0;    // picked
};

// How a view shows one of a field's controls beside its caption box.
enum class ValueShape : std::uint8_t {
    Text,    // a line to type in (Type)
    Choice,  // a line to type in, or one of a list of options to pick (Type, Pick)
    Button,  // a push button (Browse)
};

struct ShownControl {
    const ControlState* state = nullptr;
    ValueShape shape = ValueShape::Text;
    bool hoverShowsHelp = false;  // the mouse over it is an action (HoverValue)
    bool leaveChecks = false;     // the focus leaving it is an action (Leave)
    // A button: what its click does, before the field's caption in its accessible name.
    std::string_view purpose{};
    const std::vector<std::string>* options = nullptr;  // a choice's options
    const std::uint32_t* color = nullptr;  // a button whose caption is drawn in this colour
};

// How a value action ended: done (or nothing to do for this kind), or a pick past the options.
enum class FieldApplied : std::uint8_t { Done, NoOption };

}  // namespace kestrune
