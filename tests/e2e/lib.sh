# Shared steps of the end-to-end scenarios: a throwaway Wine prefix per scenario, the program and
# the stand-ins copied into it, the driver that operates the program's windows, and checks of the
# list, the activity log, the registry, the files and the stand-ins' exit codes.
#
# A scenario sources this file, calls e2e_begin with its name, and ends with e2e_end. Actions that
# the rest of a scenario depends on abort it at once (must); checks record a failure and go on.

: "${QS_BUILD:?QS_BUILD must name the win32 build folder}"
# The program under test: the 32-bit build's unless QS_PROGRAM names another (the 64-bit one, with
# QS_BITS=64, whose settings live in the 64-bit registry view).
QS_PROGRAM="${QS_PROGRAM:-$QS_BUILD/src/Quellspur.exe}"
QS_BITS="${QS_BITS:-32}"
# 64-bit stand-ins, when the 64-bit build is there.
QS_TOOLS64="$QS_BUILD/../win64/tools"
# When CTest runs scenarios side by side, it hands each a display of its own ("id:91,slots:1").
if [ -n "${CTEST_RESOURCE_GROUP_0_DISPLAYS:-}" ]; then
  display_id="${CTEST_RESOURCE_GROUP_0_DISPLAYS#id:}"
  export DISPLAY=":${display_id%%,*}"
fi
: "${DISPLAY:?the scenarios need an X display (scripts/test starts a virtual one)}"

export LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='

E2E_ROOT="$QS_BUILD/e2e"
E2E_BASE="$E2E_ROOT/base"
# The version CMake wrote for this build, and the main window's caption that shows it.
VERSION="$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' "$QS_BUILD/packaging/version.nsh")"
MAIN="Orvanta Quellspur Version $VERSION"
TRAY='Sys Tray Interface'
TERMINATED='IT´S TERMINATED!  '
ERASED='IT´S ERASED!  '
# The tray menu's items as a keyboard reaches them, separators not counted.
TRAY_OPEN=1
TRAY_OPTIONS=2
TRAY_QUARANTINE=3
TRAY_EXIT=4
# The registry keys the scenarios read and write, named as reg.exe and .reg files name them; RUN_KEY
# is the start key below its root, as the change record names it.
RUN_KEY='Software\Microsoft\Windows\CurrentVersion\Run'
RUN="HKEY_LOCAL_MACHINE\\$RUN_KEY"
RUN_SERVICES="${RUN}Services"
USER_RUN="HKEY_CURRENT_USER\\$RUN_KEY"
SETTINGS='HKEY_LOCAL_MACHINE\Software\Orvanta\Quellspur'
# Windows paths inside the prefix: the program's folder and the test tools' folder.
APP='C:\Quellspur'
TOOLS='C:\e2e'

e2e_failures=0

# Makes the prefix from the prepared base: the big system folders as hard links (nothing here
# writes to them), everything else as real copies. Starts the prefix's Wine services detached, so
# that they hold none of CTest's pipes.
e2e_begin() {
  E2E_NAME="$1"
  [ "$QS_BITS" = 32 ] || E2E_NAME="$1-$QS_BITS"
  E2E_DIR="$E2E_ROOT/$E2E_NAME"
  [ -d "$E2E_BASE/drive_c" ] || {
    echo "no base prefix at $E2E_BASE (the test e2e.base makes it)" >&2
    exit 1
  }
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR/prefix"
  export WINEPREFIX="$E2E_DIR/prefix"
  local big=(system32 syswow64 winsxs)
  (cd "$E2E_BASE" && tar -cf - --exclude=./wineserver "${big[@]/#/--exclude=./drive_c/windows/}" .) |
    (cd "$WINEPREFIX" && tar -xf -)
  for folder in "${big[@]}"; do
    cp -al "$E2E_BASE/drive_c/windows/$folder" "$WINEPREFIX/drive_c/windows/"
  done
  C_DRIVE="$WINEPREFIX/drive_c"
  APP_DIR="$C_DRIVE/Quellspur"
  TOOLS_DIR="$C_DRIVE/e2e"
  mkdir -p "$APP_DIR" "$TOOLS_DIR"
  cp "$QS_PROGRAM" "$APP_DIR/Quellspur.exe"
  cp "$(dirname "$QS_PROGRAM")/QuellScan.exe" "$APP_DIR/QuellScan.exe"
  if [ -f "$QS_TOOLS64/standin_window.exe" ]; then
    cp "$QS_TOOLS64/standin_window.exe" "$TOOLS_DIR/standin_window64.exe"
  fi
  cp "$QS_BUILD/tools/gui_driver.exe" "$QS_BUILD/tools/standin_window.exe" \
    "$QS_BUILD/tools/standin_quiet.exe" "$QS_BUILD/tools/screen_capture.exe" "$TOOLS_DIR/"
  trap e2e_cleanup EXIT
  (wineserver -p && wineboot) </dev/null >"$E2E_DIR/wineboot.log" 2>&1
  echo "== $E2E_NAME"
}

