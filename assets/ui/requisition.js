// The requisition list, in place of the dossier's approaches while it is up;
// each perk's price, BUY while it can be afforded and OWNED once bought. The
// HUD carries each owned perk's mark.
(function (ui) {
  "use strict";
  var command = ui.command, setText = ui.setText, setFlag = ui.setFlag, onClick = ui.onClick;

  var PERK_ROWS = 3;
  function syncRequisition(s) {
    var perks = s.perks || [];
    var open = (s.gameState | 0) === 0 && s.requisitionOpen === true;
    setFlag("file", "req-open", open);
    setText("reqbtntext", open ? "APPROACHES" : "REQUISITION");
    var budget = s.intelBudget | 0, choice = s.requisitionChoice | 0;
    for (var i = 0; i < PERK_ROWS; i++) {
      var p = perks[i] || null;
      var owned = !!(p && p.owned);
      setFlag("pm" + i, "shown", owned);
      if (p) setText("pm" + i, String(p.mark || ""));
      setFlag("perk" + i, "absent", !p);
      if (!p || !open) continue;
      var price = p.price | 0;
      setText("perkname" + i, String(p.name || ""));
      setText("perkeffect" + i, String(p.effect || ""));
      setText("perkprice" + i, price + " INTEL");
      setText("perkbuy" + i, owned ? "OWNED" : "BUY");
      setFlag("perk" + i, "selected", i === choice);
      setFlag("perk" + i, "owned", owned);
      setFlag("perkbuy" + i, "disabled", !owned && price > budget);
    }
  }

  function wire() {
    onClick("reqbtn", function () { command("toggleRequisition"); });
    for (var p = 0; p < PERK_ROWS; p++) {
      (function (index) {
        onClick("perkbuy" + index, function () { command("buyPerk", index); });
      })(p);
    }
  }

  ui.requisition = { sync: syncRequisition, wire: wire };
})(ui);
