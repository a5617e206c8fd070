// Chromium for the end-to-end suite's web adapter (web.py), driven through
// playwright-core: one browser for the whole run, a fresh context per game.
// Reads one JSON request per line on stdin, {"id", "op", ...arguments}, and
// answers each with one line on stdout, {"id", "value"} or {"id", "error"}.
// Positions are CSS pixels of the page.

import { mkdtemp, readFile, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createInterface } from 'node:readline';
import { chromium } from 'playwright-core';

const CHROMIUM = '/usr/bin/chromium';
const ARGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
              '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const TIMEOUT_MS = 30000;
const KEY_DELAY_MS = 30;
const POLL_MS = 50;
const ALT = 1;  // the modifier bit of Input.dispatchKeyEvent

const browser = await chromium.launch({ executablePath: CHROMIUM, args: ARGS });
const games = new Map();
let lastId = 0;

// axe-core's WCAG 2.2 A and AA rules.
const AXE = new URL('node_modules/axe-core/axe.min.js', import.meta.url);
const WCAG_AA = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22a', 'wcag22aa'];

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// What a game's page did that no scenario allows: a request that left the
// origin, an uncaught error.
function watch(game, origin) {
  game.problems = [];
  game.closed = false;
  game.context.on('request', (request) => {
    const url = request.url();
    if (!url.startsWith(origin + '/') && !/^(data|blob):/.test(url)) {
      game.problems.push('a request left the origin: ' + url);
    }
  });
  watchPage(game);
}

function watchPage(game) {
  game.page.on('pageerror', (error) => game.problems.push('uncaught on the page: ' + error));
  game.page.on('close', () => { game.closed = true; });
}

// A key by Playwright's name, or a letter that the US layout lacks as a
// Russian layout types it: {key, code, keyCode, alt}.
async function press(game, key) {
  const page = game.page;
  if (typeof key === 'string') return page.keyboard.press(key, { delay: KEY_DELAY_MS });
  game.cdp ??= await game.context.newCDPSession(page);
  const event = { key: key.key, code: key.code, windowsVirtualKeyCode: key.keyCode,
                  modifiers: key.alt ? ALT : 0 };
  if (key.alt) await page.keyboard.down('Alt');
  await game.cdp.send('Input.dispatchKeyEvent', key.alt ? { ...event, type: 'rawKeyDown' }
                                                        : { ...event, type: 'keyDown', text: key.key });
  await sleep(KEY_DELAY_MS);
  await game.cdp.send('Input.dispatchKeyEvent', { ...event, type: 'keyUp' });
  if (key.alt) await page.keyboard.up('Alt');
}

async function pointer(game, touch, x, y) {
  if (touch) {
    await game.page.touchscreen.tap(x, y);
  } else {
    await game.page.mouse.click(x, y);
  }
}

