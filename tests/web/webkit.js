// WebKit for the page tests: MiniBrowser driven by WebKitWebDriver over plain WebDriver HTTP, on
// an Xvfb display, behind the few puppeteer calls the tests make. Each page is a session of its
// own driver (one session per driver), so a page's scale can be GDK_SCALE. Automation sends the
// page's console nowhere the driver can read: a hook put in after each load collects it, so
// messages from before the load event are not seen.
'use strict';
const http = require('http');
const net = require('net');
const { spawn } = require('child_process');
const { PNG } = require('pngjs');

const kKeys = { Enter: '\uE007', Escape: '\uE00C' };
const kHook = `if (!window.seen) {
  window.seen = [];
  for (const type of ['log', 'info', 'warn', 'error', 'debug']) {
    const original = console[type];
    console[type] = (...a) => { seen.push([type, a.join(' ')]); original.apply(console, a); };
  }
  addEventListener('error', e => seen.push(['pageerror', e.message]));
  addEventListener('unhandledrejection', e => seen.push(['pageerror', String(e.reason)]));
}`;

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
const freePort = () => new Promise(resolve => {
  const server = net.createServer().listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  });
});

function call(port, method, path, body) {
  const data = body === undefined ? '' : JSON.stringify(body);
  return new Promise((resolve, reject) => {
    const request = http.request({ host: '127.0.0.1', port, method, path,
                                   headers: { 'Content-Type': 'application/json' } }, response => {
      const chunks = [];
      response.on('data', chunk => chunks.push(chunk));
      response.on('end', () => {
        const { value } = JSON.parse(Buffer.concat(chunks).toString() || '{}');
        value?.error ? reject(new Error(`${path}: ${value.error}: ${value.message}`)) : resolve(value);
      });
    });
    request.on('error', reject);
    request.end(data);
  });
}

class Page {
  constructor(display, webgl, drivers) {
    Object.assign(this, { display, webgl, drivers, handlers: {}, scale: 1, size: [1024, 768] });
    this.keyboard = { press: key => this.act('key', [kKeys[key] ?? key].flatMap(value =>
      [{ type: 'keyDown', value }, { type: 'keyUp', value }])) };
    this.mouse = {
      move: (x, y) => this.act('pointer', [{ type: 'pointerMove', x: Math.round(x), y: Math.round(y) }]),
      down: () => this.act('pointer', [{ type: 'pointerDown', button: 0 }]),
      up: () => this.act('pointer', [{ type: 'pointerUp', button: 0 }]),
    };
  }
  on(name, handler) { this.handlers[name] = handler; }
  async setViewport({ width, height, deviceScaleFactor = 1 }) {
    [this.size, this.scale] = [[width, height], deviceScaleFactor];
  }
  async goto(url) {
    this.port = await freePort();
    const driver = spawn('WebKitWebDriver', [`--port=${this.port}`], {
      stdio: 'ignore', env: { ...process.env, DISPLAY: this.display, GDK_SCALE: String(this.scale) } });
    this.drivers.push(driver);
    while (!await call(this.port, 'GET', '/status').catch(() => null)) await sleep(50);
    const args = ['--automation', ...(this.webgl ? [] : ['--enable-webgl=false'])];
    const { sessionId } = await call(this.port, 'POST', '/session', { capabilities: { alwaysMatch: {
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args },
    } } });
    this.session = `/session/${sessionId}`;
    // The window's rectangle includes MiniBrowser's toolbar: grow it by that, and wait for the
    // viewport to follow. The toolbar keeps the window at least 447 pixels wide; a wider screen
    // leaves the viewer's window as it is, 0.8 of the smaller side.
    const [width, height] = this.size;
    const inner = () => this.send('POST', '/execute/sync', { script: 'return [innerWidth, innerHeight]', args: [] });
    const [[w, h], outer] = [await inner(), await this.send('GET', '/window/rect')];
    await this.send('POST', '/window/rect', { width: outer.width + width - w, height: outer.height + height - h });
    for (let v = await inner(); v[0] < width || v[1] !== height; v = await inner()) await sleep(50);
    await this.send('POST', '/url', { url });
    await this.send('POST', '/execute/sync', { script: kHook, args: [] });
  }
  send(method, path, body) { return call(this.port, method, this.session + path, body); }
  act(type, actions) {
    return this.send('POST', '/actions', { actions: [{ type, id: type, actions,
                                                      parameters: { pointerType: 'mouse' } }] });
  }
  // Runs fn(...args) in the page and resolves to its result; the console seen so far goes to the
  // handlers given with on().
  async evaluate(fn, ...args) {
    const script = `const done = arguments[arguments.length - 1];
      const drain = () => (window.seen || []).splice(0);
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
  $eval(selector, fn, ...args) {
    return this.evaluate(`(s, ...a) => (${fn})(document.querySelector(s), ...a)`, selector, ...args);
  }
  async $(selector) { return await this.evaluate(s => !!document.querySelector(s), selector) || null; }
  async waitForFunction(fn, ...args) {
    while (!await this.evaluate(fn, ...args)) await sleep(50);
  }
  waitForSelector(selector) { return this.waitForFunction(s => !!document.querySelector(s), selector); }
  title() { return this.send('GET', '/title'); }
  async click(selector) {
    const [x, y] = await this.$eval(selector, e => {
      const r = e.getBoundingClientRect();
      return [r.x + r.width / 2, r.y + r.height / 2];
    });
    await this.mouse.move(x, y);
    await this.mouse.down();
    await this.mouse.up();
  }
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
async function launch(display, endDisplay, { webgl = true } = {}) {
  const drivers = [];
  const pages = [];
  return {
    async newPage() { return pages[pages.push(new Page(display, webgl, drivers)) - 1]; },
    async close() {
      await Promise.all(pages.map(page => page.session && page.send('DELETE', '').catch(() => {})));
      drivers.forEach(driver => driver.kill());
      endDisplay();
    },
  };
}

module.exports = { launch };
