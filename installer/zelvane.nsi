; Zelvane's installer: ORVINTA.EXE, the ORVEXT drop handler and the help
; files into Program Files\Zelvane, with the App Paths entry through which
; ORVEXT finds the program, a Start menu entry and an uninstaller.
;
;   makensis -DBINDIR=<build tree> -DORVEXT32=<i686 ORVEXT.DLL>
;            -DORVEXT64=<x86_64 ORVEXT.DLL> -DVERSION=<product version text>
;            -DFILEVERSION=<a.b.c.d> -DOUTFILE=<setup.exe> [-DAMD64]
;            installer/zelvane.nsi
;
; BINDIR holds ORVINTA.EXE and, when they have been made, ORVINTA.HLP,
; ORVINTA.CNT and ORVINTA.CHM. A drop handler is loaded only by programs of its
; own bitness, so on 64-bit Windows both ORVEXT.DLLs are installed, the x86_64
; one in the x64 folder, each registered in the registry view of its bitness.
; The installer writes those entries itself (the same ones DllRegisterServer
; writes): a 32-bit installer cannot load a 64-bit library to have it register.
; The shipped installer is the x86 one. AMD64 makes the same installer as a
; 64-bit program around the x86_64 ORVINTA.EXE, for the tests on machines that
; run only 64-bit Windows programs; it always takes the 64-bit way.

!ifndef BINDIR
  !error "BINDIR (the build tree with ORVINTA.EXE and ORVEXT.DLL) is not defined"
!endif
!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef FILEVERSION
  !error "FILEVERSION (four numbers a.b.c.d) is not defined"
!endif
!ifndef ORVEXT32
  !error "ORVEXT32 (the i686 ORVEXT.DLL) is not defined"
!endif
!ifndef ORVEXT64
  !error "ORVEXT64 (the x86_64 ORVEXT.DLL) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "ZelvaneSetup.exe"
!endif

!ifdef AMD64
  Target amd64-unicode
  ; Here ${RunningX64} is always true: the 32-bit branches are never taken.
  !pragma warning disable 6012
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
; The drop handler's registration, as shellext/registration.cpp writes it.
!define HANDLER_CLSID "{df3e5ac7-fc2c-4f62-99b4-5234bae93eab}"
!define HANDLER_NAME "ORVINTA Shell Extension"
!define HANDLER_CLASS_KEY "CLSID\${HANDLER_CLSID}"
!define DROP_HANDLER_KEY "Folder\shellex\DragDropHandlers\ORVINTA Shell Extension"
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Shell Extensions\Approved"

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
!include "LogicLib.nsh"
!include "x64.nsh"

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

; The registry view of the installer's own entries: that of its bitness.
!macro UseOwnRegView
  !ifdef AMD64
    SetRegView 64
  !else
    SetRegView default
  !endif
!macroend

; Both the registry and the shortcuts are the machine's, for every user.
!macro UseMachineViews
  SetShellVarContext all
  !insertmacro UseOwnRegView
!macroend

!macro MoveAsideIfInUse FOLDER NAME EXTENSION
  ${If} ${FileExists} "${FOLDER}\${NAME}.${EXTENSION}"
    ClearErrors
    Delete "${FOLDER}\${NAME}.${EXTENSION}"
    ${If} ${Errors}
      Delete "${FOLDER}\${NAME}.old"
      Rename "${FOLDER}\${NAME}.${EXTENSION}" "${FOLDER}\${NAME}.old"
      Delete /REBOOTOK "${FOLDER}\${NAME}.old"
    ${EndIf}
  ${EndIf}
!macroend

; The five entries through which the shell finds the drop handler at LIBRARY,
; in one registry view (32, 64, or default where Windows has only one).
; DllRegisterServer stores the path in lower case, and so does this.
!macro RegisterHandler VIEW LIBRARY
  SetRegView ${VIEW}
  StrCpy $0 "${LIBRARY}"
  System::Call "user32::CharLower(t r0 r0)"
  WriteRegStr HKCR "${HANDLER_CLASS_KEY}" "" "${HANDLER_NAME}"
  WriteRegStr HKCR "${HANDLER_CLASS_KEY}\InprocServer32" "" "$0"
  WriteRegStr HKCR "${HANDLER_CLASS_KEY}\InprocServer32" "ThreadingModel" "Apartment"
  WriteRegStr HKCR "${DROP_HANDLER_KEY}" "" "${HANDLER_CLSID}"
  WriteRegStr HKLM "${APPROVED_KEY}" "${HANDLER_CLSID}" "${HANDLER_NAME}"
!macroend

!macro WinHelpShortcut
  !if /FileExists "${BINDIR}\ORVINTA.HLP"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\ORVINTA.HLP"
  !endif
!macroend

