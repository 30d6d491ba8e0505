#include "app/About.h"

#include "app/Main.h"

namespace kestrune {

namespace {

ControlState Label(std::string caption, Bounds bounds) {
    ControlState control;
    control.text = std::move(caption);
    control.bounds = bounds;
    return control;
}

}  // namespace

TfrmAbout::TfrmAbout(TfrmMain& main) : main_(main) {
    grpAbout = Label("", {8, 8, 265, 217});
    ProgramIcon = Label("", {8, 17, 32, 32});
    lblProgram = Label("Kestrune", {40, 24, 185, 21});
    lblProgram.bold = true;
    lblVersion = Label("Version:", {40, 56, 185, 13});
    lblPlatform = Label("For Windows", {40, 72, 185, 13});
#ifndef _WIN32
    lblPlatform.text = "For Linux";
#endif
    lblLanguage = Label("Written in C++ with Qt", {40, 88, 185, 13});
    lblAuthor = Label("By the Kestrune developers", {40, 104, 185, 13});
    grpSpecificationFile = Label("Specification File:", {8, 136, 249, 73});
    lblSpecName = Label("Name:", {8, 20, 233, 13});
    lblSpecProgram = Label("For:", {8, 36, 233, 13});
    lblSpecAuthor = Label("By:", {8, 52, 233, 13});
    cmdOK = Label("OK", {104, 232, 75, 25});
}

void TfrmAbout::FormCreate() {
    lblVersion.text = "Version: " + main_.State().VersionText;
}

void TfrmAbout::Open() {
    const AppState& state = main_.State();
    Alpha = state.Opacity;
    Translucent = state.Opacity != 255;
    lblSpecName.text = "Name: " + state.SpecName;
    lblSpecProgram.text = "For: " + state.SpecProgram;
    lblSpecAuthor.text = "By: " + state.SpecAuthor;
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
