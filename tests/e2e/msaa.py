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
