#pragma once

#include <QImage>

namespace widgets {

// The button strip's picture library: 26 cells of 18 × 18 pixels side by side (468 × 36), the
// images in rows 0 .. 17 and their masks in rows 18 .. 35. A mask is black where its picture is
// and white elsewhere; an image holds the picture's colours on black, so AND with the mask and
// then XOR with the image leaves the picture on any face.
//
// The cells: 0 back to the start, 1 play, 2 pause, 3 stop, 4 mark in, 5 mark out, 6 previous
// mark, 7 next mark, 8 .. 11 cells 0 .. 3 lit, 12 record, 13 record lit, 14 repeat, 15 rewind,
// 16 fast forward, 17 eject, 18 .. 20 cells 15 .. 17 lit, 21 speaker, 22 speaker muted, 23 and
// 24 cells 21 and 22 lit, 25 close. Plain pictures are dark grey (adapted to the system colours
// by the strip); lit ones are coloured and kept as they are.
QImage ButtonPictureSheet();

}  // namespace widgets
