#!/usr/bin/env python3
"""The layout is fixed in pixels, so a large desktop font must change none of
the window's text: with the GTK platform theme and a 14-pt interface font
(set in a GTK settings file of the test's own), the window and its open menu
look exactly as with no platform theme. (The message boxes take the theme's
icon, so their text is checked by the widget tests.)

Usage: desktop_font_test.py TARPO_EXECUTABLE FORM_JSON"""

import json
import os
import sys
import tempfile
import time

from xsession import XSession


def looks(x, exe, form, extra_env):
    """Pictures of the window, and of the window with "Меню" open."""
    proc = x.start([exe], extra_env=extra_env)
    window = x.find_window(form["title"])

    def picture(win):
        time.sleep(0.5)  # drawn
        left, top, width, height = x.geometry(win)
        return (width, height), x.screenshot().region(left, top, width, height)
    pictures = {"window": picture(window)}
    left, top, _, _ = x.geometry(window)
    x.run(["xdotool", "mousemove", "0", "0"])  # --sync waits for a move: the last run clicked here
    x.click(left + 12, top + 8)  # "Меню"
    pictures["menu"] = picture(window)
    proc.terminate()
    proc.wait(10)
    return pictures


def main():
    exe, form = sys.argv[1], json.load(open(sys.argv[2], encoding="utf-8"))
    with XSession() as x, tempfile.TemporaryDirectory() as config:
        os.makedirs(os.path.join(config, "gtk-3.0"))
        with open(os.path.join(config, "gtk-3.0", "settings.ini"), "w") as settings:
            settings.write("[Settings]\ngtk-font-name=Sans 14\n")
        plain = looks(x, exe, form, {})
        large = looks(x, exe, form, {"QT_QPA_PLATFORMTHEME": "gtk3", "XDG_CONFIG_HOME": config})
    failed = [scene for scene in plain if plain[scene] != large[scene]]
    for scene in plain:
        print("%s: %s" % (scene, "differs with a 14-pt desktop font (size %r, was %r)"
                          % (large[scene][0], plain[scene][0]) if scene in failed else "ok"))
    print("desktop_font: %d passed, %d failed" % (len(plain) - len(failed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
