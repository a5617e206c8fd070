#!/usr/bin/env python3
"""Rapid real input: 500 clicks on the cells, sent by one xdotool command as
fast as it can, anywhere in the cells' boxes including the 4-px strips where
framed cells overlap. Afterwards the program is still there and answers, and
the screen shows a board the pieces allow: every cell shows a piece of the
dealt set or nothing, exactly one cell is empty, every tile shows once, and the
board can be reached from the dealt layout by slides.

Which board exactly is not predicted: sent this fast, pointer moves and button
events reach the program out of step (a release can arrive with the position
of the next click's move), so a click now and then is a press and a release on
different cells, which is no click. The rule's model counts how many clicks
would slide a tile; the board must have changed.

Usage: rapid_clicks_test.py TARPO_EXECUTABLE ASSETS_DIR SHOTS_DIR [SEED]"""

import os
import random
import sys
import time

from e2e_test import LAYOUTS, Game, cell_origin, crop, read_bmp
from xsession import XSession

CLICKS = 500
DEFAULT_SEED = 5150


class Model:
    """The board by the click rule, and which cell a press at a point reaches."""

    def __init__(self, layout):
        self.board = list(layout) + [0]
        self.completed = False

    def solved(self):
        return self.board == list(range(1, 16)) + [0]

    def box_side(self):
        return 80 if self.completed else 84

    def cell_at(self, x, y):
        """The cell whose box is on top at (x, y): the highest index."""
        side = self.box_side()
        for i in range(15, -1, -1):
            ox, oy = cell_origin(i)
            if ox <= x < ox + side and oy <= y < oy + side:
                return i
        return None

    def movable(self):
        empty = self.board.index(0)
        row, col = divmod(empty, 4)
        return [4 * r + c for r, c in ((row - 1, col), (row, col - 1), (row + 1, col),
                                       (row, col + 1)) if 0 <= r < 4 and 0 <= c < 4]

    def click(self, cell):
        if self.solved():
            self.completed = True
            return
        if self.board[cell] == 0:
            return
        row, col = divmod(cell, 4)
        for dr, dc in ((1, 0), (0, 1), (-1, 0), (0, -1)):
            r, c = row + dr, col + dc
            if 0 <= r < 4 and 0 <= c < 4 and self.board[4 * r + c] == 0:
                self.board[4 * r + c], self.board[cell] = self.board[cell], 0
                return


def reachable_class(board):
    """What slides keep: the parity of the arrangement (the empty cell counted
    as tile 16) together with the parity of the empty cell's row and column.
    Each slide swaps two entries and moves the empty cell by one step."""
    values = [v if v else 16 for v in board]
    inversions = sum(1 for i in range(16) for j in range(i + 1, 16) if values[i] > values[j])
    empty = board.index(0)
    return (inversions + empty // 4 + empty % 4) % 2


def main():
    exe, assets, shots = sys.argv[1], sys.argv[2], sys.argv[3]
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else DEFAULT_SEED
    print("rapid clicks: seed %d, %d clicks" % (seed, CLICKS))
    rng = random.Random(seed)
    os.makedirs(shots, exist_ok=True)
    pieces = {p: read_bmp(os.path.join(assets, "skull", "piece%02d.bmp" % p))[2] for p in range(16)}
    inner = {crop(rows, 0, 0, 78, 78): p for p, rows in pieces.items()}

    with XSession() as x:
        game = Game(x, exe)
        # A new game of the skull set, the one selected at start.
        game.click(344 + 52, 8 + 20)

        def dealt():
            shot = x.screenshot()
            tiles = []
            for i in range(15):
                ox, oy = cell_origin(i)
                p = inner.get(shot.region(*game.at(ox + 2, oy + 2), 78, 78))
                if p is None:
                    return None
                tiles.append(p + 1)
            return tiles, shot
        layout, shot = x.wait_for(dealt, 10, "no deal on screen")
        if layout not in LAYOUTS:
            raise AssertionError("dealt %r, which is not a start layout" % layout)
        background = shot.pixel(*game.at(450, 300))

        # Mostly tiles that can slide, so that the board keeps changing; the
        # rest anywhere. Each press lands at a random point of the area that
        # routes to the chosen cell.
        model = Model(layout)
        command = ["xdotool"]
        strip_presses = 0
        slides = 0
        for _ in range(CLICKS):
            cell = rng.choice(model.movable()) if rng.random() < 0.7 else rng.randrange(16)
            while True:
                px, py = rng.randrange(8, 8 + 324), rng.randrange(8, 8 + 324)
                if model.cell_at(px, py) == cell:
                    break
            ox, oy = cell_origin(cell)
            strip_presses += px - ox < 4 or py - oy < 4 or px - ox >= 80 or py - oy >= 80
            command += ["mousemove", str(game.left + px), str(game.top + py),
                        "click", "--delay", "0", "1"]
            before = list(model.board)
            model.click(cell)
            slides += model.board != before
        started = time.monotonic()
        x.run(command)
        sent = time.monotonic() - started
        print("rapid clicks: sent in %.2f s, %d presses in overlap strips" % (sent, strip_presses))

        def shown(s):
            """The tiles on screen, 0 for an empty cell, None for anything else."""
            tiles = []
            for i in range(16):
                ox, oy = cell_origin(i)
                region = s.region(*game.at(ox + 2, oy + 2), 78, 78)
                if region == bytes(background) * (78 * 78):
                    tiles.append(0)
                elif region in inner:
                    tiles.append(inner[region] + 1)
                else:
                    return None
            return tiles

        def settled():
            # The same board on two screenshots a moment apart: the clicks are done.
            first = shown(x.screenshot())
            time.sleep(0.3)
            s = x.screenshot()
            return (first, s) if first is not None and shown(s) == first else None
        board, shot = x.wait_for(settled, 20, "the board on screen did not settle")
        shot = x.screenshot(os.path.join(shots, "rapid-clicks.ppm"))
        print("rapid clicks: the rule gives %d slides; the board shown: %r" % (slides, board))
        if sorted(board) != list(range(16)):
            raise AssertionError("the board shown is not tiles 1..15 once and one empty cell: %r"
                                 % board)
        if reachable_class(board) != reachable_class(layout + [0]):
            raise AssertionError("the board shown %r cannot be reached from the deal %r"
                                 % (board, layout))
        if board == layout + [0]:
            raise AssertionError("none of the clicks slid a tile")
        if game.proc.poll() is not None:
            raise AssertionError("the program ended (status %d)" % game.proc.returncode)

        # And it still answers: a plain click slides a tile next to the empty cell.
        after = Model(board[:15])
        after.board = list(board)
        cell = after.movable()[0]
        after.click(cell)
        game.click_cell(cell)
        x.wait_for(lambda: shown(x.screenshot()) == after.board, 10,
                   "a click after the burst did not slide the tile of cell %d" % cell)
    print("rapid_clicks: 1 passed, 0 failed")


if __name__ == "__main__":
    main()
