// scripts/perf/web.sh's measurements: serves the site, opens it in headless Chromium RUNS times and
// prints the figures of each run.
// Usage: node web.mjs SITE RUNS
import fs from 'node:fs';
import http from 'node:http';
import {createRequire} from 'node:module';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const {chromium} = createRequire(path.join(root, 'tests/web/package.json'))('playwright-core');
const [site, runs] = [path.resolve(process.argv[2]), Number(process.argv[3])];
const kFrames = 1200;

const types = {
    '.html': 'text/html',
    '.js': 'text/javascript',
    '.wasm': 'application/wasm',
    '.png': 'image/png'
};
function serve(req, res) {
    const file = path.resolve(
        site, decodeURIComponent(new URL(req.url, 'http://localhost').pathname.slice(1)) || 'index.html');
    if (!file.startsWith(site + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
        res.writeHead(404).end();
        return;
    }
    res.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(res);
}

// Seconds from the first frame counted to the kFrames-th after it, read at every animation frame.
function realTime(page) {
    return page.evaluate(
        (frames) => new Promise((resolve) => {
            const count = () => Module._plinkwell_frames();
            const first = count() + 1;
            let start = 0;
            const poll = (now) => {
                const n = count();
                if (!start && n >= first) start = now;
                if (n >= first + frames)
                    resolve((now - start) / 1000);
                else
                    requestAnimationFrame(poll);
            };
            requestAnimationFrame(poll);
        }),
        kFrames);
}

async function measure(browser, origin, run) {
    const context = await browser.newContext({viewport: {width: 1280, height: 800}});
    const page = await context.newPage();
    const cdp = await context.newCDPSession(page);
    await cdp.send('Performance.enable');
    const busy = async () =>
        (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
    await page.goto(`${origin}/index.html`);
    await page.waitForFunction(() => window.plinkwellReady && Module._plinkwell_frames() > 60);
    const titleMs = await page.evaluate(() => window.plinkwellFirstFrameMs);
    const busyBefore = await busy();
    const seconds = await realTime(page);
    const cpu = (await busy()) - busyBefore;
    console.log(
        `run ${run}: title after ${titleMs.toFixed(0)} ms; ${kFrames} frames in ${seconds.toFixed(3)} s ` +
        `(${(kFrames / seconds).toFixed(2)} a second); main thread busy ${cpu.toFixed(2)} s ` +
        `(${(100 * cpu / seconds).toFixed(1)}% of one core)`);
    await context.close();
}

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
try {
    for (let run = 1; run <= runs; ++run)
        await measure(browser, `http://127.0.0.1:${server.address().port}`, run);
} finally {
    await browser.close();
    server.close();
}
