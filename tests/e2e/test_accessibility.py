"""What a screen reader finds in the window, against what the screen shows."""

import itertools

import pytest

from game import PictureSet, announced, check, slid, wait_for

# The system's focus border in pixels, wider and higher than the form's bands.
FOCUS_BORDER = (5, 4)
CELL_ROLES = {"push button", "table cell", "button", "gridcell", "cell"}
ANNOUNCING = {"notification", "alert"}  # roles a reader says when they show
IMAGE_ROLES = {"image", "graphic"}


# Keys that take the focus into the board and slide the tile of the cell
# before the empty one: on it, by the board's last corner, the row's start
# and end, with Enter; or from the first cell, with Shift and the arrow that
# points from the tile to the gap.
SLIDES = {"enter": ("ctrl+End", "Home", "End", "Left", "Return"),
          "shift_arrow": ("ctrl+Home", "shift+Right")}


@pytest.mark.accessibility
@pytest.mark.parametrize("slide", SLIDES)
def test_accessible_names(player, facts, assets, slide):
    """What a screen reader finds, against what the screen shows: each
    cell named by its place and the tile it shows now, before the first
    game, after a deal, after slides and on the finished picture; the
    list named, the preview named by the set it shows; after a slide by
    keys (`slide`), the focus, with its ring, on the tile's new cell, and
    none from a click; the win announced at the slide that brings the tiles home,
    and not before. Where a checker reads the window (audit), it finds
    nothing amiss at start, dealt and finished."""
    f, texts = facts, facts.accessible
    set_index = 1
    pictures = PictureSet(f, assets, set_index, 1)
    game = player.start()
    wait_names(game, game.look().board(pictures), "names before the first game")
    check(control_name(game, f.picture_set_list_rect, {"list", "list box", "listbox"})
          == texts["list"], "the list is not named")
    check(control_names(game, f.preview_rect, IMAGE_ROLES) in ([], [""]),
          "the empty preview has a name")
    audited(player, game, "at start")

    game.key("Tab", "Down", "shift+Tab", "space")
    tiles, _ = game.wait_deal(pictures)
    wait_names(game, tiles, "names after the deal")
    wait_for(lambda: control_name(game, f.preview_rect, IMAGE_ROLES)
             == f.picture_sets[set_index]["name"], 10, "the preview is not named by its set")
    check(not announced(game), "announced before the win: %r" % announced(game))
    audited(player, game, "dealt")

    before = f.cells - 2
    game.key("Tab", "Tab", *SLIDES[slide])
    wait_for(lambda: read_cells(game)[1] == f.cells - 1, 10,
             "the focus did not follow the tile into the empty cell")
    names, _ = read_cells(game)
    # The ring inside the focused cell: the board shows no tile there.
    wait_for(lambda: game.look().board(pictures) is None, 10,
             "no focus ring in the focused cell")
    check(names[-1] == cell_name(facts, f.cells - 1, tiles[before]),
          "the focused cell is named %r" % names[-1])
    focused = game.look("accessible-focus")
    if "focus_ring" in player.features:
        game.key("Tab")  # to the button: the same board without the ring
        wait_for(lambda: game.look().board(pictures) is not None, 10,
                 "the focus ring stays on the board without its focus")
        check_focus_ring(game, f.cells - 1, focused, game.look())
        game.key("shift+Tab")
    game.key("Return", "Tab")  # back, and out of the board
    game.wait_board(pictures, lambda t: t == tiles, "the tile did not slide back")

    game.click_cells(f.solution(tiles))
    try:
        game.wait_board(pictures, lambda t: t == f.home(),
                        "the clicks did not bring the tiles home")
    except AssertionError as shown:  # is the game behind, or its drawing?
        raise AssertionError("%s; a screen reader reads %r"
                             % (shown, read_cells(game)[0])) from None
    check(read_cells(game)[1] is None, "a click gave the board the focus")
    wait_names(game, f.home(), "names at home")
    wait_for(lambda: announced(game) == [texts["solved"]], 10,
             "the win was not announced")

    game.click_cells([0])
    last = f.cell_origin(f.cells - 1)
    wait_for(lambda: game.look().region(*last, f.piece_side, f.piece_side)
             == b"".join(pictures.pieces[-1]), 10, "the last piece does not show")
    wait_names(game, f.home()[:-1] + [f.cells], "names of the finished picture")
    game.look("accessible-complete")
    audited(player, game, "finished")



