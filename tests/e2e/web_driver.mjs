// A browser engine for the end-to-end tests' web adapter (web.py): Chromium
// (over the DevTools protocol) and Firefox ESR (over WebDriver BiDi) through
// puppeteer-core, WebKitGTK's MiniBrowser through WebKitWebDriver (classic
// WebDriver over HTTP), which is all it speaks. A fresh context per game.
//
// Usage: node web_driver.mjs chromium|firefox|webkit [headed]
// "headed": Chromium and Firefox show their windows on $DISPLAY and serve
// their accessibility tree over AT-SPI, as to a screen reader.
// Reads one JSON request per line on stdin, {"id", "op", "game", ...arguments},
// and answers each with one line on stdout, {"id", "value"} or {"id", "error"}.
// Every operation takes the game and the request. Positions are CSS pixels
// of the page.

import { spawn } from 'node:child_process';
import { mkdir, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { createInterface } from 'node:readline';

const CHROMIUM = '/usr/bin/chromium';
// --test-type and --lang=ru keep the "--no-sandbox" bar and the offer to
// translate the Russian page off a headed window.
const CHROMIUM_ARGS = ['--no-sandbox', '--test-type', '--lang=ru', '--disable-gpu',
                       '--disable-quic', '--no-first-run', '--disable-background-networking',
                       '--disable-component-update', '--disable-sync'];
const FIREFOX = '/usr/bin/firefox-esr';
const WEBKIT_DRIVER = '/usr/bin/WebKitWebDriver';
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
// Compositing from the start: WebKit turns it on for a modal box and keeps
// it, drawing the text around with other anti-aliasing from then on.
const WEBKIT_ENV = { WEBKIT_FORCE_COMPOSITING_MODE: '1' };
const TIMEOUT_MS = 30000;
const POLL_MS = 50;
// axe-core's WCAG 2.2 A and AA rules.
const AXE = new URL('node_modules/axe-core/axe.min.js', import.meta.url);
const WCAG_AA = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22a', 'wcag22aa'];
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Whether a request stays within the site (or is data the page made).
const local = (url, origin) => url.startsWith(origin + '/') || /^(data|blob):/.test(url);
const leftOrigin = (url) => 'a request left the origin: ' + url;

// Polls check() until it gives something true.
async function waitFor(check, what, timeout) {
  const deadline = Date.now() + timeout;
  while (!(await check())) {
    if (Date.now() > deadline) throw new Error('timed out waiting for ' + what);
    await sleep(POLL_MS);
  }
}

// A key by name, with modifiers ("Alt+h", "Shift+Tab"), or a letter that the
// US layout lacks as a Russian layout types it, {key, code, keyCode, alt}:
// the modifiers held for it and the key's own name.
function parseKey(key) {
  if (typeof key !== 'string') return { held: key.alt ? ['Alt'] : [], name: key.key };
  const parts = key.split('+');
  return { held: parts.slice(0, -1), name: parts[parts.length - 1] || '+' };
}

// Input that closes the page (the menu's "Exit") ends without its last
// steps: that is no error.
const untilClosed = (game, input) => input().catch((error) => {
  if (!game.page.isClosed()) throw error;
});

// -- Chromium and Firefox: puppeteer-core -------------------------------------

async function puppeteerEngine(engineName, headed) {
  const { default: puppeteer } = await import('puppeteer-core');
  const chromium = engineName === 'chromium';
  const args = headed ? [...CHROMIUM_ARGS, '--force-renderer-accessibility'] : CHROMIUM_ARGS;
  // A headed Chromium with a profile that offers no translation: it would
  // offer one in an alert, which a screen reader reads in place of the page.
  const headedProfile = chromium && headed && mkdtemp(join(tmpdir(), 'tarpo-profile-'))
    .then(async (folder) => {
      await mkdir(join(folder, 'Default'));
      await writeFile(join(folder, 'Default', 'Preferences'),
                      JSON.stringify({ translate: { enabled: false } }));
      return folder;
    });
  const launch = async (dpr, userDataDir) => puppeteer.launch(chromium
    ? { browser: 'chrome', executablePath: CHROMIUM, args, headless: !headed,
        userDataDir: userDataDir ?? (await headedProfile || undefined), defaultViewport: null }
    : { browser: 'firefox', executablePath: FIREFOX, headless: !headed, defaultViewport: null,
        extraPrefsFirefox: { 'layout.css.devPixelsPerPx': String(dpr) } });
  // Firefox sets its device pixel ratio for the whole browser: one browser
  // per ratio, started when a game first asks for it. Chromium sets it per
  // page.
  const browsers = new Map();
  let installer;
  // A browser of its own with a profile on disk, and the profile's folder.
  const profiled = async (dpr) => {
    const folder = await mkdtemp(join(tmpdir(), 'tarpo-profile-'));
    return { folder, browser: await launch(dpr, folder) };
  };
  const dropProfiled = async ({ browser, folder }) => {
    await browser.close();
    await rm(folder, { recursive: true, force: true });
  };
  const browserAt = (dpr) => {
    const key = chromium ? 1 : dpr;
    if (!browsers.has(key)) browsers.set(key, launch(dpr));
    return browsers.get(key);
  };
  const setViewport = (game, { width, height }) => game.page.setViewport(chromium
    ? { width, height, deviceScaleFactor: game.dpr, hasTouch: game.touch, isMobile: game.touch }
    : { width, height });
  // What a game's page did that no scenario allows: a request that left the
  // origin (its service workers' too, where the DevTools protocol shows
  // them), an uncaught error.
  const request = (game, url) => local(url, game.origin) || game.problems.push(leftOrigin(url));
  const watchWorkers = (game, browser) => browser.on('targetcreated', async (target) => {
    if (target.type() !== 'service_worker' || game.context !== target.browserContext()) return;
    // A worker may be gone before it can be watched (one replaced at once).
    const cdp = await target.createCDPSession().catch(() => null);
    if (!cdp) return;
    cdp.on('Network.requestWillBeSent', (e) => request(game, e.request.url));
    await cdp.send('Network.enable').catch(() => {});
  });
  // `loaded`: until the page's load event; otherwise at once, for a page
  // whose load a stalled style sheet holds back.
  const newPage = async (game, path, loaded = true) => {
    const page = game.page = await game.context.newPage();
    page.setDefaultTimeout(TIMEOUT_MS);
    if (game.init) await page.evaluateOnNewDocument(game.init);
    page.on('request', (r) => request(game, r.url()));
    page.on('pageerror', (error) => game.problems.push('uncaught on the page: ' + error));
    await setViewport(game, game.viewport);
    if (chromium) game.cdp = await page.createCDPSession();
    // A headed window has the keyboard once it is in front.
    if (headed) await page.bringToFront();
    const going = page.goto(game.origin + path);
    if (loaded) await going; else going.catch(() => {});
  };
  // The language a screen reader reads a DOM node in: its element's, or the
  // nearest ancestor's, lang attribute.
  const language = async (game, backendNodeId) => {
    const { object } = await game.cdp.send('DOM.resolveNode', { backendNodeId });
    const { result } = await game.cdp.send('Runtime.callFunctionOn', {
      objectId: object.objectId, returnByValue: true,
      functionDeclaration: 'function () { const e = this.nodeType === 1 ? this : this.parentElement; '
        + 'return e?.closest("[lang]")?.lang ?? ""; }',
    });
    return result.value;
  };
  // Chromium's accessibility tree, each node but the ignored ones with its
  // element's border box in CSS pixels (or null) and, if asked, its
  // language (null for a node without a name or an element), in tree order.
  const axTree = async (game, languages) => {
    const { nodes } = await game.cdp.send('Accessibility.getFullAXTree');
    const byId = new Map(nodes.map((node) => [node.nodeId, node]));
    const out = [];
    const walk = async (node) => {
      if (!node) return;
      const backendNodeId = node.backendDOMNodeId;
      if (!node.ignored) {
        const model = backendNodeId && await game.cdp.send('DOM.getBoxModel', { backendNodeId })
          .catch(() => null);
        const quad = model?.model?.border;
        const named = languages && backendNodeId && node.name?.value;
        out.push({ node, byId, lang: named ? await language(game, backendNodeId) : null,
                   box: quad ? { x: quad[0], y: quad[1], width: quad[2] - quad[0], height: quad[5] - quad[1] } : null });
      }
      for (const id of node.childIds ?? []) await walk(byId.get(id));
    };
    await walk(nodes.find((node) => !node.parentId));
    return out;
  };
  // DevTools hands the keyboard shortcuts over as their UTF-8 bytes read one
  // by one ("Alt+Ð\x9c" for "Alt+М"); AT-SPI has them right, so they are
  // read back as UTF-8 here where they come that way.
  const utf8 = (bytes) => {
    if (/[^\0-\xff]/.test(bytes)) return bytes;
    const text = Buffer.from(bytes, 'latin1').toString('utf8');
    return text.includes('\uFFFD') ? bytes : text;
  };
  return {
    // `profile`: a browser of its own with a profile on disk, as a player's
    // is, rather than a fresh context that keeps its caches in memory.
    // `init`: a script run in the page before its own (for measurements).
    async open({ origin, path, viewport, dpr, touch, init, profile, loaded }) {
      const game = { origin, viewport, dpr, touch, init, problems: [] };
      if (profile) {
        Object.assign(game, await profiled(dpr));
        game.context = game.browser.defaultBrowserContext();
      } else {
        game.context = await (await browserAt(dpr)).createBrowserContext();
      }
      if (chromium) watchWorkers(game, game.context.browser());
      await newPage(game, path, loaded);
      return game;
    },
    setViewport(game, size) {
      game.viewport = size;  // for a new tab of the game
      return setViewport(game, size);
    },
    clicks: (game, { points, touch }) => untilClosed(game, async () => {
      for (const [x, y] of points) {
        if (touch) await game.page.touchscreen.tap(x, y);
        else await game.page.mouse.click(x, y);
      }
    }),
    keys: (game, { keys }) => untilClosed(game, async () => {
      const keyboard = game.page.keyboard;
      for (const key of keys) {
        const { held, name } = parseKey(key);
        for (const modifier of held) await keyboard.down(modifier);
        if (typeof key === 'string' || !game.cdp) {
          await keyboard.press(name);
        } else {  // a key that only a Russian layout has, as Chromium gets it
          const event = { key: key.key, code: key.code, windowsVirtualKeyCode: key.keyCode,
                          modifiers: key.alt ? 1 : 0 };
          await game.cdp.send('Input.dispatchKeyEvent', key.alt
            ? { ...event, type: 'rawKeyDown' } : { ...event, type: 'keyDown', text: key.key });
          await game.cdp.send('Input.dispatchKeyEvent', { ...event, type: 'keyUp' });
        }
        for (const modifier of held.reverse()) await keyboard.up(modifier);
      }
    }),
    // puppeteer takes whole CSS pixels: the clip widened to them, which
    // web.py cuts the wanted clip out of.
    async screenshot(game, { clip }) {
      if (clip) {
        const [x, y] = [Math.floor(clip.x), Math.floor(clip.y)];
        clip = { x, y, width: Math.ceil(clip.x + clip.width) - x,
                 height: Math.ceil(clip.y + clip.height) - y };
      }
      // Chromium can encode faster, as the same pixels; WebDriver BiDi cannot.
      const png = await game.page.screenshot({ clip: clip ?? undefined, captureBeyondViewport: false,
                                               optimizeForSpeed: chromium });
      return { png: Buffer.from(png).toString('base64'), clip };
    },
    eval: (game, { expression }) => game.page.evaluate(expression),
    reload: (game) => game.page.reload(),
    goto: (game, { url }) => game.page.goto(url),
    closed: (game) => game.page.isClosed(),
    close: (game) => (game.folder ? dropProfiled(game) : game.context.close()),
    problems: (game) => game.problems.splice(0),
    // What keeps the browser from offering to install the page as an app, as
    // a profile of its own (not incognito) sees it once `ready` holds, on a
    // first visit: the browser is started once, and forgets the origin and
    // its cache before each visit.
    async installabilityErrors(_, { origin, path, ready }) {
      installer ??= profiled(1);
      const page = await (await installer).browser.newPage();
      try {
        const cdp = await page.createCDPSession();
        await cdp.send('Storage.clearDataForOrigin', { origin, storageTypes: 'all' });
        await cdp.send('Network.clearBrowserCache');
        await page.goto(origin + path);
        await waitFor(() => page.evaluate(ready), ready, TIMEOUT_MS);
        return (await cdp.send('Page.getInstallabilityErrors')).installabilityErrors;
      } finally {
        await page.close();
      }
    },
    // Fingers on the screen at once: each down in turn, then each lifted in
    // turn, every lift while the later fingers are still down.
    async overlappingTouches(game, { points }) {
      const touches = points.map(([x, y], id) => ({ x, y, id }));
      const touch = (type, touchPoints) => game.cdp.send('Input.dispatchTouchEvent', { type, touchPoints });
      for (let n = 1; n <= touches.length; ++n) await touch('touchStart', touches.slice(0, n));
      for (let n = 1; n < touches.length; ++n) await touch('touchMove', touches.slice(n));
      await touch('touchEnd', []);
    },
    // The page as a high-contrast theme shows it (forced colours), or not.
    forcedColors: (game, { active }) => game.page.emulateMediaFeatures(
      [{ name: 'forced-colors', value: active ? 'active' : 'none' }]),
    // The faces the page's text of each element is drawn in:
    // [[{familyName, isCustomFont, glyphCount}...]...].
    async drawnFonts(game, { selectors }) {
      await game.cdp.send('DOM.enable');
      await game.cdp.send('CSS.enable');
      const { root } = await game.cdp.send('DOM.getDocument', { depth: -1 });
      const faces = [];
      for (const selector of selectors) {
        const { nodeId } = await game.cdp.send('DOM.querySelector', { nodeId: root.nodeId, selector });
        faces.push((await game.cdp.send('CSS.getPlatformFontsForNode', { nodeId })).fonts);
      }
      return faces;
    },
    // The page opened again in a new tab of the same browser, in place of
    // the old one, which is closed.
    async newTab(game, { path }) {
      const old = game.page;
      await newPage(game, path);
      await old.close();
    },
    // The tree as a screen reader gets it: [{role, name, focused,
    // keyshortcuts, text, box, lang}], `text` the text inside the node,
    // `lang` its language where `languages` asks for it.
    async accessibilityTree(game, { languages }) {
      const property = (node, name) => node.properties?.find((p) => p.name === name)?.value.value;
      const text = (node, byId) => node.ignored ? '' : node.role?.value === 'StaticText'
        ? node.name?.value ?? '' : (node.childIds ?? []).map((id) => text(byId.get(id) ?? {}, byId)).join('');
      return (await axTree(game, languages)).map(({ node, byId, box, lang }) => ({
        role: node.role?.value ?? '', name: node.name?.value ?? '', focused: !!property(node, 'focused'),
        keyshortcuts: utf8(property(node, 'keyshortcuts') ?? ''), text: text(node, byId), box, lang }));
    },
    // axe-core's violations of WCAG 2.2 A and AA on the page as it is:
    // [{id, help, targets}]. Its source is evaluated in the page, as the
    // page's own policy allows no script from elsewhere.
    async axe(game) {
      const page = game.page;
      if (!(await page.evaluate('typeof axe === "object"'))) {
        await page.evaluate((await readFile(AXE, 'utf8')) + '\n;0');
      }
      return page.evaluate(`axe.run(document, { runOnly: { type: 'tag', values: ${JSON.stringify(WCAG_AA)} } })
        .then((r) => r.violations.map((v) => ({ id: v.id, help: v.help,
          targets: v.nodes.map((n) => n.target.join(' ')) })))`);
    },
    async end() {
      for (const browser of browsers.values()) await (await browser).close();
      if (headedProfile) await rm(await headedProfile, { recursive: true, force: true });
      if (installer) await dropProfiled(await installer);
    },
  };
}

// -- WebKit: classic WebDriver over HTTP ---------------------------------------

const WEBDRIVER_KEYS = { Tab: '\uE004', Enter: '\uE007', Escape: '\uE00C', Space: ' ',
                         ArrowDown: '\uE015', ArrowUp: '\uE013', ArrowLeft: '\uE012',
                         ArrowRight: '\uE014', Home: '\uE011', End: '\uE010',
                         Shift: '\uE008', Control: '\uE009', Alt: '\uE00A' };

const freePort = () => new Promise((resolve) => {
  const server = createServer().listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  });
});

