// The end screens: the win with its grade, intel, what it improved and the
// score's breakdown, and the failure with its reason.
(function (ui) {
  "use strict";
  var command = ui.command, setText = ui.setText, setFlag = ui.setFlag, onClick = ui.onClick;

  // Why a mission failed ("failReason"): a heading and what to do next time.
  // An unknown or missing reason gets "other". Built when asked, so the
  // advice names the keys bound then.
  function failReasons() {
    return {
      laser: ["LASER GRID CONTACT",
              "A live beam touched the operative. The grid blinks off every few seconds: cross while it is dark."],
      detected: ["DETECTION FULL",
                 "The operative was identified. Keep out of sight lines, sneak (" + ui.keys.sneak + ") and use smoke (" +
                 ui.keys.interact + ") when the meter runs high."],
      expired: ["DIRECTIVE EXPIRED",
                "The timed directive ran out. Its clock starts when the safe opens: know the way before you crack it."],
      other: ["OPERATIVE COMPROMISED", "The operative was compromised."]
    };
  }

  // The grade a score reaches, best first; below the last step is C.
  var GRADE_STEPS = [["S+", 105], ["S", 90], ["A", 75], ["B", 60]];

  // The win screen names what the win improved.
  function newsText(s) {
    var n = s.recordNews || {}, bests = [];
    if (n.grade) bests.push("GRADE");
    if (n.score) bests.push("SCORE");
    if (n.time) bests.push("TIME");
    var said = n.first ? "FIRST WIN" : bests.length ? "NEW BEST " + bests.join(" + ") : "";
    return said && s.recordAssisted === true ? "ASSISTED " + said : said;
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
    // A win with an assist on says so beside its grade.
    setFlag("assisted", "shown", s.recordAssisted === true);
    syncBreakdown(s);
    if ((s.gameState | 0) !== 4) return;
    var reasons = failReasons();
    var reason = reasons.hasOwnProperty(s.failReason) && s.failReason !== "other" ? reasons[s.failReason] : reasons.other;
    setText("failhead", reason[0]);
    setText("failnote", reason[1]);
  }

  // The grade bands under the breakdown's score.
  function labelThresholds() {
    for (var g = 0; g < GRADE_STEPS.length; g++) setText("th" + g, GRADE_STEPS[g][0] + " " + GRADE_STEPS[g][1]);
    setText("th" + GRADE_STEPS.length, "C BELOW");
  }

  function wire() {
    onClick("cnext", function () { command("startOrAdvance"); });
    onClick("cretry", function () { command("retryMission"); });
    onClick("fretry", function () { command("retryMission"); });
    onClick("fdossier", function () { command("openDossier"); });
    onClick("fquit", function () { command("quitGame"); });
  }

  ui.end = { sync: syncEnd, labelThresholds: labelThresholds, wire: wire };
})(ui);
