; The Windows installer: per user, without administrator rights. It puts pelmo.exe, the
; licence and the read-me under the user's own programs folder, adds a Start-menu entry and,
; if chosen, starts Pelmo with Windows; the uninstaller removes every file and key it wrote.
;   makensis -DVERSION=x.y.z -DEXE=pelmo.exe -DLICENSE=LICENSE -DREADME=README.txt
;            -DOUTFILE=setup.exe pelmo.nsi
; A silent install (/S) leaves the start-with-Windows box unticked unless /AUTOSTART is given.

; 64-bit, like the program: it runs where pelmo.exe runs, without a 32-bit layer.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelmo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Pelmo"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pelmo"
BrandingText "Pelmo ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Pelmo"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Pelmo ${VERSION} setup"
VIAddVersionKey "CompanyName" "The Pelmo developers"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 The Pelmo developers, MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\pelmo.exe"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Pelmo" SecProgram
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=pelmo.exe" "${EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Pelmo.lnk" "$INSTDIR\pelmo.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Pelmo"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Pelmo developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pelmo.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start Pelmo with Windows" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "Pelmo" '"$INSTDIR\pelmo.exe"'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Pelmo itself and a Start-menu entry."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} "Start Pelmo each time you sign in to Windows."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Pelmo.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "Pelmo"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\pelmo.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The folder of per-user programs, if this installer was the one that made it.
  RMDir "$LOCALAPPDATA\Programs"

  ; The uninstaller runs from a copy of itself in a folder of its own under the temporary
  ; folder. Deleting that at the next restart would need administrator rights, so a hidden
  ; command removes it once this process has ended: after 3 seconds, again at 8, 13 and 18.
  ${If} $EXEDIR != $INSTDIR
    SetOutPath "$TEMP"  ; the command, and its console, must not start inside the folder
    StrCpy $0 'ping -n 6 127.0.0.1 >nul & rmdir /s /q "$EXEDIR" 2>nul'
    ExecShell "open" "$SYSDIR\cmd.exe" '/c ping -n 4 127.0.0.1 >nul & rmdir /s /q "$EXEDIR" 2>nul & $0 & $0 & $0' SW_HIDE
  ${EndIf}
SectionEnd
