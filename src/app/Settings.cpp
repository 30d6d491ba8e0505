#include "app/Settings.h"

#include <algorithm>

#include "base/FileIo.h"
#include "base/LineReader.h"
#include "base/Text.h"

namespace kestrune {

std::string SettingsPath(const AppState& state) {
    return state.ConfigFolder() + "config.ini";
}

void ReadSettingsFile(AppState& state, const std::string& path) {
    if (!FileExists(path)) {
        return;
    }
    const std::string bytes = ReadFileBytes(path);
    ForEachKeyLine(bytes, [&state](const std::string& key, const std::string& value) {
        if (key == "recentfiles") {
            state.RecentCount = IntegerOr(value, 4);
        } else if (key == "opacity") {
            state.Opacity = static_cast<std::uint8_t>(std::clamp(IntegerOr(value, 255), 105, 255));
        } else if (key == "viewlogaftercompile") {
            state.ViewLogAfterCompile = ParseBoolean(value).value_or(false);
        } else if (key == "closeprogramonrun") {
            state.CloseProgramOnRun = ParseBoolean(value).value_or(false);
        } else if (key == "showdetails") {
            state.ShowDetails = ParseBoolean(value).value_or(true);
        } else if (key == "recentpreset" && FileExists(value)) {
            AddRecent(state.RecentPresetList, value, state.RecentCount);
        } else if (key == "recentfile" && FileExists(value)) {
            AddRecent(state.RecentFileList, value, state.RecentCount);
        } else if (key == "preset" && FileExists(value)) {
            state.PresetList.push_back(value);
        }
    });
}

}  // namespace kestrune
