// The message box: a modal dialog in the page with a title, the text line by
// line with its spacing, the information icon and OK. Enter, Space and Esc
// close it; the focus goes back where it was.

const dialog = document.getElementById("msgbox");
const title = document.getElementById("msgbox-title");
const text = document.getElementById("msgbox-text");
const ok = document.getElementById("msgbox-ok");
let returnFocus = null;

function close() {
    if (!dialog.open) return;
    dialog.close();
    const back = returnFocus;
    returnFocus = null;
    if (back && document.contains(back)) back.focus();
}

ok.addEventListener("click", close);
// Enter and Esc close it as they go down; Space as it comes up, as a button
// takes it, so that nothing under the box sees the rest of the key.
dialog.addEventListener("keydown", (event) => {
    if (event.key === "Enter" || event.key === "Escape" || event.key === " ") {
        event.preventDefault();
        event.stopPropagation();
        if (event.key !== " ") close();
    }
});
dialog.addEventListener("keyup", (event) => {
    if (event.key === " ") {
        event.preventDefault();
        close();
    }
});
dialog.addEventListener("cancel", (event) => {
    event.preventDefault();
    close();
});

// `message`: the lines joined by carriage returns, as the form has them.
export function showMessage(caption, message) {
    if (dialog.open) return;
    returnFocus = document.activeElement;
    title.textContent = caption;
    text.replaceChildren(...message.split("\r").map((line) => {
        const row = document.createElement("div");
        row.textContent = line;
        return row;
    }));
    dialog.showModal();
    ok.focus();
}
