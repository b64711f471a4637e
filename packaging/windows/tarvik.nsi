; Installer for Tarvik on Windows x86-64. Built by `make windows` with
;   makensis -DVERSION=<version> -DSTAGE=<unpacked zip folder> -DOUTFILE=<setup.exe> tarvik.nsi
; (build-installer.sh writes <STAGE>.uninstall.nsh, the removal of every installed file, first).
; Installs the packaged folder, a Start-menu entry and an uninstaller, and registers Tarvik for
; .mpp files: always in the "Open with" list; as the default only where there is none yet or
; when the user agrees to replace the existing one (silent installs keep it).
Unicode true
!include "MUI2.nsh"
!include "x64.nsh"

!define APP "Tarvik"
!define PROGID "Tarvik.mpp"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvik"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
InstallDirRegKey HKLM "Software\${APP}" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarvik.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${Else}
    MessageBox MB_ICONSTOP "${APP} needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Tarvik" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGE}/*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\tarvik.exe"

  WriteRegStr HKLM "Software\${APP}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTKEY}" "Publisher" "Tarvik developers"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\tarvik.exe"
  WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1

  ; The program type for .mpp files and the open command.
  WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Microsoft Project file"
  WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\tarvik.exe,0"
  WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\tarvik.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\Applications\tarvik.exe\shell\open\command" "" '"$INSTDIR\tarvik.exe" "%1"'
  WriteRegStr HKLM "Software\Classes\Applications\tarvik.exe\SupportedTypes" ".mpp" ""
  ; Offered in "Open with" whatever the default is.
  WriteRegStr HKLM "Software\Classes\.mpp\OpenWithProgids" "${PROGID}" ""

  ; The default: taken where there is none; an existing one only when the user says so.
  ReadRegStr $0 HKCR ".mpp" ""
  ${If} $0 == ""
    WriteRegStr HKLM "Software\Classes\.mpp" "" "${PROGID}"
  ${ElseIf} $0 != "${PROGID}"
    MessageBox MB_YESNO|MB_ICONQUESTION ".mpp files open with another program now ($0).$\r$\nOpen them with Tarvik instead?" /SD IDNO IDNO keep
      WriteRegStr HKLM "${UNINSTKEY}" "PreviousMppDefault" "$0"
      WriteRegStr HKLM "Software\Classes\.mpp" "" "${PROGID}"
    keep:
  ${EndIf}
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  ; Give .mpp files back to the program that had them, or to none.
  ReadRegStr $0 HKLM "Software\Classes\.mpp" ""
  ${If} $0 == "${PROGID}"
    ReadRegStr $1 HKLM "${UNINSTKEY}" "PreviousMppDefault"
    ${If} $1 == ""
      DeleteRegValue HKLM "Software\Classes\.mpp" ""
    ${Else}
      WriteRegStr HKLM "Software\Classes\.mpp" "" "$1"
    ${EndIf}
  ${EndIf}
  DeleteRegValue HKLM "Software\Classes\.mpp\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKLM "Software\Classes\.mpp\OpenWithProgids"
  DeleteRegKey /ifempty HKLM "Software\Classes\.mpp"
  DeleteRegKey HKLM "Software\Classes\${PROGID}"
  DeleteRegKey HKLM "Software\Classes\Applications\tarvik.exe"
  DeleteRegKey HKLM "${UNINSTKEY}"
  DeleteRegKey HKLM "Software\${APP}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  Delete "$SMPROGRAMS\${APP}.lnk"
  ; Only what was installed: the folder may hold files of the user's own.
  !include "${STAGE}.uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
