#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "fields/FieldCore.h"
#include "fields/FieldEvent.h"

namespace kestrune {

// The lower bound of a numeric edit when the specification gives none: the smallest positive
// double, so zero and negative entries rise to it and then round to 0.
inline constexpr double kDefaultMin = std::numeric_limits<double>::denorm_min();
inline constexpr double kDefaultMax = 1.7e308;
// The upper bound when a "max" value cannot be read.
inline constexpr double kUnreadableMax = 1.7e38;

// The settings of an edit box's value.
struct TValue {
    double Min = kDefaultMin;
    double Max = kDefaultMax;
    std::int32_t RoundTo = -8;  // values round to a multiple of 10 to this power
    bool IsString = true;       // free text; false for "float" and "int"
    std::string DefaultText;
};

// A switch with a value typed into an edit beside it.
class TZREditBox : public FieldOperations<TZREditBox> {
  public:
    TZREditBox(FieldContext& context, FieldDescription description, const TValue& value, int left,
               int top);

    static constexpr FieldKind kKind = FieldKind::EditBoxes;

    void Toggle();
    // The controls beside its caption box, in their order, for a view to build.
    std::vector<ShownControl> ShownControls() const;
    // The control an action on the value works on (nullptr: none), and what it does.
    ControlState* ValueControl(FieldAction action);
    FieldApplied Apply(const FieldEvent& event);
    // What follows its parameter on the command line.
    std::string_view ParamSeparator() const { return " "; }

    const std::string& Text() const { return EditControl.text; }
    // The "Value" line of its preset block.
    void SetValueFromPreset(std::string_view value) { SetText(std::string(value)); }
    void SetText(std::string text) { EditControl.text = std::move(text); }
    // The user typed: the text becomes `text`, and a new value marks the preset changed.
    void EditChange(std::string text);
    // Leaving a numeric edit: clamps, rounds and re-formats its number.
    void ValidateNumber();
    // Leaving the edit; runs ValidateNumber for numeric edits.
    void EditExit();

    std::string GetParam() const;
    std::string GetParamFor(std::string_view lowerName) const;
    std::string GetPresetText() const;
    void Reset();

    FieldCore Core;
    TValue Value;
    ControlState EditControl;
};

// Rounds `value` to a multiple of 10^roundTo, halves to even.
double RoundToPowerOfTen(double value, std::int32_t roundTo);

}  // namespace kestrune
