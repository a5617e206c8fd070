"""The web page's figures for `make bench`, in Chromium through the
end-to-end suite's driver (tests/e2e/web.py):

1. Transfer: every file a first visit loads (the service worker's copies
   included), each gzip-compressed as a static host would send it; all of
   it but the PNG icons, which only installing the app loads, and the page,
   style, scripts and WebAssembly alone.
2. Navigation: from the start of navigation until the board is painted
   (the frame drawn after the window is shown with its cells), against a
   page with the same controls from the same modules but neither
   WebAssembly nor pictures (web_baseline.js), taken in turn in one run: a
   first visit, and a return visit in the same browser context a second
   after the page is ready (and, for the game, kept by its service worker,
   done activating).
3. A slide: which elements are drawn again (a canvas drawn on) or changed
   in the document, counted by the page itself: the two cells only.

Run alone: web_bench.py SITE_DIR FORM_JSON [--runs N]."""

import argparse
import glob
import gzip
import json
import os
import re
import shutil
import statistics
import sys
import tempfile
import time
from pathlib import Path

HERE = os.path.dirname(os.path.abspath(__file__))
WEB = os.path.join(HERE, os.pardir, "web")
sys.path.insert(0, os.path.join(HERE, os.pardir, "tests", "e2e"))
sys.path.insert(0, WEB)
from make_site import bundle_script, write_worker  # noqa: E402
from web import DESKTOP, SERVICE_WORKER_ACTIVE, Driver, Site, box  # noqa: E402

TRANSFER_TARGET_KIB = 176
INSTALL_ONLY = re.compile(r"^icons/.*\.png$")
CORE_TARGET_KIB = 40
CORE_TYPES = (".html", ".css", ".js", ".mjs", ".wasm")
NAVIGATION_RATIO_TARGET = 1.25
SETTLE_S = 0.5
# A returning player comes back to a page that has finished loading: the
# worker done activating (a navigation meanwhile waits for it) and the
# browser done with the first visit's work. The address is typed again
# this long after that.
RETURN_AFTER_S = 1.0
FIRST, RETURN = "first visits", "return visits"
BOTH = (FIRST, RETURN)
WORKER_ACTIVATED = ("navigator.serviceWorker.getRegistration()"
                    ".then(r => !!(r && r.active && r.active.state === 'activated'))")

# Run in each page before its own scripts: when the frame after the one that
# shows the window had begun (the window's first frame drawn), and which
# elements were drawn on or changed since the last look.
MEASURE = """
window.touched = new Set();
const mark = (node) => {
  const element = node.nodeType === Node.ELEMENT_NODE ? node : node.parentElement;
  if (element) window.touched.add(element.id || element.tagName);
};
for (const name of ['drawImage', 'fillRect', 'clearRect', 'putImageData']) {
  const original = CanvasRenderingContext2D.prototype[name];
  CanvasRenderingContext2D.prototype[name] = function (...args) {
    mark(this.canvas);
    return original.apply(this, args);
  };
}
new MutationObserver((records) => {
  for (const record of records) mark(record.target);
  const form = document.getElementById('form');
  if (!window.shown && form && !form.hidden) {
    window.shown = true;
    requestAnimationFrame(() => setTimeout(() => { window.paintedAt = performance.now(); }));
  }
}).observe(document, {subtree: true, childList: true, attributes: true, characterData: true});
"""


