// The menu bar: "&"-marked captions with their mnemonic letter underlined,
// one entry with a drop-down, the others acting from the bar itself. Alt and
// the letter, or F10 and the arrow keys, reach it from the keyboard; it takes
// no focus from the mouse, as a desktop menu bar does not.

// The letters of a Russian keyboard and the Latin letters of the same keys.
const RUSSIAN_LETTERS = "йцукенгшщзхъфывапролджэячсмитьбю";
const LATIN_KEYS = "qwertyuiop[]asdfghjkl;'zxcvbnm,.";

// The Latin letter of the key that types `letter` (lower case) on a Latin
// or a Russian keyboard; a letter that is on neither stays as it is.
function latinKey(letter) {
    const at = RUSSIAN_LETTERS.indexOf(letter);
    return at < 0 ? letter : LATIN_KEYS[at];
}

// "&Text" -> {text, mnemonic index}
function parseCaption(caption) {
    const at = caption.indexOf("&");
    return at < 0 ? {text: caption, mnemonic: -1}
                  : {text: caption.slice(0, at) + caption.slice(at + 1), mnemonic: at};
}

// `alt`: whether the mnemonic is Alt and the letter (an entry of the bar) or
// the letter alone (an entry of the open drop-down). `lang`: the caption's
// language, where it is not the page's, for a screen reader to read it by.
function menuButton(caption, id, alt, lang) {
    const {text, mnemonic} = parseCaption(caption);
    const button = document.createElement("button");
    button.type = "button";
    button.id = id;
    if (lang) button.lang = lang;
    button.tabIndex = -1;
    button.setAttribute("role", "menuitem");
    if (mnemonic < 0) {
        button.textContent = text;
    } else {
        const letter = document.createElement("u");
        letter.textContent = text[mnemonic];
        button.append(text.slice(0, mnemonic), letter, text.slice(mnemonic + 1));
        button.dataset.mnemonic = text[mnemonic].toLocaleLowerCase();
        button.dataset.key = latinKey(button.dataset.mnemonic);
        // The letter as the caption shows it and, for a letter that is not
        // Latin, also its key's Latin letter, which works on any layout.
        const keys = new Set([text[mnemonic].toLocaleUpperCase(), button.dataset.key.toUpperCase()]);
        button.setAttribute("aria-keyshortcuts",
                            [...keys].map((key) => (alt ? "Alt+" : "") + key).join(" "));
    }
    // A press on the menu leaves the focus where it is.
    button.addEventListener("mousedown", (event) => event.preventDefault());
    return button;
}

export class MenuBar {
    // `items`: [{caption, id, action, lang}] in bar order; the first may
    // instead have `drop: [{caption, id, action, lang}]`, its drop-down.
    // `lang`: the caption's language where it is not the page's.
    constructor(bar, items) {
        this.bar = bar;
        this.returnFocus = null;
        this.entries = items.map((item) => {
            const button = menuButton(item.caption, item.id, true, item.lang);
            bar.append(button);
            if (item.drop) {
                button.setAttribute("aria-haspopup", "menu");
                button.setAttribute("aria-expanded", "false");
            } else {
                button.addEventListener("click", () => this.act(item.action));
            }
            return {button, item};
        });
        const dropItem = this.entries.find((e) => e.item.drop);
        this.dropButton = dropItem.button;
        this.dropdown = document.createElement("div");
        this.dropdown.id = "menu-dropdown";
        this.dropdown.setAttribute("role", "menu");
        // The browser shows it above everything, opens and closes it from its
        // button, and closes it on a press elsewhere or on Escape.
        this.dropdown.popover = "auto";
        this.dropButton.popoverTargetElement = this.dropdown;
        this.dropdown.addEventListener("beforetoggle", (event) => {
            if (event.newState === "open") this.place();
        });
        this.dropdown.addEventListener("toggle", (event) => {
            this.dropButton.setAttribute("aria-expanded", String(event.newState === "open"));
        });
        this.dropEntries = dropItem.item.drop.map((item) => {
            const button = menuButton(item.caption, item.id, false, item.lang);
            button.addEventListener("click", () => this.act(item.action));
            this.dropdown.append(button);
            return {button, item};
        });
        bar.parentElement.append(this.dropdown);
        document.addEventListener("keydown", (event) => this.onKey(event), true);
    }

