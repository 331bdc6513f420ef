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

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from njcheck import expect, finish, read_png, run, write  # noqa: E402

RED, GREEN, BLACK = (255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 0, 255)


def render(njtool, page, out, *options):
    return run([njtool, "page", "render", page, out, *options])


def check_drawn(njtool, page, folder):
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
        if not expect(result.returncode == 0, "%s was refused: %s" % (options, result.stderr)):
            continue
        width, height, _, rows = read_png(out)
        if not expect((width, height) == size,
                      "%s drew %dx%d, not %dx%d" % (options, width, height, *size)):
            continue
        expect(rows[50][100] == band, "%s: the band is %s, not %s" % (options, rows[50][100], band))
        expect(rows[height - 5][width - 5] == BLACK,
               "%s: outside the band is %s" % (options, rows[height - 5][width - 5]))


def check_refused(njtool, page, folder):
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
            expect(False, "%s was waited on" % options)
            continue
        expect(result.returncode != 0 and not os.path.exists(out), "%s was accepted" % options)
        expect(result.returncode == 0 or result.stderr.strip(),
               "%s was refused without a message" % options)


def main():
    njtool, fixtures = sys.argv[1], sys.argv[2]
    page = os.path.join(fixtures, "page_render", "state_page.html")
    with tempfile.TemporaryDirectory() as folder:
        check_drawn(njtool, page, folder)
        check_refused(njtool, page, folder)
    return finish("njtool page render")


if __name__ == "__main__":
    sys.exit(main())
