#include "presets/PresetState.h"

namespace kestrune {

void PresetState::SetInputFile(const std::string& path) {
    InputFile = path;
    InputFolder = FolderWithoutSeparator(path);
    InputName = std::string(BaseNamePart(path));
    InputExt = std::string(ExtensionWithoutDot(path));
    if (RememberFile) {
        PresetChanged = true;
    }
}

}  // namespace kestrune
