// What start-up fetches and how it fails: every file of this version checked
// against its size and hash, a notice when nothing arrives for a while, the
// wait for the style sheet, the failure said on the page, and the service
// worker registered once the game runs.

// Remove the no-script notice: the script is running. The page may not have
// come that far yet (it follows the style sheet), and then goes once it has.
const scriptRuns = () => document.getElementById("unstarted")?.remove();
scriptRuns();
document.addEventListener("DOMContentLoaded", scriptRuns, {once: true});

const STYLE_SHEET = "style.css";
const WORKER = "sw.js";
export const FACTS = "form.json";
// What the worker is asked, once the game runs, to keep this version whole.
const REFILL = "refill";
// How long start-up may go without anything arriving before the page says
// what it waits for: 15 s, unless the page's address gives other seconds as
// `?stall=` (1 to 60), for a host or a test that wants the notice sooner or
// later.
const STALL_DEFAULT_S = 15;
const STALL_MIN_S = 1;
const STALL_MAX_S = 60;
const STALL_MS = 1000 * stallSeconds(new URLSearchParams(location.search).get("stall"));
const STALL_CHECK_MS = Math.min(1000, STALL_MS / 4);

// The seconds `?stall=` gives, held within bounds; the default where it
// gives none or no number.
function stallSeconds(given) {
    const seconds = Number(given);
    if (!given?.trim() || !Number.isFinite(seconds)) return STALL_DEFAULT_S;
    return Math.min(STALL_MAX_S, Math.max(STALL_MIN_S, seconds));
}

// What form.json's "errors" say; until it is here, the same texts as the
// site's writer put them into the page.
let texts = JSON.parse(document.getElementById("error").dataset.texts || "null");

// A text of the errors, its "%1", "%2"... filled in with `args`; without
// them, only what the text would name.
export function say(name, ...args) {
    const text = texts && texts[name];
    return text ? text.replace(/%(\d)/g, (_, n) => args[n - 1]) : args.join(" ").trim();
}

// `name` as a name of this copy of the site, which another copy on the same
// origin (another folder) does not share: for what the page keeps in the
// tab.
export function scoped(name) {
    return name + " " + new URL("./", location.href).pathname;
}

// Why the game cannot start (a file missing or damaged, a feature the
// browser lacks); `text()` says it in the errors' words.
export class StartFailure extends Error {
    constructor(text) {
        super();
        this.text = text;
    }
}

function fail(error) {
    const box = document.getElementById("error");
    if (error instanceof StartFailure) {
        box.textContent = say("page_cannot_start", error.text());
    } else {
        console.error(error);
        box.textContent = say("page_internal_error");
    }
    // Nothing starts now: no word of waiting for files.
    arrivals.stop();
    document.getElementById("form").hidden = true;
    box.hidden = false;
}

// Runs the page's start-up; whatever stops it is said on the page.
export function run(start) {
    start().catch(fail);
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
        this.stopped = false;
        this.notice = document.getElementById("waiting");
    }

    begin(url) {
        if (this.pending.size === 0) this.last = performance.now();
        this.pending.set(url, (this.pending.get(url) || 0) + 1);
        if (!this.stopped) this.timer ||= setInterval(() => this.check(), STALL_CHECK_MS);
    }

    // Start-up has failed: whatever still comes, the watch is over.
    stop() {
        this.stopped = true;
        clearInterval(this.timer);
        this.timer = 0;
        this.notice.hidden = true;
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
            throw new StartFailure(() => say("page_cannot_load", say(what), name));
        }
        if (!response.ok) {
            throw new StartFailure(() => say("page_cannot_load_status", say(what), name,
                                             response.status));
        }
        const parts = [];
        let size = 0;
        const reader = response.body.getReader();
        for (;;) {
            let part;
            try {
                part = await reader.read();
            } catch {
                throw new StartFailure(() => say("page_connection_lost", say(what), name));
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
            throw new StartFailure(() => say("page_damaged_file", name));
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
export function fetchPreloaded(name, what) {
    const link = linkTo("preload", name);
    if (!link) return fetchChecked(new URL(name, import.meta.url), what, null);
    return fetchChecked(link.href, what, {bytes: Number(link.dataset.bytes),
                                          sha256: link.dataset.sha256});
}

const sheetApplied = () =>
    getComputedStyle(document.documentElement).getPropertyValue("--sheet").trim() === "tarpo";

// Without the style sheet the controls would lie on one another. This
// script runs without waiting for the sheet, so one still on its way is
// waited for, and named if it stalls: until its link loads or fails, or the
// page's load, which comes once every style sheet has done either. The link
// follows the script in the page, and may come after it has run.
export async function styleSheet() {
    if (sheetApplied() || document.readyState === "complete") return checkSheet();
    const url = new URL(STYLE_SHEET, import.meta.url).href;
    arrivals.begin(url);
    await new Promise((settled) => {
        const watch = () => {
            const link = linkTo("stylesheet", STYLE_SHEET);
            if (!link) return;
            for (const event of ["load", "error"]) link.addEventListener(event, settled, {once: true});
            // Loaded, or failed, before the script came: its request has
            // ended, and a load still to be told comes before a task.
            if (link.sheet) settled();
            else if (performance.getEntriesByName(link.href, "resource").length) setTimeout(settled);
        };
        watch();
        document.addEventListener("DOMContentLoaded", watch, {once: true});
        window.addEventListener("load", settled, {once: true});
    });
    arrivals.end(url);
    return checkSheet();
}

function checkSheet() {
    if (!sheetApplied()) throw new StartFailure(() => say("page_no_style_sheet", STYLE_SHEET));
}

// The form description; from here on the errors are said in its words.
export async function loadFacts() {
    const data = await fetchPreloaded(FACTS, "page_the_form");
    let facts;
    try {
        facts = JSON.parse(new TextDecoder().decode(data));
    } catch {
        throw new StartFailure(() => say("page_form_damaged", FACTS));
    }
    texts = facts.errors ?? texts;
    return facts;
}

async function loadImage(entry) {
    const url = new URL(entry.path, import.meta.url);
    const name = fileName(url);
    const data = await fetchChecked(url, "page_the_picture", entry);
    let image;
    try {
        image = await createImageBitmap(new Blob([data], {type: "image/webp"}));
    } catch {
        throw new StartFailure(() => say("page_picture_damaged", name));
    }
    if (image.width !== entry.width || image.height !== entry.height) {
        throw new StartFailure(() => say("wrong_picture_size", name, image.width, image.height,
                                         entry.width, entry.height));
    }
    return image;
}

export async function loadPictures(facts) {
    return Promise.all(facts.site_pictures.map(async ({picture, preview}) => ({
        picture: await loadImage(picture),
        preview: preview ? await loadImage(preview) : null,
    })));
}

// What the page may yet need, kept: the faces in the tab, and the site for
// offline play by the service worker, which looks for a new version on every
// start. Under a policy that asks for Trusted Types its
// address goes through a policy of the page's own, which lets only the
// worker's file through.
export function keepForOffline() {
    // Every face the style sheet declares, loaded now rather than when a
    // text first needs it: a box opened long after a deploy or two still
    // has its face, though this version's folder is gone from the host.
    document.fonts.forEach((face) => face.load().catch(() => {}));
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
        // The worker in charge, if any, is asked to keep this version whole.
        navigator.serviceWorker.register(url).then((registration) => {
            registration.active?.postMessage(REFILL);
            return registration.update().catch(() => {});
        }, failed);
    } catch (error) {
        failed(error);
    }
}
