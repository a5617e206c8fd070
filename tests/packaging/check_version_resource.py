#!/usr/bin/env python3
"""Compiles the configured Windows resource script (window/tarpo.rc.in) with
the MinGW resource compiler and reads the version record back out of the
binary resource: the numbers of its fixed part and its strings, which are
stored as UTF-16LE.

Usage: check_version_resource.py RC_FILE WORK_DIR VERSION"""

import os
import shutil
import struct
import subprocess
import sys
from checks import fail

WINDRES = "x86_64-w64-mingw32-windres"
RT_VERSION = 16


def windres(rc_file, output, fmt):
    path = shutil.which(WINDRES)
    if not path:
        fail("%s is not installed (scripts/install-deps installs it)" % WINDRES)
    # The script includes no headers; the host's cpp preprocesses it.
    argv = [path, "--preprocessor=cpp", "-i", rc_file, "-O", fmt, "-o", output]
    result = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            timeout=60)
    sys.stdout.write(result.stdout)
    if result.returncode != 0:
        fail("%s exited with %d" % (" ".join(argv), result.returncode))
    with open(output, "rb") as f:
        return f.read()


def align4(n):
    return (n + 3) & ~3


def read_id(data, pos):
    """A resource type or name in a .res header: 0xFFFF and a number, or a string."""
    if struct.unpack_from("<H", data, pos)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def version_resources(res):
    """The data of every RT_VERSION resource in a .res file."""
    found = []
    pos = 0
    while pos + 8 <= len(res):
        data_size, header_size = struct.unpack_from("<II", res, pos)
        kind, after = read_id(res, pos + 8)
        if kind == RT_VERSION:
            start = pos + header_size
            found.append(res[start:start + data_size])
        pos = align4(pos + header_size + data_size)
    return found


def read_block(data, pos):
    """One node of the version tree: (key, value, children, end)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    key_start = key_end = pos + 6
    while struct.unpack_from("<H", data, key_end)[0] != 0:
        key_end += 2
    key = data[key_start:key_end].decode("utf-16-le")
    value_pos = align4(key_end + 2)
    if kind == 1:  # text: value_length counts UTF-16 units, the terminator included
        value = data[value_pos:value_pos + 2 * value_length].decode("utf-16-le").rstrip("\0")
        child_pos = align4(value_pos + 2 * value_length)
    else:
        value = data[value_pos:value_pos + value_length]
        child_pos = align4(value_pos + value_length)
    children = []
    while child_pos < end:
        child = read_block(data, child_pos)
        children.append(child)
        child_pos = align4(child[3])
    return key, value, children, end


def main():
    rc_file, work_dir, version = sys.argv[1:4]
    shutil.rmtree(work_dir, ignore_errors=True)
    os.makedirs(work_dir)
    major, minor = (int(part) for part in version.split("."))

    res = windres(rc_file, os.path.join(work_dir, "tarpo.res"), "res")
    records = version_resources(res)
    if len(records) != 1:
        fail("%d version records in the resource, expected one" % len(records))
    key, fixed, children, _ = read_block(records[0], 0)
    if key != "VS_VERSION_INFO":
        fail("the version record is called %r" % key)

    # VS_FIXEDFILEINFO: signature, structure version, then the file and
    # product versions as (major << 16 | minor, build << 16 | revision).
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != 0xFEEF04BD:
        fail("no fixed version part (signature %#x)" % signature)
    expected = (major << 16 | minor, 0)
    if (file_ms, file_ls) != expected or (product_ms, product_ls) != expected:
        fail("numeric versions %#x,%#x / %#x,%#x, expected %d,%d,0,0"
             % (file_ms, file_ls, product_ms, product_ls, major, minor))

    strings = {}
    for child_key, _, tables, _ in children:
        if child_key == "StringFileInfo":
            for _, _, entries, _ in tables:
                strings.update((k, v) for k, v, _, _ in entries)
    wanted = {"FileVersion": version, "ProductVersion": version, "ProductName": "tarpo",
              "InternalName": "tarpo", "OriginalFilename": "tarpo.exe",
              "FileDescription": "Пятнашки с картинками"}
    for name, value in wanted.items():
        if strings.get(name) != value:
            fail("%s is %r, expected %r" % (name, strings.get(name), value))

    # The object file linked into tarpo.exe carries the same strings, UTF-16LE.
    coff = windres(rc_file, os.path.join(work_dir, "tarpo_rc.o"), "coff")
    if coff[:2] != b"\x64\x86":
        fail("the object file is not for x86-64 (machine %r)" % coff[:2])
    for value in wanted.values():
        if value.encode("utf-16-le") not in coff:
            fail("%r is not in the object file" % value)
    print("ok: version record %s, %d strings" % (version, len(strings)))


if __name__ == "__main__":
    main()
