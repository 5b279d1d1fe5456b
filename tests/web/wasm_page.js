// Runs a WebAssembly test program in a page of headless Chromium, prints what it prints and
// exits with its exit code. Usage: node wasm_page.js <directory> <program .js in it>
'use strict';
const lib = require('./lib');

async function main([directory, program]) {
  const server = await lib.serve(directory);
  const browser = await lib.launch();
  try {
    const page = await browser.newPage();
    page.on('console', message => console.log(message.text()));
    await page.goto(`http://127.0.0.1:${server.address().port}/test_page.html?${program}`);
    await page.waitForFunction(() => window.exitCode !== undefined, { timeout: 60000 });
    return await page.evaluate(() => window.exitCode);
  } finally {
    await browser.close();
    server.close();
  }
}

main(process.argv.slice(2)).then(code => process.exit(code), error => {
  console.error(error);
  process.exit(1);
});
