// The page beside the game's canvas: what a screen reader hears (the live region and the
// canvas's label), the bar of buttons for fingers, and a phone's own layout (the window in front
// alone, which the game draws; a phone held upright asked to turn). The game calls
// window.orvalFingers from shell/platform/desktop_web.cpp.
"use strict";
(function () {
  const canvas = document.getElementById("canvas");

  const words = {
    cs: {
      label: "ORVAL KESK, detektivní adventura: hraje se myší nebo prsty, Tab a šipky označují " +
             "místa, Enter na ně klepne, F1 ukáže všechny klávesy.",
      bar: "Tlačítka hry",
      turn: "Otočte telefon na šířku",
      buttons: { T: "titulky", M: "zvuk", L: "jména", H: "místa", Space: "dál", F1: "klávesy" },
      said: { T: "Titulky (T)", M: "Zvuk (M)", L: "Jména (L)", H: "Ukázat místa (H)",
              Space: "Ukončit větu (mezerník)", F1: "Karta ovládání (F1)" },
    },
    en: {
      label: "ORVAL KESK, a detective adventure: play with the mouse or your fingers, Tab and " +
             "the arrow keys mark the spots, Enter clicks one, F1 shows every key.",
      bar: "The game's buttons",
      turn: "Turn your phone sideways",
      buttons: { T: "subtitles", M: "sound", L: "names", H: "spots", Space: "skip", F1: "keys" },
      said: { T: "Subtitles (T)", M: "Sound (M)", L: "Names (L)", H: "Show the spots (H)",
              Space: "Skip the line (Space)", F1: "The card of the controls (F1)" },
    },
  };
  // The game's choice before it speaks: the first of the browser's languages it has, else Czech.
  let language = "cs";
  for (const asked of navigator.languages || [navigator.language || "cs"]) {
    const code = String(asked).toLowerCase().split("-")[0];
    if (words[code]) { language = code; break; }
  }

  // SDL's codes of the keys the buttons stand for: a tap is that key pressed.
  const buttons = [
    { key: "T", code: 116, switch: "subtitles", glyph: "T" },
    { key: "M", code: 109, switch: "sound", glyph: "M" },
    { key: "L", code: 108, switch: "names", glyph: "L" },
    { key: "H", code: 104, switch: "hotspots", glyph: "H" },
    { key: "Space", code: 32, glyph: "\u2423" },
    { key: "F1", code: 0x4000003A, glyph: "F1" },
  ];

  // Heard, not seen: polite, so that it waits for the reader to finish what it says.
  const region = document.createElement("div");
  region.id = "ohlasy";
  region.className = "pro-ctecku";
  region.setAttribute("aria-live", "polite");
  region.setAttribute("aria-relevant", "additions");
  document.body.appendChild(region);

  const bar = document.createElement("div");
  bar.id = "prsty";
  bar.setAttribute("role", "toolbar");
  for (const b of buttons) {
    const button = document.createElement("button");
    button.type = "button";
    button.dataset.key = b.key;
    if (b.switch) button.setAttribute("aria-pressed", b.switch === "hotspots" ? "false" : "true");
    const glyph = document.createElement("span");
    glyph.className = "klavesa";
    glyph.textContent = b.glyph;
    const word = document.createElement("span");
    word.className = "slovo";
    button.append(glyph, word);
    button.addEventListener("click", () => {
      const press = window.Module && window.Module._orval_press_key;
      if (!press) return;
      press(b.code);
      // The game sleeps until the page has input for it.
      window.dispatchEvent(new Event("orval-wake"));
    });
    bar.appendChild(button);
  }
  document.body.appendChild(bar);

  const turn = document.createElement("div");
  turn.id = "otocte";
  turn.innerHTML =
    '<svg viewBox="0 0 120 120" width="120" height="120" aria-hidden="true">' +
    '<rect x="38" y="14" width="44" height="80" rx="7" fill="none" stroke="#B8E0F8" stroke-width="5"/>' +
    '<path d="M 22 96 A 44 44 0 0 0 96 104" fill="none" stroke="#5FB0ED" stroke-width="5"/>' +
    '<path d="M 88 94 L 100 106 L 84 110 Z" fill="#5FB0ED"/></svg><p></p>';
  document.body.appendChild(turn);

  // Every word of the page in the language the game speaks.
  function speak(code) {
    if (!words[code]) return;
    language = code;
    const w = words[code];
    document.documentElement.lang = code;
    canvas.setAttribute("role", "application");
    canvas.setAttribute("aria-label", w.label);
    bar.setAttribute("aria-label", w.bar);
    turn.querySelector("p").textContent = w.turn;
    for (const button of bar.children) {
      button.querySelector(".slovo").textContent = w.buttons[button.dataset.key];
      button.setAttribute("aria-label", w.said[button.dataset.key]);
    }
  }
  speak(language);

  // A phone: a coarse pointer on a screen whose shorter side holds no stage.
  const coarse = window.matchMedia("(pointer: coarse)");
  const isPhone = () => coarse.matches && Math.min(window.innerWidth, window.innerHeight) < 500;
  function layOut() {
    const upright = isPhone() && window.innerHeight > window.innerWidth;
    document.body.classList.toggle("na-vysku", upright);
    turn.classList.toggle("ukazane", upright);
  }
  window.addEventListener("resize", layOut);
  layOut();

  // The bar shows while the last input was a finger, and goes with a key or the mouse.
  function showBar(shown) {
    bar.classList.toggle("ukazane", shown);
  }
  window.addEventListener("pointerdown", (event) => {
    if (event.isTrusted) showBar(event.pointerType === "touch");
  }, true);
  window.addEventListener("pointermove", (event) => {
    if (event.isTrusted && event.pointerType === "mouse") showBar(false);
  }, true);
  window.addEventListener("keydown", (event) => {
    if (event.isTrusted) showBar(false);
  }, true);

  window.orvalFingers = {
    // Words the game said, read out by a screen reader as text.
    announce(text, code) {
      speak(code);
      // Each announcement is a line added, so that words coming close after each other (a box's
      // text, then the clip it plays) are all heard, in order, and the same words again are
      // heard again; only the last few stay. Nothing said (a name gone) adds nothing.
      if (!text) return;
      const line = document.createElement("p");
      line.lang = code;
      line.textContent = text;
      region.appendChild(line);
      while (region.childElementCount > 6) region.firstElementChild.remove();
    },
    showSwitches(on) {
      for (const button of bar.children) {
        const b = buttons.find((one) => one.key === button.dataset.key);
        if (b.switch) button.setAttribute("aria-pressed", on[b.switch] ? "true" : "false");
      }
    },
    showsFrontAlone: isPhone,
  };
})();
