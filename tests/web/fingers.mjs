// The page under fingers, in Debian's chromium with touch and a device scale of 2: a phone held
// sideways shows the window in front alone (the home's picture most of its height, the other
// windows a tap away on their handles, the bar of buttons for fingers), a phone held upright
// asks to be turned and plays on once it is; a tablet of 1024 x 768 plays the whole game by
// taps alone, and the live region says what the game said.
//     node fingers.mjs SITE_DIR [SHOT_DIR]
import { spawn } from "node:child_process";
import { mkdirSync, readFileSync, writeFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

// A finger's first tap on a picture's hotspot names it, the second acts: the route taps such
// spots twice. Until the game reads SDL's fingers as touch, a tap is a click and acts at once.
const TAP_MARKS_FIRST = true;

const here = dirname(fileURLToPath(import.meta.url));
const source = resolve(here, "../..");
const site = resolve(process.argv[2] || join(source, "dist/orval-kesk-web"));
const shots = resolve(process.argv[3] || join(source, "build-web/test-shots"));
mkdirSync(shots, { recursive: true });
const pictures = join(source, "data/pictures");
const started = Date.now();
const log = (text) => console.log(`[${((Date.now() - started) / 1000).toFixed(1)}s] ${text}`);
const pause = (ms) => new Promise((done) => setTimeout(done, ms));

// Where each scene lies on the 1280 x 800 stage, and its picture's file and corner in it.
const SCENE_SIZE = {
  orval: [359, 227], pribeh: [451, 388], sklad: [821, 451], doma: [822, 454],
  inventar: [516, 111], mapa: [453, 446], velitelstvi: [137, 94], green: [820, 452],
  brown: [823, 448], rozmluva: [238, 134], banka: [820, 451], vila: [819, 452],
  pes: [821, 453], black: [823, 456], win: [584, 528], about: [583, 525],
};
const SCENE_FIXED = { inventar: [500, 12], velitelstvi: [512, 268], rozmluva: [341, 280] };
const SCENE_PICTURE = {
  orval: ["menu.png", 0, 0], doma: ["home.png", 8, 40], mapa: ["map.png", 8, 40],
  sklad: ["warehouse.png", 8, 40], brown: ["brown.png", 8, 40], green: ["shop.png", 8, 40],
  banka: ["bank.png", 8, 40], vila: ["villa.png", 8, 40], pes: ["dog.png", 8, 40],
  black: ["hideout.png", 8, 40], win: ["victory.png", 0, 0], about: ["credits.png", 0, 0],
};
function place(scene) {
  const [w, h] = SCENE_SIZE[scene];
  const [x, y] = SCENE_FIXED[scene] || [Math.floor((1280 - w) / 2), Math.floor((800 - h) / 2)];
  return { x, y, w, h };
}

let stepName = "";
const fail = (what) => { throw new Error(`${stepName}: ${what}`); };

// How a logical area of the stage lies in the page: `view` shown as large as the page holds it,
// keeping its shape, centred (the whole stage on a tablet, the window in front on a phone).
function shownAs(view, width, height) {
  let w = width, h = Math.floor((width * view.h) / view.w);
  if (h > height) { h = height; w = Math.floor((height * view.w) / view.h); }
  return { view, x: Math.floor((width - w) / 2), y: Math.floor((height - h) / 2), w, h };
}
const STAGE = { x: 0, y: 0, w: 1280, h: 800 };
// A logical point of the stage as a point of the page.
const toPage = (shown, x, y) => [shown.x + ((x - shown.view.x) * shown.w) / shown.view.w,
                                 shown.y + ((y - shown.view.y) * shown.h) / shown.view.h];

// ---- the page and its server ------------------------------------------------------------------

const server = spawn("/usr/bin/python3", [join(source, "tools/web/serve"), site, "0"], {
  stdio: ["ignore", "pipe", "inherit"],
});
const address = await new Promise((done, failed) => {
  server.stdout.once("data", (line) => done(String(line).trim()));
  server.once("exit", (code) => failed(new Error(`the server ended at once (${code})`)));
});
const browser = await chromium.launch({
  executablePath: "/usr/bin/chromium", headless: true, args: ["--no-sandbox"],
});

const pixelHelpers = () => {
  window.orvalPixels = async (base64) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const bitmap = await createImageBitmap(new Blob([bytes], { type: "image/png" }), {
      colorSpaceConversion: "none", premultiplyAlpha: "none",
    });
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext("2d");
    context.drawImage(bitmap, 0, 0);
    return { w: bitmap.width, h: bitmap.height,
             data: context.getImageData(0, 0, bitmap.width, bitmap.height).data };
  };
  window.orvalPictures = {};
};
const pictureFiles = {};
const pictureBase64 = (file) =>
  (pictureFiles[file] ||= readFileSync(join(pictures, file)).toString("base64"));

