; The Fulmina installer, built on Linux with makensis:
;   makensis -DVERSION=1.0.0 -DPROGRAMS=DIR -DOUTFILE=FILE [-DTARGET=amd64-unicode] fulmina.nsi
; Installs the saver and its renderer into one folder of the user's choice
; (per user by default: no administrator rights), offers to make Fulmina the
; current screen saver (the control panel lists savers from the system
; folders and the current one, so a per-user saver is listed once current),
; and registers an uninstaller that takes away all it added. Run again, it
; installs over the copy already there, keeping the settings and the one
; uninstall entry; given another folder, it moves the copy there: the new
; copy is written whole first, and only then is the old one retired. An
; install that cannot be done whole changes nothing the user had (exit code
; 2 when silent).
; Silently: /S [/current] [/D=FOLDER]; the uninstaller: /S (keeps the settings).

!ifndef TARGET
  !define TARGET x86-unicode
!endif
Target ${TARGET}
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma
SetDateSave off  ; the same sources make the same installer
AllowSkipFiles off  ; a copy with a file skipped is no copy: retry or give up

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Fulmina"
!define DESKTOP_KEY "Control Panel\Desktop"
!define UNINSTALLER "Fulmina-uninstall.exe"
!define OLD_UNINSTALLER "uninstall.exe"  ; its name in the first 1.0.0
; The texts bear Fulmina's name: a folder may hold another program's README.txt.
!define README "Fulmina-README.txt"
!define NOTICES "Fulmina-THIRD-PARTY-NOTICES.txt"
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

Var InstalledDir        ; the folder of the copy installed before, "" when none
Var InstalledUninstaller  ; that copy's uninstall command, as its entry gives it
Var Moving              ; 1 when this install goes to another folder than that copy's
Var Written             ; how many of the copy's files this run has written
Var MadeFolder          ; the outermost folder this run made for the new copy
Var CopiedSettings      ; 1 when this run copied the settings into the new folder

; The files of an installed copy, in the order the installer writes them:
; each inserts MACRO with the file's place in that order and its name.
!macro ForEachCopyFile MACRO
  !insertmacro ${MACRO} 1 "Fulmina.scr"
  !insertmacro ${MACRO} 2 "Fulmina.dll"
  !insertmacro ${MACRO} 3 "${README}"
  !insertmacro ${MACRO} 4 "${NOTICES}"
  !insertmacro ${MACRO} 5 "${UNINSTALLER}"
!macroend

; $Existed1 to 5: 1 when that file was in the new copy's folder before this run.
!macro DeclareExisted N NAME
  Var Existed${N}
!macroend
!insertmacro ForEachCopyFile DeclareExisted

; Told to the user (not when silent); the install then stops, and
; .onInstFailed takes back what it wrote.
!macro Fail TEXT
  MessageBox MB_ICONSTOP|MB_OK "${TEXT}" /SD IDOK
  Abort "${TEXT}"
!macroend

; Steps on one file of a copy; the folder, where not $INSTDIR, is in $R0.
!macro CheckFree N NAME
  ${If} ${FileExists} "$R0\${NAME}"
  ${AndIfNot} ${FileExists} "$R0\${NAME}\*.*"
    ; GENERIC_WRITE, no sharing: refused while another program has it open
    System::Call 'kernel32::CreateFileW(w "$R0\${NAME}", i 0x40000000, i 0, p 0, i 3, i 0, p 0) p.r0'
    ${If} $0 P= -1
      !insertmacro Fail "$R0\${NAME} is in use or cannot be changed: close Fulmina and try again."
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
  ${EndIf}
!macroend

!macro NoteExisting N NAME
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    StrCpy $Existed${N} 1
  ${EndIf}
!macroend

!macro UndoWrite N NAME
  ${If} $Written >= ${N}
  ${AndIf} $Existed${N} != 1
    Delete "$INSTDIR\${NAME}"
  ${EndIf}
!macroend

; After each write of the new copy.
!macro Wrote
  ${If} ${Errors}
    !insertmacro Fail "Fulmina cannot write its files into $INSTDIR."
  ${EndIf}
  IntOp $Written $Written + 1
!macroend

