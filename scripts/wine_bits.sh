# Sourced by the scripts that run Windows programs under Wine. Wine starts a 32-bit Windows program
# through a 32-bit Linux loader, and some kernels start no 32-bit program at all; there Wine runs
# 64-bit Windows programs only. choose_wine_bits sets WINE_BITS to 32 where 32-bit programs run and
# to 64 where they don't, and then puts commands named wine and wine-stable that use the 64-bit
# loader alone first on PATH (Debian's own pick the 32-bit one whenever it is installed). $1 names
# the folder for those commands.
choose_wine_bits() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE_BITS=32
    return
  fi
  WINE_BITS=64
  mkdir -p "$1"
  local name
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
      >"$1/$name"
    chmod 755 "$1/$name"
  done
  export PATH="$1:$PATH"
}
