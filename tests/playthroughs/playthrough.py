#!/usr/bin/env python3
"""Runs and writes nightjar-sim playthrough scripts (assets/missions/README.md):
  playthrough.py check   --sim SIM --campaign FILE --workdir DIR [--replays] SCRIPT.sim
  playthrough.py compile --sim SIM --campaign FILE --workdir DIR ROUTE -o SCRIPT.sim
"""
import argparse
import contextlib
import json
import os
import shutil
import subprocess
import sys

MAX_STEPS = 6000


class CheckFailed(Exception):
    """An expectation of the script, or of the harness, did not hold."""


class SimSession:
    """A running nightjar-sim fed a line at a time (it flushes before reading the next)."""

    def __init__(self, sim, campaign, workdir, record=None):
        self.proc = subprocess.Popen([sim, "--campaign", campaign]
                                     + (["--record", record] if record else []) + ["-"], cwd=workdir,
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True, bufsize=1)

    def send(self, line):
        """Runs one script line; returns the state for a 'print', else None."""
        self.proc.stdin.write(line.rstrip("\n") + "\n")
        self.proc.stdin.flush()
        if line.split("#", 1)[0].split() != ["print"]:
            return None
        out = self.proc.stdout.readline()
        if not out:
            self.close()
            raise CheckFailed("nightjar-sim stopped: " + self.stderr.strip())
        return json.loads(out)

    def close(self):
        self.proc.stdin.close()
        rest = self.proc.stdout.read()
        self.stderr = self.proc.stderr.read()
        return self.proc.wait(timeout=60), rest, self.stderr


def evaluate(expr, state):
    try:
        allowed = {f.__name__: f for f in (abs, len, all, any, min, max)}
        return eval(expr, {"__builtins__": allowed}, dict(state))
    except Exception as e:  # a broken expectation is a failed check
        raise CheckFailed(f"cannot evaluate '{expr}': {e}")


class Runner:
    def __init__(self, sim, campaign, workdir, replays=False):
        shutil.rmtree(workdir, ignore_errors=True)
        os.makedirs(workdir)
        self.sim, self.campaign, self.workdir, self.replays = sim, campaign, workdir, replays
        self.session, self.prints, self.sessions = None, 0, 0

    def ensure(self):
        if self.session is None:
            self.sessions += 1
            record = os.path.join(self.workdir, f"replays-{self.sessions}") + "/" if self.replays else None
            if record:
                os.makedirs(record, exist_ok=True)
            self.session = SimSession(self.sim, self.campaign, self.workdir, record)
        return self.session

    def verify_replays(self):
        files = sorted(os.path.join(root, name) for root, _, names in os.walk(self.workdir)
                       for name in names if name.endswith(".njr"))
        if not files:
            raise CheckFailed("no run was recorded")
        for path in files:
            done = subprocess.run([self.sim, "--campaign", self.campaign, "--replay", path],
                                  cwd=self.workdir, capture_output=True, text=True, timeout=120)
            if done.returncode != 0 or not done.stdout.endswith("replay: verified\n"):
                raise CheckFailed(f"{path} did not replay: {done.stdout[-300:]}{done.stderr}")
        return len(files)

    def end_run(self):
        if self.session is None:
            return
        code, rest, err = self.session.close()
        self.session = None
        if code != 0 or err.strip() or rest.strip():
            raise CheckFailed(f"nightjar-sim exited {code}; stderr: {err.strip()!r}; "
                              f"unexpected output: {rest.strip()[:200]!r}")

    def directive(self, text):
        words = text.split()
        if not words:
            return
        if words[0] == "restart":
            self.end_run()
        elif words[0] == "write-save":
            with open(os.path.join(self.workdir, "save.dat"), "w") as f:
                f.write(" ".join(words[1:6]) + "\n" + "".join(w + " " for w in words[6:]) + "\n")
        elif words[0] == "expect-save":
            path = os.path.join(self.workdir, "save.dat")
            got = [int(v) for v in open(path).read().split()] if os.path.exists(path) else "nothing"
            if got != [int(w) for w in words[1:]]:
                raise CheckFailed(f"save.dat holds {got}, expected {words[1:]}")
        else:
            raise CheckFailed(f"unknown directive '#! {text}'")

    def line(self, raw):
        if raw.strip().startswith("#!"):
            return self.directive(raw.strip()[2:])
        code, _, comment = (part.strip() for part in raw.partition("#"))
        state = self.ensure().send(code) if code else None
        if state is None:
            return
        self.prints += 1
        expr = comment[len("expect:"):].strip()
        if comment.startswith("expect:") and not evaluate(expr, state):
            brief = {k: state.get(k) for k in ("step", "gameState", "missionIndex", "player", "detection")}
            raise CheckFailed(f"expectation failed: {expr}\n  state: {brief}")


def check(args):
    runner = Runner(args.sim, args.campaign, args.workdir, args.replays)
    lines = open(args.script).read().splitlines()
    expectations = sum("# expect:" in raw or raw.strip().startswith("#! expect-save") for raw in lines)
    for number, raw in enumerate(lines, 1):
        try:
            runner.line(raw)
        except CheckFailed as e:
            print(f"{args.script}:{number}: {e}\n  line: {raw}", file=sys.stderr)
            return 1
    try:
        runner.end_run()
        replayed = runner.verify_replays() if args.replays else 0
        if expectations == 0:
            raise CheckFailed("no expectations")
    except CheckFailed as e:
        print(f"{args.script}: {e}", file=sys.stderr)
        return 1
    print(f"{args.script}: {expectations} expectations held over {runner.prints} state lines"
          + (f", {replayed} runs replayed" if args.replays else ""))
    return 0


