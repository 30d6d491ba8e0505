#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
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

// The tool browse dialog's filter when a program names none. Executables carry ".exe" on
// Windows only; elsewhere any file may be one.
#ifdef _WIN32
inline constexpr const char* kDefaultExeFilter = "All Executables (*.exe)|*.exe";
#else
inline constexpr const char* kDefaultExeFilter = "All Executables (*)|*";
#endif

// The fields of one kind in the order added. Every field keeps its address while more are
// added, so a reference returned by an Add operation stays valid as long as the group, which
// the view relies on; and an empty list allocates nothing, which matters because a
// specification of many small programs is mostly empty lists.
template <typename T>
class FieldList {
  public:
    using value_type = T;

    template <typename Item, typename Base>
    class Iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::remove_const_t<Item>;
        using difference_type = std::ptrdiff_t;
        using pointer = Item*;
        using reference = Item&;

        Iterator() = default;
        explicit Iterator(Base base) : base_(base) {}
        reference operator*() const { return **base_; }
        pointer operator->() const { return base_->get(); }
        Iterator& operator++() {
            ++base_;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++base_;
            return before;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.base_ == b.base_; }

      private:
        Base base_{};
    };
    using Items = std::vector<std::unique_ptr<T>>;
    using iterator = Iterator<T, typename Items::const_iterator>;
    using const_iterator = Iterator<const T, typename Items::const_iterator>;

    template <typename... Args>
    T& emplace_back(Args&&... args) {
        return *items_.emplace_back(std::make_unique<T>(std::forward<Args>(args)...));
    }

    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    T& operator[](std::size_t i) { return *items_[i]; }
    const T& operator[](std::size_t i) const { return *items_[i]; }
    T& at(std::size_t i) { return *items_.at(i); }
    const T& at(std::size_t i) const { return *items_.at(i); }
    T& front() { return *items_.front(); }
    const T& front() const { return *items_.front(); }
    T& back() { return *items_.back(); }
    const T& back() const { return *items_.back(); }
    iterator begin() { return iterator(items_.cbegin()); }
    iterator end() { return iterator(items_.cend()); }
    const_iterator begin() const { return const_iterator(items_.cbegin()); }
    const_iterator end() const { return const_iterator(items_.cend()); }

  private:
    Items items_;
};

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
    // The same from the fields `counted` keeps, such as those a run leaves ticked.
    template <typename Predicate>
    std::string JoinedParams(Predicate&& counted) const {
        std::string params;
        ForEachField([&](const auto& field) {
            if (!counted(field)) {
                return;
            }
            if (!params.empty()) {
                params.append(field.ParamSeparator());
            }
            params.append(field.GetParam());
        });
        return params;
    }
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

    FieldList<TZRLabelBox> Labels;
    FieldList<TZRCheckBox> CheckBoxes;
    FieldList<TZREditBox> EditBoxes;
    FieldList<TZRComboBox> ComboBoxes;
    FieldList<TZRBrowseBox> BrowseBoxes;
    FieldList<TZRColorBox> ColorBoxes;

  private:
    // Starts a new column when the next row would not fit the tab's height.
    void EnsureRoom();

    FieldContext& context_;
};

}  // namespace kestrune
