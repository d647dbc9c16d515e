#!/usr/bin/env bash
# Removes the prepared prefix after the scenarios; it takes more than a gigabyte.
set -euo pipefail
: "${QS_BUILD:?QS_BUILD must name the win32 build folder}"
rm -rf "$QS_BUILD/e2e/base"
