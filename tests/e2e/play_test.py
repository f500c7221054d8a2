#!/usr/bin/env python3
"""Plays the built game from its start to its end in a real X window, as a
player would: waits out the splash, passes the instructions, walks the menu,
plays every level to its win with the orders the level tool's solver finds,
loses a level on purpose and quits from the menu.

usage: play_test.py GAME_DIR LEVEL_TOOL FALL_TOOL SHOTS_DIR
GAME_DIR holds the executable lumora-vexmoor and its data/ tree.
"""

import itertools
import os
import subprocess
import sys
import time

from common import TITLE, session
from xsession import check, wait_for

LEVELS = 4
KEYS = {"up": "Up", "left": "Left", "right": "Right"}

# Where the two boards are drawn (x from, x to), from y 32 to 448.
BOARDS = [(32, 288), (352, 608)]
# The menu's pictures lie over parts of the boards: x, y, width, height.
MENU_PICTURES = [(32, 32, 64, 64), (96, 32, 448, 64), (544, 32, 64, 64),
                 (128, 128, 384, 48), (159, 384, 322, 48)]


def visible_board_spans():
    """The rows of the board areas, less what the menu's pictures cover:
    there both the menu and the game show the level's cells."""
    spans = []
    for y in range(32, 448):
        for left, right in BOARDS:
            covered = sorted((x, x + w) for x, yy, w, h in MENU_PICTURES if yy <= y < yy + h)
            x = left
            for x0, x1 in covered:
                if x0 > x:
                    spans.append((y, x, min(x0, right)))
                x = max(x, x1)
            if x < right:
                spans.append((y, x, right))
    return [(y, x0, x1) for y, x0, x1 in spans if x1 > x0]


SPANS = visible_board_spans()


def keys_from(tool, *args, cwd):
    """The orders a tool prints on its "keys:" line, as X key names."""
    done = subprocess.run([os.path.abspath(tool), *args], cwd=cwd, capture_output=True, text=True, timeout=60)
    lines = [line for line in done.stdout.splitlines() if line.startswith("keys:")]
    check(done.returncode == 0 and len(lines) == 1,
          f"{os.path.basename(tool)} {' '.join(args)} gave {done.returncode}: {done.stdout!r}")
    names = lines[0].split()[1:]
    check(names and all(n in KEYS for n in names), f"unknown orders in {lines[0]!r}")
    return [KEYS[n] for n in names]


def level_files(n):
    return f"data/levels/lumora{n}.map", f"data/levels/vexmoor{n}.map"


def best_menu_match(screen, menus):
    """The level whose menu preview shares the most pixels with the screen's
    boards, and whether it is the only one that close."""
    score = {n: screen.same_pixels(menus[n], SPANS) for n in menus}
    ranked = sorted(score, key=score.get, reverse=True)
    return ranked[0], score[ranked[0]] > score[ranked[1]], score


def play(game, solutions, fall):
    game.window = game.find_window()
    seen = time.monotonic()
    check(game.x.size(game.window) == (640, 480), f"window size {game.x.size(game.window)}")
    game.x.focus(game.window)

    # The splash stays five seconds after SDL started, then the instructions.
    splash = game.evidence.keep("splash", game.shot())
    wait_for("the end of the splash", lambda: not game.shot().alike(splash), 15)
    held = time.monotonic() - seen
    check(held > 3.5, f"the splash went after {held:.1f} s")
    instructions = game.settle("instructions")
    check(not instructions.alike(splash), "the instructions look like the splash")

    menus = {1: game.press("space", "menu, level 1")}
    check(not menus[1].alike(instructions), "space left the instructions on screen")
    check(game.x.windows(TITLE) == [game.window], "the window's title changed")
    for n in range(2, LEVELS + 1):
        menus[n] = game.press("Right", f"menu, level {n}")
    check(game.press("Right", "menu, right at the last level", changes=False).alike(menus[LEVELS]),
          "right at the last level changed the menu")
    for n in range(LEVELS - 1, 0, -1):
        check(game.press("Left", f"menu, back to level {n}").alike(menus[n]),
              f"the menu back at level {n} differs from before")
    for a, b in itertools.combinations(menus, 2):
        check(menus[a].same_pixels(menus[b], SPANS) < sum(x1 - x0 for _, x0, x1 in SPANS),
              f"levels {a} and {b} show the same boards")

    starts = {1: game.press("space", "level 1, start")}
    for n in range(1, LEVELS + 1):
        check(not starts[n].alike(menus[n]), f"level {n} did not leave the menu")
        best, alone, score = best_menu_match(starts[n], menus)
        check(best == n and alone, f"level {n}'s boards look most like level {best}'s: {score}")
        keys = solutions[n]
        for i, key in enumerate(keys[:-1], 1):
            game.press(key, f"level {n}, order {i} {key}")
        if n < LEVELS:
            # The win shows the heroes' exit, then the next level at once.
            starts[n + 1] = game.press(keys[-1], f"level {n + 1}, start",
                                       until=lambda s: best_menu_match(s, menus)[0] == n + 1)
        else:
            game.press(keys[-1], "menu after the last win", expect=menus[LEVELS])

    # Space plays the menu's level from its start again; this time it is lost.
    check(game.press("space", f"level {LEVELS} again").alike(starts[LEVELS]),
          f"level {LEVELS} did not start as before")
    for i, key in enumerate(fall[:-1], 1):
        game.press(key, f"level {LEVELS}, falling, order {i} {key}")
    game.press(fall[-1], "menu after the fall", expect=menus[LEVELS])

    # Escape in the menu ends the game.
    game.x.key_down("Escape")
    try:
        status = game.exit_status()
    finally:
        game.x.key_up("Escape")
    check(status == 0, f"exit status {status}")
    output = game.output()
    print(f"standard output: {output!r}")
    check(output.endswith("\n") and output.count("\n") == 1,
          "standard output is not the one line of the audio device")


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    game_dir, level_tool, fall_tool, shots = sys.argv[1:]
    solutions = {n: keys_from(level_tool, "solve", *level_files(n), cwd=game_dir)
                 for n in range(1, LEVELS + 1)}
    fall = keys_from(fall_tool, *level_files(LEVELS), cwd=game_dir)
    print("orders:", {n: len(keys) for n, keys in solutions.items()}, "fall:", len(fall))
    with session([os.path.join(game_dir, "lumora-vexmoor")], game_dir, shots) as game:
        play(game, solutions, fall)
    print("passed")


if __name__ == "__main__":
    main()
