// The lesson offline: at the first visit every file of the page is kept in
// the browser's cache, and from then on the page comes from there, with or
// without a network. A new version of the page comes with a new list (its
// files' hash in the cache's name): it is fetched whole while the old one
// still serves, and takes over from the next visit on.
'use strict';
const CACHE = 'kansu-@VERSION@';
const FILES = @FILES@;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('kansu-') && k !== CACHE).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  // ?zoom=150 is the same page; the part after '#' never reaches here.
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(request, {ignoreSearch: true}))
    .then((kept) => kept || fetch(request)));
});
