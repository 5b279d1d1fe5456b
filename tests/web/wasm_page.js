// Runs a WebAssembly test program in a page of headless Chromium, prints what it prints and
// exits with its exit code. Usage: node wasm_page.js <directory> <program .js in it>
'use strict';
const lib = require('./lib');

const [directory, program] = process.argv.slice(2);
lib.exitWith(lib.withBrowser(directory, 'chromium', async (browser, base) => {
  const page = await browser.newPage();
  page.on('console', message => console.log(message.text()));
  await page.goto(`${base}test_page.html?${program}`);
  await page.waitForFunction(() => window.exitCode !== undefined, { timeout: 60000 });
  return page.evaluate(() => window.exitCode);
}));
