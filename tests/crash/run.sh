#!/usr/bin/env bash
# Builds a plain dashcfg (no sanitizers: they do not mix with a preloaded library) and the fault
# injector, and pulls the card at every file-system call of every writing command.
#   tests/crash/run.sh [work folder]
set -euo pipefail
cd "$(dirname "$0")/../.."

cmake --preset linux-release >/dev/null
cmake --build --preset linux-release --target dashcfg
mkdir -p build/crash
gcc -shared -fPIC -O1 -Wall -Wextra -Werror -o build/crash/faultfs.so tests/crash/faultfs.c -ldl

work=${1:-$(mktemp -d)}
trap 'rm -rf "$work"' EXIT
timeout 900 python3 tests/crash/crash_test.py --dashcfg build/linux-release/cli/dashcfg \
    --preload build/crash/faultfs.so --sample samples/card --work "$work"
