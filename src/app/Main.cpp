#include "app/Main.h"

#include "app/About.h"
#include "app/Options.h"
#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/Text.h"

namespace kestrune {

namespace {

// Frame sizes of the designed window: a single border and a caption bar with a menu bar.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 54;

}  // namespace

TfrmMain::TfrmMain(Platform& platform, const std::string& programFolder, std::string executablePath)
    : ControlWindow(kWindowId),
      platform_(platform),
      executablePath_(std::move(executablePath)),
      state_(programFolder) {
    state_.Specification.Listener = &listener_;
    state_.Fields.platform = platform_;
    ApplyDesign(Controls(), *this);
}

int TfrmMain::OuterWidth() {
    return kClientWidth + kFrameWidth;
}

int TfrmMain::DesignedOuterHeight() {
    return kClientHeight + kFrameHeight;
}

void TfrmMain::ShowError(const std::string& text) const {
    platform_.ShowMessage(MessageKind::Error, text);
}

// ---- Form events

void TfrmMain::FormCreate() {
    // Numbers are formatted with "." by the core whatever the locale, so step 1 has nothing
    // to switch here.
    state_.Script.VersionText = kVersionText;
    state_.RecentCount = kDefaultRecentCount;
    FirstShowDone = false;
    ScanSpecifications(state_.Specification.SpecFolders());
    try {
        ReadSettings(SettingsPath());
    } catch (const IoError& error) {
        // An unreadable settings file must not stop the start; the defaults stay.
        ShowError(error.what());
    }
}

void TfrmMain::FormShow() {
    Visible = true;
    // A run started before this window opened is still followed.
    WatchRun();
    if (FirstShowDone) {
        return;
    }
    if (CommandLine.size() == 1) {
        OpenCommandLinePreset(CommandLine.front(), false);
    } else {
        if (!state_.RecentPresetList.empty()) {
            OpenPreset(state_.RecentPresetList.front(), PresetMode::Open);
        }
        if (state_.Input.InputFile.empty() && !state_.RecentPresetList.empty() &&
            !state_.RecentFileList.empty() && state_.Specification.HasSpecification()) {
            SetInputFile(state_.RecentFileList.front());
        }
    }
    state_.Fields.PresetChanged = false;
    FirstShowDone = true;
}

void TfrmMain::OpenCommandLinePreset(const std::string& argument, bool ask) {
    if (!FileExists(argument)) {
        ShowError("File not found: " + QuotedLine(argument));
    } else if (!ask || ConfirmSavePreset()) {
        OpenPreset(ExpandLongPath(argument), PresetMode::Open);
    }
}

bool TfrmMain::FormClose() {
    const bool closes = ConfirmSavePreset();
    try {
        EnsureFolder(state_.Specification.ConfigFolder());
        WriteSettings(SettingsPath());
    } catch (const IoError& error) {
        ShowError(std::string(error.what()) +
                  "\r\nThe settings could not be saved; your presets are not affected.");
    }
    if (closes) {
        Closed = true;
        Visible = false;
        FormDestroy();
    }
    return closes;
}

void TfrmMain::FormDestroy() {
    InTray = false;
}

void TfrmMain::FormMove(int left, int top) {
    Left = left;
    Top = top;
}

// ---- Options, help and about

void TfrmMain::cmdSetupClick() {
    if (frmOptions != nullptr) {
        frmOptions->Open();
    }
}

void TfrmMain::AboutBoxOpaque() {
    if (frmAbout != nullptr) {
        frmAbout->Alpha = kOpaqueAlpha;
        frmAbout->Translucent = false;
    }
}

void TfrmMain::cmdAboutKestruneClick() {
    if (frmAbout != nullptr) {
        frmAbout->Open();
    }
}

void TfrmMain::cmdOnlineHelpClick() {
    platform_.ShellOpen(kOnlineHelpAddress, {});
}

std::string TfrmMain::ExpandLongPath(const std::string& path) const {
    return platform_.LongPathName(path);
}

}  // namespace kestrune
