; The Windows installer of Purgatex for Android (64-bit), made by
; scripts/windows/package.sh with makensis:
;   makensis -DVERSION=1.0 -DLAYOUT=<layout folder> -DFILES=<files.nsh> -DOUTFILE=<setup.exe> purgatex.nsi
;
; Installs the layout folder into "<64-bit Program Files>\Purgatex" (or a
; folder the user picks), a Start-menu folder for all users with the program,
; the user guide and the uninstaller, and the entry of "Apps & features".
; Installing over an earlier version first removes that version's program
; files, then copies the new ones. Neither the installer nor the uninstaller
; touches the erase records, which the program keeps per user in
; %APPDATA%\Purgatex\records, nor files the user put into the program folder
; (adb.exe and its DLLs, Purgatex.apk).

; A 64-bit installer for a 64-bit program (it also runs where only 64-bit
; Windows programs run, as under a 64-bit-only Wine).
Target amd64-unicode
!include "${FILES}"
!include "LogicLib.nsh"
!include "x64.nsh"

!ifndef VERSION
  !define VERSION "1.0"
!endif
!define PRODUCT "Purgatex for Android"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Purgatex"
!define SETTINGS_KEY "Software\Purgatex"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Purgatex"
InstallDirRegKey HKLM "${SETTINGS_KEY}" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${LAYOUT}/Purgatex.ico"
UninstallIcon "${LAYOUT}/Purgatex.ico"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Purgatex developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs a 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
  ; An earlier install keeps its folder.
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "InstallDir"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Purgatex for Android" SecMain
  SectionIn RO
  SetShellVarContext all
  ; An earlier version's program files go first (the list of this version's
  ; files covers every file any version has installed so far).
  IfFileExists "$INSTDIR\Purgatex.exe" 0 fresh
    DetailPrint "Removing the earlier version's program files (erase records are kept)"
    !insertmacro PurgatexRemoveFiles
  fresh:
  SetOutPath "$INSTDIR"
  !insertmacro PurgatexInstallFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The shortcut starts the program in its folder, where it looks for
  ; Purgatex.apk.
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Purgatex.exe" "" "$INSTDIR\Purgatex.ico" 0
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\User guide.lnk" "$INSTDIR\help\user-guide.html"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${SETTINGS_KEY}" "Version" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Purgatex developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Purgatex.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !insertmacro PurgatexRemoveFiles
  Delete "$INSTDIR\Uninstall.exe"
  ; Left in place when the user put files of their own there (adb.exe).
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\User guide.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DetailPrint "Erase records in each user's %APPDATA%\Purgatex\records are kept."
SectionEnd
