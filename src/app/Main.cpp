#include "app/Main.h"

#include "app/About.h"
#include "app/Options.h"
#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "script/BatchBuilder.h"
#include "specification/SpecLoader.h"

namespace kestrune {

namespace {

constexpr const char* kPresetFilter = "Preset Files (*.zrp)|*.zrp";
constexpr const char* kUntitledCaption = "untitled.zrp - Kestrune";
#ifdef _WIN32
constexpr const char* kScriptFilter = "Batch Files (*.bat)|*.bat";
constexpr const char* kScriptExtension = ".bat";
#else
constexpr const char* kScriptFilter = "Shell Scripts (*.sh)|*.sh";
constexpr const char* kScriptExtension = ".sh";
#endif

// Frame sizes of the designed window: a single border and a caption bar with a menu bar.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 54;

ControlState Disabled(ControlState control) {
    control.enabled = false;
    return control;
}

ControlState Hidden(ControlState control) {
    control.visible = false;
    return control;
}

ControlState Hinted(std::string hint) {
    ControlState control;
    control.hint = std::move(hint);
    return control;
}

std::string FolderOfFirst(const std::vector<std::string>& list) {
    return list.empty() ? std::string() : std::string(FolderPart(list.front()));
}

}  // namespace

void TfrmMain::Listener::SpecificationReset() {
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

TfrmMain::TfrmMain(Platform& platform, std::string programFolder, std::string executablePath)
    : platform_(&platform),
      executablePath_(std::move(executablePath)),
      state_(std::move(programFolder)) {
    state_.Specification.Listener = &listener_;
    state_.Fields.platform = platform_;

    tabMain = MakeControl("", {8, 26, 577, 345});
    lblStages = MakeControl("步骤:", {592, 24, 36, 13});
    lstStages = MakeControl("", {592, 40, 105, 329});
    chkRememberFile = Disabled(MakeControl("Remember File", {8, 376, 89, 21}));
    txtFile = MakeControl("", {104, 376, 479, 21});
    cmdBrowse = Disabled(MakeControl("...", {591, 375, 25, 25}));
    cmdCompile = Disabled(MakeControl("&Run", {623, 375, 75, 25}));
    txtDetails = MakeControl("", {8, 408, 689, 113});

    cmdToolNewPreset = Disabled(Hinted("New Preset"));
    cmdToolOpenPreset = Hinted("Open Preset");
    cmdToolSavePreset = Disabled(Hinted("Save Preset"));
    cmdToolShowDetails = Hinted("ShowDetails");
    cmdToolShowDetails.checked = true;

    cmdFileMenu = MakeControl("文件");
    cmdNewPreset = Disabled(MakeControl("新设置"));
    cmdOpenPreset = MakeControl("打开设置");
    cmdImportPreset = Disabled(MakeControl("导入设置"));
    static_cast<ControlState&>(cmdRecentPresets) = Hidden(MakeControl("使用过的设置"));
    cmdSavePreset = Disabled(MakeControl("保存设置"));
    cmdSavePresetAs = Disabled(MakeControl("保存设置为..."));
    cmdOpenFile = Disabled(MakeControl("打开文件"));
    static_cast<ControlState&>(cmdRecentFiles) = Disabled(Hidden(MakeControl("使用过的文件")));
    cmdLaunchREDA = MakeControl("载入阅读器");
    cmdLaunchREDAWith = Hidden(MakeControl("View Untitled.log"));
    cmdSendToTray = MakeControl("最小化至托盘");
    cmdExit = MakeControl("退出");
    cmdCompileMenu = MakeControl("编译");
    cmdRunBatchFile = Disabled(MakeControl("编译地图"));
    cmdSaveBatchAs = Disabled(MakeControl("储存为.bat文件"));
    static_cast<ControlState&>(cmdPresetsMenu) = Hidden(MakeControl("&Presets"));
    static_cast<ControlState&>(cmdSpecificationsMenu) = Hidden(MakeControl("编译项目"));
    cmdOptionsMenu = MakeControl("设置");
    cmdSetup = MakeControl("设置");
    cmdViewLogAfterCompile = MakeControl("编译后载入.log文件");
    cmdCloseProgramOnRun = MakeControl("编译时关闭程序");
    cmdClearEmptyFields = Disabled(MakeControl("清除空内容"));
    cmdShowDetails = MakeControl("显示细节");
    cmdShowDetails.checked = true;
    static_cast<ControlState&>(cmdLinks) = Hidden(MakeControl("&Links"));
    cmdHelpMenu = MakeControl("帮助");
    cmdOnlineHelp = MakeControl("在线帮助");
    cmdAboutKestrune = MakeControl("关于");

    cmdTabReset = MakeControl("&Reset");
    cmdTabClearEmptyFields = MakeControl("&Clear Empty Fields");
    cmdStagesClear = MakeControl("&Clear");

    cmdTrayRestore = MakeControl("&Restore");
    cmdTrayCompile = Disabled(MakeControl("&Compile"));
    static_cast<ControlState&>(cmdTrayRun) = Disabled(MakeControl("&Run"));
    cmdTrayLaunchREDA = MakeControl("Launch &REDA");
    cmdTrayLaunchREDAWith = Hidden(MakeControl("&View Untitled.log"));
    cmdTrayExit = MakeControl("E&xit");
}

int TfrmMain::OuterWidth() {
    return kClientWidth + kFrameWidth;
}

int TfrmMain::DesignedOuterHeight() {
    return kClientHeight + kFrameHeight;
}

std::vector<std::pair<std::string_view, ControlState*>> TfrmMain::NamedControls() {
    return {
        {"tabMain", &tabMain},
        {"lblStages", &lblStages},
        {"lstStages", &lstStages},
        {"chkRememberFile", &chkRememberFile},
        {"txtFile", &txtFile},
        {"cmdBrowse", &cmdBrowse},
        {"cmdCompile", &cmdCompile},
        {"txtDetails", &txtDetails},
        {"cmdToolNewPreset", &cmdToolNewPreset},
        {"cmdToolOpenPreset", &cmdToolOpenPreset},
        {"cmdToolSavePreset", &cmdToolSavePreset},
        {"cmdToolRun", &cmdToolRun},
        {"cmdToolShowDetails", &cmdToolShowDetails},
        {"cmdFileMenu", &cmdFileMenu},
        {"cmdNewPreset", &cmdNewPreset},
        {"cmdOpenPreset", &cmdOpenPreset},
        {"cmdImportPreset", &cmdImportPreset},
        {"cmdRecentPresets", &cmdRecentPresets},
        {"cmdSavePreset", &cmdSavePreset},
        {"cmdSavePresetAs", &cmdSavePresetAs},
        {"cmdOpenFile", &cmdOpenFile},
        {"cmdRecentFiles", &cmdRecentFiles},
        {"cmdLaunchREDA", &cmdLaunchREDA},
        {"cmdLaunchREDAWith", &cmdLaunchREDAWith},
        {"cmdSendToTray", &cmdSendToTray},
        {"cmdExit", &cmdExit},
        {"cmdCompileMenu", &cmdCompileMenu},
        {"cmdRunBatchFile", &cmdRunBatchFile},
        {"cmdSaveBatchAs", &cmdSaveBatchAs},
        {"cmdPresetsMenu", &cmdPresetsMenu},
        {"cmdSpecificationsMenu", &cmdSpecificationsMenu},
        {"cmdOptionsMenu", &cmdOptionsMenu},
        {"cmdSetup", &cmdSetup},
        {"cmdViewLogAfterCompile", &cmdViewLogAfterCompile},
        {"cmdCloseProgramOnRun", &cmdCloseProgramOnRun},
        {"cmdClearEmptyFields", &cmdClearEmptyFields},
        {"cmdShowDetails", &cmdShowDetails},
        {"cmdLinks", &cmdLinks},
        {"cmdHelpMenu", &cmdHelpMenu},
        {"cmdOnlineHelp", &cmdOnlineHelp},
        {"cmdAboutKestrune", &cmdAboutKestrune},
        {"cmdTabReset", &cmdTabReset},
        {"cmdTabClearEmptyFields", &cmdTabClearEmptyFields},
        {"cmdStagesClear", &cmdStagesClear},
        {"mnuRunStages", &mnuRunStages},
        {"cmdTrayRestore", &cmdTrayRestore},
        {"cmdTrayCompile", &cmdTrayCompile},
        {"cmdTrayRun", &cmdTrayRun},
        {"cmdTrayLaunchREDA", &cmdTrayLaunchREDA},
        {"cmdTrayLaunchREDAWith", &cmdTrayLaunchREDAWith},
        {"cmdTrayExit", &cmdTrayExit},
    };
}

void TfrmMain::ShowError(const std::string& text) const {
    platform_->ShowMessage(MessageKind::Error, text);
}

// ---- Form events

void TfrmMain::FormCreate() {
    // Numbers are formatted with "." by the core whatever the locale, so step 1 has nothing
    // to switch here.
    state_.Script.VersionText = kVersionText;
    state_.RecentCount = 4;
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

// ---- Preset commands

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
    switch (platform_->Confirm(text)) {
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
    const bool read = ReadPreset(state_.Specification, state_.Input, path, mode);
    RebuildRunStageMenus();
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
        platform_->ShowMessage(MessageKind::Information,
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
    SetPresetCaption();
    state_.Fields.PresetChanged = false;
}

void TfrmMain::cmdOpenPresetClick() {
    if (!ConfirmSavePreset()) {
        return;
    }
    if (const auto chosen = platform_->OpenFileDialog(PresetDialog("Open Preset File"))) {
        OpenPreset(*chosen, PresetMode::Open);
    }
}

void TfrmMain::cmdImportPresetClick() {
    if (!ConfirmSavePreset()) {
        return;
    }
    if (const auto chosen = platform_->OpenFileDialog(PresetDialog("Open Preset File"))) {
        OpenPreset(*chosen, PresetMode::Import);
    }
}

bool TfrmMain::cmdSavePresetClick() {
    if (!state_.PresetFileName.empty()) {
        return WritePreset(state_.Specification, state_.Input, state_.PresetFileName);
    }
    return cmdSavePresetAsClick();
}

bool TfrmMain::cmdSavePresetAsClick() {
    const auto chosen = platform_->SaveFileDialog(PresetDialog("Save Preset File As"));
    if (!chosen || chosen->empty()) {
        return false;
    }
    // A failed write keeps the preset's old name: it was not saved under the new one.
    if (!WritePreset(state_.Specification, state_.Input, *chosen)) {
        return false;
    }
    state_.PresetFileName = *chosen;
    AddRecentPreset(*chosen);
    SetPresetCaption();
    cmdSavePreset.enabled = true;
    return true;
}

// ---- Input file, stages, tabs and toggles

void TfrmMain::EnableRunGroup(bool enabled) {
    for (ControlState* control : {&cmdCompile, &cmdRunBatchFile, &cmdToolRun, &cmdTrayCompile,
                                  static_cast<ControlState*>(&cmdTrayRun), &cmdSaveBatchAs}) {
        control->enabled = enabled;
    }
}

void TfrmMain::EnableSpecificationGroup(bool enabled) {
    for (ControlState* control :
         {&cmdNewPreset, &cmdToolNewPreset, &cmdImportPreset, &cmdSavePresetAs, &cmdToolSavePreset,
          &cmdBrowse, &cmdOpenFile, static_cast<ControlState*>(&cmdRecentFiles),
          &cmdClearEmptyFields}) {
        control->enabled = enabled;
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

void TfrmMain::RebuildRunStageMenus() {
    mnuRunStages.items.clear();
    cmdTrayRun.items.clear();
    for (const RunStageEntry& entry : state_.Specification.RunStages) {
        mnuRunStages.items.push_back({entry.caption, false, {}, entry.index});
        cmdTrayRun.items.push_back({entry.caption, false, {}, entry.index});
    }
    cmdLinks.items.clear();
    for (const LinkEntry& link : state_.Specification.Links) {
        cmdLinks.items.push_back({link.caption, false, link.address, -1});
    }
    cmdLinks.visible = !cmdLinks.items.empty();
    if (ActiveTab >= static_cast<int>(state_.Specification.Programs.size())) {
        ActiveTab = 0;
    }
}

void TfrmMain::SetInputFile(const std::string& path) {
    kestrune::SetInputFile(state_.Input, state_.Fields, path);
    listener_.InputFileSet(path);
}

void TfrmMain::cmdBrowseClick() {
    FileDialogRequest request;
    request.filter = state_.Specification.InputFilter.value_or(std::string());
    request.initialFolder = FolderOfFirst(state_.RecentFileList);
    if (const auto chosen = platform_->OpenFileDialog(request); chosen && !chosen->empty()) {
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

void TfrmMain::SetStageMark(std::size_t entry, bool checked) {
    if (entry < state_.Specification.Stages.size()) {
        state_.Specification.Stages[entry].checked = checked;
    }
}

void TfrmMain::lstStagesClick() {
    for (const StageItem& stage : state_.Specification.Stages) {
        for (const auto& program : state_.Specification.Programs) {
            if (program->Name == stage.caption) {
                program->Run = stage.checked;
            }
        }
    }
    state_.Fields.PresetChanged = true;
}

void TfrmMain::cmdStagesClearClick() {
    bool removed = false;
    for (StageItem& stage : state_.Specification.Stages) {
        removed = removed || stage.checked;
        stage.checked = false;
        for (const auto& program : state_.Specification.Programs) {
            if (program->Name == stage.caption) {
                program->Run = false;
            }
        }
    }
    if (removed) {
        state_.Fields.PresetChanged = true;
    }
}

void TfrmMain::SetActiveTab(int index) {
    if (index >= 0 && index < static_cast<int>(state_.Specification.Programs.size())) {
        ActiveTab = index;
    }
}

void TfrmMain::cmdTabResetClick() {
    if (ActiveTab < static_cast<int>(state_.Specification.Programs.size())) {
        state_.Specification.Programs[ActiveTab]->ResetFields();
        state_.Fields.PresetChanged = true;
    }
}

void TfrmMain::cmdTabClearEmptyFieldsClick() {
    if (ActiveTab < static_cast<int>(state_.Specification.Programs.size())) {
        state_.Specification.Programs[ActiveTab]->ClearEmptyFields();
    }
}

void TfrmMain::cmdClearEmptyFieldsClick() {
    for (const auto& program : state_.Specification.Programs) {
        program->ClearEmptyFields();
    }
}

void TfrmMain::chkRememberFileClick() {
    state_.Input.RememberFile = !state_.Input.RememberFile;
    chkRememberFile.checked = state_.Input.RememberFile;
    state_.Fields.PresetChanged = true;
}

void TfrmMain::cmdViewLogAfterCompileClick() {
    state_.Script.ViewLogAfterCompile = !state_.Script.ViewLogAfterCompile;
    cmdViewLogAfterCompile.checked = state_.Script.ViewLogAfterCompile;
}

void TfrmMain::cmdCloseProgramOnRunClick() {
    state_.CloseProgramOnRun = !state_.CloseProgramOnRun;
    cmdCloseProgramOnRun.checked = state_.CloseProgramOnRun;
}

// ---- Run and the log viewer

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

// ---- Catalogue and Links

void TfrmMain::SelectSpecification(std::size_t entry) {
    if (entry >= cmdSpecificationsMenu.items.size()) {
        return;
    }
    const std::string name = cmdSpecificationsMenu.items[entry].caption + ".zrs";
    const std::string path = state_.Specification.SpecFilePath(name);
    if (!FileExists(path)) {
        ShowError(name + " not found.");
        return;
    }
    if (!ConfirmSavePreset()) {
        return;
    }
    Caption = kUntitledCaption;
    tabMain.visible = false;
    LoadSpecification(state_.Specification, state_.Input, path);
    tabMain.visible = true;
    RebuildRunStageMenus();
    state_.Input.InputFile.clear();
    txtFileChange();
    for (MenuItem& item : cmdSpecificationsMenu.items) {
        item.checked = false;
    }
    cmdSpecificationsMenu.items[entry].checked = true;
    state_.Fields.PresetChanged = false;
    state_.PresetFileName.clear();
}

void TfrmMain::MarkSpecification(std::string_view specFileName) {
    const std::string lowerName = LowerAscii(specFileName);
    bool ticked = false;
    for (MenuItem& item : cmdSpecificationsMenu.items) {
        item.checked = !ticked && LowerAscii(item.caption + ".zrs") == lowerName;
        ticked = ticked || item.checked;
    }
}

void TfrmMain::LinkClick(std::size_t entry) {
    if (entry < cmdLinks.items.size()) {
        platform_->ShellOpen(cmdLinks.items[entry].address, {});
    }
}

// ---- Options, help and about

void TfrmMain::cmdSetupClick() {
    if (frmOptions != nullptr) {
        frmOptions->Open();
    }
}

void TfrmMain::cmdAboutKestruneClick() {
    if (frmAbout != nullptr) {
        frmAbout->Open();
    }
}

void TfrmMain::cmdOnlineHelpClick() {
    platform_->ShellOpen(kOnlineHelpAddress, {});
}

// ---- Tray and details

void TfrmMain::cmdSendToTrayClick() {
    // Without a notification area the icon could never bring the window back.
    if (!platform_->HasNotificationArea()) {
        ++MinimizeRequests;
        return;
    }
    Visible = false;
    InTray = true;
}

void TfrmMain::TrayCallback(TrayMouse event) {
    if (event != TrayMouse::RightButtonDown || !InTray) {
        return;
    }
    ++ActivateRequests;
    PopupRequest = "mnuTray";
}

void TfrmMain::cmdTrayRestoreClick() {
    Visible = true;
    ++ActivateRequests;
    InTray = false;
}

void TfrmMain::cmdShowDetailsClick() {
    cmdShowDetails.checked = !cmdShowDetails.checked;
    ApplyDetailsVisibility(cmdShowDetails.checked, 452);
}

void TfrmMain::ApplyDetailsVisibility(bool shown, int olderHeight) {
    state_.ShowDetails = shown;
    cmdShowDetails.checked = shown;
    cmdToolShowDetails.checked = shown;
    if (shown) {
        Height = kDetailsShownHeight;
        return;
    }
    const auto [major, minor] = platform_->OsVersion();
    const bool older = major < 5 || (major == 5 && minor < 1);
    Height = older ? olderHeight : kDetailsHiddenHeight;
}

std::string TfrmMain::ExpandLongPath(const std::string& path) const {
    return platform_->LongPathName(path);
}

}  // namespace kestrune
