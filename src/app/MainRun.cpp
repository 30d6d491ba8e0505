// Running the chain, saving its script, and the log viewer.

#include "app/Main.h"

#include "base/FileIo.h"
#include "base/Paths.h"
#include "script/BatchBuilder.h"

namespace kestrune {

namespace {

#ifdef _WIN32
constexpr const char* kScriptFilter = "Batch Files (*.bat)|*.bat";
constexpr const char* kScriptExtension = ".bat";
#else
constexpr const char* kScriptFilter = "Shell Scripts (*.sh)|*.sh";
constexpr const char* kScriptExtension = ".sh";
#endif

}  // namespace

void TfrmMain::StartScript() {
    platform_->ShellOpen(ScriptPath(state_.Specification), {});
    if (state_.CloseProgramOnRun && ConfirmSavePreset()) {
        FormClose();
    }
}

void TfrmMain::cmdCompileClick() {
    if (!FileExists(state_.Input.InputFile)) {
        return;
    }
    if (WriteBatch(state_.Specification, state_.Script, ScriptPath(state_.Specification))) {
        StartScript();
    }
}

void TfrmMain::RunStageClick(std::size_t entry) {
    if (entry >= mnuRunStages.items.size() || !FileExists(state_.Input.InputFile)) {
        return;
    }
    const int index = mnuRunStages.items[entry].index;
    if (WriteStageBatch(state_.Specification, state_.Script, ScriptPath(state_.Specification),
                        static_cast<std::size_t>(index))) {
        StartScript();
    }
}

void TfrmMain::cmdSaveBatchAsClick() {
    FileDialogRequest request;
    request.title = "Save Batch File As";
    request.filter = kScriptFilter;
    request.defaultExtension = kScriptExtension;
    if (const auto chosen = platform_->SaveFileDialog(request); chosen && !chosen->empty()) {
        WriteBatch(state_.Specification, state_.Script, *chosen);
    }
}

std::string TfrmMain::LogPath() const {
    const std::string& input = state_.Input.InputFile;
    return std::string(FolderPart(input)) + std::string(BaseNamePart(input)) + ".log";
}

void TfrmMain::cmdLaunchREDAClick() {
    const std::string viewer = LogViewerPath(state_.Specification, state_.Script);
    if (FileExists(viewer)) {
        platform_->ShellOpen(viewer, {});
    } else {
        ShowError(viewer + " not found.");
    }
}

void TfrmMain::cmdLaunchREDAWithClick() {
    const std::string viewer = LogViewerPath(state_.Specification, state_.Script);
    if (!FileExists(viewer)) {
        ShowError(viewer + " not found.");
        return;
    }
    platform_->ShellOpen(viewer, "\"" + LogPath() + "\"");
}

void TfrmMain::RebuildRunStageMenus() {
    mnuRunStages.items.clear();
    cmdTrayRun.items.clear();
    for (const RunStageEntry& entry : state_.Specification.RunStages) {
        mnuRunStages.items.push_back({entry.caption, false, {}, entry.index});
        cmdTrayRun.items.push_back({entry.caption, false, {}, entry.index});
    }
    RebuildLinksMenu();
    if (ActiveTab >= static_cast<int>(state_.Specification.Programs.size())) {
        ActiveTab = 0;
    }
}

}  // namespace kestrune
