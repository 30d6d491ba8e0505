// The catalogue of specifications, choosing one, and the links it offers.

#include "app/Main.h"

#include "base/FileIo.h"
#include "base/Text.h"
#include "lint/Lint.h"
#include "presets/PresetFile.h"
#include "specification/Catalogue.h"
#include "specification/SpecLoader.h"

namespace kestrune {

namespace {

// The language's reference, beside the shipped specifications' folder.
constexpr const char* kReferenceFile = "specification.md";

}  // namespace

void TfrmMain::ScanSpecifications(const std::vector<std::string>& folders) {
    for (const std::string& name : ListSpecificationFiles(folders)) {
        cmdSpecificationsMenu.items.push_back({CatalogueCaption(name), false, {}, -1, true});
    }
    if (!cmdSpecificationsMenu.items.empty()) {
        cmdSpecificationsMenu.visible = true;
    }
}

void TfrmMain::SelectSpecification(std::size_t entry) {
    if (entry >= cmdSpecificationsMenu.items.size()) {
        return;
    }
    const std::string name = cmdSpecificationsMenu.items[entry].caption + ".zrs";
    const std::string path = state_.Specification.SpecFilePath(name);
    if (!FileExists(path)) {
        ShowError(name + " not found.");
        return;
    }
    if (!ConfirmSavePreset()) {
        return;
    }
    Caption = kUntitledCaption;
    tabMain.visible = false;
    LoadSpecification(state_.Specification, state_.Input, path);
    tabMain.visible = true;
    RebuildRunStageMenus();
    state_.Input.InputFile.clear();
    txtFileChange();
    for (MenuItem& item : cmdSpecificationsMenu.items) {
        item.checked = false;
    }
    cmdSpecificationsMenu.items[entry].checked = true;
    state_.Fields.PresetChanged = false;
    state_.PresetFileName.clear();
    ShowSpecificationFindings();
}

std::string TfrmMain::LoadedSpecificationPath() const {
    const SpecificationModel& model = state_.Specification;
    return model.SpecFileName.empty() ? std::string() : model.SpecFilePath(model.SpecFileName);
}

void TfrmMain::cmdReloadSpecificationClick() {
    SpecificationModel& model = state_.Specification;
    const std::string path = LoadedSpecificationPath();
    if (path.empty() || !FileExists(path)) {
        return;
    }
    // The values as a preset keeps them, without the input file, which stays as it is.
    std::string values = PresetText(model, PresetInput{});
    if (!model.SpecificationComplete && carriedSpecFile_ == model.SpecFileName) {
        values = carriedValues_;
    }
    const std::string inputFile = state_.Input.InputFile;
    const bool rememberFile = state_.Input.RememberFile;
    const bool changed = state_.Fields.PresetChanged;
    const int activeTab = ActiveTab;

    reloading_ = true;
    tabMain.visible = false;
    LoadSpecification(model, state_.Input, path);
    tabMain.visible = true;
    ReadPresetText(model, state_.Input, values, path, PresetMode::Open);
    reloading_ = false;
    RebuildRunStageMenus();
    RebuildLinksMenu();
    if (model.SpecificationComplete) {
        carriedSpecFile_.clear();
        carriedValues_.clear();
    } else {
        carriedSpecFile_ = model.SpecFileName;
        carriedValues_ = std::move(values);
    }

    if (!inputFile.empty()) {
        kestrune::SetInputFile(state_.Input, state_.Fields, inputFile);
        txtFileChange();
        EnableRunGroup(true);
        chkRememberFile.enabled = true;
    }
    state_.Input.RememberFile = rememberFile;
    chkRememberFile.checked = rememberFile;
    // Saving over the preset would drop the programs after a stop.
    cmdSavePreset.enabled = !state_.PresetFileName.empty() && model.SpecificationComplete;
    state_.Fields.PresetChanged = changed;
    ActiveTab = activeTab < static_cast<int>(model.Programs.size()) ? activeTab : 0;
    ShowSpecificationFindings();
}

void TfrmMain::ShowSpecificationFindings() {
    // A pane of a few hundred lines is read; a broken 10 MB file would give a million.
    constexpr std::size_t kShownFindings = 200;
    const std::string path = LoadedSpecificationPath();
    if (path.empty()) {
        return;
    }
    const std::vector<LintFinding> findings = LintSpecificationFile(path);
    std::string text;
    for (std::size_t i = 0; i < findings.size() && i < kShownFindings; ++i) {
        if (!text.empty()) {
            text.append(kCrLf);
        }
        text.append(state_.Specification.SpecFileName)
            .append(":")
            .append(std::to_string(findings[i].line))
            .append(": ")
            .append(findings[i].message);
    }
    if (findings.size() > kShownFindings) {
        text.append(kCrLf).append(std::to_string(findings.size() - kShownFindings));
        text.append(" more; kestrune-cli lint lists them all");
    }
    state_.Fields.DetailsText = std::move(text);
}

void TfrmMain::cmdSpecificationHelpClick() {
    const SpecificationModel& model = state_.Specification;
    const std::string path =
        (model.SharedFolder.empty() ? model.ProgramFolder : model.SharedFolder) + kReferenceFile;
    if (!FileExists(path)) {
        ShowError(path + " not found.");
        return;
    }
    platform_.ShellOpen(path, {});
}

void TfrmMain::MarkSpecification(std::string_view specFileName) {
    const std::string lowerName = LowerAscii(specFileName);
    bool ticked = false;
    for (MenuItem& item : cmdSpecificationsMenu.items) {
        item.checked = !ticked && LowerAscii(item.caption + ".zrs") == lowerName;
        ticked = ticked || item.checked;
    }
}

void TfrmMain::LinkClick(std::size_t entry) {
    if (entry < cmdLinks.items.size()) {
        platform_.ShellOpen(cmdLinks.items[entry].address, {});
    }
}

void TfrmMain::RebuildLinksMenu() {
    cmdLinks.items.clear();
    for (const LinkEntry& link : state_.Specification.Links) {
        cmdLinks.items.push_back({link.caption, false, link.address, -1});
    }
    cmdLinks.visible = !cmdLinks.items.empty();
}

}  // namespace kestrune
