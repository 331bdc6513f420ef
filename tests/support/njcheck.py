"""What the Python test harnesses share: failures gathered as they come and
told at the end, small files written in one call, a command run with its
output kept, and PNG pictures made and read without a library."""
import struct
import subprocess
import sys
import zlib

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)
    return condition


def finish(label):
    """Tells every failure (or that all was well); the harness's exit code."""
    for failure in failures:
        print("%s: FAIL: %s" % (label, failure), file=sys.stderr)
    if not failures:
        print(label + ": ok")
    return 1 if failures else 0


def write(path, text):
    with open(path, "w") as f:
        f.write(text)
    return path


def run(command, timeout=60, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=timeout, **options)


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


def unfilter(raw, width, height, bpp):
    """The rows of a PNG's inflated data with each row's filter undone."""
    stride, rows, previous = width * bpp, [], bytearray(width * bpp)
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
        rows.append(line)
        previous = line
    return rows


def read_png(path):
    """(width, height, colour type, rows of RGBA tuples) of an 8-bit RGB or
    RGBA PNG; AssertionError for anything else."""
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
    rows = [[tuple(line[x * bpp:x * bpp + 3]) + ((line[x * 4 + 3],) if bpp == 4 else (255,))
             for x in range(width)] for line in unfilter(zlib.decompress(packed), width, height, bpp)]
    return width, height, colour, rows
