"""The end-to-end tests' set-up: each test runs once per program under test
(--program, repeatable: qt, wine, web-chromium, web-firefox, web-webkit) that
has what its markers ask for, and a test that takes `ratio` once per display
scale of the program. A case is named by what it holds:
test_whole_game[wine-x1.25], test_exit[web-firefox-menu_mouse]."""

import os

import pytest

from game import Facts
from web import ENGINES, WebBrowser
from xprograms import QtProgram, WineProgram, XDesktop
from xsession import SCREEN

# Too small for the window at scale 2, or at 1.25 with a title bar.
SMALL_SCREEN = (640, 480)
FEATURES = {"qt": QtProgram.features | {"screen_reader"}, "wine": WineProgram.features,
            **{name: frozenset(engine[1]) for name, engine in ENGINES.items()}}
SCALES = dict.fromkeys(("qt", "wine"), XDesktop.hidpi_scales)
SCALES.update((name, engine[2]) for name, engine in ENGINES.items())
MARKERS = {
    "title_bar": "the window has a title bar whose close button ends the program",
    "small_screen": "the program picks a scale at which its window fits a small screen",
    "desktop_font": "the program runs with a desktop's platform theme and font",
    "keyboard_layout": "the player can type on a Russian keyboard layout",
    "board_keys": "the board is played by keys too",
    "accessibility": "a screen reader reads the window",
    "focus_border": "the system sets how wide a focus border is drawn",
    "screen_reader": "a screen reader hears the window's events in order (Orca over AT-SPI)",
    "missing_picture": "a build can be broken by a picture missing",
    "touch": "the game is played by touch on a phone",
    "rapid": "bursts of input and many deals (where input is cheapest to send)",
    "offline": "the page plays offline once visited",
    "page": "what only a browser has: loading, themes, faces, the tab",
    "deploy": "a new version is deployed over the one a player has",
    "hosts": "hosts, networks and files that go wrong",
    "start_up": "what the page says while it starts and after it failed, in every engine",
    "wayland": "the Qt build as a native Wayland client",
    "no_display": "the Qt build started without a usable display",
}
OPTIONS = ("facts", "solutions", "assets", "shots", "qt", "wine", "wine-prefix", "msaa-probe",
           "site")


def pytest_addoption(parser):
    parser.addoption("--program", action="append", default=[], choices=sorted(FEATURES))
    for name in OPTIONS:
        parser.addoption("--" + name)


def pytest_configure(config):
    for name, text in MARKERS.items():
        config.addinivalue_line("markers", "%s: %s" % (name, text))
    # pyatspi calls functions of libatspi that it marks deprecated.
    config.addinivalue_line("filterwarnings", "ignore:Atspi\\.:DeprecationWarning")


def pytest_generate_tests(metafunc):
    programs = metafunc.config.getoption("program")
    if "ratio" in metafunc.fixturenames:
        cases = [(p, r) for p in programs for r in SCALES[p]]
        metafunc.parametrize("program,ratio", cases, ids=["%s-x%g" % c for c in cases])
    elif "program" in metafunc.fixturenames:
        metafunc.parametrize("program", programs)


def pytest_collection_modifyitems(config, items):
    """Leaves out each case whose program lacks what the test is marked for."""
    def fits(item):
        program = getattr(item, "callspec", None) and item.callspec.params.get("program")
        return program in FEATURES and all(m.name in FEATURES[program] for m in item.iter_markers() if m.name in MARKERS)
    kept = [item for item in items if fits(item)]
    config.hook.pytest_deselected(items=[item for item in items if item not in kept])
    items[:] = kept


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    if call.when == "call":
        item.failed = outcome.get_result().failed


def option(config, name):
    value = config.getoption(name.replace("-", "_"))
    if value is None:
        raise pytest.UsageError("--%s is needed" % name)
    return os.path.abspath(value)


@pytest.fixture(scope="session")
def facts(pytestconfig):
    return Facts(option(pytestconfig, "facts"), option(pytestconfig, "solutions"))


@pytest.fixture(scope="session")
def assets(pytestconfig):
    return option(pytestconfig, "assets")


@pytest.fixture(scope="session")
def shots(pytestconfig):
    folder = option(pytestconfig, "shots")
    os.makedirs(folder, exist_ok=True)
    return folder


@pytest.fixture
def exe(pytestconfig, program):
    return option(pytestconfig, program)


@pytest.fixture(scope="session")
def players(pytestconfig, facts, shots, assets):
    """A player by program and screen, started when first asked for and kept
    for the session: one X session, one host and browser for all its tests."""
    started = {}

    def get(program, small_screen=False, accessibility=False, screen_reader=False):
        key = (program, small_screen, accessibility, screen_reader)
        if key not in started:
            def given(*names):
                return [option(pytestconfig, name) for name in names]
            screen = SMALL_SCREEN if small_screen else SCREEN
            if program == "qt":
                started[key] = XDesktop(QtProgram(*given("qt")), facts, shots, screen, accessibility)
            elif program == "wine":
                started[key] = XDesktop(WineProgram(*given("wine", "wine-prefix", "msaa-probe")),
                                        facts, shots, screen)
            else:
                started[key] = WebBrowser(*given("site"), facts, shots, assets, program,
                                          screen_reader)
        return started[key]
    yield get
    for player in started.values():
        player.end()


@pytest.fixture
def player(request, program, players):
    """The program's player for one test. After it: every game ended, and
    nothing the games did that no test allows; on a failure the screen is
    saved and the program's log printed."""
    marked = {m.name for m in request.node.iter_markers()}
    # The Qt build is read by a screen reader only on a bus started for it.
    player = players(program, "small_screen" in marked,
                     bool(marked & {"accessibility", "screen_reader"}) and program == "qt",
                     "screen_reader" in marked and program != "qt")
    yield player
    name = request.node.name.replace("/", "_")
    try:
        if getattr(request.node, "failed", False):
            player.save_screen("failed-" + name)
            print("the screen: %s" % player.shot_path("failed-" + name))
            print(player.log_text())
        problems = player.problems()
    finally:
        player.end_games()
    assert not problems, "\n".join(problems)
