// The game offline: every file of the site is kept at install, and each request is answered
// from that copy first. The cache's name changes with the site's contents, so a new site
// replaces the old copy as a whole.
const FILES = /* the site's files */ [];
const VERSION = /* the site's contents */ '';
const CACHE = `pirune-${VERSION} ${self.registration.scope}`;
const OURS = (name) => name.startsWith('pirune-') && name.endsWith(` ${self.registration.scope}`);

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    // Through the browser's HTTP cache, revalidated: a file that the page has already fetched
    // costs only the server's "not modified", and a file of another build is never kept
    // under this build's name.
    await cache.addAll(FILES.map((file) => new Request(file, { cache: 'no-cache' })));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    const old = (await caches.keys()).filter((name) => OURS(name) && name !== CACHE);
    await Promise.all(old.map((name) => caches.delete(name)));
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.match(event.request, { cacheName: CACHE, ignoreSearch: true })
    .then((kept) => kept || fetch(event.request)));
});
