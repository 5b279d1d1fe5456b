// The viewer's page against the anchor, bench/web/bare.html, in one browser (ENGINE=chromium,
// the default, headless; or firefox): rounds that alternate the two, each loaded afresh and
// measured over the same seconds of spinning, then the anchor with parts of its frame left out
// (where a frame's time goes). Prints frames per second per round, medians, ranges and the
// ratio. Run on demand, not in tests.
// Usage: node bench/web/compare.js [build/web]   (ROUNDS=5, SPIN_SECONDS=4, FOG=1 for fog views)
'use strict';
const path = require('path');
const lib = require(path.join(__dirname, '../../tests/web/lib'));

const rounds = Number(process.env.ROUNDS || 5);
const seconds = Number(process.env.SPIN_SECONDS || 4);
const fog = process.env.FOG === '1';
const engine = process.env.ENGINE || 'chromium';
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// Counts animation-frame requests: each page makes one per frame it presents.
function countFrames() {
  window.ribbonFrames = 0;
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = callback => {
    ++window.ribbonFrames;
    return request(callback);
  };
}

async function rate(page) {
  const before = await page.evaluate(() => window.ribbonFrames);
  const start = Date.now();
  await sleep(1000 * seconds);
  const after = await page.evaluate(() => window.ribbonFrames);
  return (after - before) * 1000 / (Date.now() - start);
}

// The viewer's page: the hint dismissed, a drag that leaves it spinning (about 2.3 degrees a
// frame, as the anchor turns), fog on when asked.
async function viewer(browser, base) {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(countFrames);
  await page.goto(base);
  await page.waitForSelector('.box button');
  await page.click('.box button');
  await page.waitForFunction(() => window.ribbonFrames > 0);
  await page.mouse.move(300, 350);
  await page.mouse.down();
  await page.mouse.move(380, 380, { steps: 8 });
  await page.mouse.up();
  if (fog) await page.keyboard.press('f');
  await sleep(1000);
  const fps = await rate(page);
  await page.close();
  return fps;
}

async function anchor(browser, base, query = '') {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(countFrames);
  await page.goto(`${base}bench/web/bare.html?${query}&fog=${fog ? 1 : 0}`);
  await page.waitForFunction(() => window.ribbonFrames > 10);
  await sleep(1000);
  const fps = await rate(page);
  await page.close();
  return fps;
}

const median = list => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];
const range = (list, digits = 1) =>
  `${Math.min(...list).toFixed(digits)}-${Math.max(...list).toFixed(digits)}`;

async function compare(browser, base) {
  const page = [], bare = [], ratios = [];
  for (let round = 0; round < rounds; ++round) {
    // Which goes first alternates, so that neither always follows the other.
    const got = {};
    for (const which of round % 2 ? ['anchor', 'page'] : ['page', 'anchor']) {
      got[which] = which === 'page' ? await viewer(browser, base) : await anchor(browser, base);
    }
    page.push(got.page);
    bare.push(got.anchor);
    ratios.push(got.page / got.anchor);
    console.log(`round ${round + 1}: page ${got.page.toFixed(1)}, anchor ${got.anchor.toFixed(1)} frames/s`);
  }
  console.log(`page   median ${median(page).toFixed(1)} frames/s (${range(page)})`);
  console.log(`anchor median ${median(bare).toFixed(1)} frames/s (${range(bare)})`);
  console.log(`page / anchor: median ${median(ratios).toFixed(2)} (rounds ${range(ratios, 2)})`);
  if (process.env.PARTS !== '0') {
    for (const query of ['indexed=1', 'skip=draw', 'skip=draw,blit', 'skip=draw,blit,clear']) {
      const fps = [];
      for (let i = 0; i < 3; ++i) fps.push(await anchor(browser, base, query));
      console.log(`anchor, ${query}: median ${median(fps).toFixed(1)} frames/s (${range(fps)})`);
    }
  }
}

lib.exitWith(lib.withBrowser(process.argv[2] || 'build/web', engine, compare,
  // Both engines pace frames at 60 Hz. Chromium on SwiftShader stays below that here; Firefox on
  // llvmpipe would not, so it is told to draw as fast as it can.
  { prefs: { 'layout.frame_rate': 0 } }));
