#!/usr/bin/env python3
"""njtool against a second implementation (hashlib, hmac) of the map token and package formats."""
import hashlib
import hmac
import io
import json
import os
import pathlib
import struct
import subprocess
import sys
import tempfile
import unittest

from toolcheck import hostile_files

NJTOOL = None
MAP_KEY = b"QRV-512-RESTRICTED-FIELD-ORDER-KEY-5820-COURIER-BULLETIN"
PACKAGE_KEY = b"QRV-512-SEALED-BUNDLE-CONTENT-VAULT-GUARDIAN-PHRASES-3141"
INTEGRITY = "INTEGRITY COMPROMISED: Map data has been tampered with or modified!"
HEADER = "Invalid .nj3m file header or unsupported protocol version."
TAMPERED = "CRITICAL ERROR: .nj3p package signature failed! Tampering detected."


def keystream(first, second, length):
    return b"".join(hashlib.sha256(b"%s:%s:%d" % (first, second, i)).digest()
                    for i in range(length // 32 + 1))[:length]


def xor(data, stream):
    return bytes(a ^ b for a, b in zip(data, stream))


def tag(key, salt, payload):
    return hmac.new(key, salt + b":" + payload, hashlib.sha256).hexdigest().encode()


def make_token(plain, salt):
    payload = xor(plain, keystream(MAP_KEY, salt, len(plain))).hex().encode()
    return b"NJ3M_V1." + salt + b"." + tag(MAP_KEY, salt, payload) + b"." + payload


def read_token(token):
    header, salt, sig, payload = token.strip().split(b".")
    assert header == b"NJ3M_V1" and hmac.compare_digest(sig, tag(MAP_KEY, salt, payload))
    cipher = bytes.fromhex(payload.decode())
    return xor(cipher, keystream(MAP_KEY, salt, len(cipher)))


def make_package(entries, salt, version=1):
    index = struct.pack("<I", len(entries))
    for name, data in entries:
        index += struct.pack("<I", len(name)) + name + struct.pack("<Q", len(data)) + data
    payload = xor(index, keystream(salt, PACKAGE_KEY, len(index)))
    return (b"NJ3P" + struct.pack("<II", version, len(salt)) + salt + struct.pack("<I", 64)
            + tag(PACKAGE_KEY, salt, payload) + struct.pack("<Q", len(payload)) + payload)


def read_package(blob):
    def number(fmt):
        return struct.unpack(fmt, f.read(struct.calcsize(fmt)))[0]
    f = io.BytesIO(blob)
    assert f.read(4) == b"NJ3P" and number("<I") == 1
    salt, sig, payload = f.read(number("<I")), f.read(number("<I")), f.read(number("<Q"))
    assert hmac.compare_digest(sig, tag(PACKAGE_KEY, salt, payload))
    f = io.BytesIO(xor(payload, keystream(salt, PACKAGE_KEY, len(payload))))
    return dict((f.read(number("<I")), f.read(number("<Q"))) for _ in range(number("<I")))


def ok(*args, stdin=None):
    result = subprocess.run([NJTOOL, *args], input=stdin, capture_output=True, timeout=30)
    assert result.returncode == 0, result.stderr
    return result.stdout


def refused(*args):
    """njtool's first error line; it must exit 1 and print nothing else."""
    result = subprocess.run([NJTOOL, *args], capture_output=True, timeout=30)
    assert (result.returncode, result.stdout) == (1, b""), (result.returncode, result.stdout)
    return (result.stderr.decode().splitlines() or [""])[0]


class Workdir(unittest.TestCase):
    def setUp(self):
        self.dir = self.enterContext(tempfile.TemporaryDirectory())

    def write(self, name, data):
        path = pathlib.Path(self.dir, name)
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        return str(path)


MISSION = json.dumps({"name": "Glass Harbor \u00e9", "theme": "casino",
                      "walls": [{"x": i, "y": 2 * i, "w": 40, "h": 8} for i in range(60)]}).encode()


class Tokens(Workdir):
    def test_tokens_written_here_decode_in_njtool(self):
        for salt in [b"", b"s", b"salt with blanks:and colons", b"x" * 300]:
            path = self.write("t.nj3m", b"  \r\n" + make_token(MISSION, salt) + b"\n\t")
            self.assertEqual(ok("token", "decode", path), MISSION)
        self.assertEqual(ok("token", "decode", "-", stdin=make_token(MISSION, b"pipe")), MISSION)

    def test_njtool_tokens_decode_here(self):
        path = self.write("m.json", MISSION)
        for args in [[], ["--salt", "chosen"], ["--salt", ""]]:
            token = ok("token", "encode", *args, path).strip()
            self.assertEqual(read_token(token), MISSION)
            if args:
                self.assertEqual(token.split(b".")[1], args[1].encode())
        # Same content, same salt, same token: builds are reproducible.
        self.assertEqual(ok("token", "encode", path), ok("token", "encode", path))

    def test_tampered_tokens_are_refused_with_exact_texts(self):
        good = make_token(MISSION, b"salt")
        fields = good.split(b".")
        cases = [(b".".join([fields[0], b"sald", fields[2], fields[3]]), INTEGRITY),
                 (b".".join([fields[0], fields[1], fields[2].upper(), fields[3]]), INTEGRITY),
                 (good[:-1] + (b"0" if good[-1:] != b"0" else b"1"), INTEGRITY),
                 (b"NJ3M_V2" + good[7:], HEADER), (good + b".more", HEADER), (b"NJ3M_V1.a.b", HEADER),
                 (b" \n ", "Invalid empty .nj3m content")]
        for token, line in cases:
            self.assertEqual(refused("token", "decode", self.write("bad", token)), line, token[:20])

    def test_campaign_build_and_decode(self):
        missions = [self.write(f"m{i}.json", json.dumps({"name": f"Op {i}", "n": i}, indent=2).encode())
                    for i in range(1, 4)]
        out = os.path.join(self.dir, "campaign_maps.json")
        ok("campaign", "build", out, *missions)
        self.assertEqual(ok("campaign", "decode", out).decode().splitlines()[1], 'mission2 {"name":"Op 2","n":2}')
        refused("campaign", "build", out, *(missions + missions))
        broken = self.write("broken.json", b'{"name": "x",')
        self.assertIn("Expected '\"'", refused("campaign", "build", out, broken))

    def test_hostile_inputs_are_refused_not_waited_on(self):
        for what, path in hostile_files(self.dir, "in", '{"a" 1}').items():
            self.assertTrue(refused("json", "check", path), what)


class Packages(Workdir):
    ENTRIES = [(b"ui/ui.html", b"<html>hello</html>"), (b"assets\\fonts\\a.ttf", bytes(range(256)) * 40),
               (b"./logo/x.png", b""), (b"ui/ui.html", b"<html>later wins</html>")]

    def test_packages_written_here_list_and_extract_in_njtool(self):
        path = self.write("game.nj3p", make_package(self.ENTRIES, b"pepper"))
        self.assertEqual(ok("pack", "list", path).decode().splitlines(),
                         ["assets/fonts/a.ttf 10240", "logo/x.png 0", "ui/ui.html 23"])
        out = os.path.join(self.dir, "out")
        ok("pack", "extract", path, out)
        self.assertEqual(pathlib.Path(out, "ui", "ui.html").read_bytes(), b"<html>later wins</html>")
        self.assertEqual(os.path.getsize(os.path.join(out, "logo", "x.png")), 0)

    def test_njtool_packages_read_here(self):
        src = os.path.join(self.dir, "src")
        self.write("src/ui/ui.html", b"<p>page</p>")
        self.write("src/fonts/Lato.ttf", os.urandom(5000))
        extra = "campaign_maps.json=" + self.write("campaign.json", b'{"mission1":"x"}')
        blobs = []
        for name in ["game.nj3p", "again.nj3p"]:
            ok("pack", "build", os.path.join(self.dir, name), src, extra)
            blobs.append(pathlib.Path(self.dir, name).read_bytes())
        entries = read_package(blobs[0])
        self.assertEqual(sorted(entries), [b"campaign_maps.json", b"fonts/Lato.ttf", b"ui/ui.html"])
        self.assertEqual(entries[b"ui/ui.html"], b"<p>page</p>")
        self.assertEqual(blobs[1], blobs[0], "package builds must be reproducible")

    def test_refused_packages_exit_1_with_the_games_line(self):
        good = make_package(self.ENTRIES, b"pepper")
        flipped = good[:-5] + bytes([good[-5] ^ 1]) + good[-4:]
        header = "Invalid .nj3p header or version"
        cases = [(flipped, TAMPERED), (good[:-10], TAMPERED), (b"NJ3X" + good[4:], header),
                 (make_package(self.ENTRIES, b"pepper", version=2), header),
                 (make_package(self.ENTRIES, b"s" * 257), "")]  # an overlong salt: no message
        for blob, line in cases:
            self.assertEqual(refused("pack", "list", self.write("bad.nj3p", blob)), line)

    def test_extract_refuses_names_that_leave_the_folder(self):
        path = self.write("evil.nj3p", make_package([(b"../escape.txt", b"x"), (b"ok.txt", b"y")], b"s"))
        out = os.path.join(self.dir, "out")
        refused("pack", "extract", path, out)
        self.assertFalse(os.path.exists(os.path.join(self.dir, "escape.txt")))
        self.assertTrue(os.path.exists(os.path.join(out, "ok.txt")))


if __name__ == "__main__":
    NJTOOL = sys.argv.pop(1)
    unittest.main(verbosity=1)
