; The installer of Tallowquince Purgelint: 64-bit, Unicode, machine-wide.
; Built by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DDIST=<staged dist folder> -DOUTFILE=<setup.exe>
; The dist folder holds purgelint.exe and languages\; the installer adds an empty backup\, the
; chosen language in setup.ini, a start-menu shortcut and the uninstall entry.

!macro Required NAME
  !ifndef ${NAME}
    !error "${NAME} is not defined: run scripts/package.sh"
  !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required DIST
!insertmacro Required OUTFILE

Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Tallowquince Purgelint"
!define PUBLISHER "Tallowquince"
!define EXE "purgelint.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define RUNONCE_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

; makensis works in this folder.
!define MUI_ICON "..\src\app\resources\program.ico"
!define MUI_UNICON "..\src\app\resources\program.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The languages of the language page, in the order shown; the first one is the default.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_RESERVEFILE_LANGDLL

; The program's own language codes, as its languages\ folder names them.
LangString ProgramLanguage ${LANG_ENGLISH} "eng"
LangString ProgramLanguage ${LANG_GERMAN} "deu"
LangString ProgramLanguage ${LANG_FRENCH} "fra"

LangString RemoveUserData ${LANG_ENGLISH} \
  "Also remove the registry backups, the logs and the settings in $INSTDIR?"
LangString RemoveUserData ${LANG_GERMAN} \
  "Sollen auch die Registrierungssicherungen, die Protokolle und die Einstellungen in $INSTDIR entfernt werden?"
LangString RemoveUserData ${LANG_FRENCH} \
  "Supprimer aussi les sauvegardes du Registre, les journaux et les paramètres dans $INSTDIR ?"

; The registry and the shortcuts of every user: the program's Run entries and uninstall entry
; are machine-wide too.
!macro MachineWide
  SetRegView 64
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro MachineWide
  ; A silent install asks nothing: it is in English.
  ${If} ${Silent}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${Else}
    !insertmacro MUI_LANGDLL_DISPLAY
  ${EndIf}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${DIST}/${EXE}"
  SetOutPath "$INSTDIR\languages"
  File "${DIST}/languages/*.txt"
  CreateDirectory "$INSTDIR\backup"
  SetOutPath "$INSTDIR"

  WriteINIStr "$INSTDIR\setup.ini" "Main" "language" "$(ProgramLanguage)"

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller speaks the language the program was set to.
Function un.onInit
  !insertmacro MachineWide
  ReadINIStr $0 "$INSTDIR\setup.ini" "Main" "language"
  ${Select} $0
    ${Case} "deu"
      StrCpy $LANGUAGE ${LANG_GERMAN}
    ${Case} "fra"
      StrCpy $LANGUAGE ${LANG_FRENCH}
    ${CaseElse}
      StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndSelect}
FunctionEnd

; Deletes an autostart value the program wrote, when it starts a program of this installation
; (quoted, as the program writes it): a value of a copy elsewhere is that copy's own.
!macro un.DeleteOwnAutostart KEY NAME
  ReadRegStr $0 HKLM "${KEY}" "${NAME}"
  StrCpy $1 '"$INSTDIR\'
  StrLen $2 $1
  StrCpy $0 $0 $2
  ${If} $0 == $1
    DeleteRegValue HKLM "${KEY}" "${NAME}"
  ${EndIf}
!macroend

Section "Uninstall"
  ; What the program writes into the registry: the weekly scan and the first-run notes.
  !insertmacro un.DeleteOwnAutostart "${RUN_KEY}" "ro_zuvaviv"
  !insertmacro un.DeleteOwnAutostart "${RUNONCE_KEY}" "update_purgelint2"
  !insertmacro un.DeleteOwnAutostart "${RUNONCE_KEY}" "update_purgelint3"
  ; An administrator's weekly scan is a log-on task as well; no window, whatever it answers.
  nsExec::Exec 'schtasks /Delete /TN "Tallowquince Purgelint weekly scan" /F'
  Pop $0

  Delete "${SHORTCUT}"
  Delete "$INSTDIR\${EXE}"
  ; The shipped language files and the list of missing texts the program keeps beside them.
  RMDir /r "$INSTDIR\languages"

  ; The user's own data: asked for, and kept on a silent uninstall. An empty backup folder
  ; holds nothing of the user's and goes either way.
  MessageBox MB_YESNO|MB_ICONQUESTION "$(RemoveUserData)" /SD IDNO IDNO keep_user_data
    RMDir /r "$INSTDIR\backup"
    Delete "$INSTDIR\app.log"
    Delete "$INSTDIR\log.txt"
    Delete "$INSTDIR\setup.ini"
  keep_user_data:
  RMDir "$INSTDIR\backup"

  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  ; Last: the entry goes when nothing else is left to remove.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
