"""Whole games, by keys and by the pointer, at every display scale, on a
small screen, on a phone and after an offline reload."""

import pytest

from game import PictureSet, check, device, is_whole, near, neighbours, slid, wait_for



def play_whole_game(player, facts, assets, set_index, scale=1, by="keys", asked=None,
                    **options):
    """A new game with the set chosen in the list, by keys or by the
    pointer, solved by real clicks (every second one in an overlap strip,
    where the higher-numbered cell takes it), or by keys on a program that
    the keyboard plays (board_keys); the last slide shows only
    itself, the next click the whole picture, exact to the pixel (at a
    scale that is not whole, within a pixel and without a seam), with no
    frame pixel left. At home the frames facing the window are as wide on
    every side. Asked for a display scale at which the window would not
    fit the screen, it shows whole on the screen at `scale`, the largest
    that fits."""
    f = facts
    pictures = PictureSet(f, assets, set_index, scale)
    label = "%s%s%s" % (pictures.name, "" if scale == 1 else "-x%g" % scale,
                        "-asked-x%g" % asked if asked else "")
    label += "".join("-" + option for option in options)
    game = player.start(scale, **dict(options, **({"asked": asked} if asked else {})))
    check(game.client_pixels() == tuple(device(n, game.scale) for n in f.client_size),
          "client area of %r device pixels" % (game.client_pixels(),))
    if asked:
        game.check_on_screen()
    if by == "keys":  # Tab to the list, the set, Shift+Tab back, Space
        game.key("Tab", *["Down"] * set_index, "shift+Tab", "space")
    else:
        if set_index:
            game.click(*game.list_entry(set_index))
        game.press_button()
    tiles, view = game.wait_deal(pictures, "no deal of %s on the screen" % pictures.name)
    game.look("%s-dealt" % label)
    check(all(view.framed(i) for i in range(f.cells)), "a cell has no frame after the deal")
    if pictures.preview:  # the preview may be drawn a moment after the cells
        wait_for(lambda: game.look().region(*f.preview_rect[:2], *f.preview_size)
                 == pictures.preview, 10, "the preview is not shown at the preview's place")
    else:
        check(view.is_blank(*f.preview_rect), "the preview is not empty")

    solution = f.solution(tiles)
    by_keys = by == "keys" and "board_keys" in player.features
    if by_keys:
        # From the button to the board; its focused cell is brought to the
        # top-left corner by keys that would wrap if the edges let them.
        game.key("Tab", "Tab", *["Up"] * (f.side - 1), *["Left"] * (f.side - 1))
        play_by_keys(game, tiles, 0, solution)
        game.key("Tab")  # the board loses the focus and its ring
    else:
        game.click_cells(solution, strips=True)
    _, view = game.wait_board(pictures, lambda t: t == f.home(),
                              "the %s did not bring the %s tiles home"
                              % ("keys" if by_keys else "clicks", pictures.name))
    check(view.board(pictures) == f.home() and view.framed(f.cells - 1),
          "the last slide showed more than the slide")
    game.look("%s-home" % label)
    uneven = view.frames_even(f.home())
    check(not uneven, "frames of uneven width:\n" + "\n".join(uneven))

    if by_keys:  # Shift+Tab back to the focused cell, Space, and away
        game.key("shift+Tab", "space", "Tab")
    else:
        game.click_cells([0])
    origin = f.board_origin
    span = f.side * f.piece_side

    def amiss(view):
        if not is_whole(game.scale):
            return picture_amiss(view, pictures.rows)
        return None if view.region(*origin, span, span) == pictures.whole else "not exact"
    try:
        wait_for(lambda: amiss(game.look()) is None, 10, "")
    except AssertionError:
        raise AssertionError("the finished %s picture on the screen: %s" % (
            pictures.name, amiss(game.look()))) from None
    view = game.look("%s-complete" % label)
    for t in range(span + 2 * (f.frame_width + 4)):
        for x, y in ((origin[0] - 1, t), (origin[0] + span, t), (t, origin[1] - 1),
                     (t, origin[1] + span)):
            check(view.is_blank(x, y, 1, 1),
                  "a frame pixel is left around the picture at (%d, %d)" % (x, y))