const ops = {
  // `init`: a script run in the page before its own (for measurements).
  async open({ origin, path, viewport, dpr, touch, init }) {
    const context = await browser.newContext({
      viewport, deviceScaleFactor: dpr, hasTouch: touch, isMobile: touch,
    });
    context.setDefaultTimeout(TIMEOUT_MS);
    if (init) await context.addInitScript(init);
    const game = { context, page: await context.newPage() };
    watch(game, origin);
    games.set(++lastId, game);
    await game.page.goto(origin + path);
    return lastId;
  },
  async close({ game }) {
    await games.get(game).context.close();
    games.delete(game);
  },
  async clicks({ game, points, touch }) {
    for (const [x, y] of points) await pointer(games.get(game), touch, x, y);
  },
  async keys({ game, keys }) {
    for (const key of keys) await press(games.get(game), key);
  },
  async screenshot({ game, clip }) {
    const png = await games.get(game).page.screenshot({ clip: clip ?? undefined, type: 'png' });
    return png.toString('base64');
  },
  // A JavaScript expression's value; a promise is awaited.
  async eval({ game, expression }) {
    return games.get(game).page.evaluate(expression);
  },
  // Polled here rather than with waitForFunction, which a page's
  // Content-Security-Policy without 'unsafe-eval' stops.
  async waitFor({ game, expression, timeout }) {
    const deadline = Date.now() + timeout;
    for (;;) {
      // A page that is being loaded again has no context to evaluate in.
      const value = await games.get(game).page.evaluate(expression).catch(() => false);
      if (value) return;
      if (Date.now() > deadline) throw new Error('timed out waiting for ' + expression);
      await sleep(POLL_MS);
    }
  },
  // A new viewport size, once the page has laid itself out for it: its
  // resize handlers run before the next frame.
  async viewport({ game, width, height }) {
    const page = games.get(game).page;
    await page.setViewportSize({ width, height });
    await page.evaluate(() => new Promise((done) => {
      requestAnimationFrame(() => requestAnimationFrame(done));
    }));
  },
  // Fingers on the screen at once: each down in turn, then each lifted in
  // turn, every lift while the later fingers are still down.
  async overlappingTouches({ game, points }) {
    const g = games.get(game);
    g.cdp ??= await g.context.newCDPSession(g.page);
    const touches = points.map(([x, y], id) => ({ x, y, id }));
    for (let n = 1; n <= touches.length; ++n) {
      await g.cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: touches.slice(0, n) });
    }
    for (let n = 1; n < touches.length; ++n) {
      await g.cdp.send('Input.dispatchTouchEvent', { type: 'touchMove', touchPoints: touches.slice(n) });
    }
    await g.cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  },
  // The page as a high-contrast theme shows it (forced colours), or not.
  async forcedColors({ game, active }) {
    await games.get(game).page.emulateMedia({ forcedColors: active ? 'active' : 'none' });
  },
  // The faces the page's text of each element is drawn in:
  // [[{familyName, isCustomFont, glyphCount}...]...].
  async drawnFonts({ game, selectors }) {
    const g = games.get(game);
    g.cdp ??= await g.context.newCDPSession(g.page);
    await g.cdp.send('DOM.enable');
    await g.cdp.send('CSS.enable');
    const { root } = await g.cdp.send('DOM.getDocument', { depth: -1 });
    const faces = [];
    for (const selector of selectors) {
      const { nodeId } = await g.cdp.send('DOM.querySelector', { nodeId: root.nodeId, selector });
      faces.push((await g.cdp.send('CSS.getPlatformFontsForNode', { nodeId })).fonts);
    }
    return faces;
  },
  // The page opened again in a new tab of the same browser, in place of
  // the old one, which is closed.
  async newTab({ game, origin, path }) {
    const g = games.get(game);
    const page = await g.context.newPage();
    await g.page.close();
    Object.assign(g, { page, cdp: undefined, closed: false });
    watchPage(g);
    await page.goto(origin + path);
  },
  async offline({ game, offline }) {
    await games.get(game).context.setOffline(offline);
  },
  async reload({ game }) {
    await games.get(game).page.reload();
  },
  // What keeps the browser from offering to install the page as an app, as
  // a profile of its own (not incognito) sees it once the page is ready.
  async installabilityErrors({ origin, path, ready }) {
    const profile = await mkdtemp(join(tmpdir(), 'tarpo-profile-'));
    const context = await chromium.launchPersistentContext(profile, {
      executablePath: CHROMIUM, args: ARGS,
    });
    try {
      const page = context.pages()[0] ?? await context.newPage();
      await page.goto(origin + path);
      const game = { page };
      games.set(0, game);
      await ops.waitFor({ game: 0, expression: ready, timeout: TIMEOUT_MS });
      const cdp = await context.newCDPSession(page);
      return (await cdp.send('Page.getInstallabilityErrors')).installabilityErrors;
    } finally {
      games.delete(0);
      await context.close();
      await rm(profile, { recursive: true, force: true });
    }
  },
  // Chromium's accessibility tree as a screen reader gets it, in tree
  // order, without the nodes it leaves out: [{role, name, focused,
  // keyshortcuts, text, box}], `text` the text inside the node, `box` its
  // border box in CSS pixels or null.
  // DevTools hands the keyboard shortcuts over as their UTF-8 bytes read one
  // by one ("Alt+Ð\x9c" for "Alt+М"); AT-SPI has them right, so they are
  // read back as UTF-8 here where they come that way.
  async accessibilityTree({ game }) {
    const g = games.get(game);
    g.cdp ??= await g.context.newCDPSession(g.page);
    const { nodes } = await g.cdp.send('Accessibility.getFullAXTree');
    const byId = new Map(nodes.map((node) => [node.nodeId, node]));
    const property = (node, name) => node.properties?.find((p) => p.name === name)?.value.value;
    const utf8 = (bytes) => {
      if (!bytes || /[^\0-\xff]/.test(bytes)) return bytes;
      try {
        return new TextDecoder('utf-8', { fatal: true }).decode(Buffer.from(bytes, 'latin1'));
      } catch {
        return bytes;
      }
    };
    const text = (node) => node.ignored ? '' : node.role?.value === 'StaticText'
      ? node.name?.value ?? '' : (node.childIds ?? []).map((id) => text(byId.get(id) ?? {})).join('');
    const out = [];
    const walk = async (node) => {
      if (!node) return;
      if (!node.ignored) {
        let box = null;
        if (node.backendDOMNodeId) {
          const model = await g.cdp.send('DOM.getBoxModel', { backendNodeId: node.backendDOMNodeId })
            .catch(() => null);
          const quad = model?.model.border;
          if (quad) box = { x: quad[0], y: quad[1], width: quad[2] - quad[0], height: quad[5] - quad[1] };
        }
        out.push({ role: node.role?.value ?? '', name: node.name?.value ?? '',
                   focused: !!property(node, 'focused'),
                   keyshortcuts: utf8(property(node, 'keyshortcuts') ?? ''), text: text(node), box });
      }
      for (const id of node.childIds ?? []) await walk(byId.get(id));
    };
    await walk(nodes.find((node) => !node.parentId));
    return out;
  },
  // axe-core's violations of WCAG 2.2 A and AA on the page as it is:
  // [{id, help, targets}]. Its source is evaluated in the page, as the
  // page's own policy allows no script from elsewhere.
  async axe({ game }) {
    const page = games.get(game).page;
    if (!(await page.evaluate('typeof axe === "object"'))) {
      await page.evaluate((await readFile(AXE, 'utf8')) + '\n;0');
    }
    return page.evaluate(`axe.run(document, { runOnly: { type: 'tag', values: ${JSON.stringify(WCAG_AA)} } })
      .then((r) => r.violations.map((v) => ({ id: v.id, help: v.help,
        targets: v.nodes.map((n) => n.target.join(' ')) })))`);
  },
  async closed({ game }) {
    return games.get(game).closed;
  },
  async problems({ game }) {
    const found = games.get(game).problems;
    games.get(game).problems = [];
    return found;
  },
};

const input = createInterface({ input: process.stdin });
for await (const line of input) {
  const { id, op, ...args } = JSON.parse(line);
  let answer;
  try {
    answer = { id, value: (await ops[op](args)) ?? null };
  } catch (error) {
    answer = { id, error: String(error.stack || error) };
  }
  process.stdout.write(JSON.stringify(answer) + '\n');
}
await browser.close();
