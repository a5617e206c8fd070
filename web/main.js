// Start-up of the page: the form description, the pictures and the game
// session compiled to WebAssembly are loaded, the window is built and
// placed, and the session starts. Whatever is missing is said on the page.

import {Form} from "./form.js";
import {KeptGame} from "./kept_game.js";

const WASM = "tarpo.wasm";

// What form.json's "errors" say, once it is here.
let texts = null;

// A text of form.json's "errors", its "%1", "%2"... filled in with `args`;
// without form.json, only what the text would name.
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
    box.textContent = error instanceof Missing
        ? say("page_cannot_start", error.text())
        : say("page_stopped", error && error.message ? error.message : error);
    document.getElementById("form").hidden = true;
    box.hidden = false;
}

async function fetchOk(url, what) {
    let response;
    try {
        response = await fetch(url);
    } catch {
        throw new Missing(() => say("page_cannot_load", say(what), url));
    }
    if (!response.ok) {
        throw new Missing(() => say("page_cannot_load_status", say(what), url, response.status));
    }
    return response;
}

async function loadImage(url) {
    const image = new Image();
    image.src = url;
    try {
        await image.decode();
    } catch {
        throw new Missing(() => say("page_cannot_load_picture", url));
    }
    return image;
}

async function loadPictures(facts) {
    return Promise.all(facts.site_pictures.map(async ({picture, preview}) => ({
        picture: await loadImage(picture),
        preview: preview ? await loadImage(preview) : null,
    })));
}

// The game, compiled as its code streams in, drawing straight into the
// window's controls. Besides the view it asks the page only for the time,
// which seeds the deals (`clock.time`, where it is set, rather than now).
async function loadSession(code, view, clock) {
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
    const response = await code;
    try {
        const {instance} = await WebAssembly.instantiateStreaming(response, imports);
        memory = instance.exports.memory;
        instance.exports._initialize();
        return instance.exports;
    } catch (error) {
        throw new Missing(() => say("page_cannot_run_game", WASM, error));
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
    const code = fetchOk(WASM, "page_the_game");
    code.catch(() => {});  // reported below, after what comes first
    const facts = await (await fetchOk("form.json", "page_the_form")).json();
    texts = facts.errors;
    if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiateStreaming !== "function") {
        throw new Missing(() => say("page_no_webassembly"));
    }
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
    const kept = new KeptGame();
    const form = new Form(facts, [], {
        newGame: () => inTurn(() => play.newGame(form.list.selected, Date.now())),
        click: (cell) => inTurn(() => play.click(cell)),
        // The keyboard on the board, at the cell that has its focus.
        activate: () => inTurn(() => form.focusCell(play.click(form.focusedCell))),
        moveFocus: (move) => inTurn(() => form.focusCell(game.MoveFocus(form.focusedCell, move))),
        exit: () => exitGame(kept),
        inTurn,
    }, (ratio) => ({width: game.FrameWidth(ratio), outer: game.FrameOuterRing(ratio)}));
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
    const game = await loadSession(code, view, clock);
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
        if (!event.target.closest("button, #List1")) event.preventDefault();
    });
    form.button.focus();
    // Once the frame that shows it has been drawn.
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
    onScreen();
    await pictures;

    if ("serviceWorker" in navigator) {
        navigator.serviceWorker.register("sw.js").catch(() => {});
    }
}

document.getElementById("restart").addEventListener("click", () => location.reload());
start().catch(fail);
