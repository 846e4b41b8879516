; A 32-bit program installed for everyone on a 64-bit Windows (WOW6432Node, Program Files (x86)).
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
