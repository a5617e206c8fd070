#!/usr/bin/env python3
"""Start-up without a usable display: the program says so in one line on
stderr and exits with status 1 -- no abort, no core dump, no screen of Qt
plugin messages.

Usage: no_display_test.py TARPO_EXECUTABLE"""

import os
import subprocess
import sys
import tempfile


def free_display():
    """A display number that no X server serves: no socket, no lock file."""
    for number in range(99, 200):
        if not (os.path.exists("/tmp/.X11-unix/X%d" % number) or
                os.path.exists("/tmp/.X%d-lock" % number)):
            return ":%d" % number
    raise RuntimeError("no free display number")


def main():
    exe = os.path.abspath(sys.argv[1])
    base = {k: v for k, v in os.environ.items()
            if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE")}
    display = free_display()
    # (case, extra environment, what the line must name)
    cases = [
        ("DISPLAY unset", {}, "DISPLAY is not set"),
        ("DISPLAY unset, xcb asked for", {"QT_QPA_PLATFORM": "xcb"}, "DISPLAY is not set"),
        ("no server at %s" % display, {"DISPLAY": display}, '"%s"' % display),
    ]
    failures = 0
    for name, extra, named in cases:
        with tempfile.TemporaryDirectory() as cwd:
            result = subprocess.run([exe], env=dict(base, **extra), cwd=cwd,
                                    stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, timeout=30)
            leftovers = os.listdir(cwd)
        lines = result.stderr.decode(errors="replace").splitlines()
        problems = []
        if result.returncode != 1:
            problems.append("exit status %d, expected 1 (negative: killed by a signal)"
                            % result.returncode)
        if len(lines) != 1 or not lines[0].startswith("tarpo: ") or named not in lines[0]:
            problems.append("stderr is not one line naming %s: %r" % (named, lines))
        if result.stdout:
            problems.append("stdout is not empty: %r" % result.stdout)
        if leftovers:
            problems.append("files left behind: %r" % leftovers)
        print("%s: %s" % (name, "; ".join(problems) if problems else "ok (%s)" % lines[0]))
        failures += bool(problems)
    print("no_display: %d passed, %d failed" % (len(cases) - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
