// NIGHTJAR overlay page. The game pushes its whole display state every frame
// through window.syncGameState; the page shows the screen for the state and
// calls the game's commands (window.game.*) when the player clicks.
// The DOM is touched only when a shown value changes, so a quiet frame costs
// the engine no relayout and no repaint.
(function () {
  "use strict";

  var TWO_PI = Math.PI * 2;
  var TIERS = ["GHOST", "NOTICED", "HUNTED", "COMPROMISED"];
  var STATES = ["briefing", "hud", "pause", "complete", "failed"];

  // Every key the page names, by what it does. Hints, buttons and prompts
  // read their labels from here, so the player's bindings and another input
  // device swap them in one place. The game sends the keys as bound
  // ("keyNames") and the pad's buttons as bound ("padButtons"); these are
  // the defaults for a host that sends neither.
  var DEFAULT_KEY_NAMES = {
    moveUp: "W", moveDown: "S", moveLeft: "A", moveRight: "D", sneak: "SHIFT", interact: "E",
    takedown: "SPACE", pause: "P", dossier: "TAB", retry: "R",
    approach1: "F1", approach2: "F2", approach3: "F3", approach4: "F4"
  };
  var DEFAULT_PAD_BUTTONS = { interact: "A", cancel: "B", takedown: "X", retry: "Y", dossier: "BACK", pause: "START" };

  function moveLabel(k) {
    var keys = [k.moveUp, k.moveLeft, k.moveDown, k.moveRight];
    var single = true;
    for (var i = 0; i < keys.length; i++) single = single && String(keys[i]).length === 1;
    return keys.join(single ? "" : " ") + " / ARROWS";
  }
  function keyboardKeys(k) {
    return {
      move: moveLabel(k), sneak: k.sneak, takedown: k.takedown, interact: k.interact,
      pause: k.pause, dossier: k.dossier, resume: k.dossier, retry: k.retry,
      fullscreen: "F11", begin: "ENTER", confirm: "ENTER", quitDossier: k.pause + " / ESC",
      tap: k.takedown, abort: "ESC", back: "ESC", options: "O", optionsPause: "O",
      approach0: k.approach1, approach1: k.approach2, approach2: k.approach3, approach3: k.approach4,
      menuMove: "UP / DOWN", menuChange: "LEFT / RIGHT", prevOp: "", nextOp: "",
      askResume: "ENTER", askQuit: k.pause + " / ESC", requisition: "Q", choose: "UP / DOWN",
      buy: "ENTER", newCampaign: "N", pasteCode: "CTRL+V", copyCode: "CTRL+C"
    };
  }
  // On a controller a key it has no button for is not shown at all: the
  // approach badges (the d-pad chooses), full screen and quitting. Start
  // opens the options from the dossier, the takedown button from the pause
  // screen.
  function padKeys(b) {
    return {
      move: "L-STICK / D-PAD", sneak: "LT / RT", takedown: b.takedown, interact: b.interact,
      pause: b.pause, dossier: b.dossier, resume: b.dossier, retry: b.retry,
      fullscreen: "", begin: b.interact, confirm: b.interact, quitDossier: "",
      tap: b.interact + " / " + b.takedown, abort: b.cancel, back: b.cancel,
      options: b.pause, optionsPause: b.takedown,
      approach0: "", approach1: "", approach2: "", approach3: "",
      menuMove: "D-PAD", menuChange: "D-PAD", prevOp: "LB", nextOp: "RB",
      askResume: b.interact, askQuit: "", requisition: b.takedown, choose: "D-PAD",
      buy: b.interact, newCampaign: b.retry, pasteCode: b.takedown, copyCode: b.retry
    };
  }
  function merged(defaults, sent) {
    var out = {};
    for (var k in defaults) out[k] = sent && typeof sent[k] === "string" && sent[k] ? sent[k] : defaults[k];
    return out;
  }
  var KEYS = keyboardKeys(DEFAULT_KEY_NAMES);
  // The game writes its prompts with keyboard keys ("[E] ...", "[SPACE] ...").
  var PROMPT_KEYS = { "E": "interact", "SPACE": "takedown" };
  function promptLabel(text) {
    return text.replace(/^\[(E|SPACE)\]/, function (all, key) { return "[" + KEYS[PROMPT_KEYS[key]] + "]"; });
  }
  // Why a mission failed ("failReason"): a heading and what to do next time.
  // An unknown or missing reason gets "other". Built when asked, so the
  // advice names the keys the table holds then.
  function failReasons() {
    return {
      laser: ["LASER GRID CONTACT",
              "A live beam touched the operative. The grid blinks off every few seconds: cross while it is dark."],
      detected: ["DETECTION FULL",
                 "The operative was identified. Keep out of sight lines, sneak (" + KEYS.sneak + ") and use smoke (" +
                 KEYS.interact + ") when the meter runs high."],
      expired: ["DIRECTIVE EXPIRED",
                "The timed directive ran out. Its clock starts when the safe opens: know the way before you crack it."],
      other: ["OPERATIVE COMPROMISED", "The operative was compromised."]
    };
  }

  // The grade a score reaches, best first; below the last step is C.
  var GRADE_STEPS = [["S+", 105], ["S", 90], ["A", 75], ["B", 60]];

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

  function arr(v, i, fallback) { return v && v.length > i ? v[i] : fallback; }
  function num(v) { return typeof v === "number" && isFinite(v) ? v : null; }

  function showScreen(state) {
    var current = STATES[state] || "hud";
    setFlag("root", "in-briefing", state === 0);
    setFlag("root", "in-end", state === 3 || state === 4);
    for (var i = 0; i < STATES.length; i++) {
      // The HUD stays up under the pause menu.
      var up = STATES[i] === current || (state === 2 && STATES[i] === "hud");
      setFlag(STATES[i], "shown", up);
    }
  }

  // The dossier's operation rows: one per mission the state names
  // ("missionCount", "missionNames"), stacked down the panel above its
  // PREV / NEXT buttons, built when the count changes.
  var OP_FIRST_TOP = 44, OP_PITCH = 94;  // px
  var opRows = 0;
  // The approach rows are the page's own; the game names them (window.nameApproaches).
  var approachRows = document.querySelectorAll(".approach").length;

  // A row built again starts blank, so what the old one showed is forgotten.
  function forgetShown(id) {
    for (var key in shown) if (key.split(":")[1] === id) delete shown[key];
  }
  function makeDiv(className, id) {
    var el = document.createElement("div");
    el.className = className;
    if (id) el.id = id;
    return el;
  }
  function makeOpRow(i) {
    var row = makeDiv("op", "op" + i);
    row.setAttribute("data-index", String(i));
    row.style.top = (OP_FIRST_TOP + OP_PITCH * i) + "px";
    row.appendChild(makeDiv("op-num")).textContent = "OP " + (i < 9 ? "0" : "") + (i + 1);
    var name = row.appendChild(makeDiv("op-name"));
    name.appendChild(document.createElement("span")).id = "opname" + i;
    row.appendChild(makeDiv("op-status", "opstatus" + i));
    row.appendChild(makeDiv("op-badge", "opbadge" + i));
    row.addEventListener("click", function () { command("selectMission", i); });
    ["op", "opname", "opstatus", "opbadge"].forEach(function (id) { forgetShown(id + i); });
    return row;
  }
  function buildOpRows(count) {
    var panel = $("ops");
    var nav = panel.querySelector(".ops-nav");
    for (; opRows > count; opRows--) panel.removeChild($("op" + (opRows - 1)));
    for (; opRows < count; opRows++) panel.insertBefore(makeOpRow(opRows), nav);
  }

  // A mission file that cannot be played lists the checker's first errors in
  // the operations panel; each without its folder, which the terminal shows.
  var MISSION_ERROR_LINES = 4;
  function syncMissionErrors(errors) {
    setFlag("ops", "has-errors", errors.length > 0);
    for (var i = 0; i < MISSION_ERROR_LINES; i++) {
      var line = String(arr(errors, i, ""));
      var colon = line.indexOf(": ");
      var slash = line.lastIndexOf("/", colon < 0 ? line.length : colon);
      setText("missionerror" + i, slash < 0 ? line : line.substring(slash + 1));
    }
    var more = errors.length - MISSION_ERROR_LINES;
    setText("missionerrormore", more > 0 ? "... and " + more + " more on the terminal" : "");
    return errors.length > 0;
  }

  // ---- Custom operations ----
  // The panel shows the list the selection is in; with no custom operation
  // yet, the tab opens the empty list, where PASTE CODE is.
  var CUSTOM_SLOTS = 3;
  var customFirst = 0;       // the list's index shown in the first slot
  var lastCustom = 0;        // the custom operation to go back to from the campaign
  var emptyCustomView = false;
  function customList(s) { return s && s.customMissions && s.customMissions.length ? s.customMissions : []; }
  function customSelection(s) { return typeof s.customIndex === "number" && s.customIndex >= 0 ? s.customIndex | 0 : -1; }
  function inCustomView(s) {
    var list = customList(s);
    return customSelection(s) >= 0 || (list.length === 0 && emptyCustomView);
  }
  function two(n) { return (n < 9 ? "0" : "") + (n + 1); }
  // "heist.json:14:9: guards[2].x: ..." without the file name the row already shows.
  function errorAfterFile(error, file) {
    var text = String(error || "");
    return text.indexOf(file + ":") === 0 ? text.substring(file.length + 1) : text;
  }

  function syncCustom(s) {
    var list = customList(s), sel = customSelection(s), view = inCustomView(s);
    if (sel >= 0) lastCustom = sel;
    if (list.length > 0) emptyCustomView = false;
    setFlag("ops", "custom-view", view);
    setText("opsheading", view ? "CUSTOM OPERATIONS" : "OPERATIONS");
    setText("customtabtext", view ? "CAMPAIGN" : "CUSTOM (" + list.length + ")");
    setText("customfolder", String(s.customFolder || "missions/"));
    setFlag("customempty", "shown", list.length === 0);
    if (sel >= 0) customFirst = Math.max(0, Math.min(sel - 1, list.length - CUSTOM_SLOTS));
    customFirst = Math.max(0, Math.min(customFirst, list.length - CUSTOM_SLOTS));
    for (var slot = 0; slot < CUSTOM_SLOTS; slot++) {
      var i = customFirst + slot, item = list[i];
      setFlag("cust" + slot, "shown", !!item);
      if (!item) continue;
      var file = String(item.file || "");
      setText("custnum" + slot, "CUSTOM " + two(i) + "  //  " + file);
      setText("custname" + slot, String(item.name || file));
      var theme = String(item.theme || "").toUpperCase();
      setText("custstatus" + slot, item.error ? "ERROR  //  " + errorAfterFile(item.error, file) : "READY  //  " + theme);
      setFlag("cust" + slot, "broken", !!item.error);
      setFlag("cust" + slot, "selected", i === sel);
    }
    setText("custommore", list.length > CUSTOM_SLOTS ?
      (customFirst + 1) + "-" + Math.min(list.length, customFirst + CUSTOM_SLOTS) + " OF " + list.length : "");
    setFlag("copycode", "disabled", sel < 0 || !list[sel] || !!list[sel].error);
    return sel >= 0 ? list[sel] : null;
  }

  // The file panel for a custom operation: its name and briefing, or why it
  // cannot be played.
  function syncCustomFile(item) {
    var file = String(item.file || "");
    var theme = String(item.theme || "").toUpperCase();
    setText("filetag", "CUSTOM OPERATION  //  " + file + (theme ? "  //  " + theme : ""));
    setText("filetitle", item.error ? "NOT PLAYABLE YET" : String(item.name || file));
    setText("filedesc", item.error ?
      errorAfterFile(item.error, file) + "  //  Mend the file and open the dossier again: " +
      "njtool mission check " + file + " prints every error and warning with its line." :
      String(item.desc || "A custom operation from your missions folder. It earns no intel and leaves the campaign as it was."));
  }

  // Next or previous through the campaign and then the custom operations, wrapping.
  function stepOperation(s, step) {
    var count = s.missionCount | 0, list = customList(s), total = count + list.length;
    if (list.length === 0) { command(step < 0 ? "prevMission" : "nextMission"); return; }
    var sel = customSelection(s), current = sel >= 0 ? count + sel : s.missionIndex | 0;
    var next = ((current + step) % total + total) % total;
    if (next < count) command("selectMission", next); else command("selectCustomMission", next - count);
  }

  function toggleCustomView() {
    if (!last) return;
    var list = customList(last);
    if (inCustomView(last)) {
      emptyCustomView = false;
      if (customSelection(last) >= 0) command("selectMission", last.missionIndex | 0);
    } else if (list.length > 0) {
      command("selectCustomMission", Math.min(lastCustom, list.length - 1));
    } else {
      emptyCustomView = true;
      syncCustom(last);
    }
  }

  function syncDossier(s) {
    var names = s.missionNames || [];
    var count = typeof s.missionCount === "number" ? s.missionCount : names.length;
    var sel = s.missionIndex | 0;
    if (count !== opRows) buildOpRows(Math.max(0, count | 0));
    for (var i = 0; i < count; i++) {
      var locked = i > (s.highestUnlocked | 0);
      var done = !!arr(s.missionCompleted, i, false);
      var grade = arr(s.missionGrades, i, "--");
      setText("opname" + i, arr(names, i, ""));
      var status = locked ? "LOCKED" : done ? "COMPLETE" : "READY";
      if (done && !locked && grade && grade !== "--") status += "  //  " + grade;
      setText("opstatus" + i, status);
      setFlag("op" + i, "selected", i === sel && customSelection(s) < 0);
      setFlag("op" + i, "locked", locked);
      setFlag("op" + i, "done", done && !locked);
      syncBadge(i, arr(s.records, i, null));
    }
    syncFileRecord(arr(s.records, sel, null));
    var complete = s.campaignComplete === true;
    setFlag("camptag", "shown", complete);
    setText("filetag", "OPERATION FILE 0" + (sel + 1));
    setText("filetitle", arr(names, sel, ""));
    setText("filedesc", arr(s.missionDescs, sel, ""));
    for (var a = 0; a < approachRows; a++) setFlag("ap" + a, "selected", a === (s.approach | 0));
    var lockedSel = sel > (s.highestUnlocked | 0);
    setFlag("locknote", "shown", lockedSel);
    setFlag("file", "locked-sel", lockedSel);
    var unplayable = syncMissionErrors(s.missionErrors || []);
    setFlag("begin", "disabled", lockedSel || unplayable);
    if (unplayable) {
      setText("filetag", "MISSION FILE");
      setText("filetitle", "NOT PLAYABLE YET");
      setText("filedesc", "Mend what the operations panel lists, then start the game again. " +
        "njtool mission check FILE.json prints every error and warning with its line.");
    }
    var custom = syncCustom(s);
    if (custom) {
      syncCustomFile(custom);
      setFlag("locknote", "shown", false);
      setFlag("file", "locked-sel", false);
      setFlag("begin", "disabled", !!custom.error);
    }
    setFlag("resumeop", "shown", s.missionInProgress === true);
    setText("budget", "" + (s.intelBudget | 0));
  }

  // ---- Records ----

  // "S+ PHANTOM" -> "S+".
  function gradeMark(label) { return String(label || "").split(" ")[0]; }
  // Each row's badge: the best unassisted grade; an operation won only with
  // an assist says so in words, not by colour alone.
  function syncBadge(i, rec) {
    var grade = rec && rec.grade ? gradeMark(rec.grade) : "";
    var assisted = !grade && rec && rec.assistedGrade ? gradeMark(rec.assistedGrade) : "";
    setText("opbadge" + i, grade ? "BEST " + grade : assisted ? "ASSISTED " + assisted : "");
    setFlag("opbadge" + i, "shown", !!(grade || assisted));
    setFlag("opbadge" + i, "assisted", !!assisted);
  }
  // The operation's file: its best runs and the day it was first won.
  function syncFileRecord(rec) {
    var parts = [];
    if (rec && rec.grade) parts.push("BEST " + gradeMark(rec.grade) + "  " + (rec.score | 0) + " PTS  " + rec.time);
    if (rec && rec.assistedGrade) parts.push("ASSISTED " + gradeMark(rec.assistedGrade) + "  " + rec.assistedTime);
    if (rec && rec.firstWin) parts.push("FIRST WIN " + rec.firstWin);
    setText("filerec", parts.join("  //  "));
  }
  // The win screen names what the win improved.
  function newsText(s) {
    var n = s.recordNews || {}, bests = [];
    if (n.grade) bests.push("GRADE");
    if (n.score) bests.push("SCORE");
    if (n.time) bests.push("TIME");
    var said = n.first ? "FIRST WIN" : bests.length ? "NEW BEST " + bests.join(" + ") : "";
    return said && s.recordAssisted === true ? "ASSISTED " + said : said;
  }

  // ---- The campaign's end and a new campaign ----

  var CAMPAIGN_ROWS = 4;
  function syncCampaign(s) {
    var briefing = (s.gameState | 0) === 0;
    var end = briefing && s.campaignEnd === true;
    var ask = briefing && s.confirmNewCampaign === true;
    setFlag("campend", "shown", end && !ask);
    setFlag("newask", "shown", ask);
    if (end) {
      var names = s.missionNames || [], count = Math.min(CAMPAIGN_ROWS, s.missionCount | 0);
      for (var i = 0; i < CAMPAIGN_ROWS; i++) {
        setFlag("ce" + i, "absent", i >= count);
        if (i >= count) continue;
        var rec = arr(s.records, i, null);
        var best = rec && rec.grade ? rec.grade : rec && rec.assistedGrade ? rec.assistedGrade + " (ASSISTED)" : arr(s.missionGrades, i, "--");
        setText("ce" + i + "name", String(arr(names, i, "")));
        setText("ce" + i + "grade", best);
      }
      setText("ceintel", "" + (s.intelBudget | 0));
      var owned = [];
      var perks = s.perks || [];
      for (var p = 0; p < perks.length; p++) if (perks[p] && perks[p].owned) owned.push(perks[p].mark);
      setText("ceperks", owned.length ? owned.join(" ") : "NONE");
    }
    if (ask) {
      setText("newasknote", "The unlocked operations, your " + (s.intelBudget | 0) +
              " NIA intel and the perks you own will be lost.");
    }
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
      var text = "[" + KEYS.interact + "] SMOKE ESCAPE";
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

  // The directive names the interact key ("... terminal [E]"): the bound one.
  function directiveLabel(text) {
    return text.replace(/\[E\]$/, function () { return "[" + KEYS.interact + "]"; });
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

  function signed(points) { return points > 0 ? "+" + points : "" + points; }

  // The win screen's breakdown: 100, then what each line added or took.
  function syncBreakdown(s) {
    var lines = s.gradeLines;
    var full = lines && lines.length === 5 && typeof s.gradeScore === "number";
    setFlag("complete", "nobreak", !full);
    if (!full) return;
    for (var i = 0; i < 5; i++) {
      var line = lines[i] || {};
      var points = line.points | 0;
      setText("gl" + i + "label", "" + (line.label || ""));
      setText("gl" + i + "detail", "" + (line.detail || ""));
      setText("gl" + i + "points", signed(points));
      setFlag("gl" + i, "lost", points < 0);
      setFlag("gl" + i, "gained", points > 0);
    }
    var score = s.gradeScore | 0;
    setText("gscore", "" + score);
    var reached = GRADE_STEPS.length;
    for (var g = GRADE_STEPS.length - 1; g >= 0; g--) if (score >= GRADE_STEPS[g][1]) reached = g;
    for (var t = 0; t <= GRADE_STEPS.length; t++) setFlag("th" + t, "reached", t === reached);
  }

  function syncEnd(s) {
    setText("grade", s.stealthGrade || "");
    setText("award", "+" + (s.lastIntelAward | 0));
    setText("ctime", s.clock || "00:00");
    var news = newsText(s);
    setText("newbest", news);
    setFlag("complete", "has-news", !!news);
    syncBreakdown(s);
    if ((s.gameState | 0) !== 4) return;
    var reasons = failReasons();
    var reason = reasons.hasOwnProperty(s.failReason) && s.failReason !== "other" ? reasons[s.failReason] : reasons.other;
    setText("failhead", reason[0]);
    setText("failnote", reason[1]);
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

  // The dossier's question before a waiting mission is thrown away.
  function syncQuitAsk(s) {
    setFlag("quitask", "shown", (s.gameState | 0) === 0 && s.confirmQuit === true);
  }

  // The requisition list, in place of the approaches while it is up; each
  // perk's price, BUY while it can be afforded and OWNED once bought. The
  // HUD carries each owned perk's mark.
  var PERK_ROWS = 3;
  function syncRequisition(s) {
    var perks = s.perks || [];
    var open = (s.gameState | 0) === 0 && s.requisitionOpen === true;
    setFlag("file", "req-open", open);
    setText("reqbtntext", open ? "APPROACHES" : "REQUISITION");
    var budget = s.intelBudget | 0, choice = s.requisitionChoice | 0;
    for (var i = 0; i < PERK_ROWS; i++) {
      var p = perks[i] || null;
      var owned = !!(p && p.owned);
      setFlag("pm" + i, "shown", owned);
      if (p) setText("pm" + i, String(p.mark || ""));
      setFlag("perk" + i, "absent", !p);
      if (!p || !open) continue;
      var price = p.price | 0;
      setText("perkname" + i, String(p.name || ""));
      setText("perkeffect" + i, String(p.effect || ""));
      setText("perkprice" + i, price + " INTEL");
      setText("perkbuy" + i, owned ? "OWNED" : "BUY");
      setFlag("perk" + i, "selected", i === choice);
      setFlag("perk" + i, "owned", owned);
      setFlag("perkbuy" + i, "disabled", !owned && price > budget);
    }
  }

  var last = null;
  // Hints name the keys, as bound, of the device the player used last.
  var keysShown = "";
  function syncDevice(s) {
    var pad = s.inputDevice === "gamepad";
    var names = merged(DEFAULT_KEY_NAMES, s.keyNames), buttons = merged(DEFAULT_PAD_BUTTONS, s.padButtons);
    var signature = (pad ? "pad:" : "keys:") + JSON.stringify(pad ? buttons : names);
    setFlag("root", "on-pad", pad);
    if (signature === keysShown) return;
    keysShown = signature;
    KEYS = pad ? padKeys(buttons) : keyboardKeys(names);
    labelKeys();
  }

  // ---- Options ----
  // The rows the options screen lists, in order. "row" is the game's number
  // for a row it steps (setOption / lowerOption); "bind" a key to rebind by
  // action name, "pad" a pad role; "target" what listenForKey waits for.
  var ACTIONS = ["moveUp", "moveDown", "moveLeft", "moveRight", "sneak", "interact", "takedown",
                 "pause", "dossier", "retry", "approach1", "approach2", "approach3", "approach4"];
  var ACTION_LABELS = ["MOVE UP", "MOVE DOWN", "MOVE LEFT", "MOVE RIGHT", "SNEAK", "INTERACT / SMOKE", "TAKEDOWN",
                       "PAUSE", "DOSSIER", "RETRY", "APPROACH 1", "APPROACH 2", "APPROACH 3", "APPROACH 4"];
  var PAD_ROLES = ["interact", "cancel", "takedown", "retry", "dossier", "pause"];
  var PAD_LABELS = ["PAD: INTERACT / CONFIRM", "PAD: BACK OUT", "PAD: TAKEDOWN / OPTIONS", "PAD: RETRY", "PAD: DOSSIER", "PAD: PAUSE"];
  function percent(v) { return (v | 0) + "%"; }
  function onOff(v) { return v ? "ON" : "OFF"; }
  var OPTION_ROWS = [
    { section: "SOUND" },
    { label: "MASTER VOLUME", kind: "slider", row: 0, value: function (o) { return percent(o.volume) + (o.muted ? " MUTED" : ""); } },
    { section: "DISPLAY" },
    { label: "FULL SCREEN", kind: "flag", row: 1, value: function (o) { return onOff(o.fullScreen); } },
    { label: "TEXT SIZE", kind: "choice", row: 6, value: function (o) { return percent(o.textSize); } },
    { label: "PAUSE WHEN THE WINDOW LOSES FOCUS", kind: "flag", row: 2, value: function (o) { return onOff(o.pauseOnFocusLoss); } },
    { label: "COLOUR GLYPHS ON DOORS AND CARDS", kind: "flag", row: 12, value: function (o) { return onOff(o.colourGlyphs); } },
    { label: "HIGH-CONTRAST VISION CONES", kind: "flag", row: 13, value: function (o) { return onOff(o.highContrastCones); } },
    { label: "REDUCED FLASHING", kind: "flag", row: 14, value: function (o) { return onOff(o.reducedFlashing); } },
    { section: "ASSISTS" },
    { label: "SNEAK", kind: "choice", row: 7, value: function (o) { return o.sneak === "toggle" ? "TOGGLE" : "HOLD"; } },
    { label: "SLOWER DETECTION", kind: "flag", row: 8, value: function (o) { return onOff(o.assistSlowDetection); } },
    { label: "SOFTER STEPS", kind: "flag", row: 9, value: function (o) { return onOff(o.assistSoftStep); } },
    { label: "WIDER, SLOWER SAFE WINDOWS", kind: "flag", row: 10, value: function (o) { return onOff(o.assistSafe); } },
    { label: "GAME SPEED", kind: "choice", row: 11, value: function (o) { return percent(o.gameSpeed); } },
    { section: "CONTROLLER" },
    { label: "RUMBLE", kind: "flag", row: 3, value: function (o) { return onOff(o.rumble); } },
    { label: "RUMBLE STRENGTH", kind: "choice", row: 4, value: function (o) { return percent(o.rumbleStrength); } },
    { label: "STICK DEAD ZONE", kind: "choice", row: 5, value: function (o) { return percent(o.stickDeadZone); } }
  ];
  (function addBindingRows() {
    for (var p = 0; p < PAD_ROLES.length; p++)
      OPTION_ROWS.push({ label: PAD_LABELS[p], kind: "bind", pad: PAD_ROLES[p], target: 100 + p });
    OPTION_ROWS.push({ section: "KEYBOARD" });
    for (var a = 0; a < ACTIONS.length; a++)
      OPTION_ROWS.push({ label: ACTION_LABELS[a], kind: "bind", bind: ACTIONS[a], target: a });
    OPTION_ROWS.push({ label: "RESET CONTROLS TO DEFAULTS", kind: "reset" });
  })();
  // Rows the list shows at once, by text size.
  var VISIBLE_ROWS = { 100: 14, 125: 12, 150: 10 };
  var optSelected = 1, optFirst = 0, optBuilt = false, dragging = false;

  function buildOptionRows() {
    var list = $("optrows");
    for (var i = 0; i < OPTION_ROWS.length; i++) {
      var r = OPTION_ROWS[i];
      var row = list.appendChild(makeDiv(r.section ? "orow osection" : "orow", "orow" + i));
      row.appendChild(makeDiv("olabel")).textContent = r.section || r.label;
      if (r.section) continue;
      if (r.kind === "slider") {
        var bar = row.appendChild(makeDiv("obar", "obar"));
        bar.appendChild(makeDiv("ofill", "ofill"));
      }
      row.appendChild(makeDiv("ovalue", "oval" + i));
      (function (index) {
        row.addEventListener("click", function () { optSelected = index; activate(index, 0); });
      })(i);
    }
    var bar = $("obar");
    if (bar) bar.addEventListener("mousedown", function (e) { dragging = true; volumeAt(e); });
    window.addEventListener("mousemove", function (e) { if (dragging) volumeAt(e); });
    window.addEventListener("mouseup", function () { dragging = false; });
    optBuilt = true;
  }

  // The volume under the pointer on the slider, in steps of 5.
  function volumeAt(e) {
    var bar = $("obar"), r = bar && bar.getBoundingClientRect ? bar.getBoundingClientRect() : null;
    if (!r || !(r.width > 0) || typeof e.clientX !== "number") return;
    var v = Math.max(0, Math.min(100, Math.round((e.clientX - r.left) / r.width * 20) * 5));
    if (!last || !last.settings || last.settings.volume !== v) command("setVolume", v);
  }

  // direction: -1 left, +1 right, 0 Enter or a click.
  function activate(index, direction) {
    var r = OPTION_ROWS[index], o = (last && last.settings) || {};
    if (!r || r.section) return;
    if (r.kind === "slider") {
      // A press on the bar itself sets the volume (mousedown, then drags).
      if (direction !== 0) command("setVolume", (o.volume | 0) + 5 * direction);
    } else if (r.kind === "flag") {
      command("setOption", r.row);
    } else if (r.kind === "choice") {
      command(direction < 0 ? "lowerOption" : "setOption", r.row);
    } else if (r.kind === "bind" && direction === 0) {
      command("listenForKey", r.target);
    } else if (r.kind === "reset" && direction === 0) {
      command("resetBindings");
    }
  }

  function moveSelection(step) {
    var i = optSelected;
    do { i += step; } while (i >= 0 && i < OPTION_ROWS.length && OPTION_ROWS[i].section);
    if (i >= 0 && i < OPTION_ROWS.length) optSelected = i;
  }

  function syncOptions(s) {
    var open = s.optionsOpen === true;
    setFlag("optionsscreen", "shown", open);
    if (!open) return;
    if (!optBuilt) buildOptionRows();
    var o = s.settings || {};
    var names = merged(DEFAULT_KEY_NAMES, s.keyNames), buttons = merged(DEFAULT_PAD_BUTTONS, s.padButtons);
    var visible = VISIBLE_ROWS[o.textSize] || VISIBLE_ROWS[100];
    // The selected row stays in sight, with its section heading when it is near the top.
    if (optSelected < optFirst + 1) optFirst = Math.max(0, optSelected - 1);
    if (optSelected >= optFirst + visible) optFirst = optSelected - visible + 1;
    for (var i = 0; i < OPTION_ROWS.length; i++) {
      var r = OPTION_ROWS[i];
      setFlag("orow" + i, "off", i < optFirst || i >= optFirst + visible);
      if (r.section) continue;
      setFlag("orow" + i, "selected", i === optSelected);
      var listening = r.kind === "bind" && s.listening === r.target;
      setFlag("orow" + i, "listening", listening);
      var value = r.value ? r.value(o) : r.bind ? names[r.bind] : r.pad ? buttons[r.pad] : "ENTER";
      if (listening) value = r.pad ? "PRESS A BUTTON" : "PRESS A KEY";
      setText("oval" + i, value);
    }
    setStyle("ofill", "width", Math.max(0, Math.min(100, o.volume | 0)) + "%");
    setFlag("optup", "shown", optFirst > 0);
    setFlag("optdown", "shown", optFirst + visible < OPTION_ROWS.length);
    setText("optmsg", typeof s.optionsMessage === "string" ? s.optionsMessage : "");
  }

  var textSizeShown = 100;
  function syncTextSize(s) {
    var size = s.settings && typeof s.settings.textSize === "number" ? s.settings.textSize : 100;
    setFlag("root", "text125", size === 125);
    setFlag("root", "text150", size === 150);
    // Measured prompts and HUD panels change with the text: measure again.
    if (size !== textSizeShown) {
      textSizeShown = size;
      sizes = {};
      panels = null;
    }
  }

  // The approach names are the game's: it sends them once, when the page is ready.
  window.nameApproaches = function (names) {
    for (var a = 0; a < approachRows; a++) setText("apname" + a, String(arr(names, a, "")));
  };

  window.syncGameState = function (s) {
    last = s;
    syncDevice(s);
    syncTextSize(s);
    showScreen(s.gameState | 0);
    syncDossier(s);
    syncHud(s);
    syncBanner(s);
    syncEnd(s);
    syncSafe(s);
    syncQuitAsk(s);
    syncRequisition(s);
    syncCampaign(s);
    syncOptions(s);
    // A win with an assist on says so beside its grade.
    setFlag("assisted", "shown", s.recordAssisted === true);
    var audio = s.audioEnabled === false ? "AUDIO OFF" : "AUDIO ON";
    setText("audio", audio);
    setText("paudio", audio);
  };

  // Key labels from the table, at start and when the device changes.
  function labelKeys() {
    var tagged = document.querySelectorAll("[data-key]");
    for (var i = 0; i < tagged.length; i++) {
      var label = KEYS[tagged[i].getAttribute("data-key")];
      if (typeof label !== "string") continue;
      if (label) tagged[i].textContent = label;
      if (label) tagged[i].classList.remove("nokey"); else tagged[i].classList.add("nokey");
    }
    // A hint for a key the device has no button for goes with its words.
    var needs = document.querySelectorAll("[data-needs]");
    for (var n = 0; n < needs.length; n++) {
      needs[n].style.display = KEYS[needs[n].getAttribute("data-needs")] ? "" : "none";
    }
    for (var g = 0; g < GRADE_STEPS.length; g++) setText("th" + g, GRADE_STEPS[g][0] + " " + GRADE_STEPS[g][1]);
    setText("th" + GRADE_STEPS.length, "C BELOW");
  }

  function onClick(id, fn) {
    var el = $(id);
    if (el) el.addEventListener("click", fn);
  }

  function wire() {
    for (var a = 0; a < approachRows; a++) {
      (function (index) {
        onClick("ap" + index, function () { command("setApproach", index); });
      })(a);
    }
    onClick("prevop", function () { command("prevMission"); });
    onClick("nextop", function () { command("nextMission"); });
    onClick("begin", function () { command("startOrAdvance"); });
    onClick("customtab", toggleCustomView);
    onClick("pastecode", function () { command("pasteMissionCode"); });
    onClick("copycode", function () { command("copyMissionCode"); });
    for (var c = 0; c < CUSTOM_SLOTS; c++) {
      (function (slot) {
        onClick("cust" + slot, function () { command("selectCustomMission", customFirst + slot); });
      })(c);
    }
    onClick("resumeop", function () { command("openDossier"); });
    onClick("audio", function () { command("toggleAudio"); });
    // With a mission waiting, the game asks first (askQuit); otherwise the
    // host quits at once, as P and Esc do.
    onClick("quit", function () { command(last && last.missionInProgress === true ? "askQuit" : "quitGame"); });
    onClick("askquit", function () { command("quitGame"); });
    onClick("askresume", function () { command("openDossier"); });
    onClick("fdossier", function () { command("openDossier"); });
    onClick("reqbtn", function () { command("toggleRequisition"); });
    onClick("newcamp", function () { command("askNewCampaign"); });
    onClick("cenew", function () { command("askNewCampaign"); });
    onClick("cecontinue", function () { command("closeDialog"); });
    onClick("newcancel", function () { command("closeDialog"); });
    onClick("newstart", function () { command("newCampaign"); });
    for (var p = 0; p < PERK_ROWS; p++) {
      (function (index) {
        onClick("perkbuy" + index, function () { command("buyPerk", index); });
      })(p);
    }
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
    onClick("options", function () { command("openOptions"); });
    onClick("poptions", function () { command("openOptions"); });
    onClick("optback", function () { command("closeOptions"); });
    onClick("optup", function () { moveSelection(-1); if (last) syncOptions(last); });
    onClick("optdown", function () { moveSelection(+1); if (last) syncOptions(last); });

    // The game acts on its own keys (Enter, Tab, P, R, F1-F4, Space, E, Esc);
    // the page adds only what the game leaves to it: browsing the dossier, and
    // walking the options screen's rows (the game holds every key but Esc then).
    window.addEventListener("keydown", function (e) {
      if (last && last.optionsOpen === true) {
        if (e.keyCode === 38) moveSelection(-1);
        else if (e.keyCode === 40) moveSelection(+1);
        else if (e.keyCode === 37) activate(optSelected, -1);
        else if (e.keyCode === 39) activate(optSelected, +1);
        else if (e.keyCode === 13) activate(optSelected, 0);
        syncOptions(last);
        return;
      }
      if (!last || (last.gameState | 0) !== 0 || last.confirmQuit === true || last.requisitionOpen === true ||
          last.campaignEnd === true || last.confirmNewCampaign === true) return;
      if (e.keyCode === 37) stepOperation(last, -1);
      else if (e.keyCode === 39) stepOperation(last, +1);
      // Mission codes: V pastes and C copies, with Ctrl or without (a pad's X and Y).
      else if (e.keyCode === 86) command("pasteMissionCode");
      else if (e.keyCode === 67) command("copyMissionCode");
    });
  }

  labelKeys();
  wire();
  showScreen(0);
})();
