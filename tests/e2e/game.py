"""The game as the end-to-end scenarios see it, whatever runs it: the facts
of the form, the pictures the screen must show, what a screenshot shows of
the client area, and the Game interface that each kind of program (the X
programs in xprograms.py, the page in web.py) implements.

Every fact comes from the build: form.json (the form description) and
solutions.json (the start layouts and the clicks that solve each); the
pictures are read from the asset files."""

import json
import math
import os
import re
import struct
import time
from typing import Protocol

# The letters of a Russian keyboard by the US keys in their places, and back.
RUSSIAN_LETTER = dict(zip("qwertyuiopasdfghjklzxcvbnm", "йцукенгшщзфывапролдячсмить"))
LATIN_KEY = {russian: latin for latin, russian in RUSSIAN_LETTER.items()}


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def mnemonic(caption):
    """The letter after the caption's "&"."""
    return caption[caption.index("&") + 1]


def device(edge, scale):
    """A form pixel edge on the screen at a scale: the nearest device pixel,
    halfway rounded up (form/device_grid.h)."""
    return math.floor(edge * scale + 0.5 + 1e-9)


def is_whole(scale):
    return scale == int(scale)


def near(rows, u, v, colour):
    """Whether a picture (rows of RGB bytes) has the colour at (u, v) or at
    a pixel next to it."""
    for y in range(max(v - 1, 0), min(v + 2, len(rows))):
        row = rows[y]
        for x in range(max(u - 1, 0), min(u + 2, len(row) // 3)):
            if tuple(row[3 * x:3 * x + 3]) == colour:
                return True
    return False


def wait_for(condition, timeout, message):
    """Polls condition() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(message)


def same_twice(look, interval=0.2):
    """What look() returns if it returns the same again a moment later: a
    condition for wait_for that the screen has settled."""
    first = look()
    time.sleep(interval)
    return first if look() == first else None


def neighbours(cell, side):
    row, col = divmod(cell, side)
    return [r * side + c for r, c in ((row - 1, col), (row + 1, col), (row, col - 1), (row, col + 1))
            if 0 <= r < side and 0 <= c < side]


def slid(tiles, cell):
    """The board after the tile in `cell` slides into the empty cell."""
    after, gap = list(tiles), tiles.index(0)
    after[gap], after[cell] = tiles[cell], 0
    return after


def slide_parity(board, side):
    """What slides keep: the parity of the arrangement (the empty cell counted
    as the highest tile) plus the parity of the empty cell's row and column."""
    values = [v or len(board) for v in board]
    inversions = sum(values[i] > values[j] for i in range(len(values))
                     for j in range(i + 1, len(values)))
    empty = board.index(0)
    return (inversions + empty // side + empty % side) % 2


class Facts:
    def __init__(self, form_json, solutions_json):
        with open(form_json, encoding="utf-8") as f:
            self.__dict__.update(json.load(f))
        with open(solutions_json, encoding="utf-8") as f:
            self.__dict__.update(json.load(f))  # start_layouts and solutions
        self.side = self.board_side
        self.cells = self.side * self.side
        self.framed_side = self.piece_side + 2 * self.frame_width

    def cell_origin(self, i):
        return (self.board_origin[0] + self.cell_pitch * (i % self.side),
                self.board_origin[1] + self.cell_pitch * (i // self.side))

    def solution(self, tiles):
        """The cells to click, in order, that bring a dealt board home."""
        return self.solutions[self.start_layouts.index(tiles[:-1])]

    def home(self):
        return list(range(1, self.cells)) + [0]


class Screenshot:
    """An 8-bit RGB picture, read from a binary PPM."""

    def __init__(self, ppm: bytes):
        # "P6\n<w> <h>\n255\n", maybe with comment lines after P6, then RGB triples.
        header = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+255\s", ppm)
        assert header, ppm[:20]
        self.width, self.height = int(header[1]), int(header[2])
        self.pixels = ppm[header.end():]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def region(self, x, y, w, h):
        """The RGB bytes of a rectangle, row by row."""
        rows = []
        for row in range(y, y + h):
            start = (row * self.width + x) * 3
            rows.append(self.pixels[start:start + w * 3])
        return b"".join(rows)


def read_bmp(path):
    """Rows of RGB bytes, top-down, of a 24-bit bottom-up BMP."""
    with open(path, "rb") as f:
        data = f.read()
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
    return rows


def scaled(rows, scale):
    """Each pixel repeated scale times across and down."""
    if scale == 1:
        return rows
    out = []
    for row in rows:
        wide = b"".join(row[i:i + 3] * scale for i in range(0, len(row), 3))
        out.extend([wide] * scale)
    return out


class PictureSet:
    """The pieces of one set as the screen must show them at a whole scale;
    at another scale, the pieces and the whole picture unscaled."""

    # A framed cell shows its piece 2 px in; the piece's last columns and rows
    # lie under the neighbours' frames, so tiles are told apart by this square
    # from the piece's top-left corner.
    INNER = 76

    def __init__(self, facts, assets, index, scale):
        scale = scale if is_whole(scale) else 1
        entry = facts.picture_sets[index]
        self.name = entry["folder"]
        self.pieces = [read_bmp(os.path.join(assets, path)) for path in entry["pieces"]]
        self.preview = (b"".join(scaled(read_bmp(os.path.join(assets, entry["preview"])), scale))
                        if entry["preview"] else None)
        n = self.INNER
        self.tile_of_inner = {
            b"".join(scaled([row[:n * 3] for row in piece[:n]], scale)): p + 1
            for p, piece in enumerate(self.pieces)}
        side = facts.side
        whole = [b"".join(self.pieces[side * (y // facts.piece_side) + c][y % facts.piece_side]
                          for c in range(side))
                 for y in range(side * facts.piece_side)]
        self.rows = whole
        self.whole = b"".join(scaled(whole, scale))


class ClientView:
    """What a screenshot shows of the client area, read at form points: the
    form's own pixels from the client area's top-left corner. A form pixel
    edge e lies at device(e, scale) from the form's grid origin, `origin` on
    the screenshot, which lies `above` form pixels above the client area."""

    def __init__(self, shot, origin, scale, facts, above=0):
        self.shot, self.origin, self.scale, self.facts = shot, origin, scale, facts
        self.above = above

    def at(self, x, y):
        """The device pixel of a form point on the screenshot."""
        return (self.origin[0] + device(x, self.scale),
                self.origin[1] + device(self.above + y, self.scale))

    def pixel(self, x, y):
        return self.shot.pixel(*self.at(x, y))

    def region(self, left, top, width, height):
        (x, y), (right, bottom) = self.at(left, top), self.at(left + width, top + height)
        return self.shot.region(x, y, right - x, bottom - y)

    def background(self):
        """The window background: a client pixel that no control covers."""
        width, height = self.facts.client_size
        return self.pixel(width - 3, height - 3)

    def is_blank(self, left, top, width, height):
        region = self.region(left, top, width, height)
        return region == bytes(self.background()) * (len(region) // 3)

    def board(self, pictures):
        """The tile each cell shows (0 for an empty cell), or None if a cell
        shows anything else."""
        if not is_whole(self.scale):
            return self.board_near(pictures)
        tiles = []
        n = PictureSet.INNER
        fw = self.facts.frame_width
        for i in range(self.facts.cells):
            ox, oy = self.facts.cell_origin(i)
            region = self.region(ox + fw, oy + fw, n, n)
            if region in pictures.tile_of_inner:
                tiles.append(pictures.tile_of_inner[region])
            elif self.is_blank(ox + fw, oy + fw, n, n):
                tiles.append(0)
            else:
                return None
        return tiles

    def board_near(self, pictures):
        """board() at a scale that is not whole, where a picture pixel becomes
        one device pixel or two: the tile whose piece has, within one pixel of
        each of a grid of points, the colour the screen shows there."""
        tiles = []
        fw = self.facts.frame_width
        points = range(4, PictureSet.INNER, 8)
        grid = [(u, v) for u in points for v in points]
        bg = self.background()
        for i in range(self.facts.cells):
            ox, oy = self.facts.cell_origin(i)
            seen = [self.pixel(ox + fw + u + 0.5, oy + fw + v + 0.5) for u, v in grid]
            if all(c == bg for c in seen):
                tiles.append(0)
                continue
            fits = [p + 1 for p, piece in enumerate(pictures.pieces)
                    if all(near(piece, u, v, c) for (u, v), c in zip(grid, seen))]
            if len(fits) != 1:
                return None
            tiles.append(fits[0])
        return tiles

    def framed(self, i):
        """Whether cell i shows a 2-px frame on its left and top edges."""
        ox, oy = self.facts.cell_origin(i)
        bg = self.background()
        mid = self.facts.framed_side // 2
        return all(self.pixel(ox + d, oy + mid) != bg and self.pixel(ox + mid, oy + d) != bg
                   for d in range(self.facts.frame_width))

    def frames_even(self, tiles):
        """The frames of the cells where they face the window (the board's
        outer sides), counted from the first pixel that is not window
        background: device(frame_width) lines on every side, each one colour
        along the cell, and the same lines in every cell on that side, the
        empty cell's included, whose frame encloses only background; a piece
        drawn over a frame's inner line shows as a difference. The outer ring
        has the odd line. Returns what is amiss."""
        f = self.facts
        width = device(f.frame_width, self.scale)
        ring = (width + 1) // 2  # the outer ring's lines: it takes the odd one (form/device_grid.h)
        bg = self.background()
        last, far = f.side - 1, f.framed_side + 2
        amiss, frames = [], {}
        for i in range(f.cells):
            ox, oy = f.cell_origin(i)
            col, row = i % f.side, i // f.side
            # The device pixel where the frame's outer line must lie: the
            # first or last of the cell's box.
            left, top = self.at(ox, oy)
            right, bottom = self.at(ox + f.framed_side, oy + f.framed_side)
            sides = [("left", col == 0, lambda a: (-2, a), (1, 0), left),
                     ("top", row == 0, lambda a: (a, -2), (0, 1), top),
                     ("right", col == last, lambda a: (far, a), (-1, 0), right - 1),
                     ("bottom", row == last, lambda a: (a, far), (0, -1), bottom - 1)]
            for side, outer, start, (dx, dy), edge in sides:
                if not outer:
                    continue
                lines = [set() for _ in range(width)]
                starts = set()
                for a in range(8, f.framed_side - 8):  # away from corners and overlaps
                    x, y = self.at(ox + start(a)[0], oy + start(a)[1])
                    for _ in range(4 * width):
                        if self.shot.pixel(x, y) != bg:
                            break
                        x, y = x + dx, y + dy
                    starts.add(x if dx else y)
                    for depth, line in enumerate(lines):
                        line.add(self.shot.pixel(x + depth * dx, y + depth * dy))
                if starts != {edge}:
                    amiss.append("cell %d %s: the frame starts at %r, not at the box's edge %d"
                                 % (i, side, sorted(starts), edge))
                elif any(len(line) != 1 or bg in line for line in lines):
                    amiss.append("cell %d (tile %d) %s: %r" % (i, tiles[i], side, lines))
                elif lines.count(lines[0]) != ring or lines[ring - 1] != lines[0]:
                    amiss.append("cell %d %s: not an outer ring of %d lines and an inner ring"
                                 " of %d: %r" % (i, side, ring, width - ring, lines))
                frames.setdefault(side, {}).setdefault(repr(lines), []).append(i)
        amiss += ["%s frames differ, by cells: %r" % (side, kinds)
                  for side, kinds in frames.items() if len(kinds) > 1]
        return amiss


class Game(Protocol):
    """One run of the program under test, as the tests drive and see it.
    Points are form points (see ClientView). Keys are X keysym names: space
    Tab shift+Tab Up Down Left Right Home End ctrl+End Return Escape."""
    facts: Facts
    scale: float  # device pixels per form pixel

    # The pointer, the mouse or a finger on a touch screen, at each point one
    # after the other, each where it is aimed; `fast`: as fast as input goes.
    def clicks(self, points, fast=False): ...
    def key(self, *names): ...
    def mnemonic(self, caption, menu_bar=True): ...  # caption's "&" letter, with Alt on the bar
    def look(self, save_as=None) -> "ClientView": ...  # the screen now, saved under a name
    def client_pixels(self): ...  # the client area's size in device pixels
    def check_fixed_size(self): ...  # the window cannot be resized or maximised
    def click_menu(self, i): ...  # the mouse on the i-th entry of the menu bar
    def click_drop_down(self): ...  # the mouse on the open drop-down's one entry
    def wait_box(self, title, text, timeout=10): ...  # its text checked where it can be read
    def wait_box_gone(self, title): ...
    def close_window(self): ...  # the window's close button, where there is one
    def running(self) -> bool: ...
    def exit_status(self) -> int: ...  # waits for the end: 0 for a plain exit
    def end(self): ...  # ends it if it still runs
    # With the "accessibility" feature: every node as a screen reader finds
    # it, in its order: (role, name, showing, focused, (x, y, w, h) in form points).
    def accessible_nodes(self): ...

    def click(self, x, y):
        self.clicks([(x, y)])

    def cell_point(self, i, strip=False):
        """The centre of a framed cell, or a point of its top-left frame,
        where its box overlaps the boxes of the lower-numbered neighbours."""
        ox, oy = self.facts.cell_origin(i)
        offset = 1 if strip else self.facts.framed_side // 2
        return ox + offset, oy + offset

    def click_cells(self, cells, strips=False):
        """Clicks the cells in order, every second one in its overlap strip."""
        self.clicks([self.cell_point(cell, strips and n % 2 == 1) for n, cell in enumerate(cells)])

    def press_button(self):
        left, top, width, height = self.facts.new_game_button_rect
        self.click(left + width // 2, top + height // 2)

    def open_menu(self, how):
        """Opens the first menu-bar entry's drop-down, by its mnemonic, by
        Alt and the US key where a Russian keyboard has its mnemonic letter
        ("latin_key": Alt+V for «М»), or by the mouse, and waits until it
        shows over the board."""
        below = (0, 0, self.facts.client_size[0] // 2, 20)
        before = self.look().region(*below)
        caption = self.facts.menu_captions[0]
        if how == "mnemonic":
            self.mnemonic(caption)
        elif how == "latin_key":
            self.key("alt+" + LATIN_KEY[mnemonic(caption).lower()])
        else:
            self.click_menu(0)
        wait_for(lambda: self.look().region(*below) != before, 30, "the drop-down did not open")

    def exit(self, how):
        """Ends the program through the menu ("menu_" and how open_menu opens
        it; Exit by its mnemonic, or by the mouse after the mouse), or
        through the window's close button (close_window); returns the status."""
        if how.startswith("menu_"):
            self.open_menu(how[len("menu_"):])
            if how == "menu_mouse":
                self.click_drop_down()
            else:
                self.mnemonic(self.facts.exit_caption, menu_bar=False)
        else:
            self.close_window()
        return self.exit_status()

    def wait_board(self, pictures, wanted, message, timeout=30):
        """Waits until the board on the screen satisfies wanted(tiles)."""
        def ready():
            view = self.look()
            tiles = view.board(pictures)
            return (tiles, view) if tiles is not None and wanted(tiles) else None
        try:
            return wait_for(ready, timeout, message)
        except AssertionError:
            shown = self.look().board(pictures)
            raise AssertionError("%s; the board shows %r%s" % (
                message, shown, self.redrawn_board(pictures, shown))) from None

    def wait_deal(self, pictures, message="no deal on the screen"):
        """Waits until the board shows a start layout."""
        layouts = self.facts.start_layouts
        return self.wait_board(pictures, lambda t: t[-1] == 0 and t[:-1] in layouts, message)

    def redrawn_board(self, pictures, shown):
        """Where the window can be made to draw itself afresh: what its board
        shows then, if that differs from `shown` (a stale screen, not a game
        that is behind)."""
        return ""


class Player(Protocol):
    """A kind of program under test (xprograms.XDesktop, web.WebBrowser): it
    starts games and keeps what the tests need between them. `features` names
    what the front end has (the tests' markers), `hidpi_scales` the display
    scales it is played at besides 1."""
    name: str
    features: frozenset
    hidpi_scales: tuple

    def start(self, scale=1, **options) -> Game: ...
    def end(self): ...  # the player's own programs and session ended
    def save_screen(self, name): ...
    def shot_path(self, name) -> str: ...
    def end_games(self): ...  # every game it started ended
    def problems(self) -> list: ...  # what the games did that no test allows
    def log_text(self) -> str: ...
    def keyboard_layout(self, layout): ...  # a context: the player types on that layout


def announced(game):
    """What live regions and alerts say now."""
    return [name for role, name, showing, _, _ in game.accessible_nodes()
            if role in {"notification", "alert", "status"} and showing and name]
