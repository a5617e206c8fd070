"""What only the page has: loading, themes, faces, the tab; offline play, a
deploy from one version to the next, hosts, networks and files that go
wrong."""

import json
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

import pytest

from game import PictureSet, announced, check, wait_for
from web import SERVICE_WORKER_ACTIVE, STARTED, WEB_SOURCES, notice

NOTICE_S = 10  # a page that cannot start says so within this
# The page's own setting of how long a start-up file may make no progress
# before the page names it (15 s unless the address says otherwise).
STALL_S = 2
STALL_QUERY = "?stall=%d" % STALL_S
STALL_NOTICE_S = STALL_S + 8
# A download that keeps coming, slow enough that a picture takes longer
# than STALL_S, in bytes a second.
SLOW_RATE = 200000 // 8
# A host that sends no Cache-Control with files deployed a month ago, and
# one that asks for every file to be revalidated.
DEPLOY_HOSTS = ({"aged": True}, {"cache_control": "no-cache"})
# A stand-in for the name of the site's first picture.
PICTURE = "picture"
MISSING = {"status": 404}
HUNG = {"hang": True}
# What a host's beacon would set, were it to run.
BEACON = "hostBeacon"


def with_a_beacon(page):
    return page.replace(b"</body>", b"<script>window.%s = 1</script>"
                        b"<div id=\"banner\">Free hosting</div></body>" % BEACON.encode())


def minified(page):
    return re.sub(rb">\s+<", b"><", re.sub(rb"<!--.*?-->", b"", page, flags=re.S))


