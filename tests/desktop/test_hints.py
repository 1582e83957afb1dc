# SPDX-License-Identifier: GPL-3.0-or-later
"""The English Cross, 33 holes, played with real X input: four jumps by mouse into a dead end bring the
dead-end mark, an undo takes it away, and from there the hints alone, each blink followed by its jump
made by mouse, lead to the solved question without the mark ever showing."""

import subprocess
import time
import unittest

from desktop import Desktop, Image, NO, wait_for
from boards import blinked_jump, cell_point, title_of_board

CROSS = 78  # the built-in English Cross
SIZE = 7
BOARD_AREA = (0, 33, 500, 333)
HOLES = [cell for cell in range(63) if cell % 9 < 7 and (cell // 9 in (2, 3, 4) or cell % 9 in (2, 3, 4))]
CENTRE = 30
# Where the dead-end mark shows in the main window, and its red.
MARK = (382, 229, 32, 32)
MARK_RED = (220, 30, 20)
# Three jumps that keep the cross solvable, and a fourth that leaves it in a dead end.
OPENING = [(12, 30), (39, 21), (28, 30)]
INTO_THE_DEAD_END = (21, 39)


def grab(desk, main):
    data = subprocess.run(["xwd", "-id", str(main), "-silent"], env=desk.env(), check=True,
                          capture_output=True).stdout
    return Image.from_xwd(data)


def middle(image, cell):
    return image.pixel(*cell_point(SIZE, cell))


def pegs_shown(image, peg):
    return {cell for cell in HOLES if middle(image, cell) == peg}


def mark_shown(image):
    x, y, width, height = MARK
    return any(image.pixel(x + dx, y + dy) == MARK_RED for dx in range(width) for dy in range(height))


def jumped(pegs, start, landing):
    return (pegs - {start, (start + landing) // 2}) | {landing}


class HintsTest(unittest.TestCase):
    def settled(self, desk, main, peg, pegs, what):
        """The window once it shows exactly `pegs` and stays the same between two looks."""
        def look():
            first = grab(desk, main)
            time.sleep(0.15)
            second = grab(desk, main)
            return second if first.rows == second.rows and pegs_shown(second, peg) == pegs else None
        return wait_for(look, what=what)

    def jump(self, desk, main, start, landing):
        desk.drag(main, cell_point(SIZE, start), cell_point(SIZE, landing))

    def hinted_jump(self, desk, main, peg, still, pegs):
        """Presses H until a blink shows one peg and one hole changed: the hinted jump."""
        found = blinked_jump(desk, lambda: grab(desk, main), middle, HOLES, still, pegs, 2.0)
        if found is not None:
            return found
        self.fail(f"no hint blinked on the pegs {sorted(pegs)}")

    def test_a_dead_end_brings_the_mark_and_the_hints_solve_the_cross(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": CROSS, "left": 50, "top": 50, "edinf": 0})
            desk.x("xdotool", "mousemove", "1200", "1000")
            main = game.start()
            desk.wait_title(main, title_of_board(CROSS))
            desk.activate(main)
            peg = middle(grab(desk, main), 12)
            pegs = set(HOLES) - {CENTRE}
            self.settled(desk, main, peg, pegs, "the cross at its start")

            for start, landing in OPENING:
                self.jump(desk, main, start, landing)
                pegs = jumped(pegs, start, landing)
                self.settled(desk, main, peg, pegs, f"the jump {start} to {landing}")
            before = pegs
            self.jump(desk, main, *INTO_THE_DEAD_END)
            pegs = jumped(pegs, *INTO_THE_DEAD_END)
            wait_for(lambda: mark_shown(grab(desk, main)), what="the dead-end mark")
            desk.key("ctrl+z")
            pegs = before
            wait_for(lambda: not mark_shown(grab(desk, main)) and pegs_shown(grab(desk, main), peg) == pegs,
                     what="the jump taken back and the mark gone")

            while len(pegs) > 1:
                still = self.settled(desk, main, peg, pegs, f"the pegs on {sorted(pegs)}")
                self.assertFalse(mark_shown(still), f"a dead-end mark on the pegs {sorted(pegs)}")
                start, landing = self.hinted_jump(desk, main, peg, still, pegs)
                self.assertIn(abs(start - landing), (2, 18), "a jump two cells along a row or column")
                self.settled(desk, main, peg, pegs, "the blink to end")
                self.jump(desk, main, start, landing)
                pegs = jumped(pegs, start, landing)
            desk.click(game.wait_message(), *NO)  # the solved question: the hints led to a solution
            self.assertEqual(len(pegs), 1)


if __name__ == "__main__":
    unittest.main()
