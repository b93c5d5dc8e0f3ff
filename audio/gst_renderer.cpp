#include "audio/gst_renderer.h"

#include <gst/audio/audio-format.h>

#include <algorithm>
#include <cmath>

namespace audio {

bool MakeRendererBin(GstElement* sink, RendererBin* out) {
  if (sink == nullptr) return false;
  gst_object_ref_sink(sink);
  GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
  // Float through volume and balance: integer volume works with a coarse fixed-point gain.
  GstElement* toFloat = gst_element_factory_make("capsfilter", nullptr);
  GstElement* resample = gst_element_factory_make("audioresample", nullptr);
  GstElement* volume = gst_element_factory_make("volume", nullptr);
  GstElement* panorama = gst_element_factory_make("audiopanorama", nullptr);
  GstElement* convertOut = gst_element_factory_make("audioconvert", nullptr);
  GstElement* bin = gst_bin_new(nullptr);
  GstElement* parts[] = {convert, toFloat, resample, volume, panorama, convertOut, sink};
  bool ok = bin != nullptr;
  for (GstElement* e : parts) ok = ok && e != nullptr;
  if (ok) {
    // "simple" lowers one side and leaves the other untouched, as a balance control does.
    g_object_set(panorama, "method", 1, nullptr);
    GstCaps* floatCaps =
        gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, GST_AUDIO_NE(F32), nullptr);
    g_object_set(toFloat, "caps", floatCaps, nullptr);
    gst_caps_unref(floatCaps);
    for (GstElement* e : parts) gst_bin_add(GST_BIN(bin), e);
    ok = gst_element_link_many(convert, toFloat, resample, volume, panorama, convertOut, sink,
                               nullptr);
    GstPad* target = gst_element_get_static_pad(convert, "sink");
    ok = ok && target != nullptr &&
         gst_element_add_pad(bin, gst_ghost_pad_new("sink", target)) != FALSE;
    if (target != nullptr) gst_object_unref(target);
  } else {
    for (GstElement* e : parts) {
      if (e != nullptr && e != sink) gst_object_unref(gst_object_ref_sink(e));
    }
    if (bin != nullptr) gst_object_unref(gst_object_ref_sink(bin));
    bin = nullptr;
  }
  gst_object_unref(sink);
  if (bin == nullptr) return false;
  if (!ok) {
    gst_object_unref(gst_object_ref_sink(bin));
    return false;
  }
  *out = RendererBin{bin, volume, panorama};
  return true;
}
void ApplyVolumeLevel(GstElement* volume, int32_t level) {
  if (volume == nullptr) return;
  double db100 = std::clamp(static_cast<double>(level), -10000.0, 0.0);
  g_object_set(volume, "volume", std::pow(10.0, db100 / 2000.0), nullptr);
}

void ApplyBalanceCut(GstElement* panorama, int32_t balance) {
  if (panorama == nullptr) return;
  double cut = std::min(std::fabs(static_cast<double>(balance)), 10000.0);
  double pan = 1.0 - std::pow(10.0, -cut / 2000.0);
  if (balance < 0) pan = -pan;
  g_object_set(panorama, "panorama", static_cast<gfloat>(pan), nullptr);
}

}  // namespace audio
