# Shared steps of the release's scenarios, on top of the end-to-end ones (../e2e/lib.sh): the setup
# and the uninstaller run silently, as a fleet's deployment tools run them, from the folder
# scripts/package made.
: "${QS_RELEASE:?QS_RELEASE must name the folder scripts/package made}"
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

SETUP="$QS_RELEASE/Quellspur-$VERSION-setup.exe"
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

# Runs the setup silently with the given options; anything but exit code 0 ends the scenario.
setup() {
  echo "-> setup $*"
  local code=0
  wine "$SETUP" /S "$@" </dev/null >>"$E2E_DIR/setup.log" 2>&1 || code=$?
  [ "$code" = 0 ] || abort "the setup $* ended with exit code $code"
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
