#!/usr/bin/env bash
# Smoke test of the Windows console build under Wine: show, show --json, set, a refused value,
# clock and help on a copy of the sample card; then a card, a profile and an output file whose
# names are not ASCII, a dry run, JSON results and a damaged record.
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
# Windows' shells have no one continuation mark: a narrow console leaves an example whole.
COLUMNS=60 dashcfg help set || fail "help set exited $?"
grep -qF '  dashcfg set E:\ "time_zone_name=Tokyo Standard Time" time_zone_bias=540' "$scratch/out" \
  || fail "help set: an example was cut: $(cat "$scratch/out")"

# Names outside ASCII, through Wine's wide paths: the card, the profile written by export and
# the card it is applied to.
export LC_ALL=C.UTF-8
mkdir -p "$scratch/Jürgen"
cp -r "$source_dir/samples/card" "$scratch/Jürgen/Karte é"
cp -r "$source_dir/samples/card" "$scratch/Jürgen/카드"
wide_card="Z:$scratch/Jürgen/Karte é"
dashcfg set "$wide_card" parking_timer_hours=24 || fail "set on a non-ASCII card exited $?: $(cat "$scratch/err")"
dashcfg export "$wide_card" || fail "export exited $?: $(cat "$scratch/err")"
cp "$scratch/out" "$scratch/Jürgen/prof ü.json"
grep -q '"language": "en"' "$scratch/Jürgen/prof ü.json" || fail "export: no language code in $(cat "$scratch/out")"
dashcfg apply --json "Z:$scratch/Jürgen/prof ü.json" "Z:$scratch/Jürgen/카드" \
  || fail "apply of a non-ASCII profile exited $?: $(cat "$scratch/err")"
python3 - "$scratch/out" "$scratch/Jürgen/카드/setup.cfg" <<'PY' || fail "apply --json: $(cat "$scratch/out")"
import json, struct, sys
result = json.load(open(sys.argv[1], encoding="utf-8"))
assert result["cards"][0]["result"] == "saved", result
assert result["cards"][0]["card"].endswith("카드"), result
assert struct.unpack_from("<i", open(sys.argv[2], "rb").read(), 200)[0] == 24
PY
dashcfg show "$wide_card" || fail "show on a non-ASCII card exited $?"
grep -q 'Card Z:.*/Jürgen/Karte é' "$scratch/out" || fail "show: the card's name in $(head -1 "$scratch/out")"

# A dry run changes nothing; a damaged record is refused with its own code.
before=$(md5sum <"$scratch/Jürgen/카드/setup.cfg")
dashcfg set --dry-run "Z:$scratch/Jürgen/카드" parking_timer_hours=48 || fail "set --dry-run exited $?"
grep -q 'would change' "$scratch/out" || fail "set --dry-run: $(cat "$scratch/out")"
[[ $(md5sum <"$scratch/Jürgen/카드/setup.cfg") == "$before" ]] || fail "a dry run changed setup.cfg"
head -c 10 "$scratch/card/setup.cfg" >"$scratch/short.cfg" && cp "$scratch/short.cfg" "$scratch/card/setup.cfg"
code=0; dashcfg set "$card" parking_timer_hours=48 || code=$?
[[ $code -eq 6 ]] || fail "set on a 10-byte setup.cfg exited $code: $(cat "$scratch/err")"
cmp -s "$scratch/short.cfg" "$scratch/card/setup.cfg" || fail "a refused set changed the damaged setup.cfg"
echo "dashcfg.exe smoke test passed"
