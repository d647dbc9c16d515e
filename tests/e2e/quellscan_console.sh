#!/usr/bin/env bash
# Windows NT: the console program QuellScan beside a running Quellspur. A bare machine is clean
# (exit 0); wrong arguments are refused (exit 2) before any scan; with "NetBus Pro" and "Deep
# Throat" stand-ins running, one started by a value whose name holds a comma, quotes and letters
# outside the ANSI code page, each output format lists the same findings, read back by Python's
# CSV and JSON parsers (exit 1), and the log gets them, while nothing changes. "scan --clean
# --move-files" then ends both, removes the values and quarantines the files (exit 0), and a
# last scan finds the machine clean.
source "$(dirname "$0")/lib.sh"
e2e_begin quellscan_console

SYS="$C_DRIVE/windows/system"
ODD='Nétbus, "Ĉ"'
read_report() { python3 "$(dirname "$0")/read_report.py" "$@"; }

settings 0 0 0
quellscan scan
expect_quellscan_exit 0 scan
compare_text "the clean scan's last line" "$(tr -d '\r' <"$E2E_DIR/quellscan.out" | tail -n 1)" \
  <<<'Your computer is clean from known running backdoors!'

for args in '' 'scna' 'scan --bogus' 'scan --format xml' 'scan --repeat 0' 'scan --move-files'; do
  # shellcheck disable=SC2086 # each case is a list of arguments
  quellscan $args
  expect_quellscan_exit 2 "$args"
  [ ! -s "$E2E_DIR/quellscan.out" ] || fail "QuellScan $args wrote to its output"
  [ "$(wc -l <"$E2E_DIR/quellscan.err")" = 1 ] || fail "QuellScan $args gave no one-line reason"
done
expect_log </dev/null

wine reg add "$RUN" /v "$ODD" /d 'c:\windows\system\patch.exe' "/reg:$QS_BITS" /f </dev/null \
  >>"$E2E_DIR/driver.log" 2>&1 || abort "the value $ODD cannot be written"
reg_values "$USER_RUN" <<'EOF'
"NetBus"="C:\\WINDOWS\\SYSTEM\\PATCH.EXE /nomsg"
EOF
standin_window netbus "$SYS/Patch.exe" 'C:\windows\system\Patch.exe' TApplication 'NetBus Server'
standin_window deepthroat "$SYS/Systray.exe" 'C:\windows\system\Systray.exe' TApplication System32
start_quellspur "$APP\\Quellspur.exe"
must confirm-splash

NETBUS='NetBus Pro Found as: C:\windows\system\Patch.exe'
DEEP='Deep Throat Found as: C:\windows\system\Systray.exe Activ now, started by: -unknown-'
quellscan scan
expect_quellscan_exit 1 scan
compare_text "the text output" "$(tr -d '\r' <"$E2E_DIR/quellscan.out")" <<EOF
$NETBUS Start entry in: HKEY_LOCAL_MACHINE Run/$ODD
$NETBUS Start entry in: HKEY_CURRENT_USER Run/NetBus
$NETBUS Activ now, started by: -unknown-
$DEEP
EOF

NB='NetBus Pro | start entry | C:\windows\system\Patch.exe | - | -'
for format in csv json; do
  quellscan scan --format "$format"
  expect_quellscan_exit 1 "scan --format $format"
  rows="$(read_report "$format" "$E2E_DIR/quellscan.out" 2>&1)" || fail "$format: $rows"
  compare_text "the $format rows" "$(sed -E 's/ \| [0-9]+ \| / | ID | /' <<<"$rows")" <<EOF
$NB | HKEY_LOCAL_MACHINE | $RUN_KEY | $ODD | $QS_BITS-bit | remove start entry | -
$NB | HKEY_CURRENT_USER | $RUN_KEY | NetBus | - | remove start entry | -
NetBus Pro | process | C:\windows\system\Patch.exe | ID | -unknown- | - | - | - | - | terminate | -
Deep Throat | process | C:\windows\system\Systray.exe | ID | -unknown- | - | - | - | - | terminate | -
EOF
done
expect_running netbus
expect_running deepthroat
expect_reg "$USER_RUN" NetBus 'C:\WINDOWS\SYSTEM\PATCH.EXE /nomsg'
expect_reg "$SETTINGS" MoveFiles ' 0'

cp "$SYS/Patch.exe" "$E2E_DIR/Patch.exe.original"
quellscan scan --clean --move-files --format json
expect_quellscan_exit 0 "scan --clean --move-files"
rows="$(read_report json "$E2E_DIR/quellscan.out" 2>&1)" || fail "json: $rows"
compare_text "the clean-up's outcomes" "$(sed -E 's/.* \| ([a-z ]+) \| ([a-z ]+)$/\1: \2/' <<<"$rows")" <<'EOF'
remove start entry: done
remove start entry: done
terminate: done
terminate: done
EOF
expect_exit_code netbus 200
expect_exit_code deepthroat 200
expect_no_reg "$RUN" "$ODD"
expect_no_reg "$USER_RUN" NetBus
expect_quarantine <<'EOF'
Changes.txt
Patch.exe.Backdoor
Systray.exe.Backdoor
EOF
expect_same_file "$APP_DIR/BackDoors/Patch.exe.Backdoor" "$E2E_DIR/Patch.exe.original"
expect_reg "$SETTINGS" MoveFiles ' 0'

quellscan scan --format csv
expect_quellscan_exit 0 "the last scan"
[ "$(wc -l <"$E2E_DIR/quellscan.out")" = 1 ] || fail "the last scan's CSV holds more than its header"
# Quellspur still runs beside it.
expect_visible "$MAIN" visible
must tray rdown
must tray-menu "$TRAY_EXIT"
expect_exit_code quellspur 0
e2e_end
