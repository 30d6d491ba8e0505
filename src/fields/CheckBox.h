#pragma once

#include <string>
#include <string_view>

#include "fields/FieldCore.h"

namespace kestrune {

// An on/off switch. With BatchCommand its parameter becomes a line of its own in the
// program's command line, and may hold several lines joined by CR LF.
class TZRCheckBox {
  public:
    TZRCheckBox(FieldContext& context, FieldDescription description, bool batchCommand, int left,
                int top);

    const std::string& Caption() const { return Core.Caption(); }
    bool Checked() const { return Core.Checked(); }
    void SetChecked(bool checked);  // runs Toggle when the tick changes
    void CheckClick() { SetChecked(!Checked()); }
    void Toggle();
    void MouseMove() const { Core.ShowDetails(); }

    std::string GetParam() const;
    std::string GetParamFor(std::string_view lowerName) const;
    std::string GetPresetText() const { return Core.PresetLines(); }
    void Reset() { SetChecked(false); }

    FieldCore Core;
    bool BatchCommand = false;
};

}  // namespace kestrune
