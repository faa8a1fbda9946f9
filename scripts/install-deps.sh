#!/usr/bin/env bash
# Installs the Debian packages this project builds and tests with. Idempotent: when every
# package is already present it only checks and returns within a second.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev    # native build, sanitizers, libFuzzer
  googletest                                          # GoogleTest sources, built per target
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64      # the Windows program (-posix compilers)
  zlib1g-dev libz-mingw-w64-dev                        # zlib for the PNG decoder, natively and for Windows (static)
  wine wine64                                          # runs the Windows tests and the program
  xvfb xauth x11-utils xdotool imagemagick                      # a display for GUI runs and screenshots
  python3                                              # picture generator and sample card maker
  fonts-wqy-microhei                                   # CJK glyphs for the Korean, Japanese and Chinese texts
  nlohmann-json3-dev libcli11-dev                      # JSON and argument parsing of the command-line companion
  help2man dpkg-dev                                    # scripts/release.sh: dashcfg's manual page, the .deb's dependencies
  hyperfine time libbenchmark-dev                      # scripts/benchmark.sh: whole runs, peak memory, native timings
)

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "install-deps: missing packages: ${missing[*]}; run this script as root" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"
