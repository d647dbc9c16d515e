#!/usr/bin/env bash
# "Auto Clean" on, "Auto Scan" off: one press of "&Scan Now" finds two backdoors and cleans every
# line by itself, from the top; afterwards the timer runs all the same and its next scan finds the
# machine clean.
source "$(dirname "$0")/lib.sh"
e2e_begin auto_clean

SYS="$C_DRIVE/windows/system"

settings 0 1 1
reg_values "$RUN" <<'EOF'
"Sub7"="C:\\WINDOWS\\SYSTEM\\SERVER.EXE"
EOF
standin_window subseven "$SYS/Server.exe" 'C:\windows\system\Server.exe' TForm2 chat
standin_window deepthroat "$SYS/Systray.exe" 'C:\windows\system\Systray.exe' TApplication System32

start_quellspur "$APP\\Quellspur.exe"
must confirm-splash
must click '&Scan Now'

DEEP='Deep Throat Found as: C:\windows\system\Systray.exe Activ now, started by: -unknown-'
SUB7='SubSeven Found as: C:\windows\system\Server.exe'
SUB7_START="$SUB7 Start entry in: HKEY_LOCAL_MACHINE Run/Sub7"
SUB7_ACTIVE="$SUB7 Activ now, started by: -unknown-"
expect_lines <<EOF
$TERMINATED$DEEP
$ERASED$SUB7_START
$TERMINATED$SUB7_ACTIVE
EOF
expect_exit_code deepthroat 200
expect_exit_code subseven 200
expect_no_reg "$RUN" Sub7
expect_quarantine <<'EOF'
Changes.txt
Server.exe.Backdoor
Systray.exe.Backdoor
EOF
# The log shows the order: Deep Throat's file, SubSeven's start value (its executable still ran
# then and stayed), SubSeven's file.
expect_log <<EOF
$DEEP
$SUB7_START
$SUB7_ACTIVE
Moving: C:\\windows\\system\\Systray.exe to: C:\\Quellspur\\BackDoors\\Systray.exe.Backdoor
Removing start in registry: ${RUN},Sub7
Moving: C:\\windows\\system\\Server.exe to: C:\\Quellspur\\BackDoors\\Server.exe.Backdoor
EOF
screenshot cleaned

# The timer's scan comes after its interval of 20 seconds.
expect_drv wait-line 0 'Last scan: ' 35
expect_clean_list "the timer's scan"
expect_visible "$MAIN" visible

must click '&Exit'
expect_exit_code quellspur 0

e2e_end
