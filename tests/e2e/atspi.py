"""What a screen reader finds in an X program's window: a private D-Bus
session with the AT-SPI bus on it, and the program's accessible tree read
through pyatspi (Debian's python3-pyatspi), with nothing taken from cache."""

import os
import subprocess

from game import check, wait_for


class AccessibilityBus:
    """dbus-daemon and the AT-SPI bus launcher for one X session; `env` is
    what a program needs to be read on it."""

    LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

    def __init__(self, x):
        daemon = x.start(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        address = daemon.stdout.readline().decode().strip()
        check(address, "dbus-daemon gave no address")
        self.env = {"DBUS_SESSION_BUS_ADDRESS": address, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                    "NO_AT_BRIDGE": "0"}
        x.start([self.LAUNCHER, "--launch-immediately"], extra_env=self.env,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # pyatspi finds the bus through the session bus it starts on.
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
        import pyatspi
        self.atspi = pyatspi
        wait_for(self.desktop, 30, "the AT-SPI registry did not start")

    def desktop(self):
        try:
            return self.atspi.Registry.getDesktop(0)
        except Exception:  # the registry is not up yet
            return None

    def reader(self, pid):
        return AccessibleWindow(self.atspi, self.desktop, pid)


class AccessibleWindow:
    """The accessible tree of the application with process id `pid`."""

    def __init__(self, atspi, desktop, pid):
        self.atspi, self.pid = atspi, pid
        self.app = wait_for(lambda: next((a for a in desktop() if a is not None
                                           and a.get_process_id() == pid), None),
                            30, "the program is not on the AT-SPI bus")

    def nodes(self):
        """Every accessible under the application, in tree order: (role name,
        name, showing, focused, extents on the screen)."""
        self.app.clear_cache()
        out = []

        def walk(node):
            for child in node:
                if child is None:
                    continue
                state = child.getState()
                x, y, w, h = child.queryComponent().getExtents(self.atspi.DESKTOP_COORDS) \
                    if "Component" in child.get_interfaces() else (0, 0, 0, 0)
                out.append((child.getRoleName(), child.name,
                            state.contains(self.atspi.STATE_SHOWING),
                            state.contains(self.atspi.STATE_FOCUSED), (x, y, w, h)))
                walk(child)
        walk(self.app)
        return out
