// NIGHTJAR overlay page. The game pushes its whole display state every frame
// through window.syncGameState; the page shows the screen for the state and
// calls the game's commands (window.game.*) when the player clicks.
// The DOM is touched only when a shown value changes, so a quiet frame costs
// the engine no relayout and no repaint.
(function () {
  "use strict";

  var TWO_PI = Math.PI * 2;
  var APPROACHES = ["SERVICE CORRIDOR", "STAFF DISGUISE", "SECURITY UPLINK HACK", "VIP BACKSTAGE ENTRY"];
  var TIERS = ["GHOST", "NOTICED", "HUNTED", "COMPROMISED"];
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

  function pad2(n) { return n < 10 ? "0" + n : "" + n; }
  function arr(v, i, fallback) { return v && v.length > i ? v[i] : fallback; }

  function showScreen(state) {
    var current = STATES[state] || "hud";
    setFlag("root", "in-briefing", state === 0);
    for (var i = 0; i < STATES.length; i++) setFlag(STATES[i], "shown", STATES[i] === current);
    // The HUD stays up under the pause menu.
    if (state === 2) setFlag("hud", "shown", true);
  }

  function syncDossier(s) {
    var count = typeof s.missionCount === "number" ? s.missionCount : 4;
    var sel = s.missionIndex | 0;
    for (var i = 0; i < 4; i++) {
      var name = arr(s.missionNames, i, "OPERATION 0" + (i + 1));
      var locked = i > (s.highestUnlocked | 0);
      var done = !!arr(s.missionCompleted, i, false);
      var grade = arr(s.missionGrades, i, "--");
      setText("opname" + i, name);
      var status = locked ? "LOCKED" : done ? "COMPLETE" : "READY";
      if (done && !locked && grade && grade !== "--") status += "  //  " + grade;
      setText("opstatus" + i, status);
      setFlag("op" + i, "absent", i >= count);
      setFlag("op" + i, "selected", i === sel);
      setFlag("op" + i, "locked", locked);
      setFlag("op" + i, "done", done && !locked);
    }
    setText("filetag", "OPERATION FILE 0" + (sel + 1));
    setText("filetitle", arr(s.missionNames, sel, "OPERATION 0" + (sel + 1)));
    setText("filedesc", arr(s.missionDescs, sel, "Infiltrate the perimeter and extract."));
    for (var a = 0; a < 4; a++) setFlag("ap" + a, "selected", a === (s.approach | 0));
    var lockedSel = sel > (s.highestUnlocked | 0);
    setFlag("locknote", "shown", lockedSel);
    setFlag("begin", "disabled", lockedSel);
    setText("budget", "" + (s.intelBudget | 0));
  }

  function syncHud(s) {
    setText("directive", s.directive || "");
    var done = s.intelDone | 0;
    for (var i = 0; i < 4; i++) setFlag("intel" + i, "on", i < done);
    setText("clock", s.clock || "00:00");
    var tier = Math.max(0, Math.min(3, s.stealthTier | 0));
    setText("tier", TIERS[tier]);
    for (var t = 0; t < 4; t++) setFlag("tier", "tier" + t, t === tier);
    var segs = s.healthSegs | 0;
    var segClass = segs >= 6 ? "on" : segs >= 4 ? "warn" : "bad";
    for (var k = 0; k < 8; k++) {
      var lit = k < segs;
      setFlag("seg" + k, "on", lit && segClass === "on");
      setFlag("seg" + k, "warn", lit && segClass === "warn");
      setFlag("seg" + k, "bad", lit && segClass === "bad");
    }
    var hasPrompt = !!s.promptText && s.gameState === 1 && !s.safeActive;
    setFlag("prompt", "shown", hasPrompt);
    if (hasPrompt) {
      setText("prompt", s.promptText);
      setStyle("prompt", "left", Math.round(s.promptX) + "px");
      setStyle("prompt", "top", Math.round(s.promptY - 14) + "px");
    }
  }

  function syncBanner(s) {
    var on = !!s.bannerActive && !!s.bannerText;
    setFlag("banner", "shown", on);
    if (!on) return;
    setText("banner", s.bannerText);
    var c = s.bannerColor || [0.83, 0.686, 0.216];
    var rgb = "rgb(" + Math.round(c[0] * 255) + "," + Math.round(c[1] * 255) + "," + Math.round(c[2] * 255) + ")";
    setStyle("banner", "borderTopColor", rgb);
    setStyle("banner", "borderBottomColor", rgb);
  }

  function syncEnd(s) {
    setText("grade", s.stealthGrade || "");
    setText("award", "+" + (s.lastIntelAward | 0));
    setText("ctime", s.clock || "00:00");
  }

  function wrapAngle(a) {
    var w = a % TWO_PI;
    return w < 0 ? w + TWO_PI : w;
  }

  // A tumbler turns round a full circle; the track shows that circle
  // unrolled, so a window that straddles 0 is drawn in two parts.
  function syncSafe(s) {
    setFlag("safe", "shown", !!s.safeActive);
    if (!s.safeActive) return;
    var tumblers = s.tumblers || [];
    var width = 480;
    for (var i = 0; i < 3; i++) {
      var t = tumblers[i];
      setFlag("track" + i, "absent", !t);
      if (!t) continue;
      var start = wrapAngle(t.target - t.width / 2);
      var span = Math.min(t.width, TWO_PI);
      var first = Math.min(span, TWO_PI - start);
      setStyle("win" + i, "left", Math.round(start / TWO_PI * width) + "px");
      setStyle("win" + i, "width", Math.round(first / TWO_PI * width) + "px");
      setStyle("winb" + i, "left", "0px");
      setStyle("winb" + i, "width", Math.round((span - first) / TWO_PI * width) + "px");
      setStyle("mark" + i, "left", Math.round(wrapAngle(t.angle) / TWO_PI * width) + "px");
      setFlag("track" + i, "locked", !!t.locked);
      setFlag("track" + i, "current", i === (s.currentTumbler | 0) && !t.locked);
    }
  }

  var last = null;
  window.syncGameState = function (s) {
    last = s;
    showScreen(s.gameState | 0);
    syncDossier(s);
    syncHud(s);
    syncBanner(s);
    syncEnd(s);
    syncSafe(s);
    var audio = s.audioEnabled === false ? "AUDIO OFF" : "AUDIO ON";
    setText("audio", audio);
    setText("paudio", audio);
  };

  function onClick(id, fn) {
    var el = $(id);
    if (el) el.addEventListener("click", fn);
  }

  function wire() {
    for (var i = 0; i < 4; i++) {
      (function (index) {
        onClick("op" + index, function () { command("selectMission", index); });
        onClick("ap" + index, function () { command("setApproach", index); });
      })(i);
    }
    onClick("prevop", function () { command("prevMission"); });
    onClick("nextop", function () { command("nextMission"); });
    onClick("begin", function () { command("startOrAdvance"); });
    onClick("audio", function () { command("toggleAudio"); });
    onClick("quit", function () { command("quitGame"); });
    onClick("resume", function () { command("togglePause"); });
    onClick("pretry", function () { command("retryMission"); });
    onClick("pdossier", function () { command("openDossier"); });
    onClick("paudio", function () { command("toggleAudio"); });
    onClick("pquit", function () { command("quitGame"); });
    onClick("cnext", function () { command("startOrAdvance"); });
    onClick("cretry", function () { command("retryMission"); });
    onClick("fretry", function () { command("retryMission"); });
    onClick("fquit", function () { command("quitGame"); });
    onClick("tap", function () { command("triggerTumblerTap"); });
    onClick("abort", function () { command("abortSafe"); });

    // The game acts on its own keys (Enter, Tab, P, R, F1-F4, Space, E, Esc);
    // the page adds only what the game leaves to it: browsing the dossier.
    window.addEventListener("keydown", function (e) {
      if (!last || (last.gameState | 0) !== 0) return;
      if (e.keyCode === 37) command("prevMission");
      else if (e.keyCode === 39) command("nextMission");
    });
  }

  wire();
  showScreen(0);
})();
