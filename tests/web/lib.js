// Shared by the page tests: a static server for build/web, headless Chromium, screenshots as
// pixels, and a page driven as a person would drive it.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const { PNG } = require('pngjs');
const puppeteer = require('puppeteer-core');

const kTypes = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

// Serves dir on 127.0.0.1 at a free port; resolves to the server.
function serve(dir) {
  const server = http.createServer((request, response) => {
    const name = path.join(dir, path.normalize(decodeURIComponent(request.url.split('?')[0])));
    const file = name.endsWith(path.sep) ? path.join(name, 'index.html') : name;
    fs.readFile(file, (error, data) => {
      if (error || !file.startsWith(dir)) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

function launch() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--force-color-profile=srgb', '--hide-scrollbars'],
    defaultViewport: { width: 1024, height: 768, deviceScaleFactor: 1 },
  });
}

// The canvas as pixels: { width, height, data (RGBA rows, top first) }.
async function grab(page) {
  const box = await page.$eval('#canvas', c => {
    const r = c.getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height };
  });
  const png = PNG.sync.read(Buffer.from(await page.screenshot({ clip: box, type: 'png' })));
  return { width: png.width, height: png.height, data: png.data };
}

function pixel(image, x, y) {
  const i = 4 * (y * image.width + x);
  return [image.data[i], image.data[i + 1], image.data[i + 2]];
}

// Waits until the page has drawn n more animation frames.
function frames(page, n) {
  return page.evaluate(n => new Promise(resolve => {
    const step = () => (--n <= 0 ? resolve() : requestAnimationFrame(step));
    requestAnimationFrame(step);
  }), n);
}

module.exports = { serve, launch, grab, pixel, frames };
