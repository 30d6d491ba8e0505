#include "fields/CheckBox.h"

namespace kestrune {

TZRCheckBox::TZRCheckBox(FieldContext& context, const FieldDescription& description,
                         bool batchCommand, int left, int top)
    : Core(context, description, left, top, FullWidth(description.Width), ""),
      BatchCommand(batchCommand) {}

void TZRCheckBox::SetChecked(bool checked) {
    if (Core.SetTick(checked)) {
        Toggle();
    }
}

void TZRCheckBox::Toggle() {
    Core.MarkChanged();
}

std::string TZRCheckBox::GetParam() const {
    return Core.ExpandedParam();
}

std::string TZRCheckBox::GetParamFor(std::string_view lowerName) const {
    return Core.LendsTo(lowerName) ? GetParam() : std::string();
}

}  // namespace kestrune
