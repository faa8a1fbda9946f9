#!/usr/bin/env bash
# Runs a Windows program under Wine in the private prefix of the build tree it belongs to.
# WINE_BUILD_DIR names the build tree (ctest sets it); otherwise the program's own folder is
# searched upwards for a CMakeCache.txt.
set -euo pipefail

find_build_dir() {
  local dir
  dir=$(cd "$(dirname "$1")" && pwd)
  while [[ "$dir" != "/" ]]; do
    [[ -f "$dir/CMakeCache.txt" ]] && { echo "$dir"; return; }
    dir=$(dirname "$dir")
  done
  pwd
}

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_env "${WINE_BUILD_DIR:-$(find_build_dir "$1")}"
exec wine "$@"
