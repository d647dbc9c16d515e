#!/usr/bin/env bash
# The setup on 64-bit Windows, run silently as deployment tools run it: the 64-bit build goes into
# the 64-bit Program Files, with a Start menu entry, and its uninstall entry and "Run On Startup"
# value in the 64-bit registry view, where the program reads them; started by that value, the
# program finds a stand-in, and its options dialog reports that value, since Wine gives Program
# Files to the user, who could change what it starts. A second setup over the running
# program ends it and keeps its settings, activity log and quarantine. The uninstaller ends the
# running program (even on its splash) and removes it, its start value and its settings, and
# keeps the log and the quarantine unless told to remove them too.
QS_BITS=64
source "$(dirname "$0")/package_lib.sh"
# The scenario runs as the test user and once more as root, each in a folder of its own.
e2e_begin "setup$([ "$(id -u)" -ne 0 ] || echo -as-root)"

DIR="$C_DRIVE/Program Files/Orvanta/Quellspur"
LINK="$C_DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs/Quellspur.lnk"
FOUND='NetBus Pro Found as: C:\windows\system\Patch.exe Activ now, started by: -unknown-'
COPY="$DIR/BackDoors/SERVER.EXE.Backdoor"

setup /RUNONSTARTUP=1
for program in Quellspur QuellScan; do
  expect_same_file "$DIR/$program.exe" "$QS_BUILD/../win64/src/$program.exe"
done
expect_file "$DIR/README.txt"
expect_file "$LINK"
expect_no_file "$C_DRIVE/Program Files (x86)/Orvanta"
for value in DisplayName:Quellspur "DisplayVersion:$VERSION" Publisher:Orvanta \
  "UninstallString:\"$INSTALLED\\Uninstall.exe\"" \
  "QuietUninstallString:\"$INSTALLED\\Uninstall.exe\" /S"; do
  expect_reg "$UNINSTALL_KEY" "${value%%:*}" "${value#*:}"
done
expect_reg "$RUN" Quellspur "\"$INSTALLED\\Quellspur.exe\" /boot"
expect_no_reg "$RUN" Quellspur 32

settings 1 0 0
standin_window netbus "$C_DRIVE/windows/system/Patch.exe" 'C:\windows\system\Patch.exe' \
  TApplication 'NetBus Server'
start_at_logon
must confirm-splash
expect_drv wait-line 0 "$FOUND"
expect_startup_reported_from_tray "$INSTALLED"

# An update over the running program.
mkdir -p "$DIR/BackDoors"
printf 'a quarantined file\r\n' >"$COPY"
expect_file "$DIR/BackLog.txt"
cp "$DIR/BackLog.txt" "$E2E_DIR/BackLog.kept"
setup
expect_exit_code quellspur 0
expect_reg "$SETTINGS" AutoCheck ' 1'
expect_reg "$SETTINGS" AutoClean ' 0'
expect_reg "$SETTINGS" MoveFiles ' 0'
expect_reg "$RUN" Quellspur "\"$INSTALLED\\Quellspur.exe\" /boot"
expect_same_file "$DIR/BackLog.txt" "$E2E_DIR/BackLog.kept"
expect_same_file "$COPY" <(printf 'a quarantined file\r\n')

start_at_logon
must confirm-splash
expect_drv wait-line 0 "$FOUND"
cp "$DIR/BackLog.txt" "$E2E_DIR/BackLog.kept"
uninstall
expect_exit_code quellspur 0
for file in Quellspur.exe QuellScan.exe README.txt Uninstall.exe; do
  expect_no_file "$DIR/$file"
done
expect_no_file "$LINK"
expect_no_reg "$RUN" Quellspur
expect_no_key "$SETTINGS"
expect_no_key 'HKEY_LOCAL_MACHINE\Software\Orvanta'
expect_same_file "$DIR/BackLog.txt" "$E2E_DIR/BackLog.kept"
expect_same_file "$COPY" <(printf 'a quarantined file\r\n')

# Installed again, with "Run On Startup" as it now stands: off. Removed with its data while its
# splash still waits for OK, as after a log-on nobody has answered.
setup
expect_no_reg "$RUN" Quellspur
start_quellspur "$INSTALLED\\Quellspur.exe"
uninstall /REMOVEDATA=1
expect_exit_code quellspur 0
expect_no_file "$C_DRIVE/Program Files/Orvanta"

e2e_end
