#include "SettingsFolder.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace reda {

namespace fs = std::filesystem;

namespace {

bool given(const std::optional<std::string>& value) {
    return value.has_value() && !value->empty();
}

// Tried rather than read from the permission bits, so read-only mounts, ACLs and root's
// rights all answer truly.
bool canCreateFiles(const fs::path& folder) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path probe = folder / (".reda-probe-" + std::to_string(stamp) + "-" +
                                     std::to_string(counter.fetch_add(1)));
    bool created = false;
    {
        std::ofstream file(probe, std::ios::binary | std::ios::out);
        created = file.is_open();
    }
    std::error_code ec;
    fs::remove(probe, ec);
    return created;
}

bool isPortable(const fs::path& folder) {
    std::error_code ec;
    if (fs::exists(folder / "kestrune.portable", ec)) {
        return true;
    }
    return fs::is_directory(folder / "SpecFiles", ec) && canCreateFiles(folder);
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

fs::path programFolder(const fs::path& executableFolder, const EnvironmentLookup& environment) {
    if (const std::optional<std::string> home = environment("KESTRUNE_HOME"); given(home)) {
        return fs::path(*home);
    }
    if (isPortable(executableFolder)) {
        return executableFolder;
    }
#ifdef _WIN32
    if (const std::optional<std::string> appData = environment("APPDATA"); given(appData)) {
        return fs::path(*appData) / "Kestrune";
    }
#else
    // The freedesktop rule: a relative $XDG_DATA_HOME is ignored.
    if (const std::optional<std::string> data = environment("XDG_DATA_HOME");
        given(data) && data->front() == '/') {
        return fs::path(*data) / "kestrune";
    }
    if (const std::optional<std::string> home = environment("HOME"); given(home)) {
        return fs::path(*home) / ".local" / "share" / "kestrune";
    }
#endif
    return executableFolder;
}

fs::path settingsFile(const fs::path& executableFolder, const EnvironmentLookup& environment) {
    const fs::path config = programFolder(executableFolder, environment) / "Config";
    std::error_code ec;
    fs::create_directories(config, ec);
    return config / "REDA.ini";
}

}  // namespace reda
