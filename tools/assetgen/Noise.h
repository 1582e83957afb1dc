// SPDX-License-Identifier: GPL-3.0-or-later
// Smooth value noise for the procedural textures: the same inputs always give the same picture.
#pragma once

namespace noise {

// Smooth noise in [0, 1] over the plane; integer lattice points get hashed values.
double value(double x, double y, int seed);

// Sum of `octaves` layers of value noise, each twice as fine and half as strong; result in [0, 1].
double fractal(double x, double y, int octaves, int seed);

// A hashed number in [0, 1) for a lattice point, for scattering details.
double hash(int x, int y, int seed);

} // namespace noise
