# SPDX-License-Identifier: GPL-3.0-or-later
"""Titles as the window manager receives them (_NET_WM_NAME and WM_NAME)."""

import unittest

from desktop import Desktop, YES
from boards import EDIT_BUTTON, RIGHT_ARROW, set_name, set_original

LANGUAGE_WINDOW = (320, 91)
GERMAN_BUTTON = (194, 61)


class TitleTest(unittest.TestCase):
    def test_the_language_chosen_at_the_first_start_names_the_board_in_the_title(self):
        with Desktop() as desk:
            game = desk.game(settings={"level": 1, "left": 50, "top": 50})
            game.start(wait=False)
            language = game.wait_window(LANGUAGE_WINDOW)
            desk.click(language, *GERMAN_BUTTON)
            main = game.wait_window((500, 366))
            desk.wait_title(main, "Tolvar Pegs 1 - Der erste Sprung")
            desk.close_request(main)
            desk.click(game.wait_message(), *YES)
            self.assertEqual(game.wait_exit(), 0)
            self.assertEqual(game.settings()["tongue"], 1)

    def test_the_editor_title_is_empty_on_a_board_that_can_be_edited(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 2, "left": 50, "top": 50, "edinf": 0})
            set_original(game.collection_path, 2, 0)  # board 3 stays an original
            main = game.start()
            desk.click(main, *EDIT_BUTTON)
            editor = game.wait_window((186, 214))
            desk.wait_framed(editor)
            # Both title properties are there and empty (Qt would have written "tolvarpegs").
            self.assertEqual(desk.property(editor, "_NET_WM_NAME"), "")
            self.assertEqual(desk.property(editor, "WM_NAME"), "")
            desk.click(main, *RIGHT_ARROW)  # the next board is an original
            desk.wait_title(editor, "Original board - no editing")
            desk.screenshot("editor-original", editor)
            desk.click(main, 350, 17)  # back to an ordinary board: the title empties again
            desk.wait_title(editor, "")

    def test_no_control_character_of_a_board_name_reaches_the_title(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 2, "left": 50, "top": 50})
            # A title a tool prints into a terminal would set the terminal's own title and break lines.
            set_name(game.collection_path, 2, b"A\x1b]0;x\x07B\nC\tD")
            main = game.start()
            shown = '"Tolvar Pegs 2 - A\u241b]0;x\u2407B\u240aC\u2409D"'
            self.assertEqual(desk.property(main, "_NET_WM_NAME"), shown)
            self.assertEqual(desk.property(main, "WM_NAME"), shown)


if __name__ == "__main__":
    unittest.main()
