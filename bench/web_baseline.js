// The web bench's baseline page: the game page's window with the same
// controls, built from the same form description by the same modules, but
// with neither the game's WebAssembly nor its pictures. Joined with the
// page's modules, it stands in for the page's main.js in a copy of the site.

import {Form} from "../web/form.js";
import {styleSheet} from "../web/loader.js";

// As the game does: its no-script notice goes, and the style sheet, which
// no longer holds the script up, is waited for.
await styleSheet();
const facts = await (await fetch(new URL("form.json", import.meta.url))).json();
// The frame's rings as the game works them out at ratio 1, the outer half of
// its width, at any ratio: the same drawing work.
const frameRings = (ratio) => {
    const width = Math.round(facts.frame_width * ratio);
    return {width, outer: Math.ceil(width / 2)};
};
const form = new Form(facts, [], {newGame() {}, click() {}, exit() {}, inTurn: (action) => action()},
                      frameRings);
// The look the game session draws at start-up: every cell framed and empty.
facts.cell_rects.framed.forEach((_, cell) => form.drawCell(cell, -1, -1, true));
form.drawPreview(-1);
form.element.hidden = false;
form.placeWindow();
form.button.focus();

// The copy that keeps itself offline registers the game's kind of worker,
// as the game does, once its window is on the screen.
if (document.documentElement.dataset.worker !== undefined) {
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
    const policy = window.trustedTypes?.createPolicy("tarpo", {createScriptURL: (url) => url});
    await navigator.serviceWorker.register(policy ? policy.createScriptURL("sw.js") : "sw.js");
}
