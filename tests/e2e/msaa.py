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
        on the screen). Focused is what a screen reader learns from the focus
        event: the object that says it has the focus and was named by the last
        one. Each alert raised so far is a showing node of the role "alert"
        named with its text, as a screen reader presents it."""
        report = self.read()
        focus = [e["name"] for e in report["events"] if e["event"] == "focus"][-1:]
        out = [(n["role"], n["name"], not n["state"] & STATE_INVISIBLE,
                bool(n["state"] & STATE_FOCUSED) and [n["name"]] == focus, tuple(n["location"]))
               for n in report["nodes"]]
        return out + [("alert", e["name"], True, False, (0, 0, 0, 0))
                      for e in report["events"] if e["event"] == "alert"]

    def close(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
