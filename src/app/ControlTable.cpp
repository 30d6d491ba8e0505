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

int PageIndex(ControlTable table, const ControlRow& page) {
    int index = 0;
    for (const ControlRow& other : table) {
        if (&other == &page) {
            break;
        }
        index += other.kind == ControlKind::Page && other.parent == page.parent ? 1 : 0;
    }
    return index;
}

const ControlRow* PageAt(ControlTable table, std::string_view tabs, int index) {
    int page = 0;
    for (const ControlRow& row : table) {
        if (row.kind == ControlKind::Page && row.parent == tabs && page++ == index) {
            return &row;
        }
    }
    return nullptr;
}

void ApplyDesign(ControlTable table, ControlWindow& window) {
    for (const ControlRow& row : table) {
        if (row.state == nullptr) {
            continue;
        }
        ControlState* state = row.state(window);
        if (state == nullptr) {
            continue;  // a row of another window
        }
        ControlState& control = *state;
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
