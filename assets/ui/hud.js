// The HUD over the play field: the directive, intel, clock, stealth tier and
// health; the interaction and smoke prompts placed beside what they point at,
// clear of the operative and of the HUD's panels; the timed directive's
// clock; and the banner over every screen.
(function (ui) {
  "use strict";
  var $ = ui.$, setText = ui.setText, setFlag = ui.setFlag, setStyle = ui.setStyle, num = ui.num;

  var TIERS = ["GHOST", "NOTICED", "HUNTED", "COMPROMISED"];

  // Page geometry. The page is 1280 x 720 units over the 960 x 540 play field.
  var PAGE_W = 1280, PAGE_H = 720;
  var PER_FIELD_UNIT = 720 / 540;
  var PROMPT_LIFT = 20 * PER_FIELD_UNIT;  // "promptY" is this far above the target
  var TARGET_RADIUS = 32;                 // a guard, the directive's ring, the terminal's console
  var TARGET_TOP = 48;                    // the terminal's tag floats higher than that
  var OPERATIVE_RADIUS = 18;
  var GAP = 6;
  var EDGE = 4;
  var FADE_MARGIN = 12;

  // The game writes its prompts with keyboard keys ("[E] ...", "[SPACE] ..."):
  // they show the bound ones.
  var PROMPT_KEYS = { "E": "interact", "SPACE": "takedown" };
  function promptLabel(text) {
    return text.replace(/^\[(E|SPACE)\]/, function (all, key) { return "[" + ui.keys[PROMPT_KEYS[key]] + "]"; });
  }

  // ---- Boxes on the play field ----

  function box(x, y, w, h) { return { x: x, y: y, w: w, h: h }; }
  function inside(b) { return b.x >= EDGE && b.y >= EDGE && b.x + b.w <= PAGE_W - EDGE && b.y + b.h <= PAGE_H - EDGE; }
  function boxesMeet(a, b) { return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h; }
  function circleMeets(b, cx, cy, r) {
    var nx = Math.max(b.x, Math.min(cx, b.x + b.w)), ny = Math.max(b.y, Math.min(cy, b.y + b.h));
    return (cx - nx) * (cx - nx) + (cy - ny) * (cy - ny) < r * r;
  }
  function clampInside(b) {
    return box(Math.max(EDGE, Math.min(b.x, PAGE_W - EDGE - b.w)), Math.max(EDGE, Math.min(b.y, PAGE_H - EDGE - b.h)), b.w, b.h);
  }
  // The first candidate inside the page that covers none of the circles and
  // boxes to keep clear; when every one does, the first, pulled inside.
  function firstClear(candidates, circles, boxes) {
    for (var i = 0; i < candidates.length; i++) {
      var b = candidates[i], ok = inside(b);
      for (var c = 0; ok && c < circles.length; c++) ok = !circleMeets(b, circles[c][0], circles[c][1], circles[c][2]);
      for (var k = 0; ok && k < boxes.length; k++) ok = !boxesMeet(b, boxes[k]);
      if (ok) return b;
    }
    return clampInside(candidates[0]);
  }

  // Rendered sizes, measured once per text (a measurement lays the page out).
  var sizes = {};
  function sizeOf(id, text) {
    var key = id + ":" + text;
    if (!sizes[key]) {
      var el = $(id), r = el && el.getBoundingClientRect ? el.getBoundingClientRect() : null;
      if (!r || !(r.width > 0)) return { w: 8 * text.length + 24, h: 26 };
      sizes[key] = { w: Math.ceil(r.width), h: Math.ceil(r.height) };
    }
    return sizes[key];
  }

  // The HUD panels' rectangles, read from the layout the first time the HUD is up.
  var panels = null;
  function hudPanels() {
    if (panels) return panels;
    var found = [];
    var ids = ["dirpanel", "statpanel"];
    for (var i = 0; i < ids.length; i++) {
      var el = $(ids[i]), r = el && el.getBoundingClientRect ? el.getBoundingClientRect() : null;
      if (!r || !(r.width > 0)) return [];
      found.push({ id: ids[i], b: box(r.left, r.top, r.width, r.height) });
    }
    panels = found;
    return panels;
  }

  function place(id, x, y) {
    setStyle(id, "left", Math.round(x) + "px");
    setStyle(id, "top", Math.round(y) + "px");
  }

  // Slides a box along one axis back onto the page; the other axis is left
  // alone, so a box placed above something stays above it.
  function slideX(b) { return box(Math.max(EDGE, Math.min(b.x, PAGE_W - EDGE - b.w)), b.y, b.w, b.h); }
  function slideY(b) { return box(b.x, Math.max(EDGE, Math.min(b.y, PAGE_H - EDGE - b.h)), b.w, b.h); }

  // Beside the target, on the side away from the operative; then the other
  // side, then above or below, whichever is clear of the operative, the
  // target and the page's edges.
  function placePrompt(target, operative, size, keepClear) {
    var w = size.w, h = size.h, tx = target.x, ty = target.y;
    if (!operative) return clampInside(box(tx - w / 2, ty - PROMPT_LIFT - h / 2, w, h));
    var right = slideY(box(tx + TARGET_RADIUS + GAP, ty - h / 2, w, h));
    var left = slideY(box(tx - TARGET_RADIUS - GAP - w, ty - h / 2, w, h));
    var above = slideX(box(tx - w / 2, ty - TARGET_TOP - GAP - h, w, h));
    var below = slideX(box(tx - w / 2, ty + TARGET_RADIUS + GAP, w, h));
    var sides = operative.x <= tx ? [right, left] : [left, right];
    var ends = operative.y <= ty ? [below, above] : [above, below];
    var circles = [[operative.x, operative.y, OPERATIVE_RADIUS], [tx, ty, TARGET_RADIUS]];
    return firstClear(sides.concat(ends), circles, keepClear);
  }

  // Under the operative, else above or beside it, clear of the interaction
  // prompt and its target.
  function placeSmoke(operative, size, target, keepClear) {
    var w = size.w, h = size.h, ox = operative.x, oy = operative.y, r = OPERATIVE_RADIUS + GAP;
    var candidates = [slideX(box(ox - w / 2, oy + r, w, h)), slideX(box(ox - w / 2, oy - r - h, w, h)),
                      slideY(box(ox + r, oy - h / 2, w, h)), slideY(box(ox - r - w, oy - h / 2, w, h))];
    var circles = [[ox, oy, OPERATIVE_RADIUS]];
    if (target) circles.push([target.x, target.y, TARGET_RADIUS]);
    return firstClear(candidates, circles, keepClear);
  }

  function syncPrompts(s, playing) {
    var operative = num(s.operativeX) !== null && num(s.operativeY) !== null ? { x: s.operativeX, y: s.operativeY } : null;
    var hasPrompt = playing && !!s.promptText;
    var target = hasPrompt ? { x: +s.promptX || 0, y: (+s.promptY || 0) + PROMPT_LIFT } : null;
    var huds = playing ? hudPanels() : [], keepClear = [];
    for (var i = 0; i < huds.length; i++) keepClear.push(huds[i].b);

    setFlag("prompt", "shown", hasPrompt);
    if (hasPrompt) {
      var promptText = promptLabel(s.promptText);
      setText("prompt", promptText);
      var p = placePrompt(target, operative, sizeOf("prompt", promptText), keepClear);
      place("prompt", p.x, p.y);
      keepClear.push(p);
    }
    var smoke = playing && s.smokeReady === true && !!operative;
    setFlag("smoke", "shown", smoke);
    if (smoke) {
      var text = "[" + ui.keys.interact + "] SMOKE ESCAPE";
      setText("smoke", text);
      var q = placeSmoke(operative, sizeOf("smoke", text), target, keepClear);
      place("smoke", q.x, q.y);
      keepClear.push(q);
    }
    return { operative: operative, target: target, keepClear: keepClear };
  }

  // A panel fades while the operative, or the thing the prompt points at, is under or against it.
  function syncFades(spots) {
    var huds = hudPanels();
    for (var i = 0; i < huds.length; i++) {
      var b = huds[i].b, fade = false;
      if (spots.operative) fade = circleMeets(b, spots.operative.x, spots.operative.y, OPERATIVE_RADIUS + FADE_MARGIN);
      if (!fade && spots.target) fade = circleMeets(b, spots.target.x, spots.target.y, TARGET_RADIUS + FADE_MARGIN);
      setFlag(huds[i].id, "faded", fade);
    }
  }

  // Fades an element drawn over the field (the replay's bar) while the
  // operative stands under or against it, as the HUD's panels do.
  function fadeUnderOperative(id, s) {
    var el = $(id), r = el && el.getBoundingClientRect ? el.getBoundingClientRect() : null;
    var known = typeof s.operativeX === "number" && typeof s.operativeY === "number";
    setFlag(id, "faded", !!r && r.width > 0 && known &&
      circleMeets(box(r.left, r.top, r.width, r.height), s.operativeX, s.operativeY, OPERATIVE_RADIUS + FADE_MARGIN));
  }

  // The directive names the interact key ("... terminal [E]"): the bound one.
  function directiveLabel(text) {
    return text.replace(/\[E\]$/, function () { return "[" + ui.keys.interact + "]"; });
  }

  function syncHud(s) {
    setText("directive", directiveLabel(s.directive || ""));
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
    var state = s.gameState | 0;
    var playing = state === 1 && !s.safeActive;
    var spots = syncPrompts(s, playing);
    if (state === 1 || state === 2) syncFades(spots);
    syncCountdown(s, state, playing, spots);
  }

  // ---- The timed directive's clock ----

  var URGENT_SECONDS = 10;
  function countdownText(seconds) {
    var whole = Math.ceil(seconds), minutes = Math.floor(whole / 60), rest = whole % 60;
    return minutes + ":" + (rest < 10 ? "0" : "") + rest;
  }
  // On the HUD beside the directive, and beside its target on the field
  // (below it, else above or to a side, clear of the prompts); red in the
  // last ten seconds.
  function syncCountdown(s, state, playing, spots) {
    var seconds = num(s.countdown);
    var timed = seconds !== null && seconds >= 0 && (state === 1 || state === 2);
    setFlag("dircount", "shown", timed);
    var onField = timed && playing && num(s.countdownX) !== null && num(s.countdownY) !== null;
    setFlag("tgtcount", "shown", onField);
    if (!timed) return;
    var text = countdownText(seconds), urgent = seconds < URGENT_SECONDS;
    setText("dircount", text + " LEFT");
    setFlag("dircount", "urgent", urgent);
    if (!onField) return;
    setText("tgtcount", text);
    setFlag("tgtcount", "urgent", urgent);
    var size = sizeOf("tgtcount", "0:00"), tx = s.countdownX, ty = s.countdownY;
    var w = size.w, h = size.h, r = TARGET_RADIUS + GAP;
    var candidates = [slideX(box(tx - w / 2, ty + r, w, h)), slideX(box(tx - w / 2, ty - r - h, w, h)),
                      slideY(box(tx + r, ty - h / 2, w, h)), slideY(box(tx - r - w, ty - h / 2, w, h))];
    var circles = spots.operative ? [[spots.operative.x, spots.operative.y, OPERATIVE_RADIUS]] : [];
    var b = firstClear(candidates, circles, spots.keepClear || []);
    place("tgtcount", b.x, b.y);
  }

  function syncBanner(s) {
    var on = !!s.bannerActive && !!s.bannerText;
    setFlag("banner", "shown", on);
    if (!on) return;
    setText("bannertext", s.bannerText);
    var c = s.bannerColor || [0.83, 0.686, 0.216];
    var rgb = "rgb(" + Math.round(c[0] * 255) + "," + Math.round(c[1] * 255) + "," + Math.round(c[2] * 255) + ")";
    setStyle("banner", "borderTopColor", rgb);
    setStyle("banner", "borderBottomColor", rgb);
  }

  // Measured prompts and HUD panels change with the text size: they are
  // measured again.
  function forgetMeasures() {
    sizes = {};
    panels = null;
  }

  ui.hud = { sync: syncHud, syncBanner: syncBanner, forgetMeasures: forgetMeasures, fadeUnderOperative: fadeUnderOperative };
})(ui);
