// The page in headless Chromium, driven as a person would: the hint, the picture, a drag, the
// keys and the end. Usage: node page_test.js <directory with index.html, ribbon.js, ribbon.wasm>
'use strict';
const assert = require('assert');
const lib = require('./lib');

const kHint = ' mouse: touch the window image for movement----- ';
const kCaption = 'soft by Valmorin - valmorin@ribbon-viewer.org ';
const kGrey = [38, 38, 38];  // 0.15 of 255
const kFogBackground = [128, 64, 64];  // (0.5, 0.25, 0.25), within one level

const near = (a, b, tolerance) => a.every((v, i) => Math.abs(v - b[i]) <= tolerance);
const same = (a, b) => Buffer.compare(a.data, b.data) === 0;

// Share of the canvas that is not background, and how much of it is rose and green.
function census(image) {
  const background = lib.pixel(image, 1, 1);
  let model = 0, rose = 0, green = 0;
  for (let i = 0; i < image.data.length; i += 4) {
    const [r, g, b] = image.data.subarray(i, i + 3);
    if (r === background[0] && g === background[1] && b === background[2]) continue;
    ++model;
    if (r > g + 40 && b > g) ++rose;
    if (g > r + 40 && g > b) ++green;
  }
  const total = image.width * image.height;
  return { background, model: model / total, rose: rose / total, green: green / total };
}

async function open(browser, url) {
  const page = await browser.newPage();
  page.on('pageerror', error => console.error('page error:', error.message));
  await page.goto(url);
  await page.waitForSelector('.box button');
  return page;
}

async function run(step, body) {
  await body();
  console.log('ok', step);
}

async function main(directory) {
  const server = await lib.serve(directory);
  const browser = await lib.launch();
  const url = `http://127.0.0.1:${server.address().port}/`;
  try {
    const page = await open(browser, url);
    await run('the hint comes first, with its caption and text as given', async () => {
      const box = await page.$eval('.box', b => [b.children[0].textContent, b.children[1].textContent]);
      assert.deepStrictEqual(box, [kCaption, kHint]);
      assert.ok(await page.$eval('#canvas', c => c.hidden), 'the canvas shows before the hint goes');
    });
    await run('Enter dismisses the hint and the window shows with its title', async () => {
      await page.keyboard.press('Enter');
      await page.waitForSelector('#canvas:not([hidden])');
      assert.strictEqual(await page.$('.box'), null);
      assert.strictEqual(await page.title(), 'soft by Valmorin');
    });
    await lib.frames(page, 3);
    const still = await lib.grab(page);
    await run('a grey background, a plausible ribbon in rose and green, unmoved', async () => {
      assert.strictEqual(still.width, 614);
      const seen = census(still);
      assert.deepStrictEqual(seen.background, kGrey);
      assert.ok(seen.model > 0.1 && seen.model < 0.6, `model covers ${seen.model}`);
      assert.ok(seen.rose > 0.01 && seen.green > 0.01, JSON.stringify(seen));
      await lib.frames(page, 3);
      assert.ok(same(still, await lib.grab(page)), 'the model moved before any input');
    });
    await run('a drag released in motion keeps it turning; a click stops it', async () => {
      await page.mouse.move(300, 350);
      await page.mouse.down();
      await page.mouse.move(380, 380, { steps: 8 });
      await page.mouse.up();
      const first = await lib.grab(page);
      await lib.frames(page, 2);
      assert.ok(!same(first, await lib.grab(page)), 'the model stopped after the drag');
      await page.mouse.down();
      await page.mouse.up();
      await lib.frames(page, 2);
      const stopped = await lib.grab(page);
      await lib.frames(page, 3);
      assert.ok(same(stopped, await lib.grab(page)), 'the model still turns after the click');
    });
    await run('f gives the rose background, and f again the grey', async () => {
      await page.keyboard.press('f');
      await lib.frames(page, 2);
      const fogged = census(await lib.grab(page));
      assert.ok(near(fogged.background, kFogBackground, 1), fogged.background.join());
      await page.keyboard.press('f');
      await lib.frames(page, 2);
      assert.deepStrictEqual(census(await lib.grab(page)).background, kGrey);
    });
    await run('p gives the wireframe', async () => {
      const filled = census(await lib.grab(page)).model;
      await page.keyboard.press('p');
      await lib.frames(page, 2);
      const lines = census(await lib.grab(page));
      assert.ok(lines.model > 0.02 && lines.model < 0.8 * filled, `${lines.model} of ${filled}`);
      assert.deepStrictEqual(lines.background, kGrey);
    });
    await run('Esc ends the viewer with code 0', async () => {
      await page.keyboard.press('Escape');
      await page.waitForFunction(() => document.getElementById('exit').textContent !== '');
      assert.strictEqual(await page.$eval('#exit', e => e.textContent), 'ribbon exited with code 0');
      assert.ok(await page.$eval('#canvas', c => c.hidden));
    });
    await run('OK dismisses the hint as well', async () => {
      const second = await open(browser, url);
      await second.click('.box button');
      await second.waitForSelector('#canvas:not([hidden])');
    });
  } finally {
    await browser.close();
    server.close();
  }
}

main(process.argv[2]).catch(error => {
  console.error(error);
  process.exit(1);
});
