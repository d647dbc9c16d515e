#!/usr/bin/env bash
# Windows NT, Auto Clean and "Move BackDoors Files" on: one scan cleans "NetBus Pro" (its
# executable, keyhook.dll, a start value of the machine and one of the user, the latter of type
# REG_EXPAND_SZ) and "Millenium" (its executable, regersys.ocx, two win.ini lines). "QuellScan
# restore --all" refuses the record, which under Wine the user can change; with --trust-record it
# brings back every file byte for byte, both values with their type and data, and win.ini byte for
# byte; the list of the quarantine shows every change restored.
source "$(dirname "$0")/lib.sh"
e2e_begin restore_all

SYS="$C_DRIVE/windows/system"

settings 0 1 1
reg_values "$RUN_SERVICES" <<'EOF'
"Patch"="C:\\WINDOWS\\SYSTEM\\PATCH.EXE /noauto"
EOF
wine reg add "$USER_RUN" /v NetBus /t REG_EXPAND_SZ /d 'c:\windows\system\patch.exe' /f \
  </dev/null >>"$E2E_DIR/driver.log" 2>&1 || abort "the value NetBus cannot be written"
standin_window netbus "$SYS/Patch.exe" 'C:\windows\system\Patch.exe' TApplication 'NetBus Server'
printf 'keyboard hook of the stand-in\r\n' >"$SYS/keyhook.dll"
# The win.ini rewrite looks for the path as the system reports it, in capitals.
standin_window millenium "$C_DRIVE/SYSUPD/MSRUNDLL.EXE" 'C:\SYSUPD\MSRUNDLL.EXE' ThunderRT5Form \
  'System Update'
printf 'control of the stand-in\r\n' >"$C_DRIVE/SYSUPD/regersys.ocx"
printf '%s\r\n' '[windows]' 'load=C:\SYSUPD\MSRUNDLL.EXE' 'NullPort=None' \
  'run=C:\SYSUPD\MSRUNDLL.EXE /s' '[mail]' 'mapi=1' >"$C_DRIVE/windows/win.ini"
FILES=("$SYS/Patch.exe" "$SYS/keyhook.dll" "$C_DRIVE/SYSUPD/MSRUNDLL.EXE"
  "$C_DRIVE/SYSUPD/regersys.ocx" "$C_DRIVE/windows/win.ini")
for file in "${FILES[@]}"; do
  cp "$file" "$E2E_DIR/$(basename "$file").original"
done

start_quellspur "$APP\\Quellspur.exe"
must confirm-splash
must click '&Scan Now'
expect_exit_code netbus 200
expect_exit_code millenium 200
expect_no_reg "$RUN_SERVICES" Patch
expect_no_reg "$USER_RUN" NetBus
expect_no_file "$SYS/Patch.exe"
expect_no_file "$C_DRIVE/SYSUPD/regersys.ocx"
grep -q MSRUNDLL "$C_DRIVE/windows/win.ini" && fail "win.ini still starts Millenium"

# Wine keeps no access list: the quarantine folder is the user's, so restore refuses the record,
# changing nothing, until told to trust it.
quellscan restore --all
expect_quellscan_exit 2 "restore --all of a record others can change"
grep -q 'restore refused: the quarantine folder .* can be changed by others than the administrators' \
  "$E2E_DIR/quellscan.err" || fail "restore gave no reason to refuse ($(head -c 300 "$E2E_DIR/quellscan.err"))"
expect_no_file "$SYS/Patch.exe"
quellscan restore --all --trust-record
expect_quellscan_exit 0 "restore --all --trust-record"
for file in "${FILES[@]}"; do
  expect_same_file "$file" "$E2E_DIR/$(basename "$file").original"
done
expect_reg "$RUN_SERVICES" Patch 'C:\WINDOWS\SYSTEM\PATCH.EXE /noauto'
expect_reg "$USER_RUN" NetBus 'c:\windows\system\patch.exe'
grep -q 'REG_EXPAND_SZ' "$E2E_DIR/reg.out" || fail "NetBus came back as another type"
expect_quarantine <<'EOF'
Changes.txt
EOF

quellscan quarantine --format csv
expect_quellscan_exit 0 quarantine
compare_text "the states of the changes" \
  "$(python3 -c 'import csv,sys; print("\n".join(r["state"] for r in csv.DictReader(open(sys.argv[1], encoding="utf-8", newline=""))))' "$E2E_DIR/quellscan.out" | sort | uniq -c | sed 's/^ *//')" <<'EOF'
7 restored
EOF
must tray rdown
must tray-menu "$TRAY_EXIT"
e2e_end
