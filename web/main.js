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

// The compiled game, drawing straight into the window's controls. Besides
// the view it asks the page only for the time, which seeds the deals
// (`clock.time`, where it is set, rather than now).
async function loadSession(compiled, view, clock) {
    let memory = null;
    const imports = {
        view,
        wasi_snapshot_preview1: {
            clock_time_get: (clockId, precision, at) => {
                const nanoseconds = BigInt(clock.time ?? Date.now()) * 1000000n;
                new DataView(memory.buffer).setBigUint64(at, nanoseconds, true);
                return 0;
            },
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
        return instance.exports;
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

// The session's input, kept in the tab as it is played: a new game with the
// time that seeds its deal, and every click that changed what is shown. A
// click returns the cell the keyboard focus follows to. What is played again
// from the tab after a reload draws, but says nothing: the player heard it
// when it happened (`quiet.on` meanwhile).
function keptPlay(game, clock, drawn, quiet, form, kept) {
    return {
        newGame(set, time) {
            form.list.select(set);
            form.announce("");
            clock.time = time;
            try {
                game.NewGame(set);
            } finally {
                clock.time = null;
            }
            kept.newGame(set, time);
        },
        click(cell) {
            drawn.any = false;
            const follow = game.Click(cell);
            if (drawn.any) kept.click(cell);
            return follow;
        },
        choose(entry) {
            form.list.select(entry);
            kept.choose(entry);
        },
        replay() {
            quiet.on = true;
            try {
                kept.replay(this);
            } finally {
                quiet.on = false;
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
            newGame: () => inTurn(() => play.newGame(form.list.selected, Date.now())),
            click: (cell) => inTurn(() => play.click(cell)),
            // The keyboard on the board, at the cell that has its focus.
            activate: () => inTurn(() => form.focusCell(play.click(form.focusedCell))),
            moveFocus: (move) => inTurn(() => form.focusCell(game.MoveFocus(form.focusedCell, move))),
            exit: () => exitGame(kept),
            inTurn,
        }, (ratio) => ({width: game.FrameWidth(ratio), outer: game.FrameOuterRing(ratio)}));
    } catch (error) {
        console.error(error);
        throw new Missing(() => say("page_form_mismatch", FACTS));
    }
    const clock = {time: null};
    const drawn = {any: false};
    const quiet = {on: false};
    const view = {
        ...form.view,
        drawCell: (...look) => {
            drawn.any = true;
            form.view.drawCell(...look);
        },
        announce: (text) => {
            if (!quiet.on) form.view.announce(text);
        },
    };
    game = await loadSession(compiled, view, clock);
    play = keptPlay(game, clock, drawn, quiet, form, kept);
    inTurn((loaded) => {
        form.pictures = loaded;
    });
    game.Start();
    inTurn(() => play.replay());
    form.list.element.addEventListener("change", () => kept.choose(form.list.selected));

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
