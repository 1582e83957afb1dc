# SPDX-License-Identifier: GPL-3.0-or-later
"""The game played with real X key events: a whole board by keyboard to the solved question, undo and
redo on the screen, Page Down through boards with the give-up question, and hints whose jumps, made by
keyboard, lead to a solution."""

import struct
import subprocess
import time
import unittest

from desktop import Desktop, Image, NO, YES, wait_for
from boards import SOLVED_WORD, blinked_jump, cell_point, read_record, title_of_board

SOLUTION_FROM = 472
SOLUTION_TO = 552
SOLUTION_MOVES = 633
BOARD_AREA = (0, 33, 500, 333)
# The keyboard cursor shows first on the middle of a size 5 board.
HOME = 20
ARROWS = {(-1, 0): "Up", (1, 0): "Down", (0, -1): "Left", (0, 1): "Right"}
CELLS = [cell for cell in range(45) if cell % 9 < 5]  # of a size 5 board
RING = (255, 214, 0)  # the cursor ring's colour; the ring leaves a cell's middle free


class Keyboard:
    """The cursor's place as the keys put it, on a square board whose cells are all holes."""

    def __init__(self, desk):
        self.desk = desk
        self.cell = None

    def go(self, cell):
        if self.cell is None:
            self.desk.key("Right")  # the first arrow only shows the cursor
            self.cell = HOME
        row, col = divmod(cell, 9)
        here_row, here_col = divmod(self.cell, 9)
        keys = [ARROWS[(1 if row > here_row else -1, 0)]] * abs(row - here_row)
        keys += [ARROWS[(0, 1 if col > here_col else -1)]] * abs(col - here_col)
        if keys:
            self.desk.key(*keys)
        self.cell = cell

    def jump(self, start, landing, confirm="space"):
        self.go(start)
        self.desk.key("space")
        self.go(landing)
        self.desk.key(confirm)


def board_area(desk, main):
    """The board area's pixels, straight from the window."""
    data = subprocess.run(["xwd", "-id", str(main), "-silent"], env=desk.env(), check=True,
                          capture_output=True).stdout
    return Image.from_xwd(data).crop(*BOARD_AREA)


def middle(image, cell):
    x, y = cell_point(5, cell)
    return image.pixel(x, y - BOARD_AREA[1])


def pegs_shown(image, peg):
    """The cells of the size 5 board whose middles show the peg colour `peg`."""
    return {cell for cell in CELLS if middle(image, cell) == peg}


def ring_shown(image, cell):
    """Whether the cursor ring shows around `cell`."""
    x, y = cell_point(5, cell)
    y -= BOARD_AREA[1]
    return any(image.pixel(x + dx, y + dy) == RING for dx in range(-16, 17) for dy in (-1, 0, 1))


def settled(desk, main, condition, what):
    """The board area once it satisfies `condition` and stays the same between two looks. Two equal
    looks alone prove nothing: a game that has not yet handled the keys looks still as well, so the
    condition names what the keys must have brought about."""
    def look():
        first = board_area(desk, main)
        time.sleep(0.15)
        second = board_area(desk, main)
        return second if first.rows == second.rows and condition(second) else None
    return wait_for(look, what=what)


