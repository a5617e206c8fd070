// Start-up of the page: the form description, the pictures and the game
// session compiled to WebAssembly are loaded, the window is built and
// placed, and the session starts. Whatever is missing is said on the page.

import {Form} from "./form.js";

// The page's script runs: its message that it did not goes.
document.getElementById("unstarted").remove();

const WASM = "tarpo.wasm";
const FACTS = "form.json";
const WORKER = "sw.js";
// How long start-up may go without anything arriving before the page says
// what it waits for.
const STALL_MS = 15000;
const STALL_CHECK_MS = 1000;

class Missing extends Error {}

function fail(error) {
    const box = document.getElementById("error");
    if (error instanceof Missing) {
        box.textContent = `tarpo не может запуститься: ${error.message}.`;
    } else {
        console.error(error);
        box.textContent = "tarpo остановилась из-за внутренней ошибки. Перезагрузите страницу.";
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
        this.notice.textContent = `tarpo ждёт с сервера: ${names} — ничего не приходит уже ` +
            `${Math.floor(waited / 1000)}\u00a0с. Игра запустится, как только файлы придут.`;
        this.notice.hidden = false;
    }
}

const arrivals = new Arrivals();

async function hexDigest(data) {
    const hash = new Uint8Array(await crypto.subtle.digest("SHA-256", data));
    return Array.from(hash, (b) => b.toString(16).padStart(2, "0")).join("");
}

// A file of this version, as bytes, checked against its size and, where the
// browser can work it out (a secure context), its SHA-256.
async function fetchChecked(url, what, expected) {
    const failed = (why) => new Missing(`не удалось загрузить ${what} ${fileName(url)}${why}`);
    arrivals.begin(url);
    try {
        let response;
        try {
            response = await fetch(url);
        } catch {
            throw failed("");
        }
        if (!response.ok) throw failed(` (${response.status})`);
        const parts = [];
        let size = 0;
        const reader = response.body.getReader();
        for (;;) {
            let part;
            try {
                part = await reader.read();
            } catch {
                throw failed(": связь прервалась");
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
            throw new Missing(`файл ${fileName(url)} повреждён или от другой версии игры`);
        }
        return data;
    } finally {
        arrivals.end(url);
    }
}

// A file the page asks for in advance: its address, size and hash are on
// its preload link.
function fetchPreloaded(name, what) {
    const link = [...document.querySelectorAll("link[rel=preload]")]
        .find((l) => fileName(l.getAttribute("href")) === name);
    if (!link) return fetchChecked(new URL(name, import.meta.url), what, null);
    return fetchChecked(link.href, what, {bytes: Number(link.dataset.bytes),
                                          sha256: link.dataset.sha256});
}

async function loadFacts() {
    const data = await fetchPreloaded(FACTS, "описание формы");
    try {
        return JSON.parse(new TextDecoder().decode(data));
    } catch {
        throw new Missing(`описание формы ${FACTS} повреждено`);
    }
}

async function loadImage(entry) {
    const url = new URL(entry.path, import.meta.url);
    const data = await fetchChecked(url, "картинку", entry);
    let image;
    try {
        image = await createImageBitmap(new Blob([data], {type: "image/webp"}));
    } catch {
        throw new Missing(`картинка ${fileName(url)} повреждена`);
    }
    if (image.width !== entry.width || image.height !== entry.height) {
        throw new Missing(`картинка ${fileName(url)} размером ${image.width}×${image.height}, ` +
                          `а не ${entry.width}×${entry.height}`);
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
// deals; strings come as UTF-16 in its memory, ended by a zero.
async function loadSession() {
    const bytes = await fetchPreloaded(WASM, "игру");
    const view = {};
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
            clock_time_get: (clock, precision, at) => {
                const nanoseconds = BigInt(Date.now()) * 1000000n;
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
        return {game: instance.exports, view};
    } catch (error) {
        console.error(error);
        throw new Missing(`не удалось запустить игру ${WASM}`);
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

function exitGame() {
    // A page may close only a window that script opened, or that has no
    // history but this page; where it may not, the game ends here.
    window.close();
    document.getElementById("form").hidden = true;
    document.getElementById("ended").hidden = false;
    document.getElementById("restart").focus();
}

async function start() {
    if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
        throw new Missing("этот браузер не выполняет WebAssembly, без которого игра не работает");
    }
    const session = loadSession();
    session.catch(() => {});  // reported below, after what comes first
    // Without the style sheet the controls would lie on one another.
    if (getComputedStyle(document.documentElement).getPropertyValue("--sheet").trim() !== "tarpo") {
        throw new Missing("не загрузилась таблица стилей style.css");
    }
    const facts = await loadFacts();
    // The board starts blank: the pictures are needed from the first new
    // game on, so they are asked for only once the window is on the screen.
    // Input waits for them, in the order it came.
    let onScreen = null;
    const pictures = new Promise((resolve) => {
        onScreen = resolve;
    }).then(() => loadPictures(facts));
    pictures.catch(() => {});  // reported below

    let game = null;
    let form;
    try {
        form = new Form(facts, [], {
            newGame: () => pictures.then(() => game.NewGame()),
            click: (cell) => pictures.then(() => game.Click(cell)),
            exit: exitGame,
        });
        form.drawBlank();
    } catch (error) {
        console.error(error);
        throw new Missing(`описание формы ${FACTS} не подходит к этой странице`);
    }
    const started = await session;
    Object.assign(started.view, form.view);
    game = started.game;
    game.Start();

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
    document.documentElement.dataset.painted = "1";
    onScreen();
    form.pictures = await pictures;
    document.documentElement.dataset.ready = "1";

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
