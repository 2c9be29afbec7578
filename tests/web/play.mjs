// The web build in Debian's chromium, headless: the page served from localhost shows the menu
// before the clips have come, which its service worker then fetches in the background, the
// telephone's first, and the whole game is played from NOVÁ HRA to the credits by
// clicks at canvas pixels, each step checked by pixels of a screenshot; the audio context runs
// after the first click and the home's clips are fetched; F11 goes fullscreen through the
// browser and back; "Konec" ends it with the page's own closing words. A browser that asks for
// English gets the English menu and the English voices, plays on without a clip that cannot be
// fetched, and says a game left by "X" ended without thanks for a won one. Once played, the
// page reloads without a network and plays on to the home from what its service worker kept;
// its manifest's icons load; a fresh page on a slow network shows its name and a moving bar.
//     node play.mjs SITE_DIR [SHOT_DIR]
import { mkdirSync, writeFileSync } from "node:fs";
import { join, resolve } from "node:path";
import { HEIGHT, WIDTH, SCENE_PICTURE, pictureBase64, pixelHelpers, place, serveAndBrowse, source }
  from "./common.mjs";

const site = resolve(process.argv[2] || join(source, "dist/orval-kesk-web"));
const shots = resolve(process.argv[3] || join(source, "build-web/test-shots"));
mkdirSync(shots, { recursive: true });
const started = Date.now();
const log = (text) => console.log(`[${((Date.now() - started) / 1000).toFixed(1)}s] ${text}`);

let failures = 0;
let stepName = "";
function fail(what) {
  throw new Error(`${stepName}: ${what}`);
}

// ---- the page and its server ------------------------------------------------------------------

const { server, address, browser } = await serveAndBrowse(site);
// In Czech, as the pictures compared with are.
let page = await browser.newPage({ viewport: { width: WIDTH, height: HEIGHT }, locale: "cs-CZ" });
const requests = [];
page.on("request", (request) => requests.push({ url: request.url(), at: Date.now() }));
const consoleLines = [];
page.on("console", (message) => consoleLines.push(message.text()));
page.on("pageerror", (error) => consoleLines.push(`page error: ${error.message}`));

await page.addInitScript(pixelHelpers);


let lastShot = null;
async function screenshot() {
  lastShot = await page.screenshot({ type: "png" });
  return lastShot.toString("base64");
}

// How many pixels of the screen area x y w h differ from the picture's area px py.
async function pictureDifference(file, x, y, w, h, px, py) {
  const shot = await screenshot();
  return page.evaluate(async ({ shot, file, picture, x, y, w, h, px, py }) => {
    const screen = await window.orvalPixels(shot);
    if (!window.orvalPictures[file]) window.orvalPictures[file] = await window.orvalPixels(picture);
    const want = window.orvalPictures[file];
    let differ = 0;
    for (let j = 0; j < h; ++j)
      for (let i = 0; i < w; ++i) {
        const s = ((y + j) * screen.w + x + i) * 4, p = ((py + j) * want.w + px + i) * 4;
        if (Math.abs(screen.data[s] - want.data[p]) + Math.abs(screen.data[s + 1] - want.data[p + 1]) +
            Math.abs(screen.data[s + 2] - want.data[p + 2]) > 12) ++differ;
      }
    return differ;
  }, { shot, file, picture: pictureBase64(file), x, y, w, h, px, py });
}

// How many pixels of the screen area x y w h have this colour ("#RRGGBB").
async function colourCount(x, y, w, h, colour) {
  const shot = await screenshot();
  return page.evaluate(async ({ shot, x, y, w, h, colour }) => {
    const screen = await window.orvalPixels(shot);
    const want = [1, 3, 5].map((i) => parseInt(colour.substr(i, 2), 16));
    let count = 0;
    for (let j = 0; j < h; ++j)
      for (let i = 0; i < w; ++i) {
        const s = ((y + j) * screen.w + x + i) * 4;
        if (screen.data[s] === want[0] && screen.data[s + 1] === want[1] && screen.data[s + 2] === want[2])
          ++count;
      }
    return count;
  }, { shot, x, y, w, h, colour });
}

// Generous: a page on a busy machine draws late, yet a click lost stays lost.
async function until(seconds, what, check) {
  seconds *= 3;
  const deadline = Date.now() + seconds * 1000;
  let detail = "";
  while (true) {
    const [ok, said] = await check();
    detail = said;
    if (ok) return;
    if (Date.now() > deadline) {
      if (lastShot) writeFileSync(join(shots, "failed.png"), lastShot);
      fail(`no ${what} within ${seconds} s (${detail}); the screen is in ${shots}/failed.png`);
    }
    await new Promise((done) => setTimeout(done, 150));
  }
}

