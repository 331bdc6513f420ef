// The page-side DOM bridge: element, document and window objects, events and
// timers, written over a handful of native primitives on the hidden object
// "__nj" (see script_host.cpp). It runs in every page before the page's own
// scripts; the build embeds it in the engine (cmake/EmbedText.cmake).
(function (g, nj) {
'use strict';
function report(e) {
  var text = (e && e.stack) ? (e + '\n' + e.stack) : String(e);
  nj.log(0, 'Uncaught ' + text);
}
function safeCall(fn, self, args) {
  try {
    if (typeof fn === 'function') fn.apply(self, args);
    else if (fn && typeof fn.handleEvent === 'function') fn.handleEvent.apply(fn, args);
  } catch (e) { report(e); }
}

// Events: listeners per target and type, bubbling from the target through its
// ancestors to the document and the window.
var listeners = new WeakMap();
function addListener(target, type, fn) {
  if (typeof fn !== 'function' && !(fn && typeof fn.handleEvent === 'function')) return;
  var byType = listeners.get(target);
  if (!byType) { byType = new Map(); listeners.set(target, byType); }
  var list = byType.get(String(type));
  if (!list) { list = []; byType.set(String(type), list); }
  if (list.indexOf(fn) < 0) list.push(fn);
}
function removeListener(target, type, fn) {
  var byType = listeners.get(target);
  var list = byType && byType.get(String(type));
  if (!list) return;
  var i = list.indexOf(fn);
  if (i >= 0) list.splice(i, 1);
}
function Event(type, props) {
  this.type = type;
  this.defaultPrevented = false;
  this.cancelBubble = false;
  this.timeStamp = nj.clock();
  for (var k in props) this[k] = props[k];
}
Event.prototype.preventDefault = function () { this.defaultPrevented = true; };
Event.prototype.stopPropagation = function () { this.cancelBubble = true; };
Event.prototype.stopImmediatePropagation = function () { this.cancelBubble = true; };
g.Event = Event;

// What a browser throws when a tree edit is refused.
var DOM_ERROR_CODES = { HierarchyRequestError: 3, InvalidCharacterError: 5, NotFoundError: 8 };
function DOMException(message, name) {
  this.message = message === undefined ? '' : String(message);
  this.name = name === undefined ? 'Error' : String(name);
  this.code = DOM_ERROR_CODES[this.name] || 0;
}
DOMException.prototype = Object.create(Error.prototype);
DOMException.prototype.constructor = DOMException;
g.DOMException = DOMException;

nj.dispatch = function (target, type, props) {
  var doc = g.document;
  var ev = new Event(type, props);
  ev.target = target || doc;
  var path = [];
  for (var n = target; n; n = n.parentElement) path.push(n);
  // An element outside the page reaches only its own ancestors.
  if (!path.length || path[path.length - 1] === doc.documentElement) path.push(doc, g);
  for (var i = 0; i < path.length && !ev.cancelBubble; i++) {
    var byType = listeners.get(path[i]);
    var list = byType && byType.get(type);
    ev.currentTarget = path[i];
    var snapshot = list ? list.slice() : [];
    for (var j = 0; j < snapshot.length; j++) safeCall(snapshot[j], path[i], [ev]);
    var handler = path[i]['on' + type];
    if (typeof handler === 'function') safeCall(handler, path[i], [ev]);
  }
  return !ev.defaultPrevented;
};

// Elements. Wrappers are made natively with this prototype.
function kebab(name) {
  if (name.indexOf('-') >= 0) return name.toLowerCase();
  return name.replace(/[A-Z]/g, function (c) { return '-' + c.toLowerCase(); });
}
function parseStyle(text) {
  var map = new Map();
  String(text || '').split(';').forEach(function (decl) {
    var i = decl.indexOf(':');
    if (i < 0) return;
    var key = decl.slice(0, i).trim().toLowerCase();
    if (key) map.set(key, decl.slice(i + 1).trim());
  });
  return map;
}
function writeStyle(el, map) {
  var parts = [];
  map.forEach(function (v, k) { parts.push(k + ': ' + v); });
  nj.setAttr(el, 'style', parts.join('; '));
}
function setStyle(el, name, value) {
  var map = parseStyle(nj.getAttr(el, 'style'));
  value = value === null || value === undefined ? '' : String(value).trim();
  var old = map.get(name);
  if (old === value || (value === '' && old === undefined)) return;  // no restyle for no change
  if (value === '') map.delete(name); else map.set(name, value);
  writeStyle(el, map);
}
function styleOf(el) {
  return new Proxy({}, {
    get: function (_, p) {
      if (typeof p !== 'string') return undefined;
      if (p === 'cssText') return nj.getAttr(el, 'style') || '';
      if (p === 'setProperty') return function (n, v) { setStyle(el, kebab(String(n)), v); };
      if (p === 'removeProperty') return function (n) { setStyle(el, kebab(String(n)), ''); };
      if (p === 'getPropertyValue') return function (n) { return parseStyle(nj.getAttr(el, 'style')).get(kebab(String(n))) || ''; };
      return parseStyle(nj.getAttr(el, 'style')).get(kebab(p)) || '';
    },
    set: function (_, p, v) {
      if (typeof p !== 'string') return true;
      if (p === 'cssText') nj.setAttr(el, 'style', String(v));
      else setStyle(el, kebab(p), v);
      return true;
    }
  });
}
function classes(el) {
  return String(nj.getAttr(el, 'class') || '').split(/\s+/).filter(function (c) { return c; });
}
function ClassList(el) { this._el = el; }
ClassList.prototype.contains = function (c) { return classes(this._el).indexOf(String(c)) >= 0; };
ClassList.prototype.add = function () {
  var list = classes(this._el);
  for (var i = 0; i < arguments.length; i++) if (list.indexOf(String(arguments[i])) < 0) list.push(String(arguments[i]));
  nj.setAttr(this._el, 'class', list.join(' '));
};
ClassList.prototype.remove = function () {
  var drop = Array.prototype.map.call(arguments, String);
  nj.setAttr(this._el, 'class', classes(this._el).filter(function (c) { return drop.indexOf(c) < 0; }).join(' '));
};
ClassList.prototype.toggle = function (c, force) {
  var on = force === undefined ? !this.contains(c) : !!force;
  if (on) this.add(c); else this.remove(c);
  return on;
};
ClassList.prototype.item = function (i) { var l = classes(this._el); return i < l.length ? l[i] : null; };
Object.defineProperty(ClassList.prototype, 'length', { get: function () { return classes(this._el).length; } });
Object.defineProperty(ClassList.prototype, 'value', { get: function () { return classes(this._el).join(' '); } });
ClassList.prototype.forEach = function (fn, self) { classes(this._el).forEach(fn, self); };

var proto = nj.elementProto;
function accessor(name, get, set) {
  Object.defineProperty(proto, name, { get: get, set: set, configurable: true });
}
accessor('id', function () { return nj.getAttr(this, 'id') || ''; }, function (v) { nj.setAttr(this, 'id', String(v)); });
accessor('tagName', function () { return nj.tag(this); });
accessor('nodeName', function () { return nj.tag(this); });
accessor('nodeType', function () { return 1; });
accessor('textContent', function () { return nj.getText(this); }, function (v) { nj.setText(this, v === null || v === undefined ? '' : String(v)); });
accessor('innerText', function () { return nj.getText(this); }, function (v) { nj.setText(this, v === null || v === undefined ? '' : String(v)); });
accessor('className', function () { return nj.getAttr(this, 'class') || ''; }, function (v) { nj.setAttr(this, 'class', String(v)); });
accessor('classList', function () { return new ClassList(this); });
accessor('style', function () { return styleOf(this); }, function (v) { nj.setAttr(this, 'style', String(v)); });
accessor('hidden', function () { return nj.getAttr(this, 'hidden') !== null; },
  function (v) { if (v) nj.setAttr(this, 'hidden', ''); else nj.removeAttr(this, 'hidden'); });
accessor('parentElement', function () { return nj.parent(this); });
accessor('parentNode', function () {
  return nj.parent(this) || (this === g.document.documentElement ? g.document : null);
});
accessor('children', function () { return nj.children(this); });
accessor('dataset', function () {
  var el = this;
  return new Proxy({}, {
    get: function (_, p) { if (typeof p !== 'string') return undefined; var v = nj.getAttr(el, 'data-' + kebab(p)); return v === null ? undefined : v; },
    set: function (_, p, v) { if (typeof p === 'string') nj.setAttr(el, 'data-' + kebab(p), String(v)); return true; }
  });
});
proto.getAttribute = function (n) { return nj.getAttr(this, String(n).toLowerCase()); };
proto.setAttribute = function (n, v) { nj.setAttr(this, String(n).toLowerCase(), String(v)); };
proto.removeAttribute = function (n) { nj.removeAttr(this, String(n).toLowerCase()); };
proto.hasAttribute = function (n) { return nj.getAttr(this, String(n).toLowerCase()) !== null; };
proto.querySelector = function (s) { return nj.select(this, String(s), false); };
proto.querySelectorAll = function (s) { return nj.select(this, String(s), true); };
proto.getElementsByClassName = function (c) { return nj.select(this, '.' + String(c).trim().split(/\s+/).join('.'), true); };
proto.getElementsByTagName = function (t) { return nj.select(this, String(t), true); };
proto.addEventListener = function (t, fn) { addListener(this, t, fn); };
proto.removeEventListener = function (t, fn) { removeListener(this, t, fn); };
proto.contains = function (other) { for (var n = other; n; n = n.parentElement) if (n === this) return true; return false; };
proto.getBoundingClientRect = function () { return nj.rect(this); };
proto.click = function () { nj.dispatch(this, 'click', { button: 0, clientX: 0, clientY: 0 }); };
function treeEdit(verb, refusal, what) {
  if (refusal === 'NotAnElement') throw new TypeError(verb + ': ' + what + ' is not an element');
  if (refusal === 'Cycle') throw new DOMException(verb + ': the new child contains the parent', 'HierarchyRequestError');
  if (refusal === 'TooDeep') throw new DOMException(verb + ': elements nest at most 512 deep', 'HierarchyRequestError');
  if (refusal === 'NotAChild') throw new DOMException(verb + ': ' + what + ' is not a child of this element', 'NotFoundError');
}
proto.appendChild = function (node) {
  treeEdit('appendChild', nj.insert(this, node, null), 'the node');
  return node;
};
proto.insertBefore = function (node, ref) {
  var refusal = nj.insert(this, node, ref);
  treeEdit('insertBefore', refusal, refusal === 'NotAChild' ? 'the reference node' : 'a node');
  return node;
};
proto.removeChild = function (node) {
  treeEdit('removeChild', nj.remove(this, node), 'the node');
  return node;
};
proto.focus = function () {};
proto.blur = function () {};

var doc = {
  nodeType: 9,
  getElementById: function (id) { return nj.byId(String(id)); },
  createElement: function (name) {
    name = String(name);
    if (!/^[A-Za-z][A-Za-z0-9_.:-]*$/.test(name)) throw new DOMException("createElement: '" + name + "' is not a valid element name", 'InvalidCharacterError');
    return nj.create(name);
  },
  querySelector: function (s) { return nj.select(null, String(s), false); },
  querySelectorAll: function (s) { return nj.select(null, String(s), true); },
  getElementsByClassName: function (c) { return nj.select(null, '.' + String(c).trim().split(/\s+/).join('.'), true); },
  getElementsByTagName: function (t) { return nj.select(null, String(t), true); },
  addEventListener: function (t, fn) { addListener(doc, t, fn); },
  removeEventListener: function (t, fn) { removeListener(doc, t, fn); },
  get documentElement() { return nj.select(null, 'html', false); },
  get body() { return nj.select(null, 'body', false); },
  get readyState() { return nj.readyState; }
};
g.document = doc;
g.window = g;
g.self = g;
g.addEventListener = function (t, fn) { addListener(g, t, fn); };
g.removeEventListener = function (t, fn) { removeListener(g, t, fn); };

function logger(level) {
  return function () {
    nj.log(level, Array.prototype.map.call(arguments, function (a) {
      if (typeof a === 'string') return a;
      try { var s = JSON.stringify(a); return s === undefined ? String(a) : s; } catch (e) { return String(a); }
    }).join(' '));
  };
}
g.console = { log: logger(2), info: logger(2), debug: logger(2), warn: logger(1), error: logger(0) };
g.performance = { now: function () { return nj.clock(); } };

// Timers and animation frames, run from the renderer's update through nj.tick.
var nextId = 1;
var timers = new Map();
var frames = new Map();
function nextDue() {
  if (frames.size) return 0;
  var due = Infinity;
  timers.forEach(function (t) { if (t.due < due) due = t.due; });
  return due;
}
function addTimer(fn, ms, args, repeat) {
  var delay = Math.max(0, Number(ms) || 0);
  var id = nextId++;
  timers.set(id, { fn: fn, args: args, due: nj.clock() + delay, every: repeat ? Math.max(1, delay) : 0, order: id });
  nj.wake(nextDue());
  return id;
}
g.setTimeout = function (fn, ms) { return addTimer(fn, ms, Array.prototype.slice.call(arguments, 2), false); };
g.setInterval = function (fn, ms) { return addTimer(fn, ms, Array.prototype.slice.call(arguments, 2), true); };
g.clearTimeout = g.clearInterval = function (id) { timers.delete(id); };
g.requestAnimationFrame = function (fn) { var id = nextId++; frames.set(id, fn); nj.wake(0); return id; };
g.cancelAnimationFrame = function (id) { frames.delete(id); };
nj.tick = function (now, runFrames) {
  if (runFrames) {
    var batch = frames;
    frames = new Map();
    batch.forEach(function (fn) { safeCall(fn, g, [now]); });
  }
  var due = [];
  var limit = now + 0.001;  // clock sums are not exact; a microsecond early counts as due
  timers.forEach(function (t, id) { if (t.due <= limit) due.push([id, t]); });
  due.sort(function (a, b) { return a[1].due - b[1].due || a[1].order - b[1].order; });
  for (var i = 0; i < due.length; i++) {
    var id = due[i][0], t = due[i][1];
    if (timers.get(id) !== t) continue;
    if (t.every) {
      t.due += t.every;
      if (t.due <= limit) t.due = now + t.every;  // no catch-up bursts after a stall
    } else {
      timers.delete(id);
    }
    if (typeof t.fn === 'function') safeCall(t.fn, g, t.args);
    else if (typeof t.fn === 'string') { try { (0, eval)(t.fn); } catch (e) { report(e); } }
  }
  return nextDue();
};
})(this, __nj);
