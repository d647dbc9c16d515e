#!/usr/bin/env bash
# The programs are copied onto a bare Windows and started: every DLL they import must be one that
# Windows itself brings. Usage: windows_dlls_only.sh <objdump> <program.exe>...
set -euo pipefail
objdump="$1"
shift
own='advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll psapi.dll shell32.dll user32.dll'
status=0
for program in "$@"; do
  imports="$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')"
  if [ -z "$imports" ]; then
    echo "no imports found in $program"
    status=1
  fi
  for dll in $imports; do
    if [[ " $own " != *" $dll "* ]]; then
      echo "$program imports $dll, beyond the Windows DLLs it may rely on"
      status=1
    fi
  done
  echo "$program imports: $(echo $imports)"
done
exit "$status"
