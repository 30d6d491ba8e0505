#include "app/ControlTable.h"

namespace kestrune {

const ControlRow* FindRow(ControlTable table, std::string_view name) {
    for (const ControlRow& row : table) {
        if (!row.name.empty() && row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

void ApplyDesign(ControlTable table, void* window) {
    for (const ControlRow& row : table) {
        if (row.state == nullptr) {
            continue;
        }
        ControlState& control = *row.state(window);
        control.text = std::string(row.caption);
        control.hint = std::string(row.hint);
        control.bounds = row.bounds;
        control.enabled = (row.flags & kDisabled) == 0;
        control.visible = (row.flags & kHidden) == 0;
        control.checked = (row.flags & kChecked) != 0;
        control.bold = (row.flags & kBold) != 0;
    }
}

}  // namespace kestrune
