#!/usr/bin/env python3
"""Completes the site in its directory from the page's files and the game.

Usage: make_site.py --facts FORM_JSON --assets DIR --page INDEX_HTML --worker SW_TEMPLATE
                    --site DIR --files [NAME=]FILE... --styles STYLE_CSS...
                    --modules MAIN_JS [MODULE_JS...] [--esbuild ESBUILD]

Each build is one version whose files cannot mix with another's: everything
the page loads lives in a folder named by the hash of its contents
(`v/<hash>/`), which only that version's index.html names; every file
carries its SHA-256, checked where it is loaded.

- v/<hash>/: the page's style sheets joined into style.css and its entry
  module MAIN_JS with every module it imports joined into one module script
  of that name, both minified by esbuild (every MODULE_JS given must be
  among what MAIN_JS imports); the form's faces and the game (FILE...,
  each by its base name or at NAME inside the folder), as they are; the pictures, per picture set its pieces
  (24-bit BMPs) put together again into the whole picture, row by row in
  piece order, and its preview as it is, each as lossless WebP without
  colour-space or metadata chunks, so that the browser shows the very values
  of the BMPs; form.json, the form
  description with the pictures' paths, sizes and hashes added;
- index.html: the page, naming that folder, asking in advance for what
  start-up needs, with the hash and size of each such file;
- sw.js: the service worker, with the files it keeps for offline use and
  their hashes; its version changes with any of them.
Older version folders of an earlier build in the same site are removed.
"""
import argparse
import base64
import hashlib
import html
import json
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

from subset_fonts import FACES, FONT_DIR

VERSIONS = "v"
PICTURE_DIR = "pictures"
WORKER = "sw.js"
# The page as the worker keeps it: its folder's address.
PAGE = "./"
# The one script and the one style sheet the page loads.
SCRIPT = "main.js"
STYLE = "style.css"
# What the worker keeps only if the host has it: the app's install needs
# them, the game does not.
OPTIONAL = ("manifest.webmanifest", "icons/tarpo.svg")
VERSION_MARK = "@VERSION_DIR@"
PRELOADS_MARK = "<!-- @PRELOADS@ -->"
# Where the page's script finds the error texts it may need before form.json
# arrives.
TEXTS_MARK = "@TEXTS@"
PAGE_TEXTS = "page_"
# The texts the page shows by itself, each written where index.html has
# "@<its name in form.json>@": the message box's button and, from "errors",
# the notices shown without the script.
SHOWN_FACTS = ("message_box_button",)
SHOWN_TEXTS = ("page_script_not_run", "page_game_ended", "page_play_again")


def sha256(data):
    return hashlib.sha256(data).digest()


def integrity(data):
    return "sha256-" + base64.b64encode(sha256(data)).decode()


# One module script, as browsers load it: a page that loads one script
# starts sooner than one that loads its modules one by one, above all from a
# service worker's cache. Cyrillic text stays as it is, not escaped.
ESBUILD_SCRIPT = ["--bundle", "--format=esm", "--minify", "--charset=utf8",
                  "--legal-comments=none", "--log-level=warning"]
ESBUILD_STYLE = ["--loader=css", "--minify", "--charset=utf8", "--log-level=warning"]


def esbuild(command, text=None):
    """What esbuild writes for `command`; a failure stops the build with its words."""
    run = subprocess.run(command, input=text, capture_output=True, encoding="utf-8")
    if run.returncode != 0:
        sys.exit("make_site.py: esbuild failed:\n%s" % run.stderr)
    if run.stderr:
        sys.stderr.write(run.stderr)
    return run.stdout


def bundle_script(tool, modules):
    """The entry module, modules[0], with everything it imports, as one
    minified module script. Every other module given must be among what it
    imports: one no longer used is a leftover."""
    with tempfile.TemporaryDirectory() as folder:
        script, meta = Path(folder, SCRIPT), Path(folder, "meta.json")
        esbuild([tool, str(modules[0]), *ESBUILD_SCRIPT, "--outfile=%s" % script,
                 "--metafile=%s" % meta])
        used = {Path(name).resolve() for name in json.loads(meta.read_text())["inputs"]}
        script = script.read_text(encoding="utf-8")
    unused = [str(path) for path in modules[1:] if path.resolve() not in used]
    if unused:
        sys.exit("make_site.py: not imported by %s: %s" % (modules[0], ", ".join(unused)))
    return script