!macro UnregisterHandler VIEW
  SetRegView ${VIEW}
  DeleteRegKey HKCR "${DROP_HANDLER_KEY}"
  DeleteRegValue HKLM "${APPROVED_KEY}" "${HANDLER_CLSID}"
  DeleteRegKey HKCR "${HANDLER_CLASS_KEY}\InprocServer32"
  ; Values do not keep it, other subkeys do (as for DllUnregisterServer).
  DeleteRegKey /ifnosubkeys HKCR "${HANDLER_CLASS_KEY}"
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
  !insertmacro MoveAsideIfInUse "$INSTDIR" "ORVINTA" "EXE"
  !insertmacro MoveAsideIfInUse "$INSTDIR" "ORVEXT" "DLL"
  ${If} ${RunningX64}
    !insertmacro MoveAsideIfInUse "$INSTDIR\x64" "ORVEXT" "DLL"
  ${EndIf}

  ClearErrors
  File "${BINDIR}\ORVINTA.EXE"
  File "/oname=ORVEXT.DLL" "${ORVEXT32}"
!if /FileExists "${BINDIR}\ORVINTA.HLP"
  File "${BINDIR}\ORVINTA.HLP"
!endif
!if /FileExists "${BINDIR}\ORVINTA.CNT"
  File "${BINDIR}\ORVINTA.CNT"
!endif
!if /FileExists "${BINDIR}\ORVINTA.CHM"
  File "${BINDIR}\ORVINTA.CHM"
!endif
  ${If} ${RunningX64}
    SetOutPath "$INSTDIR\x64"
    File "/oname=ORVEXT.DLL" "${ORVEXT64}"
    SetOutPath "$INSTDIR"
  ${EndIf}
  ; A silent run would otherwise report success with the old files in place.
  IfErrors 0 files_written
    SetErrorLevel 2
    Abort "The files of ${PRODUCT} could not be written to $INSTDIR."
  files_written:

  ; Programs of either bitness may start ORVINTA by its name.
  ClearErrors
  ${If} ${RunningX64}
    SetRegView 64
    WriteRegStr HKLM "${APP_PATH_KEY}" "" "$INSTDIR\ORVINTA.EXE"
    SetRegView 32
    WriteRegStr HKLM "${APP_PATH_KEY}" "" "$INSTDIR\ORVINTA.EXE"
    !insertmacro RegisterHandler 64 "$INSTDIR\x64\ORVEXT.DLL"
    !insertmacro RegisterHandler 32 "$INSTDIR\ORVEXT.DLL"
  ${Else}
    SetRegView default
    WriteRegStr HKLM "${APP_PATH_KEY}" "" "$INSTDIR\ORVINTA.EXE"
    !insertmacro RegisterHandler default "$INSTDIR\ORVEXT.DLL"
  ${EndIf}
  !insertmacro UseOwnRegView
  ${If} ${Errors}
    DetailPrint "The Compare command for dropped folders could not be registered."
    MessageBox MB_OK|MB_ICONEXCLAMATION "The Compare command for dropped folders could not be registered; ${PRODUCT} itself is installed." /SD IDOK
  ${EndIf}

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\ORVINTA.EXE" "" "$INSTDIR\ORVINTA.EXE" 0
  ; HTML Help where Windows has it; WinHelp on Windows 95 and NT 4 without it.
!if /FileExists "${BINDIR}\ORVINTA.CHM"
  ${If} ${FileExists} "$SYSDIR\hhctrl.ocx"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} Help.lnk" "$INSTDIR\ORVINTA.CHM"
  ${Else}
    !insertmacro WinHelpShortcut
  ${EndIf}
!else
  !insertmacro WinHelpShortcut
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
  ${If} ${RunningX64}
    !insertmacro UnregisterHandler 64
    DeleteRegKey HKLM "${APP_PATH_KEY}"
    !insertmacro UnregisterHandler 32
    DeleteRegKey HKLM "${APP_PATH_KEY}"
  ${Else}
    !insertmacro UnregisterHandler default
    DeleteRegKey HKLM "${APP_PATH_KEY}"
  ${EndIf}
  !insertmacro UseOwnRegView

  Delete /REBOOTOK "$INSTDIR\ORVINTA.EXE"
  Delete /REBOOTOK "$INSTDIR\ORVEXT.DLL"
  Delete /REBOOTOK "$INSTDIR\ORVEXT.old"
  Delete /REBOOTOK "$INSTDIR\ORVINTA.old"
  Delete /REBOOTOK "$INSTDIR\x64\ORVEXT.DLL"
  Delete /REBOOTOK "$INSTDIR\x64\ORVEXT.old"
  RMDir /REBOOTOK "$INSTDIR\x64"
  Delete "$INSTDIR\ORVINTA.HLP"
  Delete "$INSTDIR\ORVINTA.CNT"
  Delete "$INSTDIR\ORVINTA.CHM"
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
