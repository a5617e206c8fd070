#!/usr/bin/env python3
"""Checks what a Windows user gets in the one file tarpo.exe, read from the
built file with pefile. It must be a 64-bit GUI program that imports only
DLLs every Windows has (no MinGW runtime), stay small, carry the icon at
every size Windows shows, a version record, and a manifest that asks for
per-monitor DPI awareness but not for the Common Controls 6 look, so that
the button and the list keep the classic 3D look of the cells' sunken
frames.

Usage: check_windows_exe.py TARPO_EXE VERSION"""

import os
import struct
import sys

import pefile

from checks import expect_fields, fail

MAX_BYTES = 1536 * 1024  # 1.5 MiB, the pictures included
# DLLs that are part of every Windows since 10. Anything else (libstdc++-6,
# libgcc_s_seh-1, libwinpthread-1, Qt...) would have to be shipped with it.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "msvcrt.dll",
               "advapi32.dll", "shell32.dll", "ole32.dll", "uxtheme.dll", "oleacc.dll",
               "oleaut32.dll"}
ICON_SIZES = [16, 24, 32, 48, 256]
MANIFEST_NEEDS = ["PerMonitorV2", "true/pm"]
MANIFEST_REFUSES = ["Microsoft.Windows.Common-Controls"]


def resource(pe, kind):
    """The data of the first resource of a type."""
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == pefile.RESOURCE_TYPE[kind]:
            data = entry.directory.entries[0].directory.entries[0].data.struct
            return pe.get_data(data.OffsetToData, data.Size)
    fail("no %s resource" % kind)


def check_version(pe, version):
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        fail("no version record")
    major, minor = (int(part) for part in version.split("."))
    # The file and product versions as (major << 16 | minor, build << 16 | revision).
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = (fixed.FileVersionMS, fixed.FileVersionLS, fixed.ProductVersionMS,
               fixed.ProductVersionLS)
    if numbers != (major << 16 | minor, 0) * 2:
        fail("numeric versions %#x,%#x / %#x,%#x, expected %d,%d,0,0" % (*numbers, major, minor))
    strings = {key.decode(): value.decode() for info in pe.FileInfo[0]
               for table in getattr(info, "StringTable", []) for key, value in table.entries.items()}
    wanted = {"FileVersion": version, "ProductVersion": version, "ProductName": "tarpo",
              "InternalName": "tarpo", "OriginalFilename": "tarpo.exe",
              "FileDescription": "Пятнашки с картинками"}
    expect_fields("the version strings", strings, wanted)


def main():
    exe, version = sys.argv[1:3]
    pe = pefile.PE(exe)
    gui = pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]
    if pe.FILE_HEADER.Machine != pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"] or not gui:
        fail("not a 64-bit Windows GUI program")
    imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    if not imports or imports - SYSTEM_DLLS:
        fail("imports DLLs that Windows does not have: %s" % sorted(imports - SYSTEM_DLLS))

    size = os.path.getsize(exe)
    if size > MAX_BYTES:
        fail("%d bytes, more than %d" % (size, MAX_BYTES))

    # The icon group: a 6-byte header, then 14 bytes per image, its width
    # first (0 for 256).
    group = resource(pe, "RT_GROUP_ICON")
    count, = struct.unpack_from("<H", group, 4)
    sizes = sorted(group[6 + 14 * i] or 256 for i in range(count))
    if sizes != ICON_SIZES:
        fail("icon sizes %s, expected %s" % (sizes, ICON_SIZES))

    manifest = resource(pe, "RT_MANIFEST")
    missing = [text for text in MANIFEST_NEEDS if text.encode() not in manifest]
    if missing:
        fail("the manifest lacks %s" % missing)
    unwanted = [text for text in MANIFEST_REFUSES if text.encode() in manifest]
    if unwanted:
        fail("the manifest asks for %s" % unwanted)
    check_version(pe, version)
    print("ok: %d bytes, imports %s, icon %s, version %s"
          % (size, ", ".join(sorted(imports)), sizes, version))


if __name__ == "__main__":
    main()