def bundle_style(tool, sheets):
    """The style sheets, in order, as one minified style sheet."""
    return esbuild([tool, *ESBUILD_STYLE],
                   "\n".join(path.read_text(encoding="utf-8") for path in sheets))


def webp(output, *convert_args):
    """Writes a lossless WebP with ImageMagick: the pixels and nothing else."""
    subprocess.run(["convert", *convert_args, "-strip", "-define", "webp:lossless=true",
                    "-define", "webp:exact=true", "-quality", "100",
                    "webp:%s" % output], check=True)


def write_pictures(facts, assets, folder):
    """Writes each set's pictures into folder; returns, per set, their paths
    relative to it with their sizes and hashes."""
    (folder / PICTURE_DIR).mkdir(parents=True, exist_ok=True)
    side = facts["board_side"]
    whole = side * facts["piece_side"]
    entries = []
    for picture_set in facts["picture_sets"]:
        pieces = [str(assets / path) for path in picture_set["pieces"]]
        rows = []
        for band in range(side):
            rows += ["("] + pieces[band * side:(band + 1) * side] + ["+append", ")"]
        picture = "%s/%s.webp" % (PICTURE_DIR, picture_set["folder"])
        webp(folder / picture, *rows, "-append")
        entry = {"picture": described(folder, picture, [whole, whole]), "preview": None}
        if picture_set["preview"]:
            preview = "%s/%s-preview.webp" % (PICTURE_DIR, picture_set["folder"])
            webp(folder / preview, str(assets / picture_set["preview"]))
            entry["preview"] = described(folder, preview, facts["preview_size"])
        entries.append(entry)
    return entries


def described(folder, path, size):
    data = (folder / path).read_bytes()
    return {"path": path, "width": size[0], "height": size[1], "bytes": len(data),
            "sha256": sha256(data).hex()}


def start_fonts(facts):
    """The faces the window shows at start: its dialog font and the label's."""
    return sorted({"%s/%s.woff2" % (FONT_DIR, Path(FACES[(font["bold"], font["italic"])]).stem)
                   for font in (facts["dialog_font"], facts["motto_font"])})


