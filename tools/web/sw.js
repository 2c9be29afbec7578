// Keeps the game offline: on install every file every game needs (the page, the program, the
// first data pack, the icons), and once the page says its language and scale, that scale's
// pack and the clips a game in that language plays. Each release has a cache of its own, named
// by the hash of its files (tools/web/package writes the list below), so that a new release
// never mixes with an old one; the old caches go when the new one takes over. Every URL is
// relative to the folder the game is served from.
"use strict";
const LIST = /* the package's list of files */ {};
const CACHE = "orval-kesk-" + (LIST.version || "dev");
const base = self.registration.scope;
const address = (name) => new URL(name, base).href;

// Fetched and kept, each file once; one that fails (a clip missing) leaves the rest kept.
async function keepOne(cache, name) {
  const url = address(name);
  if (await cache.match(url)) return;
  try {
    const response = await fetch(url, { cache: "no-cache" });
    if (response.ok) await cache.put(url, response);
  } catch (error) {
    console.warn("not kept offline:", name, error);
  }
}
async function keep(names) {
  const cache = await caches.open(CACHE);
  await Promise.all(names.map((name) => keepOne(cache, name)));
}
// One after another, in the order given: the clip the game plays first is there first, and the
// background fetches never crowd out one the game asks for meanwhile.
async function keepInOrder(names) {
  const cache = await caches.open(CACHE);
  for (const name of names) await keepOne(cache, name);
}

self.addEventListener("install", (event) => {
  event.waitUntil(keep(LIST.core || []).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name.startsWith("orval-kesk-") && name !== CACHE) await caches.delete(name);
    await self.clients.claim();
  })());
});

// The page's language and scale: their files kept too.
const keptLanguages = new Set();
function keepFor(language, scale) {
  const names = [];
  if (language && LIST.languages && LIST.languages[language] && !keptLanguages.has(language)) {
    keptLanguages.add(language);
    names.push(...LIST.languages[language]);
  }
  const packs = scale && LIST.scales && LIST.scales[scale] ? LIST.scales[scale] : [];
  return Promise.all([keep(packs), keepInOrder(names)]);
}
self.addEventListener("message", (event) => {
  const asked = event.data && event.data.keep;
  if (asked) event.waitUntil(keepFor(asked.language, String(asked.scale)));
});

// The game's files from the cache, else from the network (and kept); a clip of another
// language played keeps that language's clips as well.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || !request.url.startsWith(base)) return;
  let url = request.url.split("#")[0].split("?")[0];
  if (url === base) url = address("index.html");
  const relative = url.substring(base.length);
  const clip = /^zvuky\/([a-z]{2,3})\//.exec(relative);
  if (clip) event.waitUntil(keepFor(clip[1]));
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const kept = await cache.match(url);
    if (kept) return kept;
    const response = await fetch(request);
    if (response.ok && LIST.sizes && relative in LIST.sizes) await cache.put(url, response.clone());
    return response;
  })());
});
