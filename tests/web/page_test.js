// The page in one engine, driven as a person would: the hint, the picture, drags held and
// burst, a finger, Esc and the end (fog and wireframe are fidelity.js's); a lost WebGL context, a
// dense screen and a browser without WebGL. The console stays clean throughout.
// Usage: node page_test.js <chromium|firefox|webkit> <directory with index.html, ribbon.js, ribbon.wasm,
// or the page's URL>
'use strict';
const assert = require('assert');
const lib = require('./lib');

const kHint = ' mouse: touch the window image for movement----- ';
const kCaption = 'soft by Valmorin - valmorin@ribbon-viewer.org ';
const kGrey = [38, 38, 38];  // 0.15 of 255
// A drag's path in page pixels (the canvas starts at 50, 50): eight steps to the right.
const kFrom = [300, 350];
const kStep = [10, 0];
const kSteps = 8;
const along = (i, [dx, dy] = [0, 0]) => [kFrom[0] + i * kStep[0] + dx, kFrom[1] + i * kStep[1] + dy];

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

// Share of the pixels that differ between two pictures of one size.
function changed(a, b) {
  let differ = 0;
  for (let i = 0; i < a.data.length; i += 4) differ += a.data.readUInt32BE(i) !== b.data.readUInt32BE(i) ? 1 : 0;
  return differ / (a.width * a.height);
}

// The picture at half its size, each pixel the mean of four.
function halve({ width, height, data }) {
  const half = Buffer.alloc(data.length / 4), at = i => data[i] + data[i + 4];
  for (let i = 0; i < half.length; ++i) {
    const x = (i >> 2) % (width / 2), y = Math.floor((i >> 2) / (width / 2)), c = i & 3;
    const top = 4 * (2 * y * width + 2 * x) + c;
    half[i] = Math.round((at(top) + at(top + 4 * width)) / 4);
  }
  return { width: width / 2, height: height / 2, data: half };
}

async function run(step, body) {
  await body();
  console.log('ok', step);
}
// WebKitGTK's driver sends touch actions as a mouse's: the other engines check the finger.
const skip = async step => console.log('skipped: WebKit has no touch input here:', step);

// Whether the picture stays the same over three more frames.
async function stays(page) {
  const before = await lib.grab(page);
  await lib.frames(page, 3);
  return same(before, await lib.grab(page));
}

// Presses at the path's start (moved by shift) and moves along it, a frame after each step or all
// at once; the button stays held. Resolves to the picture then.
async function drag(page, slowly, shift) {
  await page.mouse.move(...along(0, shift));
  await page.mouse.down();
  await lib.frames(page, 3);  // the press's own frame folds the stored increment in once more
  for (let i = 1; i <= kSteps; ++i) {
    await page.mouse.move(...along(i, shift));
    if (slowly) await lib.frames(page, 2);
  }
  await lib.frames(page, 3);
  return lib.grab(page);
}

