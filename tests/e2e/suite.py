#!/usr/bin/env python3
"""End-to-end suite: the real program in an X session with a window manager
(Xvfb + openbox), driven by real X input through xdotool and checked pixel by
pixel on screenshots. One suite for two programs: the Qt build, and tarpo.exe
under Wine.

Usage: suite.py PROGRAM EXE GROUP --facts FORM_JSON --solutions SOLUTIONS_JSON
                --assets DIR --shots DIR [--wine-prefix BOOTED_PREFIX]
       suite.py --boot-wine-prefix DIR
PROGRAM is qt or wine; GROUP one of window, games, hidpi, rapid and, for
wine only, missing_picture."""

import argparse
import os
import random
import sys
import tempfile
import time
import traceback
import unicodedata

from game import Facts, Game, PictureSet, QtProgram, WineProgram, check
from xsession import XSession

RAPID_CLICKS = 500
RAPID_SEED = 5150


class Suite:
    def __init__(self, x, program, facts, assets, shots):
        self.x, self.program, self.facts, self.assets = x, program, facts, assets
        self.shots = shots
        self.games = []
        # Mnemonic letters that the keyboard map lacks get spare keys for the
        # whole session: xdotool would map them only for the moment of the key
        # press, too briefly for a program that reads the map late (Wine).
        letters = [mnemonic(c) for c in facts.menu_captions + [facts.exit_caption]]
        spare = [line.split()[1] for line in x.run(["xmodmap", "-pke"]).decode().splitlines()
                 if line.rstrip().endswith("=")]
        for letter, keycode in zip([c for c in letters if not c.isascii()], spare):
            x.run(["xmodmap", "-e", "keycode %s = %s %s" % (keycode, keysym(letter.lower()),
                                                          keysym(letter.upper()))])

    def shot(self, name):
        return self.x.screenshot(os.path.join(self.shots, "%s-%s.ppm" % (self.program.name, name)))

    def game(self, scale=1, env=None):
        self.games.append(Game(self.x, self.program, self.facts, scale, env))
        return self.games[-1]

    def end_games(self):
        for game in self.games:
            game.end()
        self.games = []
        self.program.stop(self.x)

    # -- the window at start ---------------------------------------------------

    def window_is_fixed(self, game):
        f = self.facts
        check(game.size == (f.client_size[0], f.client_size[1] + game.menu_height)
              and 15 <= game.menu_height <= 30, "window size %r" % (game.size,))
        hints = self.x.run(["xprop", "-id", str(game.window)]).decode()
        for bound in ("minimum", "maximum"):
            check("program specified %s size: %d by %d" % (bound, *game.size) in hints,
                  "the window is not fixed in size:\n" + hints)
        motif = [line for line in hints.splitlines() if line.startswith("_MOTIF_WM_HINTS")]
        check(motif, "no Motif hints:\n" + hints)
        functions, decorations = (int(v, 16) for v in motif[0].split("=")[1].split(",")[1:3])
        # Motif bits: 0x01 all, 0x08 minimise, 0x10 maximise (functions);
        # 0x01 all, 0x20 minimise, 0x40 maximise (decorations).
        check(not functions & (0x01 | 0x08 | 0x10), "window offers minimise/maximise: " + motif[0])
        check(not decorations & (0x01 | 0x20 | 0x40), "window decorates minimise/maximise: "
              + motif[0])
        # The window manager takes the hints: it offers neither resize nor
        # maximise (openbox keeps minimise on principle), and a maximise
        # request changes nothing.
        actions = self.x.run(["xprop", "-id", str(game.window), "_NET_WM_ALLOWED_ACTIONS"]).decode()
        check("_NET_WM_ACTION_RESIZE" not in actions and "MAXIMIZE" not in actions, actions)
        self.x.run(["wmctrl", "-i", "-r", str(game.window), "-b", "add,maximized_vert,maximized_horz"])
        time.sleep(0.3)
        check(self.x.geometry(game.window)[2:] == game.size, "maximise changed the window size")

    def start_look(self):
        """Sixteen empty framed cells, an empty preview, the label in its
        colour on two lines, a window of fixed size, the focus on the button
        (Space deals)."""
        f = self.facts
        game = self.game()
        shot = self.shot("start")
        for i in range(f.cells):
            ox, oy = f.cell_origin(i)
            check(game.framed(shot, i), "cell %d has no 2-px frame" % i)
            fw = f.frame_width
            check(game.is_blank(shot, ox + fw + 2, oy + fw + 2, f.piece_side - 4, f.piece_side - 4),
                  "cell %d is not empty" % i)
        check(game.is_blank(shot, *f.demo_rect), "the preview is not empty")
        left, top, width, height = f.label1_rect
        ink_rows = {y for y in range(top, top + height) for x in range(left, left + width)
                    if shot.pixel(*game.at(x, y)) == tuple(f.label1_colour)}
        check(ink_rows, "no label text in its colour in %r" % (f.label1_rect,))
        lines = sum(1 for y in ink_rows if y - 1 not in ink_rows)
        check(lines == 2, "the label shows %d lines of text, not 2" % lines)
        self.window_is_fixed(game)
        self.space_deals(game, "the focus is not on the button at start")

    def large_desktop_font(self):
        """The layout is fixed in pixels: with the GTK platform theme and a
        14-pt desktop font, the window and its open menu look exactly as with
        no platform theme. (The message boxes take the theme's icon; their
        text is checked by the widget tests.)"""
        with tempfile.TemporaryDirectory() as config:
            os.makedirs(os.path.join(config, "gtk-3.0"))
            with open(os.path.join(config, "gtk-3.0", "settings.ini"), "w") as settings:
                settings.write("[Settings]\ngtk-font-name=Sans 14\n")
            plain, large = (self.looks(env) for env in (
                {}, {"QT_QPA_PLATFORMTHEME": "gtk3", "XDG_CONFIG_HOME": config}))
        for scene in plain:
            check(plain[scene] == large[scene], "the %s differs with a 14-pt desktop font" % scene)

    def looks(self, env):
        game = self.game(env=env)
        window = (game.size, game.settle())
        game.open_menu()
        looks = {"window": window, "open menu": (game.size, game.settle())}
        game.end()
        return looks

    def space_deals(self, game, message):
        self.x.key("space")
        skull = PictureSet(self.facts, self.assets, 0, 1)
        game.wait_board(skull, lambda tiles: tiles[:-1] in self.facts.start_layouts, message)

    def click_before_first_game(self):
        """The board starts solved: a click shows the completion, which is
        only frames removed, since no picture set is loaded yet."""
        f = self.facts
        game = self.game()
        game.click_cells([5])
        span = f.cell_pitch * (f.side - 1) + f.framed_side
        self.x.wait_for(lambda: game.is_blank(self.x.screenshot(), *f.board_origin, span, span),
                        10, "frames or pictures left on the board after a click before the first game")
        self.shot("click-before-game")

    def menus_and_boxes(self):
        """Each box by its mnemonic and by the mouse, closed by Return or
        Escape, leaves the window as it was; the focus stays on the button
        (Space deals)."""
        f = self.facts
        game = self.game()
        entries = game.menu_entries()
        before = game.region(self.x.screenshot(), 0, 0, *f.client_size)
        boxes = [(1, f.help_title), (2, f.author_title)]
        for how in ("mnemonic", "mouse"):
            for entry, title in boxes:
                if how == "mouse":
                    self.x.click(*entries[entry])
                else:
                    self.x.key("alt+" + mnemonic_key(f.menu_captions[entry]))
                self.x.find_window(title)
                self.shot("box-%d-%s" % (entry, how))
                self.x.key("Return" if how == "mnemonic" else "Escape")
                self.x.window_gone(title)
                game.wait_active()
        after = game.region(self.x.screenshot(), 0, 0, *f.client_size)
        check(after == before, "the boxes changed the window")
        self.space_deals(game, "the focus is not on the button after the boxes")

    def exit(self, how):
        """Exit from the menu, by its mnemonics or by the mouse, and the
        title-bar close end the program with status 0."""
        f = self.facts
        game = self.game()
        if how == "menu_mnemonic":
            game.open_menu("alt+" + mnemonic_key(f.menu_captions[0]))
            self.x.key(mnemonic_key(f.exit_caption))
        elif how == "menu_mouse":
            entry = game.open_menu()
            self.x.click(entry[0], game.top + 10 * game.scale)  # the drop-down's one entry
        else:
            self.x.run(["wmctrl", "-i", "-c", str(game.window)])
        status = game.exit_status()
        check(status == 0, "exit status %d" % status)

    # -- whole games -----------------------------------------------------------

    def whole_game(self, set_index, scale=1):
        """A new game with the set chosen in the list, solved by real clicks
        (every second one in an overlap strip, where the higher-numbered
        cell takes it); the last slide shows only itself, the next click the
        whole picture, exact to the pixel, with no frame pixel left."""
        f = self.facts
        pictures = PictureSet(f, self.assets, set_index, scale)
        label = "%s%s" % (pictures.name, "" if scale == 1 else "-x%d" % scale)
        game = self.game(scale)
        check(game.size[0] == f.client_size[0] * scale, "window width %d" % game.size[0])
        if set_index == 0 and scale != 1:
            game.press_button()
        else:  # by keyboard: Tab to the list, the set, Tab back, Space
            self.x.key("Tab", *["Down"] * set_index, "Tab", "space")
        tiles, shot = game.wait_board(pictures, lambda t: t[-1] == 0 and 0 not in t[:-1],
                                      "no deal of %s on the screen" % pictures.name)
        self.shot("%s-dealt" % label)
        check(tiles[:-1] in f.start_layouts, "dealt %r, which is not a start layout" % tiles)
        check(all(game.framed(shot, i) for i in range(f.cells)), "a cell has no frame after the deal")
        if pictures.preview:  # the preview may be drawn a moment after the cells
            self.x.wait_for(lambda: game.region(self.x.screenshot(), *f.demo_rect[:2],
                                                *f.preview_size) == pictures.preview,
                            10, "the preview is not shown at the preview's place")
        else:
            check(game.is_blank(shot, *f.demo_rect), "the preview is not empty")

        game.click_cells(f.solutions[f.start_layouts.index(tiles[:-1])], strips=True)
        _, shot = game.wait_board(pictures, lambda t: t == f.home(),
                                  "the clicks did not bring the %s tiles home" % pictures.name)
        check(game.board(shot, pictures) == f.home() and game.framed(shot, f.cells - 1),
              "the last slide showed more than the slide")
        self.shot("%s-home" % label)

        game.click_cells([0])
        origin = f.board_origin
        span = f.side * f.piece_side
        self.x.wait_for(lambda: game.region(self.x.screenshot(), *origin, span, span)
                        == pictures.whole, 10,
                        "the finished %s picture is not on the screen, exact" % pictures.name)
        shot = self.shot("%s-complete" % label)
        bg = game.background(shot)
        for t in range(span + 2 * (f.frame_width + 4)):
            for x, y in ((origin[0] - 1, t), (origin[0] + span, t), (t, origin[1] - 1),
                         (t, origin[1] + span)):
                check(game.region(shot, x, y, 1, 1) == bytes(bg) * scale ** 2,
                      "a frame pixel is left around the picture at (%d, %d)" % (x, y))

    # -- rapid input -----------------------------------------------------------

    def rapid_clicks(self):
        """500 clicks sent by one xdotool command as fast as it can, anywhere
        in the framed cells including the overlap strips. Sent this fast, a
        press and its release may reach different cells, which is no click, so
        which board results is not predicted: the program still runs and
        answers, and the board is one that slides can reach from the deal."""
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
            command = ["xdotool"]
            for _ in range(RAPID_CLICKS):
                beside = neighbours(empty, f.side)
                cell = rng.choice(beside) if rng.random() < 0.7 else rng.randrange(f.cells)
                empty = cell if cell in beside else empty
                ox, oy = f.cell_origin(cell)
                px, py = game.at(ox + rng.randrange(f.cell_pitch), oy + rng.randrange(f.cell_pitch))
                command += ["mousemove", str(px), str(py), "click", "--delay", "0", "1"]
            # The help box, asked for in the same stream of input, comes up
            # only once the program has handled every click before it.
            self.x.run(command + ["key", "alt+" + mnemonic_key(f.menu_captions[1])])
            self.x.find_window(f.help_title, timeout=60)
            self.x.key("Return")
            self.x.window_gone(f.help_title)
            game.wait_active()

            def settled():
                first = game.board(self.x.screenshot(), pictures)
                time.sleep(0.3)
                return first if first is not None and \
                    game.board(self.x.screenshot(), pictures) == first else None
            board = self.x.wait_for(settled, 30, "the board on the screen did not settle")
            self.shot("rapid-clicks")
            check(game.proc.poll() is None, "the program ended (status %r)" % game.proc.returncode)
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


    # -- a broken build ----------------------------------------------------------

    def missing_picture(self):
        """tarpo.exe with one bitmap resource renamed, as only a broken build
        could leave it: start-up stops with a box titled with the program's
        name, the game's window never shows, and the status is 1."""
        f = self.facts
        name = f.picture_sets[0]["pieces"][-1].upper()
        with open(self.program.exe, "rb") as exe:
            data = exe.read()
        wide = name.encode("utf-16-le")
        check(data.count(wide) == 1, "%s is not a resource name of %s" % (name, self.program.exe))
        broken = os.path.join(self.program.folder.name, "broken.exe")
        with open(broken, "wb") as out:  # the same length, so the file stays valid
            out.write(data.replace(wide, (name[:-1] + "X").encode("utf-16-le")))
        proc = self.program.wine(self.x, [broken])
        self.x.find_window(os.path.splitext(os.path.basename(self.program.exe))[0], timeout=60)
        self.shot("missing-picture")
        check(not self.x.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % f.title],
                             check=False).split(), "the game's window shows without a picture")
        self.x.key("Return")
        status = proc.wait(30)
        check(status == 1, "exit status %d, not 1" % status)


