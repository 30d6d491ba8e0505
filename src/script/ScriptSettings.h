#pragma once
// What building a script reads beyond the specification: the version text, the log-viewer
// option and the places of the script and the log viewer in the program folder.

#include <string>

#include "specification/SpecificationModel.h"

namespace kestrune {

inline constexpr const char* kVersionText = "2.0.3.1";

struct ScriptSettings {
    std::string VersionText = kVersionText;
    // Keeps the layout lines that start the log viewer through "$REDA".
    bool ViewLogAfterCompile = false;

    // Where the log viewer is when it is not in the program folder (an installed program's
    // own folder); ends with a separator.
    std::string LogViewerFolder;
};

// The script the Run command writes, in the program folder.
inline std::string ScriptPath(const SpecificationModel& model) {
    return model.ProgramFolder + std::string(kScriptFileName);
}

inline std::string LogViewerPath(const SpecificationModel& model, const ScriptSettings& settings) {
    return (settings.LogViewerFolder.empty() ? model.ProgramFolder : settings.LogViewerFolder) +
           std::string(kLogViewerFileName);
}

}  // namespace kestrune
