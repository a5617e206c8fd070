"""The Qt build outside an X session with a window manager: as a native
Wayland client, and started without a usable display."""

import os
import socket
import subprocess
import tempfile

import pytest

from game import same_twice
from xsession import XSession

SOCKET = "tarpo-test"
NO_WAYLAND = "wayland: Failed to create wl_display"
# Qt's Wayland title bar: 30 px high, 3-px sides; its maximise button is the
# 18-px square centred 40 px in from the right edge and 15 px down.
TITLE_BAR, SIDE = 30, 3
MAXIMISE_FROM_RIGHT, MAXIMISE_DOWN = 40, 15
# Weston's own bindings, which maximise or fill the screen without asking the
# client first.
MAXIMISE_KEYS, FULL_SCREEN_KEYS = "super+shift+m", "super+shift+f"


def capture(x, title):
    """The rows of RGB bytes of a window's own area under X, once drawn: the
    same on two screenshots a moment apart."""
    window = x.find_window(title)

    def rows():
        left, top, width, height = x.geometry(window)
        shot = x.screenshot()
        return [shot.region(left, top + row, width, 1) for row in range(height)]
    return x.wait_for(lambda: same_twice(rows), 10, "%r keeps changing" % title)


def locate(shot, rows):
    """Top-left screen position where `rows` show, or None."""
    # Search by the most varied row, then compare the whole.
    key = max(range(len(rows)),
              key=lambda r: len({rows[r][i:i + 3] for i in range(0, len(rows[r]), 3)}))
    width = len(rows[0]) // 3
    for y in range(key, shot.height - len(rows) + key + 1):
        line = shot.region(0, y, shot.width, 1)
        at = line.find(rows[key])
        while at >= 0:
            if at % 3 == 0:
                left, top = at // 3, y - key
                if all(shot.region(left, top + r, width, 1) == rows[r] for r in range(len(rows))):
                    return left, top
            at = line.find(rows[key], at + 1)
    return None


