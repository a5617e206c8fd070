#!/usr/bin/env python3
"""End-to-end test: the real tarpo executable in an X session with a window
manager, driven by real X input; screenshots are checked pixel by pixel.

Usage: e2e_test.py TARPO_EXECUTABLE ASSETS_DIR SHOTS_DIR"""

import os
import struct
import sys
import time

from solver import solve
from xsession import XSession

TITLE = "zodaziror uvedored"
CLIENT_SIZE = (456, 343)
PREVIEW = (344, 120, 62, 72)

# The five start layouts, cells 0..14 (cell 15 is empty).
LAYOUTS = [
    [8, 3, 6, 4, 5, 15, 7, 9, 13, 2, 12, 10, 14, 1, 11],
    [2, 7, 4, 8, 1, 3, 9, 11, 13, 6, 12, 15, 14, 10, 5],
    [12, 7, 4, 8, 2, 10, 11, 1, 3, 6, 15, 14, 13, 5, 9],
    [3, 6, 12, 8, 7, 15, 2, 11, 13, 14, 4, 1, 5, 9, 10],
    [7, 3, 6, 12, 13, 4, 8, 10, 14, 11, 15, 2, 5, 1, 9],
]


def read_bmp(path):
    """(width, height, rows of RGB bytes top-down) of a 24-bit bottom-up BMP."""
    data = open(path, "rb").read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def crop(rows, x, y, w, h):
    return b"".join(row[x * 3:(x + w) * 3] for row in rows[y:y + h])


