// SPDX-License-Identifier: GPL-3.0-or-later
// The interface language: -1 not chosen yet, 0 English, 1 German. Every text choice asks "German?"
// and takes English for anything else, so a language not chosen yet shows English.
#pragma once

constexpr int LanguageUnset = -1;
constexpr int LanguageEnglish = 0;
constexpr int LanguageGerman = 1;

constexpr bool IsGerman(int language) {
    return language == LanguageGerman;
}
