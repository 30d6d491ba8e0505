#include "fields/ComboBox.h"

#include "base/Text.h"

namespace kestrune {

TZRComboBox::TZRComboBox(FieldContext& context, FieldDescription description,
                         std::string defaultText, int left, int top)
    : Core(context, std::move(description), left, top, 88, " #"),
      DefaultText(std::move(defaultText)) {
    ComboControl.text = DefaultText;
    ComboControl.enabled = false;
    ComboControl.bounds = {left + 88, top, FullWidth(Core.Width) - 88, kControlHeight};
}

void TZRComboBox::SetChecked(bool checked) {
    if (Core.SetTick(checked)) {
        Toggle();
    }
}

void TZRComboBox::Toggle() {
    Core.MarkChanged();
    ComboControl.enabled = Checked();
    Core.FocusIfAssigned(ComboControl);
}

int TZRComboBox::FindOption(std::string_view text) const {
    for (std::size_t i = 0; i < OptionNames.size(); ++i) {
        if (EqualsNoCase(OptionNames[i], text)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TZRComboBox::AddOption(const std::string& name, const std::string& value) {
    if (lowerNames_) {
        if (!lowerNames_->insert(LowerAscii(name)).second) {
            return;
        }
    } else {
        if (FindOption(name) >= 0) {
            return;
        }
        if (OptionNames.size() + 1 >= kIndexedFrom) {
            lowerNames_ = std::make_unique<std::unordered_set<std::string>>();
            for (const std::string& known : OptionNames) {
                lowerNames_->insert(LowerAscii(known));
            }
            lowerNames_->insert(LowerAscii(name));
        }
    }
    OptionNames.push_back(name);
    OptionValues.push_back(value);
}

void TZRComboBox::EditChange(std::string text) {
    if (text != ComboControl.text) {
        ComboControl.text = std::move(text);
        Core.MarkChanged();
    }
}

void TZRComboBox::Select(std::size_t index) {
    if (index < OptionNames.size()) {
        EditChange(OptionNames[index]);
    }
}

void TZRComboBox::NormalizeChoice() {
    if (OptionNames.empty()) {
        return;
    }
    const int index = FindOption(ComboControl.text);
    ComboControl.text = index >= 0 ? OptionNames[static_cast<std::size_t>(index)] : DefaultText;
}

std::string TZRComboBox::GetParam() const {
    if (OptionNames.empty()) {
        return Core.ExpandedParam();
    }
    const int index = FindOption(ComboControl.text);
    if (index < 0) {
        return {};
    }
    const std::string value =
        ExpandFileVariables(OptionValues[static_cast<std::size_t>(index)], Core.context);
    return Core.Param.empty() ? value : Core.ExpandedParam() + " " + value;
}

std::string TZRComboBox::GetParamFor(std::string_view lowerName) const {
    return Core.LendsTo(lowerName) ? GetParam() : std::string();
}

std::string TZRComboBox::GetPresetText() const {
    return Core.PresetLines() + "\r\nValue = " + ComboControl.text;
}

void TZRComboBox::Reset() {
    SetChecked(false);
    ComboControl.enabled = false;
    ComboControl.text = DefaultText;
}

}  // namespace kestrune
