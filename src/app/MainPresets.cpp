// The preset commands and the input file they remember, with the controls that follow them.

#include "app/Main.h"

#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "presets/PresetFile.h"

namespace kestrune {

namespace {

constexpr const char* kPresetFilter = "Preset Files (*.zrp)|*.zrp";

std::string FolderOfFirst(const std::vector<std::string>& list) {
    return list.empty() ? std::string() : std::string(FolderPart(list.front()));
}

}  // namespace

void TfrmMain::SetPresetCaption() {
    Caption = state_.PresetFileName.empty()
                  ? std::string(kUntitledCaption)
                  : std::string(FileNamePart(state_.PresetFileName)) + " - Kestrune";
}

bool TfrmMain::ConfirmSavePreset() {
    if (!state_.Fields.PresetChanged) {
        return true;
    }
    const std::string text =
        state_.PresetFileName.empty()
            ? std::string("Save changes to untitled preset file?")
            : "Save changes to " + std::string(FileNamePart(state_.PresetFileName)) + "?";
    switch (platform_.Confirm(text)) {
        case ConfirmAnswer::Yes:
            // Going on after a save that did not happen would lose the changes.
            return cmdSavePresetClick();
        case ConfirmAnswer::No:
            return true;
        case ConfirmAnswer::Cancel:
            break;
    }
    return false;
}

bool TfrmMain::OpenPreset(const std::string& path, PresetMode mode) {
    if (!FileExists(path)) {
        ShowError(QuotedLine(path) + " not found.");
        return false;
    }
    const int structure = state_.Specification.StructureVersion;
    // Whatever part of it is read is the file's, not the user's.
    NoteLoadedPreset(path);
    const bool read = ReadPreset(state_.Specification, state_.Input, path, mode);
    RebuildRunStageMenus();
    if (state_.Specification.StructureVersion != structure) {
        ShowSpecificationFindings();
    }
    if (!read) {
        return false;
    }
    const bool hasInput = !state_.Input.InputFile.empty();
    state_.Input.RememberFile = hasInput;
    chkRememberFile.checked = hasInput;
    chkRememberFile.enabled = hasInput;
    EnableRunGroup(hasInput);

    if (mode == PresetMode::Import) {
        cmdSavePreset.enabled = false;
        state_.Fields.PresetChanged = true;
        state_.PresetFileName.clear();
    } else if (!state_.Specification.SpecificationComplete) {
        // Saving over the file would keep only the programs read before the specification
        // stopped, and lose the values of all the others: the preset opens untitled.
        cmdSavePreset.enabled = false;
        state_.Fields.PresetChanged = false;
        state_.PresetFileName.clear();
        AddRecentPreset(path);
        platform_.ShowMessage(MessageKind::Information,
                              path +
                                  " was opened as an untitled preset, because its specification "
                                  "could not be read to the end.\r\nSave it under another name "
                                  "to keep the original file whole.");
    } else {
        cmdSavePreset.enabled = true;
        AddRecentPreset(path);
        state_.Fields.PresetChanged = false;
        state_.PresetFileName = path;
    }
    SetPresetCaption();
    return true;
}

FileDialogRequest TfrmMain::PresetDialog(const char* title) const {
    FileDialogRequest request;
    request.title = title;
    request.filter = kPresetFilter;
    request.defaultExtension = ".zrp";
    request.initialFolder = FolderOfFirst(state_.RecentPresetList);
    return request;
}

void TfrmMain::cmdNewPresetClick() {
    if (!ConfirmSavePreset()) {
        return;
    }
    for (const auto& program : state_.Specification.Programs) {
        program->ResetFields();
    }
    ActiveTab = 0;
    for (StageItem& stage : state_.Specification.Stages) {
        stage.checked = false;
    }
    state_.Input.RememberFile = false;
    chkRememberFile.checked = false;
    state_.Input.InputFile.clear();
    state_.Fields.Files.InputFolder.clear();
    state_.Fields.Files.InputName.clear();
    state_.Fields.Files.InputExt.clear();
    txtFileChange();
    cmdSavePreset.enabled = false;
    chkRememberFile.enabled = false;
    EnableRunGroup(false);
    state_.PresetFileName.clear();
    loadedPreset_.clear();
    loadedPresetHash_.clear();
    SetPresetCaption();
    state_.Fields.PresetChanged = false;
}

void TfrmMain::cmdOpenPresetClick() {
    if (!ConfirmSavePreset()) {
        return;
    }
    if (const auto chosen = platform_.OpenFileDialog(PresetDialog("Open Preset File"))) {
        OpenPreset(*chosen, PresetMode::Open);
    }
}

void TfrmMain::cmdImportPresetClick() {
    if (!ConfirmSavePreset()) {
        return;
    }
    if (const auto chosen = platform_.OpenFileDialog(PresetDialog("Open Preset File"))) {
        OpenPreset(*chosen, PresetMode::Import);
    }
}

bool TfrmMain::cmdSavePresetClick() {
    if (!state_.PresetFileName.empty()) {
        if (!WritePreset(state_.Specification, state_.Input, state_.PresetFileName)) {
            return false;
        }
        TrustSavedPreset(state_.PresetFileName);
        return true;
    }
    return cmdSavePresetAsClick();
}

bool TfrmMain::cmdSavePresetAsClick() {
    const auto chosen = platform_.SaveFileDialog(PresetDialog("Save Preset File As"));
    if (!chosen || chosen->empty()) {
        return false;
    }
    // A failed write keeps the preset's old name: it was not saved under the new one.
    if (!WritePreset(state_.Specification, state_.Input, *chosen)) {
        return false;
    }
    state_.PresetFileName = *chosen;
    TrustSavedPreset(*chosen);
    AddRecentPreset(*chosen);
    SetPresetCaption();
    cmdSavePreset.enabled = true;
    return true;
}

void TfrmMain::EnableRunGroup(bool enabled) {
    EnableGroup(kRunGroup, enabled);
}

void TfrmMain::EnableSpecificationGroup(bool enabled) {
    EnableGroup(kSpecificationGroup, enabled);
}

void TfrmMain::EnableGroup(std::uint8_t group, bool enabled) {
    for (const ControlRow& row : Controls()) {
        if ((row.flags & group) != 0) {
            row.state(*this)->enabled = enabled;
        }
    }
}

void TfrmMain::SpecificationLoaded() {
    EnableSpecificationGroup(true);
    EnableRunGroup(false);
    cmdSavePreset.enabled = false;
    chkRememberFile.enabled = false;
    txtFileChange();
    ActiveTab = 0;
}

void TfrmMain::SetInputFile(const std::string& path) {
    kestrune::SetInputFile(state_.Input, state_.Fields, path);
    listener_.InputFileSet(path);
}

// What the loader and the preset reader tell the window.

void TfrmMain::Listener::SpecificationReset() {
    if (!owner.reloading_) {
        owner.carriedValues_.clear();
        owner.carriedSpecFile_.clear();
    }
    owner.SpecificationLoaded();
}

void TfrmMain::Listener::InputFileSet(const std::string& path) {
    owner.txtFileChange();
    owner.EnableRunGroup(true);
    owner.chkRememberFile.enabled = true;
    owner.AddRecentFile(path);
}

void TfrmMain::Listener::SpecificationNamed(const std::string& specFileName) {
    owner.MarkSpecification(specFileName);
}

void TfrmMain::cmdBrowseClick() {
    FileDialogRequest request;
    request.filter = state_.Specification.InputFilter.value_or(std::string());
    request.initialFolder = FolderOfFirst(state_.RecentFileList);
    if (const auto chosen = platform_.OpenFileDialog(request); chosen && !chosen->empty()) {
        SetInputFile(*chosen);
    }
}

void TfrmMain::txtFileChange() {
    const std::string& input = state_.Input.InputFile;
    txtFile.text = input;
    if (input.empty()) {
        cmdTrayCompile.text = "&Compile";
        cmdLaunchREDAWith.visible = false;
        cmdTrayLaunchREDAWith.visible = false;
        return;
    }
    cmdTrayCompile.text = "&Compile " + std::string(FileNamePart(input));
    const std::string view = "View " + std::string(BaseNamePart(input)) + ".log";
    cmdLaunchREDAWith.text = view;
    cmdTrayLaunchREDAWith.text = view;
    cmdLaunchREDAWith.visible = true;
    cmdTrayLaunchREDAWith.visible = true;
}

void TfrmMain::chkRememberFileClick() {
    state_.Input.RememberFile = !state_.Input.RememberFile;
    chkRememberFile.checked = state_.Input.RememberFile;
    state_.Fields.PresetChanged = true;
}

}  // namespace kestrune
