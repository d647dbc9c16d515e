#!/usr/bin/env bash
# Windows NT, "Move BackDoors Files" on: three window-showing backdoors at once. "Millenium" also
# starts from win.ini, "Gate Crasher" keeps three companion files beside its executable, and one
# "Devil" process shows two of its window signatures: two process lines, each after the start
# value of its executable.
# Every line is cleaned by hand, from the top.
source "$(dirname "$0")/lib.sh"
e2e_begin window_backdoors_nt

SYS="$C_DRIVE/windows/system"

settings 0 0 1
reg_values "$RUN" <<'EOF'
"Devil"="C:\\WINDOWS\\SYSTEM\\DEVIL.EXE"
EOF

# The win.ini rewrite looks for the path as the system reports it, in capitals: the folder and
# the file are named in capitals, so Wine reports them that way.
standin_window millenium "$C_DRIVE/SYSUPD/MSRUNDLL.EXE" 'C:\SYSUPD\MSRUNDLL.EXE' ThunderRT5Form \
  'System Update'
printf 'control of the stand-in\r\n' >"$C_DRIVE/SYSUPD/regersys.ocx"
printf '%s\r\n' '[windows]' 'load=C:\SYSUPD\MSRUNDLL.EXE' 'run=c:\sysupd\msrundll.exe /s' \
  'NullPort=None' '[mail]' 'mapi=1' >"$C_DRIVE/windows/win.ini"
printf '%s' '[Desktop]' >>"$C_DRIVE/windows/win.ini"
cp "$C_DRIVE/windows/win.ini" "$E2E_DIR/win.ini.original"
# An old backup that is read-only must not stop the rewrite.
printf 'an old backup\r\n' >"$C_DRIVE/windows/win.bac"
chmod a-w "$C_DRIVE/windows/win.bac"

standin_window gatecrasher "$SYS/Inet.exe" 'C:\windows\system\Inet.exe' ThunderRT6Main Inet.drv
for companion in Inet.hlp Winsck.dat Winsck.ini; do
  printf '%s of the stand-in\r\n' "$companion" >"$SYS/$companion"
done

cp "$TOOLS_DIR/standin_window.exe" "$SYS/Devil.exe"
launch devil 'C:\windows\system\Devil.exe' ThunderRT5Main wingeno hidden ThunderRT5Form \
  wingenocide hidden
must wait-for wingeno exists
must wait-for wingenocide exists

start_quellspur "$APP\\Quellspur.exe"
must confirm-splash
must click '&Scan Now'
MILLENIUM='Millenium Found as: C:\SYSUPD\MSRUNDLL.EXE'
GATE='Gate Crasher Found as: C:\windows\system\Inet.exe'
DEVIL='Devil Found as: C:\windows\system\Devil.exe'
ACTIVE=' Activ now, started by: -unknown-'
DEVIL_START="$DEVIL Start entry in: HKEY_LOCAL_MACHINE Run/Devil"
expect_lines <<EOF
$MILLENIUM$ACTIVE
$GATE$ACTIVE
$DEVIL_START
$DEVIL$ACTIVE
$DEVIL_START
$DEVIL$ACTIVE
EOF

must select 0
must click '&Kill Process'
expect_exit_code millenium 200
# Every line kept as it was: the last one still without its line end.
printf '%s\r\n' '[windows]' 'NullPort=None' '[mail]' 'mapi=1' >"$E2E_DIR/win.ini.expected"
printf '%s' '[Desktop]' >>"$E2E_DIR/win.ini.expected"
expect_same_file "$C_DRIVE/windows/win.ini" "$E2E_DIR/win.ini.expected"
expect_same_file "$C_DRIVE/windows/win.bac" "$E2E_DIR/win.ini.original"

must select 1
must click '&Kill Process'
expect_exit_code gatecrasher 200
for file in Inet.exe Inet.hlp Winsck.dat Winsck.ini; do
  expect_no_file "$SYS/$file"
done

# The process still runs its executable: removing the start value cannot move it.
must select 2
must click '&Remove start'
expect_no_reg "$RUN" Devil
expect_file "$SYS/Devil.exe"

# Ending the process through its first window ends both; its executable can move now.
must select 3
must click '&Kill Process'
expect_exit_code devil 200
expect_no_file "$SYS/Devil.exe"

# The same start value again: it is gone already, so the line is marked and nothing is logged.
must select 4
must click '&Remove start'

# The same process through its second window: it has ended, so the line is marked at once.
must select 5
must click '&Kill Process'

expect_lines <<EOF
$TERMINATED$MILLENIUM$ACTIVE
$TERMINATED$GATE$ACTIVE
$ERASED$DEVIL_START
$TERMINATED$DEVIL$ACTIVE
$ERASED$DEVIL_START
$TERMINATED$DEVIL$ACTIVE
EOF
expect_quarantine <<'EOF'
Changes.txt
Devil.exe.Backdoor
Inet.exe.Backdoor
Inet.hlp.Backdoor
MSRUNDLL.EXE.Backdoor
Winsck.dat.Backdoor
Winsck.ini.Backdoor
regersys.ocx.Backdoor
EOF
expect_same_file "$APP_DIR/BackDoors/Winsck.ini.Backdoor" <(printf 'Winsck.ini of the stand-in\r\n')

Q='C:\Quellspur\BackDoors'
REMOVE_DEVIL="Removing start in registry: $RUN,Devil"
expect_log <<EOF
$MILLENIUM$ACTIVE
$GATE$ACTIVE
$DEVIL_START
$DEVIL$ACTIVE
$DEVIL_START
$DEVIL$ACTIVE
Moving: C:\\SYSUPD\\MSRUNDLL.EXE to: $Q\\MSRUNDLL.EXE.Backdoor
Moving: C:\\SYSUPD\\regersys.ocx to: $Q\\regersys.ocx.Backdoor
Removing start: load=C:\\SYSUPD\\MSRUNDLL.EXE in win.ini
Removing start: run=c:\\sysupd\\msrundll.exe /s in win.ini
Moving: C:\\windows\\system\\Inet.exe to: $Q\\Inet.exe.Backdoor
Moving: C:\\windows\\system\\Inet.hlp to: $Q\\Inet.hlp.Backdoor
Moving: C:\\windows\\system\\Winsck.dat to: $Q\\Winsck.dat.Backdoor
Moving: C:\\windows\\system\\Winsck.ini to: $Q\\Winsck.ini.Backdoor
$REMOVE_DEVIL
Moving: C:\\windows\\system\\Devil.exe to: $Q\\Devil.exe.Backdoor
EOF

must click '&Exit'
expect_exit_code quellspur 0

e2e_end
