#!/usr/bin/env bash
# The program as a tray application on a clean machine: the first start asks for the settings;
# "Run On Startup" is refused with the reason, since Wine gives the program's folder to the user;
# started with "/boot" from a Run value put there by hand, the program scans, stays in the tray
# and scans again by itself; a second copy is refused; the options dialog reports that Run value;
# the tray icon opens the window, the close box hides it, and the tray menu ends the program.
source "$(dirname "$0")/lib.sh"
e2e_begin tray_start

# First start, no settings: the window and the options dialog, with the defaults, and no scan.
start_quellspur "$APP\\Quellspur.exe"
must confirm-splash
must wait-for Options visible
expect_visible "$MAIN" visible
expect_lines </dev/null
for box in 'Auto Scan:1' 'Auto Clean:0' 'Move BackDoors Files:0' 'Run On Startup:0'; do
  drv_out checked "${box%:*}"
  [ "$(cat "$E2E_DIR/out")" = "${box#*:}" ] || fail "\"${box%:*}\" shows $(cat "$E2E_DIR/out")"
done
# Painted, as the screen shows it: mostly the system's button face, not a blank window.
screenshot options Options
face="$(reg_data 'HKEY_CURRENT_USER\Control Panel\Colors' ButtonFace)"
[ "$(main_colour options)" = "$face" ] ||
  fail "the options dialog shows mostly \"$(main_colour options)\", not the button face \"$face\""
must check 'Run On Startup' 1
must click '&Ok' Options asking
expect_start_with_windows_refused
drv_out checked 'Run On Startup'
[ "$(cat "$E2E_DIR/out")" = 0 ] || fail "refused, \"Run On Startup\" shows $(cat "$E2E_DIR/out")"
must click '&Ok' Options
must wait-for Options gone
expect_no_reg "$RUN" Quellspur
expect_reg "$SETTINGS" AutoCheck ' 1'
expect_reg "$SETTINGS" AutoClean ' 0'
expect_reg "$SETTINGS" MoveFiles ' 0'
must menu '&File' '&Exit'
expect_exit_code quellspur 0
expect_drv wait-for "$TRAY" gone 5

# Started as Windows would at log-on from a Run value put there by hand: a scan, and the window
# stays hidden.
wine reg add "$RUN" /v Quellspur /d '"C:\Quellspur\Quellspur.exe" /boot' "/reg:$QS_BITS" /f \
  </dev/null >>"$E2E_DIR/driver.log" 2>&1 || abort "the Run value cannot be written"
start_quellspur "$APP\\Quellspur.exe" /boot
must confirm-splash
expect_drv wait-line 1 "$CLEAN"
expect_clean_list "the clean scan"
first_scan="$(sed -n 1p "$E2E_DIR/out")"
expect_visible "$MAIN" hidden
expect_drv exists "$TRAY"
expect_log </dev/null

# The timer scans again after 20 seconds.
for _ in $(seq 35); do
  sleep 1
  drv_out lines
  [ "$(sed -n 1p "$E2E_DIR/out")" != "$first_scan" ] && break
done
[ "$(sed -n 1p "$E2E_DIR/out")" != "$first_scan" ] || fail "no second scan within 35 seconds"
compare_text "the second scan" "$(sed -n '2,$p' "$E2E_DIR/out")" <<<"$CLEAN"

# A second copy says so and ends; the first goes on.
launch second "$APP\\Quellspur.exe"
must wait-for Quellspur visible
drv_out texts Quellspur
grep -qxF 'Quellspur are alredy running.' <(tr -d '\r' <"$E2E_DIR/out") ||
  fail "the second copy's message: $(tr '\n' '|' <"$E2E_DIR/out")"
screenshot second_copy Quellspur
must click OK Quellspur
for _ in $(seq 100); do
  [ -s "$TOOLS_DIR/second.exit" ] && break
  sleep 0.1
done
[ -s "$TOOLS_DIR/second.exit" ] || fail "the second copy has not ended"
expect_running quellspur
expect_visible "$MAIN" hidden

# A single click on the icon does nothing; a double click opens the window.
must tray ldown
must tray lup
must tray rdown
must tray-menu none
expect_visible "$MAIN" hidden
must tray ldblclk
expect_drv wait-for "$MAIN" visible 5

# The close box hides the window; the program stays in the tray.
must close "$MAIN"
expect_visible "$MAIN" hidden
expect_running quellspur

# The tray menu's "Options" reports that the stored command, this program's, starts it from a
# folder others may change, and shows "Run On Startup" unticked; closed, it changes nothing.
expect_startup_reported_from_tray
expect_reg "$RUN" Quellspur '"C:\Quellspur\Quellspur.exe" /boot'

must tray rdown
must tray-menu "$TRAY_OPEN"
expect_drv wait-for "$MAIN" visible 5
must tray rdown
must tray-menu "$TRAY_EXIT"
expect_exit_code quellspur 0
expect_drv wait-for "$TRAY" gone 5

e2e_end
