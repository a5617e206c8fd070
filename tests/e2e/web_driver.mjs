// Chromium for the end-to-end suite's web adapter (web.py), driven through
// playwright-core: one browser for the whole run, a fresh context per game.
// Reads one JSON request per line on stdin, {"id", "op", ...arguments}, and
// answers each with one line on stdout, {"id", "value"} or {"id", "error"}.
// Positions are CSS pixels of the page.

import { mkdtemp, rm } from 'node:fs/promises';
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
  async offline({ game, offline }) {
    await games.get(game).context.setOffline(offline);
  },
  async reload({ game }) {
    await games.get(game).page.reload();
  },
  // The address typed again: a return visit.
  async goto({ game, url }) {
    await games.get(game).page.goto(url);
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
