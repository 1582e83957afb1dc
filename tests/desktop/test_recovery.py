# SPDX-License-Identifier: GPL-3.0-or-later
"""What a game that ends without saving leaves for the next start: each running copy of the game keeps
changes of its own, a start offers only those of a copy that is gone, and what the editor shows is
kept as it is shown."""

import struct
import unittest

from desktop import Desktop, YES, NO, wait_for
from boards import BOARD_1_JUMP, EDIT_BUTTON, SOLVED_WORD, cell_point, read_record, title_of_board

EDITOR_SIZE = (186, 214)
INSERT_BUTTON = (64, 16)  # in the editor window
START_CELLS = 0  # offset of the start position in a record


class RecoveryTest(unittest.TestCase):
    SETTINGS = {"tongue": 0, "level": 1, "left": 50, "top": 50, "edinf": 0}

    def first_question(self, desk, game, main):
        """The first question a close request on `main` meets, and its picture: the end question, unless
        another question is already up."""
        desk.close_request(main)
        question = game.wait_message()
        return question, desk.drawn(question)

    def end_and_save(self, desk, game, main):
        desk.close_request(main)
        desk.click(game.wait_message(), *YES)  # end the game
        desk.click(game.wait_message(), *YES)  # save the changed collection
        self.assertEqual(game.wait_exit(), 0)

    def test_a_second_copy_is_offered_nothing_and_a_crash_of_the_first_loses_nothing(self):
        with Desktop() as desk:
            first = desk.game(settings=self.SETTINGS)
            main = first.start()
            desk.drag(main, *BOARD_1_JUMP)  # solves board 1 for the first time: a change
            stored = first.wait_message()
            desk.click(stored, *NO)  # the solution is not stored
            desk.wait_gone(stored, first.pid)
            question, ending = self.first_question(desk, first, main)
            desk.click(question, *NO)
            desk.wait_gone(question, first.pid)

            second = desk.game(same_as=first)
            other = second.start()
            question, asked = self.first_question(desk, second, other)
            self.assertEqual(asked.differences(ending), 0,
                             "the second copy offered the first one's changes while the first one ran")
            desk.click(question, *YES)
            self.assertEqual(second.wait_exit(), 0)

            first.kill()
            third = desk.game(same_as=first)
            main = third.start()
            offer = third.wait_message()
            self.assertNotEqual(desk.drawn(offer).differences(ending), 0, "the start offers the changes")
            desk.click(offer, *YES)
            desk.wait_gone(offer, third.pid)
            self.end_and_save(desk, third, main)
            self.assertEqual(struct.unpack_from("<h", read_record(third, 1), SOLVED_WORD)[0], 1,
                             "board 1 was solved in the copy that crashed")

    def test_cells_clicked_in_the_editor_survive_a_crash(self):
        with Desktop() as desk:
            game = desk.game(settings=self.SETTINGS)
            main = game.start()
            desk.click(main, *EDIT_BUTTON)
            editor = game.wait_window(EDITOR_SIZE)
            desk.click(editor, *INSERT_BUTTON)
            desk.wait_title(main, title_of_board(2))
            cells = (10, 11)
            places = [cell_point(7, cell) for cell in cells]
            blank = desk.grab(main)
            for place in places:
                desk.click(main, *place)
            # Both show as holes: what the player has seen is what a crash must keep.
            wait_for(lambda: all(desk.grab(main).pixel(*place) != blank.pixel(*place) for place in places),
                     what="the clicked cells to show as holes")
            game.kill()

            main = game.start()
            offer = game.wait_message()
            desk.click(offer, *YES)
            desk.wait_gone(offer, game.pid)
            self.end_and_save(desk, game, main)
            record = read_record(game, 2)
            self.assertEqual([record[START_CELLS + cell] for cell in cells], [1, 1],
                             "the inserted board's clicked cells are empty holes")


if __name__ == "__main__":
    unittest.main()