def play_by_keys(game, tiles, focus, clicks):
    """Clicks the cells in order by keys from the focused cell `focus`:
    the arrows to each, then Return or Space by turns. The focus follows
    each slid tile into the cell that was empty."""
    side, keys = game.facts.side, []
    empty = tiles.index(0)
    for n, cell in enumerate(clicks):
        rows, cols = cell // side - focus // side, cell % side - focus % side
        keys += ["Down" if rows > 0 else "Up"] * abs(rows)
        keys += ["Right" if cols > 0 else "Left"] * abs(cols)
        keys.append("space" if n % 2 else "Return")
        slides = cell in neighbours(empty, side)
        focus, empty = (empty, cell) if slides else (cell, empty)
    game.key(*keys)


@pytest.mark.parametrize("set_index", [0, 1], ids=["skull", "dentist"])
def test_whole_game(player, facts, assets, set_index):
    play_whole_game(player, facts, assets, set_index)


def test_game_at_scale(player, facts, assets, ratio):
    play_whole_game(player, facts, assets, 0, ratio, by="pointer")


@pytest.mark.small_screen
def test_game_asked_at_scale_2_fits_at_1(player, facts, assets):
    play_whole_game(player, facts, assets, 1, scale=1, asked=2)


@pytest.mark.touch
def test_game_by_touch(player, facts, assets):
    """A phone held upright: the form scaled down to fit, played by taps."""
    play_whole_game(player, facts, assets, 1, scale=2, by="pointer", phone=True)


@pytest.mark.offline
def test_game_after_offline_reload(player, facts, assets):
    play_whole_game(player, facts, assets, 0, offline=True)


@pytest.mark.touch
def test_overlapping_taps(player, facts, assets):
    """Two thumbs: a tap that begins before the other has ended still
    slides its tile, and so does the other."""
    f = facts
    skull = PictureSet(f, assets, 0, 1)
    game = player.start(phone=True)
    game.press_button()
    dealt, _ = game.wait_deal(skull)
    empty = dealt.index(0)
    first = neighbours(empty, f.side)[0]
    second = [c for c in neighbours(first, f.side) if c != empty][0]
    expected = slid(slid(dealt, first), second)
    game.overlapping_taps([game.cell_point(first), game.cell_point(second)])
    game.wait_board(skull, lambda t: t == expected, "the two taps did not slide two tiles")


def picture_amiss(view, rows):
    """At a scale that is not whole: what is amiss with the finished picture
    on the screen, found as the rectangle of what is not window background
    around the board. It must be the picture's size, scaled, within a device
    pixel, and every device pixel must show the picture pixel nearest to it or
    one next to that: a seam of background, or a piece shifted, shows
    otherwise."""
    f, shot = view.facts, view.shot
    span = f.side * f.piece_side
    (left, top), (right, bottom) = view.at(f.board_origin[0] - 4, f.board_origin[1] - 4), \
        view.at(f.board_origin[0] + span + 4, f.board_origin[1] + span + 4)
    bg = view.background()
    inked = [(x, y) for y in range(top, bottom) for x in range(left, right)
             if shot.pixel(x, y) != bg]
    if not inked:
        return "nothing shown"
    xs, ys = [x for x, _ in inked], [y for _, y in inked]
    x0, y0, width, height = min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1
    if abs(width - span * view.scale) > 1 or abs(height - span * view.scale) > 1:
        return "%d x %d device pixels" % (width, height)
    for y in range(y0, y0 + height):
        for x in range(x0, x0 + width):
            u, v = int((x - x0 + 0.5) * span / width), int((y - y0 + 0.5) * span / height)
            if not near(rows, u, v, shot.pixel(x, y)):
                return "device pixel (%d, %d) from its corner shows %r" % (
                    x - x0, y - y0, shot.pixel(x, y))
    return None
