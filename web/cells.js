// Picture boxes drawn in device pixels: a cell of the board, with or without
// its 2-px sunken frame, or the preview. Pictures are drawn without smoothing,
// every picture pixel a block of device pixels; frames are whole device pixels
// at any ratio, so all of them look the same and none leaves a sliver.

// The desktop palette of style.css, read once.
export function readPalette() {
    const style = getComputedStyle(document.documentElement);
    const colour = (name) => style.getPropertyValue(name).trim();
    return {
        window: colour("--window"),
        light: colour("--light"),
        midlight: colour("--midlight"),
        dark: colour("--dark"),
        shadow: colour("--shadow"),
    };
}

// Lit from the top left: dark outside and shadow inside on the top and left
// edges, light outside and midlight inside on the bottom and right. `rings`:
// the frame's width in device pixels and its outer ring's, as the form's rule
// gives them.
function drawSunkenFrame(g, w, h, {width: frame, outer}, palette) {
    const inner = frame - outer;
    const fill = (colour, x, y, width, height) => {
        g.fillStyle = colour;
        g.fillRect(x, y, width, height);
    };
    fill(palette.light, 0, h - outer, w, outer);
    fill(palette.light, w - outer, 0, outer, h);
    fill(palette.dark, 0, 0, w - outer, outer);
    fill(palette.dark, 0, 0, outer, h - outer);
    fill(palette.midlight, outer, h - frame, w - 2 * outer, inner);
    fill(palette.midlight, w - frame, outer, inner, h - 2 * outer);
    fill(palette.shadow, outer, outer, w - outer - frame, inner);
    fill(palette.shadow, outer, outer, inner, h - outer - frame);
}

// One canvas at a rectangle of the client area, in form pixels, showing a
// part of a picture at its top-left corner.
export class PictureBox {
    // `frameWidth`: the width of the sunken frame in form pixels, when it is
    // on; `frameRings(ratio)`: its width and its outer ring's in device
    // pixels at `ratio` device pixels per form pixel, and the width of a
    // band of the focus ring, {width, outer, ring}. `focusRing`: the
    // keyboard focus ring of the form description, for a box that shows one.
    constructor(canvas, frameWidth, frameRings, palette, focusRing = null) {
        this.canvas = canvas;
        this.focusRing = focusRing;
        this.ringShown = false;
        this.frameWidth = frameWidth;
        this.frameRings = frameRings;
        this.palette = palette;
        this.rect = null;
        this.picture = null;  // {image, x, y, width, height} or null
        this.framed = false;
    }

    // Shows `picture` (or nothing) in the box at `rect` ([left, top, width,
    // height]), framed or not.
    show(rect, picture, framed) {
        if (!this.rect || rect.some((v, i) => v !== this.rect[i])) {
            this.rect = rect;
            const style = this.canvas.style;
            [style.left, style.top, style.width, style.height] = rect.map((v) => v + "px");
        }
        this.picture = picture;
        this.framed = framed;
        this.draw();
    }

    // Device pixels per form pixel come from where the box lands on the
    // screen: its corners rounded to whole device pixels, as the browser
    // places the canvas.
    draw() {
        const dpr = window.devicePixelRatio || 1;
        const box = this.canvas.getBoundingClientRect();
        const w = Math.max(1, Math.round(box.right * dpr) - Math.round(box.left * dpr));
        const h = Math.max(1, Math.round(box.bottom * dpr) - Math.round(box.top * dpr));
        const ratio = (box.width * dpr) / this.rect[2];
        if (this.canvas.width !== w || this.canvas.height !== h) {
            this.canvas.width = w;
            this.canvas.height = h;
        }
        const g = this.canvas.getContext("2d", {alpha: true});
        g.imageSmoothingEnabled = false;
        g.clearRect(0, 0, w, h);
        const rings = this.framed ? this.frameRings(ratio) : null;
        const inset = rings ? rings.width : 0;
        if (this.picture) {
            const p = this.picture;
            // A piece fills what its frame encloses, so that pieces meet on
            // the device pixel grid; a smaller picture keeps its own size.
            const fills = this.rect[2] - 2 * (this.framed ? this.frameWidth : 0) === p.width;
            g.drawImage(p.image, p.x, p.y, p.width, p.height, inset, inset,
                        fills ? w - 2 * inset : Math.round(p.width * ratio),
                        fills ? h - 2 * inset : Math.round(p.height * ratio));
        } else if (this.framed) {
            // An empty framed cell is a clean well of window background.
            g.fillStyle = this.palette.window;
            g.fillRect(inset, inset, w - 2 * inset, h - 2 * inset);
        }
        // The frame last: where the picture, rounded, reaches under it, the
        // frame keeps its width.
        if (rings) drawSunkenFrame(g, w, h, rings, this.palette);
        if (this.ringShown) this.drawFocusRing(g, box, dpr, ratio);
    }

    // `canvas` in the place of the box's canvas, showing what it showed.
    replaceCanvas(canvas) {
        for (const property of ["left", "top", "width", "height"]) {
            canvas.style[property] = this.canvas.style[property];
        }
        canvas.setAttribute("aria-label", this.canvas.getAttribute("aria-label"));
        this.canvas.replaceWith(canvas);
        this.canvas = canvas;
        this.draw();
    }

    showRing(on) {
        if (on === this.ringShown || !this.focusRing) return;
        this.ringShown = on;
        this.draw();
    }

    // The form's focus ring: a black band and, within it, a white one, in
    // whole device pixels. Its edges are rounded where they lie on the
    // screen, as the neighbours' canvases are, so that the right and lower
    // neighbours, which overlap a framed cell, cover none of it.
    drawFocusRing(g, box, dpr, ratio) {
        const {outer: dark, inner: light} = this.focusRing;
        const [left, top, width, height] = this.focusRing[this.framed ? "framed" : "unframed"];
        const edge = (from, at) => Math.round(from * dpr + at * ratio) - Math.round(from * dpr);
        const x0 = edge(box.left, left);
        const y0 = edge(box.top, top);
        const x1 = edge(box.left, left + width);
        const y1 = edge(box.top, top + height);
        const band = this.frameRings(ratio).ring;
        const ring = (colour, at) => {
            g.fillStyle = `rgb(${colour.join(",")})`;
            g.fillRect(x0 + at, y0 + at, x1 - x0 - 2 * at, band);
            g.fillRect(x0 + at, y1 - at - band, x1 - x0 - 2 * at, band);
            g.fillRect(x0 + at, y0 + at + band, band, y1 - y0 - 2 * at - 2 * band);
            g.fillRect(x1 - at - band, y0 + at + band, band, y1 - y0 - 2 * at - 2 * band);
        };
        ring(dark, 0);
        ring(light, band);
    }
}
