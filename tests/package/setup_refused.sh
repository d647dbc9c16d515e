#!/usr/bin/env bash
# The setup as an account that may not make the install: where it may not write the program's
# folder, the Start menu or one of the machine's registry keys it writes, it says so on standard
# error, ends with exit code 2 and leaves nothing behind. Stopped midway by a file it cannot write
# (one that another program holds open), it takes back what it had added: a first install leaves
# nothing, an update leaves the earlier install registered and whole.
#
# Wine as this account lets every folder and key be written: a folder is refused by its Linux
# rights (as root they refuse nothing), a key by the access list package_helper gives it.
QS_BITS=64
source "$(dirname "$0")/package_lib.sh"
e2e_begin setup_refused

PROGRAM_FILES="$C_DRIVE/Program Files"
DIR="$PROGRAM_FILES/Orvanta/Quellspur"
START_MENU='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
START_MENU_DIR="$C_DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs"
NOT_INSTALLED='Quellspur was not installed:'
NOTHING_CHANGED='Nothing was changed. Run the setup as an administrator'
TAKEN_BACK='What it had added is taken back; close what uses the file and run the setup again.'

chmod a-w "$PROGRAM_FILES"
try_setup /RUNONSTARTUP=1
chmod u+w "$PROGRAM_FILES"
expect_setup_says 2 "$NOT_INSTALLED this account may not write the folder C:\\Program Files (error 5). \
$NOTHING_CHANGED, or choose another folder."
expect_nothing_installed "$PROGRAM_FILES/Orvanta"

chmod a-w "$START_MENU_DIR"
try_setup /RUNONSTARTUP=1
chmod u+w "$START_MENU_DIR"
expect_setup_says 2 "$NOT_INSTALLED this account may not write the Start menu, the folder \
$START_MENU (error 5). $NOTHING_CHANGED."
expect_nothing_installed "$PROGRAM_FILES/Orvanta"

# The start key, which Wine refuses too, and the key the uninstall entry is made in, which only the
# setup's own check refuses under Wine (Wine makes a key whatever the key above it allows).
for key in "$RUN_KEY" 'Software\Microsoft\Windows\CurrentVersion\Uninstall'; do
  key_access "$key" read
  try_setup /RUNONSTARTUP=1
  key_access "$key" open
  expect_setup_says 2 "$NOT_INSTALLED this account may not change the registry key \
HKEY_LOCAL_MACHINE\\$key (error 5). $NOTHING_CHANGED."
  expect_nothing_installed "$PROGRAM_FILES/Orvanta"
done

# A first install stopped at its last file, a Start menu entry of an earlier day that a program
# holds open: the folder, the programs and the uninstall entry go again, the old entry stays.
printf 'an entry of an earlier day\r\n' >"$START_MENU_DIR/Quellspur.lnk"
hold_file "$START_MENU\\Quellspur.lnk"
try_setup /RUNONSTARTUP=1
release_file
expect_setup_says 2 "$NOT_INSTALLED the setup could not write $START_MENU\\Quellspur.lnk. $TAKEN_BACK"
expect_no_file "$PROGRAM_FILES/Orvanta"
expect_no_key "$UNINSTALL_KEY"
expect_no_reg "$RUN" Quellspur
expect_same_file "$START_MENU_DIR/Quellspur.lnk" <(printf 'an entry of an earlier day\r\n')
rm "$START_MENU_DIR/Quellspur.lnk"

# An update stopped at its first file: the earlier install stays registered, its programs in place.
setup /RUNONSTARTUP=1
hold_file "$INSTALLED\\README.txt"
try_setup
release_file
expect_setup_says 2 "$NOT_INSTALLED the setup could not write $INSTALLED\\README.txt. $TAKEN_BACK"
for program in Quellspur QuellScan; do
  expect_same_file "$DIR/$program.exe" "$QS_BUILD/../win64/src/$program.exe"
done
expect_file "$DIR/README.txt"
expect_reg "$UNINSTALL_KEY" QuietUninstallString "\"$INSTALLED\\Uninstall.exe\" /S"
expect_reg "$RUN" Quellspur "\"$INSTALLED\\Quellspur.exe\" /boot"

e2e_end