class KeyboardTest(unittest.TestCase):
    def start(self, desk, level):
        game = desk.game(settings={"tongue": 0, "level": level, "left": 50, "top": 50, "edinf": 0})
        desk.x("xdotool", "mousemove", "1200", "1000")  # the pointer stays out of the game's way
        main = game.start()
        desk.wait_title(main, title_of_board(level))
        desk.activate(main)
        return game, main

    def close_and_save(self, desk, game, main):
        desk.activate(main)  # a question that just closed may have left the focus elsewhere
        desk.key("ctrl+q")
        desk.click(game.wait_message(), *YES)  # end the game
        desk.click(game.wait_message(), *YES)  # save the changed collection
        self.assertEqual(game.wait_exit(), 0)

    def test_a_whole_board_by_keyboard_ends_in_the_solved_question(self):
        with Desktop() as desk:
            game, main = self.start(desk, 2)  # Three in a Row: pegs on 19, 20 and 22
            keys = Keyboard(desk)
            keys.jump(19, 21)
            keys.jump(22, 20, confirm="Return")
            question = game.wait_message()
            desk.click(question, *YES)  # store the solution
            desk.wait_gone(question, game.pid)
            self.close_and_save(desk, game, main)
            record = read_record(game, 2)
            self.assertEqual(struct.unpack_from("<h", record, SOLVED_WORD)[0], 1)
            self.assertEqual(record[SOLUTION_MOVES], 2)
            self.assertEqual(list(record[SOLUTION_FROM:SOLUTION_FROM + 2]), [19, 22])
            self.assertEqual(list(record[SOLUTION_TO:SOLUTION_TO + 2]), [21, 20])

    def test_undo_and_redo_on_the_screen(self):
        with Desktop() as desk:
            game, main = self.start(desk, 2)
            peg = middle(board_area(desk, main), 19)
            keys = Keyboard(desk)
            keys.go(21)
            before = settled(desk, main, lambda image: pegs_shown(image, peg) == {19, 20, 22} and
                             ring_shown(image, 21), "the cursor on cell 21")
            keys.jump(19, 21)
            after = settled(desk, main, lambda image: pegs_shown(image, peg) == {21, 22},
                            "the jump on the screen")
            desk.key("ctrl+z")
            settled(desk, main, lambda image: image.rows == before.rows, "the jump taken back")
            desk.key("ctrl+y")
            settled(desk, main, lambda image: image.rows == after.rows, "the jump redone")
            desk.key("ctrl+z", "ctrl+shift+z")
            settled(desk, main, lambda image: image.rows == after.rows, "the jump redone again")
            # The redone game goes on to the end as any other.
            keys.jump(22, 20)
            desk.click(game.wait_message(), *NO)

    def test_page_down_through_boards_asks_to_give_up_a_game(self):
        with Desktop() as desk:
            game, main = self.start(desk, 2)
            Keyboard(desk).jump(19, 21)
            desk.key("Next")
            question = game.wait_message()
            desk.click(question, *NO)
            desk.wait_gone(question, game.pid)
            self.assertRegex(desk.title(main), title_of_board(2))
            desk.activate(main)
            desk.key("Next")
            desk.click(game.wait_message(), *YES)
            desk.wait_title(main, title_of_board(3))
            # No game on board 3 yet: Page Up and Page Down ask nothing.
            desk.activate(main)
            desk.key("Prior")
            desk.wait_title(main, title_of_board(2))
            desk.key("Next", "Next")
            desk.wait_title(main, title_of_board(4))
            self.assertEqual(game.windows((300, 150)), [])

    def hinted_jump(self, desk, main, pegs, peg):
        """Presses H until a blink shows; the peg that blinked and the hole it blinked into."""
        still = settled(desk, main, lambda image: pegs_shown(image, peg) == pegs,
                        f"the pegs on {sorted(pegs)}")
        found = blinked_jump(desk, lambda: board_area(desk, main), middle, CELLS, still, pegs, 1.5)
        if found is not None:
            return found
        self.fail("no hint blinked as one peg and one hole")

    def test_hints_made_by_keyboard_lead_to_a_solution(self):
        with Desktop() as desk:
            game, main = self.start(desk, 3)  # Little Square: pegs on 10, 11, 19 and 20
            pegs = {10, 11, 19, 20}
            peg = middle(board_area(desk, main), 10)
            keys = Keyboard(desk)
            keys.go(HOME)
            while len(pegs) > 1:
                start, landing = self.hinted_jump(desk, main, pegs, peg)
                self.assertIn(abs(start - landing), (2, 18), "a jump two cells along a row or column")
                # The blink has ended and changed nothing before the jump is made.
                settled(desk, main, lambda image: pegs_shown(image, peg) == pegs, "the blink to end")
                keys.jump(start, landing)
                pegs -= {start, (start + landing) // 2}
                pegs.add(landing)
            desk.click(game.wait_message(), *NO)  # the solved question: the hints led to a solution
            self.assertEqual(len(pegs), 1)


if __name__ == "__main__":
    unittest.main()