def baseline_site(site, folder, worker=False):
    """A copy of the site whose main.js is the baseline's, without the
    WebAssembly and the pictures, and with a service worker of its own built
    as the game's is (`worker`), or none."""
    shutil.copytree(site, folder, dirs_exist_ok=True,
                    ignore=shutil.ignore_patterns("*.wasm", "*.webp", "sw.js"))
    # Its script is joined with the page's modules as the game's is.
    script = bundle_script(shutil.which("esbuild") or "esbuild",
                           [Path(HERE, "web_baseline.js")])
    version = os.path.dirname(glob.glob(os.path.join(folder, "v", "*", "main.js"))[0])
    with open(os.path.join(version, "main.js"), "w", encoding="utf-8") as f:
        f.write(script)
    # Nor does its page ask for them in advance, or check its main.js
    # against the game's.
    page = os.path.join(folder, "index.html")
    with open(page, encoding="utf-8") as f:
        lines = [re.sub(r'(main\.js") integrity="[^"]*"', r"\1", line) for line in f
                 if not re.search(r'rel="(module)?preload" href="[^"]*\.wasm"', line)]
    if worker:
        lines = [line.replace("<html ", "<html data-worker ", 1) for line in lines]
    with open(page, "w", encoding="utf-8") as f:
        f.writelines(lines)
    if worker:
        write_worker(Path(WEB, "sw.js.in"), Path(folder),
                     os.path.relpath(version, folder).replace(os.sep, "/"))


def first_visit(driver, site, profile=False):
    """Opens the page in a fresh context; its readiness time in ms."""
    game = driver("open", origin=site.origin, path="/", viewport=DESKTOP, dpr=1, touch=False,
                  init=MEASURE, profile=profile)
    driver("waitFor", game=game, expression="!!window.paintedAt", timeout=30000)
    return game, driver("eval", game=game, expression="window.paintedAt")


def return_visit(driver, site, kept, profile=False):
    """Visits the page, once it is ready (and kept, if it keeps itself)
    and a moment later visits it again in the same context; that visit's
    readiness time."""
    game, _ = first_visit(driver, site, profile)
    if kept:
        driver("waitFor", game=game, expression=WORKER_ACTIVATED, timeout=30000)
    time.sleep(RETURN_AFTER_S)
    driver("goto", game=game, url=site.origin + "/")
    driver("waitFor", game=game, expression="!!window.paintedAt", timeout=30000)
    return game, driver("eval", game=game, expression="window.paintedAt")


def transfer(driver, site, root):
    site.served.clear()
    game, _ = first_visit(driver, site)
    driver("waitFor", game=game, timeout=30000, expression=SERVICE_WORKER_ACTIVE)
    driver("close", game=game)
    files = {"index.html" if path.endswith("/") else path.lstrip("/") for path in site.served}
    sizes = {}
    for name in sorted(files):
        with open(os.path.join(root, name), "rb") as f:
            sizes[name] = len(gzip.compress(f.read(), 9))
    total = sum(size for name, size in sizes.items() if not INSTALL_ONLY.match(name)) / 1024
    core = sum(size for name, size in sizes.items() if name.endswith(CORE_TYPES)) / 1024
    print("\n== Web: first visit, gzip-compressed (service worker's copies included)")
    for name, size in sizes.items():
        print("%-44s %8.1f KiB%s" % (name, size / 1024,
                                      " (install only)" if INSTALL_ONLY.match(name) else ""))
    print("all files but the install-only icons %.1f KiB (target <= %d): %s" % (
        total, TRANSFER_TARGET_KIB, "met" if total <= TRANSFER_TARGET_KIB else "NOT met"))
    print("page, style, scripts, wasm %.1f KiB (target <= %d): %s" % (
        core, CORE_TARGET_KIB, "met" if core <= CORE_TARGET_KIB else "NOT met"))
    return total <= TRANSFER_TARGET_KIB and core <= CORE_TARGET_KIB


