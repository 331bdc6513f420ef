#!/usr/bin/env python3
"""Cracks the safe open in a running game by watching the screen, the way a
player does: it reads the current tumbler's marker and gold window from the
X display and taps Space so the tap lands with the marker in the window.
scripts/screenshots.sh uses it to reach the win screen with the real game.

  tap_safe.py [--timeout SECONDS]

Needs DISPLAY (an Xvfb screen of 1280 x 720, where the page is drawn one to
one), the game's window focused and the safe open. Only libX11 and libXtst
(both there wherever xdotool is) are used, through ctypes. Exits 0 once all
three tumblers are locked and the safe has closed, 1 on timeout.

The tap's timing corrects itself: only the current tumbler turns, so after a
tap the tumbler that was tapped stands still where the game read the tap,
and the distance from there to the window's centre says how early the next
tap on that tumbler must be sent.
"""
import argparse
import ctypes
import ctypes.util
import math
import sys
import time

# The safe dialog on the 1280 x 720 page (assets/ui/ui.css): three tracks of
# 480 units; rows through their middles.
TRACK_LEFT, TRACK_RIGHT = 416, 910
TRACK_ORIGIN = 422 - TRACK_LEFT  # the first column inside a track
TRACK_ROWS = [278, 340, 401]
TRACK_WIDTH = 480
# Radians per second of each tumbler (the game's safe rules).
SPEEDS = [2.2, -3.0, 4.2]
ZPIXMAP, ALL_PLANES = 2, 0xFFFFFFFF
XK_SPACE = 0x20


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong),
                ("obdata", ctypes.c_void_p),
                ("create_image", ctypes.c_void_p),
                ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p))]


class Screen:
    def __init__(self):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst"))
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise SystemExit("tap_safe: no X display")
        self.root = self.x11.XDefaultRootWindow(self.display)
        self.space = self.x11.XKeysymToKeycode(self.display, XK_SPACE)

    def rows(self):
        """The three track rows from TRACK_LEFT to TRACK_RIGHT, as (r, g, b) lists."""
        top, bottom = TRACK_ROWS[0], TRACK_ROWS[-1]
        width = TRACK_RIGHT - TRACK_LEFT
        image = self.x11.XGetImage(self.display, self.root, TRACK_LEFT, top, width, bottom - top + 1,
                                   ALL_PLANES, ZPIXMAP)
        if not image:
            return None
        im = image.contents
        rows = []
        for y in TRACK_ROWS:
            line = ctypes.string_at(ctypes.addressof(im.data.contents) + (y - top) * im.bytes_per_line,
                                    width * 4)
            rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, len(line), 4)])
        im.destroy_image(image)
        return rows

    def tap(self):
        self.xtst.XTestFakeKeyEvent(self.display, self.space, 1, 0)
        self.xtst.XTestFakeKeyEvent(self.display, self.space, 0, 0)
        self.x11.XFlush(self.display)


def is_marker(p):
    return min(p) >= 200


def is_locked_marker(p):
    return p[1] > 110 and p[0] < 80 and p[2] < 120


def is_window(p):
    return p[0] > 75 and p[0] - p[2] > 35 and p[1] - p[2] > 25 and not is_marker(p)


def runs(columns):
    """Runs of consecutive columns as (first, last)."""
    out = []
    for c in columns:
        if out and c == out[-1][1] + 1:
            out[-1][1] = c
        else:
            out.append([c, c])
    return out


