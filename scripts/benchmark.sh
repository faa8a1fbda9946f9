#!/usr/bin/env bash
# Measures the editor's performance and prints each figure beside its goal:
#   1. start-up to the first painted window (hyperfine, bench_first_paint), under Wine on the
#      sample card: the editor, the floor (the editor's windows alone, made from its own
#      templates) and a minimal dialog, started alternately; the goal is editor / floor; then
#      the editor at 200 % display scale against itself at 100 %, started alternately;
#   2. the size of the program file as shipped (the windows-release configuration);
#   3. repaints without a change of state: time, and proof that nothing is composed again
#      (bench_window, in-process under Wine); the start-up's phases, each checked against the
#      reference in bench/startup-phases.txt so that a phase that grew is named;
#   4. loading the eleven language files and the time zone catalogue, natively (Google
#      Benchmark) and under Wine (bench_load);
#   5. peak memory of the running editor, floor and minimal dialog (/usr/bin/time -v).
# Installs what is missing and builds what it needs first (build/bench-native and
# build/bench-windows). Raw outputs go to build/bench-windows/results/.
#
#   bash scripts/benchmark.sh [--quick]      (--quick: fewer runs, for trying the script out)
#
# Exit status: 0 every goal met; 1 a goal missed; 2 a measurement failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/bench-windows
native=$root/build/bench-native
results=$build/results

ROUNDS=3          # start-up: rounds of hyperfine, editor, floor and baseline in turn, to share the noise
RUNS=5            # start-up runs per program and round
MEMORY_RUNS=3
REPAINTS=200
LOAD_ITERATIONS=200
if [[ ${1:-} == --quick ]]; then
  ROUNDS=1 RUNS=3 MEMORY_RUNS=1 REPAINTS=50 LOAD_ITERATIONS=50
fi

step() { printf '\n=== %s ===\n' "$*"; }
die() { echo "benchmark: $*" >&2; exit 2; }

step "dependencies"
bash scripts/install-deps.sh

step "build: native benchmarks, and the release program with its Windows benchmarks"
cmake --preset bench-native >/dev/null
cmake --build --preset bench-native --target bench_load_native
cmake --preset bench-windows >/dev/null
cmake --build --preset bench-windows --target DashCamSetting bench_baseline_dialog bench_floor_dialog bench_first_paint \
  bench_window bench_load bench_tests
rm -rf "$results"
mkdir -p "$results"

step "wine: the bench tree's own prefix"
bash cmake/wine-prefix-setup.sh "$build" >/dev/null
source cmake/wine-env.sh
wine_env "$build"
# Without a window manager (a virtual display has none) Wine waits 2 s for every closing
# window to be withdrawn; unmanaged windows close at once. The setting is the bench prefix's.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# One server for the whole run, as a PC's system is already up when the editor starts.
wineserver -p </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k 2>/dev/null || true' EXIT
wine cmd.exe /c exit </dev/null >/dev/null 2>&1

