// Browser tests of the web build (scripts/web.sh) in Debian's headless Chromium:
// (1) our input scripts through the page's harness give the native game's record and picture;
// (2) replays at real speed, saved and watched, and chosen stages give the native records;
// (3) the page played in real time answers the mouse and keys, and stays quiet;
// (4) offline, installable, and a new build served whole.
// Timings are not checked here (a loaded machine would fail them): scripts/perf/web.sh prints them.
// Environment: as common.mjs says, and CHROMIUM (/usr/bin/chromium).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';
import { root, site, data, serve, listen, canvasRgb, nativeRun, fullgameData, harnessCases, checkHarness }
  from './common.mjs';

let server, browser, origin, phones;
before(async () => {
  server = await listen(serve);
  origin = server.origin;
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--autoplay-policy=no-user-gesture-required'],
  });
});
after(async () => {
  await phones?.close();
  await browser?.close();
  await server?.close();
});

// A page whose console and errors are collected.
async function openPage(query) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  const noise = [];
  page.on('console', (m) => { if (m.type() === 'error' || m.type() === 'warning') noise.push(`${m.type()}: ${m.text()}`); });
  page.on('pageerror', (e) => noise.push(`pageerror: ${e.message}`));
  await page.goto(`${origin}/index.html${query}`);
  return { page, noise, close: () => context.close() };
}

for (const c of harnessCases) {
  test(`harness: ${c.name} gives the native record and picture`, async () => {
    const native = nativeRun(c.script, c.frames, c.map ? fullgameData() : data);
    const map = c.map ? `&map=/repo/${c.map}` : '';
    const { page, noise, close } = await openPage(`?input=/repo/${c.script}&frames=${c.frames}&headless=1${map}`);
    try {
      await page.waitForFunction(() => document.title !== 'Plinkwell', null, { timeout: 120000 });
      await checkHarness(page, native);
      assert.deepEqual(noise, []);
    } finally {
      await close();
    }
  });
}

test('harness: a long run hands the page control and shows its progress', async () => {
  const { page, close } = await openPage('?headless=1&frames=1000000');
  try {
    // Each answer comes between two of the run's frames: the run is still going when the page answers.
    await page.waitForFunction(() => document.getElementById('progress').value > 0, null, { timeout: 60000 });
    const seen = await page.evaluate(() => [document.title, document.getElementById('progress').value]);
    assert.equal(seen[0], 'Plinkwell');
    assert.ok(seen[1] > 0 && seen[1] < 1000000);
    assert.ok(await page.evaluate(() => Module._plinkwell_frames() > 0));
  } finally {
    await close();
  }
});

const refusals = [
  ['a bad script', '?input=/repo/tests/web/package.json&headless=1', /^plinkwell: \/tmp\/input\.txt:1: .+$/],
  ['a bad replay', '?replay=/repo/tests/web/package.json', /^plinkwell: \/tmp\/replay\.txt:1: .+$/],
  ['an option smuggled into frames', '?headless=1&frames=300%0A--frames%0A5',
    /^plinkwell: frames must be a whole number from 1 to 4294967295$/],
  ['frames past the range', '?headless=1&frames=4294967296', /^plinkwell: frames must be a whole number/],
  ['a parameter given twice', '?headless=1&frames=5&frames=6', /^plinkwell: frames is given more than once$/],
];
for (const [name, query, message] of refusals) {
  test(`the page: ${name} gives the one-line error`, async () => {
    const { page, close } = await openPage(query);
    try {
      await page.waitForFunction(() => document.title !== 'Plinkwell', null, { timeout: 60000 });
      assert.equal(await page.title(), 'Plinkwell: error');
      assert.match(await page.textContent('#error'), message);
    } finally {
      await close();
    }
  });
}


// The record once check holds: a loaded machine runs the frames later, not differently.
async function recordWhen(page, check, what) {
  for (let i = 0; i < 2000; ++i) {
    const r = await record(page);
    if (check(r)) return r;
    await page.waitForTimeout(15);
  }
  assert.fail(what);
}

const record = async (page) => JSON.parse(await page.evaluate(
  () => Module.UTF8ToString(Module._plinkwell_state())));

// A real-time run's record: the game's clock reads real time there, so only m_dwLastFrame may differ.
const withoutClock = ({ m_dwLastFrame, ...rest }) => rest;

