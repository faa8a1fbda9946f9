#!/usr/bin/env bash
# Runs a Windows program under Wine in the private prefix of the build tree it belongs to.
# The prefix lives in <build>/wineprefix; WINE_BUILD_DIR names the build tree (ctest sets it),
# otherwise the program's own folder is searched upwards for a CMakeCache.txt.
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

build_dir=${WINE_BUILD_DIR:-$(find_build_dir "$1")}
export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64
# A fixed locale keeps the ANSI code page at 1252 whatever the host runs with.
export LC_ALL=${DCS_WINE_LOCALE:-C.UTF-8}
exec wine "$@"