def write_page(page, site, version, facts, files):
    """The page, naming the version's folder and asking in its head for
    every file that start-up needs besides its style sheet and script, so
    that all of them are on their way at once: the faces the window shows at
    start, then the game and the form description, with the hash and size
    that main.js checks them by. The texts the page says on its own come
    from the form description."""
    fetched = files["fetched"]
    links = ['<link rel="preload" href="%s/%s" as="font" type="font/woff2" crossorigin>'
              % (version, name) for name in files["fonts"]]
    links += ['<link rel="preload" href="%s/%s" as="fetch" crossorigin data-bytes="%d" '
              'data-sha256="%s">' % (version, name, len(data), sha256(data).hex())
              for name, data in fetched]
    text = page.read_text(encoding="utf-8")
    errors = facts["errors"]
    shown = {name: facts[name] for name in SHOWN_FACTS}
    shown.update((name, errors[name]) for name in SHOWN_TEXTS)
    for mark in (PRELOADS_MARK, VERSION_MARK, TEXTS_MARK, *("@%s@" % name for name in shown)):
        if mark not in text:
            sys.exit("%s: no %s" % (page, mark))
    page_texts = {name: said for name, said in errors.items() if name.startswith(PAGE_TEXTS)
                  and name not in SHOWN_TEXTS}
    text = (text.replace(PRELOADS_MARK, "\n".join(links)).replace(VERSION_MARK, version)
            .replace(TEXTS_MARK, html.escape(json.dumps(page_texts, ensure_ascii=False))))
    for name, said in shown.items():
        text = text.replace("@%s@" % name, html.escape(said, quote=False))
    # The script and the style sheet checked like the rest.
    for attribute, (name, data) in (("src", files["script"]), ("href", files["style"])):
        text = text.replace('%s="%s/%s"' % (attribute, version, name),
                            '%s="%s/%s" integrity="%s"' % (attribute, version, name,
                                                            integrity(data)), 1)
    (site / "index.html").write_text(text, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("--facts", "--assets", "--page", "--worker", "--site"):
        parser.add_argument(option, type=Path, required=True)
    parser.add_argument("--files", nargs="+", required=True)
    parser.add_argument("--styles", nargs="+", type=Path, required=True)
    parser.add_argument("--modules", nargs="+", type=Path, required=True)
    parser.add_argument("--esbuild", default=shutil.which("esbuild") or "esbuild")
    args = parser.parse_args()
    facts = json.loads(args.facts.read_text(encoding="utf-8"))
    site = args.site
    site.mkdir(parents=True, exist_ok=True)

    with tempfile.TemporaryDirectory(dir=site) as staging:
        staging = Path(staging)
        for given in args.files:
            name, _, path = given.rpartition("=")
            target = staging / (name or Path(path).name)
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(path, target)
        (staging / SCRIPT).write_text(bundle_script(args.esbuild, args.modules),
                                      encoding="utf-8")
        (staging / STYLE).write_text(bundle_style(args.esbuild, args.styles), encoding="utf-8")
        facts["site_pictures"] = write_pictures(facts, args.assets, staging)
        (staging / "form.json").write_text(json.dumps(facts, ensure_ascii=False, indent=1) + "\n",
                                           encoding="utf-8")
        contents = sorted(p.relative_to(staging).as_posix() for p in staging.rglob("*")
                          if p.is_file())
        digest = hashlib.sha256()
        for name in contents:
            digest.update(name.encode() + b"\0" + sha256((staging / name).read_bytes()))
        version = "%s/%s" % (VERSIONS, digest.hexdigest()[:16])
        (site / VERSIONS).mkdir(exist_ok=True)
        for old in (site / VERSIONS).iterdir():
            shutil.rmtree(old)
        staging.chmod(0o755)  # as the other folders: a server reads it
        staging.rename(site / version)
        staging.mkdir()  # for the temporary directory to remove

    folder = site / version
    read = lambda name: (name, (folder / name).read_bytes())  # noqa: E731
    write_page(args.page, site, version, facts, {
        "script": read(SCRIPT),
        "fonts": start_fonts(facts),
        "fetched": [read("tarpo.wasm"), read("form.json")],
        "style": read(STYLE),
    })

    write_worker(args.worker, site, version)


def write_worker(template, site, version):
    """The site's sw.js from `template`: it keeps the page and every file of
    the version's folder `version`, each but the page with its hash (a host
    may rewrite the page)."""
    folder = site / version
    contents = sorted(p.relative_to(folder).as_posix() for p in folder.rglob("*") if p.is_file())
    kept = [(PAGE, (site / "index.html").read_bytes())]
    kept += [("%s/%s" % (version, name), (folder / name).read_bytes()) for name in contents]
    optional = [name for name in OPTIONAL if (site / name).is_file()]
    worker = template.read_text(encoding="utf-8")
    whole = hashlib.sha256(b"".join(sha256(data) for _, data in kept))
    for name in optional:
        whole.update(sha256((site / name).read_bytes()))
    for mark, value in (("@VERSION@", json.dumps(whole.hexdigest()[:16])),
                        ("@FILES@", json.dumps([[name, "" if name == PAGE else integrity(data)]
                                                for name, data in kept], indent=1)),
                        ("@OPTIONAL@", json.dumps(optional)),
                        ("@FOLDER@", json.dumps(version))):
        if mark not in worker:
            sys.exit("%s: no %s" % (template, mark))
        worker = worker.replace(mark, value)
    (site / WORKER).write_text(worker, encoding="utf-8")


if __name__ == "__main__":
    main()
