; The Fulmina installer, built on Linux with makensis:
;   makensis -DVERSION=1.0.0 -DPROGRAMS=DIR -DOUTFILE=FILE [-DTARGET=amd64-unicode] fulmina.nsi
; Installs the saver and its renderer into one folder of the user's choice
; (per user by default: no administrator rights), offers to make Fulmina the
; current screen saver (the control panel lists savers from the system
; folders and the current one, so a per-user saver is listed once current),
; and registers an uninstaller that takes away all it added. Run again, it
; installs over the copy already there (moving it when given another folder),
; keeping the settings and the one uninstall entry.
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
!define UNINSTALLER "Fulmina-uninstall.exe"
!define OLD_UNINSTALLER "uninstall.exe"  ; its name in 1.0.0
!define TEXTURE_FOLDER "C:\z_quil"
!define TEXTURE_FILE "C:\z_quil\Fulmina.bmp"

Name "Fulmina ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Fulmina"
; An installed copy's folder comes first; /D= or the folder page still decide.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
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
  Call MoveEarlierCopy
  SetOutPath "$INSTDIR"
  File "${PROGRAMS}\Fulmina.scr"
  File "${PROGRAMS}\Fulmina.dll"
  File "${PROGRAMS}\README.txt"
  File "${PROGRAMS}\THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Fulmina screen saver"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Fulmina team"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Fulmina.scr"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/current" $1
  ${IfNot} ${Errors}
    Call MakeCurrent
  ${EndIf}
SectionEnd

; A copy installed before: its old-named uninstaller goes (only the one its
; entry names: a chosen folder may hold another program's uninstall.exe), and
; when this install goes elsewhere, its programs go and its settings move
; along unless the new folder has its own.
Function MoveEarlierCopy
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 == ""
    Return
  ${EndIf}
  ${If} $1 == '"$0\${OLD_UNINSTALLER}"'
    Delete "$0\${OLD_UNINSTALLER}"
  ${EndIf}
  ${If} $0 == $INSTDIR
    Return
  ${EndIf}
  ${If} ${FileExists} "$0\Fulmina.ini"
  ${AndIfNot} ${FileExists} "$INSTDIR\Fulmina.ini"
    CreateDirectory "$INSTDIR"
    Rename "$0\Fulmina.ini" "$INSTDIR\Fulmina.ini"
  ${EndIf}
  ; The saver to give back stays what it was before Fulmina, wherever Fulmina now is.
  ReadRegStr $2 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $2 == "$0\Fulmina.scr"
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Fulmina.scr"
  ${EndIf}
  Delete "$0\Fulmina.scr"
  Delete "$0\Fulmina.dll"
  Delete "$0\README.txt"
  Delete "$0\THIRD-PARTY-NOTICES.txt"
  Delete "$0\${UNINSTALLER}"
  RMDir "$0"
FunctionEnd

; Fulmina becomes the current screen saver. The saver and the on-off switch
; it replaces are kept for the uninstaller to give back, unless the saver it
; replaces is a Fulmina already (an install over an earlier one), whose own
; record of what came before stays.
Function MakeCurrent
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${GetFileName} $0 $1
  ${If} $1 != "Fulmina.scr"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" "$0"
    ClearErrors
    ReadRegStr $2 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} ${Errors}
      StrCpy $2 "none"  ; there was no such value
    ${EndIf}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" "$2"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Fulmina.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; Announced, so that it takes effect at once, not at the next sign-in.
  System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)'
FunctionEnd

; The saver's texture file, only when it is a plain file of one name in a
; plain folder, deleted through its own handle: never what a link planted
; there leads to. The folder goes when it is then empty and plain.
Function un.RemoveTextureFile
  System::Call 'kernel32::CreateFileW(w "${TEXTURE_FOLDER}", i 0x80, i 3, p 0, i 3, i 0x02200000, p 0) p.r0'
  ${If} $0 P= -1
    Return
  ${EndIf}
  Push $0
  Push "\\?\${TEXTURE_FOLDER}"
  Call un.IsPlainEntry
  Pop $1
  ${If} $1 == 1
    ; FILE_READ_ATTRIBUTES | DELETE, all sharing, the entry itself
    System::Call 'kernel32::CreateFileW(w "${TEXTURE_FILE}", i 0x10080, i 7, p 0, i 3, i 0x00200000, p 0) p.r2'
    ${If} $2 P<> -1
      Push $2
      Push "\\?\${TEXTURE_FILE}"
      Call un.IsPlainEntry
      Pop $3
      ${If} $3 == 1
        ; FileDispositionInfo: delete on close
        System::Call 'kernel32::SetFileInformationByHandle(p r2, i 4, *i 1, i 4)'
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r0)'
  ${If} $1 == 1
    RMDir "${TEXTURE_FOLDER}"
  ${EndIf}
FunctionEnd

; Stack: handle, expected final path ("\\?\..."). Gives 1 when the open entry
; is no reparse point, a file of one name or a folder, and leads to that path.
Function un.IsPlainEntry
  Exch $R1  ; path
  Exch
  Exch $R0  ; handle
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  StrCpy $R5 0
  ; BY_HANDLE_FILE_INFORMATION, 13 words: the attributes first, the link count 11th
  System::Call '*(i, i, i, i, i, i, i, i, i, i, i, i, i) p.R6'
  System::Call 'kernel32::GetFileInformationByHandle(p R0, p R6) i.R4'
  System::Call '*$R6(i .R2, i, i, i, i, i, i, i, i, i, i .R3, i, i)'
  System::Free $R6
  ${If} $R4 <> 0
    IntOp $R4 $R2 & 0x400  ; FILE_ATTRIBUTE_REPARSE_POINT
    ${If} $R4 = 0
      IntOp $R4 $R2 & 0x10  ; a folder's link count means nothing
      ${If} $R4 <> 0
      ${OrIf} $R3 = 1
        System::Call 'kernel32::GetFinalPathNameByHandleW(p R0, w .R4, i ${NSIS_MAX_STRLEN}, i 0) i.R2'
        ${If} $R2 > 0
        ${AndIf} $R4 == $R1
          StrCpy $R5 1
        ${EndIf}
      ${EndIf}
    ${EndIf}
  ${EndIf}
  StrCpy $R1 $R5
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R0
  Exch $R1  ; the result for the caller, $R1 as it was
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
    ClearErrors
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${IfNot} ${Errors}
      ${If} $2 == "none"
        DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
        StrCpy $2 0
      ${Else}
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$2"
      ${EndIf}
      IntOp $2 $2 + 0
      ; SPI_SETSCREENSAVEACTIVE, announced (SPIF_SENDCHANGE) but not written again
      System::Call 'user32::SystemParametersInfoW(i 17, i r2, p 0, i 2)'
    ${EndIf}
  ${EndIf}
  Delete "$INSTDIR\Fulmina.scr"
  Delete "$INSTDIR\Fulmina.dll"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  ${If} ${FileExists} "$INSTDIR\Fulmina.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION "Delete your Fulmina settings (Fulmina.ini) as well?" /SD IDNO IDNO keepSettings
    Delete "$INSTDIR\Fulmina.ini"
    keepSettings:
  ${EndIf}
  RMDir "$INSTDIR"
  ; What the saver leaves while it runs, and its folder once empty.
  Call un.RemoveTextureFile
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
