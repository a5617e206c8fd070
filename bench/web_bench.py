"""The web page's figures for `make bench`, in Chromium through the
end-to-end suite's driver (tests/e2e/web.py):

1. Transfer: every file a first visit loads (the service worker's copies
   included), each gzip-compressed as a static host would send it; all of
   it, and the page, style, scripts and WebAssembly alone.
2. Navigation: from the start of navigation until the board is painted
   (the frame drawn after the window is shown with its cells), against a page with the same controls
   from the same modules but neither WebAssembly nor pictures
   (web_baseline.js), each a first visit, taken in turn in one run.
3. A slide: which elements are drawn again (a canvas drawn on) or changed
   in the document, counted by the page itself: the two cells only."""

import gzip
import os
import re
import shutil
import statistics
import tempfile
import time

from web import DESKTOP, SERVICE_WORKER_ACTIVE, Driver, Site, box

HERE = os.path.dirname(os.path.abspath(__file__))
TRANSFER_TARGET_KIB = 256
CORE_TARGET_KIB = 40
CORE_TYPES = (".html", ".css", ".js", ".mjs", ".wasm")
NAVIGATION_RATIO_TARGET = 1.25
SETTLE_S = 0.5

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


def baseline_site(site, folder):
    """A copy of the site whose main.js is the baseline's, without the
    WebAssembly, the pictures and the service worker."""
    shutil.copytree(site, folder, dirs_exist_ok=True,
                    ignore=shutil.ignore_patterns("*.wasm", "*.png", "sw.js"))
    shutil.copy(os.path.join(HERE, "web_baseline.js"), os.path.join(folder, "main.js"))
    # Nor does its page ask for them in advance.
    page = os.path.join(folder, "index.html")
    with open(page, encoding="utf-8") as f:
        lines = [line for line in f if not re.search(r'rel="(module)?preload" href="[^"]*'
                                                     r'\.wasm"', line)]
    with open(page, "w", encoding="utf-8") as f:
        f.writelines(lines)


def first_visit(driver, site):
    """Opens the page in a fresh context; its readiness time in ms."""
    game = driver("open", origin=site.origin, path="/", viewport=DESKTOP, dpr=1, touch=False,
                  init=MEASURE)
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
    total = sum(sizes.values()) / 1024
    core = sum(size for name, size in sizes.items() if name.endswith(CORE_TYPES)) / 1024
    print("\n== Web: first visit, gzip-compressed (service worker's copies included)")
    for name, size in sizes.items():
        print("%-28s %8.1f KiB" % (name, size / 1024))
    print("all files %.1f KiB (target <= %d): %s" % (
        total, TRANSFER_TARGET_KIB, "met" if total <= TRANSFER_TARGET_KIB else "NOT met"))
    print("page, style, scripts, wasm %.1f KiB (target <= %d): %s" % (
        core, CORE_TARGET_KIB, "met" if core <= CORE_TARGET_KIB else "NOT met"))
    return total <= TRANSFER_TARGET_KIB and core <= CORE_TARGET_KIB


def navigation(driver, sites, runs):
    """sites: [(name, Site)], the baseline first."""
    times = {name: [] for name, _ in sites}
    for run in range(runs + 2):  # two warm-up rounds
        for name, site in sites:
            game, ms = first_visit(driver, site)
            driver("close", game=game)
            if run >= 2:
                times[name].append(ms)
    print("\n== Web: navigation to the board painted, first visits, %d runs each" % runs)
    print("%-26s %9s %9s %9s %9s" % ("page", "median ms", "min ms", "max ms", "x time"))
    base = statistics.median(times[sites[0][0]])
    for name, _ in sites:
        med = statistics.median(times[name])
        print("%-26s %9.1f %9.1f %9.1f %9.3f" % (name, med, min(times[name]), max(times[name]),
                                                 med / base))
    ratio = statistics.median(times[sites[-1][0]]) / base
    print("navigation %.3f x the baseline's (target <= %.2f): %s" % (
        ratio, NAVIGATION_RATIO_TARGET, "met" if ratio <= NAVIGATION_RATIO_TARGET else "NOT met"))
    return ratio <= NAVIGATION_RATIO_TARGET


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

    click(*facts["command1_rect"])
    driver("eval", game=game, expression="window.touched.clear()")
    left, top = facts["board_origin"]
    pitch, side = facts["cell_pitch"], facts["board_side"]
    click(left + pitch * 2, top + pitch * (side - 1), pitch, pitch)  # cell 14
    touched = sorted(driver("eval", game=game, expression="[...window.touched]"))
    driver("close", game=game)
    ok = touched == ["Image3_14", "Image3_15"]
    print("\n== Web: a slide from cell 14 to cell 15 draws or changes: %s (target: the two "
          "cells only): %s" % (", ".join(touched) or "nothing", "met" if ok else "NOT met"))
    return ok


def web_bench(site_root, facts, runs):
    with tempfile.TemporaryDirectory(prefix="tarpo-bench-web-") as folder:
        baseline_site(site_root, folder)
        game_site, base_site = Site(site_root), Site(folder)
        driver = Driver()
        try:
            ok = transfer(driver, game_site, site_root)
            ok = navigation(driver, [("baseline (same controls)", base_site),
                                     ("tarpo page", game_site)], runs) and ok
            return slide(driver, game_site, facts) and ok
        finally:
            driver.close()
            for site in (game_site, base_site):
                site.shutdown()
                site.server_close()
