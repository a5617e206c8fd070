#!/usr/bin/env python3
"""Completes the site in its directory once the page's files are there.

Usage: make_site.py --facts FORM_JSON --assets DIR --page INDEX_HTML --worker SW_TEMPLATE
                    --site DIR --modules MAIN_JS [MODULE_JS...]

- the pictures: per picture set, its pieces (24-bit BMPs) put together again into the whole picture, row by row in piece
  order, and its preview (preview.bmp) as it is; PNGs that carry the pixels
  and nothing else (no gamma or colour-space chunk), so that the browser
  shows the very values of the BMPs;
- form.json: the form description with the paths of those pictures added;
- index.html: the page, asking in advance for what start-up needs;
- sw.js: the service worker, with the list of the files it keeps for offline
  use and a version that changes with any of them.
"""
import argparse
import hashlib
import json
import struct
import sys
import zlib
from pathlib import Path

PICTURE_DIR = "pictures"
WORKER = "sw.js"


def read_bmp(path):
    """(width, height, rows of RGB bytes top to bottom) of a 24-bit BMP."""
    data = path.read_bytes()
    if data[:2] != b"BM":
        sys.exit("%s: not a BMP file" % path)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        sys.exit("%s: %d bits per pixel, expected 24" % (path, bits))
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = height - 1 - y if height > 0 else y  # bottom-up unless negative
        bgr = data[offset + source * stride:offset + source * stride + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, abs(height), rows


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filtered(row, prior):
    """The row under each of the five PNG filters, each with its type byte."""
    n = len(row)
    left = bytes(3) + row[:-3]
    up = prior
    up_left = bytes(3) + prior[:-3]
    return [
        b"\0" + row,
        b"\1" + bytes((row[i] - left[i]) & 255 for i in range(n)),
        b"\2" + bytes((row[i] - up[i]) & 255 for i in range(n)),
        b"\3" + bytes((row[i] - ((left[i] + up[i]) >> 1)) & 255 for i in range(n)),
        b"\4" + bytes((row[i] - paeth(left[i], up[i], up_left[i])) & 255 for i in range(n)),
    ]


def cost(line):
    # The usual heuristic: the smallest sum of the bytes taken as signed.
    return sum(b if b < 128 else 256 - b for b in line[1:])


def write_png(path, width, rows):
    prior = bytes(width * 3)
    raw = bytearray()
    for row in rows:
        raw += min(filtered(row, prior), key=cost)
        prior = row

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body)))

    header = struct.pack(">IIBBBBB", width, len(rows), 8, 2, 0, 0, 0)  # 8-bit RGB
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                     chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def picture_rows(assets, piece_paths, per_row):
    """The whole picture of a set, its pieces put together again."""
    pieces = [read_bmp(assets / path) for path in piece_paths]
    side = pieces[0][0]
    if any((w, h) != (side, side) for w, h, _ in pieces):
        sys.exit("%s: the pieces are not squares of one size" % piece_paths[0])
    rows = []
    for band in range(len(pieces) // per_row):
        for y in range(side):
            rows.append(b"".join(pieces[band * per_row + c][2][y] for c in range(per_row)))
    return side * per_row, rows


def write_pictures(facts, assets, site):
    """Writes each set's PNGs; returns their paths, relative to the site."""
    (site / PICTURE_DIR).mkdir(parents=True, exist_ok=True)
    paths = []
    for picture_set in facts["picture_sets"]:
        picture = "%s/%s.png" % (PICTURE_DIR, picture_set["folder"])
        write_png(site / picture,
                  *picture_rows(assets, picture_set["pieces"], facts["board_side"]))
        preview = None
        if picture_set["preview"]:
            preview = "%s/%s-preview.png" % (PICTURE_DIR, picture_set["folder"])
            width, _, rows = read_bmp(assets / picture_set["preview"])
            write_png(site / preview, width, rows)
        paths.append({"picture": picture, "preview": preview})
    return paths


def offline_files(site):
    """What the service worker keeps: everything but itself and the PNG
    icons, which only installing the app needs and the browser keeps then."""
    files = []
    for path in sorted(site.rglob("*")):
        name = path.relative_to(site).as_posix()
        if path.is_file() and name != WORKER and not (name.startswith("icons/") and
                                                      name.endswith(".png")):
            files.append(name)
    return files


PRELOADS_MARK = "<!-- @PRELOADS@ -->"


def write_page(page, site, modules):
    """The page, asking in its head for every file that start-up needs, so
    that all of them are on their way at once rather than one waiting for
    another: the page's modules, the entry module first, then the game and
    the form description."""
    links = ['<link rel="modulepreload" href="%s">' % name for name in modules]
    links += ['<link rel="preload" href="%s" as="fetch" crossorigin>' % name
              for name in ("tarpo.wasm", "form.json")]
    text = page.read_text(encoding="utf-8")
    if PRELOADS_MARK not in text:
        sys.exit("%s: no %s" % (page, PRELOADS_MARK))
    (site / "index.html").write_text(text.replace(PRELOADS_MARK, "\n".join(links)),
                                     encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--facts", "--assets", "--page", "--worker", "--site"):
        parser.add_argument(option, type=Path, required=True)
    parser.add_argument("--modules", nargs="+", required=True)
    args = parser.parse_args()
    facts = json.loads(args.facts.read_text(encoding="utf-8"))
    facts["site_pictures"] = write_pictures(facts, args.assets, args.site)
    write_page(args.page, args.site, args.modules)
    (args.site / "form.json").write_text(json.dumps(facts, ensure_ascii=False, indent=1) + "\n",
                                         encoding="utf-8")
    files = offline_files(args.site)
    version = hashlib.sha256()
    for name in files:
        version.update(name.encode() + b"\0" + (args.site / name).read_bytes())
    worker = args.worker.read_text(encoding="utf-8")
    worker = worker.replace("@VERSION@", version.hexdigest()[:16])
    worker = worker.replace("@FILES@", json.dumps(["./"] + files))
    (args.site / WORKER).write_text(worker, encoding="utf-8")


if __name__ == "__main__":
    main()
