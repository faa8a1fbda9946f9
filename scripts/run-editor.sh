#!/usr/bin/env bash
# Installs what is missing, builds the program, and opens the editor on a copy of the sample
# card (build/windows/sample-card, so the sample itself stays as it is) under Wine.
# With a display the editor opens in a window and this script waits until it is closed.
# Without one it runs on a virtual display, saves a screenshot, says where, and closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows

bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target DashCamSetting

rm -rf "$build/sample-card"
cp -r samples/card "$build/sample-card"

had_display=${DISPLAY:-}
if [[ -n "$had_display" ]] && ! xdpyinfo >/dev/null 2>&1; then
  echo "run-editor: display $had_display does not answer; using a virtual one"
  had_display=
  unset DISPLAY
fi
source cmake/wine-env.sh
wine_env "$build"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "run-editor: creating the Wine prefix (once)"
  wineboot --init >/dev/null 2>&1
  wineserver -w
fi

card=$(winepath -w "$build/sample-card")\\
program=$build/DashCamSetting.exe

if [[ -n "$had_display" ]]; then
  echo "run-editor: opening the editor on $build/sample-card"
  wine "$program" "$card"
  exit 0
fi

mkdir -p "$build/screenshots"
shot=$build/screenshots/editor.png
wine "$program" "$card" >/dev/null 2>&1 &
for _ in $(seq 100); do
  if xdotool search --onlyvisible --name "Dash cam setting" >/dev/null 2>&1; then break; fi
  sleep 0.2
done
sleep 1
import -window root "$shot"
wineserver -k 2>/dev/null || true
echo "run-editor: no display here; the editor ran on a virtual display and its screenshot is $shot"
