#include "fields/Group.h"

#include <type_traits>

#include "base/Paths.h"
#include "base/Text.h"

namespace kestrune {
namespace {

// True when `header` is exactly "[Field = <caption>]"; compared in place, since a preset
// offers every section to every field of its program.
bool IsFieldHeaderOf(std::string_view header, std::string_view caption) {
    constexpr std::string_view kOpen = "[Field = ";
    return header.size() == kOpen.size() + caption.size() + 1 && header.starts_with(kOpen) &&
           header.back() == ']' && header.substr(kOpen.size(), caption.size()) == caption;
}

}  // namespace
namespace {

// No screen reaches this far; a huge "spaces" count stops here instead of running for
// minutes and overflowing the cursor.
constexpr int kMaxCursor = 1 << 24;

}  // namespace

TZRGroup::TZRGroup(FieldContext& context, std::string name, bool requireExe, std::string exeFilter,
                   std::string groupCaption, TabSize tab)
    : Name(std::move(name)),
      GroupCaption(std::move(groupCaption)),
      RequireExe(requireExe),
      ExeFilter(std::move(exeFilter)),
      Tab(tab),
      context_(context) {
    TabSheet.text = Name;
    GroupBox.text = GroupCaption;
    GroupBox.bounds = {8, 8, tab.clientWidth - 16, tab.clientHeight - 16};
}

void TZRGroup::EnsureRoom() {
    if (Tab.clientHeight - 16 < CursorTop + kControlHeight) {
        CursorLeft += kColumnWidth;
        CursorTop = 16;
    }
}

TZRLabelBox& TZRGroup::AddLabel(const std::string& caption) {
    EnsureRoom();
    TZRLabelBox& label = Labels.emplace_back(caption, CursorLeft, CursorTop);
    CursorTop += kRowHeight;
    return label;
}

TZRCheckBox& TZRGroup::AddCheckBox(FieldDescription description, bool batchCommand) {
    EnsureRoom();
    TZRCheckBox& box = CheckBoxes.emplace_back(context_, std::move(description), batchCommand,
                                               CursorLeft, CursorTop);
    CursorTop += kRowHeight;
    return box;
}

TZREditBox& TZRGroup::AddEditBox(FieldDescription description, const TValue& value) {
    EnsureRoom();
    TZREditBox& box =
        EditBoxes.emplace_back(context_, std::move(description), value, CursorLeft, CursorTop);
    CursorTop += kRowHeight;
    return box;
}

TZRComboBox& TZRGroup::AddComboBox(FieldDescription description, const std::string& defaultText) {
    EnsureRoom();
    TZRComboBox& box = ComboBoxes.emplace_back(context_, std::move(description), defaultText,
                                               CursorLeft, CursorTop);
    CursorTop += kRowHeight;
    return box;
}

void TZRGroup::AddComboOption(const std::string& name, const std::string& value) {
    if (!ComboBoxes.empty()) {
        ComboBoxes.back().AddOption(name, value);
    }
}

TZRBrowseBox& TZRGroup::AddBrowseBox(FieldDescription description, const std::string& browseType,
                                     const std::string& filter) {
    EnsureRoom();
    TZRBrowseBox& box = BrowseBoxes.emplace_back(context_, std::move(description), browseType,
                                                 filter, CursorLeft, CursorTop);
    CursorTop += kRowHeight;
    return box;
}

TZRColorBox& TZRGroup::AddColorBox(FieldDescription description, std::uint32_t color) {
    EnsureRoom();
    TZRColorBox& box =
        ColorBoxes.emplace_back(context_, std::move(description), color, CursorLeft, CursorTop);
    CursorTop += kRowHeight;
    return box;
}

void TZRGroup::AddSpaces(int count) {
    for (int i = 0; i < count && CursorLeft < kMaxCursor && CursorTop < kMaxCursor; ++i) {
        EnsureRoom();
        CursorTop += kRowHeight;
    }
}

std::string TZRGroup::GetParams() const {
    return JoinedParams([](const auto& field) { return field.Checked(); });
}

std::string TZRGroup::GetParamsFor(std::string_view otherName) const {
    const std::string lowerName = LowerAscii(otherName);
    std::string params;
    ForEachField([&](const auto& field) {
        if (!field.Checked()) {
            return;
        }
        std::string fragment = field.GetParamFor(lowerName);
        if (params.empty()) {
            params = std::move(fragment);
        } else {
            params.append(" ").append(fragment);
        }
    });
    return params;
}

void TZRGroup::ClearEmptyFields() {
    auto clear = [this](auto& fields) {
        for (auto& field : fields) {
            if (field.Checked() && field.Text().empty()) {
                field.Reset();
                context_.PresetChanged = true;
            }
        }
    };
    clear(EditBoxes);
    clear(ComboBoxes);
    clear(BrowseBoxes);
}

void TZRGroup::ResetFields() {
    Run = false;
    ForEachField([](auto& field) { field.Reset(); });
}

std::string TZRGroup::GetPresetSection() const {
    std::string section = "[Class = " + Name + "]";
    if (RequireExe) {
        section.append("\r\nRun = ").append(BoolText(Run));
    }
    ForEachField(
        [&section](const auto& field) { section.append(kCrLf).append(field.GetPresetText()); });
    return section;
}

void TZRGroup::BeginPresetLoad() {
    ForEachField([](auto& field) { field.Core.Assigned = false; });
}

void TZRGroup::EndPresetLoad() {
    ForEachField([](auto& field) { field.Core.Assigned = true; });
}

void TZRGroup::ApplyPresetField(std::string_view header, bool checked, const std::string& value) {
    bool done = false;
    ForEachField([&](auto& field) {
        if (done || field.Core.Assigned) {
            return;
        }
        if (!IsFieldHeaderOf(header, field.Caption())) {
            return;
        }
        done = true;
        field.SetChecked(checked);
        field.SetValueFromPreset(value);
        field.Core.Assigned = true;
    });
}

}  // namespace kestrune
