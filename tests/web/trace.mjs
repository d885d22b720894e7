import { chromium } from 'playwright-core';
import http from 'node:http'; import fs from 'node:fs'; import path from 'node:path';
const root='/work/w23', site=process.env.SITE||'/work/w23/build-web';
const minimal = fs.readFileSync('/work/w23/scripts/perf/web.mjs','utf8').match(/const minimalPage = `([\s\S]*?)`;/)[1];
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png' };
const server=http.createServer((req,res)=>{const u=new URL(req.url,'http://x'); if(u.pathname==='/minimal.html'){res.writeHead(200,{'Content-Type':'text/html'}).end(minimal);return;} const inRepo=u.pathname.startsWith('/repo/');const f=path.join(inRepo?root:site, inRepo?u.pathname.slice(6):(u.pathname.slice(1)||'index.html'));
 if(!fs.existsSync(f)||!fs.statSync(f).isFile()){res.writeHead(404).end();return;} res.writeHead(200,{'Content-Type':types[path.extname(f)]||'application/octet-stream'}); fs.createReadStream(f).pipe(res);});
await new Promise(r=>server.listen(0,'127.0.0.1',r));
const origin=`http://127.0.0.1:${server.address().port}`;
const browser=await chromium.launch({executablePath:'/usr/bin/chromium',args:['--no-sandbox','--disable-gpu','--autoplay-policy=no-user-gesture-required']});
for (const url of ['/index.html?replay=/repo/scripts/perf/steady_play.txt', '/minimal.html']) {
const ctx=await browser.newContext({viewport:{width:1280,height:800}}); const page=await ctx.newPage();
await page.goto(origin+url);
await page.waitForTimeout(3000);
await browser.startTracing(page,{categories:['devtools.timeline','disabled-by-default-devtools.timeline','blink','cc','gpu','viz','toplevel']});
await page.waitForTimeout(4000);
const buf=await browser.stopTracing();
const ev=JSON.parse(buf).traceEvents;
// find renderer main thread: thread_name CrRendererMain
const names=new Map(); for(const e of ev) if(e.name==='thread_name') names.set(e.pid+':'+e.tid, e.args.name);
const sum=new Map();
for(const e of ev){ if(e.ph!=='X'||!e.dur) continue; const tn=names.get(e.pid+':'+e.tid)||'?'; const k=tn+' | '+e.name; const v=sum.get(k)||[0,0]; v[0]+=e.dur; v[1]+=(e.tdur||0); sum.set(k,v);}
console.log('==',url);
[...sum].filter(([k])=>!k.includes('ThreadControllerImpl')).sort((a,b)=>b[1][1]-a[1][1]).slice(0,40).forEach(([k,v])=>console.log((v[0]/1000/4).toFixed(1).padStart(7),(v[1]/1000/4).toFixed(1).padStart(7),k));
await ctx.close();
}
await browser.close(); server.close();
