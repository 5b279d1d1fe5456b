// Shared by the page tests: a static server, the three engines (headless Chromium; Firefox and
// WebKit's MiniBrowser on a private Xvfb, which Firefox needs for WebGL on Mesa), screenshots as
// pixels, and a page driven as a person would drive it, with its console watched.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const { spawn } = require('child_process');
const { PNG } = require('pngjs');
const puppeteer = require('puppeteer-core');

const kTypes = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

// Serves dir on 127.0.0.1 at a free port; resolves to the server.
function serve(dir) {
  const server = http.createServer((request, response) => {
    const name = path.join(dir, path.normalize(decodeURIComponent(request.url.split('?')[0])));
    const file = name.endsWith(path.sep) ? path.join(name, 'index.html') : name;
    fs.readFile(file, (error, data) => {
      if (error || !file.startsWith(dir)) return response.writeHead(404).end();
      response.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream' }).end(data);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// engine: 'chromium', 'firefox' or 'webkit'; webgl false switches WebGL off; prefs are Firefox's.
async function launch(engine = 'chromium', { webgl = true, prefs } = {}) {
  const defaultViewport = { width: 1024, height: 768, deviceScaleFactor: 1 };
  if (engine === 'chromium') {
    return puppeteer.launch({
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
             '--force-color-profile=srgb', '--hide-scrollbars', ...(webgl ? [] : ['--disable-webgl'])],
      defaultViewport,
    });
  }
  // An Xvfb on a display it picks itself, ended with the browser.
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '2560x1600x24', '-nolisten', 'tcp'],
                     { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const display = await new Promise((resolve, reject) => {
    xvfb.on('error', reject);
    xvfb.stdio[3].once('data', number => resolve(`:${String(number).trim()}`));
  });
  if (engine === 'webkit') return require('./webkit').launch(display, () => xvfb.kill(), { webgl });
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
    headless: false,
    env: { ...process.env, DISPLAY: display },
    extraPrefsFirefox: { 'webgl.force-enabled': webgl, 'webgl.disabled': !webgl, ...prefs },
    defaultViewport,
  });
  browser.on('disconnected', () => xvfb.kill());
  return browser;
}

// A new page at url whose console messages and uncaught errors gather in page.problems.
async function open(browser, url, viewport) {
  const page = await browser.newPage();
  page.problems = [];
  page.on('console', message => page.problems.push(`console ${message.type()}: ${message.text()}`));
  page.on('pageerror', error => page.problems.push(`page error: ${error.message}`));
  if (viewport) await page.setViewport(viewport);
  await page.goto(url);
  await page.waitForSelector('.box button');
  return page;
}

// Dismisses the hint (with Enter unless told how) and waits for the window's first frames.
async function show(page, how = () => page.keyboard.press('Enter')) {
  await how();
  await page.waitForSelector('#canvas:not([hidden])');
  await frames(page, 3);
}

// The canvas as pixels: { width, height, data (RGBA rows, top first) }, in device pixels.
async function grab(page) {
  const { x, y, width, height } = await page.$eval('#canvas', c => c.getBoundingClientRect().toJSON());
  return PNG.sync.read(Buffer.from(await page.screenshot({ clip: { x, y, width, height }, type: 'png' })));
}

function pixel(image, x, y) {
  const i = 4 * (y * image.width + x);
  return [image.data[i], image.data[i + 1], image.data[i + 2]];
}

// How far two pictures of the model agree: the IoU of what is not background, and the share of
// pixels that are model in both whose colour agrees within the given levels.
function agreement(a, b, levels = 8) {
  const background = pixel(b, 1, 1);
  const isModel = (image, i) => [0, 1, 2].some(c => image.data[i + c] !== background[c]);
  let both = 0, either = 0, close = 0;
  for (let i = 0; i < a.data.length; i += 4) {
    const inA = isModel(a, i), inB = isModel(b, i);
    either += inA || inB ? 1 : 0;
    if (!(inA && inB)) continue;
    ++both;
    close += [0, 1, 2].every(c => Math.abs(a.data[i + c] - b.data[i + c]) <= levels) ? 1 : 0;
  }
  return { iou: both / either, close: close / both };
}

// Serves target (unless it is a URL already), launches the engine (with launch's options) and
// resolves to what body(browser, the page's base URL) resolves to; browser and server end either
// way.
async function withBrowser(target, engine, body, options) {
  const server = /^https?:/.test(target) ? null : await serve(path.resolve(target));
  try {
    const browser = await launch(engine, options);
    try {
      return await body(browser, server ? `http://127.0.0.1:${server.address().port}/` : target);
    } finally {
      await browser.close();
    }
  } finally {
    server?.close();
  }
}

// Ends the process when main settles: with the code it resolves to, if it is a number, or with 1
// and its error.
function exitWith(main) {
  main.then(code => typeof code === 'number' && process.exit(code), error => {
    console.error(error);
    process.exit(1);
  });
}

// Waits until the page has drawn n more animation frames.
function frames(page, n) {
  return page.evaluate(n => new Promise(resolve => {
    const step = () => (--n <= 0 ? resolve() : requestAnimationFrame(step));
    requestAnimationFrame(step);
  }), n);
}

module.exports = { serve, launch, open, show, grab, pixel, agreement, withBrowser, exitWith, frames };
