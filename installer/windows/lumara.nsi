; The setup program of the Windows saver, one per architecture. It puts
; lumara.scr into the system folder, where Windows' screen-saver list looks
; (for the 32-bit saver on 64-bit Windows that is SysWOW64, which the 32-bit
; setup reaches through the system's own redirection), the language and
; help files into the program folder, records that folder as "ProgramDir"
; in the registry view the saver reads, and registers an uninstaller.
;
; Made by installer/windows/CMakeLists.txt, which passes:
;   ARCH           x86_64 or i686
;   SAVER          the cross-built lumara.scr
;   VERSION        the project's version (major.minor.patch)
;   OUTFILE        the setup program to write
;   PROGRAM_FILES  the generated list of shipped program-folder files
;
; Command line (besides NSIS' own /S and /D=folder):
;   /CURRENT       with /S, also makes Lumara the current screen saver
Unicode true
!if "${ARCH}" == "x86_64"
  Target amd64-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Lumara Screensaver"
!define PUBLISHER "Tellix"
!define MACHINE_KEY "Software\Tellix\VEXA"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_NOTIFY 3

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
!if "${ARCH}" == "x86_64"
  InstallDir "$PROGRAMFILES64\Orvanta\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES32\Orvanta\${PRODUCT}"
!endif
; A second setup goes where the first one put the files.
InstallDirRegKey HKLM "${MACHINE_KEY}" "ProgramDir"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) ${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include "${PROGRAM_FILES}"

Var saverPath      ; lumara.scr as the rest of the system sees it
Var makeCurrent    ; 1 when /CURRENT was given

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(MakeCurrentText)"
!define MUI_FINISHPAGE_RUN_FUNCTION MakeCurrent
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(OpenSettingsText)"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_WELCOME
; The licence is the project's own (MIT), in English in every language.
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used when the system's is none of these.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"
!include languages.nsh

; The saver's path as Windows' screen-saver settings record it: a 32-bit
; setup sees SysWOW64 under the name System32 on 64-bit Windows, while the
; recorded path is read by 64-bit programs.
!macro SettleSaverPath
  StrCpy $saverPath "$SYSDIR\lumara.scr"
  !if "${ARCH}" == "i686"
    ${If} ${RunningX64}
      StrCpy $saverPath "$WINDIR\SysWOW64\lumara.scr"
    ${EndIf}
  !endif
!macroend

; The registry view of the saver's architecture, so the saver reads what
; setup wrote.
!macro UseSaverRegistryView
  !if "${ARCH}" == "x86_64"
    SetRegView 64
  !else
    SetRegView 32
  !endif
!macroend

Function .onInit
  !insertmacro UseSaverRegistryView
  !insertmacro SettleSaverPath
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CURRENT" $1
  ${IfNot} ${Errors}
    StrCpy $makeCurrent 1
  ${EndIf}
FunctionEnd

Section "-Lumara" SecLumara
  SetOutPath "$SYSDIR"
  File "/oname=lumara.scr" "${SAVER}"
  SetOutPath "$INSTDIR"
  !insertmacro InstallProgramFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ClearErrors
  WriteRegStr HKLM "${MACHINE_KEY}" "ProgramDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecLumara} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  ${If} ${Errors}
    ; Without "ProgramDir" the saver would look for its files elsewhere.
    Abort "$(RegistryFailedText)"
  ${EndIf}

  ${If} ${Silent}
  ${AndIf} $makeCurrent == 1
    Call MakeCurrent
  ${EndIf}
SectionEnd

Function MakeCurrent
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$saverPath"
  System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_NOTIFY})"
FunctionEnd

; Windows' screen-saver settings with Lumara selected: desk.cpl's documented
; InstallScreenSaver entry (which also records Lumara as the current saver),
; run by the system's own rundll32, the 64-bit one on 64-bit Windows.
Function OpenScreenSaverSettings
  !if "${ARCH}" == "i686"
    ${DisableX64FSRedirection}
  !endif
  Exec '"$SYSDIR\rundll32.exe" desk.cpl,InstallScreenSaver $saverPath'
  !if "${ARCH}" == "i686"
    ${EnableX64FSRedirection}
  !endif
FunctionEnd

Function un.onInit
  !insertmacro UseSaverRegistryView
  !insertmacro SettleSaverPath
FunctionEnd

Section "-un.Lumara"
  Delete "$SYSDIR\lumara.scr"
  !insertmacro RemoveProgramFiles
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files the user put there stay, and their folder too.
  RMDir "$INSTDIR"
  ${GetParent} "$INSTDIR" $0
  ${If} $0 == "$PROGRAMFILES\Orvanta"
  ${OrIf} $0 == "$PROGRAMFILES64\Orvanta"
    RMDir "$0"
  ${EndIf}

  DeleteRegValue HKLM "${MACHINE_KEY}" "ProgramDir"
  DeleteRegKey /ifempty HKLM "${MACHINE_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Tellix"

  ; The current-saver choice goes only when it names Lumara, the way
  ; Windows' own settings choose "(None)".
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${GetFileName} "$0" $1
  ${If} $1 == "lumara.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call "user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_NOTIFY})"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Offered unticked, and left out of a silent uninstall.
Section /o "un.$(RemoveSettingsText)"
  DeleteRegKey HKCU "${MACHINE_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Tellix"
SectionEnd
