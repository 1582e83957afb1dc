// The pictures that carry the program's name: the splash picture b0.bmp, the about box's title
// picture, the program icon and the pointing hand.
#pragma once

#include <QImage>

namespace branding {

QImage splash();       // 200 x 150, opaque
QImage title();        // 101 x 77, opaque
QImage icon(int size); // size x size, transparent surroundings
QImage hand();         // 32 x 32, transparent surroundings

} // namespace branding
