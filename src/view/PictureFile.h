// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a picture file beside the program: read as the game reads every file (a regular file only,
// never waiting, within a size limit) and decoded only when it is complete.
#pragma once

#include <QImage>
#include <QString>

// The picture, or a null image when the file cannot be read, is cut short or does not decode.
QImage LoadPictureFile(const QString& path);
