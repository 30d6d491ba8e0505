#include "presets/PresetCommands.h"

#include "base/FileIo.h"
#include "base/Paths.h"

namespace kestrune {

std::string PresetCaption(const AppState& state) {
    if (state.PresetFileName.empty()) {
        return "untitled.zrp - Kestrune";
    }
    return std::string(FileNamePart(state.PresetFileName)) + " - Kestrune";
}

bool OpenPreset(AppState& state, const std::string& path, PresetMode mode) {
    if (!FileExists(path)) {
        if (state.platform != nullptr) {
            state.platform->ShowMessage(MessageKind::Error, path + " not found.");
        }
        return false;
    }
    if (!ReadPreset(state, path, mode)) {
        return false;
    }
    MainControls& c = state.controls;
    const bool hasInput = !state.InputFile.empty();
    c.chkRememberFile.checked = hasInput;
    for (ControlState* control :
         {&c.chkRememberFile, &c.cmdCompile, &c.cmdRunBatchFile, &c.cmdToolRun, &c.cmdTrayCompile,
          &c.cmdTrayRun, &c.cmdSaveBatchAs}) {
        control->enabled = hasInput;
    }
    if (mode == PresetMode::Import) {
        c.cmdSavePreset.enabled = false;
        state.PresetChanged = true;
        state.PresetFileName.clear();
    } else {
        c.cmdSavePreset.enabled = true;
        AddRecent(state.RecentPresetList, path, state.RecentCount);
        state.PresetChanged = false;
        state.PresetFileName = path;
    }
    state.Caption = PresetCaption(state);
    return true;
}

}  // namespace kestrune