// WebKitGTK takes its device pixel ratio from GDK_SCALE: one WebKitWebDriver
// per ratio, each starting a MiniBrowser per game in the tests' X display.
async function webkit() {
  const drivers = new Map();
  const driverAt = async (dpr) => {
    if (!drivers.has(dpr)) {
      const port = await freePort();
      const child = spawn(WEBKIT_DRIVER, ['--port=' + port], {
        env: { ...process.env, GDK_SCALE: String(dpr), ...WEBKIT_ENV }, stdio: 'ignore',
      });
      const url = 'http://127.0.0.1:' + port;
      drivers.set(dpr, { child, url });
      await waitFor(() => fetch(url + '/status').then((r) => r.ok, () => false),
                    'WebKitWebDriver on port ' + port, TIMEOUT_MS);
    }
    return drivers.get(dpr).url;
  };
  const call = async (url, method, path, body) => {
    const response = await fetch(url + path, {
      method, headers: { 'Content-Type': 'application/json' }, body: body && JSON.stringify(body),
    });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`${method} ${path}: ${value.error}: ${value.message}`);
    return value;
  };
  const session = (game, method, path, body) => call(game.url, method, `/session/${game.session}${path}`, body);
  // The expression's value; a promise is awaited.
  const evaluate = (game, { expression }) => session(game, 'POST', '/execute/async', {
    script: `const done = arguments[arguments.length - 1];
             Promise.resolve().then(() => (${expression})).then(done, (e) => done({ thrown: String(e) }));`,
    args: [],
  }).then((value) => {
    if (value?.thrown) throw new Error(value.thrown);
    return value;
  });
  const actions = (game, source) => session(game, 'POST', '/actions', { actions: [source] });
  // Once its window has gone, a game stays closed.
  const closed = async (game) => (game.closed ||= await session(game, 'GET', '/window')
    .then(() => false, () => true));
  const setViewport = async (game, { width, height }) => {
    const inner = await evaluate(game, { expression: '[innerWidth, innerHeight]' });
    const outer = await session(game, 'GET', '/window/rect');
    await session(game, 'POST', '/window/rect', {
      width: outer.width + width - inner[0], height: outer.height + height - inner[1],
    });
    await waitFor(() => evaluate(game, { expression: `innerWidth === ${width} && innerHeight === ${height}` }),
                  'a viewport of ' + width + ' x ' + height, TIMEOUT_MS);
  };
  return {
    async open({ origin, path, viewport, dpr, loaded = true }) {
      const url = await driverAt(dpr);
      const { sessionId } = await call(url, 'POST', '/session', {
        capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': {
          binary: MINIBROWSER, args: ['--automation'] }, pageLoadStrategy: loaded ? 'normal' : 'none' } },
      });
      const game = { url, origin, session: sessionId, seen: new Set() };
      await session(game, 'POST', '/timeouts', { script: TIMEOUT_MS });
      await session(game, 'POST', '/url', { url: origin + path });
      await setViewport(game, viewport);
      return game;
    },
    setViewport,
    clicks: (game, { points }) => actions(game, {
      type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' },
      actions: points.flatMap(([x, y]) => [
        { type: 'pointerMove', duration: 0, x: Math.floor(x), y: Math.floor(y), origin: 'viewport' },
        { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }]),
    }),
    async keys(game, { keys }) {
      for (const key of keys) {
        const { held, name } = parseKey(key);
        const value = WEBDRIVER_KEYS[name] ?? name;
        const down = held.map((m) => ({ type: 'keyDown', value: WEBDRIVER_KEYS[m] }));
        const up = held.reverse().map((m) => ({ type: 'keyUp', value: WEBDRIVER_KEYS[m] }));
        await actions(game, { type: 'key', id: 'keyboard', actions: [
          ...down, { type: 'keyDown', value }, { type: 'keyUp', value }, ...up] });
      }
    },
    // The whole viewport: web.py cuts the clip out of it.
    async screenshot(game) {
      const [width, height] = await evaluate(game, { expression: '[innerWidth, innerHeight]' });
      return { png: await session(game, 'GET', '/screenshot'), clip: { x: 0, y: 0, width, height } };
    },
    eval: evaluate,
    reload: (game) => session(game, 'POST', '/refresh', {}),
    goto: (game, { url }) => session(game, 'POST', '/url', { url }),
    closed,
    close: (game) => call(game.url, 'DELETE', `/session/${game.session}`),
    // Classic WebDriver reports neither requests nor errors: the requests
    // are read from the page's resource timing.
    async problems(game) {
      if (await closed(game)) return [];
      const urls = await evaluate(game, { expression: "performance.getEntriesByType('resource').map((e) => e.name)" });
      const found = urls.filter((url) => !local(url, game.origin) && !game.seen.has(url));
      found.forEach((url) => game.seen.add(url));
      return found.map(leftOrigin);
    },
    async end() {
      for (const { child } of drivers.values()) child.kill();
    },
  };
}

