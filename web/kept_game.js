// The game in progress kept in the tab (sessionStorage), so that a reload, or
// a tab the browser discarded and brings back, shows it exactly as it was: the
// input since the last new game (the set it dealt, the time that seeded its
// deal, then every click that changed the board) and the set chosen in the
// list, played through the session again. A new tab starts afresh, as a newly
// started program does.

const KEY = "tarpo-game";

function storage() {
    try {
        return window.sessionStorage;
    } catch {
        return null;  // storage turned off: the game is simply not kept
    }
}

export class KeptGame {
    constructor() {
        this.storage = storage();
        // {deal: {set, time} or null, clicks: [cell...], chosen: entry or null}
        this.record = {deal: null, clicks: [], chosen: null};
        try {
            const kept = JSON.parse(this.storage?.getItem(KEY) ?? "null");
            if (kept && Array.isArray(kept.clicks)) this.record = kept;
        } catch {
            // Nothing usable kept: a fresh start.
        }
    }

    // Plays what was kept through `game`: {newGame(set, time), click(cell),
    // choose(entry)}.
    // The record is written again as they play.
    replay(game) {
        const {deal, clicks, chosen} = this.record;
        this.record = {deal: null, clicks: [], chosen: null};
        try {
            if (deal) game.newGame(deal.set, deal.time);
            for (const cell of clicks) game.click(cell);
            if (chosen !== null) game.choose(chosen);
        } catch {
            this.forget();  // a record the session cannot play: the game goes on from here
        }
    }

    newGame(set, time) {
        this.record.deal = {set, time};
        this.record.clicks = [];
        this.save();
    }

    click(cell) {
        this.record.clicks.push(cell);
        this.save();
    }

    choose(entry) {
        this.record.chosen = entry;
        this.save();
    }

    // The game has ended: a reload starts afresh.
    forget() {
        this.record = {deal: null, clicks: [], chosen: null};
        try {
            this.storage?.removeItem(KEY);
        } catch {
            // Nothing to forget.
        }
    }

    save() {
        try {
            this.storage?.setItem(KEY, JSON.stringify(this.record));
        } catch {
            // Full or refused: the game goes on, only not kept.
        }
    }
}
