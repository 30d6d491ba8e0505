#include "SettingsFolder.h"

#include <system_error>

#include "NativePath.h"
#include "base/ProgramFolder.h"

namespace reda {

namespace fs = std::filesystem;

namespace {

bool given(const std::optional<std::string>& value) {
    return value.has_value() && !value->empty();
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
    return environmentText(name);
}

fs::path programFolder(const fs::path& executableFolder, const EnvironmentLookup& environment) {
    if (const std::optional<std::string> home = environment(kestrune::kHomeVariable); given(home)) {
        return pathOfText(*home);
    }
    if (kestrune::IsPortableFolder(textOfPath(executableFolder))) {
        return executableFolder;
    }
    const std::string data = kestrune::UserDataFolder(environment("XDG_DATA_HOME"),
                                                      environment("HOME"), environment("APPDATA"));
    if (!data.empty()) {
        return pathOfText(data);
    }
    return executableFolder;
}

fs::path settingsFile(const fs::path& executableFolder, const EnvironmentLookup& environment) {
    const fs::path config = programFolder(executableFolder, environment) / "Config";
    std::error_code ec;
    fs::create_directories(config, ec);
    return config / "REDA.ini";
}

}  // namespace reda
