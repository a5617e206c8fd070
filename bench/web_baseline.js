// The web bench's baseline page: the game page's window with the same
// controls, built from the same form description by the same modules, but
// with neither the game's WebAssembly nor its pictures. It stands in for the
// page's main.js in a copy of the site.

import {Form} from "./form.js";

const facts = await (await fetch("form.json")).json();
const form = new Form(facts, [], {newGame() {}, click() {}, exit() {}});
const view = form.view;
facts.picture_sets.forEach(({name}) => view.addListEntry(name));
view.selectListEntry(0);
view.setButtonCaption(facts.command1_caption);
view.setTitle(facts.title);
form.drawBlank();
form.element.hidden = false;
form.placeWindow();
form.button.focus();
