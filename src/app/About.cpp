#include "app/About.h"

#include "app/Main.h"

namespace kestrune {

TfrmAbout::TfrmAbout(TfrmMain& main) : main_(main) {
    grpAbout = MakeControl("", {8, 8, 265, 217});
    ProgramIcon = MakeControl("", {8, 17, 32, 32});
    lblProgram = MakeControl("Kestrune", {40, 24, 185, 21});
    lblProgram.bold = true;
    lblVersion = MakeControl("Version:", {40, 56, 185, 13});
    lblPlatform = MakeControl("For Windows", {40, 72, 185, 13});
#ifndef _WIN32
    lblPlatform.text = "For Linux";
#endif
    lblLanguage = MakeControl("Written in C++ with Qt", {40, 88, 185, 13});
    lblAuthor = MakeControl("By the Kestrune developers", {40, 104, 185, 13});
    grpSpecificationFile = MakeControl("Specification File:", {8, 136, 249, 73});
    lblSpecName = MakeControl("Name:", {8, 20, 233, 13});
    lblSpecProgram = MakeControl("For:", {8, 36, 233, 13});
    lblSpecAuthor = MakeControl("By:", {8, 52, 233, 13});
    cmdOK = MakeControl("OK", {104, 232, 75, 25});
}

void TfrmAbout::FormCreate() {
    lblVersion.text = "Version: " + main_.State().Script.VersionText;
}

void TfrmAbout::Open() {
    const AppState& state = main_.State();
    Alpha = state.Opacity;
    Translucent = state.Opacity != 255;
    lblSpecName.text = "Name: " + state.Specification.SpecName;
    lblSpecProgram.text = "For: " + state.Specification.SpecProgram;
    lblSpecAuthor.text = "By: " + state.Specification.SpecAuthor;
    IsOpen = true;
}

void TfrmAbout::cmdOKClick() {
    IsOpen = false;
}

std::vector<std::pair<std::string_view, ControlState*>> TfrmAbout::NamedControls() {
    return {{"grpAbout", &grpAbout},           {"ProgramIcon", &ProgramIcon},
            {"lblProgram", &lblProgram},       {"lblVersion", &lblVersion},
            {"lblPlatform", &lblPlatform},     {"lblLanguage", &lblLanguage},
            {"lblAuthor", &lblAuthor},         {"grpSpecificationFile", &grpSpecificationFile},
            {"lblSpecName", &lblSpecName},     {"lblSpecProgram", &lblSpecProgram},
            {"lblSpecAuthor", &lblSpecAuthor}, {"cmdOK", &cmdOK}};
}

}  // namespace kestrune