const [name, headed] = process.argv.slice(2);
const engine = await (name === 'webkit' ? webkit() : puppeteerEngine(name, headed === 'headed'));
const games = new Map();
let lastId = 0;
const ops = {
  ...engine,
  async open(_, request) {
    games.set(++lastId, await engine.open(request));
    return lastId;
  },
  async close(game, request) {
    await engine.close(game);
    games.delete(request.game);
  },
  // Polled here rather than with waitForFunction, which a page's
  // Content-Security-Policy without 'unsafe-eval' stops. A page that is
  // being loaded again has no context to evaluate in.
  waitFor: (game, { expression, timeout }) => waitFor(
    () => engine.eval(game, { expression }).catch(() => false), expression, timeout),
  // A new viewport size, once the page has laid itself out for it: its
  // resize handlers run before the next frame.
  async viewport(game, size) {
    await engine.setViewport(game, size);
    await engine.eval(game, { expression: `new Promise((done) => {
      requestAnimationFrame(() => requestAnimationFrame(() => done(true)));
    })` });
  },
};

for await (const line of createInterface({ input: process.stdin })) {
  const request = JSON.parse(line);
  let answer;
  try {
    const value = await ops[request.op](games.get(request.game), request);
    answer = { id: request.id, value: value ?? null };
  } catch (error) {
    answer = { id: request.id, error: String(error.stack || error) };
  }
  process.stdout.write(JSON.stringify(answer) + '\n');
}
await engine.end();
