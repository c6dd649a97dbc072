; Zelvane's installer: ORVINTA.EXE, the ORVEXT drop handler and the help
; files into Program Files\Zelvane, with the App Paths entry through which
; ORVEXT finds the program, a Start menu entry and an uninstaller.
;
;   makensis -DBINDIR=<build tree> -DVERSION=<product version text>
;            -DFILEVERSION=<a.b.c.d> -DOUTFILE=<setup.exe> [-DAMD64]
;            installer/zelvane.nsi
;
; BINDIR holds ORVINTA.EXE, ORVEXT.DLL and, when they have been made,
; ORVINTA.HLP and ORVINTA.CNT. AMD64 makes the installer for the x86_64
; binaries: it must be a 64-bit program itself, because a drop handler is
; registered and loaded only by programs of its own bitness.

!ifndef BINDIR
  !error "BINDIR (the build tree with ORVINTA.EXE and ORVEXT.DLL) is not defined"
!endif
!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef FILEVERSION
  !error "FILEVERSION (four numbers a.b.c.d) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "ZelvaneSetup.exe"
!endif

!ifdef AMD64
  Target amd64-unicode
!else
  ; The program runs on Windows 95, so its installer must as well.
  Target x86-ansi
!endif

!define PRODUCT "Zelvane"
!define PUBLISHER "Brindlecote Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvane"
!define APP_PATH_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\ORVINTA.EXE"
!define SETTINGS_KEY "Software\Brindlecote Software\ORVINTA"
!define UNINSTALLER "Uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
!ifdef AMD64
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
; An upgrade goes where the installed copy is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${FILEVERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!include "MUI2.nsh"

; makensis works in the folder of this script.
!define MUI_ICON "../resources/pictures/program.ico"
!define MUI_UNICON "../resources/pictures/program.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ORVINTA.EXE"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Both the registry and the shortcuts are the machine's, for every user.
!macro UseMachineViews
  SetShellVarContext all
  !ifdef AMD64
    SetRegView 64
  !endif
!macroend

!macro MoveAsideIfInUse NAME EXTENSION
  IfFileExists "$INSTDIR\${NAME}.${EXTENSION}" 0 free_${NAME}
    ClearErrors
    Delete "$INSTDIR\${NAME}.${EXTENSION}"
    IfErrors 0 free_${NAME}
      Delete "$INSTDIR\${NAME}.old"
      Rename "$INSTDIR\${NAME}.${EXTENSION}" "$INSTDIR\${NAME}.old"
      Delete /REBOOTOK "$INSTDIR\${NAME}.old"
  free_${NAME}:
!macroend

Function .onInit
  !insertmacro UseMachineViews
FunctionEnd

Function un.onInit
  !insertmacro UseMachineViews
FunctionEnd

Section "Zelvane" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  SetOverwrite on

  ; The shell keeps a drop handler loaded once it has used it, and a running
  ; ORVINTA holds its program file: neither can be written over, but both can
  ; be renamed, so an upgrade moves them aside and removes them now or at the
  ; next start of Windows.
  !insertmacro MoveAsideIfInUse "ORVINTA" "EXE"
  !insertmacro MoveAsideIfInUse "ORVEXT" "DLL"

  ClearErrors
  File "${BINDIR}\ORVINTA.EXE"
  File "${BINDIR}\ORVEXT.DLL"
!if /FileExists "${BINDIR}\ORVINTA.HLP"
  File "${BINDIR}\ORVINTA.HLP"
!endif
!if /FileExists "${BINDIR}\ORVINTA.CNT"
  File "${BINDIR}\ORVINTA.CNT"
!endif
  ; A silent run would otherwise report success with the old files in place.
  IfErrors 0 files_written
    SetErrorLevel 2
    Abort "The files of ${PRODUCT} could not be written to $INSTDIR."
  files_written:

  WriteRegStr HKLM "${APP_PATH_KEY}" "" "$INSTDIR\ORVINTA.EXE"

  ClearErrors
  RegDLL "$INSTDIR\ORVEXT.DLL"
  IfErrors 0 registered
    DetailPrint "The Compare command for dropped folders could not be registered."
    MessageBox MB_OK|MB_ICONEXCLAMATION "The Compare command for dropped folders could not be registered; ${PRODUCT} itself is installed." /SD IDOK
  registered:

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\ORVINTA.EXE" "" "$INSTDIR\ORVINTA.EXE" 0
!if /FileExists "${BINDIR}\ORVINTA.HLP"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\ORVINTA.HLP"
!endif

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ORVINTA.EXE,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; Unregistered first, while the library is still there to do it.
  IfFileExists "$INSTDIR\ORVEXT.DLL" 0 unregistered
    UnRegDLL "$INSTDIR\ORVEXT.DLL"
  unregistered:

  DeleteRegKey HKLM "${APP_PATH_KEY}"

  Delete /REBOOTOK "$INSTDIR\ORVINTA.EXE"
  Delete /REBOOTOK "$INSTDIR\ORVEXT.DLL"
  Delete /REBOOTOK "$INSTDIR\ORVEXT.old"
  Delete /REBOOTOK "$INSTDIR\ORVINTA.old"
  Delete "$INSTDIR\ORVINTA.HLP"
  Delete "$INSTDIR\ORVINTA.CNT"
  ; What WinHelp writes beside a help file it has opened.
  Delete "$INSTDIR\ORVINTA.GID"
  Delete "$INSTDIR\ORVINTA.FTS"
  Delete "$INSTDIR\ORVINTA.FTG"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Not /r: whatever else a user put in the folder stays, and so does the folder.
  RMDir /REBOOTOK "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; The settings are the user's: removed only on an explicit yes, never
  ; silently (a silent run takes the default answer, No).
  IfSilent settings_kept
  ClearErrors
  EnumRegKey $0 HKCU "${SETTINGS_KEY}" 0
  IfErrors settings_kept
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Do you also want to remove your ${PRODUCT} settings (the directories, preferences and window positions it remembers)?" \
      /SD IDNO IDNO settings_kept
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
  settings_kept:

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
