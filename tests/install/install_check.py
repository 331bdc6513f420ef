#!/usr/bin/env python3
"""The game installed and packaged for real, as a player and a distribution meet it.
  install_check.py layout|installed|deb --build DIR --source DIR --game NIGHTJAR
                   --sim NIGHTJAR_SIM --njtool NJTOOL --win-script SIM_SCRIPT
"""
import argparse
import gzip
import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from njcheck import read_png, write  # noqa: E402

ICON_SIZES = (32, 64, 128, 256)
XVFB_ENV = {"VK_INSTANCE_LAYERS": "VK_LAYER_KHRONOS_validation",
            "VK_ICD_FILENAMES": "/usr/share/vulkan/icd.d/lvp_icd.x86_64.json"}
VALIDATION_MARKERS = ("Validation", "VUID-", "UNASSIGNED-")


class CheckFailed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise CheckFailed(message)


def run(command, cwd=None, env=None, check=True):
    result = subprocess.run(command, cwd=cwd, env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True, timeout=600)
    if check and result.returncode != 0:
        raise CheckFailed("%s exited %d:\n%s" % (" ".join(command), result.returncode,
                                                 result.stdout))
    return result


def text_of(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def cache_value(build, name):
    found = re.search("^%s:[^=]*=(.*)$" % name, text_of(os.path.join(build, "CMakeCache.txt")), re.M)
    expect(found, "%s is not in the build's cache" % name)
    return found.group(1).strip()


class Layout:
    """Where an install under `prefix` puts each of the game's files."""

    def __init__(self, build, prefix):
        self.prefix = prefix
        self.app_id = cache_value(build, "NJ_APP_ID")
        configured = cache_value(build, "CMAKE_INSTALL_PREFIX")
        data = cache_value(build, "NJ_INSTALL_DATA_DIR")
        expect(data.startswith(configured + "/"),
               "the data folder %s is not below the prefix %s" % (data, configured))
        self.data_rel = data[len(configured) + 1:]
        self.bin_rel = cache_value(build, "NJ_INSTALL_BINDIR")

    def game_files(self):
        return sorted([os.path.join(self.bin_rel, "nightjar"),
                       os.path.join(self.data_rel, "game.nj3p"),
                       os.path.join(self.data_rel, "campaign_maps.json"),
                       "share/applications/%s.desktop" % self.app_id,
                       "share/metainfo/%s.metainfo.xml" % self.app_id, "share/man/man6/nightjar.6.gz"]
                      + [self.icon(n) for n in ICON_SIZES])

    def icon(self, size):
        return "share/icons/hicolor/%dx%d/apps/%s.png" % (size, size, self.app_id)

    def path(self, relative):
        return os.path.join(self.prefix, relative)


def files_below(root):
    return sorted(os.path.relpath(os.path.join(folder, n), root)
                  for folder, _, names in os.walk(root) for n in names)


def install(build, prefix, component=None):
    run(["cmake", "--install", build, "--prefix", prefix] + (["--component", component] if component else []))
    return Layout(build, prefix)


def check_layout(args):
    with tempfile.TemporaryDirectory(prefix="nj-install-") as prefix:
        layout = install(args.build, prefix)
        expect(files_below(prefix) == layout.game_files(),
               "the install holds %s, expected %s" % (files_below(prefix), layout.game_files()))
        mode = os.stat(layout.path(os.path.join(layout.bin_rel, "nightjar"))).st_mode
        expect(mode & stat.S_IXOTH, "the installed game is not executable by everyone")

        desktop = layout.path("share/applications/%s.desktop" % layout.app_id)
        run(["desktop-file-validate", desktop])
        entry = text_of(desktop)
        expect("\nIcon=%s\n" % layout.app_id in entry, "the menu entry names another icon")
        expect("\nExec=nightjar" in entry, "the menu entry does not start nightjar")

        metainfo = layout.path("share/metainfo/%s.metainfo.xml" % layout.app_id)
        run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo])
        meta = text_of(metainfo)
        expect("<launchable type=\"desktop-id\">%s.desktop</launchable>" % layout.app_id in meta,
               "the metainfo launches another desktop entry")
        expect("<control>gamepad</control>" in meta, "the metainfo does not name the controller")
        shots = re.findall(r"<image>[^<]*/([^/<]+\.png)</image>", meta)
        expect(shots, "the metainfo shows no screenshot")
        for shot in shots:
            expect(os.path.isfile(os.path.join(args.source, "docs/screenshots", shot)),
                   "the metainfo shows %s, which docs/screenshots does not hold" % shot)

        for size in ICON_SIZES:
            icon = layout.path(layout.icon(size))
            width, height, colour, rows = read_png(icon)
            expect((width, height, colour) == (size, size, 6), "%s is %dx%d colour type %d, not "
                   "%dx%d RGBA" % (icon, width, height, colour, size, size))
            # The logo's edges are smoothed: a blank or flat picture has a colour or two.
            expect(len({pixel for row in rows for pixel in row}) > 16, "%s is blank" % icon)

        text = gzip.open(layout.path("share/man/man6/nightjar.6.gz"), "rt", encoding="utf-8").read()
        plain = subprocess.run(["groff", "-man", "-Tutf8", "-ww", "-z"], input=text, text=True,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        expect(plain.returncode == 0 and plain.stderr == "",
               "groff finds faults in the manual page:\n" + plain.stderr)
        for option in sorted(set(re.findall(r'"(--[a-z][a-z-]*)"', text_of(os.path.join(args.source, "app/command_line.cpp"))))):
            # "\-\-frames" as groff spells it, not the start of a longer option.
            spelled = re.escape(option.replace("-", "\\-")) + r"(?![a-z\\])"
            expect(re.search(spelled, text), "the manual page does not describe %s" % option)

    print("layout: ok")  # the tools' files: the deb check's


def player_env(home, **extra):
    return dict({k: v for k, v in os.environ.items() if not k.startswith("XDG_")}, **XVFB_ENV,
                HOME=home, **extra)


def run_self_test(game, cwd, home, shot):
    display = str(100 + (os.getpid() % 200) * 4)
    result = run(["timeout", "300", "xvfb-run", "-a", "-n", display, "-s",
                  "-screen 0 1280x720x24", game, "--test", "--fixed-step", "--screenshot", shot],
                 cwd=cwd, env=player_env(home))
    expect(not any(m in result.stdout for m in VALIDATION_MARKERS),
           "the validation layer spoke:\n" + result.stdout)
    return result.stdout


def check_installed(args):
    with tempfile.TemporaryDirectory(prefix="nj-installed-") as root:
        prefix, cwd, home, xdg, portable, portable_home, old_home, with_save = (
            os.path.join(root, n) for n in ("prefix", "cwd", "home", "xdg", "portable",
                                            "portable-home", "old-home", "with-save"))
        for folder in (cwd, home, portable, portable_home, old_home, with_save):
            os.makedirs(folder)
        layout = install(args.build, prefix)
        install(args.build, prefix, "devtools")
        data = layout.path(layout.data_rel)

        output = run_self_test(layout.path(os.path.join(layout.bin_rel, "nightjar")), cwd, home,
                               os.path.join(root, "installed.png"))
        mounted = [ln for ln in output.splitlines() if "[NJ3Package] Successfully mounted" in ln] or [""]
        expect(os.path.realpath(data) in mounted[0] or data in mounted[0],
               "the installed game mounted no package or another one:\n" + output)

        # Finding all of its data, the installed game draws what the build's game draws.
        for name in ("game.nj3p", "campaign_maps.json"):
            shutil.copy(os.path.join(args.build, name), portable)
        output = run_self_test(args.game, portable, portable_home, os.path.join(root, "portable.png"))
        expect("'game.nj3p'" in output, "the game did not mount the package beside it:\n" + output)
        out = run([args.njtool, "page", "compare", os.path.join(root, "installed.png"),
                   os.path.join(root, "portable.png")]).stdout
        found = re.search(r"mean absolute error ([0-9.]+) %", out)
        expect(found and float(found.group(1)) < 0.5, "the installed game's frame differs from "
               "the build's (%s): it did not find all of its data" % out.strip())

        # A win (unlocking operation 2) is saved in the home's data folder or XDG_DATA_HOME, in a
        # save.dat already in the working directory, or, run portable, beside the game's data.
        old_save = write(os.path.join(with_save, "save.dat"), "0 0 0 0 0\n0 0 0 0 \n")
        sim = layout.path("bin/nightjar-sim")
        for program, folder, player_home, extra, save in (
                (sim, cwd, home, {}, os.path.join(home, ".local/share/nightjar/save.dat")),
                (sim, cwd, home, {"XDG_DATA_HOME": xdg}, os.path.join(xdg, "nightjar/save.dat")),
                (sim, with_save, old_home, {}, old_save),
                (args.sim, portable, portable_home, {}, os.path.join(portable, "save.dat"))):
            run([program, args.win_script], cwd=folder, env=player_env(player_home, **extra))
            progress = text_of(save).split() if os.path.isfile(save) else "nothing"
            expect(progress[:1] == ["1"], "the win left %s in %s; the home holds %s"
                   % (progress, save, files_below(player_home)))
        mode = stat.S_IMODE(os.stat(os.path.join(home, ".local/share/nightjar")).st_mode)
        expect(mode == 0o700, "the save folder's mode is %o, not 700" % mode)
        expect(os.listdir(cwd) == [], "the game and its wins wrote %s into their folder" % os.listdir(cwd))
        expect(files_below(portable_home) == [], "a portable game wrote into the home")
    print("installed: ok")


def package_names(relation):
    """The package names of a Depends-like field ("a (>= 1), b | c")."""
    return {re.split(r"[\s(:]", alt.strip(), maxsplit=1)[0]
            for part in relation.split(",") for alt in part.split("|") if alt.strip()}


def check_deb(args):
    with tempfile.TemporaryDirectory(prefix="nj-deb-") as out:
        run(["cpack", "-G", "DEB", "-B", out], cwd=args.build)
        debs = sorted(n for n in os.listdir(out) if n.endswith(".deb"))
        expect(len(debs) == 2 and debs[0].startswith("nightjar-devtools_")
               and debs[1].startswith("nightjar_"), "cpack made %s" % debs)
        game, tools = (os.path.join(out, n) for n in reversed(debs))

        fields = {name: value.strip() for name, value in  # a description's later lines left out
                  re.findall(r"^([A-Za-z-]+):(.*)$", run(["dpkg-deb", "-f", game]).stdout, re.M)}
        arch = run(["dpkg", "--print-architecture"]).stdout.strip()
        for name, value in (("Package", "nightjar"), ("Section", "games"), ("Architecture", arch)):
            expect(fields.get(name) == value, "%s: %s" % (name, fields.get(name)))
        expect(fields.get("Maintainer") and fields.get("Description"), "no Maintainer or Description")
        depends = package_names(fields.get("Depends", ""))
        # volk opens the Vulkan loader at run time: no soname names it.
        expect("libvulkan1" in depends, "Depends lacks the Vulkan loader: %s" % depends)
        # Each library the game links, found by its soname, comes from a package it depends on.
        needed = re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]",
                            run(["readelf", "-d", args.game]).stdout)
        expect(needed, "the game links no shared library")
        cache = run(["ldconfig", "-p"]).stdout
        for soname in needed:
            found = re.search(r"^\s*%s \(libc6,x86-64[^)]*\) => (\S+)" % re.escape(soname), cache, re.M)
            expect(found, "the linker cache has no %s" % soname)
            owner = run(["dpkg", "-S", os.path.realpath(found.group(1))], check=False)
            if owner.returncode != 0:
                owner = run(["dpkg", "-S", found.group(1)])
            package = owner.stdout.split(":", 1)[0].strip()
            expect(package in depends, "the game links %s from %s, which Depends lacks: %s"
                   % (soname, package, fields.get("Depends")))
        expect(package_names(fields.get("Recommends", "")) == {"mesa-vulkan-drivers"},
               "Recommends: %s" % fields.get("Recommends"))

        found = re.search(r'set\(CPACK_PACKAGING_INSTALL_PREFIX "([^"]*)"\)',
                          text_of(os.path.join(args.build, "CPackConfig.cmake")))
        base = (found.group(1) if found else "/usr").strip("/")
        for deb, files in ((game, Layout(args.build, "").game_files()), (tools, ["bin/nightjar-sim", "bin/njtool"])):
            listed = sorted(line.split()[-1][2:] for line in run(["dpkg-deb", "-c", deb]).stdout
                            .splitlines() if not line.startswith("d"))
            expect(listed == [os.path.join(base, f) for f in files],
                   "%s holds %s" % (os.path.basename(deb), listed))
    print("deb: ok")


CHECKS = {"layout": check_layout, "installed": check_installed, "deb": check_deb}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("check", choices=CHECKS)
    for name in ("build", "source", "game", "sim", "njtool", "win-script"):
        parser.add_argument("--" + name, required=name in ("build", "source"), type=os.path.abspath)
    args = parser.parse_args()
    try:
        CHECKS[args.check](args)
    except CheckFailed as failure:
        print("%s: %s" % (args.check, failure), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
