#pragma once
// What building a script reads beyond the specification: the version text, the log-viewer
// option and the places of the script and the log viewer in the program folder.

#include <string>

#include "specification/SpecificationModel.h"

namespace kestrune {

inline constexpr const char* kVersionText = "2.0.3.1";

struct ScriptState : SpecificationModel {
    using SpecificationModel::SpecificationModel;

    std::string VersionText = kVersionText;
    // Keeps the layout lines that start the log viewer through "$REDA".
    bool ViewLogAfterCompile = false;

    // Where the log viewer is when it is not in the program folder (an installed program's
    // own folder); ends with a separator.
    std::string LogViewerFolder;

    std::string ScriptPath() const { return ProgramFolder + std::string(kScriptFileName); }
    std::string LogViewerPath() const {
        return (LogViewerFolder.empty() ? ProgramFolder : LogViewerFolder) +
               std::string(kLogViewerFileName);
    }
};

}  // namespace kestrune
