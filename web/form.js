// The window of the game built from the form description (form.json): the
// menu bar, the sixteen cells, the button, the list of picture sets, the
// preview and the label, each at the form's own rectangle, with their
// captions. Form.view is what the game session draws through.

import {PictureBox, readPalette} from "./cells.js";
import {MenuBar} from "./menu.js";
import {showMessage} from "./msgbox.js";

const px = (v) => v + "px";

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
    // `actions`: {newGame(), click(cell), exit(), inTurn(action)}: inTurn runs
    // an action once the input before it has been handled. `frameRings(ratio)`:
    // the sunken frame's width and outer ring in device pixels, {width, outer}.
    constructor(facts, pictures, actions, frameRings) {
        this.facts = facts;
        this.pictures = pictures;
        this.element = document.getElementById("form");
        document.title = facts.title;
        this.element.style.font = cssFont(facts.dialog_font);
        document.getElementById("msgbox").style.font = cssFont(facts.dialog_font);
        const client = document.getElementById("client");
        this.client = client;
        [client.style.width, client.style.height] = facts.client_size.map(px);
        this.buildMenu(actions);
        const palette = readPalette();

        const side = facts.board_side;
        this.cells = [];
        for (let cell = 0; cell < side * side; ++cell) {
            const canvas = document.createElement("canvas");
            canvas.id = `Image3_${cell}`;
            canvas.addEventListener("click", () => actions.click(cell));
            client.append(canvas);
            this.cells.push(new PictureBox(canvas, facts.frame_width, frameRings, palette));
        }

        this.button = document.createElement("button");
        this.button.id = "Command1";
        this.button.type = "button";
        this.button.textContent = facts.command1_caption;
        place(this.button, facts.command1_rect);
        this.button.addEventListener("click", () => actions.newGame());

        const list = document.createElement("div");
        list.id = "List1";
        place(list, facts.list1_rect);
        this.list = new ListBox(list, actions.inTurn);
        facts.picture_sets.forEach(({name}) => this.list.add(name));
        this.list.select(0);

        const demo = document.createElement("canvas");
        demo.id = "demo";
        this.demo = new PictureBox(demo, facts.frame_width, frameRings, palette);

        const label = document.createElement("div");
        label.id = "Label1";
        place(label, facts.label1_rect);
        label.style.font = cssFont(facts.label1_font);
        label.style.color = `rgb(${facts.label1_colour.join(",")})`;
        label.textContent = facts.label1_caption;

        client.append(this.button, list, demo, label);
        this.takeTouches(actions);

        // Tab and Shift+Tab go round the button and the list, as in the window.
        const ring = [this.button, list];
        client.addEventListener("keydown", (event) => {
            if (event.key !== "Tab" || event.altKey || event.ctrlKey || event.metaKey) return;
            const at = ring.indexOf(document.activeElement);
            if (at < 0) return;
            event.preventDefault();
            ring[(at + (event.shiftKey ? ring.length - 1 : 1)) % ring.length].focus();
        });
    }

    // Every finger lifted from the cell it went down on is a click of that
    // cell, also while other fingers touch the screen, where the browser
    // would make no click of it. The browser's own click then does not come.
    takeTouches(actions) {
        const canvases = this.cells.map((box) => box.canvas);
        const down = new Map();  // touch identifier -> cell
        this.client.addEventListener("touchstart", (event) => {
            for (const touch of event.changedTouches) {
                const cell = canvases.indexOf(touch.target);
                if (cell >= 0) down.set(touch.identifier, cell);
            }
        });
        const lift = (event, clicks) => {
            for (const touch of event.changedTouches) {
                const cell = down.get(touch.identifier);
                down.delete(touch.identifier);
                if (cell === undefined || !clicks) continue;
                event.preventDefault();
                if (document.elementFromPoint(touch.clientX, touch.clientY) === canvases[cell]) {
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
        this.menu = new MenuBar(document.getElementById("menubar"), [
            {caption: menu, id: "mnumenu", drop: [{caption: f.exit_caption, id: "exit", action: actions.exit}]},
            {caption: help, id: "help", action: () => showMessage(f.help_title, f.help_text)},
            {caption: author, id: "autor", action: () => showMessage(f.author_title, f.author_text)},
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

    drawPreview(set) {
        const image = set < 0 ? null : this.pictures[set].preview;
        const picture = image && {image, x: 0, y: 0, width: image.width, height: image.height};
        this.demo.show(this.facts.demo_rect, picture, false);
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
        for (const box of [...this.cells, this.demo]) box.draw();
    }

    // What the game session calls. `announce` gets the place of its text in
    // the form description's announcements, for a screen reader to say.
    get view() {
        return {
            drawCell: (cell, set, piece, framed) => this.drawCell(cell, set, piece, framed !== 0),
            drawPreview: (set) => this.drawPreview(set),
            announce: () => {},
        };
    }
}
