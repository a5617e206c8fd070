"""The X programs under the end-to-end tests: the Qt build and tarpo.exe under
Wine, each in an X session with a window manager (Xvfb + openbox), driven by
real X input through xdotool and seen on screenshots of the whole screen.

Usage: xprograms.py WINE_PREFIX boots the Wine prefix that the tests copy."""

import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import unicodedata

from game import ClientView, Game, check, device, mnemonic, same_twice, wait_for
from xsession import CLICK, SCREEN, XSession


def map_mnemonic_letters(x, facts, letter_keys):
    """Mnemonic letters that the keyboard map lacks get spare keys for the
    whole session: xdotool would map them only for the moment of the key
    press, too briefly for a program that reads the map late (Wine).
    `letter_keys` gets what xdotool presses for each letter."""
    letters = [mnemonic(c).lower() for c in facts.menu_captions + [facts.exit_caption]]
    spare = [code for code, syms in key_map(x).items() if not syms]
    for letter, code in zip([c for c in letters if not c.isascii()], spare):
        x.run(["xmodmap", "-e", "keycode %s = %s %s" % (code, keysym(letter), keysym(letter.upper()))])
    letter_keys.update((letter, keysym(letter)) for letter in letters)


def key_map(x):
    """The key codes of the keyboard map and the keysyms of each."""
    lines = x.run(["xmodmap", "-pke"]).decode().splitlines()
    return {code.split()[1]: syms.split() for code, _, syms in (line.partition("=") for line in lines)}


def keysym(letter):
    """The X keysym name of a letter: "a", "Cyrillic_em", "Cyrillic_EM"."""
    if letter.isascii():
        return letter
    words = unicodedata.name(letter).split()  # CYRILLIC SMALL LETTER EM
    return "%s_%s" % (words[0].capitalize(), words[-1].lower() if "SMALL" in words else words[-1])


class XProgram:
    """What a kind of X program does unless it says otherwise: it shows at
    the scale asked for, needs nothing done when its games end or at the
    end, and keeps no log."""
    features = frozenset()
    # Qt lays out the whole window, the menu bar included, in logical pixels;
    # Wine's menu bar has a size in device pixels of its own.
    logical_menu_bar = False

    def scale(self, asked):
        return asked

    def stop(self, x):
        pass

    def close(self):
        pass

    def log_text(self):
        return ""


class QtProgram(XProgram):
    name = "qt"
    features = frozenset({"title_bar", "small_screen", "desktop_font", "keyboard_layout",
                          "board_keys", "accessibility", "focus_ring", "wayland", "no_display",
                          "rapid"})
    logical_menu_bar = True

    def __init__(self, exe):
        self.exe = exe

    def start(self, x, scale, env=None):
        return x.start([self.exe], extra_env=dict(env or {}, **(
            {"QT_SCALE_FACTOR": str(scale)} if scale != 1 else {})))

    def reader(self, x, proc, bus):
        return bus.reader(proc.pid)


# Where Windows keeps the desktop's settings: dpi, focus border.
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"


