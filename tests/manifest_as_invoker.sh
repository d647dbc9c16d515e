#!/usr/bin/env bash
# Without an execution level, Windows would run the program under registry virtualization and
# quietly redirect its writes to the machine's keys: the manifest inside each build must declare
# one. Usage: manifest_as_invoker.sh <program.exe>...
set -euo pipefail
status=0
for program in "$@"; do
  manifest="$(LC_ALL=C grep -ao '<trustInfo.*</trustInfo>' <(tr -d '\r\n' <"$program") || true)"
  if [[ "$manifest" != *'<requestedExecutionLevel level="asInvoker"'* ]]; then
    echo "$program declares no execution level asInvoker in its manifest"
    status=1
  else
    echo "$program: $manifest"
  fi
done
exit "$status"
