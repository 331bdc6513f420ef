#!/usr/bin/env python3
"""Checks the shipped mission files for what a playthrough, which wins each
mission one way, cannot see:

  mission_lint.py [--ui DIR] MISSION1.json MISSION2.json MISSION3.json MISSION4.json

- every guard has a patrol route or an axis to walk;
- for each of the four approaches, walking with the operative's radius
  through walls, furniture and closed doors, and picking up whatever keycards
  can be reached: the cipher card, the terminal, the intel, the directive,
  the exit and the alternative exit can all be reached;
- nothing the operative goes for (keycards, the cipher card, the intel, the
  terminal, the directive and the route it walks, both exits) is drawn under
  a HUD panel. The panels' rectangles are read from the page itself
  (assets/ui: the panels inside #hud in ui.html, their numbers in ui.css), so
  a new map and a reshaped HUD are checked against each other. Approaches
  only move the operative's start, so this holds for all four.
"""
import argparse
import html.parser
import json
import math
import os
import re
import sys

PLAYER_RADIUS = 12
# Where the game puts the directive and the intel when a mission leaves them out.
OBJECTIVE_DEFAULTS = [
    {"x": 610, "y": 260, "waypoints": [(610, 130), (830, 130), (830, 330), (610, 330)]},
    {"x": 580, "y": 435, "waypoints": [(580, 435), (320, 340), (610, 140)]},
    {"x": 640, "y": 310, "waypoints": []},
    {"x": 635, "y": 395, "waypoints": []},
]
DEFAULTS = {
    "player": {"x": 60, "y": 460}, "serviceSpawn": {"x": 64, "y": 95},
    "backstageSpawn": {"x": 240, "y": 485},
    "gate": {"x": 660, "y": 355, "w": 24, "h": 140},
    "card": {"x": 495, "y": 195, "r": 12}, "terminal": {"x": 780, "y": 205, "r": 18},
    "exit": {"x": 930, "y": 420, "w": 75, "h": 80},
    "altExit": {"x": 855, "y": 42, "w": 72, "h": 64}, "optionalIntel": {"x": 340, "y": 115},
}
GRID = 4

# The page is laid out 1280 x 720 over the 960 x 540 play field.
FIELD_PER_PAGE_UNIT = 960 / 1280
UI_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "ui")
# How far each thing is drawn round its point (render/scene: the bobbing
# card and keycards, the intel's pulsing ring, the directive's ring, the
# terminal's console with its tag floating above).
DRAWN_CARD = (12, 11)            # half width, half height with the bob
DRAWN_KEYCARD = (10, 10)
DRAWN_INTEL_RADIUS = 22
DRAWN_DIRECTIVE_RADIUS = 23
DRAWN_TERMINAL = (16, 34, 12)    # half width, above, below


def rect(o):
    return (o.get("x", 0), o.get("y", 0), o.get("w", 0), o.get("h", 0))


def furniture_box(f):
    w, h = f.get("w", 60), f.get("h", 36)
    return (f.get("x", 0) - w / 2, f.get("y", 0) - h / 2, w, h)


def rects_overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def circle_hits_rect(cx, cy, r, rc):
    nx = min(max(cx, rc[0]), rc[0] + rc[2])
    ny = min(max(cy, rc[1]), rc[1] + rc[3])
    return (cx - nx) ** 2 + (cy - ny) ** 2 < r * r


def point(m, key):
    v = m.get(key, DEFAULTS[key])
    return v.get("x", DEFAULTS[key]["x"]), v.get("y", DEFAULTS[key]["y"])