def cut_short(data):
    return data[:len(data) // 2]


def one_byte_changed(data):
    middle = len(data) // 2
    return data[:middle] + bytes([data[middle] ^ 0xFF]) + data[middle + 1:]


def another_shape(data):
    facts = json.loads(data)
    facts["cell_rects"] = facts.pop("cell_rects")["framed"]
    return json.dumps(facts).encode()


def another_size(picture):
    """The picture's left half, a whole WebP picture of its own."""
    return subprocess.run(["convert", "webp:-", "-crop", "50%x100%+0+0", "+repage",
                           "-define", "webp:lossless=true", "webp:-"],
                          input=picture, stdout=subprocess.PIPE, check=True).stdout


# Each way a host or a file goes wrong: what the host does, and the notice
# the page shows with the file it names; with no notice, the game starts and
# is kept for offline play all the same.
BAD_HOSTS = {
    "main.js missing": ({"faults": {"main.js": MISSING}}, ("#unstarted", "main.js")),
    "main.js as text/plain": ({"faults": {"main.js": {"type": "text/plain"}}},
                              ("#unstarted", "main.js")),
    "main.js cut short": ({"faults": {"main.js": {"body": cut_short}}}, ("#unstarted", "main.js")),
    "a sub-path opened without its slash": ({"prefix": "/tarpo/", "path": "/tarpo"},
                                            ("#unstarted", "main.js")),
    "opened from the file system": ({"file": True}, ("#unstarted", "main.js")),
    "style.css missing": ({"faults": {"style.css": MISSING}}, ("#error", "style.css")),
    "tarpo.wasm broken": ({"faults": {"tarpo.wasm": {"body": one_byte_changed}}},
                          ("#error", "tarpo.wasm")),
    "form.json of another shape": ({"faults": {"form.json": {"body": another_shape}}},
                                   ("#error", "form.json")),
    "a picture cut short": ({"faults": {PICTURE: {"body": cut_short}}}, ("#error", PICTURE)),
    "a picture of another size": ({"faults": {PICTURE: {"body": another_size}}},
                                  ("#error", PICTURE)),
    "manifest and icon missing": ({"faults": {"manifest.webmanifest": MISSING,
                                              "tarpo.svg": MISSING}}, None),
}
# Hosts that serve the site as they are set up, and do not break it: each is
# kept for offline play and starts offline.
KEPT_ON_HOSTS = {
    "Vary: Origin": {"faults": {"*": {"headers": {"Vary": "Origin"}}}},
    "Vary: Accept-Encoding, User-Agent": {
        "faults": {"*": {"headers": {"Vary": "Accept-Encoding, User-Agent"}}}},
    "Vary: Accept on the pictures": {"faults": {"*.webp": {"headers": {"Vary": "Accept"}}}},
    "a beacon and a banner added to the page": {"faults": {"index.html": {"body": with_a_beacon}}},
    "the page minified": {"faults": {"index.html": {"body": minified}}},
    "the folder redirected to index.html": {"redirect": True},
}
# Slides to and fro in a long game kept in the tab.
LONG_GAME_SLIDES = 100
# The game the page keeps in the tab, under its key for the site's folder:
# the record as text, or null.
KEPT_RECORD = "sessionStorage.getItem('tarpo-position ' + new URL('./', location.href).pathname)"
PLANTED = "sessionStorage.setItem('tarpo-position ' + new URL('./', location.href).pathname, %s)"


def swapped(position):
    """The position with its first two tiles swapped: one play cannot reach."""
    first, second = [i for i, tile in enumerate(position[:16]) if tile][:2]
    position = list(position)
    position[first], position[second] = position[second], position[first]
    return position


# Kept records of a dealt game of the second set, as a reload may find them
# wrong: the page drops each whole.
BAD_RECORDS = {
    "without its chosen set": lambda r: {"position": r["position"]},
    "a set the list does not have": lambda r: dict(r, chosen=99),
    "a position cut short": lambda r: dict(r, position=r["position"][:-1]),
    "two tiles swapped": lambda r: dict(r, position=swapped(r["position"])),
}


def named(player, file):
    """The file's name, the site's first picture's for PICTURE."""
    return os.path.basename(player.pictures()[0]) if file == PICTURE else file


def board(game, view=None):
    """The board as the screen, or `view` of it, shows it."""
    f = game.facts
    span = f.cell_pitch * (f.side - 1) + f.framed_side
    return (view or game.look()).region(*f.board_origin, span, span)


def deal(game, assets, chosen, message="no deal"):
    """"новая игра" pressed, and its deal of the chosen set waited for: the
    cells that solve it, in the order to click them."""
    game.press_button()
    return game.facts.solution(game.wait_deal(PictureSet(game.facts, assets, chosen, 1), message)[0])


def wait_notice(player, game, selector, timeout):
    """The text of the notice once it shows."""
    game.wait(notice(selector), "no %s shown" % selector, timeout)
    player.save_screen("notice-" + selector.strip("#"))
    return game.eval(notice(selector))


@pytest.mark.page
def test_input_during_loading(player, facts, assets):
    """While the pictures load, the new game is asked for with the first
    set chosen and then the second set is chosen: the deal is of the
    first set, the second stays chosen for the next game."""
    f = facts
    player.site.reset(faults={"*.webp": HUNG})  # the pictures held back
    game = player.start(ready=False)
    game.wait_shown()
    game.press_button()
    game.click(*game.list_entry(1))
    player.site.released.set()
    game.wait_deal(PictureSet(f, assets, 0, 1), "no deal of the first set")
    deal(game, assets, 1, "the second set, chosen while loading, is not dealt next")


@pytest.mark.page
def test_forced_colours(player, facts, assets):
    """In a high-contrast theme the chosen entry of the list stands out
    from the others, and the button and the list keep their edges: a line
    of another colour than the background just outside, all the way along
    each side."""
    f = facts
    game = player.start()
    game("forcedColors", active=True)
    right = f.picture_set_list_rect[0] + f.picture_set_list_rect[2] - 4  # beyond the entries' text

    def stands_out():
        view = game.look()
        return view.pixel(right, game.list_entry(0)[1]) != view.pixel(right, game.list_entry(1)[1])
    wait_for(stands_out, 10, "the chosen entry looks like the others in forced colours")

    def edged(view, rect):
        left, top, width, height = rect
        background = view.pixel(left - 2, top + height // 2)
        sides = [[(x, y) for x in range(left + 2, left + width - 2)] for y in (top, top + height - 1)]
        sides += [[(x, y) for y in range(top + 2, top + height - 2)] for x in (left, left + width - 1)]
        return all(view.pixel(*p) != background for side in sides for p in side)
    for name, rect in [("button", f.new_game_button_rect), ("list", f.picture_set_list_rect)]:
        wait_for(lambda: edged(game.look(), rect), 10, "the %s has no edge in forced colours" % name)
    game.look("forced-colours")


@pytest.mark.page
def test_names_and_languages(player, facts):
    """The board's grid has its name, and a screen reader reads each text of
    the form in the language the form description gives it ("Exit" in the
    open menu)."""
    f = facts
    game = player.start()
    game.open_menu("mnemonic")
    found = [(n["role"], n["name"], n["lang"]) for n in game("accessibilityTree", languages=True)
             if n["lang"] is not None]
    check([name for role, name, _ in found if role == "grid"] == [f.accessible["board"]],
          "the grid is not named %r: %r" % (f.accessible["board"], found))
    for text in [f.new_game_caption, f.motto_text, f.exit_caption] + f.menu_captions:
        name = " ".join(text.replace("&", "").split())
        wanted = f.text_languages.get(text, f.language)
        langs = {lang for _, shown, lang in found if shown == name}
        check(langs == {wanted}, "%r is read as %r, not %r" % (name, langs, wanted))
    game.key("Escape")


@pytest.mark.page
def test_shipped_font(player, facts, assets):
    """The form's text is drawn in the face the page ships, whatever the
    system has."""
    game = player.start()
    selectors = ["#newGameButton", "#motto", "#pictureSetList [role=option]", "#menubar button"]
    faces = wait_for(lambda: (lambda d: d if all(
        fonts and all(face["isCustomFont"] for face in fonts) for fonts in d) else None)(
        game("drawnFonts", selectors=selectors)), 10,
        "text drawn in a face of the system: %r" % (game("drawnFonts", selectors=selectors),))
    names = {face["familyName"] for fonts in faces for face in fonts}
    check(names == {"DejaVu Sans"}, "the form's text is drawn in %r" % names)


@pytest.mark.page
def test_reload_keeps_the_game(player, facts, assets):
    """A reload shows the game as it was, to the pixel, in each state a
    player leaves it in: the board, the preview, the chosen set, and does
    not say the win again. A new tab starts afresh."""
    f = facts
    right = f.picture_set_list_rect[0] + f.picture_set_list_rect[2] - 4  # beyond the entries' text

    def shown(game):
        view = game.look()
        return (board(game, view), view.region(*f.preview_rect),
                [view.pixel(right, game.list_entry(i)[1]) for i in range(len(f.picture_sets))])

    def slid(game):  # a deal of the second set, a slide, the first set chosen again
        game.click(*game.list_entry(1))
        slide = deal(game, assets, 1)[0]
        dealt_record = game.eval(KEPT_RECORD)
        # The tile slid to and fro a hundred times, and ends one slide on:
        # what is kept is the position, not the moves that led to it.
        game.click_cells([slide] + [f.cells - 1, slide] * LONG_GAME_SLIDES)
        wait_for(lambda: game.eval(KEPT_RECORD) != dealt_record, 30, "no slide kept")
        check(len(game.eval(KEPT_RECORD)) == len(dealt_record),
              "the kept record grows with the moves")
        game.click(*game.list_entry(0))

    def finished(game):
        game.click_cells(deal(game, assets, 0) + [0])

    states = {"click_before_first_game": lambda game: game.click_cells([5]),
              "slid": slid, "finished": finished}
    for name, play in states.items():
        game = player.start()
        fresh = shown(game)
        play(game)
        # Once the input has been handled: the same twice in a row.
        before = wait_for(lambda: (lambda a, b: a if a == b and a != fresh else None)(
            shown(game), shown(game)), 30, "%s: nothing changed" % name)
        # The win is said when it happens, not again by the reload.
        heard = name == "finished" and "accessibility" in player.features
        if heard:
            wait_for(lambda: announced(game) == [f.accessible["solved"]], 10,
                     "the win was not announced")
        game.reload()
        wait_for(lambda: shown(game) == before, 30,
                 "%s: the reloaded page does not show the game as it was" % name)
        if heard:
            check(announced(game) == [], "the reload announced the win again")
        game.look("reloaded-" + name)
        game.pictures_in()
        game("newTab", path="/")
        game.wait_ready()
        check(shown(game) == fresh, "%s: a new tab does not start afresh" % name)
        game.end()


@pytest.mark.page
@pytest.mark.parametrize("case", BAD_RECORDS, ids=lambda case: case.replace(" ", "_"))
def test_reload_drops_a_bad_record(player, assets, case):
    """A kept record that is not whole, or holds a position play cannot
    reach: the reload drops it whole and starts afresh, the board blank,
    and "новая игра" deals a game of the first set."""
    game = player.start()
    blank = board(game)
    game.click(*game.list_entry(1))
    deal(game, assets, 1)
    record = BAD_RECORDS[case](json.loads(game.eval(KEPT_RECORD)))
    game.eval(PLANTED % json.dumps(json.dumps(record)))
    game.reload()
    game.wait(KEPT_RECORD + " === null", "the record %s is kept" % case)
    check(board(game) == blank, "the record %s shows a board" % case)
    deal(game, assets, 0, "no deal of the first set after the record %s" % case)


@pytest.mark.page
def test_exit_ends_queued_input(player):
    """"новая игра" pressed while the pictures are on their way, then
    "Выход" from the menu: the deal waiting its turn neither runs on the
    ended page nor is kept, and "Играть снова" starts afresh, the board
    blank. A page before the game's in the tab keeps it from closing."""
    player.site.reset(faults={"*.webp": HUNG})  # the pictures held back
    game = player.start(ready=False, url=(player.site.origin, "/manifest.webmanifest"))
    game("goto", url=player.site.origin + player.site.prefix)
    game.wait_ready()
    blank = board(game)
    game.press_button()
    game.exit("menu_mouse")
    check(not game.closed(), "the page closed, with a page before it in the tab")
    player.site.released.set()
    # The page is kept for offline play once the pictures are in, after the
    # input that waited for them.
    game.wait(SERVICE_WORKER_ACTIVE, "no service worker took the site")
    game.click_box("#restart")
    game.wait_ready()
    check(game.eval(KEPT_RECORD + " === null"), "the deal asked for before the exit is kept")
    check(board(game) == blank, "\"Играть снова\" does not start afresh")


@pytest.mark.offline
def test_silent_network(player, facts):
    """A returning player on a network that connects but never answers
    starts from what was kept, at once: after a reload, and from a link
    whose address carries a query."""
    game = player.start(kept=True)
    player.site.reset(faults={"*": HUNG})
    game.reload()
    motto_colour(game, [facts.motto_colour])
    game.follow_link("?from=a-link")
    motto_colour(game, [facts.motto_colour])


@pytest.mark.deploy
@pytest.mark.parametrize("host", DEPLOY_HOSTS, ids=["aged", "no-cache"])
def test_deploy(player, facts, assets, host, tmp_path):
    """A returning player after a deploy: version A visited and kept for
    offline play, then version B, a rebuild with the motto in another
    colour, served in its place, by a host that sends no Cache-Control
    (its files a month old) and by one that asks for revalidation. At
    the latest the second load shows B, and every file it loaded is B's.
    A game dealt and slid in A goes on in B as it was."""
    f = facts
    player.site.reset(**host)
    game = player.start(kept=True)
    check(motto_colour(game, [f.motto_colour]), "version A's motto is not shown")
    solution = deal(game, assets, 0)
    dealt = board(game)
    game.click_cells(solution[:1])
    played = wait_for(lambda: (lambda a, b: a if a == b != dealt else None)(board(game), board(game)),
                      30, "the slide is not shown")
    kept = game.eval("caches.keys()")
    colour, files = deploy(player, assets, tmp_path)
    versions = [f.motto_colour, colour]
    game.reload()
    if motto_colour(game, versions) != colour:
        game.wait_settled(kept)
        game.reload()
    check(motto_colour(game, versions) == colour,
          "the second load after a deploy does not show the new version")
    stray = set(game.eval("performance.getEntriesByType('resource')"
                          ".map(e => new URL(e.name).pathname)")) - set(files)
    check(not stray, "files of another version loaded: %r" % sorted(stray))
    wait_for(lambda: board(game) == played, 30, "the game played in A is not shown in B")
    game.look("deployed")


# The sites deploy() has built in this run, by shade: each is built once.
BUILT = {}


def deploy(player, assets, work, shade=255):
    """Rebuilds the site with a changed source, the motto's colour (each
    channel taken from `shade`), by the site's own writer, and serves that
    version from now on. Returns the new colour and the paths of every file
    of the new version."""
    folder = player.version_dir(player.root)
    with open(os.path.join(folder, "form.json"), encoding="utf-8") as f:
        facts = json.load(f)
    colour = [abs(shade - c) for c in facts["motto_colour"]]
    facts["motto_colour"] = colour
    site, changed = os.path.join(work, "site"), os.path.join(work, "form.json")
    if shade in BUILT:  # the same rebuild as before
        shutil.copytree(BUILT[shade], site)
    else:
        shutil.copytree(player.root, site)
        with open(changed, "w", encoding="utf-8") as f:
            json.dump(facts, f, ensure_ascii=False)
        # The version's files as they are, its script and style sheet as the
        # writer's only module and sheet, but what the writer makes itself.
        script, style = os.path.join(folder, "main.js"), os.path.join(folder, "style.css")
        made = {"form.json", "main.js", "style.css"} | set(player.pictures())
        files = ["%s=%s" % (path.relative_to(folder).as_posix(), path)
                 for path in sorted(Path(folder).rglob("*"))
                 if path.is_file() and path.relative_to(folder).as_posix() not in made]
        subprocess.run([sys.executable, os.path.join(WEB_SOURCES, "make_site.py"),
                        "--facts", changed, "--assets", assets,
                        "--page", os.path.join(WEB_SOURCES, "index.html"),
                        "--worker", os.path.join(WEB_SOURCES, "sw.js.in"), "--site", site,
                        "--files", *files, "--styles", style, "--modules", script], check=True)
        BUILT[shade] = site
    player.site.root = site
    return colour, ["/" + p.relative_to(site).as_posix() for p in Path(site).rglob("*") if p.is_file()]


def motto_colour(game, colours):
    """The one of `colours` the motto shows in, once it shows in one."""
    left, top, width, height = game.facts.motto_rect

    def shown():
        view = game.look()
        inks = {view.pixel(x, y) for y in range(top, top + height) for x in range(left, left + width)}
        return next((list(c) for c in colours if tuple(c) in inks), None)
    return wait_for(shown, 10, "the motto shows in none of %r" % (colours,))


@pytest.mark.hosts
@pytest.mark.parametrize("case", BAD_HOSTS, ids=lambda case: case.replace(" ", "_"))
def test_bad_host(player, case):
    """The page names what is amiss within NOTICE_S, in Russian, or plays
    on where it need not stop."""
    how, said = BAD_HOSTS[case]
    faults = {named(player, file): fault for file, fault in how.get("faults", {}).items()}
    how = dict(how, faults=faults)
    url = (("file://", os.path.join(player.root, "index.html")) if how.pop("file", False)
           else (player.site.origin, how.pop("path")) if "path" in how else None)
    player.site.reset(**how)
    game = player.start(ready=False, url=url)
    if said is None:
        game.wait(STARTED, "the game did not start and get kept for offline play")
        return
    selector, file = said[0], named(player, said[1])
    text = wait_notice(player, game, selector, NOTICE_S)
    check(file in text and re.search("[а-яё]", text)
          and not re.search("undefined|Error|Cannot", text),
          "the page does not name %s in Russian: %r" % (file, text))
    game.problems()  # the fault itself is what this case asks for


@pytest.mark.parametrize("file", [pytest.param("style.css", marks=pytest.mark.start_up)]
                         + [pytest.param(file, marks=pytest.mark.hosts)
                            for file in ("tarpo.wasm", "form.json", PICTURE)])
def test_hung_download(player, file):
    """A start-up file that hangs on a first visit: after the page's stall
    time without progress (shortened by its address) the page names it,
    not its script, and goes on once it comes, with no word of a missing
    file. Every engine plays the style sheet coming after the script has
    started, whose wait holds back the page's load."""
    name = named(player, file)
    player.site.reset(faults={name: HUNG})
    game = player.start(ready=False, url=(player.site.origin, "/" + STALL_QUERY), loaded=False)
    text = wait_notice(player, game, "#waiting", STALL_NOTICE_S)
    check(name in text and re.search("[а-яё]", text),
          "the page waits for %r, not for %s" % (text, name))
    check(not game.eval(notice("#unstarted")), "the page says its script did not run")
    player.site.released.set()
    game.wait(STARTED, "the page did not go on once %s came" % name)
    game.wait("!" + notice("#waiting"), "the notice stays")
    check(not game.eval(notice("#error")), "%s came late: %r" % (name, game.eval(notice("#error"))))


@pytest.mark.hosts
def test_slow_download(player):
    """A download that keeps coming, if slowly, starts without a notice
    although a picture takes longer than the stall time."""
    player.site.reset(rate=SLOW_RATE)
    game = player.start(ready=False, url=(player.site.origin, "/" + STALL_QUERY))
    game.wait(STARTED, "the page did not start at %d bytes a second" % SLOW_RATE, 120)
    check(not game.eval(notice("#waiting")), "a waiting notice on a slow download")


@pytest.mark.offline
@pytest.mark.parametrize("case", KEPT_ON_HOSTS, ids=lambda case: re.sub(r"\W+", "_", case))
def test_kept_on_a_host(player, case):
    """The page is kept for offline play and starts offline whatever Vary
    a host sends, when it rewrites the page and when it redirects the
    page's folder; a script the host adds to the page does not run."""
    player.site.reset(**KEPT_ON_HOSTS[case])
    game = player.start(offline=True)
    if "beacon" in case:
        check(game.eval("!!document.getElementById('banner')"), "not the host's page offline")
        check(game.eval("window.%s === undefined" % BEACON), "the host's script ran")
        game.problems()  # the policy's refusal of the host's script


def version_complete(player, root=None):
    """A JavaScript expression: a cache holds the page and every file of
    the version under `root`."""
    folder = player.version_dir(root)
    count = 1 + sum(len(files) for _, _, files in os.walk(folder))
    return ("caches.keys().then((names) => Promise.all(names.map((n) => caches.open(n)"
            ".then((c) => c.keys())))).then((kept) => kept.some((k) => k.length >= %d))" % count)


@pytest.mark.offline
def test_lost_cache_refilled(player):
    """The site's cache deleted while its worker stays (storage short, or
    another app of the origin clearing caches): the next start keeps the
    site again, and it starts offline."""
    game = player.start(kept=True)
    game.wait(version_complete(player), "the site was not kept")
    game.eval("caches.keys().then((names) => Promise.all(names.map((n) => caches.delete(n))))")
    game.reload()
    game.wait(version_complete(player), "the deleted cache was not filled again")
    game.reload_offline()


@pytest.mark.offline
def test_two_copies_on_one_origin(player, assets, tmp_path):
    """Two copies of the site on one origin, /tarpo/ and /tarpo-beta/: a
    game dealt in one is not the other's in the same tab, and deploys of
    the one leave the other kept for offline play."""
    origin = tmp_path / "origin"
    shutil.copytree(player.root, origin / "tarpo")
    deploy(player, assets, tmp_path / "beta")
    shutil.copytree(tmp_path / "beta" / "site", origin / "tarpo-beta")
    player.site.root = str(origin)

    def visit(game, copy):
        game.pictures_in()
        game("goto", url=player.site.origin + copy)
        game.wait_shown()
        game.wait(SERVICE_WORKER_ACTIVE, "no service worker took %s" % copy)

    game = player.start(url=(player.site.origin, "/tarpo/"), kept=True)
    game.wait(version_complete(player, str(origin / "tarpo")), "/tarpo/ was not kept")
    fresh = board(game)
    game.press_button()
    wait_for(lambda: board(game) != fresh, 30, "the button dealt no game")
    visit(game, "/tarpo-beta/")
    game.wait_ready("/tarpo-beta/ did not show its window")
    check(board(game) == fresh, "/tarpo-beta/ shows the game dealt in /tarpo/")
    kept = game.eval("caches.keys()")
    deploy(player, assets, tmp_path / "beta-2", shade=128)
    shutil.rmtree(origin / "tarpo-beta")
    shutil.copytree(tmp_path / "beta-2" / "site", origin / "tarpo-beta")
    player.site.root = str(origin)
    visit(game, "/tarpo-beta/")
    game.wait_settled(kept)
    visit(game, "/tarpo/")
    game.pictures_in()
    player.site.offline = True
    game("reload")
    game.wait_ready("/tarpo/ did not show its window offline")


@pytest.mark.start_up
def test_no_waiting_after_a_failure(player):
    """The style sheet missing while the game hangs: the page says the
    sheet is missing, and from then on promises no start, even after the
    page's stall time has passed twice over."""
    player.site.reset(faults={"style.css": MISSING, "tarpo.wasm": HUNG})
    game = player.start(ready=False, url=(player.site.origin, "/" + STALL_QUERY))
    text = wait_notice(player, game, "#error", NOTICE_S)
    check("style.css" in text, "the page does not name style.css: %r" % text)
    with pytest.raises(AssertionError):
        game.wait(notice("#waiting"), "", 2 * STALL_S + 1)
    check(game.eval(notice("#error")) == text, "the error went")
    game.problems()  # the missing sheet is what this case asks for


@pytest.mark.deploy
@pytest.mark.page
def test_bold_face_after_two_deploys(player, assets, tmp_path):
    """A tab left open across two deploys, which took away its version's
    folder and cache: its first message box's title is drawn in the page's
    bold face all the same. The host asks for every file to be
    revalidated: the browser's HTTP cache does not stand in for the
    folder."""
    f = player.facts
    player.site.reset(cache_control="no-cache")
    game = player.start(kept=True)
    update = ("navigator.serviceWorker.getRegistration().then((r) => r.update())"
              ".then(() => true, () => true)")
    for work, shade in (("b", 255), ("c", 128)):
        kept = game.eval("caches.keys()")
        deploy(player, assets, tmp_path / work, shade)
        game.eval(update)
        game.wait_settled(kept)
    game.click_menu(1)
    game.wait_box(f.help_title, f.help_text)
    faces = game("drawnFonts", selectors=["#msgbox-title"])[0]
    check(faces and all(face["isCustomFont"] and face["familyName"] == "DejaVu Sans"
                        for face in faces), "the box's title is drawn in %r" % faces)
