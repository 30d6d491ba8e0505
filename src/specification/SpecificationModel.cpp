#include "specification/SpecificationModel.h"

namespace kestrune {

SpecificationModel::SpecificationModel(std::string programFolder)
    : ProgramFolder(programFolder.empty() ? std::string() : WithTrailingSeparator(programFolder)) {}

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

}  // namespace kestrune
