# SPDX-License-Identifier: GPL-3.0-or-later
"""The display platform on a desktop that offers Wayland as well, and places that leave a title bar off
the screen."""

import os
import shutil
import subprocess
import unittest

from desktop import Desktop, MAIN_SIZE, YES, wait_for

WAYLAND_SOCKET = "wayland-tolvar"


class Weston:
    """A headless Wayland compositor in the game's runtime directory, as a GNOME or Plasma Wayland
    session offers one beside XWayland."""

    def __init__(self, desk, runtime):
        self.runtime = runtime
        self.log = open(desk.path("weston.log"), "wb")
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        self.proc = subprocess.Popen(["weston", "--backend=headless-backend.so", f"--socket={WAYLAND_SOCKET}",
                                      "--idle-time=0", "--no-config"], env=env, stdout=self.log,
                                     stderr=subprocess.STDOUT)
        wait_for(lambda: os.path.exists(os.path.join(runtime, WAYLAND_SOCKET)) or self.proc.poll() is not None,
                 what="weston's socket")
        if self.proc.poll() is not None:
            raise AssertionError("weston did not start (see weston.log)")

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.log.close()


@unittest.skipUnless(shutil.which("weston"), "weston is not installed (scripts/setup.sh installs it)")
class WaylandSessionTest(unittest.TestCase):
    def test_the_game_runs_on_x11_when_wayland_is_there_too(self):
        with Desktop() as desk:
            game = desk.game(settings={"tongue": 0, "level": 1, "left": 120, "top": 80})
            weston = Weston(desk, game.runtime)
            try:
                plain_env = game.env
                game.env = lambda: dict(plain_env(), WAYLAND_DISPLAY=WAYLAND_SOCKET, XDG_SESSION_TYPE="wayland")
                # On Wayland no X window would ever show and the wait would time out.
                main = game.start()
                self.assertEqual(desk.frame_rect(main)[:2], (120, 80))
                self.assertEqual(desk.client_rect(main)[2:], MAIN_SIZE)
                desk.close_request(main)
                desk.click(game.wait_message(), *YES)
                self.assertEqual(game.wait_exit(), 0)
                self.assertEqual((game.settings()["left"], game.settings()["top"]), (120, 80))
            finally:
                weston.stop()


class TitleBarPlaceTest(unittest.TestCase):
    def test_a_place_above_the_screen_is_moved_so_that_the_title_bar_can_be_reached(self):
        with Desktop() as desk:
            # What a Wayland session's client-side decoration once reported as the window's place.
            game = desk.game(settings={"tongue": 0, "level": 1, "left": -3, "top": -30})
            main = game.start()
            left, top, _, _ = desk.frame_rect(main)
            self.assertEqual((left, top), (0, 0))
            desk.screenshot("moved-onto-the-screen")


if __name__ == "__main__":
    unittest.main()
