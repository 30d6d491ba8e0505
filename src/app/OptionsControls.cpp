// The options dialog's pages and controls, in the order a person meets them.

#include "app/Kestrune.h"

namespace kestrune {

namespace {

using K = ControlKind;

ListRows ToolPathRows(const Kestrune& k) {
    ListRows rows;
    for (const ToolPathListRow& row : k.frmOptions.ToolRows) {
        rows.push_back({row.tool, row.path});
    }
    return rows;
}

ListRows PresetRows(const Kestrune& k) {
    ListRows rows;
    for (const std::string& entry : k.frmOptions.Presets) {
        rows.push_back({entry});
    }
    return rows;
}

constexpr ControlRow kRows[] = {
    {.name = KESTRUNE_CONTROL(TfrmOptions, tabMain),
     .kind = K::Tabs,
     .bounds = {8, 8, 289, 305},
     .accessibleName = "Pages",
     .value = [](const Kestrune& k) { return k.frmOptions.Page; }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, tabGeneral),
     .kind = K::Page,
     .parent = "tabMain",
     .caption = "General",
     .click = [](Kestrune& k) { k.frmOptions.SetPage(0); }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, tabPaths),
     .kind = K::Page,
     .parent = "tabMain",
     .caption = "Paths",
     .click = [](Kestrune& k) { k.frmOptions.SetPage(1); }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, tabPresets),
     .kind = K::Page,
     .parent = "tabMain",
     .caption = "Presets",
     .click = [](Kestrune& k) { k.frmOptions.SetPage(2); }},

    {.name = KESTRUNE_CONTROL(TfrmOptions, lblTrancparency),
     .kind = K::Label,
     .parent = "tabGeneral",
     .caption = "Transparency:",
     .bounds = {8, 8, 0, 0}},
    {.name = KESTRUNE_CONTROL(TfrmOptions, sldTrancparency),
     .kind = K::Slider,
     .parent = "tabGeneral",
     .bounds = {8, 24, 265, 25},
     .hint = kOpaqueAlphaTip,
     .accessibleName = "Transparency",
     .low = 0,
     .high = TfrmOptions::kSliderMax,
     .set = [](Kestrune& k, int position) { k.frmOptions.sldTrancparencyChange(position); },
     .value = [](const Kestrune& k) { return k.frmOptions.SliderPosition; }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, lblSolid),
     .kind = K::Label,
     .parent = "tabGeneral",
     .caption = "Solid",
     .bounds = {16, 48, 0, 0}},
    {.name = KESTRUNE_CONTROL(TfrmOptions, lblTransparent),
     .kind = K::Label,
     .parent = "tabGeneral",
     .caption = "Transparent",
     .bounds = {208, 48, 0, 0}},
    {.name = KESTRUNE_CONTROL(TfrmOptions, lblRecentFiles),
     .kind = K::Label,
     .parent = "tabGeneral",
     .caption = "Recent Files:",
     .bounds = {8, 72, 0, 0}},
    {.name = KESTRUNE_CONTROL(TfrmOptions, txtRecentFiles),
     .kind = K::Edit,
     .parent = "tabGeneral",
     .caption = "4",
     .bounds = {16, 88, 57, 21},
     .accessibleName = "Recent Files"},
    {.name = KESTRUNE_CONTROL(TfrmOptions, numRecentFiles),
     .kind = K::UpDown,
     .parent = "tabGeneral",
     .bounds = {72, 86, 17, 25},
     .accessibleName = "Recent Files",
     .set = [](Kestrune& k, int position) { k.frmOptions.numRecentFilesClick(position); },
     .value = [](const Kestrune& k) { return k.frmOptions.RecentPosition; }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, lblAssociateWith),
     .kind = K::Label,
     .parent = "tabGeneral",
     .caption = "Associate With:",
     .bounds = {8, 120, 0, 0}},
    {.name = KESTRUNE_CONTROL(TfrmOptions, cmdZRPFiles),
     .kind = K::Button,
     .parent = "tabGeneral",
     .caption = ".ZRP Files",
     .bounds = {16, 136, 75, 25},
     .click = [](Kestrune& k) { k.frmOptions.cmdZRPFilesClick(); }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, lblDisplayLanguage),
     .kind = K::Label,
     .parent = "tabGeneral",
     .caption = "Language:",
     .bounds = {8, 168, 0, 0},
     .flags = kViewPreference},
    {.name = KESTRUNE_CONTROL(TfrmOptions, cboDisplayLanguage),
     .kind = K::DropDown,
     .parent = "tabGeneral",
     .bounds = {16, 184, 121, 21},
     .flags = kViewPreference,
     .accessibleName = "{}",
     .labelledBy = "lblDisplayLanguage",
     .set = [](Kestrune& k, int choice) { k.frmOptions.cboDisplayLanguageChange(choice); },
     .value = [](const Kestrune& k) { return static_cast<int>(k.frmOptions.Language()); },
     // Each language by its own name, so it can be found by someone who reads only that one.
     .rows =
         [](const Kestrune&) {
             return ListRows{{"System"}, {"中文"}, {"English"}};
         }},

    {.name = KESTRUNE_CONTROL(TfrmOptions, lstToolPaths),
     .kind = K::ToolPathList,
     .parent = "tabPaths",
     .bounds = {8, 8, 265, 137},
     .accessibleName = "Tool Paths",
     .click = [](Kestrune& k) { k.frmOptions.lstToolPathsClick(); },
     .rows = &ToolPathRows,
     .selected = [](const Kestrune& k) { return k.frmOptions.SelectedToolRow; },
     .select =
         [](Kestrune& k, int row) {
             k.frmOptions.SelectToolRow(row);
             k.frmOptions.lstToolPathsClick();
         }},
    // Each path box is named after the label above it, and its "..." after what it chooses.
    {.name = KESTRUNE_CONTROL(TfrmOptions, lblBrowseTool),
     .kind = K::Label,
     .parent = "tabPaths",
     .caption = "Tool Path:",
     .bounds = {8, 152, 0, 0}},
    {.name = KESTRUNE_CONTROL(TfrmOptions, txtToolPath),
     .kind = K::Edit,
     .parent = "tabPaths",
     .bounds = {8, 168, 241, 21},
     .accessibleName = "{}",
     .labelledBy = "lblBrowseTool"},
    {.name = KESTRUNE_CONTROL(TfrmOptions, cmdBrowseTool),
     .kind = K::Button,
     .parent = "tabPaths",
     .caption = "...",
     .bounds = {256, 168, 21, 21},
     .accessibleName = "Choose {}",
     .labelledBy = "lblBrowseTool",
     .click = [](Kestrune& k) { k.frmOptions.cmdBrowseToolClick(); }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, lblBrowseGame),
     .kind = K::Label,
     .parent = "tabPaths",
     .caption = "Base Path:",
     .bounds = {8, 192, 0, 0}},
    {.name = KESTRUNE_CONTROL(TfrmOptions, txtBase),
     .kind = K::Edit,
     .parent = "tabPaths",
     .bounds = {8, 208, 241, 21},
     .accessibleName = "{}",
     .labelledBy = "lblBrowseGame"},
    {.name = KESTRUNE_CONTROL(TfrmOptions, cmdBrowseBase),
     .kind = K::Button,
     .parent = "tabPaths",
     .caption = "...",
     .bounds = {256, 208, 21, 21},
     .accessibleName = "Choose {}",
     .labelledBy = "lblBrowseGame",
     .click = [](Kestrune& k) { k.frmOptions.cmdBrowseBaseClick(); }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, lblBrowseMap),
     .kind = K::Label,
     .parent = "tabPaths",
     .caption = "File Destination Path:",
     .bounds = {8, 232, 0, 0}},
    {.name = KESTRUNE_CONTROL(TfrmOptions, txtFile),
     .kind = K::Edit,
     .parent = "tabPaths",
     .bounds = {8, 248, 241, 21},
     .accessibleName = "{}",
     .labelledBy = "lblBrowseMap"},
    {.name = KESTRUNE_CONTROL(TfrmOptions, cmdBrowseFile),
     .kind = K::Button,
     .parent = "tabPaths",
     .caption = "...",
     .bounds = {256, 248, 21, 21},
     .accessibleName = "Choose {}",
     .labelledBy = "lblBrowseMap",
     .click = [](Kestrune& k) { k.frmOptions.cmdBrowseFileClick(); }},

    {.name = KESTRUNE_CONTROL(TfrmOptions, lstPresets),
     .kind = K::PresetList,
     .parent = "tabPresets",
     .bounds = {8, 8, 265, 225},
     .accessibleName = "Presets",
     .rows = &PresetRows,
     .selected = [](const Kestrune& k) { return k.frmOptions.SelectedPreset; },
     .select = [](Kestrune& k, int row) { k.frmOptions.SelectPreset(row); }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, cmdAddPreset),
     .kind = K::Button,
     .parent = "tabPresets",
     .caption = "&Add",
     .bounds = {120, 244, 75, 25},
     .click = [](Kestrune& k) { k.frmOptions.cmdAddPresetClick(); }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, cmdRemovePreset),
     .kind = K::Button,
     .parent = "tabPresets",
     .caption = "&Remove",
     .bounds = {200, 244, 75, 25},
     .click = [](Kestrune& k) { k.frmOptions.cmdRemovePresetClick(); }},

    {.name = KESTRUNE_CONTROL(TfrmOptions, cmdOK),
     .kind = K::DefaultButton,
     .caption = "&OK",
     .bounds = {144, 320, 75, 25},
     .click = [](Kestrune& k) { k.frmOptions.cmdOKClick(); }},
    {.name = KESTRUNE_CONTROL(TfrmOptions, cmdCancel),
     .kind = K::Button,
     .caption = "&Cancel",
     .bounds = {224, 320, 75, 25},
     .click = [](Kestrune& k) { k.frmOptions.cmdCancelClick(); }},
};

}  // namespace

ControlTable TfrmOptions::Controls() {
    return kRows;
}

}  // namespace kestrune
