#include "app/About.h"

namespace kestrune {

TfrmAbout::TfrmAbout(DialogHost& main) : ControlWindow(kWindowId), main_(main) {
    ApplyDesign(Controls(), *this);
}

void TfrmAbout::FormCreate() {
    lblVersion.text = "Version: " + main_.State().Script.VersionText;
}

void TfrmAbout::Open() {
    const AppState& state = main_.State();
    Alpha = state.Opacity;
    Translucent = state.Opacity != kOpaqueAlpha;
    lblSpecName.text = "Name: " + state.Specification.SpecName;
    lblSpecProgram.text = "For: " + state.Specification.SpecProgram;
    lblSpecAuthor.text = "By: " + state.Specification.SpecAuthor;
    IsOpen = true;
}

void TfrmAbout::cmdOKClick() {
    IsOpen = false;
}

std::vector<std::pair<std::string_view, std::string>> TfrmAbout::DumpTexts() const {
    return {{"lblVersion", lblVersion.text},
            {"lblSpecName", lblSpecName.text},
            {"lblSpecProgram", lblSpecProgram.text},
            {"lblSpecAuthor", lblSpecAuthor.text}};
}

}  // namespace kestrune
