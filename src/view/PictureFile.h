// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a picture file beside the program: read as the game reads every file (a regular file only,
// never waiting, within a size limit) and decoded only when it is complete.
#pragma once

#include <QImage>
#include <QString>

// The picture, or a null image when the file cannot be read, is cut short or does not decode.
QImage LoadPictureFile(const QString& path);

// How many device pixels a board area draws for one of its pixels on a screen of `ratio`: the next
// whole number, at most 3 (a 3x board picture is 9 times the pixels of the 1x one), so a fractional
// ratio is drawn finer and scaled down smoothly, never up.
int FineScaleFor(double ratio);

// Whether `fine` was drawn for `picture`: of twice its size and carrying its fingerprint.
bool DrawnFor(const QImage& fine, const QImage& picture);

// A picture compiled into the program, for a screen of `ratio`: at a ratio of 1 `picture` itself;
// above, `drawn` (the same drawn at 2x) when it was drawn for it, else `picture`, scaled smoothly to
// the ratio's device pixels, with its device pixel ratio set so that it keeps its logical size.
QImage PictureForRatio(const QImage& picture, const QImage& drawn, qreal ratio);

// The picture `picture`, read from `path`, at `scale` device pixels for each of its pixels: made from
// the fine picture drawn for it beside it when there is one that matches, else scaled smoothly from
// `picture` itself. Null at scale 1.
QImage LoadFinePicture(const QString& path, const QImage& picture, int scale);
