// The page's service worker: it keeps one build's files so that the game, once visited,
// starts again without the network (and the browser offers to install it). scripts/web.sh
// copies it into the site and stamp.js writes the build's id into BUILD. The page asks
// for its files with the same id in their query, so every build's files have their own
// names: a new page never gets an older build's files from an older worker's cache.
'use strict';
const BUILD = 'unstamped';
const CACHE = 'dreel-' + BUILD;
const versioned = (name) => name + '?build=' + BUILD;
// The page ('./' is index.html) first: it alone is asked for without the id.
const FILES = ['./', versioned('dreel.js'), versioned('dreel.wasm'), versioned('dreel.data'),
               'icon.png', 'icon-192.png', 'icon-512.png', 'manifest.webmanifest'];

// All or nothing: a worker whose cache lacks a file would leave an offline page that
// cannot start, so any failure discards this worker and the previous one stays.
async function precache() {
  const responses = await Promise.all(FILES.map(async (url) => {
    // A build's file never changes under its name: the copy the page has just loaded
    // (the browser's HTTP cache) will do, rather than a second download.
    if (url.includes('?build=')) {
      const kept = await fetch(url, { cache: 'force-cache' });
      if (kept.ok) return kept;
    }
    // The rest revalidated with the server, whatever a cache on the way holds.
    return fetch(url, { cache: 'no-cache' });
  }));
  responses.forEach((response, i) => {
    if (!response.ok) throw new Error(`${FILES[i]}: ${response.status}`);
  });
  // A server already serving a newer build would give a page asking for files this
  // cache does not hold.
  if (!(await responses[0].clone().text()).includes(versioned('dreel.js'))) {
    throw new Error(`the page served is not build ${BUILD}`);
  }
  const cache = await caches.open(CACHE);
  await Promise.all(responses.map((response, i) => cache.put(FILES[i], response)));
}

self.addEventListener('install', (event) => {
  event.waitUntil(precache().then(() => self.skipWaiting()));
});

// The older builds' caches go; pages still running an older build hold all they need
// in memory already.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key.startsWith('dreel-') && key !== CACHE)
                                    .map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

// The page from the network when there is one, so that a new build is seen at once, else
// the cached one, whatever its query (?stats, ?trace); its files from the cache. Anything
// never cached goes to the network, and fails without one.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== self.location.origin) return;
  if (request.mode === 'navigate') {
    event.respondWith(fetch(request).catch(async () => {
      const cache = await caches.open(CACHE);
      const page = await cache.match(request, { ignoreSearch: true })
        || (url.pathname.endsWith('/index.html') ? await cache.match('./') : undefined);
      return page || Response.error();
    }));
    return;
  }
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(request))
    .then((cached) => cached || fetch(request).catch(() => Response.error())));
});
