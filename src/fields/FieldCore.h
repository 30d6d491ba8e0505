#pragma once
// What the five value kinds share: the caption check box with its tooltip, the parameter, the
// help text, the list of programs the field lends to, and the Assigned flag.

#include <string>
#include <string_view>
#include <vector>

#include "base/ControlState.h"
#include "fields/FieldContext.h"

namespace kestrune {

inline constexpr int kColumnWidth = 180;
inline constexpr int kRowHeight = 25;
inline constexpr int kControlHeight = 21;

// A width below one column counts as one; a huge one is cut back so pixel sizes stay in range.
inline constexpr int kMaxColumns = 10000;
inline int ClampedWidth(int width) {
    return width < 1 ? 1 : (width > kMaxColumns ? kMaxColumns : width);
}
// A field `width` columns wide spans this many pixels.
inline int FullWidth(int width) {
    return ClampedWidth(width) * kColumnWidth - 4;
}

// The common field description that a specification element block hands over.
struct FieldDescription {
    std::string Caption;
    std::string Param;
    std::string Groups;  // program names separated by ","
    std::string Details;
    bool Bold = false;
    int Width = 1;
};

// "Linker, Packer" gives {"linker", "packer"}; empty parts between commas are kept, a trailing
// comma adds nothing.
std::vector<std::string> SplitGroups(std::string_view text);

class FieldCore {
  public:
    // `hintSuffix` follows the parameter in the check box's tooltip.
    FieldCore(FieldContext& context, FieldDescription description, int left, int top,
              int checkWidth, std::string_view hintSuffix);

    const std::string& Caption() const { return CheckControl.text; }
    bool Checked() const { return CheckControl.checked; }
    // Sets the tick; true when it changed (the owner then runs its Toggle).
    bool SetTick(bool checked);

    // Mouse over the field: show its help text.
    void ShowDetails() const { context.DetailsText = Details; }
    std::string ExpandedParam() const { return ExpandFileVariables(Param, context); }
    // True when the lower-cased program name is one of Groups.
    bool LendsTo(std::string_view lowerName) const;
    // "[Field = <caption>]" and "Checked = True|False" joined by CR LF.
    std::string PresetLines() const;
    // Ticking moves the focus to the value control once the field has been assigned.
    void FocusIfAssigned(const ControlState& valueControl) const;
    void MarkChanged() const { context.PresetChanged = true; }

    FieldContext& context;
    ControlState CheckControl;
    std::string Param;
    std::string Details;
    std::vector<std::string> Groups;
    int Width = 1;
    bool Assigned = false;
};

}  // namespace kestrune
