// Measures the page in headless Chromium and prints the figures: page load to the hint, the
// hint's dismissal to the first frame, frames per second while spinning, and the WebAssembly
// time of immediate mode (bench/web/batch.cpp). Run on demand, not in tests.
// Usage: node bench/web/measure.js [build/web]   (needs tests/web/node_modules; SPIN_SECONDS=5)
'use strict';
const path = require('path');
const lib = require(path.join(__dirname, '../../tests/web/lib'));

const spinSeconds = Number(process.env.SPIN_SECONDS || 5);

// Counts the page's animation-frame requests: the viewer makes one per frame it presents.
function countFrames() {
  window.ribbonFrames = [];
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = callback => {
    window.ribbonFrames.push(performance.now());
    return request(callback);
  };
}

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

async function measure(browser, base) {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(countFrames);
  await page.goto(base);
  await page.waitForSelector('.box button');
  const hint = await page.evaluate(() => performance.now());
  console.log(`page load to the hint: ${hint.toFixed(0)} ms`);
  // A person reads the hint first; meanwhile the browser finishes compiling the module.
  await sleep(1000);
  const pressed = await page.evaluate(() => {
    const now = performance.now();
    document.querySelector('.box button').click();
    return now;
  });
  await page.waitForFunction(() => window.ribbonFrames.length > 0);
  const first = await page.evaluate(() => window.ribbonFrames[0]);
  console.log(`hint dismissed to the first frame: ${(first - pressed).toFixed(1)} ms`);

  await page.mouse.move(300, 350);
  await page.mouse.down();
  await page.mouse.move(380, 380, { steps: 8 });
  await page.mouse.up();
  const before = await page.evaluate(() => window.ribbonFrames.length);
  await sleep(1000 * spinSeconds);
  const after = await page.evaluate(() => window.ribbonFrames.length);
  console.log(`spinning: ${((after - before) / spinSeconds).toFixed(1)} frames per second`);

  const bench = await browser.newPage();
  const line = new Promise(resolve => bench.on('console', m => resolve(m.text())));
  await bench.goto(base + 'bench/web/batch.html');
  console.log(await line);
}

lib.exitWith(lib.withBrowser(process.argv[2] || 'build/web', 'chromium', measure));
