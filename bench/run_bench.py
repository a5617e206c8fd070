#!/usr/bin/env python3
"""tarpo's benchmarks, as `make bench` runs them.

1. Start-up: tarpo and a Qt Widgets window with the same controls, laid out
   from the same form description but without pictures (tarpo_baseline), are
   started in turn under Xvfb with openbox, the window
   manager of the end-to-end tests. first_paint times each from exec until its
   window is mapped and drawn all over with no more drawing for 300 ms, and
   reads its peak resident memory (VmHWM) while the window is up. After a
   warm-up, RUNS runs of each: median, min, max, the median processor time
   the program used (all its threads), and the ratios to the baseline.
2. Repaint: repaint_probe clicks through XTEST and sums what the X server
   reports drawn (XDamage) for a new game, slides, a click on a tile that cannot
   move and a click on the empty cell.
3. Click cost: click_bench (Google Benchmark) times MainWindow's handlers offscreen.
4. tarpo.exe (with --windows-exe): its size and the DLLs it imports; its
   start-up under Wine against a Win32 window with the same controls and no
   pictures (BUILD_DIR/windows/bench/tarpo_baseline.exe), in turn in one booted
   Wine prefix whose wineserver stays up; and the repaint probe again.
5. The web page (with --web-site): what a first visit transfers, navigation
   against a page with the same controls, what a slide draws (web_bench.py).

Targets: start-up median <= 1.10 x the baseline's (tarpo.exe: 1.05 x), peak
memory <= the baseline's + 2 MiB; a slide draws only inside its two cells, a
new game only inside the board and the preview (and the button it was clicked
with), a click that changes nothing draws nothing.

Usage: run_bench.py BUILD_DIR [--runs N] [--compare NAME=TARPO_EXECUTABLE ...]
                    [--windows-exe TARPO_EXE] [--web-site SITE_DIR] [--web-runs N]
--compare adds another tarpo build to the start-up runs (say, an older one).
"""

import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from xprograms import WineProgram  # noqa: E402
from xsession import XSession  # noqa: E402
from web_bench import web_bench  # noqa: E402

TITLE = "zodaziror uvedored"
BASELINE_TITLE = "tarpo baseline"
TIME_RATIO_TARGET = 1.10
WINDOWS_TIME_RATIO_TARGET = 1.05
MEMORY_EXTRA_TARGET_MIB = 2.0
EXE_SIZE_TARGET_MIB = 1.5


def run_measuring(argv, env, timeout):
    """Runs a measuring program; its output and errors. Through files, not
    pipes: the services a Wine program starts live on and keep a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(argv, env=env, stdout=out, stderr=err, timeout=timeout).returncode
        out.seek(0)
        err.seek(0)
        if status != 0:
            raise RuntimeError("%s: %s" % (" ".join(argv), err.read().decode().strip()))
        return out.read().decode()


def first_paint(x, build, title, command, env):
    argv = [os.path.join(build, "bench", "first_paint"), title, *command]
    try:
        out = run_measuring(argv, dict(x.env, **env), 60)
    except RuntimeError as error:
        # On a busy machine a start now and then fails to connect or to be
        # drawn in time: one more try before it counts.
        print("(again after: %s)" % error)
        out = run_measuring(argv, dict(x.env, **env), 60)
    fields = dict(f.split("=", 1) for f in out.split())
    if fields["cover"] != "1.000":
        raise RuntimeError("%s: the window was not drawn all over" % command)
    return float(fields["paint_ms"]), float(fields["cpu_ms"]), int(fields["peak_kib"])


def start_up(x, build, runs, programs, env=None, heading="Xvfb + openbox"):
    """programs: [(name, title, command)]; the first is the baseline. Prints
    the figures; returns each program's ratio of the median times to the
    baseline's and its extra peak memory in MiB."""
    results = {name: [] for name, _, _ in programs}
    for run in range(runs + 2):  # two warm-up rounds
        for name, title, command in programs:
            measured = first_paint(x, build, title, command, env or {})
            if run >= 2:
                results[name].append(measured)
    print("\n== Start-up: exec to window drawn all over (%s), %d runs each" % (heading, runs))
    print("%-22s %9s %9s %9s %9s %9s %9s %9s %12s" % (
        "program", "median ms", "min ms", "max ms", "cpu ms", "peak MiB", "x time", "x cpu",
        "+ memory MiB"))
    base = [statistics.median(column) for column in zip(*results[programs[0][0]])]
    verdicts = {}
    for name, _, _ in programs:
        ms, cpu, kib = zip(*results[name])
        med, cpu_med, peak = statistics.median(ms), statistics.median(cpu), statistics.median(kib)
        ratio = med / base[0]
        extra = (peak - base[2]) / 1024
        print("%-22s %9.2f %9.2f %9.2f %9.2f %9.2f %9.3f %9.3f %12.2f" % (
            name, med, min(ms), max(ms), cpu_med, peak / 1024, ratio, cpu_med / base[1], extra))
        verdicts[name] = (ratio, extra)
    return verdicts


