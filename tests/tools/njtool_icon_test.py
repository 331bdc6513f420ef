#!/usr/bin/env python3
"""njtool icon: the logo fitted into a square of the asked size, its aspect
kept and centred, and every hostile source or size refused with a message,
never waited on.

  njtool_icon_test.py NJTOOL
"""
import os
import stat
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from njcheck import expect, finish, read_png, run, write, write_png  # noqa: E402


def icon(njtool, *args):
    return run([njtool, "icon", *args], timeout=30)


def check_scaling(njtool, folder):
    # A 40 x 20 red banner fitted into 32 x 32: red across the middle 16 rows
    # (8..23), transparent above and below.
    source, out = os.path.join(folder, "wide.png"), os.path.join(folder, "icon.png")
    write_png(source, 40, 20, (255, 0, 0, 255))
    result = icon(njtool, source, "32", out)
    if not expect(result.returncode == 0, "a good logo was refused: " + result.stderr):
        return
    width, height, _, rows = read_png(out)
    if not expect((width, height) == (32, 32), "the icon is %dx%d, not 32x32" % (width, height)):
        return
    for y, alpha in ((0, 0), (7, 0), (8, 255), (16, 255), (23, 255), (24, 0), (31, 0)):
        expect(abs(rows[y][16][3] - alpha) <= 8,
               "row %d of the icon has alpha %d, expected %d" % (y, rows[y][16][3], alpha))
    expect(rows[16][0][:3] == (255, 0, 0) and rows[16][31][:3] == (255, 0, 0),
           "the banner does not reach the icon's sides: %s %s" % (rows[16][0], rows[16][31]))


def check_hostile(njtool, folder):
    good = os.path.join(folder, "good.png")
    write_png(good, 8, 8, (0, 0, 255, 255))
    text = write(os.path.join(folder, "not-a-png.png"), '{"this": "is JSON, not a picture"}')
    huge = os.path.join(folder, "huge.png")
    with open(huge, "wb") as f:
        f.truncate(64 * 1024 * 1024)
    pipe = os.path.join(folder, "pipe.png")
    os.mkfifo(pipe)
    truncated = os.path.join(folder, "truncated.png")
    with open(good, "rb") as src, open(truncated, "wb") as dst:
        dst.write(src.read()[:40])
    out = os.path.join(folder, "out.png")
    not_regular = "not a regular file of at most"
    cases = [
        ("not a PNG", (text, "32", out), "cannot read PNG"),
        ("a PNG cut short", (truncated, "32", out), "cannot read PNG"),
        ("a huge file", (huge, "32", out), not_regular),
        ("a folder", (folder, "32", out), not_regular),
        ("a named pipe", (pipe, "32", out), not_regular),
        ("a missing file", (os.path.join(folder, "none.png"), "32", out), "cannot read"),
        ("a size too small", (good, "8", out), "SIZE must be"),
        ("a size too large", (good, "4096", out), "SIZE must be"),
        ("a size that is no number", (good, "32px", out), "SIZE must be"),
        ("an unwritable output", (good, "32", os.path.join(folder, "no", "such", "out.png")),
         "cannot write"),
        ("too few arguments", (good, "32"), "expected 'icon SOURCE.png SIZE OUT.png'"),
    ]
    for name, args, message in cases:
        try:
            result = icon(njtool, *args)
        except subprocess.TimeoutExpired:
            expect(False, "%s: njtool waited on it" % name)
            continue
        expect(result.returncode != 0 and message in result.stderr,
               "%s: exit %d, said %r" % (name, result.returncode, result.stderr))
    expect(not os.path.exists(out), "a refused source still wrote %s" % out)
    expect(stat.S_ISFIFO(os.stat(pipe).st_mode), "the named pipe was replaced")


def main():
    with tempfile.TemporaryDirectory(prefix="nj-icon-") as folder:
        check_scaling(sys.argv[1], folder)
        check_hostile(sys.argv[1], folder)
    return finish("njtool icon")


if __name__ == "__main__":
    sys.exit(main())
