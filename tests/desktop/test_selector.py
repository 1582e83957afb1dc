# SPDX-License-Identifier: GPL-3.0-or-later
"""The board selector under real mouse input: a click that opens a question while the button is still
down on the scroll bar causes one question and one selection, whatever the answer; a wheel notch moves
one board."""

import time
import unittest

from desktop import Desktop, NO, YES, wait_for
from boards import (BOARD_2_JUMP, EDIT_BUTTON, RIGHT_ARROW, RIGHT_OF_THUMB, SELECTOR, THUMB_NEAR_LEFT, board_in_title,
                    cell_point, set_original, title_of_board)

# Auto-repeat of a held scroll-bar button starts after a few hundred milliseconds and then fires every
# 50 ms; a runaway shows within this time.
RUNAWAY_WINDOW = 1.0


class SelectorTest(unittest.TestCase):
    def start_playing_board_2(self, desk, **settings):
        game = desk.game(settings={"tongue": 0, "level": 2, "left": 50, "top": 50, "edinf": 0, **settings})
        main = game.start()
        desk.wait_title(main, title_of_board(2))
        # One jump: the game is now being played. Input is handled in order, so what follows waits for it.
        desk.drag(main, *BOARD_2_JUMP)
        return game, main

    def answer_and_settle(self, desk, game, answer):
        question = game.wait_message()
        desk.click(question, *answer)
        desk.wait_gone(question, game.pid)
        # Nothing may come back: no second question, no selection running on.
        end = time.monotonic() + RUNAWAY_WINDOW
        while time.monotonic() < end:
            self.assertEqual(game.windows((300, 150)), [], "a question came back after it was answered")
            time.sleep(0.1)

    def close_and_read(self, desk, game, main, save):
        desk.close_request(main)
        desk.click(game.wait_message(), *YES)  # end the game
        if save is not None:
            desk.click(game.wait_message(), *(YES if save else NO))
        self.assertEqual(game.wait_exit(), 0)
        self.assertNotIn("Recursive call", game.log())
        return game.settings()

    def test_no_keeps_the_game_and_the_board(self):
        with Desktop() as desk:
            game, main = self.start_playing_board_2(desk)
            desk.click(main, *RIGHT_ARROW)
            self.answer_and_settle(desk, game, NO)
            self.assertRegex(desk.title(main), title_of_board(2))
            # Still the same game: a second click asks again, once.
            desk.click(main, *RIGHT_ARROW)
            self.answer_and_settle(desk, game, NO)
            self.assertRegex(desk.title(main), title_of_board(2))
            self.assertEqual(self.close_and_read(desk, game, main, save=None)["level"], 2)

    def test_yes_on_an_arrow_moves_one_board(self):
        with Desktop() as desk:
            game, main = self.start_playing_board_2(desk)
            desk.click(main, *RIGHT_ARROW)
            self.answer_and_settle(desk, game, YES)
            desk.wait_title(main, title_of_board(3))
            self.assertEqual(self.close_and_read(desk, game, main, save=None)["level"], 3)

    def test_yes_beside_the_thumb_moves_ten_boards(self):
        with Desktop() as desk:
            game, main = self.start_playing_board_2(desk)
            desk.click(main, *RIGHT_OF_THUMB)
            self.answer_and_settle(desk, game, YES)
            desk.wait_title(main, title_of_board(12))
            self.assertEqual(self.close_and_read(desk, game, main, save=None)["level"], 12)

    def test_yes_after_a_thumb_drag_lands_where_the_thumb_was_released(self):
        thumb_end = (THUMB_NEAR_LEFT[0] + 4, THUMB_NEAR_LEFT[1])
        with Desktop() as desk:
            # The same drag with no game in progress shows which board the release point stands for.
            game = desk.game(settings={"tongue": 0, "level": 2, "left": 50, "top": 50})
            main = game.start()
            desk.drag(main, THUMB_NEAR_LEFT, thumb_end, steps=4)
            wanted = wait_for(lambda: (board_in_title(desk.title(main)) or 2) != 2 and board_in_title(desk.title(main)),
                              what="the thumb drag to select a board")
            self.assertGreater(wanted, 2)
            self.close_and_read(desk, game, main, save=None)

            game, main = self.start_playing_board_2(desk)
            desk.drag(main, THUMB_NEAR_LEFT, thumb_end, steps=4)
            self.answer_and_settle(desk, game, YES)
            desk.wait_title(main, title_of_board(wanted))
            self.assertEqual(self.close_and_read(desk, game, main, save=None)["level"], wanted)

    def test_a_wheel_notch_moves_one_board(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 5, "left": 50, "top": 50})
            main = game.start()
            desk.wait_title(main, title_of_board(5))
            desk.move_to(main, *SELECTOR)
            desk.x("xdotool", "click", "5")  # one notch down
            desk.wait_title(main, title_of_board(6))
            desk.x("xdotool", "click", "4")  # one notch up
            desk.wait_title(main, title_of_board(5))
            self.assertEqual(self.close_and_read(desk, game, main, save=None)["level"], 5)

    def test_in_the_editor_yes_keeps_the_accepted_edit_and_moves_one_board(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 2, "left": 50, "top": 50, "edinf": 0})
            set_original(game.collection_path, 2, 0)
            main = game.start()
            desk.click(main, *EDIT_BUTTON)
            game.wait_window((186, 214))
            with open(game.collection_path, "rb") as before:
                original = before.read()
            desk.click(main, *cell_point(5, 0))  # an empty hole becomes a peg
            desk.activate(main)
            desk.click(main, *RIGHT_ARROW)
            self.answer_and_settle(desk, game, YES)  # accept the changes
            desk.wait_title(main, title_of_board(3))
            desk.click(main, *EDIT_BUTTON)
            settings = self.close_and_read(desk, game, main, save=True)
            self.assertEqual(settings["level"], 3)
            with open(game.collection_path, "rb") as after:
                saved = after.read()
            record = 732  # board 2's record starts here; its first start cell is cell 0
            self.assertEqual(original[record], 1)
            self.assertEqual(saved[record], 2, "the accepted edit reached the saved collection")
            self.assertEqual(saved[2 * record:], original[2 * record:], "no other board changed")


if __name__ == "__main__":
    unittest.main()
