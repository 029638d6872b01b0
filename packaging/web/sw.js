// Every file of this version of the site, cached under the version's own name on the first visit: a
// second visit plays with the network gone, and a new version never mixes its files with an old one's
// (its worker drops the old caches once it takes over). The high score and the settings live in
// IndexedDB, which no cache touches.
const CACHE = 'moonvale-@VERSION@'; // the version and a hash of the files, written in by package-web.sh
const FILES = ['./', 'index.html', 'page.js', 'strings.js', 'moonvale.js', 'moonvale.wasm', 'moonvale.data', 'manifest.webmanifest',
               'icon.png', 'icon-192.png', 'icon-512.png'];

// Past the browser's HTTP cache: a host that lets files be cached for long would otherwise hand this
// version's cache the last version's moonvale.wasm.
self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key.startsWith('moonvale-') && key !== CACHE)
      .map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  if (new URL(event.request.url).pathname.includes('/v1/')) return; // the board's, always from the network
  // ?renderer=... asks for the same page.
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((hit) => hit || fetch(event.request)));
});
