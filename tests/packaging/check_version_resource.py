#!/usr/bin/env python3
"""Reads the version record back out of the built tarpo.exe with pefile: the
numbers of its fixed part and its strings.

Usage: check_version_resource.py TARPO_EXE VERSION"""

import sys

import pefile

from checks import expect_fields, fail


def main():
    exe, version = sys.argv[1:3]
    major, minor = (int(part) for part in version.split("."))
    pe = pefile.PE(exe, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        fail("no version record in " + exe)

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

    print("ok: version record %s, %d strings" % (version, len(strings)))


if __name__ == "__main__":
    main()
