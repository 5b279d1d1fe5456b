// The page's pictures against the native build's (Mesa through SDL's offscreen driver): the
// start-up view, with fog, as wireframe, and the view after a press and one move of the
// trackball. The backgrounds must be identical, the model's coverage agree to an IoU of 0.98
// (0.9 for the wireframe: two rasterisers may step one-pixel lines differently), and 98 % of the
// model's pixels agree in colour within 8 levels: lighting, materials, fog, depth ties and the
// matrices of the GL subset are checked here. Both pictures of each view are written as PNG.
// Usage: node fidelity.js <chromium|firefox> <page directory> <web_native_frame program> <output
// directory>
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
  assert.deepStrictEqual(lib.pixel(web, 1, 1), lib.pixel(native, 1, 1), `${name}: backgrounds differ`);
  const { iou, close } = lib.agreement(web, native);
  console.log(`${name}: IoU ${iou.toFixed(4)}, colour within 8 levels ${(100 * close).toFixed(2)} %`);
  assert.ok(iou >= minimumIoU && close >= 0.98, `${name}: IoU ${iou}, colour ${close}`);
}

async function main([engine, directory, nativeProgram, output]) {
  fs.mkdirSync(output, { recursive: true });
  execFileSync(nativeProgram, [output, ...kPress, ...kMove],
               { env: { ...process.env, SDL_VIDEODRIVER: 'offscreen' }, stdio: 'inherit' });
  const server = await lib.serve(directory);
  const browser = await lib.launch(engine);
  try {
    const page = await lib.open(browser, `http://127.0.0.1:${server.address().port}/`);
    await lib.show(page);
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
