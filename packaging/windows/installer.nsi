; Ruzov's installer: for the current user only (no administrator), into
; %LOCALAPPDATA%\Programs\Ruzov, with a Start-menu entry and an uninstaller
; that removes everything it put there; the player's settings in
; %APPDATA%\Ruzov stay.
; makensis -DVERSION=x.y -DSTAGE=folder -DOUTFILE=setup.exe -DICON=ruzov.ico
; A 64-bit installer, like the game: it runs where the game runs (and under
; wine64 alone).
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ruzov"

Name "Ruzov ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Ruzov"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Ruzov"
VIAddVersionKey "FileDescription" "Ruzov ${VERSION} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Ruzov's authors"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Ruzov"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${STAGE}\ruzov.exe"
  File "${STAGE}\ruzov-sim.exe"
  File "${STAGE}\README.txt"
  SetOutPath "$INSTDIR\data"
  File "${STAGE}\data\*"
  SetOutPath "$INSTDIR\licences"
  File "${STAGE}\licences\*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Ruzov.lnk" "$INSTDIR\ruzov.exe" "" "$INSTDIR\ruzov.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Ruzov"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ruzov.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes, so a folder the player chose that
; holds other files keeps them.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Ruzov.lnk"
  Delete "$INSTDIR\ruzov.exe"
  Delete "$INSTDIR\ruzov-sim.exe"
  Delete "$INSTDIR\README.txt"
  RMDir /r "$INSTDIR\data"
  RMDir /r "$INSTDIR\licences"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
