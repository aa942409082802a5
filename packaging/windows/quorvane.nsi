; Quorvane - Windows installer (NSIS 3, Modern UI 2)
;
; Per-user install, no administrator rights: the program goes to
; %LOCALAPPDATA%\Programs\Quorvane, shortcuts to the user's own Start menu
; (and, optionally, the user's Startup folder), and the Apps & features entry
; to HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane.
;
; Build (makensis 3.x, e.g. Debian's nsis package):
;
;   makensis -V2 -DVERSION=X.Y.Z -DEXE=/abs/path/quorvane.exe \
;            -DLICENSE=/abs/path/LICENSE -DICON=/abs/path/ui/icons/quorvane.ico \
;            -DOUTFILE=/abs/path/build/windows/quorvane-X.Y.Z-setup.exe \
;            packaging/windows/quorvane.nsi
;
; Compile-time symbols (-DNAME=value):
;   VERSION       required. Program version, "X.Y.Z" (shown in Apps & features).
;   EXE           required. The 64-bit quorvane.exe to install (installed as
;                 quorvane.exe whatever its name on the build machine).
;   LICENSE       optional. License text; installed as LICENSE.txt and shown
;                 on the license page. Default: <repo>/LICENSE.
;   ICON          optional. .ico for the installer and the uninstaller.
;                 Default: <repo>/ui/icons/quorvane.ico.
;   OUTFILE       optional. Output setup.exe. Default:
;                 quorvane-${VERSION}-setup.exe next to this script.
;   VERSION_QUAD  optional. Four-part numeric version for the version resource
;                 of setup.exe. Default: "${VERSION}.0" (so VERSION must then be
;                 three plain numbers, e.g. 2.1.0 -> 2.1.0.0).
;   SIGN          optional. A command that signs a program in place, given its
;                 name (uninstall.exe, setup.exe) and its file (e.g.
;                 scripts/sign-windows.sh <signatures folder>): it signs the
;                 uninstaller before it goes into setup.exe, then setup.exe.
; Every file is stored with its own modification time, which setup.exe gives
; the installed file: a reproducible build sets them all to one time.
; Give absolute paths: makensis changes into this script's folder first, so
; relative ones are taken relative to packaging/windows/.
;
; Command line of the produced setup.exe:
;   /S            silent install (no pages, defaults apply).
;   /D=<dir>      install folder (must be the last argument, no quotes).
;   /NOSTARTUP    do not start Quorvane at sign-in (removes the Startup
;                 shortcut of an earlier install).
;   /STARTUP      start Quorvane at sign-in (the default for a first install;
;                 a reinstall keeps the earlier choice unless told otherwise).
;   /RUN          start Quorvane when a silent install has finished.
;
; A running Quorvane (found by its window title, "Quorvane") is asked to
; close before files are replaced or removed. Installing over a newer version
; asks first; a silent install just goes ahead.
;
; Exit codes: 0 success, 1 cancelled by the user, 2 aborted (a newer version
; is installed and the user declined, or another setup or uninstall of
; Quorvane is still running), 3 Quorvane could not be closed, so its files
; could not be replaced or removed.
;
; Uninstaller (uninstall.exe in the install folder):
;   uninstall.exe            interactive; removes everything itself.
;   uninstall.exe /S         silent. Like every NSIS uninstaller it first copies
;                            itself to %TEMP% and restarts from there, so the
;                            process started by the caller returns at once,
;                            before anything has been removed. The copy then
;                            deletes uninstall.exe and the install folder too.
;   uninstall.exe /S _?=<install folder>
;                            silent and synchronous: runs in place and returns
;                            only when it is done (exit code as above), but it
;                            cannot delete itself, so the caller deletes
;                            <install folder>\uninstall.exe and then removes the
;                            (now empty) <install folder> and, if empty, its
;                            parent %LOCALAPPDATA%\Programs. The asynchronous
;                            form can be waited for by polling (with a time
;                            limit: if Quorvane cannot be closed, nothing is
;                            removed) until <install folder>\uninstall.exe
;                            has disappeared.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
XPStyle on

;--------------------------------------------------------------------------
; Compile-time inputs

!ifndef VERSION
  !error "VERSION is not set: makensis -DVERSION=X.Y.Z ..."
!endif
!ifndef EXE
  !error "EXE is not set: makensis -DEXE=/path/to/quorvane.exe ..."
!endif
; Relative paths are relative to this script's folder: makensis changes into
; it before compiling (unless run with /NOCD).
!ifndef LICENSE
  !define LICENSE "../../LICENSE"
!endif
!ifndef ICON
  !define ICON "../../ui/icons/quorvane.ico"
!endif
!ifndef OUTFILE
  !define OUTFILE "quorvane-${VERSION}-setup.exe"
!endif
!ifndef VERSION_QUAD
  !define VERSION_QUAD "${VERSION}.0"
!endif

!define APP_NAME      "Quorvane"
!define APP_EXE       "quorvane.exe"
!define APP_PUBLISHER "Quorvane developers"
!define APP_COPYRIGHT "Copyright (c) 2025-2026 Quorvane developers. MIT License."
; Title of the panel's top-level window; used to find a running panel.
!define APP_WINDOW_TITLE "Quorvane"
!define UNINSTALLER   "uninstall.exe"
!define UNINST_KEY    "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_NAME}"
; Windows records "disabled in Task Manager" for Startup-folder shortcuts here.
!define STARTUP_APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\StartupFolder"
!define SETUP_MUTEX   "Quorvane.Setup.Mutex"
; Exit code when a running Quorvane blocks the install/uninstall.
!define EXIT_FILES_IN_USE 3

;--------------------------------------------------------------------------
; General

Name "${APP_NAME}"
OutFile "${OUTFILE}"
!ifdef SIGN
  !uninstfinalize '${SIGN} uninstall.exe "%1"' = 0
  !finalize '${SIGN} setup.exe "%1"' = 0
!endif
InstallDir "$LOCALAPPDATA\Programs\${APP_NAME}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${APP_NAME} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WordFunc.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

Var PreviousVersion
Var RunAfterSilentInstall

;--------------------------------------------------------------------------
; Interface

!define MUI_ICON   "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define COMPONENTS_TEXT "Check the components you want to install and uncheck the components you don't want to install."
!define MUI_COMPONENTSPAGE_TEXT_TOP "${COMPONENTS_TEXT} $_CLICK"

!define MUI_WELCOMEPAGE_TEXT "This will install ${APP_NAME} ${VERSION}, a small desktop panel that shows the day's Muslim prayer times for Sri Lanka.$\r$\n$\r$\n${APP_NAME} is installed for your user account only; no administrator rights are needed.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ComponentsPageShow
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipDirectoryPageOnReinstall
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${APP_EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Run ${APP_NAME} now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

;--------------------------------------------------------------------------
; Version information of setup.exe

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${APP_PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${APP_NAME} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${APP_COPYRIGHT}"

;--------------------------------------------------------------------------
; Closing a running panel (shared by installer and uninstaller)

!macro QUORVANE_RUNNING_FUNCTIONS UN VERB

; Sends WM_CLOSE to every top-level window titled "Quorvane" that belongs to
; a process whose image is quorvane.exe (so an Explorer window showing a
; folder named "Quorvane" is left alone), then waits up to ~5 s per process
; for it to exit - the process, not only its window, has to be gone before
; quorvane.exe can be overwritten or deleted.
Function ${UN}CloseRunningQuorvane
  Push $0 ; window handle
  Push $1 ; process id
  Push $2 ; process handle
  Push $3 ; process image path
  Push $4 ; scratch

  StrCpy $0 0
  next_window:
    FindWindow $0 "" "${APP_WINDOW_TITLE}" "" $0
    StrCmp $0 0 done

    StrCpy $1 0
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x00101000, i 0, i r1) p .r2'
    StrCmp $2 0 next_window

    StrCpy $3 ""
    System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i'
    ${GetFileName} $3 $4
    ${If} $4 != "${APP_EXE}" ; StrCmp is case-insensitive
      System::Call 'kernel32::CloseHandle(p r2)'
      Goto next_window
    ${EndIf}

    DetailPrint "Closing the running ${APP_NAME} (process $1)..."
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    ; Poll in 100 ms steps, up to 5 s, until the process has ended.
    StrCpy $4 0
    ${Do}
      System::Call 'kernel32::WaitForSingleObject(p r2, i 100) i .r3'
      ${IfThen} $3 = 0 ${|} ${ExitDo} ${|}
      IntOp $4 $4 + 1
    ${LoopUntil} $4 >= 50
    System::Call 'kernel32::CloseHandle(p r2)'

    ${If} $3 = 0
      ; Gone: its window handle is stale, so start over from the first window.
      StrCpy $0 0
    ${Else}
      DetailPrint "${APP_NAME} (process $1) did not exit within 5 seconds."
    ${EndIf}
    Goto next_window

  done:
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Closes a running panel and makes sure $INSTDIR\quorvane.exe can be written
; (a running program's file cannot be opened for writing). If it still cannot,
; asks to Retry/Cancel; in silent mode it gives up with exit code 3.
Function ${UN}EnsureQuorvaneNotRunning
  Push $0
  retry:
    Call ${UN}CloseRunningQuorvane
    IfFileExists "$INSTDIR\${APP_EXE}" 0 ok
    ClearErrors
    FileOpen $0 "$INSTDIR\${APP_EXE}" a
    IfErrors in_use
    FileClose $0
    Goto ok
  in_use:
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${APP_NAME} is still running, so its files cannot be ${VERB}:$\r$\n$INSTDIR\${APP_EXE}$\r$\n$\r$\nPlease quit ${APP_NAME} and click Retry, or click Cancel to stop." \
      /SD IDCANCEL IDRETRY retry
    DetailPrint "${APP_NAME} is still running; stopping."
    SetErrorLevel ${EXIT_FILES_IN_USE}
    Pop $0
    Abort "${APP_NAME} is still running."
  ok:
  Pop $0
FunctionEnd

!macroend

; One setup or uninstall at a time. The named mutex lives as long as the
; process that created it; one that is just finishing (e.g. the %TEMP% copy
; of the uninstaller) is given ~3 s to go before this one gives up.
!macro QUORVANE_ONE_AT_A_TIME
  StrCpy $2 0
  ${Do}
    System::Call 'kernel32::CreateMutexW(p 0, i 0, w "${SETUP_MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $1 <> 183 ; not ERROR_ALREADY_EXISTS
      ${ExitDo}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    IntOp $2 $2 + 1
    ${If} $2 >= 30
      MessageBox MB_OK|MB_ICONEXCLAMATION "${APP_NAME} Setup is already running." /SD IDOK
      Abort
    ${EndIf}
    Sleep 100
  ${Loop}
!macroend

!insertmacro QUORVANE_RUNNING_FUNCTIONS "" "replaced"
!insertmacro QUORVANE_RUNNING_FUNCTIONS "un." "removed"

;--------------------------------------------------------------------------
; Installer

Section "${APP_NAME} (required)" SEC_MAIN
  SectionIn RO
  SetShellVarContext current

  Call EnsureQuorvaneNotRunning

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=${APP_EXE}" "${EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; Start menu shortcut (working folder = $INSTDIR, the current out path).
  CreateShortcut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\${APP_EXE}" "" "$INSTDIR\${APP_EXE}" 0

  ; Apps & features
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${APP_PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${APP_EXE}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section "Start ${APP_NAME} when I sign in" SEC_STARTUP
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMSTARTUP\${APP_NAME}.lnk" "$INSTDIR\${APP_EXE}" "" "$INSTDIR\${APP_EXE}" 0
SectionEnd

; Runs last, whatever was selected.
Section "-Finish"
  SetShellVarContext current
  ${IfNot} ${SectionIsSelected} ${SEC_STARTUP}
    Delete "$SMSTARTUP\${APP_NAME}.lnk"
    DeleteRegValue HKCU "${STARTUP_APPROVED_KEY}" "${APP_NAME}.lnk"
  ${EndIf}

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"
SectionEnd

Function .onInit
  SetShellVarContext current

  !insertmacro QUORVANE_ONE_AT_A_TIME

  ReadRegStr $PreviousVersion HKCU "${UNINST_KEY}" "DisplayVersion"
  ${If} $PreviousVersion != ""
    ${VersionCompare} "${VERSION}" "$PreviousVersion" $0
    ${If} $0 = 2 ; the installed version is newer
      MessageBox MB_YESNO|MB_ICONQUESTION \
        "${APP_NAME} $PreviousVersion is installed, which is newer than ${VERSION}.$\r$\n$\r$\nReplace it with ${VERSION}?" \
        /SD IDYES IDYES +2
      Abort
    ${EndIf}
    ; Reinstall: keep the earlier sign-in choice.
    ${IfNot} ${FileExists} "$SMSTARTUP\${APP_NAME}.lnk"
      !insertmacro UnselectSection ${SEC_STARTUP}
    ${EndIf}
  ${EndIf}

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/STARTUP" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SEC_STARTUP}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/NOSTARTUP" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SEC_STARTUP}
  ${EndIf}
  StrCpy $RunAfterSilentInstall 0
  ClearErrors
  ${GetOptions} $R0 "/RUN" $R1
  ${IfNot} ${Errors}
    StrCpy $RunAfterSilentInstall 1
  ${EndIf}
  ClearErrors
FunctionEnd

Function .onInstSuccess
  ${If} ${Silent}
  ${AndIf} $RunAfterSilentInstall = 1
    Exec '"$INSTDIR\${APP_EXE}"'
  ${EndIf}
FunctionEnd

; A reinstall goes to the folder of the existing installation: no directory
; page, and the components page's button then reads "Install", as its text says.
Function IsReinstall
  Push $0
  StrCpy $0 0
  ${If} $PreviousVersion != ""
  ${AndIf} ${FileExists} "$INSTDIR\${APP_EXE}"
    StrCpy $0 1
  ${EndIf}
  Exch $0
FunctionEnd

Function ComponentsPageShow
  Call IsReinstall
  Pop $0
  ${If} $0 = 1
    GetDlgItem $0 $HWNDPARENT 1
    SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^InstallBtn)"
    SendMessage $mui.ComponentsPage.Text ${WM_SETTEXT} 0 "STR:${COMPONENTS_TEXT} $(^ClickInstall)"
  ${EndIf}
FunctionEnd

Function SkipDirectoryPageOnReinstall
  Call IsReinstall
  Pop $0
  ${IfThen} $0 = 1 ${|} Abort ${|}
FunctionEnd

;--------------------------------------------------------------------------
; Uninstaller

Function un.onInit
  SetShellVarContext current
  !insertmacro QUORVANE_ONE_AT_A_TIME
FunctionEnd

Section "Uninstall"
  SetShellVarContext current

  Call un.EnsureQuorvaneNotRunning

  Delete "$SMSTARTUP\${APP_NAME}.lnk"
  Delete "$SMPROGRAMS\${APP_NAME}.lnk"

  Delete "$INSTDIR\${APP_EXE}"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"

  DeleteRegKey HKCU "${UNINST_KEY}"
  DeleteRegValue HKCU "${STARTUP_APPROVED_KEY}" "${APP_NAME}.lnk"

  ; Only empty folders are removed (no /r): nothing but our own files goes.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs"
SectionEnd
