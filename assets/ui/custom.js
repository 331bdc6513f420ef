// The dossier's custom operations: the player's own mission files. The panel
// shows the list the selection is in; with no custom operation yet, the tab
// opens the empty list, where PASTE CODE is.
(function (ui) {
  "use strict";
  var command = ui.command, setText = ui.setText, setFlag = ui.setFlag, onClick = ui.onClick;

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

  // The list's slots; returns the selected custom operation, or null.
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
    var last = ui.last;
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

  function wire() {
    onClick("customtab", toggleCustomView);
    onClick("pastecode", function () { command("pasteMissionCode"); });
    onClick("copycode", function () { command("copyMissionCode"); });
    for (var c = 0; c < CUSTOM_SLOTS; c++) {
      (function (slot) {
        onClick("cust" + slot, function () { command("selectCustomMission", customFirst + slot); });
      })(c);
    }
  }

  ui.custom = {
    sync: syncCustom, syncFile: syncCustomFile, selection: customSelection, step: stepOperation,
    wire: wire
  };
})(ui);
