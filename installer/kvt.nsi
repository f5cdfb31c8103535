; The per-user installer of kvt.scr, built by build-installer beside it (for CMake, once per
; Windows build, and for scripts/package):
;   makensis -INPUTCHARSET UTF8 -DTARGET=amd64-unicode|x86-unicode -DSAVER=<kvt.scr>
;            -DVERSION=<major.minor.patch> -DICON=<kvt.ico> -DOUTFILE=<setup.exe>
;            [-DSIGN=<command that signs the file named last>] kvt.nsi
; It needs no administrator rights: kvt.scr goes to a folder the user can write to, so
; kvtini.xml can be saved beside it, and every registry value it touches is under HKCU.

!ifndef TARGET | SAVER | VERSION | ICON | OUTFILE
  !error "kvt.nsi needs TARGET, SAVER, VERSION, ICON and OUTFILE"
!endif

Unicode true
Target ${TARGET}
!ifdef SIGN
  ; The uninstaller is signed before it goes into the installer, the installer once written.
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Tavelo's Rss Screensaver"
!define PUBLISHER "Tavelo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TaveloRssScreensaver"
!define DESKTOP_KEY "Control Panel\Desktop"
; SystemParametersInfo: SPI_SETSCREENSAVEACTIVE, with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE.
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SAVE_AND_SEND 3

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; No blank in the folder's name: Windows starts an idle-time saver by its path, and a path
; with blanks is a known reason for a selected saver never to start.
!define DEFAULT_DIR "$LOCALAPPDATA\Programs\TaveloRssScreensaver"
InstallDir "${DEFAULT_DIR}"
; Where the first installers put it, with a blank in its name.
!define OLD_DEFAULT_DIR "$LOCALAPPDATA\Programs\Tavelo Rss Screensaver"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kvt.scr"
!define MUI_FINISHPAGE_RUN_PARAMETERS "/c"
!define MUI_FINISHPAGE_RUN_TEXT "スクリーン セーバーの設定を開く"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

; The folder of an earlier install that this one replaces, when it is not $INSTDIR.
Var earlierDir

; The long form of the path in $0, into $0 (unchanged when the file is not there).
!macro LONG_PATH prefix
Function ${prefix}LongPath
  System::Call 'kernel32::GetLongPathName(t r0, t .r1, i ${NSIS_MAX_STRLEN}) i .r2'
  ${If} $2 <> 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $1
  ${EndIf}
FunctionEnd
!macroend
!insertmacro LONG_PATH ""
!insertmacro LONG_PATH "un."

Function .onInit
  ; An upgrade goes where the earlier install is, unless that was the old default folder
  ; (it has a blank) or the user named a folder with /D=.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
    Return
  ${EndIf}
  Call LongPath
  StrCpy $earlierDir $0
  StrCpy $0 "${OLD_DEFAULT_DIR}"
  Call LongPath
  ${If} $INSTDIR == "${DEFAULT_DIR}"
  ${AndIf} $earlierDir != $0
    StrCpy $INSTDIR $earlierDir
  ${EndIf}
FunctionEnd

; Moves an earlier install in another folder here, so one copy and one uninstall entry remain:
; its settings come along byte for byte (unless this folder has its own), its kvt.scr and
; uninstaller go, and its folder goes when nothing else is left in it. It runs before this
; install writes anything, so what it deletes is never what was just installed.
Function MoveEarlierInstall
  ${If} $earlierDir == ""
  ${OrIfNot} ${FileExists} "$earlierDir\uninst.exe"
    Return
  ${EndIf}
  ; The same folder can be named in other words (a link, a junction, subst, a short name):
  ; a file made in $INSTDIR and seen through $earlierDir shows that it is this folder. When
  ; no file can be made here, nothing is moved.
  CreateDirectory "$INSTDIR"
  GetTempFileName $0 "$INSTDIR"
  ${If} $0 == ""
    Return
  ${EndIf}
  ${GetFileName} $0 $1
  ${If} ${FileExists} "$earlierDir\$1"
    Delete $0
    Return
  ${EndIf}
  Delete $0
  ${If} ${FileExists} "$earlierDir\kvtini.xml"
  ${AndIfNot} ${FileExists} "$INSTDIR\kvtini.xml"
    ClearErrors
    Rename "$earlierDir\kvtini.xml" "$INSTDIR\kvtini.xml"
    ${If} ${Errors}
      ; Another volume: copy, and remove the original only once the copy is there.
      CopyFiles /SILENT "$earlierDir\kvtini.xml" "$INSTDIR"
      ${If} ${FileExists} "$INSTDIR\kvtini.xml"
        Delete "$earlierDir\kvtini.xml"
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Delete "$earlierDir\kvt.scr"
  Delete "$earlierDir\uninst.exe"
  RMDir "$earlierDir"
FunctionEnd

; "$INSTDIR\kvt.scr" as Windows' screen-saver panel stores it, into $0: the short (8.3) form
; when the path has a blank, since the system starts the saver by that name.
Function SaverPathForPanel
  StrCpy $0 "$INSTDIR\kvt.scr"
  StrCpy $1 0
  ${Do}
    StrCpy $2 $0 1 $1
    ${If} $2 == ""
      Return
    ${EndIf}
    IntOp $1 $1 + 1
  ${LoopUntil} $2 == " "
  GetFullPathName /SHORT $1 "$INSTDIR\kvt.scr"
  ; A volume without short names keeps the long form.
  ${If} $1 != ""
    StrCpy $0 $1
  ${EndIf}
FunctionEnd

Section "kvt.scr"
  Call MoveEarlierInstall
  SetOutPath "$INSTDIR"
  ; No build time goes into the installer: the same kvt.scr gives the same installer.
  SetDateSave off
  ; Only kvt.scr and the uninstaller are written: kvtini.xml beside them stays as it is.
  File "/oname=kvt.scr" "${SAVER}"
  WriteUninstaller "$INSTDIR\uninst.exe"

  Call SaverPathForPanel
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  ; Writes ScreenSaveActive=1 and tells running programs of the change.
  System::Call 'user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_SAVE_AND_SEND})'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kvt.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/M=kvt.scr /S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  ; The folder may have been given in its short form (_?=C:\...\TAVELO~1).
  StrCpy $0 $INSTDIR
  Call un.LongPath
  StrCpy $INSTDIR $0
FunctionEnd

Section "Uninstall"
  ; Another saver the user chose since stays selected. Our kvt.scr may be named by its
  ; short path, so both are compared in their long form, while the file is still there.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call un.LongPath
  StrCpy $3 $0
  Delete "$INSTDIR\kvt.scr"

  ${If} $3 == "$INSTDIR\kvt.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ; No saver is left selected: turn the screen saver off rather than point it at nothing.
    System::Call 'user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_SAVE_AND_SEND})'
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The settings are the user's: kept unless the user says otherwise (a silent uninstall keeps them).
  ${If} ${FileExists} "$INSTDIR\kvtini.xml"
    MessageBox MB_YESNO|MB_ICONQUESTION "設定 (チャンネルの一覧など) を残しますか?$\n$\n$INSTDIR\kvtini.xml" /SD IDYES IDYES keep
    Delete "$INSTDIR\kvtini.xml"
    keep:
  ${EndIf}

  Delete "$INSTDIR\uninst.exe"
  ; Removed only when empty: nothing the user put there is deleted.
  RMDir "$INSTDIR"
SectionEnd
