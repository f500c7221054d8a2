#!/usr/bin/env python3
"""Builds the Debian package, installs it into this machine with dpkg, checks
what it put where a desktop looks, starts the game the way the desktop's menu
does (the Exec line of the installed menu entry, from another directory) and
sees the splash picture in its window. The package is removed again unless
it was installed before.

usage: package_test.py BUILD_DIR SHOTS_DIR     (as root; exits 77 otherwise)
"""

import functools
import glob
import os
import re
import shlex
import struct
import subprocess
import sys
import tempfile
import zlib

from common import session
from xsession import Failure, check, wait_for

APP_ID = "org.tovrin.LumoraAndVexmoor"
PACKAGE = "lumora-vexmoor"
GAME = "/usr/libexec/lumora-vexmoor/lumora-vexmoor"
DATA = "/usr/share/lumora-vexmoor/data"
ICON_SIZES = [32, 48, 64, 128, 256]


def run(*args, **kwargs):
    done = subprocess.run(list(args), capture_output=True, text=True, **kwargs)
    check(done.returncode == 0, f"{' '.join(args)} failed:\n{done.stdout}{done.stderr}")
    return done.stdout


@functools.lru_cache
def read_png(path):
    """(width, height, RGBA rows) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    check(data[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is no PNG")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    check(depth == 8 and colour in (2, 6) and interlace == 0, f"{path}: unexpected PNG kind")
    bpp = 4 if colour == 6 else 3
    raw, stride, rows, previous = zlib.decompress(idat), width * bpp, [], bytearray(width * bpp)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b, c = previous[i], previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line) if bpp == 4 else bytes(
            v for x in range(width) for v in (*line[x * 3:x * 3 + 3], 255)))
        previous = line
    return width, height, rows


def shows_picture(shot, path):
    """Whether the window shows the picture: every opaque pixel within what a
    16-bit screen keeps of its colour."""
    width, height, rows = read_png(path)
    if (shot.width, shot.height) != (width, height):
        return False
    for y in range(0, height, 2):
        for x in range(0, width, 2):
            r, g, b, a = rows[y][x * 4:x * 4 + 4]
            if a == 255 and max(abs(p - q) for p, q in zip(shot.rgb(x, y), (r, g, b))) > 8:
                return False
    return True


def needed_packages(executable):
    """The packages that hold the shared libraries the executable names itself."""
    env = {k: v for k, v in os.environ.items() if k != "LD_LIBRARY_PATH"}
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[(\S+)\]", run("readelf", "-d", executable))
    resolved = dict(re.findall(r"^\s*(\S+) => (\S+)", run("ldd", executable, env=env), re.M))
    owners = set()
    for soname in needed:
        path = resolved.get(soname)
        check(path, f"{soname} is not found")
        # With a merged /usr, dpkg knows a library under one of its two names.
        for candidate in (path, "/usr" + path, path.removeprefix("/usr")):
            found = subprocess.run(["dpkg", "-S", candidate], capture_output=True, text=True)
            if found.returncode == 0:
                owners.add(found.stdout.split(":")[0])
                break
        else:
            raise Failure(f"no package holds {path}")
    return owners


def check_installed_tree(deb):
    depends = {d.split()[0] for d in run("dpkg-deb", "-f", deb, "Depends").split(",")}
    print("Depends:", run("dpkg-deb", "-f", deb, "Depends").strip())
    owners = needed_packages(GAME)
    check(depends == owners, f"Depends {sorted(depends)} but the game needs {sorted(owners)}")
    desktop = f"/usr/share/applications/{APP_ID}.desktop"
    run("desktop-file-validate", desktop)
    run("appstreamcli", "validate", "--no-net", f"/usr/share/metainfo/{APP_ID}.metainfo.xml")
    for size in ICON_SIZES:
        icon = f"/usr/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"
        check(os.path.isfile(icon) and read_png(icon)[:2] == (size, size), f"no {size}px icon")
    check(os.path.isfile(f"{DATA}/menu/tovrin.png"), "the game's data is not installed")
    with open(desktop) as f:
        line = next(line for line in f if line.startswith("Exec="))
    # Field codes such as %f are the desktop's business; the game takes none.
    return [word for word in shlex.split(line[len("Exec="):].strip()) if not word.startswith("%")]


def start_from_menu(command, shots):
    with session(command, "/", shots, executable=GAME) as game:
        game.window = game.find_window()
        check(game.x.size(game.window) == (640, 480), "the window is not 640x480")
        wait_for("the splash", lambda: shows_picture(game.evidence.keep("splash?", game.shot()),
                                                     f"{DATA}/menu/tovrin.png"), 4.5, interval=0.1)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    build, shots = sys.argv[1:]
    if os.geteuid() != 0:
        print("installing a package needs root; skipped")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as out:
        run("cpack", "--config", os.path.join(build, "CPackConfig.cmake"), "-B", out)
        deb, = glob.glob(os.path.join(out, "*.deb"))
        was_installed = subprocess.run(["dpkg", "-s", PACKAGE], capture_output=True).returncode == 0
        try:
            run("dpkg", "-i", deb)
            command = check_installed_tree(deb)
            print("menu entry starts:", command)
            start_from_menu(command, shots)
        except Failure as failure:
            print(f"FAILED: {failure}")
            sys.exit(1)
        finally:
            if not was_installed:
                subprocess.run(["dpkg", "-r", PACKAGE], capture_output=True)
    print("passed")


if __name__ == "__main__":
    main()
