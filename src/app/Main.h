#pragma once
// The main window's logic: start-up, the preset commands, the input file, the stages list,
// running the chain, the settings and recent lists, the tray and the details pane. Every
// control is a ControlState member named like the control; a view mirrors them after each
// event and forwards the user's events to the handlers below.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppState.h"
#include "app/ControlTable.h"
#include "app/DialogHost.h"
#include "app/RunRecord.h"
#include "base/ControlState.h"
#include "base/Platform.h"
#include "presets/PresetFile.h"
#include "script/BatchBuilder.h"
#include "specification/StateListener.h"

namespace kestrune {

class TfrmOptions;
class TfrmAbout;

// Mouse events that reach the tray icon.
enum class TrayMouse { RightButtonDown, LeftButtonDown, LeftDoubleClick };

// The window's designed size and place; the settings file overrides the place.
inline constexpr int kDesignedLeft = 282;
inline constexpr int kDesignedTop = 90;
inline constexpr int kClientWidth = 704;
inline constexpr int kClientHeight = 528;

// The caption of a window whose preset has no file yet.
inline constexpr const char* kUntitledCaption = "untitled.zrp - Kestrune";

class TfrmMain final : public DialogHost, public ControlWindow {
  public:
    static constexpr WindowId kWindowId = WindowId::Main;
    // `executablePath` is the program's own full path (the association's command).
    TfrmMain(Platform& platform, const std::string& programFolder, std::string executablePath = {});
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    AppState& State() override { return state_; }
    const AppState& State() const override { return state_; }
    Platform& platform() const override { return platform_; }
    const std::string& ExecutablePath() const override { return executablePath_; }
    void AboutBoxOpaque() override;

    // Created after this window at program start; the main window opens them.
    TfrmOptions* frmOptions = nullptr;
    TfrmAbout* frmAbout = nullptr;

    // ---- Window state
    std::string Caption = "Kestrune";  // the caption and the application's title
    bool FirstShowDone = false;
    bool Visible = false;  // shown on the desktop
    bool InTray = false;   // the tray icon stands in for the window
    bool Closed = false;   // the window closed; the program ends
    int Left = kDesignedLeft;
    int Top = kDesignedTop;
    std::optional<int> Height;  // outer height set by the details toggle; none: designed size
    int ActiveTab = 0;          // the shown program tab
    // The arguments of the program's command line, without the program's name.
    std::vector<std::string> CommandLine;

    // ---- Controls of the window
    ControlState tabMain, lblStages, lstStages, chkRememberFile, txtFile, cmdBrowse, cmdCompile,
        txtDetails;
    ControlState cmdToolNewPreset, cmdToolOpenPreset, cmdToolSavePreset, cmdToolRun,
        cmdToolShowDetails;
    // ---- Main menu
    ControlState cmdFileMenu, cmdNewPreset, cmdNewFromProgram, cmdOpenPreset, cmdImportPreset,
        cmdSavePreset, cmdSavePresetAs, cmdOpenFile, cmdLaunchREDA, cmdLaunchREDAWith,
        cmdSendToTray, cmdExit;
    MenuState cmdRecentPresets, cmdRecentFiles;
    ControlState cmdReloadSpecification;
    ControlState cmdCompileMenu, cmdRunBatchFile, cmdStopRun, cmdSaveBatchAs;
    MenuState cmdPresetsMenu, cmdSpecificationsMenu;
    ControlState cmdOptionsMenu, cmdSetup, cmdViewLogAfterCompile, cmdCloseProgramOnRun,
        cmdClearEmptyFields, cmdShowDetails, cmdShowScriptPreview;
    MenuState cmdLinks;
    ControlState cmdHelpMenu, cmdOnlineHelp, cmdSpecificationHelp, cmdAboutKestrune;
    // ---- Pop-up menus
    ControlState cmdTabReset, cmdTabClearEmptyFields, cmdStagesClear;
    MenuState mnuRunStages;  // the drop-down of cmdToolRun
    // ---- Tray menu
    ControlState cmdTrayRestore, cmdTrayCompile, cmdTrayStop, cmdTrayLaunchREDA,
        cmdTrayLaunchREDAWith, cmdTrayExit;
    MenuState cmdTrayRun;

