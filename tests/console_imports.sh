#!/usr/bin/env bash
# Every DLL in QuellScan's import table is loaded, with what it imports, before its first line
# runs: a console scan must start as quickly as a bare console program, so it imports only what
# every run needs. shell32, comctl32, gdi32, comdlg32 and ole32 (windows, dialogs, the shell) and
# psapi (only before Windows Vista, loaded then) stay out. Builds that are missing are skipped,
# but at least one must be there.
# Usage: console_imports.sh <objdump that reads both builds> <QuellScan.exe>...
set -euo pipefail
objdump="$1"
shift
allowed='advapi32.dll kernel32.dll msvcrt.dll user32.dll'
status=0
checked=0
for program in "$@"; do
  [ -f "$program" ] || continue
  checked=$((checked + 1))
  if ! headers="$("$objdump" -p "$program")"; then
    echo "$objdump cannot read $program"
    status=1
    continue
  fi
  imports="$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')"
  if [ -z "$imports" ]; then
    echo "no imports found in $program"
    status=1
  fi
  for dll in $imports; do
    if [[ " $allowed " != *" $dll "* ]]; then
      echo "$program imports $dll, which a console scan does not need at start"
      status=1
    fi
  done
  echo "$program imports: $(echo $imports)"
done
if [ "$checked" = 0 ]; then
  echo "none of the programs exists: $*"
  status=1
fi
exit "$status"
