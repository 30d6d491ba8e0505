#include "fields/CheckBox.h"

#include "base/Paths.h"

namespace kestrune {

TZRCheckBox::TZRCheckBox(FieldContext& context, FieldDescription description, bool batchCommand,
                         int left, int top)
    // Moving the description takes its texts only; Width stays readable in either order.
    : Core(context, std::move(description), left, top, FullWidth(description.Width), ""),
      BatchCommand(batchCommand) {}

void TZRCheckBox::Toggle() {
    Core.MarkChanged();
}

std::string TZRCheckBox::GetParam() const {
    return Core.ExpandedParam();
}

std::string TZRCheckBox::GetParamFor(std::string_view lowerName) const {
    return Core.LendsTo(lowerName) ? GetParam() : std::string();
}

std::vector<ShownControl> TZRCheckBox::ShownControls() const {
    return {};
}

ControlState* TZRCheckBox::ValueControl(FieldAction /*action*/) {
    return nullptr;  // the caption box is all there is
}

FieldApplied TZRCheckBox::Apply(const FieldEvent& /*event*/) {
    return FieldApplied::Done;
}

std::string_view TZRCheckBox::ParamSeparator() const {
    return BatchCommand ? kScriptLineEnd : std::string_view(" ");
}

}  // namespace kestrune
