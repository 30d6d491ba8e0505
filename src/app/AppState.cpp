#include "app/AppState.h"

#include <algorithm>
#include <filesystem>

#include "base/Paths.h"
#include "base/TextEncoding.h"
#ifdef _WIN32
#include "base/WindowsSystem.h"
#endif

namespace kestrune {

AppState::AppState(const std::string& programFolder) : Specification(Fields, programFolder) {}

std::string AppState::ChooseFolder() const {
    return Fields.platform.get().ChooseFolder("Select A Folder:");
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

std::string ExecutableFolder(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe;
#ifdef _WIN32
    // The module's own path: argv[0] is whatever the command line said, maybe without ".exe".
    exe = PathFromUtf8(windows::ExecutablePath());
#else
    exe = fs::read_symlink("/proc/self/exe", ec);
#endif
    if (ec || exe.empty()) {
        exe = fs::absolute(argv0 != nullptr ? PathFromUtf8(argv0) : fs::path("."), ec);
    }
    return WithTrailingSeparator(Utf8FromPath(exe.parent_path()));
}

}  // namespace kestrune
