"""What a screen reader finds in tarpo.exe's window under Wine: the MSAA
probe (msaa_probe.exe, cross-built beside tarpo.exe) run in the program's
Wine prefix, asked for the accessible tree and the events raised so far."""

import json
import subprocess

from game import check

STATE_FOCUSED = 0x4
STATE_INVISIBLE = 0x8000


class MsaaReader:
    def __init__(self, start):
        """`start(argv, **popen)` runs a Windows program in the prefix."""
        self.proc = start(stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.known, self.seen = None, 0  # names by place; events taken in
        check(json.loads(self.proc.stdout.readline() or "{}").get("ready"),
              "the MSAA probe did not start")

    def read(self):
        self.proc.stdin.write(b"\n")
        self.proc.stdin.flush()
        line = self.proc.stdout.readline()
        check(line, "the MSAA probe ended")
        return json.loads(line)

    def nodes(self):
        """Every accessible under the window's client area, in the order
        AccessibleChildren gives them: (role, name, showing, focused, extents
        on the screen), as a screen reader knows them. It reads each name once
        and learns a new one only from a name-change event; focused is the
        object that says it has the focus and was named by the last focus
        event. Each alert raised so far is a showing node of the role "alert"
        named with its text."""
        report = self.read()
        events = report["events"]
        fresh = self.known is None
        if fresh:
            self.known = {}
        for e in events[self.seen:]:
            if e["event"] == "namechange" and e["object"]:
                self.known[tuple(e["object"]["location"])] = e["object"]["name"]
        self.seen = len(events)
        focus = [e["object"].get("name") for e in events if e["event"] == "focus"][-1:]
        out = []
        for n in report["nodes"]:
            place = tuple(n["location"])
            if fresh or place not in self.known:
                self.known[place] = n["name"]
            name = self.known[place]
            out.append((n["role"], name, not n["state"] & STATE_INVISIBLE,
                        bool(n["state"] & STATE_FOCUSED) and [name] == focus, place))
        return out + [("alert", e["object"].get("name", ""), True, False, (0, 0, 0, 0))
                      for e in events if e["event"] == "alert"]

    def close(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()


class HeardNode:
    """An object as an event names it: its role, and its name when the probe
    read it; one object is one place on the screen."""

    def __init__(self, described, role=None):
        self.role = role or described.get("role", "")
        self.name = described.get("name", "")
        self.place = tuple(described.get("location", ()))

    def getRoleName(self):
        return self.role

    def __eq__(self, other):
        return self.place == other.place

    def __hash__(self):
        return hash(self.place)


class HeardEvents:
    """The events of `reader`'s window in the order they came, in the shape
    of the AT-SPI ones (atspi.HeardEvents): a focus gained, a name changed,
    an alert shown (with its text as its name)."""

    KINDS = {"focus": "object:state-changed:focused",
             "namechange": "object:property-change:accessible-name",
             "alert": "object:state-changed:showing"}

    def __init__(self, reader):
        self.reader = reader

    def events(self):
        out = []
        for e in self.reader.read()["events"]:
            node = HeardNode(e["object"] or {}, "alert" if e["event"] == "alert" else None)
            out.append((self.KINDS[e["event"]], node,
                        node.name if e["event"] == "namechange" else 1))
        return out

    def names(self, roles):
        return {}  # each event carries the name the probe read with it

    def close(self):
        pass