!macro CheckWritten N NAME
  ${IfNot} ${FileExists} "$INSTDIR\${NAME}"
    !insertmacro Fail "Fulmina cannot write $INSTDIR\${NAME}."
  ${EndIf}
!macroend

!macro DeleteFile N NAME
  Delete "$R0\${NAME}"
!macroend

; NSIS puts the installed copy's folder or the default one in place of a /D=
; folder it finds unusable (a file on its path), without a word: a silent
; install would go where it was not asked to, and an interactive one shows
; that folder on the folder page.
Function .onInit
  System::Call 'kernel32::GetCommandLineW() w.r0'
  StrCpy $1 0
  ${Do}
    StrCpy $2 $0 4 $1
    ${If} $2 S== " /D="  ; as NSIS finds it: the rest of the line is the folder
      IntOp $1 $1 + 4
      StrCpy $1 $0 "" $1
      Push $1
      Push $INSTDIR
      Call SamePath
      Pop $2
      ${If} $2 == 0
        MessageBox MB_ICONSTOP|MB_OK "Fulmina cannot be installed in $1." /SD IDOK
        ${If} ${Silent}
          SetErrorLevel 2
          Abort
        ${EndIf}
      ${EndIf}
      ${ExitDo}
    ${EndIf}
    IntOp $1 $1 + 1
  ${LoopUntil} $2 == ""
FunctionEnd

Section "Fulmina"
  Call FindInstalledCopy
  Call CheckFilesFree
  ; The new copy, written whole and checked before anything else changes.
  Call MakeFolder
  SetOutPath "$INSTDIR"
  ClearErrors
  File "${PROGRAMS}\Fulmina.scr"
  !insertmacro Wrote
  File "${PROGRAMS}\Fulmina.dll"
  !insertmacro Wrote
  File "${PROGRAMS}\${README}"
  !insertmacro Wrote
  File "${PROGRAMS}\${NOTICES}"
  !insertmacro Wrote
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  !insertmacro Wrote
  Call CopySettings
  !insertmacro ForEachCopyFile CheckWritten
  ; Only now the entry, and the copy it replaces.
  Call RegisterNewCopy
  ${If} $Moving == 1
    Call RetireInstalledCopy
  ${ElseIf} $InstalledDir != ""
    Call RemoveEarlierLayout
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/current" $1
  ${IfNot} ${Errors}
    Call MakeCurrent
  ${EndIf}
SectionEnd

