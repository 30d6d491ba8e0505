#pragma once
// The one record of shared state that the main window owns for the whole run: what the fields
// use, the loaded specification and its programs, the script settings, the input file, the
// current preset, the option toggles and the lists. Plain data; no window system needed.

#include <cstdint>
#include <string>
#include <vector>

#include "fields/FieldContext.h"
#include "presets/PresetInput.h"
#include "script/ScriptSettings.h"
#include "specification/SpecificationModel.h"

namespace kestrune {

// The heights of the main window (outer) with the details pane shown and hidden.
inline constexpr int kDetailsShownHeight = 582;
inline constexpr int kDetailsHiddenHeight = 460;

// The window's alpha when it is not translucent, and the lowest alpha a translucent one takes.
inline constexpr std::uint8_t kOpaqueAlpha = 255;
inline constexpr std::int32_t kLowestAlpha = 105;
// The slider's tooltip while the window is opaque.
inline constexpr const char* kOpaqueAlphaTip = "Alpha = 255";
// A window's opacity, from 0 to 1, for its alpha.
inline constexpr double OpacityOf(std::int32_t alpha) {
    return static_cast<double>(alpha) / kOpaqueAlpha;
}
// How many entries each recent list keeps until the user chooses otherwise.
inline constexpr std::int32_t kDefaultRecentCount = 4;

// The language of the window's captions: the desktop's, or one the user chose.
enum class LanguageChoice : std::uint8_t { System, Chinese, English };

struct AppState {
    explicit AppState(const std::string& programFolder = {});
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    FieldContext Fields;
    SpecificationModel Specification;  // its programs' fields live on Fields
    ScriptSettings Script;
    PresetInput Input;

    std::string PresetFileName;  // empty while the preset is untitled

    bool CloseProgramOnRun = false;
    bool ShowDetails = true;
    bool ShowScriptPreview = false;       // written to the settings only while true
    std::uint8_t Opacity = kOpaqueAlpha;  // below it (down to kLowestAlpha): translucent
    LanguageChoice Language = LanguageChoice::System;
    std::int32_t RecentCount = kDefaultRecentCount;
    std::vector<std::string> RecentPresetList;  // most recent first
    std::vector<std::string> RecentFileList;    // most recent first
    std::vector<std::string> PresetList;        // the user's favourites, in the user's order

    // The system's folder chooser; the empty text when the user cancels.
    std::string ChooseFolder() const;
};

// Moves `path` to the front of a recent list (adding it when missing) and cuts the list to
// `count` entries; a count below one leaves it empty.
void AddRecent(std::vector<std::string>& list, const std::string& path, std::int32_t count);

// The folder of the running executable, with a final separator.
std::string ExecutableFolder(const char* argv0);

}  // namespace kestrune
