#!/usr/bin/env bash
# The layer check refuses each kind of offence and names it: an include up the layers, a Windows
# header in a portable file, a Win32 header in a portable file, a library linked up the layers,
# and a command-line include of a layer beside it. A copy of the real tree passes.
set -euo pipefail
cd "$(dirname "$0")/../.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fresh_copy() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  cp -r platform window localisation record timezones skin pages app cli "$work/tree/"
}

# expect_refused <what> <text the report must hold>: runs the check on the prepared copy.
expect_refused() {
  local output
  if output=$(python3 tools/check_layers.py "$work/tree" 2>&1); then
    echo "FAIL: $1: the check passed"
    failures=$((failures + 1))
  elif ! grep -qF -- "$2" <<<"$output"; then
    echo "FAIL: $1: the report does not name '$2':"
    echo "$output"
    failures=$((failures + 1))
  else
    echo "ok: $1"
  fi
}

fresh_copy
if python3 tools/check_layers.py "$work/tree" >/dev/null; then echo "ok: the tree as it is passes"; else
  echo "FAIL: the tree as it is does not pass"; failures=$((failures + 1)); fi

fresh_copy
echo '#include "pages/PageControlIds.h"' >>"$work/tree/record/SettingFields.cpp"
expect_refused "record including pages" "record/SettingFields.cpp:$(wc -l <record/SettingFields.cpp | awk '{print $1 + 1}'): includes pages/PageControlIds.h"

fresh_copy
echo '#include <windows.h>' >>"$work/tree/skin/SliderText.cpp"
expect_refused "a Windows header in a portable file" "skin/SliderText.cpp"

fresh_copy
echo '#include "skin/win32/RButton.h"' >>"$work/tree/pages/PageMetrics.h"
expect_refused "a Win32 header in a portable file" "pages/PageMetrics.h"

fresh_copy
echo 'target_link_libraries(dcs_timezones PUBLIC dcs_skin)' >>"$work/tree/timezones/CMakeLists.txt"
expect_refused "a library linked up the layers" "timezones/CMakeLists.txt"

fresh_copy
echo '#include "timezones/TimeZoneInfoManager.h"' >>"$work/tree/cli/Profile.cpp"
expect_refused "the command line including a layer it stands beside" "cli/Profile.cpp"

fresh_copy
echo '#include "app/CommandLine.h"' >>"$work/tree/cli/Profile.cpp"
expect_refused "the command line including app" "cli/Profile.cpp"

if ((failures > 0)); then
  echo "layer check test: $failures failure(s)"
  exit 1
fi
echo "layer check test: passed"
