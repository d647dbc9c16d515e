#!/usr/bin/env bash
# Every DLL in a program's import table is loaded, with what it imports, before its first line
# runs, and must be there: each must be one of the allowed. Programs of a build that is missing
# are skipped, but at least one must be there.
# Usage: imports_within.sh <objdump that reads the programs> "<allowed DLLs>" <why others are
#   refused> <program.exe>...
set -euo pipefail
objdump="$1"
allowed="$2"
refused="$3"
shift 3
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
      echo "$program imports $dll, $refused"
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
