// The about box's texts and its button.

#include "app/Kestrune.h"

namespace kestrune {

namespace {

using K = ControlKind;

#ifdef _WIN32
constexpr std::string_view kPlatformCaption = "For Windows";
#else
constexpr std::string_view kPlatformCaption = "For Linux";
#endif

constexpr ControlRow kRows[] = {
    {.name = KESTRUNE_CONTROL(TfrmAbout, grpAbout),
     .kind = K::Group,
     .bounds = {8, 8, 265, 217},
     .accessibleName = "About Kestrune"},
    {.name = KESTRUNE_CONTROL(TfrmAbout, ProgramIcon),
     .kind = K::Picture,
     .parent = "grpAbout",
     .bounds = {8, 17, 32, 32},
     .accessibleName = "Kestrune icon"},
    {.name = KESTRUNE_CONTROL(TfrmAbout, lblProgram),
     .kind = K::Title,
     .parent = "grpAbout",
     .caption = "Kestrune",
     .bounds = {40, 24, 185, 21},
     .flags = kBold},
    {.name = KESTRUNE_CONTROL(TfrmAbout, lblVersion),
     .kind = K::Label,
     .parent = "grpAbout",
     .caption = "Version:",
     .bounds = {40, 56, 185, 13}},
    {.name = KESTRUNE_CONTROL(TfrmAbout, lblPlatform),
     .kind = K::Label,
     .parent = "grpAbout",
     .caption = kPlatformCaption,
     .bounds = {40, 72, 185, 13}},
    {.name = KESTRUNE_CONTROL(TfrmAbout, lblLanguage),
     .kind = K::Label,
     .parent = "grpAbout",
     .caption = "Written in C++ with Qt",
     .bounds = {40, 88, 185, 13}},
    {.name = KESTRUNE_CONTROL(TfrmAbout, lblAuthor),
     .kind = K::Label,
     .parent = "grpAbout",
     .caption = "By the Kestrune developers",
     .bounds = {40, 104, 185, 13}},
    {.name = KESTRUNE_CONTROL(TfrmAbout, grpSpecificationFile),
     .kind = K::Group,
     .parent = "grpAbout",
     .caption = "Specification File:",
     .bounds = {8, 136, 249, 73}},
    {.name = KESTRUNE_CONTROL(TfrmAbout, lblSpecName),
     .kind = K::Label,
     .parent = "grpSpecificationFile",
     .caption = "Name:",
     .bounds = {8, 20, 233, 13}},
    {.name = KESTRUNE_CONTROL(TfrmAbout, lblSpecProgram),
     .kind = K::Label,
     .parent = "grpSpecificationFile",
     .caption = "For:",
     .bounds = {8, 36, 233, 13}},
    {.name = KESTRUNE_CONTROL(TfrmAbout, lblSpecAuthor),
     .kind = K::Label,
     .parent = "grpSpecificationFile",
     .caption = "By:",
     .bounds = {8, 52, 233, 13}},
    {.name = KESTRUNE_CONTROL(TfrmAbout, cmdOK),
     .kind = K::DefaultButton,
     .caption = "OK",
     .bounds = {104, 232, 75, 25},
     .click = [](Kestrune& k) { k.frmAbout.cmdOKClick(); }},
};

}  // namespace

ControlTable TfrmAbout::Controls() {
    return kRows;
}

}  // namespace kestrune
