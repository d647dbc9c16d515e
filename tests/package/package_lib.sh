# Shared steps of the release's scenarios, on top of the end-to-end ones (../e2e/lib.sh): the setup
# and the uninstaller run silently, as a fleet's deployment tools run them, from the folder
# scripts/package made.
: "${QS_RELEASE:?QS_RELEASE must name the folder scripts/package made}"
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

# The release's setup, or the one QS_SETUP names: the same script built as a 64-bit program where
# Wine runs no 32-bit program.
SETUP="${QS_SETUP:-$QS_RELEASE/Quellspur-$VERSION-setup.exe}"
UNINSTALL_KEY='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quellspur'
INSTALLED='C:\Program Files\Orvanta\Quellspur'

# A 32-bit Windows of its own, made for the scenario (the prepared base is 64-bit), with the test
# tools; otherwise as e2e_begin.
begin_32bit_windows() {
  E2E_NAME="$1"
  E2E_DIR="$E2E_ROOT/$E2E_NAME"
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR"
  export WINEPREFIX="$E2E_DIR/prefix" WINEARCH=win32
  trap e2e_cleanup EXIT
  wineboot -i </dev/null >"$E2E_DIR/wineboot.log" 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null \
    >>"$E2E_DIR/wineboot.log" 2>&1
  wineserver -w
  C_DRIVE="$WINEPREFIX/drive_c"
  TOOLS_DIR="$C_DRIVE/e2e"
  mkdir -p "$TOOLS_DIR"
  cp "$QS_BUILD/tools/gui_driver.exe" "$QS_BUILD/tools/standin_window.exe" \
    "$QS_BUILD/tools/screen_capture.exe" "$TOOLS_DIR/"
  (wineserver -p && wineboot) </dev/null >>"$E2E_DIR/wineboot.log" 2>&1
  echo "== $E2E_NAME"
}

# Runs the setup silently with the given options, its exit code into $SETUP_EXIT and what it says on
# standard error into $E2E_DIR/setup.err.
try_setup() {
  echo "-> setup $*"
  SETUP_EXIT=0
  wine "$SETUP" /S "$@" </dev/null >>"$E2E_DIR/setup.log" 2>"$E2E_DIR/setup.err" || SETUP_EXIT=$?
  cat "$E2E_DIR/setup.err" >>"$E2E_DIR/setup.log"
}

# The same, where anything but exit code 0 ends the scenario.
setup() {
  try_setup "$@"
  [ "$SETUP_EXIT" = 0 ] || abort "the setup $* ended with exit code $SETUP_EXIT"
}

# Usage: expect_uninstall_exit <the uninstaller's exit code>. Wine hands Linux only its low byte.
expect_uninstall_exit() {
  [ "$UNINSTALL_EXIT" = $(($1 % 256)) ] ||
    fail "the uninstaller ended with $UNINSTALL_EXIT, expected $1 (that is $(($1 % 256)) here)"
}

# Usage: expect_setup_says <exit code> <its line on standard error>
expect_setup_says() {
  [ "$SETUP_EXIT" = "$1" ] || fail "the setup ended with exit code $SETUP_EXIT, expected $1"
  compare_text "what the setup said" "$(tr -d '\r' <"$E2E_DIR/setup.err")" <<<"$2"
}

# Runs the uninstaller of the install in $APP as a script that needs its exit code runs it: a copy
# from outside the folder, told the folder with _?= (the uninstaller itself goes on from a copy and
# ends at once). The folder's path must hold no blank, which Wine would quote. Leaves the exit code
# in $UNINSTALL_EXIT and what it says on standard error in $E2E_DIR/uninstall.err.
uninstall_waiting() {
  echo "-> uninstall, waiting, $*"
  mkdir -p "$C_DRIVE/uninstall-copy"
  cp "$APP_DIR/Uninstall.exe" "$C_DRIVE/uninstall-copy/"
  UNINSTALL_EXIT=0
  wine 'C:\uninstall-copy\Uninstall.exe' /S "$@" "_?=$APP" </dev/null >>"$E2E_DIR/setup.log" \
    2>"$E2E_DIR/uninstall.err" || UNINSTALL_EXIT=$?
  cat "$E2E_DIR/uninstall.err" >>"$E2E_DIR/setup.log"
}

