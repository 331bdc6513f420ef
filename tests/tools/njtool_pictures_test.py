#!/usr/bin/env python3
"""njtool icon and page render: pictures drawn as asked; hostile sources, states and sizes are
refused, not waited on.  njtool_pictures_test.py NJTOOL FIXTURES"""
import os
import pathlib
import stat
import sys
import tempfile

from toolcheck import expect, finish, hostile_files, read_png, run, write

RED, GREEN, BLACK = (255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 0, 255)


def refused(name, command, message=""):
    result = run(command, timeout=30)  # njtool waiting on its input ends the run here, failed
    expect(result.returncode != 0 and message in result.stderr and result.stderr.strip(),
           "%s: exit %d, said %r" % (name, result.returncode, result.stderr))


def check_icon(njtool, page, folder):
    # A 40 x 20 red banner (the page's band, drawn red) fitted into 32 x 32:
    # red across the middle 16 rows (8..23), transparent above and below.
    source, out = os.path.join(folder, "wide.png"), os.path.join(folder, "icon.png")
    red = write(os.path.join(folder, "banner.json"), '{"colour": "red"}')
    run([njtool, "page", "render", page, source, "--state", red, "--size", "40x20"], timeout=60)
    result = run([njtool, "icon", source, "32", out], timeout=30)
    if expect(result.returncode == 0, "a good logo was refused: " + result.stderr):
        width, height, _, rows = read_png(out)
        expect((width, height) == (32, 32), "the icon is %dx%d, not 32x32" % (width, height))
        for y, alpha in ((0, 0), (7, 0), (8, 255), (16, 255), (23, 255), (24, 0), (31, 0)):
            expect(abs(rows[y][16][3] - alpha) <= 8,
                   "row %d of the icon has alpha %d, expected %d" % (y, rows[y][16][3], alpha))
        expect(rows[16][0][:3] == (255, 0, 0) and rows[16][31][:3] == (255, 0, 0),
               "the banner does not reach the icon's sides: %s %s" % (rows[16][0], rows[16][31]))

    out = os.path.join(folder, "out.png")
    hostile = hostile_files(folder, "logo", '{"this": "is JSON, not a picture"}')
    truncated = os.path.join(folder, "truncated.png")
    pathlib.Path(truncated).write_bytes(pathlib.Path(source).read_bytes()[:40])
    cases = [(what, (path, "32", out), "cannot read PNG" if what == "not the format"
              else "not a regular file of at most") for what, path in hostile.items()]
    cases += [("a PNG cut short", (truncated, "32", out), "cannot read PNG"),
              ("a size too large", (source, "4096", out), "SIZE must be"),
              ("an unwritable output", (source, "32", os.path.join(folder, "no", "out.png")),
               "cannot write"),
              ("too few arguments", (source, "32"), "expected 'icon SOURCE.png SIZE OUT.png'")]
    for name, args, message in cases:
        refused("icon: " + name, [njtool, "icon", *args], message)
    expect(not os.path.exists(out), "a refused source still wrote %s" % out)
    expect(stat.S_ISFIFO(os.stat(hostile["a named pipe"]).st_mode), "the named pipe was replaced")


def check_page_render(njtool, page, folder):
    # (options, expected size, colour of the 200 x 100 band in the corner)
    red = write(os.path.join(folder, "red.json"), '{"colour": "red", "unused": [1, 2]}')
    green = write(os.path.join(folder, "green.json"), '{\n  "colour": "green"\n}\n')
    out = os.path.join(folder, "page.png")
    for options, size, band in [(["--state", red, "--size", "320x200"], (320, 200), RED),
                                (["--size", "640X360", "--state", green], (640, 360), GREEN),
                                (["--state", green], (1280, 720), GREEN),
                                (["--size", "210x120"], (210, 120), BLACK)]:
        result = run([njtool, "page", "render", page, out, *options])
        if not expect(result.returncode == 0, "%s was refused: %s" % (options, result.stderr)):
            continue
        width, height, _, rows = read_png(out)
        os.remove(out)
        if expect((width, height) == size, "%s drew %dx%d, not %dx%d" % (options, width, height, *size)):
            expect(rows[50][100] == band, "%s: the band is %s" % (options, rows[50][100]))
            expect(rows[height - 5][width - 5] == BLACK,
                   "%s: outside the band is %s" % (options, rows[height - 5][width - 5]))

    hostile = hostile_files(folder, "state", "colour: red")
    refusals = [["--state", path] for path in hostile.values()] + [
        ["--state", write(os.path.join(folder, "empty.json"), "")], ["--size", "0x10"],
        ["--size", "8193x10"], ["--size", "320"], ["--size", "320x200x3"], ["--size", "-5x10"],
        ["--size"]]
    for options in refusals:
        refused("page render %s" % options, [njtool, "page", "render", page, out, *options])
        expect(not os.path.exists(out), "%s was accepted" % options)


def main():
    njtool, fixtures = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory(prefix="nj-pictures-") as folder:
        page = os.path.join(fixtures, "page_render", "state_page.html")
        check_icon(njtool, page, folder)
        check_page_render(njtool, page, folder)
    return finish("njtool pictures")


if __name__ == "__main__":
    sys.exit(main())
