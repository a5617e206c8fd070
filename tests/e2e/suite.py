#!/usr/bin/env python3
"""End-to-end suite: the real program driven by real input and checked pixel
by pixel on screenshots. One set of scenarios for three programs, each behind
one adapter (game.Game): the Qt build and tarpo.exe under Wine in an X
session with a window manager (xprograms.py), and the web page in Chromium,
Firefox or WebKit (web.py).

Usage: suite.py PROGRAM EXE GROUP --facts FORM_JSON --solutions SOLUTIONS_JSON
                --assets DIR --shots DIR [--wine-prefix BOOTED_PREFIX]
       suite.py --boot-wine-prefix DIR
PROGRAM is qt, wine, or web (Chromium), firefox or webkit (EXE is then the
site's folder); GROUP one of
window, games, hidpi, rapid, and where the program has them small_screen (qt,
wine), missing_picture (wine, web), phone, page, deploy, hosts and stalls
(web), offline (web, firefox, webkit), accessibility (qt, web; wine: then
--msaa-probe gives the cross-built MSAA probe)."""

import argparse
import os
import random
import sys
import tempfile
import time
import traceback

from game import Facts, PictureSet, check, device, is_whole, near, same_twice, wait_for

RAPID_CLICKS = 500
RAPID_SEED = 5150
DEALS = 40  # all five layouts show up in 40 deals but once in 1500 runs
# Too small for the window at scale 2, or at 1.25 with a title bar.
SMALL_SCREEN = (640, 480)
WEB_ENGINES = ("web", "firefox", "webkit")


