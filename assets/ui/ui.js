// The page's entry, run after every screen's script: each frame's state
// handed to the screens, the keys the page handles itself, and the start.
(function (ui) {
  "use strict";

  // The order is kept: the HUD measures its prompts mid-way, laying out what
  // the screens before it have set.
  window.syncGameState = function (s) {
    ui.last = s;
    ui.device.sync(s);
    ui.options.syncTextSize(s);
    ui.showScreen(s.gameState | 0);
    ui.dossier.sync(s);
    ui.hud.sync(s);
    ui.hud.syncBanner(s);
    ui.end.sync(s);
    ui.safe.sync(s);
    ui.dossier.syncQuitAsk(s);
    ui.requisition.sync(s);
    ui.campaign.sync(s);
    ui.options.sync(s);
    ui.pause.syncAudio(s);
    ui.replay.sync(s);
    ui.editor.sync(s);
  };

  ui.device.labelKeys();
  ui.end.labelThresholds();
  [ui.dossier, ui.custom, ui.requisition, ui.campaign, ui.pause, ui.end, ui.safe, ui.options, ui.replay, ui.editor].forEach(
    function (screen) { screen.wire(); });

  // The game acts on its own keys (Enter, Tab, P, R, F1-F4, Space, E, Esc);
  // the page adds only what the game leaves to it: every key while the
  // mission editor is up, walking the options screen's rows (the game holds
  // every key but Esc then), else browsing the dossier.
  window.addEventListener("keydown", function (e) {
    if (ui.editor.onKey(e)) return;
    if (!ui.options.onKey(e)) ui.dossier.onKey(e);
  });

  ui.showScreen(0);
})(ui);
