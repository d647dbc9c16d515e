#!/usr/bin/env bash
# Windows 98: the process probe finds "Back Orifice" by its name rule (an executable named with a
# blank before ".exe") and by its size rule (length, its own name near its end, a start value),
# passes over a process that meets the size but has no start value, and the window probe names
# the process that started a backdoor. Everything found is cleaned by hand.
#
# Under Wine the process list names executables without their folder, and a file's length is then
# looked up in the current folder: the program runs in C:\probe, which holds a file for every
# running process's name.
source "$(dirname "$0")/lib.sh"
e2e_begin back_orifice_98

PROBE="$C_DRIVE/probe"
mkdir -p "$PROBE"

settings 0 0 0
reg_values 'HKEY_CURRENT_USER\Software\Wine\AppDefaults\Quellspur.exe' <<'EOF'
"Version"="win98"
EOF
reg_values "$RUN_SERVICES" <<'EOF'
"Backup"="C:\\WINDOWS\\SYSTEM\\ .exe"
EOF
reg_values "$USER_RUN" <<'EOF'
"WinSrv"="C:\\probe\\WINSRV32.EXE /s"
EOF

# A copy of the quiet stand-in grown to 125000 bytes, its own name in its last 101 bytes.
sized_standin() {
  cp "$TOOLS_DIR/standin_quiet.exe" "$PROBE/$1"
  truncate -s $((125000 - 40)) "$PROBE/$1"
  printf '%-40s' "$1" | tr ' ' '\0' >>"$PROBE/$1"
}
sized_standin winsrv32.exe
sized_standin decoy.exe

mkdir -p "$C_DRIVE/windows/system"
cp "$TOOLS_DIR/standin_quiet.exe" "$C_DRIVE/windows/system/ .exe"
launch blank 'C:\windows\system\ .exe'
launch sized 'C:\probe\winsrv32.exe'
launch decoy 'C:\probe\decoy.exe'
standin_window subseven "$C_DRIVE/windows/system/Sub7.exe" 'C:\windows\system\Sub7.exe' TForm2 chat

wait_for_process() {
  for _ in $(seq 100); do
    drv_out processes && grep -qxF "$1" <(tr -d '\r' <"$E2E_DIR/out") && return
    sleep 0.1
  done
  abort "no process $1"
}
wait_for_process ' .exe'
wait_for_process winsrv32.exe
wait_for_process decoy.exe

# The current folder's files: every name the process list shows, and the programs still to come.
while IFS= read -r name; do
  [ "$name" = ' .exe' ] || [ -e "$PROBE/$name" ] || : >"$PROBE/$name"
done < <(
  tr -d '\r' <"$E2E_DIR/out"
  printf '%s\n' Quellspur.exe gui_driver.exe
)

# The probe reports in the order of the system's process list, which under Wine follows the reuse
# of process ids rather than the order of starting; the list taken above tells it.
BY=' Activ now, started by: gui_driver.exe'
SUB7="SubSeven Found as: Sub7.exe$BY"
BLANK_START='Back Orifice Found as:  .exe Start entry in: HKEY_LOCAL_MACHINE RunServices/Backup'
BLANK_ACTIVE="Back Orifice Found as:  .exe$BY"
BLANK_REMOVED="Removing start in registry: $RUN_SERVICES,Backup"
SIZED_START='Back Orifice Found as: winsrv32.exe Start entry in: HKEY_CURRENT_USER Run/WinSrv'
SIZED_ACTIVE="Back Orifice Found as: winsrv32.exe$BY"
SIZED_REMOVED="Removing start in registry: $USER_RUN,WinSrv"
listed="$(tr -d '\r' <"$E2E_DIR/out" | grep -xF -e ' .exe' -e winsrv32.exe | tr '\n' '|')"
if [ "$listed" = ' .exe|winsrv32.exe|' ]; then
  FIRST=BLANK SECOND=SIZED
else
  FIRST=SIZED SECOND=BLANK
fi
group() {
  local start="${1}_START" active="${1}_ACTIVE"
  printf '%s\n%s\n' "$2${!start}" "$3${!active}"
}
removed() {
  local line="${1}_REMOVED"
  printf '%s\n' "${!line}"
}

start_quellspur --cwd 'C:\probe' "$APP\\Quellspur.exe"
must confirm-splash
must click '&Scan Now'
expect_lines <<EOF
$SUB7
$(group $FIRST)
$(group $SECOND)
EOF
screenshot found

for line in 1 3; do
  must select "$line"
  expect_button '&Remove start' enabled
  must click '&Remove start'
done
expect_no_reg "$RUN_SERVICES" Backup
expect_no_reg "$USER_RUN" WinSrv

for line in 2 4 0; do
  must select "$line"
  expect_button '&Kill Process' enabled
  must click '&Kill Process'
done
expect_exit_code blank 200
expect_exit_code sized 200
expect_exit_code subseven 200
expect_running decoy

expect_lines <<EOF
$TERMINATED$SUB7
$(group $FIRST "$ERASED" "$TERMINATED")
$(group $SECOND "$ERASED" "$TERMINATED")
EOF
expect_log <<EOF
$SUB7
$(group $FIRST)
$(group $SECOND)
$(removed $FIRST)
$(removed $SECOND)
EOF
# "Move BackDoors Files" is off: nothing was moved; the quarantine folder holds only the record of
# the removed start values.
expect_file "$PROBE/winsrv32.exe"
expect_file "$C_DRIVE/windows/system/ .exe"
expect_quarantine <<'EOF'
Changes.txt
EOF

# The task list's "End task" ends the program, not just hides it, and takes its tray icon along.
must end-task "$MAIN"
expect_exit_code quellspur 0
expect_drv wait-for "$TRAY" gone 5

e2e_end
