#pragma once

#include <string>
#include <string_view>

#include "fields/FieldCore.h"
#include "fields/FieldEvent.h"

namespace kestrune {

// An on/off switch. With BatchCommand its parameter becomes a line of its own in the
// program's command line, and may hold several lines joined by CR LF.
class TZRCheckBox : public FieldOperations<TZRCheckBox> {
  public:
    TZRCheckBox(FieldContext& context, FieldDescription description, bool batchCommand, int left,
                int top);

    static constexpr FieldKind kKind = FieldKind::CheckBoxes;

    void Toggle();
    // The controls beside its caption box, in their order, for a view to build.
    std::vector<ShownControl> ShownControls() const;
    // The control an action on the value works on (nullptr: none), and what it does.
    ControlState* ValueControl(FieldAction action);
    FieldApplied Apply(const FieldEvent& event);
    // What follows its parameter on the command line: a batch command ends its line.
    std::string_view ParamSeparator() const;
    // The "Value" line of its preset block; a switch has none.
    void SetValueFromPreset(std::string_view /*value*/) {}

    std::string GetParam() const;
    std::string GetParamFor(std::string_view lowerName) const;
    std::string GetPresetText() const { return Core.PresetLines(); }
    void Reset() { SetChecked(false); }

    FieldCore Core;
    bool BatchCommand = false;
};

}  // namespace kestrune