def read_track(row):
    """(marker, window centre, locked) of one track row, in units from the
    track's left end, or None when no safe track is drawn there."""
    # Columns 0 and 479 can be a border (2 units wide round the current and
    # the locked tracks, in the locked marker's green): a marker there goes unread.
    inner = range(TRACK_ORIGIN + 2, TRACK_ORIGIN + TRACK_WIDTH - 2)
    white = [i - TRACK_ORIGIN for i in inner if is_marker(row[i])]
    green = [i - TRACK_ORIGIN for i in inner if is_locked_marker(row[i])]
    window = [i - TRACK_ORIGIN for i, p in enumerate(row) if is_window(p) and 0 <= i - TRACK_ORIGIN < TRACK_WIDTH]
    marker = white or green
    # A marker is 4 units wide, a window 29 to 50 (in at most two parts, across 0).
    if not 2 <= len(marker) <= 8 or not 20 <= len(window) <= 60 or len(runs(window)) > 2:
        return None
    angles = [w / TRACK_WIDTH * 2 * math.pi for w in window]
    centre = math.atan2(sum(map(math.sin, angles)), sum(map(math.cos, angles))) % (2 * math.pi)
    return sum(marker) / len(marker), centre / (2 * math.pi) * TRACK_WIDTH, not white


def ahead(distance):
    """A distance along the track folded into [0, TRACK_WIDTH)."""
    return distance % TRACK_WIDTH


def signed(distance):
    """A distance along the track folded into [-TRACK_WIDTH / 2, TRACK_WIDTH / 2)."""
    return (distance + TRACK_WIDTH / 2) % TRACK_WIDTH - TRACK_WIDTH / 2


def next_frame(screen, current, marker, patience=0.5):
    """The current track as soon as a frame shows its marker elsewhere."""
    give_up = time.time() + patience
    while time.time() < give_up:
        rows = screen.rows()
        track = read_track(rows[current]) if rows else None
        if track is None or track[2]:
            return None
        if abs(track[0] - marker) >= 1:
            return track
        time.sleep(0.004)
    return None


def crack(screen, deadline):
    # Seconds between sending a tap and the game reading it, less how old the
    # frame on the screen is; negative when frames lag. Kept per tumbler: each
    # turns at its own speed and way, and their errors differ.
    leads = [0.0, 0.0, 0.0]
    seen_safe = False
    closed = 0
    while time.time() < deadline:
        rows = screen.rows()
        tracks = [read_track(r) for r in rows] if rows else [None, None, None]
        if not any(tracks):
            closed += 1
            if seen_safe and closed >= 3:
                return True  # the safe closed after a tap: all three locked
            time.sleep(0.05)
            continue
        seen_safe, closed = True, 0
        current = next((i for i, t in enumerate(tracks) if t and not t[2]), None)
        if current is None:
            time.sleep(0.05)
            continue
        # Time from the moment a new frame shows the marker moved, so the
        # frame read is as young as it can be.
        fresh = next_frame(screen, current, tracks[current][0])
        if fresh is None:
            continue
        marker, centre, _ = fresh
        speed = SPEEDS[current] / (2 * math.pi) * TRACK_WIDTH  # units per second, signed
        wait = ahead((centre - marker) * (1 if speed > 0 else -1)) / abs(speed) - leads[current]
        while wait < 0.02:
            wait += TRACK_WIDTH / abs(speed)
        time.sleep(wait)
        screen.tap()
        time.sleep(0.25)
        after = screen.rows()
        if not after:
            continue
        tapped = read_track(after[current])
        if tapped is None or (current == 0 and not tapped[2]):
            continue  # closed, or a missed first tumbler that simply turns on
        # Where the tapped tumbler stopped is where the game read the tap.
        late = signed((tapped[0] - tapped[1]) * (1 if speed > 0 else -1)) / abs(speed)
        if abs(late) < 0.3:  # farther off is a stale frame read, not timing
            leads[current] = min(max(leads[current] + 0.7 * late, -0.3), 0.3)
        print(f"tap_safe: tumbler {current + 1} {'locked' if tapped[2] else 'missed'}, "
              f"{late * 1000:+.0f} ms off, lead now {leads[current] * 1000:.0f} ms", flush=True)
    return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--timeout", type=float, default=60)
    args = parser.parse_args()
    ok = crack(Screen(), time.time() + args.timeout)
    print("tap_safe: cracked" if ok else "tap_safe: gave up", flush=True)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