// ---- the steps, as the real-window tests of the stage name them ---------------------------------

async function expectPicture(scene, file, wx, wy, w, h, px = 0, py = 0, seconds = 5) {
  const p = place(scene);
  const allowed = Math.floor((w * h) / 200) + 30;
  await until(seconds, `${file} in the ${scene} window`, async () => {
    const differ = await pictureDifference(file, p.x + wx, p.y + wy, w, h, px, py);
    return [differ <= allowed, `${differ} pixels differ, ${allowed} allowed`];
  });
}

async function expectScenePicture(scene, seconds = 5) {
  const [file, ox, oy] = SCENE_PICTURE[scene];
  const [pw, ph] = await page.evaluate(async (picture) => {
    const p = await window.orvalPixels(picture);
    return [p.w, p.h];
  }, pictureBase64(file));
  const { w, h } = place(scene);
  // The picture is clipped by its window (the final screen's is 3 rows taller).
  await expectPicture(scene, file, ox, oy, Math.min(pw, w - ox), Math.min(ph, h - oy), 0, 0, seconds);
}

async function expectColour(scene, wx, wy, w, h, colour, least) {
  const p = place(scene);
  await until(5, `${least} pixels of ${colour} in the ${scene} window`, async () => {
    const n = await colourCount(p.x + wx, p.y + wy, w, h, colour);
    return [n >= least, `${n} found`];
  });
}

async function clickIn(scene, wx, wy) {
  const p = place(scene);
  await page.mouse.move(p.x + wx, p.y + wy);
  await page.mouse.down();
  await page.mouse.up();
}
const clickPic = (scene, px, py) => clickIn(scene, px + 8, py + 40);
const slotX = (slot) => 16 + 96 * (slot - 1);
const clickSlot = (slot) => clickIn("inventar", slotX(slot) + 47, 67);
const expectSlotItem = (slot, file) => expectPicture("inventar", file, slotX(slot), 40, 94, 54);
const pause = (ms) => new Promise((done) => setTimeout(done, ms));

// The game's message box: centred on the stage, its title bar the game's blue.
async function expectMessageBox() {
  await until(5, "a message box", async () => {
    const n = await colourCount(WIDTH / 2 - 60, HEIGHT / 2 - 120, 120, 240, "#1174E1");
    return [n >= 600, `${n} pixels of its title bar`];
  });
}

// The first entry of the menu, lit under the pointer, then the briefing's button by Enter.
async function startNewGame() {
  await page.mouse.move(place("orval").x + 100, place("orval").y + 120);
  await page.mouse.move(place("orval").x + 256, place("orval").y + 70);
  await expectColour("orval", 180, 60, 1, 1, "#0093DD", 1);
  await clickIn("orval", 256, 70);
  await expectColour("pribeh", 168, 8, 113, 33, "#000080", 150);
  await page.keyboard.press("Enter");
}

async function step(name, work) {
  stepName = name;
  log(name);
  await work();
  writeFileSync(join(shots, `${name.replace(/[^a-z0-9]+/gi, "-")}.png`), lastShot || (await page.screenshot()));
}

const audioState = () => page.evaluate(() =>
  window.Module.SDL2 && window.Module.SDL2.audioContext ? window.Module.SDL2.audioContext.state : "none");
const clipsAsked = () => requests.filter((r) => r.url.includes("/zvuky/"))
  .map((r) => decodeURIComponent(r.url.split("/zvuky/")[1]));

