#!/usr/bin/env python3
"""At a device pixel ratio of 2 the whole window scales as one: a game played
to the end shows the whole picture with every pixel doubled, without a seam.

Usage: hidpi_test.py TARPO_EXECUTABLE ASSETS_DIR SHOTS_DIR"""

import os
import sys

from e2e_test import LAYOUTS, Game, cell_origin, check, read_bmp
from solver import solve
from xsession import XSession

SCALE = 2


def doubled(rows):
    """Each pixel of each row twice, each row twice."""
    out = []
    for row in rows:
        wide = b"".join(row[i:i + 3] * SCALE for i in range(0, len(row), 3))
        out.extend([wide] * SCALE)
    return out


def main():
    exe, assets, shots = sys.argv[1], sys.argv[2], sys.argv[3]
    os.makedirs(shots, exist_ok=True)
    pieces = [read_bmp(os.path.join(assets, "skull", "piece%02d.bmp" % p))[2] for p in range(16)]
    # Away from the overlap strips: the 76x76 picture pixels from (0, 0), doubled.
    inner = {b"".join(doubled([row[:76 * 3] for row in rows[:76]])): p + 1
             for p, rows in enumerate(pieces)}

    with XSession() as x:
        game = Game(x, exe, scale=SCALE)
        check(game.size[0] == 456 * SCALE, "window width %d" % game.size[0])
        game.click(344 + 52, 8 + 20)  # "новая игра" with "Череп" selected

        def dealt():
            shot = x.screenshot()
            tiles = []
            for i in range(15):
                ox, oy = cell_origin(i)
                tiles.append(inner.get(shot.region(*game.at(ox + 2, oy + 2), 76 * SCALE, 76 * SCALE)))
            return tiles if tiles in LAYOUTS else None
        layout = x.wait_for(dealt, 10, "no sharp, doubled skull deal on screen")

        for cell in solve(layout + [0]):
            game.click_cell(cell)
        game.click_cell(0)

        whole = doubled([b"".join(pieces[4 * (y // 80) + c][y % 80] for c in range(4))
                         for y in range(320)])
        x.wait_for(lambda: x.screenshot().region(*game.at(8, 8), 320 * SCALE, 320 * SCALE)
                   == b"".join(whole), 10, "the finished picture at scale 2 differs (seam or blur)")
        x.screenshot(os.path.join(shots, "hidpi-complete.ppm"))
        game.proc.terminate()
        game.proc.wait(10)
    print("hidpi: 1 passed, 0 failed")


if __name__ == "__main__":
    main()
