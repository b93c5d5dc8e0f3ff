#pragma once

#include <gst/gst.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audio/gst/gst_ptr.h"

namespace audio {

// What the graph asks of a pad or an element's pads before it links them.

// 1 when an output pin's identifier names an audio stream: lower-cased and without blanks it
// contains "audio", or both "stream" and "1".
int32_t IsAudioPinId(const std::string& id);

// True when every form the pad can take is plain audio samples (ANY or unknown is not).
bool PadGivesRawAudio(GstPad* pad);

// The pad's name says audio (IsAudioPinId), or its caps do.
bool IsAudioPad(GstPad* pad);

// True when the element makes output pads only once data flows (a demuxer, a decodebin).
bool HasSometimesSourceTemplate(GstElement* element);

// The pads of an element (output pads only, or all).
std::vector<GstPtr<GstPad>> ElementPads(GstElement* element, bool sourcesOnly);

}  // namespace audio
