#!/usr/bin/env python3
"""Reads the version record back out of the built tarpo.exe (wrestool, from
icoutils, extracts the raw RT_VERSION resource): the numbers of its fixed part
and its strings, which are stored as UTF-16LE.

Usage: check_version_resource.py TARPO_EXE VERSION"""

import subprocess
import struct
import sys
from checks import expect_fields, fail, tool

RT_VERSION = 16


def version_resource(exe):
    argv = [tool("wrestool"), "--extract", "--raw", "--type=%d" % RT_VERSION, exe]
    result = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    if result.returncode != 0 or not result.stdout:
        fail("no version record in %s: %s" % (exe, result.stderr.decode().strip()))
    return result.stdout


def align4(n):
    return (n + 3) & ~3


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
    exe, version = sys.argv[1:3]
    major, minor = (int(part) for part in version.split("."))
    key, fixed, children, _ = read_block(version_resource(exe), 0)
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
    expect_fields("the version strings", strings, wanted)

    print("ok: version record %s, %d strings" % (version, len(strings)))


if __name__ == "__main__":
    main()
