#pragma once

#include <QImage>

namespace lists {

// The icon strip a list starts with: icon 0 a note (a sound item), icon 1 a gear-like square
// (a command item), each 16 x 16 pixels at x = 16k, its image in rows 0 .. 15 (the icon's
// colours on black) and its mask in rows 16 .. 31 (black where the icon is, white elsewhere),
// so AND with the mask and then XOR with the image leaves the icon on whatever is underneath.
QImage DefaultIconStrip();

}  // namespace lists
