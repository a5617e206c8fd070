// The window of the game built from the form description (form.json): the
// menu bar, the sixteen cells, the button, the list of picture sets, the
// preview and the label, each at the form's own rectangle, with their
// captions. Form.view is what the game session draws through.

import {PictureBox, readPalette} from "./cells.js";
import {MenuBar} from "./menu.js";
import {showMessage} from "./msgbox.js";

const px = (v) => v + "px";

// Resolves once the browser has rendered the next frame.
const nextFrame = () => new Promise((done) => requestAnimationFrame(() => setTimeout(done)));

function place(element, [left, top, width, height]) {
    Object.assign(element.style, {left: px(left), top: px(top), width: px(width), height: px(height)});
}

function cssFont(font) {
    return (font.italic ? "italic " : "") + (font.bold ? "bold " : "") + px(font.pixel_size) +
           ` "${font.family}", sans-serif`;
}

// The list of picture sets: one entry always selected, by a click or the
// arrow keys; the selection cannot be cleared. A choice takes its turn with
// the rest of the player's input (`inTurn(action)`), so that a new game asked
// for before it deals the set chosen then. A choice that changes the
// selection fires "change" at the list.
class ListBox {
    constructor(element, inTurn) {
        this.element = element;
        this.options = [];
        this.selected = -1;
        element.tabIndex = 0;
        element.setAttribute("role", "listbox");
        const choose = (entry) => {
            if (entry === this.selected || !this.select(entry)) return;
            element.dispatchEvent(new Event("change"));
        };
        element.addEventListener("pointerdown", (event) => {
            const at = this.options.indexOf(event.target.closest("[role=option]"));
            if (at >= 0) inTurn(() => choose(at));
        });
        element.addEventListener("keydown", (event) => {
            const step = {ArrowUp: -1, ArrowDown: 1, Home: -Infinity, End: Infinity,
                          PageUp: -Infinity, PageDown: Infinity}[event.key];
            if (step === undefined) return;
            event.preventDefault();
            const last = this.options.length - 1;
            inTurn(() => choose(Math.max(0, Math.min(last, this.selected + step))));
        });
    }

    add(name) {
        const option = document.createElement("div");
        option.setAttribute("role", "option");
        option.id = `${this.element.id}-${this.options.length}`;
        option.setAttribute("aria-selected", "false");
        option.textContent = name;
        this.element.append(option);
        this.options.push(option);
    }

    // Whether `entry` is an entry, now selected.
    select(entry) {
        if (entry < 0 || entry >= this.options.length) return false;
        this.options.forEach((option, i) => option.setAttribute("aria-selected", String(i === entry)));
        this.selected = entry;
        this.element.setAttribute("aria-activedescendant", this.options[entry].id);
        return true;
    }
}

// The smallest whole number of CSS pixels that is a whole number of device
// pixels too (4 at 125 % and 175 %, 2 at 150 %), if there is a small one.
function wholeStep(dpr) {
    for (let step = 1; step <= 8; ++step) {
        if (Math.abs(step * dpr - Math.round(step * dpr)) < 1e-6) return step;
    }
    return 1;
}

export class Form {
    // `pictures`: per picture set, {picture, preview} as loaded images.
    // `actions`: {newGame(), click(cell), key(cell, event), exit(),
    // inTurn(action)}: key gives the game a key pressed on the board's cell
    // `cell` and says whether the game takes it; inTurn runs an action once
    // the input before it has been handled. `frameRings(ratio)`:
    // the sunken frame's width and outer ring in device pixels, {width, outer}.
    constructor(facts, pictures, actions, frameRings) {
        this.facts = facts;
        this.pictures = pictures;
        this.element = document.getElementById("form");
        this.element.lang = facts.language;
        document.title = facts.title;
        this.element.style.font = cssFont(facts.dialog_font);
        document.getElementById("msgbox").style.font = cssFont(facts.dialog_font);
        const client = document.getElementById("client");
        this.client = client;
        [client.style.width, client.style.height] = facts.client_size.map(px);
        this.buildMenu(actions);
        const palette = readPalette();

        const board = this.buildBoard(actions, frameRings, palette);

        this.button = document.createElement("button");
        this.button.id = "newGameButton";
        this.button.type = "button";
        this.button.textContent = facts.new_game_caption;
        place(this.button, facts.new_game_button_rect);
        this.button.addEventListener("click", () => actions.newGame());

        const list = document.createElement("div");
        list.id = "pictureSetList";
        place(list, facts.picture_set_list_rect);
        list.setAttribute("aria-label", facts.accessible.list);
        this.list = new ListBox(list, actions.inTurn);
        facts.picture_sets.forEach(({name}) => this.list.add(name));
        this.list.select(0);

        const preview = document.createElement("canvas");
        preview.id = "preview";
        preview.setAttribute("role", "img");
        this.preview = new PictureBox(preview, facts.frame_width, frameRings, palette);
        this.namePreview("");

        const label = document.createElement("div");
        label.id = "motto";
        place(label, facts.motto_rect);
        label.style.font = cssFont(facts.motto_font);
        label.style.color = `rgb(${facts.motto_colour.join(",")})`;
        label.textContent = facts.motto_text;
        if (facts.text_languages[facts.motto_text]) label.lang = facts.text_languages[facts.motto_text];

        client.append(board, this.button, list, preview, label);
        this.takeTouches(actions);

        // Tab and Shift+Tab go round the button, the list and the board's
        // focused cell, as in the window.
        client.addEventListener("keydown", (event) => {
            if (event.key !== "Tab" || event.altKey || event.ctrlKey || event.metaKey) return;
            const ring = [this.button, list, this.cells[this.focusedCell].canvas];
            const at = ring.indexOf(document.activeElement);
            if (at < 0) return;
            event.preventDefault();
            ring[(at + (event.shiftKey ? ring.length - 1 : 1)) % ring.length].focus();
        });
    }

