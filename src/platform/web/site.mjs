// The web site's build steps that emscripten does not do (run by the build with node, which emscripten
// needs anyway):
//   node site.mjs pack DATA_DIR OUT       the game's data as one gzip package the page unpacks:
//                                         a 4-byte little-endian length, that many bytes of JSON
//                                         [[path, size], ...], then the files' bytes in that order
//   node site.mjs version SITE TEMPLATE   writes SITE/sw.js from TEMPLATE: the service worker of this
//                                         build, named by a digest of every file of the site, with
//                                         their list
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

function filesUnder(dir, rel = '') {
    return fs.readdirSync(path.join(dir, rel), {withFileTypes: true})
        .sort((a, b) => (a.name < b.name ? -1 : a.name > b.name ? 1 : 0))
        .flatMap((entry) => {
            const name = rel ? `${rel}/${entry.name}` : entry.name;
            if (entry.name.startsWith('.')) return [];
            return entry.isDirectory() ? filesUnder(dir, name) : [name];
        });
}

// What the game reads: sprite/, sound/ and Map.dat.
function pack(dataDir, out) {
    const names = filesUnder(dataDir).filter((name) => /^(sprite\/|sound\/|Map\.dat$)/.test(name));
    const contents = names.map((name) => fs.readFileSync(path.join(dataDir, name)));
    const index = Buffer.from(JSON.stringify(names.map((name, i) => [`/${name}`, contents[i].length])));
    const length = Buffer.alloc(4);
    length.writeUInt32LE(index.length);
    fs.writeFileSync(out, zlib.gzipSync(Buffer.concat([length, index, ...contents]), {level: 9}));
}

function version(site, template) {
    const names = filesUnder(site).filter((name) => name !== 'sw.js');
    const digest = crypto.createHash('sha256');
    for (const name of names) digest.update(name).update('\0').update(fs.readFileSync(path.join(site, name)));
    const text = fs.readFileSync(template, 'utf8')
                     .replace('@VERSION@', digest.digest('hex').slice(0, 16))
                     .replace('@FILES@', JSON.stringify(names));
    fs.writeFileSync(path.join(site, 'sw.js'), text);
}

const [step, ...args] = process.argv.slice(2);
if (step === 'pack' && args.length === 2) {
    pack(...args);
} else if (step === 'version' && args.length === 2) {
    version(...args);
} else {
    console.error('usage: node site.mjs pack DATA_DIR OUT | version SITE TEMPLATE');
    process.exit(2);
}
