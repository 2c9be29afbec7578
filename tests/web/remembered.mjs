// The player's choices kept across a reload, in the browser's storage under the game's own key:
// the language chosen on the menu comes back with the page; storage that refuses is said in one
// line of the console, and the game plays with the defaults. The places' pack that fails is
// said with a button to try again, and a click made meanwhile acts once it has come. Then the
// server: brotli where the browser takes it, and a second visit revalidated (304) instead of
// downloaded.
//     node remembered.mjs SITE_DIR
import { resolve } from "node:path";
import { serveAndBrowse } from "./common.mjs";

const site = resolve(process.argv[2]);
const log = (text) => console.log(`remembered: ${text}`);

// The menu (359 x 227) in the middle of the 1280 x 800 stage: its entry NOVÁ HRA, whose words are
// the language's, and the mark of the last language (EN), under the entries.
const MENU = { x: 460, y: 286 };
const ENTRY = { x: MENU.x + 176, y: MENU.y + 56, width: 161, height: 30 };
const ENGLISH_MARK = { x: MENU.x + 330, y: MENU.y + 209 };

const { server, address, browser } = await serveAndBrowse(site);
let failed = "";

const entryShot = (page) => page.screenshot({ clip: ENTRY }).then((png) => png.toString("base64"));
// Until the entry shows something other than `not` (or exactly `is`), for at most 30 s.
async function entryUntil(page, what, check) {
  const end = Date.now() + 30000;
  let shot = "";
  while (Date.now() < end) {
    shot = await entryShot(page);
    if (check(shot)) return shot;
    await new Promise((done) => setTimeout(done, 200));
  }
  throw new Error(`no ${what} within 30 s`);
}
const menuDrawn = (page) => page.waitForFunction(() => {
  const canvas = document.getElementById("canvas");
  if (!canvas || canvas.width < 1280) return false;
  const p = canvas.getContext("2d").getImageData(640, 400, 1, 1).data;
  return p[3] === 255 && !(p[0] === 0x10 && p[1] === 0x10 && p[2] === 0x18) && p[0] + p[1] + p[2] > 0;
}, null, { timeout: 30000, polling: 100 });

try {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 }, locale: "cs-CZ" });
  const page = await context.newPage();
  await page.goto(address);
  await menuDrawn(page);
  const czech = await entryUntil(page, "Czech menu", () => true);
  await page.mouse.click(ENGLISH_MARK.x, ENGLISH_MARK.y);
  const english = await entryUntil(page, "English menu after EN", (shot) => shot !== czech);
  const kept = await page.evaluate(() => localStorage.getItem("orval-kesk/settings"));
  if (!kept || !/language\s*=\s*en/.test(kept)) throw new Error(`storage keeps ${JSON.stringify(kept)}`);
  log("EN chosen, kept as orval-kesk/settings");
  await page.reload();
  await menuDrawn(page);
  await entryUntil(page, "English menu after the reload", (shot) => shot === english);
  log("the reload shows the English menu");
  await context.close();

  // A browser whose storage refuses: one line in the console, the Czech menu all the same.
  const refusing = await browser.newContext({ viewport: { width: 1280, height: 800 }, locale: "cs-CZ" });
  await refusing.addInitScript(() => {
    Object.defineProperty(window, "localStorage", {
      get() { throw new DOMException("refused", "SecurityError"); },
    });
  });
  const closed = await refusing.newPage();
  const lines = [];
  closed.on("console", (message) => lines.push(message.text()));
  await closed.goto(address);
  await menuDrawn(closed);
  await entryUntil(closed, "Czech menu without storage", (shot) => shot === czech);
  await closed.mouse.click(ENGLISH_MARK.x, ENGLISH_MARK.y);
  await entryUntil(closed, "English menu without storage", (shot) => shot === english);
  const said = lines.filter((line) => /storage|keeps nothing/.test(line));
  if (said.length < 1 || said.length > 2) throw new Error(`the console said: ${lines.join(" | ")}`);
  log(`storage refused: the game plays on; the console: ${said.join(" | ")}`);
  await refusing.close();

  // The places' pictures come after the menu: a pack that cannot be fetched is said with a
  // button to try again; a click on NOVÁ HRA meanwhile lights the entry but waits, and acts
  // once the pack has come.
  const cut = await browser.newContext({ viewport: { width: 1280, height: 800 }, locale: "cs-CZ",
                                         serviceWorkers: "block" });
  await cut.route("**/orval-kesk-places.data", (route) => route.abort());
  const held = await cut.newPage();
  await held.goto(address);
  await menuDrawn(held);
  await held.waitForSelector("#mista.chyba button:visible", { timeout: 30000 });
  const foot = await held.evaluate(() => document.getElementById("mista").innerText);
  if (!foot.includes("Místa hry se nepodařilo načíst.") || !foot.includes("Zkusit znovu"))
    throw new Error(`the page's foot says ${JSON.stringify(foot)}`);
  await held.mouse.click(ENTRY.x + 80, ENTRY.y + 15);
  const lit = await entryUntil(held, "NOVÁ HRA lit under the pointer", (shot) => shot !== czech);
  await new Promise((done) => setTimeout(done, 500));
  if ((await entryShot(held)) !== lit) throw new Error("NOVÁ HRA acted before the places came");
  await cut.unroute("**/orval-kesk-places.data");
  await held.click("#mista button");
  await entryUntil(held, "the story after the places came", (shot) => shot !== lit && shot !== czech);
  log("a pack that failed is said with a button; the click waited for it, then acted");
  await cut.close();

  // The server: brotli where taken, gzip otherwise, and a second visit answered 304.
  const wasm = `${address}orval-kesk.wasm`;
  const br = await fetch(wasm, { headers: { "Accept-Encoding": "gzip, br" } });
  const gz = await fetch(wasm, { headers: { "Accept-Encoding": "gzip" } });
  if (br.headers.get("content-encoding") !== "br") throw new Error("no brotli for a browser that takes it");
  if (gz.headers.get("content-encoding") !== "gzip") throw new Error("no gzip for a browser without brotli");
  const again = await fetch(wasm, { headers: { "Accept-Encoding": "gzip, br",
                                              "If-None-Match": br.headers.get("etag") } });
  if (again.status !== 304) throw new Error(`a second visit got ${again.status}, not 304`);
  log("the server sends brotli, gzip, and 304 to a second visit");
} catch (error) {
  failed = error.message;
} finally {
  await browser.close();
  server.kill();
}
console.log(failed ? `FAILED: remembered: ${failed}` : "remembered: passed");
process.exit(failed ? 1 : 0);
