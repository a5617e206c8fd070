#!/usr/bin/env python3
"""Builds the Debian package with cpack from the existing build, checks its
control fields and contents, has lintian find neither error nor warning in
it, unpacks it into a scratch root and starts the unpacked program under Xvfb
until its window shows.

Usage: check_deb.py CPACK BUILD_DIR WORK_DIR VERSION"""

import glob
import os
import re
import shutil
import subprocess
import sys
import time
from checks import INSTALLED, fail, run, tool

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from xsession import XSession  # noqa: E402

TITLE = "zodaziror uvedored"


def build_package(cpack, build_dir, out_dir):
    run([cpack, "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-G", "DEB",
         "-B", out_dir])
    debs = glob.glob(os.path.join(out_dir, "*.deb"))
    if len(debs) != 1:
        fail("cpack made %r, expected one .deb" % debs)
    return debs[0]


def check_control(deb, version):
    fields = {}
    for line in run([tool("dpkg-deb"), "--field", deb, "Package", "Version", "Depends",
                     "Architecture"]).splitlines():
        key, _, value = line.partition(":")
        fields[key.strip()] = value.strip()
    arch = fields.get("Architecture")
    if fields.get("Package") != "tarpo":
        fail("Package is %r" % fields.get("Package"))
    # The project's version and a Debian revision.
    if not re.fullmatch(re.escape(version) + r"-[0-9]+", fields.get("Version", "")):
        fail("Version is %r, the project is at %r" % (fields.get("Version"), version))
    if os.path.basename(deb) != "tarpo_%s_%s.deb" % (fields["Version"], arch):
        fail("the package file is called %s" % os.path.basename(deb))
    # dpkg-shlibdeps names the libraries the binary links, with versions.
    depends = [d.strip() for d in fields.get("Depends", "").split(",")]
    for library in ("libqt6widgets6", "libqt6gui6", "libqt6core6", "libc6", "libstdc++6"):
        if not any(d.split()[0] == library and "(>=" in d for d in depends if d):
            fail("Depends %r has no versioned %s" % (fields.get("Depends"), library))


def check_runs(program):
    with XSession() as x:
        started = time.monotonic()
        game = x.start([program], extra_env={"QT_QPA_PLATFORM": "xcb"})
        try:
            window = str(x.find_window(TITLE, timeout=20))
            print("window %s titled %r after %.1f s" % (window, TITLE, time.monotonic() - started))
            # Check that the embedded icon reaches the window. Qt puts it into
            # _NET_WM_ICON as width, height and pixels; the icon is 64x64.
            icon = x.run([tool("xprop"), "-id", window, "_NET_WM_ICON"]).decode()
            if "Icon (64 x 64)" not in icon:
                fail("the window has no 64x64 icon: %s" % icon[:200])
            wm_class = x.run([tool("xprop"), "-id", window, "WM_CLASS"]).decode()
            if '"tarpo"' not in wm_class:
                fail("WM_CLASS does not name tarpo: " + wm_class)
            if game.poll() is not None:
                fail("the program exited with %s" % game.returncode)
        except AssertionError as error:
            fail("%s (the program %s)" % (error, "is running" if game.poll() is None else
                                          "exited with %s" % game.returncode))


def main():
    cpack, build_dir, work_dir, version = sys.argv[1:5]
    shutil.rmtree(work_dir, ignore_errors=True)
    os.makedirs(work_dir)
    deb = build_package(cpack, build_dir, os.path.join(work_dir, "out"))
    check_control(deb, version)
    # Any warning or error tag fails the test. lintian writes its tags to
    # stdout and its notes about running as root to stderr.
    lintian = subprocess.run([tool("lintian"), "--fail-on", "error,warning", deb],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                             timeout=300)
    if lintian.returncode != 0:
        fail("lintian:\n" + lintian.stdout)

    root = os.path.join(work_dir, "root")
    run([tool("dpkg"), "-x", deb, root])
    for relative in ("usr/" + path for path in INSTALLED):
        if not os.path.isfile(os.path.join(root, relative)):
            fail("not in the package: " + relative)
    program = os.path.join(root, "usr/games/tarpo")
    # Debian binaries carry no RPATH, but Qt's project set-up would add
    # $ORIGIN.
    dynamic = run([tool("readelf"), "--dynamic", program], show=False)
    if "RPATH" in dynamic or "RUNPATH" in dynamic:
        fail("the packaged binary has a library search path:\n" + dynamic)
    check_runs(program)
    print("ok: %s" % os.path.basename(deb))


if __name__ == "__main__":
    main()
