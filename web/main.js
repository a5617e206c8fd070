// Start-up of the page: the form description, the pictures and the game
// session compiled to WebAssembly are loaded, the window is built and
// placed, and the session starts. Whatever is missing is said on the page.

import {Form} from "./form.js";
import {KeptGame} from "./kept_game.js";

// The page's script runs: its message that it did not goes.
document.getElementById("unstarted").remove();

const WASM = "tarpo.wasm";
const FACTS = "form.json";
const STYLE_SHEET = "style.css";
const WORKER = "sw.js";
// How long start-up may go without anything arriving before the page says
// what it waits for.
const STALL_MS = 15000;
const STALL_CHECK_MS = 1000;

// What form.json's "errors" say; until it is here, the same texts as the
// site's writer put them into the page.
let texts = JSON.parse(document.getElementById("error").dataset.texts || "null");

// A text of the errors, its "%1", "%2"... filled in with `args`; without
// them, only what the text would name.
function say(name, ...args) {
    const text = texts && texts[name];
    return text ? text.replace(/%(\d)/g, (_, n) => args[n - 1]) : args.join(" ").trim();
}

// A file or feature that start-up cannot do without; `text()` says which.
class Missing extends Error {
    constructor(text) {
        super();
        this.text = text;
    }
}

function fail(error) {
    const box = document.getElementById("error");
    if (error instanceof Missing) {
        box.textContent = say("page_cannot_start", error.text());
    } else {
        console.error(error);
        box.textContent = say("page_internal_error");
    }
    document.getElementById("form").hidden = true;
    document.getElementById("waiting").hidden = true;
    box.hidden = false;
}

const fileName = (url) => String(url).split("/").pop();

// What start-up waits for from the server, and when anything last came:
// after STALL_MS without a byte, the page names what it waits for, until
// something comes again.
class Arrivals {
    constructor() {
        this.pending = new Map();
        this.last = performance.now();
        this.timer = 0;
        this.notice = document.getElementById("waiting");
    }

    begin(url) {
        if (this.pending.size === 0) this.last = performance.now();
        this.pending.set(url, (this.pending.get(url) || 0) + 1);
        this.timer ||= setInterval(() => this.check(), STALL_CHECK_MS);
    }

    progress() {
        this.last = performance.now();
        this.notice.hidden = true;
    }

    end(url) {
        const left = this.pending.get(url) - 1;
        if (left) this.pending.set(url, left); else this.pending.delete(url);
        this.progress();
        if (this.pending.size === 0) {
            clearInterval(this.timer);
            this.timer = 0;
        }
    }

    check() {
        const waited = performance.now() - this.last;
        if (waited < STALL_MS) return;
        const names = [...this.pending.keys()].map(fileName).join(", ");
        this.notice.textContent = say("page_waiting", names, Math.floor(waited / 1000));
        this.notice.hidden = false;
    }
}

const arrivals = new Arrivals();

async function hexDigest(data) {
    const hash = new Uint8Array(await crypto.subtle.digest("SHA-256", data));
    return Array.from(hash, (b) => b.toString(16).padStart(2, "0")).join("");
}

// A file of this version, as bytes, checked against its size and, where the
// browser can work it out (a secure context), its SHA-256. `what` names it
// in the errors' texts.
async function fetchChecked(url, what, expected) {
    const name = fileName(url);
    arrivals.begin(url);
    try {
        let response;
        try {
            response = await fetch(url);
        } catch {
            throw new Missing(() => say("page_cannot_load", say(what), name));
        }
        if (!response.ok) {
            throw new Missing(() => say("page_cannot_load_status", say(what), name, response.status));
        }
        const parts = [];
        let size = 0;
        const reader = response.body.getReader();
        for (;;) {
            let part;
            try {
                part = await reader.read();
            } catch {
                throw new Missing(() => say("page_connection_lost", say(what), name));
            }
            if (part.done) break;
            parts.push(part.value);
            size += part.value.length;
            arrivals.progress();
        }
        const data = new Uint8Array(size);
        parts.reduce((at, part) => (data.set(part, at), at + part.length), 0);
        if (expected && (size !== expected.bytes ||
                         (crypto.subtle && await hexDigest(data) !== expected.sha256))) {
            throw new Missing(() => say("page_damaged_file", name));
        }
        return data;
    } finally {
        arrivals.end(url);
    }
}

// The page's link of kind `rel` to the file `name`, if it has one.
const linkTo = (rel, name) => [...document.querySelectorAll(`link[rel=${rel}]`)]
    .find((l) => fileName(l.getAttribute("href")) === name);

// A file the page asks for in advance: its address, size and hash are on
// its preload link.
function fetchPreloaded(name, what) {
    const link = linkTo("preload", name);
    if (!link) return fetchChecked(new URL(name, import.meta.url), what, null);
    return fetchChecked(link.href, what, {bytes: Number(link.dataset.bytes),
                                          sha256: link.dataset.sha256});
}

