"""What the packaging checks share: failing with a message, finding a tool,
running one, comparing fields, and the files an install carries."""

import shutil
import subprocess
import sys


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def tool(name):
    path = shutil.which(name)
    if not path:
        fail("%s is not installed (scripts/install-deps installs it)" % name)
    return path


def run(argv, env=None, timeout=120, show=True):
    """Runs a command; a non-zero exit shows its output and fails the test."""
    result = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            env=env, timeout=timeout)
    if show or result.returncode != 0:
        sys.stdout.write(result.stdout)
    if result.returncode != 0:
        fail("%s exited with %d" % (" ".join(argv), result.returncode))
    return result.stdout


def expect_fields(where, fields, expected):
    """Fails on the first of `expected`'s fields that `fields` lacks or has otherwise."""
    for name, value in expected.items():
        if fields.get(name) != value:
            fail("%s: %s is %r, expected %r" % (where, name, fields.get(name), value))


PNG_SIZES = (16, 32, 48, 64, 128, 256)
# What an install puts under its prefix.
INSTALLED = ["games/tarpo", "share/applications/org.tarpo.Tarpo.desktop",
             "share/metainfo/org.tarpo.Tarpo.metainfo.xml",
             "share/icons/hicolor/scalable/apps/tarpo.svg"] + [
    "share/icons/hicolor/%dx%d/apps/tarpo.png" % (s, s) for s in PNG_SIZES]
