#pragma once
// The about box: the program's name and version and the loaded specification's name, program
// and author.

#include <string>
#include <string_view>
#include <vector>

#include "app/ControlTable.h"
#include "app/DialogHost.h"

namespace kestrune {

// The address the Help menu's online help opens.
inline constexpr const char* kOnlineHelpAddress = "https://kestrune.org/help/";

class TfrmAbout : public ControlWindow {
  public:
    static constexpr WindowId kWindowId = WindowId::About;
    explicit TfrmAbout(DialogHost& main);
    TfrmAbout(const TfrmAbout&) = delete;
    TfrmAbout& operator=(const TfrmAbout&) = delete;

    bool IsOpen = false;
    std::string Caption = "About Kestrune";
    bool Translucent = false;
    int Alpha = kOpaqueAlpha;

    ControlState grpAbout, ProgramIcon, lblProgram, lblVersion, lblPlatform, lblLanguage, lblAuthor,
        grpSpecificationFile, lblSpecName, lblSpecProgram, lblSpecAuthor, cmdOK;

    void FormCreate();
    // Opening from the Help menu: copies the translucency and the specification's texts.
    void Open();
    void cmdOKClick();

    // The box's texts and button as it declares them.
    static ControlTable Controls();
    // The texts a replay's dump shows, by name.
    std::vector<std::pair<std::string_view, std::string>> DumpTexts() const;

  private:
    DialogHost& main_;
};

}  // namespace kestrune
