// The campaign's end (CAMPAIGN COMPLETE over the dossier, every operation's
// best grade) and the question before a new campaign wipes the old one.
(function (ui) {
  "use strict";
  var command = ui.command, setText = ui.setText, setFlag = ui.setFlag, arr = ui.arr, onClick = ui.onClick;

  var CAMPAIGN_ROWS = 4;
  function syncCampaign(s) {
    var briefing = (s.gameState | 0) === 0;
    var end = briefing && s.campaignEnd === true;
    var ask = briefing && s.confirmNewCampaign === true;
    setFlag("campend", "shown", end && !ask);
    setFlag("newask", "shown", ask);
    if (end) {
      var names = s.missionNames || [], count = Math.min(CAMPAIGN_ROWS, s.missionCount | 0);
      for (var i = 0; i < CAMPAIGN_ROWS; i++) {
        setFlag("ce" + i, "absent", i >= count);
        if (i >= count) continue;
        var rec = arr(s.records, i, null);
        var best = rec && rec.grade ? rec.grade : rec && rec.assistedGrade ? rec.assistedGrade + " (ASSISTED)" : arr(s.missionGrades, i, "--");
        setText("ce" + i + "name", String(arr(names, i, "")));
        setText("ce" + i + "grade", best);
      }
      setText("ceintel", "" + (s.intelBudget | 0));
      var owned = [];
      var perks = s.perks || [];
      for (var p = 0; p < perks.length; p++) if (perks[p] && perks[p].owned) owned.push(perks[p].mark);
      setText("ceperks", owned.length ? owned.join(" ") : "NONE");
    }
    if (ask) {
      setText("newasknote", "The unlocked operations, your " + (s.intelBudget | 0) +
              " NIA intel and the perks you own will be lost.");
    }
  }

  function wire() {
    onClick("newcamp", function () { command("askNewCampaign"); });
    onClick("cenew", function () { command("askNewCampaign"); });
    onClick("cecontinue", function () { command("closeDialog"); });
    onClick("newcancel", function () { command("closeDialog"); });
    onClick("newstart", function () { command("newCampaign"); });
  }

  ui.campaign = { sync: syncCampaign, wire: wire };
})(ui);
