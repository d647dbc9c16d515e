#!/usr/bin/env bash
# Windows NT: "QuellScan scan --clean --move-files" quarantines the NetBus stand-in, an executable
# grown to 100 MB. "QuellScan restore --all" is killed while it copies the file back: it leaves a
# partial file under the temporary name beside the file's place, and none at the place itself. A
# second "restore --all" removes the partial file, brings the executable back whole (exit 0),
# marks its entry restored once and empties the quarantine. (Each with --trust-record: Wine keeps
# no access list, so the record is the user's.)
source "$(dirname "$0")/lib.sh"
e2e_begin restore_killed

SYS="$C_DRIVE/windows/system"
PATCH="$SYS/Patch.exe"
PARTIAL="$PATCH.quellspur-restore"
COPY="$APP_DIR/BackDoors/Patch.exe.Backdoor"

settings 0 0 0
# The stand-in with 100 MB behind its image, which Windows does not load.
mkdir -p "$SYS"
cp "$TOOLS_DIR/standin_window.exe" "$PATCH"
truncate -s 100M "$PATCH"
ORIGINAL_SHA256="$(sha256sum <"$PATCH" | cut -d ' ' -f 1)"
launch netbus 'C:\windows\system\Patch.exe' TApplication 'NetBus Server' hidden
drv wait-for 'NetBus Server' exists || abort "the grown stand-in shows no window"

quellscan scan --clean --move-files
expect_quellscan_exit 0 "scan --clean --move-files"
expect_exit_code netbus 200
expect_no_file "$PATCH"
[ -f "$COPY" ] || abort "the stand-in was not quarantined"
FULL="$(stat -c %s "$COPY")"

# Killed (by its process id) as soon as the temporary file holds part of the copy.
wine "$APP\\QuellScan.exe" restore --all --trust-record </dev/null >"$E2E_DIR/killed.out" \
  2>"$E2E_DIR/killed.err" &
restore_pid=$!
caught=0
for _ in $(seq 6000); do
  size="$(stat -c %s "$PARTIAL" 2>/dev/null || echo 0)"
  if [ "$size" -gt 0 ] && [ "$size" -lt "$FULL" ]; then
    kill -KILL "$restore_pid"
    caught="$size"
    break
  fi
  kill -0 "$restore_pid" 2>/dev/null || break
  sleep 0.01
done
wait "$restore_pid" 2>/dev/null || true
[ "$caught" -gt 0 ] || abort "the first restore was not caught while it copied the file"
echo "-> the first restore killed with $caught of $FULL bytes copied"
expect_no_file "$PATCH"
[ -f "$PARTIAL" ] || fail "the partial copy is not where the restore was killed"
[ "$(stat -c %s "$COPY")" = "$FULL" ] || fail "the quarantine copy changed"

quellscan restore --all --trust-record
expect_quellscan_exit 0 "the second restore --all"
if [ ! -f "$PATCH" ]; then
  fail "the second restore did not bring the file back"
elif [ "$(sha256sum <"$PATCH" | cut -d ' ' -f 1)" != "$ORIGINAL_SHA256" ]; then
  fail "the file came back, but not whole"
fi
expect_no_file "$PARTIAL"
expect_quarantine <<'EOF2'
Changes.txt
EOF2
[ "$(grep -c $'\trestored\t' "$APP_DIR/BackDoors/Changes.txt")" = 1 ] ||
  fail "the record does not mark the file restored exactly once"
quellscan restore --all --trust-record
expect_quellscan_exit 0 "a third restore --all"
compare_text "the third restore" "$(tr -d '\r' <"$E2E_DIR/quellscan.out")" <<<'Nothing to restore.'
e2e_end
