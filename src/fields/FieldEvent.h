#pragma once
// What a person does to a field, as the event gate hands it to the field's kind. Each kind
// answers two questions itself: which control an action works on, and what the action does.

#include <cstdint>
#include <string>

namespace kestrune {

// The kinds of a program's fields and what a person does to one.
enum class FieldKind { CheckBoxes, EditBoxes, ComboBoxes, BrowseBoxes, ColorBoxes };
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

// How a value action ended: done (or nothing to do for this kind), or a pick past the options.
enum class FieldApplied : std::uint8_t { Done, NoOption };

}  // namespace kestrune