def repaint(x, build, command, env=None, heading=""):
    out = run_measuring([os.path.join(build, "bench", "repaint_probe"), "--rounds", "5", *command],
                        dict(x.env, **(env or {})), 300)
    actions = {}
    for line in out.splitlines():
        fields = dict(f.split("=", 1) for f in line.split())
        actions.setdefault(fields["action"], []).append(fields)
    print("\n== Repaint%s: pixels of the client area drawn per action (XDamage), 5 rounds"
          % heading)
    print("%-11s %8s %8s %8s %9s  %s" % ("action", "max px", "min px", "outside", "button px",
                                         "bounding box of the largest"))
    ok = True
    for action in ("new_game", "slide", "no_slide", "empty_cell"):
        rows = actions.get(action, [])
        areas = [int(r["area"]) for r in rows]
        outside = max(int(r["outside"]) for r in rows)
        largest = max(rows, key=lambda r: int(r["area"]))
        print("%-11s %8d %8d %8d %9d  %s" % (action, max(areas), min(areas), outside,
                                             max(int(r["button"]) for r in rows), largest["box"]))
        ok = ok and outside == 0 and (action in ("new_game", "slide") or max(areas) == 0)
    print("limits: slide <= the two cells (2 x 84 x 84 boxes), new game <= board + preview "
          "(+ the button's own look), no_slide/empty_cell = 0")
    return ok


def click_cost(build):
    print("\n== Click cost: MainWindow handlers offscreen (Google Benchmark)")
    out = subprocess.run([os.path.join(build, "bench", "click_bench"),
                          "--benchmark_min_time=0.2"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, timeout=600)
    print(out.stdout.decode().rstrip())
    return out.returncode == 0


def windows_exe(x, build, runs, exe):
    """Size and imports of tarpo.exe; its start-up against the Win32 baseline
    and what it repaints, run under Wine. Returns the start-up verdict and
    whether the repaint stayed within its limits."""
    size_mib = os.path.getsize(exe) / (1024 * 1024)
    headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", exe], stdout=subprocess.PIPE,
                             check=True, timeout=60).stdout.decode()
    print("\n== tarpo.exe (%s)" % exe)
    print("size %.2f MiB (target <= %.1f): %s" % (
        size_mib, EXE_SIZE_TARGET_MIB, "met" if size_mib <= EXE_SIZE_TARGET_MIB else "NOT met"))
    print("imports: " + ", ".join(re.findall(r"DLL Name: (\S+)", headers)))
    baseline = os.path.join(build, "windows", "bench", "tarpo_baseline.exe")
    with tempfile.TemporaryDirectory(prefix="tarpo-bench-wine-") as prefix:
        WineProgram.make_prefix(prefix)
        env = dict(WineProgram.ENV, WINEPREFIX=prefix)
        # The prefix's wineserver, and the services it starts with the first
        # program, stay up from one start to the next, as on a desktop where
        # Wine already runs: each start pays for the program alone.
        try:
            subprocess.run(["wineserver", "-p"], env=dict(x.env, **env), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=True, timeout=60)
            verdicts = start_up(x, build, runs,
                                [("Win32 baseline", BASELINE_TITLE, ["wine", baseline]),
                                 ("tarpo.exe", TITLE, ["wine", exe])],
                                env, "Wine on Xvfb + openbox")
            return verdicts["tarpo.exe"], repaint(x, build, ["wine", exe], env,
                                                  " of tarpo.exe under Wine")
        finally:
            subprocess.run(["wineserver", "-k"], env=dict(x.env, **env), timeout=60)


def verdict(what, ratio, extra, time_target):
    print("%s start-up median %.3f x baseline (target <= %.2f): %s" % (
        what, ratio, time_target, "met" if ratio <= time_target else "NOT met"))
    print("%s peak memory baseline + %.2f MiB (target <= %.1f): %s" % (
        what, extra, MEMORY_EXTRA_TARGET_MIB,
        "met" if extra <= MEMORY_EXTRA_TARGET_MIB else "NOT met"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--compare", action="append", default=[])
    parser.add_argument("--windows-exe")
    parser.add_argument("--web-site")
    # A first visit is cheap and its spread wide: more runs than a start-up.
    parser.add_argument("--web-runs", type=int, default=40)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    programs = [("baseline (same controls)", BASELINE_TITLE,
                 [os.path.join(build, "bench", "tarpo_baseline")]),
                ("tarpo", TITLE, [os.path.join(build, "tarpo")])]
    for other in args.compare:
        name, exe = other.split("=", 1)
        programs.append((name, TITLE, [os.path.abspath(exe)]))

    windows = None
    with XSession() as x:
        verdicts = start_up(x, build, args.runs, programs)
        repaint_ok = repaint(x, build, programs[1][2])
        if args.windows_exe:
            windows, windows_repaint_ok = windows_exe(x, build, args.runs,
                                                      os.path.abspath(args.windows_exe))
            repaint_ok = windows_repaint_ok and repaint_ok
    clicks_ok = click_cost(build)
    if args.web_site:
        with open(os.path.join(build, "form.json"), encoding="utf-8") as f:
            facts = json.load(f)
        web_ok = web_bench(os.path.abspath(args.web_site), facts, args.web_runs)

    print("\n== Targets")
    verdict("tarpo", *verdicts["tarpo"], TIME_RATIO_TARGET)
    if windows:
        verdict("tarpo.exe", *windows, WINDOWS_TIME_RATIO_TARGET)
    print("repaint within the changed cells / board and preview: %s" % (
        "met" if repaint_ok else "NOT met"))
    if args.web_site:
        print("web page: transfer, navigation and slide: %s" % ("met" if web_ok else "NOT met"))
    return 0 if clicks_ok else 1


if __name__ == "__main__":
    sys.exit(main())
