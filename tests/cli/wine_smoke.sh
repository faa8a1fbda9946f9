#!/usr/bin/env bash
# Smoke test of the Windows console build under Wine: show, show --json, set, a refused value,
# clock and help on a copy of the sample card.
#   wine_smoke.sh <dashcfg.exe> <source dir>      (WINE_BUILD_DIR names the build tree)
set -euo pipefail
exe=$1
source_dir=$2
run="$source_dir/cmake/wine-run.sh"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -r "$source_dir/samples/card" "$scratch/card"
card="Z:$scratch/card"   # the host folder through Wine's drive of the root

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the program; its output without the console's carriage returns goes to $scratch/out.
dashcfg() {
  local code=0
  "$run" "$exe" "$@" >"$scratch/out.raw" 2>"$scratch/err" || code=$?
  tr -d '\r' <"$scratch/out.raw" >"$scratch/out"
  return $code
}

dashcfg show "$card" || fail "show exited $?: $(cat "$scratch/err")"
grep -Eq 'Parking timer: +12 h' "$scratch/out" || fail "show: no parking timer in $(cat "$scratch/out")"
grep -q 'Korean (ko)' "$scratch/out" || fail "show: no language names"

dashcfg set "$card" parking_timer_hours=48 partition_type=C "time_zone_bias=UTC-03:30" \
  || fail "set exited $?: $(cat "$scratch/err")"
python3 - "$scratch/card/setup.cfg" <<'PY' || fail "set: wrong bytes in setup.cfg"
import struct, sys
data = open(sys.argv[1], "rb").read()
assert len(data) == 544, len(data)
assert struct.unpack_from("<i", data, 200)[0] == 48
assert struct.unpack_from("<i", data, 212)[0] == 3
assert struct.unpack_from("<i", data, 372)[0] == -210
PY

dashcfg show --json "$card" || fail "show --json exited $?"
python3 - "$scratch/out" <<'PY' || fail "show --json: $(cat "$scratch/out")"
import json, sys
shown = json.load(open(sys.argv[1]))
assert shown["fields"]["parking_timer_hours"] == 48
assert shown["shown"]["memory_card"]["partition_type"] == "C type"
assert shown["version_file"]["languages"][0]["name"] == "English"
PY

before=$(md5sum <"$scratch/card/setup.cfg")
code=0; dashcfg set "$card" parking_timer_hours=36 || code=$?
[[ $code -eq 2 ]] || fail "set of a refused value exited $code"
grep -q 'parking_timer_hours: "36" is not a value the window can write' "$scratch/err" \
  || fail "set: $(cat "$scratch/err")"
[[ $(md5sum <"$scratch/card/setup.cfg") == "$before" ]] || fail "a refused set changed setup.cfg"

TZ=Asia/Seoul dashcfg clock "$card" --at "2014-05-06 13:45:07" || fail "clock exited $?: $(cat "$scratch/err")"
[[ $(cat "$scratch/card/time.dat") == "2014,05,06,13,45,07,+0900" ]] \
  || fail "time.dat: $(cat "$scratch/card/time.dat")"

dashcfg --help || fail "--help exited $?"
grep -q 'Exit codes' "$scratch/out" || fail "--help: $(cat "$scratch/out")"
echo "dashcfg.exe smoke test passed"