    // The board as a grid of rows of cells, one stop in the Tab order: only
    // the cell that has the board's focus takes Tab (a roving tabindex). The
    // game module says which keys are the board's and where the focus goes.
    // A pointer gives no focus.
    buildBoard(actions, frameRings, palette) {
        const f = this.facts;
        const side = f.board_side;
        const board = document.createElement("div");
        board.id = "board";
        board.setAttribute("role", "grid");
        board.setAttribute("aria-label", f.accessible.board);
        this.cells = [];
        this.focusedCell = 0;
        this.renamed = new Set();  // the cells whose names changed since the focus last moved
        this.cellCanvas = (cell) => {
            const canvas = document.createElement("canvas");
            canvas.id = `cell_${cell}`;
            canvas.setAttribute("role", "gridcell");
            canvas.tabIndex = cell === this.focusedCell ? 0 : -1;
            canvas.addEventListener("click", () => actions.click(cell));
            const showRing = (on) => () => this.cells[cell].showRing(on && canvas.matches(":focus-visible"));
            canvas.addEventListener("focus", showRing(true));
            canvas.addEventListener("blur", showRing(false));
            return canvas;
        };
        for (let row = 0; row < side; ++row) {
            const cells = document.createElement("div");
            cells.setAttribute("role", "row");
            board.append(cells);
            for (let cell = row * side; cell < (row + 1) * side; ++cell) {
                const canvas = this.cellCanvas(cell);
                this.cells.push(new PictureBox(canvas, f.frame_width, frameRings, palette, f.focus_ring));
                cells.append(canvas);
            }
        }
        board.addEventListener("keydown", (event) => {
            const cell = this.cells.findIndex((box) => box.canvas === event.target);
            if (cell >= 0 && actions.key(cell, event)) event.preventDefault();
        });
        return board;
    }

    // The board's focus on `cell`; the cell takes the page's focus if the
    // board has it. A screen reader speaks the name that comes with the
    // focus, yet a browser may tell it of a new name only after the focus
    // that follows in the same step, or not at all where it has not read the
    // old one: a cell renamed since the focus last moved becomes a new
    // element, which has its new name from the start, before it takes the
    // focus.
    focusCell(cell) {
        const hadFocus = this.cells.some((box) => box.canvas === document.activeElement);
        this.cells[this.focusedCell].canvas.tabIndex = -1;
        this.focusedCell = cell;
        if (hadFocus && this.renamed.has(cell)) this.cells[cell].replaceCanvas(this.cellCanvas(cell));
        this.renamed.clear();
        this.cells[cell].canvas.tabIndex = 0;
        if (hadFocus) this.cells[cell].canvas.focus();
    }

    namePreview(name) {
        const preview = this.preview.canvas;
        if (name) {
            preview.setAttribute("aria-label", name);
            preview.removeAttribute("aria-hidden");
        } else {
            // An empty preview is no picture at all to assistive technology.
            preview.removeAttribute("aria-label");
            preview.setAttribute("aria-hidden", "true");
        }
    }