class WineProgram(XProgram):
    """tarpo.exe in a Wine prefix of its own: a copy of a prefix booted once
    (make_prefix) for the whole suite, thrown away at the end; `probe`: the
    MSAA probe that reads the window as a screen reader does (msaa.py)."""
    name = "wine"
    features = frozenset({"title_bar", "small_screen", "missing_picture", "keyboard_layout",
                          "board_keys", "accessibility", "focus_ring", "rapid", "focus_border",
                          "screen_reader"})
    ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}

    def __init__(self, exe, booted_prefix, probe=None):
        self.exe, self.probe = exe, probe
        self.folder = tempfile.TemporaryDirectory(prefix="tarpo-wine-")
        self.prefix = os.path.join(self.folder.name, "prefix")
        subprocess.run(["cp", "-a", booted_prefix, self.prefix], check=True)
        self.env = dict(self.ENV, WINEPREFIX=self.prefix)
        self.log = open(os.path.join(self.folder.name, "wine.log"), "wb")
        self.dpi, self.server_up = None, False

    @classmethod
    def make_prefix(cls, prefix):
        shutil.rmtree(prefix, ignore_errors=True)
        env = dict(os.environ, WINEPREFIX=prefix, **cls.ENV)
        env.pop("DISPLAY", None)
        boot = subprocess.run(["wineboot", "-i"], env=env, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, timeout=300)
        subprocess.run(["wineserver", "-w"], env=env, timeout=120)
        check(boot.returncode == 0, "wineboot -i failed:\n" + boot.stdout.decode(errors="replace"))

    def wine(self, x, argv, **popen):
        if not self.server_up:
            # The server and Wine's own services stay up from one program to
            # the next, as on a desktop where Wine already runs.
            subprocess.run(["wineserver", "-p"], env=dict(os.environ, **self.env), check=True, timeout=60)
            self.server_up = True
        return x.start(["wine", *argv], extra_env=self.env,
                       **dict({"stdout": self.log, "stderr": self.log}, **popen))

    def scale(self, asked):
        """The scale at the nearest whole dpi, which LogPixels takes."""
        dpi = device(96, asked)
        return dpi // 96 if dpi % 96 == 0 else dpi / 96

    def start(self, x, scale):
        dpi = device(96, scale)
        if dpi != self.dpi:
            self.desktop_value(x, "LogPixels", dpi)
            self.dpi = dpi
        return self.wine(x, [self.exe])

    def desktop_value(self, x, name, value=None):
        """Sets the desktop setting `name` in the prefix's registry, or
        deletes it where `value` is None."""
        command = ["add", DESKTOP_KEY, "/v", name, "/t", "REG_DWORD", "/d", str(value)] \
            if value is not None else ["delete", DESKTOP_KEY, "/v", name]
        status = self.wine(x, ["reg", *command, "/f"]).wait(60)
        check(status == 0, "wine reg %s %s failed (%d)" % (command[0], name, status))

    @contextlib.contextmanager
    def focus_border(self, x, width, height):
        """The system's focus border `width` by `height` pixels for the
        programs started meanwhile."""
        values = {"FocusBorderWidth": width, "FocusBorderHeight": height}
        try:
            for name, value in values.items():
                self.desktop_value(x, name, value)
            yield
        finally:
            for name in values:
                self.desktop_value(x, name)

    def reader(self, x, proc, bus):
        from msaa import MsaaReader
        return MsaaReader(lambda **popen: self.wine(x, [self.probe], **popen))

    def close(self):
        subprocess.run(["wineserver", "-k"], env=dict(os.environ, **self.env), timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.log.close()
        self.folder.cleanup()

    def log_text(self):
        self.log.flush()
        with open(self.log.name, "rb") as f:
            return "wine output:\n" + f.read().decode(errors="replace")

    def check_missing_picture(self, desktop, folder, piece):
        """tarpo.exe with the piece's bitmap resource renamed: start-up stops
        with a box titled with the program's name, the game's window never
        shows, and the status is 1."""
        wide = ("%s/%s" % (folder, piece)).upper().encode("utf-16-le")
        with open(self.exe, "rb") as exe:
            data = exe.read()
        check(data.count(wide) == 1, "%r is not a resource name of %s" % (wide, self.exe))
        broken = os.path.join(self.folder.name, "broken.exe")
        with open(broken, "wb") as out:  # the same length, so the file stays valid
            out.write(data.replace(wide, wide[:-2] + b"X\0"))
        x = desktop.x
        proc = self.wine(x, [broken])
        x.find_window(os.path.splitext(os.path.basename(self.exe))[0], timeout=60)
        desktop.save_screen("missing-picture")
        check(not x.visible(desktop.facts.title), "the game's window shows without a picture")
        x.key("Return")
        status = proc.wait(30)
        check(status == 1, "exit status %d, not 1" % status)


class XDesktop:
    """The suite's side of an X program: the X session, the games started in
    it, and screenshots of the whole screen saved as PPM; with
    `accessibility`, an AT-SPI bus for the Qt build; `x`: a session of the
    caller's instead of one of its own."""
    # 104 %: edges rounded one by one leave seams; 125 %: frames too thin
    # where rounded widths do not add up.
    hidpi_scales = (2, 1.04, 1.25)

    def __init__(self, program, facts, shots, screen=SCREEN, accessibility=False, x=None):
        self.program, self.facts, self.shots = program, facts, shots
        self.name, self.features = program.name, program.features
        self.games, self.bus = [], None
        self.letter_keys = {}  # what xdotool presses for each mnemonic letter
        with contextlib.ExitStack() as undo:
            undo.callback(self.program.close)
            self.x = x or undo.enter_context(XSession(screen))
            map_mnemonic_letters(self.x, self.facts, self.letter_keys)
            if accessibility:
                from atspi import AccessibilityBus
                self.bus = AccessibilityBus(self.x)
                self.x.env.update(self.bus.env)
            self.end = undo.pop_all().close

    @contextlib.contextmanager
    def keyboard_layout(self, layout):
        """The X keyboard layout set to `layout` for a while. A letter that the
        layout has is typed by its keysym; every other mnemonic letter by the
        key code of the key that types it on the Latin layout."""
        def codes():
            return {syms[0]: code for code, syms in key_map(self.x).items() if syms}
        latin = codes()
        self.x.run(["setxkbmap", layout])
        try:
            there = codes()
            for letter in self.letter_keys:
                name = keysym(letter)
                self.letter_keys[letter] = name if name in there else latin[name]
            yield
        finally:
            self.x.run(["setxkbmap", "us"])
            map_mnemonic_letters(self.x, self.facts, self.letter_keys)

    def start(self, scale=1, env=None, asked=None):
        self.games.append(XGame(self, scale, env, asked))
        return self.games[-1]

    def save_screen(self, name):
        self.x.screenshot(self.shot_path(name))

    def shot_path(self, name):
        return os.path.join(self.shots, "%s-%s.ppm" % (self.name, name))

    def end_games(self):
        for game in self.games:
            game.end()
        self.games = []
        self.program.stop(self.x)

    def problems(self):
        return []

    def log_text(self):
        return self.program.log_text()

    def check_missing_picture(self, folder, piece):
        self.program.check_missing_picture(self, folder, piece)


class XGame(Game):
    """One run of an X program and its window on the screen, started at
    display scale `asked` (by default `scale`), where its window must show
    at `scale`."""

    def __init__(self, desktop, scale=1, env=None, asked=None):
        self.x, self.program, self.facts = desktop.x, desktop.program, desktop.facts
        self.shot_path, self.bus, self.letter_keys = desktop.shot_path, desktop.bus, desktop.letter_keys
        self.reader = self.entries = None
        self.scale = self.program.scale(scale)
        asked = self.program.scale(asked) if asked else self.scale
        self.proc = self.program.start(self.x, asked, *([env] if env else []))
        try:
            self.window = self.x.find_window(self.facts.title, timeout=60, proc=self.proc)
            self.wait_active()
            self.settle()
        except BaseException:
            self.end()
            raise

    def settle(self):
        """Waits until the window has the same place, size and look on two
        screenshots a moment apart, and returns that look."""
        def look():
            left, top, width, height = self.x.geometry(self.window)
            self.size = (width, height)
            self.menu_height = height - device(self.facts.client_size[1], self.scale)
            self.left, self.top = left, top + self.menu_height
            # Where the form's edges are measured from, and how far above the
            # form that lies in form pixels.
            self.above = (round(height / self.scale) - self.facts.client_size[1]
                          if self.program.logical_menu_bar else 0)
            self.edges_top = self.top if self.above == 0 else top
            return self.size, self.x.screenshot().region(left, top, width, height)

        return wait_for(lambda: same_twice(look), 30, "the window keeps changing")[1]

    def whole_look(self):
        """The size and the pixels of the whole window, menu bar included."""
        return self.size, self.settle()

    def wait_active(self):
        """Keys go to the window once the window manager has made it active."""
        wait_for(lambda: self.x.run(["xdotool", "getactivewindow"], check=False).strip()
                 == str(self.window).encode(), 30, "the window is not active")

    def end(self):
        if self.reader is not None:
            self.reader.close()
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()

    def redrawn_board(self, pictures, shown):
        self.x.run(["xrefresh"])  # every window exposed, and so drawn again

        def changed():
            board = self.look().board(pictures)
            return board != shown and board
        try:
            redrawn = wait_for(changed, 5, "")
        except AssertionError:
            return ""
        return "; drawn afresh it shows %r" % (redrawn,)

    def running(self):
        return self.proc.poll() is None

    def exit_status(self):
        return self.proc.wait(30)

    def close_window(self):
        self.x.run(["wmctrl", "-i", "-c", str(self.window)])

    def view(self, shot):
        return ClientView(shot, (self.left, self.edges_top), self.scale, self.facts, self.above)

    def click(self, x, y):
        self.x.click(*self.view(None).at(x, y))

    def clicks(self, points, fast=False):
        """One after the other; `fast`: without waiting for the pointer to
        get to each point."""
        move = ["mousemove"] if fast else ["mousemove", "--sync"]
        self.x.run(["xdotool"] + [word for point in points for word in
                                  move + list(map(str, self.view(None).at(*point))) + CLICK])

    def key(self, *names):
        self.x.key(*names)

    def mnemonic(self, caption, menu_bar=True):
        """What xdotool presses to type the mnemonic letter of a caption."""
        self.x.key(("alt+" if menu_bar else "") + self.letter_keys[mnemonic(caption).lower()])

    def look(self, save_as=None):
        return self.view(self.x.screenshot(save_as and self.shot_path(save_as)))

    def accessible_nodes(self):
        if self.reader is None:
            self.reader = self.program.reader(self.x, self.proc, self.bus)
        ox, oy = self.view(None).at(0, 0)
        s = self.scale
        return [(role, name, showing, focused, ((x - ox) / s, (y - oy) / s, w / s, h / s))
                for role, name, showing, focused, (x, y, w, h) in self.reader.nodes()]

    def client_pixels(self):
        return self.size[0], self.size[1] - self.menu_height

    def check_fixed_size(self):
        """Size hints with minimum = maximum, Motif hints without minimise and
        maximise, and a window manager that keeps to them."""
        f, window = self.facts, str(self.window)
        check(self.size == (f.client_size[0], f.client_size[1] + self.menu_height)
              and 15 <= self.menu_height <= 30, "window size %r" % (self.size,))
        hints = self.x.run(["xprop", "-id", window]).decode()
        for bound in ("minimum", "maximum"):
            check("program specified %s size: %d by %d" % (bound, *self.size) in hints,
                  "the window is not fixed in size:\n" + hints)
        motif = [line for line in hints.splitlines() if line.startswith("_MOTIF_WM_HINTS")]
        check(motif, "no Motif hints:\n" + hints)
        functions, decorations = (int(v, 16) for v in motif[0].split("=")[1].split(",")[1:3])
        # Motif bits: 0x01 all, 0x08 minimise, 0x10 maximise (functions);
        # 0x01 all, 0x20 minimise, 0x40 maximise (decorations).
        check(not functions & 0x19 and not decorations & 0x61,
              "the window offers or decorates minimise/maximise: " + motif[0])
        # The window manager takes the hints: it offers neither resize nor
        # maximise (openbox keeps minimise on principle), and a maximise
        # request changes nothing. The window manager handles requests in
        # order: once a later one shows, it has handled the maximise.
        actions = self.x.run(["xprop", "-id", window, "_NET_WM_ALLOWED_ACTIONS"]).decode()
        check("_NET_WM_ACTION_RESIZE" not in actions and "MAXIMIZE" not in actions, actions)
        self.x.run(["wmctrl", "-i", "-r", window, "-b", "add,maximized_vert,maximized_horz"])
        self.x.run(["wmctrl", "-i", "-r", window, "-b", "add,above"])
        wait_for(lambda: b"_NET_WM_STATE_ABOVE" in self.x.run(["xprop", "-id", window, "_NET_WM_STATE"]),
                 10, "the window manager did not handle the requests")
        self.x.run(["wmctrl", "-i", "-r", window, "-b", "remove,above"])
        check(self.x.geometry(self.window)[2:] == self.size, "maximise changed the window size")

    def click_menu(self, i):
        self.x.click(*self.menu_entries()[i])

    def click_drop_down(self):
        """The drop-down's one entry, under the first menu-bar entry."""
        self.x.click(self.menu_entries()[0][0], self.view(None).at(0, 10)[1])

    def menu_entries(self):
        """The centres of the menu-bar entries, found on the screen once:
        runs of columns with text in the menu bar, split where the gap is
        wider than a blank."""
        top, middle = self.top - self.menu_height, self.top - self.menu_height // 2
        columns, seen = range(self.left, self.left + self.size[0]), []

        def found():
            shot = self.x.screenshot()
            bg = shot.pixel(columns[-2], middle)
            runs = []
            for x in columns:
                if any(shot.pixel(x, y) != bg for y in range(top + 2, self.top - 2)):
                    if runs and x - runs[-1][1] <= 6 * self.scale:
                        runs[-1][1] = x
                    else:
                        runs.append([x, x])
            seen[:] = [((a + b) // 2, middle) for a, b in runs]
            return len(seen) == len(self.facts.menu_captions) and list(seen)
        if self.entries is None:
            try:
                self.entries = wait_for(found, 10, "")
            except AssertionError:
                raise AssertionError("menu-bar entries found at %r" % seen) from None
        return self.entries

    def wait_box(self, title, text, timeout=10):
        self.x.find_window(title, timeout=timeout)

    def wait_box_gone(self, title):
        self.x.window_gone(title)
        self.wait_active()

    def box_size(self, title):
        """The size of the box once it is drawn in full and no longer changes."""
        box = self.x.find_window(title)

        def drawn():
            left, top, width, height = self.x.geometry(box)
            return (width, height), self.x.screenshot().region(left, top, width, height)
        return wait_for(lambda: same_twice(drawn), 10, "the box keeps changing")[0]

    def check_on_screen(self):
        """The window, its frame included, lies on the screen."""
        left, top, width, height = self.x.geometry(self.window)
        extents = self.x.run(["xprop", "-id", str(self.window), "_NET_FRAME_EXTENTS"]).decode()
        sides = [int(v) for v in extents.split("=")[1].split(",")]  # left, right, top, bottom
        check(left - sides[0] >= 0 and top - sides[2] >= 0
              and left + width + sides[1] <= self.x.screen[0]
              and top + height + sides[3] <= self.x.screen[1],
              "the window %r with its frame %r is cut off by the %dx%d screen"
              % ((left, top, width, height), sides, *self.x.screen))


if __name__ == "__main__":
    WineProgram.make_prefix(sys.argv[1])
