# SPDX-License-Identifier: GPL-3.0-or-later
"""Close requests and keys that must not do what they would do in other programs: the editor cannot be
closed, the message windows are answered with the mouse only, and a close request during a drag puts
the peg back."""

import time
import unittest

from desktop import Desktop, NO, YES, wait_for
from boards import BOARD_1_JUMP, BOARD_2_JUMP, EDIT_BUTTON, EXIT_BUTTON, cell_point, set_original

MWM_HINTS_FUNCTIONS = 0x1
MWM_FUNC_ALL = 0x1
MWM_FUNC_CLOSE = 0x20

# How long a window that must stay is watched after a request that would close it.
WATCH = 0.8


class CloseRequestTest(unittest.TestCase):
    def assert_stays(self, game, window, what):
        end = time.monotonic() + WATCH
        while time.monotonic() < end:
            self.assertIn(window, game.windows(), what)
            time.sleep(0.1)

    def start(self, desk, **settings):
        game = desk.game(settings={"tongue": 0, "level": 2, "left": 50, "top": 50, "edinf": 0, **settings})
        return game, game.start()

    def test_the_editor_refuses_a_close_request_and_offers_no_close_button(self):
        with Desktop() as desk:
            game, main = self.start(desk)
            desk.click(main, *EDIT_BUTTON)
            editor = game.wait_window((186, 214))
            desk.wait_framed(editor)
            # The editor asks for no close function (Motif hints: functions given, neither "all" nor
            # "close"). openbox draws its close button all the same, so the request must be refused too.
            flags, functions = (int(v, 0) for v in desk.property(editor, "_MOTIF_WM_HINTS").split(",")[:2])
            self.assertTrue(flags & MWM_HINTS_FUNCTIONS)
            self.assertFalse(functions & (MWM_FUNC_ALL | MWM_FUNC_CLOSE), hex(functions))
            desk.close_request(editor)
            self.assert_stays(game, editor, "the editor closed on a close request")
            # Still editing: a click on the board still edits a cell, and the editor leaves normally.
            desk.click(main, *EDIT_BUTTON)
            desk.wait_gone(editor, game.pid)

    def test_escape_and_close_requests_do_not_answer_the_save_question(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 2, "left": 50, "top": 50, "edinf": 0})
            set_original(game.collection_path, 2, 0)
            main = game.start()
            with open(game.collection_path, "rb") as before:
                original = before.read()
            desk.click(main, *EDIT_BUTTON)
            editor = game.wait_window((186, 214))
            desk.click(main, *cell_point(5, 0))  # a pending edit
            desk.activate(main)
            desk.click(main, *EDIT_BUTTON)  # leaving the editor asks to accept
            desk.click(game.wait_message(), *YES)
            desk.wait_gone(editor, game.pid)

            desk.close_request(main)
            ending = game.wait_message()
            desk.activate(ending)
            desk.key("Escape")
            self.assert_stays(game, ending, "Escape answered the question to end the game")
            desk.click(ending, *YES)
            desk.wait_gone(ending, game.pid)

            saving = game.wait_message()
            desk.activate(saving)
            desk.key("Escape")
            self.assert_stays(game, saving, "Escape answered the save question")
            desk.close_request(saving)
            self.assert_stays(game, saving, "a close request answered the save question")
            desk.activate(saving)
            desk.key("alt+F4")
            self.assert_stays(game, saving, "Alt+F4 answered the save question")
            desk.click(saving, *YES)
            self.assertEqual(game.wait_exit(), 0)
            with open(game.collection_path, "rb") as after:
                self.assertNotEqual(after.read(), original, "the collection was saved")

    def test_a_close_request_while_the_close_asks_leaves_the_question_up(self):
        with Desktop() as desk:
            game, main = self.start(desk, level=1)
            with open(game.collection_path, "rb") as before:
                original = before.read()
            desk.drag(main, *BOARD_1_JUMP)  # solves the board
            stored = game.wait_message()
            desk.click(stored, *YES)  # store the solution
            desk.wait_gone(stored, game.pid)

            # Exit closes the window itself; the window manager's requests meanwhile must change nothing.
            desk.click(main, *EXIT_BUTTON)
            ending = game.wait_message()
            desk.close_request(main)
            self.assert_stays(game, ending, "a close request answered the question to end the game")
            desk.click(ending, *YES)
            desk.wait_gone(ending, game.pid)
            saving = game.wait_message()
            desk.close_request(main)
            self.assert_stays(game, saving, "a close request answered the save question")
            desk.click(saving, *YES)
            self.assertEqual(game.wait_exit(), 0)
            with open(game.collection_path, "rb") as after:
                self.assertNotEqual(after.read(), original, "the collection was saved")
            self.assertIn("sound", game.settings(), "the settings were written at close")


class InterruptedDragTest(unittest.TestCase):
    def test_a_close_request_during_a_drag_puts_the_peg_back(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 2, "left": 50, "top": 50})
            main = game.start()
            desk.move_to(main, 20, 300)
            untouched = desk.grab(main)
            start, end = BOARD_2_JUMP
            desk.activate(main)  # Alt+F4 closes the window that has the focus
            desk.press(main, *start)
            desk.move_to(main, start[0] + 20, start[1] + 20)
            desk.key("alt+F4")
            question = game.wait_message()
            desk.release()
            desk.click(question, *NO)
            desk.wait_gone(question, game.pid)
            # The pointer wanders over the board with no button held: no peg may follow it.
            for point in (end, (250, 200), (20, 300)):
                desk.move_to(main, *point)
            after = desk.grab(main)
            self.assertEqual(after.differences(untouched), 0, "pixels differ from before the drag")
            # And the peg can be played again from where it was.
            desk.drag(main, start, end)
            wait_for(lambda: desk.grab(main).pixel(*end) != untouched.pixel(*end), what="the peg to land")


if __name__ == "__main__":
    unittest.main()
