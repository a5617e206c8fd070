// Start-up of the page: the form description, the pictures and the game
// session compiled to WebAssembly are loaded, the window is built and
// placed, and the session starts. Whatever is missing is said on the page.

import {Form} from "./form.js";
import {KeptGame} from "./kept_game.js";

const WASM = "tarpo.wasm";

class Missing extends Error {}

function fail(error) {
    const box = document.getElementById("error");
    box.textContent = error instanceof Missing
        ? `tarpo не может запуститься: ${error.message}.`
        : `tarpo остановилась: ${error && error.message ? error.message : error}.`;
    document.getElementById("form").hidden = true;
    box.hidden = false;
}

async function fetchOk(url, what) {
    let response;
    try {
        response = await fetch(url);
    } catch {
        throw new Missing(`не удалось загрузить ${what} ${url}`);
    }
    if (!response.ok) throw new Missing(`не удалось загрузить ${what} ${url} (${response.status})`);
    return response;
}

async function loadImage(url) {
    const image = new Image();
    image.src = url;
    try {
        await image.decode();
    } catch {
        throw new Missing(`не удалось загрузить картинку ${url}`);
    }
    return image;
}

async function loadPictures(facts) {
    return Promise.all(facts.site_pictures.map(async ({picture, preview}) => ({
        picture: await loadImage(picture),
        preview: preview ? await loadImage(preview) : null,
    })));
}

// The game, started as soon as its code is here, while the rest still loads;
// it draws through `view`, which the window fills in once it is built. The
// module asks the page for what it draws and for the time, which seeds the
// deals (`clock.time`, where it is set, rather than now); strings come as
// UTF-16 in its memory, ended by a zero.
async function loadSession() {
    const bytes = await (await fetchOk(WASM, "игру")).arrayBuffer();
    const view = {};
    const clock = {time: null};
    let memory = null;
    const utf16 = new TextDecoder("utf-16le");
    const text = (at) => {
        const units = new Uint16Array(memory.buffer, at);
        return utf16.decode(units.subarray(0, units.indexOf(0)));
    };
    const imports = {
        view: {
            addListEntry: (at) => view.addListEntry(text(at)),
            selectListEntry: (entry) => view.selectListEntry(entry),
            listEntryCount: () => view.listEntryCount(),
            isListEntrySelected: (entry) => view.isListEntrySelected(entry),
            setTitle: (at) => view.setTitle(text(at)),
            setButtonCaption: (at) => view.setButtonCaption(text(at)),
            drawCell: (cell, set, piece, framed) => view.drawCell(cell, set, piece, framed),
            drawPreview: (set) => view.drawPreview(set),
        },
        wasi_snapshot_preview1: {
            clock_time_get: (clockId, precision, at) => {
                const nanoseconds = BigInt(clock.time ?? Date.now()) * 1000000n;
                new DataView(memory.buffer).setBigUint64(at, nanoseconds, true);
                return 0;
            },
            proc_exit: (code) => {
                throw new Error(`${WASM} завершилась с кодом ${code}`);
            },
        },
    };
    try {
        const {instance} = await WebAssembly.instantiate(bytes, imports);
        memory = instance.exports.memory;
        instance.exports._initialize();
        return {game: instance.exports, view, clock};
    } catch (error) {
        throw new Missing(`не удалось запустить игру ${WASM} (${error})`);
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
// time that seeds its deal, and every click that changed what is shown.
function keptPlay(game, {view, clock}, form, kept) {
    let drew = false;
    const drawCell = view.drawCell;
    view.drawCell = (...look) => {
        drew = true;
        drawCell(...look);
    };
    return {
        newGame(set, time) {
            form.list.select(set);
            clock.time = time;
            try {
                game.NewGame();
            } finally {
                clock.time = null;
            }
            kept.newGame(set, time);
        },
        click(cell) {
            drew = false;
            game.Click(cell);
            if (drew) kept.click(cell);
        },
        choose(entry) {
            form.list.select(entry);
            kept.choose(entry);
        },
    };
}

async function start() {
    if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
        throw new Missing("этот браузер не выполняет WebAssembly, без которого игра не работает");
    }
    const session = loadSession();
    session.catch(() => {});  // reported below, after what comes first
    const facts = await (await fetchOk("form.json", "описание формы")).json();
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
        exit: () => exitGame(kept),
        inTurn,
    }, (ratio) => ({width: game.FrameWidth(ratio), outer: game.FrameOuterRing(ratio)}));
    const started = await session;
    Object.assign(started.view, form.view);
    const game = started.game;
    play = keptPlay(game, started, form, kept);
    inTurn((loaded) => {
        form.pictures = loaded;
    });
    form.drawBlank();
    game.Start();
    inTurn(() => kept.replay(play));
    form.list.element.addEventListener("change", () => kept.choose(form.list.selected));

    form.element.hidden = false;
    form.placeWindow();
    watchPlacement(form);
    form.element.addEventListener("contextmenu", (event) => event.preventDefault());
    // A press on the cells, the preview or the label leaves the focus where
    // it is, as on the desktop.
    form.element.addEventListener("mousedown", (event) => {
        if (!event.target.closest("button, [tabindex]")) event.preventDefault();
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
