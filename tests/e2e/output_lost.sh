#!/usr/bin/env bash
# QuellScan's standard output on a device that refuses every write, as a full disk does (Linux's
# /dev/full under Wine): "quarantine", "--help" and "scan" end with exit code 2 and say why on the
# error stream, where before they ended with 0 or 1 and nothing anywhere.
source "$(dirname "$0")/lib.sh"
e2e_begin output_lost

SYS="$C_DRIVE/windows/system"
settings 0 0 0
standin_window deepthroat "$SYS/Systray.exe" 'C:\windows\system\Systray.exe' TApplication System32
# Something in quarantine, so that its listing has lines to write.
quellscan scan --clean
expect_quellscan_exit 0 "scan --clean"

for args in quarantine --help scan; do
  QS_EXIT=0
  wine "$APP\\QuellScan.exe" $args </dev/null >/dev/full 2>"$E2E_DIR/quellscan.err" || QS_EXIT=$?
  expect_quellscan_exit 2 "$args onto a full device"
  grep -q '^QuellScan: the output could not be written: .' "$E2E_DIR/quellscan.err" ||
    fail "QuellScan $args onto a full device says: $(head -c 300 "$E2E_DIR/quellscan.err")"
  head -n 1 "$E2E_DIR/quellscan.err"
done
# Written somewhere that takes it, the same listing ends with 0.
quellscan quarantine
expect_quellscan_exit 0 quarantine
[ -s "$E2E_DIR/quellscan.out" ] || fail "quarantine wrote nothing"
e2e_end
