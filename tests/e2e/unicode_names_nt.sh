#!/usr/bin/env bash
# Windows NT, "Move BackDoors Files" on: a "NetBus Pro" stand-in runs from C:\q\Ĉat.exe, a name
# outside the ANSI code page, and the user's Run value "Ĉ" starts it. Beside them stand their
# look-alikes in that code page: an innocent C:\q\Cat.exe and a Run value "C" that starts
# notepad. The machine's Run value "ĉ" starts the backdoor by its name in the other case, which
# Windows takes for the same file; the machine's "Cat" starts the innocent one. Every line is
# cleaned: only the backdoor's own values and file go, the list shows the exact names, and the log
# writes Ĉ and ĉ as escapes.
source "$(dirname "$0")/lib.sh"
e2e_begin unicode_names_nt

settings 0 0 1
wine reg add "$USER_RUN" /v 'Ĉ' /d 'C:\q\Ĉat.exe' /f </dev/null >>"$E2E_DIR/driver.log" 2>&1 ||
  abort "the value Ĉ cannot be written"
wine reg add "$USER_RUN" /v C /d 'C:\windows\notepad.exe' /f </dev/null \
  >>"$E2E_DIR/driver.log" 2>&1 || abort "the value C cannot be written"
expect_reg "$USER_RUN" C 'C:\windows\notepad.exe'
for value in 'ĉ|C:\q\ĉat.exe' 'Cat|C:\q\Cat.exe'; do
  wine reg add "$RUN" /v "${value%%|*}" /d "${value#*|}" "/reg:$QS_BITS" /f </dev/null \
    >>"$E2E_DIR/driver.log" 2>&1 || abort "the value ${value%%|*} cannot be written"
done
standin_window netbus "$C_DRIVE/q/Ĉat.exe" 'C:\q\Ĉat.exe' TApplication 'NetBus Server'
printf 'an innocent program\r\n' >"$C_DRIVE/q/Cat.exe"
cp "$C_DRIVE/q/Ĉat.exe" "$E2E_DIR/Ĉat.exe.original"
cp "$C_DRIVE/q/Cat.exe" "$E2E_DIR/Cat.exe.original"

start_quellspur "$APP\\Quellspur.exe"
must confirm-splash
must click '&Scan Now'
FOUND='NetBus Pro Found as: C:\q\Ĉat.exe'
expect_lines <<EOF
$FOUND Start entry in: HKEY_LOCAL_MACHINE Run/ĉ
$FOUND Start entry in: HKEY_CURRENT_USER Run/Ĉ
$FOUND Activ now, started by: -unknown-
EOF

must select 0
must click '&Remove start'
must select 1
must click '&Remove start'
must select 2
must click '&Kill Process'
expect_exit_code netbus 200
expect_lines <<EOF
$ERASED$FOUND Start entry in: HKEY_LOCAL_MACHINE Run/ĉ
$ERASED$FOUND Start entry in: HKEY_CURRENT_USER Run/Ĉ
$TERMINATED$FOUND Activ now, started by: -unknown-
EOF

expect_no_reg "$RUN" 'ĉ'
expect_reg "$RUN" Cat 'C:\q\Cat.exe'
expect_no_reg "$USER_RUN" 'Ĉ'
expect_reg "$USER_RUN" C 'C:\windows\notepad.exe'
expect_no_file "$C_DRIVE/q/Ĉat.exe"
expect_same_file "$C_DRIVE/q/Cat.exe" "$E2E_DIR/Cat.exe.original"
expect_quarantine <<'EOF'
Changes.txt
Ĉat.exe.Backdoor
EOF
expect_same_file "$APP_DIR/BackDoors/Ĉat.exe.Backdoor" "$E2E_DIR/Ĉat.exe.original"

# The log is in the ANSI code page, which has no Ĉ.
expect_log <<'EOF'
NetBus Pro Found as: C:\q\\u0108at.exe Start entry in: HKEY_LOCAL_MACHINE Run/\u0109
NetBus Pro Found as: C:\q\\u0108at.exe Start entry in: HKEY_CURRENT_USER Run/\u0108
NetBus Pro Found as: C:\q\\u0108at.exe Activ now, started by: -unknown-
Removing start in registry: HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run,\u0109
Removing start in registry: HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run,\u0108
Moving: C:\q\\u0108at.exe to: C:\Quellspur\BackDoors\\u0108at.exe.Backdoor
EOF

must tray rdown
must tray-menu "$TRAY_EXIT"
expect_exit_code quellspur 0

e2e_end
