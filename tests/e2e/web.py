"""The web page under the end-to-end tests: the site served by the test
host (host.py), played with real mouse, keyboard and touch input in one of
three browser engines (web_driver.mjs, a Node process spoken to in JSON
lines): Debian's Chromium and Firefox ESR through puppeteer-core,
WebKitGTK's MiniBrowser through WebKitWebDriver in an X session of its own;
seen on screenshots of the page, and in Chromium read as assistive
technology reads it: its accessibility tree, axe-core."""

import base64
import contextlib
import glob
import json
import os
import subprocess
import tempfile

from game import LATIN_KEY, RUSSIAN_LETTER, ClientView, Game, Screenshot, check, mnemonic, wait_for
from host import Site
from xprograms import map_mnemonic_letters
from xsession import XSession

HERE = os.path.dirname(os.path.abspath(__file__))
WEB_SOURCES = os.path.join(HERE, os.pardir, os.pardir, "web")
DESKTOP = {"width": 1024, "height": 768}  # the X suite's screen
PHONE = {"width": 360, "height": 640}  # a phone held upright
WIDE = {"width": 1600, "height": 1000}
KEYS = {"space": "Space", "Up": "ArrowUp", "Down": "ArrowDown", "Left": "ArrowLeft",
        "Right": "ArrowRight", "ctrl+Home": "Control+Home", "ctrl+End": "Control+End",
        "Return": "Enter", "shift+Tab": "Shift+Tab"}
KEYS.update(("shift+" + key, "Shift+" + KEYS[key]) for key in ("Up", "Down", "Left", "Right"))
# Live regions: a screen reader says the text inside them.
LIVE_ROLES = {"status", "alert"}
SERVICE_WORKER_ACTIVE = "navigator.serviceWorker.getRegistration().then(r => !!(r && r.active))"


def notice(selector, value="e.textContent"):
    """A JavaScript expression: the text of a notice (or `value` of its
    element `e`) while it shows, else ''."""
    return ("(e => e && e.getClientRects().length && getComputedStyle(e).visibility !== 'hidden'"
            " ? %s : '')(document.querySelector(%s))" % (value, json.dumps(selector)))


def visible(selector):
    """A JavaScript expression: the element is there and shown."""
    return "!!" + notice(selector, "e")


WINDOW_SHOWN = visible("#form")
# The window shows and start-up is over: the worker is registered only once
# the pictures are in.
STARTED = "%s && %s" % (WINDOW_SHOWN, SERVICE_WORKER_ACTIVE)


def box(selector, index=0):
    """A JavaScript expression: the element's box in CSS pixels."""
    return ("(r => ({x: r.x, y: r.y, width: r.width, height: r.height}))"
            "(document.querySelectorAll(%s)[%d].getBoundingClientRect())"
            % (json.dumps(selector), index))


# Each engine: what web_driver.mjs calls it, what only some engines
# have (missing_picture: a picture file withheld; touch: a phone;
# install_prompt: the browser says whether it would offer to install the
# page; keyboard_layout: a Russian keyboard layout can be put on; focus_ring:
# the board's focused cell shows the form's ring, lines of one colour lined
# with another; screen_reader: the browser in an X session serves the page
# over AT-SPI, to Orca too;
# text_antialiasing_varies: WebKit may draw the controls' captions again after
# a modal box with other anti-aliasing, the same to the eye, so only the board
# is compared across the boxes), the device pixel ratios of its hidpi group,
# and whether it needs an X display. Firefox and WebKit set their ratio per
# browser process, so they play ratio 2 alone beside 1.
ENGINES = {
    "web-chromium": ("chromium", {"missing_picture", "touch", "offline", "install_prompt", "page",
                                  "keyboard_layout", "hosts", "deploy", "board_keys",
                                  "accessibility", "focus_ring", "audit", "rapid", "start_up",
                                  "screen_reader"},
                     (2, 1.25, 1.5, 1.75), False),
    "web-firefox": ("firefox", {"offline", "deploy", "board_keys", "start_up", "screen_reader"},
                    (2,), False),
    "web-webkit": ("webkit", {"offline", "deploy", "text_antialiasing_varies", "board_keys",
                              "start_up"}, (2,), True),
}
# Room for the widest viewport at ratio 2 with MiniBrowser's own bars.
WEBKIT_SCREEN = (2 * WIDE["width"] + 200, 2 * WIDE["height"] + 400)


