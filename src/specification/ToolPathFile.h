#pragma once
// The per-specification file of machine-specific paths: the base path, the destination path
// and the executable of every stage program.

#include <string>
#include <vector>

#include "specification/SpecificationModel.h"

namespace kestrune {

struct ToolPathRow {
    std::string name;
    std::string path;
};

// Config/<SpecFileName with its first ".zrs" replaced by ".path">.
std::string ToolPathFileName(const SpecificationModel& state);

// Clears the two paths and fills them and the stages' tool paths from the file. Creates
// Config/ when missing (a failure is ignored). Throws IoError when the file exists but cannot
// be read; LoadSpecification catches and shows it, other callers must do the same.
void ReadToolPathFile(SpecificationModel& state);

// Writes the file (creating Config/), replacing any existing one only once the new one is
// complete. Throws IoError when it cannot be written; the caller shows it.
void WriteToolPathFile(const SpecificationModel& state, const std::string& basePath,
                       const std::string& destPath, const std::vector<ToolPathRow>& rows);

}  // namespace kestrune
