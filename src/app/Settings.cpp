// The settings file Config/config.ini and the three lists it keeps: the recent presets, the
// recent input files and the favourite presets, with the sub-menus built from them.

#include <algorithm>
#include <unordered_map>

#include "app/Main.h"
#include "base/FileIo.h"
#include "base/LineReader.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "base/TextEncoding.h"
#include "specification/Catalogue.h"

namespace kestrune {

namespace {

// Builds a recent list from many additions in time linear in their number: entries are kept
// oldest first with an index beside them, and a repeated path only marks its old place dead.
// The result is the list that moving each addition to the front, then cutting the list to
// the count in force at that moment, would give.
class RecentListBuilder {
  public:
    explicit RecentListBuilder(const std::vector<std::string>& current) {
        for (auto entry = current.rbegin(); entry != current.rend(); ++entry) {
            Append(*entry);
        }
    }

    void Add(const std::string& path, std::int32_t count) {
        if (const auto found = places_.find(path); found != places_.end()) {
            alive_[found->second] = false;
            --liveCount_;
        }
        Append(path);
        const std::size_t limit = count < 0 ? 0 : static_cast<std::size_t>(count);
        while (liveCount_ > limit) {
            while (!alive_[oldest_]) {
                ++oldest_;
            }
            alive_[oldest_] = false;
            places_.erase(entries_[oldest_]);
            --liveCount_;
        }
    }

    std::vector<std::string> Result() const {
        std::vector<std::string> list;
        list.reserve(liveCount_);
        for (std::size_t i = entries_.size(); i > oldest_; --i) {
            if (alive_[i - 1]) {
                list.push_back(entries_[i - 1]);
            }
        }
        return list;
    }

  private:
    void Append(const std::string& path) {
        places_[path] = entries_.size();
        entries_.push_back(path);
        alive_.push_back(true);
        ++liveCount_;
    }

    std::vector<std::string> entries_;
    std::vector<bool> alive_;
    std::unordered_map<std::string, std::size_t> places_;
    std::size_t liveCount_ = 0;
    std::size_t oldest_ = 0;
};

void FillMenu(MenuState& menu, const std::vector<std::string>& list) {
    menu.items.clear();
    menu.items.reserve(list.size());
    for (const std::string& path : list) {
        menu.items.push_back({path, false, {}, -1, true});
    }
}

// The lists the settings file names, read in the file's order: each entry is cut to the length
// in force where it stands, and only files that still exist are kept.
struct RecentReading {
    explicit RecentReading(const AppState& state)
        : presets(state.RecentPresetList), files(state.RecentFileList) {}

    void Read(const std::string& key, const std::string& value, AppState& state) {
        if (key == "recentpreset") {
            if (FileExists(value)) {
                presets.Add(value, state.RecentCount);
                presetAdded = true;
            }
        } else if (key == "recentfile") {
            if (FileExists(value)) {
                files.Add(value, state.RecentCount);
                fileAdded = true;
            }
        } else if (key == "preset") {
            if (FileExists(value)) {
                state.PresetList.push_back(value);
            }
        }
    }

