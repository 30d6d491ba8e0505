#pragma once
// The one record of shared state: the loaded specification and its programs, the configured
// paths, the input file, the current preset, the toggles and the lists, and the state of the
// main-window controls that the core switches. Plain data; no window system needed.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ControlState.h"
#include "fields/FieldContext.h"
#include "fields/Group.h"

namespace kestrune {

inline constexpr const char* kVersionText = "2.0.3.1";
inline constexpr const char* kUnknown = "Unknowen";

struct StageItem {  // an entry of the stages list
    std::string caption;
    bool checked = false;
};

struct RunStageEntry {  // an entry of a run-stage menu
    std::string caption;
    int index = 0;  // the program's position in the program list
};

struct LinkEntry {  // an entry of the Links menu
    std::string caption;
    std::string address;
};

struct MenuEntry {  // a plain menu entry with a check mark
    std::string caption;
    bool checked = false;
};

// Main-window controls whose availability the core decides.
struct MainControls {
    ControlState cmdNewPreset, cmdImportPreset, cmdSavePreset, cmdSavePresetAs;
    ControlState cmdToolNewPreset, cmdToolSavePreset;
    ControlState cmdBrowse, cmdRecentFiles, cmdOpenFile, cmdClearEmptyFields;
    ControlState chkRememberFile;
    ControlState cmdCompile, cmdRunBatchFile, cmdToolRun, cmdTrayCompile, cmdTrayRun;
    ControlState cmdSaveBatchAs;
    ControlState cmdLinks;
    ControlState cmdSpecificationsMenu;
    ControlState tabMain;
};

struct AppState : FieldContext {
    AppState();
    explicit AppState(std::string programFolder);
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    // Ends with a separator; SpecFiles/, Config/, compile.bat and REDA.exe live in it.
    std::string ProgramFolder;
    std::string VersionText = kVersionText;

    // The loaded specification.
    std::string SpecFileName;
    std::string SpecName;
    std::string SpecAuthor;
    std::string SpecProgram;
    std::optional<std::string> InputFilter;  // filter of the input-file dialog, when set
    std::optional<std::string> BaseLabel;    // caption of the options dialog's base-path label
    std::vector<std::string> LayoutLines;
    std::vector<std::unique_ptr<TZRGroup>> Programs;
    std::vector<StageItem> lstStages;
    std::vector<RunStageEntry> mnuRunStages;
    std::vector<RunStageEntry> TrayRunStages;  // the cmdTrayRun submenu
    std::vector<LinkEntry> Links;
    std::vector<MenuEntry> SpecificationsMenu;
    TabSize Tab;  // client area of a program tab; the layout depends on it
    // Bumped whenever the programs are rebuilt, so the view knows to rebuild its tabs.
    int StructureVersion = 0;

    // The input file as shown in txtFile (its parts are the file variables).
    std::string InputFile;

    std::string PresetFileName;        // empty while the preset is untitled
    std::string Caption = "Kestrune";  // the main window's caption and the application title

    bool ViewLogAfterCompile = false;
    bool CloseProgramOnRun = false;
    bool ShowDetails = true;
    std::uint8_t Opacity = 255;
    std::int32_t RecentCount = 4;
    std::vector<std::string> RecentPresetList;
    std::vector<std::string> RecentFileList;
    std::vector<std::string> PresetList;

    // Shared by the specification, preset and settings readers for their messages.
    std::int32_t LineCounter = 0;

    MainControls controls;

    bool HasSpecification() const { return !Programs.empty(); }
    // The system's folder chooser; the empty text when the user cancels.
    std::string ChooseFolder() const;
    // The program with this exact name, or nullptr.
    TZRGroup* FindProgram(std::string_view name) const;

    std::string SpecFolder() const { return ProgramFolder + "SpecFiles" + kPathSeparatorText; }
    std::string ConfigFolder() const { return ProgramFolder + "Config" + kPathSeparatorText; }
    std::string ScriptPath() const { return ProgramFolder + "compile.bat"; }
    std::string LogViewerPath() const { return ProgramFolder + "REDA.exe"; }

    static const char* const kPathSeparatorText;
};

// Makes `path` the input file: shows it, enables the run commands, splits it into the file
// variables, marks the preset changed when the file is remembered, and adds it to the recent
// input files.
void SetInputFile(AppState& state, const std::string& path);

// Moves `path` to the front of a recent list (adding it when missing) and cuts the list to
// `count` entries.
void AddRecent(std::vector<std::string>& list, const std::string& path, std::int32_t count);

// The folder of the running executable, with a final separator.
std::string ExecutableFolder(const char* argv0);

}  // namespace kestrune
