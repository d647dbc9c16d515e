#!/usr/bin/env bash
# Windows NT: a "NetBus Pro" stand-in that two registry values start at log-on. The user turns on
# "Move BackDoors Files" in the options dialog, scans, removes both start values and ends the
# process; its executable and keyhook.dll end up in quarantine.
source "$(dirname "$0")/lib.sh"
e2e_begin netbus_pro_nt

SYS="$C_DRIVE/windows/system"
EXE='C:\windows\system\Patch.exe'

settings 0 0 0
reg_values "$RUN_SERVICES" <<'EOF'
"Patch"="C:\\WINDOWS\\SYSTEM\\PATCH.EXE /noauto"
EOF
reg_values "$USER_RUN" <<'EOF'
"NetBus"="c:\\windows\\system\\patch.exe"
"Notes"="C:\\windows\\notepad.exe"
EOF
standin_window netbus "$SYS/Patch.exe" "$EXE" TApplication 'NetBus Server'
printf 'keyboard hook of the stand-in\r\n' >"$SYS/keyhook.dll"
cp "$SYS/Patch.exe" "$E2E_DIR/Patch.exe.original"
cp "$SYS/keyhook.dll" "$E2E_DIR/keyhook.dll.original"

start_quellspur "$APP\\Quellspur.exe"
must confirm-splash
must wait-for "$MAIN" visible
# Automatic scanning is off: nothing has been scanned yet.
expect_lines </dev/null
expect_button '&Clean up' disabled

must menu '&File' '&Options'
must wait-for Options visible
must check 'Move BackDoors Files' 1
must click '&Ok' Options
must wait-for Options gone
expect_reg "$SETTINGS" MoveFiles ' 1'
expect_reg "$SETTINGS" AutoCheck ' 0'
expect_reg "$SETTINGS" AutoClean ' 0'

must click '&Scan Now'
FOUND='NetBus Pro Found as: C:\windows\system\Patch.exe'
expect_lines <<EOF
$FOUND Start entry in: HKEY_LOCAL_MACHINE RunServices/Patch
$FOUND Start entry in: HKEY_CURRENT_USER Run/NetBus
$FOUND Activ now, started by: -unknown-
EOF
screenshot found

# The start values first, while the process still runs: its executable cannot be moved yet.
must select 0
expect_button '&Remove start' enabled
must click '&Remove start'
expect_button '&Remove start' disabled
expect_no_reg "$RUN_SERVICES" Patch
expect_file "$SYS/Patch.exe"
expect_running netbus

must select 1
must click '&Remove start'
expect_no_reg "$USER_RUN" NetBus
expect_reg "$USER_RUN" Notes 'C:\windows\notepad.exe'
expect_no_reg "$RUN" Patch

must select 2
expect_button '&Kill Process' enabled
must click '&Kill Process'
expect_exit_code netbus 200
expect_button '&Kill Process' disabled
expect_lines <<EOF
$ERASED$FOUND Start entry in: HKEY_LOCAL_MACHINE RunServices/Patch
$ERASED$FOUND Start entry in: HKEY_CURRENT_USER Run/NetBus
$TERMINATED$FOUND Activ now, started by: -unknown-
EOF
# A line already dealt with offers nothing more.
must select 2
expect_button '&Kill Process' disabled

expect_no_file "$SYS/Patch.exe"
expect_no_file "$SYS/keyhook.dll"
expect_quarantine <<'EOF'
Changes.txt
Patch.exe.Backdoor
keyhook.dll.Backdoor
EOF
expect_same_file "$APP_DIR/BackDoors/Patch.exe.Backdoor" "$E2E_DIR/Patch.exe.original"
expect_same_file "$APP_DIR/BackDoors/keyhook.dll.Backdoor" "$E2E_DIR/keyhook.dll.original"
# The change record names each change, written before it was made: the executable's line comes
# with the first start value's removal, which copied it while it still ran; once it had ended, the
# move into that same copy needed no second line.
T=$'\t'
# The record doubles every backslash of a key.
RECORD_RUN_KEY="${RUN_KEY//\\/\\\\}"
SYS_DIR='C:\\windows\\system\\'
PATCH_DATA="$(utf16_hex 'C:\WINDOWS\SYSTEM\PATCH.EXE /noauto')"
NETBUS_DATA="$(utf16_hex 'c:\windows\system\patch.exe')"
expect_record <<EOF
registry${T}NetBus Pro${T}HKEY_LOCAL_MACHINE${T}$QS_BITS${T}${RECORD_RUN_KEY}Services${T}Patch${T}1${T}$PATCH_DATA
file${T}NetBus Pro${T}${SYS_DIR}Patch.exe${T}Patch.exe.Backdoor${T}$(size_and_sha256 "$E2E_DIR/Patch.exe.original")
registry${T}NetBus Pro${T}HKEY_CURRENT_USER${T}-${T}$RECORD_RUN_KEY${T}NetBus${T}1${T}$NETBUS_DATA
file${T}NetBus Pro${T}${SYS_DIR}keyhook.dll${T}keyhook.dll.Backdoor${T}$(size_and_sha256 "$E2E_DIR/keyhook.dll.original")
EOF

expect_log <<EOF
$FOUND Start entry in: HKEY_LOCAL_MACHINE RunServices/Patch
$FOUND Start entry in: HKEY_CURRENT_USER Run/NetBus
$FOUND Activ now, started by: -unknown-
Removing start in registry: ${RUN_SERVICES},Patch
Removing start in registry: ${USER_RUN},NetBus
Moving: C:\\windows\\system\\Patch.exe to: C:\\Quellspur\\BackDoors\\Patch.exe.Backdoor
Moving: C:\\windows\\system\\keyhook.dll to: C:\\Quellspur\\BackDoors\\keyhook.dll.Backdoor
EOF

# A new scan finds nothing any more.
must click '&Scan Now'
expect_clean_list "the clean result"

# "Exit" from the tray menu ends the program and takes the icon's window with it.
must tray rdown
must tray-menu "$TRAY_EXIT"
expect_exit_code quellspur 0
expect_drv wait-for "$TRAY" gone 5

e2e_end