def mnemonic(caption):
    return caption[caption.index("&") + 1]


def mnemonic_key(caption):
    """The key that types the mnemonic letter of a caption."""
    return keysym(mnemonic(caption).lower())


def keysym(letter):
    """The X keysym name of a letter: "a", "Cyrillic_em", "Cyrillic_EM"."""
    if letter.isascii():
        return letter
    words = unicodedata.name(letter).split()  # CYRILLIC SMALL LETTER EM
    return "%s_%s" % (words[0].capitalize(), words[-1].lower() if "SMALL" in words else words[-1])


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


def scenarios(suite, group):
    """(name, callable) of each scenario of a group."""
    sets = range(len(suite.facts.picture_sets))
    return {
        "window": [("start_look", suite.start_look),
                   ("click_before_first_game", suite.click_before_first_game),
                   ("menus_and_boxes", suite.menus_and_boxes)]
                  + [("exit_by_" + how, lambda how=how: suite.exit(how))
                     for how in ("menu_mnemonic", "menu_mouse", "title_bar_close")]
                  + ([("large_desktop_font", suite.large_desktop_font)]
                     if suite.program.name == "qt" else []),
        "games": [("game_" + suite.facts.picture_sets[s]["folder"],
                   lambda s=s: suite.whole_game(s)) for s in sets],
        "hidpi": [("game_at_scale_2", lambda: suite.whole_game(0, scale=2))],
        "rapid": [("rapid_clicks", suite.rapid_clicks)],
        "missing_picture": [("missing_picture", suite.missing_picture)],
    }[group]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--boot-wine-prefix")
    parser.add_argument("program", nargs="?", choices=("qt", "wine"))
    parser.add_argument("exe", nargs="?")
    parser.add_argument("group", nargs="?", choices=("window", "games", "hidpi", "rapid", "missing_picture"))
    parser.add_argument("--facts")
    parser.add_argument("--solutions")
    parser.add_argument("--assets")
    parser.add_argument("--shots")
    parser.add_argument("--wine-prefix")
    args = parser.parse_args()
    if args.boot_wine_prefix:
        WineProgram.make_prefix(args.boot_wine_prefix)
        return 0

    facts = Facts(args.facts, args.solutions)
    os.makedirs(args.shots, exist_ok=True)
    program = (QtProgram(args.exe) if args.program == "qt"
               else WineProgram(os.path.abspath(args.exe), args.wine_prefix))
    passed = failed = 0
    try:
        with XSession() as x:
            suite = Suite(x, program, facts, args.assets, args.shots)
            for name, run in scenarios(suite, args.group):
                started = time.monotonic()
                try:
                    run()
                    passed += 1
                    print("ok   %s (%.1f s)" % (name, time.monotonic() - started))
                except Exception:  # report, clean up, go on with the next scenario
                    failed += 1
                    print("FAIL %s (%.1f s)" % (name, time.monotonic() - started))
                    traceback.print_exc(file=sys.stdout)
                    suite.shot("failed-" + name)
                    print("the screen: %s-failed-%s.ppm in %s" % (program.name, name, args.shots))
                    if program.name == "wine":
                        print("wine output:\n" + program.log_text())
                finally:
                    suite.end_games()
    finally:
        if program.name == "wine":
            program.close()
    print("e2e %s %s: %d passed, %d failed" % (args.program, args.group, passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