e2e_cleanup() {
  wineserver -k </dev/null >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
}

e2e_end() {
  screenshot end
  if [ "$e2e_failures" -ne 0 ]; then
    echo "== $E2E_NAME: $e2e_failures checks failed (screenshots and logs in $E2E_DIR)"
    exit 1
  fi
  echo "== $E2E_NAME: all checks passed"
  exit 0
}

fail() {
  echo "FAIL: $*"
  e2e_failures=$((e2e_failures + 1))
}

# The screen as a PNG, for a person looking into a failure or at the program; with a caption, only
# that window and a margin. Usage: screenshot <name> [caption]
screenshot() {
  wine "$TOOLS_DIR/screen_capture.exe" "$TOOLS\\shot.bmp" "${@:2}" </dev/null \
    >>"$E2E_DIR/driver.log" 2>&1 &&
    bmptopnm "$TOOLS_DIR/shot.bmp" 2>/dev/null | pnmtopng >"$E2E_DIR/$1.png" 2>/dev/null
}

# The colour most of a window shows, as "red green blue", from a screenshot taken with its caption.
main_colour() {
  pngtopnm "$E2E_DIR/$1.png" | ppmhist -noheader 2>/dev/null | awk 'NR == 1 { print $1, $2, $3 }'
}

abort() {
  echo "ABORT: $*"
  screenshot abort
  exit 1
}

# The driver, its output into a file (never a pipe: a Wine program may leave a process behind that
# holds it). drv_out leaves the output in $E2E_DIR/out.
drv() {
  wine "$TOOLS_DIR/gui_driver.exe" "$@" </dev/null >>"$E2E_DIR/driver.log" 2>&1
}

drv_out() {
  wine "$TOOLS_DIR/gui_driver.exe" "$@" </dev/null >"$E2E_DIR/out" 2>>"$E2E_DIR/driver.log"
}

# An action the rest of the scenario needs: a failure ends the scenario.
must() {
  echo "-> $*"
  drv "$@" || abort "gui_driver $* ended with $? ($(tail -n 1 "$E2E_DIR/driver.log"))"
}

# A check done by the driver's exit code.
expect_drv() {
  drv "$@" || fail "gui_driver $* ended with $? ($(tail -n 1 "$E2E_DIR/driver.log"))"
}

# Starts a program under the driver, which writes its exit code into $TOOLS_DIR/<name>.exit when
# it ends. Usage: launch <name> [--cwd <windows folder>] <windows path of the program> [arguments]
launch() {
  local name="$1"
  shift
  local cwd=()
  if [ "$1" = --cwd ]; then
    cwd=(--cwd "$2")
    shift 2
  fi
  rm -f "$TOOLS_DIR/$name.exit"
  (wine "$TOOLS_DIR/gui_driver.exe" run "${cwd[@]}" "$TOOLS\\$name.exit" "$@" </dev/null \
    >"$E2E_DIR/$name.log" 2>&1 &)
}

# A stand-in that shows a window: its executable is a copy of standin_window.exe under the
# backdoor's file name. Usage: standin_window <name> <unix path of the copy> <windows path> <class>
# <caption>. The window stays hidden, as a backdoor's would.
standin_window() {
  local name="$1" unix_path="$2" windows_path="$3" class="$4" caption="$5"
  mkdir -p "$(dirname "$unix_path")"
  cp "$TOOLS_DIR/standin_window.exe" "$unix_path"
  launch "$name" "$windows_path" "$class" "$caption" hidden
  drv wait-for "$caption" exists || abort "the stand-in $name shows no window \"$caption\""
}

# The program, started as a user would, with its exit code kept as "quellspur".
start_quellspur() {
  launch quellspur "$@"
  must wait-for "$MAIN" exists
}

# Waits for a launched program to end and compares its exit code.
expect_exit_code() {
  local name="$1" wanted="$2"
  local file="$TOOLS_DIR/$name.exit"
  for _ in $(seq 100); do
    [ -s "$file" ] && break
    sleep 0.1
  done
  if [ ! -s "$file" ]; then
    fail "$name has not ended"
    return
  fi
  local code
  code="$(tr -d '\r\n' <"$file")"
  [ "$code" = "$wanted" ] || fail "$name ended with exit code $code, expected $wanted"
}