// A desktop --record chosen in Watch replay plays at real speed to frames=N, drawn from the
// display's changed parts: the native record and the native picture, which the harness draws whole.
test('replay: a desktop recording watched ends with the native record and picture', async () => {
  const frames = 400, script = 'scripts/perf/steady_play.txt';
  const native = nativeRun(script, frames, data);
  const { page, noise, close } = await openPage(`?frames=${frames}`);
  try {
    await page.waitForFunction(() => window.plinkwellReady && Module._plinkwell_frames() > 0);
    await page.setInputFiles('#watch-file', { name: 'game.txt', mimeType: 'text/plain', buffer: Buffer.from(native.record) });
    await page.waitForSelector('#stop', { state: 'visible' });
    await page.waitForSelector('#again', { state: 'visible', timeout: 60000 });
    assert.deepEqual(withoutClock(await record(page)), withoutClock(JSON.parse(native.state)));
    assert.ok((await canvasRgb(page)).equals(native.rgb), 'the canvas shows the native --screenshot');
    assert.deepEqual(noise, []);
  } finally {
    await close();
  }
});

// Stages chosen in the page go through the game's own reader: a garbled Map.dat plays as natively.
test('stages: a garbled Map.dat chosen in the page plays as the desktop plays it', async () => {
  const frames = 300, script = 'docs/screenshots/play.txt';
  const garbled = Buffer.alloc(3000, 0xA7);
  garbled.writeInt32LE(3, 8);  // three stages declared, two and a half there
  const dir = fullgameData();
  fs.writeFileSync(path.join(dir, 'Map.dat'), garbled);
  const native = nativeRun(script, frames, dir);
  const { page, close } = await openPage(`?replay=/repo/${script}&frames=${frames}`);
  try {
    await page.waitForFunction(() => window.plinkwellReady && Module._plinkwell_frames() > 0);
    await page.setInputFiles('#stages-file', { name: 'Map.dat', mimeType: 'application/octet-stream', buffer: garbled });
    await page.waitForSelector('#builtin', { state: 'visible' });
    await page.waitForSelector('#again', { state: 'visible', timeout: 60000 });
    assert.deepEqual(withoutClock(await record(page)), withoutClock(JSON.parse(native.state)));
  } finally {
    await close();
  }
});

// Save replay: the game just played, with the version and stages named; replayed natively headless it
// ends in the record of the page's harness run of the same file.
async function checkSavedReplay(page) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
  const file = await download.path();
  const text = fs.readFileSync(file, 'utf8');
  const digest = crypto.createHash('sha256').update(fs.readFileSync(path.join(data, 'Map.dat'))).digest('hex');
  assert.match(text, new RegExp(`^# plinkwell input 1\n# plinkwell [0-9.]+ in a browser, built-in stages, Map.dat sha256 ${digest}\n`));
  const frames = 1000000;  // the game quit with Escape, which the replay holds
  const native = nativeRun(file, frames, data);
  const url = 'data:text/plain;base64,' + Buffer.from(text).toString('base64');
  const twin = await openPage(`?input=${encodeURIComponent(url)}&frames=${frames}&headless=1`);
  try {
    await twin.page.waitForFunction(() => document.title !== 'Plinkwell', null, { timeout: 120000 });
    assert.equal(await twin.page.textContent('#state'), native.state);
  } finally {
    await twin.close();
  }
}

test('real time: the title, mouse and keys answered, Escape quits, Save replay, Play again', async () => {
  const { page, noise, close } = await openPage('');
  try {
    await page.waitForFunction(() => window.plinkwellReady && Module._plinkwell_frames() > 0);
    assert.equal((await record(page)).m_bIntro, 1);

    await page.click('#screen');
    await page.keyboard.down('Space');
    await page.waitForTimeout(100);
    await page.keyboard.up('Space');
    await recordWhen(page, (r) => r.m_bIntro === 0, 'Space leaves the title');
    const before = (await recordWhen(page, (r) => r.m_bStageBanner === 0, 'the stage banner ends')).paddle.x;

    for (let i = 1; i <= 10; ++i) {
      await page.mouse.move(640 - i * 20, 400);
      await page.waitForTimeout(20);
    }
    await recordWhen(page, (r) => r.paddle.x < before, 'the paddle follows the mouse to the left');

    const widePaddle = (await record(page)).m_bWidePaddle;
    await page.keyboard.down('Digit1');
    await page.waitForTimeout(100);
    await page.keyboard.up('Digit1');
    await recordWhen(page, (r) => r.m_bWidePaddle !== widePaddle || r.m_bMessage !== 0,
      'the shop key buys the wide paddle or is refused with a message');

    await page.keyboard.press('Escape');
    await page.waitForSelector('#again', { state: 'visible' });
    await checkSavedReplay(page);
    await page.click('#again');
    await page.waitForFunction(() => document.getElementById('again').hidden);
    await recordWhen(page, (r) => r.m_bIntro === 1, 'Play again starts a fresh game');
    assert.deepEqual(noise, []);
  } finally {
    await close();
  }
});

