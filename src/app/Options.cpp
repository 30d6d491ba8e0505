#include "app/Options.h"

#include <algorithm>

#include "app/Association.h"
#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "specification/ToolPathFile.h"

namespace kestrune {

namespace {

constexpr int kRecentMin = 1;
constexpr int kRecentMax = 12;

}  // namespace

TfrmOptions::TfrmOptions(DialogHost& main) : ControlWindow(kWindowId), main_(main) {
    ApplyDesign(Controls(), *this);
}

std::vector<std::pair<std::string_view, std::string>> TfrmOptions::DumpTexts() const {
    return {{"recentText", txtRecentFiles.text},
            {"txtToolPath", txtToolPath.text},
            {"txtBase", txtBase.text},
            {"txtFile", txtFile.text},
            {"lblBrowseTool", lblBrowseTool.text},
            {"lblBrowseGame", lblBrowseGame.text}};
}

void TfrmOptions::Open() {
    const AppState& state = main_.State();
    languageAtOpen_ = state.Language;
    Alpha = state.Opacity;
    Translucent = state.Opacity != kOpaqueAlpha;
    sldTrancparencyChange(kOpaqueAlpha - state.Opacity);
    txtRecentFiles.text = std::to_string(state.RecentCount);
    RecentPosition = std::clamp(state.RecentCount, kRecentMin, kRecentMax);
    txtBase.text = state.Fields.Files.BasePath;
    txtFile.text = state.Fields.Files.FileDest;
    lblBrowseGame.text = state.Specification.BaseLabel.value_or("Base Path:");
    lblBrowseTool.text = "Tool Path:";
    txtToolPath.text.clear();
    cmdBrowseTool.enabled = false;
    ToolRows.clear();
    SelectedToolRow = -1;
    for (const auto& program : state.Specification.Programs) {
        if (program->RequireExe) {
            ToolRows.push_back({program->Name, program->ToolPath});
        }
    }
    Presets = state.PresetList;
    SelectedPreset = -1;
    IsOpen = true;
}

void TfrmOptions::SetPage(int page) {
    Page = std::clamp(page, 0, 2);
}

void TfrmOptions::sldTrancparencyChange(int position) {
    SliderPosition = std::clamp(position, 0, kSliderMax);
    SliderTip = "Alpha = " + std::to_string(kOpaqueAlpha - SliderPosition);
    sldTrancparency.hint = SliderTip;
}

void TfrmOptions::numRecentFilesClick(int position) {
    RecentPosition = std::clamp(position, kRecentMin, kRecentMax);
    txtRecentFiles.text = std::to_string(RecentPosition);
}

void TfrmOptions::SelectToolRow(int row) {
    SelectedToolRow = row >= 0 && row < static_cast<int>(ToolRows.size()) ? row : -1;
}

void TfrmOptions::lstToolPathsClick() {
    if (SelectedToolRow < 0) {
        return;
    }
    const ToolPathListRow& row = ToolRows[SelectedToolRow];
    lblBrowseTool.text = row.tool + " Path:";
    txtToolPath.text = row.path;
    cmdBrowseTool.enabled = true;
}

void TfrmOptions::cmdBrowseToolClick() {
    // The button stays enabled after the selection was cleared; without a row there is no
    // path to set.
    if (SelectedToolRow < 0) {
        return;
    }
    ToolPathListRow& row = ToolRows[SelectedToolRow];
    FileDialogRequest request;
    const TZRGroup* program = main_.State().Specification.FindProgram(row.tool);
    request.filter = program != nullptr ? program->ExeFilter : "All Files (*.*)|*.*";
    if (FileExists(txtToolPath.text)) {
        request.initialFolder = std::string(FolderPart(txtToolPath.text));
    }
    if (const auto chosen = main_.platform().OpenFileDialog(request); chosen && !chosen->empty()) {
        txtToolPath.text = *chosen;
        row.path = *chosen;
    }
}

void TfrmOptions::cmdBrowseBaseClick() {
    if (std::string folder = main_.State().ChooseFolder(); !folder.empty()) {
        txtBase.text = std::move(folder);
    }
}

void TfrmOptions::cmdBrowseFileClick() {
    if (std::string folder = main_.State().ChooseFolder(); !folder.empty()) {
        txtFile.text = std::move(folder);
    }
}

void TfrmOptions::SelectPreset(int row) {
    SelectedPreset = row >= 0 && row < static_cast<int>(Presets.size()) ? row : -1;
}

void TfrmOptions::cmdAddPresetClick() {
    FileDialogRequest request;
    request.title = "Open Preset File";
    request.filter = "Preset Files (*.zrp)|*.zrp";
    request.defaultExtension = ".zrp";
    if (!Presets.empty()) {
        request.initialFolder = std::string(FolderPart(Presets.back()));
    }
    const auto chosen = main_.platform().OpenFileDialog(request);
    if (!chosen || chosen->empty()) {
        return;
    }
    const std::string name = LowerAscii(FileNamePart(*chosen));
    for (const std::string& entry : Presets) {
        if (LowerAscii(FileNamePart(entry)) == name) {
            return;
        }
    }
    Presets.push_back(*chosen);
}

void TfrmOptions::cmdRemovePresetClick() {
    if (SelectedPreset < 0) {
        return;
    }
    Presets.erase(Presets.begin() + SelectedPreset);
    SelectedPreset = -1;
}

void TfrmOptions::cmdZRPFilesClick() {
    // An installed Kestrune has its icon in the desktop's icon theme; a portable copy only
    // beside itself.
    const AppState& state = main_.State();
    const bool installed = !state.Specification.SharedFolder.empty();
    const std::string icon =
        installed ? std::string("kestrune") : state.Specification.ProgramFolder + "kestrune.svg";
    const Result<void> registered =
        RegisterPresetAssociation(main_.platform(), main_.ExecutablePath(), icon,
                                  installed ? kInstalledDesktopEntryName : kDesktopEntryName);
    if (!registered) {
        main_.platform().ShowMessage(MessageKind::Error, registered.Error());
        return;
    }
    main_.platform().ShowMessage(MessageKind::Information, "Association complete.");
}

void TfrmOptions::cmdOKClick() {
    IsOpen = false;
    AppState& state = main_.State();
    if (SliderPosition != 0) {
        state.Opacity = static_cast<std::uint8_t>(kOpaqueAlpha - SliderPosition);
    } else {
        state.Opacity = kOpaqueAlpha;
        Alpha = kOpaqueAlpha;
        Translucent = false;
        main_.AboutBoxOpaque();
    }

    if (state.Specification.HasSpecification()) {
        std::vector<ToolPathRow> rows;
        for (const ToolPathListRow& row : ToolRows) {
            if (TZRGroup* program = state.Specification.FindProgram(row.tool)) {
                program->ToolPath = row.path;
            }
            rows.push_back({row.tool, row.path});
        }
        state.PresetList = Presets;
        main_.RebuildPresetsMenu();
        try {
            WriteToolPathFile(state.Specification, txtBase.text, txtFile.text, rows);
        } catch (const IoError& error) {
            // What the user set stays applied for this session; only the file is missing.
            main_.platform().ShowMessage(MessageKind::Error, error.what());
        }
        state.Fields.Files.BasePath = txtBase.text;
        state.Fields.Files.FileDest = txtFile.text;
    }

    state.RecentCount = IntegerOr(txtRecentFiles.text, kDefaultRecentCount);
    main_.TruncateRecentLists();
}

void TfrmOptions::cmdCancelClick() {
    IsOpen = false;
    main_.State().Language = languageAtOpen_;
}

void TfrmOptions::cboDisplayLanguageChange(int choice) {
    if (choice < 0 || choice > 2) {
        return;
    }
    main_.State().Language = static_cast<LanguageChoice>(choice);
}

}  // namespace kestrune
