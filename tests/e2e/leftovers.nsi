; A 32-bit program's installation as its installer leaves it on a 64-bit Windows, for everyone:
; the 32-bit registry view, "Program Files (x86)", everyone's desktop and start menu.
; makensis -DNAME=... -DEXE=... -DDLL=... -DOUT=... leftovers.nsi
Target amd64-unicode
RequestExecutionLevel admin
SilentInstall silent
Name "${NAME}"
OutFile "${OUT}"

!define WIN "Software\Microsoft\Windows\CurrentVersion"
Section
  SetRegView 64
  ReadRegStr $0 HKLM "${WIN}" "ProgramFilesDir (x86)"
  SetRegView 32
  StrCpy $INSTDIR "$0\${NAME}"
  SetOutPath "$INSTDIR"
  File "/oname=${EXE}.exe" "${__FILE__}"
  File "/oname=${DLL}.dll" "${__FILE__}"
  File "/oname=${EXE}.hlp" "${__FILE__}"
  WriteUninstaller "$INSTDIR\uninst.exe"
  WriteRegStr HKLM "${WIN}\Uninstall\${NAME}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${WIN}\Run" "${NAME}" '"$INSTDIR\${EXE}.exe" /tray'
  WriteRegDWORD HKLM "${WIN}\SharedDLLs" "$INSTDIR\${DLL}.dll" 1
  WriteRegStr HKLM "${WIN}\App Paths\${EXE}.exe" "" "$INSTDIR\${EXE}.exe"
  WriteRegStr HKLM "Software\Microsoft\Windows\Help" "${EXE}.hlp" "$INSTDIR"
  SetShellVarContext all
  CreateShortCut "$DESKTOP\${NAME}.lnk" "$INSTDIR\${EXE}.exe"
  CreateDirectory "$SMPROGRAMS\${NAME}"
  CreateShortCut "$SMPROGRAMS\${NAME}\Uninstall ${NAME}.lnk" "$INSTDIR\uninst.exe"
SectionEnd

Section Uninstall
SectionEnd
