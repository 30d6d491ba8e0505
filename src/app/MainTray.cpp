// The tray icon and the details pane.

#include "app/Main.h"

namespace kestrune {

void TfrmMain::cmdSendToTrayClick() {
    // Without a notification area the icon could never bring the window back.
    if (!platform_.HasNotificationArea()) {
        state_.Fields.Requests.Add(MinimizeWindow{});
        return;
    }
    Visible = false;
    InTray = true;
}

void TfrmMain::TrayCallback(TrayMouse event) {
    if (event != TrayMouse::RightButtonDown || !InTray) {
        return;
    }
    state_.Fields.Requests.Add(ActivateWindow{});
    state_.Fields.Requests.Add(PopupMenu{"mnuTray"});
}

void TfrmMain::cmdTrayRestoreClick() {
    Visible = true;
    state_.Fields.Requests.Add(ActivateWindow{});
    InTray = false;
}

void TfrmMain::cmdShowDetailsClick() {
    cmdShowDetails.checked = !cmdShowDetails.checked;
    ApplyDetailsVisibility(cmdShowDetails.checked, 452);
}

void TfrmMain::ApplyDetailsVisibility(bool shown, int olderHeight) {
    state_.ShowDetails = shown;
    cmdShowDetails.checked = shown;
    cmdToolShowDetails.checked = shown;
    if (shown) {
        Height = kDetailsShownHeight;
        return;
    }
    const auto [major, minor] = platform_.OsVersion();
    const bool older = major < 5 || (major == 5 && minor < 1);
    Height = older ? olderHeight : kDetailsHiddenHeight;
}

}  // namespace kestrune