// Offline: a visit leaves the service worker with the whole site; the server stopped, a reload plays.
test('offline: once visited, the page is installable and plays without its server', async () => {
  const local = await listen(serve);
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  try {
    const page = await context.newPage();
    await page.goto(`${local.origin}/index.html`);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 60000 });
    const cdp = await context.newCDPSession(page);
    // Playwright's contexts are incognito ones, where nothing installs: every other criterion is met.
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors.map((e) => e.errorId).filter((id) => id !== 'in-incognito'), []);
    await local.close();
    await page.reload();
    await page.waitForFunction(() => window.plinkwellReady && Module._plinkwell_frames() > 0, null, { timeout: 60000 });
    assert.equal((await record(page)).m_bIntro, 1);
  } finally {
    await context.close();
    await local.close();
  }
});

// A new build (its page and code marked, sw.js written for it as the build writes it) replaces the
// cached one whole at the next reload: never the new page with the old code, and one cache left.
test('offline: a new build is served whole after a reload', async () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'plinkwell-site-'));
  fs.cpSync(site, dir, { recursive: true, filter: (f) => !path.basename(f).startsWith('.') });
  const local = await listen((req, res) => serve(req, res, dir));
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  try {
    const page = await context.newPage();
    await page.goto(`${local.origin}/index.html`);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { timeout: 60000 });
    const html = path.join(dir, 'index.html');
    fs.writeFileSync(html, fs.readFileSync(html, 'utf8').replace('<title>', '<meta name="build" content="2"><title>'));
    fs.appendFileSync(path.join(dir, 'plinkwell.js'), '\nwindow.plinkwellBuild = 2;\n');
    execFileSync(process.execPath, [path.join(root, 'src/platform/web/site.mjs'), 'version', dir,
      path.join(root, 'src/platform/web/sw.js')]);
    await page.reload();
    const whole = () => window.plinkwellReady && document.querySelector('meta[name=build]') !== null &&
      window.plinkwellBuild === 2;
    for (let i = 0; i < 600 && !(await page.evaluate(whole).catch(() => false)); ++i) await page.waitForTimeout(100);
    assert.ok(await page.evaluate(whole), 'the new build\'s page and code');
    assert.equal((await page.evaluate(() => caches.keys())).length, 1);
  } finally {
    await context.close();
    await local.close();
    fs.rmSync(dir, { recursive: true });
  }
});

// ---- fingers, pads and settings ----------------------------------------------------------------
// A phone: touch only, and sound only after a gesture (no autoplay switch). init runs before the page.
async function openPhone(width, height, init = () => {}) {
  phones ??= await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'] });
  const touch = width < 1000;
  const context = await phones.newContext({ viewport: { width, height }, hasTouch: touch, isMobile: touch });
  await context.addInitScript(init);
  const page = await context.newPage();
  const noise = [];
  page.on('console', (m) => { if (m.type() === 'error' || m.type() === 'warning') noise.push(`${m.type()}: ${m.text()}`); });
  page.on('pageerror', (e) => noise.push(`pageerror: ${e.message}`));
  await page.goto(`${origin}/index.html`);
  await page.waitForFunction(() => window.plinkwellReady && Module._plinkwell_frames() > 0);
  return { page, noise, cdp: await context.newCDPSession(page), close: () => context.close() };
}
const button = (page, name) => page.getByRole('button', { name, exact: true });
const box = async (locator) => locator.boundingBox();
async function tap(page, name) {
  const b = await box(button(page, name));
  await page.touchscreen.tap(b.x + b.width / 2, b.y + b.height / 2);
}
// A finger (id 1) drawn dx CSS pixels across from `at` in ten moves; others: fingers held meanwhile.
async function drag(cdp, at, dx, others = []) {
  const send = (type, x) => cdp.send('Input.dispatchTouchEvent', { type,
    touchPoints: type === 'touchEnd' ? others : [{ x, y: at.y, id: 1 }, ...others] });
  await send('touchStart', at.x);
  for (let i = 1; i <= 10; ++i) await send('touchMove', at.x + (dx * i) / 10);
  await send('touchEnd');
}
// Left Ctrl + S held a while: money for the shop. Then the score for any item, and the shop's 20
// frames of waiting over.
async function moneyKeys(page) {
  await page.keyboard.down('Control');
  await page.keyboard.down('s');
  await page.waitForTimeout(100);
  await page.keyboard.up('s');
  await page.keyboard.up('Control');
}
const shopOpen = (r) => r.m_nScore >= 1000 && r.m_nItemKeyDelay <= 0;
const frames = (page) => page.evaluate(() => Module._plinkwell_frames());
const held = async (page) => { const f = await frames(page); await page.waitForTimeout(300); return f === await frames(page); };

