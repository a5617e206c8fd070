#!/usr/bin/env python3
"""Installs the built project into a scratch prefix with `cmake --install` and
checks what lands there: the program, the desktop entry, the icon in every
size and the AppStream file, each run through its validator.

Usage: check_install.py CMAKE BUILD_DIR WORK_DIR VERSION"""

import configparser
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

from checks import INSTALLED, PNG_SIZES, expect_fields, fail, run, tool


def check_desktop_entry(path, program):
    run([tool("desktop-file-validate"), path])
    parser = configparser.RawConfigParser(interpolation=None)
    parser.optionxform = str  # keys are case-sensitive
    with open(path, encoding="utf-8") as f:
        parser.read_file(f)
    entry = parser["Desktop Entry"]
    expected = {"Type": "Application", "Name": "tarpo", "Exec": program, "Icon": "tarpo",
                "Categories": "Game;LogicGame;"}
    expect_fields(path, entry, expected)
    for key in ("Comment", "GenericName"):
        text = entry.get(key, "")
        if not any("\u0400" <= ch <= "\u04ff" for ch in text):
            fail("%s: %s %r is not in Russian" % (path, key, text))


def check_metainfo(path, version):
    # Any warning or error of the validator fails the test.
    run([tool("appstreamcli"), "validate", "--no-net", "--pedantic", path])
    root = ET.parse(path).getroot()
    if root.get("type") != "desktop-application":
        fail("%s: component type %r" % (path, root.get("type")))
    checks = [("id", "org.tarpo.Tarpo"), ("metadata_license", "CC0-1.0"), ("project_license", "MIT"),
              ("launchable[@type='desktop-id']", "org.tarpo.Tarpo.desktop")]
    for xpath, value in checks:
        if root.findtext(xpath, "").strip() != value:
            fail("%s: <%s> is %r, expected %r" % (path, xpath, root.findtext(xpath), value))
    releases = [r.get("version") for r in root.findall("releases/release")]
    if not releases or releases[0] != version:
        fail("%s: newest release is %r, the project is at %r" % (path, releases[:1], version))
    if root.find("content_rating") is None:
        fail("%s: no content rating" % path)


def icon_point(picture_x, picture_y, size):
    """Where a point of the 320x320 skull picture shows in a size x size icon:
    data/icons/tarpo.svg draws the picture at 0.7 scale on the board, which
    starts at (16, 16) of its 256x256 canvas."""
    return int((16 + 0.7 * picture_x) * size / 256), int((16 + 0.7 * picture_y) * size / 256)


def read_png(path):
    """(width, height, pixel) where pixel(x, y) is an (r, g, b, a) tuple, as
    ImageMagick reads the file."""
    width, height = map(int, run([tool("identify"), "-format", "%w %h", path], show=False).split())
    rgba = subprocess.run([tool("convert"), path, "-depth", "8", "rgba:-"], stdout=subprocess.PIPE,
                          check=True).stdout
    return width, height, lambda x, y: tuple(rgba[4 * (y * width + x):4 * (y * width + x) + 4])


def check_png(path, size):
    width, height, pixel = read_png(path)
    if (width, height) != (size, size):
        fail("%s is %dx%d, expected %dx%d" % (path, width, height, size, size))
    # The plate has round corners, so the very corner is (nearly) transparent
    # and the middle of the board is opaque.
    if pixel(0, 0)[3] > 100:
        fail("%s: the corner is not transparent: %r" % (path, pixel(0, 0)))
    if pixel(size // 2, size // 2)[3] != 255:
        fail("%s: the middle is not opaque" % path)
    # The empty cell, bottom right, is plain light grey.
    empty = pixel(size * 200 // 256, size * 200 // 256)
    if max(empty[:3]) - min(empty[:3]) > 8 or empty[0] < 150:
        fail("%s: the empty cell is not light grey: %r" % (path, empty))
    # The tiles show the skull: bone on the forehead, a dark or glowing socket.
    forehead = pixel(*icon_point(195, 105, size))
    if not (forehead[0] > 180 and forehead[0] > forehead[2] + 30):
        fail("%s: no bone colour on the skull's forehead: %r" % (path, forehead))
    eye = pixel(*icon_point(118, 178, size))
    if not (max(eye[:3]) < 60 or eye[0] > eye[2] + 50):
        fail("%s: no dark or glowing eye socket: %r" % (path, eye))


def main():
    cmake, build_dir, work_dir, version = sys.argv[1:5]
    prefix = os.path.join(work_dir, "prefix")
    shutil.rmtree(work_dir, ignore_errors=True)
    os.makedirs(work_dir)
    run([cmake, "--install", build_dir, "--prefix", prefix])

    for relative in INSTALLED:
        if not os.path.isfile(os.path.join(prefix, relative)):
            fail("not installed: " + relative)

    def installed(relative):
        return os.path.join(prefix, relative)

    program = installed("games/tarpo")
    if not os.access(program, os.X_OK):
        fail("games/tarpo is not executable")
    # The entry names the program by its full path, since /usr/games is not on
    # every PATH.
    check_desktop_entry(installed("share/applications/org.tarpo.Tarpo.desktop"), program)
    check_metainfo(installed("share/metainfo/org.tarpo.Tarpo.metainfo.xml"), version)
    svg = ET.parse(installed("share/icons/hicolor/scalable/apps/tarpo.svg")).getroot()
    if svg.tag != "{http://www.w3.org/2000/svg}svg":
        fail("the scalable icon is not an SVG picture: " + svg.tag)
    for size in PNG_SIZES:
        check_png(installed("share/icons/hicolor/%dx%d/apps/tarpo.png" % (size, size)), size)
    print("ok: %s installs the program, desktop entry, metainfo and %d icons"
          % (build_dir, len(PNG_SIZES) + 1))


if __name__ == "__main__":
    main()
