// What the browser tests share: the site and repository served, the native game's runs, the
// canvas read back, and the harness cases checked in every browser.
// Environment: PLINKWELL_SITE (build-web), PLINKWELL_GAME (build/plinkwell), PLINKWELL_DATA (build/data).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const site = path.resolve(process.env.PLINKWELL_SITE || path.join(root, 'build-web'));
export const game = path.resolve(process.env.PLINKWELL_GAME || path.join(root, 'build/plinkwell'));
export const data = path.resolve(process.env.PLINKWELL_DATA || path.join(root, 'build/data'));
const W = 800, H = 600;

// The site at /, the repository's own files (input scripts, stages) at /repo/.
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json', '.css': 'text/css' };
export function serve(req, res, siteDir = site) {
  const url = new URL(req.url, 'http://localhost');
  const inRepo = url.pathname.startsWith('/repo/');
  const base = inRepo ? root : siteDir;
  const rel = decodeURIComponent(inRepo ? url.pathname.slice(6) : url.pathname.slice(1)) || 'index.html';
  const file = path.resolve(base, rel);
  if (!file.startsWith(base + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    res.writeHead(404).end();
    return;
  }
  res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
  fs.createReadStream(file).pipe(res);
}

// A server of its own for a test that stops it: serve(dir) answers for the site.
export async function listen(handler) {
  const s = http.createServer(handler);
  await new Promise((resolve) => s.listen(0, '127.0.0.1', resolve));
  return {
    origin: `http://127.0.0.1:${s.address().port}`,
    close: () => new Promise((resolve) => { s.close(resolve); s.closeAllConnections(); }),
  };
}

// The canvas's RGB bytes: the game's picture at its own size.
export async function canvasRgb(page) {
  const b64 = await page.evaluate(async () => {
    const px = await window.plinkwellPicture();
    const out = new Uint8Array(px.length / 4 * 3);
    for (let i = 0, o = 0; i < px.length; i += 4, o += 3) {
      out[o] = px[i]; out[o + 1] = px[i + 1]; out[o + 2] = px[i + 2];
    }
    let s = '';
    for (let i = 0; i < out.length; i += 0x8000) s += String.fromCharCode(...out.subarray(i, i + 0x8000));
    return btoa(s);
  });
  return Buffer.from(b64, 'base64');
}

// A 24-bit bottom-up BMP (the --screenshot file) as top-down RGB bytes.
function bmpRgb(file) {
  const bmp = fs.readFileSync(file);
  const offset = bmp.readUInt32LE(10), width = bmp.readInt32LE(18), height = bmp.readInt32LE(22);
  assert.equal(width, W);
  assert.equal(height, H);
  const pitch = (width * 3 + 3) & ~3, out = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const i = offset + (height - 1 - y) * pitch + x * 3, o = (y * width + x) * 3;
      out[o] = bmp[i + 2]; out[o + 1] = bmp[i + 1]; out[o + 2] = bmp[i];
    }
  }
  return out;
}

// script: in the repository, or an absolute path. The result has the game's input as --record wrote it.
export function nativeRun(script, frames, dataDir) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'plinkwell-web-'));
  const [state, shot, record] = ['state.json', 'shot.bmp', 'record.txt'].map((f) => path.join(dir, f));
  execFileSync(game, ['--headless', '--data', dataDir, '--input', path.resolve(root, script), '--frames', String(frames),
    '--state', state, '--screenshot', shot, '--record', record]);
  const result = { state: fs.readFileSync(state, 'utf8'), rgb: bmpRgb(shot), record: fs.readFileSync(record, 'utf8') };
  fs.rmSync(dir, { recursive: true });
  return result;
}

// The whole-game stages: the build's pictures and sounds with the tests' own Map.dat.
export function fullgameData() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'plinkwell-fullgame-'));
  for (const d of ['sprite', 'sound']) fs.symlinkSync(path.join(data, d), path.join(dir, d));
  fs.copyFileSync(path.join(root, 'tests/golden/fullgame/Map.dat'), path.join(dir, 'Map.dat'));
  return dir;
}

export const harnessCases = [
  { name: 'the screenshot play to the last stage', script: 'docs/screenshots/play.txt', frames: 1987 },
  { name: 'steady play', script: 'scripts/perf/steady_play.txt', frames: 1321 },
  { name: 'a whole game with shop and rockets', script: 'tests/golden/fullgame.txt', frames: 960,
    map: 'tests/golden/fullgame/Map.dat' },
];

// The page at the end of a harness case: the native record to the byte, and its picture.
export async function checkHarness(page, native) {
  const [title, state, error] = await page.evaluate(() => [document.title,
    document.getElementById('state').textContent, document.getElementById('error').textContent]);
  assert.equal(title, 'Plinkwell: done', error);
  const web = JSON.parse(state), want = JSON.parse(native.state);
  assert.deepEqual(Object.keys(web), Object.keys(want));
  for (const key of Object.keys(want)) assert.deepEqual(web[key], want[key], `key ${key}`);
  assert.equal(state, native.state);
  assert.ok((await canvasRgb(page)).equals(native.rgb), 'the canvas shows the native --screenshot');
}