expect_running() {
  [ ! -e "$TOOLS_DIR/$1.exit" ] || fail "$1 has ended, exit code $(cat "$TOOLS_DIR/$1.exit")"
}

# Runs the console program with the given arguments, its output and errors into files (never a
# pipe), and leaves its exit code in $QS_EXIT.
quellscan() {
  QS_EXIT=0
  wine "$APP\\QuellScan.exe" "$@" </dev/null >"$E2E_DIR/quellscan.out" 2>"$E2E_DIR/quellscan.err" ||
    QS_EXIT=$?
}

expect_quellscan_exit() {
  [ "$QS_EXIT" = "$1" ] ||
    fail "QuellScan $2 ended with $QS_EXIT, expected $1 ($(head -c 300 "$E2E_DIR/quellscan.err"))" \
      "output: $(head -c 300 "$E2E_DIR/quellscan.out" | tr -d '\r' | tr '\n' '|')"
}

# The options dialog, opened from the tray menu while the Run value starts the program from the
# folder $1 (the program's own by default): it reports that others may change that folder (under
# Wine, any), shows "Run On Startup" unticked, and closed, changes nothing.
expect_startup_reported_from_tray() {
  must tray rdown
  must tray-menu "$TRAY_OPTIONS"
  must wait-for Options visible
  expect_start_with_windows_refused "${1:-$APP}"
  drv_out checked 'Run On Startup'
  [ "$(cat "$E2E_DIR/out")" = 0 ] || fail "\"Run On Startup\" shows $(cat "$E2E_DIR/out")"
  must close Options
  must wait-for Options gone
}

# Compares text with the expected text given on standard input, line by line.
compare_text() {
  local what="$1" actual="$2" expected
  expected="$(cat)"
  if [ "$actual" != "$expected" ]; then
    fail "$what differs"
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") | sed 's/^/    /'
  fi
}

# The main window's list after a scan that found nothing: the time of that scan, then that all is
# clean. $1 says which scan.
CLEAN='Your computer is clean from known running backdoors!'
expect_clean_list() {
  drv_out lines || {
    fail "the list cannot be read"
    return
  }
  grep -qE '^Last scan: [0-9]{2}:[0-9]{2}:[0-9]{2}$' <(sed -n 1p "$E2E_DIR/out") ||
    fail "$1: its first line is $(sed -n 1p "$E2E_DIR/out")"
  compare_text "$1" "$(sed -n '2,$p' "$E2E_DIR/out")" <<<"$CLEAN"
}

# The main window's list, word for word; the expected lines come on standard input.
expect_lines() {
  drv_out lines || {
    fail "the list cannot be read"
    return
  }
  compare_text "the list" "$(cat "$E2E_DIR/out")"
}

expect_button() {
  drv_out button "$1" || {
    fail "no button \"$1\""
    return
  }
  local state
  state="$(cat "$E2E_DIR/out")"
  [ "$state" = "$1 $2" ] || fail "button: \"$state\", expected \"$1 $2\""
}

expect_visible() {
  drv_out visible "$1"
  local state
  state="$(cat "$E2E_DIR/out")"
  [ "$state" = "$2" ] || fail "\"$1\" is ${state:-missing}, expected $2"
}

# The activity log's messages in order, each line checked for its date and time stamp and its
# line end; the expected messages come on standard input.
expect_log() {
  local log="$APP_DIR/BackLog.txt"
  if [ ! -f "$log" ]; then
    compare_text "the activity log" ""
    return
  fi
  local lines crlf
  lines="$(wc -l <"$log")"
  crlf="$(grep -c $'\r$' "$log")"
  [ "$lines" = "$crlf" ] || fail "the activity log has lines that do not end in CR LF"
  local bad
  bad="$(tr -d '\r' <"$log" | grep -cvE '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} ')"
  [ "$bad" = 0 ] || fail "the activity log has $bad lines without a date and time stamp"
  compare_text "the activity log" "$(iconv -f CP1252 -t UTF-8 "$log" | tr -d '\r' | cut -c21-)"
}

# Registry data as "reg query" shows it for one value; fails when the value is missing. The
# machine's keys are read in the program's own view, or in the one a third argument names (32 or
# 64).
reg_data() {
  wine reg query "$1" /v "$2" "/reg:${3:-$QS_BITS}" </dev/null >"$E2E_DIR/reg.out" 2>/dev/null ||
    return 1
  tr -d '\r' <"$E2E_DIR/reg.out" | sed -n "s/^    $2    REG_[A-Z_]*    //p"
}

