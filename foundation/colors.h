#pragma once

#include <cstdint>
#include <optional>
#include <utility>

namespace foundation {

// Colour values are Longs laid out red + 256 × green + 65536 × blue (&HBBGGRR). A value with the
// top bit set is a system colour reference (&H8000000F the button face): routines that only
// store a colour keep it as it is, and every routine here that computes with channels resolves
// it through the fixed system colour table first, so arithmetic never sees a negative channel.

// The three channels of a colour, 0 .. 255 each (a system colour reference is resolved first;
// bits above the blue byte of a plain value are ignored).
void SplitRgb(int32_t colour, int16_t& red, int16_t& green, int16_t& blue);

// blue × 65536 + green × 256 + red, each channel clamped to 0 .. 255 first.
int32_t MakeRgb(int32_t red, int32_t green, int32_t blue);

// A shifted or scaled colour. With factor exactly -1 the deltas are added to the channels;
// with any other factor each channel is multiplied by it (the product kept to four decimal
// places) and the deltas are ignored. Channels are then clamped to 0 .. 255 and rounded to whole
// numbers, halves to even (127.5 gives 128, 126.5 gives 126). A non-finite factor scales to 0
// (or 255 for +infinity on a non-zero channel) rather than failing.
int32_t BlendColor(int32_t colour, int32_t dRed, int32_t dGreen, int32_t dBlue, float factor);

// One of four process-wide tones, computed on first request and cached for the process:
// 0 white; 1 the button face normalised to a mean brightness of 200; 2 the button shadow at 110;
// 3 the button face at 60. With the fixed table (face &HC0C0C0, shadow &H808080) these are
// &HFFFFFF, &HC8C8C8, &H6E6E6E and &H3C3C3C. A tone that would be 0 is returned (and kept) as 1;
// a black base colour, which cannot be normalised, gives 0. Any other index gives 0.
int32_t SysColorToRgb(int32_t index);

// The tone of `base` with its hue kept and its mean brightness brought to `level`: each channel
// × level / mean(channels), rounded halves to even and clamped; 0 for a black base.
int32_t ToneOfColor(int32_t base, int32_t level);

// The fixed (back, fore) colour pair of a text panel design 0 .. 6; for -1 the given pair; no
// value for any other design.
std::optional<std::pair<int32_t, int32_t>> DesignColorPair(int32_t design, int32_t fore,
                                                           int32_t back);

// Sets a target's background and text colours from the design table above; a design outside it
// changes nothing. The target offers SetBackColor and SetForeColor (a surface or a control).
template <typename Target>
void SetDesignColors(Target& target, int32_t design, int32_t fore, int32_t back) {
  const auto pair = DesignColorPair(design, fore, back);
  if (!pair) return;
  target.SetBackColor(pair->first);
  target.SetForeColor(pair->second);
}

}  // namespace foundation
