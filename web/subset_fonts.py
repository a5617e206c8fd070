#!/usr/bin/env python3
"""Writes the faces the page draws the form's text in, and the style sheet
that names them.

Usage: subset_fonts.py --facts FORM_JSON --fonts DIR --site DIR

The desktop programs draw the form's fonts in DejaVu Sans, which fontconfig
matches to them; browsers would pick a sans-serif face of the system, each
its own. So the page carries DejaVu Sans itself, cut down to the glyphs of
the form's texts (WOFF2, without hinting: the text is small), one face per
weight and slant the page draws, and fonts.css declares them under the
family names of the form's fonts, so that the form's fonts resolve to them.
"""
import argparse
import json
import subprocess
import sys
from pathlib import Path

FONT_DIR = "fonts"
STYLE_SHEET = "fonts.css"
# DejaVu Sans by (bold, italic).
FACES = {(False, False): "DejaVuSans.ttf", (True, False): "DejaVuSans-Bold.ttf",
         (True, True): "DejaVuSans-BoldOblique.ttf"}

def face_texts(facts):
    """The texts of each face: the label in its own font, the message boxes'
    titles in bold (as the page shows them), the rest in the dialog font."""
    dialog, label = facts["dialog_font"], facts["motto_font"]
    plain = [*facts["menu_captions"], facts["exit_caption"], facts["new_game_caption"],
             facts["help_text"], facts["author_text"], facts["message_box_button"],
             *(entry["name"] for entry in facts["picture_sets"])]
    texts = {}
    for font, strings in ((dialog, plain), (dict(dialog, bold=True),
                                            [facts["help_title"], facts["author_title"]]),
                          (label, [facts["motto_text"]])):
        key = (font["family"], font["bold"], font["italic"])
        texts.setdefault(key, set()).update("".join(strings).replace("&", ""))
    return texts


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--facts", "--fonts", "--site"):
        parser.add_argument(option, type=Path, required=True)
    args = parser.parse_args()
    facts = json.loads(args.facts.read_text(encoding="utf-8"))
    (args.site / FONT_DIR).mkdir(parents=True, exist_ok=True)
    rules = ["/* The faces of the form's fonts, cut down to the form's texts. */"]
    for (family, bold, italic), chars in sorted(face_texts(facts).items()):
        source = args.fonts / FACES[(bold, italic)]
        name = "%s/%s.woff2" % (FONT_DIR, source.stem)
        chars.discard("\r")
        chars.discard("\n")
        unicodes = ",".join("U+%04X" % ord(c) for c in sorted(chars | {" "}))
        subprocess.run(["pyftsubset", str(source), "--unicodes=" + unicodes, "--flavor=woff2",
                        "--no-hinting", "--desubroutinize", "--layout-features=kern,liga",
                        "--name-IDs=1,2", "--drop-tables+=FFTM",
                        "--output-file=" + str(args.site / name)],
                       check=True)
        rules.append('@font-face {\n    font-family: %s;\n    src: url("%s") format("woff2");\n'
                     '    font-weight: %s;\n    font-style: %s;\n    font-display: block;\n}'
                     % (json.dumps(family), name, "bold" if bold else "normal",
                        "italic" if italic else "normal"))
    (args.site / STYLE_SHEET).write_text("\n".join(rules) + "\n", encoding="utf-8")


if __name__ == "__main__":
    sys.exit(main())
