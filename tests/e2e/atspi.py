"""What a screen reader finds in an X program's window: a private D-Bus
session with the AT-SPI bus on it, and the program's accessible tree read
through pyatspi (Debian's python3-pyatspi), with nothing taken from cache."""

import os
import subprocess

from game import check, wait_for


def descendants(node):
    """Every accessible under a node, in tree order."""
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


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
        for node in descendants(self.app):
            state = node.getState()
            x, y, w, h = node.queryComponent().getExtents(self.atspi.DESKTOP_COORDS) \
                if "Component" in node.get_interfaces() else (0, 0, 0, 0)
            out.append((node.getRoleName(), node.name, state.contains(self.atspi.STATE_SHOWING),
                        state.contains(self.atspi.STATE_FOCUSED), (x, y, w, h)))
        return out

    def close(self):
        pass


class HeardEvents:
    """The AT-SPI events a screen reader goes by, in the order they come: the
    focus gained or lost, a name changed, something shown or hidden, text
    put in. `events()` gives what has come so far: (kind, source, value),
    the value the new name, the text put in, or 1 or 0 for a state."""

    KINDS = ("object:state-changed:focused", "object:property-change:accessible-name",
             "object:state-changed:showing", "object:text-changed:insert")

    def __init__(self, bus):
        from gi.repository import GLib
        self.bus, self.context, self.seen = bus, GLib.MainContext.default(), []
        bus.atspi.Registry.registerEventListener(self.heard, *self.KINDS)

    def heard(self, event):
        value = event.detail1 if event.type.startswith("object:state") else event.any_data
        self.seen.append((event.type, event.source, value))

    def events(self):
        while self.context.iteration(False):
            pass
        return list(self.seen)

    def names(self, roles):
        """The name of every node of one of `roles` in every application,
        read as a screen reader reads what it presents: a program (Firefox)
        tells a change of a name only to one who has read it."""
        return {node: node.name for node in descendants(self.bus.desktop())
                if node.getRoleName() in roles}

    def close(self):
        self.bus.atspi.Registry.deregisterEventListener(self.heard, *self.KINDS)
