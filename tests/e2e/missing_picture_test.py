#!/usr/bin/env python3
"""tarpo.exe whose bitmap resource for one picture cannot be found (as only a
broken build could make it): start-up stops with a message box that names the
picture, and the program ends with status 1 when it is closed; the game's
window never shows.

The copy of tarpo.exe has that resource renamed in place: the same length, so
the file stays valid, and the name still sorts where it did.

Usage: missing_picture_test.py TARPO_EXE BOOTED_WINE_PREFIX SHOTS_DIR"""

import os
import sys
import tempfile

from game import WineProgram, check
from xsession import XSession

PICTURE = "skull/piece07.bmp"
BROKEN = "skull/piece07.bmx"
BOX_TITLE = "tarpo"
GAME_TITLE = "zodaziror uvedored"


def main():
    exe, prefix, shots = sys.argv[1:4]
    os.makedirs(shots, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="tarpo-broken-") as work:
        broken = os.path.join(work, "tarpo.exe")
        data = open(exe, "rb").read()
        name = PICTURE.upper().encode("utf-16-le")
        check(data.count(name) == 1, "%s is not a resource name of %s" % (PICTURE, exe))
        with open(broken, "wb") as out:
            out.write(data.replace(name, BROKEN.upper().encode("utf-16-le")))

        program = WineProgram(broken, prefix)
        try:
            with XSession() as x:
                proc = program.start(x, 1)
                x.find_window(BOX_TITLE, timeout=60)
                x.screenshot(os.path.join(shots, "wine-missing-picture.ppm"))
                check(not x.run(["xdotool", "search", "--onlyvisible", "--name",
                                 "^%s$" % GAME_TITLE], check=False).split(),
                      "the game's window shows although a picture is missing")
                x.key("Return")
                status = proc.wait(30)
                check(status == 1, "exit status %d, expected 1" % status)
                program.stop(x)
        finally:
            program.close()
    print("ok: a missing picture stops start-up with a box and status 1")


if __name__ == "__main__":
    main()
