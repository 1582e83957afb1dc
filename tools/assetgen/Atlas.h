// SPDX-License-Identifier: GPL-3.0-or-later
// The sprite atlas b5.bmp: the message windows' background and the five figures with their mask.
#pragma once

#include <QImage>

namespace atlas {

// The whole 420 x 248 atlas, at `scale` device pixels for each of its pixels (840 x 496 at scale 2):
// every piece where the layout puts it, multiplied by the scale.
QImage make(int scale = 1);

} // namespace atlas