    RecentListBuilder presets;
    RecentListBuilder files;
    bool presetAdded = false;
    bool fileAdded = false;
};

void CutTo(std::vector<std::string>& list, std::int32_t count) {
    const std::size_t limit = count < 0 ? 0 : static_cast<std::size_t>(count);
    if (list.size() > limit) {
        list.resize(limit);
    }
}

}  // namespace

std::string TfrmMain::SettingsPath() const {
    return state_.Specification.ConfigFolder() + "config.ini";
}

void TfrmMain::ReadSettings(const std::string& path) {
    if (!FileExists(path)) {
        return;
    }
    const std::string bytes = ReadSharedTextFile(path);
    const ScreenRect workArea = platform_.WorkArea();
    RecentReading recent(state_);
    ForEachKeyLine(bytes, [&](const std::string& key, const std::string& value) {
        if (!ReadOptionSetting(key, value) && !ReadPlacementSetting(key, value, workArea)) {
            recent.Read(key, value, state_);
        }
    });
    KeepOnWorkArea(workArea);

    state_.RecentPresetList = recent.presets.Result();
    state_.RecentFileList = recent.files.Result();
    FillMenu(cmdRecentPresets, state_.RecentPresetList);
    FillMenu(cmdRecentFiles, state_.RecentFileList);
    if (recent.presetAdded) {
        cmdRecentPresets.visible = true;
    }
    if (recent.fileAdded) {
        cmdRecentFiles.visible = true;
    }
    RebuildPresetsMenu();
}

bool TfrmMain::ReadOptionSetting(const std::string& key, const std::string& value) {
    if (key == "recentfiles") {
        state_.RecentCount = IntegerOr(value, kDefaultRecentCount);
    } else if (key == "opacity") {
        const std::int32_t alpha =
            std::clamp(IntegerOr(value, kOpaqueAlpha), kLowestAlpha, std::int32_t{kOpaqueAlpha});
        if (alpha != kOpaqueAlpha) {
            state_.Opacity = static_cast<std::uint8_t>(alpha);
        }
    } else if (key == "viewlogaftercompile") {
        state_.Script.ViewLogAfterCompile = ParseBoolean(value).value_or(false);
        cmdViewLogAfterCompile.checked = state_.Script.ViewLogAfterCompile;
    } else if (key == "closeprogramonrun") {
        state_.CloseProgramOnRun = ParseBoolean(value).value_or(false);
        cmdCloseProgramOnRun.checked = state_.CloseProgramOnRun;
    } else if (key == "showdetails") {
        ApplyDetailsVisibility(ParseBoolean(value).value_or(true), 450);
    } else if (key == "language") {
        const std::string choice = LowerAscii(value);
        state_.Language = choice == "chinese"   ? LanguageChoice::Chinese
                          : choice == "english" ? LanguageChoice::English
                                                : LanguageChoice::System;
    } else if (key == "showscriptpreview") {
        ShowScriptPreview(ParseBoolean(value).value_or(false));
    } else {
        return false;
    }
    return true;
}

bool TfrmMain::ReadPlacementSetting(const std::string& key, const std::string& value,
                                    const ScreenRect& workArea) {
    if (key == "top") {
        Top = IntegerOr(value, 50);
        // The work area's bottom and right edges are exclusive: a window starting on one
        // (snapped to the top of a monitor that is gone) is as unseen as one beyond it.
        if (workArea.bottom <= Top) {
            Top = std::max(workArea.bottom - Height.value_or(DesignedOuterHeight()), 0);
        }
    } else if (key == "left") {
        Left = IntegerOr(value, 75);
        if (workArea.right <= Left) {
            Left = std::max(workArea.right - OuterWidth(), 0);
        }
    } else {
        return false;
    }
    return true;
}

void TfrmMain::KeepOnWorkArea(const ScreenRect& workArea) {
    // A window stored entirely left of or above the work area (a monitor that is gone) would
    // open where nobody can see it.
    if (Left + OuterWidth() <= workArea.left) {
        Left = workArea.left;
    }
    if (Top + Height.value_or(DesignedOuterHeight()) <= workArea.top) {
        Top = workArea.top;
    }
}

std::string TfrmMain::SettingsText() const {
    std::string text;
    auto line = [&text](std::string_view a, std::string_view b = {}) {
        text.append(a).append(b).append(kCrLf);
    };
    line("[Kestrune]");
    line("RecentFiles = ", std::to_string(state_.RecentCount));
    line("Opacity = ", std::to_string(state_.Opacity));
    line("ViewLogAfterCompile = ", BoolText(state_.Script.ViewLogAfterCompile));
    line("CloseProgramOnRun = ", BoolText(state_.CloseProgramOnRun));
    line("ShowDetails = ", BoolText(state_.ShowDetails));
    // Only a choice is kept: the file of a user who chose nothing stays as it always was.
    if (state_.Language == LanguageChoice::Chinese) {
        line("Language = ", "Chinese");
    } else if (state_.Language == LanguageChoice::English) {
        line("Language = ", "English");
    }
    // Only while shown, so a settings file stays as it was for those who never open it.
    if (state_.ShowScriptPreview) {
        line("ShowScriptPreview = ", BoolText(true));
    }
    line("");
    line("[Position]");
    line("Top = ", std::to_string(Top));
    line("Left = ", std::to_string(Left));
    line("");
    line("[Recent Presets]");
    for (auto entry = state_.RecentPresetList.rbegin(); entry != state_.RecentPresetList.rend();
         ++entry) {
        line("RecentPreset = ", *entry);
    }
    line("");
    line("[Recent Files]");
    for (auto entry = state_.RecentFileList.rbegin(); entry != state_.RecentFileList.rend();
         ++entry) {
        line("RecentFile = ", *entry);
    }
    line("");
    line("[Presets]");
    for (const std::string& entry : state_.PresetList) {
        line("Preset = ", entry);
    }
    return text;
}

void TfrmMain::WriteSettings(const std::string& path) const {
    // config.ini is kept in the system's code page. Only the remembered paths can hold a
    // character it cannot: such a reminder is left out, rather than every setting with it.
    const std::string all = SettingsText();
    std::string bytes;
    bytes.reserve(all.size());
    for (std::size_t start = 0; start < all.size();) {
        std::size_t end = all.find('\n', start);
        end = end == std::string::npos ? all.size() : end + 1;
        if (const auto line =
                SharedTextFromUtf8(std::string_view(all).substr(start, end - start))) {
            bytes.append(*line);
        }
        start = end;
    }
    WriteFileReplacing(path, bytes);
}

void TfrmMain::AddRecentPreset(const std::string& path) {
    AddRecent(state_.RecentPresetList, path, state_.RecentCount);
    FillMenu(cmdRecentPresets, state_.RecentPresetList);
    cmdRecentPresets.visible = true;
}

void TfrmMain::AddRecentFile(const std::string& path) {
    AddRecent(state_.RecentFileList, path, state_.RecentCount);
    FillMenu(cmdRecentFiles, state_.RecentFileList);
    cmdRecentFiles.visible = true;
}

void TfrmMain::TruncateRecentLists() {
    CutTo(state_.RecentPresetList, state_.RecentCount);
    CutTo(state_.RecentFileList, state_.RecentCount);
    FillMenu(cmdRecentPresets, state_.RecentPresetList);
    FillMenu(cmdRecentFiles, state_.RecentFileList);
}

void TfrmMain::RebuildPresetsMenu() {
    cmdPresetsMenu.items.clear();
    for (const std::string& entry : state_.PresetList) {
        cmdPresetsMenu.items.push_back({std::string(FileNamePart(entry)), false, {}, -1, true});
    }
    cmdPresetsMenu.visible = !cmdPresetsMenu.items.empty();
}

void TfrmMain::RecentPresetClick(std::size_t entry) {
    if (entry >= cmdRecentPresets.items.size() || !ConfirmSavePreset()) {
        return;
    }
    // Captions hold the exact path (a view shows a "&" in it as such, not as an accelerator
    // mark), so nothing is stripped. Opening moves the entry and rebuilds the menu, so the
    // path is copied first.
    const std::string path = cmdRecentPresets.items[entry].caption;
    OpenPreset(path, PresetMode::Open);
}

void TfrmMain::RecentFileClick(std::size_t entry) {
    if (entry < cmdRecentFiles.items.size()) {
        const std::string path = cmdRecentFiles.items[entry].caption;
        SetInputFile(path);
    }
}

void TfrmMain::PresetsMenuClick(std::size_t entry) {
    if (entry >= cmdPresetsMenu.items.size() || !ConfirmSavePreset()) {
        return;
    }
    const std::string caption = LowerAscii(cmdPresetsMenu.items[entry].caption);
    for (const std::string& preset : state_.PresetList) {
        if (LowerAscii(FileNamePart(preset)) == caption) {
            const std::string path = preset;
            OpenPreset(path, PresetMode::Open);
            return;
        }
    }
    ShowError(caption + " not found.");
}

void TfrmMain::cmdViewLogAfterCompileClick() {
    state_.Script.ViewLogAfterCompile = !state_.Script.ViewLogAfterCompile;
    cmdViewLogAfterCompile.checked = state_.Script.ViewLogAfterCompile;
}

void TfrmMain::cmdCloseProgramOnRunClick() {
    state_.CloseProgramOnRun = !state_.CloseProgramOnRun;
    cmdCloseProgramOnRun.checked = state_.CloseProgramOnRun;
}

}  // namespace kestrune
