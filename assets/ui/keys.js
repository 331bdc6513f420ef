// Every key the page names, by what it does. Hints, buttons and prompts read
// their labels from ui.keys, so the player's bindings and another input
// device swap them in one place. The game sends the keys as bound
// ("keyNames") and the pad's buttons as bound ("padButtons"); these are the
// defaults for a host that sends neither.
(function (ui) {
  "use strict";

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
      buy: "ENTER", newCampaign: "N", pasteCode: "CTRL+V", copyCode: "CTRL+C",
      watchReplay: "V", replayPause: k.pause, replaySpeed: "1 2 4", replayRestart: k.retry,
      replayLeave: "ANY KEY",
      editorNew: "M", editorEdit: "SHIFT+M", editorGrid: "G", editorUndo: "CTRL+Z", editorRedo: "CTRL+Y",
      editorTest: "T", editorSave: "CTRL+S", editorHide: "H", editorLeave: "ESC", editorAskSave: "S",
      editorAskDiscard: "D", editorReturn: "ESC"
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
      buy: b.interact, newCampaign: b.retry, pasteCode: b.takedown, copyCode: b.retry,
      watchReplay: b.takedown, replayPause: "D-PAD", replaySpeed: "D-PAD", replayRestart: b.retry,
      replayLeave: b.interact,
      // The editor's keys have no buttons: the d-pad walks its buttons and A presses them.
      editorNew: "", editorEdit: "", editorGrid: "", editorUndo: "", editorRedo: "", editorTest: "",
      editorSave: "", editorHide: "", editorLeave: "", editorAskSave: "", editorAskDiscard: "",
      editorReturn: b.cancel
    };
  }
  function merged(defaults, sent) {
    var out = {};
    for (var k in defaults) out[k] = sent && typeof sent[k] === "string" && sent[k] ? sent[k] : defaults[k];
    return out;
  }
  function boundKeys(s) { return merged(DEFAULT_KEY_NAMES, s.keyNames); }
  function boundButtons(s) { return merged(DEFAULT_PAD_BUTTONS, s.padButtons); }

  ui.keys = keyboardKeys(DEFAULT_KEY_NAMES);

  // Key labels from the table, at start and when the device changes.
  function labelKeys() {
    var tagged = document.querySelectorAll("[data-key]");
    for (var i = 0; i < tagged.length; i++) {
      var label = ui.keys[tagged[i].getAttribute("data-key")];
      if (typeof label !== "string") continue;
      if (label) tagged[i].textContent = label;
      if (label) tagged[i].classList.remove("nokey"); else tagged[i].classList.add("nokey");
    }
    // A hint for a key the device has no button for goes with its words.
    var needs = document.querySelectorAll("[data-needs]");
    for (var n = 0; n < needs.length; n++) {
      needs[n].style.display = ui.keys[needs[n].getAttribute("data-needs")] ? "" : "none";
    }
  }

  // Hints name the keys, as bound, of the device the player used last.
  var keysShown = "";
  function syncDevice(s) {
    var pad = s.inputDevice === "gamepad";
    var names = boundKeys(s), buttons = boundButtons(s);
    var signature = (pad ? "pad:" : "keys:") + JSON.stringify(pad ? buttons : names);
    ui.setFlag("root", "on-pad", pad);
    if (signature === keysShown) return;
    keysShown = signature;
    ui.keys = pad ? padKeys(buttons) : keyboardKeys(names);
    labelKeys();
  }

  ui.device = { sync: syncDevice, labelKeys: labelKeys, boundKeys: boundKeys, boundButtons: boundButtons };
})(ui);