let page = null;
let consoleLines = [];
let lastShot = null;
async function openPage(options) {
  const context = await browser.newContext({ locale: "cs-CZ", hasTouch: true, isMobile: true,
                                             deviceScaleFactor: 2, ...options });
  page = await context.newPage();
  consoleLines = [];
  page.on("console", (message) => consoleLines.push(message.text()));
  page.on("pageerror", (error) => consoleLines.push(`page error: ${error.message}`));
  await page.addInitScript(pixelHelpers);
  await page.goto(address);
  return page;
}
// In CSS pixels, as the page lays itself out.
async function screenshot() {
  lastShot = await page.screenshot({ type: "png", scale: "css" });
  return lastShot.toString("base64");
}

// Generous: a page on a busy machine draws late, yet a tap lost stays lost.
async function until(seconds, what, check) {
  seconds *= 3;
  const deadline = Date.now() + seconds * 1000;
  while (true) {
    const [ok, said] = await check();
    if (ok) return;
    if (Date.now() > deadline) {
      if (lastShot) writeFileSync(join(shots, "fingers-failed.png"), lastShot);
      fail(`no ${what} within ${seconds} s (${said}); the screen is in ${shots}/fingers-failed.png`);
    }
    await pause(150);
  }
}

// What share of points spread over the scene's picture show it where `shown` puts it: the
// picture drawn smaller or elsewhere matches at few of them.
async function pictureMatch(shown, scene, file = SCENE_PICTURE[scene][0], at = SCENE_PICTURE[scene].slice(1)) {
  const shot = await screenshot();
  const p = place(scene);
  return page.evaluate(async ({ shot, file, picture, shown, corner, room }) => {
    const screen = await window.orvalPixels(shot);
    if (!window.orvalPictures[file]) window.orvalPictures[file] = await window.orvalPixels(picture);
    const want = window.orvalPictures[file];
    const w = Math.min(want.w, room[0]), h = Math.min(want.h, room[1]);
    let match = 0, all = 0;
    for (let j = 0; j < 24; ++j)
      for (let i = 0; i < 24; ++i) {
        const px = Math.floor(((i + 0.5) * w) / 24), py = Math.floor(((j + 0.5) * h) / 24);
        const sx = Math.floor(shown.x + ((corner[0] + px + 0.5 - shown.view.x) * shown.w) / shown.view.w);
        const sy = Math.floor(shown.y + ((corner[1] + py + 0.5 - shown.view.y) * shown.h) / shown.view.h);
        if (sx < 0 || sy < 0 || sx >= screen.w || sy >= screen.h) { ++all; continue; }
        const s = (sy * screen.w + sx) * 4, q = (py * want.w + px) * 4;
        const d = Math.abs(screen.data[s] - want.data[q]) + Math.abs(screen.data[s + 1] - want.data[q + 1]) +
                  Math.abs(screen.data[s + 2] - want.data[q + 2]);
        ++all;
        if (d <= 60) ++match;
      }
    return match / all;
  }, { shot, file, picture: pictureBase64(file), shown,
       corner: [p.x + at[0], p.y + at[1]], room: [p.w - at[0], p.h - at[1]] });
}
async function expectScene(shown, scene, seconds = 5) {
  await until(seconds, `the ${scene} window's picture where it belongs`, async () => {
    const share = await pictureMatch(shown, scene);
    return [share >= 0.7, `${Math.round(share * 100)} % of its points match`];
  });
}

async function tapAt(shown, x, y) {
  const [px, py] = toPage(shown, x, y);
  await page.touchscreen.tap(Math.round(px), Math.round(py));
  await pause(120);
}
// A worded control (a menu entry, a button, a question) acts on the first tap.
const tapWords = (shown, scene, wx, wy) => tapAt(shown, place(scene).x + wx, place(scene).y + wy);
// A picture's hotspot: the first tap names it, the second acts.
async function tapThing(shown, scene, wx, wy) {
  await tapWords(shown, scene, wx, wy);
  if (TAP_MARKS_FIRST) await tapWords(shown, scene, wx, wy);
}
const tapPic = (shown, scene, px, py) => tapThing(shown, scene, px + 8, py + 40);
const slotX = (slot) => 16 + 96 * (slot - 1);

