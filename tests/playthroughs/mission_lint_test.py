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
PAGE = {name: Path(mission_lint.UI_DIR, name).read_text() for name in ("ui.html", "ui.css")}


def hud_errors(ui_dir=mission_lint.UI_DIR, change=None):
    """The HUD errors for the shipped missions, the one at change[0] edited by change[1]."""
    missions = [json.loads(Path(MISSIONS, f"mission{i}.json").read_text()) for i in range(1, 5)]
    if change:
        change[1](missions[change[0]])
    panels = mission_lint.hud_panels(ui_dir)
    errors = []
    for index, m in enumerate(missions):
        mission_lint.check_hud(m, index, f"mission{index + 1}.json", panels, errors)
    return errors


def page_dir(folder, html=PAGE["ui.html"], css=PAGE["ui.css"]):
    Path(folder, "ui.html").write_text(html)
    Path(folder, "ui.css").write_text(css)
    return folder


class HudClearance(unittest.TestCase):
    def test_goals_moved_under_a_panel_are_reported(self):
        # The top-left corner of the page is under the directive panel.
        cases = [
            (1, lambda m: m["keycards"][0].update({"x": 60, "y": 18}), "cyan keycard at (60, 18)"),
            (2, lambda m: m["terminal"].update({"x": 200, "y": 60}), "safe terminal at (200, 60)"),
            (0, lambda m: m.update({"dynamicObjective": {"waypoints": [
                {"x": 610, "y": 130}, {"x": 400, "y": 45}, {"x": 830, "y": 330}]}}), "directive route"),
            (1, lambda m: m["altExit"].update({"x": 855, "y": 20}), "alternative exit lies under"),
        ]
        for index, move, expected in cases:
            with self.subTest(expected):
                errors = hud_errors(change=(index, move))
                self.assertEqual(len(errors), 1, errors)
                self.assertIn(f"mission{index + 1}.json: ", errors[0])
                self.assertIn(expected, errors[0])

    def test_a_taller_panel_is_reported_against_every_mission_it_covers(self):
        with tempfile.TemporaryDirectory() as d:
            # The timer panel as tall as it once was covers every alternative exit.
            errors = hud_errors(page_dir(d, css=PAGE["ui.css"] + "\n#statpanel { height: 80px; }\n"))
        covered = sorted(e.split(":")[0] for e in errors if "alternative exit" in e)
        self.assertEqual(covered, [f"mission{i}.json" for i in range(1, 5)], errors)

    def test_a_page_it_cannot_read_is_refused(self):
        panel = '<div id="hud"><div class="panel"></div></div>'
        cases = [('<div id="hud"></div>', "", "no HUD panel"),
                 (panel, ".panel { position: absolute; left: 2em; top: 0; }", "not a length in px"),
                 (panel, ".panel { position: absolute; left: 0; top: 0; padding-left: 4px; }", "shorthands")]
        for html, css, message in cases:
            with self.subTest(message), tempfile.TemporaryDirectory() as d:
                with self.assertRaisesRegex(ValueError, message):
                    mission_lint.hud_panels(page_dir(d, html, css))


if __name__ == "__main__":
    unittest.main()
