#!/usr/bin/env bash
# The uninstaller while the programs or their files are in use, run as a script that needs its exit
# code runs it. A tray program that does not end when asked (here held still, as a scan that takes
# long holds it) and a QuellScan that still runs (here writing into a pipe that nobody reads yet)
# are ended after their time, and everything goes: exit code 0. A log that another program holds
# open is deleted at the next restart: exit code 3010, the uninstall entry goes, and the restart
# removes the log and the folder. Where this account may not change the folder or a key, the
# uninstaller exits with 2 before it changes anything and keeps its entry, to be run again.
QS_BITS=64
source "$(dirname "$0")/package_lib.sh"
e2e_begin uninstall_in_use

# Without a blank, for _?=, which the uninstaller takes only unquoted.
APP='C:\Apps\Quellspur'
APP_DIR="$C_DRIVE/Apps/Quellspur"

expect_all_gone() {
  expect_no_file "$APP_DIR"
  expect_no_key "$UNINSTALL_KEY"
  expect_no_reg "$RUN" Quellspur
  expect_no_key "$SETTINGS"
}

setup /RUNONSTARTUP=1 "/D=$APP"
start_value_by_hand
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
expect_uninstall_exit 0
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
expect_uninstall_exit 3010
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

# A folder or a key this account may not change (the folder by its Linux rights, which Wine as root
# ignores; the key by its access list): the uninstaller refuses before it changes anything, and
# keeps its entry to be run again.
expect_refused() {
  expect_uninstall_exit 2
  compare_text "what the uninstaller said" "$(tr -d '\r' <"$E2E_DIR/uninstall.err")" <<EOF2
Quellspur was not removed: this account may not $1. Nothing was changed. Run the uninstaller as an administrator.
EOF2
  for file in Quellspur.exe QuellScan.exe README.txt Uninstall.exe; do
    expect_file "$APP_DIR/$file"
  done
  expect_reg "$UNINSTALL_KEY" QuietUninstallString "\"$APP\\Uninstall.exe\" /S"
  expect_reg "$RUN" Quellspur "\"$APP\\Quellspur.exe\" /boot"
}

setup /RUNONSTARTUP=1 "/D=$APP"
start_value_by_hand
chmod a-w "$APP_DIR"
uninstall_waiting
chmod u+w "$APP_DIR"
expect_refused "write the folder $APP (error 5)"
key_access "$RUN_KEY" read
uninstall_waiting
key_access "$RUN_KEY" open
expect_refused "change the registry key HKEY_LOCAL_MACHINE\\$RUN_KEY (error 5)"
uninstall_waiting
expect_uninstall_exit 0
expect_all_gone

e2e_end
