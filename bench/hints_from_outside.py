# SPDX-License-Identifier: GPL-3.0-or-later
"""The hint and the dead-end watch on the English Cross as a player meets them: the real game under
Xvfb and openbox, driven by real X input. From the start, a few random jumps made by mouse lead to a
mid-game position (17 to 26 pegs); H is pressed there, and what shows is noted with the time it took:
the hint's blink, the notice "cannot reach the goal", or any other notice (the "don't know"). The
jumps are then taken back. At the end: the answers counted, the slowest, and the CPU the game's
process (every thread) spent per jump, from the drop until the next position was asked for.

    python3 bench/hints_from_outside.py [POSITIONS] [SECONDS_BETWEEN_JUMPS] [SEED] [--busy]

--busy runs a busy loop on every core meanwhile. The built program directory is build/game, or
TOLVAR_GAME_DIR; TOLVAR_DESKTOP_KEEP=1 keeps the screenshots of the notices that were not the
dead end's.
"""

import collections
import os
import random
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "desktop"))

from boards import cell_point, title_of_board  # noqa: E402
from desktop import MESSAGE_SIZE, Desktop  # noqa: E402
from test_hints import (CENTRE, CROSS, HOLES, INTO_THE_DEAD_END, OPENING, SIZE, grab, jumped,  # noqa: E402
                        mark_shown, middle, pegs_shown)

OK = (186, 122)  # the notice's one button
TICK = os.sysconf("SC_CLK_TCK")


def process_seconds(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICK


def legal_jumps(pegs):
    return sorted((start, start + 2 * step) for start in pegs for step in (1, -1, 9, -9)
                  if start + step in pegs and start + 2 * step in HOLES and start + 2 * step not in pegs)


def main():
    args = [a for a in sys.argv[1:] if a != "--busy"]
    positions = int(args[0]) if len(args) > 0 else 30
    gap = float(args[1]) if len(args) > 1 else 0.6
    rng = random.Random(int(args[2]) if len(args) > 2 else 7)
    busy = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(os.cpu_count() or 1)
            ] if "--busy" in sys.argv else []
    try:
        with Desktop() as desk:
            run(desk, positions, gap, rng)
    finally:
        for loop in busy:
            loop.kill()


def run(desk, positions, gap, rng):
    game = desk.game(settings={"tongue": 1, "level": CROSS, "left": 50, "top": 50, "edinf": 0})
    desk.x("xdotool", "mousemove", "1200", "1000")
    main = game.start()
    desk.wait_title(main, title_of_board(CROSS))
    desk.activate(main)
    pid = game.proc.pid
    peg = middle(grab(desk, main), 12)

    def settled(pegs):
        end = time.monotonic() + 30
        while time.monotonic() < end:
            first = grab(desk, main)
            time.sleep(0.1)
            second = grab(desk, main)
            if first.rows == second.rows and pegs_shown(second, peg) == pegs:
                return second
        raise SystemExit(f"the board never showed the pegs {sorted(pegs)}")

    def jump(pegs, start, landing):
        desk.drag(main, cell_point(SIZE, start), cell_point(SIZE, landing))
        return jumped(pegs, start, landing)

    def notice():
        windows = game.windows(MESSAGE_SIZE)
        return windows[0] if windows else None

    def dismiss(window):
        desk.click(window, *OK)
        time.sleep(0.3)
        desk.activate(main)

    # The notice of a known dead end, to tell it from the others.
    pegs = set(HOLES) - {CENTRE}
    for start, landing in OPENING + [INTO_THE_DEAD_END]:
        pegs = jump(pegs, start, landing)
        settled(pegs)
    time.sleep(1.0)
    desk.key("h")
    end = time.monotonic() + 10
    while notice() is None and time.monotonic() < end:
        time.sleep(0.05)
    window = notice()
    dead_end = desk.drawn(window).rows
    dismiss(window)
    for _ in range(4):
        desk.key("ctrl+z")
    start_pegs = set(HOLES) - {CENTRE}
    settled(start_pegs)

    answers, jumps, cpu = [], 0, 0.0
    for position in range(positions):
        pegs, made = set(start_pegs), 0
        for _ in range(rng.randint(6, 15)):
            moves = legal_jumps(pegs)
            if not moves:
                break
            before = process_seconds(pid)
            pegs = jump(pegs, *rng.choice(moves))
            made += 1
            time.sleep(gap)
            settled(pegs)
            cpu += process_seconds(pid) - before
            jumps += 1
        still = settled(pegs)
        time.sleep(0.3)
        pressed = time.monotonic()
        desk.key("h")
        what, seconds = "nothing within 5 s", 5.0
        while time.monotonic() - pressed < 5:
            window = notice()
            if window is not None:
                seconds = time.monotonic() - pressed
                picture = desk.drawn(window)
                what = "cannot reach" if picture.rows == dead_end else "other notice"
                if what != "cannot reach":
                    picture.save_png(desk.path(f"notice-{position}.png"))
                dismiss(window)
                break
            now = grab(desk, main)
            # On a busy machine the dead-end mark may come only now: it changes the board, but it
            # is not the hint's blink.
            if mark_shown(now) and not mark_shown(still):
                still = now
                continue
            if any(middle(now, cell) != middle(still, cell) for cell in HOLES):
                # A notice mapped over the board between the look for it and the grab is no blink.
                time.sleep(0.1)
                if notice() is not None:
                    continue
                what, seconds = "blink", time.monotonic() - pressed
                break
        answers.append((what, seconds))
        print(f"position {position}: {len(pegs)} pegs, {what} after {seconds:.2f} s, "
              f"dead-end mark {'shown' if mark_shown(grab(desk, main)) else 'not shown'}", flush=True)
        time.sleep(1.0)
        settled(pegs)
        for _ in range(made):
            desk.key("ctrl+z")
        settled(start_pegs)
    print(f"{jumps} jumps, {1000 * cpu / max(jumps, 1):.1f} ms of CPU each ({gap} s between jumps)")
    print(dict(collections.Counter(what for what, _ in answers)),
          f"slowest {max(seconds for _, seconds in answers):.2f} s")


if __name__ == "__main__":
    main()
