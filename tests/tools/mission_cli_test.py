#!/usr/bin/env python3
"""njtool mission check and nightjar-sim --mission as a level designer uses
them: messages and exit codes, mission codes, and a mission file played on
its own without touching save.dat. (The shipped missions are checked by the
build, hostile files by custom_missions_test.py through the same reader.)

  mission_cli_test.py NJTOOL NIGHTJAR_SIM FIXTURES_DIR
"""
import json
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from njcheck import expect, finish, run, write  # noqa: E402

NJTOOL, SIM, FIXTURES = (os.path.abspath(a) for a in sys.argv[1:4])


# The player's folders, kept in the scratch folder: a mission played on its
# own must leave them as empty as its working directory.
HOME_DIRS = tempfile.mkdtemp(prefix="nj-mission-home-")
ENV = dict(os.environ, XDG_DATA_HOME=os.path.join(HOME_DIRS, "data"),
           XDG_CONFIG_HOME=os.path.join(HOME_DIRS, "config"))


def run_here(args, cwd=None, **options):
    return run(args, cwd=cwd, env=ENV, **options)


def check(*args):
    return run_here([NJTOOL, "mission", "check", *args])


def main():
    tmp = tempfile.mkdtemp(prefix="nj-mission-cli-")

    def write_here(name, text):
        return write(os.path.join(tmp, name), text)

    with open(os.path.join(FIXTURES, "quick_win.json")) as f:
        quick = json.load(f)

    # An error: exit 1 and the message at its line and column.
    broken = dict(quick, guards=[{"x": "seven", "axis": "x"}])
    path = write_here("broken.json", json.dumps(broken, indent=2))
    r = check(path)
    expect(r.returncode == 1, f"broken: exit {r.returncode}")
    expect(f"{path}:50:12: guards[0].x: expected a number, got a string\n" in r.stderr,
           f"broken: {r.stderr}")

    # Warnings alone pass, unless --strict.
    path = write_here("warned.json", json.dumps(quick) + " trailing")
    r = check(path)
    expect(r.returncode == 0 and "warning: text after the mission" in r.stderr,
           f"warned: {r.returncode} {r.stderr}")
    expect(check("--strict", path).returncode == 1, "warned --strict passes")

    # Played on its own: a campaign of one, won, and no save.dat written.
    play = os.path.join(tmp, "play")
    os.mkdir(play)
    r = run_here([SIM, "--mission", os.path.join(FIXTURES, "quick_win.json"),
             os.path.join(FIXTURES, "quick_win.sim")], cwd=play)
    state = json.loads(r.stdout.splitlines()[-1]) if r.returncode == 0 else {}
    expect(state.get("gameState") == 3 and state.get("missionCount") == 1
           and state.get("missionName") == "OPERATION QUICK",
           f"--mission win: {r.returncode} {r.stderr} {r.stdout[-300:]}")
    expect(os.listdir(play) == [], f"--mission wrote {os.listdir(play)}")
    expect(os.listdir(HOME_DIRS) == [], f"--mission wrote {os.listdir(HOME_DIRS)}")

    # A broken file is not played: its errors reach stderr and the page.
    r = run_here([SIM, "--mission", os.path.join(tmp, "broken.json"), "-"], cwd=play,
                 input="pagestate\n")
    line = f"{tmp}/broken.json:50:12: guards[0].x: expected a number, got a string"
    expect(r.returncode == 0 and r.stderr == line + "\n", f"--mission broken: {r.stderr}")
    expect('"missionErrors":[' + json.dumps(line) + "]" in r.stdout,
           f"--mission broken pagestate: {r.stdout[-400:]}")

    # The mission code: one line, checked and played like the file, and
    # refused with the integrity message when any character is changed.
    r = run_here([NJTOOL, "mission", "code", os.path.join(FIXTURES, "quick_win.json")])
    code = r.stdout
    expect(r.returncode == 0 and code.count("\n") == 1 and code.startswith("NJ3M_V1."),
           f"code: {r.returncode} {r.stderr}")
    code_path = write_here("quick.code", code)
    expect(check("--strict", code_path).returncode == 0, "code: the checker refuses it")
    r = run_here([SIM, "--mission", code_path, os.path.join(FIXTURES, "quick_win.sim")], cwd=play)
    expect(r.returncode == 0 and '"gameState":3' in r.stdout.splitlines()[-1],
           f"code: not won through --mission: {r.stderr}")
    for where in (10, code.index(".", 9) + 5, len(code) // 2, len(code) - 3):
        changed = code[:where] + ("1" if code[where] != "1" else "2") + code[where + 1:]
        r = check(write_here("changed.code", changed))
        expect(r.returncode == 1 and "the mission code is refused: INTEGRITY COMPROMISED" in r.stderr,
               f"code changed at {where}: {r.returncode} {r.stderr}")
    r = run_here([NJTOOL, "mission", "code", os.path.join(tmp, "broken.json")])
    expect(r.returncode == 1 and r.stdout == "" and "guards[0].x" in r.stderr,
           f"code of a broken mission: {r.returncode} {r.stdout}")

    shutil.rmtree(tmp)
    shutil.rmtree(HOME_DIRS)
    return finish("mission cli")


if __name__ == "__main__":
    sys.exit(main())
