// Keeps every file of the page for playing without a network. One cache per
// build, named by a hash of its files; the build's files are fetched whole
// and checked against their hashes before the new cache is used, and the old
// caches go when it takes over, which is once no page of the old build is
// open: the files of two builds never mix. The list and the version are
// filled in when the page is laid out.
'use strict';

const version = '@VERSION@';
const files = '@FILES@'; // name: SHA-256
const cacheName = 'ruzov-' + version;
const scope = new URL(self.registration.scope).pathname;

async function sha256(bytes) {
  const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return Array.from(digest, (b) => b.toString(16).padStart(2, '0')).join('');
}

async function keep(cache, name) {
  const response = await fetch(name, { cache: 'no-cache' });
  if (!response.ok) throw new Error(name + ': ' + response.status);
  const bytes = await response.arrayBuffer();
  if ((await sha256(bytes)) !== files[name]) throw new Error(name + ' belongs to another build');
  await cache.put(name, new Response(bytes, { headers: response.headers }));
}

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches.open(cacheName).then((cache) => Promise.all(Object.keys(files).map((name) => keep(cache, name))))
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((n) => n.startsWith('ruzov-') && n !== cacheName).map((n) => caches.delete(n))))
  );
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (url.origin !== self.location.origin || !url.pathname.startsWith(scope)) return;
  const name = url.pathname.slice(scope.length) || 'index.html';
  if (!(name in files)) return;
  event.respondWith(kept(name).then((response) => response || fetch(event.request)));
});

// From this build's cache; once a newer build has replaced it (a request
// made just as the last old page closed), from the newer one's.
async function kept(name) {
  if (await caches.has(cacheName)) return (await caches.open(cacheName)).match(name);
  return caches.match(name);
}
