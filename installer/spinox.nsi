; The Spinox installer: puts gen_spinox.dll (32-bit, the build the player loads) into the
; player's Plugins folder and registers an uninstaller in Add/Remove Programs. The uninstaller
; removes the DLL and itself; the listening history (gen_spinox.sng/.alb/.art/.hit), the settings
; (gen_spinox.dat), the backups (*.bak) and the page template stay where they are.
;
; Built by installer/CMakeLists.txt:
;   makensis -DVERSION=1.51 -DDLL=gen_spinox.dll -DTEMPLATE=spinoxsampletemplate.htm
;            -DOUTFILE=Spinox-1.51-setup.exe spinox.nsi
; Silent use: Spinox-1.51-setup.exe /S [/D=C:\Program Files\Winamp]   (/D= last, unquoted)
;             Spinox-uninstall.exe /S
; Exit codes: 0 installed or removed, 1 cancelled, 2 the player could not be closed.

Unicode true
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!ifndef VERSION | DLL | TEMPLATE | OUTFILE
  !error "define VERSION, DLL, TEMPLATE and OUTFILE (see the top of this file)"
!endif

!define PLAYER "Winamp"
; The player's main window class: a running player is found (and asked to close) by it.
!define PLAYER_CLASS "Winamp v1.x"
; Where the player's own installer records its folder: the default value of its key, and the
; uninstaller it registers.
!define PLAYER_KEY "Software\Winamp"
!define PLAYER_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Spinox"
!define UNINSTALLER "Spinox-uninstall.exe"

Name "Spinox ${VERSION}"
OutFile "${OUTFILE}"
; The player usually lies under Program Files, and Add/Remove Programs entries are per machine.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "Spinox ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey ProductName "Spinox"
VIAddVersionKey FileDescription "Spinox ${VERSION} setup: listening statistics for ${PLAYER}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Spinox Team"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Spinox ${VERSION} for ${PLAYER}"
!define MUI_WELCOMEPAGE_TEXT "Spinox keeps statistics of what you listen to in ${PLAYER} and \
  turns them into charts.$\r$\n$\r$\nSetup installs the plug-in into the Plugins folder of \
  ${PLAYER}. If ${PLAYER} is running, Setup offers to close it first.$\r$\n$\r$\nYour \
  listening history, settings and backups in that folder are kept.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME

!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup installs Spinox into the Plugins folder of the \
  ${PLAYER} folder below. To use a different ${PLAYER} installation, click Browse and select its \
  folder (the one that holds winamp.exe). $_CLICK"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "${PLAYER} folder"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckPlayerFolder
!insertmacro MUI_PAGE_DIRECTORY

!insertmacro MUI_PAGE_INSTFILES

; The details (what was installed, what was kept) stay up until the user goes on.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_TITLE "Spinox is installed"
!define MUI_FINISHPAGE_TEXT "Spinox ${VERSION} is in $INSTDIR\Plugins.$\r$\n$\r$\nStart \
  ${PLAYER}: Spinox counts what you play from then on. Click its tray icon for the hit list; \
  right-click it for the settings."
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "Spinox ${VERSION} will be removed from the ${PLAYER} \
  Plugins folder below. Your listening history, settings, backups and page template stay there. \
  $_CLICK"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ClosePlayer: when the player's main window is up, asks the user (silent runs: yes) and sends
; it WM_CLOSE, then waits up to 10 s for it to go (longer, it is asking the user something) and
; 1 s more for the process to let the DLL go. $R0 is 1 when no player is running afterwards.
!macro CLOSE_PLAYER_FUNCTION un
Function ${un}ClosePlayer
  Push $R1
  Push $R2
  StrCpy $R0 1
  FindWindow $R1 "${PLAYER_CLASS}"
  ${If} $R1 <> 0
    MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "${PLAYER} is running and has the Spinox plug-in \
      loaded.$\r$\n$\r$\nClick OK to close ${PLAYER} now, or Cancel to leave it running." \
      /SD IDOK IDOK close
    StrCpy $R0 0
    Goto done
  close:
    DetailPrint "Closing ${PLAYER}"
    SendMessage $R1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    StrCpy $R2 0
    ${Do}
      FindWindow $R1 "${PLAYER_CLASS}"
      ${If} $R1 = 0
        Sleep 1000
        ${Break}
      ${EndIf}
      ${If} $R2 >= 40
        StrCpy $R0 0
        MessageBox MB_OK|MB_ICONSTOP "${PLAYER} did not close. Close it yourself, then try \
again." /SD IDOK
        ${Break}
      ${EndIf}
      Sleep 250
      IntOp $R2 $R2 + 1
    ${Loop}
  ${EndIf}
