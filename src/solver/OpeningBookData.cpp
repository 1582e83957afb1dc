// SPDX-License-Identifier: GPL-3.0-or-later
// The opening book the game is built with, the bytes of data/boards/openings.dat taken in whole by
// the assembler, so that the book is found wherever the program runs from.
#include "solver/OpeningBook.h"

extern "C" const std::uint8_t tolvar_openings_begin[];
extern "C" const std::uint8_t tolvar_openings_end[];

asm(".section .rodata\n"
    ".balign 16\n"
    ".globl tolvar_openings_begin\n"
    "tolvar_openings_begin:\n"
    ".incbin \"" TOLVAR_OPENINGS_FILE "\"\n"
    ".globl tolvar_openings_end\n"
    "tolvar_openings_end:\n"
    ".previous\n");

namespace reach {

const std::vector<OpeningPage>& BuiltInOpenings() {
    static const std::vector<OpeningPage> pages = ReadOpenings(
        tolvar_openings_begin, static_cast<std::size_t>(tolvar_openings_end - tolvar_openings_begin));
    return pages;
}

} // namespace reach
