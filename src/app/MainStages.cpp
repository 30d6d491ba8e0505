// The stages list, the program tabs and the commands that clear or reset their fields.

#include "app/Main.h"

namespace kestrune {

void TfrmMain::SetStageMark(std::size_t entry, bool checked) {
    if (entry < state_.Specification.Stages.size()) {
        state_.Specification.Stages[entry].checked = checked;
    }
}

void TfrmMain::lstStagesClick() {
    for (const StageItem& stage : state_.Specification.Stages) {
        for (const auto& program : state_.Specification.Programs) {
            if (program->Name == stage.caption) {
                program->Run = stage.checked;
            }
        }
    }
    state_.Fields.PresetChanged = true;
}

void TfrmMain::cmdStagesClearClick() {
    bool removed = false;
    for (StageItem& stage : state_.Specification.Stages) {
        removed = removed || stage.checked;
        stage.checked = false;
        for (const auto& program : state_.Specification.Programs) {
            if (program->Name == stage.caption) {
                program->Run = false;
            }
        }
    }
    if (removed) {
        state_.Fields.PresetChanged = true;
    }
}

void TfrmMain::SetActiveTab(int index) {
    if (index >= 0 && index < static_cast<int>(state_.Specification.Programs.size())) {
        ActiveTab = index;
    }
}

void TfrmMain::cmdTabResetClick() {
    if (ActiveTab < static_cast<int>(state_.Specification.Programs.size())) {
        state_.Specification.Programs[ActiveTab]->ResetFields();
        state_.Fields.PresetChanged = true;
    }
}

void TfrmMain::cmdTabClearEmptyFieldsClick() {
    if (ActiveTab < static_cast<int>(state_.Specification.Programs.size())) {
        state_.Specification.Programs[ActiveTab]->ClearEmptyFields();
    }
}

void TfrmMain::cmdClearEmptyFieldsClick() {
    for (const auto& program : state_.Specification.Programs) {
        program->ClearEmptyFields();
    }
}

}  // namespace kestrune
