#!/usr/bin/env python3
"""Start-up without a usable window system: the program says what failed in
one line on stderr and exits with status 1 -- no abort, no core dump, no
screen of Qt plugin messages. A missing X display is named plainly; any other
failure in Qt's own words (an unknown platform plugin with the ones there are,
a Wayland compositor that is not there).

Usage: no_display_test.py TARPO_EXECUTABLE FORM_JSON"""

import json
import os
import socket
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
    with open(sys.argv[2], encoding="utf-8") as f:
        errors = json.load(f)["errors"]
    base = {k: v for k, v in os.environ.items()
            if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE")}
    display = free_display()
    runtime = tempfile.TemporaryDirectory()  # no compositor listens here
    base["XDG_RUNTIME_DIR"] = runtime.name
    dead = socket.socket(socket.AF_UNIX)  # a socket whose compositor has gone
    dead.bind(os.path.join(runtime.name, "wayland-dead"))
    dead.close()
    opening = "%s: %s" % (errors["program_name"], errors["cannot_open_window"].replace("%1", ""))
    no_x = errors["no_x_display"]
    no_wl = "wayland: Failed to create wl_display"
    # (case, extra environment, what the line must say)
    cases = [
        ("DISPLAY unset", {}, [opening + no_x]),
        ("DISPLAY unset, xcb asked for", {"QT_QPA_PLATFORM": "xcb"}, [opening + no_x]),
        ("no server at %s" % display, {"DISPLAY": display},
         [opening + errors["no_x_server"].replace("%1", display)]),
        ("unknown platform plugin", {"QT_QPA_PLATFORM": "nosuch"},
         ['"nosuch"', "Available platform plugins are:", "xcb", "wayland"]),
        ("Wayland without a compositor", {"QT_QPA_PLATFORM": "wayland"},
         [no_wl, errors["no_wayland_display"]]),
        ("dead WAYLAND_DISPLAY", {"WAYLAND_DISPLAY": "wayland-dead"},
         [no_wl, '"wayland-dead"', "xcb: " + no_x]),
    ]
    failures = 0
    for name, extra, says in cases:
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
        if len(lines) != 1 or not lines[0].startswith(opening) or \
                not all(part in lines[0] for part in says):
            problems.append("stderr is not one line saying %r: %r" % (says, lines))
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
