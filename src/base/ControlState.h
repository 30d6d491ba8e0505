#pragma once
// The state of one on-screen control, held by the core and mirrored by the view.

#include <string>
#include <utility>
#include <vector>

#include "base/SparseText.h"

namespace kestrune {

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

struct ControlState {
    std::string text;  // caption of a button or check box, text of an edit or combo box
    SparseText hint;   // tooltip; shown only when not empty
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    bool bold = false;
    Bounds bounds;
};

struct MenuItem {
    std::string caption;
    bool checked = false;
    std::string address;     // a Links entry's web address
    int index = -1;          // a run-stage entry's program position
    bool namesFile = false;  // the caption is a file's name or path, shown as it is written
};

// A menu or sub-menu whose entries the core builds.
struct MenuState : ControlState {
    std::vector<MenuItem> items;
};

}  // namespace kestrune
