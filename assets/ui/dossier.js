// The dossier: the campaign's operations, the file of the selected one with
// its approaches and best runs, and the question before a waiting mission is
// thrown away. Its custom operations are custom.js's, the requisition list
// requisition.js's.
(function (ui) {
  "use strict";
  var $ = ui.$, command = ui.command, setText = ui.setText, setFlag = ui.setFlag;
  var arr = ui.arr, makeDiv = ui.makeDiv, onClick = ui.onClick;

  // The operation rows: one per mission the state names ("missionCount",
  // "missionNames"), stacked down the panel above its PREV / NEXT buttons,
  // built when the count changes.
  var OP_FIRST_TOP = 44, OP_PITCH = 94;  // px
  var opRows = 0;
  // The approach rows are the page's own; the game names them (window.nameApproaches).
  var approachRows = document.querySelectorAll(".approach").length;

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
    ["op", "opname", "opstatus", "opbadge"].forEach(function (id) { ui.forgetShown(id + i); });
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
      setFlag("op" + i, "selected", i === sel && ui.custom.selection(s) < 0);
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
    var custom = ui.custom.sync(s);
    if (custom) {
      ui.custom.syncFile(custom);
      setFlag("locknote", "shown", false);
      setFlag("file", "locked-sel", false);
      setFlag("begin", "disabled", !!custom.error);
    }
    setFlag("resumeop", "shown", s.missionInProgress === true);
    setText("budget", "" + (s.intelBudget | 0));
  }

  // The dossier's question before a waiting mission is thrown away.
  function syncQuitAsk(s) {
    setFlag("quitask", "shown", (s.gameState | 0) === 0 && s.confirmQuit === true);
  }

  // The approach names are the game's: it sends them once, when the page is ready.
  window.nameApproaches = function (names) {
    for (var a = 0; a < approachRows; a++) setText("apname" + a, String(arr(names, a, "")));
  };

  function wire() {
    for (var a = 0; a < approachRows; a++) {
      (function (index) {
        onClick("ap" + index, function () { command("setApproach", index); });
      })(a);
    }
    onClick("prevop", function () { command("prevMission"); });
    onClick("nextop", function () { command("nextMission"); });
    onClick("begin", function () { command("startOrAdvance"); });
    onClick("resumeop", function () { command("openDossier"); });
    // With a mission waiting, the game asks first (askQuit); otherwise the
    // host quits at once, as P and Esc do.
    onClick("quit", function () { command(ui.last && ui.last.missionInProgress === true ? "askQuit" : "quitGame"); });
    onClick("askquit", function () { command("quitGame"); });
    onClick("askresume", function () { command("openDossier"); });
  }

  // The game acts on its own keys (Enter, Tab, P, R, F1-F4, Space, E, Esc);
  // the page adds browsing the operations and the mission codes, while no
  // question or list covers the dossier.
  function onKey(e) {
    var last = ui.last;
    if (!last || (last.gameState | 0) !== 0 || last.confirmQuit === true || last.requisitionOpen === true ||
        last.campaignEnd === true || last.confirmNewCampaign === true) return;
    if (e.keyCode === 37) ui.custom.step(last, -1);
    else if (e.keyCode === 39) ui.custom.step(last, +1);
    // Mission codes: V pastes and C copies, with Ctrl or without (a pad's X and Y).
    else if (e.keyCode === 86) command("pasteMissionCode");
    else if (e.keyCode === 67) command("copyMissionCode");
    // The mission editor: M makes a new mission, Shift+M edits the selected operation.
    else if (e.keyCode === 77) ui.editor.openFromDossier(ui.editor.shiftHeld());
  }

  ui.dossier = { sync: syncDossier, syncQuitAsk: syncQuitAsk, wire: wire, onKey: onKey };
})(ui);
