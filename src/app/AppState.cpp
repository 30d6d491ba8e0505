#include "app/AppState.h"

#include <algorithm>
#include <filesystem>

#include "base/Paths.h"

namespace kestrune {

#ifdef _WIN32
const char* const AppState::kPathSeparatorText = "\\";
#else
const char* const AppState::kPathSeparatorText = "/";
#endif

AppState::AppState() : AppState(std::string()) {}

AppState::AppState(std::string programFolder)
    : ProgramFolder(programFolder.empty() ? std::string() : WithTrailingSeparator(programFolder)) {
    controls.cmdSavePreset.enabled = false;
    controls.chkRememberFile.enabled = false;
    for (ControlState* run :
         {&controls.cmdCompile, &controls.cmdRunBatchFile, &controls.cmdToolRun,
          &controls.cmdTrayCompile, &controls.cmdTrayRun, &controls.cmdSaveBatchAs}) {
        run->enabled = false;
    }
    controls.cmdLinks.visible = false;
    controls.cmdSpecificationsMenu.visible = false;
    controls.cmdRecentFiles.visible = false;
}

std::string AppState::ChooseFolder() const {
    return platform != nullptr ? platform->ChooseFolder("Select A Folder:") : std::string();
}

TZRGroup* AppState::FindProgram(std::string_view name) const {
    for (const auto& program : Programs) {
        if (program->Name == name) {
            return program.get();
        }
    }
    return nullptr;
}

void AddRecent(std::vector<std::string>& list, const std::string& path, std::int32_t count) {
    const auto found = std::find(list.begin(), list.end(), path);
    if (found != list.end()) {
        std::rotate(list.begin(), found, found + 1);
    } else {
        list.insert(list.begin(), path);
    }
    const std::size_t limit = count < 0 ? 0 : static_cast<std::size_t>(count);
    if (list.size() > limit) {
        list.resize(limit);
    }
}

void SetInputFile(AppState& state, const std::string& path) {
    state.InputFile = path;
    MainControls& c = state.controls;
    for (ControlState* run : {&c.cmdCompile, &c.cmdRunBatchFile, &c.cmdToolRun, &c.cmdTrayCompile,
                              &c.cmdTrayRun, &c.cmdSaveBatchAs, &c.chkRememberFile}) {
        run->enabled = true;
    }
    state.InputFolder = FolderWithoutSeparator(path);
    state.InputName = std::string(BaseNamePart(path));
    state.InputExt = std::string(ExtensionWithoutDot(path));
    if (c.chkRememberFile.checked) {
        state.PresetChanged = true;
    }
    AddRecent(state.RecentFileList, path, state.RecentCount);
    c.cmdRecentFiles.visible = true;
}

std::string ExecutableFolder(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe;
#ifndef _WIN32
    exe = fs::read_symlink("/proc/self/exe", ec);
#endif
    if (ec || exe.empty()) {
        exe = fs::absolute(argv0 != nullptr ? fs::path(argv0) : fs::path("."), ec);
    }
    return WithTrailingSeparator(exe.parent_path().string());
}

}  // namespace kestrune
