; Quellspur's setup and uninstaller, built by scripts/package with makensis. One setup serves every
; Windows: on 64-bit Windows it installs the 64-bit build, which reads the machine's registry
; without redirection, and the 32-bit build otherwise, so nobody has to know which Windows they have.
;
; scripts/package passes VERSION_FILE (the version.nsh CMake writes), WIN32_DIR and WIN64_DIR (each
; holding Quellspur.exe and QuellScan.exe), README (the README as text) and OUTFILE.
;
; Silent: Quellspur-<version>-setup.exe /S [/RUNONSTARTUP=0|1] [/D=<folder>]
;         Uninstall.exe /S [/REMOVEDATA=1]

!include "${VERSION_FILE}"

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
!define INSTANCE_MUTEX "Orvanta.Quellspur.Instance"
!define WINDOW_CLASS "QuellspurForm"
; Every version's main window caption begins so; the number after it changes.
!define MAIN_CAPTION "Orvanta Quellspur Version"

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
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "The activity log (BackLog.txt) and the quarantine (the \
  BackDoors folder: the files taken from backdoors and the record of every change, which \
  QuellScan restore needs) stay unless you tick them."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Ends a running Quellspur of any version, so that its files can be replaced or removed: a close
; request from another program ends it, as one from the task list does. It is gone once its
; single-instance mutex is.
!macro END_RUNNING_COPY prefix
Function ${prefix}EndRunningCopy
  StrCpy $0 0
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}" "" 0 $0
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowTextW(p r0, w .r1, i ${NSIS_MAX_STRLEN})'
    StrLen $2 "${MAIN_CAPTION}"
    StrCpy $1 $1 $2
    ${If} $1 == "${MAIN_CAPTION}"
      DetailPrint "Closing the running Quellspur"
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      ${Break}
    ${EndIf}
  ${Loop}
  ${For} $2 1 100
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p.r3'
    ${If} $3 = 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r3)'
    Sleep 100
  ${Next}
FunctionEnd
!macroend
!insertmacro END_RUNNING_COPY ""
!insertmacro END_RUNNING_COPY "un."

; The 64-bit build reads the 64-bit registry view, so its settings, start value and uninstall
; entry go there.
!macro USE_PROGRAMS_VIEW
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  SetShellVarContext all
!macroend

Section "Quellspur (required)" SecProgram
  SectionIn RO
  Call EndRunningCopy
  SetOutPath "$INSTDIR"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quellspur.lnk" "$INSTDIR\Quellspur.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quellspur.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; One of the two builds, chosen in .onInit; as sections, only the chosen one counts in the space
; the setup asks for.
Section "-64-bit build" SecBuild64
  SetOutPath "$INSTDIR"
  File "${WIN64_DIR}/Quellspur.exe" "${WIN64_DIR}/QuellScan.exe"
SectionEnd

Section "-32-bit build" SecBuild32
  SetOutPath "$INSTDIR"
  File "${WIN32_DIR}/Quellspur.exe" "${WIN32_DIR}/QuellScan.exe"
SectionEnd

Section "Start with Windows (Run On Startup)" SecRun
  ; Exactly the command the program's options dialog stores, so that it shows the box ticked.
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Quellspur.exe" /boot'
SectionEnd

Section "-Not at start-up, and the size"
  ${IfNot} ${SectionIsSelected} ${SecRun}
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  ${GetSize} "$INSTDIR" "/M=*.exe /S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
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

Section "un.Quellspur (required)" SecUnProgram
  SectionIn RO
  Call un.EndRunningCopy
  Delete "$INSTDIR\Quellspur.exe"
  Delete "$INSTDIR\QuellScan.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$SMPROGRAMS\Quellspur.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
SectionEnd

Section /o "un.Activity log and quarantine" SecUnData
  Delete "$INSTDIR\BackLog.txt"
  RMDir /r "$INSTDIR\BackDoors"
SectionEnd

; Last, so that a script waiting for the uninstall entry to go finds everything else done. The
; folder stays while the kept files are in it; the vendor's folder goes when it is empty.
Section "-un.Uninstall entry"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} $0 $1
  ${If} $1 == "Orvanta"
    RMDir $0
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
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
