"""Many deals, and a burst of clicks as fast as input goes."""

import random

import pytest

from game import PictureSet, check, neighbours, same_twice, slid, slide_parity, wait_for

RAPID_CLICKS = 500
RAPID_SEED = 5150
DEALS = 40  # all five layouts show up in 40 deals but once in 1500 runs


@pytest.mark.rapid
def test_deals_hit_every_layout(player, facts, assets):
    """New games one after another deal every start layout: the draw is
    fresh at each press. A slide between deals makes each one show."""
    f = facts
    skull = PictureSet(f, assets, 0, 1)
    game = player.start()
    seen = set()
    for _ in range(DEALS):
        game.press_button()
        tiles, _ = game.wait_deal(skull)
        seen.add(f.start_layouts.index(tiles[:-1]))
        game.click_cells([f.cells - 2])  # into the empty last cell
        game.wait_board(skull, lambda t: t[-1] != 0, "the slide does not show")
    check(len(seen) == len(f.start_layouts),
          "%d deals gave only the layouts %s" % (DEALS, sorted(seen)))


@pytest.mark.rapid
def test_rapid_clicks(player, facts, assets):
    """500 clicks sent as fast as input goes, anywhere in the framed cells
    including the overlap strips. Sent this fast, a press and its release
    may reach different cells, which is no click, so which board results
    is not predicted: the program still runs and answers, and the board
    is one that slides can reach from the deal."""
    f = facts
    rng = random.Random(RAPID_SEED)
    pictures = PictureSet(f, assets, 0, 1)
    game = player.start()
    game.press_button()
    dealt, _ = game.wait_deal(pictures)
    # Mostly cells beside where the empty cell would be if every click
    # counted, so that the board keeps changing; the rest anywhere. Each
    # press lands anywhere in the part of the cell's box that is on top,
    # its overlap strips with the lower-numbered neighbours included.
    # Few clicks may count, and slides can undo each other: a burst that
    # leaves the dealt board is followed by one more.
    board = dealt
    for _ in range(2):
        empty = board.index(0)
        points = []
        for _ in range(RAPID_CLICKS):
            beside = neighbours(empty, f.side)
            cell = rng.choice(beside) if rng.random() < 0.7 else rng.randrange(f.cells)
            empty = cell if cell in beside else empty
            ox, oy = f.cell_origin(cell)
            points.append((ox + rng.randrange(f.cell_pitch), oy + rng.randrange(f.cell_pitch)))
        # The help box, asked for in the same stream of input, comes up
        # only once the program has handled every click before it.
        game.clicks(points, fast=True)
        game.mnemonic(f.menu_captions[1])
        game.wait_box(f.help_title, f.help_text, timeout=60)
        game.key("Return")
        game.wait_box_gone(f.help_title)

        board = wait_for(lambda: same_twice(lambda: game.look().board(pictures), 0.3), 30,
                         "the board on the screen did not settle")
        game.look("rapid-clicks")
        check(game.running(), "the program ended")
        check(sorted(board) == list(range(f.cells)),
              "not tiles 1..15 once and one empty cell: %r" % board)
        check(slide_parity(board, f.side) == slide_parity(dealt, f.side),
              "the board %r cannot be reached from the deal %r by slides" % (board, dealt))
        if board != dealt:
            break
    check(board != dealt, "none of the clicks slid a tile")

    # And it still answers: a plain click beside the empty cell slides that tile.
    cell = neighbours(board.index(0), f.side)[0]
    expected = slid(board, cell)
    game.click_cells([cell])
    game.wait_board(pictures, lambda t: t == expected,
                    "a click after the burst did not slide the tile of cell %d" % cell)
