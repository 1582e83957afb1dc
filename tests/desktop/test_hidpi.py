# SPDX-License-Identifier: GPL-3.0-or-later
"""The game at a device pixel ratio of 2 on a real X server: the main window takes twice the pixels each
way, the board area is drawn from finer pictures than the 1x one doubled, the about box shows pictures
drawn at 2x rather than its 1x ones scaled, and a jump made with the real mouse at device pixels moves
the peg."""

import unittest

from desktop import MAIN_SIZE, Desktop, wait_for
from boards import BOARD_2_JUMP, title_of_board

SCALE = 2
SCREEN = (2400, 1600)  # room for the doubled main window with its frame
BOARD_AREA = (0, 33, 500, 333)  # in logical pixels
SETTINGS = {"tongue": 0, "level": 2, "left": 50, "top": 50, "edinf": 0}
AWAY = (20, 20)  # a place on the tool panel's edge, in logical pixels: no hover on the board
INFO_BUTTON = (456, 16)  # on the tool panel, in logical pixels
ABOUT_SIZE = (309, 334)
ABOUT_PICTURES = {"title": (8, 8, 101, 77), "icon": (40, 100, 29, 29)}  # the icon inside its corners


def scaled(point, scale):
    return tuple(scale * value for value in point)


def start_game(desk, scale):
    """The main window of a game on board 2 at `scale`, with the pointer off the board."""
    game = desk.game(settings=SETTINGS)
    if scale != 1:
        game.environment["QT_SCALE_FACTOR"] = str(scale)
    game.start(wait=False)
    main = game.wait_window(scaled(MAIN_SIZE, scale), title=title_of_board(2))
    desk.wait_framed(main)
    desk.move_to(main, *scaled(AWAY, scale))
    return game, main


def board_area(desk, main, scale):
    return desk.drawn(main).crop(*scaled(BOARD_AREA, scale))


def share_unlike_doubled(fine, coarse):
    """The share of the 2x picture's pixels that differ from the 1x picture doubled pixel for pixel."""
    differing = 0
    for y in range(fine.height):
        coarse_row = coarse.rows[y // 2]
        doubled = bytearray(3 * fine.width)
        for x in range(coarse.width):
            doubled[6 * x: 6 * x + 3] = doubled[6 * x + 3: 6 * x + 6] = coarse_row[3 * x: 3 * x + 3]
        row = fine.rows[y]
        if row != doubled:
            differing += sum(row[k: k + 3] != doubled[k: k + 3] for k in range(0, len(row), 3))
    return differing / (fine.width * fine.height)


def smoothly_doubled(coarse):
    """The picture scaled to twice its size each way, blending the four nearest pixels as a smooth
    scaling does."""
    def channel(x, y, k):
        x = min(max(x, 0), coarse.width - 1)
        y = min(max(y, 0), coarse.height - 1)
        return coarse.rows[y][3 * x + k]

    rows = []
    for y in range(2 * coarse.height):
        sy = (y + 0.5) / 2 - 0.5
        y0 = int(sy // 1)
        fy = sy - y0
        row = bytearray()
        for x in range(2 * coarse.width):
            sx = (x + 0.5) / 2 - 0.5
            x0 = int(sx // 1)
            fx = sx - x0
            for k in range(3):
                top = channel(x0, y0, k) * (1 - fx) + channel(x0 + 1, y0, k) * fx
                bottom = channel(x0, y0 + 1, k) * (1 - fx) + channel(x0 + 1, y0 + 1, k) * fx
                row.append(round(top * (1 - fy) + bottom * fy))
        rows.append(bytes(row))
    return rows


def distance_from_smooth(fine, coarse):
    """The mean difference, per colour channel, between the 2x picture and the 1x one scaled smoothly:
    small when the 2x picture was made from the 1x one rather than drawn at 2x."""
    total = 0
    for row, smooth in zip(fine.rows, smoothly_doubled(coarse)):
        total += sum(abs(a - b) for a, b in zip(row, smooth))
    return total / (3 * fine.width * fine.height)


class HiDpiTest(unittest.TestCase):
    def test_the_board_area_is_drawn_at_device_pixels(self):
        with Desktop(screen=SCREEN) as desk:
            game, main = start_game(desk, 1)
            coarse = board_area(desk, main, 1)
            desk.screenshot("board-1x", main)
            game.stop()
            game, main = start_game(desk, SCALE)
            self.assertEqual(tuple(desk.client_rect(main)[2:]), (1000, 732))
            fine = board_area(desk, main, SCALE)
            desk.screenshot("board-2x", main)
            self.assertEqual((fine.width, fine.height), (2 * coarse.width, 2 * coarse.height))
            share = share_unlike_doubled(fine, coarse)
            self.assertGreaterEqual(share, 0.10, f"only {share:.1%} of the 2x pixels differ from 1x doubled")

    def test_the_about_box_shows_its_pictures_at_device_pixels(self):
        with Desktop(screen=SCREEN) as desk:
            pictures = {}
            for scale in (1, SCALE):
                game, main = start_game(desk, scale)
                desk.click(main, *scaled(INFO_BUTTON, scale))
                about = game.wait_window(scaled(ABOUT_SIZE, scale))
                shown = desk.drawn(about)
                pictures[scale] = {name: shown.crop(*scaled(place, scale))
                                   for name, place in ABOUT_PICTURES.items()}
                game.stop()
            for name in ABOUT_PICTURES:
                # Qt itself scales a 1x picture smoothly (about 1 level from this); one drawn at 2x
                # differs by about 8.
                distance = distance_from_smooth(pictures[SCALE][name], pictures[1][name])
                self.assertGreaterEqual(distance, 3.0, f"{name}: the 2x picture is the 1x one scaled smoothly"
                                                       f" ({distance:.1f} levels from it)")

    def test_a_mouse_jump_at_device_pixels_moves_the_peg(self):
        with Desktop(screen=SCREEN) as desk:
            game, main = start_game(desk, SCALE)
            start, landing = (scaled(point, SCALE) for point in BOARD_2_JUMP)
            before = desk.drawn(main)
            peg, hole = before.pixel(*start), before.pixel(*landing)
            self.assertNotEqual(peg, hole, "the start cell shows no peg before the jump")
            desk.drag(main, start, landing)

            def jumped():
                after = desk.drawn(main)
                return after.pixel(*landing) == peg and after.pixel(*start) != peg

            wait_for(jumped, what="the peg to land on the landing cell")


if __name__ == "__main__":
    unittest.main()