def keys_towards(px, py, x, y, tol=1.6):
    """The arrow keys (as WASD) that walk from (px, py) towards (x, y)."""
    across = "D" if x - px > tol else "A" if px - x > tol else None
    down = "S" if y - py > tol else "W" if py - y > tol else None
    return [k for k in (across, down) if k]


class Compiler:
    def __init__(self, runner, out):
        self.r, self.out, self.held, self.pending_steps = runner, out, [], 0

    def send(self, line):
        return self.r.ensure().send(line)

    def press(self, line):
        self.send(line)
        self.emit(line)

    def emit(self, line):
        if self.pending_steps:
            self.out.append(f"step {self.pending_steps}")
            self.pending_steps = 0
        if line:
            self.out.append(line)

    def set_keys(self, keys):
        for k in [k for k in self.held if k not in keys]:
            self.press(f"up {k}")
            self.held.remove(k)
        for k in [k for k in keys if k not in self.held]:
            self.press(f"down {k}")
            self.held.append(k)

    def step(self):
        self.send("step 1")
        self.pending_steps += 1

    def steer(self, where, what, target, done, sneak, arrive):
        """Holds the keys towards target(state) a step at a time until done(state)
        or, when `arrive`, until within a step of it (failing if stuck there)."""
        last, stuck = None, 0
        for _ in range(MAX_STEPS):
            s = self.send("print")
            if s["gameState"] != 1 and not done(s):
                raise CheckFailed(f"{where}: mission ended (state {s['gameState']}) on the way to {what}")
            px, py = s["player"]["x"], s["player"]["y"]
            keys = keys_towards(px, py, *target(s))
            if done(s) or (arrive and not keys):
                self.set_keys([])
                return
            self.set_keys((["SHIFT"] if sneak else []) + keys)
            stuck = stuck + 1 if arrive and last == (px, py) else 0
            if stuck > 3:
                raise CheckFailed(f"{where}: blocked at ({px}, {py}) on the way to {what}")
            last = (px, py)
            self.step()
        raise CheckFailed(f"{where}: never reached {what}")

    def compile_file(self, path):
        for number, raw in enumerate(open(path).read().splitlines(), 1):
            where = f"{os.path.basename(path)}:{number}"
            words = raw.split("#", 1)[0].split()
            cmd = words[0] if words else ""
            if cmd in ("goto", "sneak"):
                x, y = float(words[1]), float(words[2])
                # Getting out on the way ends the walk.
                self.steer(where, f"({x}, {y})", lambda s: (x, y), lambda s: s["gameState"] == 3,
                           cmd == "sneak", True)
            elif cmd == "chase":
                self.steer(where, "the directive",
                           lambda s: (s["dynamicObjective"]["x"], s["dynamicObjective"]["y"]),
                           lambda s: s["dynamicObjective"]["done"], False, False)
            elif cmd == "takedown":
                n = int(words[1])
                self.steer(where, f"guard {n}", lambda s: (s["guards"][n]["x"], s["guards"][n]["y"]),
                           lambda s: s["takedownTarget"] == n, True, False)
                self.press("press SPACE")
                if not self.send("print")["guards"][n]["downed"]:
                    raise CheckFailed(f"{where}: the takedown of guard {n} failed")
            elif cmd == "until":  # steps on the spot, no key changed
                expr = raw.split("#", 1)[0].strip()[len("until"):].strip()
                self.steer(where, f"'{expr}'", lambda s: (s["player"]["x"], s["player"]["y"]),
                           lambda s: evaluate(expr, s), False, False)
            elif cmd == "include":
                self.emit("")
                self.compile_file(os.path.join(os.path.dirname(path), words[1]))
            else:
                if raw.strip().startswith("#!") or cmd:
                    self.emit("")
                try:
                    self.r.line(raw)
                except CheckFailed as e:
                    raise CheckFailed(f"{where}: {e}")
                self.out.append(raw)


def compile_route(args):
    runner = Runner(args.sim, args.campaign, args.workdir)
    try:
        compiler = Compiler(runner, [])
        compiler.compile_file(args.script)
        compiler.emit("")
        runner.end_run()
    except CheckFailed as e:
        print(f"error: {e}", file=sys.stderr)
        if runner.session:
            with contextlib.suppress(Exception):
                print("last state:", runner.session.send("print"), file=sys.stderr)
        return 1
    with open(args.output, "w") as f:
        f.write("\n".join(compiler.out) + "\n")
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("mode", choices=["check", "compile"])
    for name in ("--sim", "--campaign", "--workdir"):
        parser.add_argument(name, required=True, type=os.path.abspath)
    parser.add_argument("--replays", action="store_true")
    parser.add_argument("script")
    parser.add_argument("-o", "--output")
    args = parser.parse_args()
    if args.mode == "check":
        return check(args)
    return compile_route(args) if args.output else parser.error("compile needs -o")


if __name__ == "__main__":
    sys.exit(main())
