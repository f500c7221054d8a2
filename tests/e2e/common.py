"""What the game's end-to-end tests share: starting the game in a real X
server, watching its window, pressing its keys, and keeping the pictures of
a failed run where CI's log shows them."""

import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

from xsession import Failure, XServer, check, wait_for

TITLE = "Lumora And Vexmoor"
# A key is held until the game has shown that it took the key-down (a pass is
# 40 ms plus its work), and never less than this.
HOLD = 0.1
# A screen counts as settled once it has not changed for this long: longer
# than any still moment inside the heroes' animations.
QUIET = 0.25


def sdl_library(game):
    """The SDL 1.2 library the game loads here, as the loader resolves it, and
    which of the two kinds it is: the classic library (libSDL-1.2.so.0.11.x)
    or SDL 1.2 over SDL2 (sdl12-compat, libSDL-1.2.so.1.2.x)."""
    listing = subprocess.run(["ldd", game], capture_output=True, text=True).stdout
    match = re.search(r"libSDL-1\.2\.so\.0 => (\S+)", listing)
    path = os.path.realpath(match.group(1)) if match else "not found"
    return path, "compat" if os.path.basename(path).startswith("libSDL-1.2.so.1.") else "classic"


class Evidence:
    """Pictures taken along a run, written out only when the run fails."""

    def __init__(self, directory):
        self.directory = directory
        self.shots = []

    def keep(self, name, shot):
        if shot is not None:
            self.shots.append((name, shot))
        return shot

    def report(self):
        shutil.rmtree(self.directory, ignore_errors=True)
        os.makedirs(self.directory, exist_ok=True)
        print(f"pictures of the failed run in {self.directory}:")
        for number, (name, shot) in enumerate(self.shots[-12:]):
            path = os.path.join(self.directory, f"{number:02d}-{name}.png")
            shot.write_png(path)
            print(f"  {path} ({shot.width}x{shot.height})")
        for name, shot in self.shots[-3:]:
            print(f"{name}:")
            print("\n".join("  " + line for line in shot.sketch()))


class Game:
    """The game running in its own X server, with the means to play it."""

    def __init__(self, command, workdir, env=None, evidence=None):
        self.x = XServer()
        self.evidence = evidence or Evidence(tempfile.mkdtemp())
        self.log = tempfile.TemporaryFile()
        self.errors = tempfile.TemporaryFile()
        self.process = subprocess.Popen(command, cwd=workdir, env=dict(self.x.env, **(env or {})),
                                        stdout=self.log, stderr=self.errors)
        self.window = None
        self.screen = None  # the last settled picture

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.x.close()

    def output(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")

    def error_output(self):
        self.errors.seek(0)
        return self.errors.read().decode(errors="replace")

    def find_window(self, title=TITLE, timeout=20):
        found = wait_for(f'a window titled "{title}"', lambda: self.x.windows(title), timeout)
        check(len(found) == 1, f'{len(found)} windows titled "{title}"')
        return found[0]

    def shot(self):
        picture = self.x.shot(self.window)
        check(picture is not None, "the game window has gone")
        return picture

    def settle(self, name, timeout=10):
        """Waits until the screen stays the same for QUIET seconds; that picture."""
        last, since = self.shot(), time.monotonic()
        deadline = since + timeout
        while time.monotonic() - since < QUIET:
            check(time.monotonic() < deadline, f"the screen did not settle: {name}")
            time.sleep(0.02)
            now = self.shot()
            if now != last:
                last, since = now, time.monotonic()
        self.screen = self.evidence.keep(name, last)
        return last

    def wait_screen(self, name, expected, timeout=8):
        """Waits until the screen shows the expected picture."""
        try:
            wait_for(name, lambda: self.shot().alike(expected), timeout)
        finally:
            self.evidence.keep(name, self.shot())
        self.screen = expected
        return expected

    def press(self, key, name, changes=True, expect=None, until=None, timeout=8):
        """Presses a key once as a player would: down, held, up.

        A key that should change the screen is held until it has, so that the
        game took its key-down while the key was down. Then the screen is left
        to settle, or to become the expected picture, or to settle on one that
        `until` accepts.
        """
        before = self.screen
        self.x.key_down(key)
        try:
            time.sleep(HOLD)
            if changes:
                wait_for(f"{key} to change the screen ({name})", lambda: not self.shot().alike(before), timeout)
        finally:
            self.x.key_up(key)
        if expect is not None:
            return self.wait_screen(name, expect, timeout)
        deadline = time.monotonic() + timeout
        while True:
            screen = self.settle(name)
            if until is None or until(screen):
                return screen
            check(time.monotonic() < deadline, f"{name}: the screen settled on something else")

    def exit_status(self, timeout=10):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the game did not end within {timeout} s")


@contextlib.contextmanager
def session(command, workdir, shots, env=None, executable=None):
    """A game started for one test by `command` (its executable, or a launcher
    of `executable`). A failed check inside the block ends the test with
    status 1 after printing why, the pictures kept along the way and what the
    game wrote."""
    started = time.monotonic()
    library, flavour = sdl_library(executable or command[0])
    print(f"SDL library: {library} ({flavour})")
    game = Game(command, workdir, env, Evidence(f"{shots}-{flavour}"))
    try:
        yield game
        shutil.rmtree(game.evidence.directory, ignore_errors=True)  # none from an earlier failure
    except Exception as failure:  # a fault of the harness is reported the same way
        print(f"FAILED: {failure}" if isinstance(failure, Failure) else traceback.format_exc())
        game.evidence.report()
        print(f"game's standard output: {game.output()!r}")
        print("game's standard error, last lines:")
        print("\n".join("  " + line for line in game.error_output().splitlines()[-10:]))
        sys.exit(1)
    finally:
        game.close()
        print(f"took {time.monotonic() - started:.1f} s")
