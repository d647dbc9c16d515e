; Ends the programs that run from the folder, so that their files can be replaced or removed. The
; tray program is asked to close, as the task list asks it, and given time to finish what it does
; (a scan, a clean-up); QuellScan, which no window can ask, is given a few seconds. Whatever still
; runs from the folder after that is ended: a program left running would keep its files.

!define INSTANCE_MUTEX "Orvanta.Quellspur.Instance"
!define WINDOW_CLASS "QuellspurForm"
; Every version's main window caption begins so; the number after it changes.
!define MAIN_CAPTION "Orvanta Quellspur Version"
!define SYNCHRONIZE_TERMINATE_QUERY 0x00100411
!define WAIT_TIMEOUT 258
; What a QuellScan that had to be ended leaves as its exit code: its own code for "not done".
!define ENDED_EXIT_CODE 2

; The process list's record, PROCESSENTRY32W: its id and executable name, after the fields before
; them (a pointer-sized field among them, with its padding in the 64-bit record).
!if ${NSIS_PTR_SIZE} > 4
  !define PROCESS_ENTRY_SIZE 568
  !define PROCESS_ENTRY_FIELDS "i, i, i .r4, i, l, i, i, i, i, i, &w260 .r5"
!else
  !define PROCESS_ENTRY_SIZE 556
  !define PROCESS_ENTRY_FIELDS "i, i, i .r4, i, i, i, i, i, i, &w260 .r5"
!endif

!macro RUNNING_PROGRAM_FUNCTIONS un
; Ends every process whose executable is the folder's copy of the named program, after waiting for
; it to end by itself for the given milliseconds. The process is opened, and its executable named
; through that handle, before it is ended: a program of the same name elsewhere is left alone.
; Usage: Push <file name>; Push <milliseconds>; Call EndProcessesOf
Function ${un}EndProcessesOf
  Exch $1
  Exch
  Exch $0
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  GetFullPathName /SHORT $8 "$INSTDIR\$0"
  System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p.r2'
  ${If} $8 != ""
  ${AndIf} $2 P<> -1
    System::Alloc ${PROCESS_ENTRY_SIZE}
    Pop $3
    System::Call '*$3(i ${PROCESS_ENTRY_SIZE})'
    System::Call 'kernel32::Process32FirstW(p r2, p r3) i.r6'
    ${DoWhile} $6 <> 0
      System::Call '*$3(${PROCESS_ENTRY_FIELDS})'
      ${If} $5 == $0
        System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE_TERMINATE_QUERY}, i 0, i r4) p.r6'
        ${If} $6 P<> 0
          ; Windows before Vista lacks the first call; the second cannot read a 64-bit process
          ; from a 32-bit one, which only Vista and later run.
          System::Call 'kernel32::QueryFullProcessImageNameW(p r6, i 0, w .r5, *i ${NSIS_MAX_STRLEN}) i.r7'
          ${If} $7 == "error"
            System::Call 'psapi::GetModuleFileNameExW(p r6, p 0, w .r5, i ${NSIS_MAX_STRLEN}) i.r7'
          ${EndIf}
          GetFullPathName /SHORT $5 $5
          ${If} $5 == $8
            System::Call 'kernel32::WaitForSingleObject(p r6, i r1) i.r7'
            ${If} $7 = ${WAIT_TIMEOUT}
              DetailPrint "Ending $0 (process $4), which still runs"
              System::Call 'kernel32::TerminateProcess(p r6, i ${ENDED_EXIT_CODE})'
              System::Call 'kernel32::WaitForSingleObject(p r6, i 5000)'
            ${EndIf}
          ${EndIf}
          System::Call 'kernel32::CloseHandle(p r6)'
        ${EndIf}
      ${EndIf}
      System::Call 'kernel32::Process32NextW(p r2, p r3) i.r6'
    ${Loop}
    System::Free $3
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $0
  Pop $1
FunctionEnd

; A close request from another program ends Quellspur, as one from the task list does, once what it
; is doing is done; it is gone once its single-instance mutex is. Then QuellScan.
Function ${un}EndRunningPrograms
  Push $0
  Push $1
  Push $2
  Push $3
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
    ${If} $3 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r3)'
    Sleep 100
  ${Next}
  Push Quellspur.exe
  Push 0
  Call ${un}EndProcessesOf
  Push QuellScan.exe
  Push 5000
  Call ${un}EndProcessesOf
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro RUNNING_PROGRAM_FUNCTIONS ""
!insertmacro RUNNING_PROGRAM_FUNCTIONS "un."
