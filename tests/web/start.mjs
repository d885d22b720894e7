import { chromium } from 'playwright-core';
import http from 'node:http'; import fs from 'node:fs'; import path from 'node:path';
const site=process.env.SITE||'/work/w23/build-web';
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
const server=http.createServer((req,res)=>{const u=new URL(req.url,'http://x');const f=path.join(site,(u.pathname.slice(1)||'index.html'));
 if(!fs.existsSync(f)||!fs.statSync(f).isFile()){res.writeHead(404).end();return;} res.writeHead(200,{'Content-Type':types[path.extname(f)]||'application/octet-stream', 'Cache-Control': process.env.CACHE||'no-cache', 'Last-Modified': fs.statSync(f).mtime.toUTCString()}); fs.createReadStream(f).pipe(res);});
await new Promise(r=>server.listen(0,'127.0.0.1',r));
const origin=`http://127.0.0.1:${server.address().port}`;
const browser=await chromium.launch({executablePath:'/usr/bin/chromium',args:['--no-sandbox','--disable-gpu','--autoplay-policy=no-user-gesture-required']});
for (let i=0;i<3;i++){
const ctx=await browser.newContext({viewport:{width:1280,height:800}}); const page=await ctx.newPage();
for (const kind of ['cold','warm','warm2','warm3']) {
  if (kind==='cold') await page.goto(origin+'/index.html'); else await page.reload();
  await page.waitForFunction(()=>performance.getEntriesByName('plinkwell-first-frame').length>0, null, {timeout:30000});
  const r=await page.evaluate(()=>{const m=n=>performance.getEntriesByName(n)[0]?.startTime.toFixed(0); const res=performance.getEntriesByType('resource').map(e=>`${e.name.split('/').pop()} ${e.startTime.toFixed(0)}-${e.responseEnd.toFixed(0)} ${e.transferSize}`); const nav=performance.getEntriesByType('navigation')[0]; return `html ${nav.responseEnd.toFixed(0)} dcl ${nav.domContentLoadedEventEnd.toFixed(0)} runtime ${m('plinkwell-runtime')} first ${m('plinkwell-first-frame')} | ${res.join(', ')}`;});
  console.log(kind, r);
}
await ctx.close();}
await browser.close(); server.close();
