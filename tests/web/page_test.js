// The page in one engine, driven as a person would, step by step as each step's line says (fog
// and wireframe are fidelity.js's); the console stays clean throughout.
// Usage: node page_test.js <chromium|firefox|webkit> <directory with index.html, ribbon.js, ribbon.wasm,
// or the page's URL>
'use strict';
const assert = require('assert');
const lib = require('./lib');

const kHint = ' mouse: touch the window image for movement----- ';
const kCaption = 'soft by Valmorin - valmorin@ribbon-viewer.org ';
// A drag's path in page pixels (the canvas starts at 50, 50): eight steps to the right.
const kFrom = [300, 350];
const kSteps = 8;
const along = (i, [dx, dy] = [0, 0]) => [kFrom[0] + 10 * i + dx, kFrom[1] + dy];

const same = (a, b) => Buffer.compare(a.data, b.data) === 0;

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

async function main(browser, url) {
  const pages = [];
  const open = async viewport => pages[pages.push(await lib.open(browser, url, viewport)) - 1];
  const page = await open();
  await run('the hint comes first, as given; Enter dismisses it and the window shows with its title', async () => {
    const box = await page.$eval('.box', b => [b.children[0].textContent, b.children[1].textContent]);
    assert.deepStrictEqual(box, [kCaption, kHint]);
    assert.ok(await page.$eval('#canvas', c => c.hidden), 'the canvas shows before the hint goes');
    await lib.show(page);
    assert.deepStrictEqual(await page.evaluate(() => [!document.querySelector('.box'), document.title]),
                           [true, 'soft by Valmorin']);
  });
  const still = await lib.grab(page);
  let held;
  await run('the model rests until a held drag, which it follows; released in motion it turns on, a click stops it', async () => {
    assert.ok(await stays(page), 'the model moved before any input');
    held = await drag(page, true);
    const share = changed(still, held);
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
    assert.ok(same(stopped, await lib.grab(page)), 'the picture differs after the context came back');
  });
  await run('Esc ends the viewer with code 0', async () => {
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => document.getElementById('exit').textContent !== '');
    assert.strictEqual(await page.$eval('#exit', e => e.textContent), 'ribbon exited with code 0');
    assert.ok(await page.$eval('#canvas', c => c.hidden));
  });
  await run('a burst of moves turns the model as far as the slow drag', async () => {
    const second = await open();
    await lib.show(second);
    // The canvas moved right: its x and y offsets on the page differ.
    await second.$eval('#canvas', c => { c.style.left = '350px'; });
    const burst = await drag(second, false, [300, 0]);
    const { iou, close } = lib.agreement(burst, held);
    assert.ok(iou > 0.97 && close > 0.95, `the burst turned the model elsewhere: ${iou}, ${close}`);
  });
  await run('at two device pixels per CSS pixel the canvas is sharp and the picture the same', async () => {
    const dense = await open({ width: 1024, height: 768, deviceScaleFactor: 2 });
    await lib.show(dense);
    const sizes = await dense.$eval('#canvas', c => [c.width, c.height, c.clientWidth, c.clientHeight]);
    assert.deepStrictEqual(sizes, [1228, 1228, 614, 614]);
    // The window is at (50, 50) device pixels, 25 CSS pixels: the same drag in the window's
    // terms starts 25 CSS pixels further up and left.
    const { iou, close } = lib.agreement(halve(await drag(dense, true, [-25, -25])), held);
    // Halving mixes the colours of edges and of the thinnest slivers.
    assert.ok(iou > 0.97 && close > 0.93, `IoU ${iou}, colour ${close}`);
  });
  // WebKitGTK's driver sends touch actions as a mouse's: the other engines check the finger.
  if (engine !== 'webkit') await run('a finger turns the model, a second one does nothing, a tap stops it; no scroll, no zoom', async () => {
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
  assert.deepStrictEqual(pages.flatMap(p => p.problems), [], 'the console');
}

async function plain(browser, url) {
  await run('without WebGL the page says so, and Esc still ends the viewer', async () => {
    const page = await lib.open(browser, url);
    await lib.show(page);
    assert.match(await page.$eval('#notice', e => e.innerText), /offers no WebGL 2/);
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => document.getElementById('exit').textContent !== '');
  });
}

const [engine, target] = process.argv.slice(2);
lib.exitWith(lib.withBrowser(target, engine, main)
  .then(() => lib.withBrowser(target, engine, plain, { webgl: false })));
