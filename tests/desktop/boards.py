# SPDX-License-Identifier: GPL-3.0-or-later
"""Places on the main window, facts about the built-in boards, and the hint's blink as the desktop tests see
it."""

import re
import struct
import time

RECORD = 732  # bytes of one board in vorn.dat
ORIGINAL_WORD = 634  # offset of the Original word in a record; every built-in board is an original
SOLVED_WORD = 638
NAMES = 166  # six name slots of a length byte and 50 bytes; slot 0 is the English name
NAME_SLOT = 51

PANEL_HEIGHT = 33

# Tool panel, in main-window client coordinates.
EDIT_BUTTON = (88, 16)
STEP_BUTTON = (136, 16)
EXIT_BUTTON = (160, 16)
SELECTOR = (378, 17)
RIGHT_ARROW = (406, 17)
RIGHT_OF_THUMB = (392, 17)  # beside the thumb while it stands near the left end
THUMB_NEAR_LEFT = (371, 17)  # the middle of the thumb on one of the first boards


def cell_point(size, cell):
    """The middle of a cell of a square board of `size`, in main-window client coordinates."""
    row, col = divmod(cell, 9)
    return (174 - 16 * size + 32 * col + 8, PANEL_HEIGHT + 174 - 16 * size + 32 * row + 8)


# Board 2, "Three in a Row" (5 x 5, pegs on cells 19, 20, 22): the jump 19 over 20 to 21 leaves the
# game in play.
BOARD_2_JUMP = (cell_point(5, 19), cell_point(5, 21))
# Board 1, "First Jump" (5 x 5, pegs on cells 19 and 20): the same jump solves it.
BOARD_1_JUMP = BOARD_2_JUMP


def board_in_title(title):
    """The board number a main-window title names, None for another title."""
    match = re.match(r"Tolvar Pegs (\d+)", title or "")
    return int(match.group(1)) if match else None


def title_of_board(number):
    """The main window's title on built-in board `number`, as a regular expression."""
    return re.escape(f"Tolvar Pegs {number}") + r"( - .*)?"


def read_record(game, number):
    """The bytes of board `number` (1-based) in the game's collection file."""
    with open(game.collection_path, "rb") as collection:
        collection.seek((number - 1) * RECORD)
        return collection.read(RECORD)


def set_name(collection_path, number, name, slot=0):
    """Gives board `number` (1-based) the name `name` (bytes in Windows-1252) in a copied collection file."""
    with open(collection_path, "r+b") as collection:
        collection.seek((number - 1) * RECORD + NAMES + slot * NAME_SLOT)
        collection.write(bytes([len(name)]) + name)


def set_original(collection_path, number, word):
    """Sets the Original word of board `number` (1-based) in a copied collection file."""
    with open(collection_path, "r+b") as collection:
        collection.seek((number - 1) * RECORD + ORIGINAL_WORD)
        collection.write(struct.pack("<h", word))


def blinked_jump(desk, look, cell_middle, cells, still, pegs, seconds):
    """Presses H until the pictures `look()` takes show the hint's blink: one peg and one hole changed
    against `still`. Returns the jump as (start, landing), or None when four presses bring none. A
    picture may fall between two pictures of the blink; only a peg and a hole changed together are
    the hint."""
    for _ in range(4):
        desk.key("h")
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            image = look()
            changed = [cell for cell in cells if cell_middle(image, cell) != cell_middle(still, cell)]
            start = [cell for cell in changed if cell in pegs]
            landing = [cell for cell in changed if cell not in pegs]
            if len(start) == 1 and len(landing) == 1:
                return start[0], landing[0]
    return None
