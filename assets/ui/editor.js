// The mission editor's page, over the play field the game draws the mission
// on: the tool bar, the side panel (the pieces, the selection's properties,
// the checker's problems), the notice line and the question before unsaved
// changes are left. The game does the editing; the page sends it requests
// (game.editor, one JSON text each) and shows what it sends back
// (s.editor). While a mission is test-played only a thin strip is the
// editor's: the game's own screens are up.
(function (ui) {
  "use strict";
  var $ = ui.$, setText = ui.setText, setFlag = ui.setFlag, makeDiv = ui.makeDiv, onClick = ui.onClick;
  var KEY = ui.fields.KEY;

  function send(request) { ui.command("editor", JSON.stringify(request)); }

  var LIST_SLOTS = 16;      // rows built for the piece list; as many show as the panel has room for
  var PROBLEM_SLOTS = { 100: 3, 125: 2, 150: 2 };
  var NUDGE_WITHOUT_GRID = 8;

  var ed = null;            // the last editor state in edit mode
  var revision = null;      // the revision the lists were built from
  var kindsShown = "";
  var fieldsShown = "";
  var listFirst = 0, listRows = LIST_SLOTS;
  var problems = [], problemFirst = 0;
  var ctrl = false, shift = false, pointerDown = false;
  var panelHidden = false, panelLeft = false;
  var padFocus = 0;
  var textSizeShown = 0;
  var layoutShown = "";     // what the panel's fit was measured for
  var fields = null;

  function textSize(s) { return s && s.settings && typeof s.settings.textSize === "number" ? s.settings.textSize : 100; }
  function isKindTool(tool) { return typeof tool === "string" && tool !== "select" && tool !== "route"; }
  function onPad() { return !!(ui.last && ui.last.inputDevice === "gamepad"); }
  function list(v) { return v && typeof v.length === "number" ? v : []; }

  // ---- The tool bar ----

  function toolButton(tool, label) {
    var b = makeDiv("btn small edtool", "edtool-" + tool);
    b.textContent = label;
    b.setAttribute("data-tool", tool);
    b.addEventListener("click", function () { send({ do: "tool", tool: tool }); });
    return b;
  }
  function buildTools(kinds) {
    var box = $("edtools");
    ui.fields.clear(box);
    box.appendChild(toolButton("select", "SELECT"));
    box.appendChild(toolButton("route", "ROUTE"));
    kinds.forEach(function (k) { box.appendChild(toolButton(String(k.kind), String(k.label || k.kind).toUpperCase())); });
  }
  function approachName(index) {
    var el = $("apname" + index), name = el ? String(el.textContent || "") : "";
    return name || "APPROACH " + (index + 1);
  }
  function syncBar(e) {
    var kinds = list(e.kinds), signature = JSON.stringify(kinds);
    if (signature !== kindsShown) { kindsShown = signature; buildTools(kinds); }
    var buttons = $("edtools").children;
    for (var i = 0; i < buttons.length; i++) {
      var on = buttons[i].getAttribute("data-tool") === e.tool;
      if (on) buttons[i].classList.add("primary"); else buttons[i].classList.remove("primary");
    }
    setText("edgridlabel", "GRID " + ((e.grid | 0) > 0 ? String(e.grid | 0) : "OFF"));
    setText("edapproachlabel", approachName(Math.max(0, Math.min(3, e.approach | 0))));
    setFlag("edundo", "disabled", !((e.undo | 0) > 0));
    setFlag("edredo", "disabled", !((e.redo | 0) > 0));
    setText("edname", String(e.name || "NEW MISSION"));
    setFlag("edunsaved", "shown", e.unsaved === true);
  }

  // ---- The piece list: fixed rows, scrolled so the selection stays in view ----

  function buildListRows() {
    var box = $("edlist");
    for (var i = 0; i < LIST_SLOTS; i++) {
      var row = box.appendChild(makeDiv("edrow", "edrow" + i));
      (function (slot) {
        row.addEventListener("click", function () {
          var p = list(ed && ed.pieces)[listFirst + slot];
          if (p) send({ do: "select", key: String(p.key), index: p.index | 0, add: shift });
        });
      })(i);
    }
  }
  function firstSelected(pieces) {
    for (var i = 0; i < pieces.length; i++) if (pieces[i].selected === true) return i;
    return -1;
  }
  function syncList(keepSelectionInView) {
    var pieces = list(ed.pieces), sel = firstSelected(pieces);
    if (keepSelectionInView && sel >= 0) listFirst = ui.fields.keepInView(listFirst, sel, listRows, 0);
    listFirst = Math.max(0, Math.min(listFirst, pieces.length - listRows));
    for (var slot = 0; slot < LIST_SLOTS; slot++) {
      var p = pieces[listFirst + slot], id = "edrow" + slot;
      setFlag(id, "shown", !!p && slot < listRows);
      setText(id, p ? String(p.label || p.key) : "");
      setFlag(id, "selected", !!p && p.selected === true);
      setFlag(id, "haserror", !!p && hasError(p));
    }
    setText("edlistmore", pieces.length > listRows ?
      (listFirst + 1) + "-" + Math.min(pieces.length, listFirst + listRows) + " OF " + pieces.length : "");
    setFlag("edlistup", "disabled", listFirst <= 0);
    setFlag("edlistdown", "disabled", listFirst + listRows >= pieces.length);
    setFlag("edlistnav", "shown", pieces.length > listRows);
    setText("edlistempty", pieces.length ? "" : "Nothing placed yet: choose a piece on the tool bar and click on the field.");
  }
  function hasError(p) {
    for (var i = 0; i < problems.length; i++) {
      var q = problems[i];
      if (q.severity === "error" && q.key === p.key && (q.index | 0) === (p.index | 0)) return true;
    }
    return false;
  }
  function scrollList(rows) {
    listFirst += rows;
    if (ed) syncList(false);
  }

  // ---- Properties ----

  function syncFields() {
    var defs = list(ed.fields), pieces = list(ed.pieces), sel = firstSelected(pieces);
    // A new selection or a new set of fields starts afresh; the same ones keep what is being typed.
    var signature = (sel >= 0 ? pieces[sel].key + "/" + pieces[sel].index : "") + fields.signature(defs);
    if (signature !== fieldsShown) { fieldsShown = signature; fields.build(defs); } else fields.update(defs);
    var count = 0;
    for (var i = 0; i < pieces.length; i++) if (pieces[i].selected === true) count++;
    setText("edfieldsnone", defs.length ? "" : count > 1 ? count + " PIECES SELECTED" : "NOTHING SELECTED");
    // With nothing selected the fields are the mission's own.
    setText("edpropshead", count === 0 && defs.length ? "MISSION" : "PROPERTIES");
  }

  // ---- Problems: errors first, each click selects its piece ----

  function sortedProblems(raw) {
    var errors = [], warnings = [];
    list(raw).forEach(function (p) { (p && p.severity === "error" ? errors : warnings).push(p); });
    return errors.concat(warnings);
  }
  function buildProblemRows() {
    var box = $("edproblems");
    for (var i = 0; i < PROBLEM_SLOTS[100]; i++) {
      var row = box.appendChild(makeDiv("edproblem", "edproblem" + i));
      (function (slot) {
        row.addEventListener("click", function () {
          var p = problems[problemFirst + slot];
          if (p && p.key) send({ do: "select", key: String(p.key), index: p.index | 0, add: false });
        });
      })(i);
    }
  }
  function syncProblems(size) {
    var shown = PROBLEM_SLOTS[size] || PROBLEM_SLOTS[100];
    problemFirst = Math.max(0, Math.min(problemFirst, problems.length - shown));
    var errors = 0;
    problems.forEach(function (p) { if (p.severity === "error") errors++; });
    var warnings = problems.length - errors;
    setText("edproblemcount", problems.length ?
      errors + (errors === 1 ? " ERROR  " : " ERRORS  ") + warnings + (warnings === 1 ? " WARNING" : " WARNINGS") :
      "NONE: READY TO PLAY");
    setFlag("edproblemcount", "clean", problems.length === 0);
    setFlag("edprobpanel", "clean", problems.length === 0);
    setFlag("editor", "edclean", problems.length === 0);
    for (var slot = 0; slot < PROBLEM_SLOTS[100]; slot++) {
      var p = problems[problemFirst + slot], id = "edproblem" + slot;
      setFlag(id, "shown", !!p && slot < shown);
      setText(id, p ? (p.severity === "error" ? "ERROR   " : "WARNING   ") + String(p.text || "") : "");
      setFlag(id, "warning", !!p && p.severity !== "error");
      setFlag(id, "linked", !!p && !!p.key);
    }
    setText("edproblemmore", problems.length > shown ?
      (problemFirst + 1) + "-" + Math.min(problems.length, problemFirst + shown) + " OF " + problems.length : "");
    setFlag("edprobnav", "shown", problems.length > shown);
  }

  // ---- Layout: the panel starts under the tool bar; the list takes what room is left ----

  function fitPanel() {
    var bar = $("edbar").getBoundingClientRect(), panel = $("edpanel");
    var top = Math.round(bar.bottom + 6);
    panel.style.top = top + "px";
    panel.style.height = (720 - 8 - top) + "px";
    listRows = LIST_SLOTS;
    syncList(false);
    var room = panel.getBoundingClientRect().bottom - 10 - $("edbottom").getBoundingClientRect().bottom;
    var row = $("edrow0").getBoundingClientRect(), pitch = row.bottom - row.top;
    if (pitch > 0 && room < 0) listRows = Math.max(2, LIST_SLOTS - Math.ceil(-room / pitch));
    syncList(true);
  }

  // ---- What shows ----

  function close() {
    ed = null;
    revision = null;
    layoutShown = "";
    pointerDown = false;
    fieldsShown = "";
    if (fields) fields.build([]);
  }

  function sync(s) {
    var e = s.editor && typeof s.editor === "object" ? s.editor : null;
    var editing = !!e && e.mode !== "test", testing = !!e && e.mode === "test";
    setFlag("root", "in-editor", editing);
    setFlag("root", "in-edtest", testing);
    setFlag("editor", "shown", editing);
    setFlag("edteststrip", "shown", testing);
    if (!e) { if (ed) close(); return; }
    if (!editing) { pointerDown = false; return; }
    ed = e;
    setFlag("editor", "panel-hidden", panelHidden);
    setFlag("editor", "panel-left", panelLeft);
    setFlag("editor", "on-pad", onPad());
    setText("edsidelabel", panelLeft ? "RIGHT >" : "< LEFT");
    var size = textSize(s);
    if (e.revision === revision && size === textSizeShown) { syncPadFocus(); return; }
    revision = e.revision;
    if (size !== textSizeShown) fieldsShown = "";  // the fields measure their text once
    problems = sortedProblems(e.problems);
    syncBar(e);
    syncFields();
    syncProblems(size);
    textSizeShown = size;
    // Measuring costs a layout: only when the bar or the panel's other parts changed size.
    var layout = [size, kindsShown, list(e.fields).length].join("|");
    if (layout !== layoutShown) { layoutShown = layout; fitPanel(); } else syncList(true);
    setText("ednotice", String(e.notice || ""));
    setFlag("ednotice", "shown", !!e.notice);
    setFlag("ednotice", "error", e.noticeIsError === true);
    var asking = e.asking === "leave";
    if (asking && !$("edask").classList.contains("shown")) padFocus = 0;
    setFlag("edask", "shown", asking);
    syncPadFocus();
  }

  // ---- The pad: the d-pad walks the buttons, A presses the one marked ----

  function padTargets() {
    if (ed && ed.asking === "leave") return [$("edasksave"), $("edaskdiscard"), $("edaskkeep")];
    if (panelHidden) return [$("edshow")];
    var out = [], bar = document.querySelectorAll("#edbar .btn");
    for (var i = 0; i < bar.length; i++) out.push(bar[i]);
    out.push($("edside"));
    for (var r = 0; r < listRows; r++) if ($("edrow" + r).classList.contains("shown")) out.push($("edrow" + r));
    var probs = document.querySelectorAll("#edproblems .edproblem.shown");
    for (var p = 0; p < probs.length; p++) out.push(probs[p]);
    return out;
  }
  var padMarked = null;
  function syncPadFocus() {
    var targets = onPad() ? padTargets() : [];
    var next = targets.length ? targets[((padFocus % targets.length) + targets.length) % targets.length] : null;
    if (next === padMarked) return;
    if (padMarked) padMarked.classList.remove("padfocus");
    padMarked = next;
    if (next) next.classList.add("padfocus");
  }
  function padKey(code) {
    if (code === KEY.left || code === KEY.up) padFocus--;
    else if (code === KEY.right || code === KEY.down) padFocus++;
    // A reaches the page as E where the pad plays (the edited mission is in play), Enter elsewhere.
    else if (code === KEY.enter || code === 69 || code === 32) { syncPadFocus(); if (padMarked) padMarked.click(); return true; }
    else return false;
    syncPadFocus();
    return true;
  }

  // ---- Keys ----

  function editKey(code) {
    if (ctrl) {
      if (code === 90) send({ do: shift ? "redo" : "undo" });        // Z
      else if (code === 89) send({ do: "redo" });                    // Y
      else if (code === 67) send({ do: "copy" });                    // C
      else if (code === 86) send({ do: "paste" });                   // V
      else if (code === 83) send({ do: "save" });                    // S
      return;
    }
    if (code === KEY.del || code === KEY.backspace) send({ do: ed.tool === "route" ? "deleteWaypoint" : "delete" });
    else if (code >= KEY.left && code <= KEY.down) {
      var by = shift ? ((ed.grid | 0) > 0 ? ed.grid | 0 : NUDGE_WITHOUT_GRID) : 1;
      var dx = code === KEY.left ? -by : code === KEY.right ? by : 0, dy = code === KEY.up ? -by : code === KEY.down ? by : 0;
      send({ do: "nudge", dx: dx, dy: dy });
    } else if (code === 81) send({ do: "rotate", by: -15 });         // Q
    else if (code === 69) send({ do: "rotate", by: 15 });            // E
    else if (code === 71) send({ do: "grid" });                      // G
    else if (code === 84) send({ do: "test" });                      // T
    else if (code === 72) togglePanels();                            // H
    else if (code === KEY.escape) send({ do: "leave" });
    else if (code === KEY.tab && fields.fields.length) { fields.step(shift ? -1 : +1); }
  }
  function askKey(code) {
    if (onPad() && padKey(code)) return;
    if (code === 83 || code === KEY.enter) send({ do: "answer", choice: "save" });     // S
    else if (code === 68) send({ do: "answer", choice: "discard" });                  // D
    else if (code === KEY.escape) send({ do: "answer", choice: "cancel" });
  }

  // While the editor is up every key is its own (the game leaves them to the
  // page); while test-playing they are the game's. Returns true when the
  // key was the editor's.
  function onKey(e) {
    var code = e.keyCode;
    if (code === KEY.shift) shift = true;
    if (code === KEY.control) ctrl = true;
    if (!ed || !(ui.last && ui.last.editor) || ui.last.editor.mode === "test") return false;
    if (code === KEY.shift || code === KEY.control) return true;
    if (ed.asking === "leave") askKey(code);
    else if (fields.onKey(e, ctrl, shift)) { /* the field kept it */ }
    else if (!(onPad() && padKey(code))) editKey(code);
    return true;
  }
  function onKeyUp(e) {
    if (e.keyCode === KEY.shift) shift = false;
    if (e.keyCode === KEY.control) ctrl = false;
  }
  function onPress(e) {
    if (!ed || !(ui.last && ui.last.editor) || ui.last.editor.mode === "test") return false;
    return fields.onPress(e);
  }

  function togglePanels() {
    panelHidden = !panelHidden;
    setFlag("editor", "panel-hidden", panelHidden);
    syncPadFocus();
  }

  // ---- The pointer on the field ----

  function pointer(phase, e) {
    send({ do: "pointer", phase: phase, x: e.clientX, y: e.clientY, shift: shift });
  }
  function wirePointer() {
    var surface = $("edsurface");
    surface.addEventListener("mousedown", function (e) {
      if (!ed) return;
      if (fields.active()) { fields.commitEdit(); fields.blur(); }
      pointerDown = true;
      pointer("down", e);
    });
    window.addEventListener("mousemove", function (e) {
      if (!ed) return;
      if (pointerDown || (isKindTool(ed.tool) && e.target === surface)) pointer("move", e);
    });
    window.addEventListener("mouseup", function (e) {
      if (!ed || !pointerDown) return;
      pointerDown = false;
      pointer("up", e);
    });
  }

  // ---- The dossier's entry ----

  function openFromDossier(selected) { send({ do: "open", what: selected ? "selected" : "new" }); }

  function wire() {
    fields = new ui.fields.FieldSet($("edfields"), function (name, value) {
      send({ do: "set", field: name, value: value });
    });
    buildListRows();
    buildProblemRows();
    wirePointer();
    window.addEventListener("keyup", onKeyUp);
    window.addEventListener("keypress", onPress);
    onClick("ednew", function () { openFromDossier(false); });
    onClick("edopen", function () { openFromDossier(true); });
    var simple = { edgrid: "grid", edundo: "undo", edredo: "redo", edtest: "test", edsave: "save",
                   edcode: "copyCode", edleave: "leave" };
    Object.keys(simple).forEach(function (id) { onClick(id, function () { send({ do: simple[id] }); }); });
    onClick("edapproach", function () { if (ed) send({ do: "approach", index: ((ed.approach | 0) + 1) % 4 }); });
    onClick("edside", function () { panelLeft = !panelLeft; setFlag("editor", "panel-left", panelLeft); setText("edsidelabel", panelLeft ? "RIGHT >" : "< LEFT"); });
    onClick("edhide", togglePanels);
    onClick("edshow", togglePanels);
    onClick("edlistup", function () { scrollList(-(listRows - 1)); });
    onClick("edlistdown", function () { scrollList(listRows - 1); });
    onClick("edprobup", function () { problemFirst -= 1; syncProblems(textSizeShown); });
    onClick("edprobdown", function () { problemFirst += 1; syncProblems(textSizeShown); });
    onClick("edasksave", function () { send({ do: "answer", choice: "save" }); });
    onClick("edaskdiscard", function () { send({ do: "answer", choice: "discard" }); });
    onClick("edaskkeep", function () { send({ do: "answer", choice: "cancel" }); });
  }

  ui.editor = { sync: sync, wire: wire, onKey: onKey, openFromDossier: openFromDossier,
                shiftHeld: function () { return shift; } };
})(ui);
