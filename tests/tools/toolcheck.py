"""njcheck's helpers, handed on, and the hostile things a reader meets in a file's place."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from njcheck import expect, finish, read_png, run, write  # noqa: E402,F401

HOSTILE = ("not the format", "huge", "a folder", "a named pipe", "missing")


def hostile_files(folder, stem, not_the_format):
    """{what: path} for each of HOSTILE, made in folder as stem-*."""
    paths = {what: os.path.join(folder, stem + "-" + what.replace(" ", "-")) for what in HOSTILE}
    write(paths["not the format"], not_the_format)
    os.truncate(write(paths["huge"], ""), 64 << 20)
    os.mkdir(paths["a folder"])
    os.mkfifo(paths["a named pipe"])
    return paths
