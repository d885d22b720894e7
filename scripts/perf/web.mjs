// scripts/perf/web.sh's measurements. Serves the site, and in one headless Chromium
// - opens the page RUNS times in a new profile (a cold cache) and reloads it once its service worker
//   keeps the site (warm): milliseconds from the navigation's start to the first frame shown
//   (performance.mark 'plinkwell-first-frame'), and where they went;
// - plays, in turns, the steady-play demo through ?replay= and a minimal page that only paints an
//   800 x 600 frame with putImageData on each 15 ms tick, and prints each run's figures over the same
//   1200 frames and the medians.
// Usage: node web.mjs SITE RUNS [title|play|start]   (title: the game's title screen instead of the
// demo; play: only the demo and the minimal page; start: only the start-up)
import fs from 'node:fs';
import http from 'node:http';
import {createRequire} from 'node:module';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const {chromium} = createRequire(path.join(root, 'tests/web/package.json'))('playwright-core');
const [site, runs, only] = [path.resolve(process.argv[2]), Number(process.argv[3]), process.argv[4] || ''];
const title = only === 'title';
const kFirst = 101, kFrames = 1200;  // frames 101 to 1301 of the demo, as scripts/perf/measure.sh takes them
const kDisplayFrameMs = 1000 / 60;

// The floor: a new picture on every 15 ms tick, paced as the game paces its frames.
const minimalPage = `<!doctype html>
<html><head><meta charset="utf-8"><title>minimal</title>
<style>html, body { margin: 0; background: #121214; }</style></head>
<body><canvas width="800" height="600"></canvas>
<script>
const context = document.querySelector('canvas').getContext('2d');
const image = new ImageData(800, 600), pixels = new Uint32Array(image.data.buffer);
let ticks = 0, due = performance.now();
window.plinkwellTicks = () => ticks;
function frame(now) {
  if (now - due > 250) due = now;
  for (; due <= now; due += 15) {
    ++ticks;
    if (window.plinkwellSeen) plinkwellSeen.push([ticks, now]);
    pixels.fill(0xff000000 | (Math.imul(ticks, 2654435761) & 0xffffff));
    context.putImageData(image, 0, 0);
  }
  requestAnimationFrame(frame);
}
requestAnimationFrame(frame);
</script></body></html>`;

const types = {
    '.html': 'text/html',
    '.js': 'text/javascript',
    '.wasm': 'application/wasm',
    '.png': 'image/png',
    '.json': 'application/json',
    '.webmanifest': 'application/manifest+json'
};
function serve(req, res) {
    const name = decodeURIComponent(new URL(req.url, 'http://localhost').pathname.slice(1)) || 'index.html';
    if (name === 'minimal.html') {
        res.writeHead(200, {'Content-Type': 'text/html'}).end(minimalPage);
        return;
    }
    const file = name === 'steady_play.txt' ? path.join(here, name) : path.resolve(site, name);
    if (!file.startsWith(site + path.sep) && file !== path.join(here, name) || !fs.existsSync(file) ||
        !fs.statSync(file).isFile()) {
        res.writeHead(404).end();
        return;
    }
    res.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(res);
}

// CPU seconds of every process under this one (the browser and all its helpers).
const kTicks = 100;  // USER_HZ
function browserCpu() {
    const parent = new Map(), cpu = new Map();
    for (const pid of fs.readdirSync('/proc').filter((d) => /^\d+$/.test(d))) {
        try {
            const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
            const f = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
            parent.set(+pid, +f[1]);
            cpu.set(+pid, (+f[11] + +f[12]) / kTicks);
        } catch {
            // gone meanwhile
        }
    }
    const ours = (pid) => {
        for (let p = pid; p > 1; p = parent.get(p) ?? 0)
            if (parent.get(p) === process.pid) return true;
        return false;
    };
    let total = 0;
    for (const [pid, seconds] of cpu)
        if (ours(pid)) total += seconds;
    return total;
}

// A frame runs in the first display frame after it is due, so up to a display frame after it; it
// is late when later than that. seen: [frame, time] of each frame drawn from kFirst to kFirst +
// kFrames. The due times are placed by the run's punctual frames (the 5th percentile, as a frame may
// start a millisecond or two after its display frame's time and so seem early), with 2 ms to spare
// for the same reason.
function pacing(seen) {
    if (seen.length < 2) return {seconds: NaN, late: 0};  // no pictures drawn: the title screen
    const offsets = seen.map(([frame, t]) => t - 15 * frame);
    const base = [...offsets].sort((a, b) => a - b)[Math.floor(offsets.length / 20)];
    return {
        seconds: (seen[seen.length - 1][1] - seen[0][1]) / 1000 * kFrames / (seen[seen.length - 1][0] - seen[0][0]),
        late: offsets.filter((o) => o - base > kDisplayFrameMs + 2).length,
    };
}

// Each page notes the frame number and time of every picture it draws (the game: each handed to
// the canvas), read at the end: following the frames from outside would take the page's thread at
// every display frame.
const pages = {
    game: {
        url: title ? '/index.html' : '/index.html?replay=/steady_play.txt',
        count: 'Module._plinkwell_frames()',
        ready: () => window.plinkwellReady && Module._plinkwell_frames() > 0,
        note: () => {
            const page = Module.plinkwellPage, present = page.present;
            window.plinkwellSeen = [];
            page.present = (...args) => {
                plinkwellSeen.push([Module._plinkwell_frames(), performance.now()]);
                return present.apply(page, args);
            };
        },
    },
    minimal: {
        url: '/minimal.html',
        count: 'plinkwellTicks()',
        ready: () => window.plinkwellTicks && plinkwellTicks() > 0,
        note: () => {
            window.plinkwellSeen = [];
        },
    },
};

