#!/usr/bin/env bash
# Takes the current pictures as the new golden pictures, for when a change of the skin, its
# drawing or the pages' look is meant. Builds the Windows tree and runs under Wine the skin
# gallery test and the end-to-end screenshot tests (they fail while the old goldens differ; that
# is expected here), then copies the gallery's sheets from build/windows/gallery/ to
# tests/win32/golden/ and the screenshots as compared (the clock painted over) from
# build/windows/screenshots/checked/ to tests/e2e/golden/. Look at them before committing:
#
#     bash scripts/refresh-goldens.sh && git diff --stat tests/win32/golden tests/e2e/golden
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=build/windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target win32_tests e2e_tests
bash cmake/wine-prefix-setup.sh "$PWD/$build"

rm -f "$build"/gallery/*.png "$build"/screenshots/checked/*.png
WINE_BUILD_DIR=$PWD/$build bash cmake/wine-run.sh "$build/tests/win32_tests.exe" \
  --gtest_filter='SkinGallery.*' >/dev/null || true
WINE_BUILD_DIR=$PWD/$build bash cmake/wine-run.sh "$build/e2e/e2e_tests.exe" \
  --gtest_filter='*Screenshots.*:PagesTest.EveryPageLooksAsBeforeAtItsTopAndBottom' >/dev/null || true

# Copies every picture of a folder (not the pictures of differences) into a golden folder.
take() {
  local from=$1 to=$2 copied=0
  mkdir -p "$to"
  for picture in "$from"/*.png; do
    [[ -e $picture && $picture != *-diff.png ]] || continue
    cp "$picture" "$to"/
    copied=$((copied + 1))
  done
  if [[ $copied -eq 0 ]]; then
    echo "refresh-goldens: nothing was drawn into $from" >&2
    exit 1
  fi
  echo "refresh-goldens: $copied golden pictures taken from $from"
}
take "$build"/gallery tests/win32/golden
take "$build"/screenshots/checked tests/e2e/golden