# Usage: expect_reg <key> <value name> <data> [view: 32 or 64]
expect_reg() {
  local data
  if ! data="$(reg_data "$1" "$2" "${4:-}")"; then
    fail "registry value $1\\$2 is missing"
    return
  fi
  [ "$data" = "$3" ] || fail "registry value $1\\$2 is \"$data\", expected \"$3\""
}

expect_no_reg() {
  ! reg_data "$1" "$2" "${3:-}" >/dev/null || fail "registry value $1\\$2 is still there"
}

# Loads registry contents written in the .reg format (REGEDIT4) from standard input, into the
# program's own view of the machine's keys, or the one an argument names (32 or 64).
reg_import() {
  {
    echo REGEDIT4
    echo
    cat
  } | sed 's/$/\r/' >"$TOOLS_DIR/import.reg"
  wine reg import "$TOOLS\\import.reg" "/reg:${1:-$QS_BITS}" </dev/null >>"$E2E_DIR/driver.log" 2>&1 ||
    abort "the registry import failed"
}

# Usage: reg_values <key> [view: 32 or 64] <<'EOF' ... the key's values as a .reg file has them
reg_values() {
  {
    echo "[$1]"
    cat
  } | reg_import "${2:-}"
}

settings() {
  reg_values "$SETTINGS" <<EOF
"AutoCheck"=" $1"
"AutoClean"=" $2"
"MoveFiles"=" $3"
EOF
}

expect_file() {
  [ -f "$1" ] || fail "file $1 is missing"
}

expect_no_file() {
  [ ! -e "$1" ] || fail "file $1 is still there"
}

expect_same_file() {
  if [ ! -f "$1" ]; then
    fail "file $1 is missing"
  elif ! cmp -s "$1" "$2"; then
    fail "file $1 differs from $2"
  fi
}

# The BackDoors folder's file names, sorted; the expected names come on standard input.
expect_quarantine() {
  compare_text "the BackDoors folder" "$(ls "$APP_DIR/BackDoors" 2>/dev/null | LC_ALL=C sort)"
}

# The change record's entries after its version line, without their time and checksum; the
# expected lines come on standard input. Every line must end in CR LF, and every entry begin with
# a time and its UTC offset and end with the first 16 hex digits of its text's SHA-256.
expect_record() {
  local record="$APP_DIR/BackDoors/Changes.txt"
  [ "$(head -n 1 "$record" 2>/dev/null)" = $'Quellspur change record 2\r' ] ||
    fail "the change record does not begin with its version line"
  [ "$(grep -cv $'\r$' "$record")" = 0 ] || fail "a line of the change record lacks its CR LF"
  [ "$(sed -n '2,$p' "$record" | grep -cvE $'^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:]{8} [+-][0-9]{2}:[0-9]{2}\t')" = 0 ] ||
    fail "an entry of the change record does not begin with its time and UTC offset"
  local line
  while IFS= read -r line; do
    line="${line%$'\r'}"
    [ "$(printf '%s' "${line%$'\t'*}" | sha256sum | cut -c 1-16)" = "${line##*$'\t'}" ] ||
      fail "an entry of the change record does not match its checksum: $line"
  done < <(sed -n '2,$p' "$record")
  compare_text "the change record" \
    "$(sed -n '2,$p' "$record" | tr -d '\r' | cut -f 2- | sed 's/\t[0-9a-f]\{16\}$//')"
}

# A registry string as the record shows its data: UTF-16LE with its zero, in hex.
utf16_hex() {
  printf '%s\0' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -d ' \n'
}

# A file's size and SHA-256 as the record shows them, TAB-separated.
size_and_sha256() {
  printf '%s\t%s' "$(stat -c %s "$1")" "$(sha256sum <"$1" | cut -d ' ' -f 1)"
}

# The program's refusal to start with Windows from the folder $1 (the program's own by default),
# which Wine gives to the user as it gives every folder of a prefix: a message box that says why
# and what to do, confirmed.
expect_start_with_windows_refused() {
  must wait-for Quellspur visible
  drv_out texts Quellspur
  local said
  said="$(tr -d '\r' <"$E2E_DIR/out")"
  grep -qF "Quellspur does not start with Windows from ${1:-$APP}: it belongs to the account S-1-5-21-" \
    <<<"$said" && grep -qF 'Install Quellspur with its setup, or move its folder' <<<"$said" ||
    fail "the refusal to start with Windows says: $(tr '\n' '|' <<<"$said")"
  must click OK Quellspur
  must wait-for Quellspur gone
}
