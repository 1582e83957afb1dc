// SPDX-License-Identifier: GPL-3.0-or-later
// The tool buttons' glyph strips: each button's glyphs side by side in the order the button uses
// them, with transparent surroundings; disabled looks are grey and embossed.
#pragma once

#include "view/Pictures.h"

#include <QImage>

namespace glyphs {

// At `scale` times the pixels each way, drawn for that many device pixels per logical one.
QImage make(const pictures::GlyphStrip& strip, int scale = 1);

} // namespace glyphs
