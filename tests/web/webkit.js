// WebKit for the page tests: MiniBrowser driven by WebKitWebDriver over plain WebDriver HTTP, on
// an Xvfb display, behind the few puppeteer calls the tests make. Each page is a session of its
// own driver (one session per driver), so a page's scale can be GDK_SCALE. Automation sends the
// page's console nowhere the driver can read: a hook put in after each load collects it, so
// messages from before the load event are not seen.
'use strict';
const net = require('net');
const { spawn } = require('child_process');
const { PNG } = require('pngjs');

const kBinary = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const kKeys = { Enter: '\uE007', Escape: '\uE00C' };
const kHook = `window.seen ??= [];
  for (const type of ['log', 'info', 'warn', 'error', 'debug']) {
    const original = console[type];
    console[type] = (...a) => { seen.push([type, a.join(' ')]); original.apply(console, a); };
  }
  addEventListener('error', e => seen.push(['pageerror', e.message]));`;
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

async function call(port, method, path, body) {
  const json = body === undefined ? {} : { body: JSON.stringify(body), headers: { 'Content-Type': 'application/json' } };
  const response = await fetch(`http://127.0.0.1:${port}${path}`, { method, ...json });
  const { value } = await response.json();
  if (value?.error) throw new Error(`${path}: ${value.message}`);
  return value;
}

const kButtons = { left: 0, middle: 1, right: 2 };  // WebDriver's numbers

class Page {
  constructor(browser) {
    Object.assign(this, { browser, handlers: {}, viewport: { width: 1024, height: 768 } });
    const act = (type, ...actions) => this.send('POST', '/actions', { actions: [{ type, id: type, actions }] });
    this.keyboard = { press: key => act('key', ...['keyDown', 'keyUp'].map(type => ({ type, value: kKeys[key] ?? key }))) };
    this.mouse = {
      move: (x, y) => act('pointer', { type: 'pointerMove', x: Math.round(x), y: Math.round(y) }),
      down: ({ button = 'left' } = {}) => act('pointer', { type: 'pointerDown', button: kButtons[button] }),
      up: ({ button = 'left' } = {}) => act('pointer', { type: 'pointerUp', button: kButtons[button] }),
      click: async (x, y, options) => {
        await this.mouse.move(x, y);
        await this.mouse.down(options);
        await this.mouse.up(options);
      },
    };
  }
  on(name, handler) { this.handlers[name] = handler; }
  async setViewport(viewport) { this.viewport = viewport; }
  async goto(url) {
    const { width, height, deviceScaleFactor = 1 } = this.viewport;
    this.port = await new Promise(resolve => net.createServer().listen(0, '127.0.0.1', function () {
      const { port } = this.address();
      this.close(() => resolve(port));
    }));
    this.browser.drivers.push(spawn('WebKitWebDriver', [`--port=${this.port}`], {
      stdio: 'ignore', env: { ...process.env, DISPLAY: this.browser.display, GDK_SCALE: `${deviceScaleFactor}` } }));
    while (!await call(this.port, 'GET', '/status').catch(() => null)) await sleep(50);
    const args = ['--automation', ...(this.browser.webgl ? [] : ['--enable-webgl=false'])];
    const { sessionId } = await call(this.port, 'POST', '/session', { capabilities: { alwaysMatch: {
      browserName: 'MiniBrowser', 'webkitgtk:browserOptions': { binary: kBinary, args } } } });
    this.session = `/session/${sessionId}`;
    // The window's rectangle holds MiniBrowser's toolbar too, and the toolbar keeps it at least
    // 447 pixels wide: a wider screen leaves the viewer's window as it is, 0.8 of the smaller side.
    const inner = () => this.evaluate(() => [innerWidth, innerHeight]);
    const [[w, h], outer] = [await inner(), await this.send('GET', '/window/rect')];
    await this.send('POST', '/window/rect', { width: outer.width + width - w, height: outer.height + height - h });
    for (let v = await inner(); v[0] < width || v[1] !== height; v = await inner()) await sleep(50);
    await this.send('POST', '/url', { url });
    await this.evaluate(`() => { ${kHook} }`);
  }
  send(method, path, body) { return call(this.port, method, this.session + path, body); }
  // Runs fn(...args) in the page and resolves to its result; what the console has seen since
  // goes to the handlers given with on().
  async evaluate(fn, ...args) {
    const script = `const done = arguments[0], drain = () => (window.seen || []).splice(0);
      Promise.resolve().then(() => (${fn})(...${JSON.stringify(args)}))
        .then(value => done({ value, seen: drain() }), error => done({ error: String(error), seen: drain() }));`;
    const { value, error, seen } = await this.send('POST', '/execute/async', { script, args: [] });
    for (const [type, text] of seen) {
      if (type === 'pageerror') this.handlers.pageerror?.(new Error(text));
      else this.handlers.console?.({ type: () => type, text: () => text });
    }
    if (error) throw new Error(error);
    return value;
  }
  $eval(selector, fn) { return this.evaluate(`s => (${fn})(document.querySelector(s))`, selector); }
  async waitForFunction(fn, ...args) { while (!await this.evaluate(fn, ...args)) await sleep(50); }
  waitForSelector(selector) { return this.waitForFunction(s => !!document.querySelector(s), selector); }
  // The viewport's picture in device pixels, cut to clip (in CSS pixels).
  async screenshot({ clip }) {
    const shot = PNG.sync.read(Buffer.from(await this.send('GET', '/screenshot'), 'base64'));
    const scale = await this.evaluate(() => devicePixelRatio);
    const [x, y, width, height] = [clip.x, clip.y, clip.width, clip.height].map(v => Math.round(v * scale));
    const cut = new PNG({ width, height });
    PNG.bitblt(shot, cut, x, y, width, height, 0, 0);
    return PNG.sync.write(cut);
  }
}

// A browser of pages, each its own MiniBrowser; webgl false switches WebGL off.
function launch(display, endDisplay, { webgl = true } = {}) {
  const browser = { display, webgl, drivers: [], pages: [] };
  browser.newPage = async () => browser.pages[browser.pages.push(new Page(browser)) - 1];
  browser.close = async () => {
    await Promise.all(browser.pages.map(page => page.session && page.send('DELETE', '').catch(() => {})));
    browser.drivers.forEach(driver => driver.kill());
    endDisplay();
  };
  return browser;
}

module.exports = { launch };
