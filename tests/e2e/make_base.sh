#!/usr/bin/env bash
# The prepared Wine prefix that every scenario copies: made once per test run, in about ten
# seconds, and left with no Wine process running so that its registry files are complete.
set -euo pipefail
: "${QS_BUILD:?QS_BUILD must name the win32 build folder}"
export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
export WINEPREFIX="$QS_BUILD/e2e/base"
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot -i </dev/null >"$QS_BUILD/e2e/base-wineboot.log" 2>&1
# Wine draws the frames itself: without a window manager it would wait about two seconds for
# every window that is hidden or destroyed.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null \
  >>"$QS_BUILD/e2e/base-wineboot.log" 2>&1
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || {
  echo "wineboot made no prefix, see $QS_BUILD/e2e/base-wineboot.log" >&2
  exit 1
}
echo "base prefix ready"
