// Keeps the page and its icons for offline play. The cache is named by the page's hash,
// so a new page comes with a new worker, which drops the old cache.
const CACHE = 'quorvandelle-@PAGE_HASH@';
const FILES = ['./', 'index.html', 'manifest.webmanifest', 'icon-192.png', 'icon-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});
// The network first, so that a new page shows at once when online; the cache without it.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request).catch(() => caches.match(event.request, { ignoreSearch: true })
    .then((kept) => kept || caches.match('index.html'))));
});
