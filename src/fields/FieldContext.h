#pragma once
// The part of the application state that fields read and change: the file variables for their
// parameters, the unsaved-changes flag, the details text and the dialogs of the platform.

#include <functional>
#include <string>

#include "base/NullPlatform.h"
#include "base/Platform.h"
#include "base/ViewRequest.h"
#include "fields/FileVariables.h"

namespace kestrune {

struct FieldContext {
    FileVariables Files;
    // Never missing: the window's or the command line's, or the silent one, so the fields and
    // the builders talk to it without asking first.
    std::reference_wrapper<Platform> platform = SilentPlatform();
    bool PresetChanged = false;
    std::string DetailsText;  // shown in the details pane
    // What the view is to do once (a field's focus, the window's activation); the view takes
    // them after each event.
    ViewRequests Requests;
};

}  // namespace kestrune
