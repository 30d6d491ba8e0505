#include "fields/ComboBox.h"

#include <algorithm>

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

void TZRComboBox::Toggle() {
    Core.MarkChanged();
    ComboControl.enabled = Checked();
    Core.FocusIfAssigned(ComboControl);
}

namespace {

// FNV-1a over the lower-cased bytes, so that names equal without case hash alike.
std::size_t HashNoCase(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

}  // namespace

int TZRComboBox::FindOption(std::string_view text) const {
    if (index_.empty()) {
        for (std::size_t i = 0; i < OptionNames.size(); ++i) {
            if (EqualsNoCase(OptionNames[i], text)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    const std::size_t mask = index_.size() - 1;
    for (std::size_t slot = HashNoCase(text) & mask; index_[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t option = index_[slot] - 1;
        if (EqualsNoCase(OptionNames[option], text)) {
            return static_cast<int>(option);
        }
    }
    return -1;
}

void TZRComboBox::IndexOption(std::size_t option) {
    auto place = [this](std::size_t i) {
        const std::size_t mask = index_.size() - 1;
        std::size_t slot = HashNoCase(OptionNames[i]) & mask;
        while (index_[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        index_[slot] = static_cast<std::uint32_t>(i + 1);
    };
    if ((option + 1) * 2 > index_.size()) {
        index_.assign(std::max<std::size_t>(64, index_.size() * 2), 0);
        for (std::size_t i = 0; i < option; ++i) {
            place(i);
        }
    }
    place(option);
}

void TZRComboBox::AddOption(const std::string& name, const std::string& value) {
    if (FindOption(name) >= 0) {
        return;
    }
    OptionNames.push_back(name);
    OptionValues.push_back(value);
    if (!index_.empty() || OptionNames.size() >= kIndexedFrom) {
        IndexOption(OptionNames.size() - 1);
    }
}

void TZRComboBox::EndOptions() {
    OptionNames.shrink_to_fit();
    OptionValues.shrink_to_fit();
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
    const std::string& option = OptionValues[static_cast<std::size_t>(index)];
    if (Core.Param.empty()) {
        return ExpandFileVariables(option, Core.context.Files);
    }
    // The option's names are quoted for their place after the switch.
    const std::string param = Core.ExpandedParam() + " ";
    return param + ExpandFileVariables(option, Core.context.Files, param);
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

std::vector<ShownControl> TZRComboBox::ShownControls() const {
    return {{.state = &ComboControl,
             .shape = ValueShape::Choice,
             .leaveChecks = true,
             .options = &OptionNames}};
}

ControlState* TZRComboBox::ValueControl(FieldAction /*action*/) {
    return &ComboControl;
}

FieldApplied TZRComboBox::Apply(const FieldEvent& event) {
    if (event.action == FieldAction::Type) {
        EditChange(event.text);
    } else if (event.action == FieldAction::Leave) {
        NormalizeChoice();
    } else if (event.action == FieldAction::Pick) {
        if (event.option < 0 || static_cast<std::size_t>(event.option) >= OptionNames.size()) {
            return FieldApplied::NoOption;
        }
        Select(static_cast<std::size_t>(event.option));
    }
    return FieldApplied::Done;
}

}  // namespace kestrune
