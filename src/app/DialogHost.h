#pragma once
// What the options dialog and the about box need of the main window that opens them: the
// application state, the platform, the program's own path, and the menus that follow the
// dialog's changes. The main window implements it; the dialogs know nothing else of it.

#include <string>

#include "app/AppState.h"
#include "base/Platform.h"

namespace kestrune {

class DialogHost {
  public:
    virtual AppState& State() = 0;
    virtual const AppState& State() const = 0;
    virtual Platform& platform() const = 0;
    // The program's own full path (the association's command).
    virtual const std::string& ExecutablePath() const = 0;
    // The favourite presets changed: the Presets menu follows.
    virtual void RebuildPresetsMenu() = 0;
    // The recent lists' length changed: the lists and their menus are cut to it.
    virtual void TruncateRecentLists() = 0;
    // The windows became opaque again; the about box is no longer translucent either.
    virtual void AboutBoxOpaque() = 0;

  protected:
    ~DialogHost() = default;
};

}  // namespace kestrune