def cell_origin(i):
    return 8 + 80 * (i % 4), 8 + 80 * (i // 4)


class Game:
    """The running program and where its client area is on the screen."""

    def __init__(self, x, exe, scale=1):
        self.x = x
        self.scale = scale
        self.proc = x.start([exe], extra_env={"QT_SCALE_FACTOR": str(scale)} if scale != 1 else None)
        self.window = x.find_window(TITLE)
        left, top, width, height = x.geometry(self.window)
        self.menu_height = height - CLIENT_SIZE[1] * scale
        self.left, self.top = left, top + self.menu_height
        self.size = (width, height)

    def at(self, x, y):
        """Screen position of a point given in the window's own (unscaled) pixels."""
        return self.left + x * self.scale, self.top + y * self.scale

    def click(self, x, y):
        self.x.click(*self.at(x, y))

    def click_cell(self, i):
        ox, oy = cell_origin(i)
        self.click(ox + 40, oy + 40)

    def click_menu_bar(self, x):
        self.x.click(self.left + x, self.top - self.menu_height // 2)


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def main():
    exe, assets, shots = sys.argv[1], sys.argv[2], sys.argv[3]
    os.makedirs(shots, exist_ok=True)
    pieces = {}
    for set_name in ("skull", "dentist"):
        for p in range(16):
            _, _, rows = read_bmp(os.path.join(assets, set_name, "piece%02d.bmp" % p))
            pieces[(set_name, p)] = rows
    _, _, preview = read_bmp(os.path.join(assets, "dentist", "preview.bmp"))
    # A framed cell shows its piece 2 px in; its last 2 columns and rows lie
    # under the neighbours' frames, so compare the 78x78 square in from there.
    inner = {crop(rows, 0, 0, 78, 78): key for key, rows in pieces.items()}

    with XSession() as x:
        game = Game(x, exe)
        check(game.size == (456, 343 + game.menu_height) and 15 <= game.menu_height <= 30,
              "window size %r" % (game.size,))
        hints = x.run(["xprop", "-id", str(game.window)]).decode()
        check("program specified minimum size: 456 by %d" % game.size[1] in hints and
              "program specified maximum size: 456 by %d" % game.size[1] in hints,
              "the window is not fixed in size:\n" + hints)
        motif = [line for line in hints.splitlines() if line.startswith("_MOTIF_WM_HINTS")][0]
        functions, decorations = (int(v, 16) for v in motif.split("=")[1].split(",")[1:3])
        check(not functions & (0x01 | 0x08 | 0x10), "window offers minimise/maximise: " + motif)
        check(not decorations & (0x01 | 0x20 | 0x40), "window decorates minimise/maximise: " + motif)
        # The window manager takes the hints: it offers neither resize nor
        # maximise (openbox keeps minimise on principle), and a maximise request
        # changes nothing.
        actions = x.run(["xprop", "-id", str(game.window), "_NET_WM_ALLOWED_ACTIONS"]).decode()
        check("_NET_WM_ACTION_RESIZE" not in actions and "MAXIMIZE" not in actions, actions)
        x.run(["wmctrl", "-r", TITLE, "-b", "add,maximized_vert,maximized_horz"])
        time.sleep(0.3)
        check(x.geometry(game.window)[2:] == game.size, "maximise changed the window size")

        # Start: sixteen empty framed cells.
        shot = x.screenshot(os.path.join(shots, "1-start.ppm"))
        background = shot.pixel(*game.at(450, 300))
        for i in range(16):
            ox, oy = cell_origin(i)
            check(shot.pixel(*game.at(ox + 40, oy + 40)) == background, "cell %d not empty" % i)
            check(shot.pixel(*game.at(ox, oy + 40)) != background, "cell %d has no frame" % i)

        # Keyboard: Tab to the list, Down to "Дантист"; then the button, by mouse.
        x.key("Tab", "Down")
        game.click(344 + 52, 8 + 20)
        shot = x.wait_for(lambda: dealt(x, game, inner), 10, "no dentist deal on screen")
        layout, shot = shot
        check(shot.region(*game.at(*PREVIEW[:2]), *PREVIEW[2:]) == b"".join(preview),
              "the preview is not shown at (344, 120)")

        # A slide: the tile in cell 14 moves right into the empty cell 15.
        tile = layout[14]
        game.click_cell(14)
        expected = crop(pieces[("dentist", tile - 1)], 0, 0, 78, 78)
        def slid():
            s = x.screenshot()
            return s if s.region(*game.at(250, 250), 78, 78) == expected else None
        shot = x.wait_for(slid, 10, "the tile did not slide into cell 15")
        x.screenshot(os.path.join(shots, "3-slide.ppm"))
        check(shot.pixel(*game.at(168 + 40, 248 + 40)) == background, "cell 14 not cleared")

        # Play it to the end with real clicks; one more click shows the whole
        # picture, seamless and without frames.
        board = layout[:14] + [0, tile]
        for cell in solve(board):
            game.click_cell(cell)
        shot = x.screenshot()
        check(shot.pixel(*game.at(250 + 40, 250 + 40)) == background, "the last slide showed more")
        game.click_cell(5)
        whole = b"".join(b"".join(pieces[("dentist", 4 * (y // 80) + c)][y % 80] for c in range(4))
                         for y in range(320))
        x.wait_for(lambda: x.screenshot().region(*game.at(8, 8), 320, 320) == whole, 10,
                   "the finished picture is not on screen")
        shot = x.screenshot(os.path.join(shots, "4-complete.ppm"))
        for t in range(336):
            check(shot.pixel(*game.at(7, t)) == background and shot.pixel(*game.at(328, t)) == background
                  and shot.pixel(*game.at(t, 7)) == background and shot.pixel(*game.at(t, 328)) == background,
                  "a frame pixel is left around the picture")

        # Help box by keyboard: Alt+H opens it, Return closes it.
        x.key("alt+h")
        box = x.find_window("помошчь")
        x.screenshot(os.path.join(shots, "5-help.ppm"))
        x.key("Return")
        x.window_gone("помошчь")

        # Author box from the menu bar with the mouse; Escape closes it.
        game.click_menu_bar(150)
        x.find_window("Автор !!!!!")
        x.screenshot(os.path.join(shots, "6-author.ppm"))
        x.key("Escape")
        x.window_gone("Автор !!!!!")
        after = x.screenshot()
        check(after.region(*game.at(0, 0), *CLIENT_SIZE) == shot.region(*game.at(0, 0), *CLIENT_SIZE),
              "the boxes changed the window")

        # Exit through the menu: open "Меню", choose "Exit" by its mnemonic.
        game.click_menu_bar(28)
        time.sleep(0.3)
        x.key("x")
        status = game.proc.wait(10)
        check(status == 0, "exit status %d" % status)

        # The title-bar close ends the program too, with status 0.
        game = Game(x, exe)
        x.run(["wmctrl", "-c", TITLE])
        status = game.proc.wait(10)
        check(status == 0, "exit status after close %d" % status)
    print("e2e: 1 passed, 0 failed")


def dealt(x, game, inner):
    """The dealt layout and the screenshot once a full dentist deal shows."""
    shot = x.screenshot()
    tiles = []
    for i in range(15):
        ox, oy = cell_origin(i)
        key = inner.get(shot.region(*game.at(ox + 2, oy + 2), 78, 78))
        if key is None or key[0] != "dentist":
            return None
        tiles.append(key[1] + 1)
    check(tiles in LAYOUTS, "dealt %r, which is not a start layout" % tiles)
    return tiles, shot


if __name__ == "__main__":
    main()
