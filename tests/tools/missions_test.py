#!/usr/bin/env python3
"""Missions as a level designer (njtool mission check, nightjar-sim --mission) and a player
(custom operations, hostile entries, a friend's pasted code) meet them.
  missions_test.py NJTOOL NIGHTJAR_SIM CAMPAIGN_FILE FIXTURES_DIR"""
import json
import os
import pathlib
import shutil
import sys
import tempfile

from toolcheck import expect, finish, hostile_files, run, write

NJTOOL, SIM, CAMPAIGN, FIXTURES = (os.path.abspath(a) for a in sys.argv[1:5])
QUICK = os.path.join(FIXTURES, "quick_win.json")
QUICK_ROUTE = os.path.join(FIXTURES, "quick_win.sim")  # chooses F4, begins and wins, then prints
PREFIX = "window.syncGameState && window.syncGameState("
HOME = tempfile.mkdtemp(prefix="nj-missions-home-")  # the player's folders, kept empty
ENV = dict(os.environ, XDG_DATA_HOME=os.path.join(HOME, "data"),
           XDG_CONFIG_HOME=os.path.join(HOME, "config"))


def sim(cwd, *args, script=None):
    return run([SIM, *args, "-" if script is not None else QUICK_ROUTE], cwd=cwd, env=ENV,
               input=script, timeout=120)


def page_state(line):
    expect(line.startswith(PREFIX) and line.endswith(");"), f"not a page state: {line[:80]}")
    return json.loads(line[len(PREFIX):-2])


