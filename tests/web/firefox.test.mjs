// The harness cases in a second engine: Debian's firefox-esr, headless, driven by puppeteer-core over
// WebDriver BiDi. Each script's record and canvas are the native game's, to the byte, as in Chromium.
// Environment: as common.mjs says, and FIREFOX (/usr/bin/firefox-esr). Without Firefox the tests are
// skipped, unless PLINKWELL_WEB_TESTS=required (.ci/run).
import { test, before, after } from 'node:test';
import fs from 'node:fs';
import puppeteer from 'puppeteer-core';
import { data, serve, listen, nativeRun, fullgameData, harnessCases, checkHarness } from './common.mjs';

const firefox = process.env.FIREFOX || '/usr/bin/firefox-esr';
const skip = !fs.existsSync(firefox) && process.env.PLINKWELL_WEB_TESTS !== 'required' && `no ${firefox}`;

let server, browser;
before(async () => {
  if (skip) return;
  server = await listen(serve);
  browser = await puppeteer.launch({ browser: 'firefox', executablePath: firefox, headless: true });
});
after(async () => {
  await browser?.close();
  await server?.close();
});

for (const c of harnessCases) {
  test(`firefox harness: ${c.name} gives the native record and picture`, { skip }, async () => {
    const native = nativeRun(c.script, c.frames, c.map ? fullgameData() : data);
    const map = c.map ? `&map=/repo/${c.map}` : '';
    const page = await browser.newPage();
    try {
      await page.goto(`${server.origin}/index.html?input=/repo/${c.script}&frames=${c.frames}&headless=1${map}`);
      await page.waitForFunction(() => document.title !== 'Plinkwell', { timeout: 240000 });
      await checkHarness(page, native);
    } finally {
      await page.close();
    }
  });
}
