// The few form controls the page needs, over the engine's key and mouse
// events (it has no inputs and no focus of its own): a text or number field
// with a caret and a selection, a choice list and a colour choice. One field
// at a time holds the keys; while it does, every key-down it is given is
// kept from the game (preventDefault), as a focused input keeps its keys in
// a browser. Typed text arrives as "keypress" events whose key is the text.
(function (ui) {
  "use strict";
  var makeDiv = ui.makeDiv;

  // Colour names the game's pieces use, and what they look like.
  var SWATCHES = {
    red: "#c41e3a", blue: "#2f6fd6", green: "#2e8b57", yellow: "#d4af37", cyan: "#06b6d4",
    ruby: "#c41e3a", emerald: "#2e8b57", sapphire: "#2f6fd6", gold: "#d4af37", amber: "#e08a1e",
    violet: "#8a4fd0", purple: "#8a4fd0", orange: "#e08a1e", white: "#e8e2d0", black: "#10141c",
    magenta: "#c23aa8", pink: "#e06a9a", brass: "#b8913a", silver: "#aab4c4", grey: "#7a8494", gray: "#7a8494"
  };
  function isColourChoice(f) {
    if (f.kind !== "choice" || !f.choices || !f.choices.length) return false;
    if (f.name === "color" || f.name === "colour") return true;
    for (var i = 0; i < f.choices.length; i++) if (!SWATCHES[String(f.choices[i]).toLowerCase()]) return false;
    return true;
  }

  var KEY = { backspace: 8, tab: 9, enter: 13, shift: 16, control: 17, escape: 27, end: 35, home: 36,
              left: 37, up: 38, right: 39, down: 40, del: 46, a: 65 };

  // Where the text of a field being typed in stands: the caret, and the
  // other end of the selection (equal to the caret when nothing is selected).
  function TextEdit(text) {
    this.text = String(text);
    this.caret = this.text.length;
    this.anchor = 0;  // a field entered with the keys starts with everything selected
  }
  TextEdit.prototype.from = function () { return Math.min(this.caret, this.anchor); };
  TextEdit.prototype.to = function () { return Math.max(this.caret, this.anchor); };
  TextEdit.prototype.moveTo = function (at, extend) {
    this.caret = Math.max(0, Math.min(this.text.length, at));
    if (!extend) this.anchor = this.caret;
  };
  TextEdit.prototype.insert = function (typed) {
    var from = this.from();
    this.text = this.text.substring(0, from) + typed + this.text.substring(this.to());
    this.moveTo(from + typed.length, false);
  };
  // Backspace (-1) or Delete (+1): the selection, else one character beside the caret.
  TextEdit.prototype.erase = function (direction) {
    if (this.from() === this.to()) {
      var other = this.caret + direction;
      if (other < 0 || other > this.text.length) return;
      this.anchor = other;
    }
    this.insert("");
  };

  function clear(el) {
    var kids = el.children;
    for (var i = kids.length - 1; i >= 0; i--) el.removeChild(kids[i]);
  }

  // What may be typed into a number field: digits, one sign, one point.
  function numberChars(typed) { return typed.replace(/[^0-9.\-]/g, ""); }
  function printable(typed) { return typed.replace(/[\u0000-\u001f\u007f]/g, ""); }
  function decimals(x) {
    var s = String(x), dot = s.indexOf(".");
    return dot < 0 ? 0 : s.length - dot - 1;
  }

  // Fields by the properties' order; `commit(name, value)` sends one, always
  // as text (the game parses it and refuses what is out of range).
  function FieldSet(container, commit) {
    this.container = container;
    this.commit = commit;
    this.fields = [];     // {def, row, value element, kind}
    this.focus = -1;      // the field holding the keys, -1 when none
    this.edit = null;     // TextEdit of the focused text or number field
  }

  FieldSet.prototype.signature = function (defs) {
    return JSON.stringify(defs.map(function (f) {
      return [f.name, f.kind, f.min, f.max, f.choices];
    }));
  };

  // Builds a row per field, keeping nothing of the old rows; values are
  // shown by update().
  FieldSet.prototype.build = function (defs) {
    var self = this;
    clear(this.container);
    this.fields = [];
    this.focus = -1;
    this.edit = null;
    defs.forEach(function (def, index) {
      var colour = isColourChoice(def);
      var kind = colour ? "colour" : def.kind === "choice" ? "choice" : def.kind === "info" ? "info" :
        def.kind === "number" ? "number" : "text";
      var row = self.container.appendChild(makeDiv("frow frow-" + kind));
      row.appendChild(makeDiv("fname")).textContent = String(def.name).toUpperCase();
      var box = row.appendChild(makeDiv("fbox"));
      var field = { def: def, row: row, box: box, kind: kind, shown: null };
      if (kind === "colour") {
        (def.choices || []).forEach(function (choice) {
          var sw = box.appendChild(makeDiv("swatch"));
          sw.style.backgroundColor = SWATCHES[String(choice).toLowerCase()] || "#7a8494";
          sw.setAttribute("data-choice", String(choice));
          sw.addEventListener("click", function () { self.focusField(index); self.choose(index, String(choice)); });
        });
      } else if (kind === "choice") {
        var prev = box.appendChild(makeDiv("fstep")); prev.textContent = "<";
        box.appendChild(makeDiv("fchoice"));
        var next = box.appendChild(makeDiv("fstep")); next.textContent = ">";
        prev.addEventListener("click", function () { self.focusField(index); self.stepChoice(index, -1); });
        next.addEventListener("click", function () { self.focusField(index); self.stepChoice(index, +1); });
      } else if (kind !== "info") {
        box.addEventListener("mousedown", function (e) { self.pointAt(index, e); });
      }
      self.fields.push(field);
    });
    this.update(defs);
  };

  // Shows each field's value as the game sent it, except the one being typed in.
  FieldSet.prototype.update = function (defs) {
    for (var i = 0; i < this.fields.length; i++) {
      var f = this.fields[i];
      f.def = defs[i] || f.def;
      if (i === this.focus && this.edit) continue;
      this.show(i);
    }
  };

  FieldSet.prototype.show = function (index) {
    var f = this.fields[index], value = String(f.def.value === undefined ? "" : f.def.value);
    var focused = index === this.focus;
    var key = (focused ? "F" : "") + (this.edit && focused ? JSON.stringify([this.edit.text, this.edit.caret, this.edit.anchor]) : value);
    if (f.shown === key) return;
    f.shown = key;
    if (focused) f.row.classList.add("focused"); else f.row.classList.remove("focused");
    if (f.kind === "colour") {
      var sws = f.box.children;
      for (var s = 0; s < sws.length; s++) {
        if (sws[s].getAttribute("data-choice") === value) sws[s].classList.add("chosen");
        else sws[s].classList.remove("chosen");
      }
      return;
    }
    // A key the file leaves out, with no value of its own to show (a guard's axis): NONE.
    if (f.kind === "choice") { f.box.children[1].textContent = value ? value.toUpperCase() : "NONE"; return; }
    clear(f.box);
    if (!(focused && this.edit)) {
      f.box.appendChild(document.createElement("span")).textContent = value;
      return;
    }
    // One span per character, so a click can find the gap it is nearest to;
    // a text longer than the box shows the stretch the caret is in.
    var e = this.edit, from = e.from(), to = e.to();
    f.scroll = Math.min(f.scroll || 0, e.caret);
    if (f.fits > 0) {
      f.scroll = Math.min(f.scroll, Math.max(0, e.text.length - f.fits));  // no room left empty at the end
      if (e.caret > f.scroll + f.fits) f.scroll = e.caret - f.fits;
    }
    for (var c = f.scroll; c <= e.text.length; c++) {
      if (c === e.caret) f.box.appendChild(makeDiv("caret"));
      if (c === e.text.length) break;
      var ch = f.box.appendChild(document.createElement("span"));
      ch.className = c >= from && c < to ? "fc sel" : "fc";
      ch.textContent = e.text.charAt(c) === " " ? "\u00a0" : e.text.charAt(c);
    }
    if (!(f.fits > 0) && e.text.length > 0) {
      // The field's font is monospaced: how many characters fit, measured once.
      var one = f.box.querySelector(".fc").getBoundingClientRect(), box = f.box.getBoundingClientRect();
      if (one.width > 0 && box.width > 0) {
        f.fits = Math.max(1, Math.floor((box.width - 12) / one.width) - 1);
        f.shown = null;
        this.show(index);
        return;
      }
    }
    var bad = f.kind === "number" && !this.inRange(f.def, e.text);
    if (bad) f.row.classList.add("bad"); else f.row.classList.remove("bad");
  };

  FieldSet.prototype.inRange = function (def, text) {
    if (!/^-?(\d+\.?\d*|\.\d+)$/.test(text)) return false;
    var v = Number(text);
    return !(typeof def.min === "number" && v < def.min) && !(typeof def.max === "number" && v > def.max);
  };

  FieldSet.prototype.focusField = function (index) {
    if (index === this.focus) return;
    var old = this.focus;
    this.focus = index;
    this.edit = null;
    var f = this.fields[index];
    if (f) f.scroll = 0;
    if (f && (f.kind === "number" || f.kind === "text")) this.edit = new TextEdit(f.def.value === undefined ? "" : f.def.value);
    if (old >= 0 && this.fields[old]) { this.fields[old].row.classList.remove("bad"); this.show(old); }
    if (f) this.show(index);
  };
  FieldSet.prototype.blur = function () {
    var old = this.focus;
    this.focus = -1;
    this.edit = null;
    if (old >= 0 && this.fields[old]) { this.fields[old].row.classList.remove("bad"); this.show(old); }
  };
  FieldSet.prototype.active = function () { return this.focus >= 0 && !!this.fields[this.focus]; };

  // The next field that takes input, wrapping; info rows are skipped.
  FieldSet.prototype.step = function (direction) {
    var n = this.fields.length;
    for (var k = 1; k <= n; k++) {
      var i = ((this.focus + direction * k) % n + n) % n;
      if (this.fields[i].kind !== "info") { this.focusField(i); return; }
    }
  };

  FieldSet.prototype.send = function (index, text) {
    var f = this.fields[index];
    if (f) this.commit(f.def.name, String(text));
  };
  FieldSet.prototype.commitEdit = function () {
    if (this.edit && this.edit.text !== String(this.fields[this.focus].def.value)) this.send(this.focus, this.edit.text);
  };
  FieldSet.prototype.choose = function (index, value) {
    if (String(this.fields[index].def.value) !== value) this.send(index, value);
  };
  FieldSet.prototype.stepChoice = function (index, direction) {
    var f = this.fields[index], list = f.def.choices || [];
    if (!list.length) return;
    var at = list.indexOf(String(f.def.value));
    this.send(index, String(list[((at + direction) % list.length + list.length) % list.length]));
  };
  FieldSet.prototype.stepNumber = function (direction) {
    var f = this.fields[this.focus], v = Number(this.edit.text);
    if (!isFinite(v) || this.edit.text === "") v = Number(f.def.value) || 0;
    var unit = decimals(f.def.value) > 0 ? Math.pow(10, -decimals(f.def.value)) : 1;
    var next = v + direction * unit;
    if (typeof f.def.min === "number") next = Math.max(f.def.min, next);
    if (typeof f.def.max === "number") next = Math.min(f.def.max, next);
    var text = String(Number(next.toFixed(decimals(f.def.value))));
    if (text === this.edit.text && text === String(f.def.value)) return;  // already at the end of its range
    this.edit = new TextEdit(text);
    this.edit.anchor = this.edit.caret;
    this.send(this.focus, text);
    this.show(this.focus);
  };

  // A press in a text or number field: the caret goes to the gap nearest the pointer.
  FieldSet.prototype.pointAt = function (index, e) {
    this.focusField(index);
    if (!this.edit) return;
    var chars = this.fields[index].box.querySelectorAll(".fc"), at = chars.length;
    for (var i = 0; i < chars.length; i++) {
      var r = chars[i].getBoundingClientRect();
      if (e.clientX < (r.left + r.right) / 2) { at = i; break; }
    }
    this.edit.moveTo((this.fields[index].scroll || 0) + at, false);
    this.show(index);
  };

  // A key-down while a field holds the keys. Returns true when the field
  // kept it (and then prevents its default, so the game never sees it).
  FieldSet.prototype.onKey = function (e, ctrl, shift) {
    if (!this.active()) return false;
    var f = this.fields[this.focus], code = e.keyCode, ed = this.edit;
    if (code === KEY.shift || code === KEY.control) return false;
    if (e.preventDefault) e.preventDefault();
    if (code === KEY.escape) { this.blur(); return true; }
    if (code === KEY.tab) { this.commitEdit(); this.step(shift ? -1 : +1); return true; }
    if (code === KEY.enter) { this.commitEdit(); this.blur(); return true; }
    if (f.kind === "choice" || f.kind === "colour") {
      if (code === KEY.left || code === KEY.right) this.stepChoice(this.focus, code === KEY.left ? -1 : +1);
      return true;
    }
    if (!ed) return true;
    if (code === KEY.left) ed.moveTo(ed.from() !== ed.to() && !shift ? ed.from() : ed.caret - 1, shift);
    else if (code === KEY.right) ed.moveTo(ed.from() !== ed.to() && !shift ? ed.to() : ed.caret + 1, shift);
    else if (code === KEY.home) ed.moveTo(0, shift);
    else if (code === KEY.end) ed.moveTo(ed.text.length, shift);
    else if (code === KEY.backspace) ed.erase(-1);
    else if (code === KEY.del) ed.erase(+1);
    else if (code === KEY.a && ctrl) { ed.anchor = 0; ed.caret = ed.text.length; }
    else if ((code === KEY.up || code === KEY.down) && f.kind === "number") { this.stepNumber(code === KEY.up ? +1 : -1); return true; }
    this.show(this.focus);
    return true;
  };

  // Typed text for the field being typed in; false when none is.
  FieldSet.prototype.onPress = function (e) {
    if (!this.active() || !this.edit) return false;
    var typed = printable(String(e.key || ""));
    if (this.fields[this.focus].kind === "number") typed = numberChars(typed);
    if (e.preventDefault) e.preventDefault();
    if (typed) { this.edit.insert(typed); this.show(this.focus); }
    return true;
  };

  // The first row a scrolled list shows so that row `index` is in view,
  // with `headroom` rows above it when it nears the top.
  function keepInView(first, index, visible, headroom) {
    if (index < first + headroom) first = Math.max(0, index - headroom);
    if (index >= first + visible) first = index - visible + 1;
    return first;
  }
  // The step (0..steps) of a slider bar under the pointer; null when the
  // bar is not laid out or the event has no position.
  function stepAt(bar, clientX, steps) {
    var r = bar && bar.getBoundingClientRect ? bar.getBoundingClientRect() : null;
    if (!r || !(r.width > 0) || typeof clientX !== "number") return null;
    return Math.max(0, Math.min(steps, Math.round((clientX - r.left) / r.width * steps)));
  }

  ui.fields = { FieldSet: FieldSet, TextEdit: TextEdit, isColourChoice: isColourChoice, clear: clear, KEY: KEY,
                keepInView: keepInView, stepAt: stepAt };
})(ui);
