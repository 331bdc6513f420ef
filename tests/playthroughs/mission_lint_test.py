#!/usr/bin/env python3
"""The layout lint must catch what it is there for: a goal moved under a HUD
panel, a HUD panel grown over a goal, and a page it cannot read."""
import json
import os
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import mission_lint  # noqa: E402

MISSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "missions")
PATHS = [os.path.join(MISSIONS, f"mission{i}.json") for i in range(1, 5)]


def load_missions():
    return [json.loads(Path(p).read_text()) for p in PATHS]


def write_page(folder, html, css):
    with open(os.path.join(folder, "ui.html"), "w") as f:
        f.write(html)
    with open(os.path.join(folder, "ui.css"), "w") as f:
        f.write(css)


class HudClearance(unittest.TestCase):
    def hud_errors(self, missions, ui_dir=mission_lint.UI_DIR):
        panels = mission_lint.hud_panels(ui_dir)
        errors = []
        for index, m in enumerate(missions):
            mission_lint.check_hud(m, index, f"mission{index + 1}.json", panels, errors)
        return errors

    def test_each_kind_of_goal_moved_under_a_panel_is_reported(self):
        # The top-left corner of the page is under the directive panel.
        corner = {"x": 60, "y": 18}
        cases = [
            ("keycard", 1, lambda m: m["keycards"][0].update(corner), "cyan keycard at (60, 18)"),
            ("cipher card", 0, lambda m: m["card"].update(corner), "cipher card at (60, 18)"),
            ("terminal", 2, lambda m: m["terminal"].update({"x": 200, "y": 60}), "safe terminal at (200, 60)"),
            ("intel", 3, lambda m: m["optionalIntel"].update({"x": 400, "y": 50}), "intel at (400, 50)"),
            ("directive", 2, lambda m: m["dynamicObjective"].update({"x": 120, "y": 50}),
             "directive at (120, 50)"),
            ("courier route", 0, lambda m: m.update({"dynamicObjective": {"waypoints": [
                {"x": 610, "y": 130}, {"x": 400, "y": 45}, {"x": 830, "y": 330}]}}), "directive route"),
            ("exit", 3, lambda m: m["exit"].update({"x": 300, "y": 10}), "the exit lies under"),
            ("alternative exit", 1, lambda m: m["altExit"].update({"x": 855, "y": 20}),
             "alternative exit lies under"),
        ]
        for what, index, move, expected in cases:
            with self.subTest(what):
                missions = load_missions()
                move(missions[index])
                errors = self.hud_errors(missions)
                self.assertEqual(len(errors), 1, errors)
                self.assertIn(f"mission{index + 1}.json: ", errors[0])
                self.assertIn(expected, errors[0])

    def test_a_taller_panel_is_reported_against_every_mission_it_covers(self):
        with open(os.path.join(mission_lint.UI_DIR, "ui.html")) as f:
            html = f.read()
        with open(os.path.join(mission_lint.UI_DIR, "ui.css")) as f:
            css = f.read()
        with tempfile.TemporaryDirectory() as d:
            # The timer panel as tall as it once was covers every alternative exit.
            write_page(d, html, css + "\n#statpanel { height: 80px; }\n")
            errors = self.hud_errors(load_missions(), d)
        covered = sorted(e.split(":")[0] for e in errors if "alternative exit" in e)
        self.assertEqual(covered, [f"mission{i}.json" for i in range(1, 5)], errors)


class PanelGeometry(unittest.TestCase):
    def panels(self, html, css):
        with tempfile.TemporaryDirectory() as d:
            write_page(d, html, css)
            return mission_lint.hud_panels(d)

    def test_page_units_become_play_field_units_with_padding_and_borders(self):
        html = '<div id="hud"><div class="panel wide" id="a"></div><div class="panel"></div></div>' \
               '<div class="panel" id="elsewhere"></div>'
        css = """/* the shape every panel shares */
            .panel { position: absolute; border: 2px solid rgba(1,2,3,0.5); left: 0; top: 0; }
            .wide, .other { left: 100px; top: 40px; width: 200px; height: 20px; padding: 0 10px; }
            #root .wide { height: 500px; }"""
        # 200 + 2 * 10 padding + 2 * 2 border = 224 wide, 20 + 4 = 24 high, times 0.75;
        # a descendant rule never sizes a panel, and one outside #hud is no HUD panel.
        self.assertEqual(self.panels(html, css), [("a", (75.0, 30.0, 168.0, 18.0)), ("panel", (0.0, 0.0, 3.0, 3.0))])

    def test_a_page_without_hud_panels_or_with_other_units_is_refused(self):
        cases = [
            ('<div id="hud"><div class="clock"></div></div>', ".clock { left: 0; }", "no HUD panel"),
            ('<div id="hud"><div class="panel"></div></div>', ".panel { position: absolute; left: 2em; top: 0; }",
             "not a length in px"),
            ('<div id="hud"><div class="panel"></div></div>', ".panel { left: 0; top: 0; }", "position: absolute"),
        ]
        for html, css, message in cases:
            with self.subTest(message):
                with self.assertRaisesRegex(ValueError, message):
                    self.panels(html, css)


if __name__ == "__main__":
    unittest.main()
