// SPDX-License-Identifier: GPL-3.0-or-later
// The sprite atlas b5.bmp: the message windows' background and the five figures with their mask.
#pragma once

#include <QImage>

namespace atlas {

// The whole 420 x 248 atlas.
QImage make();

} // namespace atlas