# Runs the command Add/Remove Programs holds for a quiet uninstall, with further options, and
# waits for it: the uninstaller starts a copy of itself and ends at once, and the copy removes the
# uninstall entry last.
uninstall() {
  echo "-> uninstall $*"
  local quiet
  quiet="$(reg_data "$UNINSTALL_KEY" QuietUninstallString)" || abort "no quiet uninstall command"
  [[ "$quiet" =~ ^\"(.*\\Uninstall\.exe)\"\ /S$ ]] ||
    abort "the quiet uninstall command is \"$quiet\""
  wine "${BASH_REMATCH[1]}" /S "$@" </dev/null >>"$E2E_DIR/setup.log" 2>&1 ||
    abort "the uninstaller did not start"
  for _ in $(seq 100); do
    reg_data "$UNINSTALL_KEY" DisplayName >/dev/null || return 0
    sleep 0.2
  done
  fail "the uninstaller has not finished within 20 seconds"
}

# Starts the program by the command its start value holds, as Windows does at log-on.
start_at_logon() {
  local command
  command="$(reg_data "$RUN" Quellspur)" || abort "no start value"
  [[ "$command" =~ ^\"(.*)\"\ /boot$ ]] || abort "the start value is \"$command\""
  start_quellspur "${BASH_REMATCH[1]}" /boot
}

expect_no_key() {
  ! wine reg query "$1" "/reg:$QS_BITS" </dev/null >/dev/null 2>&1 || fail "registry key $1 is still there"
}

# Nothing of an install: no folder, Start menu entry, uninstall entry or start value.
expect_nothing_installed() {
  expect_no_file "$1"
  expect_no_file "$C_DRIVE/ProgramData/Microsoft/Windows/Start Menu/Programs/Quellspur.lnk"
  expect_no_key "$UNINSTALL_KEY"
  expect_no_reg "$RUN" Quellspur
}

# The scenarios' helper for what no Wine command does (package_helper.nsi), built into the tools
# at its first use.
build_package_helper() {
  [ -f "$TOOLS_DIR/package_helper.exe" ] ||
    makensis -V1 "-DOUTFILE=$TOOLS_DIR/package_helper.exe" \
      "$(dirname "${BASH_SOURCE[0]}")/package_helper.nsi" >>"$E2E_DIR/setup.log" 2>&1 ||
    abort "package_helper.nsi does not build"
}

package_helper() {
  build_package_helper
  wine "$TOOLS\\package_helper.exe" "$@" </dev/null >>"$E2E_DIR/setup.log" 2>&1
}

# Gives a key of the machine's (below HKEY_LOCAL_MACHINE, 64-bit view) an access list: "read" lets
# everybody only read it, "open" lets everybody do everything again.
key_access() {
  local dacl='D:P(A;;KR;;;WD)'
  [ "$2" = read ] || dacl='D:(A;;KA;;;WD)'
  package_helper "/KEY=$1" "/DACL=$dacl" || abort "the access list of $1 cannot be set"
}

# Keeps a file (a Windows path) open in another program, as a viewer that has it open does, until
# release_file.
hold_file() {
  rm -f "$TOOLS_DIR/held" "$TOOLS_DIR/release"
  # Built here, not in the background, where an abort would not end the scenario.
  build_package_helper
  (package_helper "/HOLD=$1" "/READY=$TOOLS\\held" "/UNTIL=$TOOLS\\release" &)
  for _ in $(seq 100); do
    [ -f "$TOOLS_DIR/held" ] && return
    sleep 0.1
  done
  abort "$1 cannot be held open"
}

release_file() {
  touch "$TOOLS_DIR/release"
}

# The Linux process id of the prefix's process that runs the named executable.
unix_pid() {
  local pid
  for pid in $(pgrep -u "$(id -u)" -f "$1"); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# The start value of the install in $APP, put there by hand: the setup does not start a copy
# outside Program Files with Windows under Wine, which gives every folder to the user.
start_value_by_hand() {
  wine reg add "$RUN" /v Quellspur /d "\"$APP\\Quellspur.exe\" /boot" "/reg:$QS_BITS" /f \
    </dev/null >>"$E2E_DIR/setup.log" 2>&1 || abort "the start value cannot be written"
}
