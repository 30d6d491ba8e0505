#pragma once

#include <string>
#include <string_view>

#include "fields/FieldCore.h"
#include "fields/FieldEvent.h"

namespace kestrune {

inline constexpr const char* kDefaultBrowseFilter = "All Files (*.*)|*.*";

// A switch with a folder, a file path or a file name chosen with a "..." button.
class TZRBrowseBox : public FieldOperations<TZRBrowseBox> {
  public:
    TZRBrowseBox(FieldContext& context, FieldDescription description, std::string_view browseType,
                 std::string filter, int left, int top);

    static constexpr FieldKind kKind = FieldKind::BrowseBoxes;

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
    // The user typed a path: a new text marks the preset changed.
    void EditChange(std::string text);
    // The "..." button: a folder chooser for "path", otherwise a file dialog. A chosen value
    // marks the preset changed.
    void ChooseValue();

    std::string GetParam() const;
    std::string GetParamFor(std::string_view lowerName) const;
    std::string GetPresetText() const;
    void Reset();
    // The file dialog's filter, "Description|Pattern|…".
    const std::string& Filter() const;

    FieldCore Core;
    std::string BrowseType;  // "path", "name" or anything else for a full file path
    ControlState EditControl;
    ControlState BrowseButton;

  private:
    // Most boxes keep the default filter, which is then not copied into each of them.
    std::string filter_;
    bool defaultFilter_ = false;
};

}  // namespace kestrune