const sheetApplied = () =>
    getComputedStyle(document.documentElement).getPropertyValue("--sheet").trim() === "tarpo";

// Without the style sheet the controls would lie on one another. WebKit
// runs this script without waiting for the sheet, so one still on its way
// is waited for: until its link loads or fails, or the page's load, which
// comes once every style sheet has done either.
async function styleSheet() {
    if (sheetApplied()) return;
    if (document.readyState !== "complete") {
        const link = linkTo("stylesheet", STYLE_SHEET);
        const url = link ? link.href : STYLE_SHEET;
        arrivals.begin(url);
        await new Promise((settled) => {
            for (const event of ["load", "error"]) {
                link?.addEventListener(event, settled, {once: true});
            }
            window.addEventListener("load", settled, {once: true});
        });
        arrivals.end(url);
    }
    if (!sheetApplied()) throw new Missing(() => say("page_no_style_sheet", STYLE_SHEET));
}

async function loadFacts() {
    const data = await fetchPreloaded(FACTS, "page_the_form");
    try {
        return JSON.parse(new TextDecoder().decode(data));
    } catch {
        throw new Missing(() => say("page_form_damaged", FACTS));
    }
}

async function loadImage(entry) {
    const url = new URL(entry.path, import.meta.url);
    const name = fileName(url);
    const data = await fetchChecked(url, "page_the_picture", entry);
    let image;
    try {
        image = await createImageBitmap(new Blob([data], {type: "image/webp"}));
    } catch {
        throw new Missing(() => say("page_picture_damaged", name));
    }
    if (image.width !== entry.width || image.height !== entry.height) {
        throw new Missing(() => say("wrong_picture_size", name, image.width, image.height,
                                    entry.width, entry.height));
    }
    return image;
}

async function loadPictures(facts) {
    return Promise.all(facts.site_pictures.map(async ({picture, preview}) => ({
        picture: await loadImage(picture),
        preview: preview ? await loadImage(preview) : null,
    })));
}

// The game module would not compile or start: said on the page, the
// details in the console.
function cannotRun(error) {
    console.error(error);
    return new Missing(() => say("page_cannot_run_game", WASM, error));
}

// The game, compiled from its checked bytes as soon as they are here, while
// the form description still loads and the window is built.
async function compileSession(code) {
    const bytes = await code;
    try {
        return await WebAssembly.compileStreaming(
            new Response(bytes, {headers: {"Content-Type": "application/wasm"}}));
    } catch (error) {
        throw cannotRun(error);
    }
}

// The compiled game, drawing straight into the window's controls: the texts
// it gives (a cell's name, what is announced) are UTF-16 in its memory.
async function loadSession(compiled, view) {
    let memory = null;
    const utf16 = new TextDecoder("utf-16le");
    const text = (at, length) => utf16.decode(new Uint8Array(memory.buffer, at, length * 2));
    const imports = {
        view: {
            drawCell: (cell, set, piece, framed, name, length) =>
                view.drawCell(cell, set, piece, framed, text(name, length)),
            drawPreview: (set) => view.drawPreview(set),
            announce: (at, length) => view.announce(text(at, length)),
        },
        wasi_snapshot_preview1: {
            proc_exit: (status) => {
                throw new Error(say("page_game_exited", WASM, status));
            },
        },
    };
    const module = await compiled;
    try {
        const instance = await WebAssembly.instantiate(module, imports);
        memory = instance.exports.memory;
        instance.exports._initialize();
        return {exports: instance.exports, memory};
    } catch (error) {
        throw cannotRun(error);
    }
}

function watchPlacement(form) {
    const again = () => form.placeWindow();
    window.addEventListener("resize", again);
    const watchRatio = () => {
        matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener("change", () => {
            again();
            watchRatio();
        }, {once: true});
    };
    watchRatio();
}

function exitGame(kept) {
    kept.forget();
    // A page may close only a window that script opened, or that has no
    // history but this page; where it may not, the game ends here.
    window.close();
    document.getElementById("form").hidden = true;
    document.getElementById("ended").hidden = false;
    document.getElementById("restart").focus();
}

