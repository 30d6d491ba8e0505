#pragma once
// What the five value kinds share: the caption check box with its tooltip, the parameter, the
// help text, the list of programs the field lends to, and the Assigned flag.

#include <string>
#include <string_view>
#include <vector>

#include "base/ControlState.h"
#include "base/SparseText.h"
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

// The program names of a "groups" text, trimmed and lower-cased, each followed by a comma:
// "Linker, Packer" gives "linker,packer,". Empty parts between commas are kept, a trailing
// comma adds nothing. A field keeps its names this way, since a list of strings would cost some
// thirty bytes for every comma of the specification.
std::string JoinedGroups(std::string_view text);

// Calls `visit` with each name of a JoinedGroups text, in order.
template <typename Visitor>
void ForEachJoinedGroup(std::string_view joined, Visitor&& visit) {
    for (std::size_t start = 0; start < joined.size();) {
        const std::size_t comma = joined.find(',', start);
        visit(joined.substr(start, comma - start));
        start = comma + 1;
    }
}

class FieldCore {
  public:
    // `hintSuffix` follows the parameter in the check box's tooltip.
    FieldCore(FieldContext& fieldContext, FieldDescription description, int left, int top,
              int checkWidth, std::string_view hintSuffix);

    const std::string& Caption() const { return CheckControl.text; }
    bool Checked() const { return CheckControl.checked; }
    // Sets the tick; true when it changed (the owner then runs its Toggle).
    bool SetTick(bool checked);

    // Mouse over the field: show its help text.
    void ShowDetails() const { context.DetailsText = Details.str(); }
    std::string ExpandedParam() const { return ExpandFileVariables(Param, context.Files); }
    // True when the lower-cased program name is one of the programs the field lends to.
    bool LendsTo(std::string_view lowerName) const;
    // The lower-cased names of the programs the field lends to, in the specification's order.
    std::vector<std::string> Groups() const;
    bool LendsToAny() const { return !groups_.empty(); }
    template <typename Visitor>
    void ForEachGroup(Visitor&& visit) const {
        ForEachJoinedGroup(groups_.str(), visit);
    }
    // "[Field = <caption>]" and "Checked = True|False" joined by CR LF.
    std::string PresetLines() const;
    // Ticking moves the focus to the value control once the field has been assigned.
    void FocusIfAssigned(const ControlState& valueControl) const;
    void MarkChanged() const { context.PresetChanged = true; }

    FieldContext& context;
    ControlState CheckControl;
    std::string Param;
    SparseText Details;  // many fields have no help text
    int Width = 1;
    bool Assigned = false;

  private:
    SparseText groups_;  // JoinedGroups; most fields lend to no other program
};

// The operations every kind has on its caption box, written once: a kind derives from
// FieldOperations<itself>, holds a FieldCore named Core and says in Toggle what its own
// controls do when the tick changes.
template <typename Kind>
class FieldOperations {
  public:
    const std::string& Caption() const { return Self().Core.Caption(); }
    bool Checked() const { return Self().Core.Checked(); }
    // Runs the kind's Toggle when the tick changes.
    void SetChecked(bool checked) {
        if (Self().Core.SetTick(checked)) {
            Self().Toggle();
        }
    }
    void CheckClick() { SetChecked(!Checked()); }
    void MouseMove() const { Self().Core.ShowDetails(); }

  protected:
    FieldOperations() = default;

  private:
    friend Kind;
    Kind& Self() { return static_cast<Kind&>(*this); }
    const Kind& Self() const { return static_cast<const Kind&>(*this); }
};

}  // namespace kestrune