for (const [width, height] of [[390, 844], [844, 390]]) {
  test(`touch ${width} x ${height}: named buttons of 44 px beside the picture, not on it`, async () => {
    const { page, noise, close } = await openPhone(width, height);
    try {
      const picture = await box(page.locator('#screen'));
      if (width < height) assert.equal(Math.round(picture.width), width, 'the picture takes the width');
      const names = ['Start', 'Launch', 'Pause', ...[1, 2, 3, 4, 5, 6, 7, 8, 9, 0].map((n) => `Item ${n}`)];
      for (const name of names) {
        const b = await box(button(page, name));
        assert.ok(b && b.width >= 44 && b.height >= 44, `${name} is 44 px`);
        const apart = b.y >= picture.y + picture.height || b.x + b.width <= picture.x || b.x >= picture.x + picture.width;
        assert.ok(apart && b.x >= 0 && b.x + b.width <= width && b.y + b.height <= height, `${name} beside the picture`);
      }
      assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById('stage')).touchAction), 'none');
      assert.doesNotMatch(await page.textContent('body'), /needs a mouse/);
      assert.deepEqual(noise, []);
    } finally {
      await close();
    }
  });
}

test('touch: a finger game starts with sound, moves, launches with a second finger, buys, pauses, quits and replays', async () => {
  const { page, cdp, noise, close } = await openPhone(390, 844);
  try {
    assert.notEqual(await page.evaluate(() => window.plinkwellSound()), 'running');
    await tap(page, 'Start');
    await recordWhen(page, (r) => r.m_bIntro === 0, 'Start leaves the title');
    assert.equal(await page.evaluate(() => window.plinkwellSound()), 'running', 'the tap started the sound');
    const start = (await recordWhen(page, (r) => r.m_bStageBanner === 0, 'the banner ends')).paddle.x;

    const pad = await box(page.locator('#drag')), picture = await box(page.locator('#screen'));
    const launch = await box(button(page, 'Launch'));
    const moved = Math.round(100 * 800 / picture.width);  // the picture is 800 pixels wide
    await drag(cdp, { x: pad.x + 50, y: pad.y + 50 }, 100);
    await recordWhen(page, (s) => Math.abs(s.paddle.x - start - moved) <= 1, `the drag moves the paddle ${moved} pixels`);
    await drag(cdp, { x: pad.x + 150, y: pad.y + 50 }, -40, [{ x: launch.x + 10, y: launch.y + 10, id: 2 }]);
    await recordWhen(page, (s) => s.balls[0].launched === 1, 'a second finger on Launch launches');

    await moneyKeys(page);  // the keys hide the touch controls
    await page.waitForSelector('#touch-keys', { state: 'hidden' });
    const shown = await box(page.locator('#screen'));  // larger without the controls
    await page.touchscreen.tap(shown.x + 20, shown.y + 20);
    await page.waitForSelector('#touch-keys', { state: 'visible' });
    await recordWhen(page, shopOpen, 'the score for it, and the shop open');
    await tap(page, 'Item 1');
    await recordWhen(page, (s) => s.m_bWidePaddle === 1, 'Item 1 buys the wide paddle');

    await tap(page, 'Pause');
    assert.ok(await held(page), 'Pause holds the game');
    await page.touchscreen.tap(picture.x + 20, picture.y + 20);
    assert.ok(!(await held(page)), 'a tap on the picture goes on');
    assert.deepEqual(await page.evaluate(() => [scrollX, scrollY, document.scrollingElement.scrollTop]), [0, 0, 0]);

    await tap(page, 'Pause');
    await tap(page, 'Quit');
    await page.waitForSelector('#again', { state: 'visible' });
    const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'plinkwell-touch-')), 'game.txt');
    fs.writeFileSync(file, await page.evaluate(() => Module.FS.readFile('/tmp/record.txt', { encoding: 'utf8' })));
    const native = nativeRun(file, 1000000, data);
    assert.deepEqual(withoutClock(await record(page)), withoutClock(JSON.parse(native.state)), 'the recording replays');
    assert.deepEqual(noise, []);
  } finally {
    await close();
  }
});

