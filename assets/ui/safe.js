// The safe terminal: three tumblers, each to be stopped inside its window.
(function (ui) {
  "use strict";
  var command = ui.command, setFlag = ui.setFlag, setStyle = ui.setStyle, onClick = ui.onClick;

  var TWO_PI = Math.PI * 2;

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

  function wire() {
    onClick("tap", function () { command("triggerTumblerTap"); });
    onClick("abort", function () { command("abortSafe"); });
  }

  ui.safe = { sync: syncSafe, wire: wire };
})(ui);
