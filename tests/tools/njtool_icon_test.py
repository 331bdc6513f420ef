#!/usr/bin/env python3
"""njtool icon: the logo fitted into a square of the asked size, its aspect
kept and centred, and every hostile source or size refused with a message,
never waited on.

  njtool_icon_test.py NJTOOL
"""
import os
import stat
import struct
import subprocess
import sys
import tempfile
import zlib


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def write_png(path, width, height, rgba):
    """An RGBA picture of one colour."""
    row = b"\x00" + bytes(rgba) * width
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        f.write(png_chunk(b"IDAT", zlib.compress(row * height)))
        f.write(png_chunk(b"IEND", b""))


def read_png(path):
    """(width, height, rows of RGBA tuples) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "%s is not a PNG" % path
    width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
    assert depth == 8 and colour in (2, 6), "%s is not 8-bit RGB or RGBA" % path
    bpp = 4 if colour == 6 else 3
    packed, at = b"", 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            packed += data[at + 8:at + 8 + length]
        at += 12 + length
    raw, stride, rows, previous = zlib.decompress(packed), width * bpp, [], bytearray(width * bpp)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up, corner = previous[i], previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + pred) & 0xFF
        rows.append([tuple(line[x * bpp:x * bpp + 3]) + ((line[x * 4 + 3],) if bpp == 4 else (255,))
                     for x in range(width)])
        previous = line
    return width, height, rows


def run(njtool, *args):
    return subprocess.run([njtool, "icon", *args], stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True, timeout=30)


def check_scaling(njtool, folder, failures):
    # A 40 x 20 red banner fitted into 32 x 32: red across the middle 16 rows,
    # transparent above and below.
    source, out = os.path.join(folder, "wide.png"), os.path.join(folder, "icon.png")
    write_png(source, 40, 20, (255, 0, 0, 255))
    result = run(njtool, source, "32", out)
    if result.returncode != 0:
        failures.append("a good logo was refused: " + result.stderr)
        return
    width, height, rows = read_png(out)
    if (width, height) != (32, 32):
        failures.append("the icon is %dx%d, not 32x32" % (width, height))
        return
    # Rows 8..23 hold the banner; rows 0..7 and 24..31 are transparent.
    for y, expected in ((0, 0), (7, 0), (8, 255), (16, 255), (23, 255), (24, 0), (31, 0)):
        alpha = rows[y][16][3]
        if abs(alpha - expected) > 8:
            failures.append("row %d of the icon has alpha %d, expected %d" % (y, alpha, expected))
    if rows[16][0][:3] != (255, 0, 0) or rows[16][31][:3] != (255, 0, 0):
        failures.append("the banner does not reach the icon's sides: %s %s"
                        % (rows[16][0], rows[16][31]))


def check_hostile(njtool, folder, failures):
    good = os.path.join(folder, "good.png")
    write_png(good, 8, 8, (0, 0, 255, 255))
    text = os.path.join(folder, "not-a-png.png")
    with open(text, "w") as f:
        f.write('{"this": "is JSON, not a picture"}')
    huge = os.path.join(folder, "huge.png")
    with open(huge, "wb") as f:
        f.truncate(64 * 1024 * 1024)
    pipe = os.path.join(folder, "pipe.png")
    os.mkfifo(pipe)
    truncated = os.path.join(folder, "truncated.png")
    with open(good, "rb") as src, open(truncated, "wb") as dst:
        dst.write(src.read()[:40])
    out = os.path.join(folder, "out.png")
    cases = [
        ("not a PNG", (text, "32", out), "cannot read PNG"),
        ("a PNG cut short", (truncated, "32", out), "cannot read PNG"),
        ("a huge file", (huge, "32", out), "not a regular file of at most"),
        ("a folder", (folder, "32", out), "not a regular file of at most"),
        ("a named pipe", (pipe, "32", out), "not a regular file of at most"),
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
            result = run(njtool, *args)
        except subprocess.TimeoutExpired:
            failures.append("%s: njtool waited on it" % name)
            continue
        if result.returncode == 0 or message not in result.stderr:
            failures.append("%s: exit %d, said %r" % (name, result.returncode, result.stderr))
    if os.path.exists(out):
        failures.append("a refused source still wrote %s" % out)
    if not stat.S_ISFIFO(os.stat(pipe).st_mode):
        failures.append("the named pipe was replaced")


def main():
    njtool = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory(prefix="nj-icon-") as folder:
        check_scaling(njtool, folder, failures)
        check_hostile(njtool, folder, failures)
    for failure in failures:
        print("njtool icon: " + failure, file=sys.stderr)
    if not failures:
        print("njtool icon: ok")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
