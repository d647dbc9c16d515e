#!/usr/bin/env bash
# The Quarantine window: Auto Clean with "Move BackDoors Files" cleans two stand-ins (SubSeven's
# file and start value, Deep Throat's file). The window, opened from the File menu by the keyboard
# and from the tray menu, lists the three changes newest first. Asked to restore all three, it
# names the record's risk under Wine, puts back SubSeven's file and value, refuses Deep Throat's
# file whose place another file took, with that reason, and shows the states, as QuellScan's list
# does afterwards.
source "$(dirname "$0")/lib.sh"
e2e_begin quarantine_window

SYS="$C_DRIVE/windows/system"
WIN='Quarantine'

settings 0 1 1
reg_values "$RUN" <<'EOF2'
"Sub7"="C:\\WINDOWS\\SYSTEM\\SERVER.EXE"
EOF2
standin_window subseven "$SYS/Server.exe" 'C:\windows\system\Server.exe' TForm2 chat
standin_window deepthroat "$SYS/Systray.exe" 'C:\windows\system\Systray.exe' TApplication System32
cp "$SYS/Server.exe" "$E2E_DIR/Server.exe.original"

start_quellspur "$APP\\Quellspur.exe"
must confirm-splash
must click '&Scan Now'
expect_exit_code deepthroat 200
expect_exit_code subseven 200
expect_no_file "$SYS/Server.exe"
expect_no_reg "$RUN" Sub7

# The rows without their time, which must be the record's, newest first.
expect_rows() {
  drv_out rows "$WIN" || {
    fail "the window's rows cannot be read"
    return
  }
  grep -qvE '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:]{8} [+-][0-9]{2}:[0-9]{2} \| ' "$E2E_DIR/out" &&
    fail "a row has no recorded time: $(cat "$E2E_DIR/out")"
  [ "$(cut -c 1-26 "$E2E_DIR/out")" = "$(cut -c 1-26 "$E2E_DIR/out" | sort -r)" ] ||
    fail "the rows are not newest first"
  compare_text "$1" "$(cut -c 30- "$E2E_DIR/out")"
}

must menu '&File' '&Quarantine...'
must wait-for "$WIN" visible
screenshot quarantine-window "$WIN"
expect_rows "the rows after the clean-up" <<EOF2
SubSeven | file moved into quarantine | C:\\windows\\system\\Server.exe | quarantined
SubSeven | start value removed | $RUN, Sub7 ($QS_BITS-bit view) | removed
Deep Throat | file moved into quarantine | C:\\windows\\system\\Systray.exe | quarantined
EOF2

# Another program now stands where Deep Throat's file stood.
printf 'a program of the user\r\n' >"$SYS/Systray.exe"
must select-rows "$WIN" 0 1 2
must post-click '&Restore' "$WIN"
drv_out answer "$WIN" Yes || fail "no question before the restore"
grep -q '^Restore 3 changes that the clean-up made, newest first?' "$E2E_DIR/out" ||
  fail "the question is $(cat "$E2E_DIR/out")"
grep -q 'Warning: the quarantine folder .* can be changed by others than the administrators' \
  "$E2E_DIR/out" || fail "the question does not name the record's risk: $(cat "$E2E_DIR/out")"
drv_out answer "$WIN" OK || fail "no result after the restore"
compare_text "the restore's results" "$(cat "$E2E_DIR/out")" <<EOF2
Restored 2 of 3 changes:

SubSeven: restored C:\\windows\\system\\Server.exe
SubSeven: restored $RUN,Sub7
Deep Throat: not restored: C:\\windows\\system\\Systray.exe exists already
EOF2
expect_same_file "$SYS/Server.exe" "$E2E_DIR/Server.exe.original"
expect_reg "$RUN" Sub7 'C:\WINDOWS\SYSTEM\SERVER.EXE'
[ "$(cat "$SYS/Systray.exe")" = $'a program of the user\r' ] || fail "Systray.exe was overwritten"
expect_rows "the rows after the restore" <<EOF2
SubSeven | file moved into quarantine | C:\\windows\\system\\Server.exe | restored
SubSeven | start value removed | $RUN, Sub7 ($QS_BITS-bit view) | restored
Deep Throat | file moved into quarantine | C:\\windows\\system\\Systray.exe | quarantined
EOF2

# Closed, it opens again from the tray menu, with the same rows.
drv click '&Close' "$WIN"
must wait-for "$WIN" gone
must tray rdown
must tray-menu "$TRAY_QUARANTINE"
must wait-for "$WIN" visible
expect_rows "the rows opened from the tray" <<EOF2
SubSeven | file moved into quarantine | C:\\windows\\system\\Server.exe | restored
SubSeven | start value removed | $RUN, Sub7 ($QS_BITS-bit view) | restored
Deep Throat | file moved into quarantine | C:\\windows\\system\\Systray.exe | quarantined
EOF2

quellscan quarantine --format csv
expect_quellscan_exit 0 quarantine
compare_text "the states QuellScan lists" \
  "$(python3 -c 'import csv,sys; print("\n".join(r["state"] for r in csv.DictReader(open(sys.argv[1], encoding="utf-8", newline=""))))' "$E2E_DIR/quellscan.out")" <<'EOF2'
quarantined
restored
restored
EOF2
must tray rdown
must tray-menu "$TRAY_EXIT"
expect_exit_code quellspur 0
e2e_end
