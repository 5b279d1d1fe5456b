// The page's pictures against the native build's (Mesa through SDL's offscreen driver): the
// start-up view, with fog, as wireframe, and the view after a press and one move of the
// trackball. The backgrounds must be identical and the model's coverage agree to an IoU of 0.98
// (0.9 for the wireframe: two rasterisers may step one-pixel lines differently); the share of
// model pixels whose colour agrees within 8 levels is printed. Both pictures of each
// view are written as PNG.
// Usage: node fidelity.js <page directory> <web_native_frame program> <output directory>
'use strict';
const assert = require('assert');
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const { PNG } = require('pngjs');
const lib = require('./lib');

const kPress = [200, 300];
const kMove = [260, 330];
const kCanvasLeft = 50;  // the window's position on the page

function readPpm(file) {
  const bytes = fs.readFileSync(file);
  const [, width, height] = bytes.toString('latin1', 0, 20).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  const header = bytes.indexOf('255', 0, 'latin1') + 4;
  const data = Buffer.alloc(4 * width * height, 255);
  for (let i = 0; i < width * height; ++i) bytes.copy(data, 4 * i, header + 3 * i, header + 3 * i + 3);
  return { width: +width, height: +height, data };
}

function writePng(image, file) {
  const png = new PNG({ width: image.width, height: image.height });
  image.data.copy(png.data);
  fs.writeFileSync(file, PNG.sync.write(png));
}

function compare(name, web, native, minimumIoU) {
  assert.deepStrictEqual([web.width, web.height], [native.width, native.height]);
  const background = lib.pixel(native, 1, 1);
  assert.deepStrictEqual(lib.pixel(web, 1, 1), background, `${name}: backgrounds differ`);
  const isModel = (image, i) => [0, 1, 2].some(c => image.data[i + c] !== background[c]);
  let both = 0, either = 0, close = 0;
  for (let i = 0; i < web.data.length; i += 4) {
    const w = isModel(web, i), n = isModel(native, i);
    either += w || n ? 1 : 0;
    if (!(w && n)) continue;
    ++both;
    close += [0, 1, 2].every(c => Math.abs(web.data[i + c] - native.data[i + c]) <= 8) ? 1 : 0;
  }
  const iou = both / either;
  console.log(`${name}: IoU ${iou.toFixed(4)}, colour within 8 levels ${(100 * close / both).toFixed(2)} %` +
              ` of ${both} model pixels`);
  assert.ok(iou >= minimumIoU, `${name}: IoU ${iou}`);
}

async function main([directory, nativeProgram, output]) {
  fs.mkdirSync(output, { recursive: true });
  execFileSync(nativeProgram, [output, ...kPress, ...kMove],
               { env: { ...process.env, SDL_VIDEODRIVER: 'offscreen' }, stdio: 'inherit' });
  const server = await lib.serve(directory);
  const browser = await lib.launch();
  try {
    const page = await browser.newPage();
    await page.goto(`http://127.0.0.1:${server.address().port}/`);
    await page.waitForSelector('.box button');
    await page.keyboard.press('Enter');
    await page.waitForSelector('#canvas:not([hidden])');
    await lib.frames(page, 3);
    const views = { startup: await lib.grab(page) };
    for (const [name, key] of [['fog', 'f'], ['wireframe', 'p']]) {
      await page.keyboard.press(key);
      await lib.frames(page, 3);
      views[name] = await lib.grab(page);
      await page.keyboard.press(key);
    }
    // The press gets its own frame (the stored increment once more) before the one move.
    await page.mouse.move(kCanvasLeft + kPress[0], kCanvasLeft + kPress[1]);
    await page.mouse.down();
    await lib.frames(page, 3);
    await page.mouse.move(kCanvasLeft + kMove[0], kCanvasLeft + kMove[1]);
    await lib.frames(page, 3);
    views.rotated = await lib.grab(page);
    for (const [name, web] of Object.entries(views)) {
      const native = readPpm(path.join(output, `${name}.ppm`));
      writePng(web, path.join(output, `${name}-web.png`));
      writePng(native, path.join(output, `${name}-native.png`));
      compare(name, web, native, name === 'wireframe' ? 0.9 : 0.98);
    }
  } finally {
    await browser.close();
    server.close();
  }
}

main(process.argv.slice(2)).catch(error => {
  console.error(error);
  process.exit(1);
});
