#!/usr/bin/env bash
# Builds the release packages into build/release and checks each of them:
#   DashCamSetting-<version>-windows-x64.zip   DashCamSetting.exe, dashcfg.exe, ReadMe.txt, LICENSE.txt
#   dashcfg_<version>_<arch>.deb               dashcfg, its manual page, shell completions, the licence
#   dashcfg-<version>-linux-<machine>.tar.gz   the same files as the .deb
# The packages come from the workflow presets windows-release and linux-release (configure,
# build, CPack). Each is unpacked into a temporary folder (nothing is installed) and must hold
# exactly its files, none of them unstripped, a test or a sanitizer build; its programs must
# start: the editor under Wine on a copy of the sample card until its first painted window, then
# closed; dashcfg of both builds with --version and show on the sample card; the Windows
# programs' version resources must carry the project's version.
#
#   bash scripts/release.sh           clean release builds, as from a fresh clone, and a fresh
#                                     Wine prefix for the checks
#   bash scripts/release.sh --quick   the release build trees and the prefix kept (incremental)
#   bash scripts/release.sh --check FOLDER
#                                     only the checks, on the packages in FOLDER (after a build,
#                                     whose trees hold the version and the checks' Windows tools)
#
# Exit status: 0 every package made and passed; 1 a check failed; 2 a build failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

release=$root/build/release
quick=0
check_only=0
case "${1:-}" in
  --quick) quick=1 ;;
  --check) [[ -d "${2:-}" ]] || { echo "release: --check needs a folder of packages" >&2; exit 2; }
           check_only=1 release=$(realpath "$2") ;;
  "") ;;
  *) echo "usage: bash scripts/release.sh [--quick | --check FOLDER]" >&2; exit 2 ;;
esac

check_tree=$root/build/release-check   # the checks' own Wine prefix and display
windows_tree=$root/build/windows-release
linux_tree=$root/build/linux-release
logs=$root/build/release-logs     # the build steps' output

step() { printf '\n=== release: %s ===\n' "$*"; }
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ((!check_only)); then
  step "dependencies"
  bash scripts/install-deps.sh

  step "build: the workflow presets linux-release and windows-release$( ((quick)) && echo ' (kept trees)')"
  if ((quick)); then
    rm -rf "$release" "$logs"
  else
    rm -rf "$release" "$logs" "$windows_tree" "$linux_tree" "$check_tree"
  fi
  mkdir -p "$logs"
  # Runs a build step with its output in a log, shown only when the step fails.
  logged() {
    local name=$1
    shift
    if ! "$@" >"$logs/$name.log" 2>&1; then
      tail -n 40 "$logs/$name.log" >&2
      echo "release: '$*' failed; the whole output is in $logs/$name.log" >&2
      exit 2
    fi
  }
  logged linux-release cmake --workflow --preset linux-release
  logged windows-release cmake --workflow --preset windows-release
  logged release-check-tools cmake --build --preset windows-release --target version_info_check release_first_paint
  rm -rf "$release/_CPack_Packages"
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$linux_tree/CMakeCache.txt")
[[ -n "$version" ]] || { echo "release: no project version in $linux_tree/CMakeCache.txt" >&2; exit 2; }
arch=$(dpkg --print-architecture)
machine=$(uname -m)
zip_name=DashCamSetting-$version-windows-x64.zip
deb_name=dashcfg_${version}_$arch.deb
tgz_name=dashcfg-$version-linux-$machine.tar.gz
echo "version $version"

step "packages"
expected_packages=$(printf '%s\n' "$deb_name" "$tgz_name" "$zip_name" | sort)
made_packages=$(ls "$release" | sort)
[[ "$made_packages" == "$expected_packages" ]] \
  || fail "${release#$root/} holds $(echo $made_packages), expected $(echo $expected_packages)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The files below a folder, relative to it, sorted, one a line.
files_below() { (cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort); }

# Fails when a package's folder does not hold exactly the expected files.
expect_files() {
  local package=$1 folder=$2
  shift 2
  local expected
  expected=$(printf '%s\n' "$@" | LC_ALL=C sort)
  local held
  held=$(files_below "$folder")
  if [[ "$held" != "$expected" ]]; then
    fail "$package: files differ from the expected ones (< expected, > held):"
    diff <(echo "$expected") <(echo "$held") | grep '^[<>]' >&2 || true
  fi
}

# Marks of a sanitizer runtime or a GoogleTest program inside a binary, linked in or imported.
FORBIDDEN_MARKS='__asan_|__ubsan_|__lsan_|__tsan_|AddressSanitizer|UndefinedBehaviorSanitizer|libasan|libubsan|gtest_filter|GTEST_'
# True when the binary is a test or sanitizer build.
is_test_or_sanitizer_build() { grep -aqE "$FORBIDDEN_MARKS" "$1"; }