program='Z:'${build//\//\\}'\DashCamSetting.exe'
baseline='Z:'${build//\//\\}'\bench\bench_baseline_dialog.exe'
floor='Z:'${build//\//\\}'\bench\bench_floor_dialog.exe'
card='Z:'${root//\//\\}'\samples\card\'
card_sum() { find samples/card -type f -print0 | sort -z | xargs -0 sha256sum | sha256sum; }
card_before=$(card_sum)

step "instruments: the first-paint probe and the call counters"
wine "$build/bench/bench_tests.exe" --gtest_brief=1 >"$results/bench_tests.txt" 2>&1 \
  || { cat "$results/bench_tests.txt"; die "the instruments' own tests failed"; }
grep -E '^\[ +PASSED' "$results/bench_tests.txt"

step "1. start-up to the first painted window ($ROUNDS rounds of $RUNS runs each)"
launch() {  # the command hyperfine times: the launcher, starting one program on the card
  printf "wine %q --record %q %q %q" "$build/bench/bench_first_paint.exe" "$results/$1.firstpaint" "$2" "$card"
}
for round in $(seq "$ROUNDS"); do
  # One untimed start of each first (outside hyperfine, whose warm-up runs would be recorded).
  wine "$build/bench/bench_first_paint.exe" "$program" "$card" >/dev/null 2>&1 || die "the editor did not start"
  wine "$build/bench/bench_first_paint.exe" "$floor" "$card" >/dev/null 2>&1 || die "the floor did not start"
  wine "$build/bench/bench_first_paint.exe" "$baseline" "$card" >/dev/null 2>&1 || die "the baseline did not start"
  hyperfine --shell=bash --runs "$RUNS" --style basic --export-json "$results/startup-$round.json" \
    -n editor "$(launch editor "$program")" -n floor "$(launch floor "$floor")" \
    -n baseline "$(launch baseline "$baseline")" \
    >"$results/startup-$round.txt" 2>&1 || { cat "$results/startup-$round.txt"; die "a start-up run failed"; }
  grep -E 'Benchmark|Time|Range' "$results/startup-$round.txt"
done

step "1b. the editor's first paint at 200 % display scale against 100 % ($ROUNDS rounds of $RUNS runs each)"
# The display scale is the prefix's LogPixels, which each new process reads when it starts.
dpi() { printf "wine reg add %q /v LogPixels /t REG_DWORD /d %s /f >/dev/null 2>&1" 'HKCU\Control Panel\Desktop' "$1"; }
for round in $(seq "$ROUNDS"); do
  hyperfine --shell=bash --runs "$RUNS" --style basic --export-json "$results/scale-$round.json" \
    --prepare "$(dpi 96)" -n editor-100 "$(launch editor-100 "$program")" \
    --prepare "$(dpi 192)" -n editor-200 "$(launch editor-200 "$program")" \
    >"$results/scale-$round.txt" 2>&1 || { eval "$(dpi 96)"; cat "$results/scale-$round.txt"; die "a run at 200 % failed"; }
  grep -E 'Benchmark|Time' "$results/scale-$round.txt"
done
eval "$(dpi 96)"

step "2. program file size"
# The bench preset builds the program exactly as windows-release does (it inherits it, and the
# release link leaves out the time stamp), so the two files are the same byte for byte.
exe=$build/DashCamSetting.exe
release=$root/build/windows-release/DashCamSetting.exe
if [[ -f $release ]]; then
  cmp -s "$exe" "$release" && echo "  the same file as $release" \
    || echo "  differs from $release (built from other sources?)"
fi
x86_64-w64-mingw32-size -A "$exe" | awk 'NR > 2 && $2 > 0 { printf "  %-8s %8.1f KiB\n", $1, $2 / 1024 }'
stat -c %s "$exe" >"$results/size.txt"

step "3. repaints without a change of state ($REPAINTS per page)"
wine "$build/bench/bench_window.exe" --repaints "$REPAINTS" "$card" >"$results/window.txt" 2>/dev/null \
  || [[ $? == 1 ]] || { cat "$results/window.txt"; die "bench_window failed"; }
tr -d '\r' <"$results/window.txt" | grep -v -E '^(figure|phase) '

step "4. loading the language files and the time zone catalogue"
"$native/bench/bench_load_native" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
  --benchmark_out="$results/load-native.json" --benchmark_out_format=json \
  | grep -E '_median' || die "bench_load_native failed"
wine "$build/bench/bench_load.exe" --iterations "$LOAD_ITERATIONS" >"$results/load-wine.txt" 2>/dev/null \
  || { cat "$results/load-wine.txt"; die "bench_load failed"; }
tr -d '\r' <"$results/load-wine.txt" | grep -v '^figure'

step "5. peak memory (maximum resident set size of the wine process)"
peak() {  # <name> <program>: runs it under /usr/bin/time until its window is painted, plus 1 s
  local name=$1 exe=$2 run
  for run in $(seq "$MEMORY_RUNS"); do
    /usr/bin/time -v -o "$results/$name.time.$run" wine "$exe" "$card" >/dev/null 2>&1 &
    local timed=$!
    wine "$build/bench/bench_first_paint.exe" --settle-ms 1000 --attach "${exe##*\\}" >/dev/null \
      || echo "benchmark: $name did not close by itself (run $run)" >&2
    wait "$timed" || true
    sed -n 's/.*Maximum resident set size (kbytes): //p' "$results/$name.time.$run" >>"$results/$name.rss"
  done
}
peak editor "$program"
peak floor "$floor"
peak baseline "$baseline"
for name in editor floor baseline; do echo "  $name: $(tr '\n' ' ' <"$results/$name.rss")KiB"; done

[[ $(card_sum) == "$card_before" ]] || die "the sample card changed during the runs"

step "figures"
python3 - "$results" "$root/bench/startup-phases.txt" <<'EOF'
import glob, json, os, statistics, sys

results, reference_file = sys.argv[1], sys.argv[2]
def lines(name):
    with open(os.path.join(results, name), encoding="utf-8", errors="replace") as f:
        return [l.strip() for l in f if l.strip()]
def numbers(name):
    return [float(l) for l in lines(name)]
def figures(name):
    return {p[1]: float(p[2]) for p in (l.split() for l in lines(name)) if p[0] == "figure"}
median = statistics.median

rows, missed = [], False
def row(what, measured, goal, ok):
    global missed
    verdict = "-" if ok is None else ("pass" if ok else "FAIL")
    missed |= ok is False
    rows.append((what, measured, goal, verdict))

# 1. Start-up: the launcher's own figure; hyperfine's whole runs (start, paint, close) beside it.
first = {name: median(numbers(name + ".firstpaint")) for name in ("editor", "floor", "baseline")}
editor, floor, baseline = first["editor"], first["floor"], first["baseline"]
ratio = editor / floor
row("start-up to first paint, editor / floor", f"{editor:.0f} / {floor:.0f} ms = {ratio:.2f}x", "<= 1.15x",
    ratio <= 1.15)
row("  floor / minimal dialog", f"{floor:.0f} / {baseline:.0f} ms = {floor / baseline:.2f}x", "", None)
row("  editor / minimal dialog", f"{editor:.0f} / {baseline:.0f} ms = {editor / baseline:.2f}x", "", None)
whole = {"editor": [], "floor": [], "baseline": []}
for path in glob.glob(os.path.join(results, "startup-*.json")):
    for result in json.load(open(path))["results"]:
        whole[result["command"]] += result["times"]
we, wf, wb = (median(whole[name]) * 1000 for name in ("editor", "floor", "baseline"))
row("  whole runs (hyperfine: launch, paint, close)",
    f"{we:.0f} / {wf:.0f} / {wb:.0f} ms = {we / wf:.2f}x, {wf / wb:.2f}x", "", None)
scaled = {name: median(numbers(name + ".firstpaint")) for name in ("editor-100", "editor-200")}
scale_ratio = scaled["editor-200"] / scaled["editor-100"]
row("first paint at 200 % / at 100 %", f"{scaled['editor-200']:.0f} / {scaled['editor-100']:.0f} ms = {scale_ratio:.2f}x",
    "<= 1.15x", scale_ratio <= 1.15)
# What the goal leaves over the baseline, against what making the pages' windows alone costs.
window = figures("window.txt")
made, top = int(window["startup_windows"]), int(window["startup_toplevel_windows"])
making = (made - top) * window["child_window_ms"] + top * window["toplevel_window_ms"]
row("  windows made at start-up (top-level)", f"{made} ({top})", "", None)
row("  making them alone (Wine's price per window)", f"{making:.0f} ms", "", None)

# The start-up's phases (bench_window, the program's own marks) against the reference, scaled by
# how fast this run's machine made the floor: a phase more than 50 % and 10 ms over it grew.
def phases(path):
    found = {}
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            parts = line.strip().split(" ", 2)
            if len(parts) == 3 and parts[0] == "phase":
                found[parts[2]] = found.get(parts[2], 0.0) + float(parts[1])
    return found
measured_phases = phases(os.path.join(results, "window.txt"))
if os.path.exists(reference_file):
    reference_phases = phases(reference_file)
    reference_floor = float(next(l.split()[2] for l in open(reference_file) if l.startswith("floor ms ")))
    scale = floor / reference_floor
    grew = [f"{name} {reference_phases[name] * scale:.0f} -> {ms:.0f} ms" for name, ms in measured_phases.items()
            if name in reference_phases and ms > 1.5 * reference_phases[name] * scale + 10]
    row("start-up phases against bench/startup-phases.txt", "; ".join(grew) if grew else "none grew", "none grew",
        not grew)
else:
    row("start-up phases against bench/startup-phases.txt", "no reference file", "", None)

# 2. Size.
size = int(lines("size.txt")[0])
row("program file size (release, stripped)", f"{size / 1048576:.2f} MiB ({size} bytes)", "<= 2 MiB",
    size <= 2 * 1048576)

# 3. Repaints.
row("repaint without change: compositions", f"{window['repaint_composed']:.0f}", "0",
    window["repaint_composed"] == 0)
row("  block copies per skinned control repaint", f"{window['control_copies_max']:.2f}", "1",
    window["control_copies_max"] == 1)
row("  whole-window repaint, slowest page (median)", f"{window['repaint_ms']:.1f} ms", "", None)
row("  start-up in-process (instrumented)", f"{window['startup_inprocess_ms']:.0f} ms", "", None)

# 4. Loads.
native = {b["name"]: b for b in json.load(open(os.path.join(results, "load-native.json")))["benchmarks"]}
def native_ms(name):
    b = native[name + "_median"]
    return b["real_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
wine = figures("load-wine.txt")
for what, value in [("eleven language files, native", native_ms("AllLanguageFiles")),
                    ("time zone catalogue (model), native", native_ms("TimeZoneCatalogue")),
                    ("eleven language files, Wine", wine["languages_ms"]),
                    ("time zone catalogue (registry), Wine", wine["timezones_ms"])]:
    row(what, f"{value:.2f} ms", "< 5 ms", value < 5)
row("  the same under Wine without debug lines",
    f"{wine['languages_quiet_ms']:.2f} / {wine['timezones_quiet_ms']:.2f} ms", "", None)
calls, call_us = wine["timezones_calls"], wine["registry_call_us"]
row("  catalogue: registry calls x one call's time", f"{calls:.0f} x {call_us:.1f} us = {calls * call_us / 1000:.1f} ms",
    "", None)

# 5. Memory.
me, mf, mb = (median(numbers(name + ".rss")) for name in ("editor", "floor", "baseline"))
row("peak memory (max RSS), editor / floor / minimal dialog",
    f"{me / 1024:.1f} / {mf / 1024:.1f} / {mb / 1024:.1f} MiB = {me / mf:.2f}x, {mf / mb:.2f}x", "", None)

width = max(len(r[0]) for r in rows)
mwidth = max(len(r[1]) for r in rows)
print(f"{'figure':<{width}}  {'measured':<{mwidth}}  {'goal':<8}  result")
for what, measured, goal, verdict in rows:
    print(f"{what:<{width}}  {measured:<{mwidth}}  {goal:<8}  {verdict}")
with open(os.path.join(results, "figures.txt"), "w") as out:
    for r in rows:
        out.write(" | ".join(r) + "\n")
sys.exit(1 if missed else 0)
EOF
