// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window read from the settings may stand. A place written by another display (a larger
// screen, two screens, a Wayland session whose client-side decoration reported a place above the
// frame) can put the title bar above or beside every screen, and a window whose title bar cannot be
// reached cannot be moved by the player.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVector>

#include <optional>

// The place for a frame of `frameSize` read as `topLeft`, given the screens' available areas: the
// place itself when some of the frame's top edge lies on a screen, so that its title bar can be
// grabbed; else the place moved onto the screen the frame overlaps most, as far as needed to put the
// whole frame there (its top-left corner where the frame is larger than the screen); nothing when the
// frame overlaps no screen at all.
// Computed in 64 bits: a place read from a damaged settings file may be anywhere in the range of int.
std::optional<QPoint> PlaceOnScreens(QPoint topLeft, QSize frameSize, const QVector<QRect>& screens);
