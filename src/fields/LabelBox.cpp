#include "fields/LabelBox.h"

namespace kestrune {

TZRLabelBox::TZRLabelBox(const std::string& caption, int left, int top) {
    LabelControl.text = caption;
    LabelControl.bounds = {left, top + 4, 176, 17};
}

}  // namespace kestrune
