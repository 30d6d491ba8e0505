// Running the chain, saving its script, and the log viewer.

#include "app/Main.h"

#include <chrono>

#include "app/RunTrust.h"
#include "base/FileIo.h"
#include "base/Paths.h"
#include "presets/PresetTrust.h"
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

std::int64_t TfrmMain::Now() const {
    if (Clock) {
        return Clock();
    }
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void TfrmMain::StartScript() {
    const std::string& folder = state_.Specification.ProgramFolder;
    std::string label(BaseNamePart(state_.PresetFileName));
    if (label.empty()) {
        label = BaseNamePart(state_.Specification.SpecFileName);
    }
    bool recorded = true;
    try {
        // The desktop runs the script through the wrapper written beside it.
        BeginRunRecord(folder, label, LogPath(), Now());
    } catch (const IoError& error) {
        // The chain still runs; only its state cannot be followed.
        recorded = false;
        ShowError(std::string(error.what()) +
                  "\r\nThe run's state cannot be shown; the chain runs without it.");
    }
#ifdef _WIN32
    // The window starts the wrapper itself, in a job object: the shell's start would not tell
    // which processes are the run's.
    const int pid = recorded ? platform_.StartRun(folder + kRunWrapperName) : 0;
    if (pid > 0) {
        try {
            RecordRunProcess(folder, pid, Now());
        } catch (const IoError&) {
            // Shown as a run that did not start: it cannot be followed.
        }
    } else {
        ForgetRunRecord(folder);
        platform_.ShellOpen(ScriptPath(state_.Specification), {});
    }
#else
    (void)recorded;
    platform_.ShellOpen(ScriptPath(state_.Specification), {});
#endif
    WatchRun();
    if (state_.CloseProgramOnRun && ConfirmSavePreset()) {
        FormClose();
    }
}

void TfrmMain::cmdCompileClick() {
    if (!FileExists(state_.Input.InputFile) || !ConfirmAnotherRun()) {
        return;
    }
    const std::string script = ScriptPath(state_.Specification);
    if (WriteBatch(state_.Specification, state_.Script, script) && PresetValuesMayRun(script)) {
        StartScript();
    }
}

void TfrmMain::RunStageClick(std::size_t entry) {
    if (entry >= mnuRunStages.items.size() || !FileExists(state_.Input.InputFile) ||
        !ConfirmAnotherRun()) {
        return;
    }
    const int index = mnuRunStages.items[entry].index;
    const std::string script = ScriptPath(state_.Specification);
    if (WriteStageBatch(state_.Specification, state_.Script, script,
                        static_cast<std::size_t>(index)) &&
        PresetValuesMayRun(script)) {
        StartScript();
    }
}

bool TfrmMain::ConfirmAnotherRun() {
    WatchRun();
    // A run still starting has written nothing yet; only a running one would share files.
    if (Run.phase != RunPhase::Running) {
        return true;
    }
    return platform_.Ask("Kestrune", kAnotherRunQuestion, {"&Yes", "&No"}) == 0;
}

void TfrmMain::WatchRun() {
    const bool wasGoing = Run.Going();
    Run = ReadRunRecord(
        state_.Specification.ProgramFolder, [this](int pid) { return platform_.ProcessAlive(pid); },
        Now());
    RunStatus = RunStatusText(Run);
    if (wasGoing && !Run.Going()) {
        ++RunEndings;
    }
    const bool stoppable = Run.phase == RunPhase::Running;
    cmdStopRun.enabled = stoppable;
    cmdTrayStop.enabled = stoppable;
}

std::string TfrmMain::DetailsPaneText() const {
    const std::string& details = state_.Fields.DetailsText;
    if (RunStatus.empty()) {
        return details;
    }
    return details.empty() ? RunStatus : RunStatus + "\n" + details;
}

void TfrmMain::cmdStopRunClick() {
    WatchRun();
    if (Run.phase != RunPhase::Running) {
        return;
    }
    if (!platform_.StopProcessGroup(Run.group)) {
        ShowError("The chain could not be stopped.");
        return;
    }
    try {
        RecordRunStopped(state_.Specification.ProgramFolder, Now());
    } catch (const IoError& error) {
        ShowError(error.what());
    }
    WatchRun();
}

// ---- Presets that hold shell syntax

std::string TfrmMain::TrustPath() const {
    return state_.Specification.ConfigFolder() + kTrustFileName;
}

void TfrmMain::NoteLoadedPreset(const std::string& path) {
    loadedPreset_ = path;
    try {
        loadedPresetHash_ = Sha256Hex(ReadFileBytes(path));
    } catch (const IoError&) {
        // What could not be read cannot match a trusted hash.
        loadedPresetHash_.clear();
    }
}

void TfrmMain::TrustSavedPreset(const std::string& path) {
    // The values on the form are the user's own now; the file is trusted as saved, so that
    // opening it again does not ask either (unless someone changes it meanwhile).
    loadedPreset_.clear();
    loadedPresetHash_.clear();
    if (ShellSyntaxValues(state_.Specification, {}).empty()) {
        return;
    }
    std::string hash;
    try {
        hash = Sha256Hex(ReadFileBytes(path));
        TrustList list = TrustList::Load(TrustPath());
        list.Add(path, hash);
        EnsureFolder(state_.Specification.ConfigFolder());
        list.Save(TrustPath());
    } catch (const IoError&) {
        // Not remembered: opened again, the preset asks once before its next run.
    }
}

bool TfrmMain::PresetValuesMayRun(const std::string& scriptPath) {
    if (loadedPreset_.empty()) {
        return true;
    }
    std::string script;
    try {
        script = ReadSharedTextFile(scriptPath);
    } catch (const IoError&) {
        // The lines stay unnamed; the question still comes.
    }
    const std::vector<ShellValue> values = ShellSyntaxValues(state_.Specification, script);
    if (values.empty()) {
        return true;
    }
    TrustList list = TrustList::Load(TrustPath());
    if (!loadedPresetHash_.empty() && list.Trusts(loadedPreset_, loadedPresetHash_)) {
        return true;
    }
    const int answer = platform_.Ask(kTrustQuestionTitle, TrustQuestionText(loadedPreset_, values),
                                     TrustQuestionButtons());
    if (answer == kTrustAlways && !loadedPresetHash_.empty()) {
        list.Add(loadedPreset_, loadedPresetHash_);
        try {
            EnsureFolder(state_.Specification.ConfigFolder());
            list.Save(TrustPath());
        } catch (const IoError& error) {
            ShowError(std::string(error.what()) +
                      "\r\nThe preset runs now, and will ask again next time.");
        }
    }
    return answer == kTrustRunOnce || answer == kTrustAlways;
}

void TfrmMain::cmdShowScriptPreviewClick() {
    ShowScriptPreview(!state_.ShowScriptPreview);
}

void TfrmMain::ShowScriptPreview(bool shown) {
    state_.ShowScriptPreview = shown;
    cmdShowScriptPreview.checked = shown;
}

ScriptPreview TfrmMain::Preview(std::optional<std::size_t> hovered) const {
    const std::optional<std::size_t> entry = hovered ? hovered : PreviewStage;
    if (entry && *entry < mnuRunStages.items.size() && mnuRunStages.items[*entry].index >= 0) {
        return PreviewStageBatch(state_.Specification, state_.Script,
                                 static_cast<std::size_t>(mnuRunStages.items[*entry].index));
    }
    return PreviewBatch(state_.Specification, state_.Script);
}

void TfrmMain::cmdSaveBatchAsClick() {
    FileDialogRequest request;
    request.title = "Save Batch File As";
    request.filter = kScriptFilter;
    request.defaultExtension = kScriptExtension;
    if (const auto chosen = platform_.SaveFileDialog(request); chosen && !chosen->empty()) {
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
        platform_.ShellOpen(viewer, {});
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
    platform_.ShellOpen(viewer, "\"" + LogPath() + "\"");
}

void TfrmMain::RebuildRunStageMenus() {
    mnuRunStages.items.clear();
    cmdTrayRun.items.clear();
    PreviewStage.reset();
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