    // Every finger lifted from the cell it went down on is a click of that
    // cell, also while other fingers touch the screen, where the browser
    // would make no click of it. The browser's own click then does not come.
    takeTouches(actions) {
        const canvas = (cell) => this.cells[cell].canvas;
        const down = new Map();  // touch identifier -> cell
        this.client.addEventListener("touchstart", (event) => {
            for (const touch of event.changedTouches) {
                const cell = this.cells.findIndex((box) => box.canvas === touch.target);
                if (cell >= 0) down.set(touch.identifier, cell);
            }
        });
        const lift = (event, clicks) => {
            for (const touch of event.changedTouches) {
                const cell = down.get(touch.identifier);
                down.delete(touch.identifier);
                if (cell === undefined || !clicks) continue;
                event.preventDefault();
                if (document.elementFromPoint(touch.clientX, touch.clientY) === canvas(cell)) {
                    actions.click(cell);
                }
            }
        };
        this.client.addEventListener("touchend", (event) => lift(event, true));
        this.client.addEventListener("touchcancel", (event) => lift(event, false));
    }

    buildMenu(actions) {
        const f = this.facts;
        const [menu, help, author] = f.menu_captions;
        const lang = (text) => f.text_languages[text];
        this.menu = new MenuBar(document.getElementById("menubar"), [
            {caption: menu, id: "menu", lang: lang(menu),
             drop: [{caption: f.exit_caption, id: "exit", action: actions.exit, lang: lang(f.exit_caption)}]},
            {caption: help, id: "help", lang: lang(help), action: () => showMessage(f.help_title, f.help_text)},
            {caption: author, id: "author", lang: lang(author),
             action: () => showMessage(f.author_title, f.author_text)},
        ]);
    }

    drawCell(cell, set, piece, framed) {
        const f = this.facts;
        const n = f.board_side;
        const picture = set < 0 ? null : {
            image: this.pictures[set].picture,
            x: (piece % n) * f.piece_side,
            y: Math.floor(piece / n) * f.piece_side,
            width: f.piece_side,
            height: f.piece_side,
        };
        this.cells[cell].show(f.cell_rects[framed ? "framed" : "unframed"][cell], picture, framed);
    }

    // Said by a screen reader wherever the focus is; empty says nothing. It
    // is said after the focus that the same input moves (focusCell), a
    // frame later, as a screen reader stops speaking when the focus moves
    // and a browser may tell of what changes in one frame in any order.
    announce(text) {
        nextFrame().then(() => {
            document.getElementById("announcement").textContent = text;
        });
    }

    drawPreview(set) {
        const image = set < 0 ? null : this.pictures[set].preview;
        const picture = image && {image, x: 0, y: 0, width: image.width, height: image.height};
        this.preview.show(this.facts.preview_rect, picture, false);
    }

    // The window in the middle of the viewport at one form pixel per CSS pixel,
    // scaled down as a whole when the viewport is smaller. Its corner lies on a
    // whole CSS pixel that is a whole device pixel too, so that the cells do,
    // whether the browser rounds positions in CSS or in device pixels.
    placeWindow() {
        const element = this.element;
        // The client area is a whole number of device pixels, as a window's is.
        const dpr = window.devicePixelRatio || 1;
        [this.client.style.width, this.client.style.height] =
            this.facts.client_size.map((v) => Math.floor(v * dpr + 0.5) / dpr + "px");
        const root = document.documentElement;
        const [w, h] = [element.offsetWidth, element.offsetHeight];
        const [vw, vh] = [root.clientWidth, root.clientHeight];
        const scale = Math.min(1, vw / w, vh / h);
        const step = wholeStep(dpr);
        const snap = (v) => Math.round(Math.max(0, v) / step) * step;
        element.style.left = snap((vw - w * scale) / 2) + "px";
        element.style.top = snap((vh - h * scale) / 2) + "px";
        element.style.transform = scale < 1 ? `scale(${scale})` : "";
        this.redraw();
    }


    // Everything drawn in device pixels again, after the scale or the
    // device pixel ratio changed.
    redraw() {
        for (const box of [...this.cells, this.preview]) box.draw();
    }

    // What the game session calls, with its texts read from the module's
    // memory: a cell with its name, the preview, what a screen reader says.
    get view() {
        return {
            drawCell: (cell, set, piece, framed, name) => {
                this.drawCell(cell, set, piece, framed !== 0);
                const canvas = this.cells[cell].canvas;
                if (canvas.getAttribute("aria-label") === name) return;
                canvas.setAttribute("aria-label", name);
                this.renamed.add(cell);
            },
            drawPreview: (set) => {
                this.drawPreview(set);
                this.namePreview(set < 0 ? "" : this.facts.picture_sets[set].name);
            },
            announce: (text) => this.announce(text),
        };
    }
}
