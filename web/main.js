// The game's glue: the session compiled to WebAssembly is instantiated with
// the window's drawing functions as its imports, the window is built and
// placed, the player's input goes to the session and the game in progress is
// kept in the tab. What is fetched, and how start-up fails, is loader.js's.

import {Form} from "./form.js";
import {KeptGame} from "./kept_game.js";
import {FACTS, StartFailure, fetchPreloaded, keepForOffline, loadFacts, loadPictures, run, say,
        styleSheet} from "./loader.js";

const WASM = "tarpo.wasm";

// The game module would not compile or start: said on the page, the
// details in the console.
function cannotRun(error) {
    console.error(error);
    return new StartFailure(() => say("page_cannot_run_game", WASM, error));
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
        throw new StartFailure(() => say("page_no_webassembly"));
    }
    const compiled = compileSession(fetchPreloaded(WASM, "page_the_game"));
    compiled.catch(() => {});  // reported below, after what comes first
    await styleSheet();
    const facts = await loadFacts();
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
        throw new StartFailure(() => say("page_form_mismatch", FACTS));
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

document.getElementById("restart").addEventListener("click", () => location.reload());
run(start);
