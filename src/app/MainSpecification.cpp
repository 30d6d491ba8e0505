// The catalogue of specifications, choosing one, and the links it offers.

#include "app/Main.h"

#include "base/FileIo.h"
#include "base/Text.h"
#include "specification/Catalogue.h"
#include "specification/SpecLoader.h"

namespace kestrune {

void TfrmMain::ScanSpecifications(const std::vector<std::string>& folders) {
    for (const std::string& name : ListSpecificationFiles(folders)) {
        cmdSpecificationsMenu.items.push_back({CatalogueCaption(name), false, {}, -1});
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
        platform_->ShellOpen(cmdLinks.items[entry].address, {});
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