# Fails when a program file is a test or sanitizer build, or not stripped: stripping a copy
# must not make it smaller (the size check measures the program the same way).
check_binary() {
  local package=$1 file=$2 strip=$3
  if is_test_or_sanitizer_build "$file"; then
    fail "$package: $(basename "$file") is a test or sanitizer build ($(grep -aoE "$FORBIDDEN_MARKS" "$file" | sort -u | head -3 | tr '\n' ' '))"
  fi
  "$strip" -o "$scratch/stripped" "$file"
  local size stripped
  size=$(stat -c %s "$file")
  stripped=$(stat -c %s "$scratch/stripped")
  ((size == stripped)) || fail "$package: $(basename "$file") is not stripped ($size bytes, $stripped stripped)"
  rm -f "$scratch/stripped"
}

# The checker must see the test and sanitizer builds of the test trees for what they are.
step "the checker against test builds"
for probe in build/native/cli/dashcfg build/native/tests/core_tests build/windows/tests/core_tests.exe; do
  if [[ -f "$probe" ]]; then
    if is_test_or_sanitizer_build "$probe"; then
      echo "recognised as a test or sanitizer build: $probe"
    else
      fail "the check does not recognise $probe as a test or sanitizer build"
    fi
  fi
done

# A fresh copy of the sample card, and a fingerprint to see that showing it changes nothing.
new_card() {
  rm -rf "$scratch/card"
  cp -r samples/card "$scratch/card"
}
card_sum() { (cd "$scratch/card" && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum); }
sample_sum=$(cd samples/card && find . -type f -print0 | LC_ALL=C sort -z | xargs -0 sha256sum)

