; The Fulmina installer, built on Linux with makensis:
;   makensis -DVERSION=1.0.0 -DPROGRAMS=DIR -DOUTFILE=FILE [-DTARGET=amd64-unicode] fulmina.nsi
; Installs the saver and its renderer into one folder of the user's choice
; (per user by default: no administrator rights), offers to make Fulmina the
; current screen saver (the control panel lists savers from the system
; folders and the current one, so a per-user saver is listed once current),
; and registers an uninstaller that takes away all it added.
; Silently: /S [/current] [/D=FOLDER]; the uninstaller: /S (keeps the settings).

!ifndef TARGET
  !define TARGET x86-unicode
!endif
Target ${TARGET}
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma
SetDateSave off  ; the same sources make the same installer

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Fulmina"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "Fulmina ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Fulmina"
BrandingText "Fulmina ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Fulmina"
VIAddVersionKey /LANG=1033 "FileDescription" "Fulmina screen saver installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "The Fulmina team"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 The Fulmina team"

!define MUI_ICON "${PROGRAMS}\..\assets\fulmina.ico"
!define MUI_UNICON "${PROGRAMS}\..\assets\fulmina.ico"
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Make Fulmina my screen saver"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION MakeCurrent
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

Section "Fulmina"
  SetOutPath "$INSTDIR"
  File "${PROGRAMS}\Fulmina.scr"
  File "${PROGRAMS}\Fulmina.dll"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Fulmina screen saver"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Fulmina team"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Fulmina.scr"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/current" $1
  ${IfNot} ${Errors}
    Call MakeCurrent
  ${EndIf}
SectionEnd

; Fulmina becomes the current screen saver; the one it replaces is kept for
; the uninstaller to give back.
Function MakeCurrent
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != "$INSTDIR\Fulmina.scr"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" "$0"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Fulmina.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
FunctionEnd

Section "Uninstall"
  ; The screen saver setting goes back only while it is still Fulmina.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$INSTDIR\Fulmina.scr"
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} $1 != ""
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
  ${EndIf}
  Delete "$INSTDIR\Fulmina.scr"
  Delete "$INSTDIR\Fulmina.dll"
  Delete "$INSTDIR\uninstall.exe"
  ${If} ${FileExists} "$INSTDIR\Fulmina.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION "Delete your Fulmina settings (Fulmina.ini) as well?" /SD IDNO IDNO keepSettings
    Delete "$INSTDIR\Fulmina.ini"
    keepSettings:
  ${EndIf}
  RMDir "$INSTDIR"
  ; What the saver leaves while it runs, and its folder once empty.
  Delete "C:\z_quil\Fulmina.bmp"
  RMDir "C:\z_quil"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
