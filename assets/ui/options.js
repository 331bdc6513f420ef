// The options screen, over the dossier or the pause screen: sound, display,
// assists, the controller and the key bindings, walked with the arrows or
// the d-pad and clicked with the mouse; and the text size it sets for every
// screen.
(function (ui) {
  "use strict";
  var $ = ui.$, command = ui.command, setText = ui.setText, setFlag = ui.setFlag, setStyle = ui.setStyle;
  var makeDiv = ui.makeDiv, onClick = ui.onClick;

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
    { label: "GHOST OF YOUR BEST RUN", kind: "flag", row: 15, value: function (o) { return onOff(o.ghost); } },
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
    var step = ui.fields.stepAt($("obar"), e.clientX, 20);
    if (step === null) return;
    var v = step * 5;
    var last = ui.last;
    if (!last || !last.settings || last.settings.volume !== v) command("setVolume", v);
  }

  // direction: -1 left, +1 right, 0 Enter or a click.
  function activate(index, direction) {
    var r = OPTION_ROWS[index], o = (ui.last && ui.last.settings) || {};
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
    var names = ui.device.boundKeys(s), buttons = ui.device.boundButtons(s);
    var visible = VISIBLE_ROWS[o.textSize] || VISIBLE_ROWS[100];
    // The selected row stays in sight, with its section heading when it is near the top.
    optFirst = ui.fields.keepInView(optFirst, optSelected, visible, 1);
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
    if (size !== textSizeShown) {
      textSizeShown = size;
      ui.hud.forgetMeasures();
    }
  }

  // While the options are up the game holds every key but Esc: the arrows
  // and Enter walk and change the rows here. Says whether the key was the
  // options screen's.
  function onKey(e) {
    var last = ui.last;
    if (!(last && last.optionsOpen === true)) return false;
    if (e.keyCode === 38) moveSelection(-1);
    else if (e.keyCode === 40) moveSelection(+1);
    else if (e.keyCode === 37) activate(optSelected, -1);
    else if (e.keyCode === 39) activate(optSelected, +1);
    else if (e.keyCode === 13) activate(optSelected, 0);
    syncOptions(last);
    return true;
  }

  function wire() {
    onClick("options", function () { command("openOptions"); });
    onClick("poptions", function () { command("openOptions"); });
    onClick("optback", function () { command("closeOptions"); });
    onClick("optup", function () { moveSelection(-1); if (ui.last) syncOptions(ui.last); });
    onClick("optdown", function () { moveSelection(+1); if (ui.last) syncOptions(ui.last); });
  }

  ui.options = { sync: syncOptions, syncTextSize: syncTextSize, onKey: onKey, wire: wire };
})(ui);
