#include "app/ProgramHome.h"

#include <filesystem>

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

}  // namespace

ProgramHome DecideProgramHome(const HomeFacts& facts) {
    ProgramHome home;
    const std::string exe = WithTrailingSeparator(facts.executableFolder);
    home.installed = !facts.portable;
    if (!facts.homeOption.empty()) {
        home.programFolder = WithTrailingSeparator(facts.homeOption);
    } else if (Given(facts.kestruneHome)) {
        home.programFolder = WithTrailingSeparator(*facts.kestruneHome);
    } else if (facts.portable) {
        home.programFolder = exe;
    } else {
        const std::string data = UserDataFolder(facts.xdgDataHome, facts.home, facts.appData);
        // Without any home folder there is nowhere else to go; writing there reports why.
        home.programFolder = data.empty() ? exe : WithTrailingSeparator(data);
    }
    if (home.installed) {
        const fs::path shared =
            (PathFromUtf8(exe).parent_path().parent_path() / "share" / "kestrune")
                .lexically_normal();
        home.sharedFolder = WithTrailingSeparator(Utf8FromPath(shared));
        // The installed viewer lives beside the program, not in the user's folder.
        home.logViewerFolder = exe;
    } else {
        home.logViewerFolder = home.programFolder;
    }
    return home;
}

HomeFacts GatherHomeFacts(Platform& platform, const std::string& executableFolder,
                          const std::string& homeOption) {
    HomeFacts facts;
    facts.executableFolder = WithTrailingSeparator(executableFolder);
    facts.portable = IsPortableFolder(executableFolder);
    facts.homeOption = homeOption;
    facts.kestruneHome = platform.EnvironmentValue(kHomeVariable);
    facts.xdgDataHome = platform.EnvironmentValue("XDG_DATA_HOME");
    facts.home = platform.EnvironmentValue("HOME");
    facts.appData = platform.EnvironmentValue("APPDATA");
    return facts;
}

ProgramHome FindProgramHome(Platform& platform, const std::string& executableFolder,
                            const std::string& homeOption) {
    return DecideProgramHome(GatherHomeFacts(platform, executableFolder, homeOption));
}

std::vector<std::string> PrepareProgramHome(const ProgramHome& home) {
    std::vector<std::string> problems;
    if (!home.installed) {
        return problems;
    }
    const std::string config = home.programFolder + "Config" + std::string(kPathSeparatorText);
    for (const std::string& folder :
         {home.programFolder, config,
          home.programFolder + "SpecFiles" + std::string(kPathSeparatorText)}) {
        std::error_code ec;
        fs::create_directories(PathFromUtf8(folder), ec);
        if (ec) {
            problems.push_back("Cannot create folder " + folder + ": " + ec.message());
            return problems;
        }
    }
    std::error_code ec;
    fs::directory_iterator shipped(PathFromUtf8(home.sharedFolder) / "Config", ec);
    if (ec) {
        return problems;  // nothing shipped to seed from
    }
    for (const fs::directory_entry& entry : shipped) {
        if (entry.path().extension() != ".path" || !FileExists(Utf8FromPath(entry.path()))) {
            continue;
        }
        const fs::path target = PathFromUtf8(config) / entry.path().filename();
        std::error_code copyError;
        // skip_existing: a file the user already has is never replaced.
        fs::copy_file(entry.path(), target, fs::copy_options::skip_existing, copyError);
        if (copyError) {
            problems.push_back("Cannot copy " + Utf8FromPath(entry.path()) + " to " +
                               Utf8FromPath(target) + ": " + copyError.message());
        }
    }
    return problems;
}

void ApplyProgramHome(AppState& state, const ProgramHome& home) {
    state.Specification.ProgramFolder = home.programFolder;
    state.Specification.SharedFolder = home.sharedFolder;
    state.Script.LogViewerFolder = home.logViewerFolder;
}

}  // namespace kestrune
