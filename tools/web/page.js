// The page around the game, in its own words: the loading screen with its bar (the bytes of the
// program and its data as they arrive), the stage's scale from the screen's own pixels, the
// keys kept from the browser, the end in the player's language, and what keeps the game
// offline (sw.js) once it has been played. index.html starts the game through window.orvalPage.
"use strict";
(function () {
  const words = {
    cs: {
      loading: "Načítá se…",
      bar: "Načítání hry",
      won: "Konec hry. Díky, agente!",
      left: "Hra skončila. Na shledanou, agente.",
      failed: "Hra skončila chybou.",
      again: "Hrát znovu",
      places: "Načítají se místa hry",
      placesFailed: "Místa hry se nepodařilo načíst.",
      retry: "Zkusit znovu",
    },
    en: {
      loading: "Loading…",
      bar: "Loading the game",
      won: "The end. Thank you, agent!",
      left: "The game is over. Goodbye, agent.",
      failed: "The game stopped with an error.",
      again: "Play again",
      places: "Loading the game's places",
      placesFailed: "The game's places could not be loaded.",
      retry: "Try again",
    },
  };
  // The browser's first language the page has words in, else Czech; the game's own once it
  // has said which it speaks.
  function browserLanguage() {
    for (const asked of navigator.languages || [navigator.language || "cs"]) {
      const code = String(asked).toLowerCase().split("-")[0];
      if (words[code]) return code;
    }
    return "cs";
  }
  let language = browserLanguage();

  // ---- the stage's scale -----------------------------------------------------------------------

  // The stage is 1280 x 800 at scale 1; its pictures come drawn at 1x, 2x and 3x. The canvas has
  // as many pixels as the screen under it (desktop_web.cpp), so the scale is the one that
  // fills the screen's pixels: the next whole one up, which the stage shows scaled down
  // smoothly to the largest size that fits, unless the page is barely larger than a whole one.
  const ratio = window.devicePixelRatio || 1;
  const deviceWidth = Math.round(window.innerWidth * ratio);
  const deviceHeight = Math.round(window.innerHeight * ratio);
  const fits = Math.min(deviceWidth / 1280, deviceHeight / 800);
  const scale = Math.max(1, Math.min(3, Math.ceil(fits - 0.1)));

  // ---- the keys --------------------------------------------------------------------------------

  // The game's keys never scroll the page nor take the focus out of it; the game reads them
  // from the window, so they work without a click on the canvas first.
  const gameKeys = new Set(["ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", " ", "Spacebar",
                            "Tab", "F1", "PageUp", "PageDown", "Home", "End", "Backspace"]);
  window.addEventListener("keydown", (event) => {
    if (gameKeys.has(event.key)) event.preventDefault();
  }, true);
  window.addEventListener("load", () => {
    const canvas = document.getElementById("canvas");
    if (canvas && document.activeElement === document.body) canvas.focus();
  });

  // ---- the loading screen ----------------------------------------------------------------------

  const loading = document.getElementById("nacitani");
  const bar = document.getElementById("nacitani-pruh");
  const said = document.getElementById("nacitani-text");
  // Bytes arrived and expected, per file: the program (counted here as it streams) and the
  // data packs (emscripten's file packager counts them in Module.dataFileDownloads).
  const arrived = {};
  let expected = null;  // the files' sizes the package wrote, once fetched
  function showProgress() {
    if (!bar) return;
    const downloads = (window.Module && window.Module.dataFileDownloads) || {};
    let loaded = 0, total = 0;
    for (const name in downloads) {
      loaded += downloads[name].loaded || 0;
      total += downloads[name].total || 0;
    }
    for (const name in arrived) {
      const a = arrived[name];
      loaded += a.loaded;
      total += a.done ? a.loaded : Math.max(a.loaded, (expected && expected[name]) || a.declared);
    }
    if (total > 0) {
      const share = Math.min(1, loaded / total);
      bar.value = share;
      bar.setAttribute("aria-valuenow", String(Math.round(share * 100)));
    }
  }
  function speakLoading() {
    const w = words[language];
    document.documentElement.lang = language;
    if (bar) bar.setAttribute("aria-label", w.bar);
    if (said) said.textContent = w.loading;
  }
  speakLoading();
  fetch("offline.json").then((r) => (r.ok ? r.json() : null)).then((list) => {
    if (list) expected = list.sizes;
  }).catch(() => {});

  // The program fetched here rather than by emscripten, so that its bytes are counted as they
  // come; it is still compiled while it streams.
  function instantiateWasm(imports, receive) {
    const name = "orval-kesk.wasm";
    fetch(name, { credentials: "same-origin" }).then((response) => {
      if (!response.ok) throw new Error(name + ": " + response.status);
      const plain = !response.headers.get("Content-Encoding");
      const length = Number(response.headers.get("Content-Length")) || 0;
      const counted = { loaded: 0, declared: plain ? length : 0, done: false };
      arrived[name] = counted;
      const reader = response.body.getReader();
      const stream = new ReadableStream({
        async pull(controller) {
          const { done, value } = await reader.read();
          if (done) {
            counted.done = true;
            showProgress();
            controller.close();
            return;
          }
          counted.loaded += value.byteLength;
          showProgress();
          controller.enqueue(value);
        },
      });
      const streamed = new Response(stream, { headers: { "Content-Type": "application/wasm" } });
      return WebAssembly.instantiateStreaming(streamed, imports);
    }).then((made) => receive(made.instance, made.module)).catch((error) => {
      console.error("the program cannot be loaded:", error);
      showEnd("failed", String(error));
    });
    return {};
  }

  // The loading screen goes once the game has drawn its first frame on the canvas; only then
  // are the clips fetched, in the background, so that they never slow the menu down.
  function watchFirstFrame() {
    const sdl = window.Module && window.Module.SDL2;
    if (sdl && sdl.image) {
      if (loading) loading.classList.add("hotovo");
      fetchPlaces();
      setTimeout(keepOffline, 0);
      return;
    }
    showProgress();
    requestAnimationFrame(watchFirstFrame);
  }
  requestAnimationFrame(watchFirstFrame);

  // ---- the places, after the menu -------------------------------------------------------------

  // The places' pictures (at 1x and at the page's scale) come in packs of their own, fetched
  // once the menu shows; the game acts on no click until they are in (DesktopSystem::
  // dataArrived), and its resting loop is woken when they are. A thin bar at the page's foot
  // shows them coming; a pack that cannot be fetched is said there with a button to try again.
  const placesPacks = ["orval-kesk-places"].concat(scale > 1 ? ["orval-kesk-" + scale + "x-places"] : []);
  const placesBytes = {};
  let placesIn = false;
  const placesFoot = document.createElement("div");
  placesFoot.id = "mista";
  const placesBar = document.createElement("progress");
  placesBar.max = 1;
  placesBar.value = 0;
  const placesSaid = document.createElement("p");
  const placesRetry = document.createElement("button");
  placesRetry.type = "button";
  placesRetry.addEventListener("click", () => fetchPlaces());
  placesFoot.append(placesBar, placesSaid, placesRetry);
  function showPlaces(failed) {
    const w = words[language];
    placesBar.setAttribute("aria-label", w.places);
    placesBar.hidden = failed;
    placesSaid.textContent = failed ? w.placesFailed : "";
    if (failed) placesSaid.setAttribute("role", "alert");
    else placesSaid.removeAttribute("role");
    placesRetry.textContent = w.retry;
    placesRetry.hidden = !failed;
    placesFoot.className = "ukazane" + (failed ? " chyba" : "");
  }
  function fetchPlaces() {
    if (!placesFoot.parentNode) document.body.appendChild(placesFoot);
    showPlaces(false);
    const counted = {};
    const count = () => {
      let loaded = 0, total = 0;
      for (const name in counted) {
        loaded += counted[name].loaded;
        total += Math.max(counted[name].loaded, (expected && expected[name]) || 0);
      }
      if (total) placesBar.value = Math.min(1, loaded / total);
    };
    Promise.all(placesPacks.map((pack) => {
      const name = pack + ".data";
      if (placesBytes[name]) return null;
      return fetch(name, { credentials: "same-origin" }).then(async (response) => {
        if (!response.ok) throw new Error(name + ": " + response.status);
        const reader = response.body.getReader();
        const parts = [];
        counted[name] = { loaded: 0 };
        for (;;) {
          const { done, value } = await reader.read();
          if (done) break;
          parts.push(value);
          counted[name].loaded += value.byteLength;
          count();
        }
        placesBytes[name] = await new Blob(parts).arrayBuffer();
      });
    })).then(() => {
      // The packs' own scripts put their files into the game's folders at once from these bytes.
      window.Module.getPreloadedPackage = (name) => placesBytes[String(name).split("/").pop()] || null;
      return Promise.all(placesPacks.map((pack) => new Promise((done, failed) => {
        const script = document.createElement("script");
        script.src = pack + "-data.js";
        script.onload = done;
        script.onerror = () => failed(new Error(script.src));
        document.body.appendChild(script);
      })));
    }).then(() => {
      placesIn = true;
      placesFoot.remove();
      window.dispatchEvent(new Event("orval-wake"));
    }).catch((error) => {
      console.error("the game's places cannot be loaded:", error);
      showPlaces(true);
    });
  }

  // ---- the end ---------------------------------------------------------------------------------

  // The game's end, or its failure, in the page's words in the game's last language.
  function showEnd(kind, detail) {
    const ending = (window.Module && window.Module.orvalEnding) || {};
    if (words[ending.language]) language = ending.language;
    const w = words[language];
    document.documentElement.lang = language;
    if (loading) loading.classList.add("hotovo");
    document.getElementById("zprava-text").textContent = w[kind];
    document.getElementById("zprava-chyba").textContent = detail || "";
    document.getElementById("znovu").textContent = w.again;
    document.getElementById("zprava").classList.add("ukazana");
    document.getElementById("canvas").style.display = "none";
    document.title = "ORVAL KESK: " + w[kind];
    // A game played through: the browser is asked to keep what keeps it offline.
    if (kind !== "failed" && navigator.storage && navigator.storage.persist)
      navigator.storage.persist().catch(() => {});
  }
  // Module.onExit: the status and how the game said it ended.
  function ended(status, errors) {
    if (status !== 0) {
      const said = errors.filter((line) => line.startsWith("orval-kesk:"));
      showEnd("failed", (said.length ? said : errors).join("\n"));
      return;
    }
    const ending = (window.Module && window.Module.orvalEnding) || {};
    showEnd(ending.askedToEnd ? "left" : "won");
  }

  // ---- offline ---------------------------------------------------------------------------------

  // The service worker keeps every file a game needs in this language at this scale, so that a
  // reload without a network plays on, the clips in the order the game plays them; it is told
  // which once the menu shows.
  function keepOffline() {
    if (!("serviceWorker" in navigator) || !window.isSecureContext) return;
    navigator.serviceWorker.register("sw.js").then(() => navigator.serviceWorker.ready)
      .then((registration) => {
        if (registration.active)
          registration.active.postMessage({ keep: { language: language, scale: scale } });
      })
      .catch((error) => console.warn("the game cannot be kept offline:", error));
  }

  window.orvalPage = {
    scale: scale,
    instantiateWasm: instantiateWasm,
    ended: ended,
    showEnd: showEnd,
    language: () => language,
    dataArrived: () => placesIn,
  };
})();
