#!/usr/bin/env bash
# The uninstaller while the programs or their files are in use, run as a script that needs its exit
# code runs it. A tray program that does not end when asked (here held still, as a scan that takes
# long holds it) and a QuellScan that still runs (here writing into a pipe that nobody reads yet)
# are ended after their time, and everything goes: exit code 0. A log that another program holds
# open is deleted at the next restart: exit code 3010, the uninstall entry goes, and the restart
# removes the log and the folder. Where the file can be neither deleted nor marked for the restart,
# the uninstaller exits with 2 and keeps its entry and itself, so that it can be run again.
QS_BITS=64
source "$(dirname "$0")/package_lib.sh"
e2e_begin uninstall_in_use

# Without a blank, for _?=, which the uninstaller takes only unquoted.
APP='C:\Apps\Quellspur'
APP_DIR="$C_DRIVE/Apps/Quellspur"
SESSION_MANAGER='System\CurrentControlSet\Control\Session Manager'

expect_all_gone() {
  expect_no_file "$APP_DIR"
  expect_no_key "$UNINSTALL_KEY"
  expect_no_reg "$RUN" Quellspur
  expect_no_key "$SETTINGS"
}

setup /RUNONSTARTUP=1 "/D=$APP"
settings 1 0 0
start_at_logon
must confirm-splash
pid="$(unix_pid "^$(sed 's/\\/\\\\/g' <<<"$APP")\\\\Quellspur.exe")" || abort "no Quellspur process"
kill -STOP "$pid"
# A pipe already full, as one is whose reader has not read yet: QuellScan's first write waits.
mkfifo "$E2E_DIR/output"
exec 3<>"$E2E_DIR/output"
python3 -c 'import fcntl, os
fcntl.fcntl(3, fcntl.F_SETFL, fcntl.fcntl(3, fcntl.F_GETFL) | os.O_NONBLOCK)
try:
    while True:
        os.write(3, b"x" * 4096)
except BlockingIOError:
    pass'
(
  code=0
  wine "$APP\\QuellScan.exe" scan </dev/null >"$E2E_DIR/output" 2>/dev/null || code=$?
  echo "$code" >"$E2E_DIR/quellscan.exit"
) &
for _ in $(seq 100); do
  drv_out processes
  grep -q '^QuellScan.exe' "$E2E_DIR/out" && break
  sleep 0.1
done
started=$SECONDS
uninstall_waiting /REMOVEDATA=1
exec 3>&-
[ "$UNINSTALL_EXIT" = 0 ] || fail "the uninstaller ended with exit code $UNINSTALL_EXIT, expected 0"
# The tray program's close request and wait, then QuellScan's few seconds.
[ $((SECONDS - started)) -le 40 ] || fail "the uninstaller took $((SECONDS - started)) seconds"
expect_exit_code quellspur 2
[ "$(cat "$E2E_DIR/quellscan.exit" 2>/dev/null)" = 2 ] ||
  fail "QuellScan ended with \"$(cat "$E2E_DIR/quellscan.exit" 2>/dev/null)\", expected 2"
expect_all_gone

# The log held open by another program.
setup "/D=$APP"
printf '2026-12-07 02:00:00 a line of the log\r\n' >"$APP_DIR/BackLog.txt"
hold_file "$APP\\BackLog.txt"
uninstall_waiting /REMOVEDATA=1
[ "$UNINSTALL_EXIT" = 3010 ] || fail "the uninstaller ended with $UNINSTALL_EXIT, expected 3010"
compare_text "what the uninstaller said" "$(tr -d '\r' <"$E2E_DIR/uninstall.err")" <<EOF2
Quellspur is removed; Windows deletes $APP\\BackLog.txt, still in use, when it restarts.
EOF2
expect_no_key "$UNINSTALL_KEY"
for file in Quellspur.exe QuellScan.exe README.txt Uninstall.exe; do
  expect_no_file "$APP_DIR/$file"
done
expect_file "$APP_DIR/BackLog.txt"
release_file
# Windows' restart as Wine makes it: the deletions waiting for it are done.
wineserver -k </dev/null >/dev/null 2>&1
(wineserver -p && wineboot -r) </dev/null >>"$E2E_DIR/wineboot.log" 2>&1
expect_all_gone

# The same, where the account may not mark files for the restart either.
setup "/D=$APP"
printf '2026-12-07 02:00:00 a line of the log\r\n' >"$APP_DIR/BackLog.txt"
hold_file "$APP\\BackLog.txt"
key_access "$SESSION_MANAGER" read
uninstall_waiting /REMOVEDATA=1
key_access "$SESSION_MANAGER" open
release_file
[ "$UNINSTALL_EXIT" = 2 ] || fail "the uninstaller ended with $UNINSTALL_EXIT, expected 2"
compare_text "what the uninstaller said" "$(tr -d '\r' <"$E2E_DIR/uninstall.err")" <<EOF2
Quellspur was not wholly removed: $APP\\BackLog.txt could be neither deleted nor marked for deletion. Its uninstall entry stays; run the uninstaller again as an administrator.
EOF2
expect_reg "$UNINSTALL_KEY" QuietUninstallString "\"$APP\\Uninstall.exe\" /S"
expect_file "$APP_DIR/Uninstall.exe"
uninstall_waiting /REMOVEDATA=1
[ "$UNINSTALL_EXIT" = 0 ] || fail "the second uninstall ended with $UNINSTALL_EXIT, expected 0"
expect_all_gone

e2e_end
