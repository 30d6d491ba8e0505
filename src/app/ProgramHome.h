#pragma once
// Where Kestrune keeps its program folder (SpecFiles/, Config/, the script). A portable copy
// keeps it beside the executable, as on a USB stick; an installed one, whose own folder is
// read-only or shared, keeps it in the user's data folder and reads the specifications it
// ships from the installed data folder beside the executable's folder.

#include <optional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "base/Platform.h"
#include "base/ProgramFolder.h"

namespace kestrune {

// What the rule is decided from; the environment values are nothing when unset.
struct HomeFacts {
    std::string executableFolder;  // with a final separator
    bool portable = false;         // the executable's folder qualifies (IsPortableFolder)
    std::string homeOption;        // --home, empty when not given
    std::optional<std::string> kestruneHome;
    std::optional<std::string> xdgDataHome;
    std::optional<std::string> home;
    std::optional<std::string> appData;  // Windows: %APPDATA%
};

struct ProgramHome {
    std::string programFolder;  // with a final separator
    // The installed data folder with the shipped SpecFiles/, Config/, Presets/ and Inputs/;
    // empty for a portable copy.
    std::string sharedFolder;
    std::string logViewerFolder;  // where the log viewer is, with a final separator
    bool installed = false;

    friend bool operator==(const ProgramHome&, const ProgramHome&) = default;
};

// The rule itself, without touching the file system: --home, then KESTRUNE_HOME, then the
// executable's folder when it is portable, then $XDG_DATA_HOME/kestrune/ (a relative or
// empty value counts as unset) or ~/.local/share/kestrune/. An installed program finds its
// shipped files in ../share/kestrune/ beside its own folder and the log viewer beside itself.
ProgramHome DecideProgramHome(const HomeFacts& facts);

// The facts as the platform reports them, and the rule applied to them.
HomeFacts GatherHomeFacts(Platform& platform, const std::string& executableFolder,
                          const std::string& homeOption);
ProgramHome FindProgramHome(Platform& platform, const std::string& executableFolder,
                            const std::string& homeOption);

// Makes an installed program's folder ready at each start: the folder with Config/ and
// SpecFiles/, and every tool path file of the shipped samples that the user's Config/ lacks
// (never one the user has). A portable program folder is left as it is. Returns what could
// not be created or copied; nothing is fatal, later writes report their own errors.
std::vector<std::string> PrepareProgramHome(const ProgramHome& home);

// Points the state at the home's folders.
void ApplyProgramHome(AppState& state, const ProgramHome& home);

}  // namespace kestrune
