// SPDX-License-Identifier: GPL-3.0-or-later
// The status panel's picture: green dot-matrix digits, the minus sign, the diagonal arrows, the
// solved and not-solved faces and the padlock, each in the columns the panel copies from.
#pragma once

#include <QImage>

namespace numbs {

// 300 x 20, with `scale` device pixels for each of its pixels (600 x 40 at scale 2).
QImage make(int scale = 1);

} // namespace numbs
