#!/usr/bin/env python3
"""Checks the shipped mission files for what a playthrough, which wins each
mission one way, cannot see: that every guard can walk and that every
approach reaches every goal (assets/missions/README.md says how).

  mission_lint.py MISSION1.json MISSION2.json MISSION3.json MISSION4.json
"""
import argparse
import json
import os
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


def lint(paths):
    errors = []
    if len(paths) != 4:
        errors.append(f"expected four missions, got {len(paths)}")
    for index, p in enumerate(paths):
        with open(p) as f:
            m = json.load(f)
        name = os.path.basename(p)
        if any(len(g.get("patrol", [])) < 2 and g.get("axis", "") not in ("x", "y") for g in m.get("guards", [])):
            errors.append(f"{name}: a guard has neither a patrol route nor an axis")
        layout = Layout(m)
        for approach in range(4):
            try:
                check_reach(m, index, approach, layout, errors, name)
            except AssertionError as e:
                errors.append(f"{name} approach {approach}: {e}")
    return errors


def main():
    parser = argparse.ArgumentParser(description="Checks the shipped mission files.")
    parser.add_argument("missions", nargs="*")
    args = parser.parse_args()
    errors = lint(args.missions)
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        return 1
    print(f"{len(args.missions)} missions: every approach reaches every goal")
    return 0


if __name__ == "__main__":
    sys.exit(main())
