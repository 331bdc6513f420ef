#!/usr/bin/env python3
"""njtool page render: a page drawn at the asked size after the state file
reached its syncGameState, and every bad size or state refused with a
message, never waited on.

  njtool_page_render_test.py NJTOOL FIXTURES
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from njtool_icon_test import read_png  # noqa: E402

RED, GREEN, BLACK = (255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 0, 255)


def render(njtool, page, out, *options):
    return subprocess.run([njtool, "page", "render", page, out, *options],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=60)


def write(path, text):
    with open(path, "w") as f:
        f.write(text)
    return path


def check_drawn(njtool, page, folder, failures):
    # (options, expected size, colour of the 200 x 100 band in the corner)
    red = write(os.path.join(folder, "red.json"), '{"colour": "red", "unused": [1, 2]}')
    green = write(os.path.join(folder, "green.json"), '{\n  "colour": "green"\n}\n')
    cases = [(["--state", red, "--size", "320x200"], (320, 200), RED),
             (["--size", "640X360", "--state", green], (640, 360), GREEN),
             (["--state", green], (1280, 720), GREEN),
             (["--size", "210x120"], (210, 120), BLACK)]
    for options, size, band in cases:
        out = os.path.join(folder, "page.png")
        if os.path.exists(out):
            os.remove(out)
        result = render(njtool, page, out, *options)
        if result.returncode != 0:
            failures.append("%s was refused: %s" % (options, result.stderr))
            continue
        width, height, rows = read_png(out)
        if (width, height) != size:
            failures.append("%s drew %dx%d, not %dx%d" % (options, width, height, *size))
            continue
        if rows[50][100] != band:
            failures.append("%s: the band is %s, not %s" % (options, rows[50][100], band))
        if rows[height - 5][width - 5] != BLACK:
            failures.append("%s: outside the band is %s" % (options, rows[height - 5][width - 5]))


def check_refused(njtool, page, folder, failures):
    pipe = os.path.join(folder, "state.pipe")
    os.mkfifo(pipe)
    refused = [["--size", "0x10"], ["--size", "8193x10"], ["--size", "320"],
               ["--size", "320x200x3"], ["--size", "-5x10"], ["--size"],
               ["--state", write(os.path.join(folder, "bad.json"), "colour: red")],
               ["--state", write(os.path.join(folder, "empty.json"), "")],
               ["--state", os.path.join(folder, "absent.json")],
               ["--state", folder], ["--state", pipe]]
    for options in refused:
        out = os.path.join(folder, "refused.png")
        try:
            result = render(njtool, page, out, *options)
        except subprocess.TimeoutExpired:
            failures.append("%s was waited on" % options)
            continue
        if result.returncode == 0 or os.path.exists(out):
            failures.append("%s was accepted" % options)
        elif not result.stderr.strip():
            failures.append("%s was refused without a message" % options)


def main():
    njtool, fixtures = sys.argv[1], sys.argv[2]
    page = os.path.join(fixtures, "page_render", "state_page.html")
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        check_drawn(njtool, page, folder, failures)
        check_refused(njtool, page, folder, failures)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