    // ---- Form events
    void FormCreate();
    void FormShow();
    // A close request (close box, Exit, tray Exit, close after Run). True when the window
    // closed; the settings are written either way.
    bool FormClose();
    void FormDestroy();
    // The user moved the window: its outer top-left corner, kept in the settings.
    void FormMove(int left, int top);

    // ---- Preset commands
    // The save-changes prompt; true when the caller may discard the current values. A Yes
    // whose save did not happen (dialog cancelled, write failed) answers false.
    bool ConfirmSavePreset();
    // Opens the preset named on a command line, or says that it is missing; `ask` puts the
    // save-changes prompt first (a later start handing over its argument).
    void OpenCommandLinePreset(const std::string& argument, bool ask);
    bool OpenPreset(const std::string& path, PresetMode mode);
    void cmdNewPresetClick();
    void cmdOpenPresetClick();
    void cmdImportPresetClick();
    // Drafts a specification from a chosen program's --help into SpecFiles/ and loads it.
    void cmdNewFromProgramClick();
    // True when the preset was written.
    bool cmdSavePresetClick();
    bool cmdSavePresetAsClick();

    // ---- Input file, stages, tabs and toggles
    void SetInputFile(const std::string& path);
    void cmdBrowseClick();
    void txtFileChange();
    // Sets the mark of a stages-list entry, as the user's click on its box does.
    void SetStageMark(std::size_t entry, bool checked);
    void lstStagesClick();
    void cmdStagesClearClick();
    void cmdTabResetClick();
    void cmdTabClearEmptyFieldsClick();
    void cmdClearEmptyFieldsClick();
    void chkRememberFileClick();
    void cmdViewLogAfterCompileClick();
    void cmdCloseProgramOnRunClick();
    // Makes program tab `index` the active one; out-of-range indexes are ignored.
    void SetActiveTab(int index);

    // ---- Run and the log viewer
    void cmdCompileClick();
    // An entry of the Run drop-down or of the tray's Run sub-menu.
    void RunStageClick(std::size_t entry);
    void cmdSaveBatchAsClick();
    // Ends the running chain's whole process group.
    void cmdStopRunClick();
    // Reads how the run stands (the view calls it every second): RunStatus and the Stop
    // commands follow, and RunEndings counts a run seen ending.
    void WatchRun();
    void cmdLaunchREDAClick();
    void cmdLaunchREDAWithClick();

    // ---- The run of the chain (Linux: through the wrapper that records it)
    RunRecord Run;
    std::string RunStatus;  // one line; empty while no run is recorded
    int RunEndings = 0;     // bumped when a run the window saw going has ended
    // The details pane: the run's status on its first line, then the details of the field
    // under the mouse.
    std::string DetailsPaneText() const;
    // Seconds since the epoch; tests set a clock of their own.
    std::function<std::int64_t()> Clock;

    // ---- The script preview
    // Shows or hides the preview; the settings keep it only while it is shown.
    void cmdShowScriptPreviewClick();
    void ShowScriptPreview(bool shown);
    // The stage the preview shows: an entry of the Run drop-down, or none for the whole run.
    std::optional<std::size_t> PreviewStage;
    // The script Run would write now for the whole run or the stage of `PreviewStage` (the
    // drop-down's entry `hovered` instead when given), without writing anything.
    ScriptPreview Preview(std::optional<std::size_t> hovered = std::nullopt) const;

    // ---- Catalogue and Links
    // Lists SpecFiles/ (the user's and, when installed, the shipped one) and builds the
    // Specifications menu.
    void ScanSpecifications(const std::vector<std::string>& folders);
    void SelectSpecification(std::size_t entry);
    void LinkClick(std::size_t entry);
    // Reads the loaded specification again and gives the new fields the form's values, matched
    // by program and field caption as a preset's are; a field that is gone is dropped, a new
    // one gets its default. The input file, the stage ticks, the preset's file and its changed
    // state stay; nothing is asked. Without a loaded specification, or while its file is
    // missing (an editor replacing it), nothing happens.
    void cmdReloadSpecificationClick();
    // The file the loaded specification was read from; empty before the first load.
    std::string LoadedSpecificationPath() const;
    // Puts the lint's findings for the loaded specification into the details pane, or empties
    // the pane when there are none.
    void ShowSpecificationFindings();

