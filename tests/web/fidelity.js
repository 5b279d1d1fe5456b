// The page's pictures against the reviewed native ones in tests/gl/baselines, which the native
// build is held to: the start-up view, with fog, as wireframe, and the view after a press and one
// move of the trackball, in a 200-pixel window. The model's coverage must agree to an IoU of 0.98
// (a background that differs is model everywhere), and 99 % of its pixels in colour within 2 levels
// (the wireframe: 0.95 and 96 %, as two rasterisers may step one-pixel lines differently):
// lighting, materials, fog, depth ties and the matrices of the GL subset are checked here. The
// moved view shows light 0's highlights, which add up to 12 levels to a third of the model; the
// engines differ from Mesa by more than 2 levels only at edges and depth ties (under 1 %).
// Usage: node fidelity.js <chromium|firefox|webkit> <page directory> <baseline directory>
'use strict';
const assert = require('assert');
const fs = require('fs');
const path = require('path');
const lib = require('./lib');

// A 250-pixel screen gives a 200-pixel window, at (50, 50) on the page.
const kViewport = { width: 250, height: 250, deviceScaleFactor: 1 };
const kPress = [50 + 40, 50 + 70];
const kMove = [50 + 120, 50 + 120];

function readPpm(file) {
  const bytes = fs.readFileSync(file);
  const [header, width, height] = bytes.toString('latin1', 0, 20).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  const data = Buffer.alloc(4 * width * height, 255);
  for (let i = 0; i < width * height; ++i) bytes.copy(data, 4 * i, header.length + 3 * i, header.length + 3 * i + 3);
  return { width: +width, height: +height, data };
}

const [engine, directory, baselines] = process.argv.slice(2);

function compare(name, web, [minimumIoU, minimumClose]) {
  const native = readPpm(path.join(baselines, `${name}.ppm`));
  const { iou, close } = lib.agreement(web, native, 2);
  assert.ok(iou >= minimumIoU && close >= minimumClose, `${name}: IoU ${iou}, colour ${close}`);
}

lib.exitWith(lib.withBrowser(directory, engine, async (browser, base) => {
  const page = await lib.open(browser, base, kViewport);
  await lib.show(page);
  const views = { startup: await lib.grab(page) };
  // As the native frames were drawn: f, f p, p, then the press and its own frame, and the move.
  for (const [name, key] of [['fog', 'f'], ['wireframe', 'p']]) {
    await page.keyboard.press(key);
    await lib.frames(page, 3);
    views[name] = await lib.grab(page);
    await page.keyboard.press(key);
  }
  await page.mouse.move(...kPress);
  await page.mouse.down();
  await lib.frames(page, 3);
  await page.mouse.move(...kMove);
  await lib.frames(page, 3);
  views.rotated = await lib.grab(page);
  for (const [name, web] of Object.entries(views)) {
    compare(name, web, name === 'wireframe' ? [0.95, 0.96] : [0.98, 0.99]);
  }
}));