// The session's input, and the game kept in the tab after every change: its
// position, which the session writes into a buffer of numbers in its memory,
// and the entry chosen in the list.
function keptPlay({exports: game, memory}, form, kept) {
    const buffer = () => new Int32Array(memory.buffer, game.PositionBuffer(), game.PositionSize());
    const keep = () => {
        game.SavePosition();
        kept.save(Array.from(buffer()), form.list.selected);
    };
    // The key's name into the module's memory, where it fits; its length.
    const keyName = (name) => {
        if (name.length > game.KeyNameSize()) return -1;
        const at = new Uint16Array(memory.buffer, game.KeyName(), name.length);
        for (let i = 0; i < name.length; ++i) at[i] = name.charCodeAt(i);
        return name.length;
    };
    const NO_MOVE = 0;
    return {
        newGame() {
            form.announce("");
            game.NewGame(form.list.selected);
            keep();
        },
        click(cell) {
            if (game.Click(cell) !== NO_MOVE) keep();
        },
        // Whether a key is the board's, and the key pressed on a cell.
        isBoardKey(event) {
            return !event.metaKey && Boolean(game.IsBoardKey(keyName(event.key), event.ctrlKey,
                                                             event.shiftKey, event.altKey));
        },
        key(cell, event) {
            if (!game.Press(cell, keyName(event.key), event.ctrlKey, event.shiftKey,
                            event.altKey, event.repeat)) {
                return;
            }
            form.focusCell(game.Focus());
            keep();
        },
        choose() {
            keep();
        },
        // The game as it was kept, drawn and not announced; a record the
        // session does not take is dropped whole.
        restore() {
            const record = kept.record;
            if (!record) return;
            const whole = record.position.length === game.PositionSize() &&
                          record.chosen >= 0 && record.chosen < form.list.options.length;
            if (whole) buffer().set(record.position);
            if (whole && game.RestorePosition()) {
                form.list.select(record.chosen);
                form.focusCell(game.Focus());
            } else {
                kept.forget();
            }
        },
    };
}

async function start() {
    if (typeof WebAssembly !== "object" || typeof WebAssembly.compileStreaming !== "function") {
        throw new Missing(() => say("page_no_webassembly"));
    }
    const compiled = compileSession(fetchPreloaded(WASM, "page_the_game"));
    compiled.catch(() => {});  // reported below, after what comes first
    await styleSheet();
    const facts = await loadFacts();
    texts = facts.errors ?? texts;
    // The board starts blank: the pictures are needed from the first new
    // game on, so they are asked for only once the window is on the screen.
    // Input waits for them, in the order it came.
    let onScreen = null;
    const pictures = new Promise((resolve) => {
        onScreen = resolve;
    }).then(() => loadPictures(facts));
    pictures.catch(() => {});  // reported below

    // The player's input, each in its turn once the pictures are here.
    const inTurn = (action) => pictures.then(action);
    let play = null;
    let game = null;
    const kept = new KeptGame();
    let form;
    try {
        form = new Form(facts, [], {
            newGame: () => inTurn(() => play.newGame()),
            click: (cell) => inTurn(() => play.click(cell)),
            // Whether a key is the board's is known at once; what it does
            // takes its turn.
            key: (cell, event) => {
                if (!play?.isBoardKey(event)) return false;
                inTurn(() => play.key(cell, event));
                return true;
            },
            exit: () => exitGame(kept),
            inTurn,
        }, (ratio) => ({width: game.exports.FrameWidth(ratio),
                         outer: game.exports.FrameOuterRing(ratio)}));
    } catch (error) {
        console.error(error);
        throw new Missing(() => say("page_form_mismatch", FACTS));
    }
    game = await loadSession(compiled, form.view);
    play = keptPlay(game, form, kept);
    inTurn((loaded) => {
        form.pictures = loaded;
    });
    game.exports.Start(crypto.getRandomValues(new Uint32Array(1))[0]);
    inTurn(() => play.restore());
    form.list.element.addEventListener("change", () => play.choose());

    form.element.hidden = false;
    form.placeWindow();
    watchPlacement(form);
    form.element.addEventListener("contextmenu", (event) => event.preventDefault());
    // A press on the cells, the preview or the label leaves the focus where
    // it is, as on the desktop: the keyboard alone brings it to the board.
    form.element.addEventListener("mousedown", (event) => {
        if (!event.target.closest("button, #pictureSetList")) event.preventDefault();
    });
    form.button.focus();
    // Once the frame that shows it has been drawn.
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
    onScreen();
    await pictures;

    keepForOffline();
}

// The service worker, which keeps the site for offline play and looks for a
// new version on every start. Under a policy that asks for Trusted Types its
// address goes through a policy of the page's own, which lets only the
// worker's file through.
function keepForOffline() {
    if (!("serviceWorker" in navigator)) return;
    const failed = (error) => console.error("tarpo: no offline play:", error);
    try {
        const url = window.trustedTypes
            ? window.trustedTypes.createPolicy("tarpo", {
                createScriptURL: (given) => {
                    if (given !== WORKER) throw new TypeError(`not the worker: ${given}`);
                    return given;
                },
            }).createScriptURL(WORKER)
            : WORKER;
        // A new version, if the host has one, for the next load; offline
        // there is none to be had.
        navigator.serviceWorker.register(url).then(
            (registration) => registration.update().catch(() => {}), failed);
    } catch (error) {
        failed(error);
    }
}

document.getElementById("restart").addEventListener("click", () => location.reload());
start().catch(fail);
