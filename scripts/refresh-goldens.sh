#!/usr/bin/env bash
# Takes the skin gallery's current pictures as its new golden pictures, for when a change of
# the skin or its drawing is meant. Builds the Windows tree, runs the gallery test under Wine
# (it fails while the old goldens differ; that is expected here), and copies the sheets it
# drew from build/windows/gallery/ to tests/win32/golden/. Look at them before committing:
#
#     bash scripts/refresh-goldens.sh && git diff --stat tests/win32/golden
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=build/windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target win32_tests
bash cmake/wine-prefix-setup.sh "$PWD/$build"

rm -f "$build"/gallery/*.png
WINE_BUILD_DIR=$PWD/$build bash cmake/wine-run.sh "$build/tests/win32_tests.exe" \
  --gtest_filter='SkinGallery.*' >/dev/null || true

mkdir -p tests/win32/golden
copied=0
for sheet in "$build"/gallery/*.png; do
  [[ -e $sheet && $sheet != *-diff.png ]] || continue
  cp "$sheet" tests/win32/golden/
  copied=$((copied + 1))
done
if [[ $copied -eq 0 ]]; then
  echo "refresh-goldens: the gallery test drew nothing; see $build/gallery" >&2
  exit 1
fi
echo "refresh-goldens: $copied golden pictures taken from $build/gallery"
