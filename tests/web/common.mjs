// What the page's tests share: the game's folders, where each scene lies on the stage, the
// page's server and Debian's chromium, and pixels of screenshots and pictures decoded by the
// browser itself.
import { spawn } from "node:child_process";
import { readFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";

const here = dirname(fileURLToPath(import.meta.url));
export const source = resolve(here, "../..");

// Where each scene lies on the 1280 x 800 stage (centred unless it has a place of its own), and
// its picture's file and corner in it.
export const WIDTH = 1280, HEIGHT = 800;
const SCENE_SIZE = {
  orval: [359, 227], pribeh: [451, 388], sklad: [821, 451], doma: [822, 454],
  inventar: [516, 111], mapa: [453, 446], velitelstvi: [137, 94], green: [820, 452],
  brown: [823, 448], rozmluva: [238, 134], banka: [820, 451], vila: [819, 452],
  pes: [821, 453], black: [823, 456], win: [584, 528], about: [583, 525],
};
const SCENE_FIXED = { inventar: [500, 12], velitelstvi: [512, 268], rozmluva: [341, 280] };
export const SCENE_PICTURE = {
  orval: ["menu.png", 0, 0], doma: ["home.png", 8, 40], mapa: ["map.png", 8, 40],
  sklad: ["warehouse.png", 8, 40], brown: ["brown.png", 8, 40], green: ["shop.png", 8, 40],
  banka: ["bank.png", 8, 40], vila: ["villa.png", 8, 40], pes: ["dog.png", 8, 40],
  black: ["hideout.png", 8, 40], win: ["victory.png", 0, 0], about: ["credits.png", 0, 0],
};
export function place(scene) {
  const [w, h] = SCENE_SIZE[scene];
  const [x, y] = SCENE_FIXED[scene] || [Math.floor((WIDTH - w) / 2), Math.floor((HEIGHT - h) / 2)];
  return { x, y, w, h };
}

// tools/web/serve on a free port, and a headless chromium: both to be closed by the test.
export async function serveAndBrowse(site) {
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
  return { server, address, browser };
}

// Put into every page (addInitScript): decodes a PNG given as base64 to its pixels.
export const pixelHelpers = () => {
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

// A picture of data/pictures as base64, read once.
const pictureFiles = {};
export const pictureBase64 = (file) =>
  (pictureFiles[file] ||= readFileSync(join(source, "data/pictures", file)).toString("base64"));
