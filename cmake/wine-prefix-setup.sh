#!/usr/bin/env bash
# Creates the build tree's Wine prefix once, before any test runs, so that the first test does
# not pay for (or race with) the prefix creation. Then keeps the prefix's server running for a
# while, so the tests do not each wait for a new one to start.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_env "$1"

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot --init </dev/null >/dev/null 2>&1
  wineserver -w
fi
# The server outlives this script, and so do the services that the first program starts
# (services.exe, winedevice.exe). Start both here with their output on /dev/null, or a test's
# services would inherit ctest's output pipe and ctest would wait on it until its timeout.
wineserver -p 30 </dev/null >/dev/null 2>&1 || true  # fails harmlessly when one already runs
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
echo "wine prefix ready: $WINEPREFIX (display $DISPLAY)"