class Weston:
    def __init__(self, x):
        self.x = x
        x.start(["weston", "--backend=x11-backend.so", "--no-config", "--idle-time=0",
                 "--socket=" + SOCKET, "--width=1000", "--height=700"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        path = os.path.join(x.runtime_dir.name, SOCKET)
        x.wait_for(lambda: os.path.exists(path), 20, "Weston did not start")
        search = ["xdotool", "search", "--class", "Weston"]
        window = x.wait_for(lambda: x.run(search, check=False).split(), 10, "no Weston window")[0]
        left, top, width, _ = x.geometry(int(window))
        self.rest = (left + width // 2, top + 16)  # on Weston's panel, clear of any window

    def click(self, at):
        # Weston's X back end tracks the pointer by motion deltas; entering its
        # window afresh tells it the absolute position.
        self.x.run(["xdotool", "mousemove", "--sync", "1023", "767"])
        self.x.run(["xdotool", "mousemove", "--sync", str(at[0]), str(at[1]), "sleep", "0.1",
                    "click", "1", "sleep", "0.3"])
        self.park()

    def park(self):
        """Weston draws the pointer into its picture: keep it off the windows."""
        self.x.run(["xdotool", "mousemove", "--sync", "1023", "767"])
        self.x.run(["xdotool", "mousemove", "--sync", str(self.rest[0]), str(self.rest[1])])


@pytest.mark.wayland
def test_wayland(exe, facts, shots):
    """The program as a native Wayland client of Weston, which runs as an X
    window inside the test's Xvfb, so that real X input reaches it. Qt draws
    the title bars itself there, maximise button included: clicking it on
    the main window and on the help box, and Weston's own maximise and
    full-screen keys, must leave the program running at its fixed size, the
    board as it was; then a new game and a slide work as usual. The
    start-up look is the one the program shows on X, pixel for pixel: it is
    taken from a run under the test's X window manager first."""
    client_w, client_h = facts.client_size
    bx, by, bw, bh = facts.new_game_button_rect

    def cell_centre(client, i):
        ox, oy = facts.cell_origin(i)
        return client[0] + ox + facts.cell_pitch // 2, client[1] + oy + facts.cell_pitch // 2

    with XSession() as x:
        try:
            # The look under X: the window's client area and the help box.
            on_x = x.start([exe])
            window_rows = capture(x, facts.title)
            menu_height = len(window_rows) - client_h
            start_look = window_rows[menu_height:]
            x.key("alt+h")
            box_rows = capture(x, facts.help_title)
            on_x.terminate()
            on_x.wait(10)

            weston = Weston(x)
            env = {k: v for k, v in x.env.items() if k != "DISPLAY"}
            env.update(QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY=SOCKET)
            game = subprocess.Popen([exe], env=env, stderr=subprocess.PIPE)
            x.procs.append(game)
            weston.park()

            def client_at():
                return locate(x.screenshot(), start_look)
            client = x.wait_for(client_at, 20, "the start-up look did not show on Weston")
            x.screenshot(os.path.join(shots, "wayland-1-start.ppm"))

            def maximise(left, top, width):
                """Clicks the maximise button of the surface at (left, top), if drawn."""
                button = (left + width - MAXIMISE_FROM_RIGHT, top + MAXIMISE_DOWN)
                shot = x.screenshot()
                background = shot.pixel(left + width // 2, top + 2)
                if all(shot.pixel(button[0] + dx, button[1] + dy) == background
                       for dx in range(-8, 9) for dy in range(-8, 9)):
                    print("no maximise button drawn at %r" % (button,))
                    return
                weston.click(button)
                still_running("maximise")

            def back_at_fixed_size(find, width, height, what):
                """Waits for the look at its place, with the desktop showing just
                right of and below the frame, and returns its position."""
                def found():
                    still_running(what)
                    at = find()
                    if not at:
                        return None
                    shot = x.screenshot()
                    fill = shot.pixel(at[0] + 2, at[1] + height - 2)
                    outside = [(at[0] + width + SIDE + 1, at[1] + height // 2),
                               (at[0] + width // 2, at[1] + height + SIDE + 1)]
                    return at if all(shot.pixel(*p) != fill for p in outside) else None
                return x.wait_for(found, 10, what + " is not back at its fixed size")

            def still_running(after):
                if game.poll() is not None:
                    raise AssertionError("the program ended after %s: %s" % (
                        after, game.stderr.read().decode(errors="replace")))

            # The main window's maximise button, then Weston's own maximise and
            # full-screen: it stays as it was.
            surface_top = client[1] - menu_height - TITLE_BAR
            maximise(client[0] - SIDE, surface_top, client_w + 2 * SIDE)
            client = x.wait_for(client_at, 10, "the window changed after maximise")
            x.screenshot(os.path.join(shots, "wayland-2-maximised.ppm"))
            for keys in (MAXIMISE_KEYS, FULL_SCREEN_KEYS):
                x.key(keys)
                still_running(keys + " on the window")
                client = back_at_fixed_size(client_at, client_w, client_h, "the window")
            x.screenshot(os.path.join(shots, "wayland-2-compositor-maximised.ppm"))

            # The help box's maximise button, then its OK button.
            weston.click((client[0] + 60, client[1] - menu_height // 2))  # "Heeeelp"
            box = x.wait_for(lambda: locate(x.screenshot(), box_rows), 10, "no help box on Weston")
            maximise(box[0] - SIDE, box[1] - TITLE_BAR, len(box_rows[0]) // 3 + 2 * SIDE)
            box = x.wait_for(lambda: locate(x.screenshot(), box_rows), 10,
                             "the help box changed after maximise")
            box_w, box_h = len(box_rows[0]) // 3, len(box_rows)
            x.key(MAXIMISE_KEYS)
            still_running(MAXIMISE_KEYS + " on the help box")
            box = back_at_fixed_size(lambda: locate(x.screenshot(), box_rows), box_w, box_h,
                                     "the help box")
            x.screenshot(os.path.join(shots, "wayland-3-box.ppm"))
            weston.click((box[0] + box_w - 45, box[1] + box_h - 20))  # OK
            client = x.wait_for(client_at, 10, "the board is not as it was after the box")

            # A new game, then the tile in cell 14 slides into the empty cell 15.
            weston.click((client[0] + bx + bw // 2, client[1] + by + bh // 2))
            background = x.screenshot().pixel(client[0] + client_w - 6, client[1] + client_h - 6)

            def empty_cells():
                shot = x.screenshot()
                return [i for i in range(16) if shot.pixel(*cell_centre(client, i)) == background]
            x.wait_for(lambda: empty_cells() == [15], 10, "no game dealt on Weston")
            weston.click(cell_centre(client, 14))
            x.wait_for(lambda: empty_cells() == [14], 10, "the tile did not slide on Weston")
            x.screenshot(os.path.join(shots, "wayland-4-slide.ppm"))
            assert game.poll() is None, "the program ended"
            game.terminate()
            game.wait(10)
        except BaseException:
            failed = os.path.join(shots, "wayland-failed.ppm")
            x.screenshot(failed)
            print("the screen at the failure: " + failed)
            raise


def free_display():
    """A display number that no X server serves: no socket, no lock file."""
    for number in range(99, 200):
        if not (os.path.exists("/tmp/.X11-unix/X%d" % number) or
                os.path.exists("/tmp/.X%d-lock" % number)):
            return ":%d" % number
    raise RuntimeError("no free display number")


# (what is wrong, the environment that says so, what the one line must say
# besides the opening; {display} a display no server serves)
NO_DISPLAY = {
    "DISPLAY unset": ({}, ["{opening}{no_x_display}"]),
    "DISPLAY unset, xcb asked for": ({"QT_QPA_PLATFORM": "xcb"}, ["{opening}{no_x_display}"]),
    "no server at the display": ({"DISPLAY": "{display}"}, ["{opening}{no_x_server}"]),
    "unknown platform plugin": ({"QT_QPA_PLATFORM": "nosuch"},
                                ['"nosuch"', "Available platform plugins are:", "xcb", "wayland"]),
    "Wayland without a compositor": ({"QT_QPA_PLATFORM": "wayland"},
                                     [NO_WAYLAND, "{no_wayland_display}"]),
    "dead WAYLAND_DISPLAY": ({"WAYLAND_DISPLAY": "wayland-dead"},
                             [NO_WAYLAND, '"wayland-dead"', "xcb: {no_x_display}"]),
}


@pytest.mark.no_display
@pytest.mark.parametrize("case", NO_DISPLAY, ids=lambda case: case.replace(" ", "_"))
def test_no_display(exe, facts, case, tmp_path):
    """Start-up without a usable window system: the program says what
    failed in one line on stderr and exits with status 1 -- no abort, no
    core dump, no screen of Qt plugin messages. A missing X display is named
    plainly; any other failure in Qt's own words."""
    errors = facts.errors
    display = free_display()
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE")}
    env["XDG_RUNTIME_DIR"] = str(tmp_path)  # no compositor listens here
    dead = socket.socket(socket.AF_UNIX)  # a socket whose compositor has gone
    dead.bind(str(tmp_path / "wayland-dead"))
    dead.close()
    opening = "%s: %s" % (errors["program_name"], errors["cannot_open_window"].replace("%1", ""))
    texts = dict(errors, display=display, opening=opening,
                 no_x_server=errors["no_x_server"].replace("%1", display))
    extra, says = NO_DISPLAY[case]
    env.update({k: v.format(**texts) for k, v in extra.items()})
    says = [part.format(**texts) for part in says]
    with tempfile.TemporaryDirectory() as cwd:
        result = subprocess.run([exe], env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
        leftovers = os.listdir(cwd)
    lines = result.stderr.decode(errors="replace").splitlines()
    assert result.returncode == 1, "exit status %d (negative: killed by a signal)" % result.returncode
    assert len(lines) == 1 and lines[0].startswith(opening) and all(p in lines[0] for p in says), \
        "stderr is not one line saying %r: %r" % (says, lines)
    assert not result.stdout and not leftovers, (result.stdout, leftovers)
