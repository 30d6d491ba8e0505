#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fields/FieldCore.h"
#include "fields/FieldEvent.h"

namespace kestrune {

// A switch with one of a list of named options; the name is shown, the value goes on the
// command line.
class TZRComboBox : public FieldOperations<TZRComboBox> {
  public:
    TZRComboBox(FieldContext& context, FieldDescription description, std::string defaultText,
                int left, int top);

    static constexpr FieldKind kKind = FieldKind::ComboBoxes;

    void Toggle();
    // The controls beside its caption box, in their order, for a view to build.
    std::vector<ShownControl> ShownControls() const;
    // The control an action on the value works on (nullptr: none), and what it does.
    ControlState* ValueControl(FieldAction action);
    FieldApplied Apply(const FieldEvent& event);
    // What follows its parameter on the command line.
    std::string_view ParamSeparator() const { return " "; }

    const std::string& Text() const { return ComboControl.text; }
    // The "Value" line of its preset block.
    void SetValueFromPreset(std::string_view value) { SetText(std::string(value)); }
    void SetText(std::string text) { ComboControl.text = std::move(text); }
    // The user typed into the box: a new text marks the preset changed.
    void EditChange(std::string text);
    // The user chose option `index` from the list; out-of-range indexes are ignored.
    void Select(std::size_t index);
    // Adds an option unless a name equal to it without regard to case exists already.
    void AddOption(const std::string& name, const std::string& value);
    // The options are complete: gives back the room kept for more.
    void EndOptions();
    // Leaving the combo box: the text takes the matching option's own spelling, or returns to
    // DefaultText when it names no option.
    void NormalizeChoice();

    std::string GetParam() const;
    std::string GetParamFor(std::string_view lowerName) const;
    std::string GetPresetText() const;
    void Reset();

    FieldCore Core;
    std::string DefaultText;
    std::vector<std::string> OptionNames;
    std::vector<std::string> OptionValues;
    ControlState ComboControl;

  private:
    // The index of the first option whose name equals the text without case, or -1.
    int FindOption(std::string_view text) const;

    // Enters option `option` into index_, which it first grows when more than half full.
    void IndexOption(std::size_t option);

    // Once there are many options, a hash table of their positions (plus one; 0 is a free
    // slot) by name without case, so that adding options stays linear. Most combo boxes have
    // a handful, which a scan checks faster, and without the table's memory.
    static constexpr std::size_t kIndexedFrom = 16;
    std::vector<std::uint32_t> index_;
};

}  // namespace kestrune
