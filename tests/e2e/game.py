"""The game as the end-to-end suite sees it: the program under test (the Qt
build, or tarpo.exe under Wine), its window on the screen, where its cells
and controls are, and the pictures they must show.

Every fact comes from the build: form.json (the form description) and
solutions.json (the clicks that solve each start layout); the pictures are
read from the asset files."""

import json
import os
import shutil
import struct
import subprocess
import tempfile
import time


def check(condition, message):
    if not condition:
        raise AssertionError(message)


class Facts:
    def __init__(self, form_json, solutions_json):
        with open(form_json, encoding="utf-8") as f:
            self.__dict__.update(json.load(f))
        with open(solutions_json, encoding="utf-8") as f:
            self.solutions = json.load(f)
        self.side = self.board_side
        self.cells = self.side * self.side
        self.framed_side = self.piece_side + 2 * self.frame_width

    def cell_origin(self, i):
        return (self.board_origin[0] + self.cell_pitch * (i % self.side),
                self.board_origin[1] + self.cell_pitch * (i // self.side))

    def home(self):
        return list(range(1, self.cells)) + [0]


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
    """The pieces of one set as the screen must show them at a scale."""

    # A framed cell shows its piece 2 px in; the piece's last columns and rows
    # lie under the neighbours' frames, so tiles are told apart by this square
    # from the piece's top-left corner.
    INNER = 76

    def __init__(self, facts, assets, index, scale):
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
        self.whole = b"".join(scaled(whole, scale))


class QtProgram:
    name = "qt"

    def __init__(self, exe):
        self.exe = exe

    def start(self, x, scale, env=None):
        extra = dict(env or {}, **({"QT_SCALE_FACTOR": str(scale)} if scale != 1 else {}))
        return x.start([self.exe], extra_env=extra)

    def stop(self, x):
        pass


class WineProgram:
    """tarpo.exe in a Wine prefix of its own: a copy of a prefix booted once
    (make_prefix) for the whole suite, thrown away at the end."""
    name = "wine"
    ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}

    def __init__(self, exe, booted_prefix):
        self.exe = exe
        self.folder = tempfile.TemporaryDirectory(prefix="tarpo-wine-")
        self.prefix = os.path.join(self.folder.name, "prefix")
        subprocess.run(["cp", "-a", booted_prefix, self.prefix], check=True)
        self.env = dict(self.ENV, WINEPREFIX=self.prefix)
        self.log = open(os.path.join(self.folder.name, "wine.log"), "wb")
        self.dpi = 96  # what a fresh prefix has

    @classmethod
    def make_prefix(cls, prefix):
        shutil.rmtree(prefix, ignore_errors=True)
        env = dict(os.environ, WINEPREFIX=prefix, **cls.ENV)
        env.pop("DISPLAY", None)
        boot = subprocess.run(["wineboot", "-i"], env=env, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, timeout=300)
        subprocess.run(["wineserver", "-w"], env=env, timeout=120)
        if boot.returncode != 0:
            raise AssertionError("wineboot -i failed:\n" + boot.stdout.decode(errors="replace"))

    def wine(self, x, argv, **kwargs):
        return x.start(["wine", *argv], extra_env=self.env, stdout=self.log, stderr=self.log,
                       **kwargs)

    def start(self, x, scale):
        dpi = 96 * scale  # LogPixels
        if dpi != self.dpi:
            status = self.wine(x, ["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                                   "/t", "REG_DWORD", "/d", str(dpi), "/f"]).wait(60)
            check(status == 0, "wine reg add LogPixels failed (%d)" % status)
            self.dpi = dpi
        return self.wine(x, [self.exe])

    def stop(self, x):
        subprocess.run(["wineserver", "-k"], env=dict(x.env, **self.env), timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        self.log.close()
        self.folder.cleanup()

    def log_text(self):
        self.log.flush()
        with open(self.log.name, "rb") as f:
            return f.read().decode(errors="replace")


class Game:
    """One run of the program and its window on the screen."""

    def __init__(self, x, program, facts, scale=1, env=None):
        self.x, self.program, self.facts, self.scale = x, program, facts, scale
        self.proc = program.start(x, scale) if env is None else program.start(x, scale, env)
        try:
            self.window = x.find_window(facts.title, timeout=60)
        except AssertionError:
            self.end()
            raise
        self.wait_active()
        self.settle()

    def settle(self):
        """Waits until the window has the same place, size and look on two
        screenshots a moment apart, and returns that look."""
        def look():
            left, top, width, height = self.x.geometry(self.window)
            self.size = (width, height)
            self.menu_height = height - self.facts.client_size[1] * self.scale
            self.left, self.top = left, top + self.menu_height
            return self.size, self.x.screenshot().region(left, top, width, height)

        def same():
            first = look()
            time.sleep(0.2)
            return first[1] if look() == first else None
        return self.x.wait_for(same, 30, "the window keeps changing")

    def wait_active(self):
        """Keys go to the window once the window manager has made it active."""
        self.x.wait_for(lambda: self.x.run(["xdotool", "getactivewindow"], check=False).strip()
                        == str(self.window).encode(), 30, "the window is not active")

    def end(self):
        """Ends the program if it still runs."""
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()

    def exit_status(self):
        return self.proc.wait(30)

    # Positions, in the window's own unscaled pixels.
    def at(self, x, y):
        return self.left + x * self.scale, self.top + y * self.scale

    def click(self, x, y):
        self.x.click(*self.at(x, y))

    def cell_point(self, i, strip=False):
        """The centre of a framed cell, or a point of its top-left frame,
        where its box overlaps the boxes of the lower-numbered neighbours."""
        ox, oy = self.facts.cell_origin(i)
        offset = 1 if strip else self.facts.framed_side // 2
        return ox + offset, oy + offset

    def click_cells(self, cells, strips=False):
        """Clicks the cells in order, every second one in its overlap strip."""
        command = ["xdotool"]
        for n, cell in enumerate(cells):
            px, py = self.at(*self.cell_point(cell, strips and n % 2 == 1))
            command += ["mousemove", "--sync", str(px), str(py), "click", "1"]
        self.x.run(command)

    def press_button(self):
        left, top, width, height = self.facts.command1_rect
        self.click(left + width // 2, top + height // 2)

    def background(self, shot):
        """The window background: a client pixel that no control covers."""
        width, height = self.facts.client_size
        return shot.pixel(*self.at(width - 3, height - 3))

    def region(self, shot, left, top, width, height):
        return shot.region(*self.at(left, top), width * self.scale, height * self.scale)

    def is_blank(self, shot, left, top, width, height):
        return self.region(shot, left, top, width, height) == \
            bytes(self.background(shot)) * (width * height * self.scale ** 2)

    def board(self, shot, pictures):
        """The tile each cell shows (0 for an empty cell), or None if a cell
        shows anything else."""
        tiles = []
        n = PictureSet.INNER
        fw = self.facts.frame_width
        for i in range(self.facts.cells):
            ox, oy = self.facts.cell_origin(i)
            region = self.region(shot, ox + fw, oy + fw, n, n)
            if region in pictures.tile_of_inner:
                tiles.append(pictures.tile_of_inner[region])
            elif self.is_blank(shot, ox + fw, oy + fw, n, n):
                tiles.append(0)
            else:
                return None
        return tiles

    def framed(self, shot, i):
        """Whether cell i shows a 2-px frame on its left and top edges."""
        ox, oy = self.facts.cell_origin(i)
        bg = self.background(shot)
        mid = self.facts.framed_side // 2
        fw = self.facts.frame_width
        return all(shot.pixel(*self.at(ox + d, oy + mid)) != bg and
                   shot.pixel(*self.at(ox + mid, oy + d)) != bg for d in range(fw))

    def menu_entries(self):
        """The centres of the menu-bar entries, found on the screen."""
        entries = []

        def found():
            entries[:] = self.menu_entries_on(self.x.screenshot())
            return len(entries) == len(self.facts.menu_captions)
        try:
            self.x.wait_for(found, 10, "")
        except AssertionError:
            raise AssertionError("menu-bar entries found at %r" % entries) from None
        return entries

    def menu_entries_on(self, shot):
        """Runs of columns with text in the menu bar, split where the gap is
        wider than a blank."""
        top = self.top - self.menu_height
        rows = range(top + 2, self.top - 2)
        bg = shot.pixel(self.left + self.size[0] - 2, top + self.menu_height // 2)
        inked = [x for x in range(self.left, self.left + self.size[0])
                 if any(shot.pixel(x, y) != bg for y in rows)]
        runs = []
        for x in inked:
            if runs and x - runs[-1][1] <= 6 * self.scale:
                runs[-1][1] = x
            else:
                runs.append([x, x])
        return [((a + b) // 2, top + self.menu_height // 2) for a, b in runs]

    def open_menu(self, keys=None):
        """Opens the first menu-bar entry's drop-down, by keys or by the
        mouse, and waits until it shows over the board."""
        shot = self.x.screenshot()
        below = (self.left, self.top, self.size[0] // 2, 20 * self.scale)
        entry = self.menu_entries()[0]
        if keys:
            self.x.key(keys)
        else:
            self.x.click(*entry)
        self.x.wait_for(lambda: self.x.screenshot().region(*below) != shot.region(*below), 30,
                        "the drop-down did not open")
        return entry

    def wait_board(self, pictures, wanted, message, timeout=30):
        """Waits until the board on the screen satisfies wanted(tiles)."""
        def ready():
            shot = self.x.screenshot()
            tiles = self.board(shot, pictures)
            return (tiles, shot) if tiles is not None and wanted(tiles) else None
        try:
            return self.x.wait_for(ready, timeout, message)
        except AssertionError:
            raise AssertionError("%s; the board shows %r" % (
                message, self.board(self.x.screenshot(), pictures))) from None
