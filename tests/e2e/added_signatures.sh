#!/usr/bin/env bash
# Windows NT, "Auto Clean" and "Move BackDoors Files" on, with signatures an administrator added
# in Signatures.txt beside the programs: a window signature for a stand-in started by a Run value,
# a hash signature for a quiet stand-in running under an innocent-looking name, a hash-list line
# for a file that only a RunServices value starts, and one for QuellScan itself.
# A malformed file first: QuellScan's check and scan name the file, the lines and why (exit 2), and
# the scan still finds the built-in "Deep Throat"; Quellspur shows the same in a message box, logs
# it and cleans "Deep Throat" alone. Then the fixed file: QuellScan finds a built-in "NetBus Pro"
# first and the three added ones after it in file order, never itself; Quellspur's next scan reads
# the changed file and cleans all of them; "QuellScan restore --all --trust-record" brings back
# every file byte for byte and every value, and the restored start value is found again.
source "$(dirname "$0")/lib.sh"
e2e_begin added_signatures

SYS="$C_DRIVE/windows/system"
SIGNATURES="$APP_DIR/Signatures.txt"
T=$'\t'
read_report() { python3 "$(dirname "$0")/read_report.py" "$@"; }
sha256_of() { sha256sum <"$1" | cut -d ' ' -f 1; }

# A file in the form an administrator writes, from lines on standard input: CR LF line ends and a
# byte-order mark, as Notepad saves UTF-8.
write_signatures() {
  { printf '\xef\xbb\xbf' && sed 's/$/\r/'; } >"$SIGNATURES"
}

settings 0 1 1
reg_values "$RUN" <<'EOF'
"RdHost"="C:\\rdesk\\rdhost.exe /tray"
EOF
reg_values "$RUN_SERVICES" <<'EOF'
"Update Service"="\"C:\\upd\\updsvc.exe\" --silent"
EOF
standin_window rdesk "$C_DRIVE/rdesk/rdhost.exe" 'C:\rdesk\rdhost.exe' RdHostWindow \
  'Remote Desk Host'
cp "$TOOLS_DIR/standin_quiet.exe" "$SYS/spoolhlp.exe"
launch spool 'C:\windows\system\spoolhlp.exe'
mkdir -p "$C_DRIVE/upd"
printf 'MZ a remote tool that waits for its next start\r\n' >"$C_DRIVE/upd/updsvc.exe"
standin_window deepthroat "$SYS/Systray.exe" 'C:\windows\system\Systray.exe' TApplication System32
for _ in $(seq 50); do
  drv_out processes
  grep -qix 'spoolhlp.exe' <(tr -d '\r' <"$E2E_DIR/out") && break
  sleep 0.2
done
grep -qix 'spoolhlp.exe' <(tr -d '\r' <"$E2E_DIR/out") || abort "the stand-in spoolhlp.exe does not run"
FILES=("$C_DRIVE/rdesk/rdhost.exe" "$SYS/spoolhlp.exe" "$C_DRIVE/upd/updsvc.exe" "$SYS/Systray.exe")
for file in "${FILES[@]}"; do
  cp "$file" "$E2E_DIR/$(basename "$file").original"
done

SPOOL_HASH="$(sha256_of "$SYS/spoolhlp.exe" | tr a-f A-F)"
UPD_HASH="$(sha256_of "$C_DRIVE/upd/updsvc.exe")"
UPD_SIZE="$(stat -c %s "$C_DRIVE/upd/updsvc.exe")"
SELF_HASH="$(sha256_of "$APP_DIR/QuellScan.exe")"

# Line 3: a hash one digit short; line 5: a window of any class and any caption.
write_signatures <<EOF
Quellspur signatures 1
window${T}RemoteDesk Host${T}RdHostWindow${T}Remote Desk Host
sha256${T}Spool Helper${T}${SPOOL_HASH:1}

window${T}Anything${T}${T}
EOF
REASON3='C:\Quellspur\Signatures.txt, line 3: a SHA-256 is 64 hex digits'
REASON5='C:\Quellspur\Signatures.txt, line 5: a window signature needs a class or a caption'
quellscan signatures --check 'C:\Quellspur\Signatures.txt'
expect_quellscan_exit 2 "signatures --check of a malformed file"
compare_text "the check's reasons" "$(tr -d '\r' <"$E2E_DIR/quellscan.err")" <<EOF
QuellScan: $REASON3
QuellScan: $REASON5
EOF

