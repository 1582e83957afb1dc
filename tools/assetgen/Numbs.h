// SPDX-License-Identifier: GPL-3.0-or-later
// The status panel's picture: green dot-matrix digits, the minus sign, the diagonal arrows, the
// solved and not-solved faces and the padlock, each in the columns the panel copies from.
#pragma once

#include <QImage>

namespace numbs {

QImage make(); // 300 x 20

} // namespace numbs
