#pragma once
// The options dialog: translucency, the length of the recent lists, the paths of the loaded
// specification, the favourite presets, and the preset-file association. Nothing is applied
// until OK.

#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/ControlTable.h"
#include "app/DialogHost.h"

namespace kestrune {

struct ToolPathListRow {
    std::string tool;
    std::string path;
};

class TfrmOptions : public ControlWindow {
  public:
    static constexpr WindowId kWindowId = WindowId::Options;
    explicit TfrmOptions(DialogHost& main);
    TfrmOptions(const TfrmOptions&) = delete;
    TfrmOptions& operator=(const TfrmOptions&) = delete;

    bool IsOpen = false;
    std::string Caption = "Kestrune Options";
    int Page = 0;  // 0 General, 1 Paths, 2 Presets
    bool Translucent = false;
    int Alpha = kOpaqueAlpha;

    // ---- General
    ControlState tabMain, tabGeneral, tabPaths, tabPresets;
    ControlState lblTrancparency, sldTrancparency, lblSolid, lblTransparent;
    int SliderPosition = 0;  // 0..kSliderMax; alpha is kOpaqueAlpha minus the position
    std::string SliderTip = kOpaqueAlphaTip;
    ControlState lblRecentFiles, txtRecentFiles, numRecentFiles;
    int RecentPosition = kDefaultRecentCount;  // the up-down's position, 1..12
    ControlState lblAssociateWith, cmdZRPFiles;
    // The captions' language: applied at once, so the user sees the choice; Cancel takes back
    // the language the dialog was opened with.
    ControlState lblDisplayLanguage, cboDisplayLanguage;
    // ---- Paths
    ControlState lstToolPaths;
    std::vector<ToolPathListRow> ToolRows;
    int SelectedToolRow = -1;
    ControlState lblBrowseTool, txtToolPath, cmdBrowseTool;
    ControlState lblBrowseGame, txtBase, cmdBrowseBase;
    ControlState lblBrowseMap, txtFile, cmdBrowseFile;
    // ---- Presets
    ControlState lstPresets;
    std::vector<std::string> Presets;
    int SelectedPreset = -1;
    ControlState cmdAddPreset, cmdRemovePreset;
    ControlState cmdOK, cmdCancel;

    // Opening from the main window's Options item: the opening steps, then shown modally.
    void Open();
    void SetPage(int page);
    // The slider moved to `position` (clamped to its range).
    void sldTrancparencyChange(int position);
    // The up-down moved to `position` (clamped to 1..12).
    void numRecentFilesClick(int position);
    // Selects a tool row (-1: none), then the list's click.
    void SelectToolRow(int row);
    void lstToolPathsClick();
    void cmdBrowseToolClick();
    void cmdBrowseBaseClick();
    void cmdBrowseFileClick();
    void SelectPreset(int row);
    void cmdAddPresetClick();
    void cmdRemovePresetClick();
    void cmdZRPFilesClick();
    // Entry `choice` of the language list: 0 System, 1 Chinese, 2 English (others ignored).
    void cboDisplayLanguageChange(int choice);
    void cmdOKClick();
    void cmdCancelClick();

    LanguageChoice Language() const { return main_.State().Language; }

    // The dialog's pages and controls as it declares them.
    static ControlTable Controls();
    // The texts a replay's dump shows beside the controls, by name.
    std::vector<std::pair<std::string_view, std::string>> DumpTexts() const;

    static constexpr int kSliderMax = kOpaqueAlpha - kLowestAlpha;

  private:
    DialogHost& main_;
    LanguageChoice languageAtOpen_ = LanguageChoice::System;
};

}  // namespace kestrune
