; The suite's setup program. scripts/package passes VERSION (major.minor.revision), BUILD (the
; 32-bit build folder), ICON and OUTFILE.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define SUITE "Sorvita Desktop Suite"
!define PUBLISHER "Sorvita"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${SUITE}"
!define APP_PATHS "Software\Microsoft\Windows\CurrentVersion\App Paths"
!define SETTINGS "Software\VB and VBA Program Settings"
!define SAVER "Sorvita Slide Saver.scr"
; What a silent run that found a suite program running ends with (NSIS itself uses 0 to 2).
!define EXIT_PROGRAM_RUNNING 3

Name "${SUITE} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${SUITE}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${SUITE} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${SUITE}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${SUITE} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 Sorvita. Free to use and share."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_PAGE_HEADER_TEXT "Your settings"
!define MUI_PAGE_HEADER_SUBTEXT "Choose whether your own settings go too."
!define MUI_COMPONENTSPAGE_TEXT_TOP "The programs keep your settings (folders, intervals, options) in the registry. They stay unless you tick the box."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The programs and where each lives once installed (the screen saver: see scripts/package).
!macro FOR_EACH_PROGRAM DO
  !insertmacro ${DO} "Sorvita Backdrop Changer.exe" "$INSTDIR"
  !insertmacro ${DO} "Sorvita Image Gallery.exe" "$INSTDIR"
  !insertmacro ${DO} "Sorvita Desk Commander.exe" "$INSTDIR"
  !insertmacro ${DO} "Sorvita Paste Inspector.exe" "$INSTDIR"
  !insertmacro ${DO} "${SAVER}" "$WINDIR"
!macroend

; A running program holds its executable open as an image, so Windows (and Wine) refuse to open
; it for writing with no sharing: that tells "in use" without any helper and without ending it.
!macro NOTE_IF_RUNNING FILE FOLDER
  ${If} ${FileExists} "${FOLDER}\${FILE}"
    System::Call 'kernel32::CreateFileW(w "${FOLDER}\${FILE}", i 0x40000000, i 0, p 0, i 3, i 0x80, p 0) p .r1 ?e'
    Pop $2
    ${If} $1 P= -1
      ${If} $2 = 32
        StrCpy $0 "$0$\r$\n    ${FILE}"
      ${EndIf}
    ${Else}
      System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
  ${EndIf}
!macroend

; Asks the user to close the suite's running programs; a silent run ends with its own exit code
; instead, since replacing or removing only some of the files would leave half a suite.
!macro DEFINE_WAIT_FOR_PROGRAMS PREFIX
Function ${PREFIX}WaitForPrograms
  ${Do}
    StrCpy $0 ""
    !insertmacro FOR_EACH_PROGRAM NOTE_IF_RUNNING
    ${If} $0 == ""
      Return
    ${EndIf}
    ${If} ${Silent}
      SetErrorLevel ${EXIT_PROGRAM_RUNNING}
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "These programs of the suite are running:$\r$\n$0$\r$\n$\r$\nPlease close them, then choose Retry." IDRETRY retry
    SetErrorLevel ${EXIT_PROGRAM_RUNNING}
    Quit
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_FOR_PROGRAMS ""
!insertmacro DEFINE_WAIT_FOR_PROGRAMS "un."

!macro WRITE_APP_PATH FILE FOLDER
  WriteRegStr HKLM "${APP_PATHS}\${FILE}" "" "${FOLDER}\${FILE}"
  WriteRegStr HKLM "${APP_PATHS}\${FILE}" "Path" "${FOLDER}\"
!macroend

!macro REMOVE_PROGRAM FILE FOLDER
  Delete "${FOLDER}\${FILE}"
  DeleteRegKey HKLM "${APP_PATHS}\${FILE}"
!macroend

!macro REMOVE_SETTINGS FILE FOLDER
  ; The settings area is named after the program's title, its file name without the extension.
  StrCpy $0 "${FILE}" -4
  DeleteRegKey HKCU "${SETTINGS}\$0"
!macroend

Function .onInit
  ; An earlier install's folder (InstallDirRegKey) is where the running programs would be.
  Call WaitForPrograms
FunctionEnd

Section "-Suite"
  SetShellVarContext all
  SetOverwrite on
  SetOutPath "$INSTDIR"
  File "${BUILD}/backdrop_changer/Sorvita Backdrop Changer.exe"
  File "${BUILD}/image_gallery/Sorvita Image Gallery.exe"
  File "${BUILD}/desk_commander/Sorvita Desk Commander.exe"
  File "${BUILD}/paste_inspector/Sorvita Paste Inspector.exe"
  File "${BUILD}/vb5stkit/Vb5stkit.dll"
  SetOutPath "$WINDIR"
  File "${BUILD}/slide_saver/${SAVER}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${SUITE}"
  CreateShortcut "$SMPROGRAMS\${SUITE}\Sorvita Backdrop Changer.lnk" "$INSTDIR\Sorvita Backdrop Changer.exe"
  CreateShortcut "$SMPROGRAMS\${SUITE}\Sorvita Image Gallery.lnk" "$INSTDIR\Sorvita Image Gallery.exe"
  CreateShortcut "$SMPROGRAMS\${SUITE}\Sorvita Desk Commander.lnk" "$INSTDIR\Sorvita Desk Commander.exe"
  CreateShortcut "$SMPROGRAMS\${SUITE}\Sorvita Paste Inspector.lnk" "$INSTDIR\Sorvita Paste Inspector.exe"
  ; Started without a switch, the screen saver opens its settings.
  CreateShortcut "$SMPROGRAMS\${SUITE}\Sorvita Slide Saver Settings.lnk" "$WINDIR\${SAVER}" "" "$WINDIR\${SAVER}" 0

  ; For every user at once; the programs' own writes at start-up need rights a standard user lacks.
  !insertmacro FOR_EACH_PROGRAM WRITE_APP_PATH

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$WINDIR" "/M=${SAVER} /S=0K /G=0" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${SUITE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Sorvita Desk Commander.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  Call un.WaitForPrograms
FunctionEnd

; Only what the setup program put there: a folder the user chose may hold other files.
Section "-un.Suite"
  SetShellVarContext all
  !insertmacro FOR_EACH_PROGRAM REMOVE_PROGRAM
  Delete "$INSTDIR\Vb5stkit.dll"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${SUITE}\Sorvita Backdrop Changer.lnk"
  Delete "$SMPROGRAMS\${SUITE}\Sorvita Image Gallery.lnk"
  Delete "$SMPROGRAMS\${SUITE}\Sorvita Desk Commander.lnk"
  Delete "$SMPROGRAMS\${SUITE}\Sorvita Paste Inspector.lnk"
  Delete "$SMPROGRAMS\${SUITE}\Sorvita Slide Saver Settings.lnk"
  RMDir "$SMPROGRAMS\${SUITE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Unticked by default, so /S keeps the settings.
Section /o "un.Also remove my settings" UnSettings
  !insertmacro FOR_EACH_PROGRAM REMOVE_SETTINGS
SectionEnd
