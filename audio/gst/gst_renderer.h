#pragma once

#include <gst/gst.h>

#include <cstdint>

#include "audio/gst/gst_ptr.h"

namespace audio {

// The renderer at the end of every chain: format conversion to float, resampling, the volume
// and the balance elements, conversion to what the sink takes, and the sink.
struct RendererBin {
  GstPtr<GstElement> bin;
  GstElement* volume = nullptr;    // inside `bin`
  GstElement* panorama = nullptr;  // inside `bin`
};

// Builds the renderer around `sink` (a floating reference, taken over in every case). False
// when an element is missing or the parts refuse to link; nothing is left over then.
bool MakeRendererBin(GstElement* sink, RendererBin* out);

// Sets `volume` to a level in hundredths of a dB (0 full, -10000 and below silent).
void ApplyVolumeLevel(GstElement* volume, int32_t level);

// Sets `panorama` to a balance in hundredths of a dB cut from the other side: above 0 lowers
// the left channel, below 0 the right.
void ApplyBalanceCut(GstElement* panorama, int32_t balance);

}  // namespace audio