DEEP='Deep Throat Found as: C:\windows\system\Systray.exe Activ now, started by: -unknown-'
quellscan scan
expect_quellscan_exit 2 "scan with a malformed file"
compare_text "the scan's reasons" "$(tr -d '\r' <"$E2E_DIR/quellscan.err")" <<EOF
QuellScan: $REASON3
QuellScan: $REASON5
QuellScan: the file is not used; scanning with the built-in signatures only
EOF
compare_text "the scan with the built-in signatures alone" \
  "$(tr -d '\r' <"$E2E_DIR/quellscan.out")" <<<"$DEEP"

start_quellspur "$APP\\Quellspur.exe"
# The splash's "&OK" reads the file: its click returns once the message box is answered.
drv confirm-splash &
splash=$!
must wait-for Quellspur visible
drv_out texts Quellspur
compare_text "the message box" "$(tr -d '\r' <"$E2E_DIR/out")" <<EOF
OK
Signatures.txt is not used, for these reasons:

$REASON3
$REASON5

Quellspur looks for the built-in backdoors only until the file is corrected.
EOF
screenshot refused Quellspur
must click OK Quellspur
wait "$splash" || abort "the splash's \"&OK\" was not handled"
must click '&Scan Now'
expect_lines <<EOF
$TERMINATED$DEEP
EOF
expect_exit_code deepthroat 200
expect_running rdesk
expect_running spool

write_signatures <<EOF
Quellspur signatures 1
# Remote-control tools that have no place on this network.
window${T}RemoteDesk Host${T}RdHostWindow${T}Remote Desk Host
sha256${T}Spool Helper${T}$SPOOL_HASH

$UPD_HASH:$UPD_SIZE:Update Dropper
$SELF_HASH:*:QuellScan itself
EOF
standin_window netbus "$SYS/Patch.exe" 'C:\windows\system\Patch.exe' TApplication 'NetBus Server'
cp "$SYS/Patch.exe" "$E2E_DIR/Patch.exe.original"
FILES+=("$SYS/Patch.exe")

quellscan signatures --check 'C:\Quellspur\Signatures.txt'
expect_quellscan_exit 0 "signatures --check of the fixed file"
quellscan scan --format csv
expect_quellscan_exit 1 "scan with the fixed file"
RD='RemoteDesk Host | start entry | C:\rdesk\rdhost.exe | - | -'
UPD='Update Dropper | start entry | C:\upd\updsvc.exe | - | -'
rows="$(read_report csv "$E2E_DIR/quellscan.out" 2>&1)" || fail "csv: $rows"
compare_text "the rows with the added signatures" "$(sed -E 's/ \| [0-9]+ \| / | ID | /' <<<"$rows")" <<EOF
NetBus Pro | process | C:\windows\system\Patch.exe | ID | -unknown- | - | - | - | - | terminate | -
$RD | HKEY_LOCAL_MACHINE | $RUN_KEY | RdHost | $QS_BITS-bit | remove start entry | -
RemoteDesk Host | process | C:\rdesk\rdhost.exe | ID | -unknown- | - | - | - | - | terminate | -
Spool Helper | process | C:\windows\system\spoolhlp.exe | ID | -unknown- | - | - | - | - | terminate | -
$UPD | HKEY_LOCAL_MACHINE | ${RUN_KEY}Services | Update Service | $QS_BITS-bit | remove start entry | -
EOF

quellscan signatures --format csv
expect_quellscan_exit 0 "signatures --format csv"
compare_text "the signatures in force" "$(python3 -c '
import collections, csv, sys
rows = list(csv.DictReader(open(sys.argv[1], encoding="utf-8", newline="")))
print(collections.Counter(r["source"] for r in rows)["built-in"], "built-in")
for r in rows:
    if r["source"] != "built-in":
        print(" | ".join(v or "-" for v in r.values()))' "$E2E_DIR/quellscan.out")" <<EOF