class Layout:
    def __init__(self, m):
        self.walls = [rect(w) for w in m.get("walls", [])]
        self.furniture = [furniture_box(f) for f in m.get("furniture", [])]
        self.doors = [(rect(d), d.get("color", "cyan")) for d in m.get("doors", [])]
        self.gate = rect(m.get("gate", DEFAULTS["gate"]))
        self.cols, self.rows = 960 // GRID + 1, 540 // GRID + 1

    def reachable(self, start, open_colors, gate_open):
        blocks = self.walls + self.furniture
        blocks += [r for r, c in self.doors if c not in open_colors]
        if not gate_open:
            blocks.append(self.gate)

        grow = PLAYER_RADIUS + GRID
        near_blocks = {}

        def free(i, j):
            # Obstacles are bucketed by 32-unit tiles so each cell tests a few.
            key = (i * GRID // 32, j * GRID // 32)
            if key not in near_blocks:
                x0, y0 = key[0] * 32, key[1] * 32
                near_blocks[key] = [bl for bl in blocks if rects_overlap(
                    (x0 - grow, y0 - grow, 32 + 2 * grow, 32 + 2 * grow), bl)]
            x, y = i * GRID, j * GRID
            return not any(circle_hits_rect(x, y, PLAYER_RADIUS, bl) for bl in near_blocks[key])

        si, sj = round(start[0] / GRID), round(start[1] / GRID)
        if not free(si, sj):
            raise AssertionError(f"spawn {start} is inside an obstacle")
        seen = {(si, sj)}
        todo = [(si, sj)]
        while todo:
            i, j = todo.pop()
            for di, dj in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                n = (i + di, j + dj)
                if n in seen or not (0 <= n[0] < self.cols + 20 and 0 <= n[1] < self.rows):
                    continue
                if free(*n):
                    seen.add(n)
                    todo.append(n)
        return [(i * GRID, j * GRID) for i, j in seen]


def near(cells, x, y, d):
    return any((cx - x) ** 2 + (cy - y) ** 2 < d * d for cx, cy in cells)


def overlaps(cells, rc):
    return any(circle_hits_rect(cx, cy, PLAYER_RADIUS, rc) for cx, cy in cells)


def check_reach(m, index, approach, layout, errors, name):
    start = {0: point(m, "serviceSpawn"), 3: point(m, "backstageSpawn")}.get(
        approach, point(m, "player"))
    held = {0: {"cyan"}, 3: {"ruby"}}.get(approach, set())
    card = m.get("card", DEFAULTS["card"])
    gate_open = False
    while True:
        cells = layout.reachable(start, held, gate_open)
        got = {k.get("color", "cyan") for k in m.get("keycards", [])
               if near(cells, k.get("x", 0), k.get("y", 0), PLAYER_RADIUS + k.get("r", 11) + 4)}
        card_ok = near(cells, card["x"], card["y"], PLAYER_RADIUS + card.get("r", 12) + 4)
        if got <= held and card_ok == gate_open:
            break
        held |= got
        gate_open = gate_open or card_ok
    where = f"{name} approach {approach}"
    if not card_ok:
        errors.append(f"{where}: the cipher card cannot be reached")
        return
    t = m.get("terminal", DEFAULTS["terminal"])
    if not near(cells, t["x"], t["y"], 55):
        errors.append(f"{where}: the safe terminal cannot be reached")
    ix, iy = point(m, "optionalIntel")
    if not near(cells, ix, iy, 26):
        errors.append(f"{where}: the optional intel cannot be reached")
    d = dict(OBJECTIVE_DEFAULTS[index])
    do = m.get("dynamicObjective", {})
    spots = [(do.get("x", d["x"]), do.get("y", d["y"]))]
    if index == 0:  # the courier walks its route from the moment the safe opens
        spots += [(w["x"], w["y"]) for w in do.get("waypoints", [])] or d["waypoints"]
    if not any(near(cells, x, y, 26) for x, y in spots):
        errors.append(f"{where}: the directive cannot be reached")
    if not overlaps(cells, rect(m.get("exit", DEFAULTS["exit"]))):
        errors.append(f"{where}: the exit cannot be reached")
    if not overlaps(cells, rect(m.get("altExit", DEFAULTS["altExit"]))):
        errors.append(f"{where}: the alternative exit cannot be reached")


class HudPanels(html.parser.HTMLParser):
    """The id and classes of every element with class "panel" inside #hud."""

    VOID = {"br", "img", "meta", "link", "hr", "input"}

    def __init__(self):
        super().__init__()
        self.stack = []
        self.panels = []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        classes = (a.get("class") or "").split()
        in_hud = any(el_id == "hud" for el_id, _ in self.stack)
        if in_hud and "panel" in classes:
            self.panels.append((a.get("id", ""), classes))
        if tag not in self.VOID:
            self.stack.append((a.get("id", ""), classes))

    def handle_endtag(self, tag):
        if tag not in self.VOID and self.stack:
            self.stack.pop()


def css_rules(css):
    """(selector, {property: value}) for every rule, in order."""
    css = re.sub(r"/\*.*?\*/", "", css, flags=re.S)
    rules = []
    for selectors, body in re.findall(r"([^{}]+)\{([^{}]*)\}", css):
        decls = {}
        for d in body.split(";"):
            if ":" in d:
                k, v = d.split(":", 1)
                decls[k.strip().lower()] = v.strip()
        for sel in selectors.split(","):
            rules.append((sel.strip(), decls))
    return rules


def matches(selector, el_id, classes):
    """Only lone compound selectors (".panel.directive", "#dirpanel") can
    match: a HUD panel's box is never set through its ancestors."""
    if not re.fullmatch(r"([.#][\w-]+)+", selector):
        return False
    for kind, name in re.findall(r"([.#])([\w-]+)", selector):
        if (kind == "#" and name != el_id) or (kind == "." and name not in classes):
            return False
    return True


def px(value, what):
    m = re.fullmatch(r"(-?[\d.]+)(px)?", value.strip())
    if not m or (m.group(2) is None and float(m.group(1)) != 0):
        raise ValueError(f"{what}: {value!r} is not a length in px")
    return float(m.group(1))


def box_extra(style):
    """(across, down): what padding and border add to a panel's width and
    height. Only the shorthands are read; a per-side length is refused."""
    for key in style:
        if re.fullmatch(r"(padding|border)-(top|right|bottom|left)(-width)?|border-width", key):
            raise ValueError(f"{key}: give padding and border as shorthands")
    pad = [px(p, "padding") for p in style.get("padding", "0").split()]
    top, right = pad[0], pad[1 % len(pad)]
    bottom, left = pad[2 % len(pad) if len(pad) > 2 else 0], pad[3 if len(pad) > 3 else 1 % len(pad)]
    border = [px(p, "border") for p in style.get("border", "").split() if re.fullmatch(r"-?[\d.]+(px)?", p)]
    edge = 2 * border[0] if border else 0.0
    return left + right + edge, top + bottom + edge


def hud_panels(ui_dir):
    """[(name, (x, y, w, h) in play-field units)] of the HUD's panels."""
    with open(os.path.join(ui_dir, "ui.html")) as f:
        parser = HudPanels()
        parser.feed(f.read())
    with open(os.path.join(ui_dir, "ui.css")) as f:
        rules = css_rules(f.read())
    panels = []
    for el_id, classes in parser.panels:
        style = {}
        for sel, decls in rules:
            if matches(sel, el_id, classes):
                style.update(decls)
        name = el_id or ".".join(classes)
        if style.get("position") != "absolute" or "left" not in style or "top" not in style:
            raise ValueError(f"HUD panel {name}: needs position: absolute with left and top")
        across, down = box_extra(style)
        w = px(style.get("width", "0"), "width") + across
        h = px(style.get("height", "0"), "height") + down
        x, y = px(style["left"], "left"), px(style["top"], "top")
        panels.append((name, tuple(v * FIELD_PER_PAGE_UNIT for v in (x, y, w, h))))
    if not panels:
        raise ValueError("no HUD panel found in ui.html (elements of class panel inside #hud)")
    return panels


def segment_near_rect(a, b, r, rc):
    """Whether a circle of radius r sliding from a to b ever touches rc."""
    steps = max(1, int(math.hypot(b[0] - a[0], b[1] - a[1]) // 2))
    return any(circle_hits_rect(a[0] + (b[0] - a[0]) * i / steps, a[1] + (b[1] - a[1]) * i / steps, r, rc)
               for i in range(steps + 1))


def reachables(m, index):
    """(what, test) for everything drawn that the operative goes for: test(rect)
    tells whether the drawing meets that rectangle."""
    things = []

    def drawn_box(what, x, y, left, top, right, bottom):
        things.append((f"{what} at ({x}, {y})", lambda rc: rects_overlap((x - left, y - top, left + right, top + bottom), rc)))

    for k in m.get("keycards", []):
        drawn_box(f"{k.get('color', 'cyan')} keycard", k.get("x", 0), k.get("y", 0), *DRAWN_KEYCARD, *DRAWN_KEYCARD)
    card = m.get("card", DEFAULTS["card"])
    drawn_box("cipher card", card["x"], card["y"], *DRAWN_CARD, *DRAWN_CARD)
    t = m.get("terminal", DEFAULTS["terminal"])
    hw, above, below = DRAWN_TERMINAL
    drawn_box("safe terminal", t["x"], t["y"], hw, above, hw, below)
    intel = m.get("optionalIntel", {})
    if intel.get("active", True):
        ix, iy = point(m, "optionalIntel")
        things.append((f"intel at ({ix}, {iy})", lambda rc: circle_hits_rect(ix, iy, DRAWN_INTEL_RADIUS, rc)))
    d = dict(OBJECTIVE_DEFAULTS[min(index, 3)])
    do = m.get("dynamicObjective", {})
    start = (do.get("x", d["x"]), do.get("y", d["y"]))
    route = [(w["x"], w["y"]) for w in do.get("waypoints", [])] or d["waypoints"]
    if index < 2 and route:  # the courier and the informant walk theirs
        path = [start] + route + [route[0]]
        things.append((f"directive route from {start}", lambda rc: any(
            segment_near_rect(a, b, DRAWN_DIRECTIVE_RADIUS, rc) for a, b in zip(path, path[1:]))))
    else:
        things.append((f"directive at {start}", lambda rc: circle_hits_rect(*start, DRAWN_DIRECTIVE_RADIUS, rc)))
    things.append(("exit", lambda rc: rects_overlap(rect(m.get("exit", DEFAULTS["exit"])), rc)))
    if m.get("altExit", {}).get("active", True):
        things.append(("alternative exit", lambda rc: rects_overlap(rect(m.get("altExit", DEFAULTS["altExit"])), rc)))
    return things


def check_hud(m, index, name, panels, errors):
    for what, meets in reachables(m, index):
        for panel, rc in panels:
            if meets(rc):
                errors.append(f"{name}: the {what} lies under the HUD panel {panel} "
                              f"({', '.join(f'{v:g}' for v in rc)} in play-field units)")


def lint(paths, ui_dir=UI_DIR):
    errors = []
    if len(paths) != 4:
        errors.append(f"expected four missions, got {len(paths)}")
    try:
        panels = hud_panels(ui_dir)
    except (OSError, ValueError) as e:
        errors.append(f"HUD: {e}")
        panels = []
    for index, p in enumerate(paths):
        with open(p) as f:
            m = json.load(f)
        name = os.path.basename(p)
        if any(len(g.get("patrol", [])) < 2 and g.get("axis", "") not in ("x", "y") for g in m.get("guards", [])):
            errors.append(f"{name}: a guard has neither a patrol route nor an axis")
        check_hud(m, index, name, panels, errors)
        layout = Layout(m)
        for approach in range(4):
            try:
                check_reach(m, index, approach, layout, errors, name)
            except AssertionError as e:
                errors.append(f"{name} approach {approach}: {e}")
    return errors


def main():
    parser = argparse.ArgumentParser(description="Checks the shipped mission files.")
    parser.add_argument("--ui", default=UI_DIR, help="the page's folder (ui.html, ui.css)")
    parser.add_argument("missions", nargs="*")
    args = parser.parse_args()
    errors = lint(args.missions, args.ui)
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        return 1
    print(f"{len(args.missions)} missions: every approach's reach and the HUD's clearance are sound")
    return 0


if __name__ == "__main__":
    sys.exit(main())
