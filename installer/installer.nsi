; The product's installer, made from the application folder by make_installer.py (the
; build's "installer" target). makensis is given VERSION, OUT_FILE, FILES_DIR (the generated
; file lists) and ICON.
;
; Command line: /S installs silently, /D=<folder> chooses the folder (last argument, as in
; every NSIS installer), /TAG=<version> says that the running product handed over to us:
; then an existing installation is updated silently and the product is started again.
; In silent mode the installer writes what it was given to install-log.txt in its folder.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!define PRODUCT "Pellavorne Screen Recorder"
!define BRAND "Pellavorne"
!define EXE "${PRODUCT}.exe"
!define SETTINGS_KEY "Software\${BRAND}\${PRODUCT}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define CLOSE_WAIT_STEPS 300 ; of 100 ms

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${SETTINGS_KEY}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "CompanyName" "${BRAND}"
VIAddVersionKey "LegalCopyright" "${BRAND}"

Var Parameters
Var Tag
Var Mode

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks the running product to close (its modules may still refuse) and waits until its
; window is gone and its executable can be replaced. Leaves 1 on the stack when it is
; closed or was not running, 0 when it stayed.
!macro CLOSE_RUNNING_PRODUCT un
Function ${un}CloseRunningProduct
  Push $0
  Push $1
  Push $2
  FindWindow $0 "" "${PRODUCT}"
  ${If} $0 <> 0
  ${AndIfNot} ${Silent}
    MessageBox MB_OKCANCEL|MB_ICONQUESTION "${PRODUCT} is running and will be closed." IDOK close
    StrCpy $1 0
    Goto done
  ${EndIf}
  close:
  StrCpy $2 0
  ${Do}
    FindWindow $0 "" "${PRODUCT}"
    ${If} $0 <> 0
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    ${ElseIf} ${FileExists} "$INSTDIR\${EXE}"
      ClearErrors
      FileOpen $1 "$INSTDIR\${EXE}" a
      ${IfNot} ${Errors}
        FileClose $1
        ${Break}
      ${EndIf}
    ${Else}
      ${Break}
    ${EndIf}
    IntOp $2 $2 + 1
    ${If} $2 >= ${CLOSE_WAIT_STEPS}
      StrCpy $1 0
      Goto done
    ${EndIf}
    Sleep 100
  ${Loop}
  StrCpy $1 1
  done:
  StrCpy $0 $1
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PRODUCT ""
!insertmacro CLOSE_RUNNING_PRODUCT "un."

Function .onInit
  SetShellVarContext all
  ${GetParameters} $Parameters
  StrCpy $Mode "install"
  ClearErrors
  ${GetOptions} $Parameters "/TAG=" $Tag
  ${IfNot} ${Errors}
  ${AndIf} ${FileExists} "$INSTDIR\${EXE}"
    ; Handed over by the product's own update: update where it runs, without questions.
    StrCpy $Mode "update"
    SetSilent silent
  ${EndIf}
FunctionEnd

Section "Install"
  Call CloseRunningProduct
  Pop $0
  ${If} $0 <> 1
    SetErrorLevel 3
    Abort "${PRODUCT} is still running."
  ${EndIf}

  !include "${FILES_DIR}\install-files.nsh"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKLM "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${SETTINGS_KEY}" "Version" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${BRAND}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ${If} ${Silent}
    FileOpen $0 "$INSTDIR\install-log.txt" w
    FileWrite $0 "parameters=$Parameters$\r$\n"
    FileWrite $0 "tag=$Tag$\r$\n"
    FileWrite $0 "mode=$Mode$\r$\n"
    FileWrite $0 "version=${VERSION}$\r$\n"
    FileWrite $0 "folder=$INSTDIR$\r$\n"
    FileClose $0
  ${EndIf}
  ${If} $Mode == "update"
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
SectionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningProduct
  Pop $0
  ${If} $0 <> 1
    SetErrorLevel 3
    Abort "${PRODUCT} is still running."
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  !include "${FILES_DIR}\uninstall-files.nsh"
  Delete "$INSTDIR\install-log.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\${BRAND}"
SectionEnd
