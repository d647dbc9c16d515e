#!/usr/bin/env bash
# Windows NT: another program locks all of BackLog.txt, the lock its writers take included. While
# it does, a scan in the main window finds two stand-ins and logs three lines: the window answers
# all along (no wait over 100 ms for an answer), and the lines arrive, in order and once each, when
# the lock goes. QuellScan, run while the log is locked, ends after about a second in all and says
# how many lines it could not write. Lines kept when the window ends get a last wait.
source "$(dirname "$0")/lib.sh"
e2e_begin log_locked

SYS="$C_DRIVE/windows/system"
LOG="$APP\\BackLog.txt"

# Locks the log until release_log; another copy of the driver holds the lock. The last lock's
# "held" goes first: the new holder empties the file only once it starts, which may be later.
lock_log() {
  rm -f "$TOOLS_DIR/release" "$E2E_DIR/lock.out"
  (wine "$TOOLS_DIR/gui_driver.exe" hold-lock "$LOG" "$TOOLS\\release" </dev/null \
    >"$E2E_DIR/lock.out" 2>>"$E2E_DIR/driver.log" &)
  for _ in $(seq 100); do
    grep -q held "$E2E_DIR/lock.out" 2>/dev/null && return
    sleep 0.1
  done
  abort "the log could not be locked"
}

release_log() {
  touch "$TOOLS_DIR/release"
}

# Waits up to five seconds for the log to hold that many lines.
wait_for_log_lines() {
  for _ in $(seq 50); do
    [ "$(wc -l <"$APP_DIR/BackLog.txt" 2>/dev/null || echo 0)" -ge "$1" ] && return
    sleep 0.1
  done
}

settings 0 0 0
reg_values "$USER_RUN" <<'EOF'
"NetBus"="C:\\WINDOWS\\SYSTEM\\PATCH.EXE /nomsg"
EOF
standin_window netbus "$SYS/Patch.exe" 'C:\windows\system\Patch.exe' TApplication 'NetBus Server'
standin_window deepthroat "$SYS/Systray.exe" 'C:\windows\system\Systray.exe' TApplication System32
start_quellspur "$APP\\Quellspur.exe"
must confirm-splash
must wait-for "$MAIN" visible

NETBUS='NetBus Pro Found as: C:\windows\system\Patch.exe'
DEEP='Deep Throat Found as: C:\windows\system\Systray.exe Activ now, started by: -unknown-'
FOUND="$NETBUS Start entry in: HKEY_CURRENT_USER Run/NetBus
$NETBUS Activ now, started by: -unknown-
$DEEP"

lock_log
echo "-> click-answering '&Scan Now' 100"
drv click-answering '&Scan Now' 100 ||
  fail "the window stopped answering during the scan ($(tail -n 1 "$E2E_DIR/driver.log"))"
grep 'longest wait' "$E2E_DIR/driver.log" | tail -n 1
expect_lines <<<"$FOUND"
expect_log </dev/null
release_log
wait_for_log_lines 3
expect_log <<<"$FOUND"

# A QuellScan scan, its milliseconds left in $SCAN_MS.
timed_scan() {
  local start
  start="$(date +%s%N)"
  quellscan scan
  SCAN_MS=$((($(date +%s%N) - start) / 1000000))
}

timed_scan
unlocked_ms="$SCAN_MS"
expect_quellscan_exit 1 "scan"
lock_log
timed_scan
locked_ms="$SCAN_MS"
echo "QuellScan took $unlocked_ms ms, and $locked_ms ms with the log locked"
expect_quellscan_exit 1 "scan with the log locked"
compare_text "QuellScan's error stream" "$(tr -d '\r' <"$E2E_DIR/quellscan.err")" \
  <<<'QuellScan: 3 lines could not be written to C:\Quellspur\BackLog.txt'
# A second more for the lock; three more would be a second a line.
[ "$((locked_ms - unlocked_ms))" -lt 1900 ] ||
  fail "QuellScan took $locked_ms ms with the log locked, $unlocked_ms ms without"
expect_log <<<"$FOUND
$FOUND"

# Lines kept when the window ends: the lock goes while the program makes its last try.
must click '&Scan Now'
must end-task "$MAIN"
release_log
expect_exit_code quellspur 0
expect_log <<<"$FOUND
$FOUND
$FOUND"
e2e_end