async function main([engine, target]) {
  const server = /^https?:/.test(target) ? null : await lib.serve(target);
  const url = server ? `http://127.0.0.1:${server.address().port}/` : target;
  const browser = await lib.launch(engine);
  const pages = [];
  const open = async viewport => pages[pages.push(await lib.open(browser, url, viewport)) - 1];
  try {
    const page = await open();
    await run('the hint comes first, as given; Enter dismisses it and the window shows with its title', async () => {
      const box = await page.$eval('.box', b => [b.children[0].textContent, b.children[1].textContent]);
      assert.deepStrictEqual(box, [kCaption, kHint]);
      assert.ok(await page.$eval('#canvas', c => c.hidden), 'the canvas shows before the hint goes');
      await lib.show(page);
      assert.strictEqual(await page.$('.box'), null);
      assert.strictEqual(await page.title(), 'soft by Valmorin');
    });
    const still = await lib.grab(page);
    await run('a grey background, a plausible ribbon in rose and green, unmoved', async () => {
      assert.strictEqual(still.width, 614);
      const seen = census(still);
      assert.deepStrictEqual(seen.background, kGrey);
      assert.ok(seen.model > 0.1 && seen.model < 0.6, `model covers ${seen.model}`);
      assert.ok(seen.rose > 0.01 && seen.green > 0.01, JSON.stringify(seen));
      assert.ok(await stays(page), 'the model moved before any input');
    });
    let held;
    await run('the model follows a held drag, keeps turning when released in motion, a click stops it', async () => {
      held = await drag(page, true);
      const share = changed(still, held);
      console.log(`  a slow drag, held: ${share.toFixed(3)} of the pixels changed`);
      assert.ok(share > 0.1, `only ${share} of the pixels changed while the button was held`);
      await page.mouse.up();
      for (const button of ['right', 'middle']) await page.mouse.click(...kFrom, { button });
      assert.ok(!await stays(page), 'the model stopped after the drag, or a right or middle click');
      // Left pressed and released while the right button is held: chorded, it still clicks.
      await page.mouse.down({ button: 'right' });
      await page.mouse.down();
      await page.mouse.up();
      await page.mouse.up({ button: 'right' });
      await lib.frames(page, 2);
      assert.ok(await stays(page), 'the model still turns after the click');
    });
    await run('a lost WebGL context comes back with the same picture', async () => {
      const stopped = await lib.grab(page);
      // Resolves to whether the event came within 5 s.
      const event = name => page.evaluate(name => new Promise(resolve => {
        const canvas = document.getElementById('canvas');
        canvas.addEventListener(`webglcontext${name}`, () => resolve(true), { once: true });
        setTimeout(() => resolve(false), 5000);
        window.loser ??= canvas.getContext('webgl2').getExtension('WEBGL_lose_context');
        name === 'lost' ? loser.loseContext() : loser.restoreContext();
      }), name);
      assert.ok(await event('lost'), 'the context was not lost');
      await lib.frames(page, 3);
      assert.ok(await event('restored'), 'the context did not come back');
      await lib.frames(page, 3);
      const back = await lib.grab(page);
      console.log(`  after restoring: ${changed(stopped, back)} of the pixels differ`);
      assert.ok(same(stopped, back), 'the picture differs after the context came back');
    });
    await run('Esc ends the viewer with code 0', async () => {
      await page.keyboard.press('Escape');
      await page.waitForFunction(() => document.getElementById('exit').textContent !== '');
      assert.strictEqual(await page.$eval('#exit', e => e.textContent), 'ribbon exited with code 0');
      assert.ok(await page.$eval('#canvas', c => c.hidden));
    });
    await run('OK dismisses the hint; a burst of moves turns the model as far as the slow drag', async () => {
      const second = await open();
      await lib.show(second, () => second.click('.box button'));
      // The canvas moved right: its x and y offsets on the page differ.
      await second.$eval('#canvas', c => { c.style.left = '350px'; });
      const burst = await drag(second, false, [300, 0]);
      const { iou, close } = lib.agreement(burst, held);
      console.log(`  burst against slow: ${changed(still, burst).toFixed(3)} of the pixels changed;` +
                  ` IoU ${iou.toFixed(4)}, colour within 8 levels ${(100 * close).toFixed(2)} %`);
      assert.ok(iou > 0.97 && close > 0.95, `the burst turned the model elsewhere: ${iou}, ${close}`);
    });
    await run('at two device pixels per CSS pixel the canvas is sharp and the picture the same', async () => {
      const dense = await open({ width: 1024, height: 768, deviceScaleFactor: 2 });
      await lib.show(dense);
      const sizes = await dense.$eval('#canvas', c => [c.width, c.height, c.clientWidth, c.clientHeight]);
      assert.deepStrictEqual(sizes, [1228, 1228, 614, 614]);
      // The window is at (50, 50) device pixels, 25 CSS pixels: the same drag in the window's
      // terms starts 25 CSS pixels further up and left.
      for (const [name, picture, at1] of [['still', await lib.grab(dense), still],
                                          ['held', await drag(dense, true, [-25, -25]), held]]) {
        const { iou, close } = lib.agreement(halve(picture), at1);
        console.log(`  scale 2 halved against scale 1, ${name}: IoU ${iou.toFixed(4)},` +
                    ` colour within 8 levels ${(100 * close).toFixed(2)} %`);
        // Halving mixes the colours of edges and of the thinnest slivers.
        assert.ok(iou > 0.97 && close > 0.93, `${name}: IoU ${iou}, colour ${close}`);
      }
    });
    await (engine === 'webkit' ? skip : run)('a finger turns the model, a second one does nothing, a tap stops it; no scroll, no zoom', async () => {
      const touched = await open();
      await lib.show(touched);
      const first = await touched.touchscreen.touchStart(...kFrom);
      await lib.frames(touched, 3);
      const pressed = await lib.grab(touched);
      const second = await touched.touchscreen.touchStart(400, 500);
      await second.move(480, 540);
      await lib.frames(touched, 3);
      assert.ok(same(pressed, await lib.grab(touched)), 'the second finger turned the model');
      for (let i = 1; i <= kSteps; ++i) {
        await first.move(...along(i));
        await lib.frames(touched, 2);
      }
      const share = changed(pressed, await lib.grab(touched));
      console.log(`  a finger's drag: ${share.toFixed(3)} of the pixels changed`);
      assert.ok(share > 0.1, `only ${share} of the pixels changed under the finger`);
      await second.end();
      await first.end();
      await (await touched.touchscreen.touchStart(...kFrom)).end();
      await lib.frames(touched, 2);
      assert.ok(await stays(touched), 'the model still turns after the tap');
      assert.deepStrictEqual(await touched.evaluate(() => [scrollX, scrollY, visualViewport.scale]), [0, 0, 1]);
    });
    // Firefox, driven by puppeteer, sends the moves outside the canvas to the document: the
    // canvas's pointer capture does not hold there.
    if (engine === 'chromium') await run('a drag that leaves the window goes on, captured, at negative positions', async () => {
      // Both ends lie on one ray from the window's centre, beyond the trackball's disc, the one
      // inside the window, the other left of it: both map to one point on the rim, one turn.
      const pictures = [];
      for (const to of [[50 + 67, 50 + 107], [50 - 47, 50 + 12]]) {
        const page = await open();
        await lib.show(page);
        await page.mouse.move(...kFrom);
        await page.mouse.down();
        await lib.frames(page, 3);
        await page.mouse.move(...to);
        await lib.frames(page, 3);
        pictures.push(await lib.grab(page));
      }
      assert.ok(changed(...pictures) < 0.001, `${changed(...pictures)} of the pixels differ`);
    });
    await run('the console stayed clean', async () => {
      assert.deepStrictEqual(pages.flatMap(p => p.problems), []);
    });
  } finally {
    await browser.close();
  }
  await run('without WebGL the page says so, and Esc still ends the viewer', async () => {
    const plain = await lib.launch(engine, { webgl: false });
    try {
      const page = await lib.open(plain, url);
      await lib.show(page);
      assert.match(await page.$eval('#notice', e => e.innerText), /offers no WebGL 2/);
      await page.keyboard.press('Escape');
      await page.waitForFunction(() => document.getElementById('exit').textContent !== '');
    } finally {
      await plain.close();
    }
  });
  server?.close();
}

main(process.argv.slice(2)).catch(error => {
  console.error(error);
  process.exit(1);
});
