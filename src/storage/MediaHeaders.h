// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a picture or a sound file holds every byte its header promises. A cut file must fail to
// load: a decoder would fill what is missing with black or noise.
#pragma once

#include <string>

// A Windows bitmap ("BM"): the header is whole, and the pixel data it describes (from the data offset,
// rows padded to four bytes, or the stated image size of a compressed picture) lies within the file.
bool BmpComplete(const std::string& bytes);

// A RIFF WAVE file: a "fmt " chunk, and a "data" chunk whose stated size lies within the file.
bool WaveComplete(const std::string& bytes);
