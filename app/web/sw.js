// SPDX-License-Identifier: GPL-3.0-or-later
// The site's service worker: every file a child needs kept in one cache per
// build, so that the game opens with no network; the script runner, which
// only tests and tools load, comes from the server when asked for. A new build is a new worker (its id
// below changes with every file): it fetches all of its files into a cache
// of its own while the old one still serves, then takes over and removes the
// old cache. A page is served from one cache only, never from two builds.
'use strict';
const build = 'guardianes build 0000000000000000';
const files = []; // the site's files, listed by the build
const cache = 'guardianes-' + build.slice(-16);
// Opened once, as the worker starts: a page this worker is still serving
// keeps its files even while a newer worker removes this cache.
const kept = caches.open(cache);

self.addEventListener('install', (event) => {
  // Straight from the server: a file the browser kept from an older build must not slip in.
  event.waitUntil(kept
    .then((c) => c.addAll(['./', ...files].map((f) => new Request(f, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('guardianes-') && n !== cache)
      .map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  // The address's options (?kiosk, ?keyboard) do not change the file.
  event.respondWith(kept
    .then((c) => c.match(event.request, { ignoreSearch: true }))
    .then((file) => file || fetch(event.request)));
});
