#!/usr/bin/env bash
# Creates the build tree's Wine prefix once, before any test runs, so that the first test does
# not pay for (or race with) the prefix creation. Then keeps the prefix's server running for a
# while, so the tests do not each wait for a new one to start.
#   wine-prefix-setup.sh <build dir> [<formatter stand-in DLL>]
# Wine has no formatter of its own, and the program takes it from the system folder only: the
# stand-in, when given, is copied into the prefix's system folder on every run, so the tests
# always meet the one just built.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_env "$1"

# Runs a Wine command quietly, trying again a few times: a fresh prefix's first programs can
# fail while Wine is still settling.
quietly() {
  local attempt
  for attempt in 1 2 3; do
    "$@" </dev/null >/dev/null 2>&1 && return 0
    echo "wine-prefix-setup: '$*' failed (attempt $attempt)" >&2
    sleep 2
  done
  return 1
}

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  quietly wineboot --init || exit 1
  wineserver -w
fi

# Drive R: is a removable drive on a folder of the build tree: a memory card for the tests
# that start the program from a card or format one. Wine reads drive types when its server
# starts, so the server must stop once after the type is set.
# Like Windows, the UI fonts link to a font with Korean, Japanese and Chinese glyphs, so that
# those languages show real text rather than boxes.
removable=$1/removable-drive
if [[ ! -f "$WINEPREFIX/.dcs-prefix-ready" ]]; then
  mkdir -p "$removable"
  ln -sfn "$removable" "$WINEPREFIX/dosdevices/r:"
  quietly wine reg add 'HKLM\Software\Wine\Drives' /v r: /d floppy /f || exit 1
  for font in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    quietly wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$font" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f || exit 1
  done
  wineserver -w
  touch "$WINEPREFIX/.dcs-prefix-ready"
fi
if [[ -n ${2:-} ]]; then
  cp -f "$2" "$WINEPREFIX/drive_c/windows/system32/fmifs.dll" || exit 1
fi
# The server outlives this script, and so do the services that the first program starts
# (services.exe, winedevice.exe). Start both here with their output on /dev/null, or a test's
# services would inherit ctest's output pipe and ctest would wait on it until its timeout.
wineserver -p30 </dev/null >/dev/null 2>&1 || true  # fails harmlessly when one already runs
quietly wine cmd.exe /c exit || exit 1
echo "wine prefix ready: $WINEPREFIX (display $DISPLAY)"