def navigation(driver, sites, runs, profile=False):
    """sites: [(name, Site, kept, kinds)], the baseline first and the game
    last. Each kind of visit in a site's `kinds` against the baseline's of
    the same kind."""
    ok = True
    for kind, visit in ((FIRST, lambda site, kept: first_visit(driver, site, profile)),
                        (RETURN, lambda site, kept: return_visit(driver, site, kept, profile))):
        measured = [(name, site, kept) for name, site, kept, kinds in sites if kind in kinds]
        times = {name: [] for name, _, _ in measured}
        for run in range(runs + 2):  # two warm-up rounds
            for name, site, kept in measured:
                game, ms = visit(site, kept)
                driver("close", game=game)
                if run >= 2:
                    times[name].append(ms)
        print("\n== Web: navigation to the board painted, %s, %d runs each" % (kind, runs))
        print("%-26s %9s %9s %9s %9s" % ("page", "median ms", "min ms", "max ms", "x time"))
        base = statistics.median(times[measured[0][0]])
        for name, _, _ in measured:
            med = statistics.median(times[name])
            print("%-26s %9.1f %9.1f %9.1f %9.3f" % (name, med, min(times[name]),
                                                     max(times[name]), med / base))
        ratio = statistics.median(times[measured[-1][0]]) / base
        print("navigation, %s, %.3f x the baseline's (target <= %.2f): %s" % (
            kind, ratio, NAVIGATION_RATIO_TARGET,
            "met" if ratio <= NAVIGATION_RATIO_TARGET else "NOT met"))
        ok = ok and ratio <= NAVIGATION_RATIO_TARGET
    return ok


def slide(driver, site, facts):
    """A new game, then cell 14's tile slides into the empty cell 15."""
    game, _ = first_visit(driver, site)
    # The worker is registered once the pictures are in.
    driver("waitFor", game=game, timeout=30000, expression=SERVICE_WORKER_ACTIVE)

    def click(left, top, width, height):
        client = driver("eval", game=game, expression=box("#client"))
        driver("clicks", game=game, touch=False,
               points=[(client["x"] + left + width / 2, client["y"] + top + height / 2)])
        time.sleep(SETTLE_S)

    click(*facts["new_game_button_rect"])
    driver("eval", game=game, expression="window.touched.clear()")
    left, top = facts["board_origin"]
    pitch, side = facts["cell_pitch"], facts["board_side"]
    click(left + pitch * 2, top + pitch * (side - 1), pitch, pitch)  # cell 14
    touched = sorted(driver("eval", game=game, expression="[...window.touched]"))
    driver("close", game=game)
    ok = touched == ["cell_14", "cell_15"]
    print("\n== Web: a slide from cell 14 to cell 15 draws or changes: %s (target: the two "
          "cells only): %s" % (", ".join(touched) or "nothing", "met" if ok else "NOT met"))
    return ok


def web_bench(site_root, facts, runs, profile=False):
    with tempfile.TemporaryDirectory(prefix="tarpo-bench-web-") as plain, \
            tempfile.TemporaryDirectory(prefix="tarpo-bench-web-worker-") as kept:
        baseline_site(site_root, plain)
        baseline_site(site_root, kept, worker=True)
        sites = [Site(plain), Site(kept), Site(site_root)]
        driver = Driver()
        try:
            ok = transfer(driver, sites[-1], site_root)
            # The baseline with the game's worker tells what keeping the page
            # costs on its own; the target is against the plain baseline. On
            # a first visit it is the plain baseline until its window is
            # shown, so it is measured on return visits only.
            ok = navigation(driver, [("baseline (same controls)", sites[0], False, BOTH),
                                     ("baseline + worker", sites[1], True, (RETURN,)),
                                     ("tarpo page", sites[2], True, BOTH)], runs, profile) and ok
            return slide(driver, sites[-1], facts) and ok
        finally:
            driver.close()
            for site in sites:
                site.shutdown()
                site.server_close()


def main():
    parser = argparse.ArgumentParser(description="The web page's figures alone.")
    parser.add_argument("site")
    parser.add_argument("facts")
    parser.add_argument("--runs", type=int, default=40)
    parser.add_argument("--profile", action="store_true")
    args = parser.parse_args()
    with open(args.facts, encoding="utf-8") as f:
        facts = json.load(f)
    return 0 if web_bench(os.path.abspath(args.site), facts, args.runs, args.profile) else 1


if __name__ == "__main__":
    sys.exit(main())
