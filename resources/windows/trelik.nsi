; The Windows installer: a per-user install, no administrator rights. The program keeps its data
; beside itself (projects\, projects.lib, trelik.ini), so installing over an earlier version
; replaces only the program files, and uninstalling keeps the templates unless the user says so.
; The build passes VERSION, PROGRAM (trelik.exe), CONSOLE_TWIN (trelik.com), HELP (trelik.chm),
; ICON and OUTFILE with /D.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelik"

Name "Trelik"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Trelik"
; An upgrade goes where the earlier version was installed.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Trelik"
VIAddVersionKey "FileDescription" "Trelik setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright 2026 Trelik developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\trelik.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "--editor"
!define MUI_FINISHPAGE_RUN_TEXT "Open the template editor"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Trelik"
  SetOutPath "$INSTDIR"
  File "/oname=trelik.exe" "${PROGRAM}"
  File "/oname=trelik.com" "${CONSOLE_TWIN}"
  File "/oname=trelik.chm" "${HELP}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The working folder of the shortcut is the output path set above.
  CreateShortcut "$SMPROGRAMS\Trelik.lnk" "$INSTDIR\trelik.exe" "--editor" \
      "$INSTDIR\trelik.exe" 0 SW_SHOWNORMAL "" "Project templates for the New menu"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Trelik"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Trelik developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\trelik.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as Windows' list of programs reads it; the templates count too.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; While the program is still there: its file types and New-menu entries go first. What it
  ; prints lands in the details list.
  nsExec::ExecToLog '"$INSTDIR\trelik.exe" --unregister-all'
  Pop $0
  ; The window closes by itself when done, unless the details have something to show.
  ${If} $0 == 0
    SetAutoClose true
  ${Else}
    MessageBox MB_OK|MB_ICONEXCLAMATION \
        "Trelik could not remove its file types ($0); the details say why." /SD IDOK
  ${EndIf}

  Delete "$INSTDIR\trelik.exe"
  Delete "$INSTDIR\trelik.com"
  Delete "$INSTDIR\trelik.chm"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Trelik.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Remove your templates too?$\n$\nThey are kept in $INSTDIR (projects, projects.lib and \
      trelik.ini); a later install of Trelik finds them there." /SD IDNO IDNO keep
  RMDir /r "$INSTDIR\projects"
  Delete "$INSTDIR\projects.lib"
  Delete "$INSTDIR\trelik.ini"
keep:
  ; Only when nothing of the user's is left in it.
  RMDir "$INSTDIR"
SectionEnd
