#!/usr/bin/env bash
# The layer check refuses each kind of offence and names it: an include up the layers, a Windows
# header in a portable file, a Win32 header in a portable file, a library linked up the layers,
# and a command-line include of a layer beside it. A copy of the real tree passes.
set -euo pipefail
cd "$(dirname "$0")/../.."

source tests/support/checker_cases.sh

fresh_copy() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  cp -r platform window localisation record timezones skin pages app cli "$work/tree/"
}

# expect_refused <what> <text the report must hold>: runs the check on the prepared copy.
expect_refused() { expect_check "$1" "$2" python3 tools/check_layers.py "$work/tree"; }

fresh_copy
expect_check "the tree as it is passes" "" python3 tools/check_layers.py "$work/tree"

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

finish "layer check test: passed"
