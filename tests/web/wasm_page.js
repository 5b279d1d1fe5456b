// Runs a WebAssembly test program in a page of headless Chromium, prints what it prints and
// exits with its exit code. Usage: node wasm_page.js <directory> <program .js in it>
'use strict';
const lib = require('./lib');

const [directory, program] = process.argv.slice(2);
lib.exitWith(lib.withBrowser(directory, 'chromium', async (browser, base) => {
  const page = await browser.newPage();
  page.on('console', message => console.log(message.text()));
  // The program's own file, shown as text, is a document of the server's origin: the canvas the
  // program draws on, and then the program itself, go into it.
  await page.goto(base + program);
  await page.evaluate(program => {
    document.body.innerHTML = '<canvas id="canvas"></canvas>';
    window.Module = { onExit: code => { window.exitCode = code; } };
    document.body.append(Object.assign(document.createElement('script'), { src: program }));
  }, program);
  await page.waitForFunction(() => window.exitCode !== undefined, { timeout: 60000 });
  return page.evaluate(() => window.exitCode);
}));
