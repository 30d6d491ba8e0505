#pragma once
// The part of the application state that fields read and change: the file variables for their
// parameters, the unsaved-changes flag, the details text and the dialogs of the platform.

#include <functional>
#include "base/ControlState.h"

#include "base/NullPlatform.h"
#include "base/Platform.h"
#include "fields/FileVariables.h"

namespace kestrune {

struct FieldContext {
    FileVariables Files;
    // Never missing: the window's or the command line's, or the silent one, so the fields and
    // the builders talk to it without asking first.
    std::reference_wrapper<Platform> platform = SilentPlatform();
    bool PresetChanged = false;
    std::string DetailsText;  // shown in the details pane
    // A control that asked for the keyboard focus; the view moves the focus and clears it.
    const ControlState* FocusRequest = nullptr;
};

}  // namespace kestrune
