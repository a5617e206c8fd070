// The game in progress kept in the tab (sessionStorage), so that a reload, or
// a tab the browser discarded and brings back, shows it exactly as it was:
// the game's position as the session gives it (a short, fixed list of
// numbers) and the entry chosen in the list, saved whole after every change.
// A new tab starts afresh, as a newly started program does.

import {scoped} from "./loader.js";

// Another copy of the site on this origin keeps its own game.
const KEY = scoped("tarpo-position");

function storage() {
    try {
        return window.sessionStorage;
    } catch {
        return null;  // storage turned off: the game is simply not kept
    }
}

// A record of the shape that save writes, or null.
function checked(record) {
    const {position, chosen} = record ?? {};
    return Array.isArray(position) && position.every(Number.isInteger) &&
           Number.isInteger(chosen) ? {position, chosen} : null;
}

export class KeptGame {
    constructor() {
        this.storage = storage();
        // {position: [number...], chosen: entry} or null
        this.record = null;
        try {
            this.record = checked(JSON.parse(this.storage?.getItem(KEY) ?? "null"));
        } catch {
            // Nothing usable kept: a fresh start.
        }
        // A record of another shape is dropped whole, not left for later.
        if (!this.record) this.forget();
    }

    // A record that cannot be written leaves none behind: an older one would
    // show a game from moves ago.
    save(position, chosen) {
        this.record = {position, chosen};
        try {
            this.storage?.setItem(KEY, JSON.stringify(this.record));
        } catch {
            this.forget();
        }
    }

    // The game has ended, or its record was wrong: a reload starts afresh.
    forget() {
        this.record = null;
        try {
            this.storage?.removeItem(KEY);
        } catch {
            // Nothing to forget.
        }
    }
}
