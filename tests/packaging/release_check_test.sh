#!/usr/bin/env bash
# The release check must refuse broken packages. From the packages that scripts/release.sh made
# in build/release it makes broken copies and checks them with `release.sh --check`:
#   the .deb also holds a test program and depends on the sanitizer runtime;
#   the tarball lacks the manual page;
#   the zip's editor is a program that never shows a window (and has no version resource), and
#   its dashcfg.exe is an unstripped build (when the windows test tree has one).
# Each fault must be reported, and the check must fail.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
release=$root/build/release

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
broken=$scratch/packages
mkdir -p "$broken"

deb=$(ls "$release"/dashcfg_*.deb)
tgz=$(ls "$release"/dashcfg-*.tar.gz)
zip=$(ls "$release"/DashCamSetting-*.zip)

# The .deb: an extra test program, and the sanitizer runtime among its dependencies.
dpkg-deb -R "$deb" "$scratch/deb"
printf 'a test program\0--gtest_filter=\0' >"$scratch/deb/usr/bin/core_tests"
chmod +x "$scratch/deb/usr/bin/core_tests"
sed -i 's/^Depends: /Depends: libasan8, /' "$scratch/deb/DEBIAN/control"
dpkg-deb --root-owner-group -b "$scratch/deb" "$broken/$(basename "$deb")" >/dev/null

# The tarball without the manual page.
mkdir "$scratch/tgz"
tar -xzf "$tgz" -C "$scratch/tgz"
rm "$scratch"/tgz/*/share/man/man1/dashcfg.1.gz
(cd "$scratch/tgz" && tar -czf "$broken/$(basename "$tgz")" .)

# The zip: an editor that ends without a window, and an unstripped dashcfg.exe.
mkdir "$scratch/zip"
(cd "$scratch/zip" && cmake -E tar xf "$zip")
top=$(ls "$scratch/zip")
cp build/windows-release/release-check/version_info_check.exe "$scratch/zip/$top/DashCamSetting.exe"
unstripped=build/windows/cli/dashcfg.exe
if [[ -f "$unstripped" ]]; then
  cp "$unstripped" "$scratch/zip/$top/dashcfg.exe"
fi
(cd "$scratch/zip" && cmake -E tar cf "$broken/$(basename "$zip")" --format=zip "$top")

code=0
bash scripts/release.sh --check "$broken" >"$scratch/out" 2>&1 || code=$?

failed=0
expect() {
  if ! grep -qF "$1" "$scratch/out"; then
    echo "FAIL: the release check did not report: $1" >&2
    failed=1
  fi
}
expect "$(basename "$deb"): files differ from the expected ones"
expect "> usr/bin/core_tests"
expect "$(basename "$deb"): depends on a sanitizer or test library"
expect "$(basename "$tgz"): files differ from the expected ones"
expect "< $(basename "$tgz" .tar.gz)/share/man/man1/dashcfg.1.gz"
expect "$(basename "$zip"): a version resource does not carry"
expect "$(basename "$zip"): the editor did not show its painted window and close"
if [[ -f "$unstripped" ]]; then
  expect "$(basename "$zip"): dashcfg.exe is not stripped"
fi
if ((code != 1)); then
  echo "FAIL: the release check exited with $code on broken packages, not 1" >&2
  failed=1
fi
if ((failed)); then
  cat "$scratch/out" >&2
  exit 1
fi
echo "the release check refused every broken package"
