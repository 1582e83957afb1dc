# SPDX-License-Identifier: GPL-3.0-or-later
"""A sound server that accepts the game's connection and never answers: the game plays its sounds all
the same, its windows answer at once, and it ends normally. The sound system's client gives up on such
a server only after half a minute."""

import os
import socket
import threading
import unittest

from desktop import Desktop, NO, YES, wait_for
from boards import BOARD_2_JUMP

# Far below the sound system's half minute, far above what a busy machine needs to show a window.
AT_ONCE = 8.0


class MuteSoundServer:
    """A listening socket in the sound server's place that takes every connection and says nothing."""

    def __init__(self, path):
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.bind(path)
        self.socket.listen(16)
        self.connections = []
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                connection, _ = self.socket.accept()
            except OSError:
                return
            self.connections.append(connection)

    def close(self):
        for connection in self.connections:
            connection.close()
        self.socket.close()


class MuteSoundServerTest(unittest.TestCase):
    def test_the_game_answers_at_once_and_ends_while_the_sound_server_is_mute(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 2, "left": 50, "top": 50, "sound": 1})
            # Where the sound system's client looks by itself, and where the variable points it.
            os.makedirs(os.path.join(game.runtime, "pulse"))
            path = os.path.join(game.runtime, "pulse", "native")
            server = MuteSoundServer(path)
            self.addCleanup(server.close)
            game.environment["PULSE_SERVER"] = "unix:" + path
            main = game.start()
            start, end = BOARD_2_JUMP
            desk.activate(main)  # Alt+F4 closes the window that has the focus

            desk.press(main, *start)  # picking the peg up plays the first sound
            desk.move_to(main, start[0] + 20, start[1] + 20)
            wait_for(lambda: server.connections, what="the game to connect to the sound server")
            desk.key("alt+F4")
            question = game.wait_message(timeout=AT_ONCE)
            desk.release()
            desk.click(question, *NO)
            desk.wait_gone(question, game.pid, timeout=AT_ONCE)

            desk.drag(main, start, end)  # the jump's sound
            desk.activate(main)
            desk.key("ctrl+q")
            ending = game.wait_message(timeout=AT_ONCE)
            desk.click(ending, *YES)
            self.assertEqual(game.wait_exit(timeout=AT_ONCE), 0)


if __name__ == "__main__":
    unittest.main()
