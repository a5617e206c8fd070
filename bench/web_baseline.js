// The web bench's baseline page: the game page's window with the same
// controls, built from the same form description by the same modules, but
// with neither the game's WebAssembly nor its pictures. It stands in for the
// page's main.js in a copy of the site.

import {Form} from "./form.js";

const facts = await (await fetch("form.json")).json();
const form = new Form(facts, [], {newGame() {}, click() {}, exit() {}});
// The look the game session draws at start-up: every cell framed and empty.
facts.cell_rects.framed.forEach((_, cell) => form.drawCell(cell, -1, -1, true));
form.drawPreview(-1);
form.element.hidden = false;
form.placeWindow();
form.button.focus();