def check_cli(tmp):
    quick = json.loads(pathlib.Path(QUICK).read_text())
    broken = write(os.path.join(tmp, "broken.json"),
                   json.dumps(dict(quick, guards=[{"x": "seven", "axis": "x"}]), indent=2))
    line = f"{broken}:50:12: guards[0].x: expected a number, got a string"
    warned = write(os.path.join(tmp, "warned.json"), json.dumps(quick) + " trailing")
    r = run([NJTOOL, "mission", "code", QUICK])
    code = r.stdout  # the mission code: one line, checked and played like the file
    expect(r.returncode == 0 and code.count("\n") == 1 and code.startswith("NJ3M_V1."),
           f"code: {r.returncode} {r.stderr}")
    code_path = write(os.path.join(tmp, "quick.code"), code)
    # (arguments, exit status, what stderr holds); a changed code wherever it changed.
    cases = [([broken], 1, line + "\n"), ([warned], 0, "warning: text after the mission"),
             (["--strict", warned], 1, ""), (["--strict", code_path], 0, "")]
    for where in (10, code.index(".", 9) + 5, len(code) // 2, len(code) - 3):
        changed = code[:where] + ("1" if code[where] != "1" else "2") + code[where + 1:]
        cases.append(([write(os.path.join(tmp, f"changed{where}.code"), changed)], 1,
                      "the mission code is refused: INTEGRITY COMPROMISED"))
    for args, status, said in cases:
        r = run([NJTOOL, "mission", "check", *args], env=ENV)
        expect(r.returncode == status and said in r.stderr, f"check {args}: {r.returncode} {r.stderr}")
    r = run([NJTOOL, "mission", "code", broken])
    expect(r.returncode == 1 and r.stdout == "" and "guards[0].x" in r.stderr,
           f"code of a broken mission: {r.returncode} {r.stdout}")

    # Played on its own, the file or its code: a campaign of one, won, and no player file written.
    play = os.path.join(tmp, "play")
    os.mkdir(play)
    for mission in (QUICK, code_path):
        r = sim(play, "--mission", mission)
        state = json.loads(r.stdout.splitlines()[-1]) if r.returncode == 0 else {}
        expect(state.get("gameState") == 3 and state.get("missionCount") == 1
               and state.get("missionName") == "OPERATION QUICK",
               f"--mission {mission}: {r.returncode} {r.stderr} {r.stdout[-300:]}")
        expect(os.listdir(play) == [] and os.listdir(HOME) == [],
               f"--mission {mission} wrote {os.listdir(play)} {os.listdir(HOME)}")
    # A broken file is not played: its errors reach stderr and the page.
    r = sim(play, "--mission", broken, script="pagestate\n")
    expect(r.returncode == 0 and r.stderr == line + "\n", f"--mission broken: {r.stderr}")
    expect('"missionErrors":[' + json.dumps(line) + "]" in r.stdout,
           f"--mission broken pagestate: {r.stdout[-400:]}")
    return code


def player_folder(root):
    """A portable game folder: the campaign in it, so every player file is kept there."""
    os.makedirs(os.path.join(root, "missions"))
    shutil.copy(CAMPAIGN, os.path.join(root, "campaign_maps.json"))
    return root


def check_custom(tmp, code):
    # A won first operation saved, the quick mission and every hostile entry.
    home = player_folder(os.path.join(tmp, "home"))
    missions = os.path.join(home, "missions")
    save = write(os.path.join(home, "save.dat"), "1 640 0 0 0\n1 0 0 0 \n")
    shutil.copy(QUICK, os.path.join(missions, "quick.json"))
    for what, path in hostile_files(missions, "", "hello").items():
        if what != "missing":
            os.rename(path, os.path.join(missions, what.split()[-1] + ".json"))
    r = sim(home, script="pagestate\ncall selectCustomMission 4\n" + open(QUICK_ROUTE).read() +
            "call copyMissionCode\nprintclipboard\ncall startOrAdvance\ncall selectMission 0\n"
            "print\n")
    out = r.stdout.splitlines()
    if not expect(r.returncode == 0 and len(out) == 4, f"home run: {r.returncode} {r.stderr}"):
        return
    listed = page_state(out[0])
    unreadable = ":1:1: cannot read it: a mission is a regular file of at most 1 MiB"
    expect(listed["customMissions"] == [
        {"file": f"{n}.json", "name": f"{n}.json", "theme": "", "desc": "", "error": f"{n}.json{e}"}
        for n, e in (("folder", unreadable), ("format", ":1:1: Unexpected character in JSON: 'h'"),
                     ("huge", unreadable), ("pipe", unreadable))] + [
        {"file": "quick.json", "name": "OPERATION QUICK", "theme": "casino", "desc": "", "error": None},
    ], f"custom list: {listed['customMissions']}")
    expect(listed["customIndex"] == -1 and listed["customFolder"] == "missions"
           and listed["missionCount"] == 4 and listed["highestUnlocked"] == 1,
           f"selection, folder or campaign: {out[0][:300]}")
    # Won through the page's commands; what a custom win leaves the campaign
    # and save.dat is the game tests' (custom_operations_test).
    won, back = json.loads(out[1]), json.loads(out[3])
    expect(won["gameState"] == 3 and won["missionName"] == "OPERATION QUICK"
           and won["lastIntelAward"] == 0, f"custom win: {out[1][:300]}")
    expect(back["gameState"] == 0 and back["missionName"] == listed["missionNames"][0],
           f"back to the campaign: {back['missionName']}")
    expect(out[2] == code.strip(), "COPY CODE is not njtool's code")

    # A friend pastes the code: saved as one line in their missions folder,
    # listed and selected.
    friend = player_folder(os.path.join(tmp, "friend"))
    pasted = sim(friend, script=f"clipboard {out[2]}\ncall pasteMissionCode\npagestate\n").stdout
    saved = os.listdir(os.path.join(friend, "missions"))
    if expect(len(saved) == 1 and saved[0].endswith(".nj3m") and pasted, f"pasted: {saved}"):
        expect(pathlib.Path(friend, "missions", saved[0]).read_text() == out[2] + "\n",
               "the saved code is not the pasted one")
        state = page_state(pasted.splitlines()[0])
        expect([m["name"] for m in state["customMissions"]] == ["OPERATION QUICK"]
               and state["customIndex"] == 0, f"pasted: {state['customMissions']}")
    expect(pathlib.Path(save).read_text() == "1 640 0 0 0\n1 0 0 0 \n", "save.dat changed")
    expect(sorted(os.listdir(home)) == ["campaign_maps.json", "missions", "save.dat"],
           f"new files beside the save: {os.listdir(home)}")


def main():
    with tempfile.TemporaryDirectory(prefix="nj-missions-") as tmp:
        check_custom(tmp, check_cli(tmp))
    shutil.rmtree(HOME, ignore_errors=True)
    return finish("missions")


if __name__ == "__main__":
    sys.exit(main())
