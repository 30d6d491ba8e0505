#include "base/ProgramFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/TextEncoding.h"

namespace kestrune {

namespace fs = std::filesystem;

namespace {

// An unset and an empty variable mean the same to every rule here.
bool Given(const std::optional<std::string>& value) {
    return value.has_value() && !value->empty();
}

// Whether this user can create a file in `folder`: tried, not guessed from permission bits,
// so read-only mounts, ACLs and root's rights all answer truly.
bool CanCreateFiles(const fs::path& folder) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path probe = folder / (".kestrune-probe-" + std::to_string(stamp) + "-" +
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

}  // namespace

bool IsPortableFolder(const std::string& folder) {
    std::error_code ec;
    const fs::path base = PathFromUtf8(folder);
    if (FileExists(Utf8FromPath(base / kPortableMarker))) {
        return true;
    }
    return fs::is_directory(base / "SpecFiles", ec) && CanCreateFiles(base);
}

std::string UserDataFolder(const std::optional<std::string>& xdgDataHome,
                           const std::optional<std::string>& home,
                           const std::optional<std::string>& appData) {
#ifdef _WIN32
    (void)xdgDataHome;
    (void)home;
    if (Given(appData)) {
        return WithTrailingSeparator(*appData) + "Kestrune";
    }
    return {};
#else
    (void)appData;
    // The freedesktop rule: a relative $XDG_DATA_HOME is ignored.
    if (Given(xdgDataHome) && xdgDataHome->front() == '/') {
        return WithTrailingSeparator(*xdgDataHome) + "kestrune";
    }
    if (Given(home)) {
        return WithTrailingSeparator(*home) + ".local/share/kestrune";
    }
    return {};
#endif
}

}  // namespace kestrune
