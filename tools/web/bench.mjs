// The web game's costs beside the floor page's, printed, not asserted: the time from navigation
// to the floor's picture painted and to the game's menu painted and answering the pointer
// (NOVÁ HRA lit under it), and the bytes transferred until then, on localhost and on two
// emulated networks, each page loaded ROUNDS times in a fresh browser context (nothing cached,
// no service worker), floor and game alternating; then, from one whole game played by the web
// test, the bytes of the whole game and the JS heap at its end.
//     node bench.mjs GAME_SITE FLOOR_SITE [ROUNDS]
import { spawn, spawnSync } from "node:child_process";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { createRequire } from "node:module";

const here = dirname(fileURLToPath(import.meta.url));
const source = resolve(here, "../..");
const require = createRequire(join(source, "tests/web/package.json"));
const { chromium } = require("playwright-core");
const [gameSite, floorSite] = process.argv.slice(2, 4).map((p) => resolve(p));
const rounds = Number(process.argv[4] || 5);

function serve(folder) {
  const server = spawn("/usr/bin/python3", [join(source, "tools/web/serve"), folder, "0"], {
    stdio: ["ignore", "pipe", "inherit"],
  });
  return new Promise((done) =>
    server.stdout.once("data", (line) => done({ server, address: String(line).trim() })));
}

// The first animation frame in which the menu's middle is no longer the stage's dark: the
// menu (359 x 227) lies in the middle of the 1280 x 800 page in both.
function watchForMenu() {
  window.orvalMenuPainted = new Promise((done) => {
    const look = () => {
      const canvas = document.getElementById("canvas");
      if (canvas && canvas.width >= 1280) {
        const context = canvas.getContext("2d");
        const p = context.getImageData(canvas.width / 2, canvas.height / 2, 1, 1).data;
        if (p[3] === 255 && !(p[0] === 0x10 && p[1] === 0x10 && p[2] === 0x18) &&
            !(p[0] === 0 && p[1] === 0 && p[2] === 0)) {
          done(performance.now());
          return;
        }
      }
      requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
  });
}

// The network a player has: none emulated (localhost), a good line, a poor mobile one.
const NETWORKS = [
  { name: "localhost", mbit: 0, latency: 0 },
  { name: "10 Mbit/s, 40 ms", mbit: 10, latency: 40 },
  { name: "1.6 Mbit/s, 150 ms", mbit: 1.6, latency: 150 },
];
// NOVÁ HRA on the menu, which lies in the middle of the 1280 x 800 stage: lit under the pointer
// once the game answers it.
const NEW_GAME = { x: 460 + 176, y: 286 + 56, w: 161, h: 30 };

// One load in a fresh context: the time from navigation to the menu painted and, for the game,
// to NOVÁ HRA lit under a pointer held over it; the bytes transferred until then.
async function loadOnce(browser, address, network, answers) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 }, locale: "cs-CZ",
                                             serviceWorkers: "block" });
  const page = await context.newPage();
  if (network.mbit) {
    const cdp = await context.newCDPSession(page);
    await cdp.send("Network.enable");
    await cdp.send("Network.emulateNetworkConditions", {
      offline: false, latency: network.latency,
      downloadThroughput: (network.mbit * 1e6) / 8, uploadThroughput: (network.mbit * 1e6) / 8,
    });
  }
  await page.addInitScript(watchForMenu);
  await page.goto(address);
  const painted = await page.evaluate(() => window.orvalMenuPainted);
  let ready = painted;
  if (answers) {
    const unlit = await page.evaluate((r) => Array.from(document.getElementById("canvas")
      .getContext("2d").getImageData(r.x, r.y, r.w, r.h).data).join(), NEW_GAME);
    await page.mouse.move(NEW_GAME.x + NEW_GAME.w / 2, NEW_GAME.y + NEW_GAME.h / 2);
    ready = await page.evaluate((args) => new Promise((done) => {
      const look = () => {
        const now = Array.from(document.getElementById("canvas").getContext("2d")
          .getImageData(args.r.x, args.r.y, args.r.w, args.r.h).data).join();
        if (now !== args.unlit) done(performance.now()); else requestAnimationFrame(look);
      };
      look();
    }), { r: NEW_GAME, unlit });
  }
  const bytes = await page.evaluate(() => performance.getEntriesByType("navigation")
    .concat(performance.getEntriesByType("resource"))
    .reduce((sum, entry) => sum + (entry.transferSize || 0), 0));
  await context.close();
  return { painted, ready, bytes };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", headless: true,
                                        args: ["--no-sandbox"] });
const floor = await serve(floorSite), game = await serve(gameSite);
const ratios = {};
for (const network of NETWORKS) {
  // One untimed load of each first (the browser's own start-up), then the two alternating.
  await loadOnce(browser, floor.address, network, false);
  await loadOnce(browser, game.address, network, true);
  const runs = { floor: [], game: [] };
  for (let i = 0; i < rounds; ++i) {
    runs.floor.push(await loadOnce(browser, floor.address, network, false));
    runs.game.push(await loadOnce(browser, game.address, network, true));
  }
  const at = {};
  for (const name of ["floor", "game"]) {
    at[name] = { painted: median(runs[name].map((r) => r.painted)),
                 ready: median(runs[name].map((r) => r.ready)), bytes: median(runs[name].map((r) => r.bytes)) };
    console.log(`${network.name.padEnd(19)} ${name.padEnd(5)} ` +
                `${name === "game" ? "menu answering" : "menu painted  "} ` +
                `${at[name].ready.toFixed(0).padStart(6)} ms (median of ${rounds}; ` +
                `${runs[name].map((r) => r.ready.toFixed(0)).join(", ")}), ` +
                `${(at[name].bytes / 1e6).toFixed(2)} MB before it` +
                (name === "game" ? `; painted at ${at[name].painted.toFixed(0)} ms` : ""));
  }
  ratios[network.name] = at.game.ready / at.floor.ready;
  console.log(`${network.name.padEnd(19)} game/floor ${ratios[network.name].toFixed(2)}x`);
}
floor.server.kill();
game.server.kill();
await browser.close();
console.log("targets: game/floor at most 1.5x at 10 Mbit/s, 40 ms and at most 2x at 1.6 Mbit/s, " +
            "150 ms; at most 0.8 MB before the menu answers");

// The whole game: the web test plays it and prints what it cost.
const played = spawnSync("node", [join(source, "tests/web/play.mjs"), gameSite], { encoding: "utf8" });
const costs = played.stdout.split("\n").filter((line) => line.includes("whole game:"));
console.log(costs.length ? costs.join("\n") : `the whole game could not be played:\n${played.stdout}${played.stderr}`);
