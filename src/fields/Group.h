#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/ControlState.h"
#include "fields/BrowseBox.h"
#include "fields/CheckBox.h"
#include "fields/ColorBox.h"
#include "fields/ComboBox.h"
#include "fields/EditBox.h"
#include "fields/FieldContext.h"
#include "fields/LabelBox.h"

namespace kestrune {

inline constexpr const char* kDefaultExeFilter = "All Executables (*.exe)|*.exe";

// The client area of a program tab, which decides when the layout starts a new column.
struct TabSize {
    int clientWidth = 569;
    int clientHeight = 317;
};

// One program of the loaded specification: its tab, its fields laid out in columns, and what
// it contributes to command lines and preset files. Fields are held per kind; every walk goes
// check, edit, combo, browse, colour boxes, each kind in the order added.
class TZRGroup {
  public:
    TZRGroup(FieldContext& context, std::string name, bool requireExe, std::string exeFilter,
             std::string groupCaption, TabSize tab = {});
    TZRGroup(const TZRGroup&) = delete;
    TZRGroup& operator=(const TZRGroup&) = delete;

    TZRLabelBox& AddLabel(const std::string& caption);
    TZRCheckBox& AddCheckBox(FieldDescription description, bool batchCommand);
    TZREditBox& AddEditBox(FieldDescription description, const TValue& value);
    TZRComboBox& AddComboBox(FieldDescription description, const std::string& defaultText);
    // Adds an option to the last combo box; ignored when there is none.
    void AddComboOption(const std::string& name, const std::string& value);
    TZRBrowseBox& AddBrowseBox(FieldDescription description, const std::string& browseType,
                               const std::string& filter);
    TZRColorBox& AddColorBox(FieldDescription description, std::uint32_t color);
    void AddSpaces(int count);

    // The program's own fragments, joined: a blank between them, a CR LF before the fragment
    // of a batch-command check box.
    std::string GetParams() const;
    // What this program's fields lend to the named program, joined by blanks.
    std::string GetParamsFor(std::string_view otherName) const;
    // Un-ticks ticked edit, combo and browse boxes whose value is empty.
    void ClearEmptyFields();
    void ResetFields();
    std::string GetPresetSection() const;
    void BeginPresetLoad();
    void EndPresetLoad();
    // Gives one preset field section to the first unassigned field whose header matches.
    void ApplyPresetField(std::string_view header, bool checked, const std::string& value);
    // Mouse over the group box: empties the details text.
    void GroupBoxMouseMove() { context_.DetailsText.clear(); }

    // Visits every value field in the fixed kind order.
    template <typename Visitor>
    void ForEachField(Visitor&& visit) {
        for (auto& f : CheckBoxes) {
            visit(f);
        }
        for (auto& f : EditBoxes) {
            visit(f);
        }
        for (auto& f : ComboBoxes) {
            visit(f);
        }
        for (auto& f : BrowseBoxes) {
            visit(f);
        }
        for (auto& f : ColorBoxes) {
            visit(f);
        }
    }
    template <typename Visitor>
    void ForEachField(Visitor&& visit) const {
        for (const auto& f : CheckBoxes) {
            visit(f);
        }
        for (const auto& f : EditBoxes) {
            visit(f);
        }
        for (const auto& f : ComboBoxes) {
            visit(f);
        }
        for (const auto& f : BrowseBoxes) {
            visit(f);
        }
        for (const auto& f : ColorBoxes) {
            visit(f);
        }
    }

    std::string Name;
    std::string GroupCaption;
    bool RequireExe = false;
    std::string ExeFilter;
    std::string ToolPath;
    bool Run = false;
    std::string CommandLine;

    ControlState TabSheet;  // captioned with the name
    ControlState GroupBox;  // captioned with GroupCaption
    TabSize Tab;
    int CursorLeft = 8;
    int CursorTop = 16;

    // Plain vectors: an empty one costs no allocation, and a specification of many small
    // programs is mostly empty lists. Fields are added only while a specification is read,
    // so a field may move until that reading ends and keeps its address afterwards, for as
    // long as the view shows it. A reference returned by an Add operation is valid until the
    // next Add of the same kind.
    std::vector<TZRLabelBox> Labels;
    std::vector<TZRCheckBox> CheckBoxes;
    std::vector<TZREditBox> EditBoxes;
    std::vector<TZRComboBox> ComboBoxes;
    std::vector<TZRBrowseBox> BrowseBoxes;
    std::vector<TZRColorBox> ColorBoxes;

  private:
    // Starts a new column when the next row would not fit the tab's height.
    void EnsureRoom();

    FieldContext& context_;
};

}  // namespace kestrune
