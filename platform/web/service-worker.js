// Keeps the page working offline after a first visit. The page's files are cached under the
// page's own path, and each request goes to the network first: an online visit gets the files
// as the server has them now and keeps those, so a new version replaces the old one on the next
// online visit; without a network the kept copies answer.
'use strict';
const kFiles = ['./', 'index.html', 'ribbon.js', 'ribbon.wasm', 'favicon.ico', 'ribbon-128.png',
                'manifest.webmanifest'];
// One cache per folder: pages served from other paths of the same site keep their own.
const kCache = `ribbon ${registration.scope}`;

self.addEventListener('install', event => {
  event.waitUntil(caches.open(kCache).then(cache => cache.addAll(kFiles)).then(() => skipWaiting()));
});

self.addEventListener('activate', event => event.waitUntil(clients.claim()));

self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request).then(response => {
    if (response.ok) {
      const copy = response.clone();
      event.waitUntil(caches.open(kCache).then(cache => cache.put(event.request, copy)));
    }
    return response;
  }, () => caches.open(kCache).then(cache => cache.match(event.request))
      .then(kept => kept || Response.error())));
});
