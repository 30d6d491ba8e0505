#include "fields/FieldCore.h"

#include "base/Text.h"

namespace kestrune {

std::string JoinedGroups(std::string_view text) {
    std::string joined;
    std::string_view rest = text;
    while (!TrimView(rest).empty()) {
        const std::size_t comma = rest.find(',');
        joined.append(LowerAscii(TrimView(rest.substr(0, comma)))).push_back(',');
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    }
    return joined;
}

FieldCore::FieldCore(FieldContext& fieldContext, FieldDescription description, int left, int top,
                     int checkWidth, std::string_view hintSuffix)
    : context(fieldContext),
      Param(std::move(description.Param)),
      Details(std::move(description.Details)),
      Width(ClampedWidth(description.Width)),
      groups_(JoinedGroups(description.Groups)) {
    CheckControl.text = std::move(description.Caption);
    CheckControl.bold = description.Bold;
    CheckControl.bounds = {left, top, checkWidth, kControlHeight};
    if (!Param.empty()) {
        CheckControl.hint = Param + std::string(hintSuffix);
    }
}

bool FieldCore::SetTick(bool checked) {
    if (CheckControl.checked == checked) {
        return false;
    }
    CheckControl.checked = checked;
    return true;
}

bool FieldCore::LendsTo(std::string_view lowerName) const {
    bool lends = false;
    ForEachGroup([&](std::string_view group) { lends = lends || group == lowerName; });
    return lends;
}

std::vector<std::string> FieldCore::Groups() const {
    std::vector<std::string> groups;
    ForEachGroup([&groups](std::string_view group) { groups.emplace_back(group); });
    return groups;
}

std::string FieldCore::PresetLines() const {
    return "[Field = " + Caption() + "]\r\nChecked = " + BoolText(Checked());
}

void FieldCore::FocusIfAssigned(const ControlState& valueControl) const {
    if (valueControl.enabled && Assigned) {
        context.Requests.Add(FocusControl{&valueControl});
    }
}

}  // namespace kestrune
