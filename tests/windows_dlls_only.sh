#!/usr/bin/env bash
# The program is copied onto a bare Windows and started: every DLL it imports must be one that
# Windows itself brings. Usage: windows_dlls_only.sh <objdump> <program.exe>
set -euo pipefail
objdump="$1"
program="$2"
own='advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll psapi.dll shell32.dll user32.dll'
imports="$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')"
[ -n "$imports" ] || {
  echo "no imports found in $program"
  exit 1
}
status=0
for dll in $imports; do
  if [[ " $own " != *" $dll "* ]]; then
    echo "$program imports $dll, beyond the Windows DLLs it may rely on"
    status=1
  fi
done
echo "imports: $(echo $imports)"
exit "$status"
