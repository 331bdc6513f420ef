// A run watched again: the bar with its clock, speed and controls over the
// watched game, the end screens' WATCH REPLAY, and why a replay file was
// refused. The shell plays the replay; the page only shows it and asks.
(function (ui) {
  "use strict";
  var command = ui.command, setText = ui.setText, setFlag = ui.setFlag, onClick = ui.onClick;
  var SPEEDS = [1, 2, 4];

  function stateText(r) {
    if (r.ended) return "END OF REPLAY";
    return r.paused ? "PAUSED" : "PLAYING";
  }

  function sync(s) {
    var r = s.replay && typeof s.replay === "object" ? s.replay : null;
    var watching = !!(r && r.watching);
    var notice = r && typeof r.notice === "string" ? r.notice : "";
    setFlag("root", "in-replay", watching);
    setFlag("replaybar", "shown", watching);
    setFlag("replaynotice", "shown", !!notice);
    setText("replaynoticetext", notice);
    if (!watching) return;
    setText("rclock", "" + (r.clock || "00:00"));
    setText("rstate", stateText(r));
    setFlag("rstate", "held", !!(r.paused || r.ended));
    setText("rpauselabel", r.ended ? "AGAIN" : r.paused ? "PLAY" : "PAUSE");
    for (var i = 0; i < SPEEDS.length; i++) setFlag("rs" + SPEEDS[i], "primary", (r.speed | 0) === SPEEDS[i]);
    // The bar lies over the field's bottom edge: the watched operative is never hidden by it.
    ui.hud.fadeUnderOperative("replaybar", s);
  }

  function wire() {
    onClick("cwatch", function () { command("watchReplay"); });
    onClick("fwatch", function () { command("watchReplay"); });
    onClick("rpause", function () { command("replayPause"); });
    SPEEDS.forEach(function (speed) {
      onClick("rs" + speed, function () { command("replaySpeed", speed); });
    });
    onClick("rrestart", function () { command("replayRestart"); });
    onClick("rleave", function () { command("leaveReplay"); });
  }

  ui.replay = { sync: sync, wire: wire };
})(ui);
