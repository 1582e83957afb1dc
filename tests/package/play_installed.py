# SPDX-License-Identifier: GPL-3.0-or-later
"""An unpacked package played by an ordinary user: the installed launcher starts the game, the user
solves board 1 with real mouse input, saves at the close, and the next start shows the board solved;
the installed collection stays byte for byte what the package holds.

    python3 play_installed.py <unpacked package tree>

Runs on the desktop tier's driver (tests/desktop/desktop.py on PYTHONPATH). When run as root, the
game runs as the user nobody, with a home of its own; otherwise as the current user. Either way the
program directory must be one the player cannot write, as it is when installed (the package check
makes the unpacked one read-only).
"""

import hashlib
import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from desktop import MAIN_SIZE, YES, Desktop, DesktopError, Game, wait_for

TREE = None

# Board 1, "First Jump" (5 x 5 square): pegs on cells 19 and 20; the jump 19 over 20 to 21 solves it.
BOARD_1_JUMP = (19, 21)
# The solved indicator of the status panel (a smiling or a worried face), in main-window client pixels.
SOLVED_FACE = (304, 7, 12, 20)
RECORD_SIZE = 732
SOLVED_OFFSET = 638


def cell_point(size, cell):
    row, col = divmod(cell, 9)
    return (174 - 16 * size + 32 * col + 8, 33 + 174 - 16 * size + 32 * row + 8)


def digest(path):
    with open(path, "rb") as data:
        return hashlib.sha256(data.read()).hexdigest()


def solved_flag(collection, number):
    with open(collection, "rb") as data:
        record = data.read()[(number - 1) * RECORD_SIZE: number * RECORD_SIZE]
    return int.from_bytes(record[SOLVED_OFFSET: SOLVED_OFFSET + 2], "little", signed=True)


class Player:
    """The ordinary user who plays: nobody when the test runs as root, else the current user."""

    def __init__(self):
        if os.geteuid() == 0:
            entry = pwd.getpwnam("nobody")
            self.uid, self.gid = entry.pw_uid, entry.pw_gid
            self.prefix = ["setpriv", f"--reuid={self.uid}", f"--regid={self.gid}", "--clear-groups", "--"]
        else:
            self.uid, self.gid = os.getuid(), os.getgid()
            self.prefix = []

    def own(self, path):
        for root, dirs, files in os.walk(path):
            for name in [root] + [os.path.join(root, f) for f in dirs + files]:
                os.chown(name, self.uid, self.gid)


class InstalledGame(Game):
    """The game as the package installs it: started through the launcher on the PATH, as the player,
    with the home and the XDG directories in a place the player owns."""

    def __init__(self, desk, root, player, settings):
        self.desk = desk
        self.root = root
        self.player = player
        self.program = os.path.join(TREE, "usr", "lib", "tolvarpegs")
        self.home = os.path.join(root, "home")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.state = os.path.join(self.home, ".local", "state")
        self.runtime = os.path.join(root, "runtime")
        for directory in (self.config, self.data, self.state, self.runtime):
            os.makedirs(directory, exist_ok=True)
        os.chmod(self.runtime, 0o700)
        self.proc = None
        self.runs = 0
        self.name = ""  # one copy of the game: its logs carry no copy number
        self.copies = 1
        self.environment = {}
        self.write_settings(settings)
        player.own(self.home)
        player.own(self.runtime)
        desk.games.append(self)

    @property
    def player_collection(self):
        return os.path.join(self.data, "tolvarpegs", "vorn.dat")

    def env(self):
        env = super().env()
        env["PATH"] = os.path.join(TREE, "usr", "games") + os.pathsep + env.get("PATH", "/usr/bin:/bin")
        return env

    def start(self, wait=True):
        if self.proc and self.proc.poll() is None:
            raise DesktopError("the game is already running")
        self.runs += 1
        self.proc = subprocess.Popen(self.player.prefix + ["tolvarpegs"], env=self.env(), cwd=self.home,
                                     stdout=subprocess.DEVNULL, stderr=open(self.log_path, "wb"))
        if not wait:
            return None
        main = self.wait_window(MAIN_SIZE, title=r"Tolvar Pegs \d+.*")
        self.desk.wait_framed(main)
        return main


class InstalledPackageTest(unittest.TestCase):
    def setUp(self):
        # Readable by the player on the way down; the home inside belongs to the player.
        self.root = tempfile.mkdtemp(prefix="tolvar-package-play-")
        os.chmod(self.root, 0o755)
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        self.installed = os.path.join(TREE, "usr", "lib", "tolvarpegs", "vorn.dat")
        self.installed_digest = digest(self.installed)

    def answer_every_message(self, desk, game, quiet=1.5):
        """Answers the solved board's windows (the notice, the offer to store the solution) with their
        left button until none has shown for `quiet` seconds."""
        end = time.monotonic() + quiet
        while time.monotonic() < end:
            windows = game.windows((300, 150))
            if windows:
                desk.click(windows[0], *YES)
                desk.wait_gone(windows[0], game.pid)
                end = time.monotonic() + quiet
            time.sleep(0.1)

    def close_and_save(self, desk, game, main):
        desk.close_request(main)
        desk.click(game.wait_message(), *YES)  # end the game?
        saving = game.wait_message()
        desk.click(saving, *YES)  # save the modifications?
        self.assertEqual(game.wait_exit(), 0, game.log())

    def test_a_solved_board_is_saved_for_the_player_and_shows_solved_at_the_next_start(self):
        player = Player()
        with Desktop() as desk:
            game = InstalledGame(desk, self.root, player,
                                 {"tongue": 0, "level": 1, "left": 40, "top": 40, "sound": 0, "edinf": 0})
            main = game.start()
            face = lambda: desk.grab(main).crop(*SOLVED_FACE).rows
            worried = face()
            start, end = (cell_point(5, cell) for cell in BOARD_1_JUMP)
            desk.drag(main, start, end)
            self.answer_every_message(desk, game)
            smiling = wait_for(lambda: face() != worried and face(), what="the solved face in the status panel")
            self.close_and_save(desk, game, main)

            self.assertEqual(digest(self.installed), self.installed_digest, "the installed collection was written")
            self.assertTrue(os.path.isfile(game.player_collection), "no collection of the player's own")
            self.assertGreater(solved_flag(game.player_collection, 1), 0, "board 1 is not saved as solved")
            self.assertEqual(solved_flag(self.installed, 1), 0)

            main = game.start()
            self.assertEqual(face(), smiling, "the next start does not show board 1 solved")
            desk.close_request(main)
            desk.click(game.wait_message(), *YES)
            self.assertEqual(game.wait_exit(), 0, game.log())
        self.assertEqual(digest(self.installed), self.installed_digest)


if __name__ == "__main__":
    TREE = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
