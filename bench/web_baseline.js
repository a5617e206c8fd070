// The web bench's baseline page: the game page's window with the same
// controls, built from the same form description by the same modules, but
// with neither the game's WebAssembly nor its pictures. It stands in for the
// page's main.js in a copy of the site.

import {Form} from "./form.js";

document.getElementById("unstarted").remove();
const facts = await (await fetch(new URL("form.json", import.meta.url))).json();
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
// Once the frame that shows it has been drawn.
await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
document.documentElement.dataset.painted = "1";
document.documentElement.dataset.ready = "1";
