#!/usr/bin/env bash
# The portable zips: each holds a folder Quellspur with both programs and the README, and its
# programs run from wherever it is unpacked, here a path with a blank and a letter outside the
# ANSI code page. QuellScan finds a bare machine clean (exit 0) and a stand-in (exit 1), and
# writes its log beside itself; Quellspur starts and asks for its settings. Where Wine runs no 32-bit
# program, QS_ZIPS_TO_RUN names the zips whose programs run.
source "$(dirname "$0")/package_lib.sh"
e2e_begin portable_zip

for arch in win32 win64; do
  zip="$QS_RELEASE/Quellspur-$VERSION-$arch.zip"
  compare_text "the files in $(basename "$zip")" \
    "$(python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")" <<'EOF2'
Quellspur/
Quellspur/QuellScan.exe
Quellspur/Quellspur.exe
Quellspur/README.txt
EOF2
  python3 -m zipfile -e "$zip" "$C_DRIVE/Tools Ĉ/$arch/"
done

zips_to_run="${QS_ZIPS_TO_RUN:-win32 win64}"
for arch in $zips_to_run; do
  APP="C:\\Tools Ĉ\\$arch\\Quellspur"
  quellscan scan
  expect_quellscan_exit 0 "$arch scan"
done
standin_window netbus "$C_DRIVE/windows/system/Patch.exe" 'C:\windows\system\Patch.exe' \
  TApplication 'NetBus Server'
for arch in $zips_to_run; do
  APP="C:\\Tools Ĉ\\$arch\\Quellspur"
  APP_DIR="$C_DRIVE/Tools Ĉ/$arch/Quellspur"
  quellscan scan
  expect_quellscan_exit 1 "$arch scan with a stand-in"
  expect_log <<'EOF2'
NetBus Pro Found as: C:\windows\system\Patch.exe Activ now, started by: -unknown-
EOF2

  start_quellspur "$APP\\Quellspur.exe"
  must confirm-splash
  must wait-for Options visible
  must close Options
  must click '&Exit'
  expect_exit_code quellspur 0
done

e2e_end
