#!/usr/bin/env bash
# Windows NT: "Millenium" starts from a win.ini in UTF-16 with its byte-order mark, and then from
# one in UTF-8 with its mark. "QuellScan scan --clean" ends it and takes its load= and run= lines
# out, win.ini otherwise byte for byte as it was, in its encoding; after a section has been added
# above [windows], "QuellScan restore --all" puts the lines back into [windows], and win.ini is
# again what it was below the new section.
source "$(dirname "$0")/lib.sh"
e2e_begin win_ini_encodings

WIN_INI="$C_DRIVE/windows/win.ini"
settings 0 0 0

# The lines given, each ended with CR LF, in the encoding named (utf16 or utf8), its byte-order
# mark first.
encoded() {
  local encoding="$1"
  shift
  if [ "$encoding" = utf16 ]; then
    printf '\xff\xfe'
    printf '%s\r\n' "$@" | iconv -f UTF-8 -t UTF-16LE
  else
    printf '\xef\xbb\xbf'
    printf '%s\r\n' "$@"
  fi
}

# Characters beyond the ANSI code page, which only the file's own encoding holds.
FONTS=('[fonts]' 'Noto Sans CJK (中文)=NotoSansCJK.ttc')
WINDOWS_HEAD=('[windows]' 'Beep=yes')
START=('load=C:\SYSUPD\MSRUNDLL.EXE' 'run=C:\SYSUPD\MSRUNDLL.EXE /s')
REST=('NullPort=None' '[Desktop]' 'Wallpaper=C:\Bilder\Grüße ☃.bmp')

for encoding in utf16 utf8; do
  encoded "$encoding" "${WINDOWS_HEAD[@]}" "${START[@]}" "${REST[@]}" >"$WIN_INI"
  cp "$WIN_INI" "$E2E_DIR/win.ini.$encoding"
  standin_window "millenium_$encoding" "$C_DRIVE/SYSUPD/MSRUNDLL.EXE" 'C:\SYSUPD\MSRUNDLL.EXE' \
    ThunderRT5Form 'System Update'

  quellscan scan --clean
  expect_quellscan_exit 0 "scan --clean with a win.ini in $encoding"
  grep -q 'Every finding is dealt with.' "$E2E_DIR/quellscan.out" ||
    fail "scan --clean ($encoding) says: $(tr -d '\r' <"$E2E_DIR/quellscan.out" | tail -n 1)"
  expect_exit_code "millenium_$encoding" 200
  encoded "$encoding" "${WINDOWS_HEAD[@]}" "${REST[@]}" >"$E2E_DIR/cleaned.$encoding"
  expect_same_file "$WIN_INI" "$E2E_DIR/cleaned.$encoding"
  expect_same_file "$C_DRIVE/windows/win.bac" "$E2E_DIR/win.ini.$encoding"

  # A section written above [windows] since: the old line numbers now point into it.
  encoded "$encoding" "${FONTS[@]}" "${WINDOWS_HEAD[@]}" "${REST[@]}" >"$WIN_INI"
  quellscan restore --all --trust-record
  expect_quellscan_exit 0 "restore --all into a win.ini in $encoding"
  encoded "$encoding" "${FONTS[@]}" "${WINDOWS_HEAD[@]}" "${START[@]}" "${REST[@]}" \
    >"$E2E_DIR/restored.$encoding"
  expect_same_file "$WIN_INI" "$E2E_DIR/restored.$encoding"
done

# Each clean-up's lines were recorded with their section and the kept lines around them, and
# marked restored. The record doubles every backslash.
T=$'\t'
LOAD='load=C:\\SYSUPD\\MSRUNDLL.EXE'
RUN='run=C:\\SYSUPD\\MSRUNDLL.EXE /s'
AROUND="[windows]${T}Beep=yes${T}NullPort=None"
ENTRY="win.ini${T}Millenium${T}C:\\\\windows\\\\win.ini${T}3${T}$AROUND${T}$LOAD${T}4${T}$AROUND${T}$RUN"
expect_record <<EOF
$ENTRY
restored${T}Millenium${T}2
$ENTRY
restored${T}Millenium${T}4
EOF
e2e_end
