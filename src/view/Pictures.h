// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures compiled into the program: resource paths, glyph sizes and counts, and the hand
// pointer's hot spot, so that windows and the picture generator share one list instead of literals.
#pragma once

#include <QString>

#include <array>

namespace pictures {

// A tool button's glyphs lie side by side in one strip, in the order the button uses them
// (normal, disabled, and for the sound switch also pressed and down).
struct GlyphStrip {
    const char* name; // the button the strip belongs to, also the file name without ".png"
    const char* path;
    int width;  // of one glyph
    int height; // of one glyph
    int count;  // glyphs in the strip
};

inline constexpr GlyphStrip RestartBtn{"RestartBtn", ":/glyphs/RestartBtn.png", 18, 18, 1};
inline constexpr GlyphStrip BackmoveBtn{"BackmoveBtn", ":/glyphs/BackmoveBtn.png", 18, 18, 2};
// Up (sound off), disabled, pressed, down (sound on).
inline constexpr GlyphStrip SoundBtn{"SoundBtn", ":/glyphs/SoundBtn.png", 16, 16, 4};
inline constexpr GlyphStrip EditBtn{"EditBtn", ":/glyphs/EditBtn.png", 16, 16, 2};
inline constexpr GlyphStrip PegBtn{"PegBtn", ":/glyphs/PegBtn.png", 18, 18, 1};
inline constexpr GlyphStrip StepBtn{"StepBtn", ":/glyphs/StepBtn.png", 18, 18, 1};
inline constexpr GlyphStrip ExitBtn{"ExitBtn", ":/glyphs/ExitBtn.png", 18, 18, 1};
inline constexpr GlyphStrip HelpBtn{"HelpBtn", ":/glyphs/HelpBtn.png", 18, 18, 1};
inline constexpr GlyphStrip InfoBtn{"InfoBtn", ":/glyphs/InfoBtn.png", 18, 18, 1};
inline constexpr GlyphStrip TolvarBtn{"TolvarBtn", ":/glyphs/TolvarBtn.png", 26, 20, 1};
inline constexpr GlyphStrip LoadBtn{"LoadBtn", ":/glyphs/LoadBtn.png", 16, 16, 2};
inline constexpr GlyphStrip SaveBtn{"SaveBtn", ":/glyphs/SaveBtn.png", 16, 16, 2};
inline constexpr GlyphStrip InsertBtn{"InsertBtn", ":/glyphs/InsertBtn.png", 16, 16, 2};
inline constexpr GlyphStrip DeleteBtn{"DeleteBtn", ":/glyphs/DeleteBtn.png", 18, 18, 2};
inline constexpr GlyphStrip DownBtn{"DownBtn", ":/glyphs/DownBtn.png", 16, 16, 2};
inline constexpr GlyphStrip UpBtn{"UpBtn", ":/glyphs/UpBtn.png", 16, 16, 2};
inline constexpr GlyphStrip EdTongBtn{"EdTongBtn", ":/glyphs/EdTongBtn.png", 15, 15, 1};

inline constexpr std::array<GlyphStrip, 17> AllGlyphStrips{
    RestartBtn, BackmoveBtn, SoundBtn, EditBtn,   PegBtn,    StepBtn, ExitBtn, HelpBtn,  InfoBtn,
    TolvarBtn,  LoadBtn,     SaveBtn,  InsertBtn, DeleteBtn, DownBtn, UpBtn,   EdTongBtn};

// The status panel's digits and symbols: 300 x 20, columns as the status panel takes them.
inline constexpr const char* Numbs = ":/pictures/numbs.bmp";
inline constexpr int NumbsWidth = 300;
inline constexpr int NumbsHeight = 20;
// The same drawn at twice the pixels, for screens of a higher pixel ratio.
inline constexpr int FineScale = 2;
inline constexpr const char* FineNumbs = ":/pictures/numbs@2x.png";

// A glyph strip drawn at the fine scale: ":/glyphs/RestartBtn.png" -> ":/glyphs/RestartBtn@2x.png".
inline QString FineGlyphPath(const GlyphStrip& strip) {
    QString path = QString::fromLatin1(strip.path);
    return path.insert(path.lastIndexOf(QLatin1Char('.')), QStringLiteral("@%1x").arg(FineScale));
}

// The about box's title picture and the program icon (37 x 37 in the about box, 256 x 256 for the
// desktop entry). PNGs with an alpha channel.
inline constexpr const char* Title = ":/pictures/title.png";
inline constexpr int TitleWidth = 101;
inline constexpr int TitleHeight = 77;
inline constexpr const char* Icon = ":/pictures/icon.png";
inline constexpr int IconSize = 37;
inline constexpr const char* Icon256 = ":/pictures/icon-256.png";
inline constexpr int Icon256Size = 256;

// The pointing hand, 32 x 32 with an alpha channel; its hot spot is the tip of the index finger.
inline constexpr const char* HandCursor = ":/cursors/hand.png";
inline constexpr int HandCursorSize = 32;
inline constexpr int HandHotspotX = 9;
inline constexpr int HandHotspotY = 1;

} // namespace pictures
