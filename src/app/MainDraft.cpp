// File > New Specification from Program...: a draft specification from a tool's own help,
// loaded at once into an untitled preset.

#include "app/Main.h"

#include "base/FileIo.h"
#include "base/Paths.h"
#include "draft/NewDraft.h"
#include "specification/Catalogue.h"
#include "specification/SpecLoader.h"

namespace kestrune {

void TfrmMain::cmdNewFromProgramClick() {
    FileDialogRequest request;
    request.title = "New Specification from Program";
    request.filter = "All Files (*)|*";
    const std::optional<std::string> chosen = platform_.OpenFileDialog(request);
    if (!chosen || chosen->empty()) {
        return;
    }
    if (!ConfirmSavePreset()) {
        return;
    }
    NewDraftRequest draft;
    draft.tool = *chosen;
    draft.specFolder = state_.Specification.SpecFolder();
    draft.configFolder = state_.Specification.ConfigFolder();
    draft.searchPath = platform_.EnvironmentValue("PATH").value_or("");
    NewDraftResult result = MakeNewDraft(draft);
    if (result.exists) {
        // Only our own drafts' names are asked about: the file and its tool path file.
        const std::string question = result.specPath + " exists already. Replace it (and " +
                                     result.toolPathFile + ") with a new draft?";
        if (platform_.Confirm(question) != ConfirmAnswer::Yes) {
            return;
        }
        draft.force = true;
        result = MakeNewDraft(draft);
    }
    if (!result.written) {
        ShowError(result.message);
        return;
    }

    const std::string fileName(FileNamePart(result.specPath));
    const std::string caption = CatalogueCaption(fileName);
    bool listed = false;
    for (const MenuItem& item : cmdSpecificationsMenu.items) {
        listed = listed || item.caption == caption;
    }
    if (!listed) {
        cmdSpecificationsMenu.items.push_back({caption, false, {}, -1});
        cmdSpecificationsMenu.visible = true;
    }
    Caption = kUntitledCaption;
    tabMain.visible = false;
    LoadSpecification(state_.Specification, state_.Input, result.specPath);
    tabMain.visible = true;
    RebuildRunStageMenus();
    state_.Input.InputFile.clear();
    txtFileChange();
    MarkSpecification(fileName);
    state_.Fields.PresetChanged = false;
    state_.PresetFileName.clear();
    state_.Fields.DetailsText =
        "New specification " + result.specPath + ": " + std::to_string(result.fieldCount) +
        " fields from the help of " + result.executable +
        ". Open the file in a text editor to trim it; each saved edit shows here at once.";
}

}  // namespace kestrune
