// The sprite atlas b5.bmp: the message windows' background and the five figures with their mask.
#pragma once

#include <QImage>

namespace atlas {

// The whole 420 x 248 atlas.
QImage make();

// One figure (0 to 4) as the game shows it, on an ARGB picture with transparent surroundings;
// used for the mask and picture of the atlas.
QImage figure(int k);

} // namespace atlas
