#!/usr/bin/env python3
"""Custom operations through nightjar-sim as the dossier drives them: the
missions folder with hostile entries listed in the page state's
"customMissions", a custom operation won without save.dat or the campaign
changing, and a mission code copied and pasted into another player's folder.

  custom_missions_test.py NJTOOL NIGHTJAR_SIM CAMPAIGN_FILE FIXTURES_DIR
"""
import json
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from njcheck import expect, finish, run, write  # noqa: E402

NJTOOL, SIM, CAMPAIGN, FIXTURES = (os.path.abspath(a) for a in sys.argv[1:5])
PREFIX = "window.syncGameState && window.syncGameState("


def player_folder(root):
    """A portable game folder: the campaign in it, so every player file is kept there."""
    os.makedirs(os.path.join(root, "missions"))
    shutil.copy(CAMPAIGN, os.path.join(root, "campaign_maps.json"))
    return root


def sim(cwd, script):
    r = run([SIM, "-"], cwd=cwd, input=script, timeout=120,
            env=dict(os.environ, XDG_DATA_HOME=os.path.join(cwd, "xdg")))
    expect(r.returncode == 0, f"nightjar-sim in {cwd}: exit {r.returncode} {r.stderr}")
    return r.stdout.splitlines()


def page_state(line):
    expect(line.startswith(PREFIX) and line.endswith(");"), f"not a page state: {line[:80]}")
    return json.loads(line[len(PREFIX):-2])


def main():
    tmp = tempfile.mkdtemp(prefix="nj-custom-")
    quick = os.path.join(FIXTURES, "quick_win.json")

    # One player's folder: a won first operation saved, the quick mission and
    # every kind of hostile entry among the custom ones.
    home = player_folder(os.path.join(tmp, "home"))
    missions = os.path.join(home, "missions")
    save = "1 640 0 0 0\n1 0 0 0 \n"
    write(os.path.join(home, "save.dat"), save)
    shutil.copy(quick, os.path.join(missions, "quick.json"))
    write(os.path.join(missions, "not.json"), "hello")
    write(os.path.join(missions, "big.json"), " " * (10 << 20))
    os.mkdir(os.path.join(missions, "dir.json"))
    os.mkfifo(os.path.join(missions, "pipe.json"))

    with open(os.path.join(FIXTURES, "quick_win.sim")) as f:
        route = f.read()  # chooses F4, begins and wins, then prints
    out = sim(home, "pagestate\ncall selectCustomMission 4\n" + route +
              "call copyMissionCode\nprintclipboard\n"
              "call startOrAdvance\ncall selectMission 0\nprint\n")
    expect(len(out) == 4, f"home run printed {len(out)} lines")
    if len(out) == 4:
        listed = page_state(out[0])
        unreadable = ":1:1: cannot read it: a mission is a regular file of at most 1 MiB"
        expect(listed["customMissions"] == [
            {"file": "big.json", "name": "big.json", "theme": "", "desc": "", "error": "big.json" + unreadable},
            {"file": "dir.json", "name": "dir.json", "theme": "", "desc": "", "error": "dir.json" + unreadable},
            {"file": "not.json", "name": "not.json", "theme": "", "desc": "",
             "error": "not.json:1:1: Unexpected character in JSON: 'h'"},
            {"file": "pipe.json", "name": "pipe.json", "theme": "", "desc": "", "error": "pipe.json" + unreadable},
            {"file": "quick.json", "name": "OPERATION QUICK", "theme": "casino", "desc": "", "error": None},
        ], f"custom list: {listed['customMissions']}")
        expect(listed["customIndex"] == -1 and listed["customFolder"] == "missions",
               f"selection and folder: {listed['customIndex']} {listed['customFolder']}")
        expect(listed["missionCount"] == 4 and listed["highestUnlocked"] == 1,
               "the campaign is not the dossier's first list")

        # Won through the page's commands; what a custom win leaves the
        # campaign and save.dat is the game tests' (custom_operations_test).
        won, back = json.loads(out[1]), json.loads(out[3])
        expect(won["gameState"] == 3 and won["missionName"] == "OPERATION QUICK"
               and won["lastIntelAward"] == 0, f"custom win: {out[1][:300]}")
        expect(back["gameState"] == 0 and back["missionName"] == listed["missionNames"][0],
               f"back to the campaign: {back['missionName']}")
        r = run([NJTOOL, "mission", "code", quick])
        expect(r.returncode == 0 and out[2] == r.stdout.strip(), "COPY CODE is not njtool's code")

        # A friend pastes the code: saved as one line in their missions
        # folder, listed and selected.
        friend = player_folder(os.path.join(tmp, "friend"))
        pasted = sim(friend, f"clipboard {out[2]}\ncall pasteMissionCode\npagestate\n")
        saved = os.listdir(os.path.join(friend, "missions"))
        expect(len(saved) == 1 and saved[0].endswith(".nj3m") and len(pasted) == 1,
               f"pasted files: {saved}")
        if saved and pasted:
            with open(os.path.join(friend, "missions", saved[0])) as f:
                expect(f.read() == out[2] + "\n", "the saved code is not the pasted one")
            state = page_state(pasted[0])
            expect([m["name"] for m in state["customMissions"]] == ["OPERATION QUICK"]
                   and state["customIndex"] == 0, f"pasted: {state['customMissions']}")

    with open(os.path.join(home, "save.dat")) as f:
        expect(f.read() == save, "save.dat changed")
    expect(sorted(os.listdir(home)) == ["campaign_maps.json", "missions", "save.dat"],
           f"new files beside the save: {os.listdir(home)}")

    shutil.rmtree(tmp, ignore_errors=True)
    return finish("custom missions")


if __name__ == "__main__":
    sys.exit(main())
