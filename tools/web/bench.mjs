// The web game's costs beside the floor page's, printed, not asserted: time from navigation to
// the menu painted and bytes transferred until then (each page loaded ROUNDS times in a fresh
// browser context, so nothing is cached), then, from one whole game played by the web test,
// the bytes of the whole game and the JS heap at its end.
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

async function loadOnce(browser, address) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 }, locale: "cs-CZ" });
  const page = await context.newPage();
  await page.addInitScript(watchForMenu);
  await page.goto(address);
  const painted = await page.evaluate(() => window.orvalMenuPainted);
  const bytes = await page.evaluate((until) => {
    const navigation = performance.getEntriesByType("navigation")[0];
    return performance.getEntriesByType("resource")
      .filter((r) => r.responseEnd <= until)
      .reduce((sum, r) => sum + r.transferSize, navigation ? navigation.transferSize : 0);
  }, painted);
  await context.close();
  return { painted, bytes };
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const browser = await chromium.launch({ executablePath: "/usr/bin/chromium", headless: true,
                                        args: ["--no-sandbox"] });
const results = {};
for (const [name, folder] of [["floor", floorSite], ["game", gameSite]]) {
  const { server, address } = await serve(folder);
  await loadOnce(browser, address);  // one untimed load first: the browser's own start-up
  const runs = [];
  for (let i = 0; i < rounds; ++i) runs.push(await loadOnce(browser, address));
  server.kill();
  results[name] = { painted: median(runs.map((r) => r.painted)), bytes: median(runs.map((r) => r.bytes)) };
  console.log(`${name.padEnd(6)} menu painted ${results[name].painted.toFixed(0).padStart(5)} ms ` +
              `(median of ${rounds}; ${runs.map((r) => r.painted.toFixed(0)).join(", ")}), ` +
              `${(results[name].bytes / 1e6).toFixed(2)} MB transferred before it`);
}
await browser.close();
const ratio = results.game.painted / results.floor.painted;
console.log(`game/floor time to the menu: ${ratio.toFixed(2)}x (target at most 1.5x); ` +
            `before the menu ${(results.game.bytes / 1e6).toFixed(2)} MB (target at most 3 MB)`);

// The whole game: the web test plays it and prints what it cost.
const played = spawnSync("node", [join(source, "tests/web/play.mjs"), gameSite], { encoding: "utf8" });
const costs = played.stdout.split("\n").filter((line) => line.includes("whole game:"));
console.log(costs.length ? costs.join("\n") : `the whole game could not be played:\n${played.stdout}${played.stderr}`);
