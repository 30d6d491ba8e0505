#include "specification/ToolPathFile.h"

#include <unordered_map>

#include "base/FileIo.h"
#include "base/LineReader.h"
#include "base/Text.h"

namespace kestrune {

std::string ToolPathFileName(const SpecificationModel& state) {
    std::string name = state.SpecFileName;
    const std::size_t extension = name.find(".zrs");
    if (extension != std::string::npos) {
        name.replace(extension, 4, ".path");
    }
    return state.ConfigFolder() + name;
}

void ReadToolPathFile(SpecificationModel& state) {
    state.Fields.Files.BasePath.clear();
    state.Fields.Files.FileDest.clear();
    EnsureFolder(state.ConfigFolder());
    const std::string path = ToolPathFileName(state);
    if (!FileExists(path)) {
        return;
    }
    const std::string bytes = ReadSharedTextFile(path);

    // Only the first stage of a name can ever receive a tool path.
    std::unordered_map<std::string, TZRGroup*> stages;
    for (const auto& program : state.Programs) {
        if (program->RequireExe) {
            stages.try_emplace(LowerAscii(program->Name), program.get());
        }
    }

    ForEachKeyLine(bytes, [&](const std::string& key, const std::string& value) {
        if (const auto stage = stages.find(key); stage != stages.end() && FileExists(value)) {
            stage->second->ToolPath = value;
        }
        if (key == "basepath") {
            state.Fields.Files.BasePath = value;
        } else if (key == "filedest") {
            state.Fields.Files.FileDest = value;
        }
    });
}

void WriteToolPathFile(const SpecificationModel& state, const std::string& basePath,
                       const std::string& destPath, const std::vector<ToolPathRow>& rows) {
    std::string text;
    text.append("BasePath = ").append(basePath).append(kCrLf);
    text.append("FileDest = ").append(destPath).append(kCrLf);
    for (const ToolPathRow& row : rows) {
        text.append(row.name).append(" = ").append(row.path).append(kCrLf);
    }
    // A folder that cannot be created shows up as the write's own error.
    EnsureFolder(state.ConfigFolder());
    WriteSharedTextFile(ToolPathFileName(state), text);
}

}  // namespace kestrune
