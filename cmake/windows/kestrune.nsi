; The Windows installer of Kestrune: installs for the current user only (no administrator),
; into %LOCALAPPDATA%\Programs\Kestrune, with a Start-menu entry and an uninstaller that the
; Settings' app list knows. scripts/package-windows passes VERSION, STAGE (the portable folder)
; and OUTFILE.
; A 64-bit installer: the programs are 64-bit, and a 64-bit Wine runs no 32-bit program.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

Name "Kestrune ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kestrune"
InstallDirRegKey HKCU "Software\Kestrune" "InstallDir"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrune"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Kestrune"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*"
    WriteRegStr HKCU "Software\Kestrune" "InstallDir" "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "$SMPROGRAMS\Kestrune"
    CreateShortcut "$SMPROGRAMS\Kestrune\Kestrune.lnk" "$INSTDIR\kestrune.exe"
    CreateShortcut "$SMPROGRAMS\Kestrune\REDA.lnk" "$INSTDIR\REDA.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kestrune"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kestrune developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestrune.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put there; the user's settings and own specifications in Config\
; and SpecFiles\ are the user's, so a folder that still holds them is left.
Section "Uninstall"
    Delete "$SMPROGRAMS\Kestrune\Kestrune.lnk"
    Delete "$SMPROGRAMS\Kestrune\REDA.lnk"
    RMDir "$SMPROGRAMS\Kestrune"
!include "${FILELIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "Software\Kestrune"
SectionEnd
