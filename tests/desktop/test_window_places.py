# SPDX-License-Identifier: GPL-3.0-or-later
"""Window places across restarts under a window manager: `left`/`top` and `eleft`/`etop` are the outer
frame's top-left, written at close and restored at start, so a window nobody moves never creeps."""

import time
import unittest

from boards import EDIT_BUTTON, EXIT_BUTTON, set_original
from desktop import Desktop, YES, wait_for

EDITOR_SIZE = (186, 214)
# The editor's import and export buttons, and the client sizes of the windows they open.
LOAD_BUTTON = (16, 16)
SAVE_BUTTON = (40, 16)
IMPORT_SIZE = (329, 276)
EXPORT_SIZE = (329, 274)
MAIN_CLIENT_HEIGHT = 366


class MainWindowPlace(unittest.TestCase):
    def test_four_starts_leave_the_window_where_it_was(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 1, "left": 200, "top": 150})
            places = []
            for _ in range(4):
                main = game.start()
                places.append(desk.frame_rect(main)[:2])
                desk.close_request(main)
                desk.click(game.wait_message(), *YES)  # "end the game?"
                self.assertEqual(game.wait_exit(), 0)
                written = game.settings()
                self.assertEqual((written["left"], written["top"]), places[-1],
                                 "the place written is the frame's top-left")
            self.assertEqual(places, [(200, 150)] * 4)

    def test_without_a_window_manager_the_window_is_where_its_place_says(self):
        with Desktop(wm=False) as desk:
            game = desk.game(settings={"tongue": 0, "level": 1, "left": 120, "top": 90})
            for _ in range(2):
                main = game.start()
                self.assertEqual(desk.frame_rect(main)[:2], (120, 90))
                desk.click(main, *EXIT_BUTTON)  # no window manager to send a close request
                desk.click(game.wait_message(), *YES)
                self.assertEqual(game.wait_exit(), 0)
            self.assertEqual((game.settings()["left"], game.settings()["top"]), (120, 90))


class EditorWindowPlace(unittest.TestCase):
    def test_the_editor_reopens_where_it_was_across_starts(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 1, "left": 100, "top": 100, "edinf": 0,
                                       "eleft": 700, "etop": 300})
            for _ in range(2):
                main = game.start()
                desk.click(main, *EDIT_BUTTON)
                editor = game.wait_window((186, 214))
                desk.wait_framed(editor)
                self.assertEqual(desk.frame_rect(editor)[:2], (700, 300))
                desk.click(main, *EDIT_BUTTON)  # leaving the editor hides it and stores its place
                desk.wait_gone(editor, game.pid)
                wait_for(lambda: (game.settings().get("eleft"), game.settings().get("etop")) == (700, 300),
                         what="eleft/etop to be written")
                desk.close_request(main)
                desk.click(game.wait_message(), *YES)
                self.assertEqual(game.wait_exit(), 0)


class FileWindowPlace(unittest.TestCase):
    def settled_frame(self, desk, window):
        """The window's frame once the window manager has framed it and it stays where it is."""
        desk.wait_framed(window)

        def still():
            first = desk.frame_rect(window)
            time.sleep(0.2)
            return first if desk.frame_rect(window) == first else None

        return wait_for(still, what="the window to stay in place")

    def test_the_file_windows_stand_centred_on_the_main_windows_client_area(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 2, "left": 100, "top": 50, "edinf": 0})
            set_original(game.collection_path, 2, 0)  # an original board cannot be exported
            main = game.start()
            left, top, width, height = desk.frame_rect(main)
            desk.click(main, *EDIT_BUTTON)
            editor = game.wait_window(EDITOR_SIZE)
            # The first showing of each, before its own frame is known, and a second one after.
            showings = ((SAVE_BUTTON, EXPORT_SIZE), (LOAD_BUTTON, IMPORT_SIZE), (SAVE_BUTTON, EXPORT_SIZE))
            for button, size in showings:
                desk.click(editor, *button)
                window = game.wait_window(size)
                frame = self.settled_frame(desk, window)
                expected = (left + (width - frame[2]) // 2,
                            top + height - (MAIN_CLIENT_HEIGHT + frame[3]) // 2)
                self.assertEqual(frame[:2], expected, f"the {size[0]} x {size[1]} window's frame")
                desk.activate(window)
                desk.key("Escape")
                desk.wait_gone(window, game.pid)


if __name__ == "__main__":
    unittest.main()
