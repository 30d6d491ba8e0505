#include "specification/SpecificationModel.h"

#include "base/FileIo.h"

namespace kestrune {

SpecificationModel::SpecificationModel(FieldContext& fields, const std::string& programFolder)
    : Fields(fields),
      ProgramFolder(programFolder.empty() ? std::string() : WithTrailingSeparator(programFolder)) {}

TZRGroup* SpecificationModel::FindProgram(std::string_view name) const {
    for (const auto& program : Programs) {
        if (program->Name == name) {
            return program.get();
        }
    }
    return nullptr;
}

std::string SpecificationModel::SpecFolder() const {
    return ProgramFolder + "SpecFiles" + std::string(kPathSeparatorText);
}

std::string SpecificationModel::ConfigFolder() const {
    return ProgramFolder + "Config" + std::string(kPathSeparatorText);
}

std::vector<std::string> SpecificationModel::SpecFolders() const {
    std::vector<std::string> folders{SpecFolder()};
    if (!SharedFolder.empty()) {
        folders.push_back(SharedFolder + "SpecFiles" + std::string(kPathSeparatorText));
    }
    return folders;
}

std::string SpecificationModel::SpecFilePath(const std::string& name) const {
    const std::vector<std::string> folders = SpecFolders();
    for (const std::string& folder : folders) {
        if (FileExists(folder + name)) {
            return folder + name;
        }
    }
    return folders.front() + name;
}

}  // namespace kestrune
