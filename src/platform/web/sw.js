// The page's service worker: this build's files, cached whole on the first visit and served from
// that cache, offline too. Each build has a cache of its own, named by a digest of its files: a new
// build installs beside the old one while the old one serves the pages that opened with it, so no
// page ever mixes the files of two builds; it takes over when no page uses the old one, or at once
// when a page asks it to (one that has loaded all of its files and not been played yet), and then
// the old cache goes. (scripts/web.sh writes sw.js from this file: site.mjs version.)
'use strict';
const kVersion = '@VERSION@';
const kFiles = @FILES@;
const kCache = 'plinkwell-' + kVersion;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kCache).then((cache) =>
    cache.addAll(kFiles.map((name) => new Request(name, { cache: 'reload' })))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('plinkwell-') && name !== kCache)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('message', (event) => {
  if (event.data === 'take-over') self.skipWaiting();
});

// The page (whatever its query) and the build's files come from the cache; anything else (a replay
// or stages named by a link) from the network.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (request.method !== 'GET' || url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return;
  let name = url.pathname.slice(scope.pathname.length);
  if (request.mode === 'navigate' && name === '') name = 'index.html';
  if (!kFiles.includes(name) || (name !== 'index.html' && url.search)) return;
  event.respondWith(openCache()
    .then((cache) => cache.match(name))
    .then((cached) => cached || fetch(request)));
});

// Opened once for all the page's files (each open is a trip to the browser's storage).
let opened = null;
function openCache() {
  if (!opened) opened = caches.open(kCache);
  return opened;
}