try {
  await step("the menu shows before the clips come", async () => {
    await page.goto(address);
    // The agent and the three entries of the menu, drawn from the same pictures as on the desktop.
    await expectPicture("orval", "menu.png", 0, 0, 170, 205, 0, 0, 30);
    await expectPicture("orval", "menu-new-game.png", 176, 56, 161, 30);
    await expectPicture("orval", "menu-about.png", 177, 112, 161, 30);
    await expectPicture("orval", "menu-end.png", 176, 168, 161, 30);
    const asked = clipsAsked();
    if (asked.length) fail(`clips were fetched before the menu: ${asked.join(", ")}`);
  });

  await step("the clips come in the background once the menu shows, the telephone's first", async () => {
    await until(20, "clips kept by the service worker", async () => {
      const kept = await page.evaluate(async () => {
        const list = await (await fetch("offline.json")).json();
        const cache = await caches.open("orval-kesk-" + list.version);
        return (await cache.keys()).map((r) => decodeURIComponent(r.url))
          .filter((url) => url.includes("/zvuky/")).map((url) => url.split("/zvuky/")[1]);
      });
      if (kept.length && kept[0] !== "telefon.ogg") fail(`the first clip kept is ${kept[0]}`);
      return [kept.length >= 2, `kept: ${kept.join(", ") || "none"}`];
    });
    if (clipsAsked().length) fail(`the game asked for clips before any was played: ${clipsAsked()}`);
  });

  await step("NOVÁ HRA starts the sound under the browser's rules", async () => {
    await startNewGame();
    await expectScenePicture("doma");
    await expectColour("inventar", 8, 32, 1, 1, "#1174E1", 1);
  });

  await step("the telephone rings at home: its clip fetched, the audio running", async () => {
    await until(10, "the telephone's clip fetched", async () => {
      const asked = clipsAsked();
      return [asked.includes("telefon.ogg"), `asked: ${asked.join(", ") || "none"}`];
    });
    await until(5, "a running audio context", async () => {
      const state = await audioState();
      return [state === "running", `its state: ${state}`];
    });
  });

  await step("F11: fullscreen through the browser's own API, and back", async () => {
    const fullscreen = () => page.evaluate(() =>
      document.fullscreenElement ? document.fullscreenElement.id : "none");
    // Held as a finger holds it: the browser grants the request the game makes on the key's
    // press only in the handler of an input event, here the key's release.
    const pressF11 = async () => {
      await page.keyboard.down("F11");
      await pause(300);
      await page.keyboard.up("F11");
    };
    await pressF11();
    await until(5, "the canvas fullscreen", async () => {
      const element = await fullscreen();
      return [element === "canvas", `fullscreen: ${element}`];
    });
    await pressF11();
    await until(5, "the page in its window again", async () => {
      const element = await fullscreen();
      return [element === "none", `fullscreen: ${element}`];
    });
    await expectScenePicture("doma");
  });

  await step("the home, the map, the headquarters, the warehouse", async () => {
    await clickPic("doma", 496, 164);
    await clickPic("doma", 152, 180);
    await expectScenePicture("mapa");
    await clickPic("mapa", 240, 72);
    await expectColour("velitelstvi", 16, 40, 105, 17, "#A9D5F5", 1000);
    await clickIn("velitelstvi", 60, 72);
    await expectScenePicture("sklad");
    await clickPic("sklad", 668, 340);
    await clickPic("sklad", 572, 264);
    await expectSlotItem(2, "item-bug.png");
    await clickPic("sklad", 24, 250);
    await expectScenePicture("mapa");
  });

  await step("Mr. Brown's documents box", async () => {
    await clickPic("mapa", 240, 72);
    await expectColour("velitelstvi", 16, 40, 105, 17, "#A9D5F5", 1000);
    await clickIn("velitelstvi", 60, 48);
    await expectScenePicture("brown");
    await clickPic("brown", 632, 192);
    await clickPic("brown", 548, 256);
    await expectMessageBox();
    // A screen reader hears the box's words from the page's live region.
    await until(5, "the box's words in the live region", async () => {
      const said = await page.evaluate(() => document.getElementById("ohlasy").textContent);
      return [said.includes("Včera byl vykraden obchod Mr. Greena"), `it says "${said}"`];
    });
    await page.keyboard.press("Enter");
    await expectScenePicture("brown");
  });

  await step("the shop, the conversation, the bank, the second call, the villa", async () => {
    await clickPic("brown", 24, 220);
    await expectScenePicture("mapa");
    await clickPic("mapa", 272, 216);
    await expectScenePicture("green");
    await clickPic("green", 624, 164);
    await expectColour("rozmluva", 230, 5, 1, 1, "#A9D5F5", 1);
    await clickIn("rozmluva", 120, 20);
    await expectSlotItem(3, "item-meat.png");
    await clickIn("rozmluva", 96, 84);
    await clickIn("rozmluva", 72, 112);
    await expectScenePicture("green");
    await clickPic("green", 28, 232);
    await expectScenePicture("mapa");
    await clickPic("mapa", 344, 88);
    await expectScenePicture("banka");
    await clickPic("banka", 500, 220);
    await clickPic("banka", 36, 200);
    await expectScenePicture("mapa");
    await clickPic("mapa", 128, 160);
    await expectScenePicture("doma");
    await clickPic("doma", 492, 216);
    await clickPic("doma", 496, 164);
    await clickPic("doma", 152, 180);
    await expectScenePicture("mapa");
    await clickPic("mapa", 344, 88);
    await expectScenePicture("banka");
    await clickPic("banka", 500, 220);
    await clickPic("banka", 36, 200);
    await expectScenePicture("mapa");
    await clickPic("mapa", 368, 312);
    await expectScenePicture("vila");
    await clickPic("vila", 548, 340);
  });

  await step("the night passes in the box; the dog, the meat, Mr. Black, the arrest", async () => {
    await clickSlot(2);
    await expectMessageBox();
    await page.keyboard.press("Enter");
    await expectSlotItem(5, "item-cassette.png");
    await clickPic("vila", 364, 120);
    await expectScenePicture("pes");
    await clickPic("pes", 500, 300);
    await clickSlot(3);
    await expectPicture("pes", "dog-eating.png", 280, 229, 120, 128);
    await clickPic("pes", 450, 100);
    await expectScenePicture("black");
    await clickPic("black", 412, 84);
    await clickSlot(5);
    await expectSlotItem(1, "item-pistol.png");
    await clickSlot(1);
  });

  await step("the final screen, the credits and the end in the page", async () => {
    await expectScenePicture("win", 25);
    await clickIn("win", 168, 504);
    await expectPicture("about", "credits.png", 0, 0, 583, 450);
    // What the whole game cost, for the bench (tools/web/bench.mjs), before it ends.
    const cdp = await page.context().newCDPSession(page);
    const heap = await cdp.send("Runtime.getHeapUsage");
    const [bytes, memory] = await page.evaluate(() => [
      performance.getEntriesByType("resource").reduce((sum, r) => sum + r.transferSize,
        performance.getEntriesByType("navigation")[0].transferSize),
      window.Module.HEAP8 ? window.Module.HEAP8.length : 0]);
    log(`whole game: ${(bytes / 1e6).toFixed(2)} MB transferred in all (target at most 12 MB), ` +
        `JS heap ${(heap.usedSize / 1e6).toFixed(1)} MB, the game's memory ${(memory / 1e6).toFixed(1)} MB`);
    await clickIn("about", 296, 504);
    await until(5, "the page's closing words", async () => {
      const text = await page.evaluate(() => {
        const shown = document.querySelector("#zprava.ukazana");
        return shown ? shown.textContent : "";
      });
      return [text.includes("Konec hry"), `the page says: ${text.trim() || "nothing"}`];
    });
    await screenshot();
  });

  const home = ["telefon.ogg"];
  const asked = clipsAsked();
  log(`clips fetched: ${asked.length} (${asked.join(", ")})`);
  for (const clip of home) if (!asked.includes(clip)) fail(`the home's clip ${clip} was never fetched`);

  await step("in a browser that asks for English: the English menu and voices", async () => {
    // Without the service worker, whose own fetches no route sees.
    const english = await browser.newPage({ viewport: { width: WIDTH, height: HEIGHT }, locale: "en-US",
                                            serviceWorkers: "block" });
    const englishClips = [];
    english.on("request", (request) => {
      if (request.url().includes("/zvuky/"))
        englishClips.push(decodeURIComponent(request.url().split("/zvuky/")[1]));
    });
    await english.addInitScript(pixelHelpers);
    const shown = page;
    page = english;
    try {
      await page.goto(address);
      await page.bringToFront();
      // The telephone's clip is missing: its ring is said by its subtitle and the game goes on.
      await page.route("**/zvuky/en/telefon.ogg", (route) => route.fulfill({ status: 404 }));
      await expectPicture("orval", "en/menu-new-game.png", 176, 56, 161, 30, 0, 0, 30);
      await startNewGame();
      await until(10, "the English telephone's clip fetched", async () =>
        [englishClips.includes("en/telefon.ogg"), `asked: ${englishClips.join(", ") || "none"}`]);
      await pause(500);
      await expectScenePicture("doma");
      // "X" on the home leaves the game: the page says it ended, in English, without thanks.
      await clickIn("doma", 812, 8);
      await until(5, "the page's words for a game left", async () => {
        const [text, title] = await page.evaluate(() => {
          const shown = document.querySelector("#zprava.ukazana");
          return [shown ? shown.textContent : "", document.title];
        });
        return [text.includes("The game is over") && !/thank|díky/i.test(text) &&
                text.includes("Play again") && title.includes("The game is over"),
                `the page says: ${text.trim() || "nothing"} (title ${title})`];
      });
      await screenshot();
      writeFileSync(join(shots, "the-end-left-in-English.png"), lastShot);
    } finally {
      page = shown;
      await english.close();
    }
  });

  await step("offline after the first game: a reload plays on to the home", async () => {
    // The service worker has kept the page, the program, its data and the Czech clips.
    await until(30, "every file of a Czech game kept", async () => {
      const [kept, wanted] = await page.evaluate(async () => {
        const list = await (await fetch("offline.json")).json();
        const names = list.core.concat(list.languages.cs);
        const cache = await caches.open("orval-kesk-" + list.version);
        const base = new URL(".", location.href).href;
        let kept = 0;
        for (const name of names) if (await cache.match(base + name)) ++kept;
        return [kept, names.length];
      });
      return [kept === wanted, `${kept} of ${wanted} kept`];
    });
    await page.context().setOffline(true);
    try {
      requests.length = 0;
      await page.reload();
      await expectPicture("orval", "menu-new-game.png", 176, 56, 161, 30, 0, 0, 30);
      await startNewGame();
      await expectScenePicture("doma");
      await until(10, "the telephone's clip from what was kept", async () => {
        const asked = clipsAsked();
        return [asked.includes("telefon.ogg"), `asked: ${asked.join(", ") || "none"}`];
      });
      const failed = await page.evaluate(() => document.querySelector("#zprava.ukazana") !== null);
      if (failed) fail("the page ended offline");
    } finally {
      await page.context().setOffline(false);
    }
  });

  await step("the manifest's icons load at their sizes", async () => {
    const icons = await page.evaluate(async () => {
      const link = document.querySelector('link[rel="manifest"]');
      const manifest = await (await fetch(link.href)).json();
      const found = [];
      for (const icon of manifest.icons) {
        const response = await fetch(new URL(icon.src, link.href));
        const bitmap = await createImageBitmap(await response.blob());
        found.push([icon.sizes, `${bitmap.width}x${bitmap.height}`]);
      }
      return { found, start: manifest.start_url, display: manifest.display };
    });
    const sizes = icons.found.map(([said]) => said).sort().join(" ");
    if (sizes !== "192x192 512x512") fail(`the manifest's icons are ${sizes}`);
    for (const [said, loaded] of icons.found) if (said !== loaded) fail(`an icon of ${said} is ${loaded}`);
  });

  await step("a slow network: the name and a bar that moves before the menu", async () => {
    const context = await browser.newContext({ viewport: { width: WIDTH, height: HEIGHT }, locale: "cs-CZ" });
    const slow = await context.newPage();
    // Every value the bar takes, as it takes it, however busy the machine.
    await slow.addInitScript(() => {
      window.orvalBarValues = [];
      new MutationObserver(() => {
        const bar = document.getElementById("nacitani-pruh");
        if (!bar || window.orvalBarWatched) return;
        window.orvalBarWatched = true;
        new MutationObserver(() => {
          const box = document.getElementById("nacitani");
          const shown = getComputedStyle(box).display !== "none" && bar.offsetWidth > 0;
          window.orvalBarValues.push([shown, Math.round(bar.value * 100),
                                      Number(bar.getAttribute("aria-valuenow"))]);
        }).observe(bar, { attributes: true, attributeFilter: ["aria-valuenow"] });
      }).observe(document, { childList: true, subtree: true });
    });
    const cdp = await context.newCDPSession(slow);
    await cdp.send("Network.enable");
    await cdp.send("Network.emulateNetworkConditions", {
      offline: false, latency: 40, downloadThroughput: (8e6 / 8), uploadThroughput: (8e6 / 8),
    });
    try {
      await slow.goto(address, { waitUntil: "commit" });
      await until(20, "the loading screen's words", async () => {
        const said = await slow.evaluate(() =>
          document.getElementById("nacitani-text")?.textContent || "").catch(() => "");
        return [said === "Načítá se…", `it says "${said}"`];
      });
      writeFileSync(join(shots, "loading-slow.png"), await slow.screenshot());
      // The menu comes, and meanwhile the bar was seen moving between empty and full.
      await until(30, "the loading screen gone", async () => {
        const gone = await slow.evaluate(() =>
          getComputedStyle(document.getElementById("nacitani")).display === "none");
        return [gone, "it still shows"];
      });
      const values = await slow.evaluate(() => window.orvalBarValues);
      // Seen, and said to a screen reader alike.
      const moving = new Set(values.filter(([shown, v, said]) => shown && v > 0 && v < 100 && said === v)
        .map(([, v]) => v));
      if (moving.size < 3)
        fail(`the bar showed ${moving.size} values between empty and full (${JSON.stringify(values.slice(0, 12))}...)`);
    } finally {
      await context.close();
    }
  });
} catch (error) {
  failures = 1;
  console.error(`FAILED: ${error.message}`);
  console.error(`the page's console:\n${consoleLines.slice(-30).join("\n")}`);
} finally {
  await browser.close();
  server.kill();
}
console.log(`${failures ? 0 : 1} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);
