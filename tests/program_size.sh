#!/usr/bin/env bash
# The shipped programs stay small: each, stripped as it ships, at most <limit> bytes. A program of
# the other build that is not there (that build was not made) is passed over, and said so.
# Usage: program_size.sh <limit> <strip tool> <program.exe> [<strip tool> <program.exe>]...
set -euo pipefail
limit="$1"
shift
stripped="$(mktemp)"
trap 'rm -f "$stripped"' EXIT
status=0
while (($# >= 2)); do
  strip_tool="$1"
  program="$2"
  shift 2
  if [[ ! -f "$program" ]]; then
    echo "$program: not built, not checked"
    continue
  fi
  "$strip_tool" -o "$stripped" "$program"
  size="$(stat -c %s "$stripped")"
  if ((size > limit)); then
    echo "$program is $size bytes stripped, more than the $limit allowed"
    status=1
  else
    echo "$program: $size bytes stripped (at most $limit)"
  fi
done
exit "$status"
