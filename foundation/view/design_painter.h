#pragma once

#include <cstdint>

#include "platform/view/picture_surface.h"

namespace foundation {

// "Not given" for the three whole-number parameters of PaintPictureDesign.
inline constexpr int32_t kDesignDefault = -99999;

// Paints the background of `surface` in design `design`:
//   -2 BackColor = c2 (clears the picture), -1 a frame only, 0 / 10 top and bottom ramps (20 / 8
//   rows) and the frame, 1 a three-pixel bevel, 2 a diagonal ramp, 3 / 4 vertical lines ramping
//   between c2 and c3, 5 / 6 three-colour bands from the centre outward (rows / columns), 7 / 8 /
//   11 designs 5 / 6 / 1 with the frame, 9 a button face, 12 nested rounded rectangles, 13 nested
//   circles, 14 a grey line texture, 15 the texture with lightened top and darkened bottom rows.
// Any other design number draws nothing. A colour of -1 stands for the cached system tone
// (SysColorToRgb 0, 1, 2 for c1, c2, c3); other system colour references are resolved. p6, p7, p8
// are design 13's radius and centre in pixels (kDesignDefault: half the height, the centre).
// The picture is neither cleared (except by design -2) nor resized. Without a scale
// (TwipsPerPixel 0) nothing is drawn; a step that would divide by zero (a picture too small for
// the design) ends the painting there, keeping what was drawn so far. Never throws.
void PaintPictureDesign(platform::PictureSurface& surface, int32_t design, int32_t c1, int32_t c2,
                        int32_t c3, int32_t p6 = kDesignDefault, int32_t p7 = kDesignDefault,
                        int32_t p8 = kDesignDefault);

// A closed rounded-rectangle outline inside the pixel box (x1, y1)-(x2, y2), drawn with a
// `width`-pixel pen on the surface's device pen, colourA at the top shading to colourB at the
// bottom. Leaves the surface's ForeColor at the last colour and DrawWidth at `width`.
void DrawRoundedOutline(platform::PictureSurface& surface, int32_t x1, int32_t y1, int32_t x2,
                        int32_t y2, int32_t colourA, int32_t colourB, int32_t width);

// A circle (mode 0) or an axis-aligned square (mode 1; any other mode draws the circle) centred
// in the pixel box (x1, y1)-(x2, y2), radius half the box's height less 2 pixels, shaded as
// DrawRoundedOutline. Leaves ForeColor and DrawWidth as DrawRoundedOutline does.
void DrawCircleOrSquare(platform::PictureSurface& surface, int32_t x1, int32_t y1, int32_t x2,
                        int32_t y2, int32_t colourA, int32_t colourB, int32_t width, int32_t mode);

// `count` nested one-pixel bevel rings from the picture's edge inwards: top and left in colour2
// lightened by 40 per channel, bottom and right in colour1 darkened by 40. When `painted` is 0
// the picture is first painted with design 2 from colour1 to colour2. The picture is taken as
// borderless: its outer size is its ScaleWidth × ScaleHeight.
void DrawBorderLines(platform::PictureSurface& surface, int32_t colour1, int32_t colour2,
                     int32_t painted, int32_t count);

}  // namespace foundation
