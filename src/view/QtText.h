// SPDX-License-Identifier: GPL-3.0-or-later
// Our UTF-8 texts as Qt text: the one conversion every window uses for the game's texts.
#pragma once

#include <QString>

#include <string_view>

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