class Suite:
    def __init__(self, adapter, facts, assets):
        self.adapter, self.facts, self.assets = adapter, facts, assets

    def game(self, scale=1, **options):
        return self.adapter.start(scale, **options)

    # -- the window at start ---------------------------------------------------

    def start_look(self):
        """Sixteen empty framed cells, an empty preview, the label in its
        colour on two lines, a window of fixed size, the focus on the button
        (Space deals)."""
        f = self.facts
        game = self.game()
        view = game.look("start")
        for i in range(f.cells):
            ox, oy = f.cell_origin(i)
            check(view.framed(i), "cell %d has no 2-px frame" % i)
            fw = f.frame_width
            check(view.is_blank(ox + fw + 2, oy + fw + 2, f.piece_side - 4, f.piece_side - 4),
                  "cell %d is not empty" % i)
        check(view.is_blank(*f.preview_rect), "the preview is not empty")
        left, top, width, height = f.motto_rect
        ink_rows = {y for y in range(top, top + height) for x in range(left, left + width)
                    if view.pixel(x, y) == tuple(f.motto_colour)}
        check(ink_rows, "no label text in its colour in %r" % (f.motto_rect,))
        lines = sum(1 for y in ink_rows if y - 1 not in ink_rows)
        check(lines == 2, "the label shows %d lines of text, not 2" % lines)
        game.check_fixed_size()
        self.space_deals(game, "the focus is not on the button at start")

    def large_desktop_font(self):
        """The layout is fixed in pixels: with the GTK platform theme and a
        96-pt bold desktop font, the window and its open menu look exactly as
        with no platform theme, and the help box has the size it has with
        the theme at a common font size. (The boxes take the theme's icon;
        their text is checked by the widget tests.)"""
        looks = {}
        for name, font in (("plain", None), ("common", "Sans 10"), ("large", "Sans Bold 96")):
            with tempfile.TemporaryDirectory() as config:
                os.makedirs(os.path.join(config, "gtk-3.0"))
                with open(os.path.join(config, "gtk-3.0", "settings.ini"), "w") as settings:
                    settings.write("[Settings]\ngtk-font-name=%s\n" % font)
                looks[name] = self.looks({"QT_QPA_PLATFORMTHEME": "gtk3", "XDG_CONFIG_HOME": config}
                                         if font else {})
        for scene in ("window", "open menu"):
            check(looks["plain"][scene] == looks["large"][scene],
                  "the %s differs with a large desktop font" % scene)
        check(looks["common"]["help box"] == looks["large"]["help box"],
              "the help box is %r with a common desktop font, %r with a large one"
              % (looks["common"]["help box"], looks["large"]["help box"]))

    def looks(self, env):
        game = self.game(env=env)
        window = game.whole_look()
        game.open_menu("mouse")
        looks = {"window": window, "open menu": game.whole_look()}
        game.key("Escape", "Escape")
        game.wait_active()
        game.mnemonic(self.facts.menu_captions[1])
        looks["help box"] = game.box_size(self.facts.help_title)
        self.adapter.save_screen("large-font-box" if "XDG_CONFIG_HOME" in env else "plain-font-box")
        game.end()
        return looks

    def space_deals(self, game, message):
        game.key("space")
        skull = PictureSet(self.facts, self.assets, 0, game.scale)
        game.wait_board(skull, lambda tiles: tiles[:-1] in self.facts.start_layouts, message)

    def click_before_first_game(self, by="pointer"):
        """The board starts solved: a click shows the completion, which is
        only frames removed, since no picture set is loaded yet. Space on
        the board's focused cell does the same."""
        f = self.facts
        game = self.game()
        if by == "keys":  # from the button back to the board, Space, and away
            game.key("shift+Tab", "space", "Tab")
        else:
            game.click_cells([5])
        span = f.cell_pitch * (f.side - 1) + f.framed_side
        wait_for(lambda: game.look().is_blank(*f.board_origin, span, span), 10,
                 "frames or pictures left on the board after a click before the first game")
        game.look("click-before-game")

    def menus_and_boxes(self):
        """Each box by its mnemonic and by the mouse, closed by Return or
        Escape, leaves the window as it was; the focus stays on the button
        (Space deals)."""
        f = self.facts
        game = self.game()
        span = f.cell_pitch * (f.side - 1) + f.framed_side
        compared = ((0, 0, f.board_origin[0] + span, f.client_size[1])
                    if "text_antialiasing_varies" in self.adapter.features
                    else (0, 0, *f.client_size))
        before = game.look().region(*compared)
        boxes = [(1, f.help_title, f.help_text), (2, f.author_title, f.author_text)]
        for how in ("mnemonic", "mouse"):
            for entry, title, text in boxes:
                if how == "mouse":
                    game.click_menu(entry)
                else:
                    game.mnemonic(f.menu_captions[entry])
                game.wait_box(title, text)
                self.adapter.save_screen("box-%d-%s" % (entry, how))
                game.key("Escape" if how == "mouse" else "Return")
                game.wait_box_gone(title)
        after = game.look().region(*compared)
        check(after == before, "the boxes changed the window")
        self.space_deals(game, "the focus is not on the button after the boxes")

    def mnemonics_on_russian_layout(self):
        """With a Russian keyboard layout on, Alt with the key of a Latin
        mnemonic letter opens what it opens on a Latin layout: Alt+H the help
        box, Alt+A the author box; Alt+М, typed in Cyrillic, still opens the
        menu, and the key of Exit's Latin letter then ends the program."""
        f = self.facts
        with self.adapter.keyboard_layout("ru"):
            game = self.game()
            for entry, title, text in [(1, f.help_title, f.help_text),
                                       (2, f.author_title, f.author_text)]:
                game.mnemonic(f.menu_captions[entry])
                game.wait_box(title, text)
                game.key("Return")
                game.wait_box_gone(title)
            game.open_menu("mnemonic")
            game.mnemonic(f.exit_caption, menu_bar=False)
            check(game.exit_status() == 0, "Exit did not end the program with status 0")

    def exit(self, how):
        """Exit from the menu, by its mnemonics or by the mouse, and the
        title-bar close end the program with status 0."""
        status = self.game().exit(how)
        check(status == 0, "exit status %d" % status)

    # -- whole games -----------------------------------------------------------

    def whole_game(self, set_index, scale=1, by="keys", asked=None, **options):
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
        f = self.facts
        pictures = PictureSet(f, self.assets, set_index, scale)
        label = "%s%s%s" % (pictures.name, "" if scale == 1 else "-x%g" % scale,
                            "-asked-x%g" % asked if asked else "")
        label += "".join("-" + option for option in options)
        game = self.game(scale, **dict(options, **({"asked": asked} if asked else {})))
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
        tiles, view = game.wait_board(pictures, lambda t: t[-1] == 0 and 0 not in t[:-1],
                                      "no deal of %s on the screen" % pictures.name)
        game.look("%s-dealt" % label)
        check(tiles[:-1] in f.start_layouts, "dealt %r, which is not a start layout" % tiles)
        check(all(view.framed(i) for i in range(f.cells)), "a cell has no frame after the deal")
        if pictures.preview:  # the preview may be drawn a moment after the cells
            wait_for(lambda: game.look().region(*f.preview_rect[:2], *f.preview_size)
                     == pictures.preview, 10, "the preview is not shown at the preview's place")
        else:
            check(view.is_blank(*f.preview_rect), "the preview is not empty")

        solution = f.solutions[f.start_layouts.index(tiles[:-1])]
        by_keys = by == "keys" and "board_keys" in self.adapter.features
        if by_keys:
            # From the button to the board; its focused cell is brought to the
            # top-left corner by keys that would wrap if the edges let them.
            game.key("Tab", "Tab", *["Up"] * (f.side - 1), *["Left"] * (f.side - 1))
            self.play_by_keys(game, tiles, 0, solution)
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

    def play_by_keys(self, game, tiles, focus, clicks):
        """Clicks the cells in order by keys from the focused cell `focus`:
        the arrows to each, then Return or Space by turns. The focus follows
        each slid tile into the cell that was empty."""
        side, keys = self.facts.side, []
        empty = tiles.index(0)
        for n, cell in enumerate(clicks):
            rows, cols = cell // side - focus // side, cell % side - focus % side
            keys += ["Down" if rows > 0 else "Up"] * abs(rows)
            keys += ["Right" if cols > 0 else "Left"] * abs(cols)
            keys.append("space" if n % 2 else "Return")
            slides = cell in neighbours(empty, side)
            focus, empty = (empty, cell) if slides else (cell, empty)
        game.key(*keys)

    # -- assistive technology --------------------------------------------------

    CELL_ROLES = {"push button", "table cell", "button", "gridcell", "cell"}
    NOTE_ROLES = {"notification", "alert", "status"}
    IMAGE_ROLES = {"image", "graphic"}

    def cell_name(self, cell, tile):
        """The name a cell must have while it shows tile `tile` (0 nothing,
        cells for the finished picture's last piece)."""
        f, texts = self.facts, self.facts.accessible
        what = (texts["nothing"] if tile == 0 else texts["last_piece"] if tile == f.cells
                else texts["tile"].replace("{tile}", str(tile)))
        return (texts["cell_name"].replace("{row}", str(cell // f.side + 1))
                .replace("{column}", str(cell % f.side + 1)).replace("{what}", what))

    def read_cells(self, game):
        """The board's cells as a screen reader finds them: the nodes of a
        cell's role that lie on the board, which must be sixteen, in reading
        order, each over its cell. Returns (names, the focused one or None)."""
        f = self.facts
        (left, top), span = f.board_origin, f.cell_pitch * f.side
        cells = [(name, focused, (x + w / 2, y + h / 2))
                 for role, name, showing, focused, (x, y, w, h) in game.accessible_nodes()
                 if role in self.CELL_ROLES and left <= x + w / 2 < left + span
                 and top <= y + h / 2 < top + span]
        check(len(cells) == f.cells, "%d cells found by a screen reader" % len(cells))
        for i, (name, _, (x, y)) in enumerate(cells):
            ox, oy = f.cell_origin(i)
            check(ox <= x < ox + f.cell_pitch and oy <= y < oy + f.cell_pitch,
                  "the screen reader's cell %d (%r) lies at %r" % (i, name, (x, y)))
        focused = [i for i, (_, is_focused, _) in enumerate(cells) if is_focused]
        return [name for name, _, _ in cells], (focused[0] if focused else None)

    def wait_names(self, game, tiles, message):
        wanted = [self.cell_name(i, t) for i, t in enumerate(tiles)]
        seen = [None]

        def named():
            try:
                seen[0] = self.read_cells(game)[0]
            except AssertionError as problem:  # the tree may still be growing
                seen[0] = str(problem)
            return seen[0] == wanted
        try:
            wait_for(named, 10, "")
        except AssertionError:
            raise AssertionError("%s: %r, not %r" % (message, seen[0], wanted)) from None

    def control_names(self, game, rect, roles):
        left, top, width, height = rect
        return [name for role, name, showing, _, (x, y, w, h) in game.accessible_nodes()
                if role in roles and showing and left <= x + w / 2 < left + width
                and top <= y + h / 2 < top + height]

    def control_name(self, game, rect, roles):
        names = self.control_names(game, rect, roles)
        check(len(names) == 1, "%d nodes of %s at %r" % (len(names), roles, rect))
        return names[0]

    def audited(self, game, when):
        if "audit" in self.adapter.features:
            found = game.audit()
            check(not found, "%s: %s" % (when, "\n".join(found)))

    def announced(self, game):
        return [name for role, name, showing, _, _ in game.accessible_nodes()
                if role in self.NOTE_ROLES and showing and name]

    def accessible_names(self):
        """What a screen reader finds, against what the screen shows: each
        cell named by its place and the tile it shows now, before the first
        game, after a deal, after slides and on the finished picture; the
        list named, the preview named by the set it shows; after a slide by
        keys, the focus, with its ring, on the tile's new cell, and none from
        a click; the win announced at the slide that brings the tiles home,
        and not before. Where a checker reads the window (audit), it finds
        nothing amiss at start, dealt and finished."""
        f, texts = self.facts, self.facts.accessible
        set_index = 1
        pictures = PictureSet(f, self.assets, set_index, 1)
        game = self.game()
        self.wait_names(game, game.look().board(pictures), "names before the first game")
        check(self.control_name(game, f.picture_set_list_rect, {"list", "list box", "listbox"})
              == texts["list"], "the list is not named")
        check(self.control_names(game, f.preview_rect, self.IMAGE_ROLES) in ([], [""]),
              "the empty preview has a name")
        self.audited(game, "at start")

        game.key("Tab", "Down", "shift+Tab", "space")
        tiles, _ = game.wait_board(pictures, lambda t: t[-1] == 0 and 0 not in t[:-1],
                                   "no deal on the screen")
        self.wait_names(game, tiles, "names after the deal")
        wait_for(lambda: self.control_name(game, f.preview_rect, self.IMAGE_ROLES)
                 == f.picture_sets[set_index]["name"], 10, "the preview is not named by its set")
        check(not self.announced(game), "announced before the win: %r" % self.announced(game))
        self.audited(game, "dealt")

        # Into the board to the cell before the empty one, by the board's last
        # corner, the row's start and end, and slide its tile.
        before = f.cells - 2
        game.key("Tab", "Tab", "ctrl+End", "Home", "End", "Left", "Return")
        wait_for(lambda: self.read_cells(game)[1] == f.cells - 1, 10,
                 "the focus did not follow the tile into the empty cell")
        names, _ = self.read_cells(game)
        # The ring inside the focused cell: the board shows no tile there.
        wait_for(lambda: game.look().board(pictures) is None, 10,
                 "no focus ring in the focused cell")
        check(names[-1] == self.cell_name(f.cells - 1, tiles[before]),
              "the focused cell is named %r" % names[-1])
        if "focus_ring" in self.adapter.features:
            self.check_focus_ring(game, f.cells - 1)
        else:
            game.look("accessible-focus")
        game.key("Return", "Tab")  # back, and out of the board
        game.wait_board(pictures, lambda t: t == tiles, "the tile did not slide back")

        game.click_cells(f.solutions[f.start_layouts.index(tiles[:-1])])
        try:
            game.wait_board(pictures, lambda t: t == f.home(),
                            "the clicks did not bring the tiles home")
        except AssertionError as shown:  # is the game behind, or its drawing?
            raise AssertionError("%s; a screen reader reads %r"
                                 % (shown, self.read_cells(game)[0])) from None
        check(self.read_cells(game)[1] is None, "a click gave the board the focus")
        self.wait_names(game, f.home(), "names at home")
        wait_for(lambda: self.announced(game) == [texts["solved"]], 10,
                 "the win was not announced")

        game.click_cells([0])
        last = f.cell_origin(f.cells - 1)
        wait_for(lambda: game.look().region(*last, f.piece_side, f.piece_side)
                 == b"".join(pictures.pieces[-1]), 10, "the last piece does not show")
        self.wait_names(game, f.home()[:-1] + [f.cells], "names of the finished picture")
        game.look("accessible-complete")
        self.audited(game, "finished")

    def check_focus_ring(self, game, cell):
        """Cell `cell` shows the focus ring inside its frame: on its top and
        left sides, lines of one colour and, within them, a lining of another."""
        f, ring = self.facts, self.facts.focus_ring
        ox, oy = f.cell_origin(cell)
        at = f.frame_width + ring["gap"]
        along = range(at + ring["width"] + ring["lining"], f.framed_side - at - ring["width"])

        def shown():
            view = game.look()
            lines = [{view.pixel(*((ox + a, oy + d), (ox + d, oy + a))[side]) for a in along}
                     for d in (at, at + ring["width"] - 1, at + ring["width"]) for side in (0, 1)]
            outer, lining = set().union(*lines[:4]), set().union(*lines[4:])
            return (len(outer) == len(lining) == 1 and outer != lining
                    and view.background() not in outer)
        wait_for(shown, 10, "no focus ring inside cell %d" % cell)
        game.look("accessible-focus")

    # -- rapid input -----------------------------------------------------------

    def deals_hit_every_layout(self):
        """New games one after another deal every start layout: the draw is
        fresh at each press. A slide between deals makes each one show."""
        f = self.facts
        skull = PictureSet(f, self.assets, 0, 1)
        game = self.game()
        seen = set()
        for _ in range(DEALS):
            game.press_button()
            tiles, _ = game.wait_board(skull, lambda t: t[:-1] in f.start_layouts,
                                       "no deal on the screen")
            seen.add(f.start_layouts.index(tiles[:-1]))
            game.click_cells([f.cells - 2])  # into the empty last cell
            game.wait_board(skull, lambda t: t[-1] != 0, "the slide does not show")
        check(len(seen) == len(f.start_layouts),
              "%d deals gave only the layouts %s" % (DEALS, sorted(seen)))

    def rapid_clicks(self):
        """500 clicks sent as fast as input goes, anywhere in the framed cells
        including the overlap strips. Sent this fast, a press and its release
        may reach different cells, which is no click, so which board results
        is not predicted: the program still runs and answers, and the board
        is one that slides can reach from the deal."""
        f = self.facts
        rng = random.Random(RAPID_SEED)
        pictures = PictureSet(f, self.assets, 0, 1)
        game = self.game()
        game.press_button()
        dealt, _ = game.wait_board(pictures, lambda t: t[-1] == 0 and 0 not in t[:-1],
                                   "no deal on the screen")
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
            game.burst(points, f.menu_captions[1])
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
        empty = board.index(0)
        cell = neighbours(empty, f.side)[0]
        expected = list(board)
        expected[empty], expected[cell] = board[cell], 0
        game.click_cells([cell])
        game.wait_board(pictures, lambda t: t == expected,
                        "a click after the burst did not slide the tile of cell %d" % cell)

    # -- deploys and networks ----------------------------------------------------

    def deploy(self):
        """A returning player after a deploy: version A visited and kept for
        offline play, then version B, a rebuild with the motto in another
        colour, served in its place, by a host that sends no Cache-Control
        (its files a month old) and by one that asks for revalidation. At
        the latest the second load shows B, and every file it loaded is B's."""
        f = self.facts
        for host in DEPLOY_HOSTS:
            self.adapter.host(**host)
            game = self.game(kept=True)
            check(motto_colour(game, [f.motto_colour]), "version A's motto is not shown")
            kept = game.kept_versions()
            colour, files = self.adapter.deploy()
            versions = [f.motto_colour, colour]
            game.reload()
            if motto_colour(game, versions) != colour:
                game.wait_settled(kept)
                game.reload()
            check(motto_colour(game, versions) == colour, "%r: the second load after a deploy "
                  "does not show the new version" % host)
            stray = set(game.loaded_files()) - set(files)
            check(not stray, "%r: files of another version loaded: %r" % (host, sorted(stray)))
            game.look("deployed")
            game.end()
            self.adapter.undeploy()
        self.adapter.host()

    def silent_network(self):
        """A returning player on a network that connects but never answers
        starts from what was kept, at once: after a reload, and from a link
        whose address carries a query."""
        game = self.game(kept=True)
        self.adapter.host(faults={"*": {"hang": True}})
        game.reload()
        motto_colour(game, [self.facts.motto_colour])
        game.follow_link("?from=a-link")
        motto_colour(game, [self.facts.motto_colour])
        self.adapter.host()

    def bad_hosts(self):
        self.adapter.check_bad_hosts()

    def stalls(self):
        self.adapter.check_stalls()

    def late_style_sheet(self):
        self.adapter.check_late_style_sheet()

    # -- touch -------------------------------------------------------------------

    def overlapping_taps(self):
        """Two thumbs: a tap that begins before the other has ended still
        slides its tile, and so does the other."""
        f = self.facts
        skull = PictureSet(f, self.assets, 0, 1)
        game = self.game(phone=True)
        game.press_button()
        dealt, _ = game.wait_board(skull, lambda t: t[:-1] in f.start_layouts, "no deal")
        empty = dealt.index(0)
        first = neighbours(empty, f.side)[0]
        second = [c for c in neighbours(first, f.side) if c != empty][0]
        expected = list(dealt)
        expected[empty], expected[first], expected[second] = dealt[first], dealt[second], 0
        game.overlapping_taps([game.cell_point(first), game.cell_point(second)])
        game.wait_board(skull, lambda t: t == expected, "the two taps did not slide two tiles")

    # -- the page's own: loading, themes, fonts, the tab ------------------------

    def input_during_loading(self):
        """While the pictures load, the new game is asked for with the first
        set chosen and then the second set is chosen: the deal is of the
        first set, the second stays chosen for the next game."""
        f = self.facts
        with self.adapter.pictures_held():
            game = self.game(ready=False)
            game.wait_shown()
            game.press_button()
            game.click(*game.list_entry(1))
        skull = PictureSet(f, self.assets, 0, 1)
        game.wait_board(skull, lambda t: t[:-1] in f.start_layouts, "no deal of the first set")
        dentist = PictureSet(f, self.assets, 1, 1)
        game.press_button()
        game.wait_board(dentist, lambda t: t[:-1] in f.start_layouts,
                        "the second set, chosen while loading, is not dealt next")

    def forced_colours(self):
        """In a high-contrast theme the chosen entry of the list stands out
        from the others."""
        f = self.facts
        game = self.game()
        game.forced_colours(True)
        right = f.picture_set_list_rect[0] + f.picture_set_list_rect[2] - 4  # beyond the entries' text

        def stands_out():
            view = game.look()
            return view.pixel(right, game.list_entry(0)[1]) != view.pixel(right, game.list_entry(1)[1])
        wait_for(stands_out, 10, "the chosen entry looks like the others in forced colours")
        game.look("forced-colours")

    def shipped_font(self):
        """The form's text is drawn in the face the page ships, whatever the
        system has."""
        game = self.game()
        selectors = ["#newGameButton", "#motto", "#pictureSetList [role=option]", "#menubar button"]
        faces = wait_for(lambda: (lambda d: d if all(
            fonts and all(face["isCustomFont"] for face in fonts) for fonts in d) else None)(
            game.drawn_fonts(selectors)), 10,
            "text drawn in a face of the system: %r" % (game.drawn_fonts(selectors),))
        names = {face["familyName"] for fonts in faces for face in fonts}
        check(names == {"DejaVu Sans"}, "the form's text is drawn in %r" % names)

    def reload_keeps_the_game(self):
        """A reload shows the game as it was, to the pixel, in each state a
        player leaves it in: the board, the preview, the chosen set, and does
        not say the win again. A new tab starts afresh."""
        f = self.facts
        span = f.cell_pitch * (f.side - 1) + f.framed_side
        right = f.picture_set_list_rect[0] + f.picture_set_list_rect[2] - 4  # beyond the entries' text

        def shown(game):
            view = game.look()
            return (view.region(*f.board_origin, span, span), view.region(*f.preview_rect),
                    [view.pixel(right, game.list_entry(i)[1]) for i in range(len(f.picture_sets))])

        def dealt(game, set_index):
            if set_index:
                game.click(*game.list_entry(set_index))
            game.press_button()
            pictures = PictureSet(f, self.assets, set_index, 1)
            return game.wait_board(pictures, lambda t: t[:-1] in f.start_layouts, "no deal")[0]

        def slid(game):  # a deal of the second set, a slide, the first set chosen again
            tiles = dealt(game, 1)
            game.click_cells(f.solutions[f.start_layouts.index(tiles[:-1])][:1])
            game.click(*game.list_entry(0))

        def finished(game):
            tiles = dealt(game, 0)
            game.click_cells(f.solutions[f.start_layouts.index(tiles[:-1])] + [0])

        states = {"click_before_first_game": lambda game: game.click_cells([5]),
                  "slid": slid, "finished": finished}
        for name, play in states.items():
            game = self.game()
            fresh = shown(game)
            play(game)
            # Once the input has been handled: the same twice in a row.
            before = wait_for(lambda: (lambda a, b: a if a == b and a != fresh else None)(
                shown(game), shown(game)), 30, "%s: nothing changed" % name)
            # The win is said when it happens, not again by the reload.
            heard = name == "finished" and "accessibility" in self.adapter.features
            if heard:
                wait_for(lambda: self.announced(game) == [f.accessible["solved"]], 10,
                         "the win was not announced")
            game.reload()
            wait_for(lambda: shown(game) == before, 30,
                     "%s: the reloaded page does not show the game as it was" % name)
            if heard:
                check(self.announced(game) == [], "the reload announced the win again")
            game.look("reloaded-" + name)
            game.new_tab()
            game.wait_ready()
            check(shown(game) == fresh, "%s: a new tab does not start afresh" % name)
            game.end()

    # -- a broken build ----------------------------------------------------------

    def missing_picture(self):
        """The last piece of the first set missing, as only a broken build
        could leave it: start-up stops with a message instead of the game."""
        f = self.facts
        folder, piece = f.picture_sets[0]["pieces"][-1].split("/")
        self.adapter.check_missing_picture(folder, piece)


# A host that sends no Cache-Control with files deployed a month ago, and
# one that asks for every file to be revalidated.
DEPLOY_HOSTS = ({"aged": True}, {"cache_control": "no-cache"})


def motto_colour(game, colours):
    """The one of `colours` the motto shows in, once it shows in one."""
    left, top, width, height = game.facts.motto_rect

    def shown():
        view = game.look()
        inks = {view.pixel(x, y) for y in range(top, top + height) for x in range(left, left + width)}
        return next((list(c) for c in colours if tuple(c) in inks), None)
    return wait_for(shown, 10, "the motto shows in none of %r" % (colours,))


def neighbours(cell, side):
    row, col = divmod(cell, side)
    return [r * side + c for r, c in ((row - 1, col), (row + 1, col), (row, col - 1), (row, col + 1))
            if 0 <= r < side and 0 <= c < side]


def slide_parity(board, side):
    """What slides keep: the parity of the arrangement (the empty cell counted
    as the highest tile) plus the parity of the empty cell's row and column."""
    values = [v or len(board) for v in board]
    inversions = sum(values[i] > values[j] for i in range(len(values))
                     for j in range(i + 1, len(values)))
    empty = board.index(0)
    return (inversions + empty // side + empty % side) % 2


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


# The groups of scenarios, each with the feature a program needs for it.
GROUPS = {"window": None, "games": None, "hidpi": None, "rapid": None,
          "small_screen": "small_screen",
          "missing_picture": "missing_picture", "phone": "touch", "offline": "offline",
          "page": "page", "accessibility": "accessibility",
          "deploy": "deploy", "hosts": "hosts", "stalls": "hosts"}


def scenarios(suite, group):
    """(name, callable) of each scenario of a group."""
    features = suite.adapter.features
    sets = range(len(suite.facts.picture_sets))
    exits = ["menu_mnemonic", "menu_mouse"] + (["title_bar_close"] if "title_bar" in features
                                               else [])
    return {
        "window": [("start_look", suite.start_look),
                   ("click_before_first_game", suite.click_before_first_game)]
                  + ([("click_before_first_game_by_keys",
                       lambda: suite.click_before_first_game("keys"))]
                     if "board_keys" in features else [])
                  + [("menus_and_boxes", suite.menus_and_boxes)]
                  + [("exit_by_" + how, lambda how=how: suite.exit(how)) for how in exits]
                  + ([("mnemonics_on_russian_layout", suite.mnemonics_on_russian_layout)]
                     if "keyboard_layout" in features else [])
                  + ([("large_desktop_font", suite.large_desktop_font)]
                     if "desktop_font" in features else []),
        "games": [("game_" + suite.facts.picture_sets[s]["folder"],
                   lambda s=s: suite.whole_game(s)) for s in sets],
        "hidpi": [("game_at_scale_%g" % scale,
                   lambda scale=scale: suite.whole_game(0, scale, by="pointer"))
                  for scale in suite.adapter.hidpi_scales],
        "small_screen": [("game_asked_at_scale_2_fits_at_1",
                          lambda: suite.whole_game(1, scale=1, asked=2))],
        "rapid": [("deals_hit_every_layout", suite.deals_hit_every_layout),
                  ("rapid_clicks", suite.rapid_clicks)],
        "missing_picture": [("missing_picture", suite.missing_picture)],
        # A phone held upright: the form scaled down to fit, played by taps.
        "phone": [("game_by_touch", lambda: suite.whole_game(1, scale=2, by="pointer",
                                                              phone=True)),
                  ("overlapping_taps", suite.overlapping_taps)],
        "page": [("input_during_loading", suite.input_during_loading),
                 ("forced_colours", suite.forced_colours),
                 ("shipped_font", suite.shipped_font),
                 ("reload_keeps_the_game", suite.reload_keeps_the_game)],
        "offline": [("game_after_offline_reload", lambda: suite.whole_game(0, offline=True)),
                    ("returning_player_on_a_silent_network", suite.silent_network),
                    ("style_sheet_after_the_script", suite.late_style_sheet)],
        "accessibility": [("accessible_names", suite.accessible_names)],
        "deploy": [("deploy_from_a_to_b", suite.deploy)],
        "hosts": [("bad_hosts_and_files", suite.bad_hosts)],
        "stalls": [("hung_and_slow_downloads", suite.stalls)],
    }[group]


def adapter(args, facts):
    if args.program in WEB_ENGINES:
        from web import WebBrowser
        return WebBrowser(os.path.abspath(args.exe), facts, args.shots, os.path.abspath(args.assets),
                          args.program)
    from xprograms import QtProgram, WineProgram, XDesktop
    from xsession import SCREEN
    program = (QtProgram(args.exe) if args.program == "qt"
               else WineProgram(os.path.abspath(args.exe), args.wine_prefix, args.msaa_probe))
    return XDesktop(program, facts, args.shots,
                    SMALL_SCREEN if args.group == "small_screen" else SCREEN,
                    accessibility=args.group == "accessibility")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--boot-wine-prefix")
    parser.add_argument("program", nargs="?", choices=("qt", "wine") + WEB_ENGINES)
    parser.add_argument("exe", nargs="?")
    parser.add_argument("group", nargs="?", choices=GROUPS)
    parser.add_argument("--facts")
    parser.add_argument("--solutions")
    parser.add_argument("--assets")
    parser.add_argument("--shots")
    parser.add_argument("--wine-prefix")
    parser.add_argument("--msaa-probe")
    args = parser.parse_args()
    if args.boot_wine_prefix:
        from xprograms import WineProgram
        WineProgram.make_prefix(args.boot_wine_prefix)
        return 0

    facts = Facts(args.facts, args.solutions)
    os.makedirs(args.shots, exist_ok=True)
    passed = failed = 0
    with adapter(args, facts) as programs:
        needed = GROUPS[args.group]
        if needed and needed not in programs.features:
            parser.error("%s has no group %s" % (args.program, args.group))
        suite = Suite(programs, facts, args.assets)
        for name, run in scenarios(suite, args.group):
            started = time.monotonic()
            try:
                run()
                problems = programs.problems()
                check(not problems, "\n".join(problems))
                passed += 1
                print("ok   %s (%.1f s)" % (name, time.monotonic() - started))
            except Exception:  # report, clean up, go on with the next scenario
                failed += 1
                print("FAIL %s (%.1f s)" % (name, time.monotonic() - started))
                traceback.print_exc(file=sys.stdout)
                programs.save_screen("failed-" + name)
                print("the screen: %s in %s" % (
                    os.path.basename(programs.shot_path("failed-" + name)), args.shots))
                log = programs.log_text()
                if log:
                    print(log)
            finally:
                programs.end_games()
    print("e2e %s %s: %d passed, %d failed" % (args.program, args.group, passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
