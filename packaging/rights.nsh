; Whether this account may make the changes a run is about to make, asked before it makes any: a run
; that may not finish changes nothing. Windows answers with the rights it grants on open, so each
; check opens what the run will write, in the registry view it will write, with the rights it will
; use.

!define HKEY_LOCAL_MACHINE 0x80000002
!define KEY_QUERY_VALUE 0x0001
!define KEY_SET_VALUE 0x0002
!define KEY_CREATE_SUB_KEY 0x0004
!define KEY_ENUMERATE_SUB_KEYS 0x0008
!define DELETE 0x00010000
!define ERROR_FILE_NOT_FOUND 2

; KEY_WOW64_64KEY where the programs' view is the 64-bit one (set with SetRegView), else 0.
Var KeyViewFlag

!macro RIGHTS_FUNCTIONS un
; Leaves "" on the stack when this account may write in the folder, or in the nearest folder above
; it that exists (where the run would make it), else what it may not write. The probe is a file
; that Windows deletes as it is closed, so nothing of it stays even if the run ends here.
; Usage: Push <folder>; Call FolderRefusal; Pop <"" or the reason>
Function ${un}FolderRefusal
  Exch $0
  Push $1
  Push $2
  ${Do}
    ${If} ${FileExists} "$0\*.*"
      ${Break}
    ${EndIf}
    ${GetParent} $0 $1
    ${If} $1 == ""
      ${Break}
    ${EndIf}
    StrCpy $0 $1
  ${Loop}
  ; GENERIC_WRITE | DELETE, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE
  System::Call 'kernel32::CreateFileW(w "$0\Quellspur-setup-probe.tmp", i 0x40010000, i 0, p 0, \
    i 1, i 0x04000100, p 0) p.r1 ?e'
  Pop $2
  ${If} $1 P= -1
    StrCpy $0 "the folder $0 (error $2)"
  ${Else}
    System::Call 'kernel32::CloseHandle(p r1)'
    StrCpy $0 ""
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Leaves "" on the stack when this account has the rights on the machine's key (below
; HKEY_LOCAL_MACHINE, in the programs' view), else which key refuses them. A key that is missing
; is fine when the run only deletes; when it will create it (create = 1), the nearest existing key
; above must let it create keys.
; Usage: Push <key>; Push <rights>; Push <create: 0 or 1>; Call KeyRefusal; Pop <"" or the reason>
Function ${un}KeyRefusal
  Exch $2
  Exch
  Exch $1
  Exch 2
  Exch $0
  Push $3
  Push $4
  ${Do}
    IntOp $1 $1 | $KeyViewFlag
    System::Call 'advapi32::RegOpenKeyExW(p ${HKEY_LOCAL_MACHINE}, w r0, i 0, i r1, *p .r4) i.r3'
    ${If} $3 = 0
      System::Call 'advapi32::RegCloseKey(p r4)'
      StrCpy $0 ""
      ${Break}
    ${ElseIf} $3 = ${ERROR_FILE_NOT_FOUND}
    ${AndIf} $2 = 0
      StrCpy $0 ""
      ${Break}
    ${ElseIf} $3 <> ${ERROR_FILE_NOT_FOUND}
      StrCpy $0 "the registry key HKEY_LOCAL_MACHINE\$0 (error $3)"
      ${Break}
    ${EndIf}
    ${GetParent} $0 $0
    StrCpy $1 ${KEY_CREATE_SUB_KEY}
  ${Loop}
  Pop $4
  Pop $3
  Exch
  Pop $2
  Exch
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro RIGHTS_FUNCTIONS ""
!insertmacro RIGHTS_FUNCTIONS "un."

; Stops the run, with the reason, when this account may not write the folder; for the key checks,
; the same with the rights and whether the run creates the key.
!macro REFUSE_UNLESS_FOLDER un message folder
  Push "${folder}"
  Call ${un}FolderRefusal
  Pop $0
  ${If} $0 != ""
    Push "${message}"
    Call ${un}Stop
  ${EndIf}
!macroend

!macro REFUSE_UNLESS_KEY un message key rights create
  Push "${key}"
  Push ${rights}
  Push ${create}
  Call ${un}KeyRefusal
  Pop $0
  ${If} $0 != ""
    Push "${message}"
    Call ${un}Stop
  ${EndIf}
!macroend
