#include "fields/BrowseBox.h"

#include "base/FileIo.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "fields/ShellQuoting.h"

namespace kestrune {

TZRBrowseBox::TZRBrowseBox(FieldContext& context, FieldDescription description,
                           std::string_view browseType, std::string filter, int left, int top)
    : Core(context, std::move(description), left, top, 88,
           EqualsNoCase(browseType, "path") ? " path" : " file"),
      BrowseType(LowerAscii(browseType)),
      defaultFilter_(filter == kDefaultBrowseFilter) {
    if (!defaultFilter_) {
        filter_ = std::move(filter);
    }
    const int editWidth = FullWidth(Core.Width) - 88 - 25;
    EditControl.enabled = false;
    EditControl.bounds = {left + 88, top, editWidth, kControlHeight};
    BrowseButton.text = "...";
    BrowseButton.enabled = false;
    BrowseButton.bounds = {left + 88 + editWidth + 4, top, 21, kControlHeight};
}

void TZRBrowseBox::Toggle() {
    Core.MarkChanged();
    EditControl.enabled = Checked();
    BrowseButton.enabled = Checked();
    Core.FocusIfAssigned(EditControl);
}

void TZRBrowseBox::ChooseValue() {
    Platform& platform = Core.context.platform;
    if (BrowseType == "path") {
        std::string folder = platform.ChooseFolder("Select A Folder:");
        if (!folder.empty()) {
            EditChange(std::move(folder));
        }
        return;
    }
    FileDialogRequest request;
    request.filter = Filter();
    if (FileExists(EditControl.text)) {
        request.initialFolder = std::string(FolderPart(EditControl.text));
    }
    const std::optional<std::string> chosen = platform.OpenFileDialog(request);
    if (!chosen) {
        return;
    }
    EditChange(BrowseType == "name" ? std::string(FileNamePart(*chosen)) : *chosen);
}

void TZRBrowseBox::EditChange(std::string text) {
    if (text != EditControl.text) {
        EditControl.text = std::move(text);
        Core.MarkChanged();
    }
}

std::string TZRBrowseBox::GetParam() const {
    // The path is data: it is quoted for its place, within the quotes a blank asks for.
    const std::string& path = EditControl.text;
    const bool blank = path.find(' ') != std::string::npos;
    std::string fragment = Core.ExpandedParam() + (blank ? " \"" : " ");
    ShellReader reader(Core.context.Files.Shell);
    reader.Read(fragment);
    fragment.append(QuoteName(path, reader.Here()));
    if (blank) {
        fragment.push_back('"');
    }
    return fragment;
}

std::string TZRBrowseBox::GetParamFor(std::string_view lowerName) const {
    return Core.LendsTo(lowerName) ? GetParam() : std::string();
}

std::string TZRBrowseBox::GetPresetText() const {
    return Core.PresetLines() + "\r\nValue = " + EditControl.text;
}

const std::string& TZRBrowseBox::Filter() const {
    static const std::string defaultFilter = kDefaultBrowseFilter;
    return defaultFilter_ ? defaultFilter : filter_;
}

void TZRBrowseBox::Reset() {
    SetChecked(false);
    EditControl.enabled = false;
    BrowseButton.enabled = false;
    EditControl.text.clear();
}

std::vector<ShownControl> TZRBrowseBox::ShownControls() const {
    // "..." says nothing by itself: the button chooses the field's value.
    return {{.state = &EditControl, .shape = ValueShape::Text, .hoverShowsHelp = true},
            {.state = &BrowseButton, .shape = ValueShape::Button, .purpose = "Choose"}};
}

ControlState* TZRBrowseBox::ValueControl(FieldAction action) {
    return action == FieldAction::Browse ? &BrowseButton : &EditControl;
}

FieldApplied TZRBrowseBox::Apply(const FieldEvent& event) {
    // Leaving a path box does nothing: it takes any text.
    if (event.action == FieldAction::Type) {
        EditChange(event.text);
    } else if (event.action == FieldAction::Browse) {
        ChooseValue();
    } else if (event.action == FieldAction::HoverValue) {
        MouseMove();
    }
    return FieldApplied::Done;
}

}  // namespace kestrune
