"""What the Python test harnesses share: failures told at the end, files, commands, PNGs."""
import ctypes
import subprocess
import sys

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


def read_png(path):
    """(width, height, colour type, rows of RGBA tuples premultiplied by alpha) of a PNG."""
    with open(path, "rb") as f:
        head = f.read(26)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", "%s is not a PNG" % path
    cairo = ctypes.CDLL("libcairo.so.2")
    cairo.cairo_image_surface_create_from_png.restype = ctypes.c_void_p
    cairo.cairo_image_surface_get_data.restype = ctypes.c_void_p
    surface = ctypes.c_void_p(cairo.cairo_image_surface_create_from_png(path.encode()))
    assert cairo.cairo_surface_status(surface) == 0, "cairo cannot read %s" % path
    width, height, stride, kind = (getattr(cairo, "cairo_image_surface_get_" + what)(surface)
                                   for what in ("width", "height", "stride", "format"))
    data = ctypes.string_at(cairo.cairo_image_surface_get_data(surface), stride * height)
    cairo.cairo_surface_destroy(surface)
    # Native-endian 32-bit pixels: blue, green, red, alpha (unused for RGB24, kind 1).
    rows = [[(data[at + 2], data[at + 1], data[at], 255 if kind == 1 else data[at + 3])
             for at in range(y * stride, y * stride + 4 * width, 4)] for y in range(height)]
    return width, height, head[25], rows