done:
  Pop $R2
  Pop $R1
FunctionEnd
!macroend
!insertmacro CLOSE_PLAYER_FUNCTION ""
!insertmacro CLOSE_PLAYER_FUNCTION "un."

; The player's folder unless /D= gave one: its installer's record of it, else the uninstaller it
; registered, else the usual place under Program Files.
Function .onInit
  ${If} $INSTDIR != ""
    Return
  ${EndIf}
  ReadRegStr $INSTDIR HKCU "${PLAYER_KEY}" ""
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR HKLM "${PLAYER_KEY}" ""
  ${EndIf}
  ${If} $INSTDIR == ""
    ReadRegStr $0 HKLM "${PLAYER_UNINSTALL_KEY}" "UninstallString"
    ${If} $0 != ""
      ; "C:\Program Files\Winamp\UninstWA.exe" /args -> C:\Program Files\Winamp
      StrCpy $1 $0 1
      ${If} $1 == '"'
        StrCpy $0 $0 "" 1
        StrCpy $2 0
        ${Do}
          StrCpy $1 $0 1 $2
          ${IfThen} $1 == "" ${|} ${Break} ${|}
          ${IfThen} $1 == '"' ${|} ${Break} ${|}
          IntOp $2 $2 + 1
        ${Loop}
        StrCpy $0 $0 $2
      ${EndIf}
      ${GetParent} $0 $INSTDIR
    ${EndIf}
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "$PROGRAMFILES\${PLAYER}"
  ${EndIf}
FunctionEnd

; Leaving the folder page: a folder without the player is most likely a mistake, and a running
; player holds the DLL.
Function CheckPlayerFolder
  ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
    MessageBox MB_YESNO|MB_ICONQUESTION "$INSTDIR does not hold winamp.exe, so it may not be \
      a ${PLAYER} folder.$\r$\n$\r$\nInstall Spinox into $INSTDIR\Plugins anyway?" IDYES +2
    Abort
  ${EndIf}
  Call ClosePlayer
  ${If} $R0 = 0
    Abort
  ${EndIf}
FunctionEnd

Section "Spinox"
  ; Again here: silent runs skip the pages, and the player may have been started meanwhile.
  Call ClosePlayer
  ${If} $R0 = 0
    SetErrorLevel 2
    Abort "${PLAYER} is still running: Spinox was not installed."
  ${EndIf}
  SetOutPath "$INSTDIR\Plugins"
  SetOverwrite on
  ClearErrors
  File "/oname=gen_spinox.dll" "${DLL}"
  ${If} ${Errors}
    SetErrorLevel 2
    Abort "Could not write $INSTDIR\Plugins\gen_spinox.dll."
  ${EndIf}
  ; The sample page template is the user's to edit: an existing one is kept.
  SetOverwrite off
  File "/oname=spinoxsampletemplate.htm" "${TEMPLATE}"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER}"
  ${GetSize} "$INSTDIR\Plugins" "/M=gen_spinox.dll /S=0K /G=0" $0 $1 $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Spinox ${VERSION} (${PLAYER} plug-in)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Spinox Team"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\Plugins"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Plugins\gen_spinox.dll,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\Plugins\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\Plugins\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The uninstaller lies in the Plugins folder, which is therefore its $INSTDIR.
Section "Uninstall"
  Call un.ClosePlayer
  ${If} $R0 = 0
    SetErrorLevel 2
    Abort "${PLAYER} is still running: Spinox was not removed."
  ${EndIf}
  ClearErrors
  Delete "$INSTDIR\gen_spinox.dll"
  ${If} ${Errors}
    SetErrorLevel 2
    Abort "Could not remove $INSTDIR\gen_spinox.dll."
  ${EndIf}
  ; The playlist the hit list hands to the player; not the user's.
  Delete "$INSTDIR\temphit.m3u"
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DetailPrint "Kept in $INSTDIR: the Spinox database (gen_spinox.*), its backups (*.bak) \
    and the page template."
SectionEnd
