"""A throw-away X session for end-to-end tests: Xvfb with a window manager,
real X input through xdotool, and screenshots read back as pixels."""

import os
import re
import signal
import subprocess
import tempfile

from game import Screenshot, wait_for


SCREEN = (1024, 768)
# xdotool waits 30 ms after each key and 100 ms after each click unless
# told otherwise; the X server keeps events in order without that.
KEY_DELAY_MS = 0
CLICK = ["click", "--delay", "0", "1"]
OPENBOX_CONFIG = "/etc/xdg/openbox/rc.xml"
CLIENT_CLICKS = re.compile(r'<context name="Client">.*?</context>', re.S)
# A window shown to learn whether the window manager shows windows yet.
PROBE_TITLE = "window-manager-probe"
PROBE_S = 3
PROBE_TRIES = 5


def threads_of(pid):
    """Each thread of a process: its name, state and kernel wait channel."""
    def read(tid, name):
        try:
            with open("/proc/%d/task/%s/%s" % (pid, tid, name)) as f:
                return f.read().strip()
        except OSError:  # the thread has gone
            return "?"
    return "; ".join("%s %s in %s" % (read(tid, "comm"), read(tid, "stat").rpartition(")")[2][:2].strip(),
                                      read(tid, "wchan"))
                     for tid in sorted(os.listdir("/proc/%d/task" % pid)))


class XSession:
    def __init__(self, screen=SCREEN):
        self.screen = screen
        self.procs = []
        self.display = None

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        # -noreset: the server stays as it is when its last client leaves, as
        # a desktop's does, even for a moment while a program starts again.
        # -r: no auto-repeat. A key is typed as a press and a release; on a
        # busy machine the release can come later than the repeat delay, and
        # a repeated arrow or Return would play a move nobody asked for.
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % self.screen,
             "-nolisten", "tcp", "-noreset", "-r"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        self.procs.append(xvfb)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise RuntimeError("Xvfb did not start")
                number += chunk
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.runtime_dir = tempfile.TemporaryDirectory()  # mode 0700, as Qt wants
        self.env["XDG_RUNTIME_DIR"] = self.runtime_dir.name
        try:
            self.start_window_manager()
        except BaseException:
            self.__exit__()  # leave no Xvfb behind
            raise
        return self

    def start_window_manager(self):
        # openbox's own configuration, less its clicks on a window's inside:
        # to focus and raise on a click there it holds the pointer in a
        # synchronous grab until it has seen each press. While openbox waits
        # for a processor (tests run in parallel) the clicks queue up behind
        # the grab, and now and then a press let through late reaches the
        # program where the pointer was before: that click is lost, and a
        # game ends one slide short. Windows are still focused when they map.
        with open(OPENBOX_CONFIG) as f:
            config, found = CLIENT_CLICKS.subn("", f.read(), count=1)
        if not found:
            raise AssertionError("no clicks on a window's inside in " + OPENBOX_CONFIG)
        rc = os.path.join(self.runtime_dir.name, "openbox-rc.xml")
        with open(rc, "w") as f:
            f.write(config)
        # openbox now and then quits at once when several sessions start
        # together (tests run in parallel): start it again then.
        self.wm_log = os.path.join(self.runtime_dir.name, "openbox.log")
        for _ in range(3):
            with open(self.wm_log, "ab") as log:
                wm = subprocess.Popen(["openbox", "--sm-disable", "--config-file", rc],
                                      env=self.env, stdout=log, stderr=log)
            self.procs.append(wm)
            self.wm = wm

            def state():
                if wm.poll() is not None:
                    return "exited"
                check = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
                return "up" if b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in check else None
            if self.wait_for(state, 10, "the window manager did not start") == "up":
                return self.wait_until_managing()
        raise AssertionError("the window manager quit three times on start")

    def wait_until_managing(self):
        """openbox puts up its check window before it handles the requests
        of windows being shown, and a window shown in between stays hidden
        for good. So a throw-away window is shown, again if it stays hidden,
        until the window manager shows one; then it is closed."""
        for _ in range(PROBE_TRIES):
            probe = self.start(["xmessage", "-title", PROBE_TITLE, PROBE_TITLE],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                self.find_window(PROBE_TITLE, timeout=PROBE_S)
                return
            except AssertionError:
                pass  # lost as a program's window would have been: show another
            finally:
                probe.kill()
                probe.wait()
                self.window_gone(PROBE_TITLE, timeout=PROBE_S)
        raise AssertionError("the window manager shows no window")

    def __exit__(self, *exc):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()

    def run(self, argv, check=True):
        return subprocess.run(argv, env=self.env, check=check, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=30).stdout

    def start(self, argv, extra_env=None, **kwargs):
        proc = subprocess.Popen(argv, env=dict(self.env, **(extra_env or {})), **kwargs)
        self.procs.append(proc)
        return proc

    wait_for = staticmethod(wait_for)

    def visible(self, title):
        """The ids of the windows titled `title` that show."""
        return self.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                        check=False).split()

    def find_window(self, title, timeout=10, proc=None):
        """The window titled `title`; with `proc`, a program that ends
        before its window shows fails at once, with its status."""
        def search():
            ids = self.visible(title)
            if not ids and proc is not None and proc.poll() is not None:
                raise AssertionError("the program ended with status %d before its window %r "
                                     "showed" % (proc.returncode, title))
            return int(ids[0]) if ids else None
        try:
            return self.wait_for(search, timeout, "no window titled %r" % title)
        except AssertionError as missing:
            raise AssertionError("%s; %s" % (missing, self.why_unseen(title, proc))) from None

    def why_unseen(self, title, proc):
        """What a missing window's program and the window manager are doing."""
        hidden = self.run(["xdotool", "search", "--name", "^%s$" % title], check=False).split()
        if self.wm.poll() is None:
            wm = "running: " + threads_of(self.wm.pid)
        else:
            wm = "ended with status %d" % self.wm.returncode
        with open(self.wm_log, errors="replace") as log:
            said = log.read().strip()[-300:]
        program = threads_of(proc.pid) if proc is not None and proc.poll() is None else "none"
        return ("%d unmapped windows of that title; window manager %s%s; the program's threads: %s"
                % (len(hidden), wm, ", saying %r" % said if said else "", program))

    def window_gone(self, title, timeout=10):
        self.wait_for(lambda: not self.visible(title), timeout, "window %r is still there" % title)

    def geometry(self, window):
        """Absolute position and size of a window's own area (no decorations)."""
        value = dict(line.strip().partition(":")[::2]
                     for line in self.run(["xwininfo", "-id", str(window)]).decode().splitlines())
        return (int(value["Absolute upper-left X"]), int(value["Absolute upper-left Y"]),
                int(value["Width"]), int(value["Height"]))

    def screenshot(self, save_as=None):
        ppm = self.run(["import", "-window", "root", "-depth", "8", "ppm:-"])
        if save_as:
            with open(save_as, "wb") as out:
                out.write(ppm)
        return Screenshot(ppm)

    def click(self, x, y):
        # --sync waits for the pointer to move, which it never does if it is
        # there already.
        here = self.run(["xdotool", "getmouselocation"]).split()[:2]
        sync = ["--sync"] if here != [b"x:%d" % x, b"y:%d" % y] else []
        self.run(["xdotool", "mousemove", *sync, str(x), str(y), *CLICK])

    def key(self, *keys):
        self.run(["xdotool", "key", "--delay", str(KEY_DELAY_MS), *keys])