# Runs `dashcfg --version` and `dashcfg show` on a copy of the sample card with the given
# command prefix (nothing natively, wine for the Windows build) and card path.
check_dashcfg() {
  local package=$1 card_arg=$2
  shift 2
  local out
  if out=$("$@" --version </dev/null 2>"$scratch/err"); then
    out=${out//$'\r'/}
    [[ "$out" == "dashcfg $version" ]] || fail "$package: dashcfg --version printed '$out', not 'dashcfg $version'"
  else
    fail "$package: dashcfg --version exited with an error: $(cat "$scratch/err")"
  fi
  new_card
  if out=$("$@" show "$card_arg" </dev/null 2>"$scratch/err"); then
    grep -Eq 'Parking timer: +12 h' <<<"$out" || fail "$package: dashcfg show printed no settings: $out"
  else
    fail "$package: dashcfg show on the sample card failed: $(cat "$scratch/err")"
  fi
  [[ "$(card_sum)" == "$sample_sum" ]] || fail "$package: dashcfg show changed the card"
}

check_licence() {
  local package=$1 file=$2
  if [[ -f "$file" ]] && ! diff -q <(tr -d '\r' <"$file") LICENSE >/dev/null; then
    fail "$package: $(basename "$file") is not the project's LICENSE"
  fi
}

step "$deb_name"
if [[ -f "$release/$deb_name" ]]; then
  deb_dir=$scratch/deb
  dpkg-deb -x "$release/$deb_name" "$deb_dir"
  expect_files "$deb_name" "$deb_dir" usr/bin/dashcfg usr/share/man/man1/dashcfg.1.gz usr/share/doc/dashcfg/copyright \
    usr/share/bash-completion/completions/dashcfg usr/share/zsh/vendor-completions/_dashcfg \
    usr/share/fish/vendor_completions.d/dashcfg.fish
  depends=$(dpkg-deb -f "$release/$deb_name" Depends)
  echo "Depends: $depends"
  grep -q 'libc6' <<<"$depends" || fail "$deb_name: its dependencies are not declared (Depends: '$depends')"
  grep -Eq 'asan|ubsan|gtest' <<<"$depends" && fail "$deb_name: depends on a sanitizer or test library: $depends"
  [[ $(dpkg-deb -f "$release/$deb_name" Version) == "$version" ]] || fail "$deb_name: wrong package version"
  if [[ -f "$deb_dir/usr/bin/dashcfg" ]]; then
    check_binary "$deb_name" "$deb_dir/usr/bin/dashcfg" strip
    check_dashcfg "$deb_name" "$scratch/card" "$deb_dir/usr/bin/dashcfg"
  fi
  if [[ -f "$deb_dir/usr/share/man/man1/dashcfg.1.gz" ]]; then
    page=$(zcat "$deb_dir/usr/share/man/man1/dashcfg.1.gz")
    grep -q "^\.TH DASHCFG \"1\".*dashcfg $version" <<<"$page" || fail "$deb_name: the manual page has no title of dashcfg $version"
    for command in show set export apply diff reset clock check; do
      grep -q "^\.SS $command\$" <<<"$page" || fail "$deb_name: the manual page does not describe '$command'"
    done
  fi
  check_licence "$deb_name" "$deb_dir/usr/share/doc/dashcfg/copyright"
fi

step "$tgz_name"
if [[ -f "$release/$tgz_name" ]]; then
  tgz_dir=$scratch/tgz
  mkdir -p "$tgz_dir"
  tar -xzf "$release/$tgz_name" -C "$tgz_dir"
  top=${tgz_name%.tar.gz}
  expect_files "$tgz_name" "$tgz_dir" "$top/bin/dashcfg" "$top/share/man/man1/dashcfg.1.gz" "$top/share/doc/dashcfg/copyright" \
    "$top/share/bash-completion/completions/dashcfg" "$top/share/zsh/vendor-completions/_dashcfg" \
    "$top/share/fish/vendor_completions.d/dashcfg.fish"
  if [[ -f "$tgz_dir/$top/bin/dashcfg" ]]; then
    check_binary "$tgz_name" "$tgz_dir/$top/bin/dashcfg" strip
    check_dashcfg "$tgz_name" "$scratch/card" "$tgz_dir/$top/bin/dashcfg"
  fi
  check_licence "$tgz_name" "$tgz_dir/$top/share/doc/dashcfg/copyright"
fi

step "$zip_name"
if [[ -f "$release/$zip_name" ]]; then
  zip_dir=$scratch/zip
  mkdir -p "$zip_dir"
  (cd "$zip_dir" && cmake -E tar xf "$release/$zip_name")
  top=${zip_name%.zip}
  win=$zip_dir/$top
  expect_files "$zip_name" "$zip_dir" "$top/DashCamSetting.exe" "$top/dashcfg.exe" "$top/ReadMe.txt" "$top/LICENSE.txt"
  check_licence "$zip_name" "$win/LICENSE.txt"
  if [[ -f "$win/ReadMe.txt" ]]; then
    grep -q "^Dash cam settings editor $version"$'\r'"\$" "$win/ReadMe.txt" \
      || fail "$zip_name: ReadMe.txt does not name version $version or lacks Windows line ends"
  fi
  for program in DashCamSetting.exe dashcfg.exe; do
    [[ -f "$win/$program" ]] && check_binary "$zip_name" "$win/$program" x86_64-w64-mingw32-strip
  done
  if [[ -f "$win/DashCamSetting.exe" ]]; then
    size=$(stat -c %s "$win/DashCamSetting.exe")
    echo "DashCamSetting.exe: $size bytes"
    ((size <= 2097152)) || fail "$zip_name: DashCamSetting.exe is $size bytes, above 2 MiB"
  fi

  mkdir -p "$check_tree"
  bash cmake/wine-prefix-setup.sh "$check_tree" >/dev/null || fail "no Wine prefix for the checks"
  source cmake/wine-env.sh
  wine_env "$check_tree"
  wine_path() { printf 'Z:%s' "${1//\//\\}"; }
  tools=$windows_tree/release-check

  if [[ -f "$win/DashCamSetting.exe" && -f "$win/dashcfg.exe" ]]; then
    wine "$tools/version_info_check.exe" "$version" "$(wine_path "$win/DashCamSetting.exe")" \
      "$(wine_path "$win/dashcfg.exe")" </dev/null >"$scratch/version.txt" 2>&1 \
      || { tr -d '\r' <"$scratch/version.txt" >&2; fail "$zip_name: a version resource does not carry $version"; }
    tr -d '\r' <"$scratch/version.txt" | grep -E 'OriginalFilename|FileDescription|ProductVersion' || true
  fi
  if [[ -f "$win/dashcfg.exe" ]]; then
    check_dashcfg "$zip_name" "$(wine_path "$scratch/card")\\" wine "$win/dashcfg.exe"
  fi
  if [[ -f "$win/DashCamSetting.exe" ]]; then
    new_card
    # The editor runs from the unpacked folder (a fixed drive to Wine, so it does not copy
    # itself away first) until its main window is painted; then it is asked to close.
    if wine "$tools/release_first_paint.exe" --timeout-ms 60000 "$(wine_path "$win/DashCamSetting.exe")" \
        "$(wine_path "$scratch/card")\\" </dev/null >"$scratch/paint.txt" 2>&1; then
      tr -d '\r' <"$scratch/paint.txt"
    else
      tr -d '\r' <"$scratch/paint.txt" >&2
      fail "$zip_name: the editor did not show its painted window and close"
    fi
    [[ "$(card_sum)" == "$sample_sum" ]] || fail "$zip_name: opening and closing the editor changed the card"
  fi
  wineserver -k 2>/dev/null || true
fi

step "packages in ${release#$root/}"
for package in "$zip_name" "$deb_name" "$tgz_name"; do
  [[ -f "$release/$package" ]] || continue
  size=$(stat -c %s "$release/$package")
  printf '%-42s %9s  (%s bytes)\n' "$package" "$(numfmt --to=iec-i --suffix=B "$size")" "$size"
done
if ((failures)); then
  echo "release: $failures check(s) failed" >&2
  exit 1
fi
echo "release: every package was made and passed its checks"
