; How the setup and the uninstaller say what went wrong: a line in the details list, the same line on
; standard error where the program has one (a deployment tool's log, or a redirected console: a
; silent run shows no window), and a message box unless silent.

; Usage: Push <line>; Call Report (or un.Report)
!macro REPORT_FUNCTIONS un
Function ${un}Report
  Exch $0
  Push $1
  Push $2
  DetailPrint "$0"
  System::Call 'kernel32::GetStdHandle(i -12) p.r1'
  ${If} $1 P<> 0
  ${AndIf} $1 P<> -1
    StrCpy $0 "$0$\r$\n"
    System::Call 'kernel32::lstrlenA(m r0) i.r2'
    System::Call 'kernel32::WriteFile(p r1, m r0, i r2, *i .r2, p 0)'
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Reports the line, shows it, and ends the run with exit code 2.
; Usage: Push <line>; Call Stop (or un.Stop)
Function ${un}Stop
  Exch $0
  Push $0
  Call ${un}Report
  MessageBox MB_OK|MB_ICONSTOP "$0" /SD IDOK
  SetErrorLevel 2
  Abort "$0"
FunctionEnd
!macroend
!insertmacro REPORT_FUNCTIONS ""
!insertmacro REPORT_FUNCTIONS "un."
