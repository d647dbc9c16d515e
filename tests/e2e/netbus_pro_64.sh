#!/usr/bin/env bash
# 64-bit Windows NT, "Move BackDoors Files" on: a 64-bit "NetBus Pro" stand-in, started by a value
# in the 64-bit view of the machine's Run key, with its keyhook.dll beside it. Nearby stand things
# that only an unreadable path would mistake for it: a Run value naming a folder, in both views, and
# an innocent keyhook.dll in the program's current folder. The backdoor's own value and files are
# the ones removed and moved; the innocent ones are neither touched nor logged.
source "$(dirname "$0")/lib.sh"
e2e_begin netbus_pro_64

[ -f "$TOOLS_DIR/standin_window64.exe" ] || abort "no 64-bit stand-in in $QS_TOOLS64"
X64="$C_DRIVE/X64"
EXE='C:\X64\PATCH64.EXE'

settings 0 0 1
reg_values "$RUN" 64 <<'EOF'
"NetBus"="C:\\X64\\PATCH64.EXE"
"Folder"="C:\\windows\\"
EOF
reg_values "$RUN" 32 <<'EOF'
"Folder"="C:\\windows\\"
EOF
mkdir -p "$X64"
cp "$TOOLS_DIR/standin_window64.exe" "$X64/PATCH64.EXE"
launch netbus "$EXE" TApplication 'NetBus Server' hidden
drv wait-for 'NetBus Server' exists || abort "the 64-bit stand-in shows no window"
printf 'keyboard hook of the stand-in\r\n' >"$X64/keyhook.dll"
printf 'an innocent file\r\n' >"$APP_DIR/keyhook.dll"

launch quellspur --cwd "$APP" "$APP\\Quellspur.exe"
must wait-for "$MAIN" exists
must confirm-splash
must click '&Scan Now'
FOUND="NetBus Pro Found as: $EXE"
expect_lines <<EOF
$FOUND Start entry in: HKEY_LOCAL_MACHINE Run/NetBus
$FOUND Activ now, started by: -unknown-
EOF

must select 0
must click '&Remove start'
expect_no_reg "$RUN" NetBus 64
must select 1
must click '&Kill Process'
expect_exit_code netbus 200
expect_lines <<EOF
$ERASED$FOUND Start entry in: HKEY_LOCAL_MACHINE Run/NetBus
$TERMINATED$FOUND Activ now, started by: -unknown-
EOF

expect_reg "$RUN" Folder 'C:\windows\' 64
expect_reg "$RUN" Folder 'C:\windows\' 32
expect_no_file "$X64/PATCH64.EXE"
expect_no_file "$X64/keyhook.dll"
expect_same_file "$APP_DIR/keyhook.dll" <(printf 'an innocent file\r\n')
expect_quarantine <<'EOF'
Changes.txt
PATCH64.EXE.Backdoor
keyhook.dll.Backdoor
EOF
Q='C:\Quellspur\BackDoors'
expect_log <<EOF
$FOUND Start entry in: HKEY_LOCAL_MACHINE Run/NetBus
$FOUND Activ now, started by: -unknown-
Removing start in registry: ${RUN},NetBus
Moving: C:\\X64\\PATCH64.EXE to: $Q\\PATCH64.EXE.Backdoor
Moving: C:\\X64\\keyhook.dll to: $Q\\keyhook.dll.Backdoor
EOF

must click '&Exit'
expect_exit_code quellspur 0

e2e_end