    // ---- Settings and recent lists
    std::string SettingsPath() const;
    // Reads the settings file; a missing file keeps every default. Throws IoError when it
    // exists but cannot be read.
    void ReadSettings(const std::string& path);
    // The exact bytes the settings file receives.
    std::string SettingsText() const;
    // Throws IoError when the file cannot be written.
    void WriteSettings(const std::string& path) const;
    void AddRecentPreset(const std::string& path);
    void AddRecentFile(const std::string& path);
    void TruncateRecentLists() override;
    void RebuildPresetsMenu() override;
    void RecentPresetClick(std::size_t entry);
    void RecentFileClick(std::size_t entry);
    void PresetsMenuClick(std::size_t entry);

    // ---- Options, help and about
    void cmdSetupClick();
    void cmdAboutKestruneClick();
    void cmdOnlineHelpClick();
    // Opens the specification language's reference with the desktop's opener.
    void cmdSpecificationHelpClick();

    // ---- Tray and details
    void cmdSendToTrayClick();
    void TrayCallback(TrayMouse event);
    void cmdTrayRestoreClick();
    void cmdExitClick() { FormClose(); }
    void cmdShowDetailsClick();
    // `olderHeight` is the hidden height on systems older than 5.1.
    void ApplyDetailsVisibility(bool shown, int olderHeight);

    // The full long form of a command-line path; empty when it cannot be resolved.
    std::string ExpandLongPath(const std::string& path) const;

    // The window's controls, menus, tool bar and tray menu as it declares them.
    static ControlTable Controls();

    // The outer size of the window at its designed client size.
    static int OuterWidth();
    static int DesignedOuterHeight();

  private:
    // One line of the settings file that sets an option or the window's place; false for a key
    // that is neither.
    bool ReadOptionSetting(const std::string& key, const std::string& value);
    bool ReadPlacementSetting(const std::string& key, const std::string& value,
                              const ScreenRect& workArea);
    // A window stored entirely left of or above the work area comes back onto it.
    void KeepOnWorkArea(const ScreenRect& workArea);

    // What the loader and the preset reader tell the window about its state.
    struct Listener final : StateListener {
        explicit Listener(TfrmMain& window) : owner(window) {}
        void SpecificationReset() override;
        void InputFileSet(const std::string& path) override;
        void SpecificationNamed(const std::string& specFileName) override;
        TfrmMain& owner;
    };

    void ShowError(const std::string& text) const;
    // The run group follows the input file.
    void EnableRunGroup(bool enabled);
    void EnableSpecificationGroup(bool enabled);
    // Every control whose row carries `group`.
    void EnableGroup(std::uint8_t group, bool enabled);
    void RebuildLinksMenu();
    void SetPresetCaption();
    // What the window switches when a specification has been reset for loading.
    void SpecificationLoaded();
    // The Run drop-down and the tray's Run sub-menu from the run-stage entries.
    void RebuildRunStageMenus();
    void MarkSpecification(std::string_view specFileName);
    // Runs the steps shared by Run and the single-stage runs once the script was written.
    void StartScript();
    // True when no run is going, or the user wants another one.
    bool ConfirmAnotherRun();
    // True when the written script may run: no typed shell syntax from a preset the user did
    // not make or trust, or the user said yes.
    bool PresetValuesMayRun(const std::string& scriptPath);
    // The values now on the form came from this preset file, whose bytes then had this hash.
    void NoteLoadedPreset(const std::string& path);
    // The user saved the form's values as this preset: they are the user's own.
    void TrustSavedPreset(const std::string& path);
    std::string TrustPath() const;
    std::int64_t Now() const;
    std::string LogPath() const;
    FileDialogRequest PresetDialog(const char* title) const;

    Platform& platform_;
    std::string executablePath_;
    // The form's values a reload applies while the specification stops early, kept from the
    // last reload that read it whole, so values of programs after the stop are not lost.
    std::string carriedSpecFile_;
    std::string carriedValues_;
    bool reloading_ = false;
    AppState state_;
    std::string loadedPreset_;  // empty: the values are the user's own
    std::string loadedPresetHash_;
    Listener listener_{*this};
};

}  // namespace kestrune
