; Quellspur's setup and uninstaller, built by scripts/package with makensis. One setup serves every
; Windows: on 64-bit Windows it installs the 64-bit build, which reads the machine's registry
; without redirection, and the 32-bit build otherwise, so nobody has to know which Windows they have.
;
; scripts/package passes VERSION_FILE (the version.nsh CMake writes), WIN32_DIR and WIN64_DIR (each
; holding Quellspur.exe and QuellScan.exe), README (the README as text) and OUTFILE; TARGET_AMD64
; makes the same setup a 64-bit program, a test setup for machines whose Wine runs no 32-bit
; program (the release's is the 32-bit one, which every Windows runs).
;
; Silent: Quellspur-<version>-setup.exe /S [/RUNONSTARTUP=0|1] [/D=<folder>]
;         Uninstall.exe /S [/REMOVEDATA=1]
; "Start with Windows" is refused, the rest installed, for a folder outside Program Files that
; others than administrators may change (QuellScan startup says).
; Neither leaves half a job. The setup exits with 0 once installed, and with 2 when it was refused
; before it changed anything, or stopped by something it could not write, after taking back what it
; had added. The uninstaller exits with 0 once everything is removed, 3010 when files still in use
; are deleted at the next restart, and 2 when something could be neither removed nor marked for
; removal: then its uninstall entry stays, to run it again.

!include "${VERSION_FILE}"

!ifdef TARGET_AMD64
  Target amd64-unicode
!endif
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include x64.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "Quellspur"
!define PUBLISHER "Orvanta"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quellspur"
; Where the program keeps its settings and its start at log-on: the same names it uses itself.
!define SETTINGS_KEY "Software\Orvanta\Quellspur"
!define VENDOR_KEY "Software\Orvanta"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Quellspur"
; Windows' own exit code for "done, once the computer restarts".
!define EXIT_DONE_AT_RESTART 3010

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PUBLISHER} ${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!define MUI_ICON "${__FILEDIR__}/../res/quellspur.ico"
!define MUI_UNICON "${__FILEDIR__}/../res/quellspur.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_COMPONENTSPAGE_TEXT_TOP "Quellspur can start with Windows, in the tray, and scan at \
  once (its setting $\"Run On Startup$\", which you can change later under File, Options)."
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderPageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "The activity log (BackLog.txt) and the quarantine (the \
  BackDoors folder: the files taken from backdoors and the record of every change, which \
  QuellScan restore needs) stay unless you tick them."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

!include "${__FILEDIR__}/report.nsh"
!include "${__FILEDIR__}/rights.nsh"
!include "${__FILEDIR__}/running_programs.nsh"

; The 64-bit build reads the 64-bit registry view, so its settings, start value and uninstall
; entry go there.
!macro USE_PROGRAMS_VIEW
  StrCpy $KeyViewFlag 0
  ${If} ${RunningX64}
    SetRegView 64
    StrCpy $KeyViewFlag 0x100
  ${EndIf}
  SetShellVarContext all
!macroend

; What this run found before it changed anything, so that a run stopped midway takes back exactly
; what it added: the files it made (each followed by "|"), the highest folder it made, whether an
; uninstall entry was there, and the start value's command.
Var AddedFiles
Var FirstNewFolder
Var EarlierEntry
Var EarlierStart

!define NOT_INSTALLED "Quellspur was not installed:"
!define NOTHING_CHANGED "Nothing was changed. Run the setup as an administrator"

Function FolderPageLeave
  Push $INSTDIR
  Call FolderRefusal
  Pop $0
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "This account may not write $0. Choose another folder, or run \
      the setup as an administrator."
    Abort
  ${EndIf}
FunctionEnd

Function CheckRights
  !insertmacro REFUSE_UNLESS_FOLDER "" \
    "${NOT_INSTALLED} this account may not write $0. ${NOTHING_CHANGED}, or choose another folder." \
    "$INSTDIR"
  !insertmacro REFUSE_UNLESS_FOLDER "" \
    "${NOT_INSTALLED} this account may not write the Start menu, $0. ${NOTHING_CHANGED}." \
    "$SMPROGRAMS"
  !insertmacro REFUSE_UNLESS_KEY "" \
    "${NOT_INSTALLED} this account may not change $0. ${NOTHING_CHANGED}." \
    "${UNINSTALL_KEY}" ${KEY_SET_VALUE} 1
  !insertmacro REFUSE_UNLESS_KEY "" \
    "${NOT_INSTALLED} this account may not change $0. ${NOTHING_CHANGED}." \
    "${RUN_KEY}" ${KEY_SET_VALUE} 1
FunctionEnd

Function RememberEarlierState
  StrCpy $AddedFiles ""
  StrCpy $FirstNewFolder ""
  StrCpy $0 $INSTDIR
  ${DoWhile} $0 != ""
    ${If} ${FileExists} "$0\*.*"
      ${Break}
    ${EndIf}
    StrCpy $FirstNewFolder $0
    ${GetParent} $0 $0
  ${Loop}
  ReadRegStr $EarlierEntry HKLM "${UNINSTALL_KEY}" "UninstallString"
  ReadRegStr $EarlierStart HKLM "${RUN_KEY}" "${RUN_VALUE}"
FunctionEnd

; Deletes the files this run made, the folders it made, and puts back the uninstall entry and the
; start value as they were; then stops with the reason.
; Usage: Push <what could not be written>; Call TakeBack
Function TakeBack
  Pop $1
  ; Out of the folder, which cannot be removed while it is the current one.
  SetOutPath $TEMP
  ${DoUntil} $AddedFiles == ""
    StrCpy $2 0
    ${Do}
      StrCpy $3 $AddedFiles 1 $2
      ${If} $3 == "|"
        ${Break}
      ${EndIf}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $3 $AddedFiles $2
    IntOp $2 $2 + 1
    StrCpy $AddedFiles $AddedFiles "" $2
    Delete $3
  ${Loop}
  ${If} $FirstNewFolder != ""
    StrCpy $2 $INSTDIR
    ${Do}
      RMDir $2
      ${If} $2 == $FirstNewFolder
        ${Break}
      ${EndIf}
      ${GetParent} $2 $2
    ${LoopUntil} $2 == ""
  ${EndIf}
  ${If} $EarlierEntry == ""
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${EndIf}
  ${If} $EarlierStart == ""
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${Else}
    WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" $EarlierStart
  ${EndIf}
  Push "${NOT_INSTALLED} the setup could not write $1. What it had added is taken back; close \
    what uses the file and run the setup again."
  Call Stop
FunctionEnd

; Writes one file of the setup's, remembered for a take-back when it is new; a file that cannot be
; written stops the run. Without a message box: silent, a file it cannot write sets the error flag.
!macro WRITE_FILE target source
  ${IfNot} ${FileExists} "${target}"
    StrCpy $AddedFiles "$AddedFiles${target}|"
  ${EndIf}
  ClearErrors
  File "/oname=${target}" "${source}"
  ${If} ${Errors}
    Push "${target}"
    Call TakeBack
  ${EndIf}
!macroend

Section "Quellspur (required)" SecProgram
  SectionIn RO
  Call CheckRights
  Call RememberEarlierState
  Call EndRunningPrograms
  ClearErrors
  SetOutPath "$INSTDIR"
  ${If} ${Errors}
    Push "the folder $INSTDIR"
    Call TakeBack
  ${EndIf}
  !insertmacro WRITE_FILE "$INSTDIR\README.txt" "${README}"
  ${IfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
    StrCpy $AddedFiles "$AddedFiles$INSTDIR\Uninstall.exe|"
  ${EndIf}
  ClearErrors
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ${If} ${Errors}
    Push "$INSTDIR\Uninstall.exe"
    Call TakeBack
  ${EndIf}
SectionEnd

; One of the two builds, chosen in .onInit; as sections, only the chosen one counts in the space
; the setup asks for.
Section "-64-bit build" SecBuild64
  !insertmacro WRITE_FILE "$INSTDIR\Quellspur.exe" "${WIN64_DIR}/Quellspur.exe"
  !insertmacro WRITE_FILE "$INSTDIR\QuellScan.exe" "${WIN64_DIR}/QuellScan.exe"
SectionEnd

Section "-32-bit build" SecBuild32
  !insertmacro WRITE_FILE "$INSTDIR\Quellspur.exe" "${WIN32_DIR}/Quellspur.exe"
  !insertmacro WRITE_FILE "$INSTDIR\QuellScan.exe" "${WIN32_DIR}/QuellScan.exe"
SectionEnd

; Chosen or not, it is the last section that writes the start value, with the registry's other
; entries, once every file stands.
Section "Start with Windows (Run On Startup)" SecRun
SectionEnd

; Why Quellspur must not start with Windows from the folder it is installed in, or "" when it may.
; It would start at every user's log-on, so only administrators may be able to change it. Program
; Files is theirs alone; for any other folder the installed program is asked, and its answer is
; the one its options dialog gives.
; Usage: Call StartWithWindowsRefusal; Pop <why, or "">
Function StartWithWindowsRefusal
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $0 ""
  ; The folder and a backslash, cut to the length of Program Files' path and a backslash: equal
  ; (LogicLib compares without regard to case) when the folder is inside it.
  GetFullPathName $1 $INSTDIR
  StrLen $2 "$PROGRAMFILES\"
  StrCpy $2 "$1\" $2
  StrLen $3 "$PROGRAMFILES64\"
  StrCpy $3 "$1\" $3
  ${If} $2 != "$PROGRAMFILES\"
  ${AndIf} $3 != "$PROGRAMFILES64\"
    nsExec::ExecToStack '"$INSTDIR\QuellScan.exe" startup'
    Pop $2
    Pop $3
    ${If} $2 != 0
      StrCpy $0 "Quellspur does not start with Windows from $INSTDIR: whether others may change \
        it could not be found out."
      ${If} $2 == 1
      ${AndIf} $3 != ""
        ; One line, without its line end.
        StrCpy $0 $3 -2
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; The Start menu entry and the registry last: a run stopped before them has registered nothing.
Section "-Start menu and registry"
  ${If} ${SectionIsSelected} ${SecRun}
    Call StartWithWindowsRefusal
    Pop $0
    ${If} $0 != ""
      Push $0
      Call Report
      MessageBox MB_OK|MB_ICONEXCLAMATION "$0" /SD IDOK
      !insertmacro UnselectSection ${SecRun}
    ${EndIf}
  ${EndIf}
  ${IfNot} ${FileExists} "$SMPROGRAMS\Quellspur.lnk"
    StrCpy $AddedFiles "$AddedFiles$SMPROGRAMS\Quellspur.lnk|"
  ${EndIf}
  ClearErrors
  CreateShortcut "$SMPROGRAMS\Quellspur.lnk" "$INSTDIR\Quellspur.exe"
  ${If} ${Errors}
    Push "$SMPROGRAMS\Quellspur.lnk"
    Call TakeBack
  ${EndIf}

  ${GetSize} "$INSTDIR" "/M=*.exe /S=0K /G=0" $0 $1 $2
  ClearErrors
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quellspur.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  ${If} ${SectionIsSelected} ${SecRun}
    ; Exactly the command the program's options dialog stores, so that it shows the box ticked.
    WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Quellspur.exe" /boot'
  ${ElseIf} $EarlierStart != ""
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  ${If} ${Errors}
    Push "the registry key HKEY_LOCAL_MACHINE\${UNINSTALL_KEY} or ${RUN_KEY}"
    Call TakeBack
  ${EndIf}
SectionEnd

Function .onInit
  !insertmacro USE_PROGRAMS_VIEW
  ${If} ${RunningX64}
    !insertmacro UnselectSection ${SecBuild32}
  ${Else}
    !insertmacro UnselectSection ${SecBuild64}
  ${EndIf}
  ; /D= has set the folder already; otherwise an earlier install's folder, or Program Files.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} ${RunningX64}
      StrCpy $INSTDIR "$PROGRAMFILES64\Orvanta\Quellspur"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\Orvanta\Quellspur"
    ${EndIf}
  ${EndIf}
  ; "Run On Startup" as the command line says, or as it stands: an update keeps it.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RUNONSTARTUP=" $1
  ${If} ${Errors}
    ReadRegStr $2 HKLM "${RUN_KEY}" "${RUN_VALUE}"
    StrCpy $1 0
    ${If} $2 != ""
      StrCpy $1 1
    ${EndIf}
  ${EndIf}
  ${If} $1 == 1
    !insertmacro SelectSection ${SecRun}
  ${Else}
    !insertmacro UnselectSection ${SecRun}
  ${EndIf}
FunctionEnd

; The uninstaller's account of what it could not do at once: files Windows deletes at the next
; restart, and things that could be neither removed nor marked, each followed by "; ".
Var AtRestart
Var NotRemoved

; Deletes a file, or has Windows delete it at the next restart when it is in use.
!macro REMOVE_FILE path
  ${If} ${FileExists} "${path}"
    ClearErrors
    Delete /REBOOTOK "${path}"
    ${If} ${Errors}
      StrCpy $NotRemoved "$NotRemoved${path}; "
    ${ElseIf} ${FileExists} "${path}"
      StrCpy $AtRestart "$AtRestart${path}; "
    ${EndIf}
  ${EndIf}
!macroend

Section "un.Quellspur (required)" SecUnProgram
  SectionIn RO
  !insertmacro REFUSE_UNLESS_FOLDER "un." \
    "Quellspur was not removed: this account may not write $0. Nothing was changed. Run the \
    uninstaller as an administrator." "$INSTDIR"
  !define NOT_REMOVED_KEY "Quellspur was not removed: this account may not change $0. Nothing was \
    changed. Run the uninstaller as an administrator."
  !insertmacro REFUSE_UNLESS_KEY "un." "${NOT_REMOVED_KEY}" "${RUN_KEY}" ${KEY_SET_VALUE} 0
  !insertmacro REFUSE_UNLESS_KEY "un." "${NOT_REMOVED_KEY}" "${SETTINGS_KEY}" \
    "${DELETE}|${KEY_ENUMERATE_SUB_KEYS}|${KEY_QUERY_VALUE}" 0
  !insertmacro REFUSE_UNLESS_KEY "un." "${NOT_REMOVED_KEY}" "${UNINSTALL_KEY}" \
    "${DELETE}|${KEY_ENUMERATE_SUB_KEYS}|${KEY_QUERY_VALUE}" 0
  StrCpy $AtRestart ""
  StrCpy $NotRemoved ""
  Call un.EndRunningPrograms

  ; The start value goes only when it starts this folder's program, not a copy elsewhere.
  ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\Quellspur.exe" /boot'
    ClearErrors
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
    ${If} ${Errors}
      StrCpy $NotRemoved "$NotRemoved${RUN_KEY}\${RUN_VALUE}; "
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
  !insertmacro REMOVE_FILE "$SMPROGRAMS\Quellspur.lnk"
  !insertmacro REMOVE_FILE "$INSTDIR\Quellspur.exe"
  !insertmacro REMOVE_FILE "$INSTDIR\QuellScan.exe"
  !insertmacro REMOVE_FILE "$INSTDIR\README.txt"
SectionEnd

Section /o "un.Activity log and quarantine" SecUnData
  !insertmacro REMOVE_FILE "$INSTDIR\BackLog.txt"
  ${If} ${FileExists} "$INSTDIR\BackDoors\*.*"
    ClearErrors
    RMDir /r /REBOOTOK "$INSTDIR\BackDoors"
    ${If} ${Errors}
      StrCpy $NotRemoved "$NotRemoved$INSTDIR\BackDoors; "
    ${ElseIf} ${FileExists} "$INSTDIR\BackDoors\*.*"
      StrCpy $AtRestart "$AtRestart$INSTDIR\BackDoors; "
    ${EndIf}
  ${EndIf}
SectionEnd

; Last, so that a script waiting for the uninstall entry to go finds everything else done. The
; entry and the uninstaller go only when the programs are gone or marked to go at the restart;
; otherwise both stay, to run the uninstaller again. The folder stays while the kept files are in
; it; the vendor's folder goes when it is empty.
Section "-un.Uninstall entry"
  ${If} $NotRemoved != ""
    StrCpy $NotRemoved $NotRemoved -2
    Push "Quellspur was not wholly removed: $NotRemoved could be neither deleted nor marked for \
      deletion. Its uninstall entry stays; run the uninstaller again as an administrator."
    Call un.Stop
  ${EndIf}
  ; The entry goes only when it names this folder: an uninstaller of an earlier install elsewhere
  ; leaves the current install registered.
  ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  GetFullPathName /SHORT $2 $2
  GetFullPathName /SHORT $3 $INSTDIR
  !insertmacro REMOVE_FILE "$INSTDIR\Uninstall.exe"
  ${If} $AtRestart != ""
  ${AndIf} ${SectionIsSelected} ${SecUnData}
    RMDir /REBOOTOK "$INSTDIR"
  ${Else}
    RMDir "$INSTDIR"
  ${EndIf}
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} $0 $1
  ${If} $1 == "Orvanta"
    RMDir $0
  ${EndIf}
  ${If} $2 == $3
  ${AndIf} $2 != ""
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${EndIf}
  ${If} $AtRestart != ""
    StrCpy $AtRestart $AtRestart -2
    Push "Quellspur is removed; Windows deletes $AtRestart, still in use, when it restarts."
    Call un.Report
    MessageBox MB_OK|MB_ICONINFORMATION "Quellspur is removed. Some of its files are still in use; \
      Windows deletes them when it restarts." /SD IDOK
    SetErrorLevel ${EXIT_DONE_AT_RESTART}
  ${EndIf}
SectionEnd

Function un.onInit
  !insertmacro USE_PROGRAMS_VIEW
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEDATA=" $1
  ${If} $1 == 1
    !insertmacro SelectSection ${SecUnData}
  ${EndIf}
FunctionEnd
