#pragma once

#include <string>

#include "base/ControlState.h"

namespace kestrune {

// A heading on a program's tab: one column wide, underlined, no value.
class TZRLabelBox {
  public:
    TZRLabelBox(const std::string& caption, int left, int top);

    const std::string& Caption() const { return LabelControl.text; }

    ControlState LabelControl;
};

}  // namespace kestrune
