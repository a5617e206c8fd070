"""The window at start, its menus and boxes, and the ways to leave it."""

import os
import tempfile

import pytest

from game import PictureSet, check, wait_for


def space_deals(game, facts, assets, message):
    game.key("space")
    skull = PictureSet(facts, assets, 0, game.scale)
    game.wait_deal(skull, message)


def test_start_look(player, facts, assets):
    """Sixteen empty framed cells, an empty preview, the label in its
    colour on two lines, a window of fixed size, the focus on the button
    (Space deals)."""
    f = facts
    game = player.start()
    view = game.look("start")
    for i in range(f.cells):
        ox, oy = f.cell_origin(i)
        check(view.framed(i), "cell %d has no 2-px frame" % i)
        fw = f.frame_width
        check(view.is_blank(ox + fw + 2, oy + fw + 2, f.piece_side - 4, f.piece_side - 4),
              "cell %d is not empty" % i)
    check(view.is_blank(*f.preview_rect), "the preview is not empty")
    left, top, width, height = f.motto_rect
    ink_rows = {y for y in range(top, top + height) for x in range(left, left + width)
                if view.pixel(x, y) == tuple(f.motto_colour)}
    check(ink_rows, "no label text in its colour in %r" % (f.motto_rect,))
    lines = sum(1 for y in ink_rows if y - 1 not in ink_rows)
    check(lines == 2, "the label shows %d lines of text, not 2" % lines)
    game.check_fixed_size()
    space_deals(game, f, assets, "the focus is not on the button at start")


@pytest.mark.parametrize("by", ["pointer", pytest.param("keys", marks=pytest.mark.board_keys)])
def test_click_before_first_game(player, facts, by):
    """The board starts solved: a click shows the completion, which is
    only frames removed, since no picture set is loaded yet. Space on
    the board's focused cell does the same."""
    f = facts
    game = player.start()
    if by == "keys":  # from the button back to the board, Space, and away
        game.key("shift+Tab", "space", "Tab")
    else:
        game.click_cells([5])
    span = f.cell_pitch * (f.side - 1) + f.framed_side
    wait_for(lambda: game.look().is_blank(*f.board_origin, span, span), 10,
             "frames or pictures left on the board after a click before the first game")
    game.look("click-before-game")


def test_menus_and_boxes(player, facts, assets):
    """Each box by its mnemonic and by the mouse, closed by Return or
    Escape, leaves the window as it was; the focus stays on the button
    (Space deals)."""
    f = facts
    game = player.start()
    span = f.cell_pitch * (f.side - 1) + f.framed_side
    compared = ((0, 0, f.board_origin[0] + span, f.client_size[1])
                if "text_antialiasing_varies" in player.features else (0, 0, *f.client_size))
    before = game.look().region(*compared)
    boxes = [(1, f.help_title, f.help_text), (2, f.author_title, f.author_text)]
    for how in ("mnemonic", "mouse"):
        for entry, title, text in boxes:
            if how == "mouse":
                game.click_menu(entry)
            else:
                game.mnemonic(f.menu_captions[entry])
            game.wait_box(title, text)
            player.save_screen("box-%d-%s" % (entry, how))
            game.key("Escape" if how == "mouse" else "Return")
            game.wait_box_gone(title)
    check(game.look().region(*compared) == before, "the boxes changed the window")
    space_deals(game, f, assets, "the focus is not on the button after the boxes")


@pytest.mark.keyboard_layout
def test_mnemonics_on_russian_layout(player, facts):
    """With a Russian keyboard layout on, Alt with the key of a Latin
    mnemonic letter opens what it opens on a Latin layout: Alt+H the help
    box, Alt+A the author box; Alt+М, typed in Cyrillic, still opens the
    menu, and the key of Exit's Latin letter then ends the program."""
    f = facts
    with player.keyboard_layout("ru"):
        game = player.start()
        for entry, title, text in [(1, f.help_title, f.help_text),
                                   (2, f.author_title, f.author_text)]:
            game.mnemonic(f.menu_captions[entry])
            game.wait_box(title, text)
            game.key("Return")
            game.wait_box_gone(title)
        check(game.exit("menu_mnemonic") == 0, "Exit did not end the program with status 0")


@pytest.mark.parametrize("how", ["menu_mnemonic", "menu_latin_key", "menu_mouse",
                                 pytest.param("title_bar_close", marks=pytest.mark.title_bar)])
def test_exit(player, how):
    """Exit from the menu, by its mnemonics or by the mouse, and the
    title-bar close end the program with status 0. On a Latin keyboard
    layout, Alt and the key where a Russian keyboard has the Cyrillic М of
    «Меню» (V) opens the menu (latin_key)."""
    status = player.start().exit(how)
    check(status == 0, "exit status %d" % status)


@pytest.mark.desktop_font
def test_large_desktop_font(player, facts):
    """The layout is fixed in pixels: with the GTK platform theme and a
    96-pt bold desktop font, the window and its open menu look exactly as
    with no platform theme, and the help box has the size it has with
    the theme at a common font size. (The boxes take the theme's icon;
    their text is checked by the widget tests.)"""
    def looks(env):
        game = player.start(env=env)
        window = game.whole_look()
        game.open_menu("mouse")
        seen = {"window": window, "open menu": game.whole_look()}
        game.key("Escape", "Escape")
        game.wait_active()
        game.mnemonic(facts.menu_captions[1])
        seen["help box"] = game.box_size(facts.help_title)
        player.save_screen("large-font-box" if "XDG_CONFIG_HOME" in env else "plain-font-box")
        game.end()
        return seen

    seen = {}
    for name, font in (("plain", None), ("common", "Sans 10"), ("large", "Sans Bold 96")):
        with tempfile.TemporaryDirectory() as config:
            os.makedirs(os.path.join(config, "gtk-3.0"))
            with open(os.path.join(config, "gtk-3.0", "settings.ini"), "w") as settings:
                settings.write("[Settings]\ngtk-font-name=%s\n" % font)
            seen[name] = looks({"QT_QPA_PLATFORMTHEME": "gtk3", "XDG_CONFIG_HOME": config}
                               if font else {})
    for scene in ("window", "open menu"):
        check(seen["plain"][scene] == seen["large"][scene],
              "the %s differs with a large desktop font" % scene)
    check(seen["common"]["help box"] == seen["large"]["help box"],
          "the help box is %r with a common desktop font, %r with a large one"
          % (seen["common"]["help box"], seen["large"]["help box"]))


@pytest.mark.missing_picture
def test_missing_picture(player, facts):
    """The last piece of the first set missing, as only a broken build
    could leave it: start-up stops with a message instead of the game."""
    folder, piece = facts.picture_sets[0]["pieces"][-1].split("/")
    player.check_missing_picture(folder, piece)