// A pad that reports the standard mapping, worked by the test through window.pad.
function stubPad() {
  window.pad = { connected: true, mapping: 'standard', id: 'test pad', index: 0, axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
  navigator.getGamepads = () => [window.pad.connected ? window.pad : null];
  addEventListener('load', () => dispatchEvent(new Event('gamepadconnected')));
}
const padButton = (page, i, pressed) => page.evaluate(([n, p]) => { window.pad.buttons[n] = { pressed: p, value: +p }; }, [i, pressed]);
async function padPress(page, i) {
  await padButton(page, i, true);
  await page.waitForTimeout(60);
  await padButton(page, i, false);
  await page.waitForTimeout(60);
}

test('pad: a standard-mapping pad plays as on the desktop, its shop cursor on the item buttons', async () => {
  const { page, noise, close } = await openPhone(1280, 800, stubPad);
  try {
    await padPress(page, 9);  // Start
    await recordWhen(page, (r) => r.m_bIntro === 0, 'Start leaves the title');
    assert.match(await page.textContent('#hint'), /Tap or press a key for sound/);
    const start = (await recordWhen(page, (r) => r.m_bStageBanner === 0, 'the banner ends')).paddle.x;
    await page.evaluate(() => { window.pad.axes[0] = 1; });
    await recordWhen(page, (r) => r.paddle.x >= start + 48, 'the stick moves the paddle');
    await page.evaluate(() => { window.pad.axes[0] = 0; });
    await padPress(page, 0);  // A
    await recordWhen(page, (r) => r.balls[0].launched === 1, 'A launches');
    await moneyKeys(page);
    await recordWhen(page, shopOpen, 'the score for it, and the shop open');
    await padPress(page, 5);
    await padPress(page, 5);  // two right shoulders: item 3
    assert.match(await button(page, 'Item 3').getAttribute('class'), /cursor/);
    await padPress(page, 2);  // X
    await recordWhen(page, (r) => r.m_nBalls === 2, 'X buys item 3, BRANCH BALL');
    await page.evaluate(() => { window.pad.connected = false; });
    await page.waitForTimeout(100);
    assert.ok(await held(page), 'a pad unplugged holds the game');
    await page.evaluate(() => { window.pad.connected = true; });
    assert.ok(!(await held(page)), 'plugged in again, it goes on');
    assert.deepEqual(noise, []);
  } finally {
    await close();
  }
});

test('settings: the panel checks with the option table, and what it keeps reaches the next visit\'s game', async () => {
  const { page, noise, close } = await openPhone(1280, 800);
  try {
    await page.click('#open-settings');
    await page.fill('#setting-mouse-speed', '0');
    assert.equal(await page.textContent('#settings-problem'), "mouse-speed: '0' is not a number from 0.01 to 100");
    await page.fill('#setting-mouse-speed', '2.5');
    assert.equal(await page.textContent('#settings-problem'), '');
    await page.uncheck('#setting-sound');
    await page.reload();
    await page.waitForFunction(() => window.plinkwellReady && Module._plinkwell_frames() > 0);
    assert.equal(await page.inputValue('#setting-mouse-speed'), '2.5');
    assert.equal(await page.textContent('#mute'), 'Unmute');
    const file = await page.evaluate(() => Module.FS.readFile(Module.UTF8ToString(Module._plinkwell_settings_path()), { encoding: 'utf8' }));
    assert.equal(file, 'mouse-speed = 2.5\nmute = true\n');
    assert.deepEqual(noise, []);
  } finally {
    await close();
  }
});
