#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fields/FieldCore.h"
#include "fields/FieldEvent.h"

namespace kestrune {

// A switch with a colour chosen in the colour dialog. The colour holds red in its lowest byte,
// green in the next and blue in the third.
class TZRColorBox : public FieldOperations<TZRColorBox> {
  public:
    TZRColorBox(FieldContext& context, FieldDescription description, std::uint32_t color, int left,
                int top);

    static constexpr FieldKind kKind = FieldKind::ColorBoxes;

    void Toggle();
    // The controls beside its caption box, in their order, for a view to build.
    std::vector<ShownControl> ShownControls() const;
    // The control an action on the value works on (nullptr: none), and what it does.
    ControlState* ValueControl(FieldAction action);
    FieldApplied Apply(const FieldEvent& event);
    // What follows its parameter on the command line.
    std::string_view ParamSeparator() const { return " "; }

    // The "Select Color" button: the colour dialog, starting at the current colour. A new
    // colour marks the preset changed.
    void ChooseValue();
    // The three components red, green and blue as fractions of 255, separated by blanks.
    std::string ComponentsText() const;
    // A preset "Value" text of three fractions; a text that does not hold three numbers
    // leaves the colour as it is.
    void SetColorFromPreset(std::string_view text);
    void SetValueFromPreset(std::string_view value) { SetColorFromPreset(value); }

    std::string GetParam() const;
    std::string GetParamFor(std::string_view lowerName) const;
    std::string GetPresetText() const;
    void Reset();

    FieldCore Core;
    std::uint32_t Color = 0;
    ControlState ColorButton;  // its caption is drawn in Color
};

}  // namespace kestrune
