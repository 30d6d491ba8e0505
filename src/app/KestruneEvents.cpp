// The events beyond clicks and menu entries: program tabs, stage marks, fields, sliders,
// lists, the tray icon, moving and closing the window.

#include <type_traits>

#include "app/Kestrune.h"

namespace kestrune {

const ControlRow& Kestrune::RowOfKind(ControlKind kind) const {
    for (const ControlRow& row : TfrmMain::Controls()) {
        if (row.kind == kind) {
            return row;
        }
    }
    static const ControlRow kNone;
    return kNone;
}

EventResult Kestrune::SelectTab(int index) {
    if (EventResult reach = Reach(WindowId::Main, RowOfKind(ControlKind::ProgramTabs));
        reach != EventResult::Done) {
        return reach;
    }
    if (index < 0 ||
        static_cast<std::size_t>(index) >= frmMain.State().Specification.Programs.size()) {
        return EventResult::NoProgramTab;
    }
    Guarded([this, index] { frmMain.SetActiveTab(index); });
    return EventResult::Done;
}

EventResult Kestrune::MarkStage(int index, bool on) {
    const ControlRow& list = RowOfKind(ControlKind::StageList);
    if (EventResult reach = Reach(WindowId::Main, list); reach != EventResult::Done) {
        return reach;
    }
    if (index < 0 ||
        static_cast<std::size_t>(index) >= frmMain.State().Specification.Stages.size()) {
        return EventResult::NoStage;
    }
    Guarded([this, &list, index, on] {
        frmMain.SetStageMark(static_cast<std::size_t>(index), on);
        list.click(*this);
    });
    return EventResult::Done;
}

EventResult Kestrune::MarkStages(const std::vector<bool>& marks) {
    const ControlRow& list = RowOfKind(ControlKind::StageList);
    if (EventResult reach = Reach(WindowId::Main, list); reach != EventResult::Done) {
        return reach;
    }
    Guarded([this, &list, &marks] {
        for (std::size_t i = 0; i < marks.size(); ++i) {
            frmMain.SetStageMark(i, marks[i]);
        }
        list.click(*this);
    });
    return EventResult::Done;
}

EventResult Kestrune::Field(const FieldEvent& event) {
    if (EventResult reach = ReachMainWindow(); reach != EventResult::Done) {
        return reach;
    }
    const auto& programs = frmMain.State().Specification.Programs;
    if (event.program < 0 || static_cast<std::size_t>(event.program) >= programs.size()) {
        return EventResult::NoProgram;
    }
    TZRGroup& group = *programs[static_cast<std::size_t>(event.program)];
    const auto act = [this, &event](auto& boxes) {
        using Box = typename std::remove_reference_t<decltype(boxes)>::value_type;
        if (event.index < 0 || static_cast<std::size_t>(event.index) >= boxes.size()) {
            return EventResult::NoField;
        }
        Box& box = boxes[static_cast<std::size_t>(event.index)];
        if (event.action == FieldAction::Tick || event.action == FieldAction::Hover) {
            if (EventResult usable = Usable(&box.Core.CheckControl); usable != EventResult::Done) {
                return usable;
            }
            const bool tick = event.action == FieldAction::Tick;
            Guarded([&box, tick] {
                if (tick) {
                    box.CheckClick();
                } else {
                    box.MouseMove();
                }
            });
            return EventResult::Done;
        }
        ControlState* control = box.ValueControl(event.action);
        // The help shows over a value control that is greyed out until its box is ticked:
        // the mouse only needs to see it.
        if (event.action == FieldAction::HoverValue && control != nullptr) {
            if (!control->visible) {
                return EventResult::Hidden;
            }
        } else if (EventResult usable = Usable(control); usable != EventResult::Done) {
            return usable;
        }
        EventResult result = EventResult::Done;
        Guarded([&] {
            if (box.Apply(event) == FieldApplied::NoOption) {
                result = EventResult::NoOption;
            }
        });
        return result;
    };
    switch (event.kind) {
        case FieldKind::CheckBoxes:
            return act(group.CheckBoxes);
        case FieldKind::EditBoxes:
            return act(group.EditBoxes);
        case FieldKind::ComboBoxes:
            return act(group.ComboBoxes);
        case FieldKind::BrowseBoxes:
            return act(group.BrowseBoxes);
        case FieldKind::ColorBoxes:
            return act(group.ColorBoxes);
    }
    return EventResult::NoField;
}

EventResult Kestrune::HoverGroup(int program) {
    if (EventResult reach = ReachMainWindow(); reach != EventResult::Done) {
        return reach;
    }
    const auto& programs = frmMain.State().Specification.Programs;
    if (program < 0 || static_cast<std::size_t>(program) >= programs.size()) {
        return EventResult::NoProgram;
    }
    Guarded(
        [&programs, program] { programs[static_cast<std::size_t>(program)]->GroupBoxMouseMove(); });
    return EventResult::Done;
}

EventResult Kestrune::SetValue(std::string_view name, int value) {
    const Found found = FindReachable(name, &Settable);
    if (found.result == EventResult::Done) {
        Guarded([this, &found, value] { found.row->set(*this, value); });
    }
    return found.result;
}

EventResult Kestrune::StepValue(std::string_view name, int delta) {
    const Found found = FindReachable(name, &Settable);
    if (found.result == EventResult::Done && found.row->value != nullptr) {
        Guarded([this, &found, delta] { found.row->set(*this, found.row->value(*this) + delta); });
    }
    return found.result;
}

EventResult Kestrune::SelectRow(std::string_view name, int row) {
    const Found found = FindReachable(name, &Selectable);
    if (found.result != EventResult::Done) {
        return found.result;
    }
    const std::size_t rows = found.row->rows != nullptr ? found.row->rows(*this).size() : 0;
    if (row < -1 || (row >= 0 && static_cast<std::size_t>(row) >= rows)) {
        return EventResult::NoListRow;
    }
    Guarded([this, &found, row] { found.row->select(*this, row); });
    return EventResult::Done;
}

EventResult Kestrune::Tray(TrayMouse mouse) {
    if (!frmMain.InTray || frmMain.Closed) {
        return EventResult::NotInTray;
    }
    Guarded([this, mouse] { frmMain.TrayCallback(mouse); });
    return EventResult::Done;
}

EventResult Kestrune::MoveWindow(int left, int top) {
    // The window manager moves a window whatever holds the input; only a shown window has
    // a place worth keeping.
    if (frmMain.Closed) {
        return EventResult::Ended;
    }
    if (!frmMain.Visible) {
        return EventResult::Blocked;
    }
    Guarded([this, left, top] { frmMain.FormMove(left, top); });
    return EventResult::Done;
}

EventResult Kestrune::CloseBox() {
    if (!DialogOpen()) {
        if (frmMain.Closed) {
            return EventResult::Ended;
        }
        if (!frmMain.Visible) {
            return EventResult::Blocked;
        }
    }
    Guarded([this] {
        if (frmOptions.IsOpen) {
            frmOptions.cmdCancelClick();
        } else if (frmAbout.IsOpen) {
            frmAbout.cmdOKClick();
        } else {
            frmMain.FormClose();
        }
    });
    return EventResult::Done;
}

}  // namespace kestrune
