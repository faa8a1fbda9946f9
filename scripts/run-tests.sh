#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test layer:
#   1. the picture generator's check (the committed PNGs are what the generator makes), and the
#      layer check (every include and link runs down the layers; tools/check_layers.py), and the
#      language check (every file has English's texts and the glossary's words),
#   2. native unit tests of the portable core with AddressSanitizer and UBSan, and the crash
#      test: a plain dashcfg with its card pulled at every file-system call (tests/crash/),
#   3. the fuzz targets, each for a short run from its seed corpus,
#   4. the Windows build's tests under Wine,
#   5. the release packages, each unpacked and its programs run (scripts/release.sh --quick),
#      and the release check itself against broken copies of them.
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS=${FUZZ_SECONDS:-15}

step() { printf '\n=== %s ===\n' "$*"; }

step "dependencies"
bash scripts/install-deps.sh

step "pictures"
python3 tools/pictures/check_pictures.py

step "layers: every include and link runs down the layers"
python3 tools/check_layers.py
bash tests/layers/check_layers_test.sh

step "languages: every file has English's texts and the glossary's words"
python3 tools/check_languages.py && bash tests/languages/check_languages_test.sh

step "native: portable core with sanitizers"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

step "crash: dashcfg's card pulled at every file-system call of every writing command"
bash tests/crash/run.sh

step "fuzz: every parser of card input for ${FUZZ_SECONDS}s"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for corpus in tests/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  work=$(mktemp -d)
  ./build/fuzz/tests/fuzz/fuzz_"$name" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
      "$work" "$corpus" 2>&1 | grep -E '^(stat::number_of_executed_units|Done|==|SUMMARY)' | sed "s/^/fuzz_$name: /"
  rm -rf "$work"
done

step "windows: the program's tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
status=0
ctest --preset windows || status=$?
WINEPREFIX="$PWD/build/windows/wineprefix" wineserver -k 2>/dev/null || true

step "release: every package built, unpacked and its programs run"
bash scripts/release.sh --quick || status=$?
bash tests/packaging/release_check_test.sh || status=$?
exit $status
