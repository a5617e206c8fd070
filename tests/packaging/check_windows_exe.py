#!/usr/bin/env python3
"""Checks what a Windows user gets in the one file tarpo.exe, read from the
built file. It must be a 64-bit GUI program that imports only DLLs every
Windows has (no MinGW runtime), stay small, carry the icon at every size
Windows shows, and carry a manifest that asks for per-monitor DPI awareness
but not for the Common Controls 6 look, so that the button and the list keep
the classic 3D look of the cells' sunken frames.

Usage: check_windows_exe.py TARPO_EXE WORK_DIR"""

import os
import re
import shutil
import subprocess
import sys
from checks import fail, tool

MAX_BYTES = 1536 * 1024  # 1.5 MiB, the pictures included
# DLLs that are part of every Windows since 10. Anything else (libstdc++-6,
# libgcc_s_seh-1, libwinpthread-1, Qt...) would have to be shipped with it.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll",
               "advapi32.dll", "shell32.dll", "ole32.dll", "uxtheme.dll", "oleacc.dll",
               "oleaut32.dll"}
ICON_SIZES = [16, 24, 32, 48, 256]
RT_GROUP_ICON, RT_MANIFEST = 14, 24
MANIFEST_NEEDS = ["PerMonitorV2", "true/pm"]
MANIFEST_REFUSES = ["Microsoft.Windows.Common-Controls"]


def run(argv):
    result = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    if result.returncode != 0:
        fail("%s: %s" % (" ".join(argv), result.stderr.decode().strip()))
    return result.stdout


def main():
    exe, work = sys.argv[1:3]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)

    headers = run([tool("x86_64-w64-mingw32-objdump"), "-p", exe]).decode()
    if "file format pei-x86-64" not in headers or "(Windows GUI)" not in headers:
        fail("not a 64-bit Windows GUI program:\n" + headers[:400])
    imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
    if not imports or imports - SYSTEM_DLLS:
        fail("imports DLLs that Windows does not have: %s" % sorted(imports - SYSTEM_DLLS))

    size = os.path.getsize(exe)
    if size > MAX_BYTES:
        fail("%d bytes, more than %d" % (size, MAX_BYTES))

    icon = os.path.join(work, "tarpo.ico")
    with open(icon, "wb") as out:
        out.write(run([tool("wrestool"), "--extract", "--type=%d" % RT_GROUP_ICON, exe]))
    sizes = sorted(int(w) for w in re.findall(r"--width=(\d+)", run([tool("icotool"), "-l", icon])
                                                                   .decode()))
    if sizes != ICON_SIZES:
        fail("icon sizes %s, expected %s" % (sizes, ICON_SIZES))

    manifest = run([tool("wrestool"), "--extract", "--raw", "--type=%d" % RT_MANIFEST, exe])
    missing = [text for text in MANIFEST_NEEDS if text.encode() not in manifest]
    if missing:
        fail("the manifest lacks %s" % missing)
    unwanted = [text for text in MANIFEST_REFUSES if text.encode() in manifest]
    if unwanted:
        fail("the manifest asks for %s" % unwanted)
    print("ok: %d bytes, imports %s, icon %s" % (size, ", ".join(sorted(imports)), sizes))


if __name__ == "__main__":
    main()
