#include "fields/ColorBox.h"

#include <array>
#include <cmath>

#include "base/Color.h"
#include "base/Text.h"

namespace kestrune {

TZRColorBox::TZRColorBox(FieldContext& context, FieldDescription description, std::uint32_t color,
                         int left, int top)
    // Moving the description takes its texts only; Width stays readable in either order.
    : Core(context, std::move(description), left, top, FullWidth(description.Width) / 2, " color"),
      Color(color) {
    const int full = FullWidth(Core.Width);
    const int half = full / 2;
    ColorButton.text = "Select Color";
    ColorButton.enabled = false;
    ColorButton.bounds = {left + half, top, full - half, kControlHeight};
}

void TZRColorBox::Toggle() {
    Core.MarkChanged();
    ColorButton.enabled = Checked();
}

void TZRColorBox::ChooseValue() {
    const std::optional<std::uint32_t> chosen = Core.context.platform.get().ChooseColor(Color);
    if (chosen && *chosen != Color) {
        Color = *chosen;
        Core.MarkChanged();
    }
}

std::string TZRColorBox::ComponentsText() const {
    const ColorComponents parts = UnpackColor(Color);
    std::string text;
    for (const std::uint8_t component : {parts.red, parts.green, parts.blue}) {
        if (!text.empty()) {
            text += ' ';
        }
        text += FormatReal(static_cast<double>(component) / 255.0);
    }
    return text;
}

void TZRColorBox::SetColorFromPreset(std::string_view text) {
    std::array<std::uint32_t, 3> components{};
    std::string_view rest = TrimView(text);
    for (std::size_t i = 0; i < components.size(); ++i) {
        const std::size_t blank = rest.find(' ');
        const std::optional<double> fraction =
            ParseReal(rest.substr(0, blank == std::string_view::npos ? rest.size() : blank));
        if (!fraction) {
            return;
        }
        const double scaled = std::nearbyint(*fraction * 255.0);
        components[i] = scaled <= 0.0     ? 0u
                        : scaled >= 255.0 ? 255u
                                          : static_cast<std::uint32_t>(scaled);
        rest = blank == std::string_view::npos ? std::string_view{} : TrimView(rest.substr(blank));
        if (i < 2 && rest.empty()) {
            return;
        }
    }
    if (!rest.empty()) {
        return;
    }
    Color = PackColor(components[0], components[1], components[2]);
}

std::string TZRColorBox::GetParam() const {
    return Core.ExpandedParam() + " " + ComponentsText();
}

std::string TZRColorBox::GetParamFor(std::string_view lowerName) const {
    return Core.LendsTo(lowerName) ? GetParam() : std::string();
}

std::string TZRColorBox::GetPresetText() const {
    return Core.PresetLines() + "\r\nValue = " + ComponentsText();
}

void TZRColorBox::Reset() {
    SetChecked(false);
    ColorButton.enabled = false;
}

std::vector<ShownControl> TZRColorBox::ShownControls() const {
    return {{.state = &ColorButton,
             .shape = ValueShape::Button,
             .purpose = ColorButton.text,
             .color = &Color}};
}

ControlState* TZRColorBox::ValueControl(FieldAction /*action*/) {
    return &ColorButton;
}

FieldApplied TZRColorBox::Apply(const FieldEvent& event) {
    if (event.action == FieldAction::Browse) {
        ChooseValue();
    }
    return FieldApplied::Done;
}

}  // namespace kestrune
