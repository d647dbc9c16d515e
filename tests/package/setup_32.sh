#!/usr/bin/env bash
# The same setup on 32-bit Windows installs the 32-bit build, here into a folder the command line
# names: asked to start it with Windows, the setup asks the installed program whether others may
# change that folder, and under Wine, which gives it to the user, refuses with the program's
# reason; a second setup without a folder finds that install and updates it there. QuellScan in
# the installed folder finds a stand-in, and the uninstaller told to remove everything leaves
# nothing behind.
source "$(dirname "$0")/package_lib.sh"
begin_32bit_windows setup-32

# Without a blank: the setup takes /D= only unquoted, and Wine quotes an argument with one.
APP='C:\Apps\Quellspur'
APP_DIR="$C_DRIVE/Apps/Quellspur"

setup /RUNONSTARTUP=1 "/D=$APP"
said="$(tr -d '\r' <"$E2E_DIR/setup.err")"
grep -qxF "Quellspur does not start with Windows from $APP: it belongs to the account \
S-1-5-21-0-0-0-1000. Whoever may change it could have their own program started when any user \
logs on. Install Quellspur with its setup, or move its folder to one that only administrators can \
change, such as Program Files." <<<"$said" || fail "the setup's refusal to start with Windows: $said"
expect_no_reg "$RUN" Quellspur
setup
for program in Quellspur QuellScan; do
  expect_same_file "$APP_DIR/$program.exe" "$QS_BUILD/src/$program.exe"
done
expect_no_file "$C_DRIVE/Program Files/Orvanta"
expect_no_reg "$RUN" Quellspur
expect_reg "$UNINSTALL_KEY" QuietUninstallString "\"$APP\\Uninstall.exe\" /S"

quellscan scan
expect_quellscan_exit 0 scan
standin_window netbus "$C_DRIVE/windows/system/Patch.exe" 'C:\windows\system\Patch.exe' \
  TApplication 'NetBus Server'
quellscan scan
expect_quellscan_exit 1 "scan with a stand-in"
expect_file "$APP_DIR/BackLog.txt"

uninstall /REMOVEDATA=1
expect_no_file "$APP_DIR"
expect_no_reg "$RUN" Quellspur
expect_no_key "$SETTINGS"

e2e_end