async function pressBar(key) {
  await page.locator(`#prsty button[data-key="${key}"]`).tap();
  await pause(120);
}
const liveRegion = () => page.evaluate(() => document.getElementById("ohlasy").textContent);

async function step(name, work) {
  stepName = name;
  log(name);
  await work();
  writeFileSync(join(shots, `fingers-${name.replace(/[^a-z0-9]+/gi, "-")}.png`),
                lastShot || (await page.screenshot()));
}

let failures = 0;
try {
  const PHONE = [844, 390];
  const alone = (scene) => shownAs(place(scene), ...PHONE);

  await step("a phone sideways: the menu alone, as tall as the phone", async () => {
    await openPage({ viewport: { width: PHONE[0], height: PHONE[1] } });
    await expectScene(alone("orval"), "orval", 30);
  });

  await step("a phone sideways: the home fills the height, the bar and the inventory's handle", async () => {
    await tapWords(alone("orval"), "orval", 256, 70);
    await until(5, "the briefing", async () => {
      const share = await pictureMatch(alone("pribeh"), "pribeh", "menu.png", [0, 0]);
      return [share < 0.5, "the menu still shows"];
    });
    const bar = await page.evaluate(() => [...document.querySelectorAll("#prsty.ukazane button")]
      .map((b) => { const r = b.getBoundingClientRect(); return [b.dataset.key, r.width, r.height]; }));
    if (bar.length !== 6) fail(`after a tap the bar shows ${bar.length} buttons, not 6`);
    for (const [key, w, h] of bar) if (w < 44 || h < 44) fail(`the button ${key} is ${w} x ${h} px`);
    // Space presses the briefing's button, as the key does.
    await pressBar("Space");
    const home = alone("doma");
    await expectScene(home, "doma");
    const tall = (405 * home.h) / home.view.h / PHONE[1];
    log(`the home's picture is ${Math.round(tall * 100)} % of the phone's height`);
    if (tall < 0.8) fail(`the home's picture takes ${Math.round(tall * 100)} % of the height`);
    // The inventory is a tap away: its handle brings it alone, the home's handle back.
    const handle = { x: 6 + 36, y: 6 + 24 };
    await page.touchscreen.tap(handle.x, handle.y);
    await until(5, "the inventory alone", async () => {
      const share = await pictureMatch(alone("inventar"), "doma");
      return [share < 0.5, `${Math.round(share * 100)} % of the home still shows`];
    });
    await screenshot();
    writeFileSync(join(shots, "fingers-the-inventory-alone.png"), lastShot);
    await page.touchscreen.tap(handle.x, handle.y);
    await expectScene(home, "doma");
  });

  await step("the bar's switches: T turns the subtitles off and on, and says so", async () => {
    const pressed = () => page.evaluate(() =>
      document.querySelector('#prsty button[data-key="T"]').getAttribute("aria-pressed"));
    if ((await pressed()) !== "true") fail("the subtitles' button is not lit while they are on");
    await pressBar("T");
    await until(5, "the subtitles' button dark", async () => [(await pressed()) === "false", await pressed()]);
    await pressBar("T");
    await until(5, "the subtitles' button lit", async () => [(await pressed()) === "true", await pressed()]);
    await page.keyboard.press("Shift");
    const shown = await page.evaluate(() => document.querySelector("#prsty.ukazane") !== null);
    if (shown) fail("a key left the bar for fingers showing");
    await page.close();
  });

  await step("a phone upright asks to be turned, and plays on once it is", async () => {
    await openPage({ viewport: { width: PHONE[1], height: PHONE[0] } });
    const asking = () => page.evaluate(() => {
      const turn = document.getElementById("otocte");
      return turn && getComputedStyle(turn).display !== "none" ? turn.textContent : "";
    });
    await until(5, "the request to turn the phone", async () => {
      const said = await asking();
      return [said === "Otočte telefon na šířku", `it says "${said}"`];
    });
    await screenshot();
    writeFileSync(join(shots, "fingers-upright.png"), lastShot);
    await page.setViewportSize({ width: PHONE[0], height: PHONE[1] });
    await until(5, "the request gone", async () => [(await asking()) === "", "still asking"]);
    await expectScene(alone("orval"), "orval", 30);
    await tapWords(alone("orval"), "orval", 256, 70);
    await until(5, "the briefing", async () => {
      const share = await pictureMatch(alone("pribeh"), "pribeh", "menu.png", [0, 0]);
      return [share < 0.5, "the menu still shows"];
    });
    await page.close();
  });

  await step("a tablet: the whole game by taps, the live region saying the box", async () => {
    await openPage({ viewport: { width: 1024, height: 768 } });
    const s = shownAs(STAGE, 1024, 768);
    await expectScene(s, "orval", 30);
    await tapWords(s, "orval", 256, 70);
    await tapWords(s, "pribeh", 244, 344);
    await expectScene(s, "doma");
    // The first tap names the telephone to the screen reader; the second answers it, whose words
    // it hears as they start.
    await tapWords(s, "doma", 504, 204);
    await until(5, "the telephone's name in the live region", async () => {
      const said = await liveRegion();
      return [said.includes("telefon"), `it says "${said}"`];
    });
    await tapWords(s, "doma", 504, 204);
    await until(5, "the announcer's words in the live region", async () => {
      const said = await liveRegion();
      return [said.includes("ORVAL KESK"), `it says "${said}"`];
    });
    await tapPic(s, "doma", 152, 180);
    await expectScene(s, "mapa");
    await tapPic(s, "mapa", 240, 72);
    await tapWords(s, "velitelstvi", 60, 72);
    await expectScene(s, "sklad");
    await tapPic(s, "sklad", 668, 340);
    await tapPic(s, "sklad", 572, 264);
    await tapPic(s, "sklad", 24, 250);
    await expectScene(s, "mapa");
    await tapPic(s, "mapa", 240, 72);
    await tapWords(s, "velitelstvi", 60, 48);
    await expectScene(s, "brown");
    await tapPic(s, "brown", 632, 192);
    await tapPic(s, "brown", 548, 256);
    await until(5, "the box's words in the live region", async () => {
      const said = await liveRegion();
      return [said.length > 10, `it says "${said}"`];
    });
    // The bar's Space answers the box, as the key does.
    await pressBar("Space");
    await expectScene(s, "brown");
    await tapPic(s, "brown", 24, 220);
    await expectScene(s, "mapa");
    await tapPic(s, "mapa", 272, 216);
    await expectScene(s, "green");
    await tapPic(s, "green", 624, 164);
    await tapWords(s, "rozmluva", 120, 20);
    await tapWords(s, "rozmluva", 96, 84);
    await tapWords(s, "rozmluva", 72, 112);
    await expectScene(s, "green");
    await tapPic(s, "green", 28, 232);
    await tapPic(s, "mapa", 344, 88);
    await expectScene(s, "banka");
    await tapPic(s, "banka", 500, 220);
    await tapPic(s, "banka", 36, 200);
    await tapPic(s, "mapa", 128, 160);
    await expectScene(s, "doma");
    await tapPic(s, "doma", 492, 216);
    await tapPic(s, "doma", 496, 164);
    await tapPic(s, "doma", 152, 180);
    await tapPic(s, "mapa", 344, 88);
    await expectScene(s, "banka");
    await tapPic(s, "banka", 500, 220);
    await tapPic(s, "banka", 36, 200);
    await tapPic(s, "mapa", 368, 312);
    await expectScene(s, "vila");
    await tapPic(s, "vila", 548, 340);
    await tapThing(s, "inventar", slotX(2) + 47, 67);
    await until(5, "the night's box in the live region", async () => {
      const said = await liveRegion();
      return [said.includes("Počkal jsi do dalšího dne"), `it says "${said}"`];
    });
    await pressBar("Space");
    await tapPic(s, "vila", 364, 120);
    await expectScene(s, "pes");
    await tapPic(s, "pes", 500, 300);
    await tapThing(s, "inventar", slotX(3) + 47, 67);
    await tapPic(s, "pes", 450, 100);
    await expectScene(s, "black");
    await tapPic(s, "black", 412, 84);
    await tapThing(s, "inventar", slotX(5) + 47, 67);
    await tapThing(s, "inventar", slotX(1) + 47, 67);
    await expectScene(s, "win", 25);
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