; Whatever stopped the install, the files it wrote where there were none, the
; settings it copied and the folders it made go again. Files it wrote over
; others (over the installed copy's, in its folder) stay: that copy is still
; whole, and nothing else has changed.
Function .onInstFailed
  SetOutPath "$TEMP"  ; out of the new folder, so that it can go
  !insertmacro ForEachCopyFile UndoWrite
  ${If} $CopiedSettings == 1
    Delete "$INSTDIR\Fulmina.ini"
  ${EndIf}
  ${If} $MadeFolder != ""
    StrCpy $0 "$INSTDIR"
    ${Do}
      RMDir "$0"
      ${If} $0 == $MadeFolder
        ${ExitDo}
      ${EndIf}
      ${GetParent} $0 $0
    ${LoopUntil} $0 == ""
  ${EndIf}
FunctionEnd

; The copy installed before, as its uninstall entry records it, and whether
; this install goes elsewhere.
Function FindInstalledCopy
  ReadRegStr $InstalledDir HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $InstalledUninstaller HKCU "${UNINSTALL_KEY}" "UninstallString"
  StrCpy $Moving 0
  ${If} $InstalledDir != ""
    Push "$InstalledDir"
    Push "$INSTDIR"
    Call SamePath
    Pop $0
    ${If} $0 == 0
      StrCpy $Moving 1
    ${EndIf}
  ${EndIf}
FunctionEnd

; Every file the install will replace or retire must be free now (no program,
; a running saver say, holds it open): an install that stopped half-way
; through a copy would leave two versions in one folder.
Function CheckFilesFree
  StrCpy $R0 "$INSTDIR"
  !insertmacro ForEachCopyFile CheckFree
  ${If} $Moving == 1
    StrCpy $R0 "$InstalledDir"
    !insertmacro ForEachCopyFile CheckFree
  ${EndIf}
FunctionEnd

; The folder of the new copy, the outermost folder made for it and the files
; already there remembered.
Function MakeFolder
  StrCpy $0 "$INSTDIR"
  ${Do}
    System::Call 'kernel32::GetFileAttributesW(w r0) i.r1'
    ${If} $1 <> -1
    ${OrIf} $0 == ""
      ${ExitDo}
    ${EndIf}
    StrCpy $MadeFolder $0
    ${GetParent} $0 $0
  ${Loop}
  ClearErrors
  CreateDirectory "$INSTDIR"
  ${If} ${Errors}
  ${OrIfNot} ${FileExists} "$INSTDIR\*.*"
    !insertmacro Fail "Fulmina cannot make the folder $INSTDIR."
  ${EndIf}
  !insertmacro ForEachCopyFile NoteExisting
FunctionEnd

; Moving, the settings are copied from the installed copy (not moved: they
; stay there until the new copy stands), unless the new folder has its own.
Function CopySettings
  ${If} $Moving == 1
  ${AndIf} ${FileExists} "$InstalledDir\Fulmina.ini"
  ${AndIfNot} ${FileExists} "$INSTDIR\Fulmina.ini"
    System::Call 'kernel32::CopyFileW(w "$InstalledDir\Fulmina.ini", w "$INSTDIR\Fulmina.ini", i 1) i.r0'
    ${If} $0 = 0
      !insertmacro Fail "Fulmina cannot copy its settings into $INSTDIR."
    ${EndIf}
    StrCpy $CopiedSettings 1
  ${EndIf}
FunctionEnd

; The one uninstall entry, naming the new copy.
Function RegisterNewCopy
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Fulmina screen saver"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Fulmina team"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Fulmina.scr"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
FunctionEnd

; The copy moved from: the current saver, when it is that copy, now names the
; new one (before the file it named goes); then its files, the settings
; copied from it, and its folder once empty. The saver to give back at
; uninstall stays what it was before Fulmina.
Function RetireInstalledCopy
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Push $0
  Push "$InstalledDir\Fulmina.scr"
  Call SamePath
  Pop $1
  ${If} $1 == 1
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Fulmina.scr"
  ${EndIf}
  StrCpy $R0 "$InstalledDir"
  !insertmacro ForEachCopyFile DeleteFile
  Call RemoveEarlierLayout
  ${If} $CopiedSettings == 1
    Delete "$InstalledDir\Fulmina.ini"
  ${EndIf}
  RMDir "$InstalledDir"
FunctionEnd

; What installers of 1.0.0 left in the installed copy's folder under other
; names: the uninstaller its entry names (only that one: the folder may hold
; another program's uninstall.exe), and README.txt and THIRD-PARTY-NOTICES.txt
; only when they hold exactly the bytes that installer wrote (its README, and
; the same notices as this one's), so never another program's texts.
Function RemoveEarlierLayout
  ${If} $InstalledUninstaller == '"$InstalledDir\${OLD_UNINSTALLER}"'
    Delete "$InstalledDir\${OLD_UNINSTALLER}"
  ${EndIf}
  InitPluginsDir
  File "/oname=$PLUGINSDIR\README.txt" "${PROGRAMS}\README-1.0.0.txt"
  Push "$InstalledDir\README.txt"
  Push "$PLUGINSDIR\README.txt"
  Call DeleteWhenEqual
  Push "$InstalledDir\THIRD-PARTY-NOTICES.txt"
  Push "$INSTDIR\${NOTICES}"
  Call DeleteWhenEqual
FunctionEnd

; Stack: a file, then a file of known bytes. The first goes when both hold
; the same bytes.
Function DeleteWhenEqual
  Exch $R0  ; known bytes
  Exch
  Exch $R1  ; the file to delete
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  StrCpy $R5 0
  ClearErrors
  FileOpen $R2 "$R1" r
  FileOpen $R3 "$R0" r
  ${IfNot} ${Errors}
    FileSeek $R2 0 END $R4
    FileSeek $R3 0 END $R0
    ${If} $R4 = $R0
      FileSeek $R2 0 SET
      FileSeek $R3 0 SET
      ${Do}
        ClearErrors
        FileReadByte $R2 $R4
        FileReadByte $R3 $R0
        ${If} ${Errors}  ; the end of both at once: no byte differed
          StrCpy $R5 1
          ${ExitDo}
        ${EndIf}
      ${LoopWhile} $R4 = $R0
    ${EndIf}
  ${EndIf}
  FileClose $R2
  FileClose $R3
  ${If} $R5 == 1
    Delete "$R1"
  ${EndIf}
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

; Stack: a path. Gives it as the file system knows it: full, with long names
; (where it exists: a short 8.3 name or a "..\" resolved), without a trailing
; separator.
!macro LongPathFunction un
Function ${un}LongPath
  Exch $R0
  Push $R1
  Push $R2
  System::Call 'kernel32::GetFullPathNameW(w R0, i ${NSIS_MAX_STRLEN}, w .R1, p 0) i.R2'
  ${If} $R2 > 0
  ${AndIf} $R2 < ${NSIS_MAX_STRLEN}
    StrCpy $R0 $R1
  ${EndIf}
  System::Call 'kernel32::GetLongPathNameW(w R0, w .R1, i ${NSIS_MAX_STRLEN}) i.R2'
  ${If} $R2 > 0
  ${AndIf} $R2 < ${NSIS_MAX_STRLEN}
    StrCpy $R0 $R1
  ${EndIf}
  StrCpy $R1 $R0 "" -1
  ${If} $R1 == "\"
    StrCpy $R0 $R0 -1
  ${EndIf}
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd

; Stack: two paths. Gives 1 when they name the same file or folder: their
; long forms equal but for case, as the file system compares names.
Function ${un}SamePath
  Exch $R0
  Exch
  Exch $R1
  Push $R2
  Push $R0
  Call ${un}LongPath
  Pop $R0
  Push $R1
  Call ${un}LongPath
  Pop $R1
  StrCpy $R2 0
  ${If} $R0 != ""
  ${AndIf} $R1 != ""
    System::Call 'kernel32::CompareStringOrdinal(w R0, i -1, w R1, i -1, i 1) i.R2'
    ${If} $R2 = 2  ; CSTR_EQUAL
      StrCpy $R2 1
    ${Else}
      StrCpy $R2 0
    ${EndIf}
  ${EndIf}
  StrCpy $R0 $R2
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd
!macroend
!insertmacro LongPathFunction ""
!insertmacro LongPathFunction "un."

; Fulmina becomes the current screen saver. The saver and the on-off switch
; it replaces (its value as it was: text, a number or none) are kept for the
; uninstaller to give back, unless the saver it replaces is this very copy
; (an install over an earlier one), whose own record of what came before
; stays.
Function MakeCurrent
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Push $0
  Push "$INSTDIR\Fulmina.scr"
  Call SamePath
  Pop $1
  ${If} $1 == 0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" "$0"
    ClearErrors
    ReadRegStr $2 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${IfNot} ${Errors}
      WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" "$2"
    ${Else}
      ClearErrors
      ReadRegDWORD $2 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
      ${IfNot} ${Errors}
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" "$2"
      ${Else}
        WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" "none"  ; there was no such value
      ${EndIf}
    ${EndIf}
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
  ; The screen saver setting goes back only while it is still this copy.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Push $0
  Push "$INSTDIR\Fulmina.scr"
  Call un.SamePath
  Pop $1
  ${If} $1 == 1
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} $1 != ""
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    ; The switch as it was recorded: text, a number, or "none" for no value.
    ClearErrors
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${IfNot} ${Errors}
      ${If} $2 == "none"
        DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
        StrCpy $2 0
      ${Else}
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$2"
      ${EndIf}
    ${Else}
      ClearErrors
      ReadRegDWORD $2 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
      ${If} ${Errors}
        StrCpy $2 ""  ; nothing recorded
      ${Else}
        WriteRegDWORD HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$2"
      ${EndIf}
    ${EndIf}
    ${If} $2 != ""
      IntOp $2 $2 + 0
      ; SPI_SETSCREENSAVEACTIVE, announced (SPIF_SENDCHANGE) but not written again
      System::Call 'user32::SystemParametersInfoW(i 17, i r2, p 0, i 2)'
    ${EndIf}
  ${EndIf}
  StrCpy $R0 "$INSTDIR"
  !insertmacro ForEachCopyFile DeleteFile
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
