// SPDX-License-Identifier: GPL-3.0-or-later
// The classic small sans-serif face the windows were laid out for.
#pragma once

#include <QFont>
#include <QStringList>

// Where the classic face is missing, Liberation Sans stands in: its widths are close to the classic
// one, so texts fit the places they were laid out for. The usual substitute, DejaVu Sans, runs about
// a tenth wider and cuts off the ends of labels.
inline QFont ClassicFont(int pixelSize = 11, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
