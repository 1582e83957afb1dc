// SPDX-License-Identifier: GPL-3.0-or-later
// A text of the game in both languages, and the one way to pick it by language. Plain UTF-8, no Qt.
#pragma once

#include <string_view>

#include "rules/Language.h"

struct Bilingual {
    std::string_view german;
    std::string_view english;

    constexpr std::string_view in(int language) const { return IsGerman(language) ? german : english; }
};
