#pragma once

#include <QImage>

namespace lists {

// Icon strips: icon k is 16 x 16 pixels at x = 16k, its image in rows 0 .. 15 (the icon's
// colours on black) and its mask in rows 16 .. 31 (black where the icon is, white elsewhere),
// so AND with the mask and then XOR with the image leaves the icon on whatever is underneath.

// The strip a list starts with: icon 0 a note (a sound item), icon 1 a gear-like square
// (a command item).
QImage DefaultIconStrip();

// The 17 icons a tree starts with: 0 a closed and 1 an open folder, 2 a note, 3 a command,
// 4 a page, 5 a disk, 6 a clock, 7 a dot; 8 .. 16 the same shapes in other colours.
QImage TreeIconStrip();

}  // namespace lists
