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
    const NO_MOVE = 0;  // what Click returns when nothing changed
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

    // The player's input, each in its turn once the pictures are here. Once
    // the game has ended, input still waiting does nothing: a game it dealt
    // would be kept, and "play again" would show it.
    let ended = false;
    const inTurn = (action) => pictures.then((loaded) => (ended ? undefined : action(loaded)));
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
            exit: () => {
                ended = true;
                exitGame(kept);
            },
            inTurn,
        }, (ratio) => ({width: game.exports.FrameWidth(ratio),
                         outer: game.exports.FrameOuterRing(ratio),
                         ring: game.exports.FocusRingBand(ratio)}));
    } catch (error) {
        console.error(error);
        throw new StartFailure(() => say("page_form_mismatch", FACTS));
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

document.getElementById("restart").addEventListener("click", () => location.reload());
run(start);
