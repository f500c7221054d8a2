#!/usr/bin/env python3
"""A failed start shows the desktop's error box for real: the game is started
with a video driver that does not exist, so SDL cannot start, while the box
still reaches the X server. The box must be titled "Error" and hold the game
until it is dismissed; then the game writes SDL's reason as one line and ends
with status 1.

The game shows its box with the first of zenity, kdialog and xmessage that it
can start. Each of them that is installed is tried on its own, by giving the
game a PATH where only that one is found.

usage: dialog_test.py GAME_DIR SHOTS_DIR
"""

import os
import shutil
import sys
import tempfile
import time

from common import TITLE, session
from xsession import check, wait_for

BOXES = ["zenity", "kdialog", "xmessage"]


def fail_to_start(game):
    game.window = game.find_window("Error")
    game.evidence.keep("error box", game.shot())
    print("  box:", game.x.run("xprop", "-id", str(game.window), "WM_CLASS"))
    check(game.x.windows(TITLE) == [], "the game opened its window all the same")
    # The box is modal: the game waits for it, and the line comes after it.
    time.sleep(0.5)
    check(game.process.poll() is None, "the game did not wait for the box")
    check(game.output() == "", "the game wrote before the box was dismissed")

    game.x.focus(game.window)
    game.x.key_down("Return")
    time.sleep(0.1)
    game.x.key_up("Return")
    wait_for("the box to go", lambda: not game.x.windows("Error"), 10)
    status = game.exit_status()
    output = game.output()
    print(f"  standard output: {output!r}")
    check(status == 1, f"exit status {status}")
    check(output.count("\n") == 1 and output.endswith("\n") and output.strip(),
          "standard output is not one line that gives the reason")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    game_dir, shots = sys.argv[1:]
    installed = [box for box in BOXES if shutil.which(box)]
    check(installed, "none of zenity, kdialog, xmessage is installed")
    for box in installed:
        print(f"{box}:")
        with tempfile.TemporaryDirectory() as only:
            os.symlink(shutil.which(box), os.path.join(only, box))
            with session([os.path.join(game_dir, "lumora-vexmoor")], game_dir,
                         os.path.join(shots, box),
                         env={"SDL_VIDEODRIVER": "no-such-driver", "PATH": only}) as game:
                fail_to_start(game)
    print("passed:", ", ".join(installed))


if __name__ == "__main__":
    main()