    get open() {
        return this.dropdown.matches(":popover-open");
    }

    // Under its button, at the window's scale.
    place() {
        const form = this.bar.parentElement;
        const scale = form.getBoundingClientRect().width / form.offsetWidth;
        const button = this.dropButton.getBoundingClientRect();
        Object.assign(this.dropdown.style, {
            left: button.left + "px",
            top: this.bar.getBoundingClientRect().bottom + "px",
            transform: scale < 1 ? `scale(${scale})` : "",
        });
    }

    openDrop(focusFirst) {
        if (!this.open) this.dropdown.showPopover();
        if (focusFirst) this.enter(this.dropEntries[0].button);
    }

    close() {
        if (this.open) this.dropdown.hidePopover();
    }

    // Moves the focus into the menu, remembering where it was.
    enter(button) {
        if (!this.hasFocus()) this.returnFocus = document.activeElement;
        button.focus();
    }

    hasFocus() {
        const focused = document.activeElement;
        return this.bar.contains(focused) || this.dropdown.contains(focused);
    }

    // Leaves the menu: the focus goes back where it was.
    leave() {
        this.close();
        const back = this.returnFocus;
        this.returnFocus = null;
        if (!this.hasFocus()) return;
        if (back && back !== document.body && document.contains(back)) back.focus();
        else document.activeElement.blur();
    }

    act(action) {
        this.leave();
        action();
    }

    onKey(event) {
        if (document.querySelector("dialog[open]") || this.bar.closest("[hidden]")) return;
        const key = event.key;
        const plain = !event.ctrlKey && !event.metaKey;
        const letter = key.length === 1 ? key.toLocaleLowerCase() : "";
        // The typed letter, or else the Latin letter of the key pressed, so
        // that a mnemonic answers on any keyboard layout by its key.
        const latin = /^Key[A-Z]$/.test(event.code) ? event.code.slice(3).toLowerCase() : "";
        const byLetter = (entries) =>
            entries.find((e) => e.button.dataset.mnemonic === letter) ??
            entries.find((e) => e.button.dataset.key === latin);
        if (this.open && plain && (letter || latin)) {
            const entry = byLetter(this.dropEntries);
            if (entry) {
                event.preventDefault();
                this.act(entry.item.action);
                return;
            }
        }
        if (event.altKey && plain && (letter || latin)) {
            const entry = byLetter(this.entries);
            if (!entry) return;
            event.preventDefault();
            if (entry.item.drop) {
                this.enter(entry.button);
                this.openDrop(true);
            } else {
                this.act(entry.item.action);
            }
            return;
        }
        if (key === "F10" && !event.altKey && plain) {
            event.preventDefault();
            this.enter(this.entries[0].button);
            return;
        }
        const inBar = this.entries.findIndex((e) => e.button === document.activeElement);
        const inDrop = this.dropEntries.findIndex((e) => e.button === document.activeElement);
        if (inBar < 0 && inDrop < 0) return;
        const n = this.entries.length;
        if (key === "Escape") {
            event.preventDefault();
            if (inDrop >= 0) {
                this.close();
                this.dropButton.focus();
            } else {
                this.leave();
            }
        } else if (key === "ArrowRight" || key === "ArrowLeft") {
            event.preventDefault();
            const from = inBar >= 0 ? inBar : this.entries.findIndex((e) => e.item.drop);
            this.close();
            this.entries[(from + (key === "ArrowRight" ? 1 : n - 1)) % n].button.focus();
        } else if (key === "ArrowDown" || key === "ArrowUp") {
            event.preventDefault();
            if (inBar >= 0 && this.entries[inBar].item.drop) this.openDrop(true);
            else if (inDrop >= 0) {
                const m = this.dropEntries.length;
                this.dropEntries[(inDrop + (key === "ArrowDown" ? 1 : m - 1)) % m].button.focus();
            }
        } else if ((key === "Enter" || key === " ") && inBar >= 0 && this.entries[inBar].item.drop) {
            event.preventDefault();
            this.openDrop(true);
        } else if (key === "Tab") {
            event.preventDefault();
            this.leave();
        }
    }
}
