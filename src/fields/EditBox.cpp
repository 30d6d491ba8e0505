#include "fields/EditBox.h"

#include <cmath>

#include "base/Text.h"

namespace kestrune {

TZREditBox::TZREditBox(FieldContext& context, FieldDescription description, const TValue& value,
                       int left, int top)
    : Core(context, std::move(description), left, top, 132, " #"), Value(value) {
    EditControl.text = Value.DefaultText;
    EditControl.enabled = false;
    EditControl.bounds = {left + 132, top, FullWidth(Core.Width) - 132, kControlHeight};
}

void TZREditBox::Toggle() {
    Core.MarkChanged();
    EditControl.enabled = Checked();
    Core.FocusIfAssigned(EditControl);
}

double RoundToPowerOfTen(double value, std::int32_t roundTo) {
    // Scaling by an exact power of ten keeps results such as 3.1 exact where dividing by
    // 10^-1 would not; values too large to carry a fraction are left alone.
    const double scale = std::pow(10.0, std::abs(static_cast<double>(roundTo)));
    if (!std::isfinite(scale) || scale == 0.0) {
        return value;
    }
    const double scaled = roundTo < 0 ? value * scale : value / scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) {
        return value;
    }
    const double whole = std::nearbyint(scaled);  // the default mode rounds halves to even
    return roundTo < 0 ? whole / scale : whole * scale;
}

void TZREditBox::ValidateNumber() {
    Core.MarkChanged();
    const std::optional<double> parsed = ParseReal(TrimView(EditControl.text));
    if (!parsed) {
        EditControl.text = Value.DefaultText;
        return;
    }
    double number = *parsed;
    if (number < Value.Min) {
        number = Value.Min;
    }
    if (number > Value.Max) {
        number = Value.Max;
    }
    EditControl.text = FormatReal(RoundToPowerOfTen(number, Value.RoundTo));
}

void TZREditBox::EditChange(std::string text) {
    if (text != EditControl.text) {
        EditControl.text = std::move(text);
        Core.MarkChanged();
    }
}

void TZREditBox::EditExit() {
    if (!Value.IsString) {
        ValidateNumber();
    }
}

std::string TZREditBox::GetParam() const {
    if (Core.Param.empty()) {
        return EditControl.text;
    }
    return Core.ExpandedParam() + " " + EditControl.text;
}

std::string TZREditBox::GetParamFor(std::string_view lowerName) const {
    return Core.LendsTo(lowerName) ? GetParam() : std::string();
}

std::string TZREditBox::GetPresetText() const {
    return Core.PresetLines() + "\r\nValue = " + EditControl.text;
}

void TZREditBox::Reset() {
    SetChecked(false);
    EditControl.enabled = false;
    EditControl.text = Value.DefaultText;
}

std::vector<ShownControl> TZREditBox::ShownControls() const {
    return {{.state = &EditControl,
             .shape = ValueShape::Text,
             .hoverShowsHelp = true,
             .leaveChecks = true}};
}

ControlState* TZREditBox::ValueControl(FieldAction /*action*/) {
    return &EditControl;
}

FieldApplied TZREditBox::Apply(const FieldEvent& event) {
    if (event.action == FieldAction::Type) {
        EditChange(event.text);
    } else if (event.action == FieldAction::Leave) {
        EditExit();
    } else if (event.action == FieldAction::HoverValue) {
        MouseMove();
    }
    return FieldApplied::Done;
}

}  // namespace kestrune