25 built-in
RemoteDesk Host | window | RdHostWindow | Remote Desk Host | - | - | C:\Quellspur\Signatures.txt, line 3
Spool Helper | sha256 | - | - | ${SPOOL_HASH,,} | * | C:\Quellspur\Signatures.txt, line 4
Update Dropper | sha256 | - | - | $UPD_HASH | $UPD_SIZE | C:\Quellspur\Signatures.txt, line 6
QuellScan itself | sha256 | - | - | $SELF_HASH | * | C:\Quellspur\Signatures.txt, line 7
EOF

# The next scan reads the changed file; "Auto Clean" takes every line from the top.
must click '&Scan Now'
NETBUS='NetBus Pro Found as: C:\windows\system\Patch.exe Activ now, started by: -unknown-'
RDESK='RemoteDesk Host Found as: C:\rdesk\rdhost.exe'
SPOOL='Spool Helper Found as: C:\windows\system\spoolhlp.exe Activ now, started by: -unknown-'
UPDATE='Update Dropper Found as: C:\upd\updsvc.exe Start entry in: HKEY_LOCAL_MACHINE RunServices/Update Service'
expect_lines <<EOF
$TERMINATED$NETBUS
$ERASED$RDESK Start entry in: HKEY_LOCAL_MACHINE Run/RdHost
$TERMINATED$RDESK Activ now, started by: -unknown-
$TERMINATED$SPOOL
$ERASED$UPDATE
EOF
expect_exit_code netbus 200
expect_exit_code rdesk 200
expect_exit_code spool 200
expect_no_reg "$RUN" RdHost
expect_no_reg "$RUN_SERVICES" 'Update Service'
expect_no_file "$C_DRIVE/rdesk/rdhost.exe"
expect_no_file "$SYS/spoolhlp.exe"
expect_no_file "$C_DRIVE/upd/updsvc.exe"
expect_quarantine <<'EOF'
Changes.txt
Patch.exe.Backdoor
Systray.exe.Backdoor
rdhost.exe.Backdoor
spoolhlp.exe.Backdoor
updsvc.exe.Backdoor
EOF
expect_same_file "$APP_DIR/BackDoors/spoolhlp.exe.Backdoor" "$E2E_DIR/spoolhlp.exe.original"
# Each scan logs its findings, QuellScan's too; only Quellspur logs why the file was not used.
FOUND="$(printf '%s\n' "$NETBUS" "$RDESK Start entry in: HKEY_LOCAL_MACHINE Run/RdHost" \
  "$RDESK Activ now, started by: -unknown-" "$SPOOL" "$UPDATE")"
expect_log <<EOF
$DEEP
Signatures not used: $REASON3
Signatures not used: $REASON5
$DEEP
Moving: C:\\windows\\system\\Systray.exe to: C:\\Quellspur\\BackDoors\\Systray.exe.Backdoor
$FOUND
$FOUND
Moving: C:\\windows\\system\\Patch.exe to: C:\\Quellspur\\BackDoors\\Patch.exe.Backdoor
Removing start in registry: ${RUN},RdHost
Moving: C:\\rdesk\\rdhost.exe to: C:\\Quellspur\\BackDoors\\rdhost.exe.Backdoor
Moving: C:\\windows\\system\\spoolhlp.exe to: C:\\Quellspur\\BackDoors\\spoolhlp.exe.Backdoor
Removing start in registry: ${RUN_SERVICES},Update Service
Moving: C:\\upd\\updsvc.exe to: C:\\Quellspur\\BackDoors\\updsvc.exe.Backdoor
EOF

quellscan restore --all --trust-record
expect_quellscan_exit 0 "restore --all --trust-record"
for file in "${FILES[@]}"; do
  expect_same_file "$file" "$E2E_DIR/$(basename "$file").original"
done
expect_reg "$RUN" RdHost 'C:\rdesk\rdhost.exe /tray'
expect_reg "$RUN_SERVICES" 'Update Service' '"C:\upd\updsvc.exe" --silent'
expect_quarantine <<'EOF'
Changes.txt
EOF
# Nothing runs any more: only the restored value that starts the dropper is a finding.
quellscan scan
expect_quellscan_exit 1 "scan after the restore"
compare_text "the scan after the restore" "$(tr -d '\r' <"$E2E_DIR/quellscan.out")" <<<"$UPDATE"

must tray rdown
must tray-menu "$TRAY_EXIT"
expect_exit_code quellspur 0
e2e_end