async function measure(browser, origin, name) {
    const p = pages[name];
    const context = await browser.newContext({viewport: {width: 1280, height: 800}});
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    await cdp.send('Performance.enable');
    const metrics = async () => {
        const list = (await cdp.send('Performance.getMetrics')).metrics;
        const value = (key) => list.find((m) => m.name === key).value;
        return {thread: value('ThreadTime'), task: value('TaskDuration'), all: browserCpu(),
                frame: await page.evaluate(p.count)};
    };
    await page.goto(origin + p.url);
    await page.waitForFunction(p.ready);
    await page.waitForFunction(`${p.count} >= ${kFirst - 20}`);
    await page.evaluate(p.note);
    const polling = {polling: 100, timeout: 60000};
    await page.waitForFunction(`${p.count} >= ${kFirst}`, null, polling);
    const before = await metrics();
    await page.waitForFunction(`${p.count} >= ${kFirst + kFrames}`, null, polling);
    const after = await metrics();
    const seen = (await page.evaluate(() => plinkwellSeen)).filter(([n]) => n >= kFirst && n <= kFirst + kFrames);
    await context.close();
    const perFrame = (key) => 1000 * (after[key] - before[key]) / (after.frame - before.frame);
    return {thread: perFrame('thread'), task: perFrame('task'), all: perFrame('all'), drawn: seen.length, ...pacing(seen)};
}

// From the navigation's start, ms: the page read, the last of code, module and data in, the runtime
// started, the first frame shown. Read a while after the page has loaded: waiting for the mark from
// the start would put the waiting's own script into the page's start (some 15 ms of parsing).
async function startUp(page) {
    await page.waitForTimeout(2000);
    await page.waitForFunction(() => performance.getEntriesByName('plinkwell-first-frame').length > 0);
    return page.evaluate(() => {
        const mark = (name) => performance.getEntriesByName(name)[0].startTime;
        const files = performance.getEntriesByType('resource').filter((e) => /plinkwell\.(js|wasm|data)$/.test(e.name));
        return {
            page: performance.getEntriesByType('navigation')[0].responseEnd,
            files: Math.max(...files.map((e) => e.responseEnd)),
            runtime: mark('plinkwell-runtime'),
            first: mark('plinkwell-first-frame'),
        };
    });
}

async function measureStart(browser, origin) {
    const context = await browser.newContext({viewport: {width: 1280, height: 800}});
    const page = await context.newPage();
    await page.goto(origin + '/index.html');
    const cold = await startUp(page);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    await page.reload();
    const warm = await startUp(page);
    await page.waitForTimeout(3000);
    await page.reload();
    const later = await startUp(page);
    await context.close();
    return {cold, warm, later};
}

const showStart = (r) => `${r.first.toFixed(0)} ms (page ${r.page.toFixed(0)}, files ${r.files.toFixed(0)}, ` +
    `runtime ${r.runtime.toFixed(0)})`;

function show(name, r) {
    return `${name.padEnd(8)} main thread ${r.thread.toFixed(3)} ms a frame (tasks ${r.task.toFixed(3)}), ` +
        `all processes ${r.all.toFixed(3)} ms; ${kFrames} frames in ${r.seconds.toFixed(3)} s, ` +
        `${r.late} late, ${r.drawn} drawn`;
}

const median = (values) => {
    const v = [...values].sort((a, b) => a - b);
    return v.length % 2 ? v[v.length >> 1] : (v[v.length / 2 - 1] + v[v.length / 2]) / 2;
};

const server = http.createServer(serve);
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: [
        '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        '--autoplay-policy=no-user-gesture-required'
    ],
});
const results = {game: [], minimal: []};
const starts = {cold: [], warm: []};
try {
    const origin = `http://127.0.0.1:${server.address().port}`;
    for (let run = 1; run <= (only === 'play' ? 0 : runs); ++run) {
        const r = await measureStart(browser, origin);
        starts.cold.push(r.cold.first);
        starts.warm.push(r.warm.first);
        console.log(`start ${run}: cold ${showStart(r.cold)}; warm ${showStart(r.warm)}; later ${showStart(r.later)}`);
    }
    if (only !== 'play') console.log(`median of ${runs}: first frame ${median(starts.cold).toFixed(0)} ms cold, ${
        median(starts.warm).toFixed(0)} ms warm`);
    for (let run = 1; run <= (only === 'start' ? 0 : runs); ++run) {
        const order = run % 2 ? ['game', 'minimal'] : ['minimal', 'game'];
        for (const name of order) {
            const r = await measure(browser, origin, name);
            results[name].push(r);
            console.log(`run ${run}: ${show(name, r)}`);
        }
    }
} finally {
    await browser.close();
    server.close();
}
const medians = {};
if (only === 'start') process.exit(0);
for (const name of Object.keys(results)) {
    medians[name] = {};
    for (const key of Object.keys(results[name][0])) medians[name][key] = median(results[name].map((r) => r[key]));
    console.log(`median of ${runs}: ${show(name, medians[name])}`);
}
console.log(`the game against the minimal page: main thread ${
    (medians.game.thread / medians.minimal.thread).toFixed(2)}x, all processes ${
    (medians.game.all / medians.minimal.all).toFixed(2)}x`);
