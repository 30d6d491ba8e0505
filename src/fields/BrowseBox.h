#pragma once

#include <string>
#include <string_view>

#include "fields/FieldCore.h"

namespace kestrune {

inline constexpr const char* kDefaultBrowseFilter = "All Files (*.*)|*.*";

// A switch with a folder, a file path or a file name chosen with a "..." button.
class TZRBrowseBox {
  public:
    TZRBrowseBox(FieldContext& context, FieldDescription description, std::string browseType,
                 std::string filter, int left, int top);

    const std::string& Caption() const { return Core.Caption(); }
    bool Checked() const { return Core.Checked(); }
    void SetChecked(bool checked);
    void CheckClick() { SetChecked(!Checked()); }
    void Toggle();
    void MouseMove() const { Core.ShowDetails(); }

    const std::string& Text() const { return EditControl.text; }
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