@pytest.mark.screen_reader
def test_heard(player, facts, assets):
    """What a screen reader hears, in the order it hears it (over AT-SPI
    with Orca running, from tarpo.exe through MSAA's events): a deal, most of the game by mouse, and its last slides by
    keys, by Enter and by Shift with an arrow. After each of those, the
    focus comes to the tile's new cell when the cell has its new name
    already (a reader takes the name that it has read or been told of
    last), and Orca says that name; the win comes after the focus of the
    slide that brings the tiles home, where a reader does not stop it,
    and Orca says it once."""
    f, texts = facts, facts.accessible
    pictures = PictureSet(f, assets, 0, 1)
    orca = heard = None
    try:
        if player.bus:  # AT-SPI, and Orca on it
            from atspi import HeardEvents
            from orca import ScreenReader
            orca, heard = ScreenReader(player.x, player.bus), HeardEvents(player.bus)
        game = player.start()
        if not heard:  # tarpo.exe: MSAA's events, through the probe
            import msaa
            game.accessible_nodes()
            heard = msaa.HeardEvents(game.reader)
        game.press_button()
        tiles, _ = game.wait_deal(pictures)
        solution = f.solution(tiles)
        game.click_cells(solution[:-3])
        for cell in solution[:-3]:
            tiles = slid(tiles, cell)
        game.wait_board(pictures, lambda t: t == tiles, "the clicks did not play")
        names = heard.names(CELL_ROLES)
        # Into the board, to the first tile left to slide, and Enter; then
        # Shift and the arrow that points from each tile left to the gap.
        game.key("Tab", "Tab")
        arrows = {-f.side: "shift+Up", f.side: "shift+Down", -1: "shift+Left", 1: "shift+Right"}
        for n, cell in enumerate(solution[-3:]):
            if n == 0:
                game.key(*["Down"] * (cell // f.side) + ["Right"] * (cell % f.side))
                if orca:
                    orca.wait_said(cell_name(f, cell, tiles[cell]), 0, "Orca did not follow the focus")
            gap, said, since = tiles.index(0), len(orca.said()) if orca else 0, len(heard.events())
            typed = "Return" if n == 0 else arrows[gap - cell]
            game.key(typed)
            tiles = slid(tiles, cell)
            wanted = cell_name(f, gap, tiles[gap])
            focused = wait_for(lambda: focus_heard(heard, since, names), 10,
                               "no cell took the focus after %r" % typed)
            check(focused[1] == wanted, "after %r the focus came to a cell named %r, not %r; "
                  "the events: %s" % (typed, focused[1], wanted, told(heard.events()[since:])))
            if orca:
                orca.wait_said(wanted, said, "after %r Orca did not say %r" % (typed, wanted))
        win = wait_for(lambda: next((i for i, event in enumerate(heard.events())
                                     if i >= since and texts["solved"] in said_in(*event)), None),
                       10, "the win was not announced")
        check(win > focused[0], "the win came before the focus: %s"
              % told(heard.events()[since:]))
        if orca:
            said = orca.wait_said(texts["solved"], 0, "Orca did not say the win")
            game.key("Up")  # something more to say: the win is not said again before it
            above = gap - f.side
            orca.wait_said(cell_name(f, above, tiles[above]), said,
                           "Orca did not follow the focus after the win")
            check(sum(texts["solved"] in line for line in orca.said()) == 1,
                  "Orca said the win other than once: %r" % orca.said())
    finally:
        for listener in (heard, orca):
            if listener:
                listener.close()


def focus_heard(heard, since, names):
    """The last cell that gained the focus after the first `since` events:
    (where in the events, the name it had then), its name being the last
    that the events told of, or else the one in `names` read before; or
    None."""
    events = heard.events()
    gained = [i for i in range(since, len(events)) if events[i][0].endswith("focused")
              and events[i][2] == 1 and events[i][1].getRoleName() in CELL_ROLES]
    if not gained:
        return None
    at, source = gained[-1], events[gained[-1]][1]
    named = [value for kind, s, value in events[:at] if s == source and kind.endswith("name")]
    if named and isinstance(named[-1], str):
        return at, named[-1]
    # A node not read before, or whose program sends no name with the change
    # (Qt), is read afresh.
    return at, names[source] if source in names and not named else source.name


def told(events):
    """The events as a failure message tells them."""
    return "; ".join("%s of %r: %r" % (kind.rpartition(":")[2], source.name, value)
                     for kind, source, value in events)


def said_in(kind, source, value):
    """What an event gives a screen reader to say: text put in a live
    region, or the name of a notification that shows."""
    if ":insert" in kind:
        return value or ""
    if kind.endswith("showing") and value == 1 and source.getRoleName() in ANNOUNCING:
        return source.name
    return ""


def check_focus_ring(game, cell, focused, unfocused):
    """The focus ring of cell `cell` on the screen `focused`, against
    `unfocused`, the same board without it: every pixel it changes lies in
    the part of the cell that its neighbours leave in sight, its outer edge
    shows whole there on every side, and the pixels it changes by a contrast
    of 3:1 or more cover at least a 2-px perimeter of the cell (WCAG's focus
    appearance)."""
    f, ring = game.facts, game.facts.focus_ring
    ox, oy = f.cell_origin(cell)
    left, top, width, height = ring["framed"]
    right, bottom = ox + left + width - 1, oy + top + height - 1

    def inside(x, y):
        return ox + left <= x <= right and oy + top <= y <= bottom
    around = range(-f.frame_width, f.framed_side + f.frame_width)
    contrasting = 0
    for y in (oy + d for d in around):
        for x in (ox + d for d in around):
            now, before = focused.pixel(x, y), unfocused.pixel(x, y)
            check(now == before or inside(x, y),
                  "the ring of cell %d changed (%d, %d), out of the cell's sight" % (cell, x, y))
            if inside(x, y) and (x in (ox + left, right) or y in (oy + top, bottom)):
                check(now == tuple(ring["outer"]),
                      "the ring of cell %d shows %r at (%d, %d)" % (cell, now, x, y))
            contrasting += contrast(now, before) >= 3
    side, line = f.cell_pitch, 2
    needed = side * side - (side - 2 * line) ** 2
    check(contrasting >= needed, "the ring of cell %d changes %d pixels by 3:1, not %d"
          % (cell, contrasting, needed))


def contrast(a, b):
    """WCAG's contrast ratio of two sRGB colours."""
    def luminance(rgb):
        c = [v / 255 for v in rgb]
        c = [v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4 for v in c]
        return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]
    la, lb = sorted((luminance(a), luminance(b)))
    return (lb + 0.05) / (la + 0.05)


def cell_name(facts, cell, tile):
    """The name a cell must have while it shows tile `tile` (0 nothing,
    cells for the finished picture's last piece)."""
    f, texts = facts, facts.accessible
    what = (texts["nothing"] if tile == 0 else texts["last_piece"] if tile == f.cells
            else texts["tile"].replace("{tile}", str(tile)))
    return (texts["cell_name"].replace("{row}", str(cell // f.side + 1))
            .replace("{column}", str(cell % f.side + 1)).replace("{what}", what))


def read_cells(game):
    """The board's cells as a screen reader finds them: the nodes of a
    cell's role that lie on the board, which must be sixteen, in reading
    order, each over its cell. Returns (names, the focused one or None)."""
    f = game.facts
    (left, top), span = f.board_origin, f.cell_pitch * f.side
    cells = [(name, focused, (x + w / 2, y + h / 2))
             for role, name, showing, focused, (x, y, w, h) in game.accessible_nodes()
             if role in CELL_ROLES and left <= x + w / 2 < left + span
             and top <= y + h / 2 < top + span]
    check(len(cells) == f.cells, "%d cells found by a screen reader" % len(cells))
    for i, (name, _, (x, y)) in enumerate(cells):
        ox, oy = f.cell_origin(i)
        check(ox <= x < ox + f.cell_pitch and oy <= y < oy + f.cell_pitch,
              "the screen reader's cell %d (%r) lies at %r" % (i, name, (x, y)))
    focused = [i for i, (_, is_focused, _) in enumerate(cells) if is_focused]
    return [name for name, _, _ in cells], (focused[0] if focused else None)


def wait_names(game, tiles, message):
    wanted = [cell_name(game.facts, i, t) for i, t in enumerate(tiles)]
    seen = [None]

    def named():
        try:
            seen[0] = read_cells(game)[0]
        except AssertionError as problem:  # the tree may still be growing
            seen[0] = str(problem)
        return seen[0] == wanted
    try:
        wait_for(named, 10, "")
    except AssertionError:
        raise AssertionError("%s: %r, not %r" % (message, seen[0], wanted)) from None


def control_names(game, rect, roles):
    left, top, width, height = rect
    return [name for role, name, showing, _, (x, y, w, h) in game.accessible_nodes()
            if role in roles and showing and left <= x + w / 2 < left + width
            and top <= y + h / 2 < top + height]


def control_name(game, rect, roles):
    names = control_names(game, rect, roles)
    check(len(names) == 1, "%d nodes of %s at %r" % (len(names), roles, rect))
    return names[0]


def audited(player, game, when):
    if "audit" in player.features:
        found = game.audit()
        check(not found, "%s: %s" % (when, "\n".join(found)))


@pytest.mark.focus_border
def test_system_focus_border(player, facts):
    """The system's focus border set wider and higher than the form's ring
    bands: each band of the ring on the focused cell is as wide as the
    system says on the left and right, and as high at the top and bottom."""
    f, ring = facts, facts.focus_ring
    width, height = FOCUS_BORDER
    with player.program.focus_border(player.x, width, height):
        game = player.start()
        game.key("Tab", "Tab")  # the button, the list, the board's first cell
        left, top, ring_width, ring_height = ring["framed"]
        ox, oy = f.cell_origin(0)
        middle_x, middle_y = ox + left + ring_width // 2, oy + top + ring_height // 2

        def bands():
            view = game.look()
            def run(points):
                colours = [view.pixel(x, y) for x, y in points]
                return [len(list(group)) for _, group in itertools.groupby(colours)][:2]
            return {"left": run((x, middle_y) for x in range(ox + left, middle_x)),
                    "top": run((middle_x, y) for y in range(oy + top, middle_y))}
        wanted = {"left": [width, width], "top": [height, height]}
        wait_for(lambda: bands() == wanted, 10,
                 "the ring's bands are not the system's focus border")
        game.look("system-focus-border")
        game.end()
