// The pause screen over the HUD, and the audio switch it shares with the
// dossier.
(function (ui) {
  "use strict";
  var command = ui.command, setText = ui.setText, onClick = ui.onClick;

  function syncAudio(s) {
    var audio = s.audioEnabled === false ? "AUDIO OFF" : "AUDIO ON";
    setText("audio", audio);
    setText("paudio", audio);
  }

  function wire() {
    onClick("audio", function () { command("toggleAudio"); });
    onClick("resume", function () { command("togglePause"); });
    onClick("pretry", function () { command("retryMission"); });
    onClick("pdossier", function () { command("openDossier"); });
    onClick("paudio", function () { command("toggleAudio"); });
    onClick("pquit", function () { command("quitGame"); });
  }

  ui.pause = { syncAudio: syncAudio, wire: wire };
})(ui);