class Driver:
    """The Node process that drives an engine's browser."""

    def __init__(self, engine="chromium", env=None, headed=False):
        self.log = tempfile.TemporaryFile()
        self.proc = subprocess.Popen(["node", os.path.join(HERE, "web_driver.mjs"), engine]
                                     + ["headed"] * headed,
                                     cwd=HERE, env=env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=self.log)

    def __call__(self, op, **args):
        self.proc.stdin.write((json.dumps(dict(args, op=op)) + "\n").encode())
        self.proc.stdin.flush()
        line = self.proc.stdout.readline()
        if not line:
            raise RuntimeError("the browser driver ended:\n" + self.log_text())
        answer = json.loads(line)
        if "error" in answer:
            raise AssertionError("%s: %s" % (op, answer["error"]))
        return answer["value"]

    def close(self):
        self.proc.stdin.close()
        try:
            self.proc.wait(30)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        self.log.close()

    def log_text(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")


class WebBrowser:
    """The suite's side of the page: the site's server, the browser of one
    engine (ENGINES), the games (each a fresh browser context), screenshots
    saved as PNG."""

    def __init__(self, site, facts, shots, assets, name="web-chromium", screen_reader=False):
        """`screen_reader`: the browser shows its windows in an X session and
        serves the page over AT-SPI there (`bus`)."""
        self.root, self.facts, self.shots, self.assets, self.name = site, facts, shots, assets, name
        self.bus = None
        engine, features, self.hidpi_scales, needs_x = ENGINES[name]
        self.features = frozenset(features)
        self.games = []
        self.layout = "us"  # the keyboard layout the player types with
        check(os.path.isfile(os.path.join(site, "index.html")), "no index.html in %s" % site)
        self.site = Site(site)
        self.x = None
        with contextlib.ExitStack() as undo:
            undo.callback(self.site.server_close)
            undo.callback(self.site.shutdown)
            if needs_x:
                self.x = undo.enter_context(XSession(WEBKIT_SCREEN))
                # The engine types a letter through the X keyboard map: the
                # Cyrillic mnemonics get keys, as for the X programs.
                map_mnemonic_letters(self.x, self.facts, {})
            if screen_reader:
                from atspi import AccessibilityBus
                self.x = undo.enter_context(XSession())
                self.bus = AccessibilityBus(self.x)
                # Firefox serves AT-SPI only where it is asked to.
                self.x.env.update(self.bus.env, GNOME_ACCESSIBILITY="1")
            self.driver = Driver(engine, self.x and self.x.env, screen_reader)
            undo.callback(self.driver.close)
            self.end = undo.pop_all().close

    @contextlib.contextmanager
    def keyboard_layout(self, layout):
        """The player's keyboard layout set to `layout` for a while."""
        self.layout = layout
        try:
            yield
        finally:
            self.layout = "us"

    def start(self, scale=1, phone=False, offline=False, ready=True, kept=False, url=None,
              loaded=True):
        game = WebGame(self, scale, phone, url, loaded)
        self.games.append(game)
        if ready:
            game.wait_ready()
            if self.bus:
                # A screen reader follows the window that is active; with the
                # browser's first window still about, make it the game's, as
                # a player does by clicking it.
                self.x.run(["xdotool", "search", "--sync", "--name", "^" + self.facts.title,
                            "windowactivate", "--sync"])
        if offline:
            game.reload_offline()
        if kept:
            game.wait(SERVICE_WORKER_ACTIVE, "no service worker took the site")
        return game

    def shot_path(self, name):
        return os.path.join(self.shots, "%s-%s.png" % (self.name, name))

    def save_screen(self, name):
        if self.games and self.games[-1].id is not None and not self.games[-1].closed():
            with open(self.shot_path(name), "wb") as out:
                out.write(self.games[-1].png())

    def end_games(self):
        for game in self.games:
            game.end()
        self.games = []
        self.site.offline, self.site.root = False, self.root
        self.site.reset()

    def problems(self):
        return [problem for game in self.games for problem in game.problems()]

    def log_text(self):
        return self.driver.log_text()

    def check_missing_picture(self, folder, piece):
        """The set's picture file answers 404, and then the game's
        WebAssembly does: the page says which, in #error, and is never ready
        to play: the window does not show. (The page has one file for the
        set, not one per piece.)"""
        pictures = [os.path.basename(path) for path in self.pictures() if folder in path]
        check(pictures, "no picture of %s in the site: %r" % (folder, self.pictures()))
        for name in (pictures[0], "tarpo.wasm"):
            self.site.reset(faults={name: {"status": 404}})
            game = self.start(ready=False)
            game.wait(visible("#error"), "no #error shown with %s missing" % name)
            self.save_screen("missing-" + os.path.splitext(name)[0])
            role, text = game.eval("(e => [e.getAttribute('role'), e.textContent])"
                                   "(document.querySelector('#error'))")
            check(role == "alert", "#error has role %r" % role)
            check(name in text, "#error does not name %s: %r" % (name, text))
            check(not game.eval(WINDOW_SHOWN), "the window shows without %s" % name)
            game.problems()  # the 404 itself is what this scenario asks for
            game.end()

    def version_dir(self, root=None):
        """The folder of the one version of the site under `root`, by
        default the site as built."""
        found = glob.glob(os.path.join(root or self.root, "v", "*", "form.json"))
        check(len(found) == 1, "not one version in the site: %r" % found)
        return os.path.dirname(found[0])

    def pictures(self):
        """The paths of the built site's pictures in its version's folder."""
        with open(os.path.join(self.version_dir(), "form.json"), encoding="utf-8") as f:
            entries = json.load(f)["site_pictures"]
        return [entry[kind]["path"] for entry in entries for kind in ("picture", "preview")
                if entry[kind]]


class WebGame(Game):
    """One page of the site in a fresh browser context."""

    def __init__(self, browser, scale, phone, url=None, loaded=True):
        self.facts, self.browser, self.scale, self.phone = browser.facts, browser, scale, phone
        self.driver, self.shot_path, self.site = browser.driver, browser.shot_path, browser.site
        self.origin, self.features = browser.site.origin, browser.features
        self.viewport = PHONE if phone else DESKTOP
        origin, path = url or (self.origin, browser.site.prefix)
        self.id = self.driver("open", origin=origin, path=path, viewport=self.viewport,
                              dpr=scale, touch=phone, loaded=loaded)

    def __call__(self, op, **args):
        """An operation of web_driver.mjs on this game's page."""
        return self.driver(op, game=self.id, **args)

    def eval(self, expression):
        return self("eval", expression=expression)

    def wait(self, expression, message, timeout=30):
        try:
            self("waitFor", expression=expression, timeout=timeout * 1000)
        except AssertionError as error:
            raise AssertionError("%s (%s)" % (message, str(error).splitlines()[0])) from None

    def wait_ready(self, message="the page did not show its window"):
        """Until the window shows with its sixteen framed cells, and has the
        keyboard (a browser window that the window manager activates a moment
        later draws the focused button's ring only then)."""
        self.wait(WINDOW_SHOWN + " && document.hasFocus()", message)
        wait_for(lambda: all(map(self.look().framed, range(self.facts.cells))), 30,
                 message + ": the board's cells show no frames")
        if self.phone:
            form = self.eval(box("#form"))
            check(form["x"] >= 0 and form["x"] + form["width"] <= PHONE["width"],
                  "the form does not fit the phone's width: %r" % form)

    def pictures_in(self):
        """Until the page has its pictures: leaving it while they are still
        on their way breaks their requests off, which browsers report as
        errors of the page."""
        count = sum(1 + (s["preview"] is not None) for s in self.facts.picture_sets)
        self.wait("performance.getEntriesByType('resource')"
                  ".filter((e) => /\\.webp$/.test(e.name)).length >= %d" % count,
                  "the page's pictures did not arrive")

    def reload_offline(self):
        """Once the service worker has taken the site, the network goes and
        the page is loaded again. The browser would offer to install it."""
        self.pictures_in()
        if "install_prompt" in self.features:
            errors = self.driver("installabilityErrors", origin=self.origin, path="/", ready=STARTED)
            check(errors == [], "the browser would not install the page: %r" % errors)
        self.wait(SERVICE_WORKER_ACTIVE, "no service worker took the site")
        self.site.offline = True  # the host going away takes the network
        self("reload")
        self.wait_ready("the page did not show its window offline")

    def reload(self):
        """The page loaded again, until its window shows: the board may be a
        game kept in the tab, finished and without frames."""
        self.pictures_in()
        self("reload")
        self.wait_shown()

    def follow_link(self, query):
        """The page's address again, with `query`, as a link or bookmark
        brings a player back."""
        self.pictures_in()
        self("goto", url=self.origin + self.site.prefix + query)
        self.wait_ready("the page did not show its window from a link")

    def wait_settled(self, kept_before):
        """Waits until the service worker has kept a version it did not keep
        before (a list of cache names) and has nothing more on its way."""
        self.wait("Promise.all([caches.keys(), navigator.serviceWorker.getRegistration()])"
                  ".then(([k, r]) => k.some(n => !%s.includes(n)) && !!r && !!r.active &&"
                  " r.active.state === 'activated' && !r.installing && !r.waiting)"
                  % json.dumps(kept_before), "the service worker kept no new version", 60)

    def end(self):
        if self.id is not None:
            self("close")
            self.id = None

    def problems(self):
        return [] if self.id is None else self("problems")

    # The client area on the screen. On a phone the form is scaled to fit,
    # which resamples its pictures: it is looked at with the viewport as wide
    # as a desktop's for the moment of the screenshot, as a phone turned.
    def client_box(self):
        return self.eval(box("#client"))

    def widened(self, action):
        if not self.phone:
            return action()
        self("viewport", **DESKTOP)
        try:
            return action()
        finally:
            self("viewport", **PHONE)

    def client_pixels(self):
        client = self.widened(self.client_box)
        return round(client["width"] * self.scale), round(client["height"] * self.scale)

    def png(self, clip=None, form="png"):
        """The viewport, or the clip of it, in device pixels, as PNG or
        another of ImageMagick's formats. Where the engine shoots more than
        the clip, the clip is cut out of it here."""
        shot = self("screenshot", clip=clip)
        png, crop = base64.b64decode(shot["png"]), []
        if clip is not None and shot["clip"] != clip:
            x, y = [round((clip[a] - shot["clip"][a]) * self.scale) for a in ("x", "y")]
            width, height = [round(clip[a] * self.scale) for a in ("width", "height")]
            crop = ["-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage"]
        if not crop and form == "png":
            return png
        return subprocess.run(["convert", "png:-", *crop, "-depth", "8", form + ":-"], input=png,
                              stdout=subprocess.PIPE, check=True).stdout

    def look(self, save_as=None):
        """The client area and the menu bar above it, from the form's corner,
        which lies on a whole device pixel: the form's grid."""
        if save_as:
            with open(self.shot_path(save_as), "wb") as out:
                out.write(self.png())

        def shoot():
            client, form = self.eval("[%s, %s]" % (box("#client"), box("#form")))
            above = client["y"] - form["y"]
            return above, self.png(dict(client, y=form["y"], height=client["height"] + above), "ppm")
        above, ppm = self.widened(shoot)
        return ClientView(Screenshot(ppm), (0, 0), self.scale, self.facts, above)

    # Form points, the centre of a form pixel, and CSS pixels.
    def css(self, points, back=False):
        client = self.client_box()
        unit = client["width"] / self.facts.client_size[0]  # CSS pixels per form pixel
        if back:
            return [((x - client["x"]) / unit - 0.5, (y - client["y"]) / unit - 0.5) for x, y in points]
        return [(client["x"] + (x + 0.5) * unit, client["y"] + (y + 0.5) * unit) for x, y in points]

    def clicks(self, points, fast=False, css=False):  # always as fast as the driver goes
        self("clicks", touch=self.phone, points=points if css else self.css(points))

    def click_box(self, selector, index=0):
        """The pointer on the middle of an element."""
        r = self.eval(box(selector, index))
        self.clicks([(r["x"] + r["width"] / 2, r["y"] + r["height"] / 2)], css=True)

    def key(self, *names):
        self("keys", keys=[KEYS.get(name) or name.replace("alt+", "Alt+") for name in names])

    def mnemonic(self, caption, menu_bar=True):
        """On the Russian layout (keyboard_layout), a Latin letter is the key
        where a Russian keyboard has it, typing the Cyrillic letter of that
        key."""
        letter = mnemonic(caption).lower()
        if letter.isascii() and self.browser.layout != "ru":
            key = ("Alt+" if menu_bar else "") + letter
        else:
            typed, us = (RUSSIAN_LETTER[letter], letter) if letter.isascii() \
                else (letter, LATIN_KEY[letter])
            key = {"key": typed, "code": "Key" + us.upper(), "keyCode": ord(us.upper()),
                   "alt": menu_bar}
        self("keys", keys=[key])

    # As assistive technology reads the page: Chromium's accessibility tree.
    def accessible_nodes(self):
        client = self.client_box()
        unit = client["width"] / self.facts.client_size[0]

        def form_box(b):
            return ((b["x"] - client["x"]) / unit, (b["y"] - client["y"]) / unit,
                    b["width"] / unit, b["height"] / unit) if b else (0, 0, 0, 0)
        return [(n["role"], n["text"] if n["role"] in LIVE_ROLES and not n["name"] else n["name"],
                 True, n["focused"], form_box(n["box"]))
                for n in self("accessibilityTree")]

    def audit(self):
        """What an accessibility checker finds wrong with the page: axe-core's
        WCAG 2.2 A and AA violations, and menu entries whose keyboard
        shortcuts Chromium does not expose as their mnemonic letter (with Alt
        on the bar) and, for a Cyrillic one, the Latin letter of its key, the
        last of which, pressed on a Latin keyboard, must open the drop-down."""
        found = ["%s (%s): %s" % (v["id"], v["help"], ", ".join(v["targets"]))
                 for v in self("axe")]
        nodes = self("accessibilityTree")
        f = self.facts
        menu, exit_entry = f.menu_captions[0].replace("&", ""), f.exit_caption.replace("&", "")
        shortcut = ([n["keyshortcuts"] for n in nodes if n["name"] == menu][0].split() or [""])[-1]

        def opened():  # its entry is in the tree while it shows
            tree = self("accessibilityTree")
            return tree if any(n["name"] == exit_entry for n in tree) else None
        try:
            self("keys", keys=[shortcut])
            nodes += wait_for(opened, 10, "")
        except AssertionError:  # no such key, or the menu stays shut
            found.append("%r, the shortcut of %r, does not open it" % (shortcut, menu))
        self.key("Escape", "Escape")
        for caption, alt in [(c, "Alt+") for c in f.menu_captions] + [(f.exit_caption, "")]:
            text, letter = caption.replace("&", ""), mnemonic(caption).lower()
            keys = [letter] if letter.isascii() else [letter, LATIN_KEY[letter]]
            wanted = " ".join(alt + key.upper() for key in keys)
            shown = {n["keyshortcuts"] for n in nodes if n["role"] == "menuitem" and n["name"] == text}
            if shown != {wanted}:
                found.append("the menu entry %r has the shortcuts %r, not %r" % (text, shown, wanted))
        return found

    # The page's own: what only a browser has.
    def wait_shown(self):
        self.wait(visible("#newGameButton"), "the window is not shown")

    def overlapping_taps(self, points):
        """Fingers down on the form points one after the other, then lifted in
        the same order, each lift while the later ones still touch."""
        self("overlappingTouches", points=self.css(points))

    def list_entry(self, i):
        """The form point of the list's i-th entry."""
        entry = self.eval(box("#pictureSetList [role=option]", i))
        return self.css([(entry["x"] + entry["width"] / 2, entry["y"] + entry["height"] / 2)], back=True)[0]

    # The menu and the boxes.
    def click_menu(self, i):
        self.click_box("#menubar [role=menuitem]:not(#menu-dropdown *)", i)

    def click_drop_down(self):
        self.click_box("#menu-dropdown [role=menuitem], #menu-dropdown button")

    def wait_box(self, title, text, timeout=10):
        self.wait("(d => !!d && d.open && document.querySelector('#msgbox-title').textContent"
                  " === %s)(document.querySelector('#msgbox'))" % json.dumps(title),
                  "no box titled %r" % title, timeout)
        # WebKit's innerText ends a block's text with a line break.
        shown = self.eval("document.querySelector('#msgbox-text').innerText")
        check(shown.rstrip("\n").split("\n") == text.rstrip("\r").split("\r"),
              "the box %r reads %r" % (title, shown))

    def wait_box_gone(self, title):
        self.wait("!document.querySelector('#msgbox').open", "the box %r stays open" % title)

    def check_fixed_size(self):
        """The form keeps its size in a larger viewport."""
        client = self.client_box()
        check((client["width"], client["height"]) == tuple(self.facts.client_size),
              "the client area is %r CSS pixels" % ((client["width"], client["height"]),))
        form = self.eval(box("#form"))
        self("viewport", **WIDE)
        try:
            wider = self.eval(box("#form"))
        finally:
            self("viewport", **self.viewport)
        check((wider["width"], wider["height"]) == (form["width"], form["height"]),
              "the form grew with the viewport: %r, then %r" % (form, wider))

    def closed(self):
        return self("closed")

    def running(self):
        return not self.closed() and not self.eval(
            "%s || %s" % (visible("#ended"), visible("#error")))

    def exit_status(self):
        """0 once the page has closed or shows that it has ended."""
        wait_for(lambda: self.closed() or self.eval(visible("#ended")), 30,
                 "the page neither closed nor shows #ended")
        return 0
