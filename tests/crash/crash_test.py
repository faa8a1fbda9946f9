#!/usr/bin/env python3
"""Pulls the card at every file-system call of every writing command of dashcfg.

Each command is first run once to count its calls on the card and on the PC's copy folder
(faultfs.so logs them). Then, for every call N, on a fresh card: the call fails; the process is
killed before it; a write writes part of its bytes and the process is killed; or the call fails
and the process is killed one or two calls later. After each run:

  - setup.cfg holds the old record or the new one, or else the next command notices a save cut
    short, a writing command refuses the card, and `recover` puts back the old file exactly
    (every byte, the tail and the length);
  - time.dat is the old file or the new one (or absent where it was, or is to be, absent), and a
    temporary file left beside it is gone after the next command;
  - a run that reports success left the new files; a run that reports failure did not leave what
    it was asked for.

Usage: crash_test.py --dashcfg PATH --preload faultfs.so --sample samples/card --work DIR
Exit status 0 when every run kept the promise; the broken runs are listed otherwise.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import time

RUN_TIMEOUT = 20          # seconds for one run of dashcfg
TOTAL_BUDGET = 15 * 60    # seconds for the whole test, a bound on every loop together
WRITE_CALLS = {"write", "pwrite", "pwrite64", "writev"}
CLOCK_AT = "2024-05-06 13:45:07"


class Runner:
    def __init__(self, dashcfg, preload, work):
        self.dashcfg = dashcfg
        self.preload = preload
        self.work = work
        self.card = os.path.join(work, "card")
        self.state = os.path.join(work, "state")
        self.log = os.path.join(work, "calls.log")
        self.started = time.monotonic()

    def environment(self, fault=None):
        env = dict(os.environ)
        env["XDG_STATE_HOME"] = self.state
        env["TZ"] = "UTC"
        env.pop("LD_PRELOAD", None)
        if fault is not None:
            env["LD_PRELOAD"] = self.preload
            env["FAULTFS_PREFIXES"] = self.card + ":" + self.state
            for key, value in fault.items():
                env["FAULTFS_" + key.upper()] = str(value)
        return env

    def run(self, args, fault=None):
        if time.monotonic() - self.started > TOTAL_BUDGET:
            raise SystemExit("crash test: over its time budget of %d s" % TOTAL_BUDGET)
        argv = [self.dashcfg] + [self.card if a == "CARD" else a for a in args]
        try:
            done = subprocess.run(argv, env=self.environment(fault), capture_output=True, timeout=RUN_TIMEOUT,
                                  text=True, errors="replace")
        except subprocess.TimeoutExpired:
            return -999, "", "timed out"
        return done.returncode, done.stdout, done.stderr

    def count_calls(self, args):
        if os.path.exists(self.log):
            os.remove(self.log)
        code, out, err = self.run(args, {"at": 0, "log": self.log})
        if code != 0:
            raise SystemExit("crash test: %s fails without a fault: %s%s" % (args, out, err))
        calls = []
        if os.path.exists(self.log):
            with open(self.log) as log:
                for line in log:
                    number, call, path = line.rstrip("\n").split(" ", 2)
                    calls.append((int(number), call, path))
        return calls


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def snapshot(card):
    return {"setup": read(os.path.join(card, "setup.cfg")), "clock": read(os.path.join(card, "time.dat"))}


def copytree(source, target):
    if os.path.exists(target):
        shutil.rmtree(target)
    shutil.copytree(source, target, symlinks=True)


class Scenario:
    """A command of dashcfg on a card made ready by `prepare` (a function of the runner)."""

    def __init__(self, name, args, prepare, asks_clock=False):
        self.name = name
        self.args = args
        self.prepare = prepare
        self.asks_clock = asks_clock


def prepare_tail(runner, sample):
    copytree(sample, runner.card)
    setup = os.path.join(runner.card, "setup.cfg")
    with open(setup, "ab") as f:
        f.write(bytes(range(56)))  # a tail beyond the record, which a save must keep
    with open(os.path.join(runner.card, "time.dat"), "wb") as f:
        f.write(b"2014,05,06,13,45,07,+0900")


def prepare_changed(runner, sample):
    prepare_tail(runner, sample)
    code, out, err = runner.run(["set", "CARD", "parking_timer_hours=48", "time_zone_bias=UTC+09:00"])
    if code != 0:
        raise SystemExit("crash test: cannot prepare a changed card: " + out + err)


def prepare_short(runner, sample):
    copytree(sample, runner.card)
    setup = os.path.join(runner.card, "setup.cfg")
    data = read(setup)
    with open(setup, "wb") as f:
        f.write(data[:300])


def prepare_cut_short(runner, sample):
    """A card whose save of `set` was torn in its write to setup.cfg, with the copy on the PC."""
    prepare_tail(runner, sample)
    args = ["set", "CARD", "parking_timer_hours=48", "time_zone_bias=UTC+09:00"]
    calls = runner.count_calls(args)
    prepare_tail(runner, sample)
    shutil.rmtree(runner.state, ignore_errors=True)  # as it was for the count
    setup_fds = write_calls_on(calls, os.path.join(runner.card, "setup.cfg"))
    if not setup_fds:
        raise SystemExit("crash test: no write to setup.cfg seen")
    runner.run(args, {"at": setup_fds[0], "mode": "tear", "tear": 300})
    code, _, err = runner.run(["show", "CARD"])
    if "cut short" not in err:
        raise SystemExit("crash test: the torn card to recover is not noticed: " + err)


def write_calls_on(calls, path):
    """Numbers of the write calls made on descriptors opened on `path`."""
    open_fds = {}
    numbers = []
    for number, call, target in calls:
        if call.startswith("open") or call.startswith("fopen") or call.startswith("creat"):
            open_fds["pending"] = target
        if call in WRITE_CALLS and target.startswith("fd:") and open_fds.get("pending") == path:
            numbers.append(number)
    return numbers


def faults_for(calls):
    """Every fault of every call: fail, kill before, tear (for writes), fail then kill."""
    for number, call, _ in calls:
        yield {"at": number, "mode": "fail"}
        yield {"at": number, "mode": "kill"}
        if call in WRITE_CALLS:
            yield {"at": number, "mode": "tear", "tear": 1}
            yield {"at": number, "mode": "tear"}
        for later in (1, 2):
            if number + later <= len(calls):
                yield {"at": number, "mode": "fail", "kill_at": number + later}


def describe(fault):
    return " ".join("%s=%s" % item for item in sorted(fault.items()))


def check_run(runner, scenario, before, after_clean, fault, code, out, err):
    """The promise after one faulted run; a list of what was broken."""
    problems = []
    now = snapshot(runner.card)
    killed = code < 0

    if now["clock"] not in (before["clock"], after_clean["clock"]):
        problems.append("time.dat is neither the old file nor the new one: %r" % (now["clock"],))
    if not killed:
        wanted = after_clean
        holds_new = now["setup"] == wanted["setup"] and now["clock"] == wanted["clock"]
        if code == 0 and not holds_new:
            problems.append("reported done (exit 0) but the card does not hold the new files")
        changes_something = wanted != before
        if code != 0 and holds_new and changes_something:
            problems.append("reported failed (exit %d) but the card holds the new files: %s" % (code, err.strip()))

    if now["setup"] not in (before["setup"], after_clean["setup"]):
        # A mix: the next command must notice it, a writing one refuse, and recover undo it.
        show_code, _, show_err = runner.run(["show", "CARD"])
        if "cut short" not in show_err:
            problems.append("setup.cfg is a mix and `show` does not notice (exit %d): %s" % (show_code, show_err))
        set_code, _, _ = runner.run(["set", "CARD", "parking_timer_hours=12"])
        if set_code != 7:
            problems.append("`set` on a card with a save cut short exits %d, not 7" % set_code)
        recover_code, recover_out, recover_err = runner.run(["recover", "CARD", "--json"])
        restored = read(os.path.join(runner.card, "setup.cfg"))
        original = scenario.original if hasattr(scenario, "original") else before["setup"]
        if recover_code != 0 or restored != original:
            problems.append("recover (exit %d) did not put the old setup.cfg back exactly: %s%s" %
                            (recover_code, recover_out, recover_err))
    elif scenario.asks_clock or os.path.exists(os.path.join(runner.card, "time.dat.new")):
        runner.run(["recover", "CARD"])
    if os.path.exists(os.path.join(runner.card, "time.dat.new")):
        problems.append("the temporary clock file is still there after the next command")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--dashcfg", required=True)
    parser.add_argument("--preload", required=True)
    parser.add_argument("--sample", required=True)
    parser.add_argument("--work", required=True)
    options = parser.parse_args()
    work = os.path.abspath(options.work)
    os.makedirs(work, exist_ok=True)
    runner = Runner(os.path.abspath(options.dashcfg), os.path.abspath(options.preload), work)
    sample = os.path.abspath(options.sample)

    profile = os.path.join(work, "profile.json")
    prepare_changed(runner, sample)
    code, out, err = runner.run(["export", "CARD"])
    if code != 0:
        raise SystemExit("crash test: export fails: " + err)
    with open(profile, "w") as f:
        f.write(out)

    scenarios = [
        Scenario("set", ["set", "CARD", "parking_timer_hours=48", "time_zone_bias=UTC+09:00"], prepare_tail),
        Scenario("reset", ["reset", "CARD"], prepare_changed),
        Scenario("reset --force, a short file", ["reset", "--force", "CARD"], prepare_short),
        Scenario("apply", ["apply", profile, "CARD"], prepare_tail),
        Scenario("clock --at", ["clock", "CARD", "--at", CLOCK_AT], prepare_tail, asks_clock=True),
        Scenario("clock --at, no old file", ["clock", "CARD", "--at", CLOCK_AT], prepare_short, asks_clock=True),
        Scenario("clock --clear", ["clock", "CARD", "--clear"], prepare_tail, asks_clock=True),
        Scenario("recover", ["recover", "CARD"], prepare_cut_short),
    ]

    failures = []
    runs = 0
    for scenario in scenarios:
        shutil.rmtree(runner.state, ignore_errors=True)
        # The file from before: for recover, the record from before the save that was cut short.
        prepare_tail(runner, sample)
        scenario.original = snapshot(runner.card)["setup"] if scenario.name == "recover" else None
        if scenario.original is None:
            del scenario.original

        shutil.rmtree(runner.state, ignore_errors=True)
        scenario.prepare(runner, sample)
        before_state = os.path.join(work, "state-before")
        copytree(runner.state, before_state) if os.path.exists(runner.state) else None
        before_card = os.path.join(work, "card-before")
        copytree(runner.card, before_card)
        before = snapshot(runner.card)
        calls = runner.count_calls(scenario.args)
        after_clean = snapshot(runner.card)

        def reset():
            copytree(before_card, runner.card)
            shutil.rmtree(runner.state, ignore_errors=True)
            if os.path.exists(before_state):
                copytree(before_state, runner.state)

        count = 0
        for fault in faults_for(calls):
            reset()
            code, out, err = runner.run(scenario.args, fault)
            problems = check_run(runner, scenario, before, after_clean, fault, code, out, err)
            count += 1
            for problem in problems:
                failures.append("%s, %s: %s" % (scenario.name, describe(fault), problem))
        runs += count
        print("crash test: %-26s %3d calls, %4d faulted runs" % (scenario.name, len(calls), count), flush=True)
        shutil.rmtree(before_state, ignore_errors=True)

    for failure in failures:
        print("BROKEN: " + failure)
    print("crash test: %d faulted runs, %d broken, %.0f s" % (runs, len(failures), time.monotonic() - runner.started))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
