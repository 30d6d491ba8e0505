#pragma once
// Registers preset files (*.zrp) with the desktop, so that opening one starts Kestrune on it.

#include <string>

#include "base/Platform.h"

namespace kestrune {

inline constexpr const char* kPresetClassName = "Kestrune_Preset_FileRef";
inline constexpr const char* kPresetDescription = "Kestrune Preset File";
inline constexpr const char* kPresetMimeType = "application/x-kestrune-preset";

// Windows: the class keys under HKEY_CLASSES_ROOT. Elsewhere: a freedesktop MIME type and a
// desktop entry in the user's data folder. Returns the empty text when done, otherwise the
// message that names what could not be created or written; what was written stays.
std::string RegisterPresetAssociation(Platform& platform, const std::string& executable,
                                      const std::string& icon);

// The two means behind it, each usable on its own.
std::string RegisterPresetClassKeys(Platform& platform, const std::string& executable);
std::string RegisterPresetDesktopEntry(Platform& platform, const std::string& executable,
                                       const std::string& icon);

// The text of the desktop entry and of the MIME type file.
std::string DesktopEntryText(const std::string& executable, const std::string& icon);
std::string MimeTypeText();

}  // namespace kestrune
