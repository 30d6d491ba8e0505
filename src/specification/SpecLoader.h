#pragma once
// Reads a specification file into the application state: the Setup block, the program groups
// with their fields, the stages and run-stage entries, the links and the batch layout.

#include <string>

#include "specification/SpecificationModel.h"

namespace kestrune {

// Nothing happens when no file exists at `path`. Otherwise the model is reset and rebuilt;
// a syntax error stops the reading with its message and keeps what was built before it.
// A file that cannot be read shows the platform's error text after the reset. The reset is
// told to the model's listener.
void LoadSpecification(SpecificationModel& state, const std::string& path);
// The same, telling the reset to `listener` instead (none when null).
void LoadSpecification(SpecificationModel& state, const std::string& path, StateListener* listener);

// Appends a program group and, for a stage, its run-stage entries.
TZRGroup& CreateProgramGroup(SpecificationModel& state, const std::string& name,
                             const std::string& groupCaption, bool requireExe,
                             const std::string& exeFilter);
void AddRunStageEntries(SpecificationModel& state, const std::string& caption, int index);

// The Links menu: "address|caption" values of the Setup "link" key.
void ClearLinks(SpecificationModel& state);
void AddLink(SpecificationModel& state, std::string_view value);

}  // namespace kestrune
