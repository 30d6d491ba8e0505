#pragma once
// Registers preset files (*.zrp) with the desktop, so that opening one starts Kestrune on it.

#include <string>

#include "base/Platform.h"
#include "base/Result.h"

namespace kestrune {

inline constexpr const char* kPresetClassName = "Kestrune_Preset_FileRef";
inline constexpr const char* kPresetDescription = "Kestrune Preset File";
inline constexpr const char* kPresetMimeType = "application/x-kestrune-preset";
// The desktop entry the association writes for a portable copy, and the one an installed
// Kestrune ships; for an installed one the association writes the shipped name, so the
// user's entry stands in for the shipped one instead of showing a second menu entry.
inline constexpr const char* kDesktopEntryName = "kestrune.desktop";
inline constexpr const char* kInstalledDesktopEntryName = "org.kestrune.Kestrune.desktop";

// Windows: the class keys under HKEY_CLASSES_ROOT. Elsewhere: a freedesktop MIME type and a
// desktop entry in the user's data folder, then the refresh below. A failure's message names
// what could not be created or written; what was written stays.
Result<void> RegisterPresetAssociation(Platform& platform, const std::string& executable,
                                       const std::string& icon,
                                       const std::string& entryName = kDesktopEntryName);

// The two means behind it, each usable on its own.
Result<void> RegisterPresetClassKeys(Platform& platform, const std::string& executable);
Result<void> RegisterPresetDesktopEntry(Platform& platform, const std::string& executable,
                                        const std::string& icon,
                                        const std::string& entryName = kDesktopEntryName);

// Lets the desktop take up the written files: the user's MIME and desktop databases are
// refreshed and Kestrune becomes the preset type's default application. Done also when the
// platform runs no tools; a failure's message names the missing tools and their packages, or
// the tool that failed.
Result<void> RefreshDesktopDatabases(Platform& platform, const std::string& dataFolder,
                                     const std::string& entryName = kDesktopEntryName);

// The text of the desktop entry and of the MIME type file.
std::string DesktopEntryText(const std::string& executable, const std::string& icon);
std::string MimeTypeText();

}  // namespace kestrune
