// NIGHTJAR overlay page: what every screen's script shares. The game pushes
// its whole display state every frame through window.syncGameState (ui.js),
// which hands it to each screen in turn (dossier.js, hud.js, safe.js, ...);
// the page calls the game's commands (window.game.*) when the player clicks.
// The DOM is touched only when a shown value changes, so a quiet frame costs
// the engine no relayout and no repaint.
// The scripts run in the order ui.html lists them, this one first; each keeps
// its own names inside a function and offers the others what they need on
// `ui`.
var ui = (function () {
  "use strict";

  var STATES = ["briefing", "hud", "pause", "complete", "failed"];

  function $(id) { return document.getElementById(id); }

  // Calls a game command if the host bound it; the page also runs in a
  // browser preview where there is no game.
  function command(name, arg) {
    var g = window.game;
    if (!g || typeof g[name] !== "function") return;
    if (arg === undefined) g[name](); else g[name](arg);
  }

  var shown = {};
  function setText(id, text) {
    if (shown["t:" + id] === text) return;
    shown["t:" + id] = text;
    var el = $(id);
    if (el) el.textContent = text;
  }
  function setFlag(id, cls, on) {
    var key = "c:" + id + ":" + cls;
    if (shown[key] === on) return;
    shown[key] = on;
    var el = $(id);
    if (!el) return;
    if (on) el.classList.add(cls); else el.classList.remove(cls);
  }
  function setStyle(id, prop, value) {
    var key = "s:" + id + ":" + prop;
    if (shown[key] === value) return;
    shown[key] = value;
    var el = $(id);
    if (el) el.style[prop] = value;
  }
  // A row built again starts blank, so what the old one showed is forgotten.
  function forgetShown(id) {
    for (var key in shown) if (key.split(":")[1] === id) delete shown[key];
  }

  function arr(v, i, fallback) { return v && v.length > i ? v[i] : fallback; }
  function num(v) { return typeof v === "number" && isFinite(v) ? v : null; }

  function makeDiv(className, id) {
    var el = document.createElement("div");
    el.className = className;
    if (id) el.id = id;
    return el;
  }
  function onClick(id, fn) {
    var el = $(id);
    if (el) el.addEventListener("click", fn);
  }

  // The screen the game state is on; the HUD stays up under the pause menu.
  function showScreen(state) {
    var current = STATES[state] || "hud";
    setFlag("root", "in-briefing", state === 0);
    setFlag("root", "in-end", state === 3 || state === 4);
    for (var i = 0; i < STATES.length; i++) {
      var up = STATES[i] === current || (state === 2 && STATES[i] === "hud");
      setFlag(STATES[i], "shown", up);
    }
  }

  return {
    $: $, command: command, setText: setText, setFlag: setFlag, setStyle: setStyle,
    forgetShown: forgetShown, arr: arr, num: num, makeDiv: makeDiv, onClick: onClick,
    showScreen: showScreen,
    // The state the game sent last, for clicks and keys between frames.
    last: null,
    // The labels of the keys the page names, by what they do (keys.js).
    keys: {}
  };
})();
