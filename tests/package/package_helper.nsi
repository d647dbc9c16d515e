; What the release's scenarios need of Windows that no Wine command does, as a small silent program
; (package_lib.sh builds it with makensis):
;   /KEY=<key below HKEY_LOCAL_MACHINE> /DACL=<SDDL>   gives the key, in the 64-bit view, that access
;       list, as a machine whose administrators locked it has; exit code 1 when it cannot
;   /HOLD=<file> /READY=<file> /UNTIL=<file>   keeps the file open, sharing only reading, as a
;       program that has it open does; writes READY once it holds it, and ends when UNTIL exists
Target amd64-unicode
Unicode true
OutFile "${OUTFILE}"
RequestExecutionLevel user
SilentInstall silent

!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh

; The exit code: 0 done, 1 refused, 2 a wrong command line.
Section
  SetErrorLevel 2
  ; Wine quotes an argument with a blank as a whole; the options' values end at the next option.
  ${GetParameters} $0
  ${WordReplace} $0 '"' '' '+' $0
  ClearErrors
  ${GetOptions} $0 "/KEY=" $1
  ${IfNot} ${Errors}
    ${GetOptions} $0 "/DACL=" $2
    SetErrorLevel 1
    System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w r2, i 1, \
      *p .r3, p 0) i.r4'
    ; WRITE_DAC in the 64-bit view
    System::Call 'advapi32::RegOpenKeyExW(p 0x80000002, w r1, i 0, i 0x40100, *p .r5) i.r6'
    ${If} $4 <> 0
    ${AndIf} $6 = 0
      ; DACL_SECURITY_INFORMATION
      System::Call 'advapi32::RegSetKeySecurity(p r5, i 4, p r3) i.r6'
      System::Call 'advapi32::RegCloseKey(p r5)'
      ${If} $6 = 0
        SetErrorLevel 0
      ${EndIf}
    ${EndIf}
    System::Call 'kernel32::LocalFree(p r3)'
  ${EndIf}

  ClearErrors
  ${GetOptions} $0 "/HOLD=" $1
  ${IfNot} ${Errors}
    ${GetOptions} $0 "/READY=" $2
    ${GetOptions} $0 "/UNTIL=" $3
    SetErrorLevel 1
    ; GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING
    System::Call 'kernel32::CreateFileW(w r1, i 0x80000000, i 1, p 0, i 3, i 0, p 0) p.r4'
    ${If} $4 P<> -1
      FileOpen $5 $2 w
      FileClose $5
      ${DoUntil} ${FileExists} $3
        Sleep 100
      ${Loop}
      System::Call 'kernel32::CloseHandle(p r4)'
      SetErrorLevel 0
    ${EndIf}
  ${EndIf}
SectionEnd
