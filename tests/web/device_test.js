// The page in Chromium on a phone's screen (390 x 844 CSS pixels at three device pixels each),
// upright and turned once the viewer runs (page_test.js drives the finger); then served from a
// sub-path, offline after one visit, and offline again after an online visit found new files.
// Usage: node device_test.js <directory with the page's files>
'use strict';
const assert = require('assert');
const fs = require('fs');
const os = require('os');
const path = require('path');
const lib = require('./lib');

const kUpright = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const kTurned = { ...kUpright, width: 844, height: 390, isLandscape: true };
const kWindow = Math.floor(0.8 * 390 * 3);

const rect = (page, selector) => page.$eval(selector, e => e.getBoundingClientRect().toJSON());
const inside = (r, { width, height }) => r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;

async function phone(browser, url, screen, turned) {
  const page = await lib.open(browser, url, screen);
  const box = await rect(page, '.box');
  assert.ok(inside(box, screen), `the hint box ${JSON.stringify(box)} leaves the screen`);
  await lib.show(page, () => page.tap('.box button'));
  const canvas = await rect(page, '#canvas');
  assert.deepStrictEqual(await page.$eval('#canvas', c => [c.width, c.height]), [kWindow, kWindow]);
  assert.ok(inside(canvas, screen), `the window ${JSON.stringify(canvas)} leaves the screen`);
  await page.setViewport(turned);
  await lib.frames(page, 3);
  const now = await rect(page, '#canvas');
  assert.deepStrictEqual(now, canvas, 'the window moved or changed its size when the phone turned');
  return page;
}

// Reloads the page with the network on or off, for the page and for its service worker (whose
// own fetches the page's switch does not reach), and waits for the hint.
async function reload(page, worker, offline) {
  await worker.send('Network.emulateNetworkConditions', { offline, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
  await page.setOfflineMode(offline);
  await page.reload();
  await page.waitForSelector('.box button');
}

async function offline(browser, url, index) {
  const page = await lib.open(browser, url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const worker = await (await browser.waitForTarget(t => t.type() === 'service_worker')).createCDPSession();
  await worker.send('Network.enable');
  await reload(page, worker, true);
  await lib.show(page);
  fs.writeFileSync(index, fs.readFileSync(index, 'utf8').replace('<title>ribbon', '<title>ribbon 2'));
  await reload(page, worker, false);
  await reload(page, worker, true);
  assert.strictEqual(await page.title(), 'ribbon 2', 'offline, the old version came');
  return page;
}

const root = fs.mkdtempSync(path.join(os.tmpdir(), 'ribbon-page-'));
const folder = path.join(root, 'some', 'path');
fs.mkdirSync(folder, { recursive: true });
for (const file of fs.readdirSync(process.argv[2], { withFileTypes: true }).filter(f => f.isFile())) {
  fs.copyFileSync(path.join(process.argv[2], file.name), path.join(folder, file.name));
}
lib.exitWith(lib.withBrowser(root, 'chromium', async (browser, base) => {
  const url = base + 'some/path/';
  const pages = [await phone(browser, url, kUpright, kTurned), await phone(browser, url, kTurned, kUpright)];
  console.log('ok a phone upright and turned');
  pages.push(await offline(browser, url, path.join(folder, 'index.html')));
  console.log('ok offline after one visit, and a new version kept after an online one');
  assert.deepStrictEqual(pages.flatMap(p => p.problems), []);
}).finally(() => fs.rmSync(root, { recursive: true })));
