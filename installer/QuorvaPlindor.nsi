; One script for both installers. makensis gets from the build:
;   ARCH    32 or 64
;   FILES   the generated list of the installation folder's files
;   OUTFILE the installer to write
Unicode true
!ifndef ARCH
  !error "ARCH, FILES and OUTFILE must be defined (the build passes them)"
!endif
!if ${ARCH} == 64
  Target amd64-unicode
!endif
!include "${FILES}"

!define PRODUCT "Quorva Plindor"
; The program finds its folder through this key's value "path".
!define APP_PATHS "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\FullSuitePlindorDemo.exe"
!define UNINST_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\QuorvaPlindor"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!if ${ARCH} == 64
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!macro Views
  SetShellVarContext all
  !if ${ARCH} == 64
    SetRegView 64
  !endif
!macroend

Function .onInit
  !insertmacro Views
FunctionEnd

Section "Install"
  !insertmacro QUORVA_INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; Start-up appends file names to the value: it keeps its backslash.
  WriteRegStr HKLM "${APP_PATHS}" "" "$INSTDIR\QuorvaPlindor.exe"
  WriteRegStr HKLM "${APP_PATHS}" "path" "$INSTDIR\"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\QuorvaPlindor.exe"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\QuorvaPlindor.exe"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  !insertmacro Views
FunctionEnd

Section "Uninstall"
  !insertmacro QUORVA_REMOVE_FILES
  ; Sound the program converted for its documents; start-up removes them too.
  Delete "$INSTDIR\tempWavFile*.wav"
  ; The user's settings stay unless the user asks (a silent run keeps them).
  IfFileExists "$INSTDIR\set.ton" 0 +3
    MessageBox MB_YESNO|MB_ICONQUESTION "Also remove your settings (set.ton)?" /SD IDNO IDNO +2
    Delete "$INSTDIR\set.ton"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: documents saved here stay.
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${APP_PATHS}"
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
